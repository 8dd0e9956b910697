// Country database files: the reader's keys, year rule and tables with their
// messages, the conversion into rates per million, and loading a list entry into
// a pane (which must leave the pane untouched when it fails).
#include <cstring>

#include "demography_test_support.h"
#include "golden_country.h"

namespace {
// A minimal country: 17 equal groups, flat births and deaths, in persons or units.
std::string small_country(const std::string& extra_head, const std::string& extra_tail = "",
                          bool with_deaths = true) {
  std::string text = "database= VK_country\nname= Smallia\nyear= 1990\n" + extra_head +
                     "total_population= 3400\nlife_expectancy= 60.0\ninfant_deaths= 50.3\n"
                     "total_fertility= 3.0\nformat= age total_pop m_pop f_pop tamrof\nTOTAL 3400 1700 1700\n";
  const char* labels[] = {"00-04", "05-09", "10-14", "15-19", "20-24", "25-29", "30-34", "35-39", "40-44",
                          "45-49", "50-54", "55-59", "60-64", "65-69", "70-74", "75-79", "80+"};
  for (const char* l : labels) text += std::string(l) + " 200 100 100\n";
  text += "endformat\nformat= age total_births m_births f_births tamrof\n";
  const char* blabels[] = {"TOTAL", "-15", "15-19", "20-24", "25-29", "30-34", "35-39", "40-44", "45-49", "50+"};
  for (const char* l : blabels) text += std::string(l) + (l[0] == 'T' ? " 90 46 44\n" : " 10 5 5\n");
  text += "endformat\n";
  if (with_deaths) {
    text += "format= age total_deaths m_deaths f_deaths tamrof\n";
    const char* dlabels[] = {"TOTAL", "-01",   "01-04", "05-09", "10-14", "15-19", "20-24",
                             "25-29", "30-34", "35-39", "40-44", "45-49", "50-54", "55-59",
                             "60-64", "65-69", "70-74", "75-79", "80+"};
    for (const char* l : dlabels) text += std::string(l) + (l[0] == 'T' ? " 72 36 36\n" : " 4 2 2\n");
    text += "endformat\n";
  }
  return text + extra_tail;
}

class CountryDatabaseTest : public DemographyTest {
 protected:
  ReadinInfo raw{};
  int read(const std::string& text) {
    write_text("c.dat", text);
    FILE* f = std::fopen("c.dat", "r");
    const int ok = MXgenreader(f, VKreader, "VK_country", &raw);
    std::fclose(f);
    return ok;
  }
};
}  // namespace

TEST_F(CountryDatabaseTest, ReadsTheKeysIntoTheRawRecord) {
  ASSERT_EQ(read(kGoldenCountryFile), 1);
  EXPECT_STREQ(raw.country_name, "Testland");
  EXPECT_EQ(raw.scale_factor, 1000);
  EXPECT_EQ(raw.total_pop_1990, 14000);
  EXPECT_EQ(raw.life_expect_1990, 6150);
  EXPECT_EQ(raw.infant_deaths_1990, 503);  // 50.3 per thousand
  EXPECT_EQ(raw.tot_fertility_1990, 420);
  EXPECT_EQ(raw.life_expect_2000, 6400);
  EXPECT_EQ(raw.infant_deaths_2000, 420);
  EXPECT_EQ(raw.tot_fertility_2000, 360);
  EXPECT_EQ(raw.mig, -3);
  EXPECT_EQ(raw.buddy, -1);
  EXPECT_EQ(raw.male_pop[1], 620);
  EXPECT_EQ(raw.fem_pop[17], 60);
  EXPECT_EQ(raw.tot_births[2], 120000);
  EXPECT_EQ(raw.fem_births[0], 290000);
  EXPECT_EQ(raw.tot_deaths[18], 16000);
  EXPECT_EQ(raw.fem_deaths[1], 13000);
  EXPECT_NE(error_log().find("VKreader: Processing database for |Testland|\n"), std::string::npos);
}

TEST_F(CountryDatabaseTest, SizeOtherThanThousandMeansPersons) {
  MXDebug = 1;
  ASSERT_EQ(read(small_country("size= 500\n")), 1);
  EXPECT_EQ(raw.scale_factor, 1);
  CountryInfo c;
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  EXPECT_EQ(c.scale_factor, 1);
  // k = 1000000: 10 births over 100 women is 100000 per million, nine of them a
  // TFR of 4.50 before scaling to 3.00.
  EXPECT_NE(error_log().find("Debug: Scaling TFR from 450 to 300\n"), std::string::npos);
}

