// Fuzz target of the country databases: arbitrary bytes are read as a
// "VK_country" file; what reads is converted, and what converts is projected
// to 2050, on the floating and on the integer path of RESCALE (whose overflow
// ends the program on purpose; the fatal exit is caught here).
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include "base/log.h"
#include "demography/country.h"
#include "demography/projection.h"
#include "demography/simulation.h"
#include "startup/filenames.h"

namespace {
struct Fatal : std::runtime_error {
  using std::runtime_error::runtime_error;
};
[[noreturn]] void throw_fatal(int, const char* text) { throw Fatal(text); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    MXsetfatalhandler(throw_fatal);
    alloc_sim_records();
    return init_sim_arrays() == 1;
  }();
  if (!started || size == 0) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (!file) return 0;
  reset_vkreader();
  ReadinInfo raw;
  const int read = MXgenreader(file, VKreader, "VK_country", &raw);
  std::fclose(file);
  if (!read) return 0;
  for (int fpu = 1; fpu >= 0; --fpu) {
    HasFPU = fpu;
    try {
      Cdisp = 0;
      if (!DBconvert(&raw, &Country[0])) return 0;
      Display[0] = DisplayType{};
      Display[0].curr_sim = 0;
      init_sim_data(0, 0);
      VKStatetype* s = VKState[0][0];
      set_expected_targets(s, &Country[0]);
      while (s->stepcnt < VK_TIMEPOINTS - 1) {
        s->stepcnt += 1;
        dosim(s);
      }
    } catch (const Fatal&) {
      // Only the integer path may end the program, on a product beyond 32 bits.
      if (fpu) throw;
    }
  }
  HasFPU = 1;
  return 0;
}
