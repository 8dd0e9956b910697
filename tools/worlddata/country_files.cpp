// Writing the country databases.
//
// Population unit. The projection engine holds every quantity in signed 32 bits.
// Its largest intermediate values are: a group's rate (per million) times the
// group divided by 10000 when single-year rates are spread (births: the female
// group; deaths: both sexes), that is the rate / 10000 times the group; single
// years of age kept in tenths of the unit, whose spreading formulas reach 20 times
// a group; and sums over single years in tenths, up to 10 times the population.
// A file counts in persons when none of these can pass 2^31 - 1 by 2050 even under
// the largest targets the program allows, and in thousands otherwise. The bound
// projects the 1990 population in five-year steps with: total fertility 9.90 from
// 1990 on with the entry's own 1990-1995 age pattern (its rates are the largest
// birth rates the targets give); nobody dying (a life-expectancy target of 99.9
// years leaves almost no deaths; none is the bound), while the death-rate term
// keeps the 1990-1995 rates, the highest before any target lowers them; and net
// immigration of 100000 a year, the largest migration target, spread by the
// engine's age profile of migrants. With WPP 2019 this puts the threshold at
// about three to five million people in 1990, by age structure and fertility
// (the generator prints the exact figures). The smaller countries must count in
// persons: in thousands a small country's net migration of a few thousand a year
// would spread to less than half a unit per single year of age and round away
// entirely, and its age groups would keep only one or two significant digits.
// A file also counts in thousands when one of WPP's yearly migration flows of
// 1990-2050 exceeds 100000 persons, the largest migration the user can set in
// units of the file. (Rate bars edited by hand can pile all fertility into one
// age group, up to the engine's ceiling of 999000 per million, beyond what any
// target gives; the bound does not cover that.)
//
// Births: the 1990-1995 total fertility times WPP's percentage distribution by age
// of mother, applied to the mid-period (1992.5) women of each group, the mean of
// 1990 and 1995; split by sex of the child with WPP's sex ratio at birth. No births
// below 15 or above 49.
//
// Deaths are chosen so that the program's own conversion (deaths of a group over
// its 1990 population) gives back WPP's 1990-1995 death rates by sex: each count
// is WPP's central death rate of the group times the group's 1990 population.
// Where WPP's ages do not match the groups, the rate is formed first: the 80+ rate
// is the mean of the rates of 80-84 ... 100+ weighted by their mid-period
// population; the row "01-04" holds the deaths of ages 1 to 4 and the conversion
// divides it by the whole 0-4 group, so it is the 1-4 rate times the 1990 0-4
// group times the share of ages 1-4 in it (from a stationary life table of WPP's
// 1m0 and 4m1). The row "-01" holds infant deaths: 1q0 times the births of each
// sex. The total column is rounded from the sum of the two sexes.
//
// Summary figures: life expectancy at birth of both sexes is the mean of WPP's
// male and female values weighted by the sex ratio at birth (births of each sex);
// infant deaths per 1000 births are 1q0 from WPP's 1m0 with the Coale-Demeny a0 the
// UN uses, weighted the same way; migration is the period's net migrants / 5.
//
// UN totals: a "year pop" table of 1990, 1995, ... 2050 with WPP's populations
// (estimates to 2020, medium variant after) in the file's unit, each the sum of the
// rounded groups as the 1990 table has them, so that its 1990 row (which sets the
// stated total when read) equals total_population=. The program draws them beside
// the user's runs.
#include "country_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

const char* const kAges[] = {"0-4",   "5-9",   "10-14", "15-19", "20-24", "25-29", "30-34",
                             "35-39", "40-44", "45-49", "50-54", "55-59", "60-64", "65-69",
                             "70-74", "75-79", "80-84", "85-89", "90-94", "95-99", "100+"};
const char* const kGroupLabels[] = {"00-04", "05-09", "10-14", "15-19", "20-24", "25-29",
                                    "30-34", "35-39", "40-44", "45-49", "50-54", "55-59",
                                    "60-64", "65-69", "70-74", "75-79", "80+"};
const char* const kMotherAges[] = {"15-19", "20-24", "25-29", "30-34", "35-39", "40-44", "45-49"};
constexpr int kGroups = 17;

