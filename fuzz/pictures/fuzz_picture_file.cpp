// Fuzz target: any bytes as a picture file drawn straight from the file, as the
// intro screen draws its picture. A damaged file must end the program with its
// message (caught here) and never read outside the file or the row buffer.
//
// Every fatal entry opens error.log anew and truncates it, which on a disk file
// costs more than the drawing: where the working directory holds no error.log,
// the log goes to /dev/null for the run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/log.h"
#include "pictures/run_length_picture.h"

namespace {
struct Fatal {};
[[noreturn]] void throw_fatal(int, const char*) { throw Fatal{}; }
void discard(int, int, const unsigned char*, int, void*) {}
int shade(unsigned value) { return static_cast<int>(value * 7); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = [] {
    MXsetfatalhandler(throw_fatal);
    if (symlink("/dev/null", "error.log") == 0) std::atexit([] { unlink("error.log"); });
    return true;
  }();
  if (!started || size == 0) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return 0;
  // The whole picture, a part from its middle, and a start near the last row and column.
  const int starts[][4] = {{640, 480, 0, 0}, {100, 20, 3, 2}, {640, 2, 639, 1}};
  for (const auto& s : starts) {
    try {
      MXdecodefilepictrows(file, 0, 0, s[0], s[1], s[2], s[3], s[2] ? shade : nullptr, discard, nullptr);
    } catch (const Fatal&) {
    }
  }
  std::fclose(file);
  return 0;
}
