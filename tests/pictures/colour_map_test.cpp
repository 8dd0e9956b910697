// Colour maps: the palette index of a country code by the country list, and the
// conversion of a raw grid of codes (name.img) into palette indices (name.clr),
// with its failures ending the program.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/reader_test_support.h"
#include "pictures/colour_map.h"
#include "startup/country_list.h"

namespace {

// A working directory of its own; two regions and two countries, code 300 listed
// twice (the first wins). The list is taken away again afterwards.
class ColourMap : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    Country_list = entries;
    Numregions = Numcountries = 2;
  }
  void TearDown() override {
    Country_list = nullptr, Numregions = -1, Numcountries = 0;
    ScratchDirTest::TearDown();
  }
  Clist entries[4] = {{"World", "world.dat", 900, 3, 1}, {"Africa", "africa.dat", 903, 4, 1},
                      {"Chad", "tcd.dat", 300, 5, 1}, {"Chad again", "tcd2.dat", 300, 6, 1}};
};

// The ocean (0) 7, no country (-1) 0, a region or country its colour (of the
// first entry where a code is listed twice), an unknown code 255.
TEST_F(ColourMap, ConvertsAGridOfCodesRowByRow) {
  const std::vector<int32_t> codes = {0, 900, 300, -1, 903, 5, 300, 0, 0};
  {
    std::ofstream img("world.img", std::ios::binary);
    for (int32_t code : codes)
      for (int shift = 0; shift < 32; shift += 8) img.put(static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF));
  }
  makecmap("world", 3, 3);
  std::ifstream clr("world.clr", std::ios::binary);
  const std::vector<unsigned char> colours((std::istreambuf_iterator<char>(clr)), std::istreambuf_iterator<char>());
  EXPECT_EQ(colours, (std::vector<unsigned char>{7, 3, 5, 0, 4, 255, 5, 7, 7}));
  Country_list = nullptr;  // no list read yet
  EXPECT_EQ(convertpixel(900), 255);
}

TEST_F(ColourMap, MissingOrShortInputEndsTheProgram) {
  EXPECT_THROW(makecmap("absent", 3, 3), FatalExit);
  std::ofstream("short.img", std::ios::binary) << std::string(4 * 5, '\0');  // five codes where nine are needed
  EXPECT_THROW(makecmap("short", 3, 3), FatalExit);
}

}  // namespace
