// Rate editing and pyramid dragging: the rate steps and their limits, rows and
// signs found from the pointer, the figures the changes write, switching the mode
// on and off, and cutting a pyramid row by dragging its bar.
#include "app/rate_editing.h"
#include "app_test_support.h"

namespace {

using namespace apptest;

TEST(RateSteps, RoundToAWholeUnitThenStepByOne) {
  EXPECT_EQ(rate_step_down(123456), 122000);
  EXPECT_EQ(rate_step_up(123456), 124000);
  EXPECT_EQ(rate_step_up(399600), 401000);
  EXPECT_EQ(rate_step_down(700), 0);
  EXPECT_EQ(rate_step_down(0), 0);
  EXPECT_EQ(rate_step_down(1499), 0);
  EXPECT_EQ(rate_step_down(1500), 1000);
}

class RateEditingTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    open_main_screen();
    choose_country("top", "france");
    choose("top", "options", "options", "p3");
  }
  VKStatetype* run0() { return VKState[0][0]; }
  // Presses the minus (or plus) half of an editing row at the pointer.
  void press_row(const char* window, const char* button) { press_button(window, button); }
};

TEST_F(RateEditingTest, SwitchingOnShowsTheEditingWindowsInPlaceOfTheSetButtons) {
  EXPECT_EQ(Display[0].modify_flag, 1);
  for (const char* w : {"topbirth", "topdeath", "topinfant"}) EXPECT_GE(window_level(w), 1) << w;
  EXPECT_EQ(button_state("toptotalfert", "setfert"), DISABLED);
  EXPECT_EQ(button_state("toplifeexp", "setlife"), DISABLED);
  EXPECT_EQ(MXgetcurrmsg(), 4);
  choose("top", "options", "options", "p4");
  EXPECT_EQ(Display[0].modify_flag, 0);
  for (const char* w : {"topbirth", "topdeath", "topinfant"}) EXPECT_EQ(window_level(w), 0) << w;
  EXPECT_EQ(button_state("toptotalfert", "setfert"), ENABLED);
  EXPECT_EQ(button_state("toplifeexp", "setlife"), ENABLED);
}

// The screen after the editing windows leave is the screen a full redraw gives:
// no trace of them, and the pane's other windows whole.
TEST_F(RateEditingTest, LeavingRateEditingLeavesNoTraceOnTheScreen) {
  auto screen = [] {
    std::vector<unsigned char> all(640 * 480);
    for (int y = 0; y < 480; ++y) MXPget_row(y, all.data() + y * 640);
    return all;
  };
  choose("top", "options", "options", "p4");
  std::vector<unsigned char> after = screen();
  redraw_all();
  EXPECT_EQ(screen(), after);
  choose("top", "options", "options", "p3");
  for (int i = 0; i < 12; ++i) press_button("top", "simulate");
  after = screen();
  redraw_all();
  EXPECT_EQ(screen(), after);
  press_button("top", "unsimulate");
  choose("top", "options", "options", "p5");
  after = screen();
  redraw_all();
  EXPECT_EQ(screen(), after);
}

TEST_F(RateEditingTest, BirthRowsFollowThePointer) {
  int32_t* b = run0()->birthrate[0];
  const int32_t b20 = b[2], b25 = b[3], b50 = b[8];
  const int clicks = MXPheadless_clicks();
  press_row("topbirth", "Birth2p");  // the row of the mothers aged 20-29
  EXPECT_EQ(b[2], rate_step_up(b20));
  EXPECT_EQ(b[3], rate_step_up(b25));
  EXPECT_EQ(run0()->tfr_targ_val[0], get_TFR(b));
  EXPECT_EQ(MXPheadless_clicks(), clicks + 1);
  press_row("topbirth", "Birth5m");  // 50 and over: one entry only
  EXPECT_EQ(b[8], rate_step_down(b50));
  // No raise once fertility reaches 9.90.
  for (int i = 0; i < 9; ++i) b[i] = 399000;
  const std::vector<int32_t> before(b, b + 9);
  press_row("topbirth", "Birth3p");
  EXPECT_EQ(std::vector<int32_t>(b, b + 9), before);
}

