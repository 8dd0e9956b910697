// vkproject, the command-line projector, end to end on a small data directory:
// its figures against the engine run in process, the options, the formats, and
// the refusals with exit status 2. (Its saved run loads in the program: tests/app's
// scenario-window test.)
#include "demography_test_support.h"
#include "vkproject.h"

namespace {
class VKProjectTest : public DemographyTest {
 protected:
  std::string out, err;

  void SetUp() override {
    DemographyTest::SetUp();
    std::filesystem::create_directories("data/db");
    write_text_file("data/config.mcf", "database= VK_config\ndatapath= db/\nlistpath= db/\nlistname= list.maf\n");
    write_text_file("data/db/list.maf",
                    "database= VK_clist\nnumregions= 1\nnumcountries= 3\nformat= type filename name code color tamrof\n"
                    "region TEST.DAT Testland\t1 red\nnone gone.dat Goneland\t2 red\n"
                    "none comma.dat Korea, Rep.\t3 red\nnone person.dat Tinyland\t4 red\nendformat\n");
    const std::string golden = golden_country();
    write_text_file("data/db/test.dat", golden);
    std::string comma = golden, person = golden;
    comma.replace(comma.find("Testland"), 8, "Korea, Rep.");
    write_text_file("data/db/comma.dat", comma);
    person.replace(person.find("size= 1000"), 10, "size= 1");
    person += "format= year pop tamrof\n1990 14000\n2000 15500\nendformat\n";  // UN totals
    write_text_file("data/db/person.dat", person);
  }

  // The golden country's run by the engine in this process, from 1990 to 2050.
  static VKStatetype engine_run(bool expected) {
    load_country(golden_country(), &Country[0]);
    Display[0].curr_sim = 0;
    init_sim_data(0, 0);
    VKStatetype* s = VKState[0][0];
    if (expected) set_expected_targets(s, &Country[0]);
    while (s->stepcnt < 12) s->stepcnt += 1, dosim(s);
    return *s;
  }

  // Runs vkproject with the arguments, given separated by `sep`.
  int run(const std::string& line, char sep = ' ') {
    std::vector<std::string> args{"vkproject"};
    for (size_t from = 0, to; from < line.size(); from = to + 1)
      args.push_back(line.substr(from, (to = std::min(line.find(sep, from), line.size())) - from));
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    char *o = nullptr, *e = nullptr;
    size_t o_size = 0, e_size = 0;
    FILE *o_file = open_memstream(&o, &o_size), *e_file = open_memstream(&e, &e_size);
    const int status = vkproject_main(static_cast<int>(argv.size()), argv.data(), o_file, e_file);
    std::fclose(o_file), std::fclose(e_file);
    out.assign(o, o_size), err.assign(e, e_size);
    std::free(o), std::free(e);
    return status;
  }

  // CSV rows, a quoted cell keeping its commas.
  static std::vector<std::vector<std::string>> csv(const std::string& text) {
    std::vector<std::vector<std::string>> rows{{""}};
    bool quoted = false;
    for (char c : text) {
      if (c == '"') quoted = !quoted;
      else if (c == ',' && !quoted) rows.back().emplace_back();
      else if (c == '\n') rows.push_back({""});
      else rows.back().back() += c;
    }
    rows.pop_back();  // after the last line end
    return rows;
  }
};
}  // namespace

TEST_F(VKProjectTest, RawFiguresAreTheEnginesOwn) {
  ASSERT_EQ(run("--data data --country TESTLAND --raw --format csv"), 0) << err;
  const auto rows = csv(out);
  const VKStatetype want = engine_run(false);
  ASSERT_EQ(rows.size(), 14u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"name", "year", "population", "tfr", "lifex", "migration", "imr",
                                               "un_population"}));
  for (int t = 0; t <= 12; ++t)
    EXPECT_EQ(rows[t + 1][0] + " " + rows[t + 1][1] + " " + rows[t + 1][2] + " " + rows[t + 1][5],
              "Testland " + std::to_string(1990 + 5 * t) + " " + std::to_string(want.totpop[t]) + " -3");
  EXPECT_EQ(rows[1][3] + " " + rows[1][6], "420 50300");
  EXPECT_TRUE(std::filesystem::exists("data/config.mcf"));  // back in the working directory
}

TEST_F(VKProjectTest, ScreenUnitsGroupsAndTheExpectedRun) {
  ASSERT_EQ(run("--data data --country testland --format csv --groups --to 1995"), 0);
  const auto rows = csv(out);
  const VKStatetype want = engine_run(false);
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_EQ(rows[0].size(), 8u + 34u);
  EXPECT_EQ(rows[0][8] + " " + rows[0][41], "m0 f16");
  EXPECT_EQ(rows[1][2] + " " + rows[1][3] + " " + rows[1][5] + " " + rows[1][6], "14000000 4.20 -3000 50.300");
  EXPECT_EQ(rows[1][8] + " " + rows[2][8] + " " + rows[2][41], std::to_string(want.male_pop[0][0] * 1000) + " " +
            std::to_string(want.male_pop[1][0] * 1000) + " " + std::to_string(want.fem_pop[1][16] * 1000));
  // (Targets set from the command line: the program's scenario-window test holds the
  // two to the same saved run.)
  ASSERT_EQ(run("--data data --country Testland --expected --raw --format csv --to 2050"), 0);  // the last year
  EXPECT_EQ(csv(out)[13][2], std::to_string(engine_run(true).totpop[12]));
}

TEST_F(VKProjectTest, TableAndJson) {
  ASSERT_EQ(run("--data data --country testland --to 1990"), 0);
  EXPECT_EQ(out.substr(0, 4), "name");
  EXPECT_NE(out.find("\nTestland              1990      14000000   4.20  61."), std::string::npos) << out;
  ASSERT_EQ(run("--data|data|--country|korea, rep.|--to|1995|--format|json|--groups", '|'), 0);
  EXPECT_EQ(out.substr(0, 2) + out.substr(out.size() - 3), "[\n\n]\n");
  EXPECT_NE(out.find("{\"name\": \"Korea, Rep.\", \"year\": 1990, \"population\": 14000000, \"tfr\": 4.20"),
            std::string::npos);
  EXPECT_NE(out.find("\"imr\": 50.300, \"un_population\": null, \"m0\": "), std::string::npos) << out;
  EXPECT_NE(out.find("\"f16\": "), std::string::npos);
}

TEST_F(VKProjectTest, AllEntriesInListOrder) {
  EXPECT_EQ(run("--data data --all --format csv --to 1990"), 1);
  const auto rows = csv(out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1][0] + "|" + rows[2][0] + "|" + rows[3][0], "Testland|Korea, Rep.|Tinyland");
  // Tinyland counts in persons, and its file gives the UN's totals.
  EXPECT_EQ(rows[1][7] + "|" + rows[3][2] + "|" + rows[3][7], "|14000|14000");
  EXPECT_NE(err.find("cannot open |db/gone.dat| for Goneland"), std::string::npos);
  // A file whose figures do not fit the record is refused, never projected.
  write_text_file("data/db/test.dat", "database= VK_country\ntotal_population= 99999999999999\n" + golden_country());
  EXPECT_EQ(run("--data data --country Testland"), 1);
  EXPECT_EQ(out.find("2050"), std::string::npos);
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
