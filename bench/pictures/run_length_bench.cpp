// Speed of the run-length pictures as the map window uses them: a pixel lookup
// under the mouse, and a magnified part of the country map decoded row by row,
// on a map-sized picture with map-like runs (480 x 208, 8-bit).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "pictures/run_length_encoder.h"
#include "pictures/run_length_picture.h"

namespace {

struct MapPicture {
  std::vector<unsigned char> bytes;
  std::vector<uint16_t> buffer;
  MXPicture picture{};
  MapPicture() {
    const int rows = 208, cols = 480;
    std::vector<uint16_t> grid(static_cast<size_t>(rows) * cols);
    std::mt19937 random(7);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols;) {
        const int length = 1 + static_cast<int>(random() % 30);
        const auto value = static_cast<uint16_t>(random() % 3 == 0 ? 255 : random() % 229);
        for (int i = 0; i < length && c < cols; ++i, ++c) grid[static_cast<size_t>(r) * cols + c] = value;
      }
    MXencodepicture(8, rows, cols, grid, &bytes);
    buffer.resize(bytes.size() / 2 + 1);
    MXinitpicmem(bytes.data(), bytes.size(), &picture, buffer.data());
  }
};

const MapPicture& map() {
  static const MapPicture m;
  return m;
}

void discard(int, int, const unsigned char* pixels, int, void*) { benchmark::DoNotOptimize(pixels); }

void BM_PixelUnderTheMouse(benchmark::State& state) {
  const MXPicture& p = map().picture;
  std::mt19937 random(3);
  for (auto _ : state) {
    uint16_t value;
    MXgetpixel(&p, static_cast<int>(random() % p.cols), static_cast<int>(random() % p.rows), &value, 1);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_PixelUnderTheMouse);

// The large map: a 400 x 300 field at magnification 4 from the middle of the map.
void BM_MagnifiedMapDecode(benchmark::State& state) {
  const MXPicture& p = map().picture;
  for (auto _ : state) MXdecodepictrows(&p, 0, 0, 400, 300, 200, 80, 4, nullptr, discard, nullptr);
}
BENCHMARK(BM_MagnifiedMapDecode);

void BM_LoadAndCheckMap(benchmark::State& state) {
  const MapPicture& m = map();
  std::vector<uint16_t> buffer(m.buffer.size());
  for (auto _ : state) {
    MXPicture picture{};
    benchmark::DoNotOptimize(MXinitpicmem(m.bytes.data(), m.bytes.size(), &picture, buffer.data()));
  }
}
BENCHMARK(BM_LoadAndCheckMap);

}  // namespace
