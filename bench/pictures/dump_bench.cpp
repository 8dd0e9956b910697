// Benchmarks of the screen dumps on a 640 x 480, 16-colour screen: our GIF writer
// next to giflib's encoder on the same pixels (time, and file size as the
// "bytes" counter), and the whole dump to BMP, greyscale and colour PostScript,
// and GIF. Two screens: one like the program's (windows, text, bars, lines) and
// one of noise, where LZW gains least.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "base/log.h"
#include "pictures/gif_writer.h"
#include "pictures/screen_dump.h"

namespace {

namespace fs = std::filesystem;
constexpr int W = 640;
constexpr int H = 480;

unsigned char g_screen[H][W];
unsigned char g_palette[256 * 3];

void fill(int x, int y, int w, int h, int c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (i >= 0 && i < W && j >= 0 && j < H) g_screen[j][i] = static_cast<unsigned char>(c);
}

// Windows with bevelled frames, lines of small text, a pyramid of bars, lines,
// an ellipse and a small patch of noise.
void make_varied_screen() {
  std::mt19937 rng(1990);
  fill(0, 0, W, H, 7);
  const int windows[][5] = {{10, 8, 620, 228, 3}, {10, 244, 620, 228, 11}, {20, 30, 250, 190, 14},
                            {300, 30, 320, 120, 10}, {20, 270, 300, 180, 9}};
  for (const auto& w : windows) {
    fill(w[0], w[1], w[2], w[3], w[4]);
    fill(w[0], w[1], w[2], 1, 15);
    fill(w[0], w[1], 1, w[3], 15);
    fill(w[0], w[1] + w[3] - 1, w[2], 1, 0);
    fill(w[0] + w[2] - 1, w[1], 1, w[3], 0);
  }
  for (int line = 0; line < 14; ++line)
    for (int ch = 0; ch < 34; ++ch) {
      const unsigned glyph = rng();
      for (int b = 0; b < 35; ++b)
        if (glyph >> (b % 32) & 1 && (b * 7 + ch) % 3)
          fill(26 + ch * 7 + b % 5, 40 + line * 12 + b / 5, 1, 1, line % 3 == 0 ? 0 : 1);
    }
  for (int g = 0; g < 17; ++g) {
    const int len = 20 + static_cast<int>(rng() % 100);
    fill(470 - len, 280 + g * 10, len, 8, 4);
    fill(472, 280 + g * 10, len - 5, 8, 13);
  }
  for (int i = 0; i < 300; ++i) fill(310 + i, 170 + i / 5, 1, 1, 12);
  for (int i = 0; i < 200; ++i) fill(330 + i, 230 - i / 3, 2, 1, 6);
  for (int y = -30; y <= 30; ++y)
    for (int x = -50; x <= 50; ++x)
      if (x * x * 9 + y * y * 25 <= 22500) fill(560 + x, 400 + y, 1, 1, 2);
  for (int y = 160; y < 250; ++y)
    for (int x = 480; x < 600; ++x) g_screen[y][x] = static_cast<unsigned char>(rng() % 16);
}

void make_noise_screen() {
  std::mt19937 rng(2050);
  for (auto& row : g_screen)
    for (auto& p : row) p = static_cast<unsigned char>(rng() % 16);
}

void make_screen(int which) {
  if (which == 0)
    make_varied_screen();
  else
    make_noise_screen();
}

unsigned char* bench_get_row(int y, unsigned char* buffer) {
  std::memcpy(buffer, g_screen[y], W);
  return buffer;
}

int bench_pixel(int x, int y) { return g_screen[y][x]; }

// Runs in a scratch directory; error.log (the BMP dump's notes) goes there too.
struct Scratch {
  Scratch() {
    char pattern[] = "/tmp/dump_bench_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    dir = pattern;
    fs::current_path(dir);
    init_error_log("w");
    for (int i = 0; i < 256 * 3; ++i) g_palette[i] = static_cast<unsigned char>((i * 29 + i / 3) % 64);
    const ScreenDumpSource source{bench_get_row, g_palette, nullptr, nullptr, nullptr};
    MXsetscreendumpsource(&source);
  }
  ~Scratch() {
    fs::current_path("/");
    fs::remove_all(dir);
  }
  fs::path dir;
};
Scratch& scratch() {
  static Scratch s;
  return s;
}

const char* screen_name(int which) { return which == 0 ? "varied" : "noise"; }

void BM_GifWriter(benchmark::State& state) {
  scratch();
  make_screen(static_cast<int>(state.range(0)));
  const char* name = "ours.gif";
  for (auto _ : state) {
    unlink(name);
    if (GIF_Create(name, W, H, 16, 6) != GIFW_OK) state.SkipWithError("create");
    for (int i = 0; i < 16; ++i) GIF_SetColor(i, g_palette[3 * i], g_palette[3 * i + 1], g_palette[3 * i + 2]);
    if (GIF_CompressImage(0, 0, -1, -1, bench_pixel) != GIFW_OK) state.SkipWithError("compress");
    if (GIF_Close() != GIFW_OK) state.SkipWithError("close");
  }
  state.SetLabel(screen_name(static_cast<int>(state.range(0))));
  state.counters["bytes"] = static_cast<double>(fs::file_size(name));
}
BENCHMARK(BM_GifWriter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Giflib(benchmark::State& state) {
  scratch();
  make_screen(static_cast<int>(state.range(0)));
  const char* name = "giflib.gif";
  for (auto _ : state) {
    unlink(name);
    int error = 0;
    GifFileType* gif = EGifOpenFileName(name, false, &error);
    if (!gif) {
      state.SkipWithError("open");
      break;
    }
    EGifSetGifVersion(gif, false);  // GIF87a, as ours
    GifColorType colors[16];
    for (int i = 0; i < 16; ++i) {
      colors[i].Red = static_cast<GifByteType>(g_palette[3 * i] * 255 / 63);
      colors[i].Green = static_cast<GifByteType>(g_palette[3 * i + 1] * 255 / 63);
      colors[i].Blue = static_cast<GifByteType>(g_palette[3 * i + 2] * 255 / 63);
    }
    ColorMapObject* map = GifMakeMapObject(16, colors);
    bool ok = EGifPutScreenDesc(gif, W, H, 6, 0, map) == GIF_OK && EGifPutImageDesc(gif, 0, 0, W, H, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < H; ++y) ok = EGifPutLine(gif, g_screen[y], W) == GIF_OK;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK || !ok) state.SkipWithError("write");
  }
  state.SetLabel(screen_name(static_cast<int>(state.range(0))));
  state.counters["bytes"] = static_cast<double>(fs::file_size(name));
}
BENCHMARK(BM_Giflib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole dump through the numbered file name: 1 BMP, 2 grey PS, 3 colour PS, 4 GIF.
void BM_DumpScreen(benchmark::State& state) {
  scratch();
  make_varied_screen();
  const int type = static_cast<int>(state.range(0));
  double bytes = 0;
  for (auto _ : state) {
    char name[32] = "vkshot";
    if (!MXdumpscreen(name, type)) {
      state.SkipWithError("dump failed");
      break;
    }
    state.PauseTiming();
    bytes = static_cast<double>(fs::file_size(name));
    unlink(name);
    state.ResumeTiming();
  }
  const char* labels[] = {"", "BMP", "PostScript grey", "PostScript colour", "GIF"};
  state.SetLabel(labels[type]);
  state.counters["bytes"] = bytes;
}
BENCHMARK(BM_DumpScreen)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

}  // namespace
