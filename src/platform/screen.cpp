// The screen and its rasteriser: a 640 x 480 array of palette indices, the current
// colour, pen width, drawing mode and clip rectangle, and the drawing primitives.
//
// Pixel conventions (those of the classic GDI calls the rest of the system was
// written against):
// - A rectangle (x, y, w, h) covers columns x .. x+w-1 and rows y .. y+h-1; the
//   outline of a filled or framed rectangle lies on its outermost pixels. A
//   negative width or height counts from the other corner (x+w .. x-1), as GDI
//   orders the corners of a rectangle; a zero size draws nothing.
// - A line covers its start point and excludes its end point (GDI LineTo), so the
//   edges of a closed figure drawn in exclusive-or mode meet without a gap and
//   without a pixel drawn twice. Along the longer axis every pixel is set; the
//   shorter coordinate is rounded to the nearest pixel, halves away from the start.
// - An ellipse covers the pixels of its rectangle whose centres lie inside or on
//   the ellipse inscribed in the rectangle; its outline is the covered pixels that
//   have an uncovered pixel above, below, left or right.
// - A polygon's inside is the pixels whose centres have a non-zero winding number;
//   its outline is the lines from each vertex to the next and from the last back
//   to the first, so a filled polygon includes its edges.
// - The 3-pixel pen draws, for every pixel of the 1-pixel outline or line, the
//   3 x 3 square centred on it: the outline grows by one pixel on either side.
// - Exclusive-or mode stores index XOR colour. A figure changes each pixel at most
//   once even where its outline and inside or its pen squares overlap, so drawing
//   the same figure twice leaves the screen as it was.
// - Every write to the screen (figures, pixels, text, rows, backing-store copies)
//   is clipped to the clip rectangle. Text, rows and backing-store copies always
//   copy; the exclusive-or mode applies to lines, outlines, fills and pixels.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "base/log.h"
#include "platform/platform_internal.h"

uint8_t MXPscreen[MXP_SCREEN_HEIGHT][MXP_SCREEN_WIDTH];
bool MXPscreen_dirty = true;

