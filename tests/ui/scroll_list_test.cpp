// Scroll lists: thumb size and place, the largest position, button states, track
// clicks, thumb drags in whole rows, item-count changes, the coupled list, and the
// fatal misuses.
#include <string>
#include <utility>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const IntrFunction kRoutines[] = {UI_RECORDER(listrt), UI_RECORDER(barrt), UI_RECORDER(uprt), UI_RECORDER(dnrt),
                                  UI_RECORDER(gridrt)};

std::vector<int> g_moves, g_labels;
void dragged(int pos) { g_moves.push_back(pos); }
const char* label(int item) {
  static std::string text;
  g_labels.push_back(item);
  text = std::to_string(item);
  return text.c_str();
}
void settext(int, int) { MXsetcolor(0); }

constexpr int kThumb = 7, kLight = 1, kDark = 2, kTrack = 3;  // peach, white, dgray, mgray

// The 200-pixel bar "bar" of window "map" with the buttons "up" and "down".
int bar(int items, int visible, int cols = 1, int pos = 0) {
  return MXscrollbarsetup("map", "bar", kThumb, kLight, kDark, items, visible, cols, pos, dragged, "up", "down");
}
// The states of the up and down buttons.
std::vector<int> buttons() { return {state_of("map", "up"), state_of("map", "down")}; }

class ScrollList : public InterfaceTest {
 protected:
  void SetUp() override {
    start_interface("lists.inf", kRoutines, static_cast<int>(std::size(kRoutines)));
    g_moves.clear();
    g_labels.clear();
  }
};

TEST_F(ScrollList, ALongListHasASmallThumbAtTheTop) {
  const int h = bar(180, 13);
  EXPECT_FLOAT_EQ(Thumb[h - 1000]->pixPerItem, 200.0f / 180.0f);
  EXPECT_EQ(std::vector<int>({MXthumbtop(h), MXthumbheight(h), MXgetmaxpos(h)}), std::vector<int>({0, 14, 167}));
  EXPECT_EQ(buttons(), std::vector<int>({DISABLED, ENABLED}));
  MXdrawsclist(h);
  // The bar lies at screen (240, 30): window (20, 20) + area (220, 10); the thumb has a
  // raised left edge and a dark bottom edge.
  expect_dots({{kThumb, 248, 36}, {kTrack, 248, 50}, {kLight, 240, 36}, {kDark, 248, 44}});
}

TEST_F(ScrollList, ShortAndEmptyListsFillTheTrackAndCannotMove) {
  int h = bar(10, 13);
  EXPECT_EQ(MXthumbheight(h), 200);
  EXPECT_EQ(buttons(), std::vector<int>({DISABLED, DISABLED}));
  MXhandlesclist(h, 5, 150, MOUSE_CLICK);
  MXhandlesclist(h, 5, 100, DRAG_PROCESS);
  MXhandledownbutton(h);
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_TRUE(g_moves.empty());

  h = bar(0, 0);
  EXPECT_EQ(MXgetmaxpos(h), 0);
  EXPECT_EQ(MXthumbheight(h), 200);
  MXdrawsclist(h);
  MXhandlesclist(h, 5, 100, DRAG_PROCESS);
  EXPECT_EQ(MXgetsclistpos(h), 0);
}

TEST_F(ScrollList, ButtonsAndPageStepsKeepOneRowOfThePreviousView) {
  const int h = bar(180, 13);
  MXhandleupbutton(h);  // at the top: nothing
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_TRUE(g_moves.empty());
  MXhandledownbutton(h);
  EXPECT_EQ(MXgetsclistpos(h), 1);
  EXPECT_EQ(state_of("map", "up"), ENABLED);
  MXsetsclistpos(h, 0, 0);
  g_moves.clear();

  MXhandlesclist(h, 5, 100, MOUSE_CLICK);  // below the thumb
  EXPECT_EQ(MXgetsclistpos(h), 12);
  EXPECT_EQ(g_moves, std::vector<int>{12});
  EXPECT_EQ(state_of("map", "up"), ENABLED);
  MXhandlesclist(h, 5, MXthumbtop(h) + 3, MOUSE_CLICK);  // on the thumb: nothing
  EXPECT_EQ(MXgetsclistpos(h), 12);
  MXhandlesclist(h, 5, 2, MOUSE_CLICK);  // above it
  EXPECT_EQ(MXgetsclistpos(h), 0);
}

