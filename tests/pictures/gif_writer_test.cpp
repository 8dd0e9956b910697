// Tests of the GIF87a writer: header and colour table bytes, the LZW code stream
// (code sizes, code widths, the clear code when the table fills, sub-block
// sizes), read back both by a small decoder here that records every code and its
// width and by giflib; exclusive creation and failed writes.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

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
int g_width = 0;
std::vector<uint8_t> g_pixels;
int g_calls = 0;
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
  if (r != GIFW_OK) {
    GIF_Abandon();
    return r;
  }
  return GIF_Close();
}

// A GIF87a file taken apart by the published format, independent of the writer.
struct ParsedGif {
  std::string error;  // empty when the file was read to its trailer
  int width = 0, height = 0, packed = 0;
  std::vector<uint8_t> color_table;
  int min_code_size = 0;
  std::vector<int> block_sizes;  // data sub-blocks, without the terminator
  std::vector<std::pair<int, int>> codes;  // every code read, with its width
  std::vector<uint8_t> pixels;
};

void decode_lzw(const std::vector<uint8_t>& data, ParsedGif& g) {
  const int clear = 1 << g.min_code_size, end = clear + 1;
  std::vector<int> prefix(4096, -1);
  std::vector<uint8_t> suffix(4096), first(4096);
  for (int i = 0; i < clear; ++i) suffix[i] = first[i] = static_cast<uint8_t>(i);
  int width = g.min_code_size + 1, next = clear + 2, prev = -1;
  size_t bitpos = 0;
  auto output = [&](int code) {
    std::vector<uint8_t> s;
    for (int c = code; c != -1; c = prefix[c]) s.push_back(suffix[c]);
    g.pixels.insert(g.pixels.end(), s.rbegin(), s.rend());
  };
  while (true) {
    if (bitpos + width > data.size() * 8) {
      g.error = "code stream ends without the end code";
      return;
    }
    int code = 0;
    for (int b = 0; b < width; ++b, ++bitpos)
      if (data[bitpos / 8] >> (bitpos % 8) & 1) code |= 1 << b;
    g.codes.emplace_back(code, width);
    if (code == clear) {
      width = g.min_code_size + 1;
      next = clear + 2;
      prev = -1;
      continue;
    }
    if (code == end) return;
    if (prev == -1) {
      if (code >= clear) {
        g.error = "first code after a clear is not a root";
        return;
      }
      output(code);
      prev = code;
      continue;
    }
    if (code > next || (code == next && next >= 4096)) {
      g.error = "code " + std::to_string(code) + " beyond the table";
      return;
    }
    const uint8_t head = code < next ? first[code] : first[prev];
    if (next < 4096) {
      prefix[next] = prev;
      suffix[next] = head;
      first[next] = first[prev];
      ++next;
    }
    output(code);
    prev = code;
    if (next == (1 << width) && width < 12) ++width;
  }
}

ParsedGif parse_gif(const std::vector<uint8_t>& f) {
  ParsedGif g;
  size_t p = 0;
  auto need = [&](size_t n) { return p + n <= f.size(); };
  auto word = [&](size_t at) { return f[at] | f[at + 1] << 8; };
  if (!need(13) || std::string(f.begin(), f.begin() + 6) != "GIF87a") return g.error = "no GIF87a header", g;
  g.width = word(6);
  g.height = word(8);
  g.packed = f[10];
  p = 13;
  if (g.packed & 0x80) {
    const size_t n = 3u << ((g.packed & 7) + 1);
    if (!need(n)) return g.error = "short colour table", g;
    g.color_table.assign(f.begin() + p, f.begin() + p + n);
    p += n;
  }
  if (!need(11) || f[p] != ',') return g.error = "no image descriptor", g;
  if (word(p + 5) != g.width || word(p + 7) != g.height || f[p + 9] != 0) return g.error = "odd image descriptor", g;
  p += 10;
  g.min_code_size = f[p++];
  std::vector<uint8_t> data;
  while (true) {
    if (!need(1)) return g.error = "no block terminator", g;
    const int n = f[p++];
    if (n == 0) break;
    if (!need(n)) return g.error = "short sub-block", g;
    g.block_sizes.push_back(n);
    data.insert(data.end(), f.begin() + p, f.begin() + p + n);
    p += n;
  }
  if (!need(1) || f[p] != ';' || p + 1 != f.size()) return g.error = "no trailer at the end", g;
  decode_lzw(data, g);
  return g;
}

// The picture as giflib reads it: indices, and the colour map.
struct GiflibPicture {
  int error = 0;
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  std::vector<GifColorType> colors;
};

