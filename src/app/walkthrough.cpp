// The walk-through tutorial's stages, its start and end, and the recovery of the
// user's work after a lesson that was cut off.
#include "app/walkthrough.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "app/app_helpers.h"
#include "app/country_selection.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "app/starting_point.h"
#include "base/log.h"
#include "base/text.h"
#include "demography/saved_simulation.h"
#include "demography/simulation.h"
#include "startup/country_list.h"
#include "startup/filenames.h"
#include "ui/event_loop.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/scroll_list.h"

const char* const WalkSaveFile = "vk_walk.sav";
const char* const WalkStartFile = "vk_wt.ini";

namespace {

int Stage = WT_NONE;
int WTSaveMessage = 0;    // the help message shown before the lesson
int WTSaveBase = 1990;    // the user's starting point before the lesson
int WTSaveParmMsg = 0;    // the message an alert or target window restored then
bool WTSaveUN = true;     // whether the UN's figures were shown
int ScrollPosAtStage = 0; // the list's top position when the scroll-bar stage began

std::string walk_save() { return Home + WalkSaveFile; }
std::string walk_start() { return DataDir + WalkStartFile; }

bool exists(const std::string& name) {
  struct stat st;
  return stat(name.c_str(), &st) == 0;
}

ControlType Last;

bool pressed(const char* window, const char* control) {
  return Last.type == WINDOW && MXstricmp(Last.gname, window) == 0 && MXstricmp(Last.control.name, control) == 0;
}
bool continued() { return pressed("message", "wtcont"); }
// Item k of the pane's Options menu.
bool item(int k) { return Last.type == MENU && MXstricmp(Last.gname, "options") == 0 && Last.control.number == k; }

// Enables or disables a button and, while its window is on the screen, draws it in
// its new state at once, so that what looks usable is what the lesson allows. A
// drag area is not drawn: its window draws its contents (maps, list, pyramid).
int draw_now(const char* window, const char* button) {
  if (!shown(window)) return 0;
  const int w = MXwindownum(window);
  return Win[w].wb[MXbuttonnum(w, button)].drag ? 0 : 1;
}
void enable(const char* window, const char* button) { MXenablebutton(window, button, draw_now(window, button)); }
void disable(const char* window, const char* button) { MXdisablebutton(window, button, draw_now(window, button)); }
// Items of the pane's Options menu. An item that is hidden stays hidden: of "Rate
// editing on" and "Rate editing off" the menu shows one.
void options_items(int first, int last, bool on) {
  const Popupmenu& menu = Popups[MXpopupnum("options")];
  for (int k = first; k <= last; ++k) {
    char name[4];
    std::snprintf(name, sizeof name, "p%d", k);
    if (on)
      MXenablemenuitem("options", name);
    else if (menu.item[MXgetmenuitemnum("options", name)].active != INVISIBLE)
      MXdisablemenuitem("options", name);
  }
}
void clear() { MXclearlastcontrol(); }

// The shown run of the upper pane's step, -1 without one.
int shown_step() {
  const int sim = Display[0].curr_sim;
  if (sim < 0 || sim >= VK_RUNS || !VKState[0][sim]) return -1;
  return VKState[0][sim]->stepcnt;
}

// The scenario buttons of the upper pane and the fertility window's own buttons,
// all off: the lesson turns on one at a time.
void lock_scenarios() {
  disable("top", "pyrgraph");
  disable("toplifeexp", "setlife");
  disable("topmig", "setmig");
  disable("toptotalfert", "setfert");
  disable("top", "simulate");
  for (const char* b : {"incfert", "incfyear", "decfyear", "okay"}) disable("setfert", b);
}

// Closes whatever the lesson left open over the panes, so that the user's state
// comes back onto the plain main screen.
void close_lesson_windows() {
  if (MapSelect) mapcancel();
  const struct {
    int* flag;
    const char* window;
  } targets[] = {{&SetFertActive, "setfert"}, {&SetLifeExActive, "setlife"}, {&SetMigActive, "setmig"}};
  for (const auto& t : targets)
    if (*t.flag) {
      *t.flag = 0;
      MXremovenamedwindow(t.window);
    }
  if (AlertNumber != 0 || AlertUp) {
    AlertNumber = 0;
    MXremovenamedwindow("alert");
  }
  if (HelpWinActive) {
    HelpWinActive = 0;
    MXremovenamedwindow("help");
  }
}

// One stage: false while it waits, true when it passed (its actions done).
bool run_stage() {
  switch (Stage) {
    case INTRO:
      MXalert(96, Use_bstore, "introalert1", "introalert2", "introalert3", "introalert4", "introalert5",
              "introalert6", "");
      AlertNumber = 3;
      return true;
    case PRESSINTRODONE:
      // The alert's button, by its name in the interface file.
      if (!pressed("alert", "okay")) return false;
      MXdisplayhelpmessage(91);
      return true;
    case PRESSOPTIONS:
      if (!pressed("top", "options")) return false;
      MXdisplayhelpmessage(92);
      return true;
    case PRESSSELECT:
      if (!item(0) || !MapSelect) return false;
      disable("map", "done");
      disable("map", "cancel");
      disable("map", "incmapscale");
      disable("map", "decmapscale");
      for (const char* b : {"smallmap", "largemap", "scrollcountry", "scrollbar", "DnArrow"}) disable("map", b);
      enable("message", "wtcont");
      MXclearcharfunc();
      MXdisplayhelpmessage(97);
      return true;
    case CONTINUE1:
      if (!continued()) return false;
      disable("message", "wtcont");
      enable("map", "smallmap");
      enable("map", "largemap");
      clear();
      MXdisplayhelpmessage(93);
      return true;
    case NOTICESELECT:
      // A drag of the small map moves the box; this stage asks for a click.
      if (Drag_Used) {
        Drag_Used = 0;
        clear();
        return false;
      }
      if (!pressed("map", "largemap") && !pressed("map", "smallmap")) return false;
      enable("message", "wtcont");
      disable("map", "smallmap");
      disable("map", "largemap");
      MXdisplayhelpmessage(98);
      return true;
    case CONTINUE3:
      if (!continued()) return false;
      disable("message", "wtcont");
      enable("map", "smallmap");
      enable("map", "largemap");
      clear();
      MXdisplayhelpmessage(89);
      return true;
    case DRAGTOPRECT:
      if (!Drag_Used) return false;
      Drag_Used = 0;
      enable("map", "incmapscale");
      MXdisplayhelpmessage(86);
      return true;
    case ZOOMIN:
      if (!pressed("map", "incmapscale")) return false;
      disable("map", "incmapscale");
      enable("map", "decmapscale");
      MXdisplayhelpmessage(87);
      return true;
    case ZOOMOUT:
      if (!pressed("map", "decmapscale")) return false;
      disable("map", "decmapscale");
      enable("map", "scrollcountry");
      MXdisplayhelpmessage(99);
      return true;
    case PICKFROMLIST:
      if (!pressed("map", "scrollcountry")) return false;
      enable("map", "DnArrow");
      disable("map", "scrollcountry");
      MXdisplayhelpmessage(80);
      return true;
    case PRESSDNARROW:
      if (!pressed("map", "DnArrow")) return false;
      disable("map", "DnArrow");
      clear();
      MXdisplayhelpmessage(81);
      return true;
    case PRESSUPARROW:
      if (!pressed("map", "UpArrow")) return false;
      enable("message", "wtcont");
      disable("map", "UpArrow");
      disable("map", "DnArrow");
      Drag_Used = 0;
      MXdisplayhelpmessage(82);
      return true;
    case CONTINUE4:
      if (!continued()) return false;
      disable("message", "wtcont");
      enable("map", "scrollbar");
      clear();
      ScrollPosAtStage = gThumb >= 0 ? MXgetsclistpos(gThumb) : 0;
      MXdisplayhelpmessage(83);
      return true;
    case MOVESCROLLBUTT:
      // The scroll bar tells no routine that it moved: a use of the bar that moved
      // the list counts as well.
      if (!Drag_Used && !(pressed("map", "scrollbar") && gThumb >= 0 && MXgetsclistpos(gThumb) != ScrollPosAtStage))
        return false;
      Drag_Used = 0;
      disable("map", "UpArrow");
      disable("map", "DnArrow");
      MXcharfunc("keyfunc");
      MXdisplayhelpmessage(84);
      return true;
    case TYPENAME:
      if (MXstricmp(searchstring, "eu") != 0) return false;
      enable("map", "scrollcountry");
      Drag_Used = 0;
      MXdisplayhelpmessage(85);
      return true;
    case ENDMAPSELECT:
      if (!Drag_Used) return false;
      Drag_Used = 0;
      enable("map", "done");
      // Whatever was chosen: the list, either map or the typed name.
      if (Pickno >= 0)
        MXdisplayhelpmessagewith(94, Country_list[Pickno].name);
      else
        MXdisplayhelpmessage(3);
      return true;
    case PRESSMAPDONE:
      if (!pressed("map", "done")) return false;
      disable("top", "pyrgraph");
      disable("top", "simulate");
      disable("top", "options");
      disable("toptotalfert", "setfert");
      disable("toplifeexp", "setlife");
      disable("topmig", "setmig");
      enable("message", "wtcont");
      MXdisplayhelpmessage(70);
      return true;
    case CONTINUE5:
      if (!continued()) return false;
      clear();
      MXdisplayhelpmessage(71);
      return true;
    case CONTINUE6:
      if (!continued()) return false;
      disable("message", "wtcont");
      enable("top", "simulate");
      clear();
      MXdisplayhelpmessage(72);
      return true;
    case PRESSSIM:
      if (!pressed("top", "simulate") && shown_step() != VK_TIMEPOINTS - 1) return false;
      enable("top", "unsimulate");
      disable("top", "simulate");
      clear();
      MXdisplayhelpmessage(73);
      return true;
    case PRESSUNSIMAGAIN:
      if (!pressed("top", "unsimulate") && shown_step() != 0) return false;
      enable("top", "simulate");
      disable("top", "unsimulate");
      Drag_Used = 0;
      MXdisplayhelpmessage(76);
      return true;
    case GOTO2050:
      if (!Drag_Used) return false;
      Drag_Used = 0;
      enable("top", "options");
      MXdisablemenuitem("options", "p0");
      MXenablemenuitem("options", "p1");
      options_items(2, 5, false);
      MXdisplayhelpmessage(77);
      return true;
    case PRESSOPTIONSAGAIN:
      if (!pressed("top", "options")) return false;
      MXdisplayhelpmessage(78);
      return true;
    case PRESSRUNANOTHER:
      if (!item(1)) return false;
      lock_scenarios();
      disable("top", "options");
      enable("message", "wtcont");
      MXdisplayhelpmessage(79);
      return true;
    case CONTINUE7:
      if (!continued()) return false;
      disable("message", "wtcont");
      enable("toptotalfert", "setfert");
      clear();
      MXdisplayhelpmessage(60);
      return true;
    case PRESSTOTFERT:
      if (!pressed("toptotalfert", "setfert")) return false;
      disable("setfert", "incfert");
      Drag_Used = 0;
      clear();
      MXdisplayhelpmessage(61);
      return true;
    case PRESSDECFERT:
      if (!pressed("setfert", "decfert")) return false;
      disable("setfert", "incfert");
      if (!Drag_Used) {  // the floor of 0.50 is not reached yet
        clear();
        return false;
      }
      enable("setfert", "incfyear");
      Drag_Used = 0;
      clear();
      MXdisplayhelpmessage(62);
      return true;
    case INCFYEAR2010:
      if (!pressed("setfert", "incfyear")) return false;
      disable("setfert", "decfyear");
      if (!Drag_Used) {  // 2010 is not reached yet
        clear();
        return false;
      }
      disable("setfert", "incfyear");
      disable("setfert", "decfyear");
      enable("setfert", "okay");
      Drag_Used = 0;
      clear();
      MXdisplayhelpmessage(63);
      return true;
    case PRESSFERTDONE:
      if (!pressed("setfert", "okay")) return false;
      disable("toptotalfert", "setfert");
      enable("top", "simulate");
      Drag_Used = 0;
      MXdisplayhelpmessage(64);
      return true;
    case GOTO2050AGAIN:
      if (!Drag_Used) return false;
      Drag_Used = 0;
      disable("top", "unsimulate");
      disable("top", "options");
      options_items(0, 5, false);
      enable("message", "wtcont");
      MXdisplayhelpmessage(65);
      return true;
    case CONTINUE8:
      if (!continued()) return false;
      disable("message", "wtcont");
      enable("top", "options");
      options_items(0, 4, false);
      MXenablemenuitem("options", "p5");
      clear();
      MXdisplayhelpmessage(66);
      return true;
    case PRESSOPTIONS3:
      if (!pressed("top", "options")) return false;
      MXdisplayhelpmessage(67);
      return true;
    case PRESSRESETSIM:
      if (!item(5)) return false;
      lock_scenarios();
      MXdisablemenuitem("options", "p5");
      MXenablemenuitem("options", "p3");
      MXdisplayhelpmessage(68);
      return true;
    case PRESSOPTIONS4:
      if (!pressed("top", "options")) return false;
      MXdisplayhelpmessage(69);
      return true;
    case PRESSVIEWBUTTONS: {
      if (!item(3)) return false;
      disable("toplifeexp", "setlife");
      disable("topmig", "setmig");
      disable("toptotalfert", "setfert");
      disable("top", "simulate");
      disable("top", "options");
      disable("topinfant", "Infantm");
      disable("topinfant", "Infantp");
      char name[16];
      for (int b = 1; b <= 5; ++b)
        for (const char* sign : {"m", "p"}) {
          std::snprintf(name, sizeof name, "Birth%d%s", b, sign);
          disable("topbirth", name);
        }
      for (int d = 0; d <= 8; ++d)
        for (const char* sign : {"m", "p"}) {
          std::snprintf(name, sizeof name, "Death%d%s", d, sign);
          disable("topdeath", name);
        }
      enable("message", "wtcont");
      MXdisplayhelpmessage(50);
      return true;
    }
    case CONTINUE9:
      if (!continued()) return false;
      enable("topdeath", "Death7m");
      disable("message", "wtcont");
      Drag_Used = 0;
      MXdisplayhelpmessage(51);
      return true;
    case PRESSDEATHMINUS:
      if (!pressed("topdeath", "Death7m") || !Drag_Used) return false;
      disable("topdeath", "Death7m");
      enable("message", "wtcont");
      MXdisplayhelpmessage(52);
      return true;
    case CONTINUE10:
      if (!continued()) return false;
      disable("message", "wtcont");
      enable("top", "pyrgraph");
      Drag_Used = 0;
      MXdisplayhelpmessage(53);
      return true;
    case DRAGCOHORT:
      if (!(Drag_Used && pressed("top", "pyrgraph"))) {
        clear();
        Drag_Used = 0;
        return false;
      }
      enable("top", "simulate");
      Drag_Used = 0;
      MXdisplayhelpmessage(54);
      return true;
    case GOTO2050FINAL:
      if (!(Drag_Used && pressed("top", "simulate"))) {
        clear();
        Drag_Used = 0;
        return false;
      }
      Drag_Used = 0;
      disable("top", "unsimulate");
      disable("top", "options");
      options_items(0, 5, false);
      enable("message", "wtcont");
      MXdisplayhelpmessage(55);
      return true;
    case CONTINUE11:
      if (!continued()) return false;
      disable("message", "wtcont");
      return true;
    case QUITTUT:
      quitwalkthru();
      return false;
    default:
      return false;
  }
}

}  // namespace

