// What the parts of the platform layer share among themselves and nobody else
// uses: the screen array with its palette, the current event record, the backend
// record through which a window system (or none) presents the screen and delivers
// input, and the fonts' start and end.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// The screen: one palette index per pixel, row by row. Every primitive writes here;
// a backend shows it.
extern uint8_t MXPscreen[MXP_SCREEN_HEIGHT][MXP_SCREEN_WIDTH];

// Set by every change of the screen or the palette; a backend clears it when it
// has shown the screen.
extern bool MXPscreen_dirty;

// The 8-bit display colour of a palette index (components x 4). Entries that no
// palette has set are black.
struct MXPRgb {
  uint8_t r, g, b;
};
MXPRgb MXPdisplay_color(int index);

// The event record the backends fill: only mouse input changes its position, so
// key and idle events carry the last position reported.
extern MXEvent gCurEvent;

// Whether the event loop wants the 10 ms idle ticks (MXPset_heartbeat).
extern bool MXPheartbeat;

// Whether SIGTERM or SIGHUP came and waits for the next event to be handled: a
// backend that sleeps until input must wake for it.
bool MXPtermination_pending();

// Where the 640 x 480 screen stands in a window's drawable area of w x h pixels:
// centred, at the largest whole factor that fits (at least 1), or with fill at the
// largest factor that fits, whole or not, keeping the shape. Every window pixel
// shows the screen pixel it maps back to, so edges stay sharp and the mouse lands
// on what it points at.
struct MXPView {
  int x, y, w, h;
};
MXPView MXPview_in(int w, int h, bool fill);
// The screen pixel shown at window pixel (wx, wy); positions off the picture (the
// mouse held outside the window, or over the border) are kept on the screen's edge.
void MXPview_to_screen(const MXPView& view, int wx, int wy, int* x, int* y);

// A way to present the screen and to get input. Plain functions, chosen once at
// start-up.
struct MXPBackend {
  const char* name;
  // Opens the display; returns nullptr, or why it cannot be opened.
  const char* (*open)(const char* title);
  void (*close)();
  void (*next_event)();  // waits and fills gCurEvent
  void (*bell)();
  void (*click)();
  // Files on the user's computer (MXPoffer_file, MXPreceive_file); null where the
  // working folder is on it.
  int (*offer_file)(const char* path);
  int (*receive_file)(char* name, int size);
};
extern const MXPBackend MXPwindow_backend;
extern const MXPBackend MXPheadless_backend;

// Puts the drawing state (colour, pen, mode, clip, palette, backing store) back to
// how a freshly opened display has it, and blanks the screen.
void MXPreset_screen_state();
// Frees the backing-store images.
void MXPrelease_screen();

// Makes the fonts ready to draw (they are compiled in) and puts them away.
void MXPopen_fonts();
void MXPclose_fonts();

// Calls the installed quit routine (or closes the display and exits 0).
[[noreturn]] void MXPquit_program();

// A glyph pixel: the current colour, plain copy, clipped.
void MXPtext_pixel(int x, int y);
