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
// RESCALE with its path fixed at compile time, so that the engine's loops do not
// test HasFPU at every product (each public entry point picks the path once).
// The results are RESCALE's on that path, bit for bit.
template <bool kFPU>
inline int32_t rs(int64_t a64, int64_t b64, int64_t c64) {
  const int32_t a = static_cast<int32_t>(a64), b = static_cast<int32_t>(b64), c = static_cast<int32_t>(c64);
  if (c == 0) return 0;
  if (a >= 0 && b >= 0 && c > 0) {
    // The common case, where both paths agree: floor((2ab + c) / 2c).
    const uint64_t p = static_cast<uint64_t>(a) * static_cast<uint32_t>(b);
    const uint64_t q = (2 * p + static_cast<uint32_t>(c)) / (2 * static_cast<uint64_t>(c));
    if (q <= INT32_MAX && p < (uint64_t{1} << 61)) return static_cast<int32_t>(q);
  }
  // Both paths round the magnitude half up and put the sign back; they differ
  // only beyond 32 bits (held at the end, or fatal).
  const bool negative = ((a < 0) != (b < 0)) != (c < 0);
  const uint64_t ma = a < 0 ? 0 - static_cast<uint64_t>(int64_t{a}) : static_cast<uint64_t>(a);
  const uint64_t mb = b < 0 ? 0 - static_cast<uint64_t>(int64_t{b}) : static_cast<uint64_t>(b);
  const uint64_t mc = c < 0 ? 0 - static_cast<uint64_t>(int64_t{c}) : static_cast<uint64_t>(c);
  if constexpr (kFPU) {
    if (ma * mb >= uint64_t{1} << 61) return rescale_extended(a, b, c);
  }
  const uint64_t q = (2 * (ma * mb) + mc) / (2 * mc);
  if (q > (negative ? uint64_t{1} << 31 : uint64_t{INT32_MAX})) {
    if constexpr (kFPU) return negative ? INT32_MIN : INT32_MAX;
    return rescale_integer(a, b, c);  // fatal
  }
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}

