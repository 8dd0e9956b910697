// The panes' runs: starting the first and further runs, and the target changes
// of the scenario windows with their limits, steps, bell and fields.
#include <cstring>
#include <map>

#include "demography_test_support.h"

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
    load_country(golden_country(), &Country[1]);
    Cdisp = 1;
    Display[1].curr_sim = 0;
    init_sim_data(1, 0);
  }
  VKStatetype* run() { return VKState[1][Display[1].curr_sim]; }

  // Sets a target, changes it by `delta` and checks the result and whether the bell rang.
  static void expect_change(int (*change)(int), int32_t* target, int32_t start, int delta, int32_t want, bool bell) {
    *target = start;
    const int bells = screen_log.bells;
    EXPECT_EQ(change(delta), 1);
    EXPECT_EQ(*target, want) << start << " by " << delta;
    EXPECT_EQ(screen_log.bells - bells, bell ? 1 : 0) << start << " by " << delta;
  }
};
}  // namespace

TEST_F(SimulationTest, RunsStartUpToThree) {
  // The first run: 1990 targets, no infant target, target years in the edit buffer.
  using V = std::vector<int32_t>;
  const VKStatetype* r = VKState[1][0];
  EXPECT_EQ((V{r->infmort_targ_val[0], r->infmort_targ_year[0], VKsaveyear[1][0]->tfr_targ_year[0]}), (V{-1, -1, 1990}));
  EXPECT_EQ(screen_log.calls, (std::vector<std::string>{"scenarios 1", "bargraph"}));
  // Then the alternative run and the expected run (which aims at the year-2000 figures).
  Display[1].scenario_permit = Display[1].alt_permit = 1;
  EXPECT_EQ(startsim(1990), 1);
  EXPECT_EQ((V{Display[1].curr_sim, Display[1].modify_permit, Display[1].alt_permit}), (V{1, 1, 1}));
  EXPECT_EQ(startsim(2000), 1);
  EXPECT_EQ((V{Display[1].curr_sim, Display[1].scenario_permit, Display[1].alt_permit}), (V{2, 0, 0}));
  r = VKState[1][2];
  EXPECT_EQ((V{r->year, r->tfr_targ_val[0], r->lifex_targ_val[0], r->infmort_targ_val[0], r->tfr_targ_year[0],
               r->lifex_targ_year[0], r->infmort_targ_year[0]}),
            (V{1990, 360, 6400, 42000, 2000, 2000, 2000}));
  EXPECT_EQ(screen_log.help, (std::vector<int>{4, 4}));

  const DisplayType before = Display[1];
  const VKStatetype third = *VKState[1][2];
  EXPECT_EQ(startsim(1990), 0);
  EXPECT_EQ(std::memcmp(&before, &Display[1], sizeof before), 0);
  EXPECT_EQ(std::memcmp(&third, VKState[1][2], sizeof third), 0);
  EXPECT_NE(error_log().find("ERROR - tried to init alt simulation #3\n"), std::string::npos);
  // By 2000 the expected run meets the file's figures for 2000 (life expectancy
  // within the tenth of a year at which the secant search stops).
  VKStatetype* x = VKState[1][2];
  for (int t = 1; t <= 2; ++t) x->stepcnt = t, dosim(x);
  EXPECT_EQ((V{get_TFR(x->birthrate[2]), x->deathrate[2][0]}), (V{360, 42000}));
  EXPECT_NEAR(get_life_expect(x->deathrate[2]), 6400, 5);
}

// (Fertility targets and years at their limits: tests/app's scenario-window test.)
TEST_F(SimulationTest, TargetChangesStayWithinTheirLimits) {
  VKStatetype* s = run();
  expect_change(changelifex, &s->lifex_targ_val[0], 7000, 2, 7020, false);  // 20.0 .. 99.9 years
  EXPECT_EQ(screen_log.fields["SETLIFE"], "70.2");
  expect_change(changelifex, &s->lifex_targ_val[0], 2010, -2, 2000, true);
  expect_change(changelifex, &s->lifex_targ_val[0], 9990, 2, 9990, true);
  // Migration steps by 1000 persons, or by 10 or 100 units by population.
  EXPECT_EQ((std::vector<int>{mig_step(1, 5), mig_step(1000, 999999), mig_step(1000, 1000000)}), (std::vector<int>{1000, 10, 100}));
  expect_change(changemig, &s->mig_targ_val[0], 0, 1, 10, false);  // Testland: 14000 thousands
  EXPECT_EQ(screen_log.fields["SETMIG"], "     10000");
  s->totpop[0] = 2000000;
  expect_change(changemig, &s->mig_targ_val[0], 10, -1, -90, false);
  expect_change(changemig, &s->mig_targ_val[0], 99950, 1, 100000, true);
  Country[1].scale_factor = 1;
  expect_change(changemig, &s->mig_targ_val[0], -99500, -1, -100000, true);
  EXPECT_EQ(screen_log.fields["SETMIG"], "   -100000");
  // A target year moves no earlier than the run has come.
  s->stepcnt = 2, s->year = 2000;
  int32_t year = 2005;
  changeyear(-5, s, &year, "SETLIFEYEAR");
  EXPECT_EQ(screen_log.fields["SETLIFEYEAR"], "2000");
  changeyear(-5, s, &year, "SETLIFEYEAR");
  EXPECT_EQ(year, 2000);
  EXPECT_EQ(screen_log.bells, 5);
}

// From 2020 every year moves by thirty: a run's 13 points are 2020 ... 2080, the
// expected run aims at 2030, and a target year rises to 2080 and no further.
TEST_F(SimulationTest, YearsFollowTheBaseYear) {
  Base_year = 2020;
  std::fill(Country[1].tot_birthrate, Country[1].tot_birthrate + 9, 100000);
  Country[1].tot_birthrate[0] = 101000;
  init_sim_data(1, 0);
  VKStatetype* s = run();
  EXPECT_EQ(s->tfr_targ_year[0], 2020);
  EXPECT_EQ(s->tfr_targ_val[0], 451);  // 5 x 0.901 = 4.505 children, rounded to nearest
  for (int t = 1; t < VK_TIMEPOINTS; ++t) s->stepcnt = t, dosim(s);
  EXPECT_EQ(s->year, 2080);
  ASSERT_EQ(startsim(2030), 1);
  EXPECT_EQ((std::vector<int32_t>{run()->year, run()->lifex_targ_year[0]}), (std::vector<int32_t>{2020, 2030}));
  int32_t year = 2075;
  changeyear(5, run(), &year, "SETFERTYEAR");
  changeyear(5, run(), &year, "SETFERTYEAR");
  EXPECT_EQ(year, 2080);
  EXPECT_EQ(screen_log.bells, 1);
}

// (The screenless engine: vkproject_test.)
TEST_F(SimulationTest, NoHelpDuringTheWalkThroughAndNoChangeWithoutARun) {
  Screen.in_walkthru = [] { return 1; };
  EXPECT_EQ(startsim(1990), 1);
  EXPECT_TRUE(screen_log.help.empty());
  Display[1].curr_sim = -1;
  EXPECT_EQ(changefert(1) + changelifex(1) + changemig(1) + startsim(1990), 0);
}
