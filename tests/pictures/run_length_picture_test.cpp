// Loading, checking and pixel lookup of run-length pictures built byte by byte: the
// four run layouts, the row table, and the refusal of damaged pictures.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "picture_test_support.h"

namespace {

using Values = std::vector<uint16_t>;

TEST(RunLayouts, CountZeroStandsForTheLongestRun) {
  // 4-bit run byte 0x05: 16 pixels of value 5.
  LoadedPicture four = load(picture_bytes(MX_RUN4_TAG, 1, 16, {12, 1}, {0x05}));
  ASSERT_EQ(four.result, 1);
  EXPECT_EQ(four.picture.runsize, 1);
  EXPECT_EQ(pixels(four.picture, 0, 0, 16), Values(16, 5));

  // 8-bit run 00 07: 256 pixels of value 7.
  LoadedPicture eight = load(picture_bytes(MX_RUN8_TAG, 1, 256, {12, 2}, {0x00, 0x07}));
  ASSERT_EQ(eight.result, 1);
  EXPECT_EQ(pixels(eight.picture, 250, 0, 6), Values(6, 7));

  // 12-bit run 0x0123 (bytes 23 01): 16 pixels of value 0x123.
  LoadedPicture twelve = load(picture_bytes(MX_RUN12_TAG, 1, 16, {12, 2}, {0x23, 0x01}));
  ASSERT_EQ(twelve.result, 1);
  EXPECT_EQ(pixels(twelve.picture, 15, 0, 1), Values{0x123});

  // 16-bit run: count byte, value low byte first.
  LoadedPicture sixteen = load(picture_bytes(MX_RUN16_TAG, 1, 3, {12, 3}, {3, 0x34, 0x12}));
  ASSERT_EQ(sixteen.result, 1);
  EXPECT_EQ(sixteen.picture.runsize, 3);
  EXPECT_EQ(pixels(sixteen.picture, 0, 0, 3), (Values{0x1234, 0x1234, 0x1234}));
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
  const std::vector<unsigned char> bytes =
      picture_bytes(MX_RUN8_TAG, 2, 5, {14, 2, 4}, {5, 9, 2, 1, 3, 2});
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::vector<uint16_t> buffer(bytes.size() / 2);
  MXPicture picture{};
  ASSERT_EQ(MXinitpic(file, &picture, buffer.data()), 1);
  EXPECT_EQ(picture.rows, 2);
  EXPECT_EQ(picture.cols, 5);
  EXPECT_EQ(pixels(picture, 4, 0, 1), Values{9});
  int rows = 0;
  int cols = 0;
  MXgetfilepictspecs(file, &rows, &cols);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(cols, 5);

  // A file cut inside the runs is refused.
  FILE* cut = std::tmpfile();
  ASSERT_NE(cut, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size() - 1, cut);
  EXPECT_EQ(MXinitpic(cut, &picture, buffer.data()), 0);
  std::fclose(cut);
  std::fclose(file);
}

TEST(ByteOrder, NumbersAreReadLowByteFirst) {
  const unsigned char two[] = {0x34, 0x12};
  EXPECT_EQ(twiddled_short(two), 0x1234);
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  const unsigned char bytes[] = {0x52, 0x55, 0x4E, 0x88, 0x02, 0x01};
  std::fwrite(bytes, 1, sizeof bytes, file);
  std::rewind(file);
  uint32_t tag = 0;
  uint16_t value = 0;
  EXPECT_EQ(fread_long(&tag, 1, file), 1u);
  EXPECT_EQ(tag, MX_RUN8_TAG);
  EXPECT_EQ(fread_short(&value, 1, file), 1u);
  EXPECT_EQ(value, 0x0102);
  EXPECT_EQ(fread_short(&value, 1, file), 0u);  // end of file
  std::fclose(file);
  uint32_t word = 0x11223344;
  twiddle_long(&word);  // a least-significant-first host changes nothing
  unsigned char first;
  std::memcpy(&first, &Etester, 1);
  EXPECT_EQ(first == 0 ? 0x11223344u : 0x44332211u, word);
}

}  // namespace
