// Text: widths add up character by character, control characters are blanks, the
// baseline is the given row, and only glyph pixels change.
#include <algorithm>

#include "platform_test_support.h"

namespace {

using Text = HeadlessScreen;

struct Ink {
  int top = 1000, bottom = -1, left = 1000, right = -1, count = 0;
};

Ink ink_of(int colour) {
  Ink k;
  for (const auto& [x, y] : pixels_of(colour)) {
    k.top = std::min(k.top, y);
    k.bottom = std::max(k.bottom, y);
    k.left = std::min(k.left, x);
    k.right = std::max(k.right, x);
    ++k.count;
  }
  return k;
}

TEST_F(Text, WidthIsTheSumOfTheCharactersAndTheAscentFitsTheCell) {
  for (FontSizeType f : {SMALL, LARGE}) {
    MXsetfont(f);
    EXPECT_TRUE(MXtextwidth("") == 0 && MXtextwidth("i") > 0 && MXtextwidth("W") > MXtextwidth("i"));  // proportional
    EXPECT_EQ(MXtextwidth("Demovar"), MXtextwidth("Demo") + MXtextwidth("var"));
    // Control characters are blanks as wide as a space.
    EXPECT_EQ(MXtextwidth("a\tb"), MXtextwidth("a b"));
    EXPECT_EQ(MXtextwidth("\n\x7f"), 2 * MXtextwidth(" "));
    EXPECT_TRUE(MXtextheight() >= 8 && MXtextheight() <= 11);  // the ascent fits the twelve-pixel cell
  }
  const int large = MXtextwidth("Population 1990");
  MXsetfont(SMALL);
  EXPECT_GT(large, MXtextwidth("Population 1990"));  // bold is wider
}

TEST_F(Text, CapitalsStandOnTheBaselineDescendersGoBelowAndOnlyGlyphPixelsChange) {
  MXsetcolor(5);
  MXPdraw_string(100, 100, "HE");
  const Ink caps = ink_of(5);
  // The ascent occupies the rows above the baseline row y: capitals end on y - 1.
  EXPECT_EQ(caps.bottom, 99);
  EXPECT_TRUE(caps.bottom - caps.top + 1 >= 7 && caps.bottom - caps.top + 1 <= MXtextheight()) << caps.top;
  EXPECT_TRUE(caps.left >= 100 && caps.right < 100 + MXtextwidth("HE")) << caps.left << " " << caps.right;

  MXsetcolor(6);
  MXPdraw_string(200, 100, "gpq");
  const Ink low = ink_of(6);
  EXPECT_TRUE(low.bottom >= 100 && low.bottom <= 100 + 12 - MXtextheight()) << low.bottom;

  // Only glyph pixels change, within the clip; control characters draw nothing.
  MXsetcolor(3);
  MXPfill_rect(0, 0, 640, 480);
  MXsetcolor(9);
  MXsetfont(LARGE);
  MXPdraw_string(10, 50, "Demovar 2050");
  const Ink k = ink_of(9);
  EXPECT_GT(k.count, 40);
  EXPECT_EQ(count_of(3) + count_of(9), 640u * 480u);
  // Exclusive-or mode does not apply to text.
  MXPxormode(1);
  MXPdraw_string(10, 50, "Demovar 2050");
  MXPxormode(0);
  EXPECT_EQ(ink_of(9).count, k.count);

  MXsetcolor(4);
  MXPdraw_string(10, 150, "\t\n\r\x01\x1f\x7f");
  EXPECT_TRUE(pixels_of(4).empty());
  // A tab stands where a blank would: the letter after it lands at the same place.
  MXPdraw_string(10, 200, "a\tb");
  MXsetcolor(5), MXPdraw_string(10, 300, "a b");
  PixelSet blank;
  for (const auto& [x, y] : pixels_of(5)) blank.insert({x, y - 100});
  EXPECT_EQ(pixels_of(4), blank);
  // Clipped; partly or wholly off the screen, no harm; Latin-1 letters have glyphs.
  MXPset_clip_rect(0, 0, 105, 480);
  MXsetcolor(7);
  MXPdraw_string(100, 100, "MMMM");
  EXPECT_LE(ink_of(7).right, 104);
  MXPdraw_string(630, 479, "MMMM");
  MXPdraw_string(-2000000000, 10, "MMMM");
  MXPset_clip_rect(0, 0, 640, 480);
  MXsetcolor(8);
  MXPdraw_string(10, 200, "\xe9\xfc\xc5");  // é ü Å
  EXPECT_GT(ink_of(8).count, 20);
}

}  // namespace
