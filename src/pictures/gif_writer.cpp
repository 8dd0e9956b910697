// The GIF87a writer: file header, colour table, image descriptor and the LZW
// coder (variable code width up to 12 bits, codes packed least significant bit
// first into data sub-blocks of at most 255 bytes).
#include "pictures/gif_writer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMaxBits = 12;
constexpr int kMaxStrings = 1 << kMaxBits;  // 4096 strings in the table
constexpr int kHashSize = 9973;             // a prime well above 4096
constexpr int kHashStep = 2039;
constexpr uint32_t kNone = 0xFFFF;          // no string / empty slot

FILE* OutFile = nullptr;

// The data sub-block being collected.
unsigned char Buffer[256];
int Index = 0;     // byte being filled
int BitsLeft = 8;  // free bits in that byte

// The LZW string table, allocated per compression.
unsigned char* StrChr = nullptr;  // last character of each string
uint32_t* StrNxt = nullptr;       // index of the prefix string, kNone for none
uint32_t* StrHsh = nullptr;       // hash slots holding a string index, kNone when empty
int NumStrings = 0;

unsigned char* GIFColorTable = nullptr;
int BitsPrPrimColor = 0;
int NumColors = 0;
int ScreenWidth = 0;
int ScreenHeight = 0;

int ImageLeft = 0;
int ImageTop = 0;
int ImageWidth = 0;
int ImageHeight = 0;
int RelPixX = 0;
int RelPixY = 0;
int PixelMask = 0;  // keeps every colour index inside the code space
GIFGetPixelFunc GIFGetPixel = nullptr;

// Output --------------------------------------------------------------------------

int Write(const void* data, size_t n) {
  return std::fwrite(data, 1, n, OutFile) == n ? GIFW_OK : GIFW_ERRWRITE;
}

int WriteByte(int b) { return std::fputc(b & 0xFF, OutFile) == EOF ? GIFW_ERRWRITE : GIFW_OK; }

int WriteWord(int w) {
  if (WriteByte(w) != GIFW_OK) return GIFW_ERRWRITE;
  return WriteByte(w >> 8);
}

void InitBitFile() {
  Buffer[0] = 0;
  Index = 0;
  BitsLeft = 8;
}

// Writes one full sub-block (255 data bytes) and empties the buffer.
int FlushFullBlock() {
  if (WriteByte(255) != GIFW_OK || Write(Buffer, 255) != GIFW_OK) return GIFW_ERRWRITE;
  InitBitFile();
  return GIFW_OK;
}

// Appends the low numbits bits of bits, least significant first. A byte that
// fills is left in place until more bits come, so the buffer never holds more
// than 255 bytes.
int WriteBits(unsigned bits, int numbits) {
  while (numbits > 0) {
    if (BitsLeft == 0) {
      if (Index >= 254) {
        if (FlushFullBlock() != GIFW_OK) return GIFW_ERRWRITE;
      } else {
        Buffer[++Index] = 0;
        BitsLeft = 8;
      }
    }
    const int n = numbits < BitsLeft ? numbits : BitsLeft;
    Buffer[Index] = static_cast<unsigned char>(Buffer[Index] | ((bits & ((1u << n) - 1)) << (8 - BitsLeft)));
    bits >>= n;
    numbits -= n;
    BitsLeft -= n;
  }
  return GIFW_OK;
}

// Writes the bytes in use as the last, possibly short, sub-block.
int ResetOutBitFile() {
  const int n = Index + (BitsLeft < 8 ? 1 : 0);
  if (n > 0) {
    if (WriteByte(n) != GIFW_OK || Write(Buffer, static_cast<size_t>(n)) != GIFW_OK) return GIFW_ERRWRITE;
  }
  InitBitFile();
  return GIFW_OK;
}

// String table ----------------------------------------------------------------------

void FreeStrtab() {
  std::free(StrChr);
  std::free(StrNxt);
  std::free(StrHsh);
  StrChr = nullptr;
  StrNxt = nullptr;
  StrHsh = nullptr;
}

