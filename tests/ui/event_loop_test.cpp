// The event loop on the headless platform's virtual clock: which control a press
// goes to, how held buttons look and repeat, drag and hover statuses, popup-menu
// choices, keys, active functions and the first expose.
#include <string>
#include <tuple>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const IntrFunction kRoutines[] = {
    UI_RECORDER(under), UI_RECORDER(over),   UI_RECORDER(rep),  UI_RECORDER(menu),   UI_RECORDER(checks),
    UI_RECORDER(menuclosed), UI_RECORDER(item), UI_RECORDER(area), UI_RECORDER(area2), UI_RECORDER(ticker),
    UI_RECORDER(keyfunc), {"none", nullptr},
    // A routine that disables its own button, and a function that deactivates itself.
    {"selfdis",
     [](int x, int y, int c, const char* n) { return MXdisablebutton("root", "selfdis", 1), record("selfdis", x, y, c, n); }},
    {"once", [](int x, int y, int c, const char* n) { return MXdeactivatefunction("once"), record("once", x, y, c, n); }},
};

// Colours of the bevel's top line: released buttons show white there, pressed ones
// dark grey (the interface file's button look).
constexpr int kReleasedTop = 1, kPressedTop = 2;

void press(int x, int y) { MXPheadless_press(x, y); MXdoeventsandreturn(); }
void release(int x, int y) { MXPheadless_release(x, y); MXdoeventsandreturn(); }
void move(int x, int y) { MXPheadless_move(x, y); MXdoeventsandreturn(); }
void click(int x, int y) { MXPheadless_press(x, y), MXPheadless_release(x, y), MXdoeventsandreturn(); }
// Idle events for ms milliseconds with the mouse at (x, y).
void hold(int x, int y, long ms) {
  for (long t = 0; t < ms; t += 10) MXPheadless_move(x, y);
  MXdoeventsandreturn();
}
ControlType last_control() {
  ControlType last{};
  return MXgetlastcontrol(&last), last;
}
// "routine:control" of each call so far.
std::vector<std::string> called() {
  std::vector<std::string> out;
  for (const Call& c : calls()) out.push_back(c.routine + ":" + c.name);
  return out;
}
using Names = std::vector<std::string>;
// Status, x, y and name of each call of `routine`.
using Status = std::tuple<int, int, int, std::string>;
std::vector<Status> statuses(const char* routine) {
  std::vector<Status> out;
  for (const Call& c : calls_of(routine)) out.emplace_back(c.code, c.x, c.y, c.name);
  return out;
}

struct EventLoop : InterfaceTest {
  void SetUp() override { start_interface("event_loop.inf", kRoutines, std::size(kRoutines)); }
};

// Pressing and releasing buttons ---------------------------------------------------------

TEST_F(EventLoop, ButtonsAreCalledOnlyWhenReleasedOnThemAndTheLaterOfTwoTakesThePress) {
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
  EXPECT_EQ(called(), Names({"under:under"}));
  // Press, slide off, release: nothing is called.
  MXclearlastcontrol();
  press(20, 15);
  move(300, 200);
  release(300, 200);
  EXPECT_EQ(calls().size(), 1u);
  EXPECT_EQ(std::make_pair(CurrState, last_control().type), std::make_pair(NORMAL_STATE, NONE));
  click(60, 30);  // inside both "under" and "over"
  EXPECT_EQ(called(), Names({"under:under", "over:over"}));
  EXPECT_EQ(std::string(last_control().gname) + "/" + last_control().control.name, "root/over");
}

TEST_F(EventLoop, ARoutineThatDisablesItsOwnButtonGetsNoCallAtTheReleaseNorDoesNothingEnabled) {
  press(310, 20);
  hold(310, 20, 1800);  // the first repeat runs the routine, which disables the button
  release(310, 20);
  EXPECT_EQ(calls_of("selfdis").size(), 1u);
  EXPECT_EQ(state_of("root", "selfdis"), DISABLED);
  // A press on nothing enabled rings the bell, and its release is ignored.
  calls().clear();
  const int before = MXPheadless_bells();
  click(600, 400);  // empty screen
  click(570, 20);   // the disabled button "off"
  click(310, 310);  // a button of the hidden window "side"
  EXPECT_EQ(MXPheadless_bells(), before + 3);
  EXPECT_TRUE(calls().empty());
  // "under" spans columns 10..109 and rows 10..49 with its frame; the frame is outside.
  const int points[][3] = {{10, 30, 0}, {11, 30, 1}, {109, 49, 1}, {110, 30, 0}, {50, 50, 0}};
  for (const auto& p : points) EXPECT_EQ(MXPinside_button(p[0], p[1], 0, 0), p[2]) << p[0] << "," << p[1];
}

