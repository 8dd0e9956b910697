// Fuzz target: any bytes as a run-length picture file. A picture that loads must
// answer every pixel lookup and decode at several magnifications without reading
// outside its buffer; one that does not load must leave nothing to read. The same
// bytes, loaded or not, are also drawn straight from the file, as the intro screen
// and the large maps are: a damaged file may only end in the program's fatal message
// (caught here), never read outside the file or the row buffer.
//
// Every fatal entry opens error.log anew and truncates it, which on a disk file
// costs more than the drawing: where the working directory holds no error.log, the
// log goes to /dev/null for the run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/log.h"
#include "pictures/run_length_picture.h"

namespace {
struct Fatal {};
[[noreturn]] void throw_fatal(int, const char*) { throw Fatal{}; }
int low_bits(unsigned value) { return static_cast<int>(value & 15); }
void discard(int, int, const unsigned char*, int, void*) {}
int shade(unsigned value, int column, int row, int repeat) {
  return static_cast<int>(value) + column + row + repeat;
}

void draw_from_file(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return;
  // The whole picture, a part from its middle, and a start near the last row and column.
  const int starts[][4] = {{640, 480, 0, 0}, {100, 20, 3, 2}, {640, 2, 639, 1}};
  for (const auto& s : starts) {
    try {
      MXdecodefilepictrows(file, 0, 0, s[0], s[1], s[2], s[3], s[2] ? low_bits : nullptr, discard, nullptr);
    } catch (const Fatal&) {
    }
  }
  std::fclose(file);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MXsetfatalhandler(throw_fatal);
  if (symlink("/dev/null", "error.log") == 0) std::atexit([] { unlink("error.log"); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0) draw_from_file(data, size);  // fmemopen refuses an empty buffer
  std::vector<uint16_t> buffer(size / 2 + 1);
  MXPicture picture{};
  const int loaded = MXinitpicmem(data, size, &picture, buffer.data());
  uint16_t values[8];
  const int rows = loaded ? picture.rows : 4;
  const int cols = loaded ? picture.cols : 4;
  for (int y = -1; y <= rows && y < 64; ++y)
    for (int x = -1; x <= cols; x += 1 + cols / 16) MXgetpixel(&picture, x, y, values, 8);
  for (int scale = 1; scale <= 3; ++scale) {
    MXdecodepictrows(&picture, 0, 0, 640, 64, 0, 0, scale, shade, discard, nullptr);
    MXdecodepictrows(&picture, 0, 0, 100, 10, cols / 2, rows / 2, scale, nullptr, discard, nullptr);
  }
  return 0;
}
