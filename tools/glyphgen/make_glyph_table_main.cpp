// make_glyph_table: renders the program's two fonts through FreeType and writes
// them as a C++ data table (src/platform/glyph_table.inc) that the platform layer
// draws text from in every backend, so the pixels are the same in the window, on
// the headless screen and in the browser, and the program needs no font files.
//
// The faces are Adobe's Helvetica bitmaps for 75 dpi at 10 pixels to the em
// (Debian's xfonts-75dpi): regular for SMALL, bold for LARGE. Hand-tuned pixels, a
// real bold, an ascent of 10 and a descent of 2 (a 12-pixel cell, capitals 8 pixels
// high); they stay legible with lines 10 pixels apart.
//
// Usage: make_glyph_table [--regular FILE] [--bold FILE] --out FILE
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kRegularPath = "/usr/share/fonts/X11/75dpi/helvR10-ISO8859-1.pcf.gz";
constexpr const char* kBoldPath = "/usr/share/fonts/X11/75dpi/helvB10-ISO8859-1.pcf.gz";

// The cell height an outline face is sized to: ascent + descent, in pixels.
constexpr int kCellHeight = 12;

// Unicode of the Windows-1252 characters 128-159 (0: none). Text bytes are
// Windows-1252: Latin-1 with printable characters in 128-159.
constexpr unsigned short kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The fonts' licence (font-adobe-75dpi, from the package's copyright file); it
// must travel with every copy of the glyphs.
constexpr const char* kNotice[] = {
    "Copyright 1984-1989, 1994 Adobe Systems Incorporated.",
    "Copyright 1988, 1994 Digital Equipment Corporation.",
    "",
    "Adobe is a trademark of Adobe Systems Incorporated which may be",
    "registered in certain jurisdictions.",
    "Permission to use these trademarks is hereby granted only in",
    "association with the images described in this file.",
    "",
    "Permission to use, copy, modify, distribute and sell this software",
    "and its documentation for any purpose and without fee is hereby",
    "granted, provided that the above copyright notices appear in all",
    "copies and that both those copyright notices and this permission",
    "notice appear in supporting documentation, and that the names of",
    "Adobe Systems and Digital Equipment Corporation not be used in",
    "advertising or publicity pertaining to distribution of the software",
    "without specific, written prior permission.  Adobe Systems and",
    "Digital Equipment Corporation make no representations about the",
    "suitability of this software for any purpose.  It is provided \"as",
    "is\" without express or implied warranty.",
};

struct Glyph {
  int advance = 0, left = 0, top = 0, width = 0, rows = 0;  // placement from the pen on the baseline
  std::vector<bool> ink;  // rows x width
};

struct Font {
  int ascent = 0, height = 0;
  Glyph glyphs[256];
};

// Renders every byte value of one face without anti-aliasing. Control characters
// 1-31 and 127, and characters the face lacks, become blanks of a space's width.
bool load_face(FT_Library library, const char* path, Font* font) {
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
    g.ink.assign(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows), false);
    for (int r = 0; r < g.rows; ++r) {
      const unsigned char* src = bm.buffer + static_cast<long>(r) * bm.pitch;
      for (int c = 0; c < g.width; ++c)
        g.ink[static_cast<size_t>(r * g.width + c)] =
            bm.pixel_mode == FT_PIXEL_MODE_MONO ? (src[c >> 3] >> (7 - (c & 7))) & 1 : src[c] >= 128;
    }
    if (code == ' ') blank = g.advance;
  }
  for (int code = 1; code < 256; ++code) {
    Glyph& g = font->glyphs[code];
    if (g.advance == 0 && g.ink.empty()) g.advance = blank;
  }
  FT_Done_Face(face);
  return ok;
}

// One glyph's rows, each packed into whole bytes, leftmost pixel in the high bit,
// as lower-case hex.
std::string hex_rows(const Glyph& g) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (int r = 0; r < g.rows; ++r) {
    for (int c0 = 0; c0 < g.width; c0 += 8) {
      int byte = 0;
      for (int c = c0; c < c0 + 8; ++c)
        byte = byte << 1 | (c < g.width && g.ink[static_cast<size_t>(r * g.width + c)] ? 1 : 0);
      out += digits[byte >> 4];
      out += digits[byte & 15];
    }
  }
  return out;
}

const char* base_name(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash != nullptr ? slash + 1 : path;
}

void write_face(std::ofstream& out, const char* what, const char* path, const Font& font) {
  out << "// " << what << ": " << base_name(path) << "\n{" << font.ascent << ", " << font.height
      << ", {\n";
  for (int code = 0; code < 256; ++code) {
    const Glyph& g = font.glyphs[code];
    char comment[16];
    if (code > 32 && code < 127 && code != '\\')
      std::snprintf(comment, sizeof comment, "/* %3d %c */", code, code);
    else
      std::snprintf(comment, sizeof comment, "/* %3d   */", code);
    out << comment << " {" << g.advance << ", " << g.left << ", " << g.top << ", " << g.width
        << ", " << g.rows << ", \"" << hex_rows(g) << "\"},\n";
  }
  out << "}},\n";
}

}  // namespace

int main(int argc, char** argv) {
  const char* regular = kRegularPath;
  const char* bold = kBoldPath;
  const char* out_path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--regular") == 0 && has_value)
      regular = argv[++i];
    else if (std::strcmp(argv[i], "--bold") == 0 && has_value)
      bold = argv[++i];
    else if (std::strcmp(argv[i], "--out") == 0 && has_value)
      out_path = argv[++i];
    else {
      std::fprintf(stderr, "usage: make_glyph_table [--regular FILE] [--bold FILE] --out FILE\n");
      return 2;
    }
  }
  if (out_path == nullptr) {
    std::fprintf(stderr, "usage: make_glyph_table [--regular FILE] [--bold FILE] --out FILE\n");
    return 2;
  }

  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    std::fprintf(stderr, "make_glyph_table: can't start FreeType\n");
    return 1;
  }
  static Font fonts[2];
  const char* paths[2] = {regular, bold};
  for (int i = 0; i < 2; ++i) {
    if (!load_face(library, paths[i], &fonts[i])) {
      std::fprintf(stderr,
                   "make_glyph_table: can't load the font %s (Debian: install the package "
                   "xfonts-75dpi)\n",
                   paths[i]);
      FT_Done_FreeType(library);
      return 1;
    }
  }
  FT_Done_FreeType(library);

  std::ofstream out(out_path, std::ios::binary);
  out << "// The program's two fonts as data: generated by make_glyph_table (tools/glyphgen) from\n"
         "// "
      << base_name(regular) << " and " << base_name(bold)
      << "\n"
         "// (Debian package xfonts-75dpi). Do not edit; regenerate with\n"
         "//   build/tools/glyphgen/make_glyph_table --out src/platform/glyph_table.inc\n"
         "//\n"
         "// Per face: ascent, cell height, then one row per byte value 0-255 (Windows-1252):\n"
         "// advance, left, top (bitmap placement from the pen on the baseline), width, rows,\n"
         "// then the bitmap: each row packed into whole bytes, leftmost pixel in the high\n"
         "// bit, in hex.\n"
         "//\n"
         "// The fonts' licence:\n"
         "//\n";
  for (const char* line : kNotice) out << (*line != '\0' ? "// " : "//") << line << "\n";
  out << "\n";
  write_face(out, "SMALL (regular)", regular, fonts[0]);
  write_face(out, "LARGE (bold)", bold, fonts[1]);
  out.close();
  if (!out) {
    std::fprintf(stderr, "make_glyph_table: can't write %s\n", out_path);
    return 1;
  }
  return 0;
}