TEST_F(CountryDatabaseTest, ValuesOfOtherYearsAreSkippedAndTheYearCarriesOn) {
  const std::string head = "year= 1995\nlife_expectancy= 70.0\ntotal_fertility= 9.9\nyear= 1992\n";
  ASSERT_EQ(read(small_country(head)), 1);
  EXPECT_EQ(raw.life_expect_1990, 6000);  // 1992 counts as 1990; 1995's 70.0 was skipped
  EXPECT_EQ(raw.tot_fertility_1990, 300);
  EXPECT_EQ(raw.life_expect_2000, -1);
  // The current year is not reset between files: a file without year= reads
  // its values under the year the previous file ended with.
  ASSERT_EQ(read(small_country("", "year= 2000\n")), 1);
  EXPECT_EQ(read("database= VK_country\ntotal_population= 1\nlife_expectancy= 65.25\n"), 0);
  EXPECT_EQ(raw.life_expect_2000, 6525);
  EXPECT_EQ(raw.life_expect_1990, -1);
}

TEST_F(CountryDatabaseTest, YearTwoThousandFallsBackToNineteenNinety) {
  ASSERT_EQ(read(small_country("year= 1990\n")), 1);
  CountryInfo c;
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  EXPECT_EQ(c.life_expect_2000, 6000);
  EXPECT_EQ(c.tot_fertility_2000, 300);
  EXPECT_EQ(c.infant_deaths_2000, 50300);
  EXPECT_EQ(c.tot_deathrate[0], 50300);  // 50.3 -> 503 -> 50300 per million births
  EXPECT_EQ(c.mig, 0);
}

TEST_F(CountryDatabaseTest, PopulationTablesFollowTheYear) {
  std::string text = small_country("year= 1990\n");
  text += "format= age total_pop m_pop f_pop tamrof\nTOTAL 0 0 0\n";
  const char* labels[] = {"00-04", "05-09", "10-14", "15-19", "20-24", "25-29", "30-34", "35-39", "40-44",
                          "45-49", "50-54", "55-59", "60-64", "65-69", "70-74", "75-79", "80+"};
  for (const char* l : labels) text += std::string(l) + " 300 150 150\n";
  text += "endformat\nyear= 2000\nformat= age total_pop m_pop f_pop tamrof\nTOTAL 1 2 3\n00-04 9 9 9\nendformat\n";
  text += "format= year pop tamrof\n1985 1\n1990 5100\n1995 7\nendformat\n";
  ASSERT_EQ(read(text), 1);
  EXPECT_EQ(raw.male_pop[1], 150);  // the second 1990 table replaced the first
  EXPECT_EQ(raw.fem_pop[17], 150);  // the 2000 table was skipped
  EXPECT_EQ(raw.total_pop_1990, 5100);
}

TEST_F(CountryDatabaseTest, TableErrorsAreReported) {
  std::string bad_label = small_country("");
  bad_label.replace(bad_label.find("05-09"), 5, "05-10");
  EXPECT_EQ(read(bad_label), 0);
  EXPECT_NE(error_log().find("VKreader: Bad label in format: expected |05-09|, got |05-10|\n"), std::string::npos);

  std::string no_end = small_country("");
  no_end.replace(no_end.find("endformat"), 9, "endtable!");
  EXPECT_EQ(read(no_end), 0);
  EXPECT_NE(error_log().find("VKreader: Error in datafile: endformat expected.\n"), std::string::npos);

  EXPECT_EQ(read(small_country("", "format= something else tamrof\n1 2 3\nendformat\n")), 1);
}

TEST_F(CountryDatabaseTest, MissingNineteenNinetyFiguresFailInOrder) {
  EXPECT_EQ(read("database= VK_country\nname= X\n"), 0);
  EXPECT_NE(error_log().find("VKread: Missing 1990 total population\n"), std::string::npos);
  EXPECT_EQ(read("database= VK_country\nyear= 1990\ntotal_population= 5\nlife_expectancy= 50\ninfant_deaths= 9\n"), 0);
  EXPECT_NE(error_log().find("VKread: Missing 1990 total fertility rate\n"), std::string::npos);
  EXPECT_EQ(error_log().find("VKread: Missing 1990 infant deaths per 1000\n"), std::string::npos);
}

