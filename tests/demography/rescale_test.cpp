// RESCALE on its two paths: rounding and signs, division by zero, products beyond
// a double's precision, and the fatal overflow of the integer path.
#include "demography/rescale.h"
#include "demography_test_support.h"

using RescaleTest = DemographyTest;

TEST_F(RescaleTest, BothPathsRoundHalfAwayFromZero) {
  // A negative quotient rounds as the mirror of the positive one on both paths
  // (-7.5 is -8 and -2.7 is -3, not -7 and -2), so small negative shares are not lost.
  struct Case { int32_t a, b, c, want; };
  const Case cases[] = {
      {5, 3, 2, 8},   {-5, 3, 2, -8}, {5, 3, -2, -8}, {5, -3, -2, 8}, {-27, 1, 10, -3}, {27, 1, 10, 3},
      {-1, 1, 2, -1}, {1, 1, 2, 1},   {-1, 1, 3, 0},  {2, 1, 3, 1},   {-2, 1, 3, -1},   {123, 456, 0, 0},
      {2000000000, 3, 4, 1500000000}, {-2000000000, 3, 4, -1500000000},  // products beyond 2^31
      {INT32_MIN, 1, 1, INT32_MIN},
      // Products beyond the 53 bits of a double: (2^31 - 1)(2^31 - 2) / (2^31 - 1), and
      // 2e9 * 1999999999 / 1999999998 = 2000000001.000000001.
      {INT32_MAX, INT32_MAX - 1, INT32_MAX, INT32_MAX - 1}, {2000000000, 1999999999, 1999999998, 2000000001},
  };
  for (const Case& k : cases)
    for (int fpu : {1, 0}) {
      HasFPU = fpu;
      EXPECT_EQ(RESCALE(k.a, k.b, k.c), k.want) << k.a << " " << k.b << " " << k.c << " fpu " << fpu;
    }
  // Quotients beyond 32 bits: the floating path holds them at the ends.
  HasFPU = 1;
  EXPECT_EQ(RESCALE(INT32_MAX, INT32_MAX, 1), INT32_MAX);
  EXPECT_EQ(RESCALE(INT32_MAX, INT32_MIN, 1), INT32_MIN);
}

TEST_F(RescaleTest, IntegerPathEndsTheProgramOnOverflow) {
  HasFPU = 0;
  // 2e9 * 2e9 = 0x3782DACE9D900000: high word 931322574, low word 2643460096.
  EXPECT_EQ(fatal_text_of([] { RESCALE(2000000000, -2000000000, 3); }),
            "RESCALE of numbers too large! 2000000000, 2000000000, 3\n, out: 2643460096 931322574");
  // The high word is below c, yet the quotient 4294967294 does not fit 32 bits.
  EXPECT_THROW(RESCALE(INT32_MAX, 2, 1), FatalExit);
}
