// Screen dumps to BMP, PostScript and GIF: choosing a new numbered file name,
// the three writers, and the progress mark drawn while the screen is written.
#include "pictures/screen_dump.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/log.h"
#include "pictures/gif_writer.h"
#include "platform/platform.h"
#include "startup/filenames.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRowBytes = kWidth / 2;           // 4 bits a pixel
constexpr uint32_t kImageSize = kRowBytes * kHeight;  // 153600
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kColorTableSize = 16 * 4;
constexpr uint32_t kOffBits = kFileHeaderSize + kInfoHeaderSize + kColorTableSize;  // 118

// The program's own screen: rows of the platform layer, colours of the interface
// library's palette, progress points in white on "root", and the application's
// repaint afterwards.
int saved_color = 0;
int saved_window = 0;

void screen_begin() {
  saved_color = MXgetcolor();
  // Kept by number rather than by name: a window name may be of any length.
  saved_window = InfState.cw;
  MXsetcolor(MXconvertcolor("white"));
  MXsetcurrentnamedwindow("root");
}

void screen_end() {
  MXsetcolor(saved_color);
  MXPsetcurrentwindow(saved_window);
  MXcall_plain(InfState.redrawfunc);
}

const ScreenDumpSource kScreen{MXPget_row, Interface_Palette, MXwdrawpoint, screen_begin, screen_end};

ScreenDumpSource source = kScreen;
unsigned char rowbuf[kWidth];  // the row gpixel is serving

// The colour table and pixels are written with 6-bit palette components shown
// at four times their value, as on the screen.
int component(int index, int which) { return source.palette[3 * (index & 0xFF) + which] << 2; }

// Five points at each edge of row y show how far the dump has come; the repaint
// after the dump removes them.
void mark_row(int y) {
  if (!source.draw_point) return;
  for (int i = 0; i <= 4; ++i) {
    source.draw_point(i, y);
    source.draw_point(kWidth - i, y);
  }
}

void begin_frame() {
  if (source.begin) source.begin();
}

void end_frame() {
  if (source.end) source.end();
}

bool have_source() { return source.get_row && source.palette; }

