// Country database files: the reader's keys, year rule and tables with their
// messages, the conversion into rates per million, and loading a list entry into
// a pane (which must leave the pane untouched when it fails).
#include <cstring>

#include "demography_test_support.h"

namespace {
// Rows labelled "first-(first+4)" .. "last-(last+4)", each with `values`.
std::string rows(int first, int last, const std::string& values) {
  std::string text;
  char label[24];
  for (int a = first; a <= last; a += 5) {
    std::snprintf(label, sizeof label, "%02d-%02d", a, a + 4);
    text += label + values;
  }
  return text;
}

std::string pop_table(const std::string& total, const std::string& values) {
  return "format= age total_pop m_pop f_pop tamrof\nTOTAL " + total + "\n" + rows(0, 75, values) + "80+" + values +
         "endformat\n";
}

// A minimal country: 17 equal groups, flat births, deaths the same for both sexes
// (2 female infant deaths in 40 girls: 50.0 per thousand, as overall).
std::string small_country(const std::string& head, const std::string& tail = "", bool with_deaths = true) {
  std::string text = "database= VK_country\nname= Smallia\nyear= 1990\n" + head +
                     "total_population= 3400\nlife_expectancy= 60.0\ninfant_deaths= 50.0\ntotal_fertility= 3.0\n" +
                     pop_table("3400 1700 1700", " 200 100 100\n") +
                     "format= age total_births m_births f_births tamrof\nTOTAL 90 50 40\n-15 10 5 5\n" +
                     rows(15, 45, " 10 5 5\n") + "50+ 10 5 5\nendformat\n";
  if (with_deaths)
    text += "format= age total_deaths m_deaths f_deaths tamrof\nTOTAL 72 36 36\n-01 4 2 2\n01-04 4 2 2\n" +
            rows(5, 75, " 4 2 2\n") + "80+ 4 2 2\nendformat\n";
  return text + tail;
}

class CountryDatabaseTest : public DemographyTest {
 protected:
  ReadinInfo raw{};
  CountryInfo c{};
};
}  // namespace

TEST_F(CountryDatabaseTest, GoldenCountryReadsAndConvertsToItsStatedFigures) {
  ASSERT_EQ(read_country(golden_country(), &raw), 1);
  EXPECT_NE(error_log().find("VKreader: Processing database for |Testland|\n"), std::string::npos);
  // 61.50 years, 50.3 and (in 2000) 42.0 infant deaths per thousand, 4.20 children
  EXPECT_EQ((std::vector<int32_t>{raw.scale_factor, raw.life_expect_1990, raw.infant_deaths_1990,
                                  raw.infant_deaths_2000, raw.tot_fertility_1990}),
            (std::vector<int32_t>{1000, 6150, 503, 420, 420}));
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  EXPECT_STREQ(c.country_name, "Testland");
  EXPECT_EQ(c.male_1990_pop[0] + c.fem_1990_pop[0], 14000);  // the groups scaled to the stated total
  EXPECT_EQ(get_TFR(c.tot_birthrate), 420);
  EXPECT_LT(std::abs(get_life_expect(c.tot_deathrate) - 6150), 10);
}

TEST_F(CountryDatabaseTest, SizeOtherThanThousandMeansPersons) {
  MXDebug = 1;
  std::string text = small_country("size= 500\n");
  for (size_t at; (at = text.find(" 200 100 100\n")) != std::string::npos;) text.replace(at, 13, " 200 120 80\n");
  ASSERT_EQ(read_country(text, &raw), 1);
  EXPECT_EQ(raw.scale_factor, 1);
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  EXPECT_EQ(c.scale_factor, 1);
  // k = 1000000: 10 births over 80 women (not the 120 men) is 125000 per million,
  // nine of them a TFR of 5.625 before scaling to 3.00.
  EXPECT_NE(error_log().find("Debug: Scaling TFR from 563 to 300\n"), std::string::npos);
}

TEST_F(CountryDatabaseTest, TheYearDecidesWhichValuesCount) {
  const std::string tail = "year= 1995\nlife_expectancy= 70.0\ntotal_fertility= 9.9\n";
  ASSERT_EQ(read_country(small_country("year= 1992\n", tail), &raw), 1);
  // 1992 counts as 1990; 1995's 70.0 was skipped.
  EXPECT_EQ((std::vector<int32_t>{raw.life_expect_1990, raw.tot_fertility_1990, raw.life_expect_2000}), (std::vector<int32_t>{6000, 300, -1}));
  // The current year is not reset between files: a file without year= reads
  // its values under the year the previous file ended with.
  ASSERT_EQ(read_country(small_country("", "year= 2000\n"), &raw), 1);
  EXPECT_EQ(read_country("database= VK_country\ntotal_population= 1\nlife_expectancy= 65.25\n", &raw), 0);
  EXPECT_EQ((std::vector<int32_t>{raw.life_expect_2000, raw.life_expect_1990}), (std::vector<int32_t>{6525, -1}));
  // Tables too: a second 1990 table replaces the first, a 2000 one is skipped.
  const std::string tables = pop_table("0 0 0", " 300 150 150\n") + "year= 2000\n" + pop_table("1 2 3", " 9 9 9\n") +
                             "format= year pop tamrof\n1985 1\n1990 5100\n1995 7\n2050 9\n2055 8\nendformat\n";
  ASSERT_EQ(read_country(small_country("year= 1990\n", tables), &raw), 1);
  // The UN's totals of 1990 ... 2050, the thirteen points of a run.
  EXPECT_EQ((std::vector<int32_t>{raw.male_pop[1], raw.fem_pop[17], raw.total_pop_1990, raw.un_pop[0], raw.un_pop[12]}),
            (std::vector<int32_t>{150, 150, 5100, 5100, 9}));
}

