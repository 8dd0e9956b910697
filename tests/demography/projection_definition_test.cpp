// The engine's single-year steps against their definition written plainly with
// RESCALE, on random figures from the everyday range to the extremes (negative
// groups, rates beyond a million, populations near 2^31), on both arithmetic
// paths: the engine's quicker arithmetic must give the very same integers.
// (Integer "/" truncates toward zero, as the definition's division does.)
#include <random>

#include "demography/rescale.h"
#include "demography_test_support.h"

namespace {
// The shape of five single years in a group of G between neighbours P and N.
void shape(int64_t P, int64_t G, int64_t N, int64_t* r) {
  r[0] = (4 * P + 6 * G + 5) / 10, r[1] = (2 * P + 8 * G + 5) / 10, r[2] = G;
  r[3] = (8 * G + 2 * N + 5) / 10, r[4] = (6 * G + 4 * N + 5) / 10;
}

// Groups into single years (ten times the people, shaped, not below 0, scaled to the group).
void spread_groups(const int32_t* groups, int32_t* single) {
  int64_t ext[19] = {2 * int64_t{groups[0]} - groups[1]};
  for (int g = 0; g < 17; ++g) ext[g + 1] = groups[g];
  ext[18] = 2 * int64_t{groups[16]} - groups[15];
  for (int g = 0; g < 17; ++g) {
    int64_t v[5], sum = 0;
    shape(2 * ext[g], 2 * ext[g + 1], 2 * ext[g + 2], v);
    for (auto& y : v) sum += (y = std::max<int64_t>(y, 0));
    for (int j = 0; j < 5; ++j) single[5 * g + j] = RESCALE(v[j], 10 * ext[g + 1], sum);
  }
}

// A group's population from its five single years.
int64_t group(const int32_t* s, int a0) { return (int64_t{s[a0]} + s[a0 + 1] + s[a0 + 2] + s[a0 + 3] + s[a0 + 4] + 5) / 10; }

// Single-year rates of `groups` groups from first_age: group g's rate R[g + 1],
// shaped by its neighbours, scaled to give the group's events on its people now.
void single_year_rates(const int64_t* R, int groups, int first_age, const int64_t* people, const int64_t* now,
                       int32_t* out) {
  for (int g = 0; g < groups; ++g) {
    const int a0 = first_age + 5 * g;
    int64_t r[5], w = 0;
    shape(R[g], R[g + 1], R[g + 2], r);
    if (a0 == 0) r[0] = 0;  // infants die by the infant rate
    for (int j = 0; j < 5; ++j) w += RESCALE(r[j], people[a0 + j], 100000);
    for (int j = 0; j < 5; ++j)
      out[a0 + j] = std::min(w == 0 ? 0 : RESCALE(r[j], RESCALE(R[g + 1], now[g], 10000), w), 999000);
  }
}

void birth_rates(const VKStatetype& s, const int32_t* f, int32_t* b) {
  int64_t R[11] = {}, people[85], now[9];
  for (int i = 0; i < 9; ++i) R[i + 1] = s.birthrate[s.stepcnt][i], now[i] = group(f, 10 + 5 * i);
  for (int a = 0; a < 85; ++a) people[a] = f[a];
  single_year_rates(R, 9, 10, people, now, b);
}

void death_rates(const VKStatetype& s, const int32_t* m, const int32_t* f, int32_t* d) {
  int64_t R[19], people[85], now[17];
  for (int g = 1; g <= 17; ++g) R[g] = s.deathrate[s.stepcnt][g];
  R[0] = std::max<int64_t>(2 * R[1] - R[2], 0);
  R[18] = std::max<int64_t>(2 * R[17] - R[16], 0);
  for (int g = 0; g < 17; ++g) now[g] = group(m, 5 * g) + group(f, 5 * g);
  for (int a = 0; a < 85; ++a) people[a] = int64_t{m[a]} + f[a];
  single_year_rates(R, 17, 0, people, now, d);
}

int life_table(const int32_t* r) {
  int64_t l = 100000 - RESCALE(100000, r[0], 1000000), s = 0;
  for (int a = 0; a < 110; ++a) {
    const int64_t d = RESCALE(l, r[a < 80 ? a / 5 + 1 : 17], 1000000);
    s += d * a + (d >> 1);
    l -= d;
  }
  return static_cast<int>((s + l * 110 + (l >> 1) + 500) / 1000);
}

int32_t clamp0(int64_t v) { return static_cast<int32_t>(std::max<int64_t>(v, 0)); }

// One five-year step as defined, with every product through RESCALE.
void reference_step(VKStatetype& s, int64_t la) {
  const int t = ++s.stepcnt;
  copypt(&s);
  const int32_t m = s.mig[t];
  int32_t M[85], F[85], b[85] = {}, d[85];
  spread_groups(s.male_pop[t], M);
  spread_groups(s.fem_pop[t], F);
  for (int year = 0; year < 5; ++year) {
    birth_rates(s, F, b);
    death_rates(s, M, F, d);
    int64_t mr[85], fr[85], B = 0;
    for (int a = 0; a < 85; ++a) {
      const int64_t adj = (int64_t{d[a]} * la + 500) / 1000;
      fr[a] = d[a] - adj, mr[a] = d[a] + adj;
    }
    for (int a = 0; a < 85; ++a) B += RESCALE(int64_t{F[a]} - RESCALE(F[a], fr[a], 1000000), b[a], 1000000);
    const int64_t S = B - RESCALE(B, s.deathrate[t][0], 1000000);
    for (auto [pop, r] : {std::pair<int32_t*, int64_t*>{M, mr}, {F, fr}}) {
      const int64_t v = int64_t{pop[84]} + (int64_t{pop[83]} - RESCALE(pop[83], r[83], 1000000));
      pop[84] = clamp0(v - RESCALE(v, r[84], 1000000));
      for (int a = 83; a >= 1; --a) pop[a] = clamp0(int64_t{pop[a - 1]} - RESCALE(pop[a - 1], r[a - 1], 1000000));
    }
    const int64_t boys = RESCALE(S, 512, 1000), girls = S - boys;
    M[0] = clamp0(boys - RESCALE(boys, mr[0], 1000000));
    F[0] = clamp0(girls - RESCALE(girls, fr[0], 1000000));
    // The targets move as the engine's own variants move them (tested elsewhere).
    calc_sim_tfr_variant(&s);
    calc_sim_life_variant(&s);
    if (s.mig[t] != s.mig_targ_val[t]) {
      const int64_t v = s.mig[t], T = s.mig_targ_val[t], Y = s.mig_targ_year[t];
      s.mig[t] = static_cast<int32_t>(s.year == Y ? T : v + (T - v + ((Y - s.year) >> 1)) / (Y - s.year));
    }
    if (m != 0)
      for (int a = 0; a < 85; ++a) {
        M[a] = clamp0(int64_t{M[a]} + RESCALE(m, Mmig[a / 5], 500));
        F[a] = clamp0(int64_t{F[a]} + RESCALE(m, Fmig[a / 5], 500));
      }
    s.year += 1;
  }
  for (int g = 0; g < 17; ++g) s.male_pop[t][g] = static_cast<int32_t>(group(M, 5 * g));
  for (int g = 0; g < 17; ++g) s.fem_pop[t][g] = static_cast<int32_t>(group(F, 5 * g));
  if (s.tfr_targ_year[t] < s.year) s.tfr_targ_year[t] = s.year, s.tfr_targ_val[t] = get_TFR(s.birthrate[t]);
  if (s.lifex_targ_year[t] < s.year) s.lifex_targ_year[t] = s.year, s.lifex_targ_val[t] = life_table(s.deathrate[t]);
  if (s.infmort_targ_year[t] < s.year) s.infmort_targ_year[t] = s.year, s.infmort_targ_val[t] = s.deathrate[t][0];
  if (s.mig_targ_year[t] < s.year) s.mig_targ_year[t] = s.year, s.mig_targ_val[t] = s.mig[t];
}

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
    s.lifex_targ_year[0] = 2005;
    s.infmort_targ_val[0] = s.infmort_targ_year[0] = -1;
    s.mig_targ_val[0] = s.mig[0] * 2;
    s.mig_targ_year[0] = 1995;
    Country[0].life_adjust = adjust[round % 4];
    try {
      VKStatetype engine = s, reference = s;
      for (int t = 1; t <= 3; ++t) {
        engine.stepcnt += 1;
        dosim(&engine);
        reference_step(reference, Country[0].life_adjust);
        ASSERT_TRUE(same(engine.male_pop[t], reference.male_pop[t], 17) &&
                    same(engine.fem_pop[t], reference.fem_pop[t], 17) &&
                    same(engine.deathrate[t], reference.deathrate[t], 18))
            << "round " << round << " step " << t;
      }
      ++checked;
    } catch (const FatalError&) {
      ASSERT_EQ(HasFPU, 0);
    }
  }
  EXPECT_GT(checked, 60);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, ProjectionDefinitionTest, ::testing::Values(1, 0));