TEST_F(RateEditingTest, DeathRatesStayBelowTheirCeilingAndReportLowRates) {
  int32_t* d = run0()->deathrate[0];
  d[15] = 400000;
  d[16] = 399600;
  press_row("topdeath", "Death7p");  // the 70-79 row: entries 15 and 16
  EXPECT_EQ(d[15], 400000);
  EXPECT_EQ(d[16], 401000);
  EXPECT_EQ(run0()->lifex_targ_val[0], get_life_expect(d));
  Drag_Used = 0;
  d[7] = 11000;
  d[8] = 11000;
  press_row("topdeath", "Death3m");  // 30-39 falls to 10 per thousand
  EXPECT_EQ(d[7], 10000);
  EXPECT_EQ(Drag_Used, 1);
}

TEST_F(RateEditingTest, InfantMortalityHasItsOwnLimits) {
  int32_t& r = run0()->deathrate[0][0];
  r = 399600;
  press_row("topinfant", "Infantp");
  EXPECT_EQ(r, 400000);
  r = 700;
  press_row("topinfant", "Infantm");
  EXPECT_EQ(r, 0);
  press_row("topinfant", "Infantm");
  EXPECT_EQ(r, 0);
}

TEST_F(RateEditingTest, ALoweringAtTheCeilingEnablesThePlusOfItsRow) {
  MXdisablebutton("topbirth", "Birth4p", 1);
  run0()->birthrate[0][6] = 400000;
  press_row("topbirth", "Birth4m");
  EXPECT_EQ(button_state("topbirth", "Birth4p"), ENABLED);
  EXPECT_EQ(run0()->birthrate[0][6], 399000);
}

TEST_F(RateEditingTest, DraggingABarCutsItsRowAndNoFurtherThanItsLength) {
  choose("top", "options", "options", "p4");
  int X, Y, W, H, bh, wx, wy;
  MXgetfieldrect("PYRBUTTON", &X, &Y, &W, &H, nullptr);
  MXgetfieldrect("BARS", nullptr, nullptr, nullptr, &bh, nullptr);
  MXgetwindowspecs("top", &wx, &wy, nullptr, nullptr, nullptr);
  VKStatetype* s = run0();
  const int half = W / 2;
  const int row = 4;  // 40-49, female side
  const int32_t f40 = s->fem_pop[0][8], f45 = s->fem_pop[0][9];
  const int32_t total = s->totpop[0];
  const int len = bar_length(int64_t{f40} + f45, half, total, Display[0].bound);
  ASSERT_GT(len, 6);
  const int y = wy + Y + H - (bh - 1) * row - bh / 2;
  // Dragging outwards leaves the bar at its length.
  drag(wx + X + half + len - 2, y, wx + X + half + len + 30, y);
  EXPECT_EQ(s->fem_pop[0][8], f40);
  EXPECT_EQ(s->fem_pop[0][9], f45);
  // Dragging to the axis empties the row; the total in force is kept.
  drag(wx + X + half + len - 2, y, wx + X + half - 10, y);
  EXPECT_EQ(s->fem_pop[0][8], 0);
  EXPECT_EQ(s->fem_pop[0][9], 0);
  EXPECT_EQ(s->totpop[0], total);
  // A second drag starts again from the display copy: the row comes back.
  drag(wx + X + half + 1, y, wx + X + half + len + 5, y);
  EXPECT_EQ(s->fem_pop[0][8], f40);
  EXPECT_EQ(s->fem_pop[0][9], f45);
}

TEST_F(RateEditingTest, ResetEndsRateEditing) {
  choose("top", "options", "options", "p5");
  EXPECT_EQ(Display[0].modify_flag, 0);
  for (const char* w : {"topbirth", "topdeath", "topinfant"}) EXPECT_EQ(window_level(w), 0) << w;
  EXPECT_EQ(button_state("toptotalfert", "setfert"), ENABLED);
  EXPECT_EQ(button_state("toplifeexp", "setlife"), ENABLED);
}

TEST_F(RateEditingTest, At2050TheEditingWindowsGoAndComeBackOneStepEarlier) {
  for (int i = 0; i < 12; ++i) press_button("top", "simulate");
  for (const char* w : {"topbirth", "topdeath", "topinfant"}) EXPECT_EQ(window_level(w), 0) << w;
  EXPECT_EQ(button_state("topmig", "setmig"), DISABLED);
  press_button("top", "unsimulate");
  for (const char* w : {"topbirth", "topdeath", "topinfant"}) EXPECT_GE(window_level(w), 1) << w;
  EXPECT_EQ(button_state("topmig", "setmig"), ENABLED);
  EXPECT_EQ(button_state("toptotalfert", "setfert"), DISABLED);
}

}  // namespace
