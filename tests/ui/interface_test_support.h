// Shared set-up of the interface-file, drawing and public-operation tests: the
// library started headless on an interface file written by the test (or taken from
// tests/ui/data), fatal exits turned into exceptions that carry the message, a
// routine table whose routines record their calls, and screen read-back helpers.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/log.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "ui/interface.h"
#include "ui/interface_file.h"
#include "ui/interface_model.h"

namespace ifacetest {

struct Fatal {
  int code;
  std::string text;
};

[[noreturn]] inline void throw_fatal(int code, const char* text) { throw Fatal{code, text}; }

inline std::vector<std::string>& called() {
  static std::vector<std::string> list;
  return list;
}

inline int record(int, int, int, const char* name) {
  called().push_back(name ? name : "");
  return 1;
}

// Every routine name the test files use.
inline const IntrFunction* routines(int* count) {
  static const IntrFunction table[] = {
      {"quit", record},   {"save_simulation", record}, {"file", record},   {"options", record},
      {"do_intro", record}, {"walkthru", record},      {"press", record},  {"area", record},
      {"redraw", record}, {"closed", record},          {"item", record},   {"checks", record},
      {"menu", record},
  };
  *count = static_cast<int>(sizeof table / sizeof table[0]);
  return table;
}

inline std::string data_file(const char* name) { return std::string(UI_TEST_DATA) + "/" + name; }

// Each test process works in a directory of its own (error.log, the written interface
// files), so that tests can run in parallel; it is removed when the process ends.
inline void use_private_directory() {
  static bool done = false;
  if (done) return;
  done = true;
  static char dir[] = "/tmp/demovar-ui-test-XXXXXX";
  if (!mkdtemp(dir)) return;
  std::filesystem::current_path(dir);
  std::atexit([] { std::filesystem::remove_all(dir); });
}

// Writes `text` to a file in the working directory and returns its name.
inline std::string write_file(const std::string& text, const char* name = "test_interface.inf") {
  use_private_directory();
  std::ofstream out(name, std::ios::binary);
  out << text;
  return name;
}

inline std::string read_text(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Starts the library headless on `path`; throws Fatal when it ends the program.
inline void start(const std::string& path, int bstore = 0, int colours = 16) {
  use_private_directory();
  MXsetfatalhandler(throw_fatal);
  MXPuse_headless(true);
  int n = 0;
  const IntrFunction* table = routines(&n);
  MXsetfunctiontable(table, n);
  InfState.backingstore[1].inuse = 0;
  MXinterfaceinit("Demovar test", path.c_str(), bstore, "w", colours);
  called().clear();
}

// The fatal message of starting on `text`, or "" when it started.
inline std::string fatal_of(const std::string& text, int colours = 16) {
  try {
    start(write_file(text), 0, colours);
  } catch (const Fatal& f) {
    return f.text;
  }
  return "";
}

// What error.log gained while `action` ran.
template <typename F>
std::string log_during(F action) {
  use_private_directory();
  init_error_log("a");
  const std::string before = read_text("error.log");
  action();
  const std::string after = read_text("error.log");
  return after.size() >= before.size() ? after.substr(before.size()) : after;
}

inline const MXWindow& window(const char* name) { return Win[MXwindownum(name)]; }
inline const MXButton& button(const char* w, const char* b) {
  const int wi = MXwindownum(w);
  return Win[wi].wb[MXbuttonnum(wi, b)];
}

// Screen read-back.
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

// A test with the library stopped and its tables released afterwards.
class InterfaceTest : public ::testing::Test {
 protected:
  void TearDown() override {
    closegraph();
    MXfreeinterfacetables();
    MXsetfatalhandler(nullptr);
  }
};

}  // namespace ifacetest
