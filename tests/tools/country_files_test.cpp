// The country-database computations on small made-up WPP tables: the choice of the
// population unit (persons unless the engine's 32-bit quantities or the settable
// migration range demand thousands) and the infant mortality conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "country_files.h"
#include "data_dir_support.h"
#include "wpp_tables.h"

namespace {

// One location (code 1) with `per_group` thousand people in each of the first 17
// WPP groups of each sex, flat fertility, low mortality and the given yearly net
// migration (thousands) in 2010-2015.
WppData made_up(double per_group, double migration_2010_per_year) {
  WppData w;
  std::string error;
  std::string pop = "country_code\tname\tage\t1990\n";
  for (int a = 0; a < 21; ++a) pop += std::string("1\tLand\t") + kAges[a] + "\t" + std::to_string(a < 17 ? per_group : 0.0) + "\n";
  EXPECT_TRUE(parse_wpp_table(pop, "popM", &w.pop_m, &error));
  EXPECT_TRUE(parse_wpp_table(pop, "popF", &w.pop_f, &error));
  std::string mx = "country_code\tname\tage\t1990-1995\n1\tLand\t0\t0.02\n1\tLand\t1\t0.002\n";
  for (int a = 5; a <= 100; a += 5) mx += "1\tLand\t" + std::to_string(a) + "\t" + std::to_string(0.001 * a / 5) + "\n";
  EXPECT_TRUE(parse_wpp_table(mx, "mxM", &w.mx_m, &error));
  EXPECT_TRUE(parse_wpp_table(mx, "mxF", &w.mx_f, &error));
  std::string asfr = "country_code\tname\tage\t1990-1995\n";
  for (const char* age : {"15-19", "20-24", "25-29", "30-34", "35-39", "40-44", "45-49"})
    asfr += std::string("1\tLand\t") + age + "\t" + std::to_string(100.0 / 7) + "\n";
  EXPECT_TRUE(parse_wpp_table(asfr, "asfr", &w.asfr, &error));
  std::string header = "country_code\tname", row = "1\tLand";
  for (int start = 1990; start < 2050; start += 5) {
    header += "\t" + std::to_string(start) + "-" + std::to_string(start + 5);
    row += "\t" + std::to_string(start == 2010 ? migration_2010_per_year * 5 : 0.0);
  }
  EXPECT_TRUE(parse_wpp_table(header + "\n" + row + "\n", "migration", &w.migration, &error));
  return w;
}

TEST(PopulationUnit, SmallCountriesInPersonsUnlessTheEngineOrMigrationNeedsThousands) {
  // 170 thousand people: persons. 34 million: thousands. No data: never persons.
  // 100 thousand a year is the largest migration a file in persons can set.
  const struct { double per_group, migration; int code; bool thousands; } cases[] = {
      {5, 0, 1, false}, {1000, 0, 1, true}, {5, 0, 2, true}, {5, 99, 1, false}, {5, 101, 1, true}, {5, -101, 1, true}};
  for (const auto& c : cases)
    EXPECT_EQ(counts_in_thousands(made_up(c.per_group, c.migration), c.code), c.thousands) << c.per_group << " " << c.migration;
  // With nobody dying and 100000 immigrants a year, 2050 holds at least the 1990
  // people and 6 million immigrants; sums in tenths reach ten times that.
  const WppData w = made_up(5, 0);
  EXPECT_GE(extreme_engine_quantity(w, 1), 10 * (2 * 17 * 5000.0 + 60 * 100000.0));
  EXPECT_GT(extreme_engine_quantity(made_up(50, 0), 1), extreme_engine_quantity(w, 1));
}

TEST(InfantMortality, CoaleDemenySeparationFactors) {
  // Below 1m0 = 0.107: a0 = 0.045 + 2.684 m0 (boys), 0.053 + 2.800 m0 (girls);
  // above: 0.330 and 0.350.
  EXPECT_NEAR(coale_demeny_a0(0.05, true), 0.1792, 1e-12);
  EXPECT_NEAR(coale_demeny_a0(0.05, false), 0.193, 1e-12);
  EXPECT_NEAR(coale_demeny_a0(0.2, true), 0.330, 1e-12);
  EXPECT_NEAR(coale_demeny_a0(0.2, false), 0.350, 1e-12);
  // 1q0 = m0 / (1 + (1 - a0) m0)
  EXPECT_NEAR(infant_q0(0.05, true), 0.05 / (1 + 0.8208 * 0.05), 1e-12);
  EXPECT_NEAR(infant_q0(0.0, false), 0.0, 1e-15);
}

}  // namespace
