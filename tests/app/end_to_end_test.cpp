// A whole session on the program's own interface file, driven by pointer and key
// events on the headless platform: the first screen, choosing a country by typing
// its name, simulating to 2050 and back, a fertility target, further runs up to the
// refused fourth, rate editing and a pyramid drag, reset, save, change, load and
// quitting through the closing text; with checks of the screen, the logs and the
// bells along the way.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <regex>

#include "app_test_support.h"
#include "demography/saved_simulation.h"

namespace {

using namespace apptest;

class EndToEnd : public ProgramTest {
 protected:
  std::string interface_file() const override { return std::string(APP_DATA_DIR) + "/varnock.inf"; }
  void SetUp() override {
    if (!std::filesystem::exists(std::string(APP_DATA_DIR) + "/varnock.inf")) GTEST_SKIP() << "no interface file";
    ProgramTest::SetUp();
  }

  // The pixels a field of a window shows, row by row, and how many of them have a
  // colour. (`line` counts further field heights down: the run lines of the info window.)
  static std::string pixels(const char* window, const char* field, int line = 0) {
    int x, y, fw, fh;
    std::string out;
    field_origin(window, field, &x, &y);
    MXgetfieldrect(field, nullptr, nullptr, &fw, &fh, nullptr);
    for (int py = y + line * fh; py < y + (line + 1) * fh; ++py)
      for (int px = x; px < x + fw; ++px) out += static_cast<char>(MXPget_pixel(px, py));
    return out;
  }
  static int colour_count(const char* window, const char* field, int colour, int line = 0) {
    return static_cast<int>(std::ranges::count(pixels(window, field, line), static_cast<char>(colour)));
  }
  static std::vector<std::string> stats_lines() {
    std::vector<std::string> out;
    static const std::regex line(R"(^.{15}: \d{4} +\d+ +\d+\.\d +\d+\.\d +-?\d+ +\d+$)");
    for (const std::string& l : lines_of(read_file("output.log")))
      if (std::regex_match(l, line)) out.push_back(l);
    return out;
  }
  void session();
};

TEST_F(EndToEnd, AWholeSession) { session(); }

// The intro's "Today": runs from 2020 to 2080, remembered; the tutorial gives its
// 1990 lesson and the starting point back; the File menu returns to 1990 after a
// warning, since the switch clears the panes.
TEST_F(EndToEnd, TodayFrom2020) {
  idle(3);
  press_button("help", "done");
  press_button("startchoice", "today");
  EXPECT_EQ(Base_year, 2020);
  EXPECT_EQ(MXgetcurrmsg(), 6);
  EXPECT_NE(read_file("vk_start.ini").find("baseyear= 2020"), std::string::npos);
  choose_country("top", "japan");
  press_button("map", "done");
  for (int i = 0; i < 12; ++i) press_button("top", "simulate");
  EXPECT_EQ(VKState[0][0]->year, 2080);
  EXPECT_EQ(VKState[0][0]->totpop[0], Country[0].un_pop[0]);
  // The graph's year axis: its labels differ from those of the same run from 1990.
  const std::string axis_2020 = pixels("top", "GRAPHYEAR");
  choose("root", "help", "help", "p4");
  EXPECT_EQ(Base_year, 1990);
  press_button("alert", "okay");
  press_button("root", "qtwalk");
  EXPECT_EQ(Base_year, 2020);
  EXPECT_EQ(VKState[0][0]->year, 2080);
  choose("root", "file", "file", "p3");  // the runs would be cleared: asked, No keeps them
  key(27);
  EXPECT_EQ(Base_year, 2020);
  choose("root", "file", "file", "p3");
  EXPECT_GE(window_level("ask"), 1);
  key(13);
  EXPECT_EQ(Base_year, 1990);
  EXPECT_EQ(Display[0].curr_sim, -1);
  choose_country("top", "japan");
  press_button("map", "done");
  for (int i = 0; i < 12; ++i) press_button("top", "simulate");
  EXPECT_EQ(VKState[0][0]->year, 2050);
  EXPECT_NE(pixels("top", "GRAPHYEAR"), axis_2020);
}

void EndToEnd::session() {
  // Start: version line, intro picture and the first help file; close both.
  idle(3);
  EXPECT_EQ(MXgetcurrmsg(), 8);
  press_button("help", "done");
  EXPECT_EQ(MXgetcurrmsg(), 13);
  press_button("message", "done");
  EXPECT_EQ(MXgetcurrmsg(), 6);

  // Typed names in the lower pane: "atl" matches nothing from "at" on (the bell
  // twice, message 43) and Escape cancels; Enter loads a match, and a whole alias
  // beats a prefix ("uk" is not Ukraine).
  choose("bottom", "options", "options", "p0");
  EXPECT_EQ(MXgetcurrmsg(), 3);
  type("atl");
  EXPECT_EQ(bells(), 2);
  EXPECT_EQ(MXgetcurrmsg(), 43);
  key(27);
  EXPECT_EQ(MapSelect, 0);
  // "korea" may mean either Korea: the list shows just the two (message 44) until
  // the name changes ("kore" is no whole alias) or the window closes.
  choose("bottom", "options", "options", "p0");
  for (const auto& [keys, two] : {std::pair{"korea", true}, {"\b", false}, {"a", true}, {"\x1b", false}}) {
    type(keys);
    if (two) {
      EXPECT_EQ(MXgetcurrmsg(), 44);
      EXPECT_STREQ(Country_list[display_item_number(0)].name, "North Korea");
      EXPECT_STREQ(Country_list[display_item_number(1)].name, "South Korea");
    }
    EXPECT_EQ(display_item_number(2) >= 0, !two) << keys;
  }
  for (const char* typed : {"uk", "usa"}) {
    choose("bottom", "options", "options", "p0");
    type(typed);
    key(13);
    EXPECT_EQ(MapSelect, 0);
    EXPECT_STREQ(Country[1].country_name, typed[1] == 'k' ? "UNITED KINGDOM" : "UNITED STATES");
  }

  // Options of the upper pane, then the country selection, a typed name and Enter.
  choose("top", "options", "options", "p0");
  type("fran");
  key(13);
  ASSERT_GE(Pickno, 0);
  EXPECT_STREQ(Country_list[Pickno].name, "France");
  EXPECT_EQ(MapSelect, 0);
  EXPECT_EQ(Display[0].curr_sim, 0);
  EXPECT_STREQ(Country[0].country_name, "FRANCE");
  EXPECT_EQ(MXgetcurrmsg(), 4);
  EXPECT_NE(read_file("output.log").find("Selected country = France.\n"), std::string::npos);
  EXPECT_GT(colour_count("top", "CTYNAME", MXconvertcolor("black")), 20);  // the name is drawn

  // Simulate to 2050: twelve statistics lines, "simulate" disabled, message 9.
  for (int i = 0; i < 12; ++i) press_button("top", "simulate");
  EXPECT_EQ(VKState[0][0]->year, 2050);
  EXPECT_EQ(stats_lines().size(), 12u);
  EXPECT_EQ(stats_lines().back().substr(0, 23), "FRANCE         : 2050  ");
  EXPECT_EQ(button_state("top", "simulate"), DISABLED);
  EXPECT_EQ(button_state("toptotalfert", "setfert"), DISABLED);
  EXPECT_EQ(MXgetcurrmsg(), 9);
  EXPECT_EQ(Display[0].modify_permit, 0);
  EXPECT_EQ(Drag_Used, 1);
  // A press on the disabled button does nothing; the routine itself refuses too.
  press_button("top", "simulate");
  EXPECT_EQ(VKState[0][0]->year, 2050);
  EXPECT_EQ(bells(), 3);  // the press on a disabled button
  EXPECT_EQ(simulate(), 0);
  EXPECT_EQ(VKState[0][0]->stepcnt, 12);
  // The run line in the first run's colour.
  EXPECT_GT(colour_count("top", "SIMGRAPH", MXgetlistcolor(0, 0)), 100);

  // Step back: buttons usable again, message 4.
  press_button("top", "unsimulate");
  EXPECT_EQ(VKState[0][0]->year, 2045);
  EXPECT_EQ(button_state("top", "simulate"), ENABLED);
  EXPECT_EQ(button_state("toptotalfert", "setfert"), ENABLED);
  EXPECT_EQ(MXgetcurrmsg(), 4);
  EXPECT_EQ(stats_lines().size(), 13u);
  for (int i = 0; i < 10; ++i) press_button("top", "unsimulate");
  EXPECT_EQ(VKState[0][0]->year, 1995);

  // A fertility target: lower it twice, the year up twice, okay.
  press_button("toptotalfert", "setfert");
  EXPECT_EQ(SetFertActive, 1);
  EXPECT_EQ(MXgetcurrmsg(), 40);
  const int t = VKState[0][0]->stepcnt;
  const int32_t before = VKState[0][0]->tfr_targ_val[t];
  EXPECT_EQ(button_state("setfert", "decfyear"), DISABLED);
  press_button("setfert", "decfert");
  press_button("setfert", "decfert");
  EXPECT_EQ(VKState[0][0]->tfr_targ_val[t], before - 20);
  press_button("setfert", "incfyear");
  press_button("setfert", "incfyear");
  EXPECT_EQ(VKsaveyear[0][0]->tfr_targ_year[t], 2005);
  EXPECT_EQ(VKState[0][0]->tfr_targ_year[t], 1995);  // not yet in force
  press_button("setfert", "okay");
  EXPECT_EQ(SetFertActive, 0);
  EXPECT_EQ(VKState[0][0]->tfr_targ_year[t], 2005);
  // Typed instead: one click, 2.1, Tab, 2030, Enter.
  press_button("toptotalfert", "setfert");
  type("2.1");
  key(9);
  type("2030");
  key(13);
  EXPECT_EQ(SetFertActive, 0);
  EXPECT_EQ(VKState[0][0]->tfr_targ_val[t], 210);
  EXPECT_EQ(VKState[0][0]->tfr_targ_year[t], 2030);
  // Another run and the expected run; a fourth is refused.
  choose("top", "options", "options", "p1");
  EXPECT_EQ(Display[0].curr_sim, 1);
  EXPECT_EQ(VKState[0][1]->year, 1990);
  EXPECT_EQ(button_state("top", "unsimulate"), DISABLED);
  for (int i = 0; i < 2; ++i) press_button("top", "simulate");
  choose("top", "options", "options", "p2");
  EXPECT_EQ(Display[0].curr_sim, 2);
  EXPECT_EQ(VKState[0][2]->tfr_targ_year[0], 2000);
  press_button("top", "options");
  EXPECT_EQ(item_state("options", "p1"), DISABLED);
  EXPECT_EQ(item_state("options", "p2"), DISABLED);
  click(5, 470);  // away from the menu: it closes without a choice
  EXPECT_EQ(alternatesim(), 0);
  EXPECT_EQ(Display[0].curr_sim, 2);
  EXPECT_NE(read_file("error.log").find("ERROR - tried to init alt simulation #3\n"), std::string::npos);
  for (int i = 0; i < 4; ++i) press_button("top", "simulate");
  // The info window's line of each run in the run's colour; the shown run's
  // population line in its colour on the graph.
  for (int run = 0; run < 3; ++run) EXPECT_GT(colour_count("topinfo", "INFOWIND", MXgetlistcolor(0, run), run), 30) << run;
  EXPECT_GT(colour_count("top", "SIMGRAPH", MXgetlistcolor(0, 2)), 40);

  // Reset: asked first, since the pane holds simulated runs; Escape keeps them,
  // Enter resets to one run at 1990.
  choose("top", "options", "options", "p5");
  EXPECT_GE(window_level("ask"), 1);
  key(27);
  EXPECT_EQ(window_level("ask"), 0);
  EXPECT_EQ(Display[0].curr_sim, 2);
  choose("top", "options", "options", "p5");
  key(13);
  EXPECT_EQ(Display[0].curr_sim, 0);
  EXPECT_EQ(VKState[0][0]->year, 1990);
  EXPECT_EQ(VKState[0][1]->stepcnt, -1);
  EXPECT_EQ(MXgetcurrmsg(), 4);

  // Save, change, load: the state comes back.
  for (int i = 0; i < 3; ++i) press_button("top", "simulate");
  redraw_all();
  const std::vector<unsigned char> unsaved = screen();
  choose("root", "File", "file", "p0");
  key(13);  // the name offered: vk_000.sav
  EXPECT_EQ(AlertNumber, 5);  // the alert names the file
  key(13);  // Enter = OK
  EXPECT_EQ(AlertNumber, 0);
  const std::vector<unsigned char> saved = screen();  // no trace of the dialog or the alert
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 439 * 640, unsaved.begin()));
  ASSERT_TRUE(std::filesystem::exists("vk_000.sav"));
  EXPECT_EQ(std::filesystem::file_size("vk_000.sav"), 23236u + MXwindowstatesize());
  const int32_t saved_total = VKState[0][0]->totpop[3];
  press_button("top", "simulate");
  press_button("top", "simulate");
  choose("top", "options", "options", "p1");
  EXPECT_EQ(Display[0].curr_sim, 1);
  // The list is newest first and leaves out the lesson's own file: down and up
  // again come back to vk_000.sav.
  write_file("aaa.sav", "not a simulation");
  write_file("vk_walk.sav", "not a simulation");
  const auto now = std::filesystem::last_write_time("vk_000.sav");
  std::filesystem::last_write_time("aaa.sav", now - std::chrono::hours(1));
  std::filesystem::last_write_time("vk_walk.sav", now + std::chrono::hours(1));
  choose("root", "File", "file", "p1");
  key(31);
  key(30);
  key(13);  // vk_000.sav, then yes to replacing the runs on the screen
  key(13);
  EXPECT_EQ(Display[0].curr_sim, 0);
  EXPECT_EQ(VKState[0][0]->year, 2005);
  EXPECT_EQ(VKState[0][0]->totpop[3], saved_total);
  EXPECT_EQ(VKState[0][1]->stepcnt, -1);
  EXPECT_EQ(button_state("top", "unsimulate"), ENABLED);
  EXPECT_EQ(AlertNumber, 0);
  EXPECT_EQ(MXgetcurrmsg(), 6);

  // The UN's figures, read again from France's file by name on loading: the dotted
  // line, its key, the UN's total and the run's distance from it; off and on again.
  for (int on : {1, 0, 1}) {
    if (on != un_figures_shown()) choose("top", "options", "options", "p6");
    for (const char* f : {"SIMGRAPH", "UNKEY", "UNPOP"})
      EXPECT_EQ(colour_count("top", f, MXconvertcolor("magenta")) > 0, on) << f;
    EXPECT_EQ(colour_count("topinfo", "INFOWIND", MXconvertcolor("magenta")) > 0, on);
  }

  // No further bell since the disabled button.
  EXPECT_EQ(bells(), 3);

  // Quit through the closing text.
  choose("root", "quit", "quit", "p0");
  key(27);  // Escape = Cancel, Enter = Quit
  EXPECT_EQ(QuitWinActive, 0);
  choose("root", "quit", "quit", "p0");
  key(13);
  EXPECT_EQ(MXgetcurrmsg(), 16);
  EXPECT_EQ(Helpfile, "info/modeling.txt");
  EXPECT_THROW(press_button("help", "done"), ProgramEnded);
  EXPECT_TRUE(std::filesystem::exists(LastSessionFile));
}

