// Helpers of the picture tests: building picture files byte by byte and loading
// them from memory into a buffer that lives with the picture.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "pictures/run_length_picture.h"

// Little-endian picture file: tag, rows, cols, row table entries, run bytes.
inline std::vector<unsigned char> picture_bytes(uint32_t tag, unsigned rows, unsigned cols,
                                                std::initializer_list<unsigned> table,
                                                std::initializer_list<unsigned> runs) {
  std::vector<unsigned char> b;
  for (int s = 0; s < 32; s += 8) b.push_back(static_cast<unsigned char>(tag >> s));
  for (unsigned v : {rows, cols}) {
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>(v >> 8));
  }
  for (unsigned v : table) {
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>(v >> 8));
  }
  for (unsigned v : runs) b.push_back(static_cast<unsigned char>(v));
  return b;
}

// A picture together with the buffer it points into.
struct LoadedPicture {
  std::vector<uint16_t> buffer;  // 16-bit elements keep the row table aligned
  MXPicture picture{};
  int result = 0;
};

inline LoadedPicture load(const std::vector<unsigned char>& bytes) {
  LoadedPicture loaded;
  loaded.buffer.assign(bytes.size() / 2 + 1, 0);
  loaded.result = MXinitpicmem(bytes.data(), bytes.size(), &loaded.picture, loaded.buffer.data());
  return loaded;
}

inline std::vector<uint16_t> pixels(const MXPicture& picture, int x, int y, int n) {
  std::vector<uint16_t> values(static_cast<size_t>(n), 0);
  MXgetpixel(&picture, x, y, values.data(), n);
  return values;
}
