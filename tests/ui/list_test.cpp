// Lists: grid geometry, which points are on the page, hover and click reports,
// paging, items that do not fit, and the fatal misuses.
#include <string>
#include <utility>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const IntrFunction kRoutines[] = {UI_RECORDER(listrt), UI_RECORDER(barrt), UI_RECORDER(uprt), UI_RECORDER(dnrt),
                                  UI_RECORDER(gridrt)};

// What the list asked and told, and the page size it is given.
struct Seen {
  int pagesize = 7;
  std::vector<int> labels, in, clicks;
  int outs = 0;
} g;

int psize(int, int) { return g.pagesize; }
const char* label(int item) {
  static std::string text;
  g.labels.push_back(item);
  text = "Item " + std::to_string(item);
  return text.c_str();
}
void settext(int, int) {
  MXsetcolor(0);
  MXsetfont(SMALL);
}
void in(int item) { g.in.push_back(item); }
void out() { ++g.outs; }
void clicked(int item) { g.clicks.push_back(item); }

std::vector<int> range(int from, int to) {
  std::vector<int> out;
  for (int i = from; i <= to; ++i) out.push_back(i);
  return out;
}

// A one-column list of 17-pixel rows without gaps in "listarea" of window "map", placed
// as asked.
int column_list(MXjustType just = JUST_LEFT) {
  return MXlistsetup("map", "listarea", 1, "rowfield", 0, 0, just, psize, label, settext, in, out, clicked);
}
// Three columns of 60 x 17 items, 5 pixels apart, in "grid".
int grid_list() {
  return MXlistsetup("map", "grid", 3, "gridfield", 5, 0, JUST_LEFT, psize, label, settext, in, out, clicked);
}

class List : public InterfaceTest {
 protected:
  void SetUp() override {
    start_interface("lists.inf", kRoutines, static_cast<int>(std::size(kRoutines)));
    g = Seen{};
  }
};

TEST_F(List, OnlyPointsOnThePagesItemsAreClicks) {
  int h = column_list();
  MXlistfromitem(h, 0);
  const int bells = MXPheadless_bells();
  MXhandlelist(h, 50, 120, MOUSE_CLICK);  // row 120 / 17 = 7: the page has rows 0..6
  EXPECT_EQ(MXPheadless_bells(), bells + 1);
  EXPECT_TRUE(g.clicks.empty());
  MXhandlelist(h, 50, 110, MOUSE_CLICK);  // row 6
  EXPECT_EQ(g.clicks, std::vector<int>{6});

  // A partly filled last row of a grid has only its items on the page.
  h = grid_list();
  MXlistfromitem(h, 0);
  MXhandlelist(h, 65 + 10, 2 * 17 + 5, MOUSE_CLICK);  // column 1 of row 2: item 7
  MXhandlelist(h, 3 * 65 + 2, 5, MOUSE_CLICK);        // right of the last column
  MXhandlelist(h, 10, 2 * 17 + 5, MOUSE_CLICK);       // column 0 of row 2: item 6
  EXPECT_EQ(g.clicks, std::vector<int>({6, 6}));
}

TEST_F(List, HoverReportsAnItemOnceAndLeavingTheItemsOnce) {
  const int h = column_list();
  MXlistfromitem(h, 0);
  MXhandlelist(h, 10, 5, MOUSE_INSIDE);
  MXhandlelist(h, 20, 8, MOUSE_INSIDE);
  MXhandlelist(h, 30, 2, DRAG_PROCESS);
  EXPECT_EQ(g.in, std::vector<int>{0});
  // The highlighted item is filled with the highlight colour (peach, 7): window
  // (20, 20) + area (10, 10); the right end of the row holds no text.
  EXPECT_EQ(MXPget_pixel(225, 40), 7);
  MXhandlelist(h, 30, 7 * 17 + 3, MOUSE_INSIDE);  // below the last row
  EXPECT_EQ(g.outs, 1);
  EXPECT_EQ(MXPget_pixel(225, 40), 1);  // drawn plain again
  EXPECT_EQ(Lists[h]->oldslot, -1);
  MXhandlelist(h, 30, 20, MOUSE_INSIDE);
  EXPECT_EQ(g.in, (std::vector<int>{0, 1}));
  EXPECT_EQ(MXPget_pixel(225, 57), 7);
  MXhandlelist(h, 300, 300, MOUSE_OUTSIDE);
  EXPECT_EQ(g.outs, 2);
  EXPECT_EQ(MXPget_pixel(225, 57), 1);
}

