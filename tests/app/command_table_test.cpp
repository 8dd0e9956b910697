// The routine table and the small commands: every name the interface files use is
// bound, the pane of a window, the first screen, the help and text files of the
// root menus, cancelling the quit, and the load alert for a missing or damaged file.
#include <set>

#include "app_test_support.h"

namespace {

using namespace apptest;

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
      "selectcountrymap", "setfert", "setlifeex", "setmig", "showunfigures", "simulate", "starthistory", "starttoday", "techcmd", "unsimulate",
      "versioncmd",
      // The screen-dump dialog and the walk-through tutorial.
      "canceldump", "confirmdump", "dumpscreen", "gfformat", "set_format", "qtwalk", "walkthru", "walkthruinit",
      "walkthrucont", "walkthrurecover",
      // The last session's offer.
      "declineresume", "resumesession",
      // Saving and loading by name, and the questions.
      "savedialog", "loaddialog", "savetocomputer", "loadfromcomputer", "exportdialog", "filedo",
      "filecancel", "filepick", "askyes", "askno"};
  std::set<std::string> bound;
  for (int i = 0; i < NumFuncs; ++i)
    EXPECT_TRUE(FuncNames[i].funcptr && bound.insert(FuncNames[i].name).second) << FuncNames[i].name;
  for (const char* name : names) EXPECT_EQ(bound.count(name), 1u) << name;
  EXPECT_EQ(NumFuncs, static_cast<int>(std::size(names)));
}

class CommandTest : public ProgramTest {};

TEST_F(CommandTest, CheckwindowKnowsThePanesByTheirPrefix) {
  const struct {
    const char* window;
    int pane;
  } cases[] = {{"top", 0}, {"toptotalfert", 0}, {"TOPinfo", 0}, {"bottom", 1}, {"bottommig", 1}, {"map", -1}, {"to", -1}};
  for (const auto& c : cases) EXPECT_EQ(checkwindow(c.window), c.pane) << c.window;
  EXPECT_EQ(bells(), 2);  // one for each unknown window
  EXPECT_NE(read_file("error.log").find("In checkwindow, unknown window |map|\n"), std::string::npos);
}

TEST_F(CommandTest, FirstScreenThenTheRootMenusFilesWithTheMessageGivenBack) {
  idle(2);
  EXPECT_EQ(button_state("root", "File"), DISABLED);
  EXPECT_EQ(item_state("help", "p0"), DISABLED);
  press_button("help", "done");
  // The intro picture: its 16 bands in the 16 colours, band 7 in "blue".
  int x, y;
  field_origin("instruction", "introfield", &x, &y);
  EXPECT_EQ(MXPget_pixel(x + 1 + 7 * 636 / 16 + 5, y + 300), MXconvertcolor("blue"));
  press_button("message", "done");
  EXPECT_EQ(window_level("instruction"), 0);
  EXPECT_EQ(window_level("topbirth"), 0);
  EXPECT_EQ(button_state("root", "File"), ENABLED);
  EXPECT_EQ(button_state("message", "done"), INVISIBLE);
  EXPECT_EQ(item_state("help", "p0"), ENABLED);
  const struct {
    const char* button;
    const char* menu;
    const char* item;
    const char* file;
  } files[] = {{"Info", "info", "p1", "info/tech.txt"},
               {"Help", "help", "p1", "info/controls.hlp"},
               {"Info", "info", "p2", "info/pop.txt"}};
  for (const auto& f : files) {
    press_button("root", f.button);
    EXPECT_EQ(Savemsg, 6);  // the menu remembers the message and shows 14
    EXPECT_EQ(MXgetcurrmsg(), 14);
    item_point(f.menu, f.item, &x, &y);
    click(x, y);
    EXPECT_EQ(Helpfile, f.file);
    press_button("help", "done");
    EXPECT_EQ(HelpWinActive, 0);
    EXPECT_EQ(MXgetcurrmsg(), 6);
  }
  // The intro picture again, from the Help menu.
  choose("root", "Help", "help", "p0");
  EXPECT_EQ(button_state("message", "done"), ENABLED);
  press_button("message", "done");
  // Quitting can be cancelled.
  choose("root", "Quit", "quit", "p0");
  EXPECT_EQ(MXgetcurrmsg(), 15);
  press_button("quit", "cancelquit");
  EXPECT_EQ(QuitWinActive, 0);
  EXPECT_EQ(window_level("quit"), 0);
}

TEST_F(CommandTest, AMissingOrDamagedFileIsRefusedWholeWithTheLoadAlert) {
  open_main_screen();
  choose_country("top", "chile");
  for (bool damaged : {false, true}) {
    if (damaged) {
      choose("root", "File", "file", "save");
      std::string bytes = read_file("vk_000.sav");
      bytes.replace(23236, 4, "\xff\xff\xff\xff");  // a window's level -1 in the interface block
      write_file("vk_000.sav", bytes);
      press_button("top", "simulate");
    }
    choose("root", "File", "file", "load");
    EXPECT_EQ(AlertNumber, 2);
    EXPECT_EQ(VKState[0][0]->year, damaged ? 1995 : 1990);  // nothing changed
    redraw_all();  // a full redraw shows the alert again
    EXPECT_GE(window_level("alert"), 1);
    press_button("alert", "okay");
    EXPECT_EQ(AlertNumber, 0);
    EXPECT_EQ(window_level("alert"), 0);
  }
  const std::string log = read_file("error.log");
  EXPECT_NE(log.find("Simulation from |vk_000.sav| not loaded. \n"), std::string::npos);
  EXPECT_NE(log.find("Saved simulation |vk_000.sav| refused"), std::string::npos);
}

}  // namespace
