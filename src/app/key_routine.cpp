// The program's key routine, installed for the whole run. Only the modal window on
// top takes keys: a help screen, a target window, or the country window's name
// search; with none of them up keys do nothing.
#include "app/key_routine.h"

#include "app/country_selection.h"
#include "app/general_commands.h"
#include "app/scenario_windows.h"
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
  if (HelpWinActive) return InWalkThru ? 0 : help_screen_key(key);  // the lesson waits for its buttons
  if (SetFertActive || SetLifeExActive || SetMigActive) return target_key(key);
  if (MapSelect) return handlesearch(x, y, key);
  return 0;
}