// RESCALE(a[j], b, c) for five numerators sharing b and c (the single-year
// scaling of a group), with one division instead of five: a hardware division by
// a variable is the slowest step of the projection. For a numerator n = 2|ab| + |c|
// with 0 <= n < 2^51 the quotient by D = 2c is taken as
// n * (1 / D) in double, whose error is below 1/4, and corrected by one integer
// step to the exact floor; other operands take the plain route.
template <bool kFPU>
inline void rs_five(const int64_t* a, int64_t b64, int64_t c64, int32_t* out) {
  const int32_t b = static_cast<int32_t>(b64), c = static_cast<int32_t>(c64);
  if (c == 0) {
    for (int j = 0; j < 5; ++j) out[j] = 0;
    return;
  }
  constexpr int64_t kExact = int64_t{1} << 51;
  const int64_t mc = c < 0 ? -int64_t{c} : c;
  const int64_t D = 2 * mc;
  const double inverse = 1.0 / static_cast<double>(D);
  for (int j = 0; j < 5; ++j) {
    const int32_t aj = static_cast<int32_t>(a[j]);
    int64_t p = int64_t{aj} * b;
    const bool negative = (p < 0) != (c < 0);  // both paths round the magnitude
    if (p < 0) p = -p;
    if (p >= kExact / 2) {
      out[j] = rs<kFPU>(aj, b, c);
      continue;
    }
    const int64_t n = 2 * p + mc;  // below 2^51 + 2^31
    int64_t q = static_cast<int64_t>(static_cast<double>(n) * inverse);
    const int64_t r = n - q * D;
    if (r < 0) --q;
    else if (r >= D) ++q;
    if (q > INT32_MAX) {
      out[j] = rs<kFPU>(aj, b, c);  // held at the end of the range, or fatal
      continue;
    }
    out[j] = static_cast<int32_t>(negative ? -q : q);
  }
}

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
// Once the year has reached Y the value aimed at is T itself: the remaining
// distance divided by a year count of zero or less would move v away from T (a
// target dated the first year of a step, reached only to within rounding, would
// drift further every year and be recorded drifted at the step's end).
int32_t approach(int64_t v, int64_t T, int64_t Y, int64_t year) {
  if (year >= Y) return static_cast<int32_t>(T);
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

// Survivors of a value over one year at a rate per million.
template <bool F>
inline int64_t survive(int64_t value, int32_t rate) {
  return value - rs<F>(value, rate, kMillion);
}

// Whether every entry lies in [0, limit), limit a power of two.
inline bool all_below(const int32_t* v, int n, uint32_t limit) {
  uint32_t bits = 0;
  for (int i = 0; i < n; ++i) bits |= static_cast<uint32_t>(v[i]);
  return bits < limit;
}

constexpr uint32_t kSmallValue = uint32_t{1} << 30;  // populations in tenths
constexpr uint32_t kSmallRate = uint32_t{1} << 21;   // rates per million
constexpr uint32_t kSurvivalRate = uint32_t{1} << 20;  // rates of survivors(): below 1.05 million

// The vector kernels below compute RESCALE for operands in ranges where both of
// its paths agree on floor((2ab + c) / 2c) and where that numerator x stays below
// 2^53, so that it is exact in a double. Then the correctly rounded quotient
// x / 2c lies within x * 2^-53 < 1 / 2c of the true one, closer than any integer
// it does not equal, and truncating it gives the floor exactly. The loops run on
// vector registers (with AVX2 where the processor has it).
#if defined(__x86_64__) && defined(__GNUC__)
#define VK_VECTOR_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define VK_VECTOR_KERNEL
#endif

// out[i] = value[i] - RESCALE(value[i], rate[i], 1000000): the survivors of a
// year, for values below 2^30 and rates below 2^20 (so the quotient fits 32 bits).
VK_VECTOR_KERNEL void survivors(const int32_t* __restrict value, const int32_t* __restrict rate,
                                int32_t* __restrict out, int n) {
  for (int i = 0; i < n; ++i)
    out[i] = value[i] - static_cast<int32_t>((2.0 * static_cast<double>(value[i]) * rate[i] + 1e6) / 2e6);
}

// out[i] = RESCALE(value[i], rate[i], 100000) for values below 2^26 and rates
// below 2^21 (the quotient then fits 32 bits).
VK_VECTOR_KERNEL void small_quotients(const int32_t* __restrict value, const int32_t* __restrict rate,
                                      int32_t* __restrict out, int n) {
  for (int i = 0; i < n; ++i)
    out[i] = static_cast<int32_t>((2.0 * static_cast<double>(value[i]) * rate[i] + 1e5) / 2e5);
}
constexpr uint32_t kSmallCount = uint32_t{1} << 26;

// The sex split of the death rates: adj = (D * la + 500) / 1000 truncated toward
// zero, female D - adj, male D + adj, for rates 0 <= D < 2^21 and |la| < 10^5 (the
// numerator is then exact in a double and adj well within 32 bits).
VK_VECTOR_KERNEL void split_rates(const int32_t* __restrict D, double la, int32_t* __restrict female,
                                  int32_t* __restrict male, int n) {
  for (int i = 0; i < n; ++i) {
    const int32_t adj = static_cast<int32_t>((static_cast<double>(D[i]) * la + 500.0) / 1000.0);
    female[i] = D[i] - adj;
    male[i] = D[i] + adj;
  }
}

// The sum of RESCALE(value[i], rate[i], 1000000) for values below 2^30 and rates
// below 2^20 (births: women who live through the year by the birth rate).
VK_VECTOR_KERNEL int64_t sum_of_quotients(const int32_t* __restrict value, const int32_t* __restrict rate, int n) {
  int64_t sum = 0;
  for (int i = 0; i < n; ++i)
    sum += static_cast<int32_t>((2.0 * static_cast<double>(value[i]) * rate[i] + 1e6) / 2e6);
  return sum;
}

// out[i] = RESCALE(rate[i], E[i], W[i]) for rates below 2^21, 0 <= E < 2^30,
// 0 < W < 2^31 and quotients below 2^31 (the caller checks): the single-year
// scaling, where E and W repeat over a group's five ages.
VK_VECTOR_KERNEL void group_quotients(const int32_t* __restrict rate, const int32_t* __restrict E,
                                      const int32_t* __restrict W, int32_t* __restrict out, int n) {
  for (int i = 0; i < n; ++i) {
    const double w = W[i];
    out[i] = static_cast<int32_t>((2.0 * static_cast<double>(rate[i]) * E[i] + w) / (2.0 * w));
  }
}

template <bool F>
void spread_sex(const int32_t* groups, int32_t* single) {
  int64_t ext[VK_GROUPS + 2];
  ext[0] = 2 * int64_t{groups[0]} - groups[1];
  for (int g = 0; g < VK_GROUPS; ++g) ext[g + 1] = groups[g];
  ext[VK_GROUPS + 1] = 2 * int64_t{groups[VK_GROUPS - 1]} - groups[VK_GROUPS - 2];
  int64_t v[VK_SINGLE_YEARS], sum[VK_GROUPS];
  bool quick = true;
  for (int g = 0; g < VK_GROUPS; ++g) {
    const int64_t P = ext[g], G = ext[g + 1], N = ext[g + 2];
    int64_t* y = v + 5 * g;
    y[0] = (8 * P + 12 * G + 5) / 10;
    y[1] = (4 * P + 16 * G + 5) / 10;
    y[2] = 2 * G;
    y[3] = (16 * G + 4 * N + 5) / 10;
    y[4] = (12 * G + 8 * N + 5) / 10;
    sum[g] = 0;
    int64_t top = 0;
    for (int j = 0; j < 5; ++j) {
      if (y[j] < 0) y[j] = 0;
      sum[g] += y[j];
      top = std::max(top, y[j]);
    }
    // Each single year becomes RESCALE(y, 10 G, sum): the quick route needs
    // y < 2^21, 0 <= 10 G < 2^30, 0 < sum < 2^31 and quotients within 32 bits.
    quick = quick && top < kSmallRate && G >= 0 && 10 * G < kSmallValue && sum[g] < INT32_MAX &&
            (sum[g] == 0 || static_cast<double>(top) * 10 * G / static_cast<double>(sum[g]) < 2.1e9);
  }
  if (quick) {
    int32_t y[VK_SINGLE_YEARS], E[VK_SINGLE_YEARS], W[VK_SINGLE_YEARS];
    for (int g = 0; g < VK_GROUPS; ++g)
      for (int j = 0; j < 5; ++j) {
        const int a = 5 * g + j;
        y[a] = static_cast<int32_t>(v[a]);
        E[a] = sum[g] == 0 ? 0 : static_cast<int32_t>(10 * ext[g + 1]);  // RESCALE by 0 is 0
        W[a] = sum[g] == 0 ? 1 : static_cast<int32_t>(sum[g]);
      }
    group_quotients(y, E, W, single, VK_SINGLE_YEARS);
  } else {
    for (int g = 0; g < VK_GROUPS; ++g) rs_five<F>(v + 5 * g, 10 * ext[g + 1], sum[g], single + 5 * g);
  }
}

template <bool F>
int life_expect(const int32_t* r) {
  // The projection asks for the same table several times in a row (the check of
  // a target and the scaling toward it): the last answer is kept.
  static int32_t last_rates[VK_DEATHRATES];
  static int last_result = -1;
  if (last_result >= 0 && std::memcmp(last_rates, r, sizeof last_rates) == 0) return last_result;
  int64_t l = 100000 - rs<F>(100000, r[0], kMillion);
  int64_t s = 0;
  for (int a = 0; a < 80; ++a) {
    const int64_t d = rs<F>(l, r[a / 5 + 1], kMillion);
    s += d * a + h(d);
    l -= d;
  }
  for (int a = 80; a < 110; ++a) {
    const int64_t d = rs<F>(l, r[17], kMillion);
    s += d * a + h(d);
    l -= d;
  }
  const int result = static_cast<int>((s + l * 110 + h(l) + 500) / 1000);
  if (result >= 0) {
    std::memcpy(last_rates, r, sizeof last_rates);
    last_result = result;
  }
  return result;
}

template <bool F>
void tfr_target(int target, int32_t* r) {
  const int c = get_TFR(r);
  if (c == target) return;
  if (MXDebug) MXelog(0, "Debug: Scaling TFR from %d to %d\n", c, target);
  if (c == 0) return;
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) r[i] = cut(rs<F>(r[i], target, c));
}

