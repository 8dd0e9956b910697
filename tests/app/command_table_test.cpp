// The routine table and the small commands: every name bound once, the pane of a
// window, the first screen, the help and text files of the root menus, cancelling
// the quit, and the load alert for a missing file.
#include <set>
#include <tuple>

#include "app_test_support.h"

namespace {

using namespace apptest;

// Every routine is bound once; that the interface files find theirs, every start-up
// of the program and the interface layout test show.
TEST(CommandTable, BindsEveryNameOnceToARoutine) {
  std::set<std::string> bound;
  for (int i = 0; i < NumFuncs; ++i)
    EXPECT_TRUE(FuncNames[i].funcptr && bound.insert(FuncNames[i].name).second) << FuncNames[i].name;
  EXPECT_GT(NumFuncs, 90);
}

TEST_F(ProgramTest, TheFirstScreenThePanesOfWindowsTheRootMenusAndAMissingFile) {
  for (const auto& [window, pane] : {std::pair{"top", 0}, {"TOPinfo", 0}, {"bottommig", 1}, {"map", -1}, {"to", -1}})
    EXPECT_EQ(checkwindow(window), pane) << window;
  EXPECT_EQ(bells(), 2);  // one for each unknown window
  EXPECT_NE(read_file("error.log").find("In checkwindow, unknown window |map|\n"), std::string::npos);
  idle(2);
  EXPECT_EQ(button_state("root", "File"), DISABLED);
  EXPECT_EQ(item_state("help", "p0"), DISABLED);
  press_button("help", "done");
  // The intro picture: its 16 bands in the 16 colours, band 7 in "blue".
  int x, y;
  field_origin("instruction", "introfield", &x, &y);
  EXPECT_EQ(MXPget_pixel(x + 1 + 7 * 636 / 16 + 5, y + 300), MXconvertcolor("blue"));
  press_button("message", "done");
  EXPECT_EQ(window_level("instruction") + window_level("topbirth"), 0);
  EXPECT_EQ(button_state("root", "File"), ENABLED);
  EXPECT_EQ(button_state("message", "done"), INVISIBLE);
  EXPECT_EQ(item_state("help", "p0"), ENABLED);
  // A root menu shows its message 14 and gives message 6 back after the file it shows.
  for (const auto& [button, menu, item, file] : {std::tuple{"Info", "info", "p1", "info/tech.txt"},
                                                 {"Help", "help", "p1", "info/controls.hlp"}}) {
    press_button("root", button);
    EXPECT_EQ(Savemsg, 6);
    EXPECT_EQ(MXgetcurrmsg(), 14);
    choose(nullptr, nullptr, menu, item);
    EXPECT_EQ(Helpfile, file);
    press_button("help", "done");
    EXPECT_EQ(HelpWinActive, 0);
    EXPECT_EQ(MXgetcurrmsg(), 6);
  }
  choose("root", "Help", "help", "p0");  // the intro picture again
  EXPECT_EQ(button_state("message", "done"), ENABLED);
  press_button("message", "done");
  choose("root", "Quit", "quit", "p0");  // quitting can be cancelled
  EXPECT_EQ(MXgetcurrmsg(), 15);
  press_button("quit", "cancelquit");
  EXPECT_EQ(QuitWinActive + window_level("quit"), 0);
  // Loading a file that is not there: the load alert, which a full redraw shows again.
  choose("root", "File", "file", "load");
  EXPECT_EQ(AlertNumber, 2);
  redraw_all();
  EXPECT_GE(window_level("alert"), 1);
  press_button("alert", "okay");
  EXPECT_EQ(AlertNumber + window_level("alert"), 0);
  EXPECT_NE(read_file("error.log").find("Simulation from |vk_000.sav| not loaded. \n"), std::string::npos);
}

}  // namespace
