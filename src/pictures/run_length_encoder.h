// Writing run-length pictures: a grid of values, row after row, encoded with the
// standard row table (entry 0 = 8 + 2 x (rows + 1)) in the encoding that holds the
// values (4, 8, 12 or 16 bits). Used by the data generators; needs no drawing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The tag of a bit depth (4, 8, 12, 16), or 0 for any other depth.
uint32_t MXpicturetag(int bits);

// Encodes rows x cols values (row after row) into out, a whole picture file.
// Returns false, leaving out empty, when the depth is not one of the four, a value
// does not fit it, the size does not fit the header, or a row needs more than
// 32767 bytes of runs.
bool MXencodepicture(int bits, int rows, int cols, const std::vector<uint16_t>& values,
                     std::vector<unsigned char>* out);

// Encodes and writes the picture to path; false when encoding or writing fails.
bool MXwritepicture(const std::string& path, int bits, int rows, int cols,
                    const std::vector<uint16_t>& values);
