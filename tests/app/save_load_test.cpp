// Saving and loading from the File menu: the file's size, both panes and the
// interface state coming back, and the load alert for a missing or damaged file.
#include <cstring>

#include "app_test_support.h"
#include "demography/saved_simulation.h"

namespace {

using namespace apptest;

class SaveLoadTest : public ProgramTest {};

TEST_F(SaveLoadTest, AFreshSaveHoldsTwoEmptyPanesAndTheInterfaceState) {
  open_main_screen();
  choose("root", "File", "file", "save");
  ASSERT_TRUE(std::filesystem::exists("vk_000.sav"));
  EXPECT_EQ(std::filesystem::file_size("vk_000.sav"), 23236u + MXwindowstatesize());
  const std::string bytes = read_file("vk_000.sav");
  int32_t curr_sim0, curr_sim1;
  std::memcpy(&curr_sim0, bytes.data() + 20, 4);
  std::memcpy(&curr_sim1, bytes.data() + 11618 + 20, 4);
  EXPECT_EQ(curr_sim0, -1);
  EXPECT_EQ(curr_sim1, -1);
}

TEST_F(SaveLoadTest, LoadingBringsBackBothPanesAndTheButtonsAndWindows) {
  open_main_screen();
  choose_country("top", "germany");
  for (int i = 0; i < 2; ++i) press_button("top", "simulate");
  choose("top", "options", "options", "p3");  // rate editing on: its windows are up
  choose_country("bottom", "nigeria");
  choose("root", "File", "file", "save");
  const VKStatetype top_run = *VKState[0][0];
  const DisplayType bottom = Display[1];

  // Change everything: reset the upper pane, another run in the lower one.
  choose("top", "options", "options", "p5");
  choose("bottom", "options", "options", "p1");
  for (int i = 0; i < 3; ++i) press_button("bottom", "simulate");
  EXPECT_EQ(window_level("topdeath"), 0);
  EXPECT_EQ(button_state("top", "unsimulate"), DISABLED);

  choose("root", "File", "file", "load");
  EXPECT_EQ(AlertNumber, 0);
  EXPECT_EQ(MXgetcurrmsg(), 6);
  EXPECT_EQ(VKState[0][0]->year, top_run.year);
  EXPECT_EQ(VKState[0][0]->totpop[2], top_run.totpop[2]);
  EXPECT_EQ(Display[0].modify_flag, 1);
  EXPECT_EQ(Display[1].curr_sim, bottom.curr_sim);
  EXPECT_EQ(VKState[1][1]->stepcnt, -1);
  EXPECT_STREQ(Country[1].country_name, "NIGERIA");
  // The interface state: the editing windows shown, the buttons as they were.
  EXPECT_GE(window_level("topdeath"), 1);
  EXPECT_EQ(button_state("top", "unsimulate"), ENABLED);
  EXPECT_EQ(button_state("toptotalfert", "setfert"), DISABLED);
  EXPECT_EQ(button_state("bottom", "unsimulate"), DISABLED);
}

TEST_F(SaveLoadTest, ADamagedFileIsRefusedWholeWithTheLoadAlert) {
  open_main_screen();
  choose_country("top", "chile");
  choose("root", "File", "file", "save");
  std::string bytes = read_file("vk_000.sav");
  bytes.resize(bytes.size() - 3);  // the interface block cut short
  write_file("vk_000.sav", bytes);
  press_button("top", "simulate");
  choose("root", "File", "file", "load");
  EXPECT_EQ(AlertNumber, 2);
  EXPECT_GE(window_level("alert"), 1);
  EXPECT_EQ(VKState[0][0]->year, 1995);  // nothing changed
  const std::string log = read_file("error.log");
  EXPECT_NE(log.find("Simulation from |vk_000.sav| not loaded. \n"), std::string::npos);
  EXPECT_NE(log.find("Saved simulation |vk_000.sav| refused"), std::string::npos);
  press_button("alert", "okay");
  EXPECT_EQ(AlertNumber, 0);
  EXPECT_EQ(window_level("alert"), 0);
}

}  // namespace