namespace {

constexpr int W = MXP_SCREEN_WIDTH;
constexpr int H = MXP_SCREEN_HEIGHT;

uint8_t gCurColor = 0;
int gLineSize = 1;
bool gXor = false;

// Clip rectangle as half-open bounds, always within the screen.
int clip_x0 = 0, clip_y0 = 0, clip_x1 = W, clip_y1 = H;

// Palette: 8-bit display colours, and whether a palette has been installed.
MXPRgb palette[256];
bool madePalette = false;

// Marks of the pixels the current figure has changed (exclusive-or mode only): a
// pixel is marked when its entry equals the figure's generation number.
uint32_t marks[H][W];
uint32_t generation = 0;

// Backing store: slots 1 to 5 (0 unused).
struct BackingSlot {
  bool has_image = false;
  int image_w = 0, image_h = 0;
  std::vector<uint8_t> image;
  int saved_w = 0, saved_h = 0;  // 0 and 0 when nothing is saved
};
BackingSlot slots[6];

void begin_figure() {
  if (!gXor) return;
  if (++generation == 0) {  // wrapped: forget every old mark
    std::memset(marks, 0, sizeof marks);
    generation = 1;
  }
}

// One pixel in the current colour and mode, clipped.
inline void plot(int x, int y) {
  if (x < clip_x0 || x >= clip_x1 || y < clip_y0 || y >= clip_y1) return;
  if (gXor) {
    if (marks[y][x] == generation) return;
    marks[y][x] = generation;
    MXPscreen[y][x] ^= gCurColor;
  } else {
    MXPscreen[y][x] = gCurColor;
  }
  MXPscreen_dirty = true;
}

// Columns xa .. xb (inclusive) of row y in the current colour and mode, clipped.
void span(long long y, long long xa, long long xb) {
  if (y < clip_y0 || y >= clip_y1) return;
  xa = std::max<long long>(xa, clip_x0);
  xb = std::min<long long>(xb, clip_x1 - 1);
  if (xa > xb) return;
  uint8_t* row = MXPscreen[y];
  if (gXor) {
    uint32_t* mark = marks[y];
    for (long long x = xa; x <= xb; ++x) {
      if (mark[x] == generation) continue;
      mark[x] = generation;
      row[x] ^= gCurColor;
    }
  } else {
    std::memset(row + xa, gCurColor, static_cast<size_t>(xb - xa + 1));
  }
  MXPscreen_dirty = true;
}

// Columns xa .. xb of row y as outline pixels drawn with the current pen.
void pen_span(long long y, long long xa, long long xb) {
  if (gLineSize == 1) {
    span(y, xa, xb);
  } else {
    for (int dy = -1; dy <= 1; ++dy) span(y + dy, xa - 1, xb + 1);
  }
}

// One pixel of an outline or line drawn with the current pen.
inline void pen_pixel(int x, int y) {
  if (gLineSize == 1) plot(x, y);
  else pen_span(y, x, x);
}

// The pixels of the line from (x1, y1) towards (x2, y2), end point excluded.
// Only the steps whose major coordinate can be on the screen (with the wide pen's
// margin) are walked, so far-away end points cost nothing.
void line_pixels(long long x1, long long y1, long long x2, long long y2) {
  const long long dx = x2 - x1, dy = y2 - y1;
  const long long ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
  const long long sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const bool x_major = ax >= ay;
  const long long n = x_major ? ax : ay;
  if (n == 0) return;
  const long long minor_len = x_major ? ay : ax;
  const long long major0 = x_major ? x1 : y1, minor0 = x_major ? y1 : x1;
  const long long major_dir = x_major ? sx : sy, minor_dir = x_major ? sy : sx;
  const long long limit = x_major ? W : H;
  long long i0 = 0, i1 = n - 1;
  if (major_dir > 0) {
    i0 = std::max(i0, -2 - major0);
    i1 = std::min(i1, limit + 1 - major0);
  } else {
    i0 = std::max(i0, major0 - (limit + 1));
    i1 = std::min(i1, major0 + 2);
  }
  for (long long i = i0; i <= i1; ++i) {
    const long long major = major0 + major_dir * i;
    const long long offset = static_cast<long long>(
        (static_cast<__int128>(2 * i) * minor_len + n) / (static_cast<__int128>(2) * n));
    const long long minor = minor0 + minor_dir * offset;
    const long long x = x_major ? major : minor, y = x_major ? minor : major;
    if (x < -2 || x > W + 1 || y < -2 || y > H + 1) continue;
    pen_pixel(static_cast<int>(x), static_cast<int>(y));
  }
}

// A rectangle with its corners ordered as GDI orders them, in 64 bits so that no
// sum of coordinates overflows: columns x0 .. x1, rows y0 .. y1 (inclusive).
struct Box {
  long long x0, y0, x1, y1;
};

// False when the rectangle covers nothing (a zero width or height).
bool normalise(int x, int y, int w, int h, Box* box) {
  if (w == 0 || h == 0) return false;
  long long xa = x, ya = y, wa = w, ha = h;
  if (wa < 0) {
    xa += wa;
    wa = -wa;
  }
  if (ha < 0) {
    ya += ha;
    ha = -ha;
  }
  *box = {xa, ya, xa + wa - 1, ya + ha - 1};
  return true;
}

// The rows a figure needs to visit: those of the clip rectangle, widened by the
// wide pen's reach, within first .. last.
long long first_row(long long first) { return std::max<long long>(first, clip_y0 - 2); }
long long last_row(long long last) { return std::min<long long>(last, clip_y1 + 1); }

void rect_outline(const Box& b) {
  pen_span(b.y0, b.x0, b.x1);
  if (b.y1 != b.y0) pen_span(b.y1, b.x0, b.x1);
  for (long long r = first_row(b.y0 + 1), end = last_row(b.y1 - 1); r <= end; ++r) {
    pen_span(r, b.x0, b.x0);
    if (b.x1 != b.x0) pen_span(r, b.x1, b.x1);
  }
}

long long isqrt(unsigned long long q) {
  auto r = static_cast<unsigned long long>(std::sqrt(static_cast<long double>(q)));
  while (r > 0 && static_cast<unsigned __int128>(r) * r > q) --r;
  while (static_cast<unsigned __int128>(r + 1) * (r + 1) <= q) ++r;
  return static_cast<long long>(r);
}

// The ellipse inscribed in a rectangle of w x h pixels whose left column is x.
// A pixel is in when its centre satisfies (X/w)^2 + (Y/h)^2 <= 1/4, with X, Y the
// centre's offsets from the ellipse's centre. Doubled to stay in integers:
// X2 = 2 px + 1 - (2x + w), Y2 likewise; in when X2^2 h^2 + Y2^2 w^2 <= w^2 h^2.
struct EllipseRows {
  long long x, w, h;
  // Row i (0 .. h-1): columns *left .. *right; false when the row is empty.
  bool row(long long i, long long* left, long long* right) const {
    if (i < 0 || i >= h) return false;
    const __int128 ww = static_cast<__int128>(w) * w, hh = static_cast<__int128>(h) * h;
    const __int128 y2 = 2 * i + 1 - h;
    const __int128 room = ww * hh - y2 * y2 * ww;
    if (room < 0) return false;
    // Largest X2 >= 0 with X2^2 <= room / hh and the parity of w + 1.
    long long x2 = isqrt(static_cast<unsigned long long>(room / hh));
    if ((x2 - (w + 1)) % 2 != 0) --x2;
    if (x2 < 0) return false;
    const long long j = (x2 + w - 1) / 2;  // the column offset of X2
    *right = x + j;
    *left = x + (w - 1 - j);
    return true;
  }
};

void ellipse(int x, int y, int w, int h, bool fill) {
  Box b;
  if (!normalise(x, y, w, h, &b)) return;
  begin_figure();
  const EllipseRows e{b.x0, b.x1 - b.x0 + 1, b.y1 - b.y0 + 1};
  for (long long r = first_row(b.y0), end = last_row(b.y1); r <= end; ++r) {
    const long long i = r - b.y0;
    long long l, rt;
    if (!e.row(i, &l, &rt)) continue;
    if (fill) span(r, l, rt);
    // The outline: the row's pixels without a neighbour above and below inside,
    // which leaves the columns a .. b of the row inside both neighbour rows.
    long long a = l + 1, bb = rt - 1, nl, nr;
    if (e.row(i - 1, &nl, &nr)) a = std::max(a, nl), bb = std::min(bb, nr);
    else bb = a - 1;
    if (e.row(i + 1, &nl, &nr)) a = std::max(a, nl), bb = std::min(bb, nr);
    else bb = a - 1;
    // Only the visible part of a long edge run is worth drawing.
    const long long lo = clip_x0 - 2, hi = clip_x1 + 1;
    if (a > bb) {
      pen_span(r, std::max(l, lo), std::min(rt, hi));
    } else {
      pen_span(r, std::max(l, lo), std::min(a - 1, hi));
      pen_span(r, std::max(bb + 1, lo), std::min(rt, hi));
    }
  }
}

__int128 floor_div(__int128 a, __int128 b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

MXPRgb MXPdisplay_color(int index) { return palette[index & 0xff]; }

void MXPreset_screen_state() {
  std::memset(MXPscreen, 0, sizeof MXPscreen);
  MXPscreen_dirty = true;
  gCurColor = 0;
  gLineSize = 1;
  gXor = false;
  clip_x0 = 0, clip_y0 = 0, clip_x1 = W, clip_y1 = H;
  std::memset(palette, 0, sizeof palette);
  madePalette = false;
  for (BackingSlot& s : slots) s = BackingSlot{};
}

void MXPrelease_screen() {
  for (BackingSlot& s : slots) s = BackingSlot{};
}

// Colour, pen and mode ---------------------------------------------------------

void MXPinit_palette(const unsigned char* rgb, int n) {
  if (n <= 0 || rgb == nullptr) MXelog(-1, "Couldn't allocate palette.\n");
  n = std::min(n, 256);
  std::memset(palette, 0, sizeof palette);
  for (int i = 0; i < n; ++i) {
    // 6-bit components; larger values are taken as full intensity.
    auto scale = [](unsigned char c) { return static_cast<uint8_t>(std::min<int>(c, 63) * 4); };
    palette[i] = {scale(rgb[3 * i]), scale(rgb[3 * i + 1]), scale(rgb[3 * i + 2])};
  }
  madePalette = true;
  MXPscreen_dirty = true;
}

void MXsetcolor(int index) { gCurColor = static_cast<uint8_t>(index); }
int MXgetcolor() { return gCurColor; }

void MXsetlinesize(int n) {
  if (n == 1 || n == 3) gLineSize = n;
}
int MXPgetlinesize() { return gLineSize; }

void MXPxormode(int flag) { gXor = flag != 0; }
void MXPinvertmode(int flag) { gXor = flag != 0; }

// Drawing -----------------------------------------------------------------------

void MXPline(int x1, int y1, int x2, int y2) {
  begin_figure();
  line_pixels(x1, y1, x2, y2);
}

void MXPdraw_pixel(int x, int y) {
  begin_figure();
  plot(x, y);
}

void MXPfill_rect(int x, int y, int w, int h) {
  Box b;
  if (!normalise(x, y, w, h, &b)) return;
  begin_figure();
  // The outline lies on the rectangle's own pixels with the 1-pixel pen and one
  // pixel beyond them with the 3-pixel pen; with the fill it covers the whole.
  const long long grow = gLineSize == 3 ? 1 : 0;
  for (long long r = first_row(b.y0 - grow), end = last_row(b.y1 + grow); r <= end; ++r)
    span(r, b.x0 - grow, b.x1 + grow);
}

void MXPframe_rect(int x, int y, int w, int h) {
  Box b;
  if (!normalise(x, y, w, h, &b)) return;
  begin_figure();
  rect_outline(b);
}

void MXPfill_ellipse(int x, int y, int w, int h) { ellipse(x, y, w, h, true); }
void MXPframe_ellipse(int x, int y, int w, int h) { ellipse(x, y, w, h, false); }

void MXPfillpoly(int n, const int* points) {
  if (n < 2 || points == nullptr) return;
  std::vector<long long> vx, vy;
  try {
    vx.resize(static_cast<size_t>(n));
    vy.resize(static_cast<size_t>(n));
  } catch (const std::bad_alloc&) {
    MXelog(-1, "Couldn't allocate point array in MXPfillpoly.\n");
  }
  long long ymin = points[1], ymax = points[1];
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    vx[i] = points[2 * i];
    vy[i] = points[2 * i + 1];
    ymin = std::min(ymin, vy[i]);
    ymax = std::max(ymax, vy[i]);
  }
  begin_figure();

  // Inside: for each row, where its centre line (y + 1/2) crosses the edges. A
  // crossing at x = N / D makes the pixels from ceil((2N - D) / 2D) on lie right of
  // it (their centres x + 1/2 >= N / D); the winding number changes there by +1
  // for a downward edge and -1 for an upward one.
  struct Crossing {
    long long first_px;
    int dir;
  };
  std::vector<Crossing> crossings;
  const long long row0 = std::max<long long>(ymin, clip_y0);
  const long long row1 = std::min<long long>(ymax - 1, clip_y1 - 1);
  for (long long py = row0; py <= row1; ++py) {
    crossings.clear();
    for (int i = 0; i < n; ++i) {
      const size_t a = static_cast<size_t>(i), b = static_cast<size_t>((i + 1) % n);
      long long ya = vy[a], yb = vy[b], xa = vx[a], xb = vx[b];
      if (ya == yb) continue;
      // The centre line 2py + 1 lies strictly between 2ya and 2yb or not at all.
      const long long c = 2 * py + 1;
      if (!((2 * ya < c && c < 2 * yb) || (2 * yb < c && c < 2 * ya))) continue;
      const int dir = yb > ya ? 1 : -1;
      __int128 num = static_cast<__int128>(2 * xa) * (yb - ya) +
                     static_cast<__int128>(c - 2 * ya) * (xb - xa);
      __int128 den = 2 * (yb - ya);
      if (den < 0) {
        num = -num;
        den = -den;
      }
      // first_px = ceil((2num - den) / (2den))
      const long long first = static_cast<long long>(-floor_div(-(2 * num - den), 2 * den));
      crossings.push_back({first, dir});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& p, const Crossing& q) { return p.first_px < q.first_px; });
    int winding = 0;
    for (size_t k = 0; k + 1 < crossings.size(); ++k) {
      winding += crossings[k].dir;
      if (winding == 0) continue;
      const long long xa = std::max<long long>(crossings[k].first_px, clip_x0);
      const long long xb = std::min<long long>(crossings[k + 1].first_px - 1, clip_x1 - 1);
      if (xa <= xb) span(static_cast<int>(py), static_cast<int>(xa), static_cast<int>(xb));
    }
  }
  // Outline: the closed chain of edges.
  for (int i = 0; i < n; ++i) {
    const size_t a = static_cast<size_t>(i), b = static_cast<size_t>((i + 1) % n);
    line_pixels(vx[a], vy[a], vx[b], vy[b]);
  }
}

