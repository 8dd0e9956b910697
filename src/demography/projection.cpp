// The projection engine. All population arithmetic is integer with explicit
// rounding, in tenths of a population unit for the single years, so that a run is
// exact and repeatable; products of counts and rates go through RESCALE.
// Intermediate sums and products are formed in 64 bits, which gives the 32-bit
// results wherever those do not overflow.
#include "demography/projection.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "base/log.h"
#include "demography/country.h"
#include "demography/rescale.h"
#include "demography/simulation.h"
#include "startup/filenames.h"

const int32_t Mmig[VK_GROUPS] = {18, 40, 32, 36, 50, 67, 49, 36, 32, 31, 23, 13, 9, 9, 5, 0, 0};
const int32_t Fmig[VK_GROUPS] = {16, 44, 39, 50, 66, 88, 66, 44, 38, 33, 22, 17, 11, 11, 5, 0, 0};

namespace {
// The working arrays: single years of age 0..83 and the open group 84+.
int32_t* male = nullptr;  // persons, tenths of the population unit
int32_t* fem = nullptr;
int32_t* brate = nullptr;  // single-year rates per million
int32_t* drate = nullptr;

constexpr int64_t kMillion = 1000000;

// Half, as an arithmetic shift right (floor).
inline int64_t h(int64_t x) { return x >> 1; }

inline int32_t cut(int64_t rate) { return static_cast<int32_t>(std::min<int64_t>(rate, VK_RATE_MAX)); }
inline int32_t floor0(int64_t value) { return static_cast<int32_t>(std::max<int64_t>(value, 0)); }

// One step of the linear approach of a value v toward target T due in year Y.
int32_t approach(int64_t v, int64_t T, int64_t Y, int64_t year) {
  if (year == Y) return static_cast<int32_t>(T);
  const int64_t d = Y - year;
  return static_cast<int32_t>(v + (T - v + h(d)) / d);
}

// The five single-year values of a group from its own value G and its neighbours
// P (younger) and N (older), in the weights that birth and death rates share.
inline void spread_rate(int64_t P, int64_t G, int64_t N, int64_t out[5]) {
  out[0] = (4 * P + 6 * G + 5) / 10;
  out[1] = (2 * P + 8 * G + 5) / 10;
  out[2] = G;
  out[3] = (8 * G + 2 * N + 5) / 10;
  out[4] = (6 * G + 4 * N + 5) / 10;
}

// A five-year group's present size, from its single years (tenths).
inline int64_t group_now(const int32_t* single, int first) {
  int64_t sum = 0;
  for (int j = 0; j < 5; ++j) sum += single[first + j];
  return (sum + 5) / 10;
}

void spread_sex(const int32_t* groups, int32_t* single) {
  int64_t ext[VK_GROUPS + 2];
  ext[0] = 2 * int64_t{groups[0]} - groups[1];
  for (int g = 0; g < VK_GROUPS; ++g) ext[g + 1] = groups[g];
  ext[VK_GROUPS + 1] = 2 * int64_t{groups[VK_GROUPS - 1]} - groups[VK_GROUPS - 2];
  for (int g = 0; g < VK_GROUPS; ++g) {
    const int64_t P = ext[g], G = ext[g + 1], N = ext[g + 2];
    int64_t v[5] = {(8 * P + 12 * G + 5) / 10, (4 * P + 16 * G + 5) / 10, 2 * G, (16 * G + 4 * N + 5) / 10,
                    (12 * G + 8 * N + 5) / 10};
    int64_t sum = 0;
    for (int64_t& y : v) {
      if (y < 0) y = 0;
      sum += y;
    }
    for (int j = 0; j < 5; ++j) single[5 * g + j] = RESCALE(v[j], 10 * G, sum);
  }
}

// Survivors of a value over one year at a rate per million.
inline int64_t survive(int64_t value, int32_t rate) { return value - RESCALE(value, rate, kMillion); }
}  // namespace

int init_sim_arrays() {
  if (male) return 1;
  male = new (std::nothrow) int32_t[VK_SINGLE_YEARS]();
  fem = new (std::nothrow) int32_t[VK_SINGLE_YEARS]();
  brate = new (std::nothrow) int32_t[VK_SINGLE_YEARS]();
  drate = new (std::nothrow) int32_t[VK_SINGLE_YEARS]();
  if (male && fem && brate && drate) return 1;
  delete[] male;
  delete[] fem;
  delete[] brate;
  delete[] drate;
  male = fem = brate = drate = nullptr;
  return 0;
}

int get_TFR(const int32_t* r) {
  int64_t sum = 0;
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) sum += r[i];
  return static_cast<int>((5 * sum + 5000) / 10000);
}

