// A small writer of GIF87a pictures: one image, a global colour table and
// LZW-compressed pixel data. Pixels are pulled one at a time from a callback, so
// the picture is never held in memory. The writer keeps its state in file-level
// variables: one picture at a time.
//
// Calling order: GIF_Create, GIF_SetColor for each colour, GIF_CompressImage,
// GIF_Close. Every operation returns one of the result codes below; the writer
// logs nothing itself.
#pragma once

enum : int {
  GIFW_OK = 0,         // success
  GIFW_ERRCREATE = 1,  // the file was not created
  GIFW_ERRWRITE = 2,   // a write failed
  GIFW_OUTMEM = 3,     // out of memory
};

// Bits needed to write n - 1, at least 1; 0 for n = 0 (4 for 16 colours).
int BitsNeeded(unsigned n);

// Creates the file and writes the signature and the screen descriptor. The
// colour count is rounded up to a power of two (at most 256); colorres is the
// number of bits of each colour component given to GIF_SetColor (1 to 8).
// The file is created new: an existing file of that name is never overwritten
// (the result is then GIFW_ERRCREATE with errno EEXIST), so a caller looking for a
// free name can move on to the next one.
int GIF_Create(const char* filename, int width, int height, int numcolors, int colorres);

// Sets one entry of the global colour table from components 0 to 2^colorres - 1,
// rescaled to 0 to 255 with truncation. Numbers outside the table are ignored.
void GIF_SetColor(int colornum, int red, int green, int blue);

// The pixel callback: the colour index of pixel (x, y).
using GIFGetPixelFunc = int (*)(int x, int y);

// Writes the colour table, the image descriptor and the compressed image. A
// negative width or height means the whole screen in that direction; pixels are
// requested row by row, left to right, each exactly once. After a failure the
// file is still open: end with GIF_Close or GIF_Abandon.
int GIF_CompressImage(int left, int top, int width, int height, GIFGetPixelFunc getpixel);

// Writes the trailer and closes the file (closed even when the trailer fails).
int GIF_Close();

// Closes the file without writing anything more, after a failed compression;
// the partial file stays.
void GIF_Abandon();
