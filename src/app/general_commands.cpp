// The small commands of the program: help and text files, the intro picture, the
// quit sequence, the alert's okay, further runs and the reset of a pane.
#include "app/general_commands.h"

#include <cstdio>
#include <string>

#include "app/app_helpers.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "app/session.h"
#include "app/starting_point.h"
#include "base/log.h"
#include "demography/simulation.h"
#include "pictures/picture_drawing.h"
#include "startup/filenames.h"
#include "ui/help.h"
#include "ui/interface.h"

int (*WalkThruInit)() = nullptr;

namespace {

int FinalExit = 0;  // the closing text is shown; closing it ends the program
int firsttime = 1;  // the first help screen has not been closed yet

// The intro picture's codes 0..15 in these colours; a code above 15 is black.
const char* const kIntroColourNames[16] = {"black", "dgray", "mgray",   "lgray", "bluegray", "lblue",
                                           "peach", "blue",  "green",   "lpurple", "red",    "yellow",
                                           "lcyan", "magenta", "sandy", "white"};
int IntroCol[16];

int intro_colour(unsigned code) { return code > 15 ? IntroCol[0] : IntroCol[code]; }

int show_text_file(const char* name, int message) {
  HelpWinActive = 1;
  Helpfile = text_file_for_base(Infopath + name);
  return MXdohelpscreens(Helpfile.c_str(), FirstPage, Use_bstore, message);
}

// Menu items that a file may leave out while their feature is not there yet.
bool has_item(const char* menu, const char* item) {
  const int m = MXpopupnum(menu);
  for (int i = 0; i < Popups[m].numitems; ++i)
    if (Popups[m].item[i].name && MXstricmp(Popups[m].item[i].name, item) == 0) return true;
  return false;
}

void set_item(const char* menu, const char* item, bool enabled) {
  if (!has_item(menu, item)) return;
  if (enabled)
    MXenablemenuitem(menu, item);
  else
    MXdisablemenuitem(menu, item);
}

const char* root_menu_button() { return TutorEntry ? "glossary" : "file"; }

}  // namespace

int controlscmd() { return show_text_file("controls.hlp", 10); }
int maincmd() { return show_text_file("main.hlp", 10); }
int optionscmd() { return show_text_file("options.hlp", 10); }
int geocmd() { return show_text_file("geo.txt", 10); }
int techcmd() { return show_text_file("tech.txt", 10); }
int versioncmd() { return show_text_file("pop.txt", 10); }
int helpnext() { return MXdohelpscreens(Helpfile.c_str(), NextPage, Use_bstore, -1); }
int helpprev() { return MXdohelpscreens(Helpfile.c_str(), PrevPage, Use_bstore, -1); }

int standard_menu() {
  Savemsg = MXgetcurrmsg();
  MXdisplayhelpmessage(14);
  return 1;
}

int no_op() { return 1; }

int done() {
  HelpWinActive = 0;
  if (FinalExit) {
    end_with_session();
    return 1;
  }
  MXremovenamedwindow("help");
  if (firsttime) {
    firsttime = 0;
    MXdisplayhelpmessage(13);
    if (StartWalkThru) {
      StartWalkThru = 0;
      MXdisplayhelpmessage(6);
      if (WalkThruInit) WalkThruInit();
    } else {
      if (Use_bstore == 0) {
        MXredrawnamedwindow("instruction");
        drawintroscreen();
      }
      offer_last_session();
    }
  } else {
    MXdisplayhelpmessage(-2);
    if (Use_bstore == 0) redraw_all();
  }
  return 1;
}

int do_intro() {
  HelpWinActive = 1;
  MXdeactivatefunction("do_intro");
  MXdisplayversion(VersionFile.c_str());
  show_starting_point();
  ParmSavemsg = 6;
  if (!StartWalkThru) {
    QuickStartSavemsg = 6;
    dointroscreen();
  }
  return show_text_file("tutor1.hlp", 8);
}

int dointroscreen() {
  MXdrawnamedwindow("instruction", 0, 1);
  drawintroscreen();
  MXdisplayhelpmessage(13);
  MXenablebutton("message", "done", 0);
  MXsetactivenamedwindow("message");
  MXsetactivenamedwindow("root");
  redraw_enabled_buttons("message");
  redraw_enabled_buttons("root");
  return 1;
}

