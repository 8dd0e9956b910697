// Country selection: the zoom box, the maps' positions and names, the zoom limits,
// the scroll list and the typed-name search, done and cancel, and an entry whose
// file does not read.
#include <array>
#include <cstring>

#include "app_test_support.h"

namespace {

using namespace apptest;

TEST(ZoomBox, IsCentredAndKeptInsideTheSmallMap) {
  // Centred, past the lower right, past the upper left.
  for (const auto& [x, y, left, top] : {std::array{100, 50, 75, 38}, {239, 119, 190, 95}, {3, 2, 0, 0}}) {
    compute_xorbox(x, y, 4, 240, 120, 400, 200);
    EXPECT_EQ((std::array{Xorwd, Xorht, Xorx, Xory}), (std::array{50, 25, left, top})) << x << "," << y;
  }
}

// One visit to the country window after another, each from the upper pane's
// Options menu. (The end-to-end session loads typed names with Enter.)
TEST_F(ProgramTest, TheCountryWindow) {
  open_main_screen();
  choose("top", "options", "options", "p0");
  // A list row chosen by a click is the pending choice; Cancel drops it, and the
  // empty pane offers no targets to set.
  int fx, fy, rh;
  field_origin("map", "scrollpickfield", &fx, &fy);
  MXgetfieldrect("scrollpicklabel", nullptr, nullptr, nullptr, &rh, nullptr);
  press_button("map", "DnArrow");
  click(fx + 20, fy + 2 * rh + rh / 2);
  EXPECT_EQ(Pickno, display_item_number(3));
  press_button("map", "cancel");
  EXPECT_EQ(Pickno, -1);
  EXPECT_EQ(Display[0].curr_sim + window_level("map"), -1);
  for (const auto& [w, b] : {std::pair{"toptotalfert", "setfert"}, {"toplifeexp", "setlife"}, {"topmig", "setmig"}})
    EXPECT_EQ(button_state(w, b), DISABLED) << b;
  EXPECT_EQ(MXgetcurrmsg(), MapSelectSavemsg);
  EXPECT_EQ(button_state("root", "File"), ENABLED);

  choose("top", "options", "options", "p0");
  // Typing finds the first name; Backspace, letters, digits, dots, dashes and
  // blanks count, other keys do nothing; an empty text goes back to the first row;
  // a text that matches nothing rings the bell and shows the nearest names ("xq"
  // would come before Yemen); the text holds 80 characters.
  EXPECT_EQ(MapSelectSavemsg, 6);  // the message from before the Options menu
  EXPECT_EQ(button_state("root", "File"), DISABLED);
  type("eu");
  EXPECT_STREQ(Country_list[display_item_number(MXgetsclistpos(gThumb))].name, "Europe");
  EXPECT_EQ(Pickno, -1);
  key(8);
  key('*');
  EXPECT_STREQ(searchstring, "e");
  key(8);
  EXPECT_EQ(MXgetsclistpos(gThumb), 0);
  press_button("map", "DnArrow");
  const int rung = bells();
  type("xq");
  EXPECT_EQ(bells() - rung, 2);
  EXPECT_EQ(MXgetsclistpos(gThumb), MXgetmaxpos(gThumb));
  for (int n = 0; n < 90; ++n) ProcessSearchtext('a');
  EXPECT_EQ(std::string(searchstring).size(), 80u);

  // Dragging the box moves it, up to the small map's edge; zoom stops at its limits.
  int sx, sy, sw, sh;
  field_origin("map", "SMAP", &sx, &sy);
  MXgetfieldrect("SMAP", nullptr, nullptr, &sw, &sh, nullptr);
  Drag_Used = 0;
  drag(sx + 20, sy + 20, sx + sw - 1, sy + sh / 2);
  EXPECT_EQ(Xorx, sw - Xorwd);
  EXPECT_EQ(Drag_Used, 1);
  const int start = MapScale;
  press_button("map", "incmapscale");
  EXPECT_EQ(MapScale, start + 1);
  int lw;
  MXgetfieldrect("LMAP", nullptr, nullptr, &lw, nullptr, nullptr);
  EXPECT_EQ(Xorwd, lw / (2 * MapScale));
  MapScale = 31;
  EXPECT_EQ(changemapscale(1), 1);
  EXPECT_EQ(MapScale, 31);
  MapScale = 1;
  press_button("map", "decmapscale");
  EXPECT_EQ(MapScale, 1);
  press_button("map", "cancel");

  // An entry whose file does not read raises the alert and keeps the pane empty.
  const int france = find(Country_list, "fra", 0, number_of_entries());
  ASSERT_GE(france, 0);
  std::strcpy(Country_list[france].file, "missing.dat");
  choose("top", "options", "options", "p0");
  type("fra");
  key(13);
  EXPECT_EQ(AlertNumber, 1);
  EXPECT_GE(window_level("alert"), 1);
  EXPECT_EQ(Display[0].curr_sim, -1);
  press_button("alert", "okay");
  EXPECT_EQ(AlertNumber, 0);

  // A double click on a row loads its entry.
  choose("top", "options", "options", "p0");
  click(fx + 20, fy + rh / 2);
  click(fx + 20, fy + rh / 2);
  EXPECT_EQ(MapSelect, 0);
  EXPECT_EQ(Display[0].curr_sim, 0);

  // A click on a map chooses the entry under the pointer; background or outside
  // the picture selects nothing; Done loads it.
  choose("bottom", "options", "options", "p0");
  uint16_t v = 0;
  int x = 10, y = 10;
  for (; y < Regionpic.rows; y += 5, x = 10) {
    for (; x < Regionpic.cols; x += 5) {
      MXgetpixel(&Regionpic, x, y, &v, 1);
      if (v < number_of_entries()) break;
    }
    if (x < Regionpic.cols) break;
  }
  ASSERT_LT(y, Regionpic.rows);
  click(sx + x, sy + y);
  EXPECT_EQ(Pickno, v);
  EXPECT_EQ(dragmaphelp(-50, -50, MOUSE_CLICK, &Regionpic), 0);
  press_button("map", "done");
  EXPECT_EQ(MapSelect, 0);
  EXPECT_EQ(Display[1].curr_sim, 0);
  EXPECT_EQ(MXgetcurrmsg(), 4);
}

}  // namespace
