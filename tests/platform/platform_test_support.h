// Shared set-up of the platform tests: a headless display with a 16-colour
// palette, fatal log entries turned into exceptions (FatalExit), and helpers that
// read the screen back as sets of pixels.
#pragma once
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "base/log.h"
#include "base/reader_test_support.h"  // FatalExit, throw_fatal
#include "platform/platform.h"
#include "platform/platform_headless.h"

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

// Every pixel of the screen whose index is colour.
inline PixelSet pixels_of(int colour) {
  PixelSet s;
  for (int y = 0; y < MXP_SCREEN_HEIGHT; ++y)
    for (int x = 0; x < MXP_SCREEN_WIDTH; ++x)
      if (MXPget_pixel(x, y) == colour) s.insert({x, y});
  return s;
}

// How many pixels of the screen have index colour.
inline size_t count_of(int colour) {
  size_t n = 0;
  for (int y = 0; y < MXP_SCREEN_HEIGHT; ++y)
    for (int x = 0; x < MXP_SCREEN_WIDTH; ++x) n += MXPget_pixel(x, y) == colour;
  return n;
}

// The pixels of the rectangle columns x0..x1, rows y0..y1 (inclusive).
inline PixelSet block(int x0, int y0, int x1, int y1) {
  PixelSet s;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) s.insert({x, y});
  return s;
}

inline PixelSet minus(PixelSet a, const PixelSet& b) {
  for (const auto& p : b) a.erase(p);
  return a;
}

// A headless display, 16 grey-ish colours, background 0, colour 0 and pen 1.
class HeadlessScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    MXsetfatalhandler(throw_fatal);
    MXPuse_headless(true);
    MXPinit_system("Demovar");
    unsigned char rgb[48];
    for (int i = 0; i < 48; ++i) rgb[i] = static_cast<unsigned char>((i * 7) % 64);
    MXPinit_palette(rgb, 16);
    MXPfill_rect(0, 0, MXP_SCREEN_WIDTH, MXP_SCREEN_HEIGHT);
  }
  void TearDown() override {
    closegraph();
    MXsetfatalhandler(nullptr);
  }
};
