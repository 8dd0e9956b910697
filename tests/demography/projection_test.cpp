// The projection engine's parts by what they mean, on hand-worked values:
// fertility and life-expectancy measures and their targets (rounding, tolerance,
// the nine-step cap), spreading groups into single years, the open age group,
// migration by sex, the sex ratio at birth, the bar rates. (The expected run
// meeting its year-2000 targets: simulation_test.)
#include <cstring>
#include <numeric>

#include "demography_test_support.h"

namespace {
class ProjectionTest : public DemographyTest {
 protected:
  VKStatetype* s = nullptr;
  void SetUp() override {
    DemographyTest::SetUp();
    s = VKState[0][0];
    Country[0].life_adjust = 0;
    Display[0].curr_sim = 0;
  }
  // Time point 0 of run s: every group `pop`, flat rates, 1990 targets equal to
  // the rates (nothing moves unless a test sets a target).
  void start(int32_t pop, int32_t birthrate, int32_t deathrate, int32_t mig = 0) {
    s->stepcnt = 0, s->year = 1990;
    std::fill_n(s->male_pop[0], VK_GROUPS, pop), std::fill_n(s->fem_pop[0], VK_GROUPS, pop);
    std::fill_n(s->birthrate[0], VK_BIRTHGROUPS, birthrate), std::fill_n(s->deathrate[0], VK_DEATHRATES, deathrate);
    s->mig[0] = s->mig_targ_val[0] = mig;
    s->totpop[0] = 34 * pop;
    s->tfr_targ_val[0] = get_TFR(s->birthrate[0]);
    s->lifex_targ_val[0] = get_life_expect(s->deathrate[0]);
    s->tfr_targ_year[0] = s->lifex_targ_year[0] = s->mig_targ_year[0] = 1990;
    s->infmort_targ_val[0] = s->infmort_targ_year[0] = -1;
  }
  void step() { s->stepcnt += 1, dosim(s); }
  static int64_t total(const int32_t* groups) { return std::accumulate(groups, groups + VK_GROUPS, int64_t{0}); }
};
}  // namespace

TEST_F(ProjectionTest, FertilityMeasureAndTarget) {
  int32_t r[9], zero[9] = {}, half[9] = {1000};  // 0.005 children: half a hundredth rounds up
  std::fill(r, r + 9, 100000);
  EXPECT_EQ(get_TFR(r), 450);
  EXPECT_EQ(get_TFR(half), 1);
  set_to_tfr_target(900, r);
  EXPECT_EQ(std::count(r, r + 9, 200000), 9);
  set_to_tfr_target(9900, r);  // rates stop at 999000 per million
  EXPECT_EQ(std::count(r, r + 9, 999000), 9);
  set_to_tfr_target(300, zero);
  EXPECT_EQ(get_TFR(zero), 0);
}

TEST_F(ProjectionTest, LifeTargetStopRules) {
  // Within four hundredths nothing changes.
  int32_t r[18], copy[18];
  for (int i = 0; i < 18; ++i) r[i] = copy[i] = 2000 + 3000 * i;
  const int c = get_life_expect(r);
  set_to_life_target(c + 4, r, 1);
  set_to_life_target(c - 4, r, 1);
  EXPECT_TRUE(std::equal(r, r + 18, copy));
  set_to_life_target(c + 7, r, 1);  // seven hundredths are not near enough
  EXPECT_FALSE(std::equal(r, r + 18, copy));
  // Otherwise at most nine secant steps after the first scaling.
  MXDebug = 1;
  for (int i = 0; i < 18; ++i) r[i] = 8000 + 12000 * i;
  set_to_life_target(7500, r, 0);
  EXPECT_EQ(r[0], 8000);  // the infant rate keeps its value unless included
  EXPECT_LE(std::abs(get_life_expect(r) - 7500), 10);
  EXPECT_NE(error_log().find("Debug: Scaling life expectancy from "), std::string::npos);
  EXPECT_NE(error_log().find("Debug: Iteration 1: "), std::string::npos);
  // A target beyond the life table's ceiling (110.5 years when nobody dies) is
  // never met: the search runs its nine secant steps, logged as iterations 2 to 10,
  // and stops (unbounded, it would go on to iteration 14).
  for (int i = 0; i < 18; ++i) r[i] = 2000 + 3000 * i;
  const size_t from = error_log().size();
  set_to_life_target(11082, r, 1);
  for (int32_t v : r) EXPECT_LE(v, 999000);
  const std::string log = error_log().substr(from);
  EXPECT_NE(log.find("MXDebug: Iteration 10:"), std::string::npos);
  EXPECT_EQ(log.find("MXDebug: Iteration 11:"), std::string::npos);
}

