// Run-length pictures: loading with a full check of the row table and the runs,
// pixel lookup, row decoding for the drawing operations, and the byte-order helpers.
#include "pictures/run_length_picture.h"

#include <algorithm>
#include <cstring>

#include "base/log.h"

namespace {

struct Run {
  unsigned count;
  unsigned value;
};

// Decodes the run at p (runsize bytes) by the tag's layout; a count of 0 stands for
// the largest run (16 for 4-bit counts, 256 for 8-bit counts).
inline Run decode_run(const unsigned char* p, uint32_t tag) {
  Run run{0, 0};
  switch (tag) {
    case MX_RUN4_TAG:
      run.count = p[0] >> 4;
      run.value = p[0] & 0x0Fu;
      if (run.count == 0) run.count = 16;
      break;
    case MX_RUN8_TAG:
      run.count = p[0] ? p[0] : 256u;
      run.value = p[1];
      break;
    case MX_RUN12_TAG: {
      const unsigned n = twiddled_short(p);
      run.count = n >> 12;
      run.value = n & 0x0FFFu;
      if (run.count == 0) run.count = 16;
      break;
    }
    case MX_RUN16_TAG:
      run.count = p[0] ? p[0] : 256u;
      run.value = twiddled_short(p + 1);
      break;
    default:
      break;
  }
  return run;
}

uint32_t little_long(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Offset within codes of row r's runs: the sum of row-table entries 1 to r.
size_t row_offset(const MXPicture* picture, int r) {
  size_t offset = 0;
  for (int i = 1; i <= r; ++i) offset += picture->rowvec[i];
  return offset;
}

// Sets up picture from a header and the rest of the file, already in buffer
// (rest bytes, little-endian row table first), after checking every row.
int set_up_picture(uint32_t tag, uint16_t rows, uint16_t cols, void* buffer, size_t rest,
                   MXPicture* picture) {
  const int runsize = MXpicturerunsize(tag);
  if (runsize == 0) return 0;
  if (reinterpret_cast<uintptr_t>(buffer) % alignof(uint16_t) != 0) return 0;
  const size_t table_bytes = 2 * (static_cast<size_t>(rows) + 1);
  if (rest < table_bytes) return 0;
  auto* bytes = static_cast<unsigned char*>(buffer);
  auto* rowvec = static_cast<uint16_t*>(buffer);
  for (size_t i = 0; i <= rows; ++i) rowvec[i] = twiddled_short(bytes + 2 * i);
  // The file operations seek to entry 0, the in-memory ones take the runs to start
  // right after the table: only the standard value means the same to both.
  if (rowvec[0] != MX_PICTURE_HEADER_SIZE + table_bytes) return 0;

  const unsigned char* codes = bytes + table_bytes;
  const size_t available = rest - table_bytes;
  size_t offset = 0;
  for (size_t r = 0; r < rows; ++r) {
    const size_t length = rowvec[r + 1];
    if (length > MX_PICTURE_MAX_ROW_BYTES || length % runsize != 0) return 0;
    if (length > available - offset) return 0;
    unsigned covered = 0;
    for (size_t at = offset; at < offset + length; at += runsize) {
      covered += decode_run(codes + at, tag).count;
      if (covered > cols) return 0;  // a run never continues into the next row
    }
    if (covered != cols) return 0;
    offset += length;
  }

  rowvec[0] = 0;
  picture->tag = tag;
  picture->runsize = runsize;
  picture->rows = rows;
  picture->cols = cols;
  picture->rowvec = rowvec;
  picture->codes = bytes + table_bytes;
  return 1;
}

void fatal_short_header(const char* what) { MXelog(-1, "Unable to read %s\n", what); }

}  // namespace

const uint16_t Etester = 256;

int MXpicturerunsize(uint32_t tag) {
  switch (tag) {
    case MX_RUN4_TAG: return 1;
    case MX_RUN8_TAG: return 2;
    case MX_RUN12_TAG: return 2;
    case MX_RUN16_TAG: return 3;
    default: return 0;
  }
}

size_t fread_short(uint16_t* values, size_t count, FILE* file) {
  for (size_t i = 0; i < count; ++i) {
    unsigned char b[2];
    if (std::fread(b, 1, 2, file) != 2) return i;
    values[i] = twiddled_short(b);
  }
  return count;
}

size_t fread_long(uint32_t* values, size_t count, FILE* file) {
  for (size_t i = 0; i < count; ++i) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, file) != 4) return i;
    values[i] = little_long(b);
  }
  return count;
}

