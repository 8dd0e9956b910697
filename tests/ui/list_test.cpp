// Lists: grid geometry, which points are on the page, hover and click reports,
// paging, items that do not fit, and the fatal misuses.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "event_test_support.h"

using namespace uitest;

namespace {

int listrt(int x, int y, int c, const char* n) { return record("listrt", x, y, c, n); }

const IntrFunction kRoutines[] = {
    {"listrt", listrt}, {"barrt", listrt}, {"uprt", listrt}, {"dnrt", listrt}, {"gridrt", listrt},
};

// What the list asked and told.
int g_pagesize = 7;
std::vector<int> g_labels, g_in, g_clicks;
int g_outs = 0;

int psize(int, int) { return g_pagesize; }
const char* label(int item) {
  static std::string text;
  g_labels.push_back(item);
  text = "Item " + std::to_string(item);
  return text.c_str();
}
void settext(int, int) {
  MXsetcolor(0);
  MXsetfont(SMALL);
}
void in(int item) { g_in.push_back(item); }
void out() { ++g_outs; }
void clicked(int item) { g_clicks.push_back(item); }

class List : public ::testing::Test {
 protected:
  void SetUp() override {
    start_interface("lists.inf", kRoutines, static_cast<int>(std::size(kRoutines)));
    run_events();
    g_pagesize = 7;
    g_labels.clear();
    g_in.clear();
    g_clicks.clear();
    g_outs = 0;
  }
  void TearDown() override { stop_interface(); }

  // A one-column list of 17-pixel rows without gaps in "listarea" of window "map".
  static int column_list() {
    return MXlistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_LEFT, psize, label, settext,
                       in, out, clicked);
  }
  // Three columns of 60 x 17 items, 5 pixels apart, in "grid".
  static int grid_list() {
    return MXlistsetup("map", "grid", 3, "gridfield", 5, 0, JUST_LEFT, psize, label, settext, in,
                       out, clicked);
  }
  static std::string fatal_text(void (*f)()) {
    try {
      f();
    } catch (const FatalExit& e) {
      return e.text;
    }
    return "(no fatal exit)";
  }
};

TEST_F(List, AClickBelowTheLastRowRingsTheBell) {
  const int h = column_list();
  MXlistfromitem(h, 0);
  const int bells = MXPheadless_bells();
  MXhandlelist(h, 50, 120, MOUSE_CLICK);  // row 120 / 17 = 7: the page has rows 0..6
  EXPECT_EQ(MXPheadless_bells(), bells + 1);
  EXPECT_TRUE(g_clicks.empty());
  MXhandlelist(h, 50, 110, MOUSE_CLICK);  // row 6
  EXPECT_EQ(g_clicks, std::vector<int>{6});
}

TEST_F(List, APartlyFilledLastRowHasOnlyItsItemsOnThePage) {
  const int h = grid_list();
  MXlistfromitem(h, 0);
  MXhandlelist(h, 65 + 10, 2 * 17 + 5, MOUSE_CLICK);  // column 1 of row 2: item 7
  EXPECT_TRUE(g_clicks.empty());
  MXhandlelist(h, 10, 2 * 17 + 5, MOUSE_CLICK);  // column 0 of row 2: item 6
  EXPECT_EQ(g_clicks, std::vector<int>{6});
  MXhandlelist(h, 3 * 65 + 2, 5, MOUSE_CLICK);  // right of the last column
  EXPECT_EQ(g_clicks.size(), 1u);
}

TEST_F(List, HoverReportsAnItemOnceAndLeavingTheItemsOnce) {
  const int h = column_list();
  MXlistfromitem(h, 0);
  MXhandlelist(h, 10, 5, MOUSE_INSIDE);
  MXhandlelist(h, 20, 8, MOUSE_INSIDE);
  MXhandlelist(h, 30, 2, DRAG_PROCESS);
  EXPECT_EQ(g_in, std::vector<int>{0});
  // The highlighted item is filled with the highlight colour (peach, 7): window
  // (20, 20) + area (10, 10); the right end of the row holds no text.
  EXPECT_EQ(MXPget_pixel(225, 40), 7);
  MXhandlelist(h, 30, 7 * 17 + 3, MOUSE_INSIDE);  // below the last row
  EXPECT_EQ(g_outs, 1);
  EXPECT_EQ(MXPget_pixel(225, 40), 1);  // drawn plain again
  EXPECT_EQ(Lists[h]->oldslot, -1);
  MXhandlelist(h, 30, 20, MOUSE_INSIDE);
  EXPECT_EQ(g_in, (std::vector<int>{0, 1}));
  EXPECT_EQ(MXPget_pixel(225, 57), 7);
  MXhandlelist(h, 300, 300, MOUSE_OUTSIDE);
  EXPECT_EQ(g_outs, 2);
  EXPECT_EQ(MXPget_pixel(225, 57), 1);
}

