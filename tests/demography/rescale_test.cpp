// RESCALE on its two paths: rounding and signs, division by zero, the fatal
// overflow of the integer path, and the fast floating path against the
// extended-precision computation it stands for.
#include <random>

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
  try {
    RESCALE(2000000000, -2000000000, 3);
    FAIL() << "no fatal error";
  } catch (const FatalError& e) {
    EXPECT_EQ(e.code, -1);
    EXPECT_STREQ(e.what(), "RESCALE of numbers too large! 2000000000, 2000000000, 3\n, out: 2643460096 931322574");
  }
  // The high word is below c, yet the quotient 4294967294 does not fit 32 bits.
  EXPECT_THROW(RESCALE(INT32_MAX, 2, 1), FatalError);
}

TEST_F(RescaleTest, FastFloatingPathMatchesExtendedPrecision) {
  HasFPU = 1;
  std::mt19937_64 random(12345);
  const int32_t ranges[] = {10, 1000, 1000000, 100000000, INT32_MAX};
  for (int32_t ra : ranges)
    for (int32_t rc : ranges) {
      std::uniform_int_distribution<int32_t> da(-ra, ra), dc(-rc, rc);
      for (int i = 0; i < 20000; ++i) {
        const int32_t a = da(random), b = da(random), c = dc(random);
        ASSERT_EQ(RESCALE(a, b, c), rescale_extended(a, b, c)) << a << " " << b << " " << c;
      }
    }
  // Exact halves and their neighbours.
  for (int32_t c = 1; c < 2000; ++c)
    for (int32_t a = -3 * c; a <= 3 * c; a += 1 + c / 7) ASSERT_EQ(RESCALE(a, 1, 2 * c), rescale_extended(a, 1, 2 * c));
}
