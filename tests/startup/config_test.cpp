// Tests of config.mcf: defaults without a file, every key, case, booleans, the
// dump format, long values and joined names, and the files that must not be
// accepted.
#include <string>

#include <gtest/gtest.h>

#include "base/reader_test_support.h"
#include "startup/config.h"
#include "startup/filenames.h"

namespace {

class ConfigTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    reset_startup_settings();
  }
  void TearDown() override {
    reset_startup_settings();
    ScratchDirTest::TearDown();
  }
  // Writes config.mcf and reads it as start-up does, joining the names after it.
  void configure_with(const std::string& text) {
    write_text_file("config.mcf", text);
    configure();
    set_version_file();
    build_file_names();
  }
  // Runs configure over text, expecting the fatal entry; returns its text.
  std::string fatal_text(const std::string& text) {
    write_text_file("config.mcf", text);
    try {
      configure();
    } catch (const FatalExit& fatal) {
      EXPECT_EQ(fatal.code, -1);
      return fatal.text;
    }
    ADD_FAILURE() << "configure accepted: " << text;
    return "";
  }
};

TEST_F(ConfigTest, WithoutAFileTheDefaultsStay) {
  set_start_file_names();
  configure();
  set_version_file();
  build_file_names();
  EXPECT_EQ(ListFile, "/dbase/country.maf");
  EXPECT_EQ(InterfaceFile, "varnock.inf");
  EXPECT_EQ(CountryFile, "/images/regions.rl8");
  EXPECT_EQ(RegionFile, "/images/regions.rl8");
  EXPECT_EQ(IntroFile, "/images/intro.rl4");
  EXPECT_EQ(VersionFile, "/info/pop.txt");
  EXPECT_EQ(Datapath, "/dbase/");
  EXPECT_EQ(GraphFileFmt, NO_FILE);
  EXPECT_EQ(Use_bstore, 0);
  EXPECT_EQ(MapScale, 4);
  EXPECT_FALSE(std::filesystem::exists("error.log"));  // a missing file is no error
}

TEST_F(ConfigTest, EveryKeySetsItsNameAndKeysIgnoreCase) {
  configure_with(
      "database= VK_config\n"
      "# paths end with their own separator\n"
      "LISTPATH= lists/ datapath= dbase/ InfoPath= info/ imagepath= images/\n"
      "listname= world.maf interfacefile= demo.inf\n"
      "instructionfile= start.rl4 countryfile= countries.rl8 regionfile= regions8.rl8\n");
  EXPECT_EQ(ListFile, "lists/world.maf");
  EXPECT_EQ(Datapath, "dbase/");
  EXPECT_EQ(InterfaceFile, "demo.inf");
  EXPECT_EQ(VersionFile, "info/pop.txt");
  EXPECT_EQ(IntroFile, "images/start.rl4");
  EXPECT_EQ(CountryFile, "images/countries.rl8");
  EXPECT_EQ(RegionFile, "images/regions8.rl8");
}

TEST_F(ConfigTest, UnknownKeysAndKeysWrittenOntoTheirValueArePassedOver) {
  configure_with(
      "database= VK_config\n"
      "colour= datapath= elsewhere/\n"  // the unknown key's value is a key itself
      "listname=glued.maf\n"            // one word, not a key
      "mapscale= 9 listpath= lists/\n");
  EXPECT_EQ(Datapath, "elsewhere/");
  EXPECT_EQ(ListFile, "lists/country.maf");
  EXPECT_EQ(MapScale, 4);  // not a configuration key
}

TEST_F(ConfigTest, SwitchesTakeTrueOnlyAndTheDumpFormatItsFourNames) {
  HasFPU = 1;
  configure_with("database= VK_config\nbstore= TRUE fpu= false graphfileformat= gif16\n");
  EXPECT_EQ(Use_bstore, 1);
  EXPECT_EQ(HasFPU, 0);
  EXPECT_EQ(GraphFileFmt, GIF_16);

  configure_with("database= VK_config\nbstore= yes fpu= True graphfileformat= BMP16\n");
  EXPECT_EQ(Use_bstore, 0);
  EXPECT_EQ(HasFPU, 1);
  EXPECT_EQ(GraphFileFmt, BMP_16);

  configure_with("database= VK_config\ngraphfileformat= PSGrey\n");
  EXPECT_EQ(GraphFileFmt, PS_GRAY);
  configure_with("database= VK_config\ngraphfileformat= pscolor\n");
  EXPECT_EQ(GraphFileFmt, PS_COLOR);
  configure_with("database= VK_config\ngraphfileformat= psgray\n");  // not one of the four
  EXPECT_EQ(GraphFileFmt, NO_FILE);
  EXPECT_FALSE(std::filesystem::exists("error.log"));
  // A switch with no word left reads as off and is no error.
  Use_bstore = 1;
  configure_with("database= VK_config\nbstore=");
  EXPECT_EQ(Use_bstore, 0);
}

TEST_F(ConfigTest, LongestValuesJoinWithoutLoss) {
  const std::string path = std::string(79, 'p') + "/";
  const std::string name = std::string(76, 'n') + ".maf";
  configure_with("database= VK_config\nlistpath= " + path + " listname= " + name +
                 "\nimagepath= " + path + " countryfile= " + std::string(80, 'c') + "\n");
  EXPECT_EQ(ListFile, path + name);
  EXPECT_EQ(ListFile.size(), 160u);
  EXPECT_EQ(CountryFile, path + std::string(80, 'c'));
}

TEST_F(ConfigTest, FilesThatDoNotReadAreFatal) {
  const std::string message = "Error while reading configuration file |config.mcf|\n";
  EXPECT_EQ(fatal_text(""), message);
  EXPECT_EQ(fatal_text("database= VK_config\n# nothing set\n"), message);
  EXPECT_EQ(fatal_text("database= VK_clist\nlistname= a\n"), message);
  EXPECT_EQ(fatal_text("database= VK_config\nlistname="), message);  // value missing
  EXPECT_EQ(fatal_text("database= VK_config\ngraphfileformat="), message);
  // A value of 81 characters: the size message precedes the file's.
  EXPECT_EQ(fatal_text("database= VK_config\nlistname= " + std::string(81, 'x') + "\n"), message);
  // Each fatal entry closes the log; the next run starts it afresh.
  EXPECT_EQ(error_log(), std::string(kVersionLine) +
                             "String exceded maximum size in rd_stringhelp\n" + message);
}

}  // namespace
