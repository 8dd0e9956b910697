// Colours of the interface file: the preset palette, placing new colours (black and
// white never change, the overflow of a 16-colour palette onto the six presets, the
// fatal fifteenth new colour), aliases and their limit, colour lists, the forgiving
// public lookup, and the palette file.
#include <algorithm>
#include <string>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const char* const kRoot = "window (root 0 0 640 480 black lgray black 2 1 0)\n";

std::string colours(int n, const char* prefix = "c") {
  std::string out;
  for (int i = 0; i < n; ++i) out += "(" + std::string(prefix) + std::to_string(i) + " 1 2 3)\n";
  return out;
}

const unsigned char* rgb(int index) { return Interface_Palette + 3 * index; }

class Colours : public InterfaceTest {};

TEST_F(Colours, PresetPalette) {
  ASSERT_EQ(fatal_of(kRoot), "");
  const char* names[] = {"black", "white", "dgray", "mgray", "lgray", "bluegray", "lblue", "peach"};
  const int expected[8][3] = {{0, 0, 0},   {63, 63, 63}, {50, 45, 45}, {30, 30, 55},
                              {53, 53, 53}, {0, 50, 50},  {10, 10, 55}, {63, 47, 50}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(MXconvertcolor(names[i]), i);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(rgb(i)[c], expected[i][c]) << names[i];
  }
  EXPECT_EQ(Colorlist[8], nullptr);
  EXPECT_EQ(NumColors, 8);
}

TEST_F(Colours, WhiteNeverChangesButPeachDoes) {
  ASSERT_EQ(fatal_of(std::string("(White 1 2 3)\n(black 4 5 6)\n(PEACH 7 8 9)\n") + kRoot), "");
  EXPECT_EQ(rgb(1)[0], 63);
  EXPECT_EQ(rgb(0)[2], 0);
  EXPECT_EQ(rgb(7)[0], 7);
  EXPECT_EQ(rgb(7)[2], 9);
  EXPECT_EQ(NumColors, 8);  // redefinitions take no new slot
  EXPECT_STREQ(Colorlist[7], "peach");
}

TEST_F(Colours, SixteenColourOverflowReplacesTheSixPresets) {
  // The presets are gone afterwards, so the window uses black and white only.
  ASSERT_EQ(fatal_of(colours(14) + "window (root 0 0 640 480 black white black 2 1 0)\n"), "");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(MXconvertcolor(("c" + std::to_string(i)).c_str()), 8 + i);
  const char* replaced[] = {"dgray", "mgray", "lgray", "bluegray", "lblue", "peach"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(MXconvertcolor(("c" + std::to_string(8 + i)).c_str()), 2 + i);
    EXPECT_EQ(MXconvertcolor(replaced[i]), -1) << replaced[i];
    EXPECT_EQ(rgb(2 + i)[1], 2);
  }
  EXPECT_EQ(MXconvertcolor("black"), 0);
  EXPECT_EQ(MXconvertcolor("white"), 1);
}

TEST_F(Colours, TheFifteenthNewColourIsFatal) {
  EXPECT_EQ(fatal_of(colours(15) + "window (root 0 0 640 480 black white black 2 1 0)\n"),
            "Too many colors.\nPalette was initialized with 16 colors.\nLast color: |c14|.\n");
}

TEST_F(Colours, TwoHundredFiftySixColours) {
  ASSERT_EQ(fatal_of(colours(248) + kRoot, 256), "");
  EXPECT_EQ(MXconvertcolor("c247"), 255);
  EXPECT_EQ(MXconvertcolor("dgray"), 2);
  EXPECT_EQ(GraphicsMode, 256);
}

TEST_F(Colours, AliasesNameColoursNotOtherAliases) {
  ASSERT_EQ(fatal_of(std::string("alias (sky lblue)\nalias (sea sky)\nalias (ghost nosuch)\n") + kRoot +
                     "label (1 1 SKY |x|)\n"),
            "");
  EXPECT_EQ(Win[0].graphics[0].color, 6);
  EXPECT_EQ(MXconvertcolor("sky"), 6);
  EXPECT_EQ(MXconvertcolor("sea"), 15);    // its colour is not in the palette
  EXPECT_EQ(MXconvertcolor("ghost"), 15);
  EXPECT_EQ(MXconvertcolor("nothing"), -1);
  EXPECT_EQ(fatal_of(std::string("alias (sky lblue)\nalias (sea sky)\n") + kRoot + "label (1 1 sea |x|)\n"),
            "convertcolor: color alias not found.\n\tAlias = |sea|\n");
}

TEST_F(Colours, AliasesMustComeBeforeTheirUse) {
  EXPECT_EQ(fatal_of(std::string(kRoot) + "label (1 1 sky |x|)\nalias (sky lblue)\n"),
            "convertcolor: color alias not found.\n\tAlias = |sky|\n");
}

TEST_F(Colours, FiftyAliases) {
  std::string aliases;
  for (int i = 0; i < 50; ++i) aliases += "alias (a" + std::to_string(i) + " peach)\n";
  ASSERT_EQ(fatal_of(aliases + kRoot), "");
  EXPECT_EQ(MXconvertcolor("a49"), 7);
  EXPECT_EQ(fatal_of(aliases + "alias (one_more white)\n" + kRoot), "Too many aliases.\n");
}

TEST_F(Colours, ColourListsInFileOrder) {
  std::string lists;
  for (int i = 0; i < 5; ++i) lists += "colorlist (black white dgray mgray lgray)\n";
  ASSERT_EQ(fatal_of(std::string("alias (a peach)\ncolorlist (a white lblue black mgray)\n") + kRoot), "");
  EXPECT_EQ(MXgetlistcolor(0, 0), 7);
  EXPECT_EQ(MXgetlistcolor(0, 2), 6);
  EXPECT_EQ(MXgetlistcolor(1, 0), 0);  // never defined: black
  EXPECT_EQ(MXgetlistcolor(7, 9), 0);  // outside the table: black
  EXPECT_EQ(fatal_of(lists + kRoot), "");
  EXPECT_EQ(fatal_of(lists + "colorlist (black white dgray mgray lgray)\n" + kRoot), "Too many colorlists.\n");
}

TEST_F(Colours, PaletteFile) {
  ASSERT_EQ(fatal_of(std::string("(c0 1 2 3)\n") + kRoot), "");
  writepalettefile(Interface_Palette);
  const std::string text = read_text("palette.txt");
  EXPECT_EQ(text.substr(0, 33), " 0   0   0\n63  63  63\n50  45  45\n");
  EXPECT_NE(text.find("\n 1   2   3\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 16);
}

}  // namespace
