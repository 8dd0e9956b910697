// Writing pictures and reading them back: every depth, pixel lookups against the
// grid that was written, and the row decoding behind the drawing operations
// (magnification, clipping at the picture's edges, drawing from a file).
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "picture_test_support.h"
#include "pictures/run_length_encoder.h"

namespace {

// A grid with long runs, short runs and run lengths beyond the longest run.
std::vector<uint16_t> sample_grid(int rows, int cols, unsigned largest, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint16_t> grid(static_cast<size_t>(rows) * cols);
  for (int r = 0; r < rows; ++r) {
    int c = 0;
    while (c < cols) {
      const int length = static_cast<int>(random() % 5 == 0 ? 1 + random() % 600 : 1 + random() % 4);
      const auto value = static_cast<uint16_t>(random() % (largest + 1));
      for (int i = 0; i < length && c < cols; ++i, ++c) grid[static_cast<size_t>(r) * cols + c] = value;
    }
  }
  return grid;
}

struct Row {
  int x, y;
  std::vector<unsigned char> pixels;
};

void collect(int x, int y, const unsigned char* pixels, int n, void* data) {
  static_cast<std::vector<Row>*>(data)->push_back(Row{x, y, std::vector<unsigned char>(pixels, pixels + n)});
}

TEST(RoundTrip, EveryDepthReadsBackWhatWasWritten) {
  for (int bits : {4, 8, 12, 16}) {
    const int rows = 7;
    const int cols = 700;
    const std::vector<uint16_t> grid = sample_grid(rows, cols, (1u << bits) - 1, 17u + bits);
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(MXencodepicture(bits, rows, cols, grid, &bytes)) << bits;
    // The standard row table: entry 0 is 8 + 2 x (rows + 1).
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 8 + 2 * (rows + 1));
    LoadedPicture p = load(bytes);
    ASSERT_EQ(p.result, 1) << bits;
    EXPECT_EQ(p.picture.tag, MXpicturetag(bits));
    for (int r = 0; r < rows; ++r) {
      const std::vector<uint16_t> row = pixels(p.picture, 0, r, cols);
      EXPECT_TRUE(std::equal(row.begin(), row.end(), grid.begin() + r * cols)) << bits << " row " << r;
    }
    // A lookup in the middle of a row, running off its end.
    const std::vector<uint16_t> tail = pixels(p.picture, cols - 3, 2, 5);
    EXPECT_EQ(tail[2], grid[2 * cols + cols - 1]);
    EXPECT_EQ(tail[3], MX_NO_PIXEL);
  }
}

TEST(RoundTrip, ValuesThatDoNotFitAreRefused) {
  std::vector<unsigned char> bytes;
  EXPECT_FALSE(MXencodepicture(4, 1, 2, {3, 16}, &bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(MXencodepicture(8, 1, 2, {3, 256}, &bytes));
  EXPECT_FALSE(MXencodepicture(7, 1, 2, {3, 4}, &bytes));
  EXPECT_FALSE(MXencodepicture(8, 2, 2, {3, 4}, &bytes));  // grid of the wrong size
  // A row of alternating values needs 2 bytes a pixel at 8 bits: 16384 pixels are
  // one byte too many for a row-table entry.
  std::vector<uint16_t> stripes(16384);
  for (size_t i = 0; i < stripes.size(); ++i) stripes[i] = static_cast<uint16_t>(i % 2);
  EXPECT_FALSE(MXencodepicture(8, 1, 16384, stripes, &bytes));
  EXPECT_TRUE(MXencodepicture(4, 1, 16384, stripes, &bytes));
}

TEST(Decoding, MagnifiedRowsRepeatPixelsAndRows) {
  // 3 rows x 4 columns: value = 10 x row + column.
  std::vector<uint16_t> grid;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) grid.push_back(static_cast<uint16_t>(10 * r + c));
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(MXencodepicture(8, 3, 4, grid, &bytes));
  LoadedPicture p = load(bytes);
  ASSERT_EQ(p.result, 1);

  // Scale 2, height 10 from row 0: only 3 source rows exist, so 6 rows come out.
  std::vector<Row> out;
  MXdecodepictrows(&p.picture, 5, 7, 6, 10, 1, 0, 2, nullptr, collect, &out);
  ASSERT_EQ(out.size(), 6u);
  EXPECT_EQ(out[0].x, 5);
  EXPECT_EQ(out[0].y, 7);
  EXPECT_EQ(out[5].y, 12);
  EXPECT_EQ(out[0].pixels, (std::vector<unsigned char>{1, 1, 2, 2, 3, 3}));
  EXPECT_EQ(out[1].pixels, out[0].pixels);
  EXPECT_EQ(out[4].pixels, (std::vector<unsigned char>{21, 21, 22, 22, 23, 23}));

  // From srcy 2 at scale 3: 3 rows even though 9 were asked for.
  out.clear();
  MXdecodepictrows(&p.picture, 0, 0, 3, 9, 0, 2, 3, nullptr, collect, &out);
  EXPECT_EQ(out.size(), 3u);

  // Wider than the rest of the picture: past the row's end the row buffer keeps its
  // earlier content (255 at first).
  out.clear();
  MXdecodepictrows(&p.picture, 0, 0, 5, 1, 2, 0, 1, nullptr, collect, &out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].pixels, (std::vector<unsigned char>{2, 3, 255, 255, 255}));

  // Starts beyond the picture draw nothing.
  out.clear();
  MXdecodepictrows(&p.picture, 0, 0, 5, 5, 4, 0, 1, nullptr, collect, &out);
  MXdecodepictrows(&p.picture, 0, 0, 5, 5, 0, 3, 1, nullptr, collect, &out);
  MXdecodepictrows(&p.picture, 0, 0, 5, 5, 0, 0, 0, nullptr, collect, &out);
  EXPECT_TRUE(out.empty());
}

