// Drawing on the headless screen, read back pixel by pixel (button bevels, arrows,
// label and menu-item positions, the disabled diagonal, graphics, popup menus,
// backing store restoring the screen exactly, modal bookkeeping, the shaded frame),
// and the public operations: geometry and its placement rule, states of buttons and
// menu items, text formats and the clipped text's checks, the last control, the saved
// interface state and the backing-store rules of start-up.
//
// Lines are drawn as the platform draws them: from the first point up to, but not
// including, the second.
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

// Colours of the test file, in the order its palette entries place them.
constexpr int kBorder = 8, kLight = 9, kDark = 10, kFace = 11, kInk = 12, kDim = 13, kHilite = 14;

struct Drawing : InterfaceTest {
  void SetUp() override {
    start(data_file("interface_basic.inf"), 1), oldpopup = olditemslot = olditem = -1, MXredrawactivewindows();
  }
};

TEST_F(Drawing, ButtonsAndGraphics) {
  // Button 20 x 10 at (5, 5) of the panel at (100, 100): the frame covers columns 105
  // to 124 and rows 105 to 114, the light bevel row 106 and column 106, the dark bevel
  // row 113 and column 123; "@@" shows no label.
  EXPECT_EQ(pixels_of(kBorder, 105, 105, 124, 105).size(), 20u);
  EXPECT_EQ(pixels_of(kBorder, 124, 105, 124, 114).size(), 10u);
  EXPECT_EQ(pixels_of(kLight, 106, 106, 122, 106).size(), 17u);
  EXPECT_EQ(pixels_of(kDark, 123, 107, 123, 112).size(), 6u);
  expect_dots({{kBorder, 105, 114}, {kLight, 106, 112}, {kDark, 107, 113}, {3, 123, 106}, {1, 106, 114}});
  EXPECT_TRUE(pixels_of(kInk, 105, 105, 124, 114).empty());
  // Arrows fit a 20 x 20 square less 4 on each side: "\^" at (130, 105); "\<" at
  // (160, 105) has its tip on the right, "\>" at (190, 105) on the left.
  expect_dots({{kInk, 140, 112}, {kInk, 136, 119}, {kFace, 136, 111}, {kFace, 144, 111}, {kInk, 173, 115},
               {kFace, 173, 110}, {kInk, 197, 115}, {kFace, 197, 120}});
  EXPECT_TRUE(pixels_of(kInk, 130, 105, 133, 124).empty());
  // "Off", 30 x 30 at (180, 140), disabled: dim label, crossed from (180, 169) to (209, 140).
  for (int i = 0; i < 29; ++i) expect_dots({{kBorder, 180 + i, 169 - i}});
  EXPECT_TRUE(pixels_of(kInk, 180, 140, 209, 169).empty());
  // "Flat" has no border: its face reaches the corners; a drag area shows its face only.
  expect_dots({{kFace, 220, 140}, {kFace, 259, 159}});
  EXPECT_EQ(pixels_of(kFace, 105, 200, 154, 229).size(), 50u * 30u);

  // "shapes" at (350, 20) without border: a thin line, a double line with its second
  // row below, a vertical one with its second column to the right; frames single,
  // double and filled.
  EXPECT_EQ(pixels_of(kInk, 360, 40, 399, 41).size(), 80u);
  EXPECT_EQ(pixels_of(kInk, 410, 30, 411, 69).size(), 80u);
  expect_dots({{kInk, 399, 30}, {1, 400, 30}, {1, 360, 42}, {1, 412, 50}, {kInk, 360, 80}, {kInk, 379, 89},
               {1, 361, 81}, {kInk, 391, 81}, {1, 392, 82}});
  EXPECT_EQ(pixels_of(kInk, 420, 80, 439, 89).size(), 200u);
  // A label with its shadow one pixel right and down; the small label has none.
  const Pixels hi = pixels_of(kInk, 355, 100, 400, 125), shadow = pixels_of(kDim, 355, 100, 400, 125);
  ASSERT_FALSE(shadow.empty());
  for (const auto& [x, y] : shadow) EXPECT_TRUE(hi.count({x - 1, y - 1})) << x << "," << y;
  EXPECT_TRUE(pixels_of(kDim, 355, 135, 400, 155).empty());
  // A shaded frame two pixels wide around the field (10, 450) 200 x 20.
  const int inside = MXPget_pixel(209, 469);
  MXframefield("root", "VERSION", kLight, kDark);
  expect_dots({{kLight, 100, 448}, {kLight, 8, 460}, {kDark, 100, 471}, {kDark, 210, 460}, {inside, 209, 469}});
  // An invisible button leaves the peach window background, also when its window is
  // redrawn; made visible, it is drawn again.
  MXinvisiblebutton("panel", "two", 1);
  EXPECT_EQ(pixels_of(7, 105, 140, 164, 179).size(), 60u * 40u);
  MXredrawnamedwindow("panel");
  EXPECT_EQ(pixels_of(7, 105, 140, 164, 179).size(), 60u * 40u);
  MXenablebutton("panel", "two", 1);
  expect_dots({{kBorder, 105, 140}});
}