void drawintroscreen() {
  QuickStartActive = 1;
  if (!InWalkThru) MXdisablebutton("root", root_menu_button(), 1);
  set_item("help", "p0", false);
  set_item("help", "p4", false);
  MXsetcurrentnamedwindow("instruction");
  const MXReadingFile reading(IntroFile.c_str());
  FILE* file = MXopen(IntroFile.c_str(), "rb");
  if (!file) MXelog(-1, "Unable to open instruction picture file |%s|\n", IntroFile.c_str());
  const Field offset = field_rect("introoffset");
  const Field area = field_rect("introfield");
  for (int i = 0; i < 16; ++i) {
    const int c = MXconvertcolor(kIntroColourNames[i]);
    IntroCol[i] = c < 0 ? 0 : c;
  }
  MXwdrawfilepict(file, area.x, area.y, area.wd, area.ht, offset.x, offset.y, intro_colour);
  std::fclose(file);
  if (InWalkThru) MXinvisiblebutton("root", "qtwalk", 1);
  show_start_choice();
}

int introhelpcmd() {
  QuickStartSavemsg = MXgetcurrmsg();
  return dointroscreen();
}

int instrdone() {
  QuickStartActive = 0;
  remove_start_choice();
  MXremovenamedwindow("instruction");
  MXsetdeactivenamedwindow("instruction");
  MXsetactivenamedwindow("root");
  if (!InWalkThru) MXenablebutton("root", root_menu_button(), 0);
  set_item("help", "p0", true);
  set_item("help", "p4", true);
  // The panes with their figure windows; the editing windows stay as the panes'
  // rate-editing mode has them. Under the country window they stay out of reach:
  // it is modal until it is closed.
  for (int pane = 0; pane < VK_PANES && !MapSelect; ++pane)
    for (const char* const* names : {Displayname, TFRname, Lifexname, Migname, Infowinname})
      MXsetactivenamedwindow(names[pane]);
  MXinvisiblebutton("message", "done", 0);
  if (InWalkThru) MXenablebutton("root", "qtwalk", 0);
  redraw_all();
  MXdisplayhelpmessage(QuickStartSavemsg);
  return 1;
}

int confirmquit() {
  // The lesson hides the File menu that the usual message points to.
  MXdisplayhelpmessage(InWalkThru ? 45 : 15);
  MXdrawnamedwindow("quit", Use_bstore, 1);
  QuitWinActive = 1;
  return 1;
}

int cancelquit() {
  MXremovenamedwindow("quit");
  QuitWinActive = 0;
  if (Use_bstore == 0) redraw_all();
  MXdisplayhelpmessage(-2);
  return 1;
}

int doquit() {
  MXremovenamedwindow("quit");
  QuitWinActive = 0;
  if (Use_bstore == 0) redraw_all();
  MXdisplayhelpmessage(-2);
  HelpWinActive = 1;
  FinalExit = 1;
  MXdisplayhelpmessage(16);
  return show_text_file("modeling.txt", 16);
}

int okay() {
  DumpResultsActive = 0;
  AlertNumber = 0;
  reset_screen(0, "alert");
  return 1;
}

void reset_screen(int update, const char* window) {
  MXremovenamedwindow(window);
  if (Use_bstore == 0)
    redraw_all();
  else if (update)
    update_display(Cdisp);
  MXdisplayhelpmessage(ParmSavemsg);
}

int alternatesim() { return startsim(vk_first_year()); }
int expectedsim() { return startsim(vk_expected_year()); }

int resetsimulation() {
  if (Display[Cdisp].curr_sim < 0) return 0;  // nothing to reset in an empty pane
  MXdisablebutton(Displayname[Cdisp], "unsimulate", 1);
  redraw_display(Cdisp);
  MXdisplayhelpmessage(-1);
  Display[Cdisp].modify_permit = 1;
  init_display_data(Cdisp);
  update_display(Cdisp);
  if (!InWalkThru) {
    ParmSavemsg = 4;
    MXdisplayhelpmessage(4);
  }
  return 1;
}

int quitting() { return FinalExit; }

void reset_general_commands() {
  FinalExit = 0;
  firsttime = 1;
  reset_starting_point();
}