void MXPset_clip_rect(int x, int y, int w, int h) {
  long long x0 = x, y0 = y, x1 = 1LL * x + w, y1 = 1LL * y + h;
  if (w < 0) std::swap(x0, x1);
  if (h < 0) std::swap(y0, y1);
  clip_x0 = static_cast<int>(std::clamp<long long>(x0, 0, W));
  clip_x1 = static_cast<int>(std::clamp<long long>(x1, 0, W));
  clip_y0 = static_cast<int>(std::clamp<long long>(y0, 0, H));
  clip_y1 = static_cast<int>(std::clamp<long long>(y1, 0, H));
}

void MXPfastrow(int x, int y, const unsigned char* pixels, int n) {
  if (pixels == nullptr || y < clip_y0 || y >= clip_y1) return;
  n = std::min(n, W);
  // Columns x .. x+n-1 within the clip, as pixel offsets first .. last.
  const long long first = std::max<long long>(0, clip_x0 - 1LL * x);
  const long long last = std::min<long long>(n - 1, clip_x1 - 1 - 1LL * x);
  if (first > last) return;
  std::memcpy(&MXPscreen[y][x + first], pixels + first, static_cast<size_t>(last - first + 1));
  MXPscreen_dirty = true;
}

// Writes a glyph pixel for the fonts: plain copy of the current colour, clipped.
void MXPtext_pixel(int x, int y) {
  if (x < clip_x0 || x >= clip_x1 || y < clip_y0 || y >= clip_y1) return;
  MXPscreen[y][x] = gCurColor;
  MXPscreen_dirty = true;
}

