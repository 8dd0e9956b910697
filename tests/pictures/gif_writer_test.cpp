// Tests of the GIF87a writer: header and colour table bytes, the LZW code stream
// (code sizes, code widths, the clear code when the table fills, sub-block
// sizes), read back both by a small code reader here that records every code and
// its width and by giflib; exclusive creation and failed creation.
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

// Each test works in a fresh directory of its own.
class GifWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/gif_writer_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

std::vector<uint8_t> read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The picture handed to the writer through the callback.
int g_width = 0, g_calls = 0;
std::vector<uint8_t> g_pixels;
int picture_pixel(int x, int y) {
  ++g_calls;
  return g_pixels[static_cast<size_t>(y) * g_width + x];
}

std::vector<uint8_t> noise(int w, int h, int colors, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> p(static_cast<size_t>(w) * h);
  for (auto& v : p) v = static_cast<uint8_t>(rng() % colors);
  return p;
}

// Writes a whole picture; returns the first non-zero result or 0.
int write_gif(const std::string& name, int w, int h, int colors, const std::vector<uint8_t>& pixels) {
  g_width = w;
  g_pixels = pixels;
  g_calls = 0;
  int r = GIF_Create(name.c_str(), w, h, colors, 6);
  if (r != GIFW_OK) return r;
  for (int i = 0; i < colors; ++i) GIF_SetColor(i, (i * 7) % 64, (i * 13) % 64, (i * 29) % 64);
  r = GIF_CompressImage(0, 0, -1, -1, picture_pixel);
  if (r != GIFW_OK) return GIF_Abandon(), r;
  return GIF_Close();
}

// A GIF87a file taken apart by the published format, independent of the writer:
// the LZW codes are read with the widths a decoder uses (the table grows by one
// entry per code after the first; the width grows when the table reaches it).
struct ParsedGif {
  std::string error;  // empty when the file was read to its trailer
  int packed = 0, min_code_size = 0;
  std::vector<int> block_sizes;            // data sub-blocks, without the terminator
  std::vector<std::pair<int, int>> codes;  // every code read, with its width
};

ParsedGif parse_gif(const std::vector<uint8_t>& f) {
  ParsedGif g;
  size_t p = 13;
  auto need = [&](size_t n) { return p + n <= f.size(); };
  if (f.size() < 13 || std::string(f.begin(), f.begin() + 6) != "GIF87a") return g.error = "no GIF87a header", g;
  g.packed = f[10];
  if (g.packed & 0x80) p += 3u << ((g.packed & 7) + 1);
  if (!need(11) || f[p] != ',' || f[p + 9] != 0) return g.error = "no plain image descriptor", g;
  p += 10;
  g.min_code_size = f[p++];
  std::vector<uint8_t> data;
  for (int n; need(1) && (n = f[p++]) != 0; p += n) {
    if (!need(n)) return g.error = "short sub-block", g;
    g.block_sizes.push_back(n);
    data.insert(data.end(), f.begin() + p, f.begin() + p + n);
  }
  if (!need(1) || f[p] != ';' || p + 1 != f.size()) return g.error = "no trailer at the end", g;
  const int clear = 1 << g.min_code_size;
  int width = g.min_code_size + 1, next = clear + 2;
  bool first = true;
  for (size_t bit = 0; bit + width <= data.size() * 8;) {
    int code = 0;
    for (int b = 0; b < width; ++b, ++bit) code |= (data[bit / 8] >> (bit % 8) & 1) << b;
    g.codes.emplace_back(code, width);
    if (code == clear) {
      width = g.min_code_size + 1, next = clear + 2, first = true;
      continue;
    }
    if (code == clear + 1) return g;
    if (first ? code > clear : code > next) return g.error = "code " + std::to_string(code) + " beyond the table", g;
    if (!first && next < 4096) ++next;
    first = false;
    if (next == (1 << width) && width < 12) ++width;
  }
  return g.error = "code stream ends without the end code", g;
}

TEST(GifBitsNeeded, CountsTheBitsOfTheLargestIndex) {
  const std::pair<unsigned, int> cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {16, 4}, {17, 5}, {256, 8}};
  for (auto [n, bits] : cases) EXPECT_EQ(BitsNeeded(n), bits) << n;
}

TEST_F(GifWriterTest, HeaderDescriptorAndColorTableOfASixteenColourScreen) {
  const std::string name = path("a.gif");
  ASSERT_EQ(GIF_Create(name.c_str(), 640, 480, 16, 6), GIFW_OK);
  GIF_SetColor(0, 63, 0, 32);  // 6-bit components rescaled by x * 255 / 63, truncated
  GIF_SetColor(1, 1, 62, 31);
  GIF_SetColor(16, 63, 63, 63);  // outside the table: ignored
  GIF_SetColor(-1, 63, 63, 63);
  g_width = 640;
  g_pixels.assign(640 * 480, 3);
  ASSERT_EQ(GIF_CompressImage(0, 0, -1, -1, picture_pixel), GIFW_OK);
  ASSERT_EQ(GIF_Close(), GIFW_OK);

  const auto f = read_file(name);
  ASSERT_GE(f.size(), 13u + 48 + 10 + 1);
  EXPECT_EQ(std::string(f.begin(), f.begin() + 6), "GIF87a");
  const std::vector<uint8_t> descriptor = {0x80, 0x02, 0xE0, 0x01, 0xD3, 0, 0};  // 640, 480, packed, bg, aspect
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 6, f.begin() + 13), descriptor);
  const std::vector<uint8_t> first_colors = {255, 0, 129, 4, 250, 125, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 13, f.begin() + 22), first_colors);
  const std::vector<uint8_t> image = {',', 0, 0, 0, 0, 0x80, 0x02, 0xE0, 0x01, 0, 4};
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 61, f.begin() + 72), image);

  const ParsedGif g = parse_gif(f);
  ASSERT_EQ(g.error, "");
  EXPECT_EQ(g.codes.front(), std::make_pair(16, 5));  // clear code at 5 bits comes first
  EXPECT_EQ(g.codes.back().first, 17);                // end of information last
  EXPECT_EQ(read_with_giflib(name).pixels, g_pixels);
}

