// RESCALE: a x b / c rounded to an integer, the arithmetic primitive of the country
// conversion and the projection. Two paths exist and both are kept exactly:
//   - with HasFPU set: the quotient in extended precision, rounded half away from
//     zero (2.5 gives 3, -2.7 gives -3); a quotient beyond 32 bits is held at the
//     end of the range;
//   - without it: exact 64-bit integer product, magnitudes rounded half up, the
//     sign of the three operands put back afterwards (-2.7 gives -3); a result
//     that does not fit 32 bits ends the program.
// c = 0 gives 0 on both paths. Both paths round a negative quotient as the mirror
// of the positive one. (Adding 0.5 and truncating toward zero, as the floating
// path once did, rounds -2.7 to -2: shares of a net emigration spread over the
// single years of age were then mostly lost, a one-sided error of more than half
// the emigrants in files counted in thousands.)
//
// The function is inline because the projection calls it tens of thousands of
// times per run, mostly with constant divisors. The fast floating path computes in
// integers: for |a x b| < 2^61 the extended-precision quotient cannot move the
// magnitude across a half (its error stays below 1 / (2c), the smallest distance of
// |a x b / c| + 0.5 from an integer), so (2|ab| + |c|) / 2|c| with the sign put back
// gives the very same result; larger products take the long double route itself.
#pragma once
#include <cstdint>

#include "startup/filenames.h"

// The slow paths (out of line): the long double computation, and the integer path
// including its fatal overflow message.
int32_t rescale_extended(int32_t a, int32_t b, int32_t c);
int32_t rescale_integer(int32_t a, int32_t b, int32_t c);

inline int32_t RESCALE(int64_t a64, int64_t b64, int64_t c64) {
  // Operands are 32-bit values in this system; wider arguments are narrowed as a
  // 32-bit machine would hold them.
  const int32_t a = static_cast<int32_t>(a64);
  const int32_t b = static_cast<int32_t>(b64);
  int32_t c = static_cast<int32_t>(c64);
  if (c == 0) return 0;
  if (!HasFPU) return rescale_integer(a, b, c);
  int64_t p = static_cast<int64_t>(a) * b;
  constexpr int64_t kLimit = int64_t{1} << 61;
  if (p >= kLimit || p <= -kLimit) return rescale_extended(a, b, c);
  const bool negative = (p < 0) != (c < 0);
  const int64_t mp = p < 0 ? -p : p, mc = c < 0 ? -int64_t{c} : c;
  const int64_t q = (2 * mp + mc) / (2 * mc);
  if (negative) return q > int64_t{1} << 31 ? INT32_MIN : static_cast<int32_t>(-q);
  return q > INT32_MAX ? INT32_MAX : static_cast<int32_t>(q);
}
