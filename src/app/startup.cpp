// The program's start-up sequence, in its fixed order. The configuration and the
// country list decide every file name that the later steps use.
#include "app/startup.h"

#include <cstdio>
#include <cstdlib>

#include "base/clock.h"
#include "base/log.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "startup/config.h"
#include "startup/country_list.h"
#include "startup/filenames.h"

namespace {

// The program needs this much free memory to start; the message names what a
// full run of the original machine needed.
constexpr long MIN_FREE_MEMORY = 235000;
constexpr long MEMORY_NAMED_BYTES = 429056;
constexpr long MEMORY_NAMED_KBYTES = 419;

// The eight colours every interface starts with (6-bit components): black, white,
// dgray, mgray, lgray, bluegray, lblue, peach.
const unsigned char preset_rgb[8 * 3] = {
    0,  0,  0,  63, 63, 63, 50, 45, 45, 30, 30, 55,
    53, 53, 53, 0,  50, 50, 10, 10, 55, 63, 47, 50,
};

void check_free_memory() {
  if (MXmemavail() < MIN_FREE_MEMORY) {
    MXelog(-1, "You must have at least %ld bytes (%ld Kilobytes) of free memory \nto run this program.\n",
           MEMORY_NAMED_BYTES, MEMORY_NAMED_KBYTES);
  }
}

// The interface library: error.log first (its version line heads the log), then
// the 640 x 480 window titled "Demovar" with 16 colours.
void start_interface() {
  // TODO(lead): replace this block with
  //   MXinterfaceinit("Demovar", InterfaceFile.c_str(), Use_bstore, "w", G640x480x16);
  // once the interface library is in; it opens error.log, the window and reads the file.
  if (!init_error_log("w")) {
    fputs("Unable to write to error.log\n", stdout);
    fflush(stdout);
    exit(-1);
  }
  MXPinit_system("Demovar");
  MXPinit_palette(preset_rgb, 8);
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
  set_start_file_names();  // steps 1 and 3: Home empty, picture names
  check_free_memory();
  HasFPU = MXhasFPU();
  configure();
  set_version_file();

  // TODO(lead): projection working arrays:
  //   if (!init_sim_arrays()) MXelog(-1, "Out of memory for simulation arrays.\n");

  build_file_names();

  // TODO(lead): the two map pictures, each: MXopen(name, "rb") ("Unable to open country
  // map |%s|\n"), a buffer of MXfilesize - 8 bytes ("Unable to allocate space for
  // country map\n"), MXinitpic into Countrypic ("Unable to initialize country map\n");
  // then the same for RegionFile into Regionpic with "region" in the messages.

  start_interface();
  open_output_log();

  // TODO(lead): the map selection box:
  //   MXgetfieldrect("LMAP", ...); MXgetfieldrect("SMAP", ...);
  //   compute_xorbox(sw / 2, sh / 2, MapScale, sw, sh, lw, lh);

  // TODO(lead): ListColorLookup = MXconvertcolor; (colours stay 255 until then)
  get_country_names();

  // TODO(lead): Country[0] and Country[1] empty; for pane 0, 1 and run 0..2 allocate
  // VKState (stepcnt -1) then VKsaveyear ("Unable to allocate space for simulation
  // %d, %d\n"); the root window's File or Glossary button (TutorEntry); then either
  // "instruction" off, "top" and "bottom" on and "load_simulation" activated
  // (Tutorfile) or "do_intro" activated.

  write_start_notes();
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

void varnock_run() {
  // TODO(lead): MXinterface(); (the interface library's event loop)
  // Until then: take events forever; the window's close request ends the program.
  MXEvent event;
  for (;;) MXPnext_event(&event);
}
