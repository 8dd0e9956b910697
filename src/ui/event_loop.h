// The event loop: where the program lives after start-up. It takes events from the
// platform layer, keeps the cursor position, finds the button or drag area under the
// mouse, draws buttons pressed and released, repeats held buttons, runs drags, tells
// drag areas when the cursor enters and leaves them, tracks and selects popup-menu
// items, hands keys to the application's key routine, has the screen redrawn on
// expose, and after every event calls the functions the application has activated.
//
// How the application's routines are called (see IntrRoutine):
//   button (on release inside it, and at each auto-repeat): (0, 0, 0, button name),
//     with the window current that was current before the press;
//   drag area: (x, y, status, nullptr) for DRAG_INIT, DRAG_PROCESS, MOUSE_INSIDE and
//     MOUSE_OUTSIDE, (x, y, status, area name) for DRAG_FINAL and MOUSE_CLICK; x, y
//     relative to the area's top-left corner, the area's window current;
//   menu item: (0, 0, 0, item name); popup menu dismissed: (0, 0, 0, nullptr);
//   key routine: (x, y, key, nullptr), x, y relative to the current window;
//   redraw routine: (0, 0, 0, nullptr); active function: (x, y, 0, nullptr), screen
//     coordinates.
#pragma once
#include "platform/platform.h"
#include "ui/interface_model.h"

enum EventLoopState { NORMAL_STATE = 0, MOUSEDOWN_STATE = 1 };

extern EventLoopState CurrState;  // whether a press is under way
extern int FirstExposeSeen;       // the first expose event has arrived
extern int Fast;                  // fast cursor steps, toggled by Control-T

constexpr int MX_INSIDE_SLOTS = 10;  // drag areas the cursor can be inside at once

// Repeat timing of a held repeatable button, in milliseconds (times `speedup`).
constexpr int MX_REPEAT_FIRST_MS = 1000;
constexpr int MX_REPEAT_SLOW_MS = 500;  // the next four repeats
constexpr int MX_REPEAT_FAST_MS = 200;  // the four after those; then every idle event

// Drops events until the first expose, then handles every event for ever.
[[noreturn]] void MXPdo_events_forever();
// Handles events for as long as the platform reports one; returns when it reports
// none (a headless event source that has run dry).
void MXdoeventsandreturn();
// Whether the 10 ms idle ticks are needed now: a repeatable button or a drag area
// is held, or a function is active. The loops above ask before every event
// (MXPset_heartbeat), so that an idle program sleeps.
bool MXPheartbeat_needed();
// Handles one event, then calls every active function.
void MXPdo_one_event(const MXEvent* event);

void MXPdo_evexpose();
void MXPdo_evmousedown();
void MXPdo_evmouseup();
void MXPdo_evnone();
// Control-Q (17) ends the program, Control-T (20) toggles Fast; any other key goes to
// the key routine with (x, y) made relative to the current window.
void MXPkeyevent(int x, int y, int key);

// 1 if the screen point lies strictly inside the button (border pixels are outside).
int MXPinside_button(int x, int y, int window, int button);
// The next button containing (x, y) from the window and button indices given (both
// in-out), over the windows at the current level in table order. 1 on a hit.
int MXPgetbutton(int x, int y, int* window, int* button);
// Tells drag areas that the cursor has left them (MOUSE_OUTSIDE, once) or is inside
// them (MOUSE_INSIDE, at every move).
void MXPprocessmouseinside(int x, int y);
// Calls every active function with (x, y, 0).
void MXPdoactivefuncts(int x, int y);
// The item of the open popup menu under (x, y) (edges count as inside), or -1.
int MXPget_popup_item(int x, int y);
// Acts on a release while a popup menu is open; 1 when an item took it.
int MXPhandle_popups(int y, int item);

// Makes the named function of the interface file the key routine (fatal when the
// file has no function of that name); MXclearcharfunc removes it.
void MXcharfunc(const char* name);
void MXclearcharfunc();

// F1 arrives as key code 0 and goes to this routine instead of the key routine
// (function keys have no code of their own); null: F1 does nothing.
constexpr int MX_HELP_KEY = 0;
extern int (*HelpKeyFunc)();

// Tests only: back to the state of a fresh start (no press under way, no expose seen,
// nothing in the inside table, Fast off).
void MXPreset_event_loop();
