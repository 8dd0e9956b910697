// The target windows, simulate and step back, and the Options menu: values and
// years within their limits with the bell at a limit, the buttons each change
// enables and disables, the placement of the windows per pane, 2050 and back.
#include "app_test_support.h"

namespace {

using namespace apptest;

class ScenarioTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    open_main_screen();
    choose_country("top", "france");
  }
  VKStatetype* run0() { return VKState[0][Display[0].curr_sim]; }
  int t() { return run0()->stepcnt; }
};

TEST_F(ScenarioTest, OpeningShowsTheCurrentFertilityAsTargetWithNoYearToLower) {
  const int32_t now = get_TFR(run0()->birthrate[0]);
  run0()->tfr_targ_val[0] = 123;  // stale: no target is pending, so the current value shows
  press_button("toptotalfert", "setfert");
  EXPECT_EQ(SetFertActive, 1);
  EXPECT_EQ(run0()->tfr_targ_val[0], now);
  EXPECT_EQ(VKsaveyear[0][0]->tfr_targ_year[0], 1990);
  EXPECT_EQ(button_state("setfert", "decfyear"), DISABLED);
  EXPECT_EQ(button_state("setfert", "incfyear"), ENABLED);
  EXPECT_EQ(MXgetcurrmsg(), 10);
  // The window stands at the origin SETWINORG gives for the upper pane.
  int x, y, ox, oy;
  MXgetwindowspecs("setfert", &x, &y, nullptr, nullptr, nullptr);
  MXgetfieldrect("SETWINORG", &ox, &oy, nullptr, nullptr, nullptr);
  EXPECT_EQ(x, ox);
  EXPECT_EQ(y, oy);
  press_button("setfert", "okay");
  EXPECT_EQ(SetFertActive, 0);
  EXPECT_EQ(window_level("setfert"), 0);
}

TEST_F(ScenarioTest, TheLowerPaneUsesTheSecondOrigin) {
  choose_country("bottom", "kenya");
  press_button("bottommig", "setmig");
  int x, y, ow, oh;
  MXgetwindowspecs("setmig", &x, &y, nullptr, nullptr, nullptr);
  MXgetfieldrect("SETWINORG", nullptr, nullptr, &ow, &oh, nullptr);
  EXPECT_EQ(x, ow);
  EXPECT_EQ(y, oh);
  EXPECT_EQ(Cdisp, 1);
  press_button("setmig", "okay");
}

TEST_F(ScenarioTest, FertilityClampsAtItsFloorWithTheBell) {
  press_button("toptotalfert", "setfert");
  run0()->tfr_targ_val[0] = 57;
  MXenablebutton("setfert", "decfert", 1);
  Drag_Used = 0;
  int before = bells();
  press_button("setfert", "decfert");
  EXPECT_EQ(run0()->tfr_targ_val[0], 50);
  EXPECT_EQ(bells() - before, 1);
  EXPECT_EQ(button_state("setfert", "decfert"), DISABLED);
  EXPECT_EQ(Drag_Used, 1);

  // From 0.60 the floor is reached without the bell, with the same effect.
  run0()->tfr_targ_val[0] = 60;
  MXenablebutton("setfert", "decfert", 1);
  Drag_Used = 0;
  before = bells();
  press_button("setfert", "decfert");
  EXPECT_EQ(run0()->tfr_targ_val[0], 50);
  EXPECT_EQ(bells(), before);
  EXPECT_EQ(button_state("setfert", "decfert"), DISABLED);
  EXPECT_EQ(Drag_Used, 1);
  // One step up enables the way down again.
  press_button("setfert", "incfert");
  EXPECT_EQ(run0()->tfr_targ_val[0], 60);
  EXPECT_EQ(button_state("setfert", "decfert"), ENABLED);

  // The ceiling: 9.85 goes to 9.90 with the bell, and "incfert" is disabled.
  run0()->tfr_targ_val[0] = 985;
  before = bells();
  press_button("setfert", "incfert");
  EXPECT_EQ(run0()->tfr_targ_val[0], 990);
  EXPECT_EQ(bells() - before, 1);
  EXPECT_EQ(button_state("setfert", "incfert"), DISABLED);
  press_button("setfert", "decfert");
  EXPECT_EQ(button_state("setfert", "incfert"), ENABLED);
}

