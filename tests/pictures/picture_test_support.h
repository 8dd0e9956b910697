// Helpers of the picture tests: building picture files byte by byte, loading
// them from memory into a buffer that lives with the picture, and reading a GIF
// file back with giflib.
#pragma once
#include <gif_lib.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/reader_test_support.h"
#include "pictures/run_length_picture.h"

// Little-endian picture file: tag, rows, cols, row table entries, run bytes.
inline std::vector<unsigned char> picture_bytes(uint32_t tag, unsigned rows, unsigned cols,
                                                const std::vector<unsigned>& table,
                                                const std::vector<unsigned>& runs) {
  std::vector<unsigned char> b;
  for (int s = 0; s < 32; s += 8) b.push_back(static_cast<unsigned char>(tag >> s));
  std::vector<unsigned> shorts = {rows, cols};
  shorts.insert(shorts.end(), table.begin(), table.end());
  for (unsigned v : shorts) b.push_back(static_cast<unsigned char>(v & 0xFF)), b.push_back(static_cast<unsigned char>(v >> 8));
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

// A GIF file as giflib reads it: the image's size and colour indices; error is 0
// when the file was read.
struct GiflibPicture {
  int error = 0, width = 0, height = 0;
  std::vector<uint8_t> pixels;
};

inline GiflibPicture read_with_giflib(const std::string& name) {
  GiflibPicture out;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(name.c_str(), &error);
  if (!gif) return out.error = error ? error : -1, out;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != 1) {
    out.error = gif->Error ? gif->Error : -1;
  } else {
    const SavedImage& image = gif->SavedImages[0];
    out.width = image.ImageDesc.Width;
    out.height = image.ImageDesc.Height;
    out.pixels.assign(image.RasterBits, image.RasterBits + out.width * out.height);
  }
  DGifCloseFile(gif, &error);
  return out;
}
