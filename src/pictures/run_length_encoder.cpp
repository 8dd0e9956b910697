// Writing run-length pictures: longest runs first, a run never crossing a row end,
// the standard row table.
#include "pictures/run_length_encoder.h"

#include <cstdio>

#include "pictures/run_length_picture.h"

namespace {

void put_short(std::vector<unsigned char>* out, unsigned value) {
  out->push_back(static_cast<unsigned char>(value & 0xFF));
  out->push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

// Appends one run; count is 1 .. the largest run of the depth.
void put_run(std::vector<unsigned char>* out, int bits, unsigned count, unsigned value) {
  switch (bits) {
    case 4: out->push_back(static_cast<unsigned char>((count & 0x0F) << 4 | value)); break;
    case 8:
      out->push_back(static_cast<unsigned char>(count & 0xFF));
      out->push_back(static_cast<unsigned char>(value));
      break;
    case 12: put_short(out, (count & 0x0F) << 12 | value); break;
    default:
      out->push_back(static_cast<unsigned char>(count & 0xFF));
      put_short(out, value);
      break;
  }
}

}  // namespace

uint32_t MXpicturetag(int bits) {
  switch (bits) {
    case 4: return MX_RUN4_TAG;
    case 8: return MX_RUN8_TAG;
    case 12: return MX_RUN12_TAG;
    case 16: return MX_RUN16_TAG;
    default: return 0;
  }
}

bool MXencodepicture(int bits, int rows, int cols, const std::vector<uint16_t>& values,
                     std::vector<unsigned char>* out) {
  out->clear();
  const uint32_t tag = MXpicturetag(bits);
  if (tag == 0 || rows < 0 || cols < 0 || cols > 0xFFFF) return false;
  const long table_end = MX_PICTURE_HEADER_SIZE + 2L * (rows + 1);
  if (table_end > 0xFFFF) return false;
  if (values.size() != static_cast<size_t>(rows) * static_cast<size_t>(cols)) return false;
  const unsigned largest_value = (1u << bits) - 1;
  const unsigned longest_run = bits == 4 || bits == 12 ? 16 : 256;

  std::vector<unsigned char> runs;
  std::vector<unsigned> row_bytes;
  for (int r = 0; r < rows; ++r) {
    const size_t before = runs.size();
    const uint16_t* row = values.data() + static_cast<size_t>(r) * cols;
    for (int c = 0; c < cols;) {
      const unsigned value = row[c];
      if (value > largest_value) return false;
      unsigned count = 1;
      while (c + static_cast<int>(count) < cols && row[c + count] == value && count < longest_run) ++count;
      put_run(&runs, bits, count, value);
      c += static_cast<int>(count);
    }
    const size_t length = runs.size() - before;
    if (length > static_cast<size_t>(MX_PICTURE_MAX_ROW_BYTES)) return false;
    row_bytes.push_back(static_cast<unsigned>(length));
  }

  out->reserve(static_cast<size_t>(table_end) + runs.size());
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<unsigned char>(tag >> shift));
  put_short(out, static_cast<unsigned>(rows));
  put_short(out, static_cast<unsigned>(cols));
  put_short(out, static_cast<unsigned>(table_end));
  for (unsigned length : row_bytes) put_short(out, length);
  out->insert(out->end(), runs.begin(), runs.end());
  return true;
}

bool MXwritepicture(const std::string& path, int bits, int rows, int cols,
                    const std::vector<uint16_t>& values) {
  std::vector<unsigned char> bytes;
  if (!MXencodepicture(bits, rows, cols, values, &bytes)) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
