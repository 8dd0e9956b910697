// Tests of the country list: rows into entries, colours, which names are listed,
// the declared sizes and their limits, ignored blocks, malformed lists, and the
// prefix search over regions and countries together.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/reader_test_support.h"
#include "startup/country_list.h"
#include "startup/filenames.h"

namespace {

// Colour names a test knows: their position in this table is their index.
int test_colors(const char* name) {
  static const char* const names[] = {"black", "white", "dgray", "red", "green"};
  for (int i = 0; i < 5; i++)
    if (strcmp(name, names[i]) == 0) return i;
  return -1;
}

const char* const kHeader = "database= VK_clist\n";
const char* const kFormat = "format= type filename name code color tamrof\n";

class CountryListTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    reset_startup_settings();
    clear_country_list();
    ListColorLookup = test_colors;
    ListFile = "country.maf";
  }
  void TearDown() override {
    clear_country_list();
    ListColorLookup = nullptr;
    reset_startup_settings();
    ScratchDirTest::TearDown();
  }
  void read_list(const std::string& text) {
    write_text_file("country.maf", text);
    get_country_names();
  }
  // Reads the list expecting the fatal entry; returns its text.
  std::string fatal_text(const std::string& text) { return fatal_text_of([&] { read_list(text); }); }
  static std::string counts(int regions, int countries) {
    return "numregions= " + std::to_string(regions) + "\nnumcountries= " + std::to_string(countries) + "\n";
  }
};

TEST_F(CountryListTest, RowsFillEntriesInFileOrder) {
  read_list(std::string(kHeader) + "# the world\n" + counts(2, 6) + kFormat +
            "region world.dat World  900 white\n"
            "sub AFRICA.DAT Sub-Saharan Africa  901 red\n"
            "none bf.dat Burkina Faso\t854 green # a comment after a row\n"
            "none ci.dat Cote d Ivoire  384 purple\n"
            "none ch.dat Chad  148 dgray\n"
            "none wo.dat WORLD  1 red\n"         // a listed name, other case: not listed
            "none bu.dat Burkina  2 red\n"       // begins an earlier name: not listed
            "none cb.dat Chad Basin  3 red\n"    // longer than "Chad": listed
            "endformat\n");
  ASSERT_NE(Country_list, nullptr);
  EXPECT_EQ((std::vector<int>{Numregions, Numcountries, Realnumregions, Realnumcountries}),
            (std::vector<int>{2, 6, 2, 6}));
  // Name, file (lowered only when loaded), code, colour (255 for one the
  // interface does not know) and whether it is listed.
  std::vector<std::string> entries;
  for (int i = 0; i < 8; ++i) {
    const Clist& c = Country_list[i];
    entries.push_back(std::string(c.name) + "|" + c.file + "|" + std::to_string(c.code) + "|" +
                      std::to_string(c.color) + "|" + std::to_string(c.display));
  }
  EXPECT_EQ(entries, (std::vector<std::string>{"World|world.dat|900|1|1", "Sub-Saharan Africa|AFRICA.DAT|901|3|1",
                                               "Burkina Faso|bf.dat|854|4|1", "Cote d Ivoire|ci.dat|384|255|1",
                                               "Chad|ch.dat|148|2|1", "WORLD|wo.dat|1|3|0", "Burkina|bu.dat|2|3|0",
                                               "Chad Basin|cb.dat|3|3|1"}));
  ListColorLookup = nullptr;  // without a colour lookup every colour is unknown
  read_list(std::string(kHeader) + counts(1, 0) + kFormat + "region w.dat World  1 white\nendformat\n");
  EXPECT_EQ(Country_list[0].color, 255);
}

// Another column order, keywords of another case: ignored without a message.
TEST_F(CountryListTest, BlocksOfAnotherLayoutAreIgnored) {
  read_list(std::string(kHeader) + counts(1, 0) + "format= type name filename code color tamrof\n" +
            "region world.dat World  1 white\nendformat\nformat= TYPE filename name code color tamrof\n" +
            "region w.dat W  1 white\nendformat\n" + kFormat + "region w.dat Real  1 white\nendformat\n");
  EXPECT_STREQ(Country_list[0].name, "Real");
  EXPECT_EQ(Realnumregions, 1);
  EXPECT_FALSE(std::filesystem::exists("error.log"));
}

