// The two fonts, through FreeType: a Helvetica-like sans-serif with a 12-pixel
// character cell, regular for SMALL and bold for LARGE, drawn without
// anti-aliasing with the baseline at the given row. Every glyph of the 8-bit
// character set is rendered once when the display opens and kept as a bitmap.
//
// Text bytes are Windows-1252 (Latin-1 with printable characters in 128-159); the
// control characters 1-31 and 127 draw as blanks of the width of a space, as do
// characters the face lacks.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/log.h"
#include "platform/platform_internal.h"

namespace {

// The cell height every face is sized to: ascent + descent, in pixels.
constexpr int kCellHeight = 12;

// Where the faces are looked for, in order of preference; the first pair whose
// files both load is used. First Adobe's Helvetica bitmaps for 75 dpi at 10
// pixels to the em (xfonts-75dpi): hand-tuned pixels, a real bold, an ascent of 10
// and descent of 2, so exactly the 12-pixel cell, with capitals 8 pixels high; it
// stays legible with lines 10 pixels apart. Outline faces rendered without
// anti-aliasing at that size come next: they are plainer and their bold is hard
// to tell from the regular weight. VARNOCK_FONT_REGULAR and VARNOCK_FONT_BOLD name
// other files (both must be given).
struct FacePair {
  const char* regular;
  const char* bold;
};
constexpr FacePair kFaces[] = {
    {"/usr/share/fonts/X11/75dpi/helvR10-ISO8859-1.pcf.gz",
     "/usr/share/fonts/X11/75dpi/helvB10-ISO8859-1.pcf.gz"},
    {"/usr/share/fonts/X11/75dpi/helvR10.pcf.gz", "/usr/share/fonts/X11/75dpi/helvB10.pcf.gz"},
    {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
     "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"},
    {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
     "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"},
    {"/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf",
     "/usr/share/fonts/opentype/urw-base35/NimbusSans-Bold.otf"},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
     "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
};

// Unicode of the Windows-1252 characters 128-159 (0: none).
constexpr unsigned short kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

struct Glyph {
  int left = 0, top = 0, width = 0, rows = 0;  // bitmap placement from the pen on the baseline
  int advance = 0;
  std::vector<uint8_t> bits;  // rows x width, 1 where the glyph has ink
};

struct Font {
  int ascent = 0, height = 0;
  Glyph glyphs[256];
};

FT_Library library = nullptr;
Font fonts[2];  // 0: SMALL (regular), 1: LARGE (bold)
bool loaded = false;
FontSizeType gCurFont = SMALL;

const Font& current() { return fonts[gCurFont == SMALL ? 0 : 1]; }

bool load_face(const char* path, Font* font) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, path, 0, &face) != 0) return false;
  bool ok = true;
  if (FT_IS_SCALABLE(face)) {
    // Size the em so that the face's ascent + descent (the Windows metrics where the
    // face has them) make the 12-pixel cell, as a font asked for by cell height is.
    double asc = face->ascender, desc = -face->descender;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
      asc = os2->usWinAscent;
      desc = os2->usWinDescent;
    }
    const double em = kCellHeight * face->units_per_EM / (asc + desc);
    ok = FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72) == 0;
    font->ascent = static_cast<int>(std::lround(asc * em / face->units_per_EM));
    font->height = kCellHeight;
  } else {
    ok = face->num_fixed_sizes > 0 && FT_Select_Size(face, 0) == 0;
    if (ok) {
      font->ascent = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
      font->height = font->ascent + static_cast<int>((-face->size->metrics.descender + 32) >> 6);
    }
  }
  if (ok) FT_Select_Charmap(face, FT_ENCODING_UNICODE);

  // The blank: a space's advance, or a third of the cell when the face has none.
  int blank = kCellHeight / 3;
  for (int code = 0; ok && code < 256; ++code) {
    Glyph& g = font->glyphs[code];
    g = Glyph{};
    unsigned long unicode = static_cast<unsigned long>(code);
    if (code >= 128 && code < 160) unicode = kCp1252High[code - 128];
    if (code < 32 || code == 127 || unicode == 0) continue;
    const FT_UInt index = FT_Get_Char_Index(face, unicode);
    if (index == 0) continue;
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
      continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.bits.assign(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows), 0);
    for (int r = 0; r < g.rows; ++r) {
      const unsigned char* src = bm.buffer + static_cast<long>(r) * bm.pitch;
      for (int c = 0; c < g.width; ++c) {
        const bool ink = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (src[c >> 3] >> (7 - (c & 7))) & 1
                                                             : src[c] >= 128;
        g.bits[static_cast<size_t>(r * g.width + c)] = ink ? 1 : 0;
      }
    }
    if (code == ' ') blank = g.advance;
  }
  // Blanks for control characters and characters the face lacks.
  for (int code = 1; code < 256; ++code) {
    Glyph& g = font->glyphs[code];
    if (g.advance == 0 && g.bits.empty()) g.advance = blank;
  }
  FT_Done_Face(face);
  return ok;
}

}  // namespace

void MXPopen_fonts() {
  if (loaded) return;
  if (library == nullptr && FT_Init_FreeType(&library) != 0)
    MXelog(-1, "Can't start the font renderer.\n");
  const char* env_regular = std::getenv("VARNOCK_FONT_REGULAR");
  const char* env_bold = std::getenv("VARNOCK_FONT_BOLD");
  if (env_regular != nullptr && env_bold != nullptr) {
    if (load_face(env_regular, &fonts[0]) && load_face(env_bold, &fonts[1])) loaded = true;
  }
  for (const FacePair& pair : kFaces) {
    if (loaded) break;
    if (load_face(pair.regular, &fonts[0]) && load_face(pair.bold, &fonts[1])) loaded = true;
  }
  if (!loaded) {
    FT_Done_FreeType(library);
    library = nullptr;
    MXelog(-1,
           "Can't find a font: install the package xfonts-75dpi (Helvetica) or "
           "fonts-liberation2 (Liberation Sans).\n");
  }
  gCurFont = SMALL;
}

void MXPclose_fonts() {
  if (library != nullptr) FT_Done_FreeType(library);
  library = nullptr;
  loaded = false;
}

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
    for (int r = 0; r < g.rows; ++r) {
      const uint8_t* bits = g.bits.data() + static_cast<size_t>(r * g.width);
      const long row = static_cast<long>(y) - g.top + r;
      if (row < 0 || row >= MXP_SCREEN_HEIGHT) continue;
      for (int c = 0; c < g.width; ++c)
        if (bits[c]) MXPtext_pixel(static_cast<int>(pen + g.left + c), static_cast<int>(row));
    }
    pen += g.advance;
  }
}
