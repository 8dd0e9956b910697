// The small commands: help and text files, the intro picture and the first
// screen, the quit sequence with its closing text, the alert's okay, the further
// runs, the reset of a pane and the root menus.
#pragma once

// Help and text files in the window "help".
int controlscmd();
int maincmd();
int optionscmd();
int geocmd();
int techcmd();
int versioncmd();
int helpnext();
int helpprev();

// The root buttons that open a menu: remember the help message and show 14.
int standard_menu();
int no_op();

int done();
int do_intro();
int dointroscreen();
void drawintroscreen();
int introhelpcmd();
int instrdone();

int confirmquit();
int cancelquit();
int doquit();
// 1 once quitting was confirmed (the closing text is shown).
int quitting();

int okay();
// Removes the named window (the one on top: a target window or the alert), then
// redraws: the whole screen without backing store, else the pane when update is
// set; shows help message ParmSavemsg again.
void reset_screen(int update, const char* window);

int alternatesim();
int expectedsim();
int resetsimulation();

// Starts the walk-through tutorial when the first help screen closes with
// StartWalkThru set; filled by the tutorial, null until then.
extern int (*WalkThruInit)();

// Tests: back to the state before the first help screen.
void reset_general_commands();
