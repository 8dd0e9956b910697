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
