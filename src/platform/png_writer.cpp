// The PNG encoder: signature, IHDR, PLTE, one IDAT holding a zlib stream of stored
// deflate blocks (each row preceded by filter type 0), IEND; CRC-32 per chunk and
// Adler-32 over the raw image data.
#include "platform/png_writer.h"

#include <array>
#include <cstdio>

namespace {

const std::array<uint32_t, 256>& crc_table() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put32(out, MXPcrc32(out.data() + start, out.size() - start));
}

}  // namespace

uint32_t MXPcrc32(const uint8_t* data, size_t n, uint32_t crc) {
  const auto& t = crc_table();
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = t[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
  return ~crc;
}

uint32_t MXPadler32(const uint8_t* data, size_t n, uint32_t adler) {
  uint32_t a = adler & 0xffff, b = adler >> 16;
  for (size_t i = 0; i < n; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> MXPencode_png(int width, int height, const uint8_t* indices,
                                   const uint8_t* palette_rgb) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

  std::vector<uint8_t> ihdr;
  put32(ihdr, static_cast<uint32_t>(width));
  put32(ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, 3, 0, 0, 0});  // 8 bits, palette, deflate, filter 0, no interlace
  chunk(out, "IHDR", ihdr);

  chunk(out, "PLTE", std::vector<uint8_t>(palette_rgb, palette_rgb + 768));

  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (static_cast<size_t>(width) + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    const uint8_t* row = indices + static_cast<size_t>(y) * static_cast<size_t>(width);
    raw.insert(raw.end(), row, row + width);
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t pos = 0;
  do {
    const size_t len = raw.size() - pos > 65535 ? 65535 : raw.size() - pos;
    const bool last = pos + len == raw.size();
    z.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
    z.push_back(static_cast<uint8_t>(len));
    z.push_back(static_cast<uint8_t>(len >> 8));
    z.push_back(static_cast<uint8_t>(~len));
    z.push_back(static_cast<uint8_t>(~len >> 8));
    z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + len));
    pos += len;
  } while (pos < raw.size());
  put32(z, MXPadler32(raw.data(), raw.size()));
  chunk(out, "IDAT", z);
  chunk(out, "IEND", {});
  return out;
}

int MXPwrite_png(const char* path, int width, int height, const uint8_t* indices,
                 const uint8_t* palette_rgb) {
  const std::vector<uint8_t> png = MXPencode_png(width, height, indices, palette_rgb);
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return 0;
  const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && ok ? 1 : 0;
}