TEST_F(CountryListTest, DeclaredCountsMustComeFirstAndBeSane) {
  const std::string before = "Country list: format block before numregions= and numcountries=\n";
  const std::pair<std::string, std::string> cases[] = {
      {std::string(kFormat) + "endformat\n" + counts(1, 1), before},
      {"numregions= 1\n" + std::string(kFormat) + "endformat\n", before},
      {"numregions= -2\nnumcountries= 1\n", "Country list: numregions= -2 is not a count from 0 to 10000\n"},
      {"numregions= 1\nnumcountries= 99999999999\n",
       "Country list: numcountries= 99999999999 is not a count from 0 to 10000\n"},
      // Changing the region count after the entries are laid out would let region
      // rows run past them.
      {counts(1, 1) + "numregions= 50\n" + kFormat + "endformat\n", "Country list: numregions= after numcountries=\n"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(fatal_text(kHeader + text), message) << text;
  // (Numcountries= before numregions=: tests/app's start-up test.)
  // A second numcountries= lays the list out afresh: the rows read before are gone.
  read_list(std::string(kHeader) + counts(1, 2) + kFormat +
            "region w.dat World  1 red\nnone a.dat A  2 red\nnone b.dat B  3 red\nendformat\n" +
            "numcountries= 0\n");
  EXPECT_EQ(Numcountries + Realnumregions + Realnumcountries, 0);
  EXPECT_EQ(Country_list[0].code, -1);
  // The largest counts are accepted.
  read_list(std::string(kHeader) + counts(10000, 10000) + kFormat + "none a.dat A  1 red\nendformat\n");
  EXPECT_EQ(Realnumcountries, 1);
  EXPECT_STREQ(Country_list[0].name, "A");  // rows go to the next entry in file order
}

TEST_F(CountryListTest, MalformedListsTooManyRowsAndAMissingListAreFatal) {
  const std::string message = "Error processing country database list file |country.maf|\n";
  const std::string head = std::string(kHeader) + counts(2, 2) + kFormat;
  // Empty; no key; an unknown type; types keep their case; no endformat; the
  // colour missing; a file name of 14, a name of 22 and a colour of 14
  // characters; a format block cut short. A code that is not a number reads as 0
  // and leaves its word to the colour: the row's words shift, and the list fails
  // rather than loops.
  for (const std::string& text : std::vector<std::string>{
           "", kHeader, head + "country a.dat A  1 red\nendformat\n",
        head + "Region a.dat A  1 red\nendformat\n", head + "region a.dat A  1 red\n", head + "region a.dat A 1",
        head + "region abcdefghijklmn.dat A  1 red\nendformat\n",
        head + "region a.dat " + std::string(22, 'n') + " 1 red\nendformat\n",
        head + "region a.dat A  1 abcdefghijklmn\nendformat\n",
        std::string(kHeader) + counts(1, 1) + "format= type filename\n", head + "region a.dat A  x red\nendformat\n"})
    EXPECT_EQ(fatal_text(text), message) << text;
  read_list(head + "region a.dat A  x\nendformat\n");  // "x" is taken as the colour name
  EXPECT_EQ((std::vector<int>{Country_list[0].code, Country_list[0].color, Realnumregions}), (std::vector<int>{0, 255, 1}));
  // Too many country rows: fatal inside the reader; error.log names the file it read.
  // Too many region rows: a note from the reader, then the list's own message.
  const std::string one = std::string(kHeader) + counts(0, 1) + kFormat, too_many = "list_reader: Too many countries!\n";
  EXPECT_EQ(fatal_text(one + "none a.dat A  1 red\nnone b.dat B  2 red\nendformat\n"), too_many);
  EXPECT_EQ(error_log(), kVersionLine + too_many + "This happened while reading the file |country.maf|.\n");
  EXPECT_EQ(fatal_text(one + "region a.dat A  1 red\nendformat\n"), message);
  EXPECT_EQ(error_log(), kVersionLine + too_many + message);
  std::remove("country.maf");
  EXPECT_THROW(get_country_names(), FatalExit);
  EXPECT_NE(error_log().find("Unable to access country list |country.maf|.\n"), std::string::npos);
}

TEST_F(CountryListTest, FindSearchesTheWholeRangeWhateverItsOrder) {
  // Regions first, then countries: the list as a whole is not sorted by name.
  read_list(std::string(kHeader) + counts(2, 4) + kFormat +
            "region w.dat World  1 red\nregion a.dat Asia  2 red\n"
            "none af.dat Afghanistan  3 red\nnone zw.dat Zimbabwe  4 red\n"
            "none al.dat Albania  5 red\nnone wa.dat Wallis  6 red\nendformat\n");
  const int n = Realnumregions + Realnumcountries;
  // "alb" lies after "World", which sorts later; "A" finds the first match in list
  // order; "Asia" lies outside the range from 2.
  const struct {
    const char* text;
    int from, to, found;
  } cases[] = {{"alb", 0, n, 4},  {"ZIM", 0, n, 3},        {"A", 0, n, 1},          {"Wa", 0, n, 5},
               {"Asia", 2, n, -1}, {"Zimbabwe", 0, 3, -1}, {"Zimbabwes", 0, n, -1}, {"", 0, n, -1},
               {"World", 3, 3, -1}, {"World", 4, 2, -1}};
  for (const auto& c : cases) EXPECT_EQ(find(Country_list, c.text, c.from, c.to), c.found) << c.text << " " << c.from;
}

}  // namespace
