// Fuzz target: any bytes as a run-length picture file. A picture that loads must
// answer every pixel lookup and decode at several magnifications without reading
// outside its buffer; one that does not load must leave nothing to read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pictures/run_length_picture.h"

namespace {
void discard(int, int, const unsigned char*, int, void*) {}
int shade(unsigned value, int column, int row, int repeat) {
  return static_cast<int>(value) + column + row + repeat;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
