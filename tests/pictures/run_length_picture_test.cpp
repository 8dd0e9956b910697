// Loading, checking and pixel lookup of run-length pictures built byte by byte: the
// four run layouts, the row table, and the refusal of damaged pictures.
#include <gtest/gtest.h>

#include <cstdio>

#include "picture_test_support.h"

namespace {

using Values = std::vector<uint16_t>;

// Each layout with a run whose count byte is 0, standing for the longest run: a
// 4-bit run byte 0x05 is 16 pixels of 5; an 8-bit run 00 07 is 256 pixels of 7; a
// 12-bit run 0x0123 (bytes 23 01) is 16 pixels of 0x123; a 16-bit run is a count
// byte and the value low byte first.
TEST(RunLayouts, CountZeroStandsForTheLongestRun) {
  struct Case {
    uint32_t tag;
    unsigned cols;
    std::vector<unsigned> runs;
    int x, n, runsize;  // runsize -1: not checked
    uint16_t value;
  };
  const Case cases[] = {{MX_RUN4_TAG, 16, {0x05}, 0, 16, 1, 5},
                        {MX_RUN8_TAG, 256, {0x00, 0x07}, 250, 6, -1, 7},
                        {MX_RUN12_TAG, 16, {0x23, 0x01}, 15, 1, -1, 0x123},
                        {MX_RUN16_TAG, 3, {3, 0x34, 0x12}, 0, 3, 3, 0x1234}};
  for (const Case& c : cases) {
    LoadedPicture p = load(picture_bytes(c.tag, 1, c.cols, {12, static_cast<unsigned>(c.runs.size())}, c.runs));
    ASSERT_EQ(p.result, 1) << c.tag;
    EXPECT_TRUE(c.runsize < 0 || p.picture.runsize == c.runsize) << c.tag;
    EXPECT_EQ(pixels(p.picture, c.x, 0, c.n), Values(static_cast<size_t>(c.n), c.value)) << c.tag;
  }
}

TEST(RowTable, RowOffsetsAreSumsOfRowSizes) {
  // Two rows of 20 pixels; table 14, 3, 5: row 0's runs at file offset 14 (3
  // bytes), row 1's at 17 (5 bytes).
  LoadedPicture p = load(picture_bytes(MX_RUN4_TAG, 2, 20, {14, 3, 5},
                                       {0x01, 0x22, 0x23, 0x44, 0x45, 0x46, 0x47, 0x48}));
  ASSERT_EQ(p.result, 1);
  EXPECT_EQ(p.picture.rowvec[0], 0);  // entry 0 replaced by 0
  EXPECT_EQ(pixels(p.picture, 0, 0, 1), Values{1});
  EXPECT_EQ(pixels(p.picture, 16, 0, 4), (Values{2, 2, 3, 3}));
  EXPECT_EQ(pixels(p.picture, 0, 1, 20),
            (Values{4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7, 8, 8, 8, 8}));
}

TEST(PixelLookup, OutsideThePictureReadsNoPixel) {
  LoadedPicture p = load(picture_bytes(MX_RUN8_TAG, 2, 5, {14, 2, 4}, {5, 9, 2, 1, 3, 2}));
  ASSERT_EQ(p.result, 1);
  EXPECT_EQ(pixels(p.picture, 5, 0, 1), Values{MX_NO_PIXEL});
  EXPECT_EQ(pixels(p.picture, 0, 2, 1), Values{MX_NO_PIXEL});
  EXPECT_EQ(pixels(p.picture, -1, 0, 1), Values{MX_NO_PIXEL});
  EXPECT_EQ(pixels(p.picture, 0, -1, 1), Values{MX_NO_PIXEL});
  // From cols - 2 with n = 4: two values, then no pixel twice.
  EXPECT_EQ(pixels(p.picture, 3, 1, 4), (Values{2, 2, MX_NO_PIXEL, MX_NO_PIXEL}));
  EXPECT_EQ(pixels(p.picture, 1, 1, 3), (Values{1, 2, 2}));
}

// Each case is a picture that would make an unchecked decoder read past its data.
TEST(Refusal, DamagedPicturesAreRefusedWithResultZero) {
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
  };
  const std::vector<Case> cases = {
      {"unknown tag RUN+0x85", picture_bytes(0x854E5552, 1, 16, {12, 1}, {0x05})},
      {"empty file", {}},
      {"header only", picture_bytes(MX_RUN4_TAG, 1, 16, {}, {})},
      {"row table cut short", picture_bytes(MX_RUN4_TAG, 2, 16, {14, 1}, {})},
      {"row sizes beyond the data", picture_bytes(MX_RUN4_TAG, 1, 16, {12, 2}, {0x05})},
      {"runs short of cols", picture_bytes(MX_RUN8_TAG, 1, 10, {12, 2}, {9, 1})},
      {"runs past cols", picture_bytes(MX_RUN8_TAG, 1, 10, {12, 4}, {9, 1, 2, 1})},
      {"partial run", picture_bytes(MX_RUN8_TAG, 1, 10, {12, 3}, {10, 1, 0})},
      {"partial 3-byte run", picture_bytes(MX_RUN16_TAG, 1, 4, {12, 4}, {4, 1, 0, 0})},
      {"non-standard entry 0", picture_bytes(MX_RUN4_TAG, 1, 16, {14, 1}, {0, 0, 0x05})},
      {"row entry of 32768", picture_bytes(MX_RUN4_TAG, 1, 16, {12, 0x8000}, {0x05})},
      {"second row missing", picture_bytes(MX_RUN4_TAG, 2, 16, {14, 1, 1}, {0x05})},
  };
  for (const Case& c : cases) {
    LoadedPicture p = load(c.bytes);
    EXPECT_EQ(p.result, 0) << c.what;
    EXPECT_EQ(p.picture.rowvec, nullptr) << c.what;
    // A refused picture is safe to look into: it has no pixels.
    EXPECT_EQ(pixels(p.picture, 0, 0, 2), (Values{MX_NO_PIXEL, MX_NO_PIXEL})) << c.what;
  }
}