// Repeats at 1 s, then four every 0.5 s, four every 0.2 s, then at every idle tick;
// none while the pointer is off the button; the release on it calls once more.
TEST_F(EventLoop, AHeldRepeatableButtonRepeatsFasterAndFasterAndStopsOutside) {
  press(210, 20);
  const long pressed_at = MXPclock_ms();
  hold(210, 20, 3900);
  const std::vector<Call> repeats = calls_of("rep");
  ASSERT_EQ(repeats.size(), 9u);
  const long expected[] = {1000, 1500, 2000, 2500, 3000, 3200, 3400, 3600, 3800};
  for (size_t i = 0; i < repeats.size(); ++i) {
    EXPECT_GE(repeats[i].time - pressed_at, expected[i]) << "repeat " << i;
    EXPECT_LE(repeats[i].time - pressed_at, expected[i] + 100) << "repeat " << i;
  }
  hold(210, 20, 100);
  EXPECT_EQ(calls_of("rep").size(), 19u);
  hold(300, 200, 500);
  release(210, 20);
  EXPECT_EQ(calls_of("rep").size(), 20u);
}

// Drag areas: a click without movement, a drag, hover --------------------------------------

TEST_F(EventLoop, DragAreasGetClicksDragsAndHoverStatuses) {
  move(20, 110);
  calls().clear();
  click(20, 110);
  EXPECT_EQ(statuses("area"), std::vector<Status>({{MOUSE_CLICK, 10, 10, "area"}}));
  press(20, 110);
  calls().clear();
  move(30, 120);
  move(40, 130);
  move(40, 130);  // no movement: no call
  release(300, 300);
  EXPECT_EQ(statuses("area"), std::vector<Status>({{DRAG_INIT, 20, 20, ""}, {MOUSE_INSIDE, 20, 20, ""},
                                                   {DRAG_PROCESS, 30, 30, ""}, {MOUSE_INSIDE, 30, 30, ""},
                                                   {DRAG_FINAL, 290, 200, "area"}, {MOUSE_OUTSIDE, 290, 200, ""}}));
  EXPECT_STREQ(last_control().control.name, "area");
  // Hover: inside at every move, outside once, to enabled and disabled areas alike.
  calls().clear();
  move(20, 110);
  move(20, 110);
  move(70, 160);  // inside "area" and the disabled "area2"
  move(500, 400);
  move(510, 410);
  EXPECT_EQ(statuses("area"),
            std::vector<Status>({{MOUSE_INSIDE, 10, 10, ""}, {MOUSE_INSIDE, 60, 60, ""}, {MOUSE_OUTSIDE, 490, 300, ""}}));
  EXPECT_EQ(statuses("area2"), std::vector<Status>({{MOUSE_INSIDE, 10, 10, ""}, {MOUSE_OUTSIDE, 440, 250, ""}}));
}

// Popup menus ----------------------------------------------------------------------------

TEST_F(EventLoop, AMenuChoiceADisabledItemACheckListAndAClickOutside) {
  click(410, 20);  // the button's routine, then its menu
  EXPECT_EQ(InfState.activepopupwindow, MXpopupnum("menu"));
  const int before = MXPheadless_bells();
  click(410, 65);  // slot 1: "two", disabled
  EXPECT_EQ(MXPheadless_bells(), before + 1);
  EXPECT_EQ(InfState.activepopupwindow, MXpopupnum("menu"));
  click(410, 80);  // slot 2: "three"
  EXPECT_EQ(called(), Names({"menu:menubtn", "item:three"}));
  EXPECT_EQ(InfState.activepopupwindow, -1);
  EXPECT_EQ(std::make_tuple(last_control().type, std::string(last_control().gname), last_control().control.number),
            std::make_tuple(MENU, std::string("menu"), 2));
  // A check list toggles and stays open; a click outside closes it and calls the
  // menu's routine, if it has one.
  click(490, 20);
  const int checks = MXpopupnum("checks");
  click(410, 50);  // "tick"
  click(410, 65);  // "nothing" has no routine: nothing happens
  EXPECT_EQ(std::make_pair(Popups[checks].item[0].checked, InfState.activepopupwindow), std::make_pair(1, checks));
  click(10, 400);
  click(410, 20);
  click(10, 400);
  EXPECT_EQ(std::make_pair(InfState.activepopupwindow, InfState.level), std::make_pair(-1, 1));
  EXPECT_EQ(called(), Names({"menu:menubtn", "item:three", "checks:checkbtn", "item:tick", "menu:menubtn",
                             "menuclosed:"}));
  EXPECT_EQ(std::make_pair(last_control().type, last_control().control.number), std::make_pair(NONE, -1));
  // An expose while a menu is open draws the menu again.
  click(410, 20);
  move(410, 50);  // over the first item, which is highlighted (peach, 7)
  const Popupmenu& m = Popups[MXpopupnum("menu")];
  const int first_row_y = m.y + 3 + 7, right_x = m.x + m.wd - 3;
  MXsetcolor(9);
  MXPfill_rect(m.x, m.y, m.wd, m.ht);  // something paints over the menu
  MXPheadless_post(MXEvent{MX_EXPOSE, 0, 410, 50});
  MXdoeventsandreturn();
  expect_dots({{m.bcolor, m.x, m.y}, {m.bg, right_x, m.y + m.ht - 3}, {7, right_x, first_row_y}});
}

