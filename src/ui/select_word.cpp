// Case-blind lookup of a word in a null- or empty-ended list of words.
#include "ui/select_word.h"

#include <cctype>

int MXiselword(const char* word, const char* const* list) {
  if (!word || !list) return -1;
  for (int i = 0; list[i] && list[i][0]; ++i) {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(list[i]);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(word);
    while (*a && std::tolower(*a) == std::tolower(*b)) {
      ++a;
      ++b;
    }
    if (*a == 0 && *b == 0) return i;
  }
  return -1;
}