int get_life_expect(const int32_t* r) {
  int64_t l = 100000 - RESCALE(100000, r[0], kMillion);
  int64_t s = 0;
  for (int a = 0; a < 80; ++a) {
    const int64_t d = RESCALE(l, r[a / 5 + 1], kMillion);
    s += d * a + h(d);
    l -= d;
  }
  for (int a = 80; a < 110; ++a) {
    const int64_t d = RESCALE(l, r[17], kMillion);
    s += d * a + h(d);
    l -= d;
  }
  return static_cast<int>((s + l * 110 + h(l) + 500) / 1000);
}

void set_to_tfr_target(int target, int32_t* r) {
  const int c = get_TFR(r);
  if (c == target) return;
  if (MXDebug) MXelog(0, "Debug: Scaling TFR from %d to %d\n", c, target);
  if (c == 0) return;
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) r[i] = cut(RESCALE(r[i], target, c));
}

void set_to_life_target(int target, int32_t* r, int include_infant) {
  int64_t c = get_life_expect(r);
  int64_t p = 100000;  // the previous scale
  if (std::llabs(c - target) < 5) return;
  if (MXDebug) MXelog(0, "Debug: Scaling life expectancy from %ld to %d\n", static_cast<long>(c), target);
  // A target of no years has no scale; rates stay as they are.
  if (target <= 0) return;
  int32_t o[VK_DEATHRATES];
  std::memcpy(o, r, sizeof o);
  const int first = include_infant ? 0 : 1;
  int64_t scale = (c * 100000 + h(target)) / target;
  for (int i = first; i < VK_DEATHRATES; ++i) r[i] = cut((int64_t{o[i]} * c + h(target)) / target);
  int64_t n = get_life_expect(r);
  int k = 1;
  if (MXDebug) MXelog(0, "Debug: Iteration %d: %ld, scale %ld\n", k, static_cast<long>(n), static_cast<long>(scale));
  while (k < 10) {
    if ((n + 5) / 10 == (target + 5) / 10 || scale == p || n == c) break;
    const int64_t q = RESCALE(target - c, scale - p, n - c) + p;
    p = scale;
    scale = q < 0 ? h(p) : q;
    c = n;
    for (int i = first; i < VK_DEATHRATES; ++i) r[i] = cut(RESCALE(o[i], scale, 100000));
    n = get_life_expect(r);
    ++k;
    if (MXDebug)
      MXelog(0, "MXDebug: Iteration %d: %ld, scale %ld\n", k, static_cast<long>(n), static_cast<long>(scale));
  }
}

void calc_sim_tfr_variant(VKStatetype* s) {
  const int t = s->stepcnt;
  const int v = get_TFR(s->birthrate[t]);
  if (v == s->tfr_targ_val[t]) return;
  set_to_tfr_target(approach(v, s->tfr_targ_val[t], s->tfr_targ_year[t], s->year), s->birthrate[t]);
}

void calc_sim_life_variant(VKStatetype* s) {
  const int t = s->stepcnt;
  int32_t* r = s->deathrate[t];
  if (s->year == s->lifex_targ_year[t]) s->infmort_targ_year[t] = -1;
  int include_infant = 1;
  if (s->infmort_targ_year[t] > s->year) {
    const int64_t d = int64_t{s->infmort_targ_year[t]} - s->year;
    r[0] = cut(r[0] + (int64_t{s->infmort_targ_val[t]} - r[0] + h(d)) / d);
    include_infant = 0;
  }
  const int v = get_life_expect(r);
  if (v == s->lifex_targ_val[t]) return;
  set_to_life_target(approach(v, s->lifex_targ_val[t], s->lifex_targ_year[t], s->year), r, include_infant);
}

void calc_sim_mig_variant(VKStatetype* s) {
  const int t = s->stepcnt;
  if (s->mig[t] == s->mig_targ_val[t]) return;
  s->mig[t] = approach(s->mig[t], s->mig_targ_val[t], s->mig_targ_year[t], s->year);
}

void copypt(VKStatetype* s) {
  const int t = s->stepcnt;
  if (t < 1 || t >= VK_TIMEPOINTS) return;
  int64_t total = 0;
  for (int g = 0; g < VK_GROUPS; ++g) total += int64_t{s->male_pop[t - 1][g]} + s->fem_pop[t - 1][g];
  s->totpop[t] = static_cast<int32_t>(total);
  s->tfr_targ_val[t] = s->tfr_targ_val[t - 1];
  s->tfr_targ_year[t] = s->tfr_targ_year[t - 1];
  s->lifex_targ_val[t] = s->lifex_targ_val[t - 1];
  s->lifex_targ_year[t] = s->lifex_targ_year[t - 1];
  s->infmort_targ_val[t] = s->infmort_targ_val[t - 1];
  s->infmort_targ_year[t] = s->infmort_targ_year[t - 1];
  s->mig_targ_val[t] = s->mig_targ_val[t - 1];
  s->mig_targ_year[t] = s->mig_targ_year[t - 1];
  std::memcpy(s->male_pop[t], s->male_pop[t - 1], sizeof s->male_pop[t]);
  std::memcpy(s->fem_pop[t], s->fem_pop[t - 1], sizeof s->fem_pop[t]);
  std::memcpy(s->birthrate[t], s->birthrate[t - 1], sizeof s->birthrate[t]);
  std::memcpy(s->deathrate[t], s->deathrate[t - 1], sizeof s->deathrate[t]);
  s->mig[t] = s->mig[t - 1];
}

