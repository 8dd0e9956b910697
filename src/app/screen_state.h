// What the command routines share: which windows are up (so that the whole screen
// can be rebuilt when no backing store is kept), the help messages to restore when
// a window closes, the flags the walk-through tutorial watches, the names of each
// pane's windows, and the pane of the control last used (checkwindow).
#pragma once

#include <string>

// Which windows are up. The global redraw reads these to rebuild the screen.
extern int HelpWinActive;     // the window "help" shows a help or text file
extern int QuitWinActive;     // the quit confirmation "quit" is up
extern int DumpWinActive;     // the screen-dump dialog is up
extern int DumpResultsActive; // its result alert is up
extern int QuickStartActive;  // the intro picture in "instruction" is up
extern int MapSelect;         // the country selection window "map" is up
extern int SetFertActive;     // "setfert" is up
extern int SetLifeExActive;   // "setlife" is up
extern int SetMigActive;      // "setmig" is up
extern int AlertNumber;       // 0 none, 1 country-file alert, 2 load alert, 3 intro alert,
                              // 4 the last session was damaged
extern int InWalkThru;        // the walk-through tutorial runs
extern int StartWalkThru;     // start the tutorial when the first help screen closes
// Set by routines when an action the tutorial waits for has happened; the tutorial
// clears it.
extern int Drag_Used;

// Help messages kept to be shown again.
extern int Savemsg;            // when a root menu was opened
extern int ParmSavemsg;        // when a scenario window or an alert closes
extern int QuickStartSavemsg;  // when the intro picture closes
extern int MapSelectSavemsg;   // when the map window is cancelled

// The help or text file on show: Infopath followed by its file name.
extern std::string Helpfile;

// Window names of each pane, indexed by pane (0 "top", 1 "bottom").
extern const char* const Displayname[2];
extern const char* const TFRname[2];
extern const char* const Lifexname[2];
extern const char* const Migname[2];
extern const char* const Infowinname[2];
extern const char* const Birthwinname[2];
extern const char* const Deathwinname[2];
extern const char* const Infantwinname[2];

// The pane of a window: a name beginning with "top" gives 0, one beginning with
// "bottom" 1; any other rings the bell, notes "In checkwindow, unknown window |%s|"
// in the error log and gives -1.
int checkwindow(const char* window);
// checkwindow of the last control's window (its window or menu name).
int checklastcontrol();

// Redraws the screen-dump dialog or its result alert while one is up; filled by the
// screen-dump dialog, null until then.
extern void (*DumpRedraw)();
// Redraws the program's other dialogs while one is up (the offer to continue the
// last session, the save and load dialogs, the questions); null until filled.
extern void (*DialogRedraw)();

// Ends the program once the closing text is closed (MXquit with no message). Tests
// replace it to stay in the process.
extern void (*AppQuit)();

// Puts every flag and kept number back to its value at start (tests).
void reset_screen_state();