GiflibPicture read_with_giflib(const std::string& name) {
  GiflibPicture out;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(name.c_str(), &error);
  if (!gif) {
    out.error = error ? error : -1;
    return out;
  }
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != 1) {
    out.error = gif->Error ? gif->Error : -1;
  } else {
    const SavedImage& image = gif->SavedImages[0];
    out.width = image.ImageDesc.Width;
    out.height = image.ImageDesc.Height;
    out.pixels.assign(image.RasterBits, image.RasterBits + out.width * out.height);
    if (gif->SColorMap) out.colors.assign(gif->SColorMap->Colors, gif->SColorMap->Colors + gif->SColorMap->ColorCount);
  }
  DGifCloseFile(gif, &error);
  return out;
}

TEST(GifBitsNeeded, CountsTheBitsOfTheLargestIndex) {
  EXPECT_EQ(BitsNeeded(0), 0);
  EXPECT_EQ(BitsNeeded(1), 1);
  EXPECT_EQ(BitsNeeded(2), 1);
  EXPECT_EQ(BitsNeeded(3), 2);
  EXPECT_EQ(BitsNeeded(16), 4);
  EXPECT_EQ(BitsNeeded(17), 5);
  EXPECT_EQ(BitsNeeded(256), 8);
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
  ASSERT_FALSE(g.codes.empty());
  EXPECT_EQ(g.codes.front(), std::make_pair(16, 5));  // clear code at 5 bits comes first
  EXPECT_EQ(g.codes.back().first, 17);                // end of information last
  EXPECT_EQ(g.pixels, g_pixels);
}

TEST_F(GifWriterTest, TwoColoursUseMinimumCodeSizeTwo) {
  const std::string name = path("two.gif");
  const auto pixels = noise(37, 23, 2, 7);
  ASSERT_EQ(write_gif(name, 37, 23, 2, pixels), GIFW_OK);
  const auto f = read_file(name);
  const ParsedGif g = parse_gif(f);
  ASSERT_EQ(g.error, "");
  EXPECT_EQ(g.packed, 0xD0);  // table of 2 entries, colour resolution 6
  EXPECT_EQ(g.color_table.size(), 6u);
  EXPECT_EQ(g.min_code_size, 2);
  EXPECT_EQ(g.codes.front(), std::make_pair(4, 3));
  EXPECT_EQ(g.pixels, pixels);

  const GiflibPicture back = read_with_giflib(name);
  ASSERT_EQ(back.error, 0);
  EXPECT_EQ(back.width, 37);
  EXPECT_EQ(back.height, 23);
  EXPECT_EQ(back.pixels, pixels);
}

TEST_F(GifWriterTest, NoiseFillsTheTableAndRestartsWithATwelveBitClearCode) {
  const std::string name = path("noise.gif");
  const auto pixels = noise(640, 480, 16, 42);
  ASSERT_EQ(write_gif(name, 640, 480, 16, pixels), GIFW_OK);
  EXPECT_EQ(g_calls, 640 * 480);  // every pixel asked for once

  const auto f = read_file(name);
  const ParsedGif g = parse_gif(f);
  ASSERT_EQ(g.error, "");
  ASSERT_EQ(g.pixels.size(), pixels.size());
  EXPECT_EQ(g.pixels, pixels);

  int clears_at_12 = 0, widest = 0;
  for (size_t i = 1; i < g.codes.size(); ++i) {
    widest = std::max(widest, g.codes[i].second);
    if (g.codes[i].first == 16) {
      EXPECT_EQ(g.codes[i].second, 12) << "clear code " << i << " not at the full width";
      ++clears_at_12;
    }
  }
  EXPECT_EQ(widest, 12);
  EXPECT_GT(clears_at_12, 10);
  // After every clear the width starts again at 5 bits.
  for (size_t i = 0; i + 1 < g.codes.size(); ++i) {
    if (g.codes[i].first == 16) {
      EXPECT_EQ(g.codes[i + 1].second, 5);
    }
  }

  // Sub-blocks: full ones of 255 bytes, only the last may be shorter.
  ASSERT_GT(g.block_sizes.size(), 100u);
  for (size_t i = 0; i + 1 < g.block_sizes.size(); ++i) ASSERT_EQ(g.block_sizes[i], 255) << i;
  EXPECT_GE(g.block_sizes.back(), 1);
  EXPECT_LE(g.block_sizes.back(), 255);

  const GiflibPicture back = read_with_giflib(name);
  ASSERT_EQ(back.error, 0);
  EXPECT_EQ(back.pixels, pixels);
  ASSERT_EQ(back.colors.size(), 16u);
  EXPECT_EQ(back.colors[5].Red, 35 * 255 / 63);  // colour 5 was set to (35, 1, 17)
  EXPECT_EQ(back.colors[5].Green, 1 * 255 / 63);
  EXPECT_EQ(back.colors[5].Blue, 17 * 255 / 63);
}