int walkthruinit() {
  if (InWalkThru) return 0;  // one lesson at a time
  MXelog(0, "Start of Walk-Through Tutorial\n");
  if (MapSelect) {
    MapSelect = 0;
    mapcancel();
  }
  const int message = MXgetcurrmsg();
  // A file left by a lesson that was cut off holds the user's work: bring it back
  // first, so that what is kept now is that work and not the lesson's.
  if (exists(walk_save()) && !loadnamedfile(walk_save().c_str())) {
    MXelog(0, "Walk-through not started: |%s| holds earlier work that does not load; it is kept.\n",
           walk_save().c_str());
    MXbell();
    return 0;
  }
  if (!savenamedfile(walk_save().c_str())) {
    MXelog(0, "Walk-through not started: the present work cannot be kept in |%s|.\n", walk_save().c_str());
    MXbell();
    return 0;
  }
  WTSaveMessage = message;
  WTSaveParmMsg = ParmSavemsg;
  WTSaveUN = un_figures_shown();
  // The lesson is written for the history from 1990; the user's own starting
  // point comes back when it ends.
  WTSaveBase = Base_year;
  use_starting_point(1990);
  loadnamedfile(walk_start().c_str());  // without it the lesson runs on the panes as they are
  // The lesson's graphs show the runs alone; the user's own setting comes back
  // with the work kept above.
  show_un_figures(false);
  MXdisablemenuitem("options", "p6");

  MXinvisiblebutton("root", "file", 1);
  if (TutorEntry) MXinvisiblebutton("root", "glossary", 1);
  MXdisablebutton("bottom", "options", shown("bottom"));
  MXenablebutton("root", "qtwalk", 1);
  MXdisablebutton("message", "wtcont", 0);

  MXdisplayhelpmessage(90);
  MXactivatefunction("walkthru");
  MXdisablemenuitem("help", "p4");
  // The screen guide would cover the lesson, and its Done takes Continue's place.
  MXdisablemenuitem("help", "p0");
  Stage = INTRO;
  Drag_Used = 0;
  InWalkThru = 1;
  return 1;
}

