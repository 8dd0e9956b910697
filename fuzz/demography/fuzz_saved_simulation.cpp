// Fuzz target of the saved-simulation loader: arbitrary bytes are loaded as a
// saved file; a file that is accepted must give sound state, which is then
// stepped on by the projection and saved again. The file lives in memory (/dev/shm
// where there is one): saving syncs the file to its disk, which would otherwise
// take most of each run.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/log.h"
#include "demography/saved_simulation.h"
#include "demography/simulation.h"
#include "startup/filenames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "") + "fuzz-" +
                                  std::to_string(getpid()) + ".sav";
  static bool started = [] {
    alloc_sim_records();
    HasFPU = 1;
    return init_sim_arrays() == 1;
  }();
  if (!started) return 0;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  if (loadnamedfile(path.c_str())) {
    for (int pane = 0; pane < VK_PANES; ++pane) {
      const int sim = Display[pane].curr_sim;
      if (sim < -1 || sim > 2) std::abort();
      for (int run = 0; run < VK_RUNS; ++run) {
        VKStatetype* s = VKState[pane][run];
        if (s->stepcnt < -1 || s->stepcnt > 12) std::abort();
        if (run <= sim && s->stepcnt < 0) std::abort();
        if (s->stepcnt >= 0 && s->stepcnt < VK_TIMEPOINTS - 1) {
          Cdisp = pane;
          s->stepcnt += 1;
          dosim(s);
        }
      }
    }
    savenamedfile(path.c_str());
  }
  std::remove(path.c_str());
  return 0;
}
