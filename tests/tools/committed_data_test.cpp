// The committed data directory, read with the tests' own simple readers: the
// country list, the population units, and the two maps (sizes, pixel values,
// reachability of every entry, land where land is, colours of touching entries,
// small places at their real coordinates).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>

#include "data_dir_support.h"
#include "world_maps.h"

namespace {

const std::string kData = DEMOVAR_DATA_DIR;

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct CountryList : ::testing::Test {
  void SetUp() override { rows = read_list(kData + "/dbase/country.maf", &numregions, &numcountries); }
  int index_of(int code) const {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].code == code) return static_cast<int>(i);
    return -1;
  }
  std::vector<ListRow> rows;
  int numregions = -1;
  int numcountries = -1;
};

struct Maps : CountryList {
  void SetUp() override {
    CountryList::SetUp();
    ASSERT_EQ(regions.loaded, 1);
    ASSERT_EQ(countries.loaded, 1);
  }
  const Map regions = read_map(kData + "/images/regions.rl8");
  const Map countries = read_map(kData + "/images/countries.rl8");
};

TEST_F(CountryList, RegionsFirstThenCountriesEachGroupInNameOrder) {
  // The world, 6 major areas and 21 UN regions; the 201 WPP countries with full age data.
  ASSERT_EQ(numregions, 28);
  ASSERT_EQ(numcountries, 201);
  ASSERT_EQ(rows.size(), 229u);
  EXPECT_EQ(rows[0].name, "World");
  EXPECT_EQ(rows[0].code, 900);
  // (The lengths of names and files, colours that are palette names other than the
  // sea's black, and names that no earlier name begins are checked as the program
  // reads the list: engine_load_test.)
  std::set<std::string> files;
  for (size_t i = 0; i < rows.size(); ++i) {
    const ListRow& r = rows[i];
    EXPECT_EQ(r.type, i < 7 ? "region" : i < 28 ? "sub" : "none") << r.name;
    EXPECT_EQ(r.file, lower(r.file));
    EXPECT_TRUE(files.insert(r.file).second) << r.file;
    if (i > 1 && rows[i - 1].type == r.type) {
      EXPECT_LT(lower(rows[i - 1].name), lower(r.name));
    }
  }
}

// (Each file's figures against WPP 2019: source_agreement_test; each file read and
// converted by the program: engine_load_test.)
TEST_F(CountryList, SmallCountriesCountInPersonsLargeOnesInThousands) {
  const std::pair<int, const char*> units[] = {{900, "1000"}, {156, "1000"}, {356, "1000"}, {840, "1000"}, {76, "1000"},
                                               {776, "1"},    {462, "1"},    {352, "1"},    {442, "1"},    {830, "1"}};
  for (const auto& [code, unit] : units) {  // world, China, India, USA, Brazil; Tonga, Maldives, Iceland, ...
    ASSERT_GE(index_of(code), 0) << code;
    EXPECT_EQ(read_database(kData + "/dbase/" + rows[static_cast<size_t>(index_of(code))].file).values["size="][0], unit);
  }
  // A file in persons keeps even the extreme spreading of rates (rate up to 999000
  // per million over 10000 times a 1990 group) within 32 bits.
  for (const ListRow& r : rows) {
    Database db = read_database(kData + "/dbase/" + r.file);
    if (db.values["size="][0] != "1") continue;
    for (size_t g = 1; g < 18; ++g) EXPECT_LT(100 * std::stoll(db.tables["total_pop"][g][1]), 2147483647LL) << r.name;
  }
}

