// Saving and loading by name, and the questions asked before work is wiped. The
// modal window "filedlg" takes a file name typed into a sunken field (letters,
// digits, ".", "_" and "-", at most 64; ".sav" added when missing; no folders;
// typing replaces a name the dialog offered) and
// lists the saved simulations of the working directory, newest first, with their
// dates; a click on the list picks a name. Every save ends with an alert naming the
// file and its folder, or saying that it failed. The window "ask" puts one question
// with Yes and No (Enter and Escape).
#pragma once

#include <string>

// Commands.
int savedialog();   // File, Save simulation
int loaddialog();   // File, Load saved simulation
// File, Save to / Load from your computer (where the display reaches the user's own
// computer, the browser page): the Save dialog, then the file offered as a
// download; an upload loaded as from the Load dialog.
int savetocomputer();
int loadfromcomputer();
// Shows both only where the display offers them (at start and after a load, whose
// interface state came from wherever the file was saved).
void offer_outside_files();
// File, Export table: the runs of both panes as CSV (a ".csv" name), one row per
// pane, run and year with the columns of vkproject's CSV and the targets in force.
int exportdialog();
int filedo();       // the dialog's Save or Load (Enter)
int filecancel();   // Cancel (Escape)
int filepick(int x, int y, int status);  // a click on the list
// Puts one question in the window "ask" (Enter = Yes, Escape = No); Yes runs `yes`.
// Returns 0 when another question is already up.
int ask_question(const std::string& line1, const std::string& line2, int (*yes)());
int askyes();
int askno();
// The pane commands that wipe runs ask first when the pane holds simulated runs
// (never during the walk-through).
int ask_resetsimulation();
int ask_selectcountrymap();

// The name a file name typed by the user stands for: "" when it is not allowed.
std::string saved_file_name(const std::string& typed);
// Whether a pane holds a run stepped beyond 1990.
bool pane_has_work(int pane);
// Tells the user that saving to `name` failed (alert).
void report_failed_save(const char* name);
// Draws the program's dialogs again while they are up (the whole-screen redraw).
void redraw_file_dialogs();
// Tests: no dialog, the default name.
void reset_file_dialogs();
