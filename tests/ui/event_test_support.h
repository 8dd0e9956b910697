// Shared set-up of the event-loop, list and help tests: the interface library
// started on the headless platform with a small interface file from tests/ui/data,
// fatal exits and quit requests turned into exceptions, and a record of every call
// the library makes into the test's routines.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/log.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "ui/event_loop.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/list.h"
#include "ui/scroll_list.h"

namespace uitest {

struct FatalExit {
  int code;
  std::string text;
};
struct QuitRequest {
  int code;
};

[[noreturn]] inline void throw_fatal(int code, const char* text) { throw FatalExit{code, text}; }
[[noreturn]] inline void throw_quit(int code) { throw QuitRequest{code}; }

// One call of an application routine.
struct Call {
  std::string routine;
  int x, y, code;
  std::string name;  // "" for a null name
  long time;         // virtual clock at the call
  std::string window;  // the current window at the call
};

inline std::vector<Call>& calls() {
  static std::vector<Call> list;
  return list;
}

inline int record(const char* routine, int x, int y, int code, const char* name) {
  char buffer[100];
  calls().push_back(Call{routine, x, y, code, name ? name : "", MXPclock_ms(),
                         MXgetcurrentwindowname(buffer)});
  return 1;
}

inline std::string data_path(const char* file) {
  std::string here = __FILE__;
  return here.substr(0, here.find_last_of('/')) + "/data/" + file;
}

// Each test process works in a directory of its own, so that the logs of tests
// running side by side do not mix. The error log stays open from one test to the
// next, so the directory lives until the process ends.
inline std::filesystem::path& home() {
  static std::filesystem::path dir;
  return dir;
}
struct OwnDirectory {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("demovar-ui-" + std::to_string(static_cast<long>(getpid())));
  ~OwnDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};
inline const std::filesystem::path& own_dir() {
  static OwnDirectory dir;
  return dir.path;
}

// Starts the library headless on the named test file with the given routine table.
inline void start_interface(const char* file, const IntrFunction* table, int count) {
  home() = std::filesystem::current_path();
  std::filesystem::create_directories(own_dir());
  std::filesystem::current_path(own_dir());
  MXsetfatalhandler(throw_fatal);
  MXPuse_headless(true);
  MXsetfunctiontable(table, count);
  InfState.backingstore[1].inuse = 0;
  const std::string path = data_path(file);
  MXinterfaceinit("Demovar test", path.c_str(), 0, "w", 16);
  MXPset_quit_handler(throw_quit);
  MXPreset_event_loop();
  MXresethelpstate();
  MXresetlists();
  MXresetsclists();
  MXmouseinit();
  calls().clear();
}

inline void stop_interface() {
  MXresetlists();
  MXresetsclists();
  closegraph();
  MXfreeinterfacetables();
  MXsetfatalhandler(nullptr);
  std::filesystem::current_path(home());
}

// Runs everything queued on the headless platform.
inline void run_events() { MXdoeventsandreturn(); }

// Calls whose routine is `routine`, in order.
inline std::vector<Call> calls_of(const std::string& routine) {
  std::vector<Call> out;
  for (const Call& c : calls())
    if (c.routine == routine) out.push_back(c);
  return out;
}

}  // namespace uitest