TEST_F(ProjectionTest, SpreadingLeavesZeroGroupsZero) {
  start(0, 0, 0);
  s->fem_pop[0][5] = 500;  // isolated; the neighbours are 0
  int32_t m[85], f[85];
  setup_pop(s, m, f);
  for (int a = 0; a < 85; ++a) EXPECT_EQ(m[a], 0) << a;
  for (int a = 0; a < 85; ++a) EXPECT_EQ(f[a], a >= 25 && a < 30 ? f[a] : 0) << a;  // nothing spread, no 0/0
  EXPECT_NEAR(f[25] + f[26] + f[27] + f[28] + f[29], 5000, 3);
}

TEST_F(ProjectionTest, AgeingMigrationAndBirthsByAge) {
  // Nobody dies, nobody is born: everyone ages and the open age group keeps them all.
  start(1000, 0, 0);
  step();
  EXPECT_NEAR(total(s->male_pop[1]) + total(s->fem_pop[1]), 34000, 20);
  EXPECT_NEAR(s->male_pop[1][16], 2000, 2);  // 80+ plus the 75-79 who turned 80
  EXPECT_LE(s->male_pop[1][0], 2);
  // Emigration stops at zero; migrants of 75 and over are none in the profile.
  start(10, 0, 0, -100000);
  step();
  for (int g = 0; g < 15; ++g) EXPECT_EQ(s->male_pop[1][g] + s->fem_pop[1][g], 0) << g;
  for (int g = 15; g < VK_GROUPS; ++g) EXPECT_GE(s->male_pop[1][g], 0);
  EXPECT_LE(s->totpop[1], 60);
  // 1000 units a year for five years arrive: 45 per cent men, 55 per cent women.
  start(0, 0, 0, 1000);
  step();
  EXPECT_NEAR(total(s->male_pop[1]), 2250, 20);
  EXPECT_NEAR(total(s->fem_pop[1]), 2750, 20);
  // (Their shares of the age profile round as RESCALE's test shows.) About 105 boys
  // are born per 100 girls.
  start(1000, 200000, 0);
  s->male_pop[0][0] = s->fem_pop[0][0] = 0;
  step();
  const double boys = s->male_pop[1][0], girls = s->fem_pop[1][0];
  ASSERT_GT(boys + girls, 1000);
  EXPECT_NEAR(boys / (boys + girls), 0.512, 0.002);
}

TEST_F(ProjectionTest, StepsOutsideTheRunAreIgnored) {
  start(1000, 100000, 5000);
  const VKStatetype before = *s;
  dosim(s);
  s->stepcnt = 13, dosim(s), s->stepcnt = 0;
  EXPECT_EQ(std::memcmp(&before, s, sizeof before), 0);
}

TEST_F(ProjectionTest, BarRatesArePerThousand) {
  start(100, 0, 0);
  s->birthrate[0][0] = 10000, s->birthrate[0][1] = 30000, s->birthrate[0][8] = 4600;
  int32_t F[17] = {50, 50, 100, 300}, M[17] = {50, 50};  // women 10-14 and 15-19
  EXPECT_EQ(rebuild_birthrate(0, s, F, 0), 25);  // (2500 + 22500 + 500) / 1000
  EXPECT_EQ(rebuild_birthrate(4, s, F, 0), 5);
  EXPECT_EQ(rebuild_birthrate(1, s, F, 0), 0);  // no women: 0
  s->deathrate[0][1] = 20000, s->deathrate[0][2] = 2000, s->deathrate[0][17] = 150400;
  EXPECT_EQ(rebuild_deathrate(0, s, M, F, 0), 11);  // (10000 + 1000 + 500) / 1000
  EXPECT_EQ(rebuild_deathrate(8, s, M, F, 0), 150);
}
