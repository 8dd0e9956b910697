// The program's key routine, installed for the whole run. Only the modal window on
// top takes keys: an alert, the quit confirmation, the screen-dump dialog, a help
// screen, a target window, or the country window's name search; with none of them up
// keys do nothing. In each, Enter presses the default button and Escape the one that
// leaves things as they were.
#include "app/key_routine.h"

#include "app/country_selection.h"
#include "app/general_commands.h"
#include "app/scenario_windows.h"
#include "app/screen_dump_dialog.h"
#include "app/screen_state.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace {

// A key acts as a press on a button only while the button could be pressed.
int press_if_usable(const char* window, const char* button, int (*routine)()) {
  int level = 0, active = 0;
  MXgetwindowspecs(window, nullptr, nullptr, nullptr, nullptr, &level);
  MXgetbuttonspecs(window, button, nullptr, nullptr, nullptr, nullptr, &active);
  if (level < 1 || active != ENABLED) return 0;
  return routine();
}

// Help screens: Escape and Enter close; the arrows (and PageUp and PageDown, which
// arrive as the up and down arrows) turn the pages.
int help_screen_key(int key) {
  switch (key) {
    case 27:
    case 13:
      return press_if_usable("help", "done", done);
    case 28:
    case 30:
      return press_if_usable("help", "helpprev", helpprev);
    case 29:
    case 31:
      return press_if_usable("help", "helpnext", helpnext);
    default:
      return 0;
  }
}

// Enter presses the window's default button and Escape its way out; other keys do
// nothing. An alert has a single button, "OK", for both.
int enter_escape(int key, const char* window, const char* enter_button, int (*enter)(),
                 const char* escape_button, int (*escape)()) {
  if (key == 13) return press_if_usable(window, enter_button, enter);
  if (key == 27) return press_if_usable(window, escape_button, escape);
  return 0;
}

}  // namespace

int help_key() {
  // As the Help menu's "The main screen" would: only while that menu could open.
  int level = 0, active = 0;
  MXgetwindowspecs("root", nullptr, nullptr, nullptr, nullptr, &level);
  MXgetbuttonspecs("root", "help", nullptr, nullptr, nullptr, nullptr, &active);
  if (level < InfState.level || active != ENABLED || HelpWinActive || InWalkThru) return 0;
  return maincmd();
}

int handlekey(int x, int y, int key) {
  // The alert sits over any other window, the dump dialog's result alert included.
  // The lesson waits for its own alert's button to be clicked.
  if (AlertNumber || DumpResultsActive) return InWalkThru ? 0 : enter_escape(key, "alert", "okay", okay, "okay", okay);
  if (QuitWinActive) return enter_escape(key, "quit", "doquit", doquit, "cancelquit", cancelquit);
  if (DumpWinActive) return enter_escape(key, "dump", "dumpscreen", dumpscreen, "canceldump", canceldump);
  if (HelpWinActive) return InWalkThru ? 0 : help_screen_key(key);  // the lesson waits for its buttons
  if (SetFertActive || SetLifeExActive || SetMigActive) return target_key(key);
  if (MapSelect) return handlesearch(x, y, key);
  return 0;
}
