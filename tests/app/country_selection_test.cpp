// Country selection: the zoom box, the maps' positions and names, the zoom limits,
// the scroll list and the typed-name search, done and cancel.
#include <cstring>

#include "app_test_support.h"

namespace {

using namespace apptest;

TEST(ZoomBox, IsCentredAndKeptInsideTheSmallMap) {
  const struct {
    int x, y, left, top;
  } cases[] = {{100, 50, 75, 38}, {239, 119, 190, 95}, {3, 2, 0, 0}};  // centred, past the lower right, the upper left
  for (const auto& c : cases) {
    compute_xorbox(c.x, c.y, 4, 240, 120, 400, 200);
    EXPECT_EQ(Xorwd, 50);
    EXPECT_EQ(Xorht, 25);
    EXPECT_EQ(Xorx, c.left) << c.x;
    EXPECT_EQ(Xory, c.top) << c.y;
  }
}

class SelectionTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    open_main_screen();
    choose("top", "options", "options", "p0");
  }
};

// (The end-to-end session chooses and loads typed names with Enter.)
TEST_F(SelectionTest, TypingFindsTheFirstNameAndTheNearestWhenNoneMatches) {
  EXPECT_EQ(MapSelectSavemsg, 6);  // the message from before the Options menu
  EXPECT_EQ(button_state("root", "File"), DISABLED);
  type("eu");
  EXPECT_STREQ(Country_list[display_item_number(MXgetsclistpos(gThumb))].name, "Europe");
  EXPECT_EQ(Pickno, -1);
  // Backspace, letters, digits, dots, dashes and blanks; other keys do nothing.
  key(8);
  key('*');
  EXPECT_STREQ(searchstring, "e");
  // An empty text goes back to the first row; a text that matches nothing rings
  // the bell and shows the nearest names ("xq" would come before Yemen).
  key(8);
  EXPECT_EQ(MXgetsclistpos(gThumb), 0);
  press_button("map", "DnArrow");
  const int before = bells();
  type("xq");
  EXPECT_EQ(bells() - before, 2);
  EXPECT_EQ(MXgetsclistpos(gThumb), MXgetmaxpos(gThumb));  // Yemen is among the last rows
  // However long the typing, the text holds 80 characters.
  for (int n = 0; n < 90; ++n) ProcessSearchtext('a');
  EXPECT_EQ(std::string(searchstring).size(), 80u);
}

TEST_F(SelectionTest, ClickingAMapChoosesTheEntryUnderThePointer) {
  int sx, sy;
  field_origin("map", "SMAP", &sx, &sy);
  int found_x = -1, found_y = -1;
  uint16_t v = 0;
  for (int y = 10; y < Regionpic.rows && found_x < 0; y += 5)
    for (int x = 10; x < Regionpic.cols && found_x < 0; x += 5) {
      MXgetpixel(&Regionpic, x, y, &v, 1);
      if (v < number_of_entries()) found_x = x, found_y = y;
    }
  ASSERT_GE(found_x, 0);
  click(sx + found_x, sy + found_y);
  EXPECT_EQ(Pickno, v);
  // Background or outside the picture selects nothing.
  EXPECT_EQ(dragmaphelp(-50, -50, MOUSE_CLICK, &Regionpic), 0);
  press_button("map", "done");
  EXPECT_EQ(MapSelect, 0);
  EXPECT_EQ(Display[0].curr_sim, 0);
  EXPECT_EQ(MXgetcurrmsg(), 4);
}

TEST_F(SelectionTest, DraggingTheBoxMovesItAndZoomStopsAtItsLimits) {
  int sx, sy, sw, sh, lw;
  field_origin("map", "SMAP", &sx, &sy);
  MXgetfieldrect("SMAP", nullptr, nullptr, &sw, &sh, nullptr);
  MXgetfieldrect("LMAP", nullptr, nullptr, &lw, nullptr, nullptr);
  Drag_Used = 0;
  drag(sx + 20, sy + 20, sx + sw - 1, sy + sh / 2);
  EXPECT_EQ(Xorx, sw - Xorwd);  // stopped at the right edge
  EXPECT_EQ(Drag_Used, 1);
  const int start = MapScale;
  press_button("map", "incmapscale");
  EXPECT_EQ(MapScale, start + 1);
  EXPECT_EQ(Xorwd, lw / (2 * MapScale));
  MapScale = 31;
  EXPECT_EQ(changemapscale(1), 1);
  EXPECT_EQ(MapScale, 31);
  MapScale = 1;
  press_button("map", "decmapscale");
  EXPECT_EQ(MapScale, 1);
}