// Both maps decode with their declared sizes, the country map at twice the
// region map's linear resolution; every entry is reachable, no pixel stray, and
// region-map land has land in its 2 x 2 block of the country map.
TEST_F(Maps, SizesEveryEntryReachableNoPixelStrayAndLandWhereLandIs) {
  EXPECT_EQ(regions.picture.tag, MX_RUN8_TAG);
  EXPECT_EQ(regions.picture.cols, 240);
  EXPECT_NEAR(regions.picture.rows, 120, 20);
  EXPECT_EQ(countries.picture.cols, 2 * regions.picture.cols);
  EXPECT_EQ(countries.picture.rows, 2 * regions.picture.rows);
  std::set<int> on_regions, on_countries;
  for (const auto* map : {&regions, &countries})
    for (int y = 0; y < map->picture.rows; ++y)
      for (int x = 0; x < map->picture.cols; ++x) {
        const int v = pixel(*map, x, y);
        ASSERT_TRUE(v == 255 || v < static_cast<int>(rows.size())) << v;
        (map == &regions ? on_regions : on_countries).insert(v);
        int land = 0;
        for (int k = 0; k < 4 && map == &regions; ++k) land += pixel(countries, 2 * x + k % 2, 2 * y + k / 2) != 255;
        EXPECT_TRUE(land > 0 || v == 255 || map == &countries) << x << "," << y;
      }
  // Every country is on the country map; every UN region (and Northern America, a
  // major area and region at once) on the region map, which holds nothing but
  // region entries.
  for (size_t i = 0; i < rows.size(); ++i)
    EXPECT_TRUE(rows[i].type == "none" ? on_countries.count(static_cast<int>(i)) > 0
                                       : (rows[i].type != "sub" && rows[i].code != 905) || on_regions.count(static_cast<int>(i)) > 0)
        << rows[i].name;
  for (int v : on_regions) EXPECT_TRUE(v == 255 || rows[static_cast<size_t>(v)].type != "none") << v;
  EXPECT_TRUE(on_regions.count(255));  // the sea
}

TEST_F(Maps, TouchingEntriesHaveDifferentColours) {
  for (const Map* map : {&regions, &countries})
    for (int y = 0; y < map->picture.rows; ++y)
      for (int x = 0; x < map->picture.cols; ++x)
        for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{1, 1}, std::pair{-1, 1}}) {
          const int a = pixel(*map, x, y), b = pixel(*map, x + dx, y + dy);
          if (a == 255 || b == 255 || b == 0xFFFF || b == a) continue;
          EXPECT_NE(rows[static_cast<size_t>(a)].color, rows[static_cast<size_t>(b)].color) << rows[static_cast<size_t>(a)].name;
        }
}

TEST_F(Maps, SmallPlacesSitAtTheirRealCoordinates) {
  // The frame: Equal Earth (published extent: x to 2.7066, y to 1.3173), the whole
  // width of the world, 84 N at the top edge.
  double xmax, zero, ytop, ymax;
  equal_earth(180, 0, &xmax, &zero);
  equal_earth(0, 90, &zero, &ymax);
  EXPECT_NEAR(xmax, 2.7066, 1e-4);
  EXPECT_NEAR(ymax, 1.3173, 1e-4);
  equal_earth(0, 84, &zero, &ytop);
  const double scale = countries.picture.cols / (2 * xmax);
  // Areas that Natural Earth draws as part of another country, and tiny states.
  const struct { const char* what; double lon, lat; int code; } places[] = {
      {"Mayotte", 45.15, -12.83, 175}, {"Reunion", 55.53, -21.13, 638}, {"Martinique", -61.02, 14.64, 474},
      {"Guadeloupe", -61.55, 16.25, 312}, {"French Guiana", -53.1, 3.9, 254}, {"Channel Islands", -2.3, 49.3, 830},
      {"Malta", 14.4, 35.9, 470}, {"Singapore", 103.8, 1.35, 702}, {"Hong Kong", 114.17, 22.32, 344},
      {"Lesotho", 28.2, -29.6, 426}, {"Luxembourg", 6.13, 49.8, 442}, {"Uruguay", -56, -33, 858}};
  for (const auto& p : places) {
    double x, y;
    equal_earth(p.lon, p.lat, &x, &y);
    bool found = false;
    for (int k = 0; k < 25; ++k)
      found = found || pixel(countries, static_cast<int>((x + xmax) * scale) + k % 5 - 2, static_cast<int>((ytop - y) * scale) + k / 5 - 2) == index_of(p.code);
    EXPECT_TRUE(found) << p.what;
  }
}

}  // namespace
