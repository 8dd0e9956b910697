// The engine against the reference definitions (projection_reference.h): its
// single-year steps and whole five-year steps with moving targets, on random
// figures from the everyday range to the extremes (negative groups, rates beyond a
// million, populations near 2^31), and the golden country's conversion and runs,
// on both arithmetic paths: the engine's quicker arithmetic must give the very
// same integers.
#include <cstring>
#include <random>

#include "demography_test_support.h"
#include "projection_reference.h"

namespace {
using namespace ref;

bool same(const int32_t* a, const int32_t* b, int n) { return std::equal(a, a + n, b); }

class ProjectionDefinitionTest : public DemographyTest, public ::testing::WithParamInterface<int> {};
}  // namespace

TEST_P(ProjectionDefinitionTest, SingleYearStepsMatchTheirDefinition) {
  HasFPU = GetParam();
  std::mt19937 random(2026 + GetParam());
  // Magnitudes: everyday, large, extreme.
  const int32_t pops[] = {2000, 300000, 50000000, 400000000};
  const int32_t rates[] = {1000, 400000, 999000, 3000000};
  VKStatetype& s = *VKState[0][0];
  int checked = 0;
  for (int round = 0; round < 400; ++round) {
    const int32_t pop = pops[round % 4], rate = rates[(round / 4) % 4];
    const bool negatives = round % 7 == 6;
    std::uniform_int_distribution<int32_t> P(negatives ? -pop / 4 : 0, pop), R(negatives ? -rate / 4 : 0, rate);
    s.stepcnt = 0;
    for (int g = 0; g < 17; ++g) s.male_pop[0][g] = P(random), s.fem_pop[0][g] = P(random);
    if (round % 5 == 0) s.fem_pop[0][round % 17] = 0;
    for (int i = 0; i < 9; ++i) s.birthrate[0][i] = R(random);
    for (int i = 0; i < 18; ++i) s.deathrate[0][i] = R(random);
    try {
      int32_t m[85], f[85], em[85], ef[85], b[85] = {}, eb[85] = {}, d[85], ed[85];
      setup_pop(&s, m, f);
      spread_groups(s.male_pop[0], em);
      spread_groups(s.fem_pop[0], ef);
      ASSERT_TRUE(same(m, em, 85) && same(f, ef, 85)) << "single years, round " << round;
      setup_brate(&s, f, b);
      birth_rates(s, f, eb);
      ASSERT_TRUE(same(b, eb, 85)) << "birth rates, round " << round;
      setup_drate(&s, m, f, d);
      death_rates(s, m, f, ed);
      ASSERT_TRUE(same(d, ed, 85)) << "death rates, round " << round;
      ASSERT_EQ(get_life_expect(s.deathrate[0]), life_table(s.deathrate[0])) << round;
      ++checked;
    } catch (const FatalError&) {
      ASSERT_EQ(HasFPU, 0);  // the integer path ends the program on products beyond 32 bits
    }
  }
  EXPECT_GT(checked, 200);
}

