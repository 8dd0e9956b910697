// The country conversion and the projection written plainly from their
// definitions, every product through RESCALE (tested on its own) and every
// division truncating toward zero, as the definitions' "/" does: the reference
// the engine's quicker arithmetic must match integer for integer.
#pragma once
#include <algorithm>
#include <cstdint>
#include <numeric>

#include "demography/country.h"
#include "demography/projection.h"
#include "demography/rescale.h"
#include "demography/simulation.h"

namespace ref {

constexpr int64_t kCut = 999000;
inline int64_t h(int64_t x) { return x >> 1; }
inline int32_t cut(int64_t v) { return static_cast<int32_t>(std::min(v, kCut)); }
inline int32_t clamp0(int64_t v) { return static_cast<int32_t>(std::max<int64_t>(v, 0)); }

// The shape of five single years in a group of G between neighbours P and N.
inline void shape(int64_t P, int64_t G, int64_t N, int64_t* r) {
  r[0] = (4 * P + 6 * G + 5) / 10, r[1] = (2 * P + 8 * G + 5) / 10, r[2] = G;
  r[3] = (8 * G + 2 * N + 5) / 10, r[4] = (6 * G + 4 * N + 5) / 10;
}

// Groups into single years (ten times the people, shaped, not below 0, scaled to the group).
inline void spread_groups(const int32_t* groups, int32_t* single) {
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
inline int64_t group(const int32_t* s, int a0) {
  return (int64_t{s[a0]} + s[a0 + 1] + s[a0 + 2] + s[a0 + 3] + s[a0 + 4] + 5) / 10;
}

// Single-year rates of `groups` groups from first_age: group g's rate R[g + 1],
// shaped by its neighbours, scaled to give the group's events on its people now.
inline void single_year_rates(const int64_t* R, int groups, int first_age, const int64_t* people,
                              const int64_t* now, int32_t* out) {
  for (int g = 0; g < groups; ++g) {
    const int a0 = first_age + 5 * g;
    int64_t r[5], w = 0;
    shape(R[g], R[g + 1], R[g + 2], r);
    if (a0 == 0) r[0] = 0;  // infants die by the infant rate
    for (int j = 0; j < 5; ++j) w += RESCALE(r[j], people[a0 + j], 100000);
    for (int j = 0; j < 5; ++j) out[a0 + j] = w == 0 ? 0 : cut(RESCALE(r[j], RESCALE(R[g + 1], now[g], 10000), w));
  }
}

inline void birth_rates(const VKStatetype& s, const int32_t* f, int32_t* b) {
  int64_t R[11] = {}, people[85], now[9];
  for (int i = 0; i < 9; ++i) R[i + 1] = s.birthrate[s.stepcnt][i], now[i] = group(f, 10 + 5 * i);
  for (int a = 0; a < 85; ++a) people[a] = f[a];
  single_year_rates(R, 9, 10, people, now, b);
}

inline void death_rates(const VKStatetype& s, const int32_t* m, const int32_t* f, int32_t* d) {
  int64_t R[19], people[85], now[17];
  for (int g = 1; g <= 17; ++g) R[g] = s.deathrate[s.stepcnt][g];
  R[0] = std::max<int64_t>(2 * R[1] - R[2], 0);
  R[18] = std::max<int64_t>(2 * R[17] - R[16], 0);
  for (int g = 0; g < 17; ++g) now[g] = group(m, 5 * g) + group(f, 5 * g);
  for (int a = 0; a < 85; ++a) people[a] = int64_t{m[a]} + f[a];
  single_year_rates(R, 17, 0, people, now, d);
}

inline int tfr(const int32_t* r) {
  int64_t sum = 0;
  for (int i = 0; i < 9; ++i) sum += r[i];
  return static_cast<int>((5 * sum + 5000) / 10000);
}

// Life expectancy from a single-year life table of radix 100000.
inline int life_table(const int32_t* r) {
  int64_t l = 100000 - RESCALE(100000, r[0], 1000000), s = 0;
  for (int a = 0; a < 110; ++a) {
    const int64_t d = RESCALE(l, r[a < 80 ? a / 5 + 1 : 17], 1000000);
    s += d * a + h(d);
    l -= d;
  }
  return static_cast<int>((s + l * 110 + h(l) + 500) / 1000);
}

inline void tfr_target(int64_t target, int32_t* r) {
  const int64_t c = tfr(r);
  if (c == target || c == 0) return;
  for (int i = 0; i < 9; ++i) r[i] = cut(RESCALE(r[i], target, c));
}

// A first proportional scaling, then at most nine secant steps.
inline void life_target(int64_t target, int32_t* r, bool include_infant) {
  int64_t c = life_table(r), p = 100000;
  if (std::abs(c - target) < 5 || target <= 0) return;
  int32_t o[18];
  std::copy(r, r + 18, o);
  const int first = include_infant ? 0 : 1;
  int64_t scale = (c * 100000 + h(target)) / target;
  for (int i = first; i < 18; ++i) r[i] = cut((o[i] * c + h(target)) / target);
  int64_t n = life_table(r);
  for (int k = 1; k < 10 && (n + 5) / 10 != (target + 5) / 10 && scale != p && n != c; ++k) {
    const int64_t q = RESCALE(target - c, scale - p, n - c) + p;
    p = scale;
    scale = q < 0 ? h(p) : q;
    c = n;
    for (int i = first; i < 18; ++i) r[i] = cut(RESCALE(o[i], scale, 100000));
    n = life_table(r);
  }
}

// One year of the linear approach of v to target T due in year Y (T itself from Y on).
inline int32_t approach(int64_t v, int64_t T, int64_t Y, int64_t year) {
  return static_cast<int32_t>(year >= Y ? T : v + (T - v + h(Y - year)) / (Y - year));
}

// A country file's figures into the record a run starts from: groups scaled to the
// stated total, rates per million scaled to the stated TFR and life expectancy, the
// female advantage from the female death rates (female infants over female births).
inline void convert(const ReadinInfo& raw, CountryInfo* c) {
  const int64_t k = 1000000 / raw.scale_factor;
  int64_t sum = 0, msum = 0, fsum = 0;
  for (int i = 1; i <= 17; ++i) sum += int64_t{raw.male_pop[i]} + raw.fem_pop[i];
  for (int i = 1; i <= 17; ++i) {
    c->male_1990_pop[i] = RESCALE(raw.male_pop[i], raw.total_pop_1990, sum);
    c->fem_1990_pop[i] = RESCALE(raw.fem_pop[i], raw.total_pop_1990, sum);
    msum += c->male_1990_pop[i], fsum += c->fem_1990_pop[i];
  }
  c->male_1990_pop[0] = static_cast<int32_t>(msum), c->fem_1990_pop[0] = static_cast<int32_t>(fsum);
  for (int i = 0; i < 9; ++i) c->tot_birthrate[i] = RESCALE(raw.tot_births[i + 1], k, c->fem_1990_pop[i + 3]);
  tfr_target(raw.tot_fertility_1990, c->tot_birthrate);
  int32_t female[18] = {RESCALE(raw.fem_deaths[1], 1000000, raw.fem_births[0])};
  c->tot_deathrate[0] = raw.infant_deaths_1990 * 100;
  for (int i = 1; i < 18; ++i) {
    c->tot_deathrate[i] = RESCALE(raw.tot_deaths[i + 1], k, int64_t{c->male_1990_pop[i]} + c->fem_1990_pop[i]);
    female[i] = RESCALE(raw.fem_deaths[i + 1], k, c->fem_1990_pop[i]);
  }
  const int64_t lf = life_table(female), lt = life_table(c->tot_deathrate);
  c->life_adjust = static_cast<int32_t>(((lf - lt) * 1000 + h(lt)) / lt);
  life_target(raw.life_expect_1990, c->tot_deathrate, false);
  c->life_expectancy = raw.life_expect_1990, c->tot_fertility_rate = raw.tot_fertility_1990;
  c->life_expect_2000 = raw.life_expect_2000, c->tot_fertility_2000 = raw.tot_fertility_2000;
  c->infant_deaths_2000 = raw.infant_deaths_2000 * 100;
  c->mig = raw.mig;
}

// Time point 0 of a run of country c from `year`; an expected run aims at the
// country's figures of year + 10.
inline VKStatetype start(const CountryInfo& c, int year, bool expected) {
  VKStatetype s{};
  s.year = year;
  for (int g = 0; g < 17; ++g) s.male_pop[0][g] = c.male_1990_pop[g + 1], s.fem_pop[0][g] = c.fem_1990_pop[g + 1];
  std::copy(c.tot_birthrate, c.tot_birthrate + 9, s.birthrate[0]);
  std::copy(c.tot_deathrate, c.tot_deathrate + 18, s.deathrate[0]);
  s.totpop[0] = c.male_1990_pop[0] + c.fem_1990_pop[0];
  s.mig[0] = s.mig_targ_val[0] = c.mig;
  const int64_t births = std::accumulate(c.tot_birthrate, c.tot_birthrate + 9, int64_t{0});
  s.tfr_targ_val[0] = static_cast<int32_t>((500 * births + 500000) / 1000000);
  s.lifex_targ_val[0] = c.life_expectancy;
  s.infmort_targ_val[0] = s.infmort_targ_year[0] = -1;
  s.tfr_targ_year[0] = s.lifex_targ_year[0] = s.mig_targ_year[0] = year;
  if (expected) {
    s.tfr_targ_val[0] = c.tot_fertility_2000, s.lifex_targ_val[0] = c.life_expect_2000;
    s.infmort_targ_val[0] = c.infant_deaths_2000;
    s.tfr_targ_year[0] = s.lifex_targ_year[0] = s.infmort_targ_year[0] = year + 10;
  }
  return s;
}

// One five-year step, la the female advantage in thousandths.
inline void step(VKStatetype& s, int64_t la) {
  const int t = ++s.stepcnt;
  int64_t total = 0;
  for (int g = 0; g < 17; ++g) total += int64_t{s.male_pop[t - 1][g]} + s.fem_pop[t - 1][g];
  s.totpop[t] = static_cast<int32_t>(total);
  for (auto* a : {s.tfr_targ_val, s.tfr_targ_year, s.lifex_targ_val, s.lifex_targ_year, s.infmort_targ_val,
                  s.infmort_targ_year, s.mig_targ_val, s.mig_targ_year, s.mig})
    a[t] = a[t - 1];
  std::copy(s.male_pop[t - 1], s.male_pop[t - 1] + 17, s.male_pop[t]);
  std::copy(s.fem_pop[t - 1], s.fem_pop[t - 1] + 17, s.fem_pop[t]);
  std::copy(s.birthrate[t - 1], s.birthrate[t - 1] + 9, s.birthrate[t]);
  std::copy(s.deathrate[t - 1], s.deathrate[t - 1] + 18, s.deathrate[t]);
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
    // The targets move one year.
    const int v = tfr(s.birthrate[t]);
    if (v != s.tfr_targ_val[t]) tfr_target(approach(v, s.tfr_targ_val[t], s.tfr_targ_year[t], s.year), s.birthrate[t]);
    int32_t* r = s.deathrate[t];
    if (s.year == s.lifex_targ_year[t]) s.infmort_targ_year[t] = -1;
    const bool infant_target = s.infmort_targ_year[t] > s.year;
    if (infant_target) {
      const int64_t y = s.infmort_targ_year[t] - s.year;
      r[0] = cut(r[0] + (s.infmort_targ_val[t] - r[0] + h(y)) / y);
    }
    const int e = life_table(r);
    if (e != s.lifex_targ_val[t]) life_target(approach(e, s.lifex_targ_val[t], s.lifex_targ_year[t], s.year), r, !infant_target);
    if (s.mig[t] != s.mig_targ_val[t]) s.mig[t] = approach(s.mig[t], s.mig_targ_val[t], s.mig_targ_year[t], s.year);
    if (m != 0)
      for (int a = 0; a < 85; ++a) {
        M[a] = clamp0(int64_t{M[a]} + RESCALE(m, Mmig[a / 5], 500));
        F[a] = clamp0(int64_t{F[a]} + RESCALE(m, Fmig[a / 5], 500));
      }
    s.year += 1;
  }
  total = 0;
  for (int g = 0; g < 17; ++g) {
    s.male_pop[t][g] = static_cast<int32_t>(group(M, 5 * g)), s.fem_pop[t][g] = static_cast<int32_t>(group(F, 5 * g));
    total += int64_t{s.male_pop[t][g]} + s.fem_pop[t][g];
  }
  s.totpop[t] = static_cast<int32_t>(total);
  if (s.tfr_targ_year[t] < s.year) s.tfr_targ_year[t] = s.year, s.tfr_targ_val[t] = tfr(s.birthrate[t]);
  if (s.lifex_targ_year[t] < s.year) s.lifex_targ_year[t] = s.year, s.lifex_targ_val[t] = life_table(s.deathrate[t]);
  if (s.infmort_targ_year[t] < s.year) s.infmort_targ_year[t] = s.year, s.infmort_targ_val[t] = s.deathrate[t][0];
  if (s.mig_targ_year[t] < s.year) s.mig_targ_year[t] = s.year, s.mig_targ_val[t] = s.mig[t];
}

}  // namespace ref
