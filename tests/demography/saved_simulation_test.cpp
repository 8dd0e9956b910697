// Saved simulations: the byte layout, round trips, refusal of truncated, foreign
// or corrupt files with the state unchanged, the interface-state block, failed
// saves that keep the old file, and the command routines.
#include <sys/stat.h>

#include <cstring>

#include "demography/saved_simulation.h"
#include "demography_test_support.h"
#include "golden_country.h"

namespace {
int32_t le32(const std::string& bytes, size_t offset) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

void put32(std::string* bytes, size_t offset, int32_t v) {
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
}

// The interface-state block of a pretend interface: `state_values` 32-bit values.
int state_values = 0;
std::vector<int32_t> loaded_state;
int redraws = 0;
std::vector<int> help_shown, alerts;

class SavedSimulationTest : public DemographyTest {
 protected:
  void SetUp() override {
    DemographyTest::SetUp();
    state_values = 0;
    loaded_state.clear();
    redraws = 0;
    help_shown.clear();
    alerts.clear();
  }

  // Pane 0 with the golden country, three steps of run 0 and a started run 1.
  void fill_state() {
    write_text("golden.dat", kGoldenCountryFile);
    FILE* f = std::fopen("golden.dat", "r");
    ReadinInfo raw;
    ASSERT_EQ(MXgenreader(f, VKreader, "VK_country", &raw), 1);
    std::fclose(f);
    ASSERT_EQ(DBconvert(&raw, &Country[0]), 1);
    std::strcpy(Country[0].title, "A title");
    Display[0] = DisplayType{0, 1, 1, 1, 1, 0, 30, 14000, 20000, {}, {}};
    init_sim_data(0, 0);
    for (int i = 0; i < 3; ++i) {
      VKState[0][0]->stepcnt += 1;
      dosim(VKState[0][0]);
    }
    ASSERT_EQ(startsim(2000), 1);
    for (int g = 0; g < VK_GROUPS; ++g) Display[0].male[g] = g + 1, Display[0].female[g] = 100 + g;
  }

  std::string state_bytes() {
    std::vector<unsigned char> out(SAVE_PANES_SIZE);
    encode_panes(out.data());
    return std::string(out.begin(), out.end());
  }

  static void use_interface(int values) {
    state_values = values;
    Screen.state_block_size = [] { return long{4} * state_values; };
    Screen.save_state_block = [](FILE* file) {
      for (int i = 0; i < state_values; ++i) {
        const unsigned char b[4] = {static_cast<unsigned char>(i), 0, 0, 0};
        std::fwrite(b, 1, 4, file);
      }
    };
    Screen.load_state_block = [](FILE* file) {
      unsigned char b[4];
      while (std::fread(b, 1, 4, file) == 4) loaded_state.push_back(b[0]);
    };
  }
};
}  // namespace

TEST_F(SavedSimulationTest, FreshStateSavesEmptyPanes) {
  ASSERT_EQ(save_simulation(), 1);
  const std::string bytes = read_text("vk_000.sav");
  ASSERT_EQ(bytes.size(), 23236u);
  EXPECT_EQ(le32(bytes, 20), -1);          // curr_sim of pane 0
  EXPECT_EQ(le32(bytes, 11618 + 20), -1);  // curr_sim of pane 1
  for (size_t run : {518u, 4218u, 7918u, 12136u, 15836u, 19536u}) EXPECT_EQ(le32(bytes, run), -1) << run;
  EXPECT_EQ(bytes[172], '\0');
}