// Keys, active functions, the first expose --------------------------------------------------

TEST_F(EventLoop, KeysGoToTheKeyRoutineRelativeToTheCurrentWindowExceptControlTAndQ) {
  EXPECT_EQ(fatal_text([] { MXcharfunc("nosuch"); }), "getname: Couldn't find |function| named |nosuch|\n");
  MXcharfunc("keyfunc");
  move(350, 320);
  MXsetcurrentnamedwindow("side");  // at (300, 300)
  MXPheadless_key('a');
  MXPheadless_key(20);
  MXPheadless_key(0xe9);  // a Latin-1 letter keeps its code
  MXdoeventsandreturn();
  EXPECT_EQ(statuses("keyfunc"), std::vector<Status>({{'a', 50, 20, ""}, {0xe9, 50, 20, ""}}));
  EXPECT_EQ(Fast, 1);
  MXclearcharfunc();
  MXPheadless_key('b');
  MXdoeventsandreturn();
  EXPECT_EQ(calls_of("keyfunc").size(), 2u);
  click(410, 20);  // Control-Q ends the program even with a menu open
  MXPheadless_key(17);
  EXPECT_EQ(fatal_text(MXdoeventsandreturn), "Program terminated by the user pressing 'Control-Q'.");
}

// Active functions run after every event; the heartbeat is wanted only while a repeat,
// a drag or an active function is pending.
TEST_F(EventLoop, ActiveFunctionsAndTheHeartbeat) {
  const std::tuple<int, int, bool> presses[] = {{210, 20, true}, {20, 110, true}, {20, 15, false}};  // rep, area, under
  for (const auto& [x, y, wanted] : presses) {
    press(x, y);
    EXPECT_EQ(MXPheartbeat_needed(), wanted) << x;
    release(x, y);
    EXPECT_FALSE(MXPheartbeat_needed()) << x;
  }
  MXactivatefunction("ticker");
  MXactivatefunction("once");
  EXPECT_TRUE(MXPheartbeat_needed());
  move(5, 6);
  move(5, 6);
  move(7, 8);
  EXPECT_EQ(statuses("ticker"), std::vector<Status>({{0, 5, 6, ""}, {0, 5, 6, ""}, {0, 7, 8, ""}}));
  EXPECT_EQ(calls_of("once").size(), 1u);
}

TEST_F(EventLoop, EventsBeforeTheFirstExposeAreDropped) {
  MXPreset_event_loop();
  MXPheadless_press(20, 15), MXPheadless_release(20, 15);
  MXPheadless_post(MXEvent{MX_EXPOSE, 0, 0, 0});
  MXPheadless_press(20, 15), MXPheadless_release(20, 15);
  std::string error;
  ASSERT_TRUE(MXPheadless_set_script("", &error)) << error;  // running dry ends the loop
  EXPECT_THROW(MXPdo_events_forever(), QuitRequest);
  EXPECT_EQ(calls_of("under").size(), 1u);
}

// Eleven drag areas at one place, and speedup ----------------------------------------------

const IntrFunction kCrowdRoutines[] = {UI_RECORDER(pile), UI_RECORDER(fast)};
struct CrowdedScreen : InterfaceTest {
  void SetUp() override { start_interface("crowded.inf", kCrowdRoutines, 2); }
};

TEST_F(CrowdedScreen, TenOverlappingDragAreasAreTrackedAnEleventhIsFatalAndSpeedupShortensRepeats) {
  MXPheadless_press(410, 20);  // speedup shortens the repeat delays
  hold(410, 20, 500);          // 490 ms on the clock x 2
  EXPECT_TRUE(calls_of("fast").empty());
  hold(410, 20, 20);
  EXPECT_EQ(calls_of("fast").size(), 1u);
  release(410, 20);
  move(15, 200);  // inside five of them
  EXPECT_EQ(calls_of("pile").size(), 5u);
  EXPECT_EQ(fatal_text([] { move(100, 200); }), "Max = |10|\n");  // inside all eleven
  EXPECT_EQ(calls_of("pile").size(), 5u + 10u);
  EXPECT_NE(read_text("error.log").find("processmouseinside: Too many overlapping drag areas.Max = |10|\n"),
            std::string::npos);
}

}  // namespace
