// The PNG writer: chunk structure and checksums, the stored deflate blocks read
// back to the same indices, and, where ImageMagick is installed, a decoder
// nobody here wrote reads the colours of a screenshot.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "platform/png_writer.h"
#include "platform_test_support.h"

namespace {

uint32_t be32(const std::vector<uint8_t>& d, size_t at) {
  return (uint32_t{d[at]} << 24) | (uint32_t{d[at + 1]} << 16) | (uint32_t{d[at + 2]} << 8) | d[at + 3];
}

TEST(Checksums, KnownValues) {
  const std::string s = "123456789";
  const auto* p = reinterpret_cast<const uint8_t*>(s.data());
  EXPECT_EQ(MXPcrc32(p, s.size()), 0xCBF43926u);  // the standard check value
  const std::string w = "Wikipedia";
  EXPECT_EQ(MXPadler32(reinterpret_cast<const uint8_t*>(w.data()), w.size()), 0x11E60398u);
}

struct Chunk {
  std::string type;
  std::vector<uint8_t> data;
};

// Splits a PNG file into chunks, checking the signature and each CRC.
std::vector<Chunk> chunks_of(const std::vector<uint8_t>& png) {
  std::vector<Chunk> out;
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  EXPECT_TRUE(png.size() >= 8 && std::equal(signature, signature + 8, png.begin()));
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint32_t len = be32(png, at);
    EXPECT_LE(at + 12 + len, png.size());
    Chunk c{std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8),
            std::vector<uint8_t>(png.begin() + static_cast<long>(at) + 8,
                                 png.begin() + static_cast<long>(at + 8 + len))};
    EXPECT_EQ(be32(png, at + 8 + len), MXPcrc32(png.data() + at + 4, len + 4)) << c.type;
    out.push_back(c);
    at += 12 + len;
  }
  EXPECT_EQ(at, png.size());
  return out;
}

TEST(PngWriter, ChunksChecksumsAndStoredBlocksReadBack) {
  // Large enough for several stored blocks (at most 65535 bytes each).
  const int w = 300, h = 250;
  std::vector<uint8_t> indices(static_cast<size_t>(w * h));
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 31 % 256);
  uint8_t palette[768];
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<uint8_t>(255 - i % 256);
  const auto png = MXPencode_png(w, h, indices.data(), palette);
  const auto chunks = chunks_of(png);
  ASSERT_EQ(chunks.size(), 4u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(be32(chunks[0].data, 0), static_cast<uint32_t>(w));
  EXPECT_EQ(be32(chunks[0].data, 4), static_cast<uint32_t>(h));
  EXPECT_EQ(chunks[0].data[8], 8);  // bit depth
  EXPECT_EQ(chunks[0].data[9], 3);  // palette colour
  EXPECT_EQ(chunks[1].type, "PLTE");
  EXPECT_EQ(chunks[1].data, std::vector<uint8_t>(palette, palette + 768));
  EXPECT_EQ(chunks[2].type, "IDAT");
  EXPECT_EQ(chunks[3].type, "IEND");

  // Inflate the stored blocks by hand.
  const auto& z = chunks[2].data;
  ASSERT_GE(z.size(), 6u);
  EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);  // zlib header check
  std::vector<uint8_t> raw;
  size_t at = 2;
  for (bool last = false; !last;) {
    ASSERT_LT(at + 5, z.size());
    last = z[at] & 1;
    ASSERT_EQ(z[at] & 6, 0) << "not a stored block";
    const unsigned len = z[at + 1] | (z[at + 2] << 8), nlen = z[at + 3] | (z[at + 4] << 8);
    ASSERT_EQ(len ^ 0xffffu, nlen);
    raw.insert(raw.end(), z.begin() + static_cast<long>(at + 5), z.begin() + static_cast<long>(at + 5 + len));
    at += 5 + len;
  }
  ASSERT_EQ(at + 4, z.size());
  EXPECT_EQ(be32(z, at), MXPadler32(raw.data(), raw.size()));
  ASSERT_EQ(raw.size(), static_cast<size_t>(h * (w + 1)));
  for (int y = 0; y < h; ++y) {
    ASSERT_EQ(raw[static_cast<size_t>(y * (w + 1))], 0) << "filter type";
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(raw[static_cast<size_t>(y * (w + 1) + 1 + x)], indices[static_cast<size_t>(y * w + x)]);
  }
}

TEST(PngWriter, UnwritablePathFails) {
  uint8_t px = 0, palette[768] = {};
  EXPECT_EQ(MXPwrite_png("/nonexistent-dir/x.png", 1, 1, &px, palette), 0);
}

using Screenshot = HeadlessScreen;

TEST_F(Screenshot, ShowsThePaletteColours) {
  if (std::system("convert -version 2>/dev/null | grep -q ImageMagick") != 0)
    GTEST_SKIP() << "ImageMagick is not installed";
  unsigned char rgb[48] = {};
  rgb[3 * 5] = 63;       // colour 5: red 252
  rgb[3 * 6 + 2] = 16;   // colour 6: blue 64
  MXPinit_palette(rgb, 16);
  MXsetcolor(5);
  MXPfill_rect(0, 0, 640, 480);
  MXsetcolor(6);
  MXPdraw_pixel(639, 479);
  const std::string png = ::testing::TempDir() + "platform_screen_" + std::to_string(getpid()) + ".png";
  const std::string txt = png + ".txt";
  ASSERT_EQ(MXPwrite_screen_png(png.c_str()), 1);
  ASSERT_EQ(std::system(("convert " + png + " -format '%w %h %[pixel:p{0,0}] %[pixel:p{639,479}]' info: > " + txt).c_str()), 0);
  std::ifstream in(txt);
  const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(line, "640 480 srgb(252,0,0) srgb(0,0,64)");
  std::remove(png.c_str());
  std::remove(txt.c_str());
}

}  // namespace