TEST_F(Drawing, MenuWithAnInvisibleItemAndCheckMarks) {
  const std::vector<unsigned char> before = screen();
  MXcreatenamedpopup("menu");
  const Popupmenu& m = Popups[MXpopupnum("menu")];
  EXPECT_EQ(std::vector<int>({m.ht, InfState.level, pickitem(220, &m), pickitem(236, &m)}),
            std::vector<int>({15 * 2 + 7, 2, 2, -1}));  // two visible items; "Third" in slot 1
  // Toggling the third item's mark repaints slot 1, and toggling again as it was.
  const Pixels unchecked = pixels_of(kInk, 301, 218, 300 + m.wd - 2, 232);
  MXtogglecheck("menu", "third");
  EXPECT_GT(pixels_of(kInk, 301, 218, 300 + m.wd - 2, 232).size(), unchecked.size());
  MXtogglecheck("menu", "third");
  EXPECT_TRUE(pixels_of(kInk, 301, 218, 300 + m.wd - 2, 232) == unchecked);

  // Highlight follows the pointer over the visible items: m.x < x < m.x + wd and
  // m.y + 1 < y < m.y + 15 n + 2 (n = 2 visible items); slot (y - m.y - 3) / 15.
  const struct { int x, y, slot; } points[] = {{310, 222, 1}, {310, 208, 0}, {310, 231, 1}, {310, 232, -1}, {310, 202, 0}, {310, 201, -1},
                {301, 210, 0}, {300, 210, -1}, {300 + m.wd - 1, 210, 0}, {300 + m.wd, 210, -1}};
  for (const auto& p : points) {
    highlight(p.x, p.y);
    const Pixels lit = pixels_of(kHilite, 300, 200, 300 + m.wd - 1, 200 + m.ht - 1);
    EXPECT_EQ(lit.empty() ? -1 : (lit.begin()->second - 203) / 15, p.slot) << p.x << "," << p.y;
    if (p.slot >= 0) {  // the whole row: highlight or label
      const size_t ink = pixels_of(kInk, 301, 203 + 15 * p.slot, 300 + m.wd - 2, 217 + 15 * p.slot).size();
      EXPECT_EQ(lit.size() + ink, (m.wd - 2u) * 15u) << p.y;
    }
  }
  removepopup();
  EXPECT_EQ(std::vector<int>({InfState.level, InfState.activepopupwindow}), std::vector<int>({1, -1}));
  EXPECT_TRUE(screen() == before) << "the popup's background was not restored exactly";
  // A second menu cannot open while the first holds backing-store slot 1.
  MXcreatenamedpopup("menu");
  EXPECT_EQ(fatal_text([] { MXcreatenamedpopup("checks"); }), "Error - bstore 1 is already occupied.\n");
}

TEST_F(Drawing, ModalWindowWithBackingStoreAndItsRemoval) {
  const std::vector<unsigned char> before = screen();
  MXdrawnamedwindow("dialog", 1, 1);
  EXPECT_EQ(std::vector<int>({InfState.level, window("dialog").active, button("other", "ob").active,
                              button("other", "odis").active, button("panel", "area").active}),
            std::vector<int>({2, 2, TMP_DISABLED, DISABLED, ENABLED}));  // drag areas keep theirs
  EXPECT_FALSE(pixels_of(kDim, 405, 305, 444, 324).empty());  // relabelled in the disabled colour
  EXPECT_EQ(fatal_text([] { MXdrawnamedwindow("dialog", 1, 0); }), "Error - backing store 2 is already occupied.\n");
  MXremovenamedwindow("dialog");
  EXPECT_EQ(std::vector<int>({InfState.level, window("dialog").active, button("other", "ob").active,
                              button("other", "odis").active, InfState.cw}),
            std::vector<int>({1, 0, ENABLED, DISABLED, 0}));
  EXPECT_TRUE(screen() == before) << "the backing store and the relabelling did not give the screen back";
  // Making a window active again gives its temporarily disabled buttons back.
  MXdrawnamedwindow("dialog", 0, 1);
  MXsetactivenamedwindow("other");
  EXPECT_EQ(std::vector<int>({window("other").active, button("other", "ob").active}), std::vector<int>({2, ENABLED}));
}

