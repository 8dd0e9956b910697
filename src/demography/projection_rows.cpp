// The rows of a projection as vkproject prints them and the program exports them.
#include "demography/projection_rows.h"

#include <cinttypes>
#include <cstdio>

std::string fixed_decimals(int64_t value, int decimals) {
  const int64_t unit = decimals == 2 ? 100 : 1000;
  const char* sign = value < 0 ? "-" : "";
  const int64_t m = value < 0 ? -value : value;
  char text[48];
  std::snprintf(text, sizeof text, "%s%" PRId64 ".%0*" PRId64, sign, m / unit, decimals, m % unit);
  return text;
}

ProjectionRow projection_row(const char* name, const VKStatetype* s, int t, const CountryInfo& c, bool raw) {
  const int64_t unit = c.scale_factor;
  ProjectionRow r{};
  r.name = name;
  r.year = s->year - 5 * (s->stepcnt - t);
  r.population = raw ? s->totpop[t] : s->totpop[t] * unit;
  r.tfr = get_TFR(s->birthrate[t]);
  r.lifex = get_life_expect(s->deathrate[t]);
  r.imr = s->deathrate[t][0];
  r.migration = raw ? s->mig[t] : s->mig[t] * unit;
  r.un_population = c.un_pop[t] < 0 ? -1 : raw ? c.un_pop[t] : int64_t{c.un_pop[t]} * unit;
  for (int g = 0; g < VK_GROUPS; ++g) {
    r.male[g] = raw ? s->male_pop[t][g] : s->male_pop[t][g] * unit;
    r.female[g] = raw ? s->fem_pop[t][g] : s->fem_pop[t][g] * unit;
  }
  return r;
}

std::vector<std::string> projection_row_values(const ProjectionRow& r, bool raw) {
  std::vector<std::string> v;
  v.push_back(std::to_string(r.year));
  v.push_back(std::to_string(r.population));
  v.push_back(raw ? std::to_string(r.tfr) : fixed_decimals(r.tfr, 2));
  v.push_back(raw ? std::to_string(r.lifex) : fixed_decimals(r.lifex, 2));
  v.push_back(std::to_string(r.migration));
  v.push_back(raw ? std::to_string(r.imr) : fixed_decimals(r.imr, 3));
  v.push_back(r.un_population < 0 ? std::string() : std::to_string(r.un_population));
  return v;
}

std::vector<std::string> projection_column_names(bool groups) {
  std::vector<std::string> names = {"name", "year", "population", "tfr", "lifex", "migration", "imr",
                                      "un_population"};
  // Appended rather than concatenated: GCC 12 at -O3 warns (wrongly) on "m" + text.
  for (const char* sex : {"m", "f"})
    for (int g = 0; groups && g < VK_GROUPS; ++g) names.push_back(std::string(sex).append(std::to_string(g)));
  return names;
}

std::string csv_field(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  q += '"';
  return q;
}
