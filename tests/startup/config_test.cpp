// Tests of config.mcf: defaults without a file, every key, case, booleans, the
// dump format, long values and joined names, and the files that must not be
// accepted.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/reader_test_support.h"
#include "startup/config.h"
#include "startup/filenames.h"
#include "startup/places.h"

namespace {

using Names = std::vector<std::string>;

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
  void configure_with(const std::string& text) {  // none: no file
    if (!text.empty()) write_text_file("config.mcf", text);
    configure();
    set_version_file();
    build_file_names();
  }
  // Runs configure over text, expecting the fatal entry; returns its text.
  std::string fatal_text(const std::string& text) {
    return fatal_text_of([&] { write_text_file("config.mcf", text), configure(); });
  }
};

TEST_F(ConfigTest, WithoutAFileTheDefaultsStay) {
  set_start_file_names();
  configure_with("");
  EXPECT_EQ((Names{ListFile, InterfaceFile, CountryFile, RegionFile, IntroFile, VersionFile, Datapath}),
            (Names{"dbase/country.maf", "varnock.inf", "images/countries.rl8", "images/regions.rl8",
                   "images/intro.rl4", "info/pop.txt", "dbase/"}));
  EXPECT_EQ((std::vector<int>{GraphFileFmt, Use_bstore, MapScale}), (std::vector<int>{NO_FILE, 0, 4}));
  EXPECT_FALSE(std::filesystem::exists("error.log"));  // a missing file is no error
}

TEST_F(ConfigTest, EveryKeySetsItsNameAndKeysIgnoreCase) {
  configure_with(
      "database= VK_config\n"
      "# paths end with their own separator\n"
      "LISTPATH= lists/ datapath= dbase/ InfoPath= info/ imagepath= images/\n"
      "listname= world.maf interfacefile= demo.inf\n"
      "instructionfile= start.rl4 countryfile= countries.rl8 regionfile= regions8.rl8\n");
  EXPECT_EQ((Names{ListFile, Datapath, InterfaceFile, VersionFile, IntroFile, CountryFile, RegionFile}),
            (Names{"lists/world.maf", "dbase/", "demo.inf", "info/pop.txt", "images/start.rl4",
                   "images/countries.rl8", "images/regions8.rl8"}));
  EXPECT_FALSE(starting_point_offered(2020));  // no second starting point named
  configure_with("database= VK_config\ntodaypath= d2020/ todayyear= 2020\n");
  ASSERT_TRUE(use_starting_point(2020));
  EXPECT_EQ(Datapath, "d2020/");
  ASSERT_TRUE(use_starting_point(1990));
  EXPECT_EQ(Datapath, "dbase/");
  // A second year needs its path, the five-year grid, and to lie after 1990 and by 2100.
  for (const char* text : {"todayyear= 2020\n", "todaypath= d/ todayyear= 2021\n", "todaypath= d/ todayyear= 1990\n",
                           "todaypath= d/ todayyear= 2105\n"}) {
    reset_startup_settings();
    configure_with(std::string("database= VK_config\n") + text);
    EXPECT_FALSE(starting_point_offered(2020) || starting_point_offered(2021) || starting_point_offered(2105)) << text;
    EXPECT_TRUE(Todaypath.empty() || Todayyear == 0) << text;
  }
}

TEST_F(ConfigTest, UnknownKeysAndKeysWrittenOntoTheirValueArePassedOverLongValuesJoinWhole) {
  const std::string path = std::string(79, 'p') + "/", name = std::string(76, 'n') + ".maf";
  configure_with(
      "database= VK_config\n"
      "colour= datapath= elsewhere/\n"  // the unknown key's value is a key itself
      "listname=glued.maf\n"            // one word, not a key
      "mapscale= 9 listpath= " + path + " imagepath= " + path + " countryfile= " + std::string(80, 'c') + "\n");
  EXPECT_EQ(Datapath, "elsewhere/");
  EXPECT_EQ(ListFile, path + "country.maf");
  EXPECT_EQ(MapScale, 4);  // not a configuration key
  configure_with("database= VK_config\nlistpath= " + path + " listname= " + name + "\n");
  EXPECT_EQ(ListFile, path + name);
  EXPECT_EQ(ListFile.size(), 160u);
  EXPECT_EQ(CountryFile, path + std::string(80, 'c'));
}

// One configuration after another, each starting from what the one before left.
TEST_F(ConfigTest, SwitchesTakeTrueOnlyAndTheDumpFormatItsFourNames) {
  const struct { const char* settings; int bstore, fpu, format; } cases[] = {{"bstore= TRUE fpu= false graphfileformat= gif16\n", 1, 0, GIF_16},
               {"bstore= yes fpu= True graphfileformat= BMP16\n", 0, 1, BMP_16},
               {"graphfileformat= PSGrey\n", 0, 1, PS_GRAY},
               {"graphfileformat= pscolor\n", 0, 1, PS_COLOR},
               {"graphfileformat= psgray\n", 0, 1, NO_FILE},  // not one of the four
               {"bstore=", 0, 1, NO_FILE}};  // a switch with no word left reads as off and is no error
  HasFPU = 1;
  for (const auto& c : cases) {
    if (c.settings == std::string("bstore=")) Use_bstore = 1;
    configure_with(std::string("database= VK_config\n") + c.settings);
    EXPECT_EQ(Use_bstore, c.bstore) << c.settings;
    EXPECT_EQ(HasFPU, c.fpu) << c.settings;
    EXPECT_EQ(GraphFileFmt, c.format) << c.settings;
  }
  EXPECT_FALSE(std::filesystem::exists("error.log"));
}

TEST_F(ConfigTest, FilesThatDoNotReadAreFatal) {
  const std::string message = "Error while reading configuration file |config.mcf|\n";
  // Empty; the identification line only; another database; a value missing; and
  // last a value of 81 characters, whose size message precedes the file's.
  for (const std::string& text : std::vector<std::string>{"", "database= VK_config\n# nothing set\n", "database= VK_clist\nlistname= a\n",
                                 "database= VK_config\nlistname=", "database= VK_config\ngraphfileformat=",
                                 "database= VK_config\nlistname= " + std::string(81, 'x') + "\n"})
    EXPECT_EQ(fatal_text(text), message) << text;
  // Each fatal entry closes the log; the next run starts it afresh.
  EXPECT_EQ(error_log(), std::string(kVersionLine) + "String exceded maximum size in rd_stringhelp\n" + message);
}

}  // namespace

// The desktop's names of the user's folders (user-dirs.dirs): "$HOME/..." or an
// absolute path; the last line of a kind holds; the home folder itself switches
// the folder off; anything else is no folder.
TEST(UserDirsTest, FoldersNamedByTheDesktop) {
  const struct { const char *text, *folder; } cases[] = {
      {"# comment\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/home/u/Bilder"}, {"XDG_PICTURES_DIR=\"$HOME/\"\n", ""},
      {"XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n  XDG_PICTURES_DIR=\"/srv/pics/\"", "/srv/pics"}, {"XDG_PICTURES_DIR=\"Pictures\"\n", ""},
      {"XDG_PICTURES_DIR=\"$HOME/A\"\nXDG_PICTURES_DIR=\"$HOME/B\"\n", "/home/u/B"}, {"XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", ""}};
  for (const auto& c : cases) EXPECT_EQ(user_dirs_entry(c.text, "PICTURES", "/home/u"), c.folder) << c.text;
}
