// Speed of the interface library's start-up reading and of a full repaint: both passes
// over an interface file (the small test file, and a generated file the size of a
// whole program: 40 windows of 8 buttons and 6 graphics, 12 menus of 6 items), and
// MXredrawactivewindows with every window of the generated file shown.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "base/log.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "ui/interface.h"
#include "ui/interface_file.h"

namespace {

int nothing(int, int, int, const char*) { return 1; }

const IntrFunction kRoutines[] = {
    {"press", nothing}, {"area", nothing},  {"item", nothing},     {"closed", nothing},
    {"checks", nothing}, {"menu", nothing}, {"menu0", nothing}, {"do_intro", nothing},
};

const char* const kLargeFile = "/tmp/demovar_interface_bench.inf";

void write_large_file() {
  std::string f = "palette\n(ink 0 0 63)\n(face 40 40 10)\nend\nbuttonstuff (black 1 white dgray)\n";
  for (int m = 0; m < 12; ++m) {
    f += "popup (menu" + std::to_string(m) + " 300 100 ink dgray face black 0 closed)\n";
    for (int i = 0; i < 6; ++i)
      f += "plabel (item" + std::to_string(i) + " 1 item |Menu item " + std::to_string(i) + "|)\n";
  }
  f += "window (root 0 0 640 480 black lgray black 2 1 0)\n";
  for (int w = 1; w < 40; ++w) {
    const int x = (w % 8) * 78, y = (w / 8) * 95;
    f += "window (win" + std::to_string(w) + " " + std::to_string(x) + " " + std::to_string(y) +
         " 78 95 black peach black 2 1 0)\n";
    for (int b = 0; b < 8; ++b) {
      const std::string bx = std::to_string(4 + (b % 2) * 36), by = std::to_string(4 + (b / 2) * 22);
      f += "button (b" + std::to_string(b) + " |" + (b % 3 == 0 ? "Two@Lines" : b % 3 == 1 ? "\\^" : "Label") +
           "| " + bx + " " + by + " 34 20 ink dgray face " + (b == 7 ? "@menu0" : "press") + " 1 " +
           (b == 5 ? "0" : "1") + " 0 C)\n";
    }
    f += "line (2 2 70 2 1 ink)\nline (2 90 70 90 2 ink)\nrect (3 3 70 88 ink 1 hollow)\n"
         "rect (50 50 10 10 ink 2 fill)\nlabel (5 80 ink |Label| white)\nlabels (5 70 ink |small|)\n";
  }
  FILE* out = std::fopen(kLargeFile, "w");
  std::fputs(f.c_str(), out);
  std::fclose(out);
}

void start(const char* file) {
  MXPuse_headless(true);
  MXsetfunctiontable(kRoutines, static_cast<int>(std::size(kRoutines)));
  MXinterfaceinit("Demovar bench", file, 0, "w", 16);
}

void stop() {
  closegraph();
  MXfreeinterfacetables();
}

void read_both_passes(benchmark::State& state, const char* file) {
  start(file);
  for (auto _ : state) {
    readfilepass1(file);
    readinterfacefile(file);
  }
  state.counters["windows"] = InfState.numwindows;
  stop();
}

void BM_ReadTestInterfaceFile(benchmark::State& state) {
  read_both_passes(state, UI_BENCH_DATA "/interface_basic.inf");
}
BENCHMARK(BM_ReadTestInterfaceFile);

void BM_ReadProgramSizedInterfaceFile(benchmark::State& state) {
  write_large_file();
  read_both_passes(state, kLargeFile);
}
BENCHMARK(BM_ReadProgramSizedInterfaceFile);

void BM_RedrawActiveWindows(benchmark::State& state) {
  write_large_file();
  start(kLargeFile);
  for (auto _ : state) MXredrawactivewindows();
  stop();
}
BENCHMARK(BM_RedrawActiveWindows);

}  // namespace