uint16_t twiddled_short(const unsigned char* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

void twiddle_long(uint32_t* value) {
  unsigned char first;
  std::memcpy(&first, &Etester, 1);
  if (first == 0) return;  // least significant byte first already
  unsigned char b[4];
  std::memcpy(b, value, 4);
  std::swap(b[0], b[3]);
  std::swap(b[1], b[2]);
  std::memcpy(value, b, 4);
}

int MXinitpic(FILE* file, MXPicture* picture, void* buffer) {
  if (!picture) return 0;
  *picture = MXPicture{};
  if (!file || !buffer) return 0;
  if (std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long size = std::ftell(file);
  std::rewind(file);
  if (size < MX_PICTURE_HEADER_SIZE) return 0;
  unsigned char header[MX_PICTURE_HEADER_SIZE];
  if (std::fread(header, 1, sizeof header, file) != sizeof header) return 0;
  const uint32_t tag = little_long(header);
  if (MXpicturerunsize(tag) == 0) return 0;
  const size_t rest = static_cast<size_t>(size) - MX_PICTURE_HEADER_SIZE;
  if (rest > 0 && std::fread(buffer, 1, rest, file) != rest) return 0;
  return set_up_picture(tag, twiddled_short(header + 4), twiddled_short(header + 6), buffer, rest,
                        picture);
}

int MXinitpicmem(const unsigned char* data, size_t size, MXPicture* picture, void* buffer) {
  if (!picture) return 0;
  *picture = MXPicture{};
  if (!data || !buffer || size < MX_PICTURE_HEADER_SIZE) return 0;
  const uint32_t tag = little_long(data);
  if (MXpicturerunsize(tag) == 0) return 0;
  const size_t rest = size - MX_PICTURE_HEADER_SIZE;
  if (rest > 0) std::memcpy(buffer, data + MX_PICTURE_HEADER_SIZE, rest);
  return set_up_picture(tag, twiddled_short(data + 4), twiddled_short(data + 6), buffer, rest,
                        picture);
}

void MXgetpixel(const MXPicture* picture, int x, int y, uint16_t* values, int n) {
  if (!values || n <= 0) return;
  int stored = 0;
  if (picture && picture->rowvec && x >= 0 && y >= 0 && y < picture->rows && x < picture->cols) {
    const unsigned char* p = picture->codes + row_offset(picture, y);
    const int cols = picture->cols;
    // Skip the runs that end before column x.
    int column = 0;
    Run run = decode_run(p, picture->tag);
    while (column + static_cast<int>(run.count) <= x) {
      column += static_cast<int>(run.count);
      p += picture->runsize;
      run = decode_run(p, picture->tag);
    }
    int position = x;
    while (stored < n && position < cols) {
      const int end = column + static_cast<int>(run.count);
      for (; position < end && stored < n; ++position) values[stored++] = static_cast<uint16_t>(run.value);
      column = end;
      if (column >= cols) break;
      p += picture->runsize;
      run = decode_run(p, picture->tag);
    }
  }
  for (; stored < n; ++stored) values[stored] = MX_NO_PIXEL;
}

void MXgetfilepictspecs(FILE* file, int* rows, int* cols) {
  std::rewind(file);
  uint32_t tag = 0;
  uint16_t value = 0;
  if (fread_long(&tag, 1, file) != 1) fatal_short_header("tag");
  if (fread_short(&value, 1, file) != 1) fatal_short_header("rows");
  if (rows) *rows = value;
  if (fread_short(&value, 1, file) != 1) fatal_short_header("cols");
  if (cols) *cols = value;
}

void MXdecodepictrows(const MXPicture* picture, int x, int y, int width, int height, int srcx,
                      int srcy, int scale, MXPictColorFunc color, MXPictRowSink sink, void* data) {
  if (!picture || !picture->rowvec || !sink) return;
  if (scale < 1 || width <= 0 || height <= 0 || srcx < 0 || srcy < 0) return;
  if (srcy >= picture->rows || srcx >= picture->cols) return;
  unsigned char row[MX_DRAW_ROW_MAX];
  std::memset(row, 255, sizeof row);
  width = std::min(width, MX_DRAW_ROW_MAX);
  const long long rows_left = static_cast<long long>(picture->rows - srcy) * scale;
  if (height > rows_left) height = static_cast<int>(rows_left);

  const int cols = picture->cols;
  int source_row = srcy;
  size_t offset = row_offset(picture, srcy);
  for (int k = 0; k < height; ++k) {
    if (k > 0 && k % scale == 0) {
      offset += picture->rowvec[source_row + 1];
      ++source_row;
    }
    const unsigned char* p = picture->codes + offset;
    int column = 0;
    Run run = decode_run(p, picture->tag);
    while (column + static_cast<int>(run.count) <= srcx) {
      column += static_cast<int>(run.count);
      p += picture->runsize;
      run = decode_run(p, picture->tag);
    }
    int i = 0;
    int position = srcx;
    while (i < width && position < cols) {
      const int end = column + static_cast<int>(run.count);
      for (; position < end && i < width; ++position) {
        for (int r = 0; r < scale && i < width; ++r, ++i) {
          const unsigned value = run.value;
          row[i] = static_cast<unsigned char>(color ? color(value, i, k / scale, r) : static_cast<int>(value));
        }
      }
      column = end;
      if (column >= cols) break;
      p += picture->runsize;
      run = decode_run(p, picture->tag);
    }
    sink(x, y + k, row, width, data);
  }
}

void MXdecodefilepictrows(FILE* file, int x, int y, int width, int height, int srcx, int srcy,
                          MXFilePictColorFunc color, MXPictRowSink sink, void* data) {
  unsigned char row[MX_DRAW_ROW_MAX];
  std::memset(row, 255, sizeof row);
  std::rewind(file);
  uint32_t tag = 0;
  uint16_t rows = 0;
  uint16_t cols = 0;
  if (fread_long(&tag, 1, file) != 1) fatal_short_header("tag");
  if (fread_short(&rows, 1, file) != 1) fatal_short_header("rows");
  if (fread_short(&cols, 1, file) != 1) fatal_short_header("cols");
  if (srcx < 0 || srcy < 0 || srcy >= rows || srcx >= cols) return;
  if (cols > MX_DRAW_ROW_MAX) MXelog(-1, "Too many columns (%d) for picture\n", cols);
  const int runsize = MXpicturerunsize(tag);
  if (runsize == 0) MXelog(-1, "Unknown tag type (%lx)\n", static_cast<unsigned long>(tag));

  long offset = 0;
  for (int i = 0; i <= srcy; ++i) {
    uint16_t entry = 0;
    if (fread_short(&entry, 1, file) != 1) MXelog(-1, "Unable to read the picture's row table\n");
    offset += static_cast<int16_t>(entry);
  }
  if (offset < 0 || std::fseek(file, offset, SEEK_SET) != 0)
    MXelog(-1, "Cannot seek to offset %ld in MXwdrawfilepict\n", offset);

  height = std::min(height, static_cast<int>(rows) - srcy);
  const int shown = std::min(width, MX_DRAW_ROW_MAX - srcx);
  for (int k = 0; k < height; ++k) {
    int column = 0;
    while (column < cols) {
      unsigned char bytes[3];
      if (std::fread(bytes, 1, runsize, file) != static_cast<size_t>(runsize))
        MXelog(-1, "Picture ends inside row %d\n", srcy + k);
      const Run run = decode_run(bytes, tag);
      if (column + static_cast<int>(run.count) > cols)
        MXelog(-1, "Picture row %d runs past its %d columns\n", srcy + k, cols);
      const unsigned char value =
          static_cast<unsigned char>(color ? color(run.value) : static_cast<int>(run.value));
      std::memset(row + column, value, run.count);
      column += static_cast<int>(run.count);
    }
    if (shown > 0) sink(x, y + k, row + srcx, shown, data);
  }
}
