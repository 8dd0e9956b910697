// The event loop on the headless platform's virtual clock: which control a press
// goes to, how held buttons look and repeat, drag and hover statuses, popup-menu
// choices, keys, active functions, the first expose, and word lookup.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "event_test_support.h"
#include "ui/select_word.h"

using namespace uitest;

namespace {

#define RECORDER(fn) \
  int fn(int x, int y, int code, const char* name) { return record(#fn, x, y, code, name); }
RECORDER(under)
RECORDER(over)
RECORDER(rep)
RECORDER(menu)
RECORDER(checks)
RECORDER(menuclosed)
RECORDER(item)
RECORDER(area)
RECORDER(area2)
RECORDER(ticker)
RECORDER(keyfunc)
RECORDER(pile)
RECORDER(fast)
#undef RECORDER

int selfdis(int x, int y, int code, const char* name) {
  record("selfdis", x, y, code, name);
  MXdisablebutton("root", "selfdis", 1);
  return 1;
}

int once(int x, int y, int code, const char* name) {
  record("once", x, y, code, name);
  MXdeactivatefunction("once");
  return 1;
}

const IntrFunction kRoutines[] = {
    {"under", under},   {"over", over},       {"rep", rep},           {"selfdis", selfdis},
    {"menu", menu},     {"checks", checks},   {"menuclosed", menuclosed}, {"item", item},
    {"area", area},     {"area2", area2},     {"ticker", ticker},     {"once", once},
    {"keyfunc", keyfunc}, {"none", nullptr},
};

// Colours of the bevel's top line: released buttons show white there, pressed ones
// dark grey (the interface file's button look).
constexpr int kReleasedTop = 1;
constexpr int kPressedTop = 2;

class EventLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    start_interface("event_loop.inf", kRoutines, static_cast<int>(std::size(kRoutines)));
    run_events();  // the start-up expose draws the screen
    calls().clear();
  }
  void TearDown() override { stop_interface(); }

  static void press(int x, int y) { MXPheadless_press(x, y); run_events(); }
  static void release(int x, int y) { MXPheadless_release(x, y); run_events(); }
  static void move(int x, int y) { MXPheadless_move(x, y); run_events(); }
  static void click(int x, int y) {
    MXPheadless_press(x, y);
    MXPheadless_release(x, y);
    run_events();
  }
  // Idle events for ms milliseconds with the mouse at (x, y).
  static void hold(int x, int y, long ms) {
    for (long t = 0; t < ms; t += 10) MXPheadless_move(x, y);
    run_events();
  }
  static ButtonStatusType state_of(const char* window, const char* button) {
    int active = 0;
    MXgetbuttonspecs(window, button, nullptr, nullptr, nullptr, nullptr, &active);
    return static_cast<ButtonStatusType>(active);
  }
  static int bells() { return MXPheadless_bells(); }
};

// Pressing and releasing buttons ---------------------------------------------------------

TEST_F(EventLoop, OverlappingButtonsTheLaterOneTakesThePress) {
  click(60, 30);  // inside both "under" and "over"
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].routine, "over");
  EXPECT_EQ(calls()[0].name, "over");
  ControlType last{};
  MXgetlastcontrol(&last);
  EXPECT_EQ(last.type, WINDOW);
  EXPECT_STREQ(last.gname, "root");
  EXPECT_STREQ(last.control.name, "over");
}

TEST_F(EventLoop, SlidingOffAndBackRedrawsAndCallsOnceAtTheRelease) {
  press(20, 15);
  EXPECT_EQ(MXPget_pixel(30, 11), kPressedTop);
  EXPECT_EQ(CurrState, MOUSEDOWN_STATE);
  move(300, 200);
  EXPECT_EQ(MXPget_pixel(30, 11), kReleasedTop);
  move(20, 15);
  EXPECT_EQ(MXPget_pixel(30, 11), kPressedTop);
  EXPECT_TRUE(calls().empty());
  release(20, 15);
  EXPECT_EQ(MXPget_pixel(30, 11), kReleasedTop);
  ASSERT_EQ(calls_of("under").size(), 1u);
  EXPECT_EQ(calls_of("under")[0].name, "under");
  EXPECT_EQ(CurrState, NORMAL_STATE);
}

