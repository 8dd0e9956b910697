// The program's start-up sequence, in its fixed order. The configuration and the
// country list decide every file name that the later steps use.
#include "app/startup.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/command_table.h"
#include "app/country_selection.h"
#include "app/file_dialogs.h"
#include "app/session.h"
#include "app/key_routine.h"
#include "app/starting_point.h"
#include "base/clock.h"
#include "base/log.h"
#include "demography/projection.h"
#include "demography/saved_simulation.h"
#include "demography/simulation.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "startup/config.h"
#include "startup/country_list.h"
#include "startup/filenames.h"
#include "startup/places.h"
#include "ui/event_loop.h"
#include "ui/interface.h"

namespace {

// The program needs this much free memory to start; the message names what a
// full run of the original machine needed.
constexpr long MIN_FREE_MEMORY = 235000;
constexpr long MEMORY_NAMED_BYTES = 429056;
constexpr long MEMORY_NAMED_KBYTES = 419;

void check_free_memory() {
  if (MXmemavail() < MIN_FREE_MEMORY) {
    MXelog(-1, "You must have at least %ld bytes (%ld Kilobytes) of free memory \nto run this program.\n",
           MEMORY_NAMED_BYTES, MEMORY_NAMED_KBYTES);
  }
}

// Loads a map picture for the whole run. The buffer holds the file less its
// 8-byte header and lives as long as the picture, which points into it; a second
// start-up in one process (as a restart in the tests) replaces it.
void load_map(const std::string& file, MXPicture* picture, const char* what) {
  static std::map<MXPicture*, std::unique_ptr<void, decltype(&std::free)>> buffers;
  const MXReadingFile reading(file.c_str());
  FILE* in = MXopen(file.c_str(), "rb");
  if (!in) MXelog(-1, "Unable to open %s map |%s|\n%s", what, file.c_str(), ConfigNote.c_str());
  const long size = MXfilesize(in);
  void* buffer = size > 8 ? std::malloc(static_cast<size_t>(size - 8)) : nullptr;
  if (!buffer) MXelog(-1, "Unable to allocate space for %s map\n", what);
  buffers.insert_or_assign(picture, std::unique_ptr<void, decltype(&std::free)>(buffer, &std::free));
  if (!MXinitpic(in, picture, buffer))
    MXelog(-1, "Unable to initialize %s map |%s|: not a whole run-length picture\n", what, file.c_str());
  std::fclose(in);
}

// The zoom box of the map window starts centred on the small map.
void set_up_zoom_box() {
  int sw = 0, sh = 0, lw = 0, lh = 0;
  MXgetfieldrect("LMAP", nullptr, nullptr, &lw, &lh, nullptr);
  MXgetfieldrect("SMAP", nullptr, nullptr, &sw, &sh, nullptr);
  compute_xorbox(sw / 2, sh / 2, MapScale, sw, sh, lw, lh);
}

// The first screen: the root window offers File, or Glossary with the tutor switch;
// then either the saved tutorial simulation or the intro is queued.
void arrange_first_screen() {
  if (TutorEntry) {
    MXdisablebutton("root", "File", 0);
    MXinvisiblebutton("root", "File", 0);
  } else {
    MXinvisiblebutton("root", "Glossary", 0);
  }
  if (!starting_point_offered(Todayyear)) MXdisablemenuitem("file", "p4");
  offer_outside_files();
  if (Tutorfile || LoadAtStart != SaveFile) {
    // A simulation to open at once: the main screen without the intro.
    MXsetdeactivenamedwindow("instruction");
    MXsetactivenamedwindow("top");
    MXsetactivenamedwindow("bottom");
    MXactivatefunction("load_simulation");
  } else {
    MXactivatefunction("do_intro");
  }
}

void open_output_log() {
  if (!MXinitlog("w")) {
    fputs("Unable to initialize output.log\n", stdout);
    fflush(stdout);
    MXdelay(2000);
    exit(-1);
  }
}

void write_start_notes() {
  MXelog(0, "Memory Available: %ld.\n", MXmemavail());
  if (HasFPU)
    MXelog(0, "Floating point will be used for calculations.\n");
  else
    MXelog(0, "Floating point will not be used for calculations.\n");
}

}  // namespace

