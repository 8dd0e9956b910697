// The PNG writer: a decoder nobody here wrote (ImageMagick, whose PNG reader checks
// every chunk's CRC-32 and the stream's Adler-32 and inflates the stored blocks)
// reads back every pixel of a screenshot, several stored blocks long.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/png_writer.h"
#include "platform_test_support.h"

namespace {

// ImageMagick converts the screenshot to raw 8-bit RGB, row by row from the top.
TEST_F(HeadlessScreen, ScreenshotShowsThePaletteColoursTimesFour) {
  if (std::system("convert -version 2>/dev/null | grep -q ImageMagick") != 0) GTEST_SKIP() << "no ImageMagick";
  const std::string png = ::testing::TempDir() + "platform_png_" + std::to_string(getpid()) + ".png", raw = png + ".rgb";
  unsigned char rgb[48];
  for (int i = 0; i < 48; ++i) rgb[i] = static_cast<unsigned char>((i * 11) % 64);
  rgb[3 * 5] = 63, rgb[3 * 5 + 1] = 0, rgb[3 * 5 + 2] = 0;  // colour 5: red 252
  MXPinit_palette(rgb, 16);
  unsigned char row[640];
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) row[x] = static_cast<unsigned char>((x / 8 + y / 6) % 16);
    MXPfastrow(0, y, row, 640);
  }
  ASSERT_EQ(MXPwrite_screen_png(png.c_str()), 1);
  EXPECT_EQ(std::system(("convert '" + png + "' -depth 8 'rgb:" + raw + "' 2>/dev/null").c_str()), 0);
  const std::string got = read_text_file(raw);
  std::remove(png.c_str()), std::remove(raw.c_str());
  ASSERT_EQ(got.size(), 640u * 480u * 3u) << "ImageMagick could not read the screenshot";
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      for (int k = 0; k < 3; ++k)
        ASSERT_EQ(got[(y * 640 + x) * 3 + k] & 0xFF, rgb[3 * ((x / 8 + y / 6) % 16) + k] * 4) << x << "," << y;
  EXPECT_EQ(got[5 * 8 * 3] & 0xFF, 252);  // pixel (40, 0) has colour 5
  EXPECT_EQ(MXPwrite_screen_png("/nonexistent-dir/x.png"), 0);
}

}  // namespace
