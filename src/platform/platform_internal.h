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
};
extern const MXPBackend MXPsdl_backend;
extern const MXPBackend MXPheadless_backend;

// Puts the drawing state (colour, pen, mode, clip, palette, backing store) back to
// how a freshly opened display has it, and blanks the screen.
void MXPreset_screen_state();
// Frees the backing-store images.
void MXPrelease_screen();

// Loads both fonts (fatal when no usable face is found) and frees them.
void MXPopen_fonts();
void MXPclose_fonts();

// Calls the installed quit routine (or closes the display and exits 0).
[[noreturn]] void MXPquit_program();

// A glyph pixel: the current colour, plain copy, clipped.
void MXPtext_pixel(int x, int y);
