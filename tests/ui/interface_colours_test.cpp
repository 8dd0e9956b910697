// Colours of the interface file: the preset palette, placing new colours (black and
// white never change, the overflow of a 16-colour palette onto the six presets, the
// fatal fifteenth new colour), aliases and their limit, colour lists, the forgiving
// public lookup, and the palette file.
#include <algorithm>
#include <string>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const std::string kRoot = "window (root 0 0 640 480 black lgray black 2 1 0)\n";
const std::string kBlackAndWhiteRoot = "window (root 0 0 640 480 black white black 2 1 0)\n";

std::string colours(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += "(c" + std::to_string(i) + " 1 2 3)\n";
  return out;
}
std::string name(const char* prefix, int i) { return prefix + std::to_string(i); }
std::vector<int> rgb(int index) {
  const unsigned char* p = Interface_Palette + 3 * index;
  return {p[0], p[1], p[2]};
}

class Colours : public InterfaceTest {};

TEST_F(Colours, PresetPaletteAndRedefinitions) {
  ASSERT_EQ(fatal_of(kRoot), "");
  const char* names[] = {"black", "white", "dgray", "mgray", "lgray", "bluegray", "lblue", "peach"};
  const std::vector<int> expected[8] = {{0, 0, 0},   {63, 63, 63}, {50, 45, 45}, {30, 30, 55},
                                        {53, 53, 53}, {0, 50, 50},  {10, 10, 55}, {63, 47, 50}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(MXconvertcolor(names[i]), i);
    EXPECT_EQ(rgb(i), expected[i]) << names[i];
  }
  EXPECT_EQ(Colorlist[8], nullptr);
  EXPECT_EQ(NumColors, 8);

  // White and black never change; peach does, and redefinitions take no new slot.
  ASSERT_EQ(fatal_of("(White 1 2 3)\n(black 4 5 6)\n(PEACH 7 8 9)\n" + kRoot), "");
  EXPECT_EQ(rgb(1), expected[1]);
  EXPECT_EQ(rgb(0), expected[0]);
  EXPECT_EQ(rgb(7), std::vector<int>({7, 8, 9}));
  EXPECT_EQ(NumColors, 8);
  EXPECT_STREQ(Colorlist[7], "peach");
}

TEST_F(Colours, SixteenColourOverflowReplacesTheSixPresetsAndTheFifteenthIsFatal) {
  // The presets are gone afterwards, so the window uses black and white only.
  ASSERT_EQ(fatal_of(colours(14) + kBlackAndWhiteRoot), "");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(MXconvertcolor(name("c", i).c_str()), 8 + i);
  const char* replaced[] = {"dgray", "mgray", "lgray", "bluegray", "lblue", "peach"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(MXconvertcolor(name("c", 8 + i).c_str()), 2 + i);
    EXPECT_EQ(MXconvertcolor(replaced[i]), -1) << replaced[i];
    EXPECT_EQ(rgb(2 + i)[1], 2);
  }
  EXPECT_EQ(MXconvertcolor("black"), 0);
  EXPECT_EQ(MXconvertcolor("white"), 1);

  EXPECT_EQ(fatal_of(colours(15) + kBlackAndWhiteRoot),
            "Too many colors.\nPalette was initialized with 16 colors.\nLast color: |c14|.\n");

  ASSERT_EQ(fatal_of(colours(248) + kRoot, 256), "");
  EXPECT_EQ(MXconvertcolor("c247"), 255);
  EXPECT_EQ(MXconvertcolor("dgray"), 2);
  EXPECT_EQ(GraphicsMode, 256);
}

TEST_F(Colours, AliasesNameColoursNotOtherAliasesAndComeBeforeTheirUse) {
  ASSERT_EQ(fatal_of("alias (sky lblue)\nalias (sea sky)\nalias (ghost nosuch)\n" + kRoot + "label (1 1 SKY |x|)\n"),
            "");
  EXPECT_EQ(Win[0].graphics[0].color, 6);
  EXPECT_EQ(MXconvertcolor("sky"), 6);
  EXPECT_EQ(MXconvertcolor("sea"), 15);  // its colour is not in the palette
  EXPECT_EQ(MXconvertcolor("ghost"), 15);
  EXPECT_EQ(MXconvertcolor("nothing"), -1);
  EXPECT_EQ(fatal_of("alias (sky lblue)\nalias (sea sky)\n" + kRoot + "label (1 1 sea |x|)\n"),
            "convertcolor: color alias not found.\n\tAlias = |sea|\n");
  EXPECT_EQ(fatal_of(kRoot + "label (1 1 sky |x|)\nalias (sky lblue)\n"),
            "convertcolor: color alias not found.\n\tAlias = |sky|\n");

  std::string aliases;
  for (int i = 0; i < 50; ++i) aliases += "alias (" + name("a", i) + " peach)\n";
  ASSERT_EQ(fatal_of(aliases + kRoot), "");
  EXPECT_EQ(MXconvertcolor("a49"), 7);
  EXPECT_EQ(fatal_of(aliases + "alias (one_more white)\n" + kRoot), "Too many aliases.\n");
}

TEST_F(Colours, ColourListsInFileOrder) {
  ASSERT_EQ(fatal_of("alias (a peach)\ncolorlist (a white lblue black mgray)\n" + kRoot), "");
  EXPECT_EQ(MXgetlistcolor(0, 0), 7);
  EXPECT_EQ(MXgetlistcolor(0, 2), 6);
  EXPECT_EQ(MXgetlistcolor(1, 0), 0);  // never defined: black
  EXPECT_EQ(MXgetlistcolor(7, 9), 0);  // outside the table: black
  std::string lists;
  for (int i = 0; i < 5; ++i) lists += "colorlist (black white dgray mgray lgray)\n";
  EXPECT_EQ(fatal_of(lists + kRoot), "");
  EXPECT_EQ(fatal_of(lists + "colorlist (black white dgray mgray lgray)\n" + kRoot), "Too many colorlists.\n");
}

TEST_F(Colours, PaletteFile) {
  ASSERT_EQ(fatal_of("(c0 1 2 3)\n" + kRoot), "");
  writepalettefile(Interface_Palette);
  const std::string text = read_text("palette.txt");
  EXPECT_EQ(text.substr(0, 33), " 0   0   0\n63  63  63\n50  45  45\n");
  EXPECT_NE(text.find("\n 1   2   3\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 16);
}

}  // namespace
