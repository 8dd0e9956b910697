// Drawing on the headless screen, read back pixel by pixel: button bevels, arrows and
// their orientation, one- and two-line labels, the disabled diagonal, graphics types,
// popup menus with an invisible item and check marks, backing store restoring the
// screen exactly, modal bookkeeping and the shaded frame.
//
// Lines are drawn as the platform draws them: from the first point up to, but not
// including, the second.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

// Colours of the test file, in the order its palette entries place them.
constexpr int kBorder = 8, kLight = 9, kDark = 10, kFace = 11, kInk = 12, kDim = 13, kHilite = 14;

class Drawing : public InterfaceTest {
 protected:
  void SetUp() override {
    start(data_file("interface_basic.inf"), 1);
    oldpopup = olditemslot = olditem = -1;
    MXredrawactivewindows();
  }
  static void expect_line(int colour, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) EXPECT_EQ(MXPget_pixel(x, y), colour) << "at (" << x << ", " << y << ")";
  }
};

TEST_F(Drawing, FramedButtonBevelPressedAndReleased) {
  // Button 20 x 10 at (5, 5) of the window at (100, 100): the frame covers columns 105
  // to 124 and rows 105 to 114, the light bevel row 106 and column 106, the dark bevel
  // row 113 and column 123.
  expect_line(kBorder, 105, 105, 124, 105);
  expect_line(kBorder, 107, 114, 124, 114);
  expect_line(kBorder, 105, 105, 105, 114);
  expect_line(kBorder, 124, 105, 124, 114);
  expect_line(kLight, 106, 106, 122, 106);
  expect_line(kLight, 106, 106, 106, 112);
  expect_line(kDark, 107, 113, 122, 113);
  expect_line(kDark, 123, 107, 123, 112);
  expect_dots({{3, 123, 106}, {1, 106, 114}});
  // "@@" shows no label.
  EXPECT_TRUE(pixels_of(kInk, 105, 105, 124, 114).empty());
  EXPECT_TRUE(pixels_of(kDim, 105, 105, 124, 114).empty());

  const int w = MXwindownum("panel");
  MXPdraw_depressed_button(w, MXbuttonnum(w, "bevel"));
  expect_dots({{kDark, 110, 106}, {kDark, 106, 110}, {kLight, 110, 113}, {kLight, 123, 110}, {1, 123, 106},
               {3, 106, 114}});
  MXPdraw_released_button(w, MXbuttonnum(w, "bevel"));
  expect_dots({{kLight, 110, 106}, {kDark, 123, 110}, {3, 123, 106}});
}

TEST_F(Drawing, ArrowsFitASquareAndLeftPointsRightAndRightPointsLeft) {
  // Up: button at (130, 105), 20 x 20; the triangle spans (134, 109) to (146, 121).
  expect_dots({{kInk, 140, 112}, {kInk, 136, 119}, {kFace, 136, 111}, {kFace, 144, 111}});
  EXPECT_TRUE(pixels_of(kInk, 130, 105, 133, 124).empty());
  EXPECT_TRUE(pixels_of(kInk, 130, 105, 149, 108).empty());
  // "\<" at (160, 105): tip on the right at (176, 115); "\>" at (190, 105): tip on
  // the left at (194, 115).
  expect_dots({{kInk, 166, 112}, {kInk, 173, 115}, {kFace, 173, 110}, {kFace, 173, 120}});
  expect_dots({{kInk, 204, 112}, {kInk, 197, 115}, {kFace, 197, 110}, {kFace, 197, 120}});
}

TEST_F(Drawing, TwoLineLabel) {
  // "AB@CD" on a button 60 x 40 at (105, 140).
  MXsetfont(LARGE);
  const int h = MXtextheight();
  const int base1 = 140 + (40 - 2 * h - 2) / 2 + h, base2 = base1 + h;
  const int x1 = 105 + (60 - MXtextwidth("AB")) / 2, x2 = 105 + (60 - MXtextwidth("CD")) / 2;
  bool first = false, second = false;
  for (const auto& [x, y] : pixels_of(kInk, 105, 140, 164, 179)) {
    EXPECT_GT(y, base1 - h - 1);
    EXPECT_LE(y, base2);
    const bool upper = y <= base1;
    (upper ? first : second) = true;
    EXPECT_GE(x, (upper ? x1 : x2) - 1);
    EXPECT_LE(x, upper ? x1 + MXtextwidth("AB") : x2 + MXtextwidth("CD"));
  }
  EXPECT_TRUE(first);
  EXPECT_TRUE(second);
}