template <bool F>
void life_target(int target, int32_t* r, int include_infant) {
  int64_t c = life_expect<F>(r);
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
  int64_t n = life_expect<F>(r);
  int k = 1;
  if (MXDebug) MXelog(0, "Debug: Iteration %d: %ld, scale %ld\n", k, static_cast<long>(n), static_cast<long>(scale));
  while (k < 10) {
    if ((n + 5) / 10 == (int64_t{target} + 5) / 10 || scale == p || n == c) break;
    const int64_t q = rs<F>(target - c, scale - p, n - c) + p;
    p = scale;
    scale = q < 0 ? h(p) : q;
    c = n;
    for (int i = first; i < VK_DEATHRATES; ++i) r[i] = cut(rs<F>(o[i], scale, 100000));
    n = life_expect<F>(r);
    ++k;
    if (MXDebug)
      MXelog(0, "MXDebug: Iteration %d: %ld, scale %ld\n", k, static_cast<long>(n), static_cast<long>(scale));
  }
}

template <bool F>
void tfr_variant(VKStatetype* s) {
  const int t = s->stepcnt;
  const int v = get_TFR(s->birthrate[t]);
  if (v == s->tfr_targ_val[t]) return;
  tfr_target<F>(approach(v, s->tfr_targ_val[t], s->tfr_targ_year[t], s->year), s->birthrate[t]);
}

