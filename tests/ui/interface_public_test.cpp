// The public operations that do not depend on the event loop: geometry setters and
// getters with their placement rule, states of buttons and menu items, text formats
// (right-aligned integers, commas), the clipped text's checks, timed functions, the
// last control, the saved interface state and its check before loading, and the
// backing-store rules of start-up.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui/help.h"
#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

class Public : public InterfaceTest {
 protected:
  void SetUp() override {
    start(data_file("interface_basic.inf"), 1);
    MXredrawactivewindows();
  }
};

TEST_F(Public, WindowPlacementKeepsWindowsOnTheScreen) {
  int x = 600, wd = 0;
  MXsetwindowspecs("other", &x, nullptr, &wd, nullptr);  // 100 wide: pushed to 540
  int gx, gy, gwd, ght, active;
  MXgetwindowspecs("other", &gx, &gy, &gwd, &ght, &active);
  EXPECT_EQ(gx, 540);
  EXPECT_EQ(gwd, 100);  // a width of 0 is ignored
  EXPECT_EQ(gy, 300);
  EXPECT_EQ(active, 1);

  wd = 700;  // too wide for any place: x stays
  x = 10;
  MXsetwindowspecs("other", &x, nullptr, &wd, nullptr);
  MXgetwindowspecs("other", &gx, nullptr, &gwd, nullptr, nullptr);
  EXPECT_EQ(gx, 540);
  EXPECT_EQ(gwd, 700);

  int y = 450;
  MXsetwindowspecs("OTHER", nullptr, &y, nullptr, nullptr);
  MXgetwindowspecs("other", nullptr, &gy, nullptr, nullptr, nullptr);
  EXPECT_EQ(gy, 400);

  try {
    MXsetwindowspecs("nowhere", &x, nullptr, nullptr, nullptr);
    FAIL();
  } catch (const Fatal& f) {
    EXPECT_EQ(f.text, "Invalid window |nowhere| in set window origin.\n");
  }
}

TEST_F(Public, MenuPlacementUsesTheHeightOfTheLastOpening) {
  int y = 470;
  MXsetmenuorigin("menu", nullptr, &y);  // never opened: height 0
  EXPECT_EQ(Popups[MXpopupnum("menu")].y, 470);
  y = 100;
  MXsetmenuorigin("menu", nullptr, &y);
  MXcreatenamedpopup("menu");
  removepopup();
  y = 470;
  MXsetmenuorigin("menu", nullptr, &y);
  EXPECT_EQ(Popups[MXpopupnum("menu")].y, 480 - 37);
  try {
    MXsetmenuorigin("nomenu", nullptr, &y);
    FAIL();
  } catch (const Fatal& f) {
    EXPECT_EQ(f.text, "Invalid popup |nomenu| in set menu origin.\n");
  }
}

TEST_F(Public, ButtonFieldAndDragAreaSpecs) {
  int x, y, wd, ht, active, bg;
  MXgetbuttonspecs("panel", "off", &x, &y, &wd, &ht, &active);
  EXPECT_EQ(x + y + wd + ht, 80 + 40 + 30 + 30);
  EXPECT_EQ(active, DISABLED);
  const int nx = 3, colour = 9;
  MXsetbuttonspecs("panel", "off", &nx, nullptr, nullptr, nullptr, &colour);
  EXPECT_EQ(button("panel", "off").x, 3);
  EXPECT_EQ(button("panel", "off").y, 40);
  EXPECT_EQ(button("panel", "off").bgcolor, 9);
  MXgetdragareaspecs("panel", "area", &x, &y, &wd, &ht, &active, &bg);
  EXPECT_EQ(bg, 11);
  EXPECT_EQ(active, ENABLED);
  getbuttoninfo("panel", "area", &x, &y, &wd, &ht, &active);
  EXPECT_EQ(x, 105);
  EXPECT_EQ(y, 200);
  const int fx = 20;
  MXsetfieldrect("VERSION", &fx, nullptr, nullptr, nullptr, nullptr);
  MXgetfieldrect("version", &x, &y, nullptr, nullptr, nullptr);
  EXPECT_EQ(x, 20);
  EXPECT_EQ(y, 450);
  MXsetbuttontext("panel", "two", "New\\^");
  EXPECT_STREQ(button("panel", "two").text, "New\\^");  // no escapes resolved
}

