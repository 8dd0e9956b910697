// Benchmarks of the projection engine on bundled country data (Japan, World and
// Niger: slow, large and fast-growing), and of vkproject --all.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/log.h"
#include "demography/country.h"
#include "demography/projection.h"
#include "demography/simulation.h"
#include "startup/filenames.h"
#include "vkproject.h"

namespace {
// error.log goes to a scratch directory, not to the working directory.
void open_log_aside() {
  static bool done = [] {
    char tmpl[] = "/tmp/demography-bench-XXXXXX";
    char here[4096];
    if (!mkdtemp(tmpl) || !getcwd(here, sizeof here) || chdir(tmpl) != 0) return false;
    init_error_log("w");
    static std::string dir = tmpl;
    std::atexit([] {
      std::remove((dir + "/error.log").c_str());
      rmdir(dir.c_str());
    });
    return chdir(here) == 0;
  }();
  if (!done) std::abort();
}

// Loads a bundled database into pane 0 and makes run 0 ready at 1990.
void load(const char* file) {
  open_log_aside();
  HasFPU = 1;
  alloc_sim_records();
  if (!init_sim_arrays()) std::abort();
  const std::string path = std::string(DEMOGRAPHY_BENCH_DATA) + "/dbase/" + file;
  FILE* f = std::fopen(path.c_str(), "r");
  ReadinInfo raw;
  reset_vkreader();
  if (!f || !MXgenreader(f, VKreader, "VK_country", &raw) || !DBconvert(&raw, &Country[0])) std::abort();
  std::fclose(f);
  Cdisp = 0;
  Display[0] = DisplayType{};
  Display[0].curr_sim = 0;
  init_sim_data(0, 0);
}

const char* const kFiles[] = {"jpn.dat", "world.dat", "ner.dat"};

void BM_DosimStep(benchmark::State& state) {
  load(kFiles[state.range(0)]);
  VKStatetype* s = VKState[0][0];
  set_expected_targets(s, &Country[0]);
  const VKStatetype start = *s;
  for (auto _ : state) {
    s->stepcnt = 1;
    s->year = start.year;
    dosim(s);
    benchmark::DoNotOptimize(s->totpop[1]);
  }
}
BENCHMARK(BM_DosimStep)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_FullRun(benchmark::State& state) {
  load(kFiles[state.range(0)]);
  VKStatetype* s = VKState[0][0];
  for (auto _ : state) {
    init_sim_data(0, 0);
    set_expected_targets(s, &Country[0]);
    while (s->stepcnt < VK_TIMEPOINTS - 1) {
      s->stepcnt += 1;
      dosim(s);
    }
    benchmark::DoNotOptimize(s->totpop[12]);
  }
}
BENCHMARK(BM_FullRun)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_VKProjectAll(benchmark::State& state) {
  open_log_aside();
  std::string data = DEMOGRAPHY_BENCH_DATA;
  char a0[] = "vkproject", a1[] = "--data", a3[] = "--all", a4[] = "--format", a5[] = "csv";
  char* argv[] = {a0, a1, data.data(), a3, a4, a5};
  FILE* out = std::fopen("/dev/null", "w");
  for (auto _ : state) {
    if (vkproject_main(6, argv, out, stderr) != 0) state.SkipWithError("vkproject failed");
  }
  std::fclose(out);
}
BENCHMARK(BM_VKProjectAll)->Unit(benchmark::kMillisecond);
}  // namespace
