// The real fatal exit of the start-up readers, in a child process: exit status
// 255, the message in error.log after the version line, the same text on standard
// output. The child runs on the virtual clock, so the 2000 ms pause costs nothing.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/reader_test_support.h"
#include "startup/config.h"
#include "startup/country_list.h"
#include "startup/filenames.h"

namespace {

class StartupExitTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "fast");  // the child keeps this directory
    ScratchDirTest::SetUp();
    reset_startup_settings();
    clear_country_list();
  }
  void TearDown() override {
    clear_country_list();
    reset_startup_settings();
    ScratchDirTest::TearDown();
  }
};

// In the child: the real exit path, standard output into a file.
void run_for_real(void (*step)()) {
  MXsetfatalhandler(nullptr);
  MXPuse_virtual_clock(true);
  if (!freopen("stdout.txt", "w", stdout)) std::abort();
  step();
  std::exit(0);
}

void read_configuration() { configure(); }

void read_list() {
  ListFile = "country.maf";
  get_country_names();
}

TEST_F(StartupExitTest, UnreadableConfigurationEndsTheProgram) {
  write_text_file("config.mcf", "database= VK_config\n# only the identification line\n");
  EXPECT_EXIT(run_for_real(read_configuration), testing::ExitedWithCode(255), "");
  const std::string message = "Error while reading configuration file |config.mcf|\n";
  EXPECT_EQ(error_log(), std::string(kVersionLine) + message);
  EXPECT_EQ(read_text_file("stdout.txt"), message);
}

TEST_F(StartupExitTest, CountryListFailuresEndTheProgram) {
  // Too many country rows: fatal inside the reader.
  write_text_file("country.maf",
                  "database= VK_clist\nnumregions= 0\nnumcountries= 1\n"
                  "format= type filename name code color tamrof\n"
                  "none a.dat A  1 red\nnone b.dat B  2 red\nendformat\n");
  EXPECT_EXIT(run_for_real(read_list), testing::ExitedWithCode(255), "");
  // The reader's message is followed by the file it was reading.
  const std::string fatal = "list_reader: Too many countries!\nThis happened while reading the file |country.maf|.\n";
  EXPECT_EQ(error_log(), std::string(kVersionLine) + fatal);
  EXPECT_EQ(read_text_file("stdout.txt"), fatal);

  // Too many region rows: a note from the reader, then the list's fatal message.
  write_text_file("country.maf",
                  "database= VK_clist\nnumregions= 0\nnumcountries= 1\n"
                  "format= type filename name code color tamrof\n"
                  "region a.dat A  1 red\nendformat\n");
  EXPECT_EXIT(run_for_real(read_list), testing::ExitedWithCode(255), "");
  const std::string message = "Error processing country database list file |country.maf|\n";
  EXPECT_EQ(error_log(),
            std::string(kVersionLine) + "list_reader: Too many countries!\n" + message);
  EXPECT_EQ(read_text_file("stdout.txt"), message);

  std::remove("country.maf");
  EXPECT_EXIT(run_for_real(read_list), testing::ExitedWithCode(255), "");
  EXPECT_EQ(read_text_file("stdout.txt"), "Unable to access country list |country.maf|.\n");
}

}  // namespace