TEST_F(EventLoop, ReleasingOutsideTheButtonCallsNothing) {
  MXclearlastcontrol();
  press(20, 15);
  move(300, 200);
  release(300, 200);
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(MXPget_pixel(30, 11), kReleasedTop);
  ControlType last{};
  MXgetlastcontrol(&last);
  EXPECT_EQ(last.type, NONE);
}

TEST_F(EventLoop, ARoutineThatDisablesItsOwnButtonGetsNoCallAtTheRelease) {
  press(310, 20);
  hold(310, 20, 1200);  // the first repeat runs the routine, which disables the button
  ASSERT_EQ(calls_of("selfdis").size(), 1u);
  EXPECT_EQ(state_of("root", "selfdis"), DISABLED);
  hold(310, 20, 600);
  release(310, 20);
  EXPECT_EQ(calls_of("selfdis").size(), 1u);
}

TEST_F(EventLoop, PressOnNothingEnabledRingsTheBellAndTheReleaseIsIgnored) {
  const int before = bells();
  press(600, 400);  // empty screen
  EXPECT_EQ(bells(), before + 1);
  EXPECT_EQ(CurrState, NORMAL_STATE);
  release(600, 400);
  press(570, 20);  // the disabled button "off"
  release(570, 20);
  press(310, 310);  // a button of the hidden window "side"
  release(310, 310);
  EXPECT_EQ(bells(), before + 3);
  EXPECT_TRUE(calls().empty());
}

TEST_F(EventLoop, ButtonBorderPixelsAreOutside) {
  // "under" spans columns 10..109 and rows 10..49 with its frame.
  EXPECT_EQ(MXPinside_button(10, 30, 0, 0), 0);
  EXPECT_EQ(MXPinside_button(11, 30, 0, 0), 1);
  EXPECT_EQ(MXPinside_button(109, 49, 0, 0), 1);
  EXPECT_EQ(MXPinside_button(110, 30, 0, 0), 0);
  EXPECT_EQ(MXPinside_button(50, 50, 0, 0), 0);
}

// Auto-repeat -------------------------------------------------------------------------------

TEST_F(EventLoop, AHeldRepeatableButtonRepeatsAtOneSecondThenEveryHalfSecond) {
  MXPheadless_press(210, 20);
  run_events();
  const long pressed_at = MXPclock_ms();
  hold(210, 20, 3100);
  const std::vector<Call> repeats = calls_of("rep");
  ASSERT_EQ(repeats.size(), 5u);
  const long expected[] = {1000, 1500, 2000, 2500, 3000};
  for (size_t i = 0; i < repeats.size(); ++i) {
    const long at = repeats[i].time - pressed_at;
    EXPECT_GE(at, expected[i]) << "repeat " << i;
    EXPECT_LE(at, expected[i] + 70) << "repeat " << i;
    EXPECT_EQ(repeats[i].name, "rep");
  }
  release(210, 20);
  EXPECT_EQ(calls_of("rep").size(), 6u);
}

TEST_F(EventLoop, RepeatsSpeedUpAfterNineAndStopOutsideTheButton) {
  press(210, 20);
  // The clock starts at the first idle tick (10 ms); each repeat needs more than its
  // threshold: 1010, then 4 x 510, then 4 x 210 ms, the ninth at 3900 ms.
  hold(210, 20, 3900);
  EXPECT_EQ(calls_of("rep").size(), 9u);
  hold(210, 20, 100);  // from now on at every idle tick
  EXPECT_EQ(calls_of("rep").size(), 19u);
  const size_t inside = calls_of("rep").size();
  hold(300, 200, 500);  // outside: no repeats
  release(300, 200);
  EXPECT_EQ(calls_of("rep").size(), inside);
}

// Drag areas ---------------------------------------------------------------------------