TEST_F(List, APageFromAnItemShowsItAtTheTop) {
  g_pagesize = 13;
  const int h = column_list();
  MXlistfromitem(h, 40);
  std::vector<int> expected;
  for (int i = 40; i <= 52; ++i) expected.push_back(i);
  EXPECT_EQ(g_labels, expected);
  MXhandlelist(h, 5, 5, MOUSE_INSIDE);
  EXPECT_EQ(g_in, std::vector<int>{40});
}

TEST_F(List, AnItemReachingBelowTheAreaIsNotDrawn) {
  g_pagesize = 14;  // the area holds 13 rows of 17 pixels
  const int h = column_list();
  MXlistfromitem(h, 0);
  ASSERT_EQ(g_labels.size(), 13u);
  EXPECT_EQ(g_labels.back(), 12);
}

TEST_F(List, UnhighlightingWithNothingHighlightedDrawsNothing) {
  const int h = column_list();
  MXlistfromitem(h, 0);
  g_labels.clear();
  MXdrawlistitem(h, Unhighlight, -1);
  EXPECT_TRUE(g_labels.empty());
}

TEST_F(List, AnItemBeforeThePageIsNeverDrawn) {
  const int h = grid_list();
  MXlistfromitem(h, 0);
  g_labels.clear();
  MXdrawlistitem(h, New, -2);  // nothing was highlighted before: no item
  MXdrawlistitem(h, Highlight, -1);
  EXPECT_TRUE(g_labels.empty());
}

TEST_F(List, PagesFollowThePageSizes) {
  g_pagesize = 5;
  const int h = column_list();
  MXlistpage(h, 3);
  EXPECT_EQ(Lists[h]->firstitem, 10);
  EXPECT_EQ(Lists[h]->currpagesize, 5);
  EXPECT_EQ(Lists[h]->pagenum, 3);
  EXPECT_EQ(g_labels, (std::vector<int>{10, 11, 12, 13, 14}));
}

// The rightmost and leftmost columns of the first row's label (screen rows 31..40),
// -1 when the row shows no text.
std::pair<int, int> first_row_ink() {
  int left = -1, right = -1;
  for (int y = 31; y <= 40; ++y)
    for (int x = 31; x < 229; ++x)
      if (MXPget_pixel(x, y) == 0) {
        if (left == -1 || x < left) left = x;
        if (x > right) right = x;
      }
  return {left, right};
}

TEST_F(List, LabelsAreAlignedAsAsked) {
  g_pagesize = 1;
  MXsetfont(SMALL);
  const int width = MXtextwidth("Item 0");
  // The item spans screen columns 30..229 (window 20 + area 10); text starts one
  // pixel right of its x.
  int h = column_list();  // left: x = left + 3
  MXlistfromitem(h, 0);
  EXPECT_NEAR(first_row_ink().first, 30 + 3 + 1, 2);
  MXdismantlelist(h);
  h = MXlistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_RIGHT, psize, label, settext, in,
                  out, clicked);
  MXlistfromitem(h, 0);  // right: x = left + itemwd - 4 - width
  EXPECT_NEAR(first_row_ink().second, 30 + 200 - 4 - width + 1 + width - 1, 2);
  MXdismantlelist(h);
  h = MXlistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_CENTER, psize, label, settext, in,
                  out, clicked);
  MXlistfromitem(h, 0);  // centred: x = left + (itemwd - width) / 2
  EXPECT_NEAR(first_row_ink().first, 30 + (200 - width) / 2 + 1, 2);
}

TEST_F(List, ASixthListAndBadHandlesAreFatal) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(column_list(), i);
  EXPECT_EQ(fatal_text([] { column_list(); }), "Reached maximum number of lists.\n");
  EXPECT_EQ(MXdismantlelist(2), -1);
  EXPECT_EQ(Lists[2], nullptr);
  EXPECT_EQ(MXdismantlelist(9), -1);  // ignored
  EXPECT_EQ(fatal_text([] { MXdrawlistitem(5, New, 0); }),
            "Invalid MXlistHandle passed to MXdrawlistitem\n");
  EXPECT_EQ(fatal_text([] { MXlistpage(-1, 1); }), "Invalid MXlistHandle passed to MXlistpage\n");
  EXPECT_EQ(fatal_text([] { MXhandlelist(2, 0, 0, MOUSE_CLICK); }),
            "Invalid MXlistHandle passed to MXhandlelist\n");
  EXPECT_EQ(fatal_text([] { MXlistfromitem(7, 0); }),
            "Invalid MXlistHandle passed to MXlistfromitem\n");
  EXPECT_EQ(fatal_text([] { MXlistsetup("map", "nosuch", 1, "rowfield", 0, 0, JUST_LEFT, psize,
                                        label, settext, in, out, clicked); }),
            "getname: Couldn't find |dragarea| named |nosuch|\n");
}

}  // namespace
