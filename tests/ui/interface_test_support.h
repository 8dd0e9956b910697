// Shared set-up of the interface library's tests: the library started headless on an
// interface file (written by the test or taken from tests/ui/data) in a private working
// directory, fatal exits and quit requests turned into exceptions that carry the
// message, a record of every call the library makes into the test's routines, and
// screen read-back helpers.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/clock.h"
#include "base/log.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "ui/event_loop.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/interface_file.h"
#include "ui/interface_model.h"
#include "ui/list.h"
#include "ui/scroll_list.h"

namespace ifacetest {

struct Fatal { int code; std::string text; };
struct QuitRequest { int code; };

// The message of the fatal exit `action` ends in, or "(no fatal exit)".
template <typename F>
std::string fatal_text(F action) {
  try { action(); } catch (const Fatal& f) { return f.text; }
  return "(no fatal exit)";
}

// One call of an application routine, at a time of the virtual clock.
struct Call {
  std::string routine;
  int x, y, code;
  std::string name;  // "" for a null name
  long time;
};
inline std::vector<Call>& calls() {
  static std::vector<Call> list;
  return list;
}
inline int record(const char* routine, int x, int y, int code, const char* name) {
  calls().push_back(Call{routine, x, y, code, name ? name : "", MXPclock_ms()});
  return 1;
}
inline std::vector<Call> calls_of(const std::string& routine) {
  std::vector<Call> out;
  for (const Call& c : calls()) if (c.routine == routine) out.push_back(c);
  return out;
}

// A table entry binding `name` to a routine that records its calls under that name.
#define UI_RECORDER(name) \
  IntrFunction { #name, [](int x, int y, int code, const char* n) { return ifacetest::record(#name, x, y, code, n); } }

// Every routine name the interface files written by the tests use.
inline const IntrFunction kAnyRoutines[] = {
    UI_RECORDER(quit), UI_RECORDER(save_simulation), UI_RECORDER(file), UI_RECORDER(do_intro), UI_RECORDER(walkthru),
    UI_RECORDER(press), UI_RECORDER(area), UI_RECORDER(closed), UI_RECORDER(item), UI_RECORDER(checks), UI_RECORDER(menu),
};

inline std::string data_file(const char* name) { return std::string(UI_TEST_DATA) + "/" + name; }

// Each test process works in a directory of its own (error.log, written files), so that
// tests can run in parallel; it is removed when the process ends.
inline void use_private_directory() {
  static char dir[] = "/tmp/demovar-ui-test-XXXXXX";
  static bool done = false;
  if (done || !mkdtemp(dir)) return;
  done = true;
  std::filesystem::current_path(dir);
  std::atexit([] { std::filesystem::remove_all(dir); });
}
inline std::string write_file(const std::string& text, const char* name = "test_interface.inf") {
  use_private_directory();
  std::ofstream(name, std::ios::binary) << text;
  return name;
}
inline std::string read_text(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Starts the library headless on `path`; throws Fatal when it ends the program.
inline void start(const std::string& path, int bstore = 0, int colours = 16,
                  const IntrFunction* table = kAnyRoutines, int count = std::size(kAnyRoutines)) {
  use_private_directory();
  MXsetfatalhandler([](int code, const char* text) { throw Fatal{code, text}; });
  MXPuse_headless(true);
  MXsetfunctiontable(table, count);
  InfState.backingstore[1].inuse = 0;
  MXinterfaceinit("Demovar test", path.c_str(), bstore, "w", colours);
  calls().clear();
}
// The fatal message of starting on `text`, or "" when it started.
inline std::string fatal_of(const std::string& text, int colours = 16) {
  const std::string message = fatal_text([&] { start(write_file(text), 0, colours); });
  return message == "(no fatal exit)" ? "" : message;
}
// What error.log gained while `action` ran.
template <typename F>
std::string log_during(F action) {
  use_private_directory();
  init_error_log("a");
  const std::string before = read_text("error.log");
  action();
  return read_text("error.log").substr(before.size());
}

// Starts the library on a file of tests/ui/data with the event loop, lists and help
// reset and the start-up expose run, as the interactive tests need it.
inline void start_interface(const char* file, const IntrFunction* table, int count) {
  start(data_file(file), 0, 16, table, count);
  MXPset_quit_handler([](int code) { throw QuitRequest{code}; });
  MXPreset_event_loop(), MXresethelpstate(), MXresetlists(), MXresetsclists(), MXmouseinit();
  MXdoeventsandreturn();
  calls().clear();
}
inline void stop_interface() {
  MXresetlists(), MXresetsclists(), closegraph(), MXfreeinterfacetables();
  MXsetfatalhandler(nullptr);
}

inline const MXWindow& window(const char* name) { return Win[MXwindownum(name)]; }
inline const MXButton& button(const char* w, const char* b) { return Win[MXwindownum(w)].wb[MXbuttonnum(MXwindownum(w), b)]; }
inline ButtonStatusType state_of(const char* window, const char* button) {
  int active = 0;
  return MXgetbuttonspecs(window, button, nullptr, nullptr, nullptr, nullptr, &active), ButtonStatusType(active);
}

// Screen read-back, and expected colours at screen points.
using Pixels = std::set<std::pair<int, int>>;
inline Pixels pixels_of(int colour, int x0 = 0, int y0 = 0, int x1 = 639, int y1 = 479) {
  Pixels s;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (MXPget_pixel(x, y) == colour) s.insert({x, y});
  return s;
}
inline std::vector<unsigned char> screen() {
  std::vector<unsigned char> all(640 * 480);
  for (int y = 0; y < 480; ++y) MXPget_row(y, all.data() + y * 640);
  return all;
}
struct Dot { int colour, x, y; };
inline void expect_dots(std::initializer_list<Dot> dots) {
  for (const Dot& d : dots) EXPECT_EQ(MXPget_pixel(d.x, d.y), d.colour) << "at (" << d.x << ", " << d.y << ")";
}

// A test with the library stopped and its tables released afterwards.
struct InterfaceTest : ::testing::Test {
  void TearDown() override { stop_interface(); }
};

}  // namespace ifacetest