TEST_F(EventLoop, AClickWithoutMovementIsOneMouseClick) {
  move(20, 110);
  calls().clear();
  click(20, 110);
  const std::vector<Call> got = calls_of("area");
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].code, MOUSE_CLICK);
  EXPECT_EQ(got[0].x, 10);
  EXPECT_EQ(got[0].y, 10);
  EXPECT_EQ(got[0].name, "area");
  EXPECT_EQ(got[0].window, "root");
}

TEST_F(EventLoop, ADragSendsInitProcessAndFinalEvenWhenReleasedOutside) {
  press(20, 110);
  calls().clear();
  move(30, 120);
  move(40, 130);
  move(40, 130);  // no movement: no call
  release(300, 300);
  const std::vector<Call> got = calls_of("area");
  const struct {
    int code, x, y;
    const char* name;
  } expected[] = {
      {DRAG_INIT, 20, 20, ""},          {MOUSE_INSIDE, 20, 20, ""},
      {DRAG_PROCESS, 30, 30, ""},       {MOUSE_INSIDE, 30, 30, ""},
      {DRAG_FINAL, 290, 200, "area"},   {MOUSE_OUTSIDE, 290, 200, ""},
  };
  ASSERT_EQ(got.size(), std::size(expected));
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].code, expected[i].code) << i;
    EXPECT_EQ(got[i].x, expected[i].x) << i;
    EXPECT_EQ(got[i].y, expected[i].y) << i;
    EXPECT_EQ(got[i].name, expected[i].name) << i;
  }
  ControlType last{};
  MXgetlastcontrol(&last);
  EXPECT_EQ(last.type, WINDOW);
  EXPECT_STREQ(last.control.name, "area");
}

TEST_F(EventLoop, ADragDoesNotProgressWhileTheCursorIsOutside) {
  press(20, 110);
  move(300, 300);
  move(310, 310);
  release(310, 310);
  for (const Call& c : calls_of("area")) {
    EXPECT_NE(c.code, DRAG_INIT);
    EXPECT_NE(c.code, DRAG_FINAL);
    EXPECT_NE(c.code, MOUSE_CLICK);
  }
}

TEST_F(EventLoop, HoverSendsInsideAtEveryMoveAndOutsideOnce) {
  move(20, 110);
  move(30, 120);
  move(30, 120);  // an idle tick without movement
  move(40, 130);
  move(300, 300);
  move(310, 310);
  const std::vector<Call> got = calls_of("area");
  ASSERT_EQ(got.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(got[i].code, MOUSE_INSIDE);
  EXPECT_EQ(got[2].x, 30);
  EXPECT_EQ(got[2].y, 30);
  EXPECT_EQ(got[3].code, MOUSE_OUTSIDE);
  EXPECT_EQ(got[3].x, 290);
}

TEST_F(EventLoop, DisabledDragAreasAreToldOfTheCursorToo) {
  move(70, 160);  // inside "area" and the disabled "area2"
  ASSERT_EQ(calls_of("area2").size(), 1u);
  EXPECT_EQ(calls_of("area2")[0].code, MOUSE_INSIDE);
  EXPECT_EQ(calls_of("area2")[0].x, 10);
  EXPECT_EQ(calls_of("area2")[0].y, 10);
  EXPECT_EQ(calls_of("area").size(), 1u);
  move(500, 400);
  EXPECT_EQ(calls_of("area2").back().code, MOUSE_OUTSIDE);
}

// Popup menus ----------------------------------------------------------------------------

TEST_F(EventLoop, AButtonOpensItsMenuAfterItsRoutine) {
  click(410, 20);
  ASSERT_EQ(calls_of("menu").size(), 1u);
  EXPECT_EQ(calls_of("menu")[0].name, "menubtn");
  EXPECT_EQ(InfState.activepopupwindow, MXpopupnum("menu"));
  EXPECT_EQ(InfState.level, 2);
}

TEST_F(EventLoop, AClickOutsideTheMenuClosesItAndCallsTheMenusRoutine) {
  click(410, 20);
  calls().clear();
  click(10, 400);
  EXPECT_EQ(InfState.activepopupwindow, -1);
  EXPECT_EQ(InfState.level, 1);
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].routine, "menuclosed");
  EXPECT_EQ(calls()[0].name, "");
  ControlType last{};
  MXgetlastcontrol(&last);
  EXPECT_EQ(last.type, NONE);
  EXPECT_EQ(last.control.number, -1);
}

