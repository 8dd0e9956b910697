// The backing-store slots: no image, empty and holding, restoring within the clip,
// and the fatal save into a slot without image.
#include <string>
#include <vector>

#include "platform_test_support.h"

namespace {

using BackingStore = HeadlessScreen;

std::vector<int> area(int x, int y, int w, int h) {
  std::vector<int> v;
  for (int r = y; r < y + h; ++r)
    for (int c = x; c < x + w; ++c) v.push_back(MXPget_pixel(c, r));
  return v;
}

void paint_pattern(int x, int y, int w, int h) {
  for (int r = y; r < y + h; ++r)
    for (int c = x; c < x + w; ++c) MXsetcolor((r * 3 + c) % 16), MXPdraw_pixel(c, r);
}

// A slot goes from empty to holding on a save and back on a restore; a second
// save into a holding slot is refused and keeps the first area; initialising
// empties it.
TEST_F(BackingStore, SaveAndRestoreAlternate) {
  ASSERT_EQ(MXPinit_bstore(2, 40, 30), 1);
  paint_pattern(100, 100, 40, 30);
  const auto original = area(100, 100, 40, 30);
  EXPECT_EQ(MXPto_bstore(2, 100, 100, 40, 30), 1);
  MXsetcolor(9);
  MXPfill_rect(100, 100, 40, 30);
  EXPECT_EQ(MXPto_bstore(2, 100, 100, 40, 30), 0);
  EXPECT_EQ(MXPfrom_bstore(2, 100, 100), 1);
  EXPECT_EQ(area(100, 100, 40, 30), original);
  // Now empty: a restore copies nothing and still succeeds; a save is accepted.
  MXPfill_rect(100, 100, 40, 30);
  EXPECT_EQ(MXPfrom_bstore(2, 100, 100), 1);
  EXPECT_EQ(MXPget_pixel(100, 100), 9);
  EXPECT_EQ(MXPto_bstore(2, 100, 100, 40, 30), 1);
  ASSERT_EQ(MXPinit_bstore(2, 40, 30), 1);
  EXPECT_EQ(MXPto_bstore(2, 100, 100, 40, 30), 1);
}

// An area larger than the 4 x 4 image keeps its top left corner; restored
// elsewhere within a clip two columns wide, only those columns change.
TEST_F(BackingStore, RestoreGoesWhereAskedWithinTheClipAndKeepsWhatFits) {
  ASSERT_EQ(MXPinit_bstore(1, 4, 4), 1);
  paint_pattern(0, 0, 8, 8);
  std::vector<int> expected = area(0, 0, 4, 4);
  ASSERT_EQ(MXPto_bstore(1, 0, 0, 8, 8), 1);
  MXPset_clip_rect(200, 200, 2, 10);
  ASSERT_EQ(MXPfrom_bstore(1, 200, 200), 1);
  MXPset_clip_rect(0, 0, 640, 480);
  for (size_t i = 0; i < expected.size(); ++i) expected[i] *= i % 4 < 2;
  expected.resize(20);  // nothing below the image's four rows
  EXPECT_EQ(area(200, 200, 4, 5), expected);
}

// Saving into a slot without image (a zero size, an image too large to make, a
// slot never made or out of range) is fatal; slots outside 1 to 5 are refused.
TEST_F(BackingStore, SlotsWithoutImageAndOutsideOneToFive) {
  ASSERT_EQ(MXPinit_bstore(3, 0, 0), 1);
  EXPECT_EQ(MXPinit_bstore(4, 100000, 100000), 0);
  EXPECT_EQ(MXPinit_bstore(0, 10, 10), 0);
  EXPECT_EQ(MXPinit_bstore(6, 10, 10), 0);
  EXPECT_EQ(MXPfrom_bstore(6, 0, 0), 0);
  EXPECT_EQ(MXPfrom_bstore(3, 0, 0), 1);  // no image, nothing saved: nothing to do
  for (int slot : {3, 4, 5, 6}) EXPECT_THROW(MXPto_bstore(slot, 0, 0, 10, 10), FatalExit) << slot;
  try {
    MXPto_bstore(4, 0, 0, 10, 10);
  } catch (const FatalExit& e) {
    EXPECT_EQ(std::make_pair(e.code, e.text), std::make_pair(-1, std::string("Error:  attempt to copy from null bstore 4.\n")));
  }
}

}  // namespace