TEST_F(Drawing, DisabledFramedButtonIsCrossedBottomLeftToTopRight) {
  // "Off", 30 x 30 at (180, 140), disabled: label in the disabled colour, and a line
  // in the border colour from (180, 169) towards (209, 140).
  for (int i = 0; i < 29; ++i) expect_dots({{kBorder, 180 + i, 169 - i}});
  EXPECT_TRUE(pixels_of(kInk, 180, 140, 209, 169).empty());
  EXPECT_FALSE(pixels_of(kDim, 180, 140, 209, 169).empty());
}

TEST_F(Drawing, FlatButtonAndDragArea) {
  // "Flat", 40 x 20 at (220, 140), no border: the face reaches the corners, and the
  // left-placed label starts 5 pixels in.
  expect_dots({{kFace, 220, 140}, {kFace, 259, 159}});
  EXPECT_TRUE(pixels_of(kBorder, 220, 140, 259, 159).empty());
  const Pixels ink = pixels_of(kInk, 220, 140, 259, 159);
  ASSERT_FALSE(ink.empty());
  const int minx = std::min_element(ink.begin(), ink.end())->first;
  EXPECT_GE(minx, 225);
  EXPECT_LE(minx, 227);
  // A drag area shows its face only.
  EXPECT_EQ(pixels_of(kFace, 105, 200, 154, 229).size(), 50u * 30u);
}

TEST_F(Drawing, Graphics) {
  // Window "shapes" at (350, 20) without border: a thin line, a double line with its
  // second row below, a vertical double line with its second column to the right.
  expect_line(kInk, 360, 30, 399, 30);
  expect_line(kInk, 360, 40, 399, 41);
  expect_line(kInk, 410, 30, 411, 69);
  expect_dots({{1, 400, 30}, {1, 360, 42}, {1, 412, 50}});
  // Single frame (360, 80) 20 x 10, double frame (390, 80), filled (420, 80).
  expect_dots({{kInk, 360, 80}, {kInk, 379, 89}, {1, 361, 81}, {kInk, 390, 80}, {kInk, 391, 81},
               {kInk, 408, 88}, {1, 392, 82}});
  EXPECT_EQ(pixels_of(kInk, 420, 80, 439, 89).size(), 200u);
  // Label with a shadow one pixel right and down; the small label without.
  const Pixels hi = pixels_of(kInk, 355, 100, 400, 125);
  const Pixels shadow = pixels_of(kDim, 355, 100, 400, 125);
  ASSERT_FALSE(hi.empty());
  ASSERT_FALSE(shadow.empty());
  for (const auto& [x, y] : shadow) EXPECT_TRUE(hi.count({x - 1, y - 1})) << x << "," << y;
  EXPECT_FALSE(pixels_of(kInk, 355, 135, 400, 155).empty());
  EXPECT_TRUE(pixels_of(kDim, 355, 135, 400, 155).empty());
}