// Texts in one colour and font, each at (x, baseline).
struct Ink { int colour; FontSizeType font; std::vector<std::tuple<int, int, std::string>> at; };

// The ink in the box (x0, y0)-(x1, y1) must be exactly what the platform's own text
// drawing leaves there for the texts placed by the rules, on a cleared box.
void expect_ink_as_placed(const char* what, int x0, int y0, int x1, int y1, const std::vector<Ink>& inks) {
  std::vector<Pixels> got;
  for (const Ink& k : inks) got.push_back(pixels_of(k.colour, x0, y0, x1, y1));
  MXPset_clip_rect(0, 0, 640, 480);
  MXsetcolor(0);
  MXPfill_rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
  for (const Ink& k : inks) {
    MXsetcolor(k.colour);
    MXsetfont(k.font);
    for (const auto& [x, y, text] : k.at) MXPdraw_string(x, y, text.c_str());
  }
  for (size_t i = 0; i < inks.size(); ++i) {
    EXPECT_FALSE(got[i].empty()) << what;
    EXPECT_TRUE(got[i] == pixels_of(inks[i].colour, x0, y0, x1, y1)) << what;
  }
}

TEST_F(Drawing, LabelsMenuItemsAndWindowTextStandWhereTheRulesPlaceThem) {
  MXsetfont(SMALL);
  const int hs = MXtextheight();
  MXsetfont(LARGE);
  const int h = MXtextheight();
  const auto t = [](const char* text) { return MXtextwidth(text); };
  // One-line baseline Y + (H - h) / 2 + h + (H - h) % 2, on faces 20 and 21 high so that
  // one has an odd remainder; centred x = X + (W - t) / 2, right-aligned X + W - t - 6,
  // left-aligned X + 5. Two lines on the 60 x 41 face at (225, 385): first baseline
  // Y + (H - 2h - 2) / 2 + h, the second h lower, each centred by its own width.
  const auto base = [](int Y, int H, int th) { return Y + (H - th) / 2 + th + (H - th) % 2; };
  const int two = 385 + (41 - 2 * h - 2) / 2 + h;
  const struct { const char* what; int x0, y0, x1, y1; std::vector<Ink> inks; } labels[] = {
      {"centred, 20 high", 25, 385, 64, 405, {{kInk, LARGE, {{25 + (40 - t("Mid")) / 2, base(385, 20, h), "Mid"}}}}},
      {"centred, 21 high", 70, 385, 109, 405, {{kInk, LARGE, {{70 + (40 - t("Mid")) / 2, base(385, 21, h), "Mid"}}}}},
      {"right, 20 high", 115, 385, 164, 405, {{kInk, LARGE, {{115 + 50 - t("Rgt") - 6, base(385, 20, h), "Rgt"}}}}},
      {"right, 21 high", 170, 385, 219, 405, {{kInk, LARGE, {{170 + 50 - t("Rgt") - 6, base(385, 21, h), "Rgt"}}}}},
      {"left, small", 220, 140, 259, 159, {{kInk, SMALL, {{225, base(140, 20, hs), "Flat"}}}}},
      {"two lines", 225, 385, 284, 425,
       {{kInk, LARGE, {{225 + (60 - t("AB")) / 2, two, "AB"}, {225 + (60 - t("CD")) / 2, two + h, "CD"}}}}},
  };
  MXdrawnamedwindow("captions", 0, 0);
  for (const auto& l : labels) expect_ink_as_placed(l.what, l.x0, l.y0, l.x1, l.y1, l.inks);
  // Menu items at (300, 200): baseline 215 + 15 per slot; labels from x = 306, or 316
  // in a check list; the check mark from x = 306.
  MXcreatenamedpopup("checks");
  expect_ink_as_placed("check list", 301, 201, 300 + Popups[1].wd - 2, 235,
                       {{kInk, LARGE, {{306, 215, "*"}, {316, 215, "Tick"}}}, {kDim, LARGE, {{316, 230, "Tock"}}}});
  removepopup();
  MXcreatenamedpopup("menu");
  MXtogglecheck("menu", "third");
  expect_ink_as_placed("menu", 301, 201, 300 + Popups[0].wd - 2, 235,
                       {{kInk, LARGE, {{306, 215, "First"}, {306, 230, "Third"}, {306, 230, "*"}}}});
  removepopup();
  // Window text is drawn one pixel right of the window-relative x.
  MXsetcurrentnamedwindow("shapes");  // at (350, 20), no border
  MXsetcolor(kInk);
  MXsetfont(SMALL);
  MXwwritemsg(100, 40, "Hi");
  expect_ink_as_placed("window text", 440, 25, 549, 69, {{kInk, SMALL, {{451, 60, "Hi"}}}});

  // The clipped text's box: from x + 1, clip wd - 2 wide; from the baseline clip y up
  // one text height, clip ht high. Text crossing all four edges, at several offsets so
  // that every edge meets ink.
  for (int d = 0; d < 9; ++d) {
    MXredrawnamedwindow("shapes");
    MXsetcolor(kInk);
    MXsetfont(LARGE);
    const int x = 95 + d % 3, y = 60 - h + 6 + d / 3;
    MXwwriteclippedmsg(100, 60, 30, 4, x, y, "MMMMMMMM");
    const Pixels got = pixels_of(kInk, 440, 20, 549, 169);
    MXredrawnamedwindow("shapes");
    MXPset_clip_rect(451, 80 - h, 28, 4);
    MXsetcolor(kInk);
    MXPdraw_string(350 + x + 1, 20 + y, "MMMMMMMM");
    EXPECT_TRUE(got == pixels_of(kInk, 440, 20, 549, 169)) << "offset " << d;
  }

  // Clearing keeps a one-pixel margin and the current colour.
  MXsetcurrentnamedwindow("shapes");
  MXsetcolor(kInk);
  MXwfillrect(100, 100, 40, 20);
  MXwclearrect(100, 100, 40, 20);
  EXPECT_EQ(MXgetcolor(), kInk);
  for (int y = 120; y <= 139; ++y)
    for (int x = 450; x <= 489; ++x)
      ASSERT_EQ(MXPget_pixel(x, y), x == 450 || x == 489 || y == 120 || y == 139 ? kInk : 1) << x << "," << y;
  // The pointer in the current window's coordinates.
  Cursx = 420, Cursy = 95;
  int cx = 0, cy = 0;
  MXgetcursorxy(&cx, &cy);
  EXPECT_EQ(std::make_pair(cx, cy), std::make_pair(70, 75));
}