TEST_F(SelectionTest, AListRowChosenByClickIsThePendingChoiceAndCancelDropsIt) {
  int lx, ly, rh;
  field_origin("map", "scrollpickfield", &lx, &ly);
  MXgetfieldrect("scrollpicklabel", nullptr, nullptr, nullptr, &rh, nullptr);
  press_button("map", "DnArrow");
  click(lx + 20, ly + 2 * rh + rh / 2);
  EXPECT_EQ(Pickno, display_item_number(3));
  press_button("map", "cancel");
  EXPECT_EQ(Pickno, -1);
  EXPECT_EQ(Display[0].curr_sim, -1);
  EXPECT_EQ(window_level("map"), 0);
  // An empty pane offers no targets to set.
  for (const auto& [w, b] : {std::pair{"toptotalfert", "setfert"}, {"toplifeexp", "setlife"}, {"topmig", "setmig"}})
    EXPECT_EQ(button_state(w, b), DISABLED) << b;
  EXPECT_EQ(MXgetcurrmsg(), MapSelectSavemsg);
  EXPECT_EQ(button_state("root", "File"), ENABLED);
  // A double click on a row loads its entry.
  choose("top", "options", "options", "p0");
  click(lx + 20, ly + rh / 2);
  click(lx + 20, ly + rh / 2);
  EXPECT_EQ(MapSelect, 0);
  EXPECT_EQ(Display[0].curr_sim, 0);
}

// Where two entries meet side by side on the large map a line in the sea's colour
// parts them (entries never have that colour).
TEST_F(SelectionTest, TheLargeMapDrawsBordersBetweenNeighbours) {
  int lx, ly, lw, lh, borders = 0;
  field_origin("map", "LMAP", &lx, &ly);
  MXgetfieldrect("LMAP", nullptr, nullptr, &lw, &lh, nullptr);
  std::vector<uint16_t> row(static_cast<size_t>(lw / MapScale));
  for (int r = 0; r < lh / MapScale; ++r) {
    MXgetpixel(&Countrypic, 2 * Xorx, 2 * Xory + r, row.data(), static_cast<int>(row.size()));
    for (size_t c = 1; c < row.size(); ++c)
      if (row[c] < number_of_entries() && row[c - 1] < number_of_entries() && row[c] != row[c - 1]) {
        ++borders;
        EXPECT_EQ(MXPget_pixel(lx + static_cast<int>(c) * MapScale, ly + r * MapScale + 1), 0) << c << " " << r;
      }
  }
  EXPECT_GT(borders, 10);
}

TEST_F(SelectionTest, TheScreenGuideOverItKeepsTheCountryWindowModal) {
  choose("root", "Help", "help", "p0");
  ASSERT_EQ(QuickStartActive, 1);
  press_button("message", "done");
  for (const char* w : {"top", "bottom", "bottomtotalfert"}) EXPECT_LT(window_level(w), window_level("map")) << w;
}

TEST_F(SelectionTest, AnEntryWhoseFileDoesNotReadRaisesTheAlertAndKeepsThePane) {
  const int france = find(Country_list, "fra", 0, number_of_entries());
  ASSERT_GE(france, 0);
  std::strcpy(Country_list[france].file, "missing.dat");
  type("fra");
  key(13);
  EXPECT_EQ(AlertNumber, 1);
  EXPECT_GE(window_level("alert"), 1);
  EXPECT_EQ(Display[0].curr_sim, -1);
  press_button("alert", "okay");
  EXPECT_EQ(AlertNumber, 0);
}

}  // namespace
