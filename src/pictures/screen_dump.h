// Screen dumps: the whole 640 x 480 screen written into a new numbered file as a
// 16-colour BMP, a greyscale or colour Encapsulated PostScript page, or a
// 16-colour GIF87a picture, row by row, with a progress mark on the screen.
//
// The dump reads the screen through a ScreenDumpSource: where the rows come from,
// the palette, how a progress point is drawn, and what happens before and after
// writing (remember the pen and current window, draw in white on "root"; then
// restore them and have the application repaint). By default it is the program's
// screen (platform layer and interface library); tests may register a picture in
// memory instead.
#pragma once

#include <cstdio>

// Colours in the GIF colour table and bits per primary colour of the palette.
constexpr int kNUMCOLORS = 16;
constexpr int kCOLORRES = 6;

struct ScreenDumpSource {
  // Fills buffer with the 640 colour indices of screen row y (0 is the top).
  unsigned char* (*get_row)(int y, unsigned char* buffer);
  // 256 entries of red, green, blue, each 0 to 63.
  const unsigned char* palette;
  // Draws one progress point at (x, y) in the pen chosen by begin; may be null.
  void (*draw_point)(int x, int y);
  // Called before a writer starts and after it ends (success or not); may be null.
  void (*begin)();
  void (*end)();
};

// Registers the screen the dumps read (copied); nullptr goes back to the
// program's screen.
void MXsetscreendumpsource(const ScreenDumpSource* source);

// Writes the screen into the first free file base name + "00" .. "99" + the
// format's extension (".bmp", ".ps", ".gif"; counted per extension). type is a
// GraphicsFileType of the configuration (startup/filenames.h): BMP_16, PS_GRAY,
// PS_COLOR or GIF_16; NO_FILE or any other value is refused. The name is
// created new, so an existing file is never overwritten, even one that cannot be
// read or one that appears while the name is chosen. On return name holds the
// chosen file name: the buffer needs room for the base name plus six characters.
// Returns 1 when the file was written, 0 when not (the reason is in error.log).
int MXdumpscreen(char* name, int type);

// The writers, into a file already open for binary writing; 1 on success, 0 on
// failure. color: 0 greyscale, 1 colour.
int MXPscreen_to_bmp(FILE* out);
int MXPscreen_to_ps(FILE* out, int color);
// Into the file made by GIF_Create; closes it.
int MXPscreen_to_gif();

// The GIF writer's pixel callback: the colour index of screen pixel (x, y), rows
// requested in order, left to right.
int gpixel(int x, int y);
