// The target windows of a pane ("setfert", "setlife", "setmig"), the simulate and
// step-back buttons and the pane's Options button, with the rules that enable and
// disable their buttons.
#pragma once

// Opening the target windows (the set buttons of the pane's fertility,
// life-expectancy and migration windows).
int setfert();
int setlifeex();
int setmig();
// Value buttons: change the shown run's target at once.
int incfert();
int decfert();
int inclifeexp();
int declifeexp();
int incmig();
int decmig();
// Year buttons: change the target year being edited.
int incfyear();
int decfyear();
int inclyear();
int declyear();
int incmyear();
int decmyear();
// Okay buttons: commit the edited year and close the window.
int okayfert();
int okaylife();
int okaymig();

// A key typed while a target window is open: digits, point, minus and Backspace
// edit the value or the year, Tab moves between them, Enter is OK, Escape closes
// the window with the value and year it opened with. 0 when the window takes no
// keys or refused the key.
int target_key(int key);

int simulate();
int unsimulate();
int options();

// Draw a target window's figures; redraw 1 redraws the window first, 0 is the
// drawing right after it opened (a target not pending shows the current value).
void display_fert_win(int redraw);
void display_lifeex_win(int redraw);
void display_mig_win(int redraw);

// After a load that did not bring the interface state: each pane's windows and
// buttons as stepping to its shown run by hand leaves them (Simulate until 2050,
// Step back after 1990, the target buttons while the run can go on).
void settle_panes();
