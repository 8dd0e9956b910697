// The golden projection: the synthetic country of golden_country.h converted and
// projected over one and twelve steps, as a plain run and as an expected-2000
// run, against the figures of the separately written reference model.
#include "demography_test_support.h"
#include "golden_country.h"

namespace {
class GoldenProjectionTest : public DemographyTest {
 protected:
  void SetUp() override {
    DemographyTest::SetUp();
    write_text("golden.dat", kGoldenCountryFile);
    FILE* f = std::fopen("golden.dat", "r");
    ReadinInfo raw;
    ASSERT_EQ(MXgenreader(f, VKreader, "VK_country", &raw), 1);
    std::fclose(f);
    ASSERT_EQ(DBconvert(&raw, &Country[0]), 1);
    Display[0].curr_sim = 0;
    Display[0].maxpop = Country[0].male_1990_pop[0] + Country[0].fem_1990_pop[0];
    init_sim_data(0, 0);
  }

  static void expect_row(const int32_t* got, const int32_t* want, int n, const char* what, int t) {
    for (int i = 0; i < n; ++i) EXPECT_EQ(got[i], want[i]) << what << " at time point " << t << ", index " << i;
  }

  void run_and_check(bool expected) {
    VKStatetype* s = VKState[0][0];
    if (expected) set_expected_targets(s, &Country[0]);
    const int32_t* totpop = expected ? kGoldenExpectedTotpop : kGoldenRunTotpop;
    for (int t = 1; t <= 12; ++t) {
      s->stepcnt += 1;
      dosim(s);
      EXPECT_EQ(s->year, 1990 + 5 * t);
      EXPECT_EQ(s->totpop[t], totpop[t]) << t;
      if (t == 1) {
        expect_row(s->male_pop[1], expected ? kGoldenExpectedMale1 : kGoldenRunMale1, 17, "male", 1);
        expect_row(s->fem_pop[1], expected ? kGoldenExpectedFem1 : kGoldenRunFem1, 17, "fem", 1);
        expect_row(s->birthrate[1], expected ? kGoldenExpectedBirthrate1 : kGoldenRunBirthrate1, 9, "births", 1);
        expect_row(s->deathrate[1], expected ? kGoldenExpectedDeathrate1 : kGoldenRunDeathrate1, 18, "deaths", 1);
      }
    }
    expect_row(s->male_pop[12], expected ? kGoldenExpectedMale12 : kGoldenRunMale12, 17, "male", 12);
    expect_row(s->fem_pop[12], expected ? kGoldenExpectedFem12 : kGoldenRunFem12, 17, "fem", 12);
    expect_row(s->birthrate[12], expected ? kGoldenExpectedBirthrate12 : kGoldenRunBirthrate12, 9, "births", 12);
    expect_row(s->deathrate[12], expected ? kGoldenExpectedDeathrate12 : kGoldenRunDeathrate12, 18, "deaths", 12);
    expect_row(s->mig, expected ? kGoldenExpectedMig : kGoldenRunMig, 13, "mig", 12);
    EXPECT_EQ(Display[0].maxpop, totpop[12]);
  }
};
}  // namespace

TEST_F(GoldenProjectionTest, PlainRunMatchesTheReferenceModel) { run_and_check(false); }

TEST_F(GoldenProjectionTest, ExpectedRunMatchesTheReferenceModel) { run_and_check(true); }

TEST_F(GoldenProjectionTest, ExpectedRunReachesItsTargetsInTwoThousand) {
  VKStatetype* s = VKState[0][0];
  set_expected_targets(s, &Country[0]);
  for (int t = 1; t <= 2; ++t) {
    s->stepcnt += 1;
    dosim(s);
  }
  EXPECT_EQ(get_TFR(s->birthrate[2]), 360);
  EXPECT_EQ(s->deathrate[2][0], 42000);
  EXPECT_LE(std::abs(get_life_expect(s->deathrate[2]) - 6400), 4);
  // Bookkeeping once the year passed: targets now stand at the values reached.
  s->stepcnt += 1;
  dosim(s);
  EXPECT_EQ(s->tfr_targ_year[3], 2005);
  EXPECT_EQ(s->tfr_targ_val[3], get_TFR(s->birthrate[3]));
  EXPECT_EQ(s->infmort_targ_year[3], 2005);
  EXPECT_EQ(s->infmort_targ_val[3], s->deathrate[3][0]);
}
