// Run-length pictures: loading, checking and pixel lookup of pictures built byte by
// byte (the four run layouts, the row table, the refusal of damaged pictures),
// writing and reading back at every depth, the row decoding behind the drawing
// operations (magnification, clipping at the picture's edges), and drawing straight
// from a picture file, whose damaged files end the program with their message.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <tuple>

#include "base/log.h"
#include "picture_test_support.h"
#include "pictures/run_length_encoder.h"

namespace {

using Values = std::vector<uint16_t>;
using Pixels = std::vector<unsigned char>;

struct Row {
  int x, y;
  Pixels pixels;
};

void collect(int x, int y, const unsigned char* pixels, int n, void* data) {
  static_cast<std::vector<Row>*>(data)->push_back(Row{x, y, Pixels(pixels, pixels + n)});
}

// The rows drawn straight from a file holding bytes, or the message that ended the program.
std::vector<Row> draw_file(const std::vector<unsigned char>& bytes, int width, int height, int srcx, int srcy,
                           MXFilePictColorFunc color = nullptr, std::string* fatal = nullptr) {
  std::vector<Row> out;
  const MemFile file(std::string(bytes.begin(), bytes.end()));
  MXsetfatalhandler(throw_fatal);
  try {
    MXdecodefilepictrows(file.get(), 3, 4, width, height, srcx, srcy, color, collect, &out);
  } catch (const FatalExit& f) {
    if (fatal) *fatal = f.text;
  }
  MXsetfatalhandler(nullptr);
  return out;
}

// Each layout with a run whose count byte is 0, standing for the longest run: a
// 4-bit run byte 0x05 is 16 pixels of 5; an 8-bit run 00 07 is 256 pixels of 7; a
// 12-bit run 0x0123 (bytes 23 01) is 16 pixels of 0x123; a 16-bit run is a count
// byte and the value low byte first. Loaded into memory and drawn from the file
// (only the low 8 bits of a value are drawn).
TEST(RunLayouts, CountZeroStandsForTheLongestRun) {
  const struct {
    uint32_t tag;
    unsigned cols;
    std::vector<unsigned> runs;
    int x, n, runsize;  // runsize -1: not checked
    uint16_t value;
  } cases[] = {{MX_RUN4_TAG, 16, {0x05}, 0, 16, 1, 5}, {MX_RUN8_TAG, 256, {0x00, 0x07}, 250, 6, -1, 7},
               {MX_RUN12_TAG, 16, {0x23, 0x01}, 15, 1, -1, 0x123}, {MX_RUN16_TAG, 3, {3, 0x34, 0x12}, 0, 3, 3, 0x1234}};
  for (const auto& c : cases) {
    const auto bytes = picture_bytes(c.tag, 1, c.cols, {12, static_cast<unsigned>(c.runs.size())}, c.runs);
    LoadedPicture p = load(bytes);
    ASSERT_EQ(p.result, 1) << c.tag;
    EXPECT_TRUE(c.runsize < 0 || p.picture.runsize == c.runsize) << c.tag;
    EXPECT_EQ(pixels(p.picture, c.x, 0, c.n), Values(static_cast<size_t>(c.n), c.value)) << c.tag;
    const std::vector<Row> drawn = draw_file(bytes, c.n, 1, c.x, 0);
    ASSERT_EQ(drawn.size(), 1u) << c.tag;
    EXPECT_EQ(drawn[0].pixels, Pixels(static_cast<size_t>(c.n), c.value & 0xFF)) << c.tag;
  }
}

// Two rows of 20 pixels; table 14, 3, 5: row 0's runs at file offset 14 (3
// bytes), row 1's at 17 (5 bytes). Outside the picture reads no pixel.
TEST(RowTable, RowOffsetsAreSumsOfRowSizesAndOutsideReadsNoPixel) {
  LoadedPicture p = load(picture_bytes(MX_RUN4_TAG, 2, 20, {14, 3, 5},
                                       {0x01, 0x22, 0x23, 0x44, 0x45, 0x46, 0x47, 0x48}));
  ASSERT_EQ(p.result, 1);
  EXPECT_EQ(p.picture.rowvec[0], 0);  // entry 0 replaced by 0
  EXPECT_EQ(pixels(p.picture, 0, 0, 1), Values{1});
  EXPECT_EQ(pixels(p.picture, 16, 0, 4), (Values{2, 2, 3, 3}));
  EXPECT_EQ(pixels(p.picture, 0, 1, 20),
            (Values{4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7, 8, 8, 8, 8}));
  const Values none{MX_NO_PIXEL};
  for (auto [x, y] : {std::pair{20, 0}, {0, 2}, {-1, 0}, {0, -1}}) EXPECT_EQ(pixels(p.picture, x, y, 1), none) << x;
  EXPECT_EQ(pixels(p.picture, 17, 1, 4), (Values{8, 8, 8, MX_NO_PIXEL}));  // from cols - 3 with n = 4
}

// Each case is a picture that would make an unchecked decoder read past its data.
TEST(Refusal, DamagedPicturesAreRefusedWithResultZero) {
  const std::pair<const char*, std::vector<unsigned char>> cases[] = {
      {"unknown tag RUN+0x85", picture_bytes(0x854E5552, 1, 16, {12, 1}, {0x05})}, {"empty file", {}},
      {"header only", picture_bytes(MX_RUN4_TAG, 1, 16, {}, {})},
      {"row table cut short", picture_bytes(MX_RUN4_TAG, 2, 16, {14, 1}, {})},
      {"row sizes beyond the data", picture_bytes(MX_RUN4_TAG, 1, 16, {12, 2}, {0x05})},
      {"runs short of cols", picture_bytes(MX_RUN8_TAG, 1, 10, {12, 2}, {9, 1})},
      {"runs past cols", picture_bytes(MX_RUN8_TAG, 1, 10, {12, 4}, {9, 1, 2, 1})},
      {"partial run", picture_bytes(MX_RUN8_TAG, 1, 10, {12, 3}, {10, 1, 0})},
      {"partial 3-byte run", picture_bytes(MX_RUN16_TAG, 1, 4, {12, 4}, {4, 1, 0, 0})},
      {"non-standard entry 0", picture_bytes(MX_RUN4_TAG, 1, 16, {14, 1}, {0, 0, 0x05})},
      {"row entry of 32768", picture_bytes(MX_RUN4_TAG, 1, 16, {12, 0x8000}, {0x05})},
      {"second row missing", picture_bytes(MX_RUN4_TAG, 2, 16, {14, 1, 1}, {0x05})}};
  for (const auto& [what, bytes] : cases) {
    LoadedPicture p = load(bytes);
    EXPECT_EQ(p.result, 0) << what;
    EXPECT_EQ(p.picture.rowvec, nullptr) << what;
    // A refused picture is safe to look into: it has no pixels.
    EXPECT_EQ(pixels(p.picture, 0, 0, 2), (Values{MX_NO_PIXEL, MX_NO_PIXEL})) << what;
  }
  // Bytes after the last row are no damage.
  EXPECT_EQ(load(picture_bytes(MX_RUN4_TAG, 1, 16, {12, 1}, {0x05, 0xFF, 0xFF})).result, 1);
}

// From an open file: the picture and its size; a file cut inside the runs is refused.
TEST(FileLoading, LoadsFromAnOpenFileAndReadsTheSpecs) {
  const std::vector<unsigned char> bytes = picture_bytes(MX_RUN8_TAG, 2, 5, {14, 2, 4}, {5, 9, 2, 1, 3, 2});
  const MemFile file(std::string(bytes.begin(), bytes.end()));
  std::vector<uint16_t> buffer(bytes.size() / 2);
  MXPicture picture{};
  ASSERT_EQ(MXinitpic(file.get(), &picture, buffer.data()), 1);
  EXPECT_EQ(pixels(picture, 4, 0, 1), Values{9});
  int rows = 0, cols = 0;
  MXgetfilepictspecs(file.get(), &rows, &cols);
  EXPECT_EQ(std::make_pair(rows, cols), std::make_pair(2, 5));
  const MemFile cut(std::string(bytes.begin(), bytes.end() - 1));
  EXPECT_EQ(MXinitpic(cut.get(), &picture, buffer.data()), 0);
}

// Grids with long runs, short runs and run lengths beyond the longest run.
TEST(Writing, EveryDepthReadsBackWhatWasWritten) {
  for (int bits : {4, 8, 12, 16}) {
    const int rows = 7, cols = 700;
    std::mt19937 random(17u + bits);
    std::vector<uint16_t> grid, back;
    while (grid.size() < rows * cols)
      grid.insert(grid.end(), random() % 5 == 0 ? 1 + random() % 600 : 1 + random() % 4,
                  static_cast<uint16_t>(random() % (1u << bits)));
    grid.resize(rows * cols);
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(MXencodepicture(bits, rows, cols, grid, &bytes)) << bits;
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 8 + 2 * (rows + 1));  // the standard row table's entry 0
    LoadedPicture p = load(bytes);
    ASSERT_EQ(p.result, 1) << bits;
    EXPECT_EQ(p.picture.tag, MXpicturetag(bits));
    for (int r = 0; r < rows; ++r) {
      const std::vector<uint16_t> row = pixels(p.picture, 0, r, cols);
      back.insert(back.end(), row.begin(), row.end());
    }
    EXPECT_TRUE(back == grid) << bits;
  }
}

