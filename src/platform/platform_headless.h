// The headless platform: no window; the screen lives only in memory and can be
// written to a PNG file. Input comes from an in-process queue (for tests) and from
// a script file (for end-to-end runs of the program). Time is virtual: every idle
// event moves the clock 10 ms, so timed behaviour is deterministic and waits take
// no real time.
//
// Selecting it: the environment variable VARNOCK_PLATFORM=headless, or
// MXPuse_headless(true) before MXPinit_system. VARNOCK_SCRIPT names a script file;
// with the variable selection and no script, the program starts, handles the
// start-up expose and ends.
//
// Script format: one command per line; blank lines and lines starting with # are
// skipped; words are separated by blanks.
//   wait MS            idle events for MS milliseconds (one per 10 ms, rounded up)
//   move X Y           the mouse moves to (X, Y): one idle event there
//   press X Y          left button pressed at (X, Y)
//   release X Y        left button released at (X, Y)
//   click X Y          press and release at (X, Y)
//   key KEY            one key event: a number 0..255, a single character, or a
//                      name: backspace delete tab return enter escape esc space
//                      left right up down, or ctrl-A .. ctrl-Z
//   type TEXT          one key event per character of TEXT (the rest of the line)
// Characters beyond ASCII may be written in UTF-8; they become their Windows-1252
// (Latin-1) codes. Text that is not UTF-8 is taken byte by byte.
//   expose             an expose event
//   screenshot FILE    writes the screen to FILE as a PNG picture
//   close              the window's close request (as its close button)
//   quit               ends the program through the quit routine
// When the script is used up, the program ends through the quit routine.
#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

// Chooses the headless platform for the next MXPinit_system (true) or the window
// (false, unless VARNOCK_PLATFORM=headless).
void MXPuse_headless(bool on);
// Whether the display now open (or the next one) is headless.
bool MXPheadless();

// In-process input: events are delivered in order before any script command. A
// press, release or idle event sets the mouse position; a key event keeps it.
void MXPheadless_post(const MXEvent& event);
void MXPheadless_press(int x, int y);
void MXPheadless_release(int x, int y);
void MXPheadless_move(int x, int y);
void MXPheadless_key(int code);
// Whether anything is waiting in the queue or the script.
bool MXPheadless_pending();

// One parsed script line.
enum MXPScriptKind {
  SCRIPT_NOTHING,  // blank line or comment
  SCRIPT_WAIT,
  SCRIPT_MOVE,
  SCRIPT_PRESS,
  SCRIPT_RELEASE,
  SCRIPT_CLICK,
  SCRIPT_KEY,
  SCRIPT_TYPE,
  SCRIPT_EXPOSE,
  SCRIPT_SCREENSHOT,
  SCRIPT_CLOSE,
  SCRIPT_QUIT
};
struct MXPScriptCommand {
  MXPScriptKind kind = SCRIPT_NOTHING;
  long number = 0;   // wait: milliseconds; key: the key code
  int x = 0, y = 0;  // mouse commands
  std::string text;  // type: the characters; screenshot: the file name
};

// Parses one line (without its line end). Returns false and a short reason in
// *error when the line is not a command.
bool MXPparse_script_line(const std::string& line, MXPScriptCommand* command, std::string* error);

// Parses a whole script; on failure returns false with "line N: reason" in *error.
bool MXPparse_script(const std::string& text, std::vector<MXPScriptCommand>* commands,
                     std::string* error);

// Installs a script to run after the queued events (replacing any script not yet
// run). From then on, running out of input ends the program through the quit
// routine. Returns false with a reason when the text does not parse.
bool MXPheadless_set_script(const std::string& text, std::string* error);

// What a script's screenshot command does: by default it writes the PNG file; a
// backend that replays scripts on a screen of its own (the browser page's test
// hook) takes its own picture there instead. Null restores the default.
void MXPheadless_set_screenshot_taker(void (*take)(const char* path));

// Counts of MXbell and MXclick calls since the display was opened.
int MXPheadless_bells();
int MXPheadless_clicks();

// Writes the screen, in the installed palette's colours, to a PNG file. Returns 1
// on success, 0 when the file cannot be written.
int MXPwrite_screen_png(const char* path);
