// The public operations that do not depend on the event loop: geometry setters and
// getters with their placement rule, states of buttons and menu items, text formats
// (right-aligned integers, commas), the clipped text's checks, timed functions, the
// last control, the saved interface state and its check before loading, and the
// backing-store rules of start-up.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

class Public : public InterfaceTest {
 protected:
  void SetUp() override {
    start(data_file("interface_basic.inf"), 1);
    MXredrawactivewindows();
  }
  static std::vector<int> specs(const char* name) {
    int x, y, wd, ht, active;
    MXgetwindowspecs(name, &x, &y, &wd, &ht, &active);
    return {x, y, wd, ht, active};
  }
  // The saved interface state as it stands.
  static std::vector<unsigned char> saved_block() {
    std::vector<unsigned char> block(MXwindowstatesize());
    FILE* f = std::tmpfile();
    MXsavewindows(f);
    std::rewind(f);
    EXPECT_EQ(std::fread(block.data(), 1, block.size(), f), block.size());
    std::fclose(f);
    return block;
  }
};

TEST_F(Public, WindowAndMenuPlacementKeepThemOnTheScreen) {
  int x = 600, wd = 0;
  MXsetwindowspecs("other", &x, nullptr, &wd, nullptr);  // 100 wide: pushed to 540; a width of 0 is ignored
  EXPECT_EQ(specs("other"), std::vector<int>({540, 300, 100, 80, 1}));
  wd = 700;  // too wide for any place: x stays
  x = 10;
  MXsetwindowspecs("other", &x, nullptr, &wd, nullptr);
  int y = 450;
  MXsetwindowspecs("OTHER", nullptr, &y, nullptr, nullptr);
  EXPECT_EQ(specs("other"), std::vector<int>({540, 400, 700, 80, 1}));
  EXPECT_EQ(fatal_text([&] { MXsetwindowspecs("nowhere", &x, nullptr, nullptr, nullptr); }),
            "Invalid window |nowhere| in set window origin.\n");

  // Menus use the height of their last opening.
  y = 470;
  MXsetmenuorigin("menu", nullptr, &y);  // never opened: height 0
  EXPECT_EQ(Popups[MXpopupnum("menu")].y, 470);
  y = 100;
  MXsetmenuorigin("menu", nullptr, &y);
  MXcreatenamedpopup("menu");
  removepopup();
  y = 470;
  MXsetmenuorigin("menu", nullptr, &y);
  EXPECT_EQ(Popups[MXpopupnum("menu")].y, 480 - 37);
  EXPECT_EQ(fatal_text([&] { MXsetmenuorigin("nomenu", nullptr, &y); }), "Invalid popup |nomenu| in set menu origin.\n");
}

TEST_F(Public, ButtonSpecs) {
  int x, y, wd, ht, active;
  MXgetbuttonspecs("panel", "off", &x, &y, &wd, &ht, &active);
  EXPECT_EQ(std::vector<int>({x, y, wd, ht, active}), std::vector<int>({80, 40, 30, 30, DISABLED}));
  const int nx = 3, colour = 9;  // the last value sets the face colour
  MXsetbuttonspecs("panel", "off", &nx, nullptr, nullptr, nullptr, &colour);
  const MXButton& off = button("panel", "off");
  EXPECT_EQ(std::vector<int>({off.x, off.y, off.bgcolor}), std::vector<int>({3, 40, 9}));
  getbuttoninfo("panel", "area", &x, &y, &wd, &ht, &active);  // on the screen
  EXPECT_EQ(std::vector<int>({x, y}), std::vector<int>({105, 200}));
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

  MXdisablemenuitem("menu", "FIRST");
  EXPECT_EQ(Popups[0].item[0].active, DISABLED);
  MXinvisiblemenuitem("menu", "first");
  MXvisiblemenuitem("menu", "second");
  MXtogglecheck("menu", "third");
  EXPECT_EQ(std::vector<int>({Popups[0].item[0].active, Popups[0].item[1].active, Popups[0].item[2].checked}),
            std::vector<int>({INVISIBLE, ENABLED, 1}));
  EXPECT_EQ(MXgetmenuitemnum("menu", "Third"), 2);
  EXPECT_STREQ(MXgetmenuitemname("menu", 2), "third");
  EXPECT_EQ(MXgetmenuitemname("menu", 3), nullptr);
  EXPECT_EQ(MXgetmenuitemname("menu", -1), nullptr);
  EXPECT_EQ(fatal_text([] { MXenablemenuitem("menu", nullptr); }), "Error: no name given to 'MXenablemenuitem'.\n");
  EXPECT_EQ(fatal_text([] { MXgetmenuitemnum("menu", "fourth"); }),
            "getname: Couldn't find |menu item| named |fourth|\n");
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
}

