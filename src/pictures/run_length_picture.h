// Run-length pictures (.rl4, .rl8): loading a picture into the caller's buffer,
// checking it, looking up single pixels, decoding rows for drawing, reading a
// picture's size from its file, and the byte-order helpers of the format. Nothing
// here draws or needs the interface library: the drawing operations
// (picture_drawing.h) feed the rows decoded here to the current window, and the
// data generators and tests use this part on its own.
//
// File layout (little-endian): 4-byte tag, 2-byte rows, 2-byte cols, a row table of
// rows + 1 16-bit entries (entry 0 = byte offset of the first row's runs, that is
// 8 + 2 x (rows + 1); entry i = bytes of runs of row i - 1), then the runs of each
// row, one after the other. Each row's runs cover exactly cols pixels.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// The four encodings: "RUN" followed by 0x80 + bits per value.
constexpr uint32_t MX_RUN4_TAG = 0x844E5552;   // 1-byte runs: count (high 4 bits), value
constexpr uint32_t MX_RUN8_TAG = 0x884E5552;   // 2-byte runs: count byte, value byte
constexpr uint32_t MX_RUN12_TAG = 0x8C4E5552;  // 2-byte runs: 16-bit, count high 4 bits
constexpr uint32_t MX_RUN16_TAG = 0x904E5552;  // 3-byte runs: count byte, 16-bit value

constexpr int MX_PICTURE_HEADER_SIZE = 8;     // tag, rows, cols
constexpr uint16_t MX_NO_PIXEL = 0xFFFF;      // MXgetpixel's answer outside the picture
constexpr int MX_PICTURE_MAX_ROW_BYTES = 32767;  // the file operations add entries as signed 16 bits
constexpr int MX_DRAW_ROW_MAX = 640;          // widest row the drawing operations produce

// A picture held in memory. rowvec and codes point into the caller's buffer, which
// must live as long as the picture is used.
struct MXPicture {
  uint32_t tag;
  int runsize;      // bytes per run: 1, 2, 2, 3
  uint16_t rows;
  uint16_t cols;
  uint16_t* rowvec;       // row table in host order; entry 0 set to 0
  unsigned char* codes;   // run data, right after the row table
};

// The runsize of a tag (1, 2, 2, 3), or 0 when the tag is none of the four.
int MXpicturerunsize(uint32_t tag);

// Loads a picture file opened with "rb" into picture, using buffer (at least file
// size - 8 bytes, aligned for 16-bit numbers) for the row table and the runs.
// Returns 1 on success and 0 on any failure: a short read, an unknown tag, or a
// damaged picture (a row table that points outside the data or does not start at
// the standard offset, a row that is not whole runs, or runs that do not cover
// exactly cols pixels). Writes no message. The picture is left zeroed on failure.
int MXinitpic(FILE* file, MXPicture* picture, void* buffer);

// The same check and set-up on bytes already in memory: data is the whole file
// (size bytes) and buffer receives size - 8 bytes. For callers that hold the file
// contents themselves (tests, fuzzing, the generators' self-check).
int MXinitpicmem(const unsigned char* data, size_t size, MXPicture* picture, void* buffer);

// Puts into values the n picture values of row y from column x rightwards;
// MX_NO_PIXEL where there is no picture. Decodes only the runs of row y up to
// column x + n.
void MXgetpixel(const MXPicture* picture, int x, int y, uint16_t* values, int n);

// Reads rows and cols from an open picture file (rewound first). A short read ends
// the program ("Unable to read tag\n", "Unable to read rows\n", "Unable to read cols\n").
void MXgetfilepictspecs(FILE* file, int* rows, int* cols);

// Colour function of the in-memory drawing: picture value, output column within the
// drawn row, output row divided by the scale, copy index 0 .. scale - 1. Only the
// low 8 bits of the result are used.
using MXPictColorFunc = int (*)(unsigned value, int column, int row, int repeat);
// Colour function of the drawing from a file: the picture value alone.
using MXFilePictColorFunc = int (*)(unsigned value);
// Receives one produced row: position relative to the drawing origin's window
// (x, y), n palette indices.
using MXPictRowSink = void (*)(int x, int y, const unsigned char* pixels, int n, void* data);

// The work of MXwdrawpict without the window: produces the rows of the area that
// starts at (srcx, srcy) of the picture, each picture pixel as a scale x scale
// block, for a width x height rectangle at (x, y), and hands each row to sink.
// Nothing is produced when the start lies beyond the picture, scale is below 1 or
// width or height is not positive; width is limited to 640 and height to the rows
// left below srcy. Past the end of a picture row, a row keeps what the previous
// row left in the row buffer (255 at first).
void MXdecodepictrows(const MXPicture* picture, int x, int y, int width, int height, int srcx,
                      int srcy, int scale, MXPictColorFunc color, MXPictRowSink sink, void* data);

// The work of MXwdrawfilepict without the window (scale 1, whole rows decoded from
// the file). The failures of the file end the program through MXelog(-1, ...).
void MXdecodefilepictrows(FILE* file, int x, int y, int width, int height, int srcx, int srcy,
                          MXFilePictColorFunc color, MXPictRowSink sink, void* data);

// Byte order. Every number of the format is stored least significant byte first;
// Etester holds 256, so its first byte in memory is 0 on such a host.
extern const uint16_t Etester;
// Read count 16- or 32-bit numbers and put them in host order; return the number of
// whole numbers read.
size_t fread_short(uint16_t* values, size_t count, FILE* file);
size_t fread_long(uint32_t* values, size_t count, FILE* file);
// A 16-bit number from two bytes in memory, low byte first.
uint16_t twiddled_short(const unsigned char* bytes);
// Swaps a 32-bit number read as little-endian bytes into host order, in place (no
// change on a least-significant-first host).
void twiddle_long(uint32_t* value);
