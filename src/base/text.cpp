// Small text helpers shared by every subsystem.
#include "base/text.h"

#include <cctype>

int MXstricmp(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned char ca = static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(*a)));
    const unsigned char cb = static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(*b)));
    if (ca < cb) return -1;
    if (ca > cb) return 1;
    if (ca == 0) return 0;
  }
}

unsigned char MXfoldchar(unsigned char c) {
  // The base letters of Latin-1 codes 192 to 255; "*" marks the signs that stay.
  static const char kBase[] = "aaaaaaaceeeeiiiidnooooo*ouuuuy*saaaaaaaceeeeiiiidnooooo*ouuuuy*y";
  if (c >= 192 && kBase[c - 192] != '*') return static_cast<unsigned char>(kBase[c - 192]);
  return static_cast<unsigned char>(std::tolower(c));
}
