// vkproject, the command-line projector, end to end on a small data directory:
// its figures against the reference definitions, the options, the formats, the saved
// run, and the refusals with exit status 2.
#include "demography/saved_simulation.h"
#include "demography_test_support.h"
#include "projection_reference.h"
#include "vkproject.h"

namespace {
class VKProjectTest : public DemographyTest {
 protected:
  std::string out, err;

  void SetUp() override {
    DemographyTest::SetUp();
    std::filesystem::create_directories("data/db");
    write_text("data/config.mcf", "database= VK_config\ndatapath= db/\nlistpath= db/\nlistname= list.maf\n");
    write_text("data/db/list.maf",
               "database= VK_clist\nnumregions= 1\nnumcountries= 3\n"
               "format= type filename name code color tamrof\n"
               "region TEST.DAT Testland\t1 red\n"
               "none gone.dat Goneland\t2 red\n"
               "none comma.dat Korea, Rep.\t3 red\n"
               "none person.dat Tinyland\t4 red\n"
               "endformat\n");
    const std::string golden = golden_country();
    write_text("data/db/test.dat", golden);
    std::string comma = golden, person = golden;
    comma.replace(comma.find("Testland"), 8, "Korea, Rep.");
    write_text("data/db/comma.dat", comma);
    person.replace(person.find("size= 1000"), 10, "size= 1");
    person += "format= year pop tamrof\n1990 14000\n2000 15500\nendformat\n";  // UN totals
    write_text("data/db/person.dat", person);
  }

  // The golden country's run by the reference definitions.
  static VKStatetype golden_run(bool expected) {
    ReadinInfo raw{};
    EXPECT_EQ(read_country(golden_country(), &raw), 1);
    CountryInfo c{};
    ref::convert(raw, &c);
    VKStatetype s = ref::start(c, 1990, expected);
    while (s.stepcnt < 12) ref::step(s, c.life_adjust);
    return s;
  }

  // Runs vkproject with the arguments, given separated by single spaces.
  int run(const std::string& line) {
    std::vector<std::string> args{"vkproject"};
    for (size_t from = 0, to; from < line.size(); from = to + 1)
      args.push_back(line.substr(from, (to = std::min(line.find(' ', from), line.size())) - from));
    return run_args(args);
  }

  int run_args(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    char *o = nullptr, *e = nullptr;
    size_t o_size = 0, e_size = 0;
    FILE* o_file = open_memstream(&o, &o_size);
    FILE* e_file = open_memstream(&e, &e_size);
    const int status = vkproject_main(static_cast<int>(argv.size()), argv.data(), o_file, e_file);
    std::fclose(o_file);
    std::fclose(e_file);
    out.assign(o, o_size), err.assign(e, e_size);
    std::free(o), std::free(e);
    return status;
  }

  static std::vector<std::vector<std::string>> csv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      std::vector<std::string> cells;
      std::string cell;
      bool quoted = false;
      for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) cells.push_back(cell), cell.clear();
        else cell += c;
      }
      cells.push_back(cell);
      rows.push_back(cells);
    }
    return rows;
  }
};
}  // namespace

TEST_F(VKProjectTest, RawFiguresAreTheEnginesOwn) {
  ASSERT_EQ(run("--data data --country TESTLAND --raw --format csv"), 0) << err;
  const auto rows = csv(out);
  const VKStatetype want = golden_run(false);
  ASSERT_EQ(rows.size(), 14u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"name", "year", "population", "tfr", "lifex", "migration", "imr",
                                               "un_population"}));
  for (int t = 0; t <= 12; ++t) {
    EXPECT_EQ(rows[t + 1][0], "Testland");
    EXPECT_EQ(rows[t + 1][1], std::to_string(1990 + 5 * t));
    EXPECT_EQ(rows[t + 1][2], std::to_string(want.totpop[t])) << t;
    EXPECT_EQ(rows[t + 1][5], "-3");
  }
  EXPECT_EQ(rows[1][3], "420");
  EXPECT_EQ(rows[1][6], "50300");
  EXPECT_TRUE(std::filesystem::exists("data/config.mcf"));  // back in the working directory
}

TEST_F(VKProjectTest, ScreenUnitsAndGroups) {
  ASSERT_EQ(run("--data data --country testland --format csv --groups --to 1995"), 0);
  const auto rows = csv(out);
  const VKStatetype want = golden_run(false);
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_EQ(rows[0].size(), 8u + 34u);
  EXPECT_EQ(rows[0][8], "m0");
  EXPECT_EQ(rows[0][41], "f16");
  EXPECT_EQ(rows[1][2], "14000000");
  EXPECT_EQ(rows[1][3], "4.20");
  EXPECT_EQ(rows[1][5], "-3000");
  EXPECT_EQ(rows[1][6], "50.300");
  EXPECT_EQ(rows[1][8], std::to_string(want.male_pop[0][0] * 1000));
  EXPECT_EQ(rows[2][8], std::to_string(want.male_pop[1][0] * 1000));
  EXPECT_EQ(rows[2][41], std::to_string(want.fem_pop[1][16] * 1000));
}

