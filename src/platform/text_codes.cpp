// Text typed on a keyboard (UTF-8, as window systems and browsers report it)
// turned into the 8-bit codes of key events; shared by every backend.
#include "platform/text_codes.h"

namespace {
// Windows-1252 codes 128-159 and the Unicode characters they stand for.
constexpr unsigned short kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int to_code(unsigned long cp) {
  if (cp < 128 || (cp >= 160 && cp < 256)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] != 0 && kCp1252High[i] == cp) return 128 + i;
  return -1;
}
}  // namespace

int MXPtext_input_codes(const char* utf8, unsigned char* codes, int max) {
  int n = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
  while (p != nullptr && *p && n < max) {
    unsigned long cp;
    int extra;
    if (*p < 0x80) cp = *p, extra = 0;
    else if ((*p & 0xE0) == 0xC0) cp = *p & 0x1F, extra = 1;
    else if ((*p & 0xF0) == 0xE0) cp = *p & 0x0F, extra = 2;
    else if ((*p & 0xF8) == 0xF0) cp = *p & 0x07, extra = 3;
    else {  // a stray continuation byte or an invalid lead byte
      ++p;
      continue;
    }
    ++p;
    bool ok = true;
    for (int k = 0; k < extra; ++k) {
      if ((*p & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (*p & 0x3F);
      ++p;
    }
    if (!ok) continue;
    const int code = to_code(cp);
    // Control characters come from key presses, never from text.
    if (code >= 32 && code != 127) codes[n++] = static_cast<unsigned char>(code);
  }
  return n;
}
