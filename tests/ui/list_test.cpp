// Lists: grid geometry, which points are on the page, hover and click reports,
// paging, items that do not fit, and the fatal misuses. Scroll lists: thumb size
// and place, the largest position, button states, track clicks, thumb drags in
// whole rows, item-count changes, the coupled list, and the fatal misuses.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const IntrFunction kRoutines[] = {UI_RECORDER(listrt), UI_RECORDER(barrt), UI_RECORDER(uprt), UI_RECORDER(dnrt),
                                  UI_RECORDER(gridrt)};

// What the list asked and told, and the page size it is given.
struct Seen { int pagesize = 7; std::vector<int> labels, in, clicks, moves; int outs = 0; } g;

int psize(int, int) { return g.pagesize; }
const char* label(int item) {
  static std::string text;
  g.labels.push_back(item);
  return (text = "Item " + std::to_string(item)).c_str();
}
void settext(int, int) { MXsetcolor(0), MXsetfont(SMALL); }
void in(int item) { g.in.push_back(item); }
void out() { ++g.outs; }
void clicked(int item) { g.clicks.push_back(item); }
void dragged(int pos) { g.moves.push_back(pos); }
std::vector<int> range(int from, int to) {
  std::vector<int> out;
  while (from <= to) out.push_back(from++);
  return out;
}

// A one-column list of 17-pixel rows without gaps in "listarea" of window "map".
int column_list() {
  return MXlistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_LEFT, psize, label, settext, in, out, clicked);
}
// Three columns of 60 x 17 items, 5 pixels apart, in "grid".
int grid_list() {
  return MXlistsetup("map", "grid", 3, "gridfield", 5, 0, JUST_LEFT, psize, label, settext, in, out, clicked);
}

constexpr int kThumb = 7, kLight = 1, kDark = 2, kTrack = 3;  // peach, white, dgray, mgray

// The 200-pixel bar "bar" of window "map" with the buttons "up" and "down".
int bar(int items, int visible, int cols = 1, int pos = 0) {
  return MXscrollbarsetup("map", "bar", kThumb, kLight, kDark, items, visible, cols, pos, dragged, "up", "down");
}
// The states of the up and down buttons.
std::vector<int> buttons() { return {state_of("map", "up"), state_of("map", "down")}; }

struct List : InterfaceTest {
  void SetUp() override { start_interface("lists.inf", kRoutines, std::size(kRoutines)), g = Seen{}; }
};
using ScrollList = List;

TEST_F(List, OnlyPointsOnThePagesItemsAreClicks) {
  int h = column_list();
  MXlistfromitem(h, 0);
  const int bells = MXPheadless_bells();
  MXhandlelist(h, 50, 120, MOUSE_CLICK);  // row 120 / 17 = 7: the page has rows 0..6
  EXPECT_EQ(MXPheadless_bells(), bells + 1);
  MXhandlelist(h, 50, 110, MOUSE_CLICK);  // row 6

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
  // The item spans screen columns 30..229 (window 20 + area 10); its label starts 3 + 1
  // pixels right of it.
  EXPECT_NEAR(pixels_of(0, 31, 31, 228, 40).begin()->first, 34, 2);
  MXhandlelist(h, 10, 5, MOUSE_INSIDE);
  MXhandlelist(h, 30, 2, DRAG_PROCESS);
  // The highlighted item is filled with the highlight colour (peach, 7); the right end
  // of the row holds no text.
  EXPECT_EQ(MXPget_pixel(225, 40), 7);
  MXhandlelist(h, 30, 7 * 17 + 3, MOUSE_INSIDE);  // below the last row
  EXPECT_EQ(std::make_pair(MXPget_pixel(225, 40), Lists[h]->oldslot), std::make_pair(1, -1));  // plain again
  MXhandlelist(h, 30, 20, MOUSE_INSIDE);
  EXPECT_EQ(MXPget_pixel(225, 57), 7);
  MXhandlelist(h, 300, 300, MOUSE_OUTSIDE);
  EXPECT_EQ(MXPget_pixel(225, 57), 1);
  EXPECT_EQ(g.in, (std::vector<int>{0, 1}));
  EXPECT_EQ(g.outs, 2);
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
  g.labels.clear();
  MXdrawlistitem(h, Unhighlight, -1);  // no item: nothing drawn
  EXPECT_TRUE(g.labels.empty());
  g.pagesize = 14;  // the area holds 13 rows of 17 pixels
  h = column_list();
  MXlistfromitem(h, 0);
  EXPECT_EQ(g.labels, range(0, 12));
}

