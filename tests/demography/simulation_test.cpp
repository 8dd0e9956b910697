// The panes' runs: starting the first and further runs, and the target changes
// of the scenario windows with their limits, steps, bell and fields.
#include <cstring>
#include <map>

#include "demography_test_support.h"
#include "golden_country.h"

namespace {
// What the screen was asked to do.
struct ScreenLog {
  int bells = 0;
  std::map<std::string, std::string> fields;
  std::vector<int> help;
  std::vector<std::string> calls;
};
ScreenLog screen_log;

class SimulationTest : public DemographyTest {
 protected:
  void SetUp() override {
    DemographyTest::SetUp();
    screen_log = ScreenLog{};
    Screen.bell = [] { ++screen_log.bells; };
    Screen.show_field = [](const char* field, const char* text) { screen_log.fields[field] = text; };
    Screen.help_message = [](int n) { screen_log.help.push_back(n); };
    Screen.enable_scenarios = [](int pane) { screen_log.calls.push_back("scenarios " + std::to_string(pane)); };
    Screen.setup_bargraph = [] { screen_log.calls.push_back("bargraph"); };
    Screen.enable_simulate = [](int pane) { screen_log.calls.push_back("simulate " + std::to_string(pane)); };
    Screen.update_display = [](int pane) { screen_log.calls.push_back("update " + std::to_string(pane)); };
    write_text("golden.dat", kGoldenCountryFile);
    FILE* f = std::fopen("golden.dat", "r");
    ReadinInfo raw;
    ASSERT_EQ(MXgenreader(f, VKreader, "VK_country", &raw), 1);
    std::fclose(f);
    ASSERT_EQ(DBconvert(&raw, &Country[1]), 1);
    Cdisp = 1;
    Display[1].curr_sim = 0;
    init_sim_data(1, 0);
  }
  VKStatetype* run() { return VKState[1][Display[1].curr_sim]; }
};
}  // namespace

TEST_F(SimulationTest, FirstRunStartsFromTheCountry) {
  const VKStatetype* s = VKState[1][0];
  EXPECT_EQ(s->stepcnt, 0);
  EXPECT_EQ(s->year, 1990);
  EXPECT_EQ(s->totpop[0], 14000);
  EXPECT_EQ(s->male_pop[0][0], kGoldenMale1990[1]);
  EXPECT_EQ(s->fem_pop[0][16], kGoldenFem1990[17]);
  EXPECT_EQ(s->birthrate[0][4], kGoldenBirthrate[4]);
  EXPECT_EQ(s->deathrate[0][17], kGoldenDeathrate[17]);
  EXPECT_EQ(s->tfr_targ_val[0], 420);
  EXPECT_EQ(s->lifex_targ_val[0], 6150);
  EXPECT_EQ(s->infmort_targ_val[0], -1);
  EXPECT_EQ(s->infmort_targ_year[0], -1);
  EXPECT_EQ(s->mig_targ_val[0], -3);
  EXPECT_EQ(s->mig_targ_year[0], 1990);
  EXPECT_EQ(VKsaveyear[1][0]->tfr_targ_year[0], 1990);
  EXPECT_EQ(screen_log.calls, (std::vector<std::string>{"scenarios 1", "bargraph"}));
}

TEST_F(SimulationTest, FurtherRunsUpToThree) {
  Display[1].scenario_permit = Display[1].alt_permit = 1;
  EXPECT_EQ(startsim(1990), 1);
  EXPECT_EQ(Display[1].curr_sim, 1);
  EXPECT_EQ(Display[1].modify_permit, 1);
  EXPECT_EQ(Display[1].alt_permit, 1);
  EXPECT_EQ(VKState[1][1]->tfr_targ_year[0], 1990);
  EXPECT_EQ(startsim(2000), 1);
  EXPECT_EQ(Display[1].curr_sim, 2);
  EXPECT_EQ(Display[1].scenario_permit, 0);
  EXPECT_EQ(Display[1].alt_permit, 0);
  const VKStatetype* e = VKState[1][2];
  EXPECT_EQ(e->year, 1990);
  EXPECT_EQ(e->tfr_targ_val[0], 360);
  EXPECT_EQ(e->tfr_targ_year[0], 2000);
  EXPECT_EQ(e->lifex_targ_val[0], 6400);
  EXPECT_EQ(e->lifex_targ_year[0], 2000);
  EXPECT_EQ(e->infmort_targ_val[0], 42000);
  EXPECT_EQ(e->infmort_targ_year[0], 2000);
  EXPECT_EQ(screen_log.help, (std::vector<int>{4, 4}));

  const DisplayType before = Display[1];
  const VKStatetype third = *VKState[1][2];
  EXPECT_EQ(startsim(1990), 0);
  EXPECT_EQ(std::memcmp(&before, &Display[1], sizeof before), 0);
  EXPECT_EQ(std::memcmp(&third, VKState[1][2], sizeof third), 0);
  EXPECT_NE(error_log().find("ERROR - tried to init alt simulation #3\n"), std::string::npos);
}

