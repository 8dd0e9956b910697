// Runs the program varnock headless in a scratch directory and checks how its
// start-up ends: the notes in error.log, output.log, the exit status and the
// messages of the start-up failures on standard output.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "base/reader_test_support.h"

namespace {

const char* const kList =
    "database= VK_clist\nnumregions= 1\nnumcountries= 2\n"
    "format= type filename name code color tamrof\n"
    "region world.dat World  900 white\nnone af.dat Afghanistan  4 red\n"
    "none al.dat Albania  8 green\nendformat\n";

const std::string kNotes = std::string(kVersionLine) + "Memory Available: 1048576.\n";
const std::string kFpuOn = "Floating point will be used for calculations.\n";
const std::string kFpuOff = "Floating point will not be used for calculations.\n";

class VarnockStartTest : public ScratchDirTest {
 protected:
  // Runs the program here, headless and without a script (it starts, handles the
  // first expose and quits); returns its exit status.
  int run(const std::string& arguments = "") {
    const std::string command = "VARNOCK_PLATFORM=headless VARNOCK_SCRIPT= '" +
                                std::string(VARNOCK_PATH) + "' " + arguments +
                                " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status)) return -1000;
    return WEXITSTATUS(status);
  }
  // The data the first screen needs: the country list, the two maps, an intro
  // picture, the version file and an interface file. A configuration (when given)
  // gets the paths of these files appended.
  void write_data(const std::string& config) {
    namespace fs = std::filesystem;
    if (!config.empty())
      write_text_file("config.mcf", config + "imagepath= images/\ninfopath= info/\ncountryfile= countries.rl8\n"
                                             "regionfile= regions.rl8\ninterfacefile= " APP_TEST_DATA "/app_test.inf\n");
    fs::create_directory("dbase");
    write_text_file("dbase/country.maf", kList);
    fs::create_directory("images");
    fs::create_directory("info");
    for (const char* map : {"countries.rl8", "regions.rl8"})
      fs::copy_file(fs::path(APP_DATA_DIR) / "images" / map, fs::path("images") / map,
                    fs::copy_options::overwrite_existing);
    fs::copy_file(fs::path(APP_DATA_DIR) / "images" / "regions.rl8", "images/intro.rl4",
                  fs::copy_options::overwrite_existing);
    write_text_file("info/pop.txt", "Version 1.0\n");
    write_text_file("info/tutor1.hlp", "Welcome.\n");
  }
  static std::string program_stdout() { return read_text_file("stdout.txt"); }
};

TEST_F(VarnockStartTest, StartsWritesItsNotesAndEndsWhenTheInputEnds) {
  write_data("database= VK_config\nlistpath= dbase/\n");
  ASSERT_EQ(run(), 0) << read_text_file("stderr.txt");
  EXPECT_EQ(error_log(), kNotes + kFpuOn);
  EXPECT_TRUE(std::filesystem::exists("output.log"));
  EXPECT_EQ(read_text_file("output.log"), "");
  EXPECT_EQ(program_stdout(), "");

  // Unknown options change nothing, and a second run starts both logs afresh.
  write_text_file("output.log", "left over\n");
  ASSERT_EQ(run("-d -t -w -l"), 0);
  EXPECT_EQ(error_log(), kNotes + kFpuOn);
  EXPECT_EQ(read_text_file("output.log"), "");
  // The configuration can turn floating point off.
  write_data("database= VK_config\nlistpath= dbase/ fpu= false\n");
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(error_log(), kNotes + kFpuOff);
}

TEST_F(VarnockStartTest, StartUpFailuresEndWithTheirMessage) {
  const std::string good = "database= VK_config\nlistpath= dbase/\n";
  const struct {
    std::string config, file, text, message;
  } cases[] = {
      // A configuration that does not read ends the program before the display opens.
      {"", "config.mcf", "database= VK_config\n", "Error while reading configuration file |config.mcf|\n"},
      {good, "dbase/country.maf", "database= VK_clist\nnumcountries= 1\n",
       "Processing Numcountries but don't know Numregions\nThis happened while reading the file |dbase/country.maf|.\n"},
      // An output.log that cannot be made: no start-up notes.
      {good, "output.log/", "", "Unable to initialize output.log\n"}};
  for (const auto& c : cases) {
    std::filesystem::remove("config.mcf");
    std::filesystem::remove("output.log");
    write_data(c.config);
    if (c.file.ends_with("/")) {
      std::filesystem::create_directory(c.file);
    } else if (!c.file.empty()) {
      write_text_file(c.file, c.text);
    }
    EXPECT_EQ(run(), 255) << c.message;
    EXPECT_EQ(program_stdout(), c.message);
    EXPECT_EQ(error_log(), kVersionLine + (c.file == "output.log/" ? "" : c.message));
  }
}

}  // namespace
