// Speed of the event loop's heartbeat: one idle event with nothing to do (no press
// under way, no active function, the cursor still), and the same with the cursor
// moving over a drag area, on the headless display with the event-loop test file.
#include <benchmark/benchmark.h>

#include "base/log.h"
#include "platform/platform_headless.h"
#include "ui/event_loop.h"
#include "ui/interface.h"

namespace {

int nothing(int, int, int, const char*) { return 1; }

const IntrFunction kRoutines[] = {
    {"under", nothing}, {"over", nothing},  {"rep", nothing},        {"selfdis", nothing},
    {"menu", nothing},  {"checks", nothing}, {"menuclosed", nothing}, {"item", nothing},
    {"area", nothing},  {"area2", nothing}, {"ticker", nothing},     {"once", nothing},
    {"keyfunc", nothing}, {"none", nullptr},
};

void start() {
  MXPuse_headless(true);
  MXsetfunctiontable(kRoutines, static_cast<int>(std::size(kRoutines)));
  MXinterfaceinit("Demovar bench", UI_BENCH_DATA "/event_loop.inf", 0, "w", 16);
  MXPreset_event_loop();
  MXmouseinit();
  MXdoeventsandreturn();  // the start-up expose
}

void stop() {
  closegraph();
  MXfreeinterfacetables();
}

void BM_IdleEventWithNothingToDo(benchmark::State& state) {
  start();
  const MXEvent idle{MX_IDLE, 0, 600, 400};
  MXPdo_one_event(&idle);
  for (auto _ : state) MXPdo_one_event(&idle);
  stop();
}
BENCHMARK(BM_IdleEventWithNothingToDo);

void BM_IdleEventMovingOverADragArea(benchmark::State& state) {
  start();
  MXEvent idle{MX_IDLE, 0, 20, 110};
  for (auto _ : state) {
    idle.mousex = static_cast<int16_t>(idle.mousex == 20 ? 21 : 20);
    MXPdo_one_event(&idle);
  }
  stop();
}
BENCHMARK(BM_IdleEventMovingOverADragArea);

}  // namespace