template <bool F>
void life_variant(VKStatetype* s) {
  const int t = s->stepcnt;
  int32_t* r = s->deathrate[t];
  if (s->year == s->lifex_targ_year[t]) s->infmort_targ_year[t] = -1;
  int include_infant = 1;
  if (s->infmort_targ_year[t] > s->year) {
    const int64_t d = int64_t{s->infmort_targ_year[t]} - s->year;
    r[0] = cut(r[0] + (int64_t{s->infmort_targ_val[t]} - r[0] + h(d)) / d);
    include_infant = 0;
  }
  const int v = life_expect<F>(r);
  if (v == s->lifex_targ_val[t]) return;
  life_target<F>(approach(v, s->lifex_targ_val[t], s->lifex_targ_year[t], s->year), r, include_infant);
}

template <bool F>
void brates(const VKStatetype* s, const int32_t* f, int32_t* b) {
  const int t = s->stepcnt;
  int64_t R[VK_BIRTHGROUPS + 2];
  R[0] = 0;
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) R[i + 1] = s->birthrate[t][i];
  R[VK_BIRTHGROUPS + 1] = 0;
  constexpr int kAges = 5 * VK_BIRTHGROUPS, kFirst = 10;
  int64_t rate[kAges];
  int32_t rate32[kAges], births_of[kAges];
  bool quick = all_below(f + kFirst, kAges, kSmallCount);
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) spread_rate(R[i], R[i + 1], R[i + 2], rate + 5 * i);
  uint64_t rate_bits = 0;
  for (int a = 0; a < kAges; ++a) {
    rate32[a] = static_cast<int32_t>(rate[a]);
    rate_bits |= static_cast<uint64_t>(rate[a]);
  }
  quick = quick && rate_bits < kSmallRate;
  if (quick) {
    small_quotients(f + kFirst, rate32, births_of, kAges);
  } else {
    for (int a = 0; a < kAges; ++a) births_of[a] = rs<F>(rate[a], f[kFirst + a], 100000);
  }
  int32_t E[kAges], W[kAges];
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) {
    const int a0 = 5 * i;
    int64_t w = 0;
    for (int j = 0; j < 5; ++j) w += births_of[a0 + j];
    // The group's births this year come from the women in it now, not from the
    // group as it stood when the five-year step began. No births, no rates.
    const int32_t births = w == 0 ? 0 : rs<F>(R[i + 1], group_now(f, kFirst + a0), 10000);
    const int64_t top = std::max({rate[a0], rate[a0 + 1], rate[a0 + 2], rate[a0 + 3], rate[a0 + 4]});
    quick &= (w < INT32_MAX) & (static_cast<uint32_t>(births) < kSmallValue) &
             (static_cast<double>(top) * births <= 2.1e9 * static_cast<double>(w));
    const int32_t w32 = w == 0 || w >= INT32_MAX ? 1 : static_cast<int32_t>(w);
    for (int j = 0; j < 5; ++j) E[a0 + j] = births, W[a0 + j] = w32;
  }
  if (quick) {
    group_quotients(rate32, E, W, b + kFirst, kAges);
  } else {
    for (int i = 0; i < VK_BIRTHGROUPS; ++i) {
      const int a0 = 5 * i;
      int64_t w = 0;
      for (int j = 0; j < 5; ++j) w += births_of[a0 + j];
      if (w == 0) {
        for (int j = 0; j < 5; ++j) b[kFirst + a0 + j] = 0;
        continue;
      }
      rs_five<F>(rate + a0, rs<F>(R[i + 1], group_now(f, kFirst + a0), 10000), w, b + kFirst + a0);
    }
  }
  for (int a = 0; a < VK_SINGLE_YEARS; ++a) b[a] = cut(b[a]);
}