TEST(Writing, ValuesThatDoNotFitAreRefused) {
  std::vector<unsigned char> bytes;
  EXPECT_FALSE(MXencodepicture(4, 1, 2, {3, 16}, &bytes) || MXencodepicture(8, 1, 2, {3, 256}, &bytes) ||
               MXencodepicture(7, 1, 2, {3, 4}, &bytes) || MXencodepicture(8, 2, 2, {3, 4}, &bytes));  // last: wrong size
  EXPECT_TRUE(bytes.empty());
  // A row of alternating values needs 2 bytes a pixel at 8 bits: 16384 pixels are
  // one byte too many for a row-table entry.
  std::vector<uint16_t> stripes(16384);
  for (size_t i = 0; i < stripes.size(); ++i) stripes[i] = static_cast<uint16_t>(i % 2);
  EXPECT_FALSE(MXencodepicture(8, 1, 16384, stripes, &bytes));
  EXPECT_TRUE(MXencodepicture(4, 1, 16384, stripes, &bytes));
}

std::vector<std::vector<int>> g_calls;
int log_call(unsigned value, int column, int row, int repeat) {
  g_calls.push_back({static_cast<int>(value), column, row, repeat});
  return static_cast<int>(value) + 0x100;  // only the low 8 bits count
}
int plus_one(unsigned value) { return static_cast<int>(value) + 1; }