TEST_P(ProjectionDefinitionTest, StepsMatchTheirDefinition) {
  HasFPU = GetParam();
  std::mt19937 random(77 + GetParam());
  // Groups up to 2e7 units (60 times the world counted in thousands): beyond, the
  // single years outgrow 32 bits, which the arithmetic does not define.
  const int32_t pops[] = {3000, 200000, 5000000, 20000000};
  const int32_t rates[] = {20000, 300000, 999000};
  // Female advantages as real life tables give them (beyond 1000 thousandths the
  // female death rates turn negative and the groups outgrow 32 bits).
  const int32_t adjust[] = {0, 60, -40, 400};
  const int32_t migration[] = {0, 25, -400, 90000, -90000};
  int checked = 0;
  for (int round = 0; round < 120; ++round) {
    VKStatetype s{};
    std::uniform_int_distribution<int32_t> P(0, pops[round % 4]), R(0, rates[round % 3]);
    for (int g = 0; g < 17; ++g) s.male_pop[0][g] = P(random), s.fem_pop[0][g] = P(random);
    for (int i = 0; i < 9; ++i) s.birthrate[0][i] = i > 0 && i < 8 ? R(random) : R(random) / 20;
    for (int i = 0; i < 18; ++i) s.deathrate[0][i] = R(random) / (i < 12 ? 10 : 1);
    s.year = 1990;
    s.mig[0] = migration[round % 5];
    s.tfr_targ_val[0] = get_TFR(s.birthrate[0]) + (round % 3 == 0 ? 50 : 0);
    s.tfr_targ_year[0] = round % 2 ? 2000 : 1990;
    s.lifex_targ_val[0] = get_life_expect(s.deathrate[0]) + (round % 4 == 0 ? 300 : 0);
    s.lifex_targ_year[0] = round % 4 == 1 ? 1990 : 2005;  // an infant target ends with the life target
    s.infmort_targ_val[0] = round % 3 == 1 ? s.deathrate[0][0] / 2 : -1;
    s.infmort_targ_year[0] = round % 3 == 1 ? 2000 : -1;
    s.mig_targ_val[0] = s.mig[0] * 2;
    s.mig_targ_year[0] = 1995;
    Country[0].life_adjust = adjust[round % 4];
    try {
      VKStatetype engine = s, reference = s;
      for (int t = 1; t <= 3; ++t) {
        engine.stepcnt += 1;
        dosim(&engine);
        step(reference, Country[0].life_adjust);
        ASSERT_EQ(std::memcmp(&engine, &reference, sizeof engine), 0) << "round " << round << " step " << t;
      }
      ++checked;
    } catch (const FatalError&) {
      ASSERT_EQ(HasFPU, 0);
    }
  }
  EXPECT_GT(checked, 60);
}

// The synthetic country of golden_country.dat: groups that miss the stated total,
// rates to scale to its TFR and life expectancy, female deaths for the female
// advantage, a small emigration. Converted, then run twelve steps plainly and as
// the expected run, which meets the figures the file states for 2000 in 2000.
TEST_P(ProjectionDefinitionTest, GoldenCountryConvertsAndRunsAsDefined) {
  HasFPU = GetParam();
  ReadinInfo raw{};
  ASSERT_EQ(read_country(golden_country(), &raw), 1);
  CountryInfo want{};
  convert(raw, &want);
  load_country(golden_country(), &Country[0]);
  const CountryInfo& c = Country[0];
  EXPECT_EQ(c.life_adjust, want.life_adjust);
  EXPECT_TRUE(same(c.male_1990_pop, want.male_1990_pop, 18) && same(c.fem_1990_pop, want.fem_1990_pop, 18));
  EXPECT_TRUE(same(c.tot_birthrate, want.tot_birthrate, 9) && same(c.tot_deathrate, want.tot_deathrate, 18));
  EXPECT_EQ(c.mig, -3);
  EXPECT_EQ(c.infant_deaths_2000, 42000);
  for (bool expected : {false, true}) {
    Display[0].curr_sim = 0;
    Display[0].maxpop = c.male_1990_pop[0] + c.fem_1990_pop[0];
    VKStatetype* s = VKState[0][0];
    *s = VKStatetype{};  // time points not yet reached keep what the last run left
    init_sim_data(0, 0);
    if (expected) set_expected_targets(s, &Country[0]);
    VKStatetype r = start(want, 1990, expected);
    for (int t = 1; t <= 12; ++t) {
      s->stepcnt += 1;
      dosim(s);
      step(r, want.life_adjust);
      ASSERT_EQ(std::memcmp(s, &r, sizeof r), 0) << (expected ? "expected" : "plain") << " run, step " << t;
    }
    EXPECT_EQ(s->year, 2050);
    EXPECT_EQ(Display[0].maxpop, s->totpop[12]);  // a growing country
    if (!expected) continue;
    EXPECT_EQ(get_TFR(s->birthrate[2]), 360);
    EXPECT_EQ(s->deathrate[2][0], 42000);
    // within the tenth of a year at which the secant search stops (-5 .. +4)
    EXPECT_NEAR(get_life_expect(s->deathrate[2]), 6400, 5);
  }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, ProjectionDefinitionTest, ::testing::Values(1, 0));