TEST_F(SavedSimulationTest, FieldsSitAtTheirOffsets) {
  fill_state();
  Display[1].maxpop = 0x01020304;
  ASSERT_EQ(savenamedfile("a.sav"), 1);
  const std::string b = read_text("a.sav");
  ASSERT_EQ(b.size(), 23236u);
  EXPECT_EQ(b.substr(11618 + 28, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(le32(b, 4), 1);                 // reset_permit
  EXPECT_EQ(le32(b, 20), 1);                // curr_sim
  EXPECT_EQ(le32(b, 24), 30);               // bound
  EXPECT_EQ(le32(b, 32), 20000);            // intuppop
  EXPECT_EQ(le32(b, 36), 1);                // male[0]
  EXPECT_EQ(le32(b, 104 + 16 * 4), 116);    // female[16]
  EXPECT_EQ(b.substr(172, 9), std::string("Testland\0", 9));
  EXPECT_EQ(b.substr(172 + 8, 14), std::string(14, '\0'));  // the rest of the name is zero
  EXPECT_EQ(b.substr(172 + 22, 8), std::string("A title\0", 8));
  EXPECT_EQ(le32(b, 172 + 62), 1000);       // scale_factor
  EXPECT_EQ(le32(b, 172 + 66), kGoldenLifeAdjust);
  EXPECT_EQ(le32(b, 172 + 86), 42000);      // infant_deaths_2000
  EXPECT_EQ(le32(b, 172 + 90), kGoldenMale1990[0]);
  EXPECT_EQ(le32(b, 172 + 162 + 17 * 4), kGoldenFem1990[17]);
  EXPECT_EQ(le32(b, 172 + 234), kGoldenBirthrate[0]);
  EXPECT_EQ(le32(b, 172 + 270 + 17 * 4), kGoldenDeathrate[17]);
  EXPECT_EQ(le32(b, 172 + 342), -3);        // mig
  const VKStatetype* s = VKState[0][0];
  EXPECT_EQ(le32(b, 518), 3);
  EXPECT_EQ(le32(b, 518 + 4), 2005);
  EXPECT_EQ(le32(b, 518 + 8 + 3 * 4), s->totpop[3]);
  EXPECT_EQ(le32(b, 518 + 268), -1);  // infmort_targ_val[0]
  EXPECT_EQ(le32(b, 518 + 476 + (2 * 17 + 5) * 4), s->male_pop[2][5]);
  EXPECT_EQ(le32(b, 518 + 1360 + (3 * 17 + 16) * 4), s->fem_pop[3][16]);
  EXPECT_EQ(le32(b, 518 + 2244 + (1 * 9 + 8) * 4), s->birthrate[1][8]);
  EXPECT_EQ(le32(b, 518 + 2712 + (3 * 18 + 17) * 4), s->deathrate[3][17]);
  EXPECT_EQ(le32(b, 518 + 3648 + 3 * 4), s->mig[3]);
  EXPECT_EQ(le32(b, 4218 + 112), 2000);  // run 1: tfr_targ_year[0] of the expected run
  EXPECT_EQ(le32(b, 4218 + 60), 360);
  EXPECT_EQ(le32(b, 7918), -1);
}

TEST_F(SavedSimulationTest, RoundTripIsByteExact) {
  fill_state();
  const std::string before = state_bytes();
  ASSERT_EQ(savenamedfile("a.sav"), 1);
  const std::string file = read_text("a.sav");
  // Scramble the state, then load.
  for (int pane = 0; pane < 2; ++pane) {
    Display[pane] = DisplayType{};
    Display[pane].curr_sim = -1;
    countryinit(&Country[pane]);
    for (int run = 0; run < 3; ++run) VKState[pane][run]->stepcnt = -1;
  }
  ASSERT_EQ(loadnamedfile("a.sav"), 1);
  EXPECT_EQ(state_bytes(), before);
  ASSERT_EQ(savenamedfile("b.sav"), 1);
  EXPECT_EQ(read_text("b.sav"), file);
  // A loaded run goes on exactly as the original.
  VKStatetype copy = *VKState[0][0];
  copy.stepcnt += 1;
  dosim(&copy);
  EXPECT_GT(copy.totpop[4], copy.totpop[3]);
}

TEST_F(SavedSimulationTest, BadFilesAreRefusedWhole) {
  fill_state();
  ASSERT_EQ(savenamedfile("good.sav"), 1);
  const std::string good = read_text("good.sav");
  const std::string before = state_bytes();

  auto refused = [&](const std::string& bytes, const char* what) {
    write_text("bad.sav", bytes);
    EXPECT_EQ(loadnamedfile("bad.sav"), 0) << what;
    EXPECT_EQ(state_bytes(), before) << what;
  };
  refused(good.substr(0, 23235), "truncated");
  refused(good.substr(0, 100), "very short");
  refused("", "empty");
  std::string bad = good;
  put32(&bad, 20, 7);
  refused(bad, "curr_sim 7");
  bad = good;
  put32(&bad, 11618 + 20, -2);
  refused(bad, "curr_sim -2");
  bad = good;
  put32(&bad, 518, 40);
  refused(bad, "stepcnt 40");
  bad = good;
  put32(&bad, 518 + 4, 2010);
  refused(bad, "year not matching the step");
  bad = good;
  put32(&bad, 518 + 476 + 5 * 4, -1);
  refused(bad, "negative population");
  bad = good;
  put32(&bad, 4218, -1);
  refused(bad, "shown run empty");
  bad = good;
  put32(&bad, 172 + 62, 7);
  refused(bad, "population unit");
  bad = good;
  bad.replace(172, 22, std::string(22, 'x'));
  refused(bad, "unterminated name");
  EXPECT_NE(error_log().find("Error loading a saved simulation.\n"), std::string::npos);

  // Step and year beyond the step in use are no concern of an empty run.
  bad = good;
  put32(&bad, 11618 + 518 + 4, 12345);
  EXPECT_EQ(loadnamedfile("good.sav"), 1);
}

TEST_F(SavedSimulationTest, InterfaceBlockMustFitTheInterface) {
  fill_state();
  use_interface(3);
  Screen.redraw_all = [] { ++redraws; };
  Screen.help_message = [](int n) { help_shown.push_back(n); };
  ASSERT_EQ(savenamedfile("ui.sav"), 1);
  const std::string file = read_text("ui.sav");
  ASSERT_EQ(file.size(), 23236u + 12u);
  EXPECT_EQ(le32(file, 23236 + 8), 2);

  ASSERT_EQ(loadnamedfile("ui.sav"), 1);
  EXPECT_EQ(loaded_state, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(redraws, 1);
  EXPECT_EQ(help_shown, std::vector<int>{6});

  // Written with another interface file: refused before anything changes.
  loaded_state.clear();
  use_interface(4);
  const std::string before = state_bytes();
  EXPECT_EQ(loadnamedfile("ui.sav"), 0);
  EXPECT_TRUE(loaded_state.empty());
  EXPECT_EQ(state_bytes(), before);
  write_text("cut.sav", file.substr(0, file.size() - 2));
  use_interface(3);
  EXPECT_EQ(loadnamedfile("cut.sav"), 0);
  EXPECT_TRUE(loaded_state.empty());

  // A file without the block (written where there is no interface) keeps the
  // interface as it is.
  write_text("bare.sav", file.substr(0, 23236));
  EXPECT_EQ(loadnamedfile("bare.sav"), 1);
  EXPECT_TRUE(loaded_state.empty());

  Screen.in_walkthru = [] { return 1; };
  EXPECT_EQ(loadnamedfile("ui.sav"), 1);
  EXPECT_EQ(help_shown, (std::vector<int>{6, 6}));
}

TEST_F(SavedSimulationTest, FailedSaveKeepsTheOldFile) {
  fill_state();
  ASSERT_EQ(savenamedfile("keep.sav"), 1);
  const std::string old_file = read_text("keep.sav");
  // The stream fails while the interface block is written (as on a full disk).
  Screen.save_state_block = [](FILE* file) { std::fgetc(file); };
  Display[0].bound = 99;
  EXPECT_EQ(savenamedfile("keep.sav"), 0);
  EXPECT_EQ(read_text("keep.sav"), old_file);
  EXPECT_NE(error_log().find("Error saving current simulation.\n"), std::string::npos);
  // Nothing is left behind.
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(".")) entries += e.path().filename() != "error.log";
  EXPECT_EQ(entries, 2);  // golden.dat and keep.sav

  Screen = ScreenHooks{};
  EXPECT_EQ(savenamedfile("no/such/dir/x.sav"), 0);
  EXPECT_EQ(savenamedfile("keep.sav"), 1);
  EXPECT_EQ(le32(read_text("keep.sav"), 24), 99);
  struct stat st;
  ASSERT_EQ(stat("keep.sav", &st), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);  // the permissions of a plainly created file
}

TEST_F(SavedSimulationTest, LoadSimulationAlertsOnFailure) {
  Screen.alert = [](int n) { alerts.push_back(n); };
  static std::vector<std::string> deactivated;
  deactivated.clear();
  Screen.deactivate_function = [](const char* name) { deactivated.push_back(name); };
  EXPECT_EQ(load_simulation(), 1);
  EXPECT_EQ(alerts, std::vector<int>{2});
  EXPECT_EQ(deactivated, std::vector<std::string>{"load_simulation"});
  const std::string log = error_log();
  EXPECT_NE(log.find("Error loading current simulation; filename: vk_000.sav\n"), std::string::npos);
  EXPECT_NE(log.find("Simulation from |vk_000.sav| not loaded. \n"), std::string::npos);

  Tutorfile = 1;
  EXPECT_EQ(load_simulation(), 1);
  EXPECT_NE(error_log().find("Error, could not delete |vk_tut.sav|"), std::string::npos);
  write_text("vk_tut.sav", "x");
  ASSERT_EQ(save_simulation(), 1);
  alerts.clear();
  EXPECT_EQ(load_simulation(), 1);
  EXPECT_TRUE(alerts.empty());
  EXPECT_FALSE(std::filesystem::exists("vk_tut.sav"));
}

TEST_F(SavedSimulationTest, SaveTutorSavesAndQuits) {
  static int quit_code;
  quit_code = 99;
  Screen.quit = [](int code) { quit_code = code; };
  save_tutor();
  EXPECT_EQ(quit_code, 0);
  EXPECT_EQ(read_text("vk_tut.sav").size(), 23236u);
}
