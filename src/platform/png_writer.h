// A small PNG encoder for palette pictures: 8-bit indices, a 256-entry palette,
// the image data in stored (uncompressed) deflate blocks, so that no compression
// library is needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

uint32_t MXPcrc32(const uint8_t* data, size_t n, uint32_t crc = 0);
uint32_t MXPadler32(const uint8_t* data, size_t n, uint32_t adler = 1);

// indices: height rows of width bytes; palette_rgb: 256 triples of 8-bit components.
std::vector<uint8_t> MXPencode_png(int width, int height, const uint8_t* indices,
                                   const uint8_t* palette_rgb);

// Encodes and writes; returns 1 on success, 0 when the file cannot be written.
int MXPwrite_png(const char* path, int width, int height, const uint8_t* indices,
                 const uint8_t* palette_rgb);