using Public = Drawing;

TEST_F(Public, WindowAndMenuPlacementKeepThemOnTheScreen) {
  int x = 600, wd = 0, y = 450;
  MXsetwindowspecs("OTHER", &x, &y, &wd, nullptr);  // 100 x 80: pushed to (540, 400); a width of 0 is ignored
  EXPECT_EQ(std::vector<int>({window("other").x, window("other").y, window("other").wd}), std::vector<int>({540, 400, 100}));
  x = 10, wd = 700;  // too wide for any place: x stays
  MXsetwindowspecs("other", &x, nullptr, &wd, nullptr);
  EXPECT_EQ(window("other").x, 540);
  // Menus use the height of their last opening (0 before the first).
  y = 470;
  MXsetmenuorigin("menu", nullptr, &y);
  EXPECT_EQ(Popups[MXpopupnum("menu")].y, 470);
  MXcreatenamedpopup("menu");
  removepopup();
  MXsetmenuorigin("menu", nullptr, &y);
  EXPECT_EQ(Popups[MXpopupnum("menu")].y, 480 - 37);
  EXPECT_EQ(fatal_text([&] { MXsetmenuorigin("nomenu", nullptr, &y); }), "Invalid popup |nomenu| in set menu origin.\n");
}

TEST_F(Public, BackingStoreNeedsTheStartUpFlagAndASlotUpToFive) {
  stop_interface();
  start(data_file("interface_basic.inf"), 0);
  EXPECT_EQ(fatal_text([] { MXdrawnamedwindow("dialog", 1, 0); }),
            "Error - interface was not initialized withbacking store.\nIn MXinterfaceinit, pass "
            "BSTORE as the bstore argument.\n");
  stop_interface();
  EXPECT_EQ(fatal_text([&] { start(write_file("window (root 0 0 640 480 black lgray black 2 1 6)\n"), 1); }),
            "Error:  can't have bstore # 6");
}