// The last session: the close request asks, Control-Q keeps the work in
// "vk_last.sav", the next start offers it and it comes back as it was; a damaged
// one is put aside; a start, a decline and a quit keep the session before.
TEST_F(EndToEnd, TheLastSessionComesBack) {
  open_main_screen();
  MXPclose_request();
  EXPECT_EQ(QuitWinActive, 1);
  press_button("quit", "cancelquit");
  EXPECT_EQ(save_last_session(), 0);  // both panes empty: nothing to keep
  choose_country("top", "Niger");
  press_button("top", "simulate");
  press_button("top", "simulate");
  choose("top", "options", "options", "p0");  // another country asks first: No
  key(27);
  EXPECT_EQ(MapSelect, 0);
  redraw_all();
  const std::vector<unsigned char> before = screen();
  MXPclose_request();  // the session keeps the main screen, not the question over it
  EXPECT_THROW(key(17), Fatal);  // Control-Q
  const std::string session = read_file(LastSessionFile);
  ASSERT_EQ(session.size(), SAVE_PANES_SIZE + MXwindowstatesize());

  const struct {
    std::string file;
    bool offered;
  } starts[] = {{session, true}, {session, false}, {session.substr(0, 100), false}};
  for (const auto& start : starts) {
    TearDown();
    SetUp();
    write_file(LastSessionFile, start.file);
    write_file(PreviousSessionFile, "older");
    idle(2);
    press_button("help", "done");
    EXPECT_EQ(ResumeOfferActive, start.file.size() == session.size());
    if (start.offered) {
      press_button("resume", "resumesession");
      const std::vector<unsigned char> after = screen();  // all but the message bar
      EXPECT_TRUE(std::equal(after.begin(), after.begin() + 439 * 640, before.begin()));
      EXPECT_EQ(button_state("top", "unsimulate"), ENABLED);
      MXPclose_request();
      EXPECT_THROW(MXPclose_request(), ProgramEnded);  // the second request confirms
      EXPECT_EQ(read_file(PreviousSessionFile), session);
    } else if (ResumeOfferActive) {
      press_button("resume", "declineresume");
      press_button("message", "done");
      raise(SIGHUP);  // logging out ends the program normally
      EXPECT_THROW(idle(), ProgramEnded);
      EXPECT_EQ(read_file(LastSessionFile), session);
      EXPECT_EQ(read_file(PreviousSessionFile), "older");
    } else {
      EXPECT_EQ(AlertNumber, 4);
      EXPECT_FALSE(std::filesystem::exists(LastSessionFile));
      EXPECT_EQ(read_file(DamagedSessionFile), start.file);
    }
  }
}