TEST_F(Drawing, MenuWithAnInvisibleItemAndCheckMarks) {
  const std::vector<unsigned char> before = screen();
  MXcreatenamedpopup("menu");
  const Popupmenu& m = Popups[MXpopupnum("menu")];
  EXPECT_EQ(m.ht, 15 * 2 + 7);
  EXPECT_EQ(InfState.level, 2);
  EXPECT_EQ(InfState.activepopupwindow, MXpopupnum("menu"));
  MXsetfont(LARGE);
  const int h = MXtextheight(), right = 300 + m.wd - 2;
  // "First" in slot 0 (baseline 215), "Third" in slot 1 (baseline 230), nothing below.
  EXPECT_FALSE(pixels_of(kInk, 301, 215 - h, right, 215).empty());
  EXPECT_FALSE(pixels_of(kInk, 301, 230 - h, right, 230).empty());
  EXPECT_TRUE(pixels_of(kInk, 301, 231, right, 236).empty());
  EXPECT_EQ(pickitem(220, &m), 2);
  EXPECT_EQ(pickitem(236, &m), -1);

  // Toggling the third item's mark repaints slot 1, adding a "*" at x = 306 over the
  // label's first letter; toggling again repaints the row as it was.
  const Pixels unchecked = pixels_of(kInk, 301, 218, right, 232);
  MXtogglecheck("menu", "third");
  EXPECT_EQ(Popups[MXpopupnum("menu")].item[2].checked, 1);
  const Pixels checked = pixels_of(kInk, 301, 218, right, 232);
  EXPECT_GT(checked.size(), unchecked.size());
  EXPECT_TRUE(std::includes(checked.begin(), checked.end(), unchecked.begin(), unchecked.end()));
  MXtogglecheck("menu", "third");
  EXPECT_TRUE(pixels_of(kInk, 301, 218, right, 232) == unchecked);

  // Highlight follows the pointer over the visible items: m.x < x < m.x + wd and
  // m.y + 1 < y < m.y + 15 n + 2 (n = 2 visible items); slot (y - m.y - 3) / 15.
  const struct {
    int x, y, slot;
  } points[] = {{310, 222, 1}, {310, 208, 0}, {310, 231, 1}, {310, 232, -1}, {310, 202, 0}, {310, 201, -1},
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
  EXPECT_EQ(InfState.level, 1);
  EXPECT_EQ(InfState.activepopupwindow, -1);
  EXPECT_EQ(InfState.backingstore[1].inuse, 0);
  EXPECT_TRUE(screen() == before) << "the popup's background was not restored exactly";
}

TEST_F(Drawing, ACheckListMenuIndentsItsLabelsAndHoldsSlotOne) {
  MXcreatenamedpopup("checks");
  const Popupmenu& m = Popups[MXpopupnum("checks")];
  MXsetfont(LARGE);
  const int h = MXtextheight();
  // The checked item shows "*" from x = 306 and its label from x = 316; the disabled
  // one is drawn in the disabled colour.
  const Pixels ink = pixels_of(kInk, 301, 215 - h, 300 + m.wd - 2, 215);
  ASSERT_FALSE(ink.empty());
  EXPECT_GE(ink.begin()->first, 306);
  EXPECT_LT(ink.begin()->first, 312);
  EXPECT_FALSE(pixels_of(kDim, 316, 230 - h, 300 + m.wd - 2, 230).empty());
  // A second menu cannot open while the first holds backing-store slot 1.
  EXPECT_EQ(fatal_text([] { MXcreatenamedpopup("menu"); }), "Error - bstore 1 is already occupied.\n");
}

TEST_F(Drawing, ModalWindowWithBackingStoreAndItsRemoval) {
  const std::vector<unsigned char> before = screen();
  MXdrawnamedwindow("dialog", 1, 1);
  EXPECT_EQ(InfState.level, 2);
  EXPECT_EQ(window("dialog").active, 2);
  EXPECT_EQ(std::vector<int>({button("other", "ob").active, button("other", "odis").active,
                              button("panel", "two").active, button("panel", "area").active,
                              button("dialog", "ok").active}),
            std::vector<int>({TMP_DISABLED, DISABLED, TMP_DISABLED, ENABLED, ENABLED}));  // drag areas keep theirs
  // The relabelled button shows the disabled colour.
  EXPECT_FALSE(pixels_of(kDim, 405, 305, 444, 324).empty());
  EXPECT_EQ(fatal_text([] { MXdrawnamedwindow("dialog", 1, 0); }), "Error - backing store 2 is already occupied.\n");

  MXremovenamedwindow("dialog");
  EXPECT_EQ(InfState.level, 1);
  EXPECT_EQ(window("dialog").active, 0);
  EXPECT_EQ(button("other", "ob").active, ENABLED);
  EXPECT_EQ(button("other", "odis").active, DISABLED);
  EXPECT_EQ(InfState.cw, 0);
  // The window's area came back from backing store; the buttons relabelled in the
  // enabled colour again match the first drawing.
  EXPECT_TRUE(screen() == before);
  // Removing a window that is not shown only makes window 0 current.
  MXsetcurrentnamedwindow("other");
  MXremovenamedwindow("dialog");
  EXPECT_EQ(InfState.cw, 0);
  EXPECT_EQ(InfState.level, 1);
}

TEST_F(Drawing, InvisibleAndVisibleAgain) {
  MXinvisiblebutton("panel", "two", 1);
  EXPECT_EQ(pixels_of(7, 105, 140, 164, 179).size(), 60u * 40u);  // peach window background
  EXPECT_EQ(InfState.cw, MXwindownum("panel"));
  MXenablebutton("panel", "two", 1);
  EXPECT_FALSE(pixels_of(kInk, 105, 140, 164, 179).empty());
  expect_dots({{kBorder, 105, 140}});
}

TEST_F(Drawing, ShadedFrameAroundAField) {
  const int inside = MXPget_pixel(100, 460);
  MXframefield("root", "VERSION", kLight, kDark);
  // Field (10, 450) 200 x 20 of the window at (0, 0): two pixels outside it.
  expect_dots({{kLight, 100, 449}, {kLight, 100, 448}, {kLight, 9, 460}, {kLight, 8, 460}, {kDark, 100, 470},
               {kDark, 100, 471}, {kDark, 210, 460}, {kDark, 211, 460}, {inside, 100, 460}, {inside, 209, 469}});
}

// Texts in one colour and font, each at (x, baseline).
struct Ink {
  int colour;
  FontSizeType font;
  std::vector<std::tuple<int, int, std::string>> at;
};

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
  MXsetfont(LARGE);
  const int h = MXtextheight();
  const auto t = [](const char* text) { return MXtextwidth(text); };
  // One-line baseline Y + (H - h) / 2 + h + (H - h) % 2: faces 20 and 21 high, so
  // that one of them has an odd remainder. Centred x = X + (W - t) / 2; right-aligned
  // x = X + W - t - 6. Window "captions" at (20, 380).
  const auto one_line = [&](int X, int W, int H, bool right, const char* text) {
    const int x = right ? X + W - t(text) - 6 : X + (W - t(text)) / 2;
    return std::make_tuple(x, 385 + (H - h) / 2 + h + (H - h) % 2, std::string(text));
  };
  MXdrawnamedwindow("captions", 0, 0);
  expect_ink_as_placed("centred, 20 high", 25, 385, 64, 405, {{kInk, LARGE, {one_line(25, 40, 20, false, "Mid")}}});
  expect_ink_as_placed("centred, 21 high", 70, 385, 109, 405, {{kInk, LARGE, {one_line(70, 40, 21, false, "Mid")}}});
  expect_ink_as_placed("right, 20 high", 115, 385, 164, 405, {{kInk, LARGE, {one_line(115, 50, 20, true, "Rgt")}}});
  expect_ink_as_placed("right, 21 high", 170, 385, 219, 405, {{kInk, LARGE, {one_line(170, 50, 21, true, "Rgt")}}});
  // Two lines on the 60 x 41 face at (225, 385): first baseline Y + (H - 2h - 2) / 2 + h,
  // the second h lower, each centred by its own width.
  const int base1 = 385 + (41 - 2 * h - 2) / 2 + h;
  expect_ink_as_placed("two lines", 225, 385, 284, 425,
                       {{kInk, LARGE, {{225 + (60 - t("AB")) / 2, base1, "AB"}, {225 + (60 - t("CD")) / 2, base1 + h, "CD"}}}});
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
  Cursx = 420;
  Cursy = 95;
  int cx = 0, cy = 0;
  MXgetcursorxy(&cx, &cy);
  EXPECT_EQ(std::make_pair(cx, cy), std::make_pair(70, 75));
}

TEST_F(Drawing, RedrawingCoversEveryActiveWindowInLevelOrder) {
  const std::vector<unsigned char> first = screen();
  MXsetcolor(0);
  MXPset_clip_rect(0, 0, 640, 480);
  MXPfill_rect(0, 0, 640, 480);
  MXredrawactivewindows();
  EXPECT_TRUE(screen() == first);
}

}  // namespace
