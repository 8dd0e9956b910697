// libFuzzer target of the interface-definition file reader: both passes over the
// input, then a redraw of every window the file shows, on the headless display.
// A fatal message is the expected answer to a bad file; it is caught, not a crash.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/log.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "ui/interface.h"
#include "ui/interface_file.h"
#include "ui/interface_model.h"

namespace {

struct Fatal {};
[[noreturn]] void throw_fatal(int, const char*) { throw Fatal{}; }

int routine(int, int, int, const char*) { return 1; }

// The routine names of the seed corpus.
const IntrFunction kRoutines[] = {
    {"quit", routine}, {"file", routine}, {"save", routine}, {"press", routine},
    {"area", routine}, {"item", routine}, {"closed", routine}, {"do_intro", routine},
};

std::string input_path;

void start_once() {
  if (!input_path.empty()) return;
  MXsetfatalhandler(throw_fatal);
  MXPuse_headless(true);
  MXPinit_system("fuzz");
  MXsetfunctiontable(kRoutines, sizeof kRoutines / sizeof kRoutines[0]);
  // In memory where there is a tmpfs: each run writes the file anew.
  input_path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/fuzz_interface_" +
               std::to_string(getpid()) + ".inf";
  std::atexit([] { std::remove(input_path.c_str()); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  start_once();
  FILE* f = std::fopen(input_path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  try {
    InfState.level = 1;
    InfState.cw = 0;
    readfilepass1(input_path.c_str());
    readinterfacefile(input_path.c_str());
    MXPinit_palette(Interface_Palette, GraphicsMode);
    if (InfState.numwindows > 0) MXredrawactivewindows();
  } catch (const Fatal&) {
  }
  return 0;
}