TEST_F(List, PagesStartAtTheirFirstItemAndItemsBelowTheAreaAreNotDrawn) {
  g.pagesize = 13;
  int h = column_list();
  MXlistfromitem(h, 40);
  EXPECT_EQ(g.labels, range(40, 52));
  MXhandlelist(h, 5, 5, MOUSE_INSIDE);
  EXPECT_EQ(g.in, std::vector<int>{40});

  g.pagesize = 5;
  g.labels.clear();
  MXlistpage(h, 3);
  EXPECT_EQ(std::vector<int>({Lists[h]->firstitem, Lists[h]->currpagesize, Lists[h]->pagenum}),
            std::vector<int>({10, 5, 3}));
  EXPECT_EQ(g.labels, range(10, 14));

  g.pagesize = 14;  // the area holds 13 rows of 17 pixels
  g.labels.clear();
  h = column_list();
  MXlistfromitem(h, 0);
  EXPECT_EQ(g.labels, range(0, 12));
}

TEST_F(List, NothingIsDrawnForNoItemOrAnItemBeforeThePage) {
  int h = column_list();
  MXlistfromitem(h, 0);
  g.labels.clear();
  MXdrawlistitem(h, Unhighlight, -1);
  EXPECT_TRUE(g.labels.empty());
  h = grid_list();
  MXlistfromitem(h, 0);
  g.labels.clear();
  MXdrawlistitem(h, New, -2);  // nothing was highlighted before: no item
  MXdrawlistitem(h, Highlight, -1);
  EXPECT_TRUE(g.labels.empty());
}

TEST_F(List, LabelsAreAlignedAsAsked) {
  // The rightmost and leftmost columns of the first row's label (screen rows 31..40).
  const auto first_row_ink = [] {
    std::pair<int, int> ink{999, -1};
    for (const auto& [x, y] : pixels_of(0, 31, 31, 228, 40)) ink = {std::min(ink.first, x), std::max(ink.second, x)};
    return ink;
  };
  g.pagesize = 1;
  MXsetfont(SMALL);
  const int w = MXtextwidth("Item 0");
  // The item spans screen columns 30..229 (window 20 + area 10); text starts one
  // pixel right of its x.
  int h = column_list(JUST_LEFT);  // x = left + 3
  MXlistfromitem(h, 0);
  EXPECT_NEAR(first_row_ink().first, 30 + 3 + 1, 2);
  MXdismantlelist(h);
  h = column_list(JUST_RIGHT);  // x = left + itemwd - 4 - width
  MXlistfromitem(h, 0);
  EXPECT_NEAR(first_row_ink().second, 30 + 200 - 4 - w + 1 + w - 1, 2);
  MXdismantlelist(h);
  h = column_list(JUST_CENTER);  // x = left + (itemwd - width) / 2
  MXlistfromitem(h, 0);
  EXPECT_NEAR(first_row_ink().first, 30 + (200 - w) / 2 + 1, 2);
}

TEST_F(List, ASixthListAndBadHandlesAreFatal) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(column_list(), i);
  EXPECT_EQ(fatal_text([] { column_list(); }), "Reached maximum number of lists.\n");
  EXPECT_EQ(MXdismantlelist(2), -1);
  EXPECT_EQ(Lists[2], nullptr);
  EXPECT_EQ(MXdismantlelist(9), -1);  // ignored
  const std::pair<void (*)(), const char*> misuses[] = {
      {[] { MXdrawlistitem(5, New, 0); }, "Invalid MXlistHandle passed to MXdrawlistitem\n"},
      {[] { MXlistpage(-1, 1); }, "Invalid MXlistHandle passed to MXlistpage\n"},
      {[] { MXhandlelist(2, 0, 0, MOUSE_CLICK); }, "Invalid MXlistHandle passed to MXhandlelist\n"},
      {[] { MXlistfromitem(7, 0); }, "Invalid MXlistHandle passed to MXlistfromitem\n"},
      {[] { MXlistsetup("map", "nosuch", 1, "rowfield", 0, 0, JUST_LEFT, psize, label, settext, in, out, clicked); },
       "getname: Couldn't find |dragarea| named |nosuch|\n"},
  };
  for (const auto& [misuse, message] : misuses) EXPECT_EQ(fatal_text(misuse), message);
}

}  // namespace
