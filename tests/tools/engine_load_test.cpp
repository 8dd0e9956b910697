// The committed data through the program's own readers: the country list read by
// get_country_names, and every entry loaded with readcountry and converted with
// DBconvert. The converted record must carry the file's 1990 figures exactly (to
// the file's rounding) and its rates must reproduce the stated total fertility and
// life expectancy within the engine's own stopping rules.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

#include "base/log.h"
#include "base/text.h"
#include "data_dir_support.h"
#include "demography/country.h"
#include "demography/projection.h"
#include "demography/rescale.h"
#include "demography/simulation.h"
#include "startup/country_list.h"
#include "startup/filenames.h"

namespace {

const std::string kData = DEMOVAR_DATA_DIR;

[[noreturn]] void throw_fatal(int, const char* text) { throw std::runtime_error(text); }

int colour_index(const char* name) {
  static const char* const kNames[] = {"black", "white", "dgray", "mgray", "lgray", "bluegray", "lblue", "peach",
                                       "blue", "green", "lpurple", "red", "yellow", "lcyan", "magenta", "sandy"};
  for (int i = 0; i < 16; ++i)
    if (MXstricmp(name, kNames[i]) == 0) return i;
  return -1;
}

// Hundredths (or tenths) as the reader turns a real into an integer.
int32_t scaled(const std::string& text, double factor) { return static_cast<int32_t>(std::stod(text) * factor + 0.5); }

TEST(EngineLoad, EveryEntryLoadsAndConvertsToItsStatedFigures) {
  const std::filesystem::path old_dir = std::filesystem::current_path();
  char tmpl[] = "/tmp/worlddata-engine-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  std::filesystem::current_path(tmpl);
  ASSERT_EQ(init_error_log("w"), 1);
  ASSERT_EQ(MXinitlog("w"), 1);
  MXsetfatalhandler(throw_fatal);
  reset_startup_settings();
  HasFPU = 1;
  clear_country_list();
  reset_vkreader();
  Cdisp = 0;
  ListColorLookup = colour_index;
  Datapath = kData + "/dbase/";
  ListFile = kData + "/dbase/country.maf";

  ASSERT_NO_THROW(get_country_names());
  ASSERT_EQ(Realnumregions, 28);
  ASSERT_EQ(Realnumcountries, 201);
  const int entries = Realnumregions + Realnumcountries;
  // Both starting points: the databases of 1990 and those of 2020.
  for (const auto& [folder, base] : {std::pair<std::string, int>{"/dbase/", 1990}, {"/dbase2020/", 2020}})
  for (int i = 0; i < entries; ++i) {
    Base_year = base;
    Datapath = kData + folder;
    const Clist& entry = Country_list[i];
    SCOPED_TRACE(entry.name + std::string(folder));
    EXPECT_EQ(entry.display, 1);  // every entry shows in the selection list
    EXPECT_TRUE(entry.color != 255 && entry.color != 0);  // a palette name, not the sea's black
    ASSERT_EQ(readcountry(i), 1);
    const CountryInfo& c = Country[0];
    const Database db = read_database(kData + folder + entry.file);
    auto value = [&](const char* key, size_t k) { return db.values.at(key).at(k); };

    EXPECT_STREQ(c.country_name, entry.name);
    EXPECT_GT(c.un_pop[12], 0);  // the UN's total of the last year
    // Unit, total in 1990 and the UN's, TFR, life expectancy and infant deaths of 1990
    // and 2000, and migration (Niger's -1 unit is a real one, not the "absent" mark).
    const long total = std::stol(value("total_population=", 0));
    EXPECT_EQ((std::vector<long>{c.scale_factor, c.male_1990_pop[0] + c.fem_1990_pop[0], c.un_pop[0], c.tot_fertility_rate,
                                 c.life_expectancy, c.tot_deathrate[0], c.tot_fertility_2000, c.life_expect_2000, c.infant_deaths_2000, c.mig}),
              (std::vector<long>{std::stoi(value("size=", 0)), total, total, scaled(value("total_fertility=", 0), 100),
                                 scaled(value("life_expectancy=", 0), 100), scaled(value("infant_deaths=", 0), 10) * 100,
                                 scaled(value("total_fertility=", 1), 100), scaled(value("life_expectancy=", 1), 100),
                                 scaled(value("infant_deaths=", 1), 10) * 100, std::stol(value("migration=", 0))}));

    // The rates reproduce the stated figures: TFR to the rounding of nine rescaled
    // rates, life expectancy to the tenth of a year at which the engine's secant
    // search stops.
    EXPECT_NEAR(get_TFR(c.tot_birthrate), c.tot_fertility_rate, 2);
    EXPECT_NEAR(get_life_expect(c.tot_deathrate), c.life_expectancy, 10);
  }
  // Typed names through the aliases: a whole alias beats a prefix ("uk" is not
  // Ukraine), accents fold, "Korea" names both Koreas, "Atl" nothing.
  ASSERT_NO_THROW(get_country_aliases());
  const struct {
    const char *typed, *found, *other;
  } names[] = {{"usa", "United States", ""},        {"uk", "United Kingdom", ""},
               {"C\xf4te d'Ivoire", "Cote d'Ivoire", ""}, {"Burma", "Myanmar", ""},
               {"Korea", "North Korea", "South Korea"}, {"ukr", "Ukraine", ""}, {"Atl", "", ""}};
  for (const auto& n : names) {
    int other = -1;
    const int i = find_name(n.typed, &other);
    EXPECT_STREQ(i < 0 ? "" : Country_list[i].name, n.found) << n.typed;
    EXPECT_STREQ(other < 0 ? "" : Country_list[other].name, n.other) << n.typed;
  }
  std::filesystem::current_path(old_dir);
  std::filesystem::remove_all(tmpl);
}

}  // namespace
