// Drawing run-length pictures into the current window of the interface library,
// started headless: a magnified part of a picture in memory and a part of a
// picture read straight from its file, read back from the screen.
#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <vector>

#include "pictures/picture_drawing.h"
#include "pictures/run_length_encoder.h"
#include "ui/interface_test_support.h"

namespace {

using namespace ifacetest;

int plus_one(unsigned value) { return static_cast<int>(value) + 1; }

class PictureDrawing : public InterfaceTest {
 protected:
  void SetUp() override {
    start(data_file("interface_basic.inf"));
    MXsetcurrentnamedwindow("root");
  }
};

// From column 1, row 1 at magnification 3: a 9 x 6 block of source pixels
// (6, 7, 8 / 10, 11, 12), each 3 x 3 on the screen, the rest of the asked height
// untouched; from the file, from column 1 through the colour function (value + 1).
TEST_F(PictureDrawing, PicturesFromMemoryAndFromTheirFileFillTheirRectangles) {
  std::vector<uint16_t> grid(12);  // 3 rows x 4 columns, value 4 x row + column + 1
  std::iota(grid.begin(), grid.end(), 1);
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(MXencodepicture(8, 3, 4, grid, &bytes));
  std::vector<uint16_t> buffer(bytes.size() / 2 + 1);
  MXPicture picture{};
  ASSERT_EQ(MXinitpicmem(bytes.data(), bytes.size(), &picture, buffer.data()), 1);
  const std::vector<unsigned char> before = screen();
  MXwdrawpict(&picture, 100, 120, 9, 12, 1, 1, 3, nullptr);
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  MXwdrawfilepict(file, 200, 50, 3, 5, 1, 0, plus_one);
  std::fclose(file);
  int wx = 0, wy = 0;
  MXgetwindowspecs("root", &wx, &wy, nullptr, nullptr, nullptr);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x)
      EXPECT_EQ(MXPget_pixel(wx + 100 + x, wy + 120 + y), 4 * (1 + y / 3) + (1 + x / 3) + 1) << x << "," << y;
  EXPECT_EQ(MXPget_pixel(wx + 100, wy + 126), before[static_cast<size_t>((wy + 126) * 640 + wx + 100)]);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(MXPget_pixel(wx + 200 + x, wy + 50 + y), 4 * y + x + 2 + 1) << x << "," << y;
}

}  // namespace
