// The platform layer: one 640 x 480 screen of palette indices, the drawing
// primitives, two fonts, the palette, five backing-store slots, input events and
// the stopwatch. Names with the prefix MXP are private to the interface library;
// names with MX alone are also called by the application. Coordinates are screen
// pixels, origin top-left, y downwards. A backend presents the screen: a real
// window (SDL2) or none (headless, for tests; see platform_headless.h).
#pragma once
#include <cstdint>

#include "base/clock.h"
#include "base/text.h"

constexpr int MXP_SCREEN_WIDTH = 640;
constexpr int MXP_SCREEN_HEIGHT = 480;

// The five event codes.
enum : int8_t { MX_EXPOSE = 0, MX_PRESS = 1, MX_RELEASE = 2, MX_KEY = 3, MX_IDLE = 4 };

struct MXEvent {
  int8_t type;    // one of the five codes above
  int8_t key;     // key code of an MX_KEY event
  int16_t mousex; // last reported mouse position, screen coordinates
  int16_t mousey;
  // When it happened, in milliseconds of the process clock (MXPclock_ms). The
  // program may sleep for minutes between events, so whatever times input (a
  // double-click, say) compares these, never a count of idle events.
  long time = 0;
};

enum FontSizeType { SMALL = 10, LARGE = 15 };
enum graphicsmodetype { G640x480x16 = 16, G640x480x256 = 256 };

// Start and end ------------------------------------------------------------
// Opens the display (window or headless, by the environment; see
// platform_headless.h), fonts, row buffer and the 10 ms heartbeat, and posts one
// expose event. The start parameters of the original platform are accepted and
// ignored.
void MXPinit_system(const char* title, void* instance = nullptr, void* previous = nullptr,
                    const char* cmdline = nullptr, int show = 0);
void closegraph();
void MXPinit_events();
void MXPclose_events();
int mouse_present();
void set_mouse_position(int x, int y);
void MXPflush();
// What a close request of the window does; the interface library installs its
// quit routine. Without a handler the display is closed and the program exits 0.
void MXPset_quit_handler(void (*quit)(int code));
// The window's close request (the window manager's close button): calls the
// installed handler, which asks the user; without one the program quits as above.
void MXPset_close_handler(void (*close)());
void MXPclose_request();
// SIGTERM and SIGHUP (logout, shutdown): with a handler installed, the next event
// after the signal calls it, outside the signal; the handler is to end the
// program. Null restores the default action of both signals.
void MXPset_terminate_handler(void (*terminate)());

// Colour, pen and mode -----------------------------------------------------
void MXPinit_palette(const unsigned char* rgb, int n);  // n triples of 6-bit components
void MXsetcolor(int index);
int MXgetcolor();
void MXsetlinesize(int n);  // only 1 and 3 are accepted
int MXPgetlinesize();
void MXPxormode(int flag);
void MXPinvertmode(int flag);

// Text ----------------------------------------------------------------------
void MXsetfont(FontSizeType size);
FontSizeType MXPgetfont();
int MXtextheight();                  // ascent of the current font
int MXtextwidth(const char* text);
void MXPdraw_string(int x, int y, const char* text);  // y is the baseline

// Drawing, in the current colour, pen and mode -------------------------------
void MXPline(int x1, int y1, int x2, int y2);
void MXPdraw_pixel(int x, int y);
void MXPfill_rect(int x, int y, int w, int h);
void MXPframe_rect(int x, int y, int w, int h);
void MXPfill_ellipse(int x, int y, int w, int h);
void MXPframe_ellipse(int x, int y, int w, int h);
void MXPfillpoly(int n, const int* points);  // n (x, y) pairs
void MXPset_clip_rect(int x, int y, int w, int h);
void MXPfastrow(int x, int y, const unsigned char* pixels, int n);

// Reading the screen ----------------------------------------------------------
int MXPget_pixel(int x, int y);
unsigned char* MXPget_row(int y, unsigned char* buffer);  // 640 indices

// Backing store, slots 1 to 5 ---------------------------------------------------
int MXPinit_bstore(int slot, int w, int h);
int MXPto_bstore(int slot, int x, int y, int w, int h);
int MXPfrom_bstore(int slot, int x, int y);

// Events and time ------------------------------------------------------------------
int MXPnext_event(MXEvent* event);
// Whether the 10 ms idle ticks are wanted (on at start). Off, a window's
// MXPnext_event sleeps until real input arrives, so a program at rest costs no
// processor time; turned on, the next tick comes at once. The event loop wants
// them only while something advances with time. The headless display, whose
// clock is virtual, always ticks.
void MXPset_heartbeat(int on);
void MXPstart_timer();
long MXPread_timer();

// Small services -------------------------------------------------------------------
void MXbell();
void MXclick();
int MXhasFPU();
long MXmemavail();

// Files on the user's own computer, where the display reaches it (the browser page;
// elsewhere the working folder already is on it): whether it does; a file of the
// working folder handed to the user (a download), 1 when offered; a file the user
// picks, copied into the working folder, its name in name (at most size bytes with
// the end), 1 when one came.
int MXPoutside_files();
int MXPoffer_file(const char* path);
int MXPreceive_file(char* name, int size);