template <bool F>
void drates(const VKStatetype* s, const int32_t* m, const int32_t* f, int32_t* d) {
  const int t = s->stepcnt;
  int64_t R[VK_GROUPS + 2];
  for (int g = 1; g <= VK_GROUPS; ++g) R[g] = s->deathrate[t][g];
  R[0] = std::max<int64_t>(2 * R[1] - R[2], 0);
  R[VK_GROUPS + 1] = std::max<int64_t>(2 * R[VK_GROUPS] - R[VK_GROUPS - 1], 0);
  int64_t rate[VK_SINGLE_YEARS];
  int32_t rate32[VK_SINGLE_YEARS], people[VK_SINGLE_YEARS], deaths_of[VK_SINGLE_YEARS];
  for (int g = 0; g < VK_GROUPS; ++g) spread_rate(R[g], R[g + 1], R[g + 2], rate + 5 * g);
  rate[0] = 0;  // infant mortality acts on the births instead
  bool quick = all_below(m, VK_SINGLE_YEARS, kSmallCount / 2) && all_below(f, VK_SINGLE_YEARS, kSmallCount / 2);
  uint64_t rate_bits = 0;
  for (int a = 0; a < VK_SINGLE_YEARS; ++a) {
    rate32[a] = static_cast<int32_t>(rate[a]);
    rate_bits |= static_cast<uint64_t>(rate[a]);
    // Summed without overflow whatever the figures; used only when both are small.
    people[a] = static_cast<int32_t>(static_cast<uint32_t>(m[a]) + static_cast<uint32_t>(f[a]));
  }
  quick = quick && rate_bits < kSmallRate;
  if (quick) {
    small_quotients(people, rate32, deaths_of, VK_SINGLE_YEARS);
  } else {
    for (int a = 0; a < VK_SINGLE_YEARS; ++a) deaths_of[a] = rs<F>(rate[a], int64_t{m[a]} + f[a], 100000);
  }
  int32_t E[VK_SINGLE_YEARS], W[VK_SINGLE_YEARS];
  for (int g = 0; g < VK_GROUPS; ++g) {
    const int a0 = 5 * g;
    int64_t w = 0;
    for (int j = 0; j < 5; ++j) w += deaths_of[a0 + j];
    // Deaths of the group this year, from the people in it now (each sex rounded
    // as its group is, so that the first year of a step sees the stored groups).
    const int32_t deaths = w == 0 ? 0 : rs<F>(R[g + 1], group_now(m, a0) + group_now(f, a0), 10000);
    const int64_t top = std::max({rate[a0], rate[a0 + 1], rate[a0 + 2], rate[a0 + 3], rate[a0 + 4]});
    quick &= (w < INT32_MAX) & (static_cast<uint32_t>(deaths) < kSmallValue) &
             (static_cast<double>(top) * deaths <= 2.1e9 * static_cast<double>(w));
    const int32_t w32 = w == 0 || w >= INT32_MAX ? 1 : static_cast<int32_t>(w);
    for (int j = 0; j < 5; ++j) E[a0 + j] = deaths, W[a0 + j] = w32;
  }
  if (quick) {
    group_quotients(rate32, E, W, d, VK_SINGLE_YEARS);
  } else {
    for (int g = 0; g < VK_GROUPS; ++g) {
      const int a0 = 5 * g;
      int64_t w = 0;
      for (int j = 0; j < 5; ++j) w += deaths_of[a0 + j];
      if (w == 0) {
        for (int j = 0; j < 5; ++j) d[a0 + j] = 0;
        continue;
      }
      rs_five<F>(rate + a0, rs<F>(R[g + 1], group_now(m, a0) + group_now(f, a0), 10000), w, d + a0);
    }
  }
  for (int a = 0; a < VK_SINGLE_YEARS; ++a) d[a] = cut(d[a]);
}