void put_word(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

void put_dword(unsigned char* p, uint32_t v) {
  put_word(p, v);
  put_word(p + 2, v >> 16);
}

bool write_all(FILE* out, const void* data, size_t n) { return std::fwrite(data, 1, n, out) == n; }

bool write_text(FILE* out, const char* text) { return write_all(out, text, std::strlen(text)); }

int write_bmp(FILE* out) {
  // File header, field by field, little-endian on every host.
  unsigned char type[2], size[4], reserved1[2], reserved2[2], offbits[4];
  put_word(type, 19778);  // "BM"
  put_dword(size, kImageSize + kOffBits);
  put_word(reserved1, 0);
  put_word(reserved2, 0);
  put_dword(offbits, kOffBits);
  if (!write_all(out, type, 2) || !write_all(out, size, 4) || !write_all(out, reserved1, 2) ||
      !write_all(out, reserved2, 2) || !write_all(out, offbits, 4)) {
    MXelog(0, "Error writing Bit Map File Header to file.\n");
    return 0;
  }

  unsigned char info[kInfoHeaderSize] = {};
  put_dword(info + 0, kInfoHeaderSize);
  put_dword(info + 4, kWidth);
  put_dword(info + 8, kHeight);
  put_word(info + 12, 1);   // planes
  put_word(info + 14, 4);   // bits a pixel
  put_dword(info + 16, 0);  // no compression
  put_dword(info + 20, kImageSize);
  put_dword(info + 24, 0);
  put_dword(info + 28, 0);
  put_dword(info + 32, 16);  // colours used
  put_dword(info + 36, 16);  // colours important
  if (!write_all(out, info, sizeof info)) {
    MXelog(0, "Error writing Bit Map Info Header to file.\n");
    return 0;
  }

  unsigned char colors[kColorTableSize];
  for (int i = 0; i < 16; ++i) {
    colors[4 * i + 0] = static_cast<unsigned char>(component(i, 2));
    colors[4 * i + 1] = static_cast<unsigned char>(component(i, 1));
    colors[4 * i + 2] = static_cast<unsigned char>(component(i, 0));
    colors[4 * i + 3] = 0;
  }
  if (!write_all(out, colors, sizeof colors)) {
    MXelog(0, "Error writing Bit Map palette structure to file.\n");
    return 0;
  }
  MXelog(0, "Struct Sizes:\n bmfh = %d, bmih = %d, ", static_cast<int>(kFileHeaderSize),
         static_cast<int>(kInfoHeaderSize));
  MXelog(0, "acolors = %d\nDWORD = %d, MXWORD = %d, MXBYTE = %d\n", static_cast<int>(kColorTableSize), 4, 2, 1);

  unsigned char row[kWidth];
  unsigned char packed[kRowBytes];
  for (int y = kHeight - 1; y >= 0; --y) {
    source.get_row(y, row);
    // Only 16 colours fit in four bits.
    for (int i = 0; i < kRowBytes; ++i)
      packed[i] = static_cast<unsigned char>(((row[2 * i] & 0x0F) << 4) | (row[2 * i + 1] & 0x0F));
    mark_row(y);
    if (!write_all(out, packed, sizeof packed)) {
      MXelog(0, "Error writing Bit Map pixels to file.\n");
      return 0;
    }
  }
  // A full disk often shows only when the buffered data goes out.
  if (std::fflush(out) != 0) {
    MXelog(0, "Error writing Bit Map pixels to file.\n");
    return 0;
  }
  return 1;
}

// The first 27 lines of both PostScript preambles; %d is the scan-line length.
const char* const kPsHead =
    "%%!PS-Adobe-2.0 EPSF-2.0\n"
    "%%%%Creator: Marlix Interface Library -- Project Marlix\n"
    "%%%%BoundingBox: 66 76 546 716\n"
    "%%%%Pages: 1\n"
    "%%%%DocumentFonts:\n"
    "%%%%EndComments\n"
    "%%%%EndProlog\n"
    "\n"
    "%%%%Page: 1 1\n"
    "\n"
    "%% remember original state\n"
    "/origstate save def\n"
    "\n"
    "%% build a temporary dictionary\n"
    "20 dict begin\n"
    "\n"
    "%% define string to hold a scanline's worth of data\n"
    "/pix %d string def\n"
    "\n"
    "%% print in landscape mode\n"
    "90 rotate 0 -612 translate\n"
    "\n"
    "%% lower left corner\n"
    "76 66 translate\n"
    "\n"
    "%% size of image (on paper, in 1/72inch coords)\n"
    "640.00800 480.02400 scale\n";

const char* const kPsGrayTail =
    "\n"
    "640 480 8                       % dimensions of data\n"
    "[640 0 0 -480 0 480]            % mapping matrix\n"
    "{currentfile pix readhexstring pop}\n"
    "image\n"
    "\n"
    "\n";

// Printers without colorimage get one that prints the colour picture in grey.
const char* const kPsColorTail =
    "\n"
    "% define 'colorimage' if it isn't defined\n"
    "/colorimage where   % do we know about 'colorimage'?\n"
    "  { pop }           % yes: pop off the 'dict' returned\n"
    "  {                 % no:  define one that draws in grey\n"
    "    /colortogray {  % RGB triples of a scan line -> one grey byte each\n"
    "      /rgbdata exch def\n"
    "      /npixls rgbdata length 3 idiv def\n"
    "      /grays npixls string def\n"
    "      0 1 npixls 1 sub {\n"
    "        /i exch def\n"
    "        grays i\n"
    "        rgbdata i 3 mul get 20 mul           % red\n"
    "        rgbdata i 3 mul 1 add get 32 mul add % green\n"
    "        rgbdata i 3 mul 2 add get 12 mul add % blue\n"
    "        64 idiv     % I = .5G + .31R + .18B\n"
    "        put\n"
    "      } for\n"
    "      grays\n"
    "    } bind def\n"
    "\n"
    "    /mergeprocs {   % proc1 proc2 -> one procedure running both\n"
    "      /proc2 exch def\n"
    "      /proc1 exch def\n"
    "      /proc1 load length /proc2 load length add array cvx\n"
    "      dup 0 /proc1 load putinterval\n"
    "      dup /proc1 load length /proc2 load putinterval\n"
    "    } bind def\n"
    "\n"
    "    /colorimage {   % width height bits matrix proc false 3\n"
    "      pop pop       % drop the 'false 3'\n"
    "      {colortogray} mergeprocs\n"
    "      image\n"
    "    } bind def\n"
    "  } ifelse          % end of 'false' case\n"
    "\n"
    "\n"
    "\n"
    "640 480 8                       % dimensions of data\n"
    "[640 0 0 -480 0 480]            % mapping matrix\n"
    "{currentfile pix readhexstring pop}\n"
    "false 3 colorimage\n"
    "\n"
    "\n";

const char* const kPsPostamble =
    "showpage\n\n% stop using temporary dictionary\nend\n\n% restore original state\norigstate restore\n\n%%Trailer\n";

const char kHex[] = "0123456789abcdef";

int write_ps(FILE* out, int color) {
  if (std::fprintf(out, kPsHead, color ? 1920 : 640) < 0 || !write_text(out, color ? kPsColorTail : kPsGrayTail)) {
    MXelog(0, color ? "Error writing preamble to color PostScript file.\n"
                    : "Error writing preamble to greyscale PostScript file.\n");
    return 0;
  }

  // The hex text of every palette entry, in colour and in grey.
  char rgb_hex[256][6];
  char gray_hex[256][2];
  for (int i = 0; i < 256; ++i) {
    const int r = component(i, 0), g = component(i, 1), b = component(i, 2);
    const int values[3] = {r, g, b};
    for (int k = 0; k < 3; ++k) {
      rgb_hex[i][2 * k] = kHex[values[k] >> 4];
      rgb_hex[i][2 * k + 1] = kHex[values[k] & 15];
    }
    const int gray = static_cast<int>(0.31 * r + 0.5 * g + 0.18 * b);
    gray_hex[i][0] = kHex[gray >> 4];
    gray_hex[i][1] = kHex[gray & 15];
  }

  const int bytes_per_pixel = color ? 3 : 1;
  unsigned char row[kWidth];
  for (int y = 0; y < kHeight; ++y) {
    source.get_row(y, row);
    int count = 0;
    for (int x = 0; x < kWidth; ++x) {
      const bool ok = color ? write_all(out, rgb_hex[row[x]], 6) : write_all(out, gray_hex[row[x]], 2);
      if (!ok) {
        MXelog(0, "Error writing pixel RGB values to PostScript file.\n");
        return 0;
      }
      count = (count + bytes_per_pixel) % 33;
      if (count == 0 && std::fputc('\n', out) == EOF) {
        MXelog(0, "Error writing newline character to PostScript file.\n");
        return 0;
      }
    }
    if (std::fputc('\n', out) == EOF) {
      MXelog(0, "Error writing newline character to PostScript file.\n");
      return 0;
    }
    mark_row(y);
  }
  // A full disk often shows only when the buffered data goes out.
  if (!write_text(out, kPsPostamble) || std::fflush(out) != 0) {
    MXelog(0, "Error writing postamble to PostScript file.\n");
    return 0;
  }
  return 1;
}

int write_gif() {
  for (int i = 0; i < kNUMCOLORS; ++i)
    GIF_SetColor(i, source.palette[3 * i], source.palette[3 * i + 1], source.palette[3 * i + 2]);
  if (GIF_CompressImage(0, 0, -1, -1, gpixel) != GIFW_OK) {
    MXelog(0, "Error compressing GIF file.\n");
    GIF_Abandon();
    return 0;
  }
  if (GIF_Close() != GIFW_OK) {
    MXelog(0, "Error closing GIF file.\n");
    return 0;
  }
  return 1;
}

// Creates name new for writing; sets exists when the name is taken.
FILE* create_new(const char* name, bool& exists) {
  exists = false;
  const int fd = ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    exists = errno == EEXIST;
    return nullptr;
  }
  FILE* out = ::fdopen(fd, "wb");
  if (!out) ::close(fd);
  return out;
}

}  // namespace

