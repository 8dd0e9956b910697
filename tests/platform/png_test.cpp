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

class PngWriter : public HeadlessScreen {
 protected:
  void SetUp() override {
    HeadlessScreen::SetUp();
    if (std::system("convert -version 2>/dev/null | grep -q ImageMagick") != 0)
      GTEST_SKIP() << "ImageMagick is not installed";
  }
  void TearDown() override {
    std::remove(png_.c_str());
    HeadlessScreen::TearDown();
  }
  // ImageMagick's reading of the PNG file as 8-bit RGB, row by row from the top.
  std::vector<uint8_t> read_back() const {
    const std::string raw = png_ + ".rgb";
    std::vector<uint8_t> rgb;
    if (std::system(("convert '" + png_ + "' -depth 8 'rgb:" + raw + "' 2>/dev/null").c_str()) == 0) {
      std::ifstream in(raw, std::ios::binary);
      rgb.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::remove(raw.c_str());
    return rgb;
  }
  std::string png_ = ::testing::TempDir() + "platform_png_" + std::to_string(getpid()) + ".png";
};

TEST_F(PngWriter, ScreenshotShowsThePaletteColoursTimesFour) {
  unsigned char rgb[48];
  for (int i = 0; i < 48; ++i) rgb[i] = static_cast<unsigned char>((i * 11) % 64);
  rgb[3 * 5] = 63, rgb[3 * 5 + 1] = 0, rgb[3 * 5 + 2] = 0;  // colour 5: red 252
  MXPinit_palette(rgb, 16);
  unsigned char row[640];
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) row[x] = static_cast<unsigned char>((x / 8 + y / 6) % 16);
    MXPfastrow(0, y, row, 640);
  }
  ASSERT_EQ(MXPwrite_screen_png(png_.c_str()), 1);
  const std::vector<uint8_t> got = read_back();
  ASSERT_EQ(got.size(), 640u * 480u * 3u) << "ImageMagick could not read the screenshot";
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      for (int k = 0; k < 3; ++k)
        ASSERT_EQ(got[(y * 640 + x) * 3 + k], rgb[3 * ((x / 8 + y / 6) % 16) + k] * 4) << x << "," << y;
  EXPECT_EQ(got[5 * 8 * 3], 252);  // pixel (40, 0) has colour 5
  EXPECT_EQ(MXPwrite_screen_png("/nonexistent-dir/x.png"), 0);
}

}  // namespace
