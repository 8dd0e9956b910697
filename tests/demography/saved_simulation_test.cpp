// Saved simulations: the byte layout and round trip, refusal of truncated, foreign
// or corrupt files with the state unchanged, the interface-state block, failed
// saves that leave nothing behind, and the tutorial's routines.
#include <sys/stat.h>

#include <cstring>

#include "demography/saved_simulation.h"
#include "demography_test_support.h"

namespace {
// The file's 32-bit values are little-endian, as this machine's own.
int32_t le32(const std::string& bytes, size_t offset) {
  int32_t v;
  std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}

void put32(std::string* bytes, size_t offset, int32_t v) { std::memcpy(bytes->data() + offset, &v, 4); }

// What the screen side saw: the interface-state block of a pretend interface
// (`state_values` 32-bit values), redraws, help messages and alerts.
struct Seen {
  int state_values = 0, redraws = 0, quit_code = 99, settled = 0;
  std::vector<int32_t> loaded_state;
  std::vector<int> help, alerts;
} seen;

class SavedSimulationTest : public DemographyTest {
 protected:
  void SetUp() override {
    DemographyTest::SetUp();
    seen = Seen{};
  }

  // Pane 0 with the golden country, three steps of run 0 and a started run 1.
  void fill_state(int base = 1990) {
    load_country(golden_country(), &Country[0]);
    use_starting_point(base);
    std::strcpy(Country[0].title, "A title");
    Display[0] = DisplayType{0, 1, 1, 1, 1, 0, 30, 14000, 20000, {}, {}};
    init_sim_data(0, 0);
    for (int i = 0; i < 3; ++i) VKState[0][0]->stepcnt += 1, dosim(VKState[0][0]);
    ASSERT_EQ(startsim(2000), 1);
    for (int g = 0; g < VK_GROUPS; ++g) Display[0].male[g] = g + 1, Display[0].female[g] = 100 + g;
  }

  std::string state_bytes() {
    std::vector<unsigned char> out(SAVE_PANES_SIZE);
    encode_panes(out.data());
    return std::string(out.begin(), out.end());
  }
};
}  // namespace