TEST_F(Public, ButtonAndMenuItemStates) {
  MXdisablebutton("panel", "two", 0);
  EXPECT_EQ(button("panel", "two").active, DISABLED);
  EXPECT_EQ(InfState.cw, MXwindownum("panel"));
  MXinvisiblebutton("other", "ob", 0);
  EXPECT_EQ(button("other", "ob").active, INVISIBLE);
  EXPECT_EQ(InfState.cw, MXwindownum("other"));
  MXvisiblebutton("other", "ob", 0);
  EXPECT_EQ(button("other", "ob").active, ENABLED);

  MXdisablemenuitem("menu", "FIRST");
  EXPECT_EQ(Popups[0].item[0].active, DISABLED);
  MXinvisiblemenuitem("menu", "first");
  EXPECT_EQ(Popups[0].item[0].active, INVISIBLE);
  MXvisiblemenuitem("menu", "second");
  EXPECT_EQ(Popups[0].item[1].active, ENABLED);
  MXtogglecheck("menu", "third");
  EXPECT_EQ(Popups[0].item[2].checked, 1);
  EXPECT_EQ(MXgetmenuitemnum("menu", "Third"), 2);
  EXPECT_STREQ(MXgetmenuitemname("menu", 2), "third");
  EXPECT_EQ(MXgetmenuitemname("menu", 3), nullptr);
  EXPECT_EQ(MXgetmenuitemname("menu", -1), nullptr);
  try {
    MXenablemenuitem("menu", nullptr);
    FAIL();
  } catch (const Fatal& f) {
    EXPECT_EQ(f.text, "Error: no name given to 'MXenablemenuitem'.\n");
  }
  try {
    MXgetmenuitemnum("menu", "fourth");
    FAIL();
  } catch (const Fatal& f) {
    EXPECT_EQ(f.text, "getname: Couldn't find |menu item| named |fourth|\n");
  }
}

TEST_F(Public, SetActiveRestoresTemporarilyDisabledButtons) {
  MXdrawnamedwindow("dialog", 0, 1);
  EXPECT_EQ(button("other", "ob").active, TMP_DISABLED);
  MXsetactivenamedwindow("other");
  EXPECT_EQ(window("other").active, 2);
  EXPECT_EQ(button("other", "ob").active, ENABLED);
  EXPECT_EQ(button("other", "odis").active, DISABLED);
  MXsetdeactivenamedwindow("other");
  EXPECT_EQ(window("other").active, 0);
  char name[40];
  MXsetcurrentnamedwindow("Shapes");
  EXPECT_STREQ(MXgetcurrentwindowname(name), "shapes");
}

TEST_F(Public, RemovingTheTopAlertClearsTheAlertFlag) {
  MXdrawnamedwindow("alert", 0, 1);
  AlertUp = 1;
  MXremovetopwindow();
  EXPECT_EQ(AlertUp, 0);
  EXPECT_EQ(window("alert").active, 0);
  MXdrawnamedwindow("alert", 0, 1);
  AlertUp = 1;
  MXremovenamedwindow("ALERT");
  EXPECT_EQ(AlertUp, 0);
}

TEST_F(Public, BackingStoreNeedsTheStartUpFlag) {
  closegraph();
  MXfreeinterfacetables();
  start(data_file("interface_basic.inf"), 0);
  try {
    MXdrawnamedwindow("dialog", 1, 0);
    FAIL();
  } catch (const Fatal& f) {
    EXPECT_EQ(f.text,
              "Error - interface was not initialized withbacking store.\nIn MXinterfaceinit, pass "
              "BSTORE as the bstore argument.\n");
  }
}

TEST_F(Public, AWindowSlotAboveFiveIsFatalWithBackingStore) {
  closegraph();
  MXfreeinterfacetables();
  const std::string file = "window (root 0 0 640 480 black lgray black 2 1 6)\n";
  EXPECT_EQ(fatal_of(file), "");
  try {
    start(write_file(file), 1);
    FAIL();
  } catch (const Fatal& f) {
    EXPECT_EQ(f.text, "Error:  can't have bstore # 6");
  }
}

TEST_F(Public, IntegersAreRightAlignedAndLargeNumbersGetCommas) {
  char text[64];
  EXPECT_STREQ(MXformatcommanum(999, text), "999");
  EXPECT_STREQ(MXformatcommanum(1000, text), "1,000");
  EXPECT_STREQ(MXformatcommanum(1000000, text), "1,000,000");
  EXPECT_STREQ(MXformatcommanum(0, text), "0");
  EXPECT_STREQ(MXformatcommanum(123456.6, text), "123,457");

  // "%5ld" of 42 draws as three blanks and the digits.
  MXsetcurrentnamedwindow("shapes");
  MXsetcolor(12);
  MXsetfont(LARGE);
  MXwwriteint(5, 20, 140, 42);
  const Pixels number = pixels_of(12, 350, 140, 549, 169);
  MXredrawnamedwindow("shapes");
  MXsetcolor(12);
  MXwwritemsg(20, 140, "   42");
  EXPECT_FALSE(number.empty());
  EXPECT_TRUE(pixels_of(12, 350, 140, 549, 169) == number);
}