TEST_F(ScenarioTest, TargetYearsMoveInFivesUpTo2050AndNotBeforeTheRun) {
  press_button("toptotalfert", "setfert");
  int32_t& year = VKsaveyear[0][0]->tfr_targ_year[0];
  press_button("setfert", "incfyear");
  EXPECT_EQ(year, 1995);
  EXPECT_EQ(button_state("setfert", "decfyear"), ENABLED);
  year = 2045;
  press_button("setfert", "incfyear");
  EXPECT_EQ(year, 2050);
  EXPECT_EQ(button_state("setfert", "incfyear"), DISABLED);
  // A further raise is refused with the bell (called directly: its button is off).
  int before = bells();
  EXPECT_EQ(incfyear(), 1);
  EXPECT_EQ(year, 2050);
  EXPECT_EQ(bells() - before, 1);
  press_button("setfert", "decfyear");
  EXPECT_EQ(year, 2045);
  EXPECT_EQ(button_state("setfert", "incfyear"), ENABLED);
  year = 1995;
  press_button("setfert", "decfyear");
  EXPECT_EQ(year, 1990);
  EXPECT_EQ(button_state("setfert", "decfyear"), DISABLED);
  before = bells();
  decfyear();
  EXPECT_EQ(year, 1990);
  EXPECT_EQ(bells() - before, 1);
  // The edited year waits for okay.
  year = 2010;
  EXPECT_EQ(run0()->tfr_targ_year[0], 1990);
  press_button("setfert", "okay");
  EXPECT_EQ(run0()->tfr_targ_year[0], 2010);
}

TEST_F(ScenarioTest, ReopeningEnablesTheYearUpAgainBelow2050) {
  press_button("toptotalfert", "setfert");
  VKsaveyear[0][0]->tfr_targ_year[0] = 2045;
  press_button("setfert", "incfyear");
  EXPECT_EQ(button_state("setfert", "incfyear"), DISABLED);
  VKsaveyear[0][0]->tfr_targ_year[0] = 2000;  // committed as 2000
  press_button("setfert", "okay");
  press_button("toptotalfert", "setfert");
  EXPECT_EQ(button_state("setfert", "incfyear"), ENABLED);
  EXPECT_EQ(button_state("setfert", "decfyear"), ENABLED);  // 2000 lies after 1990
  press_button("setfert", "okay");
}

TEST_F(ScenarioTest, LifeExpectancyStepsByTwoTenthsAndMigrationByItsUnit) {
  press_button("toplifeexp", "setlife");
  const int32_t life = run0()->lifex_targ_val[0];
  press_button("setlife", "inclifeexp");
  EXPECT_EQ(run0()->lifex_targ_val[0], life + 20);
  press_button("setlife", "okay");

  press_button("topmig", "setmig");
  const int32_t mig = run0()->mig_targ_val[0];
  press_button("setmig", "incmig");
  EXPECT_EQ(run0()->mig_targ_val[0], mig + mig_step(Country[0].scale_factor, run0()->totpop[0]));
  press_button("setmig", "decmig");
  press_button("setmig", "decmig");
  EXPECT_EQ(run0()->mig_targ_val[0], mig - mig_step(Country[0].scale_factor, run0()->totpop[0]));
  press_button("setmig", "okay");
  EXPECT_EQ(mig_step(1, 5), 1000);
  EXPECT_EQ(mig_step(1000, 999999), 10);
  EXPECT_EQ(mig_step(1000, 1000000), 100);
}