TEST_F(SimulationTest, NoHelpMessageDuringTheWalkThrough) {
  Screen.in_walkthru = [] { return 1; };
  EXPECT_EQ(startsim(1990), 1);
  EXPECT_TRUE(screen_log.help.empty());
}

TEST_F(SimulationTest, FertilityTargetStaysWithinHalfAndNineNine) {
  run()->tfr_targ_val[0] = 60;
  EXPECT_EQ(changefert(-1), 1);
  EXPECT_EQ(run()->tfr_targ_val[0], 50);
  EXPECT_EQ(screen_log.bells, 0);
  EXPECT_EQ(changefert(-1), 1);
  EXPECT_EQ(run()->tfr_targ_val[0], 50);
  EXPECT_EQ(screen_log.bells, 1);
  EXPECT_EQ(screen_log.fields["SETFERT"], "0.5");
  run()->tfr_targ_val[0] = 985;
  changefert(1);
  EXPECT_EQ(run()->tfr_targ_val[0], 990);
  EXPECT_EQ(screen_log.bells, 2);
  EXPECT_EQ(screen_log.fields["SETFERT"], "9.9");
}

TEST_F(SimulationTest, LifeTargetStaysWithinTwentyAndNinetyNineNine) {
  run()->lifex_targ_val[0] = 7000;
  changelifex(2);
  EXPECT_EQ(run()->lifex_targ_val[0], 7020);
  EXPECT_EQ(screen_log.fields["SETLIFE"], "70.2");
  run()->lifex_targ_val[0] = 2010;
  changelifex(-2);
  EXPECT_EQ(run()->lifex_targ_val[0], 2000);
  EXPECT_EQ(screen_log.bells, 1);
  run()->lifex_targ_val[0] = 9990;
  changelifex(2);
  EXPECT_EQ(run()->lifex_targ_val[0], 9990);
  EXPECT_EQ(screen_log.bells, 2);
}

TEST_F(SimulationTest, MigrationStepsByUnitAndSize) {
  EXPECT_EQ(mig_step(1, 5), 1000);
  EXPECT_EQ(mig_step(1000, 999999), 10);
  EXPECT_EQ(mig_step(1000, 1000000), 100);
  // Testland is counted in thousands with 14000 units: steps of 10 units.
  run()->mig_targ_val[0] = 0;
  changemig(1);
  EXPECT_EQ(run()->mig_targ_val[0], 10);
  EXPECT_EQ(screen_log.fields["SETMIG"], "     10000");
  run()->totpop[0] = 2000000;
  changemig(-1);
  EXPECT_EQ(run()->mig_targ_val[0], -90);
  run()->mig_targ_val[0] = 99950;
  changemig(1);
  EXPECT_EQ(run()->mig_targ_val[0], 100000);
  EXPECT_EQ(screen_log.bells, 1);
  Country[1].scale_factor = 1;
  run()->mig_targ_val[0] = -99500;
  changemig(-1);
  EXPECT_EQ(run()->mig_targ_val[0], -100000);
  EXPECT_EQ(screen_log.fields["SETMIG"], "   -100000");
}

TEST_F(SimulationTest, TargetYearsMoveWithinTheRun) {
  VKStatetype* s = run();
  s->stepcnt = 2;
  s->year = 2000;
  int32_t year = 2045;
  EXPECT_EQ(changeyear(5, s, &year, "SETFERTYEAR"), 1);
  EXPECT_EQ(year, 2050);
  EXPECT_EQ(screen_log.fields["SETFERTYEAR"], "2050");
  changeyear(5, s, &year, "SETFERTYEAR");
  EXPECT_EQ(year, 2050);
  EXPECT_EQ(screen_log.bells, 1);
  year = 2005;
  changeyear(-5, s, &year, "SETLIFEYEAR");
  EXPECT_EQ(year, 2000);
  changeyear(-5, s, &year, "SETLIFEYEAR");
  EXPECT_EQ(year, 2000);
  EXPECT_EQ(screen_log.bells, 2);
}

TEST_F(SimulationTest, ChangesNeedARunAndWorkWithoutAScreen) {
  Screen = ScreenHooks{};
  EXPECT_EQ(changefert(1), 1);
  EXPECT_EQ(changemig(1), 1);
  Display[1].curr_sim = -1;
  EXPECT_EQ(changefert(1), 0);
  EXPECT_EQ(changelifex(1), 0);
  EXPECT_EQ(changemig(1), 0);
  EXPECT_EQ(startsim(1990), 0);
}
