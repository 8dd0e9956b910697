// The drawing primitives pixel by pixel: rectangles, frames, lines, ellipses and
// polygons with both pens, exclusive-or drawing, clipping, rows and reading back.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/platform_internal.h"
#include "platform_test_support.h"

namespace {

using Raster = HeadlessScreen;

// Fills the screen with a pattern of every index so that exclusive-or drawing has
// something to change.
void pattern() {
  std::srand(7);
  unsigned char row[MXP_SCREEN_WIDTH];
  for (int y = 0; y < MXP_SCREEN_HEIGHT; ++y) {
    for (unsigned char& p : row) p = static_cast<unsigned char>(std::rand() % 16);
    MXPfastrow(0, y, row, MXP_SCREEN_WIDTH);
  }
}

std::vector<unsigned char> snapshot() {
  std::vector<unsigned char> all(MXP_SCREEN_WIDTH * MXP_SCREEN_HEIGHT);
  for (int y = 0; y < MXP_SCREEN_HEIGHT; ++y) MXPget_row(y, &all[static_cast<size_t>(y) * MXP_SCREEN_WIDTH]);
  return all;
}

// A figure drawn alone in colour 4 with the given pen on a screen of colour 2,
// and the exact pixels it must cover: everything else keeps colour 2.
struct Figure {
  const char* what;
  int pen;
  std::function<void()> draw;
  PixelSet expected;
};

// A pentagram in one stroke, its middle wound twice.
const int kStar[] = {300, 140, 359, 321, 205, 209, 395, 209, 241, 321};
const int kSquare[] = {10, 10, 20, 10, 20, 20, 10, 20};
const int kTriangle[] = {100, 100, 110, 110, 100, 110};
const int kUShape[] = {10, 10, 20, 10, 20, 30, 30, 30, 30, 10, 40, 10, 40, 40, 10, 40};
const int kSquareTwice[] = {400, 10, 420, 10, 420, 30, 400, 30, 400, 10, 420, 10, 420, 30, 400, 30};
const int kSquareBothWays[] = {500, 10, 520, 10, 520, 30, 500, 30, 500, 10, 500, 30, 520, 30, 520, 10};
const PixelSet kCircleCorners = {{10, 10}, {13, 10}, {10, 13}, {13, 13}};
constexpr int kBig = 1000000000;
const int kHugeTriangle[] = {-kBig, -kBig, kBig, -kBig, 0, kBig};

// The set the definition gives: pixel centres inside or on the inscribed ellipse.
PixelSet ellipse_region(int x, int y, int w, int h) {
  PixelSet s;
  const double cx = x + w / 2.0, cy = y + h / 2.0, a = w / 2.0, b = h / 2.0;
  for (int py = y; py < y + h; ++py)
    for (int px = x; px < x + w; ++px) {
      const double u = (px + 0.5 - cx) / a, v = (py + 0.5 - cy) / b;
      if (u * u + v * v <= 1.0 + 1e-12) s.insert({px, py});
    }
  return s;
}

PixelSet boundary(const PixelSet& region) {
  PixelSet s;
  for (const auto& [x, y] : region)
    if (!region.count({x - 1, y}) || !region.count({x + 1, y}) || !region.count({x, y - 1}) ||
        !region.count({x, y + 1}))
      s.insert({x, y});
  return s;
}

PixelSet right_triangle() {  // legs of 10 from (100, 100): on or below the diagonal
  PixelSet s;
  for (int y = 100; y <= 110; ++y)
    for (int x = 100; x <= y; ++x) s.insert({x, y});
  return s;
}

TEST_F(Raster, FiguresCoverExactlyTheirPixels) {
  std::vector<Figure> figures = {
      {"rectangle from its corner", 1, [] { MXPfill_rect(10, 20, 5, 3); }, block(10, 20, 14, 22)},
      {"negative sizes count from the other corner", 1, [] { MXPfill_rect(15, 23, -5, -3); }, block(10, 20, 14, 22)},
      {"zero sizes draw nothing", 1, [] { MXPfill_rect(100, 100, 0, 10), MXPframe_rect(100, 100, 10, 0); }, {}},
      {"zero-size ellipse draws nothing", 1, [] { MXPfill_ellipse(100, 100, 0, 5); }, {}},
      {"frame: the outermost ring only", 1, [] { MXPframe_rect(10, 20, 5, 4); },
       minus(block(10, 20, 14, 23), block(11, 21, 13, 22))},
      // The 3-pixel pen grows outlines by one pixel each side.
      {"rectangle, pen 3", 3, [] { MXPfill_rect(10, 20, 5, 3); }, block(9, 19, 15, 23)},
      {"frame, pen 3", 3, [] { MXPframe_rect(100, 100, 10, 10); },  // ring on columns/rows 100 and 109
       minus(block(99, 99, 110, 110), block(102, 102, 107, 107))},
      {"line, pen 3", 3, [] { MXPline(200, 50, 205, 50); }, block(199, 49, 205, 51)},  // 200..204, 3 x 3 each
      // Lines include the start and exclude the end.
      {"horizontal line", 1, [] { MXPline(0, 0, 5, 0); }, block(0, 0, 4, 0)},
      {"upward line", 1, [] { MXPline(10, 9, 10, 5); }, block(10, 6, 10, 9)},
      {"diagonal line", 1, [] { MXPline(20, 20, 24, 24); }, {{20, 20}, {21, 21}, {22, 22}, {23, 23}}},
      {"line of no length", 1, [] { MXPline(30, 30, 30, 30); }, {}},
      // Slope 1/2: ideal y at x = 1 is 0.5, rounded away from the start.
      {"slope 1/2", 1, [] { MXPline(40, 40, 44, 42); }, {{40, 40}, {41, 41}, {42, 41}, {43, 42}}},
      {"slope 1/2 backwards", 1, [] { MXPline(44, 42, 40, 40); }, {{44, 42}, {43, 41}, {42, 41}, {41, 40}}},
      {"steep line", 1, [] { MXPline(50, 50, 52, 56); }, {{50, 50}, {50, 51}, {51, 52}, {51, 53}, {51, 54}, {52, 55}}},
      {"line from far outside", 1, [] { MXPline(-2000000000, 100, 2000000000, 100); }, block(0, 100, 639, 100)},
      // A 4 x 4 circle: the corner centres lie 1.5 from the middle on both axes,
      // outside the radius 2; every other pixel is in. The four middle pixels have
      // all their neighbours in, so the outline is the other eight.
      {"4 x 4 circle", 1, [] { MXPfill_ellipse(10, 10, 4, 4); }, minus(block(10, 10, 13, 13), kCircleCorners)},
      {"4 x 4 circle outline", 1, [] { MXPframe_ellipse(10, 10, 4, 4); },
       minus(minus(block(10, 10, 13, 13), kCircleCorners), block(11, 11, 12, 12))},
      {"square polygon includes its edges", 1, [] { MXPfillpoly(4, kSquare); }, block(10, 10, 20, 20)},
      {"right triangle", 1, [] { MXPfillpoly(3, kTriangle); }, right_triangle()},
      // A U shape: the notch between the arms (columns 21..29, rows 10..29) stays.
      {"concave polygon", 1, [] { MXPfillpoly(8, kUShape); }, minus(block(10, 10, 40, 40), block(21, 10, 29, 29))},
      // Non-zero winding: a square traced twice the same way round is wound twice
      // and filled; traced once each way it is wound zero times: only the outline.
      {"square traced twice", 1, [] { MXPfillpoly(8, kSquareTwice); }, block(400, 10, 420, 30)},
      {"square traced both ways", 1, [] { MXPfillpoly(8, kSquareBothWays); },
       minus(block(500, 10, 520, 30), block(501, 11, 519, 29))},
      // Figures far larger than the screen: only their visible part costs anything,
      // no coordinate sum overflows, and their outlines lie far outside.
      {"huge rectangle", 1, [] { MXPfill_rect(-kBig, -kBig, 2 * kBig, 2 * kBig); }, block(0, 0, 639, 479)},
      {"rows and columns -1 .. 2^31 - 2", 1, [] { MXPfill_rect(INT_MAX, INT_MAX, INT_MIN, INT_MIN); },
       block(0, 0, 639, 479)},
      {"huge ellipse", 1, [] { MXPfill_ellipse(-kBig, -kBig, 2 * kBig + 640, 2 * kBig + 480); }, block(0, 0, 639, 479)},
      {"huge triangle", 1, [] { MXPfillpoly(3, kHugeTriangle); }, block(0, 0, 639, 479)},
      {"huge outlines", 3, [] {
         MXPframe_rect(-kBig, -kBig, 2 * kBig, 2 * kBig), MXPframe_rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
         MXPframe_ellipse(-kBig, -kBig, 2 * kBig + 640, 2 * kBig + 480);
       }, {}},
  };
  // Ellipses of many sizes: the pixel centres inside or on the inscribed ellipse;
  // the outline, those of them with a neighbour outside.
  for (auto [w, h] : {std::pair{1, 1}, {2, 7}, {9, 9}, {10, 10}, {31, 12}, {2, 40}, {100, 3}, {57, 44}}) {
    figures.push_back({"ellipse", 1, [w, h] { MXPfill_ellipse(200, 150, w, h); }, ellipse_region(200, 150, w, h)});
    figures.push_back({"ellipse outline", 1, [w, h] { MXPframe_ellipse(200, 150, w, h); },
                       boundary(ellipse_region(200, 150, w, h))});
  }
  for (const Figure& f : figures) {
    MXsetlinesize(1);
    MXsetcolor(2);
    MXPfill_rect(0, 0, 640, 480);
    MXsetlinesize(f.pen);
    MXsetcolor(4);
    f.draw();
    EXPECT_EQ(pixels_of(4), f.expected) << f.what;
    EXPECT_EQ(count_of(2), 640u * 480u - f.expected.size()) << f.what;
  }
}

TEST_F(Raster, LineSizeAcceptsOnlyOneAndThree) {
  EXPECT_EQ(MXPgetlinesize(), 1);
  for (auto [size, kept] : {std::pair{3, 3}, {2, 3}, {0, 3}, {-1, 3}, {1, 1}}) {
    MXsetlinesize(size);
    EXPECT_EQ(MXPgetlinesize(), kept) << size;
  }
}

// Every figure, with both pens, where outline and fill or pen squares overlap:
// drawn twice in exclusive-or mode it leaves the screen as it was.
TEST_F(Raster, ExclusiveOrStoresIndexXorColourOnceAndUndoesItself) {
  pattern();
  const auto before = snapshot();
  MXPxormode(1);
  MXsetcolor(5);
  MXPfill_rect(10, 10, 30, 20);
  EXPECT_EQ(MXPget_pixel(12, 12), before[12 * 640 + 12] ^ 5);
  for (int pen : {1, 3}) {
    MXsetlinesize(pen);
    for (int twice = 0; twice < 2; ++twice) {
      MXPframe_rect(50, 50, 40, 30), MXPframe_rect(60, 60, 2, 2);
      MXPfill_ellipse(100, 100, 33, 21), MXPframe_ellipse(150, 100, 20, 40);
      MXPline(5, 5, 200, 77), MXPline(300, 10, 301, 200);
      MXPfillpoly(5, kStar), MXPdraw_pixel(600, 400);
    }
  }
  MXsetlinesize(1);
  MXPfill_rect(10, 10, 30, 20);
  EXPECT_EQ(snapshot(), before);
  MXPxormode(0);
  MXPfill_rect(0, 0, 640, 480);  // plain copy again
  EXPECT_EQ(count_of(5), 640u * 480u);
}

TEST_F(Raster, EverythingIsClippedToTheClipRectangleAndTheScreen) {
  MXPset_clip_rect(100, 50, 20, 10);
  MXsetcolor(2);
  MXPfill_rect(0, 0, 640, 480);
  EXPECT_EQ(pixels_of(2), block(100, 50, 119, 59));
  MXsetcolor(3);
  MXPline(0, 55, 640, 55);
  MXPfill_ellipse(90, 40, 40, 40);
  MXPframe_rect(95, 45, 10, 10);
  const int tri[] = {0, 0, 639, 0, 0, 479};
  MXPfillpoly(3, tri);
  MXPdraw_pixel(99, 50), MXPdraw_pixel(120, 55);
  const unsigned char fours[10] = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
  MXPfastrow(95, 52, fours, 10);
  EXPECT_EQ(count_of(0), 640u * 480u - 200u);  // nothing outside the 20 x 10 pixels
  EXPECT_EQ(MXPget_pixel(104, 52), 4);
  EXPECT_EQ(MXPget_pixel(105, 52), 3);
  MXPset_clip_rect(0, 0, 640, 480);
  MXsetcolor(6);
  MXPfill_rect(0, 0, 640, 480);
  EXPECT_EQ(count_of(6), 640u * 480u);
  // Rows are drawn and read as indices, at most one screen row, clipped at both
  // edges; outside the screen reads zero.
  unsigned char row[700], back[640];
  for (int i = 0; i < 700; ++i) row[i] = static_cast<unsigned char>(i % 251);
  MXPfastrow(0, 7, row, 700);
  EXPECT_EQ(MXPget_row(7, back), back);
  EXPECT_TRUE(std::equal(back, back + 640, row));
  MXPfastrow(630, 8, row, 20);
  MXPfastrow(-5, 9, row, 10);
  EXPECT_EQ(std::vector<int>({MXPget_pixel(639, 8), MXPget_pixel(0, 9), MXPget_pixel(4, 9), MXPget_pixel(5, 9)}),
            std::vector<int>({9, 5, 9, 6}));
  MXsetcolor(9);
  MXPfill_rect(0, 0, 640, 480);
  EXPECT_EQ(MXPget_pixel(-1, 0) + MXPget_pixel(640, 0) + MXPget_pixel(0, 480), 0);
  EXPECT_EQ(MXPget_row(480, back)[0], 0);
}

TEST(Palette, ReadsZeroUntilAPaletteIsInstalledAndShowsComponentsTimesFour) {
  MXPuse_headless(true);
  MXPinit_system("Demovar");
  MXsetcolor(7);
  MXPfill_rect(0, 0, 10, 10);
  unsigned char row[640];
  EXPECT_EQ(MXPget_pixel(3, 3) + MXPget_row(3, row)[3], 0);
  const unsigned char rgb[] = {0, 0, 0, 63, 32, 1, 10, 20, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9, 63, 63, 63, 0, 0, 63};
  MXPinit_palette(rgb, 8);
  EXPECT_EQ(MXPget_pixel(3, 3), 7);
  const auto one = MXPdisplay_color(1);  // entry 8 lies beyond the installed entries
  EXPECT_EQ(std::vector<int>({one.r, one.g, one.b, MXPdisplay_color(7).b, MXPdisplay_color(8).r}),
            std::vector<int>({252, 128, 4, 252, 0}));
  closegraph();
}

}  // namespace
