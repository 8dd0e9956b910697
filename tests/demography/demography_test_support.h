// Shared set-up of the demography tests: a scratch directory per test (every file
// a test writes goes there; error.log to one of its own), fatal log entries
// thrown as FatalExit, the engine's globals put back to their start values, and
// helpers that read and convert country files.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/reader_test_support.h"
#include "demography/country.h"
#include "demography/projection.h"
#include "demography/simulation.h"
#include "startup/country_list.h"
#include "startup/filenames.h"


// The synthetic country golden_country.dat: groups that miss the stated total,
// rates to scale to its TFR and life expectancy, a small emigration.
inline std::string golden_country() { return read_text_file(DEMOGRAPHY_TEST_DIR "/golden_country.dat"); }

// Reads a country file's text with the program's reader (1 on success).
inline int read_country(const std::string& text, ReadinInfo* raw) {
  write_text_file("country.dat", text);
  FILE* f = std::fopen("country.dat", "r");
  const int ok = MXgenreader(f, VKreader, "VK_country", raw);
  std::fclose(f);
  return ok;
}

// Reads and converts a country file into `country`; fails the test if it cannot.
inline void load_country(const std::string& text, CountryInfo* country) {
  ReadinInfo raw{};
  ASSERT_EQ(read_country(text, &raw), 1);
  ASSERT_EQ(DBconvert(&raw, country), 1);
}

// A fresh working directory and fresh engine globals for each test.
class DemographyTest : public ::testing::Test {
 protected:
  std::filesystem::path old_dir, dir;

  // error.log is opened once per process, in the directory of the first entry,
  // and stays open: it lives in a directory of its own, and each test reads what
  // was written since it began.
  static inline std::filesystem::path log_dir;
  size_t log_start = 0;

  void SetUp() override {
    old_dir = std::filesystem::current_path();
    if (log_dir.empty()) {
      char log_tmpl[] = "/tmp/demography-log-XXXXXX";
      ASSERT_NE(mkdtemp(log_tmpl), nullptr);
      log_dir = log_tmpl;
      std::atexit([] { std::filesystem::remove_all(log_dir); });
    }
    // A fatal entry closes the log; it opens again in its own directory.
    std::filesystem::current_path(log_dir);
    ASSERT_EQ(init_error_log("a"), 1);
    log_start = read_text_file(log_dir / "error.log").size();
    char tmpl[] = "/tmp/demography-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    std::filesystem::current_path(dir);
    MXsetfatalhandler(throw_fatal);
    reset_startup_settings();
    HasFPU = 1;
    clear_country_list();
    reset_vkreader();
    Screen = ScreenHooks{};
    Cdisp = 0;
    clear_panes();
    ASSERT_TRUE(init_sim_arrays());
  }

  void TearDown() override {
    clear_country_list();
    Screen = ScreenHooks{};
    MXsetfatalhandler(nullptr);
    std::filesystem::current_path(old_dir);
    std::filesystem::remove_all(dir);
  }

  std::string error_log() { return read_text_file(log_dir / "error.log").substr(log_start); }
};