TEST_F(EventLoop, ADisabledItemBeepsAndTheMenuStaysOpen) {
  click(410, 20);
  calls().clear();
  const int before = bells();
  click(410, 65);  // slot 1: "two", disabled
  EXPECT_EQ(bells(), before + 1);
  EXPECT_EQ(InfState.activepopupwindow, MXpopupnum("menu"));
  EXPECT_TRUE(calls().empty());
  click(410, 80);  // slot 2: "three"
  ASSERT_EQ(calls_of("item").size(), 1u);
  EXPECT_EQ(calls_of("item")[0].name, "three");
  EXPECT_EQ(InfState.activepopupwindow, -1);
  ControlType last{};
  MXgetlastcontrol(&last);
  EXPECT_EQ(last.type, MENU);
  EXPECT_STREQ(last.gname, "menu");
  EXPECT_EQ(last.control.number, 2);
}

TEST_F(EventLoop, ACheckListMenuTogglesAndStaysOpen) {
  click(490, 20);
  const int m = MXpopupnum("checks");
  ASSERT_EQ(InfState.activepopupwindow, m);
  click(410, 50);  // "tick"
  EXPECT_EQ(Popups[m].item[0].checked, 1);
  EXPECT_EQ(InfState.activepopupwindow, m);
  ASSERT_EQ(calls_of("item").size(), 1u);
  EXPECT_EQ(calls_of("item")[0].name, "tick");
  click(410, 65);  // "nothing" has no routine: nothing happens
  EXPECT_EQ(InfState.activepopupwindow, m);
  click(10, 400);
  EXPECT_EQ(InfState.activepopupwindow, -1);
}

TEST_F(EventLoop, AnExposeWhileAMenuIsOpenDrawsTheMenuAgain) {
  click(410, 20);
  move(410, 50);  // over the first item, which is highlighted (peach, 7)
  const Popupmenu& m = Popups[MXpopupnum("menu")];
  const int first_row_y = m.y + 3 + 7, right_x = m.x + m.wd - 3;
  EXPECT_EQ(MXPget_pixel(right_x, first_row_y), 7);
  MXsetcolor(9);
  MXPfill_rect(m.x, m.y, m.wd, m.ht);  // something paints over the menu
  MXEvent expose{MX_EXPOSE, 0, 410, 50};
  MXPheadless_post(expose);
  run_events();
  EXPECT_EQ(MXPget_pixel(m.x, m.y), m.bcolor);
  EXPECT_EQ(MXPget_pixel(right_x, m.y + m.ht - 3), m.bg);
  EXPECT_EQ(MXPget_pixel(right_x, first_row_y), 7);  // the item under the cursor again
}

// Keys ------------------------------------------------------------------------------------

TEST_F(EventLoop, ControlQEndsTheProgramEvenWithAMenuOpen) {
  click(410, 20);
  MXPheadless_key(17);
  try {
    run_events();
    FAIL() << "Control-Q did not end the program";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.code, -1);
    EXPECT_EQ(e.text, "Program terminated by the user pressing 'Control-Q'.");
  }
}

TEST_F(EventLoop, KeysGoToTheKeyRoutineRelativeToTheCurrentWindowExceptControlT) {
  MXcharfunc("keyfunc");
  move(350, 320);
  MXsetcurrentnamedwindow("side");  // at (300, 300)
  MXPheadless_key('a');
  MXPheadless_key(20);
  run_events();
  ASSERT_EQ(calls_of("keyfunc").size(), 1u);
  EXPECT_EQ(calls_of("keyfunc")[0].code, 'a');
  EXPECT_EQ(calls_of("keyfunc")[0].x, 50);
  EXPECT_EQ(calls_of("keyfunc")[0].y, 20);
  EXPECT_EQ(Fast, 1);
  MXclearcharfunc();
  MXPheadless_key('b');
  run_events();
  EXPECT_EQ(calls_of("keyfunc").size(), 1u);
}

