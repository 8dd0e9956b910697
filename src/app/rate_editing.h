// Direct editing of a pane's current state: the birth, death and infant-mortality
// rates one step per press of the editing windows' minus and plus buttons, and the
// population of one pyramid row cut by dragging its bar toward the axis.
#pragma once

#include <cstdint>

// Switches rate editing of pane Cdisp on or off (options items "p3" / "p4").
int birthdeathrate();
int modifybirthrate();
int modifydeathrate();
int modifyinfantrate();
// The drag area "pyrgraph" over the field "PYRBUTTON" of a pane window.
int dragbars(int x, int y, int status);

// A rate one shown unit (1000) up or down, first rounded to a whole unit; a
// lowering stops at 0.
int32_t rate_step_up(int32_t rate);
int32_t rate_step_down(int32_t rate);
