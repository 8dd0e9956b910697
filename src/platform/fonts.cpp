// The two fonts: Adobe's Helvetica bitmaps at 10 pixels (a 12-pixel character
// cell), regular for SMALL and bold for LARGE, drawn without anti-aliasing with the
// baseline at the given row. The glyphs come from a table compiled into the
// program (glyph_table.inc, generated from the font files by tools/glyphgen), so
// every backend - the window, the headless screen, the browser - draws the same
// pixels and the program needs no font files or font library at run time.
//
// Text bytes are Windows-1252 (Latin-1 with printable characters in 128-159); the
// control characters 1-31 and 127 draw as blanks of the width of a space, as do
// characters the face lacks.
#include "platform/platform_internal.h"

namespace {

struct Glyph {
  int advance, left, top, width, rows;  // bitmap placement from the pen on the baseline
  const char* bits;  // rows of whole bytes in hex, leftmost pixel in the high bit
};

struct Font {
  int ascent, height;
  Glyph glyphs[256];
};

constexpr Font kFonts[2] = {  // 0: SMALL (regular), 1: LARGE (bold)
#include "platform/glyph_table.inc"
};

bool loaded = false;
FontSizeType gCurFont = SMALL;

const Font& current() { return kFonts[gCurFont == SMALL ? 0 : 1]; }

int hex_digit(char c) { return c <= '9' ? c - '0' : c - 'a' + 10; }

}  // namespace

void MXPopen_fonts() {
  loaded = true;
  gCurFont = SMALL;
}

void MXPclose_fonts() { loaded = false; }

void MXsetfont(FontSizeType size) { gCurFont = size == SMALL ? SMALL : LARGE; }
FontSizeType MXPgetfont() { return gCurFont; }

int MXtextheight() { return current().ascent; }

int MXtextwidth(const char* text) {
  if (text == nullptr) return 0;
  const Font& f = current();
  int width = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
    width += f.glyphs[*p].advance;
  return width;
}

void MXPdraw_string(int x, int y, const char* text) {
  if (text == nullptr || !loaded) return;
  const Font& f = current();
  long pen = x;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    const Glyph& g = f.glyphs[*p];
    if (pen > MXP_SCREEN_WIDTH) break;
    if (pen + g.left + g.width < 0) {  // wholly left of the screen
      pen += g.advance;
      continue;
    }
    const int row_digits = (g.width + 7) / 8 * 2;
    for (int r = 0; r < g.rows; ++r) {
      const char* bits = g.bits + r * row_digits;
      const long row = static_cast<long>(y) - g.top + r;
      if (row < 0 || row >= MXP_SCREEN_HEIGHT) continue;
      for (int c = 0; c < g.width; ++c)
        if ((hex_digit(bits[c >> 2]) >> (3 - (c & 3))) & 1)
          MXPtext_pixel(static_cast<int>(pen + g.left + c), static_cast<int>(row));
    }
    pen += g.advance;
  }
}