// (Targets set from the command line: the program's scenario-window test holds the
// two to the same saved run.)
TEST_F(VKProjectTest, ExpectedRun) {
  ASSERT_EQ(run("--data data --country Testland --expected --raw --format csv --to 2050"), 0);  // the last year
  EXPECT_EQ(csv(out)[13][2], std::to_string(golden_run(true).totpop[12]));
}

TEST_F(VKProjectTest, TableAndJson) {
  ASSERT_EQ(run("--data data --country testland --to 1990"), 0);
  EXPECT_EQ(out.substr(0, 4), "name");
  EXPECT_NE(out.find("\nTestland              1990      14000000   4.20  61."), std::string::npos) << out;
  std::vector<std::string> args = {"vkproject", "--data", "data", "--country", "korea, rep.", "--to", "1995",
                                   "--format", "json", "--groups"};
  ASSERT_EQ(run_args(args), 0);
  EXPECT_EQ(out.substr(0, 2), "[\n");
  EXPECT_EQ(out.substr(out.size() - 3), "\n]\n");
  EXPECT_NE(out.find("{\"name\": \"Korea, Rep.\", \"year\": 1990, \"population\": 14000000, \"tfr\": 4.20"),
            std::string::npos);
  EXPECT_NE(out.find("\"imr\": 50.300, \"un_population\": null, \"m0\": "), std::string::npos) << out;
  EXPECT_NE(out.find("\"f16\": "), std::string::npos);
}

TEST_F(VKProjectTest, AllEntriesInListOrder) {
  EXPECT_EQ(run("--data data --all --format csv --to 1990"), 1);
  const auto rows = csv(out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1][0], "Testland");
  EXPECT_EQ(rows[2][0], "Korea, Rep.");
  EXPECT_EQ(rows[3][0], "Tinyland");
  EXPECT_EQ(rows[3][2], "14000");  // counted in persons
  EXPECT_EQ(rows[3][7], "14000");  // the UN's totals where the file gives them
  EXPECT_EQ(rows[1][7], "");
  EXPECT_NE(err.find("cannot open |db/gone.dat| for Goneland"), std::string::npos);
  // A file whose figures do not fit the record is refused, never projected.
  write_text("data/db/test.dat", "database= VK_country\ntotal_population= 99999999999999\n" + golden_country());
  EXPECT_EQ(run("--data data --country Testland"), 1);
  EXPECT_EQ(out.find("2050"), std::string::npos);
}

TEST_F(VKProjectTest, SavedRunLoadsInTheProgram) {
  ASSERT_EQ(run("--data data --country Testland --save run.sav --to 2000"), 0) << err;
  ASSERT_EQ(std::filesystem::file_size("run.sav"), 23236u);
  ASSERT_EQ(loadnamedfile("run.sav"), 1);
  EXPECT_EQ(Display[0].curr_sim, 0);
  EXPECT_EQ(Display[1].curr_sim, -1);
  EXPECT_EQ(Display[0].modify_permit, 1);
  EXPECT_EQ(Display[0].maxpop, golden_run(false).totpop[2]);
  EXPECT_EQ(VKState[0][0]->stepcnt, 2);
  EXPECT_EQ(VKState[0][0]->year, 2000);
  EXPECT_EQ(VKState[0][0]->totpop[2], Display[0].maxpop);
  EXPECT_EQ(VKState[0][1]->stepcnt, -1);
  EXPECT_STREQ(Country[0].country_name, "Testland");
}

TEST_F(VKProjectTest, BadArgumentsExitWithTwo) {
  const std::string t = "--data data --country Testland ";
  const std::string bad[] = {
      "", "--country Testland --all", "--data data --country Atlantis", "--data nowhere --country Testland",
      t + "--to 2003", t + "--to 2055", t + "--format xml", t + "--set 1990:tfr=0.4@2000",
      t + "--set 1990:tfr=10@2000", t + "--set 1990:lifex=19.9@2000", t + "--set 1992:tfr=2@2000",
      t + "--set 2000:tfr=2@1995", t + "--set 2050:tfr=2@2050", t + "--set 1990:births=2@2000",
      t + "--set 1990:tfr=two@2000", t + "--set 1990-tfr-2", t + "--set 2000:tfr=2@2010 --to 2000",
      "--data data --country Tinyland --set 1990:mig=100001@2000", "--data data --all --save x.sav",
      "--data data --country", "--bogus"};
  for (const std::string& line : bad) {
    EXPECT_EQ(run(line), 2) << line;
    EXPECT_EQ(err.rfind("vkproject: ", 0), 0u) << line;
  }
  EXPECT_EQ(run(t + "--set 1990:mig=100000000@2000 --to 1995"), 0);
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(out.rfind("Usage: vkproject", 0), 0u);
}