int walkthru(int, int, int n) {
  if (n == 10) {
    quitwalkthru();
    return 1;
  }
  if (Stage <= WT_NONE || Stage > QUITTUT) return 1;
  // An action is judged when it is complete: a drag under way is not yet a click.
  if (CurrState == MOUSEDOWN_STATE) return 1;
  MXgetlastcontrol(&Last);
  if (run_stage()) ++Stage;
  return 1;
}

int quitwalkthru() {
  if (!InWalkThru) return 0;
  MXelog(0, "End of Walk-Through Tutorial\n");
  MXinvisiblebutton("root", "qtwalk", 1);
  Stage = WT_NONE;
  MXdeactivatefunction("walkthru");
  close_lesson_windows();
  const std::string name = walk_save();
  use_starting_point(WTSaveBase);  // a kept file without runs names none
  if (loadnamedfile(name.c_str())) {
    if (std::remove(name.c_str()) != 0)
      MXelog(0, "Odd error: could not remove walk-through save file |%s|.\n", name.c_str());
  } else {
    // Never delete the only copy of the user's work. The screen at least gets its
    // ordinary controls back.
    MXelog(0, "The work from before the walk-through was not loaded; |%s| is kept.\n", name.c_str());
    MXenablebutton("root", TutorEntry ? "glossary" : "file", 0);
    MXenablebutton("bottom", "options", 0);
    MXinvisiblebutton("message", "wtcont", 0);
    MXenablemenuitem("help", "p0");
    MXenablemenuitem("options", "p6");
    show_un_figures(WTSaveUN);
    redraw_all();
  }
  MXenablemenuitem("help", "p4");
  InWalkThru = 0;
  Drag_Used = 0;
  ParmSavemsg = WTSaveParmMsg;
  MXdisplayhelpmessage(WTSaveMessage);
  return 1;
}

int walkthrurecover() {
  const std::string name = walk_save();
  if (InWalkThru || !exists(name)) {
    MXdeactivatefunction("walkthrurecover");
    return 1;
  }
  // Wait for the main screen: the intro and the first help text closed.
  if (!shown("top") || QuickStartActive || HelpWinActive || MapSelect || CurrState == MOUSEDOWN_STATE) return 1;
  MXdeactivatefunction("walkthrurecover");
  MXelog(0, "A walk-through was cut off: loading the work kept in |%s|.\n", name.c_str());
  if (!loadnamedfile(name.c_str())) {
    MXelog(0, "The work kept in |%s| does not load; the file is kept.\n", name.c_str());
    return 1;
  }
  if (std::remove(name.c_str()) != 0)
    MXelog(0, "Odd error: could not remove walk-through save file |%s|.\n", name.c_str());
  ParmSavemsg = WALK_RECOVERED_MSG;
  MXdisplayhelpmessage(WALK_RECOVERED_MSG);
  return 1;
}

int walkthru_stage() { return Stage; }

void reset_walkthrough() {
  Stage = WT_NONE;
  WTSaveMessage = WTSaveParmMsg = ScrollPosAtStage = 0;
}