void MXsetscreendumpsource(const ScreenDumpSource* s) { source = s ? *s : kScreen; }

int gpixel(int x, int y) {
  if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return 0;
  if (x == 0) {
    source.get_row(y, rowbuf);
    if (y > 0) mark_row(y - 1);
  }
  return rowbuf[x];
}

int MXPscreen_to_bmp(FILE* out) {
  if (!have_source() || !out) return 0;
  begin_frame();
  const int result = write_bmp(out);
  end_frame();
  return result;
}

int MXPscreen_to_ps(FILE* out, int color) {
  if (!have_source() || !out) return 0;
  begin_frame();
  const int result = write_ps(out, color);
  end_frame();
  return result;
}

int MXPscreen_to_gif() {
  if (!have_source()) {
    GIF_Abandon();
    return 0;
  }
  begin_frame();
  const int result = write_gif();
  end_frame();
  return result;
}

int MXdumpscreen(char* name, int type) {
  const char* extension = nullptr;
  switch (type) {
    case BMP_16: extension = ".bmp"; break;
    case PS_GRAY:
    case PS_COLOR: extension = ".ps"; break;
    case GIF_16: extension = ".gif"; break;
    default:
      MXelog(0, "Invalid screen save file type.\n");
      return 0;
  }

  const std::string base = name;
  FILE* out = nullptr;
  bool chosen = false;
  bool failed = !have_source();
  for (int n = 0; n < 100 && !failed; ++n) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", n);
    const std::string candidate = base + number + extension;
    bool exists = false;
    if (type == GIF_16) {
      errno = 0;
      const int created = GIF_Create(candidate.c_str(), kWidth, kHeight, kNUMCOLORS, kCOLORRES);
      exists = created == GIFW_ERRCREATE && errno == EEXIST;
      if (created != GIFW_OK && !exists) {
        GIF_Abandon();
        MXelog(0, "Cannot open graphics output file |%s|.\n", candidate.c_str());
        failed = true;
      }
    } else {
      out = create_new(candidate.c_str(), exists);
      if (!out && !exists) {
        MXelog(0, "Cannot open graphics output file |%s|.\n", candidate.c_str());
        failed = true;
      }
    }
    if (exists) continue;  // taken, even if it cannot be read: try the next number
    std::memcpy(name, candidate.c_str(), candidate.size() + 1);
    chosen = true;
    break;
  }

  int result = 0;
  if (chosen && !failed) {
    switch (type) {
      case BMP_16: result = MXPscreen_to_bmp(out); break;
      case PS_GRAY: result = MXPscreen_to_ps(out, 0); break;
      case PS_COLOR: result = MXPscreen_to_ps(out, 1); break;
      case GIF_16: result = MXPscreen_to_gif(); break;
    }
  }
  if (out && std::fclose(out) != 0) result = 0;
  if (!result) MXelog(0, "Error:  Screen not copied to output file.\n");
  return result;
}