TEST_F(ScrollList, PositionsAreHeldToTheRange) {
  int h = bar(180, 13);
  MXsetsclistpos(h, 500, 0);
  EXPECT_EQ(MXgetsclistpos(h), 167);
  EXPECT_EQ(buttons(), std::vector<int>({ENABLED, DISABLED}));
  MXsetsclistpos(h, -4, 0);
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_EQ(g_moves, (std::vector<int>{167, 0}));

  g_moves.clear();
  h = bar(180, 13, 1, 20);
  MXsetsclistpos(h, 20, 1);  // the present position: nothing changes
  EXPECT_TRUE(g_moves.empty());
  h = bar(180, 13, 1, 100);
  MXsetsclistnumitems(h, 50, 0);  // fewer items pull the position back silently
  EXPECT_EQ(MXgetsclistpos(h), 37);
  EXPECT_TRUE(g_moves.empty());
  EXPECT_EQ(state_of("map", "down"), DISABLED);
  EXPECT_FLOAT_EQ(Thumb[h - 1000]->pixPerItem, 200.0f / 50.0f);
}

TEST_F(ScrollList, TheThumbFollowsThePointerInWholeRows) {
  int h = bar(180, 13);
  MXhandlesclist(h, 5, 112, DRAG_PROCESS);  // (112 - 14 / 2) / (200 / 180) = 94.5
  EXPECT_EQ(MXgetsclistpos(h), 94);

  h = bar(180, 39, 3);
  for (int y = 0; y <= 200; y += 7) {
    MXhandlesclist(h, 5, y, DRAG_PROCESS);
    EXPECT_EQ(MXgetsclistpos(h) % 3, 0) << "y = " << y;
  }
  EXPECT_FALSE(g_moves.empty());
  MXhandlesclist(h, 5, 250, DRAG_PROCESS);  // beyond the track: ignored
  MXhandlesclist(h, 5, 100, DRAG_INIT);
  MXhandlesclist(h, 5, 100, MOUSE_INSIDE);
  const size_t moves = g_moves.size();
  MXhandlesclist(h, 5, 100, DRAG_FINAL);
  EXPECT_EQ(g_moves.size(), moves);
}

TEST_F(ScrollList, ACoupledListShowsAViewFromThePosition) {
  int list = -1, sclist = -1;
  MXsclistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_LEFT, label, settext, nullptr, nullptr, nullptr,
                "bar", kThumb, kLight, kDark, 180, 30, dragged, "up", "down", &list, &sclist);
  ASSERT_NE(list, -1);
  ASSERT_EQ(sclist, 1000);
  EXPECT_EQ(Thumb[0]->numVisibleItems, 13);  // 221 / 17
  EXPECT_EQ(thPSizeFunc(list, 1), 13);
  MXdrawsclist(sclist);
  std::vector<int> expected;
  for (int i = 30; i < 43; ++i) expected.push_back(i);
  EXPECT_EQ(g_labels, expected);
  MXsetsclistnumitems(sclist, 5, 0);
  EXPECT_EQ(thPSizeFunc(list, 1), 5);
  MXdismantlesclist(sclist);
  EXPECT_EQ(Lists[list], nullptr);
  EXPECT_EQ(Thumb[0], nullptr);
}

TEST_F(ScrollList, TooManyBarsAndBadHandlesAreFatal) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bar(180, 13), 1000 + i);
  EXPECT_EQ(fatal_text([] { bar(180, 13); }), "Reached maximum number of sclists.\n");
  MXdismantlesclist(1003);
  const std::pair<void (*)(), const char*> misuses[] = {
      {[] { MXdismantlesclist(1003); }, "MXdismantlesclist called with invalid handle.\n"},
      {[] { MXdrawsclist(5); }, "Invalid MXsclistHandle passed to MXdrawsclist.\n"},
      {[] { MXsetsclistnumitems(1005, 3, 0); }, "Invalid MXsclistHandle passed to MXsetsclistnumitems.\n"},
      {[] { MXsetsclistpos(999, 3, 0); }, "Invalid MXsclistHandle passed to MXsetsclistpos.\n"},
      {[] { MXhandlesclist(0, 0, 0, MOUSE_CLICK); }, "Invalid MXsclistHandle passed to MXhandlesclist.\n"},
  };
  for (const auto& [misuse, message] : misuses) EXPECT_EQ(fatal_text(misuse), message);
  static int lonely;
  lonely = MXlistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_LEFT, thPSizeFunc, label, settext, nullptr,
                       nullptr, nullptr);
  EXPECT_EQ(fatal_text([] { thPSizeFunc(lonely, 1); }), "Error:  thPSizeFunc called by list with no sclist.\n");
}

}  // namespace