void varnock_startup() {
  // Without a window, time is virtual from the start: a fatal entry made before
  // the display opens then ends the program without its real 2-second pause.
  if (MXPheadless()) MXPuse_virtual_clock(true);
  set_start_file_names();  // picture names; Home and DataDir come from settle_places
  check_free_memory();
  HasFPU = MXhasFPU();
  configure();
  read_start_setting();
  set_version_file();
  if (!init_sim_arrays()) MXelog(-1, "Out of memory for simulation arrays.\n");
  build_file_names();
  load_map(CountryFile, &Countrypic, "country");
  load_map(RegionFile, &Regionpic, "region");

  register_commands();
  // Looked at here, where the cause of a missing file is known.
  if (FILE* in = MXopen(InterfaceFile.c_str(), "r"))
    std::fclose(in);
  else
    MXelog(-1, "Cannot open interface file |%s|.\n%s", InterfaceFile.c_str(), ConfigNote.c_str());
  MXinterfaceinit("Demovar", InterfaceFile.c_str(), Use_bstore, "w", G640x480x16);
  open_output_log();
  set_up_zoom_box();

  ListColorLookup = MXconvertcolor;
  get_country_names();
  get_country_aliases();
  Country[0].country_name[0] = '\0';
  Country[1].country_name[0] = '\0';
  alloc_sim_records();
  arrange_first_screen();
  MXcharfunc("keyfunc");  // Escape, Enter and typing in whichever modal window is up
  HelpKeyFunc = help_key;
  write_start_notes();
  install_session_handlers();
  begin_session();  // from here on, ending the program keeps the session
}

void printusage() {
  fputs("Demovar.\n", stdout);
  fputs("\tUsage: Varnock [-d] [-t] [-w] [-l <savefile>] [-cmap x y name]\n", stdout);
  fputs("The -d option turns on debug messages\n", stdout);
  fputs("The -t option enables 'Glossary' button\n", stdout);
  fputs("The -w option start user up in Walk Through tutorial\n", stdout);
  fflush(stdout);
  MXdelay(2000);
  exit(0);
}

namespace {
constexpr const char* kOptionsText =
    "Usage: varnock [--data DIR] [--fullscreen] [--fill] [--scale N] [FILE.sav]\n"
    "       varnock --help | --version\n"
    "Demovar, an interactive world-population simulator.\n"
    "  FILE.sav      open this saved simulation instead of the intro\n"
    "  --data DIR    run portable on the data in DIR, writing logs, saves and\n"
    "                pictures there too; so does a config.mcf in the working directory.\n"
    "                Otherwise the installed data is used and your files go to\n"
    "                $XDG_DATA_HOME/demovar (~/.local/share/demovar), screen pictures\n"
    "                to your pictures folder and tables to your documents folder\n"
    "  --fullscreen  start in full screen (F11 switches in and out)\n"
    "  --fill        fill the window or screen, also when that enlarges the picture\n"
    "                by a fraction (F10 switches); otherwise by whole factors only\n"
    "  --scale N     start with a window N times 640 x 480, N from 1 to 8\n"
    "                (default: the largest that fits the desktop)\n"
    "  --help        this text\n"
    "  --version     the version\n"
    "The environment variables VARNOCK_FULLSCREEN=1, VARNOCK_FILL=1 and\n"
    "VARNOCK_SCALE=N do the same as the three window options.\n";

[[noreturn]] void bad_option(const std::string& why) {
  std::fprintf(stderr, "varnock: %s\n%s", why.c_str(), kOptionsText);
  std::exit(2);
}

// A path given on the command line, made absolute before the program changes its
// working directory.
std::string absolute_path(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}
}  // namespace

void varnock_options(int argc, char** argv) {
  // The window reads its settings from the environment; an option sets the
  // variable, so that both ways mean the same and the option wins.
  std::string data;
  std::string open_file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* name) {
      const std::string option = std::string(name) + "=";
      if (arg.starts_with(option)) return arg.substr(option.size());
      if (i + 1 == argc) bad_option(std::string(name) + " needs a value");
      return std::string(argv[++i]);
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kOptionsText, stdout);
      std::exit(0);
    } else if (arg == "--version") {
      std::printf("varnock (Demovar) %s\n", DemovarVersion);
      std::exit(0);
    } else if (arg == "--fullscreen") {
      setenv("VARNOCK_FULLSCREEN", "1", 1);
    } else if (arg == "--fill") {
      setenv("VARNOCK_FILL", "1", 1);
    } else if (arg == "--scale" || arg.starts_with("--scale=")) {
      const std::string n = value("--scale");
      if (n.size() != 1 || n[0] < '1' || n[0] > '8') bad_option("--scale takes a number from 1 to 8");
      setenv("VARNOCK_SCALE", n.c_str(), 1);
    } else if (arg == "--data" || arg.starts_with("--data=")) {
      data = value("--data");
      if (data.empty()) bad_option("--data needs a directory");
    } else if (!arg.starts_with("-") && open_file.empty()) {
      open_file = absolute_path(arg);
    } else {
      // Other words change nothing, as they never did; a mistyped option is told.
      std::fprintf(stderr, "varnock: \"%s\" is not an option and is ignored (varnock --help lists them)\n",
                   arg.c_str());
    }
  }
  const std::string problem = settle_places(data);
  if (!problem.empty()) {
    std::fprintf(stderr, "varnock: %s\n", problem.c_str());
    std::exit(1);
  }
  if (!open_file.empty()) LoadAtStart = open_file;
}

void varnock_run() {
  MXinterface();
  std::exit(0);  // not reached: the event loop does not return
}