void setup_pop(const VKStatetype* s, int32_t* m, int32_t* f) {
  const int t = s->stepcnt;
  spread_sex(s->male_pop[t], m);
  spread_sex(s->fem_pop[t], f);
}

void setup_brate(const VKStatetype* s, const int32_t* f, int32_t* b) {
  const int t = s->stepcnt;
  int64_t R[VK_BIRTHGROUPS + 2];
  R[0] = 0;
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) R[i + 1] = s->birthrate[t][i];
  R[VK_BIRTHGROUPS + 1] = 0;
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) {
    const int a0 = 10 + 5 * i;
    int64_t rate[5];
    spread_rate(R[i], R[i + 1], R[i + 2], rate);
    int64_t w = 0;
    for (int j = 0; j < 5; ++j) w += RESCALE(rate[j], f[a0 + j], 100000);
    if (w == 0) {
      for (int j = 0; j < 5; ++j) b[a0 + j] = 0;
      continue;
    }
    // The group's births this year come from the women in it now, not from the
    // group as it stood when the five-year step began.
    const int32_t births = RESCALE(R[i + 1], group_now(f, a0), 10000);
    for (int j = 0; j < 5; ++j) b[a0 + j] = RESCALE(rate[j], births, w);
  }
  for (int a = 0; a < VK_SINGLE_YEARS; ++a) b[a] = cut(b[a]);
}

void setup_drate(const VKStatetype* s, const int32_t* m, const int32_t* f, int32_t* d) {
  const int t = s->stepcnt;
  int64_t R[VK_GROUPS + 2];
  for (int g = 1; g <= VK_GROUPS; ++g) R[g] = s->deathrate[t][g];
  R[0] = std::max<int64_t>(2 * R[1] - R[2], 0);
  R[VK_GROUPS + 1] = std::max<int64_t>(2 * R[VK_GROUPS] - R[VK_GROUPS - 1], 0);
  for (int g = 0; g < VK_GROUPS; ++g) {
    const int a0 = 5 * g;
    int64_t rate[5];
    spread_rate(R[g], R[g + 1], R[g + 2], rate);
    if (g == 0) rate[0] = 0;  // infant mortality acts on the births instead
    int64_t w = 0;
    for (int j = 0; j < 5; ++j) w += RESCALE(rate[j], int64_t{m[a0 + j]} + f[a0 + j], 100000);
    if (w == 0) {
      for (int j = 0; j < 5; ++j) d[a0 + j] = 0;
      continue;
    }
    // Deaths of the group this year, from the people in it now (each sex rounded
    // as its group is, so that the first year of a step sees the stored groups).
    const int32_t deaths = RESCALE(R[g + 1], group_now(m, a0) + group_now(f, a0), 10000);
    for (int j = 0; j < 5; ++j) d[a0 + j] = RESCALE(rate[j], deaths, w);
  }
  for (int a = 0; a < VK_SINGLE_YEARS; ++a) d[a] = cut(d[a]);
}

void reconstruct_pop(VKStatetype* s, const int32_t* m, const int32_t* f) {
  const int t = s->stepcnt;
  for (int g = 0; g < VK_GROUPS; ++g) {
    s->male_pop[t][g] = static_cast<int32_t>(group_now(m, 5 * g));
    s->fem_pop[t][g] = static_cast<int32_t>(group_now(f, 5 * g));
  }
}