TEST_F(Public, ClippedTextChecksItsBox) {
  MXsetcurrentnamedwindow("shapes");
  MXsetcolor(12);
  const Pixels before = pixels_of(12, 350, 20, 549, 169);
  const std::string log = log_during([] { MXwwriteclippedmsg(10, 145, 0, 20, 10, 145, "Clipped"); });
  EXPECT_EQ(log, "Non-positive value passed to clip_wd in MXwwriteclippedmsg\n");
  EXPECT_TRUE(pixels_of(12, 350, 20, 549, 169) == before);

  // A box wider than the window is narrowed to its right edge; the text is cut at the box.
  const std::string quiet = log_during([] { MXwwriteclippedmsg(10, 145, 500, 20, 10, 145, "Clipped"); });
  EXPECT_EQ(quiet, "");
  EXPECT_GT(pixels_of(12, 350, 20, 549, 169).size(), before.size());
  MXredrawnamedwindow("shapes");
  MXsetcolor(12);
  MXwwriteclippedmsg(10, 145, 12, 20, 10, 145, "Clipped");
  for (const auto& p : pixels_of(12, 350, 152, 549, 169)) EXPECT_LE(p.first, 350 + 10 + 1 + 10 - 1);

  const std::string edge = log_during([] { MXwwriteclippedmsg(200, 10, 5, 5, 0, 0, "x"); });
  EXPECT_EQ(edge, "Value passed to clip_x is beyond right edge of window in MXwwriteclippedmsg\n");
}

TEST_F(Public, MessagesAndFraming) {
  EXPECT_STREQ(MXgetmsg("GREETING"), "Hello");
  EXPECT_STREQ(MXgetmsg("absent"), "");
  const std::string log = log_during([] { MXframefield("root", nullptr, 1, 2); });
  EXPECT_EQ(log, "NULL passed to parameter field in MXframefield; \nframe not drawn.\n");
  const std::string log2 = log_during([] { MXframedragarea(nullptr, "area", 1, 2); });
  EXPECT_EQ(log2, "NULL passed to parameter window in MXframedragarea\nframe not drawn.\n");
  MXsetcurrentnamedwindow("other");
  MXframedragarea("panel", "area", 9, 10);
  EXPECT_EQ(MXPget_pixel(104, 199), 9);
  EXPECT_EQ(MXPget_pixel(155, 215), 10);
  EXPECT_EQ(MXPget_pixel(156, 215), 10);
  EXPECT_EQ(InfState.cw, MXwindownum("other"));
}

TEST_F(Public, TimedFunctions) {
  Function& f = InfState.funcs[MXfunctionnum("do_intro")];
  f.itime = 77;
  MXactivatefunction("DO_INTRO");
  EXPECT_EQ(f.active, 1);
  EXPECT_EQ(f.itime, -1);
  MXdeactivatefunction("do_intro");
  EXPECT_EQ(f.active, 0);
  try {
    MXactivatefunction("nothing");
    FAIL();
  } catch (const Fatal& e) {
    EXPECT_EQ(e.text, "getname: Couldn't find |function| named |nothing|\n");
  }
}

TEST_F(Public, LastControl) {
  setlastcontrol(WINDOW, "panel", "two", 5);
  ControlType c;
  MXgetlastcontrol(&c);
  EXPECT_EQ(c.type, WINDOW);
  EXPECT_STREQ(c.gname, "panel");
  EXPECT_STREQ(c.control.name, "two");
  EXPECT_EQ(std::strlen(c.time), 8u);
  EXPECT_EQ(c.time[2], ':');
  setlastcontrol(MENU, "menu", "", 2);
  MXgetlastcontrol(&c);
  EXPECT_EQ(c.control.number, 2);
  MXclearlastcontrol();
  MXgetlastcontrol(&c);
  EXPECT_EQ(c.type, NONE);
  EXPECT_STREQ(c.gname, "");
  EXPECT_EQ(c.control.number, -1);
  // Names longer than the record are cut, not overrun.
  setlastcontrol(WINDOW, std::string(200, 'w').c_str(), std::string(200, 'b').c_str(), 0);
  MXgetlastcontrol(&c);
  EXPECT_EQ(std::strlen(c.gname), 80u);
  EXPECT_EQ(std::strlen(c.control.name), 80u);
}

