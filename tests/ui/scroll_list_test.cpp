// Scroll lists: thumb size and place, the largest position, button states, track
// clicks, thumb drags in whole rows, item-count changes, the coupled list, and the
// fatal misuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_test_support.h"

using namespace uitest;

namespace {

int rt(int x, int y, int c, const char* n) { return record("rt", x, y, c, n); }
const IntrFunction kRoutines[] = {
    {"listrt", rt}, {"barrt", rt}, {"uprt", rt}, {"dnrt", rt}, {"gridrt", rt},
};

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

class ScrollList : public ::testing::Test {
 protected:
  void SetUp() override {
    start_interface("lists.inf", kRoutines, static_cast<int>(std::size(kRoutines)));
    run_events();
    g_moves.clear();
    g_labels.clear();
  }
  void TearDown() override { stop_interface(); }

  // The 200-pixel bar "bar" of window "map" with the buttons "up" and "down".
  static int bar(int items, int visible, int cols = 1, int pos = 0) {
    return MXscrollbarsetup("map", "bar", kThumb, kLight, kDark, items, visible, cols, pos,
                            dragged, "up", "down");
  }
  static ButtonStatusType state_of(const char* button) {
    int active = 0;
    MXgetbuttonspecs("map", button, nullptr, nullptr, nullptr, nullptr, &active);
    return static_cast<ButtonStatusType>(active);
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

TEST_F(ScrollList, ALongListHasASmallThumbAtTheTop) {
  const int h = bar(180, 13);
  EXPECT_FLOAT_EQ(Thumb[h - 1000]->pixPerItem, 200.0f / 180.0f);
  EXPECT_EQ(MXthumbtop(h), 0);
  EXPECT_EQ(MXthumbheight(h), 14);
  EXPECT_EQ(MXgetmaxpos(h), 167);
  EXPECT_EQ(state_of("up"), DISABLED);
  EXPECT_EQ(state_of("down"), ENABLED);
  MXdrawsclist(h);
  // The bar lies at screen (240, 30): window (20, 20) + area (220, 10).
  EXPECT_EQ(MXPget_pixel(248, 36), kThumb);
  EXPECT_EQ(MXPget_pixel(248, 50), kTrack);
  EXPECT_EQ(MXPget_pixel(240, 36), kLight);  // the thumb's raised left edge
  EXPECT_EQ(MXPget_pixel(248, 44), kDark);   // its bottom edge
}

TEST_F(ScrollList, AShortListFillsTheTrackAndCannotMove) {
  const int h = bar(10, 13);
  EXPECT_EQ(MXthumbheight(h), 200);
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_EQ(state_of("up"), DISABLED);
  EXPECT_EQ(state_of("down"), DISABLED);
  MXhandlesclist(h, 5, 150, MOUSE_CLICK);
  MXhandlesclist(h, 5, 100, DRAG_PROCESS);
  MXhandledownbutton(h);
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_TRUE(g_moves.empty());
}

TEST_F(ScrollList, TheUpButtonAtTheTopDoesNothing) {
  const int h = bar(180, 13);
  MXhandleupbutton(h);
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_TRUE(g_moves.empty());
  MXhandledownbutton(h);
  EXPECT_EQ(MXgetsclistpos(h), 1);
  EXPECT_EQ(state_of("up"), ENABLED);
}

TEST_F(ScrollList, APageStepKeepsOneRowOfThePreviousView) {
  const int h = bar(180, 13);
  MXhandlesclist(h, 5, 100, MOUSE_CLICK);  // below the thumb
  EXPECT_EQ(MXgetsclistpos(h), 12);
  EXPECT_EQ(g_moves, std::vector<int>{12});
  EXPECT_EQ(state_of("up"), ENABLED);
  MXhandlesclist(h, 5, MXthumbtop(h) + 3, MOUSE_CLICK);  // on the thumb: nothing
  EXPECT_EQ(MXgetsclistpos(h), 12);
  MXhandlesclist(h, 5, 2, MOUSE_CLICK);  // above it
  EXPECT_EQ(MXgetsclistpos(h), 0);
}

TEST_F(ScrollList, TheLastPositionDisablesTheDownButton) {
  const int h = bar(180, 13);
  MXsetsclistpos(h, 500, 0);
  EXPECT_EQ(MXgetsclistpos(h), 167);
  EXPECT_EQ(state_of("down"), DISABLED);
  EXPECT_EQ(state_of("up"), ENABLED);
  MXsetsclistpos(h, -4, 0);
  EXPECT_EQ(MXgetsclistpos(h), 0);
  EXPECT_EQ(g_moves, (std::vector<int>{167, 0}));
}

TEST_F(ScrollList, SettingThePresentPositionChangesNothing) {
  const int h = bar(180, 13, 1, 20);
  MXsetsclistpos(h, 20, 1);
  EXPECT_TRUE(g_moves.empty());
}

TEST_F(ScrollList, FewerItemsPullThePositionBackSilently) {
  const int h = bar(180, 13, 1, 100);
  MXsetsclistnumitems(h, 50, 0);
  EXPECT_EQ(MXgetsclistpos(h), 37);
  EXPECT_TRUE(g_moves.empty());
  EXPECT_EQ(state_of("down"), DISABLED);
  EXPECT_FLOAT_EQ(Thumb[h - 1000]->pixPerItem, 200.0f / 50.0f);
}

TEST_F(ScrollList, DraggingWithThreeColumnsMovesInWholeRows) {
  const int h = bar(180, 39, 3);
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

TEST_F(ScrollList, TheThumbFollowsThePointerCentredOnIt) {
  const int h = bar(180, 13);
  MXhandlesclist(h, 5, 112, DRAG_PROCESS);  // (112 - 14 / 2) / (200 / 180) = 94.5
  EXPECT_EQ(MXgetsclistpos(h), 94);
}

TEST_F(ScrollList, ACoupledListShowsAViewFromThePosition) {
  int list = -1, sclist = -1;
  MXsclistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_LEFT, label, settext, nullptr,
                nullptr, nullptr, "bar", kThumb, kLight, kDark, 180, 30, dragged, "up", "down",
                &list, &sclist);
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
  EXPECT_EQ(fatal_text([] { MXdismantlesclist(1003); }),
            "MXdismantlesclist called with invalid handle.\n");
  EXPECT_EQ(fatal_text([] { MXdrawsclist(5); }), "Invalid MXsclistHandle passed to MXdrawsclist.\n");
  EXPECT_EQ(fatal_text([] { MXsetsclistnumitems(1005, 3, 0); }),
            "Invalid MXsclistHandle passed to MXsetsclistnumitems.\n");
  EXPECT_EQ(fatal_text([] { MXsetsclistpos(999, 3, 0); }),
            "Invalid MXsclistHandle passed to MXsetsclistpos.\n");
  EXPECT_EQ(fatal_text([] { MXhandlesclist(0, 0, 0, MOUSE_CLICK); }),
            "Invalid MXsclistHandle passed to MXhandlesclist.\n");
  const int list = MXlistsetup("map", "listarea", 1, "rowfield", 0, 0, JUST_LEFT, thPSizeFunc,
                               label, settext, nullptr, nullptr, nullptr);
  static int lonely;
  lonely = list;
  EXPECT_EQ(fatal_text([] { thPSizeFunc(lonely, 1); }),
            "Error:  thPSizeFunc called by list with no sclist.\n");
}

TEST_F(ScrollList, AnEmptyBarStaysUsable) {
  const int h = bar(0, 0);
  EXPECT_EQ(MXgetmaxpos(h), 0);
  EXPECT_EQ(MXthumbheight(h), 200);
  MXdrawsclist(h);
  MXhandlesclist(h, 5, 100, DRAG_PROCESS);
  EXPECT_EQ(MXgetsclistpos(h), 0);
}

}  // namespace
