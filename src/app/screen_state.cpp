// The screen-state flags, the kept help-message numbers, the pane window names and
// the pane lookup of the command routines.
#include "app/screen_state.h"

#include <strings.h>

#include "base/log.h"
#include "platform/platform.h"
#include "ui/interface.h"

int HelpWinActive = 0;
int QuitWinActive = 0;
int DumpWinActive = 0;
int DumpResultsActive = 0;
int QuickStartActive = 0;
int MapSelect = 0;
int SetFertActive = 0;
int SetLifeExActive = 0;
int SetMigActive = 0;
int AlertNumber = 0;
int InWalkThru = 0;
int StartWalkThru = 0;
int Drag_Used = 0;

int Savemsg = 0;
int ParmSavemsg = 0;
int QuickStartSavemsg = 0;
int MapSelectSavemsg = 0;

std::string Helpfile;

const char* const Displayname[2] = {"top", "bottom"};
const char* const TFRname[2] = {"toptotalfert", "bottomtotalfert"};
const char* const Lifexname[2] = {"toplifeexp", "bottomlifeexp"};
const char* const Migname[2] = {"topmig", "bottommig"};
const char* const Infowinname[2] = {"topinfo", "bottominfo"};
const char* const Birthwinname[2] = {"topbirth", "bottombirth"};
const char* const Deathwinname[2] = {"topdeath", "bottomdeath"};
const char* const Infantwinname[2] = {"topinfant", "bottominfant"};

void (*DumpRedraw)() = nullptr;
void (*DialogRedraw)() = nullptr;

namespace {
void quit_program() { MXquit(nullptr); }
}  // namespace

void (*AppQuit)() = quit_program;

int checkwindow(const char* window) {
  const char* name = window ? window : "";
  // Only the prefix counts: "toptotalfert" and "bottommig" belong to their panes.
  if (strncasecmp(name, "top", 3) == 0) return 0;
  if (strncasecmp(name, "bottom", 6) == 0) return 1;
  MXbell();
  MXelog(0, "In checkwindow, unknown window |%s|\n", name);
  return -1;
}

int checklastcontrol() {
  ControlType control;
  MXgetlastcontrol(&control);
  return checkwindow(control.gname);
}

void reset_screen_state() {
  HelpWinActive = QuitWinActive = DumpWinActive = DumpResultsActive = 0;
  QuickStartActive = MapSelect = SetFertActive = SetLifeExActive = SetMigActive = 0;
  AlertNumber = InWalkThru = StartWalkThru = Drag_Used = 0;
  Savemsg = ParmSavemsg = QuickStartSavemsg = MapSelectSavemsg = 0;
  Helpfile.clear();
}
