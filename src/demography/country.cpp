// Country databases: the reader callback of a "VK_country" file, the conversion of
// its raw counts into rates per million scaled to the stated 1990 fertility and
// life expectancy, and the loading of a list entry into a pane.
#include "demography/country.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/log.h"
#include "base/text.h"
#include "demography/projection.h"
#include "demography/rescale.h"
#include "demography/simulation.h"
#include "startup/country_list.h"
#include "startup/filenames.h"

namespace {
constexpr int kWordMax = 80;
constexpr int kNameMax = 21;

// The reader's current year, set by year=; it carries over from file to file.
int32_t current_year = -1;

const char* const kPopLabels[18] = {"TOTAL", "00-04", "05-09", "10-14", "15-19", "20-24",
                                    "25-29", "30-34", "35-39", "40-44", "45-49", "50-54",
                                    "55-59", "60-64", "65-69", "70-74", "75-79", "80+"};
const char* const kBirthLabels[10] = {"TOTAL", "-15",   "15-19", "20-24", "25-29",
                                      "30-34", "35-39", "40-44", "45-49", "50+"};
const char* const kDeathLabels[19] = {"TOTAL", "-01",   "01-04", "05-09", "10-14", "15-19", "20-24",
                                      "25-29", "30-34", "35-39", "40-44", "45-49", "50-54", "55-59",
                                      "60-64", "65-69", "70-74", "75-79", "80+"};

ReadinInfo make_initrec() {
  ReadinInfo r;
  std::memset(&r, 0, sizeof r);
  int32_t* fields[] = {&r.buddy, &r.scale_factor, &r.total_pop_1990, &r.life_expect_1990,
                       &r.infant_deaths_1990, &r.tot_fertility_1990, &r.life_expect_2000,
                       &r.infant_deaths_2000, &r.tot_fertility_2000, &r.mig};
  for (int32_t* f : fields) *f = -1;
  for (int i = 0; i < 18; ++i) r.tot_pop[i] = r.male_pop[i] = r.fem_pop[i] = -1;
  for (int i = 0; i < 10; ++i) r.tot_births[i] = r.male_births[i] = r.fem_births[i] = -1;
  for (int i = 0; i < 19; ++i) r.tot_deaths[i] = r.male_deaths[i] = r.fem_deaths[i] = -1;
  for (int32_t& v : r.un_pop) v = -1;
  return r;
}
const ReadinInfo Initrec = make_initrec();

CountryInfo make_country_template() {
  CountryInfo c;
  std::memset(&c, 0, sizeof c);
  int32_t* fields[] = {&c.scale_factor,     &c.life_adjust,        &c.life_expectancy,
                       &c.tot_fertility_rate, &c.life_expect_2000, &c.tot_fertility_2000,
                       &c.infant_deaths_2000, &c.mig};
  for (int32_t* f : fields) *f = -1;
  for (int i = 0; i < 18; ++i) c.male_1990_pop[i] = c.fem_1990_pop[i] = c.tot_deathrate[i] = -1;
  for (int i = 0; i < 9; ++i) c.tot_birthrate[i] = -1;
  for (int32_t& v : c.un_pop) v = -1;
  return c;
}
const CountryInfo Country_template = make_country_template();

// A real of the file in hundredths (factor 100) or tenths (10): x * factor + 0.5,
// truncated; values beyond the 32-bit range are held at its ends.
int32_t real_to_int(double x, double factor) {
  const double v = x * factor + 0.5;
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// Figures the record cannot hold ----------------------------------------------------
// The first figure of the file being read that is not a number, does not fit its
// 32-bit field or is a negative count; empty while there is none. A file with one is
// refused by name (country_file_fault) rather than projected from numbers held at
// the ends of their range.
std::string figure_fault;

void note_figure_fault(const std::string& field, const char* value, const char* why) {
  if (!figure_fault.empty()) return;
  const bool key = !field.empty() && field.back() == '=';
  figure_fault = field + (key ? " " : " = ") + (value[0] ? value : "(nothing)") + " " + why;
}

enum class Sign { Any, NotNegative };

// One whole number of the file for `field`; -1 (absent) when it is not a number.
int32_t read_integer(const std::string& field, Sign sign) {
  char word[kWordMax + 1] = "";
  MXrdword(word, kWordMax);
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(word, &end, 10);
  if (end == word || *end != '\0') {
    note_figure_fault(field, word, "is not a whole number");
    return -1;
  }
  if (errno == ERANGE || v > INT32_MAX || v < INT32_MIN) {
    note_figure_fault(field, word, "does not fit its field (at most 2147483647)");
    return v < 0 ? INT32_MIN : INT32_MAX;
  }
  if (sign == Sign::NotNegative && v < 0) note_figure_fault(field, word, "is negative");
  return static_cast<int32_t>(v);
}

// One real of the file in hundredths (factor 100) or tenths (10); never negative.
int32_t read_real(const std::string& field, double factor) {
  char word[kWordMax + 1] = "";
  MXrdword(word, kWordMax);
  char* end = nullptr;
  const double x = std::strtod(word, &end);
  if (end == word || *end != '\0') {
    note_figure_fault(field, word, "is not a number");
    return -1;
  }
  const double v = x * factor + 0.5;
  if (!std::isfinite(v) || v >= 2147483647.0 || v <= -2147483648.0) {
    note_figure_fault(field, word, "does not fit its field");
    return -1;
  }
  if (x < 0) note_figure_fault(field, word, "is negative");
  return real_to_int(x, factor);
}

// What is wrong with the figures of a country file just read, or "" when nothing is:
// a figure noted while reading, or age groups whose sum lies more than 10 % from
// the stated total (a rescale that far would hide a damaged table).
std::string country_file_fault(const ReadinInfo& raw) {
  if (!figure_fault.empty()) return figure_fault;
  int64_t sum = 0;
  for (int i = 1; i <= 17; ++i) {
    if (raw.male_pop[i] < 0 || raw.fem_pop[i] < 0) return "";  // absent: the conversion says so
    sum += int64_t{raw.male_pop[i]} + raw.fem_pop[i];
  }
  const int64_t total = raw.total_pop_1990;
  if (total < 0 || ((sum - total) * 10 <= total && (total - sum) * 10 <= total)) return "";
  return "the age groups sum to " + std::to_string(sum) + ", more than 10 % from total_population= " +
         std::to_string(total);
}

// The base year's figures (B, or B + 2 as some older files date them) fill the
// *_1990 fields and the expected year's (B + 10) the *_2000 fields: the names
// are those of the 1990 data, whichever starting point is in use.
bool is_year_1990(int32_t year) { return year == Base_year || year == Base_year + 2; }
bool is_year_2000(int32_t year) { return year == Base_year + 10; }

// Reads a year-dependent real into the 1990 or the 2000 field; for any other year
// the value is left to be skipped as an ordinary word.
void read_year_real(const char* key, int32_t* field_1990, int32_t* field_2000, double factor) {
  if (is_year_1990(current_year)) *field_1990 = read_real(key, factor);
  else if (is_year_2000(current_year)) *field_2000 = read_real(key, factor);
}

int bad_endformat() {
  MXelog(0, "VKreader: Error in datafile: endformat expected.\n");
  return 0;
}

// Rows of a labelled table with three columns, then "endformat".
int read_table(const char* const* labels, int rows, const char* const* columns, int32_t* c1, int32_t* c2,
               int32_t* c3) {
  char word[kWordMax + 1];
  for (int i = 0; i < rows; ++i) {
    MXrdword(word, kWordMax);
    if (std::strcmp(word, labels[i]) != 0) {
      MXelog(0, "VKreader: Bad label in format: expected |%s|, got |%s|\n", labels[i], word);
      return 0;
    }
    c1[i] = read_integer(std::string(columns[1]) + " " + labels[i], Sign::NotNegative);
    c2[i] = read_integer(std::string(columns[2]) + " " + labels[i], Sign::NotNegative);
    c3[i] = read_integer(std::string(columns[3]) + " " + labels[i], Sign::NotNegative);
  }
  MXrdword(word, kWordMax);
  if (std::strcmp(word, "endformat") != 0) return bad_endformat();
  return 1;
}

// Rows of year and population until "endformat"; the base year's row sets the
// total, and the rows of B, B + 5, ... B + 60 are kept as the UN's totals.
int read_year_table(ReadinInfo* raw) {
  char word[kWordMax + 1];
  for (;;) {
    const int ok = MXrdword(word, kWordMax);
    if (std::strcmp(word, "endformat") == 0) return 1;
    if (!ok || word[0] == '\0') return bad_endformat();
    const int32_t pop = read_integer(std::string("pop ") + word, Sign::NotNegative);
    char* end = nullptr;
    errno = 0;
    const long year = std::strtol(word, &end, 10);
    if (errno != 0 || end == word || *end != '\0') continue;
    if (year == Base_year) raw->total_pop_1990 = pop;
    if (year >= Base_year && year <= Base_year + 60 && year % 5 == 0) raw->un_pop[(year - Base_year) / 5] = pop;
  }
}

bool keywords_are(int count, const MXFormatKeyword* keywords, const char* const* wanted, int n) {
  if (count != n) return false;
  for (int i = 0; i < n; ++i)
    if (std::strcmp(keywords[i], wanted[i]) != 0) return false;
  return true;
}

int read_format(ReadinInfo* raw) {
  int count = 0;
  MXFormatKeyword keywords[MX_FORMAT_MAX_KEYWORDS];
  if (!MXrdformat(&count, keywords)) return 0;
  static const char* const kYearPop[] = {"year", "pop"};
  static const char* const kPop[] = {"age", "total_pop", "m_pop", "f_pop"};
  static const char* const kBirths[] = {"age", "total_births", "m_births", "f_births"};
  static const char* const kDeaths[] = {"age", "total_deaths", "m_deaths", "f_deaths"};
  if (keywords_are(count, keywords, kYearPop, 2)) return read_year_table(raw);
  if (keywords_are(count, keywords, kPop, 4)) {
    if (is_year_2000(current_year)) return 1;  // rows are skipped as ordinary words
    return read_table(kPopLabels, 18, kPop, raw->tot_pop, raw->male_pop, raw->fem_pop);
  }
  if (keywords_are(count, keywords, kBirths, 4))
    return read_table(kBirthLabels, 10, kBirths, raw->tot_births, raw->male_births, raw->fem_births);
  if (keywords_are(count, keywords, kDeaths, 4))
    return read_table(kDeathLabels, 19, kDeaths, raw->tot_deaths, raw->male_deaths, raw->fem_deaths);
  return 1;  // any other table is ignored together with its rows
}

bool key_is(const char* key, const char* name) { return MXstricmp(key, name) == 0; }
}  // namespace

void readininit(ReadinInfo* record) { *record = Initrec; }
void countryinit(CountryInfo* record) { *record = Country_template; }
void reset_vkreader() { current_year = -1; }

void tolowerstring(char* text) {
  for (; *text; ++text) *text = static_cast<char>(std::tolower(static_cast<unsigned char>(*text)));
}

int VKreader(const char* key, ReaderStatusType status, void* data) {
  ReadinInfo* raw = static_cast<ReadinInfo*>(data);
  if (status == READ_INIT) {
    readininit(raw);
    figure_fault.clear();
    return 1;
  }
  if (status == READ_FINAL) {
    if (raw->scale_factor != 1000) raw->scale_factor = 1;
    if (raw->total_pop_1990 == -1) {
      MXelog(0, "VKread: Missing %d total population\n", Base_year);
      return 0;
    }
    if (raw->life_expect_1990 == -1) {
      MXelog(0, "VKread: Missing %d life expectancy\n", Base_year);
      return 0;
    }
    if (raw->infant_deaths_1990 == -1) {
      MXelog(0, "VKread: Missing %d infant deaths per 1000\n", Base_year);
      return 0;
    }
    if (raw->tot_fertility_1990 == -1) {
      MXelog(0, "VKread: Missing %d total fertility rate\n", Base_year);
      return 0;
    }
    return 1;
  }
  if (!key) return 1;
  if (key_is(key, "name=")) {
    MXrdphrase(raw->country_name, kNameMax);
    MXelog(0, "VKreader: Processing database for |%s|\n", raw->country_name);
  } else if (key_is(key, "size=")) {
    raw->scale_factor = read_integer("size=", Sign::Any);
  } else if (key_is(key, "year=")) {
    current_year = read_integer("year=", Sign::Any);
  } else if (key_is(key, "total_population=")) {
    raw->total_pop_1990 = read_integer("total_population=", Sign::NotNegative);
  } else if (key_is(key, "life_expectancy=")) {
    read_year_real("life_expectancy=", &raw->life_expect_1990, &raw->life_expect_2000, 100.0);
  } else if (key_is(key, "infant_deaths=")) {
    read_year_real("infant_deaths=", &raw->infant_deaths_1990, &raw->infant_deaths_2000, 10.0);
  } else if (key_is(key, "total_fertility=")) {
    read_year_real("total_fertility=", &raw->tot_fertility_1990, &raw->tot_fertility_2000, 100.0);
  } else if (key_is(key, "migration=")) {
    raw->mig = read_integer("migration=", Sign::Any);
    raw->mig_given = 1;
  } else if (key_is(key, "format=")) {
    return read_format(raw);
  }
  return 1;
}

int DBconvert(ReadinInfo* raw, CountryInfo* country) {
  const int32_t k = 1000000 / (raw->scale_factor == 1000 ? 1000 : 1);
  countryinit(country);
  std::memcpy(country->country_name, raw->country_name, sizeof country->country_name);
  country->country_name[sizeof country->country_name - 1] = '\0';
  country->scale_factor = raw->scale_factor == 1000 ? 1000 : 1;
  country->life_expectancy = raw->life_expect_1990;
  country->tot_fertility_rate = raw->tot_fertility_1990;

  // Infant deaths: tenths per thousand births -> per million births.
  country->tot_deathrate[0] = static_cast<int32_t>(int64_t{raw->infant_deaths_1990} * 1000 / 10);
  country->life_expect_2000 = raw->life_expect_2000 != -1 ? raw->life_expect_2000 : raw->life_expect_1990;
  country->tot_fertility_2000 =
      raw->tot_fertility_2000 != -1 ? raw->tot_fertility_2000 : raw->tot_fertility_1990;
  const int32_t infant_2000 = raw->infant_deaths_2000 != -1 ? raw->infant_deaths_2000 : raw->infant_deaths_1990;
  country->infant_deaths_2000 = static_cast<int32_t>(int64_t{infant_2000} * 1000 / 10);

  int64_t sum = 0;
  for (int i = 1; i <= 17; ++i) {
    if (raw->male_pop[i] == -1 || raw->fem_pop[i] == -1) return 0;
    country->male_1990_pop[i] = raw->male_pop[i];
    country->fem_1990_pop[i] = raw->fem_pop[i];
    sum += int64_t{raw->male_pop[i]} + raw->fem_pop[i];
  }
  if (sum != raw->total_pop_1990) {
    if (MXDebug)
      MXelog(0, "Debug: scaling total population from %ld to %ld\n", static_cast<long>(sum),
             static_cast<long>(raw->total_pop_1990));
    for (int i = 1; i <= 17; ++i) {
      country->male_1990_pop[i] = RESCALE(country->male_1990_pop[i], raw->total_pop_1990, sum);
      country->fem_1990_pop[i] = RESCALE(country->fem_1990_pop[i], raw->total_pop_1990, sum);
    }
  }
  int64_t msum = 0, fsum = 0;
  for (int i = 1; i <= 17; ++i) {
    msum += country->male_1990_pop[i];
    fsum += country->fem_1990_pop[i];
  }
  country->male_1990_pop[0] = static_cast<int32_t>(msum);
  country->fem_1990_pop[0] = static_cast<int32_t>(fsum);

  for (int i = 0; i < 9; ++i) {
    if (raw->tot_births[i + 1] == -1) return 0;
    country->tot_birthrate[i] = RESCALE(raw->tot_births[i + 1], k, country->fem_1990_pop[i + 3]);
  }
  set_to_tfr_target(country->tot_fertility_rate, country->tot_birthrate);

  for (int i = 1; i <= 17; ++i) {
    if (raw->tot_deaths[i + 1] == -1) return 0;
    country->tot_deathrate[i] = RESCALE(raw->tot_deaths[i + 1], k,
                                        int64_t{country->male_1990_pop[i]} + country->fem_1990_pop[i]);
  }

  // Female death rates, for the female advantage in life expectancy. The infant
  // rate is per million births, like the both-sexes one: female infant deaths over
  // female births where the file gives both.
  int32_t female[18];
  if (raw->fem_deaths[1] >= 0 && raw->fem_births[0] > 0)
    female[0] = RESCALE(raw->fem_deaths[1], 1000000, raw->fem_births[0]);
  else
    female[0] = country->tot_deathrate[0];
  for (int i = 1; i < 18; ++i)
    female[i] = raw->fem_deaths[i + 1] != -1 ? RESCALE(raw->fem_deaths[i + 1], k, country->fem_1990_pop[i])
                                             : country->tot_deathrate[i];
  const int64_t Lf = get_life_expect(female);
  const int64_t Lt = get_life_expect(country->tot_deathrate);
  // No life expectancy at all leaves nothing to compare: no advantage.
  country->life_adjust = Lt == 0 ? 0 : static_cast<int32_t>(((Lf - Lt) * 1000 + (Lt >> 1)) / Lt);

  set_to_life_target(country->life_expectancy, country->tot_deathrate, 0);
  country->mig = raw->mig_given ? raw->mig : 0;
  std::memcpy(country->un_pop, raw->un_pop, sizeof country->un_pop);
  return 1;
}

std::string CountryLoadProblem;

namespace {
CountryLoadResult load_country_file(int index, CountryInfo* country) {
  CountryLoadProblem = "entry " + std::to_string(index) + ": not in the country list";
  if (!Country_list || index < 0 || index >= Numregions + Numcountries) return COUNTRY_NO_FILE;
  Clist& entry = Country_list[index];
  tolowerstring(entry.file);
  const std::string path = Datapath + entry.file;
  FILE* file = std::fopen(path.c_str(), "r");
  CountryLoadProblem = path + ": cannot be opened";
  if (!file) return COUNTRY_NO_FILE;
  ReadinInfo raw;
  const int read = MXgenreader(file, VKreader, "VK_country", &raw);
  std::fclose(file);
  const std::string fault = country_file_fault(raw);
  if (!fault.empty()) MXelog(0, "Country file |%s|: %s\n", path.c_str(), fault.c_str());
  CountryLoadProblem = path + ": " + (fault.empty() ? "not a readable country file (see error.log)" : fault);
  if (!read || !fault.empty()) return COUNTRY_BAD_FILE;
  CountryLoadProblem = path + ": a table of the population, births or deaths is missing";
  // Converted aside, so that a failure leaves the pane's country as it was.
  CountryInfo converted;
  if (!DBconvert(&raw, &converted)) return COUNTRY_NO_CONVERSION;
  *country = converted;
  return COUNTRY_LOADED;
}
}  // namespace

CountryLoadResult loadcountry(int index, CountryInfo* country) {
  const CountryLoadResult result = load_country_file(index, country);
  if (result == COUNTRY_LOADED) CountryLoadProblem.clear();
  return result;
}

int readcountry(int index) {
  const bool listed = Country_list && index >= 0 && index < Numregions + Numcountries;
  const char* name = listed ? Country_list[index].name : "";
  if (index >= Numregions) MXolog("Selected country = %s.\n", name);
  else MXolog("Selected region: = %s.\n", name);
  MXolog("Name           : Year --Population-- TFR LifeEx Migration IMR\n");
  const CountryLoadResult result = loadcountry(index, &Country[Cdisp]);
  if (result == COUNTRY_LOADED) return 1;
  const std::string path = Datapath + (listed ? Country_list[index].file : "");
  if (result == COUNTRY_NO_FILE) MXelog(0, "Unable to open country file |%s|\n", path.c_str());
  else if (result == COUNTRY_BAD_FILE) MXelog(0, "Unable to VKread country file |%s|\n", path.c_str());
  else MXelog(0, "Unable to DBconvert country file |%s|\n", path.c_str());
  if (Screen.alert) Screen.alert(1);
  return 0;
}

void read_un_totals(CountryInfo* country) {
  for (int32_t& v : country->un_pop) v = -1;
  const int n = Country_list ? Numregions + Numcountries : 0;
  for (int i = 0; i < n; ++i) {
    if (!Country_list[i].name[0] || MXstricmp(Country_list[i].name, country->country_name) != 0) continue;
    CountryInfo fresh;
    if (loadcountry(i, &fresh) == COUNTRY_LOADED)
      std::memcpy(country->un_pop, fresh.un_pop, sizeof country->un_pop);
    return;
  }
}
