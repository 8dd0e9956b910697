// Shared set-up of the program's in-process tests: the whole start-up runs on the
// headless platform in a scratch data directory (the real country list,
// databases and maps, a generated intro picture, short help files and an
// interface file), fatal exits become exceptions, the end of the program is
// caught, and the tests drive it with scripted pointer and key events.
#pragma once
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "app/country_selection.h"
#include "app/file_dialogs.h"
#include "app/general_commands.h"
#include "app/population_display.h"
#include "app/scenario_windows.h"
#include "app/screen_state.h"
#include "app/session.h"
#include "app/startup.h"
#include "app/walkthrough.h"
#include "base/log.h"
#include "demography/country.h"
#include "demography/rescale.h"
#include "demography/simulation.h"
#include "pictures/run_length_encoder.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "startup/country_list.h"
#include "startup/filenames.h"
#include "ui/event_loop.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/list.h"
#include "ui/scroll_list.h"

namespace apptest {

struct Fatal {
  int code;
  std::string text;
};
struct ProgramEnded {};

[[noreturn]] inline void throw_fatal(int code, const char* text) { throw Fatal{code, text}; }
[[noreturn]] inline void end_program() { throw ProgramEnded{}; }
[[noreturn]] inline void platform_quit(int) { throw ProgramEnded{}; }

inline std::string read_file(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}
inline void write_file(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Lays out a data directory in `dir`: config.mcf naming `interface`, the real
// country list, databases and maps, an intro picture of 16 vertical bands of the
// codes 0..15 and small text files.
inline void lay_out_data(const std::filesystem::path& dir, const std::string& interface, int bstore) {
  namespace fs = std::filesystem;
  const fs::path data = APP_DATA_DIR;
  fs::create_directories(dir / "images");
  fs::create_directories(dir / "info");
  for (const char* link : {"dbase", "dbase2020", "images/countries.rl8", "images/regions.rl8"})
    if (fs::exists(data / link)) fs::create_symlink(data / link, dir / link);
  std::vector<uint16_t> bands(404 * 636);
  for (size_t i = 0; i < bands.size(); ++i) bands[i] = static_cast<uint16_t>(i % 636 * 16 / 636);
  MXwritepicture((dir / "images" / "intro.rl4").string(), 4, 404, 636, bands);
  std::string config = read_file((data / "config.mcf").string());
  // The compact test interface has no intro choice: only 1990 is offered with it.
  if (interface.find("app_test.inf") != std::string::npos)
    config = std::regex_replace(config, std::regex("today"), "#");
  config += "interfacefile= " + interface + "\n";
  config += std::string("bstore= ") + (bstore ? "true" : "false") + "\n";
  write_file((dir / "config.mcf").string(), config);
  for (const char* name : {"controls.hlp", "main.hlp", "options.hlp", "tutor1.hlp", "geo.txt", "tech.txt", "modeling.txt"})
    write_file((dir / "info" / name).string(), std::string("The file ") + name + ".\nIts second line.\n");
  write_file((dir / "info" / "pop.txt").string(), "Demovar\nVersion 1.0 (test data)\n");
}

// A test with the whole program started in a scratch directory.
class ProgramTest : public ::testing::Test {
 protected:
  // The interface file the program reads (a path relative to the scratch directory
  // or absolute); the compact test interface unless a test says otherwise.
  virtual std::string interface_file() const { return std::string(APP_TEST_DATA) + "/app_test.inf"; }
  virtual int backing_store() const { return 0; }

  void SetUp() override {
    old_dir_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "demovar-app-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    lay_out_data(dir_, interface_file(), backing_store());
    std::filesystem::current_path(dir_);
    MXsetfatalhandler(throw_fatal);
    reset_startup_settings();
    clear_country_list();
    reset_screen_state();
    reset_general_commands();
    reset_session();
    reset_population_display();
    reset_file_dialogs();  // a question left open by the test before
    reset_walkthrough();
    MXresethelpstate();
    MXresetlists();
    MXresetsclists();
    MXPreset_event_loop();
    for (DisplayType& d : Display) d = DisplayType{}, d.curr_sim = -1;
    for (auto& row : VKState)
      for (VKStatetype* s : row)
        if (s) s->stepcnt = -1;
    Cdisp = 0;
    MapScale = 4;
    AppQuit = end_program;
    MXPuse_headless(true);
    InfState.backingstore[1].inuse = 0;
    try {
      varnock_startup();
    } catch (const Fatal& f) {
      FAIL() << "start-up ended: " << f.text;
    }
    MXPset_quit_handler(platform_quit);
    MXmouseinit();
    bells_ = MXPheadless_bells();
  }

  // Ends the program's interface and logs, so that it can start again.
  void TearDown() override {
    reset_session();
    MXresetlists();
    MXresetsclists();
    closegraph();
    MXfreeinterfacetables();
    MXsetfatalhandler(throw_fatal);
    try {
      MXelog(-1, "%s", "");  // closes both logs
    } catch (const Fatal&) {
    }
    MXsetfatalhandler(nullptr);
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
  }

  // Runs every queued event (and the timed functions after each).
  static void run() { MXdoeventsandreturn(); }
  static void idle(int n = 1) {
    for (int i = 0; i < n; ++i) MXPheadless_post(MXEvent{MX_IDLE, 0, 0, 0});
    run();
  }
  // A press at (x0, y0), moves through the middle (unless a click) and a release at (x1, y1).
  static void drag(int x0, int y0, int x1, int y1, bool moving = true) {
    MXPheadless_move(x0, y0);
    MXPheadless_press(x0, y0);
    for (int i = moving ? 1 : 3; i <= 2; ++i) MXPheadless_move(x0 + (x1 - x0) * i / 2, y0 + (y1 - y0) * i / 2);
    MXPheadless_release(x1, y1);
    run();
  }
  static void click(int x, int y) { drag(x, y, x, y, false); }
  static void type(const std::string& text) {
    for (char c : text) MXPheadless_key(static_cast<unsigned char>(c));
    run();
  }
  static void key(int code) { type(std::string(1, static_cast<char>(code))); }

  // The centre of a button in screen coordinates.
  static void button_centre(const char* window, const char* button, int* x, int* y) {
    int wx, wy, bx, by, bw, bh;
    MXgetwindowspecs(window, &wx, &wy, nullptr, nullptr, nullptr);
    MXgetbuttonspecs(window, button, &bx, &by, &bw, &bh, nullptr);
    *x = wx + bx + bw / 2;
    *y = wy + by + bh / 2;
  }
  static void press_button(const char* window, const char* button) {
    int x, y;
    button_centre(window, button, &x, &y);
    click(x, y);
  }
  static int button_state(const char* window, const char* button) {
    int active = 0;
    MXgetbuttonspecs(window, button, nullptr, nullptr, nullptr, nullptr, &active);
    return active;
  }
  static int window_level(const char* window) {
    int active = 0;
    MXgetwindowspecs(window, nullptr, nullptr, nullptr, nullptr, &active);
    return active;
  }
  static int item_state(const char* menu, const char* item) {
    return Popups[MXpopupnum(menu)].item[MXgetmenuitemnum(menu, item)].active;
  }
  // The centre of an item of a popup menu where it opens (invisible items take no row).
  static void item_point(const char* menu, const char* item, int* x, int* y) {
    const Popupmenu& m = Popups[MXpopupnum(menu)];
    int slot = 0;
    for (int i = 0; i < m.numitems && MXstricmp(m.item[i].name, item) != 0; ++i)
      if (m.item[i].active != INVISIBLE) ++slot;
    *x = m.x + m.wd / 2;
    *y = m.y + 4 + 15 * slot + 7;
  }
  // Chooses an item of a menu (that a button opens, unless it is open).
  static void choose(const char* window, const char* button, const char* menu, const char* item) {
    if (window) press_button(window, button);
    int x, y;
    item_point(menu, item, &x, &y);
    click(x, y);
  }
  // The screen position of a field's corner in a window.
  static void field_origin(const char* window, const char* field, int* x, int* y) {
    int wx, wy, fx, fy;
    MXgetwindowspecs(window, &wx, &wy, nullptr, nullptr, nullptr);
    MXgetfieldrect(field, &fx, &fy, nullptr, nullptr, nullptr);
    *x = wx + fx;
    *y = wy + fy;
  }
  static std::vector<unsigned char> screen() {
    std::vector<unsigned char> all(640 * 480);
    for (int y = 0; y < 480; ++y) MXPget_row(y, all.data() + y * 640);
    return all;
  }

  // From the first screen to the main screen: the help file closed, then the intro.
  void open_main_screen() {
    idle(2);
    press_button("help", "done");
    press_button("message", "done");
  }

  // Chooses a list entry by typing its name in the map window of a pane; Enter
  // loads it.
  void choose_country(const char* pane, const std::string& name) {
    choose(pane, "options", "options", "p0");
    type(name);
    key(13);
  }

  int bells() const { return MXPheadless_bells() - bells_; }

  std::filesystem::path old_dir_, dir_;
  int bells_ = 0;
};

}  // namespace apptest