int AllocStrtab() {
  FreeStrtab();
  StrChr = static_cast<unsigned char*>(std::malloc(kMaxStrings));
  StrNxt = static_cast<uint32_t*>(std::malloc(kMaxStrings * sizeof(uint32_t)));
  StrHsh = static_cast<uint32_t*>(std::malloc(kHashSize * sizeof(uint32_t)));
  if (!StrChr || !StrNxt || !StrHsh) {
    FreeStrtab();
    return GIFW_OUTMEM;
  }
  return GIFW_OK;
}

int Hash(uint32_t prefix, int c) {
  return static_cast<int>(((static_cast<uint32_t>(c) << 8) ^ prefix) % kHashSize);
}

// The next slot of a probe sequence: step 2039, modulo the table size.
int NextSlot(int slot) {
  slot += kHashStep;
  return slot >= kHashSize ? slot - kHashSize : slot;
}

// Adds the string prefix + c and returns its index, or kNone when the table is full.
uint32_t AddCharString(uint32_t prefix, int c) {
  if (NumStrings >= kMaxStrings) return kNone;
  int slot = Hash(prefix, c);
  while (StrHsh[slot] != kNone) slot = NextSlot(slot);
  StrHsh[slot] = static_cast<uint32_t>(NumStrings);
  StrChr[NumStrings] = static_cast<unsigned char>(c);
  StrNxt[NumStrings] = prefix;
  return static_cast<uint32_t>(NumStrings++);
}

// The index of the string prefix + c, or kNone when the table lacks it.
uint32_t FindCharString(uint32_t prefix, int c) {
  if (prefix == kNone) return static_cast<uint32_t>(c);
  int slot = Hash(prefix, c);
  uint32_t index;
  while ((index = StrHsh[slot]) != kNone) {
    if (StrNxt[index] == prefix && StrChr[index] == c) return index;
    slot = NextSlot(slot);
  }
  return kNone;
}

// Empties the table and puts back the roots and the two control codes.
void ClearStrtab(int codesize) {
  NumStrings = 0;
  for (int i = 0; i < kHashSize; ++i) StrHsh[i] = kNone;
  const int n = (1 << codesize) + 2;
  for (int c = 0; c < n; ++c) AddCharString(kNone, c);
}

// The next pixel in row order, or -1 after the last one.
int InputByte() {
  if (RelPixY >= ImageHeight || ImageWidth <= 0) return -1;
  const int c = GIFGetPixel(ImageLeft + RelPixX, ImageTop + RelPixY) & PixelMask;
  if (++RelPixX >= ImageWidth) {
    RelPixX = 0;
    ++RelPixY;
  }
  return c;
}

// The input function is a template argument so that the per-pixel call inlines.
template <int (*inputbyte)()>
int LZW_Compress(int codesize) {
  InitBitFile();
  const uint32_t clearcode = 1u << codesize;
  const uint32_t endofinfo = clearcode + 1;
  int numbits = codesize + 1;
  uint32_t limit = (1u << numbits) - 1;

  if (AllocStrtab() != GIFW_OK) return GIFW_OUTMEM;
  ClearStrtab(codesize);

  int result = WriteBits(clearcode, numbits);
  uint32_t prefix = kNone;
  int c;
  while (result == GIFW_OK && (c = inputbyte()) != -1) {
    const uint32_t found = FindCharString(prefix, c);
    if (found != kNone) {
      prefix = found;
      continue;
    }
    result = WriteBits(prefix, numbits);
    if (result != GIFW_OK) break;
    if (AddCharString(prefix, c) > limit) {
      if (++numbits > kMaxBits) {
        result = WriteBits(clearcode, kMaxBits);
        ClearStrtab(codesize);
        numbits = codesize + 1;
      }
      limit = (1u << numbits) - 1;
    }
    prefix = static_cast<uint32_t>(c);
  }
  if (result == GIFW_OK && prefix != kNone) result = WriteBits(prefix, numbits);
  if (result == GIFW_OK) result = WriteBits(endofinfo, numbits);
  if (result == GIFW_OK) result = ResetOutBitFile();
  FreeStrtab();
  return result;
}

void CloseOutFile() {
  if (OutFile) std::fclose(OutFile);
  OutFile = nullptr;
}

}  // namespace