// Saving and loading by name through the dialogs: named saves, the question before
// a file is replaced, failed saves that keep the old file, a damaged file refused,
// and files without this interface's state (an older interface, or vkproject's
// panes alone) that load with the pane's buttons ready.
TEST_F(EndToEnd, SavingAndLoadingByName) {
  open_main_screen();
  choose_country("top", "Niger");
  for (int i = 0; i < 3; ++i) press_button("top", "simulate");
  auto through_dialog = [](const char* item, const std::string& name) {  // yes to a replace
    choose("root", "File", "file", item);
    type(std::string(70, '\b') + name + "\r");
    if (window_level("ask") > 0) key(13);
  };
  std::string kept;  // saved, saved again over it (the name typed whole), a save that fails
  for (const auto& [name, fault] : {std::pair{"lesson1", false}, {"lesson1.sav", false}, {"lesson1", true}}) {
    if (fault) SaveFileWrite = [](const void*, size_t, size_t, FILE*) -> size_t { return 0; };
    through_dialog("p0", name);
    SaveFileWrite = std::fwrite;
    EXPECT_EQ(AlertNumber, 5) << name;
    press_button("alert", "okay");
    if (!fault) kept = read_file("lesson1.sav");
    EXPECT_EQ(read_file("lesson1.sav"), kept) << name;
  }
  EXPECT_EQ(bells(), 1);  // the failure

  // A damaged file is refused whole with nothing changed; an older interface's file and
  // vkproject's panes alone load, and the run goes on at once.
  write_file("damaged.sav", std::string(kept).replace(23236, 4, "\xff\xff\xff\xff"));  // a window at level -1
  write_file("older.sav", kept.substr(0, kept.size() - 8));
  write_file("panes.sav", kept.substr(0, 23236));
  for (const char* name : {"damaged", "older", "panes"}) {
    choose("top", "options", "options", "p5");
    key(13);
    ASSERT_EQ(button_state("top", "unsimulate"), DISABLED);
    through_dialog("p1", name);
    const bool loads = std::string(name) != "damaged";
    EXPECT_EQ(AlertNumber, loads ? 0 : 2) << name;
    EXPECT_EQ(VKState[0][0]->year, loads ? 2005 : 1990) << name;
    if (!loads) {
      press_button("alert", "okay");
      continue;
    }
    EXPECT_EQ(button_state("top", "unsimulate"), ENABLED) << name;
    press_button("top", "unsimulate");
    press_button("top", "simulate");
    press_button("top", "simulate");
    EXPECT_EQ(VKState[0][0]->year, 2010) << name;
  }
}
}  // namespace