TEST_F(Public, RemovingTheTopAlertClearsTheAlertFlag) {
  MXdrawnamedwindow("alert", 0, 1);
  AlertUp = 1;
  MXremovetopwindow();
  EXPECT_EQ(AlertUp, 0);
  EXPECT_EQ(window("alert").active, 0);
}

TEST_F(Public, BackingStoreNeedsTheStartUpFlagAndASlotUpToFive) {
  stop_interface();
  start(data_file("interface_basic.inf"), 0);
  EXPECT_EQ(fatal_text([] { MXdrawnamedwindow("dialog", 1, 0); }),
            "Error - interface was not initialized withbacking store.\nIn MXinterfaceinit, pass "
            "BSTORE as the bstore argument.\n");
  stop_interface();
  const std::string file = "window (root 0 0 640 480 black lgray black 2 1 6)\n";
  EXPECT_EQ(fatal_of(file), "");
  EXPECT_EQ(fatal_text([&] { start(write_file(file), 1); }), "Error:  can't have bstore # 6");
}

TEST_F(Public, IntegersAreRightAlignedAndLargeNumbersGetCommas) {
  char text[64];
  const struct {
    double value;
    const char* text;
  } cases[] = {{999, "999"}, {1000, "1,000"}, {1000000, "1,000,000"}, {0, "0"}, {123456.6, "123,457"}};
  for (const auto& c : cases) EXPECT_STREQ(MXformatcommanum(c.value, text), c.text);

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
  EXPECT_EQ(log_during([] { MXwwriteclippedmsg(10, 145, 0, 20, 10, 145, "Clipped"); }),
            "Non-positive value passed to clip_wd in MXwwriteclippedmsg\n");
  EXPECT_TRUE(pixels_of(12, 350, 20, 549, 169) == before);

  // A box wider than the window is narrowed to its right edge; the text is cut at the box.
  EXPECT_EQ(log_during([] { MXwwriteclippedmsg(10, 145, 500, 20, 10, 145, "Clipped"); }), "");
  EXPECT_GT(pixels_of(12, 350, 20, 549, 169).size(), before.size());
  MXredrawnamedwindow("shapes");
  MXsetcolor(12);
  MXwwriteclippedmsg(10, 145, 12, 20, 10, 145, "Clipped");
  for (const auto& p : pixels_of(12, 350, 152, 549, 169)) EXPECT_LE(p.first, 350 + 10 + 1 + 10 - 1);

  EXPECT_EQ(log_during([] { MXwwriteclippedmsg(200, 10, 5, 5, 0, 0, "x"); }),
            "Value passed to clip_x is beyond right edge of window in MXwwriteclippedmsg\n");
}

TEST_F(Public, MessagesAndFraming) {
  EXPECT_STREQ(MXgetmsg("GREETING"), "Hello");
  EXPECT_STREQ(MXgetmsg("absent"), "");
  EXPECT_EQ(log_during([] { MXframefield("root", nullptr, 1, 2); }),
            "NULL passed to parameter field in MXframefield; \nframe not drawn.\n");
  EXPECT_EQ(log_during([] { MXframedragarea(nullptr, "area", 1, 2); }),
            "NULL passed to parameter window in MXframedragarea\nframe not drawn.\n");
  MXsetcurrentnamedwindow("other");
  MXframedragarea("panel", "area", 9, 10);
  expect_dots({{9, 104, 199}, {10, 155, 215}, {10, 156, 215}});
  EXPECT_EQ(InfState.cw, MXwindownum("other"));
}

