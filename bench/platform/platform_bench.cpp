// Speed of the screen primitives on the headless display: filling and clearing the
// whole screen, drawing short texts, drawing picture rows, and exclusive-or boxes.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "platform/platform.h"
#include "platform/platform_headless.h"

namespace {

void open_display() {
  MXPuse_headless(true);
  MXPinit_system("Demovar");
  unsigned char rgb[48] = {};
  for (int i = 0; i < 48; ++i) rgb[i] = static_cast<unsigned char>(i);
  MXPinit_palette(rgb, 16);
}

void BM_FillAndClearScreen(benchmark::State& state) {
  open_display();
  for (auto _ : state) {
    MXsetcolor(9);
    MXPfill_rect(0, 0, 640, 480);
    MXsetcolor(0);
    MXPfill_rect(0, 0, 640, 480);
    benchmark::DoNotOptimize(MXPget_pixel(320, 240));
  }
  closegraph();
}
BENCHMARK(BM_FillAndClearScreen);

void BM_XorBoxTwice(benchmark::State& state) {
  open_display();
  MXPxormode(1);
  MXsetcolor(15);
  for (auto _ : state) {
    MXPframe_rect(50, 50, 400, 300);
    MXPframe_rect(50, 50, 400, 300);
  }
  MXPxormode(0);
  closegraph();
}
BENCHMARK(BM_XorBoxTwice);

void BM_Draw1000ShortTexts(benchmark::State& state) {
  open_display();
  MXsetcolor(1);
  char text[32];
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      std::snprintf(text, sizeof text, "Item %d", i);
      MXsetfont(i % 2 ? SMALL : LARGE);
      MXPdraw_string(10 + (i % 20) * 30, 12 + (i / 20) * 9, text);
    }
  }
  closegraph();
}
BENCHMARK(BM_Draw1000ShortTexts);

void BM_PictureRows(benchmark::State& state) {
  open_display();
  unsigned char row[640];
  for (int i = 0; i < 640; ++i) row[i] = static_cast<unsigned char>(i % 16);
  for (auto _ : state)
    for (int y = 0; y < 480; ++y) MXPfastrow(0, y, row, 640);
  closegraph();
}
BENCHMARK(BM_PictureRows);

}  // namespace