template <bool F>
void project_step(VKStatetype* s) {
  const int t = s->stepcnt;
  const int64_t la = Country[Cdisp].life_adjust;
  copypt(s);
  const int32_t m = s->mig[t];
  // A year's migrants by single year of age (the same every year of the step).
  int32_t male_mig[VK_GROUPS], fem_mig[VK_GROUPS];
  for (int g = 0; g < VK_GROUPS; ++g) {
    male_mig[g] = rs<F>(m, Mmig[g], 500);
    fem_mig[g] = rs<F>(m, Fmig[g], 500);
  }
  std::memset(brate, 0, VK_SINGLE_YEARS * sizeof *brate);
  spread_sex<F>(s->male_pop[t], male);
  spread_sex<F>(s->fem_pop[t], fem);

  int32_t mrate[VK_SINGLE_YEARS], frate[VK_SINGLE_YEARS];
  for (int year = 0; year < 5; ++year) {
    brates<F>(s, fem, brate);
    drates<F>(s, male, fem, drate);
    // Sex split of the death rates by the female life-expectancy advantage.
    if (la > -100000 && la < 100000 && all_below(drate, VK_SINGLE_YEARS, kSmallRate)) {
      split_rates(drate, static_cast<double>(la), frate, mrate, VK_SINGLE_YEARS);
    } else {
      for (int a = 0; a < VK_SINGLE_YEARS; ++a) {
        const int64_t D = drate[a];
        const int64_t adj = (D * la + 500) / 1000;
        frate[a] = static_cast<int32_t>(D - adj);
        mrate[a] = static_cast<int32_t>(D + adj);
      }
    }
    // Each age's survivors of the year; the plain route for values out of the
    // range where the quick one is exact (never met with real data).
    int64_t male_left[VK_SINGLE_YEARS], fem_left[VK_SINGLE_YEARS];
    const bool quick = all_below(male, VK_SINGLE_YEARS, kSmallValue) && all_below(fem, VK_SINGLE_YEARS, kSmallValue) &&
                       all_below(mrate, VK_SINGLE_YEARS, kSurvivalRate) &&
                       all_below(frate, VK_SINGLE_YEARS, kSurvivalRate);
    if (quick) {
      int32_t left[VK_SINGLE_YEARS];
      survivors(male, mrate, left, VK_SINGLE_YEARS);
      for (int a = 0; a < VK_SINGLE_YEARS; ++a) male_left[a] = left[a];
      survivors(fem, frate, left, VK_SINGLE_YEARS);
      for (int a = 0; a < VK_SINGLE_YEARS; ++a) fem_left[a] = left[a];
    } else {
      for (int a = 0; a < VK_SINGLE_YEARS; ++a) {
        male_left[a] = survive<F>(male[a], mrate[a]);
        fem_left[a] = survive<F>(fem[a], frate[a]);
      }
    }
    // Births to the women who live through the year, and the infants who survive.
    // No births outside 10-54: the rate there is 0.
    int64_t births = 0;
    int32_t left[45];
    for (int a = 0; a < 45; ++a) left[a] = static_cast<int32_t>(fem_left[10 + a]);  // quick: within 32 bits
    if (quick && all_below(left, 45, kSmallValue) && all_below(brate + 10, 45, kSurvivalRate)) {
      births = sum_of_quotients(left, brate + 10, 45);
    } else {
      for (int a = 10; a < 55; ++a) births += rs<F>(fem_left[a], brate[a], kMillion);
    }
    const int64_t born = births - rs<F>(births, s->deathrate[t][0], kMillion);

    // The open group 84+ keeps its survivors and takes in those of age 83.
    const int last = VK_SINGLE_YEARS - 1;
    int64_t v = male[last] + male_left[last - 1];
    male[last] = floor0(v - rs<F>(v, mrate[last], kMillion));
    v = fem[last] + fem_left[last - 1];
    fem[last] = floor0(v - rs<F>(v, frate[last], kMillion));
    for (int a = last - 1; a >= 1; --a) {
      male[a] = floor0(male_left[a - 1]);
      fem[a] = floor0(fem_left[a - 1]);
    }
    // About 105 boys are born for every 100 girls: 51.2 per cent are male.
    const int32_t boys = rs<F>(born, 512, 1000);
    male[0] = floor0(survive<F>(boys, mrate[0]));
    fem[0] = floor0(survive<F>(born - boys, frate[0]));

    tfr_variant<F>(s);
    life_variant<F>(s);
    calc_sim_mig_variant(s);

    if (m != 0) {
      for (int a = 0; a < VK_SINGLE_YEARS; ++a) {
        male[a] = floor0(int64_t{male[a]} + male_mig[a / 5]);
        fem[a] = floor0(int64_t{fem[a]} + fem_mig[a / 5]);
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
    s->lifex_targ_val[t] = life_expect<F>(s->deathrate[t]);
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

int get_life_expect(const int32_t* r) { return HasFPU ? life_expect<true>(r) : life_expect<false>(r); }

void set_to_tfr_target(int target, int32_t* r) {
  if (HasFPU) tfr_target<true>(target, r);
  else tfr_target<false>(target, r);
}

void set_to_life_target(int target, int32_t* r, int include_infant) {
  if (HasFPU) life_target<true>(target, r, include_infant);
  else life_target<false>(target, r, include_infant);
}

void calc_sim_tfr_variant(VKStatetype* s) {
  if (HasFPU) tfr_variant<true>(s);
  else tfr_variant<false>(s);
}

void calc_sim_life_variant(VKStatetype* s) {
  if (HasFPU) life_variant<true>(s);
  else life_variant<false>(s);
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
  if (HasFPU) {
    spread_sex<true>(s->male_pop[t], m);
    spread_sex<true>(s->fem_pop[t], f);
  } else {
    spread_sex<false>(s->male_pop[t], m);
    spread_sex<false>(s->fem_pop[t], f);
  }
}

void setup_brate(const VKStatetype* s, const int32_t* f, int32_t* b) {
  if (HasFPU) brates<true>(s, f, b);
  else brates<false>(s, f, b);
}

void setup_drate(const VKStatetype* s, const int32_t* m, const int32_t* f, int32_t* d) {
  if (HasFPU) drates<true>(s, m, f, d);
  else drates<false>(s, m, f, d);
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
  if (HasFPU) project_step<true>(s);
  else project_step<false>(s);
}

int32_t rebuild_birthrate(int bar, const VKStatetype* s, const int32_t* F, int t) {
  if (bar == 4) return static_cast<int32_t>((int64_t{s->birthrate[t][8]} + 500) / 1000);
  const int64_t w1 = F[2 * bar + 2], w2 = F[2 * bar + 3], w = w1 + w2;
  if (w == 0) return 0;
  return static_cast<int32_t>(
      (int64_t{RESCALE(s->birthrate[t][2 * bar], w1, w)} + RESCALE(s->birthrate[t][2 * bar + 1], w2, w) + 500) /
      1000);
}

int32_t rebuild_deathrate(int bar, const VKStatetype* s, const int32_t* M, const int32_t* F, int t) {
  if (bar == 8) return static_cast<int32_t>((int64_t{s->deathrate[t][17]} + 500) / 1000);
  const int64_t w1 = int64_t{M[2 * bar]} + F[2 * bar];
  const int64_t w2 = int64_t{M[2 * bar + 1]} + F[2 * bar + 1];
  const int64_t w = w1 + w2;
  if (w == 0) return 0;
  return static_cast<int32_t>(
      (int64_t{RESCALE(s->deathrate[t][2 * bar + 1], w1, w)} + RESCALE(s->deathrate[t][2 * bar + 2], w2, w) + 500) /
      1000);
}