struct CallLog {
  static std::vector<std::vector<int>> calls;
  static int color(unsigned value, int column, int row, int repeat) {
    calls.push_back({static_cast<int>(value), column, row, repeat});
    return static_cast<int>(value) + 0x100;  // only the low 8 bits count
  }
};
std::vector<std::vector<int>> CallLog::calls;

TEST(Decoding, ColourFunctionGetsValueColumnRowAndCopy) {
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(MXencodepicture(8, 2, 2, {1, 2, 3, 4}, &bytes));
  LoadedPicture p = load(bytes);
  ASSERT_EQ(p.result, 1);
  std::vector<Row> out;
  CallLog::calls.clear();
  MXdecodepictrows(&p.picture, 0, 0, 3, 3, 1, 0, 2, CallLog::color, collect, &out);
  // Row 0 shows value 2 twice; output row 2 is source row 1 (value 4).
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].pixels, (std::vector<unsigned char>{2, 2, 255}));
  EXPECT_EQ(out[2].pixels, (std::vector<unsigned char>{4, 4, 255}));
  ASSERT_GE(CallLog::calls.size(), 2u);
  EXPECT_EQ(CallLog::calls[0], (std::vector<int>{2, 0, 0, 0}));
  EXPECT_EQ(CallLog::calls[1], (std::vector<int>{2, 1, 0, 1}));
  EXPECT_EQ(CallLog::calls.back(), (std::vector<int>{4, 1, 1, 1}));
}

TEST(Decoding, DrawingFromAFileMatchesTheLoadedPicture) {
  const int rows = 9;
  const int cols = 300;
  const std::vector<uint16_t> grid = sample_grid(rows, cols, 255, 5);
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(MXencodepicture(8, rows, cols, grid, &bytes));
  LoadedPicture p = load(bytes);
  ASSERT_EQ(p.result, 1);
  const TempFile file = temp_file(bytes);
  ASSERT_NE(file, nullptr);
  std::vector<Row> from_memory;
  std::vector<Row> from_file;
  MXdecodepictrows(&p.picture, 3, 4, 200, 20, 50, 3, 1, nullptr, collect, &from_memory);
  MXdecodefilepictrows(file.get(), 3, 4, 200, 20, 50, 3, nullptr, collect, &from_file);
  ASSERT_EQ(from_memory.size(), 6u);
  ASSERT_EQ(from_file.size(), from_memory.size());
  for (size_t i = 0; i < from_file.size(); ++i) {
    EXPECT_EQ(from_file[i].y, from_memory[i].y);
    EXPECT_EQ(from_file[i].pixels, from_memory[i].pixels) << "row " << i;
  }
}

}  // namespace
