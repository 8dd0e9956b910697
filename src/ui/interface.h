// The public operations of the interface library: start-up and exit, showing and
// removing windows, button and menu-item states, geometry of named objects, drawing
// and text in the coordinates of the current window, colours, the last control, the
// saved interface state and file helpers. Every object is addressed by the name the
// interface-definition file gives it, ignoring case; a name that is not found ends
// the program unless stated otherwise.
//
// Operations named MXw... take coordinates relative to the current window's outer
// top-left corner; drawing is clipped to that window's inside. Getters fill only the
// out-pointers that are not null; setters change only the fields whose pointer is
// not null.
#pragma once
#include <cstddef>
#include <cstdio>

#include "ui/interface_model.h"

// Start-up and exit ------------------------------------------------------------------

// Starts the library: state, error.log (with logmode), the platform window, both
// passes over the interface file, the palette, the backing store. bstore = 1 keeps
// backing store for windows (BSTORE); colors = 16 or 256. The application must have
// called MXsetfunctiontable first.
void MXinterfaceinit(const char* title, const char* filename, int bstore, const char* logmode,
                     int colors, void* instance = nullptr, void* previous = nullptr,
                     const char* cmdline = nullptr, int show = 0);
// The event loop (event_loop.cpp): MXmouseinit, then the loop; never returns.
void MXinterface();
void MXmouseinit();
// Stops event handling; a null format closes the display and exits 0, otherwise the
// formatted message ends the program as a fatal error-log entry.
[[noreturn]] void MXquit(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Windows --------------------------------------------------------------------------

void MXdrawnamedwindow(const char* name, int bstore, int modal);
void MXremovenamedwindow(const char* name);
void MXremovetopwindow();
void MXredrawnamedwindow(const char* name);
void MXredrawactivewindows();
void MXsetactivenamedwindow(const char* name);
void MXsetdeactivenamedwindow(const char* name);
void MXsetcurrentnamedwindow(const char* name);
// Copies the current window's name into the buffer of `size` characters, cut to fit
// and always ended; an array's size is taken from it. Window names are at most
// MX_WINDOW_NAME_CHARS characters (longer ones are refused when the file is read).
char* MXgetcurrentwindowname(char* buffer, size_t size);
template <size_t N>
char* MXgetcurrentwindowname(char (&buffer)[N]) {
  return MXgetcurrentwindowname(buffer, N);
}

// Geometry -------------------------------------------------------------------------

void MXgetwindowspecs(const char* name, int* x, int* y, int* wd, int* ht, int* active);
void MXsetwindowspecs(const char* name, const int* x, const int* y, const int* wd,
                      const int* ht);
void MXsetmenuorigin(const char* menu, const int* x, const int* y);
void MXgetbuttonspecs(const char* window, const char* button, int* x, int* y, int* wd, int* ht,
                      int* active);
void MXsetbuttonspecs(const char* window, const char* button, const int* x, const int* y,
                      const int* wd, const int* ht, const int* bgcolor);
void MXsetdragareaspecs(const char* window, const char* area, const int* x, const int* y,
                        const int* wd, const int* ht, const int* bgcolor);
void MXgetdragareaspecs(const char* window, const char* area, int* x, int* y, int* wd, int* ht,
                        int* active, int* bgcolor);
void MXgetfieldrect(const char* field, int* x, int* y, int* wd, int* ht, int* color);
void MXsetfieldrect(const char* field, const int* x, const int* y, const int* wd, const int* ht,
                    const int* color);
void MXsetbuttontext(const char* window, const char* button, const char* text);

// Button and menu-item states (the button operations leave the window current) ---------

void MXenablebutton(const char* window, const char* button, int draw);
void MXdisablebutton(const char* window, const char* button, int draw);
void MXvisiblebutton(const char* window, const char* button, int draw);
void MXinvisiblebutton(const char* window, const char* button, int draw);
void MXenablemenuitem(const char* menu, const char* item);
void MXdisablemenuitem(const char* menu, const char* item);
void MXvisiblemenuitem(const char* menu, const char* item);
void MXinvisiblemenuitem(const char* menu, const char* item);
void MXtogglecheck(const char* menu, const char* item);
int MXgetmenuitemnum(const char* menu, const char* item);
const char* MXgetmenuitemname(const char* menu, int index);  // null when out of range
void MXcreatenamedpopup(const char* menu);

// Window-relative drawing, in the current colour and line size ---------------------------

void MXwdrawline(int x1, int y1, int x2, int y2);
void MXwdrawpoint(int x, int y);
int MXwgetpoint(int x, int y);
void MXwfastrow(int x, int y, const unsigned char* pixels, int n);
void MXwfillpoly(int n, int* points);  // translates the caller's points in place
void MXwdrawrect(int x, int y, int wd, int ht);
void MXwdrawellipse(int x, int y, int wd, int ht);
void MXwfillrect(int x, int y, int wd, int ht);
void MXwfillellipse(int x, int y, int wd, int ht);
void MXwclearrect(int x, int y, int wd, int ht);
void MXwsetmouseposition(int x, int y);
void MXgetcursorxy(int* x, int* y);
void MXdrawxorbox(int x, int y, int wd, int ht);
void MXdrawxorline(int x1, int y1, int x2, int y2);
void MXdrawinvertbox(int x, int y, int wd, int ht);
void MXdrawinvertline(int x1, int y1, int x2, int y2);

// Text, in the current colour and font, at (x + 1, y) of the current window (y is the
// baseline) ------------------------------------------------------------------------------

void MXwwritemsg(int x, int y, const char* text);
void MXwwritenamedmsg(int x, int y, const char* name);
void MXwwriteint(int width, int x, int y, long value);
void MXwwritereal(int width, int precision, int x, int y, double value);
void MXwwritecommanum(int x, int y, double value);
void MXwwriteclippedmsg(int clip_x, int clip_y, int clip_wd, int clip_ht, int x, int y,
                        const char* text);
const char* MXgetmsg(const char* name);  // "" when there is no such message
// The text MXwwritecommanum writes (buffer of at least 64 bytes); returns buffer.
char* MXformatcommanum(double value, char* buffer);

// Framing ----------------------------------------------------------------------------

void MXframefield(const char* window, const char* field, int c1, int c2);
void MXframedragarea(const char* window, const char* area, int c1, int c2);

// Timed functions ---------------------------------------------------------------------

void MXactivatefunction(const char* name);
void MXdeactivatefunction(const char* name);

// Colours -------------------------------------------------------------------------------

// Palette index of a colour name; an alias gives its colour's index (15 when that colour
// is not in the palette); -1 when neither. Never fatal.
int MXconvertcolor(const char* name);

// The last control -----------------------------------------------------------------------

void MXgetlastcontrol(ControlType* control);
void MXclearlastcontrol();

// Saved interface state ---------------------------------------------------------------------
// The block: per window its active, then each button's active; per popup menu its
// active, then per item its active and checked; each a 32-bit little-endian int.

void MXsavewindows(FILE* file);
void MXloadwindows(FILE* file);  // value by value; a short read is logged and reading goes on
// The block's size in bytes for the interface file that was read.
size_t MXwindowstatesize();
// 1 when `block` is exactly the size of this interface's block and every value is
// plausible (window levels not negative, button and item states -2..1, menu active 0
// or 1); 0 otherwise. Lets a loader refuse a whole file before changing anything.
int MXcheckwindowstate(const unsigned char* block, size_t n);
// Applies a block that MXcheckwindowstate accepted. Draws nothing.
void MXapplywindowstate(const unsigned char* block);
// Fills `block` (MXwindowstatesize() bytes) with the state as it is. With
// main_screen set, as the screen under any dialog has it: a window shown modally
// is recorded hidden, every other shown window at level 1, a button that a dialog
// disabled for the while as enabled, and no menu open.
void MXgetwindowstate(unsigned char* block, int main_screen);

// Files ------------------------------------------------------------------------------------

FILE* MXopen(const char* name, const char* mode);  // null on failure
long MXfilesize(FILE* file);                       // fatal when the file cannot be measured