TEST_F(CountryDatabaseTest, ConversionMatchesTheReferenceModel) {
  ASSERT_EQ(read(kGoldenCountryFile), 1);
  CountryInfo c;
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  EXPECT_STREQ(c.country_name, "Testland");
  EXPECT_STREQ(c.title, "");
  EXPECT_EQ(c.scale_factor, 1000);
  EXPECT_EQ(c.life_expectancy, 6150);
  EXPECT_EQ(c.tot_fertility_rate, 420);
  EXPECT_EQ(c.life_adjust, kGoldenLifeAdjust);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(c.male_1990_pop[i], kGoldenMale1990[i]) << i;
  for (int i = 0; i < 18; ++i) EXPECT_EQ(c.fem_1990_pop[i], kGoldenFem1990[i]) << i;
  for (int i = 0; i < 9; ++i) EXPECT_EQ(c.tot_birthrate[i], kGoldenBirthrate[i]) << i;
  for (int i = 0; i < 18; ++i) EXPECT_EQ(c.tot_deathrate[i], kGoldenDeathrate[i]) << i;
  EXPECT_EQ(c.mig, -3);
  EXPECT_EQ(c.infant_deaths_2000, 42000);
  EXPECT_EQ(get_TFR(c.tot_birthrate), 420);
  EXPECT_LT(std::abs(get_life_expect(c.tot_deathrate) - 6150), 10);
}

TEST_F(CountryDatabaseTest, GroupsThatAddUpAreKept) {
  ASSERT_EQ(read(small_country("")), 1);
  CountryInfo c;
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  for (int i = 1; i < 18; ++i) EXPECT_EQ(c.male_1990_pop[i], 100);
  EXPECT_EQ(c.male_1990_pop[0], 1700);
  EXPECT_EQ(c.fem_1990_pop[0], 1700);
}

TEST_F(CountryDatabaseTest, MissingDeathsFailTheConversion) {
  ASSERT_EQ(read(small_country("", "", false)), 1);
  CountryInfo c;
  EXPECT_EQ(DBconvert(&raw, &c), 0);
}

TEST_F(CountryDatabaseTest, FemaleAdvantageComparesLikeWithLike) {
  // Women die exactly as often as men at every age and as infants: no advantage.
  // (Female infant deaths over all women would have counted as a huge one.)
  // Infants: 50.0 per thousand births overall; 2 female infant deaths in 40 girls.
  std::string text = small_country("size= 1\n");
  text.replace(text.find("infant_deaths= 50.3"), 19, "infant_deaths= 50.0");
  text.replace(text.find("TOTAL 90 46 44"), 14, "TOTAL 90 50 40");
  ASSERT_EQ(read(text), 1);
  CountryInfo c;
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  EXPECT_EQ(c.life_adjust, 0);
  // Without female births the both-sexes infant rate stands in.
  raw.fem_births[0] = -1;
  ASSERT_EQ(DBconvert(&raw, &c), 1);
  EXPECT_EQ(c.life_adjust, 0);
}

TEST_F(CountryDatabaseTest, ReadcountryLoadsIntoTheWorkedOnPane) {
  ASSERT_EQ(MXinitlog("w"), 1);
  make_list({{"World", "WORLD.DAT"}, {"Testland", "Test.Dat"}}, 1);
  write_text("dbase/test.dat", kGoldenCountryFile);
  Cdisp = 1;
  EXPECT_EQ(readcountry(1), 1);
  EXPECT_STREQ(Country[1].country_name, "Testland");
  EXPECT_STREQ(Country_list[1].file, "test.dat");
  EXPECT_STREQ(Country[0].country_name, "");
  const std::string out = read_text("output.log");
  EXPECT_NE(out.find("Selected country = Testland.\nName           : Year --Population-- TFR LifeEx Migration IMR\n"),
            std::string::npos);
}

TEST_F(CountryDatabaseTest, FailedLoadsLeaveThePaneAlone) {
  ASSERT_EQ(MXinitlog("w"), 1);
  make_list({{"World", "world.dat"}, {"Testland", "test.dat"}, {"Halfland", "half.dat"}}, 1);
  write_text("dbase/test.dat", kGoldenCountryFile);
  write_text("dbase/half.dat", small_country("", "", false));
  static int alerts;
  alerts = 0;
  Screen.alert = [](int n) { alerts += n == 1; };
  ASSERT_EQ(readcountry(1), 1);
  const CountryInfo before = Country[0];

  EXPECT_EQ(readcountry(0), 0);
  EXPECT_NE(error_log().find("Unable to open country file |dbase/world.dat|\n"), std::string::npos);
  EXPECT_NE(read_text("output.log").find("Selected region: = World.\n"), std::string::npos);
  EXPECT_EQ(readcountry(2), 0);
  EXPECT_NE(error_log().find("Unable to DBconvert country file |dbase/half.dat|\n"), std::string::npos);
  write_text("dbase/half.dat", "database= VK_clist\nname= x\n");
  EXPECT_EQ(readcountry(2), 0);
  EXPECT_NE(error_log().find("Unable to VKread country file |dbase/half.dat|\n"), std::string::npos);
  EXPECT_EQ(alerts, 3);
  EXPECT_EQ(std::memcmp(&before, &Country[0], sizeof before), 0);
}
