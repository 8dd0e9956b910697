// The out-of-line paths of RESCALE: the extended-precision quotient for very large
// products, and the integer path with its overflow check.
#include "demography/rescale.h"

#include <cstdlib>

#include "base/log.h"

int32_t rescale_extended(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return 0;
  const long double q = static_cast<long double>(a) * b / c;
  const long double x = q < 0 ? q - 0.5L : q + 0.5L;
  // Half away from zero, truncated to 32 bits; a quotient beyond the range is held
  // at its end instead of wrapping (the conversion would otherwise be undefined).
  if (x >= 2147483647.0L) return INT32_MAX;
  if (x <= -2147483648.0L) return INT32_MIN;
  return static_cast<int32_t>(x);
}

int32_t rescale_integer(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return 0;
  int sign = 1;
  if (a < 0) sign = -sign;
  if (b < 0) sign = -sign;
  if (c < 0) sign = -sign;
  const uint64_t ma = a < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(a)) : static_cast<uint64_t>(a);
  const uint64_t mb = b < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(b)) : static_cast<uint64_t>(b);
  const uint64_t mc = c < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
  const uint64_t product = ma * mb;  // below 2^62: exact
  const uint64_t high = product >> 32;
  const uint64_t low = product & 0xffffffffu;
  // The quotient must fit a signed 32-bit result: 2^31 - 1, or 2^31 when negative.
  const uint64_t limit = sign < 0 ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  uint64_t q = 0;
  bool too_large = high >= mc;
  if (!too_large) {
    q = product / mc;
    if (2 * (product % mc) >= mc) ++q;
    too_large = q > limit;
  }
  if (too_large) {
    MXelog(-1, "RESCALE of numbers too large! %ld, %ld, %ld\n, out: %ld %ld", static_cast<long>(ma),
           static_cast<long>(mb), static_cast<long>(mc), static_cast<long>(low), static_cast<long>(high));
    return 0;  // not reached: a fatal entry ends the program
  }
  return sign < 0 ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}