// Reading the screen --------------------------------------------------------------

int MXPget_pixel(int x, int y) {
  if (!madePalette || x < 0 || x >= W || y < 0 || y >= H) return 0;
  return MXPscreen[y][x];
}

unsigned char* MXPget_row(int y, unsigned char* buffer) {
  if (buffer == nullptr) return buffer;
  if (!madePalette || y < 0 || y >= H) std::memset(buffer, 0, W);
  else std::memcpy(buffer, MXPscreen[y], W);
  return buffer;
}

// Backing store -------------------------------------------------------------------

int MXPinit_bstore(int slot, int w, int h) {
  if (slot < 1 || slot > 5) return 0;
  BackingSlot& s = slots[slot];
  s = BackingSlot{};
  if (w < 1 || h < 1) return 1;
  // Like an off-screen bitmap of the window system, an image has a size limit:
  // anything beyond 64 M pixels (a hundred screens and more) cannot be made.
  if (static_cast<long long>(w) * h > (1LL << 26)) return 0;
  try {
    s.image.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  } catch (const std::bad_alloc&) {
    s = BackingSlot{};
    return 0;
  }
  s.has_image = true;
  s.image_w = w;
  s.image_h = h;
  return 1;
}

int MXPto_bstore(int slot, int x, int y, int w, int h) {
  if (slot < 1 || slot > 5 || (!slots[slot].has_image && slots[slot].saved_w <= 0))
    MXelog(-1, "Error:  attempt to copy from null bstore %d.\n", slot);
  BackingSlot& s = slots[slot];
  if (s.saved_w > 0) return 0;
  // The part of the area that fits the image is kept; screen pixels outside the
  // screen read as 0.
  const int cw = std::min(std::max(w, 0), s.image_w), ch = std::min(std::max(h, 0), s.image_h);
  for (int r = 0; r < ch; ++r) {
    for (int c = 0; c < cw; ++c) {
      const long long sx = 1LL * x + c, sy = 1LL * y + r;
      const bool on = sx >= 0 && sx < W && sy >= 0 && sy < H;
      s.image[static_cast<size_t>(r) * static_cast<size_t>(s.image_w) + static_cast<size_t>(c)] =
          on ? MXPscreen[sy][sx] : 0;
    }
  }
  s.saved_w = std::max(w, 0);
  s.saved_h = std::max(h, 0);
  return 1;
}

int MXPfrom_bstore(int slot, int x, int y) {
  if (slot < 1 || slot > 5) return 0;
  BackingSlot& s = slots[slot];
  if (s.saved_w > 0 && s.saved_h > 0 && s.has_image) {
    const int cw = std::min(s.saved_w, s.image_w), ch = std::min(s.saved_h, s.image_h);
    for (int r = 0; r < ch; ++r) {
      const long long sy = 1LL * y + r;
      if (sy < clip_y0 || sy >= clip_y1) continue;
      for (int c = 0; c < cw; ++c) {
        const long long sx = 1LL * x + c;
        if (sx < clip_x0 || sx >= clip_x1) continue;
        MXPscreen[sy][sx] =
            s.image[static_cast<size_t>(r) * static_cast<size_t>(s.image_w) + static_cast<size_t>(c)];
      }
    }
    MXPscreen_dirty = true;
  }
  s.saved_w = 0;
  s.saved_h = 0;
  return 1;
}