TEST_F(GifWriterTest, RoundTripsPicturesOfManySizesAndColourCounts) {
  // Sizes chosen to end the data at different bit positions and block fill levels.
  struct Case { int w, h, colors; };
  for (const Case c : {Case{1, 1, 16}, Case{1, 1, 2}, Case{3, 1, 4}, Case{17, 13, 8}, Case{255, 2, 16},
                       Case{101, 99, 256}, Case{64, 64, 3}, Case{640, 7, 16}}) {
    const std::string name = path("p" + std::to_string(c.w) + "x" + std::to_string(c.h) + "_" +
                                  std::to_string(c.colors) + ".gif");
    const auto pixels = noise(c.w, c.h, c.colors, static_cast<unsigned>(c.w * 31 + c.h));
    ASSERT_EQ(write_gif(name, c.w, c.h, c.colors, pixels), GIFW_OK) << name;
    const ParsedGif g = parse_gif(read_file(name));
    ASSERT_EQ(g.error, "") << name;
    EXPECT_EQ(g.pixels, pixels) << name;
    const GiflibPicture back = read_with_giflib(name);
    ASSERT_EQ(back.error, 0) << name;
    EXPECT_EQ(back.pixels, pixels) << name;
  }
}

TEST_F(GifWriterTest, LongRunsOfOneColourRoundTrip) {
  // A flat picture grows long strings; the table still fills and clears.
  std::vector<uint8_t> pixels(640 * 480, 9);
  for (size_t i = 0; i < pixels.size(); i += 997) pixels[i] = 2;
  const std::string name = path("flat.gif");
  ASSERT_EQ(write_gif(name, 640, 480, 16, pixels), GIFW_OK);
  const ParsedGif g = parse_gif(read_file(name));
  ASSERT_EQ(g.error, "");
  EXPECT_EQ(g.pixels, pixels);
  EXPECT_EQ(read_with_giflib(name).pixels, pixels);
}

TEST_F(GifWriterTest, ColourIndicesBeyondTheTableStayInsideTheCodeSpace) {
  // A screen index above 15 must not turn into a control code.
  std::vector<uint8_t> pixels = {16, 17, 31, 255, 1, 2};
  const std::string name = path("wide.gif");
  ASSERT_EQ(write_gif(name, 6, 1, 16, pixels), GIFW_OK);
  const ParsedGif g = parse_gif(read_file(name));
  ASSERT_EQ(g.error, "");
  const std::vector<uint8_t> expected = {0, 1, 15, 15, 1, 2};
  EXPECT_EQ(g.pixels, expected);
}

TEST_F(GifWriterTest, NeverOverwritesAnExistingFile) {
  const std::string name = path("taken.gif");
  { std::ofstream(name) << "keep me"; }
  errno = 0;
  EXPECT_EQ(GIF_Create(name.c_str(), 640, 480, 16, 6), GIFW_ERRCREATE);
  EXPECT_EQ(errno, EEXIST);
  const auto f = read_file(name);
  EXPECT_EQ(std::string(f.begin(), f.end()), "keep me");
  GIF_Abandon();
}

TEST_F(GifWriterTest, ReportsAFileThatCannotBeCreated) {
  EXPECT_EQ(GIF_Create(path("no/such/dir/a.gif").c_str(), 640, 480, 16, 6), GIFW_ERRCREATE);
  EXPECT_EQ(GIF_Create(path("bad.gif").c_str(), 640, 480, 16, 0), GIFW_ERRCREATE);   // no colour resolution
  EXPECT_EQ(GIF_Create(path("bad.gif").c_str(), 640, 480, 300, 6), GIFW_ERRCREATE);  // too many colours
  EXPECT_FALSE(fs::exists(path("bad.gif")));
  GIF_Abandon();
}

TEST_F(GifWriterTest, ReportsWritesThatFailWhenTheDiskIsFull) {
  // A file size limit stands in for a full disk: writes past it fail.
  const std::string name = path("full.gif");
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 20000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

  g_width = 640;
  g_pixels = noise(640, 480, 16, 3);
  int create = GIF_Create(name.c_str(), 640, 480, 16, 6);
  int compress = create == GIFW_OK ? GIF_CompressImage(0, 0, -1, -1, picture_pixel) : -1;
  int close = compress == GIFW_OK ? GIF_Close() : (GIF_Abandon(), -1);

  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(create, GIFW_OK);
  EXPECT_TRUE(compress == GIFW_ERRWRITE || close == GIFW_ERRWRITE) << compress << " " << close;
  EXPECT_LE(fs::file_size(name), 20000u);
}

TEST_F(GifWriterTest, CompressingWithoutAFileFails) {
  GIF_Abandon();
  EXPECT_EQ(GIF_CompressImage(0, 0, -1, -1, picture_pixel), GIFW_ERRWRITE);
  EXPECT_EQ(GIF_Close(), GIFW_ERRWRITE);
}

}  // namespace