// Rows of 3 x 5 pixels at 8 bits, 1 1 2 2 2 / 3 3 3 3 3 / 4 5 5 5 5 (row table 16,
// 4, 2, 4), drawn at (3, 4): from memory at each magnification, and at 1 also
// straight from the file; both stop at the picture's edges.
TEST(Decoding, DrawsTheAskedPartMagnifiedAndStopsAtThePicturesEdges) {
  const auto bytes = picture_bytes(MX_RUN8_TAG, 3, 5, {16, 4, 2, 4}, {2, 1, 3, 2, 5, 3, 1, 4, 4, 5});
  LoadedPicture p = load(bytes);
  ASSERT_EQ(p.result, 1);
  const Pixels threes(7, 3), fours{4, 4, 4}, top{1, 1, 1, 1, 2, 2, 2}, bottom{4, 4, 5, 5, 5, 5, 5};
  struct Case {
    int width, height, srcx, srcy, scale;
    std::vector<Pixels> rows;
  };
  const Case cases[] = {
      {5, 3, 0, 0, 1, {{1, 1, 2, 2, 2}, {3, 3, 3, 3, 3}, {4, 5, 5, 5, 5}}},
      {2, 9, 1, 1, 1, {{3, 3}, {5, 5}}},     // two rows left below row 1
      {4, 1, 3, 2, 1, {{5, 5, 255, 255}}},  // past the row's end: the row buffer's 255
      {3, 2, 5, 0, 1, {}}, {3, 2, 0, 3, 1, {}}, {3, 2, -1, 0, 1, {}}, {3, 2, 0, 0, 0, {}},  // nothing to draw
      {7, 10, 0, 0, 2, {top, top, threes, threes, bottom, bottom}},  // 3 source rows: 6 rows, not 10
      {3, 9, 0, 2, 3, {fours, fours, fours}},
  };
  for (const Case& c : cases) {
    std::vector<std::vector<Row>> drawn(1);
    MXdecodepictrows(&p.picture, 3, 4, c.width, c.height, c.srcx, c.srcy, c.scale, nullptr, collect, &drawn[0]);
    if (c.scale == 1) drawn.push_back(draw_file(bytes, c.width, c.height, c.srcx, c.srcy));
    for (const std::vector<Row>& rows : drawn) {
      ASSERT_EQ(rows.size(), c.rows.size()) << c.srcx << "," << c.srcy << " x" << c.scale;
      for (size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].x, 3);
        EXPECT_EQ(rows[k].y, 4 + static_cast<int>(k));
        EXPECT_EQ(rows[k].pixels, c.rows[k]) << c.srcx << "," << c.srcy << " x" << c.scale << " row " << k;
      }
    }
  }
  // The colour function of a picture in memory gets value, output column, output
  // row / scale and copy; the one of a file the value.
  std::vector<Row> out;
  MXdecodepictrows(&p.picture, 0, 0, 3, 3, 2, 0, 2, log_call, collect, &out);
  ASSERT_TRUE(out.size() == 3u && g_calls.size() == 9u);  // once a pixel
  EXPECT_EQ(out[2].pixels, (Pixels{3, 3, 3}));
  EXPECT_EQ((std::vector<std::vector<int>>{g_calls[0], g_calls[1], g_calls.back()}),
            (std::vector<std::vector<int>>{{2, 0, 0, 0}, {2, 1, 0, 1}, {3, 2, 1, 0}}));
  const std::vector<Row> coloured = draw_file(bytes, 3, 1, 2, 2, plus_one);
  ASSERT_EQ(coloured.size(), 1u);
  EXPECT_EQ(coloured[0].pixels, (Pixels{6, 6, 6}));
}

