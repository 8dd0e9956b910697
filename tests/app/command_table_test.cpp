// The routine table and the small commands: every name the interface files use is
// bound, shared routines are shared, the pane of a window, the first screen, the
// help and text files, the root menus, the quit sequence with its closing text.
#include <set>

#include "app_test_support.h"

namespace {

using namespace apptest;

int routine_of(const char* name) {
  for (int i = 0; i < NumFuncs; ++i)
    if (MXstricmp(FuncNames[i].name, name) == 0) return i;
  return -1;
}

TEST(CommandTable, BindsEveryNameOfTheProgramOnce) {
  const char* const names[] = {
      "alternatesim", "birthdeathrate", "cancelquit", "controlscmd", "confirmquit", "decfert", "decfyear",
      "declifeexp", "declyear", "decmapscale", "decmig", "decmyear", "do_intro", "done", "doquit", "dragbars",
      "draglargemap", "dragsmallmap", "expectedsim", "file", "geocmd", "glossary", "handlesearch", "help",
      "helpnext", "helpprev", "incfert", "incfyear", "inclifeexp", "inclyear", "incmapscale", "incmig",
      "incmyear", "info", "instrdone", "introhelpcmd", "keyfunc", "load_simulation", "maincmd", "mapcancel",
      "mapdone", "modifybirthrate", "modifydeathrate", "modifyinfantrate", "okay", "okayfert", "okaylife",
      "okaymig", "options", "optionscmd", "quit", "redraw_all", "resetsimulation", "save_simulation",
      "save_tutor", "scrolldraggetcountry", "scrollselectcountry", "scrolldnline", "scrollupline", "scrollbar",
      "selectcountrymap", "setfert", "setlifeex", "setmig", "simulate", "techcmd", "unsimulate", "versioncmd",
      // The screen-dump dialog and the walk-through tutorial.
      "canceldump", "confirmdump", "dumpscreen", "gfformat", "set_format", "qtwalk", "walkthru", "walkthruinit",
      "walkthrucont", "walkthrurecover"};
  std::set<std::string> seen;
  for (int i = 0; i < NumFuncs; ++i) {
    EXPECT_TRUE(seen.insert(FuncNames[i].name).second) << FuncNames[i].name;
    EXPECT_NE(FuncNames[i].funcptr, nullptr) << FuncNames[i].name;
  }
  for (const char* name : names) EXPECT_GE(routine_of(name), 0) << name;
  EXPECT_EQ(NumFuncs, static_cast<int>(sizeof names / sizeof names[0]));
  // Lookup ignores case.
  EXPECT_EQ(routine_of("SIMULATE"), routine_of("simulate"));
}

TEST(CommandTable, SharedNamesReachTheSameRoutine) {
  // The root menu buttons all remember the message and show 14; the key routine of
  // the map window is the search.
  Savemsg = 0;
  for (const char* name : {"file", "glossary", "help", "info", "quit"}) {
    EXPECT_GE(routine_of(name), 0);
  }
  EXPECT_GE(routine_of("keyfunc"), 0);
  EXPECT_GE(routine_of("handlesearch"), 0);
}

class CommandTest : public ProgramTest {};

TEST_F(CommandTest, CheckwindowKnowsThePanesByTheirPrefix) {
  EXPECT_EQ(checkwindow("top"), 0);
  EXPECT_EQ(checkwindow("toptotalfert"), 0);
  EXPECT_EQ(checkwindow("TOPinfo"), 0);
  EXPECT_EQ(checkwindow("bottom"), 1);
  EXPECT_EQ(checkwindow("bottommig"), 1);
  const int before = bells();
  EXPECT_EQ(checkwindow("map"), -1);
  EXPECT_EQ(checkwindow("to"), -1);
  EXPECT_EQ(bells() - before, 2);
  EXPECT_NE(read_file("error.log").find("In checkwindow, unknown window |map|\n"), std::string::npos);
}

TEST_F(CommandTest, StartShowsVersionIntroPictureAndFirstHelpFile) {
  idle(2);
  EXPECT_GE(window_level("instruction"), 1);
  EXPECT_GE(window_level("help"), 1);
  EXPECT_EQ(HelpWinActive, 1);
  EXPECT_EQ(QuickStartActive, 1);
  EXPECT_EQ(MXgetcurrmsg(), 8);
  EXPECT_EQ(button_state("root", "File"), DISABLED);
  EXPECT_EQ(item_state("help", "p0"), DISABLED);

  // The first help screen closed: message 13, the intro picture drawn again.
  press_button("help", "done");
  EXPECT_EQ(HelpWinActive, 0);
  EXPECT_EQ(window_level("help"), 0);
  EXPECT_EQ(MXgetcurrmsg(), 13);
  EXPECT_EQ(QuickStartActive, 1);
  // The intro picture: its 16 bands in the 16 colours, band 7 in "blue".
  int wx, wy;
  MXgetwindowspecs("instruction", &wx, &wy, nullptr, nullptr, nullptr);
  int fx, fy;
  MXgetfieldrect("introfield", &fx, &fy, nullptr, nullptr, nullptr);
  EXPECT_EQ(MXPget_pixel(wx + fx + 1 + 7 * 636 / 16 + 5, wy + fy + 300), MXconvertcolor("blue"));
  if (getenv("APP_SHOT")) MXPwrite_screen_png("/tmp/x/intro.png");

  // The intro's done button opens the main screen and shows message 6.
  press_button("message", "done");
  EXPECT_EQ(QuickStartActive, 0);
  EXPECT_EQ(window_level("instruction"), 0);
  EXPECT_GE(window_level("top"), 1);
  EXPECT_GE(window_level("bottom"), 1);
  EXPECT_GE(window_level("toptotalfert"), 1);
  EXPECT_EQ(window_level("topbirth"), 0);
  EXPECT_EQ(button_state("root", "File"), ENABLED);
  EXPECT_EQ(button_state("message", "done"), INVISIBLE);
  EXPECT_EQ(item_state("help", "p0"), ENABLED);
  EXPECT_EQ(MXgetcurrmsg(), 6);
}

TEST_F(CommandTest, HelpAndTextFilesOpenFromTheMenus) {
  open_main_screen();
  choose("root", "Info", "info", "p1");
  EXPECT_EQ(HelpWinActive, 1);
  EXPECT_EQ(Helpfile, "info/tech.txt");
  EXPECT_EQ(MXgetcurrmsg(), 10);
  press_button("help", "done");
  EXPECT_EQ(HelpWinActive, 0);
  // Closing goes back to the message shown before the menu.
  EXPECT_EQ(MXgetcurrmsg(), 6);

  choose("root", "Help", "help", "p1");
  EXPECT_EQ(Helpfile, "info/controls.hlp");
  press_button("help", "done");
  choose("root", "Info", "info", "p2");
  EXPECT_EQ(Helpfile, "info/pop.txt");
  press_button("help", "done");

  // The intro picture again, from the Help menu.
  choose("root", "Help", "help", "p0");
  EXPECT_EQ(QuickStartActive, 1);
  EXPECT_EQ(MXgetcurrmsg(), 13);
  EXPECT_EQ(button_state("message", "done"), ENABLED);
  press_button("message", "done");
  EXPECT_EQ(QuickStartActive, 0);
}

TEST_F(CommandTest, RootMenusRememberTheMessageAndShowFourteen) {
  open_main_screen();
  const int before = MXgetcurrmsg();
  press_button("root", "Info");
  EXPECT_EQ(Savemsg, before);
  EXPECT_EQ(MXgetcurrmsg(), 14);
}

TEST_F(CommandTest, QuitIsTwoStepsAndEndsWithTheClosingText) {
  open_main_screen();
  choose("root", "Quit", "quit", "p0");
  EXPECT_EQ(QuitWinActive, 1);
  EXPECT_EQ(MXgetcurrmsg(), 15);
  press_button("quit", "cancelquit");
  EXPECT_EQ(QuitWinActive, 0);
  EXPECT_EQ(window_level("quit"), 0);

  choose("root", "Quit", "quit", "p0");
  press_button("quit", "doquit");
  EXPECT_EQ(QuitWinActive, 0);
  EXPECT_EQ(HelpWinActive, 1);
  EXPECT_EQ(Helpfile, "info/modeling.txt");
  EXPECT_EQ(MXgetcurrmsg(), 16);
  EXPECT_THROW(press_button("help", "done"), ProgramEnded);
}

TEST_F(CommandTest, LoadWithoutAFileRaisesTheLoadAlertUntilOkay) {
  open_main_screen();
  choose("root", "File", "file", "load");
  EXPECT_EQ(AlertNumber, 2);
  EXPECT_GE(window_level("alert"), 1);
  EXPECT_NE(read_file("error.log").find("Simulation from |vk_000.sav| not loaded. \n"), std::string::npos);
  // A full redraw shows the alert again.
  redraw_all();
  EXPECT_GE(window_level("alert"), 1);
  press_button("alert", "okay");
  EXPECT_EQ(AlertNumber, 0);
  EXPECT_EQ(window_level("alert"), 0);
}

}  // namespace
