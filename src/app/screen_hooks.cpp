// The screen side of the simulation state's routines: which buttons a new run
// enables, the fields the target changes write, the help messages and alerts,
// and the interface-state block of saved simulations.
#include <cstdio>

#include "app/app_helpers.h"
#include "app/command_table.h"
#include "app/population_display.h"
#include "app/file_dialogs.h"
#include "app/scenario_windows.h"
#include "app/screen_state.h"
#include "app/session.h"
#include "demography/country.h"
#include "demography/simulation.h"
#include "startup/filenames.h"
#include "ui/help.h"
#include "ui/interface.h"

namespace {

void redraw_if_shown(const char* window, const char* button, bool enable) {
  if (enable)
    MXenablebutton(window, button, shown(window));
  else
    MXdisablebutton(window, button, shown(window));
}

// A run at 1990 can be steered again: the set buttons and the pyramid are usable,
// and in rate editing the editing windows are up in place of the fertility and
// life-expectancy set buttons.
void enable_scenarios(int pane) {
  if (Display[pane].modify_flag) {
    for (const char* const* names : {Birthwinname, Deathwinname, Infantwinname}) {
      MXsetactivenamedwindow(names[pane]);
      if (shown(Displayname[pane])) MXredrawnamedwindow(names[pane]);
    }
  } else {
    redraw_if_shown(TFRname[pane], "setfert", true);
    redraw_if_shown(Lifexname[pane], "setlife", true);
  }
  redraw_if_shown(Migname[pane], "setmig", true);
  MXenablebutton(Displayname[pane], "pyrgraph", 0);
}

void enable_simulate(int pane) {
  redraw_if_shown(Displayname[pane], "unsimulate", false);
  redraw_if_shown(Displayname[pane], "simulate", true);
}

void alert(int number) {
  if (number == 1) {
    show_country_alert();
    AlertNumber = 1;
  } else if (number == 2) {
    MXalert(10, Use_bstore, "loadalert1", "loadalert2", "loadalert3", "loadalert4", "");
    AlertNumber = 2;
  }
}

void show_field(const char* field, const char* text) {
  write_field_text(field, text);
  MXclick();
}

int in_walkthru() { return InWalkThru; }
void quit(int) { end_with_session(); }
long state_block_size() { return static_cast<long>(MXwindowstatesize()); }

}  // namespace

void show_country_alert() {
  MXalert(10, Use_bstore, "ctyerror", "");
  if (CountryLoadProblem.empty()) return;
  // Under the alert's text: the file, then what is wrong with it, each cut to the window.
  int width = 0;
  MXgetwindowspecs("alert", nullptr, nullptr, &width, nullptr, nullptr);
  const size_t colon = CountryLoadProblem.find(": ");
  const std::string lines[2] = {"File " + CountryLoadProblem.substr(0, colon),
                                colon == std::string::npos ? "" : CountryLoadProblem.substr(colon + 2)};
  const int window = InfState.cw, colour = MXgetcolor();
  const FontSizeType font = MXPgetfont();
  MXsetcurrentnamedwindow("alert");
  MXsetfont(LARGE);
  MXsetcolor(Win[InfState.cw].fgcolor);
  for (int i = 0; i < 2; ++i) {
    std::string text = lines[i];
    while (!text.empty() && MXtextwidth(text.c_str()) > width - 12) text.pop_back();
    MXwwritemsg(6, 45 + 15 * i, text.c_str());
  }
  MXsetcurrentnamedwindow(Win[window].name);
  MXsetfont(font);
  MXsetcolor(colour);
}

void install_screen_hooks() {
  Screen.enable_scenarios = enable_scenarios;
  Screen.setup_bargraph = setup_bargraph;
  Screen.enable_simulate = enable_simulate;
  Screen.update_display = update_display;
  Screen.redraw_all = redraw_all;
  Screen.help_message = MXdisplayhelpmessage;
  Screen.alert = alert;
  Screen.bell = MXbell;
  Screen.show_field = show_field;
  Screen.in_walkthru = in_walkthru;
  Screen.deactivate_function = MXdeactivatefunction;
  Screen.quit = quit;
  Screen.state_block_size = state_block_size;
  Screen.save_state_block = MXsavewindows;
  Screen.check_state_block = MXcheckwindowstate;
  Screen.apply_state_block = [](const unsigned char* block) {
    MXapplywindowstate(block);
    offer_outside_files();
  };
  Screen.settle_panes = settle_panes;
  Screen.save_failed = report_failed_save;
}