// The engine's age profile of migrants, per mille, by group (males, females).
const int kMaleMigration[kGroups] = {18, 40, 32, 36, 50, 67, 49, 36, 32, 31, 23, 13, 9, 9, 5, 0, 0};
const int kFemaleMigration[kGroups] = {16, 44, 39, 50, 66, 88, 66, 44, 38, 33, 22, 17, 11, 11, 5, 0, 0};
constexpr double kLargestTfr = 9.90;
constexpr double kLargestImmigration = 100000;  // units a year
constexpr double kFemaleShareOfBirths = 0.512;  // the engine's split of births

using Groups = std::array<double, kGroups>;

// WPP population (thousands) in the program's 17 groups, 80+ summed.
bool population_groups(const WppTable& table, int code, const char* year, Groups* out) {
  out->fill(0);
  for (int a = 0; a < 21; ++a) {
    const double v = table.value(code, kAges[a], year);
    if (std::isnan(v)) return false;
    (*out)[static_cast<size_t>(std::min(a, kGroups - 1))] += v;
  }
  return true;
}

std::string fixed(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

std::string padded(const std::string& text, size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string right(long long value, size_t width) {
  std::string text = std::to_string(value);
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

struct Summary {
  double tfr, e0, imr;  // imr per 1000 births
};

bool summary(const WppData& wpp, int code, const std::string& period, bool projected, Summary* out,
             std::string* error) {
  const WppTable& tfr = projected ? wpp.tfr_med : wpp.tfr;
  const WppTable& e0m = projected ? wpp.e0_m_med : wpp.e0_m;
  const WppTable& e0f = projected ? wpp.e0_f_med : wpp.e0_f;
  const double srb = wpp.sex_ratio.value(code, period);
  const double m0m = wpp.mx_m.value(code, "0", period);
  const double m0f = wpp.mx_f.value(code, "0", period);
  out->tfr = tfr.value(code, period);
  const double em = e0m.value(code, period);
  const double ef = e0f.value(code, period);
  if (std::isnan(srb) || std::isnan(m0m) || std::isnan(m0f) || std::isnan(out->tfr) || std::isnan(em) ||
      std::isnan(ef)) {
    *error = "summary figures of " + period + " missing for location " + std::to_string(code);
    return false;
  }
  out->e0 = (srb * em + ef) / (1 + srb);
  out->imr = 1000 * (srb * infant_q0(m0m, true) + infant_q0(m0f, false)) / (1 + srb);
  return true;
}

}  // namespace

double coale_demeny_a0(double m0, bool male) {
  if (male) return m0 >= 0.107 ? 0.330 : 0.045 + 2.684 * m0;
  return m0 >= 0.107 ? 0.350 : 0.053 + 2.800 * m0;
}

double infant_q0(double m0, bool male) {
  return m0 / (1 + (1 - coale_demeny_a0(m0, male)) * m0);
}

double extreme_engine_quantity(const WppData& wpp, int code) {
  Groups male;
  Groups female;
  if (!population_groups(wpp.pop_m, code, "1990", &male) || !population_groups(wpp.pop_f, code, "1990", &female))
    return INFINITY;
  Groups death_rate{};  // per million, both sexes, 1990-1995
  for (int g = 0; g < kGroups; ++g) {
    const double m = wpp.mx_m.value(code, std::to_string(g == 0 ? 1 : 5 * g), "1990-1995");
    const double f = wpp.mx_f.value(code, std::to_string(g == 0 ? 1 : 5 * g), "1990-1995");
    const double weight = male[g] + female[g];
    death_rate[g] = weight > 0 ? (m * male[g] + f * female[g]) / weight * 1e6 : std::max(m, f) * 1e6;
    if (std::isnan(death_rate[g])) return INFINITY;
    death_rate[g] = std::min(death_rate[g], 999000.0);
    male[g] *= 1000;  // persons
    female[g] *= 1000;
  }
  // Yearly birth rates per woman of the mother groups 15-19 ... 45-49.
  std::array<double, 7> asfr{};
  for (int i = 0; i < 7; ++i) {
    const double percent = wpp.asfr.value(code, kMotherAges[i], "1990-1995");
    if (std::isnan(percent)) return INFINITY;
    asfr[static_cast<size_t>(i)] = std::min(percent / 100 * kLargestTfr / 5, 0.999);
  }
  double largest = 0;
  auto measure = [&] {
    double total = 0;
    for (int g = 0; g < kGroups; ++g) {
      const double group = male[g] + female[g];
      largest = std::max(largest, 20 * group);
      largest = std::max(largest, death_rate[g] / 10000 * group);
      total += group;
    }
    for (int i = 0; i < 7; ++i)
      largest = std::max(largest, asfr[static_cast<size_t>(i)] * 1e6 / 10000 * female[static_cast<size_t>(i + 3)]);
    largest = std::max(largest, 10 * total);
  };
  measure();
  for (int step = 0; step < 12; ++step) {
    // Women exposed during the step: the larger of a group and the one ageing into it.
    double births = 0;
    for (int i = 0; i < 7; ++i) {
      const size_t g = static_cast<size_t>(i + 3);
      births += 5 * asfr[static_cast<size_t>(i)] * std::max(female[g], female[g - 1]);
    }
    Groups next_male{};
    Groups next_female{};
    for (int g = 1; g < kGroups; ++g) {
      next_male[g] = male[g - 1];
      next_female[g] = female[g - 1];
    }
    next_male[kGroups - 1] += male[kGroups - 1];
    next_female[kGroups - 1] += female[kGroups - 1];
    next_female[0] = births * kFemaleShareOfBirths;
    next_male[0] = births - next_female[0];
    for (int g = 0; g < kGroups; ++g) {
      next_male[g] += 5 * kLargestImmigration * kMaleMigration[g] / 1000;
      next_female[g] += 5 * kLargestImmigration * kFemaleMigration[g] / 1000;
    }
    // Measure the larger of the two ends of the step for every group.
    for (int g = 0; g < kGroups; ++g) {
      male[g] = std::max(male[g], next_male[g]);
      female[g] = std::max(female[g], next_female[g]);
    }
    measure();
    male = next_male;
    female = next_female;
    measure();
  }
  return largest;
}

bool counts_in_thousands(const WppData& wpp, int code) {
  if (extreme_engine_quantity(wpp, code) > INT32_LIMIT) return true;
  // The user sets migration in units of the file, at most 100000 either way: the
  // flows WPP gives up to 2050 must fit, or the real course cannot be set.
  for (int start = 1990; start < 2050; start += 5) {
    const double flow = wpp.migration.value(code, std::to_string(start) + "-" + std::to_string(start + 5));
    if (std::isnan(flow) || std::fabs(flow * 1000 / 5) > kLargestImmigration) return true;
  }
  return false;
}

bool country_file_text(const WppData& wpp, const ListEntry& entry, std::string* text, std::string* error) {
  const int code = entry.code;
  const bool thousands = counts_in_thousands(wpp, code);
  const double unit = thousands ? 1 : 1000;  // WPP thousands -> file units

  Groups male90, female90, male95, female95;
  if (!population_groups(wpp.pop_m, code, "1990", &male90) || !population_groups(wpp.pop_f, code, "1990", &female90) ||
      !population_groups(wpp.pop_m, code, "1995", &male95) || !population_groups(wpp.pop_f, code, "1995", &female95)) {
    *error = "population by age missing for " + entry.un_name;
    return false;
  }
  std::array<long long, kGroups> male_units{};
  std::array<long long, kGroups> female_units{};
  long long male_total = 0;
  long long female_total = 0;
  for (int g = 0; g < kGroups; ++g) {
    male_units[g] = std::llround(male90[g] * unit);
    female_units[g] = std::llround(female90[g] * unit);
    male_total += male_units[g];
    female_total += female_units[g];
  }

  // The UN totals of every five-year point of a run, as the file counts them (the
  // sum of the rounded groups of each sex, so that 1990 is the stated total):
  // estimates to 2020, medium variant after.
  std::array<long long, 13> un_totals{};
  for (int t = 0; t < 13; ++t) {
    const int year = 1990 + 5 * t;
    const std::string y = std::to_string(year);
    Groups m, f;
    const bool known = year <= 2020 ? population_groups(wpp.pop_m, code, y.c_str(), &m) &&
                                          population_groups(wpp.pop_f, code, y.c_str(), &f)
                                    : population_groups(wpp.pop_m_med, code, y.c_str(), &m) &&
                                          population_groups(wpp.pop_f_med, code, y.c_str(), &f);
    if (!known) {
      *error = "population of " + y + " missing for " + entry.un_name;
      return false;
    }
    for (int g = 0; g < kGroups; ++g) un_totals[t] += std::llround(m[g] * unit) + std::llround(f[g] * unit);
  }
  if (un_totals[0] != male_total + female_total) {
    *error = "the 1990 row differs from the stated total for " + entry.un_name;
    return false;
  }

  Summary s90;
  Summary s00;
  if (!summary(wpp, code, "1990-1995", false, &s90, error) || !summary(wpp, code, "2000-2005", false, &s00, error))
    return false;
  const double srb = wpp.sex_ratio.value(code, "1990-1995");
  const double migrants = wpp.migration.value(code, "1990-1995");
  if (std::isnan(migrants)) {
    *error = "migration missing for " + entry.un_name;
    return false;
  }

  // Births (persons a year) by group of mother 15-19 ... 45-49.
  std::array<double, 7> births{};
  double births_total = 0;
  for (int i = 0; i < 7; ++i) {
    const double percent = wpp.asfr.value(code, kMotherAges[i], "1990-1995");
    if (std::isnan(percent)) {
      *error = "fertility by age missing for " + entry.un_name;
      return false;
    }
    const size_t g = static_cast<size_t>(i + 3);
    const double women = (female90[g] + female95[g]) / 2 * 1000;
    births[static_cast<size_t>(i)] = s90.tfr * percent / 100 / 5 * women;
    births_total += births[static_cast<size_t>(i)];
  }
  const double male_share = srb / (1 + srb);

  // Deaths (persons a year), rows "-01", "01-04", "05-09" ... "80+", per sex.
  std::array<double, 18> male_deaths{};
  std::array<double, 18> female_deaths{};
  for (int sex = 0; sex < 2; ++sex) {
    const WppTable& mx = sex == 0 ? wpp.mx_m : wpp.mx_f;
    const Groups& pop90 = sex == 0 ? male90 : female90;
    const WppTable& popt = sex == 0 ? wpp.pop_m : wpp.pop_f;
    std::array<double, 18>& deaths = sex == 0 ? male_deaths : female_deaths;
    const double m0 = mx.value(code, "0", "1990-1995");
    const double m1 = mx.value(code, "1", "1990-1995");
    if (std::isnan(m0) || std::isnan(m1)) {
      *error = "death rates missing for " + entry.un_name;
      return false;
    }
    const double q0 = infant_q0(m0, sex == 0);
    deaths[0] = q0 * births_total * (sex == 0 ? male_share : 1 - male_share);
    // Share of ages 1-4 in the 0-4 group, stationary life table.
    const double l0_years = m0 > 0 ? q0 / m0 : 1;
    const double q1 = 4 * m1 / (1 + 2 * m1);
    const double l1_years = m1 > 0 ? (1 - q0) * q1 / m1 : 4 * (1 - q0);
    const double share_1_4 = l1_years / (l0_years + l1_years);
    deaths[1] = m1 * share_1_4 * pop90[0] * 1000;
    for (int g = 1; g < kGroups - 1; ++g) {
      const double m = mx.value(code, std::to_string(5 * g), "1990-1995");
      if (std::isnan(m)) {
        *error = "death rates missing for " + entry.un_name;
        return false;
      }
      deaths[static_cast<size_t>(g + 1)] = m * pop90[g] * 1000;
    }
    double weighted = 0;
    double weight = 0;
    for (int a = 16; a < 21; ++a) {
      const double m = mx.value(code, std::to_string(5 * a), "1990-1995");
      const double mid = (popt.value(code, kAges[a], "1990") + popt.value(code, kAges[a], "1995")) / 2;
      if (std::isnan(m) || std::isnan(mid)) {
        *error = "old-age death rates missing for " + entry.un_name;
        return false;
      }
      weighted += m * mid;
      weight += mid;
    }
    const double rate_80 = weight > 0 ? weighted / weight : mx.value(code, "80", "1990-1995");
    deaths[17] = rate_80 * pop90[kGroups - 1] * 1000;
  }

  std::string out;
  out += "# Demovar country database: " + entry.name + " (UN location code " + std::to_string(code) + ")\n";
  out += "# Source: United Nations, Department of Economic and Social Affairs, Population\n";
  out += "# Division (2019). World Population Prospects 2019, location \"" + entry.un_name + "\".\n";
  out += "# Licence: Creative Commons Attribution 3.0 IGO. Computed by tools/worlddata;\n";
  out += "# do not edit by hand. Populations and migration in ";
  out += thousands ? "thousands" : "persons";
  out += "; births and deaths\n# in persons a year (1990-1995 rates; see tools/worlddata/country_files.cpp).\n";
  out += "database= VK_country\n";
  out += "name= " + entry.name + "\n";
  out += "size= " + std::string(thousands ? "1000" : "1") + "\n";
  out += "year= 1990\n";
  out += "total_population= " + std::to_string(male_total + female_total) + "\n";
  out += "life_expectancy= " + fixed(s90.e0, 2) + "\n";
  out += "infant_deaths= " + fixed(s90.imr, 1) + "\n";
  out += "total_fertility= " + fixed(s90.tfr, 2) + "\n";
  out += "migration= " + std::to_string(std::llround(migrants * unit / 5)) + "\n";

  out += "format= age total_pop m_pop f_pop tamrof\n";
  out += padded("TOTAL", 6) + right(male_total + female_total, 11) + right(male_total, 11) + right(female_total, 11) + "\n";
  for (int g = 0; g < kGroups; ++g)
    out += padded(kGroupLabels[g], 6) + right(male_units[g] + female_units[g], 11) + right(male_units[g], 11) +
           right(female_units[g], 11) + "\n";
  out += "endformat\n";

  out += "format= age total_births m_births f_births tamrof\n";
  std::array<long long, 10> tb{}, mb{}, fb{};
  for (int i = 0; i < 7; ++i) {
    const double b = births[static_cast<size_t>(i)];
    const size_t row = static_cast<size_t>(i + 2);
    tb[row] = std::llround(b);
    mb[row] = std::llround(b * male_share);
    fb[row] = std::llround(b * (1 - male_share));
  }
  for (size_t row = 1; row < 10; ++row) {
    tb[0] += tb[row];
    mb[0] += mb[row];
    fb[0] += fb[row];
  }
  const char* const birth_labels[] = {"TOTAL", "-15", "15-19", "20-24", "25-29", "30-34", "35-39", "40-44", "45-49", "50+"};
  for (size_t row = 0; row < 10; ++row)
    out += padded(birth_labels[row], 6) + right(tb[row], 11) + right(mb[row], 11) + right(fb[row], 11) + "\n";
  out += "endformat\n";

  out += "format= age total_deaths m_deaths f_deaths tamrof\n";
  std::array<long long, 19> td{}, md{}, fd{};
  for (size_t row = 1; row < 19; ++row) {
    md[row] = std::llround(male_deaths[row - 1]);
    fd[row] = std::llround(female_deaths[row - 1]);
    td[row] = std::llround(male_deaths[row - 1] + female_deaths[row - 1]);
    td[0] += td[row];
    md[0] += md[row];
    fd[0] += fd[row];
  }
  out += padded("TOTAL", 6) + right(td[0], 11) + right(md[0], 11) + right(fd[0], 11) + "\n";
  out += padded("-01", 6) + right(td[1], 11) + right(md[1], 11) + right(fd[1], 11) + "\n";
  out += padded("01-04", 6) + right(td[2], 11) + right(md[2], 11) + right(fd[2], 11) + "\n";
  for (size_t row = 3; row < 19; ++row)
    out += padded(kGroupLabels[row - 2], 6) + right(td[row], 11) + right(md[row], 11) + right(fd[row], 11) + "\n";
  out += "endformat\n";

  out += "# UN totals, estimates to 2020 and medium variant after, for comparison.\n";
  out += "format= year pop tamrof\n";
  for (int t = 0; t < 13; ++t) out += std::to_string(1990 + 5 * t) + right(un_totals[t], 11) + "\n";
  out += "endformat\n";

  out += "# 2000-2005, for the runs of the expected future.\n";
  out += "year= 2000\n";
  out += "total_fertility= " + fixed(s00.tfr, 2) + "\n";
  out += "life_expectancy= " + fixed(s00.e0, 2) + "\n";
  out += "infant_deaths= " + fixed(s00.imr, 1) + "\n";
  *text = out;
  return true;
}
