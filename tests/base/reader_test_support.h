// Helpers shared by the tests of the readers and of start-up: a private working
// directory per test (error.log and output.log are written to the working
// directory, and tests run in parallel), fatal log entries turned into exceptions,
// and in-memory files.
#pragma once
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "base/log.h"

// What a fatal log entry becomes while FatalAsException is installed.
struct FatalExit {
  int code;
  std::string text;
};

inline void throw_fatal(int code, const char* text) { throw FatalExit{code, text}; }

// Closes the logs the way a fatal entry does, without ending the process.
inline void close_logs_for_test() {
  MXsetfatalhandler(throw_fatal);
  try {
    MXelog(-1, "%s", "");
  } catch (const FatalExit&) {
  }
}

// The text of the fatal entry (code -1) that `action` makes; "" if it makes none.
template <class Action>
std::string fatal_text_of(Action action) {
  try {
    action();
  } catch (const FatalExit& fatal) {
    EXPECT_EQ(fatal.code, -1);
    return fatal.text;
  }
  return "";
}

inline std::string read_text_file(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

inline void write_text_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

constexpr const char* kVersionLine = "Marlix Interface Handler Library Version 2.0.6\n";

// Each test runs in a fresh directory with both logs closed and fatal entries
// thrown as FatalExit.
class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_dir_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "demovar-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::filesystem::current_path(dir_);
    close_logs_for_test();  // a log left open by an earlier test
    std::filesystem::remove("error.log");
    MXsetfatalhandler(throw_fatal);
  }
  void TearDown() override {
    close_logs_for_test();
    MXsetfatalhandler(nullptr);
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
  }
  // error.log as written so far (the log is flushed after every entry).
  static std::string error_log() { return read_text_file("error.log"); }

  std::filesystem::path old_dir_;
  std::filesystem::path dir_;
};

// A temporary file holding text, open for reading from its start.
class MemFile {
 public:
  explicit MemFile(const std::string& text) : file_(tmpfile(), fclose) {
    fwrite(text.data(), 1, text.size(), file_.get());
    rewind(file_.get());
  }
  FILE* get() const { return file_.get(); }

 private:
  std::unique_ptr<FILE, int (*)(FILE*)> file_;
};
