// make_walkthru_start: writes the walk-through's prepared starting state, a saved
// simulation made by the program itself. It starts the program on the headless
// screen in a scratch directory that holds the data directory's files, closes
// the first help text and the intro as a user would, loads the world into the
// upper pane (the lower pane stays empty: the lesson uses only the upper one) and
// saves both panes with the interface state of that main screen.
//
//   make_walkthru_start [--data DIR] [--out FILE]
//
// DIR is the program's data directory (default "data"); FILE defaults to
// DIR/vk_wt.ini. The interface state in the file fits only the interface file it
// was made with: run this again whenever data/varnock.inf changes.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/general_commands.h"
#include "app/population_display.h"
#include "app/startup.h"
#include "demography/country.h"
#include "demography/saved_simulation.h"
#include "demography/simulation.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "startup/country_list.h"

namespace fs = std::filesystem;

namespace {

// The region the upper pane shows when the lesson begins.
const char* const kFirstCountry = "World";

int fail(const std::string& message) {
  std::fprintf(stderr, "make_walkthru_start: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path data = "data", out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 < argc && arg == "--data")
      data = argv[++i];
    else if (i + 1 < argc && arg == "--out")
      out = argv[++i];
    else
      return fail("usage: make_walkthru_start [--data DIR] [--out FILE]");
  }
  data = fs::absolute(data);
  out = out.empty() ? data / "vk_wt.ini" : fs::absolute(out);

  // The program writes its logs where it runs: a scratch directory that shows the
  // data directory's files.
  char scratch[] = "/tmp/make-walkthru-start-XXXXXX";
  if (!mkdtemp(scratch)) return fail("cannot make a scratch directory");
  std::error_code error;
  for (const char* name : {"config.mcf", "varnock.inf", "dbase", "images", "info"}) {
    fs::create_symlink(data / name, fs::path(scratch) / name, error);
    if (error) return fail("cannot link " + (data / name).string() + ": " + error.message());
  }
  fs::current_path(scratch);

  MXPuse_headless(true);
  varnock_startup();
  do_intro();
  done();
  instrdone();

  int status = 0;
  const int index = find(Country_list, kFirstCountry, 0, Numregions + Numcountries);
  Cdisp = 0;
  if (index < 0) {
    status = fail(std::string("the country list has no ") + kFirstCountry);
  } else if (!readcountry(index)) {
    status = fail(std::string("cannot read the database of ") + kFirstCountry);
  } else {
    init_display_data(0);
    update_display(0);
    if (!savenamedfile(out.string().c_str()))
      status = fail("cannot write " + out.string());
    else
      std::printf("walk-through starting state written to %s\n", out.string().c_str());
  }
  closegraph();
  fs::current_path("/");
  fs::remove_all(scratch, error);
  return status;
}
