// The backing-store slots: no image, empty and holding, and the fatal save into a
// slot without image.
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
    for (int c = x; c < x + w; ++c) {
      MXsetcolor((r * 3 + c) % 16);
      MXPdraw_pixel(c, r);
    }
}

TEST_F(BackingStore, SaveAndRestoreAlternate) {
  ASSERT_EQ(MXPinit_bstore(2, 40, 30), 1);
  paint_pattern(100, 100, 40, 30);
  const auto original = area(100, 100, 40, 30);
  EXPECT_EQ(MXPto_bstore(2, 100, 100, 40, 30), 1);

  // Something covers the area; a second save is refused and keeps the first.
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
}

TEST_F(BackingStore, RestoreGoesWhereAskedAndWithinTheClip) {
  ASSERT_EQ(MXPinit_bstore(1, 10, 10), 1);
  paint_pattern(0, 0, 10, 10);
  const auto original = area(0, 0, 10, 10);
  ASSERT_EQ(MXPto_bstore(1, 0, 0, 10, 10), 1);
  MXPset_clip_rect(200, 200, 5, 10);
  ASSERT_EQ(MXPfrom_bstore(1, 200, 200), 1);
  EXPECT_EQ(area(200, 200, 5, 10), area(0, 0, 5, 10));
  EXPECT_EQ(MXPget_pixel(205, 200), 0);  // the right half was clipped away
}

TEST_F(BackingStore, InitialisingEmptiesTheSlot) {
  ASSERT_EQ(MXPinit_bstore(4, 5, 5), 1);
  ASSERT_EQ(MXPto_bstore(4, 0, 0, 5, 5), 1);
  ASSERT_EQ(MXPinit_bstore(4, 5, 5), 1);
  EXPECT_EQ(MXPto_bstore(4, 0, 0, 5, 5), 1);
}

TEST_F(BackingStore, SavingIntoASlotWithoutImageIsFatal) {
  ASSERT_EQ(MXPinit_bstore(3, 0, 0), 1);  // a zero size makes no image
  try {
    MXPto_bstore(3, 0, 0, 10, 10);
    FAIL() << "no fatal exit";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.code, -1);
    EXPECT_EQ(e.text, "Error:  attempt to copy from null bstore 3.\n");
  }
  // A slot never made has no image either.
  try {
    MXPto_bstore(5, 0, 0, 10, 10);
    FAIL() << "no fatal exit";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.text, "Error:  attempt to copy from null bstore 5.\n");
  }
}

TEST_F(BackingStore, SlotNumbersOutsideOneToFiveAreRefused) {
  EXPECT_EQ(MXPinit_bstore(0, 10, 10), 0);
  EXPECT_EQ(MXPinit_bstore(6, 10, 10), 0);
  EXPECT_EQ(MXPfrom_bstore(6, 0, 0), 0);
  EXPECT_THROW(MXPto_bstore(6, 0, 0, 1, 1), FatalExit);
  EXPECT_EQ(MXPfrom_bstore(3, 0, 0), 1);  // no image, nothing saved: nothing to do
}

TEST_F(BackingStore, AnImageTooLargeToMakeIsReported) {
  EXPECT_EQ(MXPinit_bstore(2, 100000, 100000), 0);
  // The slot is left without image.
  EXPECT_THROW(MXPto_bstore(2, 0, 0, 10, 10), FatalExit);
}

TEST_F(BackingStore, AnAreaLargerThanTheImageKeepsWhatFits) {
  ASSERT_EQ(MXPinit_bstore(2, 4, 4), 1);
  paint_pattern(0, 0, 8, 8);
  const auto corner = area(0, 0, 4, 4);
  ASSERT_EQ(MXPto_bstore(2, 0, 0, 8, 8), 1);
  MXsetcolor(15);
  MXPfill_rect(0, 0, 8, 8);
  ASSERT_EQ(MXPfrom_bstore(2, 0, 0), 1);
  EXPECT_EQ(area(0, 0, 4, 4), corner);
  EXPECT_EQ(MXPget_pixel(6, 6), 15);
}

}  // namespace