TEST(Refusal, TrailingBytesAfterTheLastRowAreAccepted) {
  LoadedPicture p = load(picture_bytes(MX_RUN4_TAG, 1, 16, {12, 1}, {0x05, 0xFF, 0xFF}));
  EXPECT_EQ(p.result, 1);
}

TEST(FileLoading, LoadsFromAnOpenFileAndReadsTheSpecs) {
  const std::vector<unsigned char> bytes = picture_bytes(MX_RUN8_TAG, 2, 5, {14, 2, 4}, {5, 9, 2, 1, 3, 2});
  const TempFile file = temp_file(bytes);
  ASSERT_NE(file, nullptr);
  std::vector<uint16_t> buffer(bytes.size() / 2);
  MXPicture picture{};
  ASSERT_EQ(MXinitpic(file.get(), &picture, buffer.data()), 1);
  EXPECT_EQ(picture.rows, 2);
  EXPECT_EQ(picture.cols, 5);
  EXPECT_EQ(pixels(picture, 4, 0, 1), Values{9});
  int rows = 0, cols = 0;
  MXgetfilepictspecs(file.get(), &rows, &cols);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(cols, 5);
  // A file cut inside the runs is refused.
  const TempFile cut = temp_file(std::vector<unsigned char>(bytes.begin(), bytes.end() - 1));
  EXPECT_EQ(MXinitpic(cut.get(), &picture, buffer.data()), 0);
}

TEST(ByteOrder, NumbersAreReadLowByteFirst) {
  const unsigned char two[] = {0x34, 0x12};
  EXPECT_EQ(twiddled_short(two), 0x1234);
  const TempFile file = temp_file({0x52, 0x55, 0x4E, 0x88, 0x02, 0x01});
  std::rewind(file.get());
  uint32_t tag = 0;
  uint16_t value = 0;
  EXPECT_EQ(fread_long(&tag, 1, file.get()), 1u);
  EXPECT_EQ(tag, MX_RUN8_TAG);
  EXPECT_EQ(fread_short(&value, 1, file.get()), 1u);
  EXPECT_EQ(value, 0x0102);
  EXPECT_EQ(fread_short(&value, 1, file.get()), 0u);  // end of file
}

}  // namespace
