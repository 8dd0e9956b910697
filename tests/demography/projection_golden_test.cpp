// The golden projection: the synthetic country of golden_country.dat converted and
// projected over one and twelve steps, as a plain run and as an expected-2000
// run, against the figures of the separately written reference model.
#include "demography_test_support.h"
#include "golden_country.h"

namespace {
class GoldenProjectionTest : public DemographyTest {
 protected:
  VKStatetype* s = nullptr;
  void SetUp() override {
    DemographyTest::SetUp();
    load_country(golden_country(), &Country[0]);
    Display[0].curr_sim = 0;
    Display[0].maxpop = Country[0].male_1990_pop[0] + Country[0].fem_1990_pop[0];
    init_sim_data(0, 0);
    s = VKState[0][0];
  }
  void step() {
    s->stepcnt += 1;
    dosim(s);
  }
  // The figures of time point t: male, fem (17), birthrate (9), deathrate (18).
  void expect_time_point(int t, const int32_t* const (&want)[4]) {
    const std::string at = "time point " + std::to_string(t);
    expect_values(s->male_pop[t], want[0], 17, "male at " + at);
    expect_values(s->fem_pop[t], want[1], 17, "fem at " + at);
    expect_values(s->birthrate[t], want[2], 9, "births at " + at);
    expect_values(s->deathrate[t], want[3], 18, "deaths at " + at);
  }
};
}  // namespace

TEST_F(GoldenProjectionTest, PlainRunMatchesTheReferenceModel) {
  for (int t = 1; t <= 12; ++t) {
    step();
    EXPECT_EQ(s->year, 1990 + 5 * t);
    if (t == 1) expect_time_point(1, {kGoldenRunMale1, kGoldenRunFem1, kGoldenRunBirthrate1, kGoldenRunDeathrate1});
  }
  expect_time_point(12, {kGoldenRunMale12, kGoldenRunFem12, kGoldenRunBirthrate12, kGoldenRunDeathrate12});
  expect_values(s->totpop, kGoldenRunTotpop, 13, "totpop");
  expect_values(s->mig, kGoldenRunMig, 13, "mig");
  EXPECT_EQ(Display[0].maxpop, kGoldenRunTotpop[12]);
}

TEST_F(GoldenProjectionTest, ExpectedRunMatchesTheReferenceModel) {
  set_expected_targets(s, &Country[0]);
  for (int t = 1; t <= 12; ++t) {
    step();
    if (t == 1)
      expect_time_point(1, {kGoldenExpectedMale1, kGoldenExpectedFem1, kGoldenExpectedBirthrate1,
                            kGoldenExpectedDeathrate1});
    if (t == 2) {  // the year-2000 targets are reached in 2000
      EXPECT_EQ(get_TFR(s->birthrate[2]), 360);
      EXPECT_EQ(s->deathrate[2][0], 42000);
      // within the tenth of a year at which the secant search stops (-5 .. +4)
      EXPECT_NEAR(get_life_expect(s->deathrate[2]), 6400, 5);
    }
  }
  expect_time_point(12, {kGoldenExpectedMale12, kGoldenExpectedFem12, kGoldenExpectedBirthrate12,
                         kGoldenExpectedDeathrate12});
  expect_values(s->totpop, kGoldenExpectedTotpop, 13, "totpop");
  expect_values(s->mig, kGoldenExpectedMig, 13, "mig");
  EXPECT_EQ(Display[0].maxpop, kGoldenExpectedTotpop[12]);
}