// A damaged file ends the program with a message naming the fault, before any
// byte outside the file or the row buffer is used.
TEST(FileDrawing, DamagedFilesEndTheProgramWithTheirMessage) {
  const std::vector<unsigned char> good = picture_bytes(MX_RUN8_TAG, 1, 5, {12, 4}, {2, 1, 3, 2});
  const std::tuple<std::vector<unsigned char>, int, const char*> cases[] = {  // bytes, first row, message
      {{}, 0, "Unable to read tag\n"},
      {{good.begin(), good.begin() + 5}, 0, "Unable to read rows\n"},
      {{good.begin(), good.begin() + 7}, 0, "Unable to read cols\n"},
      {picture_bytes(MX_RUN8_TAG, 1, 641, {12, 0}, {}), 0, "Too many columns (641) for picture\n"},
      {picture_bytes(0x854E5552, 1, 5, {12, 4}, {2, 1, 3, 2}), 0, "Unknown tag type (854e5552)\n"},
      {picture_bytes(MX_RUN8_TAG, 2, 5, {12}, {}), 1, "Unable to read the picture's row table\n"},
      {picture_bytes(MX_RUN8_TAG, 1, 5, {0x8000, 4}, {2, 1, 3, 2}), 0,
       "Cannot seek to offset -32768 in MXwdrawfilepict\n"},
      {{good.begin(), good.end() - 1}, 0, "Picture ends inside row 0\n"},
      {picture_bytes(MX_RUN8_TAG, 1, 5, {12, 4}, {2, 1, 4, 2}), 0, "Picture row 0 runs past its 5 columns\n"},
  };
  for (const auto& [bytes, srcy, text] : cases) {
    std::string message;
    draw_file(bytes, 5, 1, 0, srcy, nullptr, &message);
    EXPECT_EQ(message, text);
  }
}

}  // namespace