TEST_F(List, TooManyListsOrBarsAndBadHandlesAreFatal) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(column_list(), i);
  EXPECT_EQ(fatal_text([] { column_list(); }), "Reached maximum number of lists.\n");
  EXPECT_EQ(MXdismantlelist(2), -1);
  EXPECT_EQ(MXdismantlelist(9), -1);  // ignored
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bar(180, 13), 1000 + i);
  EXPECT_EQ(fatal_text([] { bar(180, 13); }), "Reached maximum number of sclists.\n");
  MXdismantlesclist(1003);
  const std::pair<void (*)(), const char*> misuses[] = {
      {[] { MXdrawlistitem(5, New, 0); }, "Invalid MXlistHandle passed to MXdrawlistitem\n"},
      {[] { MXlistpage(-1, 1); }, "Invalid MXlistHandle passed to MXlistpage\n"},
      {[] { MXhandlelist(2, 0, 0, MOUSE_CLICK); }, "Invalid MXlistHandle passed to MXhandlelist\n"},
      {[] { MXlistfromitem(7, 0); }, "Invalid MXlistHandle passed to MXlistfromitem\n"},
      {[] { MXlistsetup("map", "nosuch", 1, "rowfield", 0, 0, JUST_LEFT, psize, label, settext, in, out, clicked); },
       "getname: Couldn't find |dragarea| named |nosuch|\n"},
      {[] { MXdismantlesclist(1003); }, "MXdismantlesclist called with invalid handle.\n"},
      {[] { MXdrawsclist(5); }, "Invalid MXsclistHandle passed to MXdrawsclist.\n"},
      {[] { MXsetsclistnumitems(1005, 3, 0); }, "Invalid MXsclistHandle passed to MXsetsclistnumitems.\n"},
      {[] { MXsetsclistpos(999, 3, 0); }, "Invalid MXsclistHandle passed to MXsetsclistpos.\n"},
      {[] { MXhandlesclist(0, 0, 0, MOUSE_CLICK); }, "Invalid MXsclistHandle passed to MXhandlesclist.\n"},
      {[] { thPSizeFunc(4, 1); }, "Error:  thPSizeFunc called by list with no sclist.\n"},
  };
  for (const auto& [misuse, message] : misuses) EXPECT_EQ(fatal_text(misuse), message);
}

TEST_F(ScrollList, ThumbSizeAndPlaceAndTheButtonsAtEitherEnd) {
  int h = bar(180, 13);
  EXPECT_EQ(std::vector<int>({MXthumbtop(h), MXthumbheight(h), MXgetmaxpos(h)}), std::vector<int>({0, 14, 167}));
  EXPECT_EQ(buttons(), std::vector<int>({DISABLED, ENABLED}));
  MXdrawsclist(h);
  // The bar lies at screen (240, 30): window (20, 20) + area (220, 10); the thumb has a
  // raised left edge and a dark bottom edge.
  expect_dots({{kThumb, 248, 36}, {kTrack, 248, 50}, {kLight, 240, 36}, {kDark, 248, 44}});
  MXsetsclistpos(h, 500, 0);
  EXPECT_EQ(MXgetsclistpos(h), 167);
  EXPECT_EQ(buttons(), std::vector<int>({ENABLED, DISABLED}));
  MXsetsclistpos(h, -4, 0);
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_EQ(g.moves, (std::vector<int>{167, 0}));
  // A short list fills the track and cannot move; so does an empty one.
  g.moves.clear();
  h = bar(10, 13);
  EXPECT_EQ(MXthumbheight(h), 200);
  EXPECT_EQ(buttons(), std::vector<int>({DISABLED, DISABLED}));
  MXhandlesclist(h, 5, 150, MOUSE_CLICK);
  MXhandlesclist(h, 5, 100, DRAG_PROCESS);
  MXhandledownbutton(h);
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_TRUE(g.moves.empty());
  h = bar(0, 0);
  MXdrawsclist(h);
  MXhandlesclist(h, 5, 100, DRAG_PROCESS);
  EXPECT_EQ(std::vector<int>({MXgetmaxpos(h), MXthumbheight(h), MXgetsclistpos(h)}), std::vector<int>({0, 200, 0}));
}

