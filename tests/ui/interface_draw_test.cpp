// Drawing on the headless screen, read back pixel by pixel: button bevels, arrows and
// their orientation, one- and two-line labels, the disabled diagonal, graphics types,
// popup menus with an invisible item and check marks, backing store restoring the
// screen exactly, modal bookkeeping and the shaded frame.
//
// Lines are drawn as the platform draws them: from the first point up to, but not
// including, the second.
#include <algorithm>

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

  // Highlight follows the pointer over the visible items.
  highlight(310, 222);
  expect_dots({{kHilite, 302, 219}});
  highlight(310, 208);
  expect_dots({{kFace, 302, 219}, {kHilite, 302, 204}});

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

TEST_F(Drawing, RedrawingCoversEveryActiveWindowInLevelOrder) {
  const std::vector<unsigned char> first = screen();
  MXsetcolor(0);
  MXPset_clip_rect(0, 0, 640, 480);
  MXPfill_rect(0, 0, 640, 480);
  MXredrawactivewindows();
  EXPECT_TRUE(screen() == first);
}

}  // namespace
