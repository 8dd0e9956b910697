// The walk-through tutorial: a lesson of 43 stages over the normal screen. It
// keeps the user's panes, runs and interface state in "vk_walk.sav", loads the
// prepared starting state "vk_wt.ini", and at each stage enables only what the
// next step needs, tells the user what to do in the message bar and waits until
// the user has done it (watching the last control used and Drag_Used). At the
// end, or when the user leaves, the user's state comes back from "vk_walk.sav".
#pragma once

enum stagetypes {
  WT_NONE, INTRO, PRESSINTRODONE, PRESSOPTIONS, PRESSSELECT, CONTINUE1, NOTICESELECT, CONTINUE3,
  DRAGTOPRECT, ZOOMIN, ZOOMOUT, PICKFROMLIST, PRESSDNARROW, PRESSUPARROW, CONTINUE4, MOVESCROLLBUTT,
  TYPENAME, ENDMAPSELECT, PRESSMAPDONE, CONTINUE5, CONTINUE6, PRESSSIM, PRESSUNSIMAGAIN, GOTO2050,
  PRESSOPTIONSAGAIN, PRESSRUNANOTHER, CONTINUE7, PRESSTOTFERT, PRESSDECFERT, INCFYEAR2010,
  PRESSFERTDONE, GOTO2050AGAIN, CONTINUE8, PRESSOPTIONS3, PRESSRESETSIM, PRESSOPTIONS4,
  PRESSVIEWBUTTONS, CONTINUE9, PRESSDEATHMINUS, CONTINUE10, DRAGCOHORT, GOTO2050FINAL, CONTINUE11,
  QUITTUT
};

// The user's state while the lesson runs, and the lesson's starting state (both in
// the program's directory, Home + name).
extern const char* const WalkSaveFile;   // "vk_walk.sav"
extern const char* const WalkStartFile;  // "vk_wt.ini"

// Help message that tells the user the work from before a cut-off lesson is back.
constexpr int WALK_RECOVERED_MSG = 7;

// Starts the lesson. Refused (0) while one runs, when the user's state cannot be
// kept, or when an earlier lesson's "vk_walk.sav" cannot be read back.
int walkthruinit();
// The timed function: judges the current stage after every event. n = 10 ends
// the lesson at once.
int walkthru(int x, int y, int n);
// Ends the lesson and gives the user's state back ("qtwalk", and the last stage).
int quitwalkthru();
// The timed function active from start-up: when a lesson was cut off (the program
// ended while "vk_walk.sav" held the user's work), loads that work once the main
// screen is open, deletes the file and says so; then deactivates itself.
int walkthrurecover();

// The current stage (0 when no lesson runs).
int walkthru_stage();
// Tests: no lesson, stage 0.
void reset_walkthrough();