TEST_F(SavedSimulationTest, FieldsSitAtTheirOffsets) {
  fill_state();
  Display[1].maxpop = 0x01020304;
  ASSERT_EQ(savenamedfile("a.sav"), 1);
  const std::string b = read_text_file("a.sav");
  ASSERT_EQ(b.size(), 23236u);
  const VKStatetype* s = VKState[0][0];
  const CountryInfo& c = Country[0];
  const std::pair<size_t, int32_t> fields[] = {
      // Display: reset_permit, curr_sim, bound, intuppop, male[0], female[16]; pane 1's.
      {4, 1}, {20, 1}, {24, 30}, {32, 20000}, {36, 1}, {104 + 16 * 4, 116}, {11618 + 20, -1}, {11618 + 28, 0x01020304},
      // Country: scale_factor, life_adjust, infant_deaths_2000, the 1990 groups and rates, mig.
      {172 + 62, 1000}, {172 + 66, c.life_adjust}, {172 + 86, 42000}, {172 + 90, c.male_1990_pop[0]},
      {172 + 162 + 17 * 4, c.fem_1990_pop[17]}, {172 + 234, c.tot_birthrate[0]},
      {172 + 270 + 17 * 4, c.tot_deathrate[17]}, {172 + 342, -3},
      // Run 0: stepcnt, year, totpop[3], infmort_targ_val[0], groups, rates, mig[3].
      {518, 3}, {518 + 4, 2005}, {518 + 8 + 3 * 4, s->totpop[3]}, {518 + 268, -1},
      {518 + 476 + (2 * 17 + 5) * 4, s->male_pop[2][5]}, {518 + 1360 + (3 * 17 + 16) * 4, s->fem_pop[3][16]},
      {518 + 2244 + (1 * 9 + 8) * 4, s->birthrate[1][8]}, {518 + 2712 + (3 * 18 + 17) * 4, s->deathrate[3][17]},
      {518 + 3648 + 3 * 4, s->mig[3]},
      // Run 1, the expected run: tfr_targ_val[0] and its year; the runs not in use.
      {4218 + 60, 360}, {4218 + 112, 2000}, {7918, -1}, {12136, -1}, {15836, -1}, {19536, -1}};
  for (const auto& [offset, value] : fields) EXPECT_EQ(le32(b, offset), value) << "offset " << offset;
  EXPECT_EQ(b.substr(172, 22), std::string("Testland\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22));  // zero-filled
  EXPECT_EQ(b.substr(172 + 22, 8), std::string("A title\0", 8));
  // Loaded over a scrambled state, the file gives the same state and the same bytes.
  const std::string before = state_bytes();
  for (int pane = 0; pane < 2; ++pane) {
    Display[pane] = DisplayType{}, Display[pane].curr_sim = -1, countryinit(&Country[pane]);
    for (int run = 0; run < 3; ++run) VKState[pane][run]->stepcnt = -1;
  }
  ASSERT_EQ(loadnamedfile("a.sav"), 1);
  EXPECT_EQ(state_bytes(), before);
  ASSERT_EQ(savenamedfile("b.sav"), 1);
  EXPECT_EQ(read_text_file("b.sav"), b);
}

// A save of the 2020 starting point at 2035 loads back to 2035, switching to 2020
// from 1990; runs of different starting points in one file are refused.
TEST_F(SavedSimulationTest, ASaveCarriesItsStartingPoint) {
  Todayyear = 2020;
  Todaypath = "dbase2020/";
  fill_state(2020);
  EXPECT_EQ(VKState[0][0]->year, 2035);
  ASSERT_EQ(savenamedfile("a.sav"), 1);
  const std::string before = state_bytes();
  ASSERT_TRUE(use_starting_point(1990));
  ASSERT_EQ(loadnamedfile("a.sav"), 1);
  EXPECT_EQ(Base_year, 2020);
  EXPECT_EQ(Datapath, "dbase2020/");
  EXPECT_EQ(state_bytes(), before);
  std::string mixed = read_text_file("a.sav");
  put32(&mixed, 4218 + 4, 1990);  // run 1 (at step 0) from 1990
  write_text_file("mixed.sav", mixed);
  EXPECT_EQ(loadnamedfile("mixed.sav"), 0);
  Todayyear = 0;  // a 2020 file where only 1990 is offered
  EXPECT_EQ(loadnamedfile("a.sav"), 0);
}

TEST_F(SavedSimulationTest, BadFilesAreRefusedWhole) {
  fill_state();
  ASSERT_EQ(savenamedfile("good.sav"), 1);
  const std::string good = read_text_file("good.sav");
  const std::string before = state_bytes();
  auto with = [&](size_t offset, int32_t value) {
    std::string bytes = good;
    put32(&bytes, offset, value);
    return bytes;
  };
  std::string past_the_end = with(518, 13);  // one step past the last, its year matching
  put32(&past_the_end, 518 + 4, 2055);
  std::string no_end = good;
  no_end.replace(172, 22, std::string(22, 'x'));
  const std::pair<std::string, const char*> cases[] = {
      {good.substr(0, 23235), "truncated"}, {good.substr(0, 100), "very short"}, {"", "empty"},
      {with(20, 7), "curr_sim 7"}, {with(11618 + 20, -2), "curr_sim -2"}, {past_the_end, "stepcnt 13"},
      {with(518 + 4, 2010), "year not matching the step"}, {with(518 + 476 + 5 * 4, -1), "negative population"},
      {with(4218, -1), "shown run empty"}, {with(172 + 62, 7), "population unit"}, {no_end, "unterminated name"}};
  for (const auto& [bytes, what] : cases) {
    write_text_file("bad.sav", bytes);
    EXPECT_EQ(loadnamedfile("bad.sav"), 0) << what;
    EXPECT_EQ(state_bytes(), before) << what;
  }
  EXPECT_NE(error_log().find("Error loading a saved simulation.\n"), std::string::npos);
  // Step and year of a run not in use are no concern.
  write_text_file("unused.sav", with(11618 + 518 + 4, 12345));
  EXPECT_EQ(loadnamedfile("unused.sav"), 1);
}

// (Files of another interface or of vkproject, and a block refused, in the program's
// own sessions: tests/app's end-to-end and command tests.)
TEST_F(SavedSimulationTest, InterfaceBlockMustFitTheInterface) {
  fill_state();
  seen.state_values = 3;  // a pretend interface of 3 values
  Screen.state_block_size = [] { return long{4} * seen.state_values; };
  Screen.save_state_block = [](FILE* file) {
    for (int32_t i = 0; i < seen.state_values; ++i) std::fwrite(&i, 4, 1, file);
  };
  Screen.check_state_block = [](const unsigned char*, size_t) { return 1; };
  Screen.apply_state_block = [](const unsigned char* block) {
    for (int i = 0; i < seen.state_values; ++i) seen.loaded_state.push_back(block[4 * i]);
  };
  Screen.settle_panes = [] { ++seen.settled; };
  Screen.redraw_all = [] { ++seen.redraws; };
  Screen.help_message = [](int n) { seen.help.push_back(n); };
  ASSERT_EQ(savenamedfile("ui.sav"), 1);
  const std::string file = read_text_file("ui.sav");
  ASSERT_EQ(file.size(), 23236u + 12u);
  EXPECT_EQ(le32(file, 23236 + 8), 2);
  ASSERT_EQ(loadnamedfile("ui.sav"), 1);
  EXPECT_EQ(seen.loaded_state, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ((std::vector<int>{seen.redraws, seen.settled}), (std::vector<int>{1, 0}));
  // Another interface's block (another length): the panes load, the screen follows the runs.
  seen.state_values = 4;
  seen.loaded_state.clear();
  EXPECT_EQ(loadnamedfile("ui.sav"), 1);
  EXPECT_TRUE(seen.loaded_state.empty());
  EXPECT_EQ(seen.settled, 1);
  EXPECT_NE(error_log().find("interface state of another version ignored"), std::string::npos);
  Screen.in_walkthru = [] { return 1; };
  EXPECT_EQ(loadnamedfile("ui.sav"), 1);
  EXPECT_EQ(seen.help, (std::vector<int>{6, 6}));
}

// (A failed save keeps the old file: tests/app's end-to-end test.)
TEST_F(SavedSimulationTest, FailedSaveLeavesNothingBehind) {
  fill_state();
  SaveFileWrite = [](const void*, size_t, size_t, FILE*) -> size_t { return 0; };  // as on a full disk
  EXPECT_EQ(savenamedfile("keep.sav"), 0);
  SaveFileWrite = std::fwrite;
  EXPECT_NE(error_log().find("Error saving current simulation.\n"), std::string::npos);
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(".")) entries += e.path().filename() != "error.log";
  EXPECT_EQ(entries, 1);  // country.dat
  EXPECT_EQ(savenamedfile("keep.sav"), 1);
  const mode_t mask = umask(0);
  umask(mask);  // the permissions of a plainly created file:
  EXPECT_EQ(static_cast<mode_t>(std::filesystem::status("keep.sav").permissions()), 0666 & ~mask);
}

// (Loading with nothing saved: tests/app's command test.) The walk-through's own
// file is deleted once loaded, and save_tutor saves the fresh state and quits.
TEST_F(SavedSimulationTest, TutorialRoutines) {
  Screen.alert = [](int n) { seen.alerts.push_back(n); };
  Screen.quit = [](int code) { seen.quit_code = code; };
  Tutorfile = 1;
  EXPECT_EQ(load_simulation(), 1);
  EXPECT_NE(error_log().find("Error, could not delete |vk_tut.sav|"), std::string::npos);
  write_text_file("vk_tut.sav", "x");
  ASSERT_EQ(save_simulation(), 1);
  seen.alerts.clear();
  EXPECT_EQ(load_simulation(), 1);
  EXPECT_TRUE(seen.alerts.empty());
  EXPECT_FALSE(std::filesystem::exists("vk_tut.sav"));
  save_tutor();
  EXPECT_EQ(seen.quit_code, 0);
  const std::string fresh = read_text_file("vk_tut.sav");
  ASSERT_EQ(fresh.size(), 23236u);
  EXPECT_EQ(le32(fresh, 20), -1);  // curr_sim of pane 0
  EXPECT_EQ(le32(fresh, 518), -1);
  seen.quit_code = 99;  // a save that fails does not quit
  SaveFileWrite = [](const void*, size_t, size_t, FILE*) -> size_t { return 0; };
  EXPECT_EQ(save_tutor(), 0);
  SaveFileWrite = std::fwrite;
  EXPECT_EQ(seen.quit_code, 99);
}
