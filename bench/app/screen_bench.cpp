// Speed of the program's screens on the headless display, with both panes holding
// a country and a run of several steps: the whole-screen redraw (the goal is well
// under a millisecond), one pane's display, and opening the country selection.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/country_selection.h"
#include "app/general_commands.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "app/startup.h"
#include "demography/country.h"
#include "demography/simulation.h"
#include "pictures/run_length_encoder.h"
#include "platform/platform_headless.h"
#include "startup/country_list.h"
#include "startup/filenames.h"
#include "ui/event_loop.h"
#include "ui/interface.h"

namespace {

namespace fs = std::filesystem;

void write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

// A scratch data directory with the program's data, a plain intro picture and
// one-line texts; the program starts there with both panes loaded.
void start_program() {
  static bool started = false;
  if (started) return;
  started = true;
  std::string pattern = (fs::temp_directory_path() / "demovar-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  const fs::path dir = pattern, data = APP_DATA_DIR;
  fs::create_directories(dir / "images");
  fs::create_directories(dir / "info");
  fs::create_symlink(data / "dbase", dir / "dbase");
  fs::create_symlink(data / "varnock.inf", dir / "varnock.inf");
  for (const char* map : {"countries.rl8", "regions.rl8"}) fs::create_symlink(data / "images" / map, dir / "images" / map);
  MXwritepicture((dir / "images" / "intro.rl4").string(), 4, 10, 10, std::vector<uint16_t>(100, 3));
  for (const char* name : {"tutor1.hlp", "pop.txt"}) write(dir / "info" / name, "Version bench\n");
  std::ifstream config_in(data / "config.mcf");
  std::string config((std::istreambuf_iterator<char>(config_in)), std::istreambuf_iterator<char>());
  write(dir / "config.mcf", config + "infopath= info/\nimagepath= images/\n");
  fs::current_path(dir);
  std::atexit([] { fs::remove_all(fs::current_path()); });

  MXPuse_headless(true);
  varnock_startup();
  MXmouseinit();
  MXdoeventsandreturn();  // the first expose and the intro
  MXremovenamedwindow("help");
  HelpWinActive = 0;
  instrdone();
  const char* names[2] = {"China", "Brazil"};
  for (int pane = 0; pane < 2; ++pane) {
    Cdisp = pane;
    readcountry(find(Country_list, names[pane], 0, number_of_entries()));
    init_display_data(pane);
    VKStatetype* s = VKState[pane][0];
    for (int step = 0; step < 8; ++step) {
      s->stepcnt += 1;
      dosim(s);
    }
    setup_bargraph();
    update_display(pane);
  }
}

void BM_RedrawAll(benchmark::State& state) {
  start_program();
  for (auto _ : state) redraw_all();
}
BENCHMARK(BM_RedrawAll)->Unit(benchmark::kMicrosecond);

void BM_UpdateDisplay(benchmark::State& state) {
  start_program();
  for (auto _ : state) update_display(0);
}
BENCHMARK(BM_UpdateDisplay)->Unit(benchmark::kMicrosecond);

void BM_OpenMapWindow(benchmark::State& state) {
  start_program();
  Cdisp = 0;
  for (auto _ : state) {
    selectcountrymap();
    state.PauseTiming();
    mapcancel();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenMapWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