TEST_F(EventLoop, AnUnknownKeyRoutineIsFatal) {
  try {
    MXcharfunc("nosuch");
    FAIL();
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.text, "getname: Couldn't find |function| named |nosuch|\n");
  }
}

// Active functions and the main loop -----------------------------------------------------

TEST_F(EventLoop, ActiveFunctionsRunAfterEveryEventUntilDeactivated) {
  MXactivatefunction("ticker");
  MXactivatefunction("once");
  move(5, 6);
  move(5, 6);
  move(7, 8);
  const std::vector<Call> ticks = calls_of("ticker");
  ASSERT_EQ(ticks.size(), 3u);
  EXPECT_EQ(ticks[2].x, 7);
  EXPECT_EQ(ticks[2].y, 8);
  EXPECT_EQ(ticks[2].code, 0);
  EXPECT_EQ(calls_of("once").size(), 1u);
}

TEST_F(EventLoop, EventsBeforeTheFirstExposeAreDropped) {
  MXPreset_event_loop();
  MXPheadless_press(20, 15);
  MXPheadless_release(20, 15);
  MXEvent expose{MX_EXPOSE, 0, 0, 0};
  MXPheadless_post(expose);
  MXPheadless_press(20, 15);
  MXPheadless_release(20, 15);
  std::string error;
  ASSERT_TRUE(MXPheadless_set_script("", &error)) << error;  // running dry ends the loop
  EXPECT_THROW(MXPdo_events_forever(), QuitRequest);
  EXPECT_EQ(FirstExposeSeen, 1);
  EXPECT_EQ(calls_of("under").size(), 1u);
}

// Eleven drag areas at one place, and speedup ----------------------------------------------

class CrowdedScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    static const IntrFunction routines[] = {{"pile", pile}, {"fast", fast}};
    start_interface("crowded.inf", routines, 2);
    run_events();
    calls().clear();
  }
  void TearDown() override { stop_interface(); }
};

TEST_F(CrowdedScreen, TenOverlappingDragAreasAreTrackedAndAnEleventhIsFatal) {
  MXPheadless_move(15, 200);  // inside five of them
  run_events();
  EXPECT_EQ(calls_of("pile").size(), 5u);
  MXPheadless_move(100, 200);  // inside all eleven
  try {
    run_events();
    FAIL() << "an eleventh drag area was accepted";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.text, "Max = |10|\n");
  }
  EXPECT_EQ(calls_of("pile").size(), 5u + 10u);
  std::ifstream log("error.log");
  const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("processmouseinside: Too many overlapping drag areas.Max = |10|\n"),
            std::string::npos);
}

TEST_F(CrowdedScreen, SpeedupShortensTheRepeatDelays) {
  MXPheadless_press(410, 20);
  for (int i = 0; i < 50; ++i) MXPheadless_move(410, 20);  // 500 ms: 490 ms on the clock x 2
  run_events();
  EXPECT_TRUE(calls_of("fast").empty());
  for (int i = 0; i < 2; ++i) MXPheadless_move(410, 20);
  run_events();
  EXPECT_EQ(calls_of("fast").size(), 1u);
}

// Word lookup -------------------------------------------------------------------------------

TEST(SelectWord, FindsTheFirstEntryIgnoringCase) {
  const char* const list[] = {"blue", "RED", "green", "", "yellow", nullptr};
  EXPECT_EQ(MXiselword("Red", list), 1);
  EXPECT_EQ(MXiselword("BLUE", list), 0);
  EXPECT_EQ(MXiselword("yellow", list), -1);  // after the empty end
  EXPECT_EQ(MXiselword("gree", list), -1);
  EXPECT_EQ(MXiselword("greens", list), -1);
  const char* const nulled[] = {"a", "b", nullptr};
  EXPECT_EQ(MXiselword("B", nulled), 1);
  EXPECT_EQ(MXiselword("c", nulled), -1);
}

}  // namespace
