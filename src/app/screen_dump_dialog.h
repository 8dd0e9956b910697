// The screen-dump dialog: the modal window "dump" shows the chosen picture format
// in a sunken field and offers a format menu, Save and Cancel; Save writes the
// screen into a new numbered file and reports the outcome in the window "alert".
#pragma once

// Base name given to the dump (with the pictures folder, a path); after a dump it
// holds the name of the file written.
extern char DumpFileName[4096 + 16];
// 1 when the last dump was written, 0 when it failed.
extern int DumpSuccess;

// Commands.
int confirmdump();  // opens the dialog
int gfformat();     // the format menu is opened: help message 18
int set_format();   // an item of the format menu: position 0 BMP, 1 colour PS, 2 grey PS, 3 GIF
int dumpscreen();   // Save
int canceldump();   // Cancel

// Draws a field of a window as a sunken box: filled with `fill`, a two-pixel edge
// in `tl` above and left, in `br` below and right.
void highlightfield(const char* window, const char* field, int fill, int tl, int br);

// Draws the dialog with its format, or the result alert with its text, again
// (the whole-screen redraw calls it while one of them is up).
void redraw_dump_windows();
