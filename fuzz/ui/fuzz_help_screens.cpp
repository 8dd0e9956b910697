// libFuzzer target of the help and version files: any bytes as a help file, paged
// forward, back and again through the help window, and read as a version file, on
// the headless display with a small interface file of its own. The windows are
// small, the buttons unlabelled and the file in memory (/dev/shm where there is
// one): drawing large windows and writing to disk would take most of each run and
// find nothing more.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/log.h"
#include "platform/platform_headless.h"
#include "ui/help.h"
#include "ui/interface.h"

namespace {

int nothing(int, int, int, const char*) { return 1; }
const IntrFunction kRoutines[] = {{"hnext", nothing}, {"hprev", nothing}};

std::string g_file;

// The windows "message", "help" (with "helpnext" and "helpprev") and "alert", the
// field "VERSION" and help message 5.
const char kInterface[] =
    "buttonstuff(black 0 white dgray)\n"
    "window(root 0 0 640 480 black lgray black 2 1 0)\n"
    "window(message 0 420 160 30 black white black 1 1 0)\n"
    "window(help 40 20 160 60 black white black 1 0 0)\n"
    "button(helpnext |@@| 100 40 40 16 black dgray lgray hnext 1 1 0 C)\n"
    "button(helpprev |@@| 50 40 40 16 black dgray lgray hprev 1 1 0 C)\n"
    "window(alert 150 150 340 120 black white black 2 0 0)\n"
    "field(VERSION 300 5 300 14 black)\n"
    "msg(hm50 |Five one|)\n";

// Nothing in these files may end the program: a fatal entry is a finding.
[[noreturn]] void fatal(int, const char* text) {
  std::fputs(text, stderr);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  const std::string stem = dir + "/fuzz_help_" + std::to_string(static_cast<long>(getpid()));
  g_file = stem + ".txt";
  const std::string interface_file = stem + ".inf";
  FILE* out = std::fopen(interface_file.c_str(), "wb");
  if (!out) std::abort();
  std::fputs(kInterface, out);
  std::fclose(out);
  MXsetfatalhandler(fatal);
  MXPuse_headless(true);
  MXsetfunctiontable(kRoutines, 2);
  MXinterfaceinit("Demovar fuzz", interface_file.c_str(), 0, "w", 16);
  std::remove(interface_file.c_str());
  std::atexit([] { std::remove(g_file.c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* out = std::fopen(g_file.c_str(), "wb");
  if (!out) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  MXresethelpstate();
  MXdohelpscreens(g_file.c_str(), FirstPage, 0, 5);
  for (int i = 0; i < 3; ++i) MXdohelpscreens(g_file.c_str(), NextPage, 0, -1);
  MXdohelpscreens(g_file.c_str(), PrevPage, 0, -1);
  MXdohelpscreens(g_file.c_str(), CurrPage, 0, -1);
  MXremovenamedwindow("help");
  MXdisplayversion(g_file.c_str());
  return 0;
}