TEST_F(ScenarioTest, A2050RunIsClosedToChangeUntilSteppedBack) {
  for (int i = 0; i < 11; ++i) press_button("top", "simulate");
  EXPECT_EQ(run0()->year, 2045);
  Drag_Used = 0;  // (choosing the country from the list set it)
  press_button("top", "simulate");
  EXPECT_EQ(run0()->year, 2050);
  EXPECT_EQ(ParmSavemsg, 9);
  EXPECT_EQ(MXgetcurrmsg(), 9);
  EXPECT_EQ(Drag_Used, 1);
  EXPECT_EQ(button_state("top", "simulate"), DISABLED);
  EXPECT_EQ(button_state("top", "pyrgraph"), DISABLED);
  EXPECT_EQ(button_state("toptotalfert", "setfert"), DISABLED);
  EXPECT_EQ(button_state("toplifeexp", "setlife"), DISABLED);
  EXPECT_EQ(button_state("topmig", "setmig"), DISABLED);
  // Options: no rate editing at 2050.
  press_button("top", "options");
  EXPECT_EQ(item_state("options", "p3"), DISABLED);
  EXPECT_EQ(item_state("options", "p4"), INVISIBLE);
  EXPECT_EQ(item_state("options", "p5"), ENABLED);
  click(5, 470);
  // Never beyond 2050.
  EXPECT_EQ(simulate(), 0);
  EXPECT_EQ(run0()->stepcnt, 12);
  press_button("top", "unsimulate");
  EXPECT_EQ(run0()->year, 2045);
  EXPECT_EQ(Display[0].modify_permit, 1);
  EXPECT_EQ(MXgetcurrmsg(), 4);
  for (const char* const* w : {TFRname, Lifexname, Migname})
    EXPECT_EQ(button_state(w[0], w == TFRname ? "setfert" : w == Lifexname ? "setlife" : "setmig"), ENABLED);
  EXPECT_EQ(button_state("top", "simulate"), ENABLED);
  EXPECT_EQ(button_state("top", "pyrgraph"), ENABLED);
}

TEST_F(ScenarioTest, SteppingBackStopsAt1990WithALogLine) {
  press_button("top", "simulate");
  EXPECT_EQ(button_state("top", "unsimulate"), ENABLED);
  press_button("top", "unsimulate");
  EXPECT_EQ(run0()->year, 1990);
  EXPECT_EQ(button_state("top", "unsimulate"), DISABLED);
  EXPECT_EQ(unsimulate(), 1);
  EXPECT_EQ(run0()->year, 1990);
  EXPECT_NE(read_file("error.log").find("ERROR - tried to unsimulate when at 1990."), std::string::npos);
}

TEST_F(ScenarioTest, OptionsFollowThePanesPermissions) {
  press_button("top", "options");
  for (const char* item : {"p0", "p1", "p2", "p3", "p5"}) EXPECT_EQ(item_state("options", item), ENABLED) << item;
  EXPECT_EQ(item_state("options", "p4"), INVISIBLE);
  click(5, 470);
  choose("top", "options", "options", "p3");  // rate editing on
  press_button("top", "options");
  EXPECT_EQ(item_state("options", "p3"), INVISIBLE);
  EXPECT_EQ(item_state("options", "p4"), ENABLED);
  click(5, 470);
  choose("top", "options", "options", "p1");
  choose("top", "options", "options", "p1");
  press_button("top", "options");
  EXPECT_EQ(item_state("options", "p1"), DISABLED);
  EXPECT_EQ(item_state("options", "p2"), DISABLED);
  click(5, 470);
  // A command from a window that is no pane's is refused.
  MXsetcurrentnamedwindow("root");
  setlastcontrol(WINDOW, "root", "File", -1);
  const int before = bells();
  EXPECT_EQ(simulate(), 0);
  EXPECT_EQ(options(), 0);
  EXPECT_EQ(bells() - before, 2);
}

}  // namespace