void dosim(VKStatetype* s) {
  const int t = s->stepcnt;
  if (t < 1 || t >= VK_TIMEPOINTS) return;  // no step before 1990 or after 2050
  if (!init_sim_arrays()) MXelog(-1, "Out of memory for simulation arrays.\n");
  const int64_t la = Country[Cdisp].life_adjust;
  copypt(s);
  const int32_t m = s->mig[t];
  std::memset(brate, 0, VK_SINGLE_YEARS * sizeof *brate);
  setup_pop(s, male, fem);

  int32_t mrate[VK_SINGLE_YEARS], frate[VK_SINGLE_YEARS];
  for (int year = 0; year < 5; ++year) {
    setup_brate(s, fem, brate);
    setup_drate(s, male, fem, drate);
    // Sex split of the death rates by the female life-expectancy advantage.
    for (int a = 0; a < VK_SINGLE_YEARS; ++a) {
      const int64_t D = drate[a];
      const int64_t adj = (D * la + 500) / 1000;
      frate[a] = static_cast<int32_t>(D - adj);
      mrate[a] = static_cast<int32_t>(D + adj);
    }
    // Births to the women who live through the year, and the infants who survive.
    int64_t births = 0;
    for (int a = 0; a < VK_SINGLE_YEARS; ++a)
      births += RESCALE(survive(fem[a], frate[a]), brate[a], kMillion);
    const int64_t survivors = births - RESCALE(births, s->deathrate[t][0], kMillion);

    // The open group 84+ keeps its survivors and takes in those of age 83.
    const int last = VK_SINGLE_YEARS - 1;
    int64_t v = male[last] + survive(male[last - 1], mrate[last - 1]);
    male[last] = floor0(v - RESCALE(v, mrate[last], kMillion));
    v = fem[last] + survive(fem[last - 1], frate[last - 1]);
    fem[last] = floor0(v - RESCALE(v, frate[last], kMillion));
    for (int a = last - 1; a >= 1; --a) {
      male[a] = floor0(survive(male[a - 1], mrate[a - 1]));
      fem[a] = floor0(survive(fem[a - 1], frate[a - 1]));
    }
    // About 105 boys are born for every 100 girls: 51.2 per cent are male.
    const int32_t boys = RESCALE(survivors, 512, 1000);
    male[0] = floor0(survive(boys, mrate[0]));
    fem[0] = floor0(survive(survivors - boys, frate[0]));

    calc_sim_tfr_variant(s);
    calc_sim_life_variant(s);
    calc_sim_mig_variant(s);

    if (m != 0) {
      for (int a = 0; a < VK_SINGLE_YEARS; ++a) {
        male[a] = floor0(int64_t{male[a]} + RESCALE(m, Mmig[a / 5], 500));
        fem[a] = floor0(int64_t{fem[a]} + RESCALE(m, Fmig[a / 5], 500));
      }
    }
    s->year += 1;
  }
  reconstruct_pop(s, male, fem);

  int64_t total = 0;
  for (int g = 0; g < VK_GROUPS; ++g) total += int64_t{s->male_pop[t][g]} + s->fem_pop[t][g];
  s->totpop[t] = static_cast<int32_t>(total);
  if (s->totpop[t] > Display[Cdisp].maxpop) Display[Cdisp].maxpop = s->totpop[t];

  // A target year passed during the step: the target is now the value reached.
  if (s->tfr_targ_year[t] < s->year) {
    s->tfr_targ_year[t] = s->year;
    s->tfr_targ_val[t] = get_TFR(s->birthrate[t]);
  }
  if (s->lifex_targ_year[t] < s->year) {
    s->lifex_targ_year[t] = s->year;
    s->lifex_targ_val[t] = get_life_expect(s->deathrate[t]);
  }
  if (s->infmort_targ_year[t] < s->year) {
    s->infmort_targ_year[t] = s->year;
    s->infmort_targ_val[t] = s->deathrate[t][0];
  }
  if (s->mig_targ_year[t] < s->year) {
    s->mig_targ_year[t] = s->year;
    s->mig_targ_val[t] = s->mig[t];
  }
}

int32_t rebuild_birthrate(int bar, const VKStatetype* s, const int32_t* F, int t) {
  if (bar == 4) return (s->birthrate[t][8] + 500) / 1000;
  const int64_t w1 = F[2 * bar + 2], w2 = F[2 * bar + 3], w = w1 + w2;
  if (w == 0) return 0;
  return static_cast<int32_t>(
      (int64_t{RESCALE(s->birthrate[t][2 * bar], w1, w)} + RESCALE(s->birthrate[t][2 * bar + 1], w2, w) + 500) /
      1000);
}

int32_t rebuild_deathrate(int bar, const VKStatetype* s, const int32_t* M, const int32_t* F, int t) {
  if (bar == 8) return (s->deathrate[t][17] + 500) / 1000;
  const int64_t w1 = int64_t{M[2 * bar]} + F[2 * bar];
  const int64_t w2 = int64_t{M[2 * bar + 1]} + F[2 * bar + 1];
  const int64_t w = w1 + w2;
  if (w == 0) return 0;
  return static_cast<int32_t>(
      (int64_t{RESCALE(s->deathrate[t][2 * bar + 1], w1, w)} + RESCALE(s->deathrate[t][2 * bar + 2], w2, w) + 500) /
      1000);
}