TEST_F(ScrollList, ButtonsAndPageStepsKeepOneRowOfThePreviousView) {
  int h = bar(180, 13);
  MXhandleupbutton(h);  // at the top: nothing
  EXPECT_TRUE(g.moves.empty());
  MXhandledownbutton(h);
  EXPECT_EQ(MXgetsclistpos(h), 1);
  EXPECT_EQ(state_of("map", "up"), ENABLED);
  MXsetsclistpos(h, 0, 0);
  g.moves.clear();
  MXhandlesclist(h, 5, 100, MOUSE_CLICK);  // below the thumb
  EXPECT_EQ(g.moves, std::vector<int>{12});
  MXhandlesclist(h, 5, MXthumbtop(h) + 3, MOUSE_CLICK);  // on the thumb: nothing
  EXPECT_EQ(MXgetsclistpos(h), 12);
  MXhandlesclist(h, 5, 2, MOUSE_CLICK);  // above it
  EXPECT_EQ(MXgetsclistpos(h), 0);
  g.moves.clear();
  h = bar(180, 13, 1, 20);
  MXsetsclistpos(h, 20, 1);  // the present position: nothing changes
  h = bar(180, 13, 1, 100);
  MXsetsclistnumitems(h, 50, 0);  // fewer items pull the position back silently
  EXPECT_EQ(MXgetsclistpos(h), 37);
  EXPECT_TRUE(g.moves.empty());
  EXPECT_EQ(state_of("map", "down"), DISABLED);
  EXPECT_FLOAT_EQ(Thumb[h - 1000]->pixPerItem, 200.0f / 50.0f);
}

TEST_F(ScrollList, TheThumbFollowsThePointerInWholeRowsAndACoupledListTheThumb) {
  int h = bar(180, 13);
  MXhandlesclist(h, 5, 112, DRAG_PROCESS);  // (112 - 14 / 2) / (200 / 180) = 94.5
  EXPECT_EQ(MXgetsclistpos(h), 94);
  h = bar(180, 39, 3);
  for (int y = 0; y <= 200; y += 7) {
    MXhandlesclist(h, 5, y, DRAG_PROCESS);
    EXPECT_EQ(MXgetsclistpos(h) % 3, 0) << "y = " << y;
  }
  // A list coupled to a bar shows the view from the bar's position.
  int list = -1, sclist = -1;
  MXsclistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_LEFT, label, settext, nullptr, nullptr, nullptr,
                "bar", kThumb, kLight, kDark, 180, 30, dragged, "up", "down", &list, &sclist);
  ASSERT_NE(list, -1);
  EXPECT_EQ(thPSizeFunc(list, 1), 13);  // 221 / 17
  MXdrawsclist(sclist);
  EXPECT_EQ(g.labels, range(30, 42));
  MXsetsclistnumitems(sclist, 5, 0);
  EXPECT_EQ(thPSizeFunc(list, 1), 5);
  MXdismantlesclist(sclist);
  EXPECT_TRUE(Lists[list] == nullptr && Thumb[sclist - 1000] == nullptr);
}

}  // namespace
