// Tests of the GIF87a writer: pictures of many sizes and colour counts read back
// by giflib (code sizes, code widths and the clear code when the table fills all
// show in its decoding), exclusive and failed creation. The header, colour table
// and first code of a screen's file are taken apart in screen_dump_test.cpp.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "picture_test_support.h"
#include "pictures/gif_writer.h"

namespace {

namespace fs = std::filesystem;

using GifWriterTest = ScratchDirTest;  // each test in a fresh directory of its own

// The picture handed to the writer through the callback.
int g_width = 0, g_calls = 0;
std::vector<uint8_t> g_pixels;
int picture_pixel(int x, int y) {
  ++g_calls;
  return g_pixels[static_cast<size_t>(y) * g_width + x];
}

// Writes a whole picture; returns the first non-zero result or 0.
int write_gif(const std::string& name, int w, int h, int colors, const std::vector<uint8_t>& pixels) {
  g_width = w;
  g_pixels = pixels;
  g_calls = 0;
  int r = GIF_Create(name.c_str(), w, h, colors, 6);
  if (r != GIFW_OK) return r;
  for (int i = -1; i <= colors; ++i) GIF_SetColor(i, (i * 7) % 64, (i * 13) % 64, (i * 29) % 64);  // -1, colors: ignored
  r = GIF_CompressImage(0, 0, -1, -1, picture_pixel);
  if (r != GIFW_OK) return GIF_Abandon(), r;
  return GIF_Close();
}

// Sizes chosen to end the data at different bit positions and block fill levels;
// a flat picture grows long strings; a noisy screen fills the code table again and
// again; screen indices above the table must not turn into control codes.
TEST_F(GifWriterTest, RoundTripsPicturesOfManySizesAndColourCounts) {
  std::vector<uint8_t> flat(640 * 480, 9);
  for (size_t i = 0; i < flat.size(); i += 997) flat[i] = 2;
  const struct {
    int w, h, colors;
    std::vector<uint8_t> pixels, expected;  // noise when empty; expected = pixels when empty
  } cases[] = {{1, 1, 16, {}, {}}, {1, 1, 2, {}, {}}, {3, 1, 4, {}, {}}, {17, 13, 8, {}, {}}, {255, 2, 16, {}, {}},
               {101, 99, 256, {}, {}}, {64, 64, 3, {}, {}}, {640, 7, 16, {}, {}}, {37, 23, 2, {}, {}},
               {640, 480, 16, flat, {}}, {640, 480, 16, {}, {}}, {6, 1, 16, {16, 17, 31, 255, 1, 2}, {0, 1, 15, 15, 1, 2}}};
  for (const auto& c : cases) {
    const std::string name = std::to_string(&c - cases) + "_" + std::to_string(c.w) + "x" + std::to_string(c.h);
    std::mt19937 rng(static_cast<unsigned>(c.w * 31 + c.h));
    std::vector<uint8_t> pixels = c.pixels;
    if (pixels.empty())
      for (int i = 0; i < c.w * c.h; ++i) pixels.push_back(static_cast<uint8_t>(rng() % c.colors));
    ASSERT_EQ(write_gif(name, c.w, c.h, c.colors, pixels), GIFW_OK) << name;
    EXPECT_EQ(g_calls, c.w * c.h) << name;  // every pixel asked for once
    if (c.colors == 2) {  // a table of 2 entries, colour resolution 6; the least code size GIF allows is 2
      const std::string f = read_text_file(name);
      ASSERT_GT(f.size(), 29u);
      EXPECT_EQ(std::make_pair(f[10] & 0xFF, f[29] & 0xFF), std::make_pair(0xD0, 2)) << name;
    }
    const GiflibPicture back = read_with_giflib(name);
    ASSERT_EQ(back.error, 0) << name;
    EXPECT_EQ(std::make_pair(back.width, back.height), std::make_pair(c.w, c.h));
    EXPECT_EQ(back.pixels, c.expected.empty() ? pixels : c.expected) << name;
  }
}

TEST_F(GifWriterTest, NeverOverwritesAndReportsFilesThatCannotBeCreated) {
  const std::string name = "taken.gif";
  { std::ofstream(name) << "keep me"; }
  errno = 0;
  EXPECT_EQ(GIF_Create(name.c_str(), 640, 480, 16, 6), GIFW_ERRCREATE);
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(read_text_file(name), "keep me");
  EXPECT_EQ(GIF_Create("no/such/dir/a.gif", 640, 480, 16, 6), GIFW_ERRCREATE);
  EXPECT_EQ(GIF_Create("bad.gif", 640, 480, 16, 0), GIFW_ERRCREATE);   // no colour resolution
  EXPECT_EQ(GIF_Create("bad.gif", 640, 480, 300, 6), GIFW_ERRCREATE);  // too many colours
  EXPECT_FALSE(fs::exists("bad.gif"));
  // Without a file, compressing and closing fail.
  GIF_Abandon();
  EXPECT_EQ(GIF_CompressImage(0, 0, -1, -1, picture_pixel), GIFW_ERRWRITE);
  EXPECT_EQ(GIF_Close(), GIFW_ERRWRITE);
}

}  // namespace