int BitsNeeded(unsigned n) {
  if (n == 0) return 0;
  --n;
  int bits = 1;
  while (n >>= 1) ++bits;
  return bits;
}

int GIF_Create(const char* filename, int width, int height, int numcolors, int colorres) {
  // A leftover picture that was never closed is closed now, as it stands.
  CloseOutFile();
  if (numcolors < 0 || numcolors > 256 || colorres < 1 || colorres > 8) return GIFW_ERRCREATE;
  NumColors = numcolors ? 1 << BitsNeeded(static_cast<unsigned>(numcolors)) : 0;
  BitsPrPrimColor = colorres;
  ScreenHeight = height;
  ScreenWidth = width;

  std::free(GIFColorTable);
  GIFColorTable = nullptr;
  if (NumColors) {
    GIFColorTable = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(NumColors), 3));
    if (!GIFColorTable) return GIFW_OUTMEM;
  }

  // "x": never overwrite; a name that exists is not created.
  OutFile = std::fopen(filename, "wbx");
  if (!OutFile) return GIFW_ERRCREATE;

  if (Write("GIF87a", 6) != GIFW_OK) return GIFW_ERRWRITE;
  int packed = ((colorres - 1) & 7) << 4;
  if (NumColors) packed |= 0x80 | ((BitsNeeded(static_cast<unsigned>(NumColors)) - 1) & 7);
  if (WriteWord(ScreenWidth) != GIFW_OK || WriteWord(ScreenHeight) != GIFW_OK || WriteByte(packed) != GIFW_OK ||
      WriteByte(0) != GIFW_OK || WriteByte(0) != GIFW_OK)
    return GIFW_ERRWRITE;
  return GIFW_OK;
}

void GIF_SetColor(int colornum, int red, int green, int blue) {
  if (!GIFColorTable || colornum < 0 || colornum >= NumColors) return;
  const long maxcolor = (1L << BitsPrPrimColor) - 1;
  unsigned char* p = GIFColorTable + 3 * colornum;
  p[0] = static_cast<unsigned char>(red * 255L / maxcolor);
  p[1] = static_cast<unsigned char>(green * 255L / maxcolor);
  p[2] = static_cast<unsigned char>(blue * 255L / maxcolor);
}

int GIF_CompressImage(int left, int top, int width, int height, GIFGetPixelFunc getpixel) {
  if (!OutFile || !getpixel) return GIFW_ERRWRITE;
  if (width < 0) {
    width = ScreenWidth;
    left = 0;
  }
  if (height < 0) {
    height = ScreenHeight;
    top = 0;
  }
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  ImageLeft = left;
  ImageTop = top;
  ImageWidth = width;
  ImageHeight = height;
  GIFGetPixel = getpixel;

  if (NumColors && Write(GIFColorTable, static_cast<size_t>(NumColors) * 3) != GIFW_OK) return GIFW_ERRWRITE;

  if (WriteByte(',') != GIFW_OK || WriteWord(ImageLeft) != GIFW_OK || WriteWord(ImageTop) != GIFW_OK ||
      WriteWord(ImageWidth) != GIFW_OK || WriteWord(ImageHeight) != GIFW_OK || WriteByte(0) != GIFW_OK)
    return GIFW_ERRWRITE;

  // The format allows no minimum code size below 2.
  int codesize = BitsNeeded(static_cast<unsigned>(NumColors));
  if (codesize < 2) codesize = 2;
  if (WriteByte(codesize) != GIFW_OK) return GIFW_ERRWRITE;
  PixelMask = NumColors ? NumColors - 1 : (1 << codesize) - 1;

  RelPixX = 0;
  RelPixY = 0;
  const int result = LZW_Compress<InputByte>(codesize);
  if (result != GIFW_OK) return result;
  return WriteByte(0);
}

int GIF_Close() {
  if (!OutFile) return GIFW_ERRWRITE;
  int result = WriteByte(';');
  if (std::fclose(OutFile) != 0) result = GIFW_ERRWRITE;
  OutFile = nullptr;
  std::free(GIFColorTable);
  GIFColorTable = nullptr;
  return result;
}

void GIF_Abandon() {
  CloseOutFile();
  std::free(GIFColorTable);
  GIFColorTable = nullptr;
}