TEST_F(Public, SavedInterfaceStateRoundTrip) {
  // Windows: root 1 button, panel 8, shapes 0, dialog 1, other 2, alert 0; menus: 3 and
  // 2 items. Values: 6 + 12 windows and buttons, 2 + 2 * 5 menus.
  EXPECT_EQ(MXwindowstatesize(), (6u + 12u + 2u + 10u) * 4u);
  MXdisablebutton("other", "ob", 0);
  MXtogglecheck("checks", "tock");
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  MXsavewindows(f);
  EXPECT_EQ(std::ftell(f), static_cast<long>(MXwindowstatesize()));
  EXPECT_EQ(MXfilesize(f), static_cast<long>(MXwindowstatesize()));

  // Little-endian ints: the first is root's active (1), the second its button (1).
  std::rewind(f);
  unsigned char head[8];
  ASSERT_EQ(std::fread(head, 1, 8, f), 8u);
  EXPECT_EQ(head[0], 1);
  EXPECT_EQ(head[1] | head[2] | head[3], 0);

  MXenablebutton("other", "ob", 0);
  MXsetdeactivenamedwindow("panel");
  std::rewind(f);
  MXloadwindows(f);
  EXPECT_EQ(button("other", "ob").active, DISABLED);
  EXPECT_EQ(window("panel").active, 1);
  EXPECT_EQ(Popups[1].item[1].checked, 1);

  // A short block is logged value by value; what was read stays.
  std::rewind(f);
  std::vector<unsigned char> block(MXwindowstatesize());
  ASSERT_EQ(std::fread(block.data(), 1, block.size(), f), block.size());
  std::fclose(f);
  FILE* shortfile = std::tmpfile();
  std::fwrite(block.data(), 1, block.size() - 8, shortfile);
  std::rewind(shortfile);
  const std::string log = log_during([&] { MXloadwindows(shortfile); });
  EXPECT_EQ(log,
            "Error while loading saved state of program.Popups[1].item[1].active\n"
            "Error while loading saved state of program.Popups[1].item[1].checked\n");
  std::fclose(shortfile);
}

TEST_F(Public, ABlockFromAnotherInterfaceFileIsRefusedWhole) {
  std::vector<unsigned char> block(MXwindowstatesize());
  FILE* f = std::tmpfile();
  MXsavewindows(f);
  std::rewind(f);
  ASSERT_EQ(std::fread(block.data(), 1, block.size(), f), block.size());
  std::fclose(f);
  EXPECT_EQ(MXcheckwindowstate(block.data(), block.size()), 1);
  EXPECT_EQ(MXcheckwindowstate(block.data(), block.size() - 4), 0);
  EXPECT_EQ(MXcheckwindowstate(block.data(), block.size() + 4), 0);

  std::vector<unsigned char> bad = block;
  bad[4] = 7;  // root's button state 7 is no state
  EXPECT_EQ(MXcheckwindowstate(bad.data(), bad.size()), 0);
  bad = block;
  bad[3] = 0x80;  // a negative window level
  EXPECT_EQ(MXcheckwindowstate(bad.data(), bad.size()), 0);

  block[4] = 0xFF;  // -1: root's button becomes invisible
  block[5] = block[6] = block[7] = 0xFF;
  ASSERT_EQ(MXcheckwindowstate(block.data(), block.size()), 1);
  MXapplywindowstate(block.data());
  EXPECT_EQ(button("root", "file").active, INVISIBLE);
}

TEST_F(Public, FilesOpenAndMeasure) {
  EXPECT_EQ(MXopen("no/such/dir/file", "r"), nullptr);
  FILE* f = MXopen("measure.bin", "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("12345", f);
  std::fclose(f);
  f = MXopen("measure.bin", "rb");
  std::fgetc(f);
  EXPECT_EQ(MXfilesize(f), 5);
  EXPECT_EQ(std::ftell(f), 1);  // the position is kept
  std::fclose(f);
}

TEST_F(Public, XorFiguresUndoThemselves) {
  const std::vector<unsigned char> before = screen();
  MXsetcurrentnamedwindow("panel");
  MXdrawxorbox(10, 10, 50, 30);
  MXdrawxorline(0, 0, 100, 80);
  EXPECT_FALSE(screen() == before);
  MXdrawxorline(0, 0, 100, 80);
  MXdrawxorbox(10, 10, 50, 30);
  EXPECT_TRUE(screen() == before);
}

}  // namespace