TEST_F(Public, ActivatingATimedFunctionRestartsItsTimer) {
  Function& f = InfState.funcs[MXfunctionnum("do_intro")];
  f.itime = 77;
  MXactivatefunction("DO_INTRO");
  EXPECT_EQ(f.active, 1);
  EXPECT_EQ(f.itime, -1);
  EXPECT_EQ(fatal_text([] { MXactivatefunction("nothing"); }), "getname: Couldn't find |function| named |nothing|\n");
}

TEST_F(Public, LastControl) {
  setlastcontrol(WINDOW, "panel", "two", 5);
  ControlType c;
  MXgetlastcontrol(&c);
  EXPECT_EQ(c.type, WINDOW);
  EXPECT_EQ(std::string(c.gname) + "/" + c.control.name, "panel/two");
  EXPECT_EQ(std::strlen(c.time), 8u);
  EXPECT_EQ(c.time[2], ':');
  // Names longer than the record are cut, not overrun.
  setlastcontrol(WINDOW, std::string(200, 'w').c_str(), std::string(200, 'b').c_str(), 0);
  MXgetlastcontrol(&c);
  EXPECT_EQ(std::strlen(c.gname), 80u);
  EXPECT_EQ(std::strlen(c.control.name), 80u);
}

TEST_F(Public, SavedInterfaceStateRoundTrip) {
  // Windows: root 1 button, panel 8, shapes 0, dialog 1, other 2, alert 0, captions 5;
  // menus: 3 and 2 items. Values: 7 + 17 windows and buttons, 2 + 2 * 5 menus.
  EXPECT_EQ(MXwindowstatesize(), (7u + 17u + 2u + 10u) * 4u);
  MXdisablebutton("other", "ob", 0);
  MXtogglecheck("checks", "tock");
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  MXsavewindows(f);
  EXPECT_EQ(std::ftell(f), static_cast<long>(MXwindowstatesize()));
  std::rewind(f);
  std::fgetc(f);
  EXPECT_EQ(MXfilesize(f), static_cast<long>(MXwindowstatesize()));
  EXPECT_EQ(std::ftell(f), 1);  // measuring keeps the position

  MXenablebutton("other", "ob", 0);
  MXsetdeactivenamedwindow("panel");
  std::rewind(f);
  MXloadwindows(f);
  std::fclose(f);
  EXPECT_EQ(button("other", "ob").active, DISABLED);
  EXPECT_EQ(window("panel").active, 1);
  EXPECT_EQ(Popups[1].item[1].checked, 1);

  // Little-endian ints: the first is root's active (1), the second its button (1).
  const std::vector<unsigned char> block = saved_block();
  EXPECT_EQ(std::vector<int>(block.begin(), block.begin() + 4), std::vector<int>({1, 0, 0, 0}));
  // A short block is logged value by value; what was read stays.
  FILE* shortfile = std::tmpfile();
  std::fwrite(block.data(), 1, block.size() - 8, shortfile);
  std::rewind(shortfile);
  EXPECT_EQ(log_during([&] { MXloadwindows(shortfile); }),
            "Error while loading saved state of program.Popups[1].item[1].active\n"
            "Error while loading saved state of program.Popups[1].item[1].checked\n");
  std::fclose(shortfile);
}

TEST_F(Public, ABlockFromAnotherInterfaceFileIsRefusedWhole) {
  std::vector<unsigned char> block = saved_block();
  EXPECT_EQ(MXcheckwindowstate(block.data(), block.size()), 1);
  EXPECT_EQ(MXcheckwindowstate(block.data(), block.size() - 4), 0);
  EXPECT_EQ(MXcheckwindowstate(block.data(), block.size() + 4), 0);

  std::vector<unsigned char> bad = block;
  bad[4] = 7;  // root's button state 7 is no state
  EXPECT_EQ(MXcheckwindowstate(bad.data(), bad.size()), 0);
  bad = block;
  bad[3] = 0x80;  // a negative window level
  EXPECT_EQ(MXcheckwindowstate(bad.data(), bad.size()), 0);

  block[4] = block[5] = block[6] = block[7] = 0xFF;  // -1: root's button becomes invisible
  ASSERT_EQ(MXcheckwindowstate(block.data(), block.size()), 1);
  MXapplywindowstate(block.data());
  EXPECT_EQ(button("root", "file").active, INVISIBLE);
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