// Sizes chosen to end the data at different bit positions and block fill levels;
// a flat picture grows long strings; a noisy screen fills the table again and
// again; screen indices above the table must not turn into control codes.
TEST_F(GifWriterTest, RoundTripsPicturesOfManySizesAndColourCounts) {
  std::vector<uint8_t> flat(640 * 480, 9);
  for (size_t i = 0; i < flat.size(); i += 997) flat[i] = 2;
  struct Case {
    int w, h, colors;
    std::vector<uint8_t> pixels, expected;  // noise when empty; expected = pixels when empty
  };
  const std::vector<Case> cases = {{1, 1, 16, {}, {}},    {1, 1, 2, {}, {}},    {3, 1, 4, {}, {}},
                                   {17, 13, 8, {}, {}},   {255, 2, 16, {}, {}}, {101, 99, 256, {}, {}},
                                   {64, 64, 3, {}, {}},   {640, 7, 16, {}, {}}, {37, 23, 2, {}, {}},
                                   {640, 480, 16, flat, {}}, {640, 480, 16, {}, {}},
                                   {6, 1, 16, {16, 17, 31, 255, 1, 2}, {0, 1, 15, 15, 1, 2}}};
  for (const Case& c : cases) {
    const std::string name = path(std::to_string(&c - cases.data()) + "_" + std::to_string(c.w) + "x" + std::to_string(c.h));
    const auto pixels = c.pixels.empty() ? noise(c.w, c.h, c.colors, static_cast<unsigned>(c.w * 31 + c.h)) : c.pixels;
    ASSERT_EQ(write_gif(name, c.w, c.h, c.colors, pixels), GIFW_OK) << name;
    EXPECT_EQ(g_calls, c.w * c.h) << name;  // every pixel asked for once
    const ParsedGif g = parse_gif(read_file(name));
    ASSERT_EQ(g.error, "") << name;
    if (c.colors == 2) {  // a table of 2 entries, colour resolution 6, minimum code size 2
      EXPECT_EQ(g.packed, 0xD0);
      EXPECT_EQ(g.min_code_size, 2);
      EXPECT_EQ(g.codes.front(), std::make_pair(4, 3));
    }
    // A clear code after the first is written at 12 bits, once the table is full,
    // and the width starts again after it; sub-blocks are full but the last.
    const int clear = 1 << g.min_code_size;
    int clears = 0;
    for (size_t i = 1; i + 1 < g.codes.size(); ++i)
      if (g.codes[i].first == clear) {
        ++clears;
        EXPECT_EQ(g.codes[i].second, 12) << name << " code " << i;
        EXPECT_EQ(g.codes[i + 1].second, g.min_code_size + 1) << name << " code " << i;
      }
    EXPECT_TRUE(!c.pixels.empty() || c.w * c.h < 640 * 480 || clears > 10) << name;  // the noisy screen
    for (size_t i = 0; i + 1 < g.block_sizes.size(); ++i) ASSERT_EQ(g.block_sizes[i], 255) << name << " " << i;
    const GiflibPicture back = read_with_giflib(name);
    ASSERT_EQ(back.error, 0) << name;
    EXPECT_EQ(back.width, c.w);
    EXPECT_EQ(back.height, c.h);
    EXPECT_EQ(back.pixels, c.expected.empty() ? pixels : c.expected) << name;
  }
}

TEST_F(GifWriterTest, NeverOverwritesAndReportsFilesThatCannotBeCreated) {
  const std::string name = path("taken.gif");
  { std::ofstream(name) << "keep me"; }
  errno = 0;
  EXPECT_EQ(GIF_Create(name.c_str(), 640, 480, 16, 6), GIFW_ERRCREATE);
  EXPECT_EQ(errno, EEXIST);
  const auto f = read_file(name);
  EXPECT_EQ(std::string(f.begin(), f.end()), "keep me");
  EXPECT_EQ(GIF_Create(path("no/such/dir/a.gif").c_str(), 640, 480, 16, 6), GIFW_ERRCREATE);
  EXPECT_EQ(GIF_Create(path("bad.gif").c_str(), 640, 480, 16, 0), GIFW_ERRCREATE);   // no colour resolution
  EXPECT_EQ(GIF_Create(path("bad.gif").c_str(), 640, 480, 300, 6), GIFW_ERRCREATE);  // too many colours
  EXPECT_FALSE(fs::exists(path("bad.gif")));
  // Without a file, compressing and closing fail.
  GIF_Abandon();
  EXPECT_EQ(GIF_CompressImage(0, 0, -1, -1, picture_pixel), GIFW_ERRWRITE);
  EXPECT_EQ(GIF_Close(), GIFW_ERRWRITE);
}

}  // namespace