TEST_F(CountryDatabaseTest, ConversionKeepsFittingGroupsAndComparesLikeWithLike) {
  ASSERT_EQ(read_country(small_country("year= 1990\n"), &raw), 1);
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  // Year 2000 falls back to 1990; 50.0 infant deaths -> 500 -> 50000 per million births.
  EXPECT_EQ((std::vector<int32_t>{c.life_expect_2000, c.tot_fertility_2000, c.infant_deaths_2000, c.tot_deathrate[0], c.mig}),
            (std::vector<int32_t>{6000, 300, 50000, 50000, 0}));
  // Groups that add up to the total population are kept as they are.
  for (int i = 1; i < 18; ++i) EXPECT_EQ(c.male_1990_pop[i], 100);
  EXPECT_EQ(c.fem_1990_pop[0], 1700);
  // Women die exactly as often as men, infants too: no female advantage. (Female
  // infant deaths over all women would have counted as a huge one.) Without female
  // births the both-sexes infant rate stands in.
  EXPECT_EQ(c.life_adjust, 0);
  raw.fem_births[0] = -1;
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  EXPECT_EQ(c.life_adjust, 0);
}

TEST_F(CountryDatabaseTest, BadFilesAreRefusedWithTheirMessage) {
  const std::string text = small_country("");
  std::string bad_label = text, no_end = text;
  bad_label.replace(bad_label.find("05-09"), 5, "05-10");
  no_end.replace(no_end.find("endformat"), 9, "endtable!");
  const std::pair<std::string, const char*> cases[] = {
      {bad_label, "VKreader: Bad label in format: expected |05-09|, got |05-10|\n"},
      {no_end, "VKreader: Error in datafile: endformat expected.\n"},
      {"database= VK_country\nname= X\n", "VKread: Missing 1990 total population\n"},
      // Missing figures are reported in order: fertility is missing, the infant deaths are not.
      {"database= VK_country\nyear= 1990\ntotal_population= 5\nlife_expectancy= 50\ninfant_deaths= 9\n",
       "VKread: Missing 1990 total fertility rate\n"},
  };
  for (const auto& [file, message] : cases) {
    EXPECT_EQ(read_country(file, &raw), 0) << message;
    EXPECT_NE(error_log().find(message), std::string::npos) << message;
  }
  EXPECT_EQ(error_log().find("VKread: Missing 1990 infant deaths per 1000\n"), std::string::npos);
  EXPECT_EQ(read_country(small_country("", "format= something else tamrof\n1 2 3\nendformat\n"), &raw), 1);
}

TEST_F(CountryDatabaseTest, ReadcountryLoadsIntoTheWorkedOnPaneOrLeavesItAlone) {
  ASSERT_EQ(MXinitlog("w"), 1);
  std::filesystem::create_directories("dbase");
  write_text_file("dbase/country.maf", "database= VK_clist\nnumregions= 1\nnumcountries= 2\n"
                                  "format= type filename name code color tamrof\nregion world.dat World\t1 red\n"
                                  "none Test.Dat Testland\t2 red\nnone half.dat Halfland\t3 red\nendformat\n");
  Datapath = "dbase/", ListFile = "dbase/country.maf";
  get_country_names();
  write_text_file("dbase/test.dat", golden_country());
  write_text_file("dbase/half.dat", small_country("", "", false));  // no deaths: the conversion fails
  static int alerts;
  alerts = 0;
  Screen.alert = [](int n) { alerts += n == 1; };
  Cdisp = 1;
  ASSERT_EQ(readcountry(1), 1);
  EXPECT_STREQ(Country[1].country_name, "Testland");
  EXPECT_STREQ(Country_list[1].file, "test.dat");
  EXPECT_STREQ(Country[0].country_name, "");
  EXPECT_NE(read_text_file("output.log")
                .find("Selected country = Testland.\nName           : Year --Population-- TFR LifeEx Migration IMR\n"),
            std::string::npos);

  Cdisp = 0;
  ASSERT_EQ(readcountry(1), 1);
  const CountryInfo before = Country[0];
  EXPECT_EQ(readcountry(0), 0);
  EXPECT_NE(read_text_file("output.log").find("Selected region: = World.\n"), std::string::npos);
  EXPECT_EQ(readcountry(2), 0);
  write_text_file("dbase/half.dat", "database= VK_clist\nname= x\n");
  EXPECT_EQ(readcountry(2), 0);
  for (const char* m : {"Unable to open country file |dbase/world.dat|\n",
                        "Unable to DBconvert country file |dbase/half.dat|\n", "Unable to VKread country file |dbase/half.dat|\n"})
    EXPECT_NE(error_log().find(m), std::string::npos) << m;
  EXPECT_EQ(alerts, 3);
  EXPECT_EQ(std::memcmp(&before, &Country[0], sizeof before), 0);
}
