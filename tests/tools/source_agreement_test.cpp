// With the source data at hand: the committed databases agree with WPP 2019 to
// the files' rounding (figures recomputed here from the WPP tables), the death
// counts give back WPP's death rates through the program's conversion rule
// (deaths over the 1990 group), and running the generator again reproduces every
// committed file byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "data_dir_support.h"
#include "wpp_tables.h"

namespace {

namespace fs = std::filesystem;
const std::string kData = DEMOVAR_DATA_DIR;
const std::string kSource = DEMOVAR_SOURCE_DATA_DIR;

bool have_source() { return fs::exists(kSource + "/wpp2019/popM.txt") && fs::exists(kSource + "/world-atlas/countries-50m.geojson"); }

class SourceAgreement : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    if (have_source() && !read_wpp_data(kSource + "/wpp2019", wpp.get(), &error)) wpp.reset();
  }
  void SetUp() override {
    if (!have_source()) GTEST_SKIP() << "no source data in " << kSource;
    ASSERT_NE(wpp, nullptr);
    int regions = 0, countries = 0;
    rows = read_list(kData + "/dbase/country.maf", &regions, &countries);
    ASSERT_EQ(rows.size(), 229u);
  }
  static inline std::unique_ptr<WppData> wpp = std::make_unique<WppData>();
  std::vector<ListRow> rows;
};

// 1q0 from 1m0 with the Coale-Demeny separation factors (as used by the UN).
double q0(double m0, bool male) {
  const double a0 = male ? (m0 >= 0.107 ? 0.330 : 0.045 + 2.684 * m0) : (m0 >= 0.107 ? 0.350 : 0.053 + 2.800 * m0);
  return m0 / (1 + (1 - a0) * m0);
}

TEST_F(SourceAgreement, SummaryFiguresMatchWpp) {
  for (const ListRow& r : rows) {
    SCOPED_TRACE(r.name);
    Database db = read_database(kData + "/dbase/" + r.file);
    const double unit = db.values["size="][0] == "1000" ? 1 : 1000;
    double total = 0;
    for (const char* age : kAges) total += wpp->pop_m.value(r.code, age, "1990") + wpp->pop_f.value(r.code, age, "1990");
    // 34 groups, each rounded to a whole unit.
    EXPECT_NEAR(std::stod(db.values["total_population="][0]), total * unit, 17);
    const char* periods[] = {"1990-1995", "2000-2005"};
    for (int k = 0; k < 2; ++k) {
      const std::string period = periods[k];
      const double srb = wpp->sex_ratio.value(r.code, period);
      EXPECT_NEAR(std::stod(db.values["total_fertility="][static_cast<size_t>(k)]), wpp->tfr.value(r.code, period), 0.0051);
      const double e0 = (srb * wpp->e0_m.value(r.code, period) + wpp->e0_f.value(r.code, period)) / (1 + srb);
      EXPECT_NEAR(std::stod(db.values["life_expectancy="][static_cast<size_t>(k)]), e0, 0.0051);
      const double imr = 1000 * (srb * q0(wpp->mx_m.value(r.code, "0", period), true) +
                                 q0(wpp->mx_f.value(r.code, "0", period), false)) / (1 + srb);
      EXPECT_NEAR(std::stod(db.values["infant_deaths="][static_cast<size_t>(k)]), imr, 0.051);
    }
    EXPECT_NEAR(std::stod(db.values["migration="][0]), wpp->migration.value(r.code, "1990-1995") * unit / 5, 0.51);
    // The UN's totals of 1990 ... 2050 (estimates to 2020, medium variant after).
    const auto& un = db.tables["pop"];
    ASSERT_EQ(un.size(), 13u);
    for (size_t t = 0; t < un.size(); ++t) {
      const std::string year = std::to_string(1990 + 5 * t);
      double v = 0;
      for (const char* age : kAges)
        v += t <= 6 ? wpp->pop_m.value(r.code, age, year) + wpp->pop_f.value(r.code, age, year)
                    : wpp->pop_m_med.value(r.code, age, year) + wpp->pop_f_med.value(r.code, age, year);
      EXPECT_NEAR(std::stod(un[t][1]), v * unit, 17) << year;
    }
  }
}

TEST_F(SourceAgreement, DeathsOverTheGroupGiveBackWppDeathRates) {
  for (const ListRow& r : rows) {
    Database db = read_database(kData + "/dbase/" + r.file);
    const double unit = db.values["size="][0] == "1000" ? 1000 : 1;  // persons per unit
    // Sexes in columns 2 and 3; groups 5-9 ... 75-79, the deaths row two below the label row.
    for (size_t column : {size_t{2}, size_t{3}})
      for (size_t g = 1; g < 16; ++g) {
      const double people = std::stod(db.tables["total_pop"][g + 1][column]) * unit;
      const double rate = (column == 2 ? wpp->mx_m : wpp->mx_f).value(r.code, std::to_string(5 * g), "1990-1995");
      // Rounding of the count to a whole death and of the group to a whole unit.
      if (people < unit) continue;
      EXPECT_NEAR(std::stod(db.tables["total_deaths"][g + 2][column]) / people, rate, (0.5 + rate * 0.5 * unit) / people + 1e-9)
          << r.name << " group " << g << " column " << column;
    }
  }
}

TEST(Regeneration, GeneratorReproducesTheCommittedFilesByteForByte) {
  if (!have_source()) GTEST_SKIP() << "no source data in " << kSource;
  const fs::path out = fs::temp_directory_path() / ("demovar-regenerated-" + std::to_string(::getpid()));
  fs::remove_all(out);
  const std::string command = std::string("\"") + MAKE_WORLD_DATA + "\" \"" + kSource + "\" \"" + out.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  size_t compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), out);
    EXPECT_EQ(read_file(entry.path().string()), read_file((fs::path(kData) / relative).string())) << relative;
    ++compared;
  }
  // No committed database is left over from an older list.
  for (const auto& entry : fs::directory_iterator(fs::path(kData) / "dbase"))
    if (entry.path().extension() == ".dat") {
      EXPECT_TRUE(fs::exists(out / "dbase" / entry.path().filename())) << entry.path().filename();
    }
  EXPECT_EQ(compared, 2 * 229u + 5u);  // databases of 1990 and 2020, list, aliases, two maps, config.mcf
  fs::remove_all(out);
}

}  // namespace