TEST_F(Public, TextFormatsTheClippedTextsChecksAndTheLastControl) {
  char a[64], b[64], c[64], d[64], e[64];
  EXPECT_EQ(std::vector<std::string>({MXformatcommanum(999, a), MXformatcommanum(1000, b), MXformatcommanum(1e6, c),
                                      MXformatcommanum(0, d), MXformatcommanum(123456.6, e)}),
            std::vector<std::string>({"999", "1,000", "1,000,000", "0", "123,457"}));

  MXsetcurrentnamedwindow("shapes");
  MXsetcolor(kInk);
  const Pixels before = pixels_of(kInk, 350, 20, 549, 169);
  EXPECT_EQ(log_during([] { MXwwriteclippedmsg(10, 145, 0, 20, 10, 145, "Clipped"); }),
            "Non-positive value passed to clip_wd in MXwwriteclippedmsg\n");
  EXPECT_EQ(log_during([] { MXwwriteclippedmsg(200, 10, 5, 5, 0, 0, "x"); }),
            "Value passed to clip_x is beyond right edge of window in MXwwriteclippedmsg\n");
  EXPECT_TRUE(pixels_of(kInk, 350, 20, 549, 169) == before);
  // A box wider than the window is narrowed to its right edge.
  EXPECT_EQ(log_during([] { MXwwriteclippedmsg(10, 145, 500, 20, 10, 145, "Clipped"); }), "");
  EXPECT_GT(pixels_of(kInk, 350, 20, 549, 169).size(), before.size());
  // The last control's names are cut to the record, not overrun.
  setlastcontrol(WINDOW, std::string(200, 'w').c_str(), std::string(200, 'b').c_str(), 0);
  ControlType last;
  MXgetlastcontrol(&last);
  EXPECT_EQ(std::vector<size_t>({std::strlen(last.gname), std::strlen(last.control.name), std::strlen(last.time)}),
            std::vector<size_t>({80, 80, 8}));
}

TEST_F(Public, SavedInterfaceStateRoundTripAndAForeignBlockRefusedWhole) {
  // Windows: root 1 button, panel 8, shapes 0, dialog 1, other 2, alert 0, captions 5;
  // menus: 3 and 2 items. Values: 7 + 17 windows and buttons, 2 + 2 * 5 menus.
  EXPECT_EQ(MXwindowstatesize(), (7u + 17u + 2u + 10u) * 4u);
  MXdisablebutton("other", "ob", 0);
  MXtogglecheck("checks", "tock");
  std::vector<unsigned char> block(MXwindowstatesize());
  FILE* f = std::tmpfile();
  MXsavewindows(f);
  std::rewind(f);
  ASSERT_EQ(std::fread(block.data(), 1, block.size(), f), block.size());
  // Little-endian ints: the first is root's active (1).
  EXPECT_EQ(std::vector<int>(block.begin(), block.begin() + 4), std::vector<int>({1, 0, 0, 0}));
  std::fclose(f);
  MXenablebutton("other", "ob", 0);
  MXsetdeactivenamedwindow("panel");
  EXPECT_EQ(MXcheckwindowstate(block.data(), block.size() - 4), 0);
  std::vector<unsigned char> bad = block;
  bad[4] = 7;  // root's button state 7 is no state
  EXPECT_EQ(MXcheckwindowstate(bad.data(), bad.size()), 0);
  bad = block;
  bad[3] = 0x80;  // a negative window level
  EXPECT_EQ(MXcheckwindowstate(bad.data(), bad.size()), 0);
  block[4] = block[5] = block[6] = block[7] = 0xFF;  // -1: root's button becomes invisible
  ASSERT_EQ(MXcheckwindowstate(block.data(), block.size()), 1);
  MXapplywindowstate(block.data());
  EXPECT_EQ(std::vector<int>({button("root", "file").active, button("other", "ob").active, window("panel").active,
                              Popups[1].item[1].checked}),
            std::vector<int>({INVISIBLE, DISABLED, 1, 1}));
}

}  // namespace
