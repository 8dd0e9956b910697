// The population displays: the graph's scale and labels, the pyramid's bound and
// bar lengths, a country's figures, and the whole-screen redraw with backing store
// off and on.
#include "app_test_support.h"

namespace {

using namespace apptest;

TEST(GraphScale, RaisesToHalfAsMuchAgainThenToOneEvenLeadingDigit) {
  const struct {
    int32_t old_top, largest, top;
  } cases[] = {{0, 1000000, 2000000},        // 1500000, then 2000000
               {0, 27000000, 40000000},      // 40500000 -> 4 x 10^7
               {1000000, 900000, 1000000},   // reduction ends at exactly 10
               {600000, 500000, 600000},
               {0, 7, 20},                   // 11: leading digit 1, odd, so 2 x 10
               {0, 2000000000, 2147483647}}; // beyond 32 bits: the largest the record holds
  for (const auto& c : cases) EXPECT_EQ(graph_top(c.old_top, c.largest), c.top) << c.old_top << " " << c.largest;
}

TEST(GraphScale, AxisLabelsInThousandsMillionsAndBillions) {
  const struct {
    double value;
    int label;
    const char* unit;
  } cases[] = {{600000.0, 600, "THO"}, {300000.0, 300, "THO"},  {1000000.0, 1, "MIL"},
               {500000.0, 500, "THO"}, {8000000000.0, 8, "BIL"}, {989999999.0, 989, "MIL"}};
  for (const auto& c : cases) {
    const char* unit = nullptr;
    EXPECT_EQ(axis_label(c.value, &unit), c.label) << c.value;
    EXPECT_STREQ(unit, c.unit) << c.value;
  }
}

TEST(Pyramid, BoundIsTheSmallestTenAboveEveryRowShare) {
  int32_t male[17] = {}, female[17] = {};
  EXPECT_EQ(pyramid_bound(male, female, 0), 20);
  male[0] = male[1] = 100;  // a male row (groups 0 and 1) holding 20 percent
  female[16] = 800;         // the 80+ females hold 80 percent
  EXPECT_EQ(pyramid_bound(male, female, 1000), 90);
  female[16] = 0;
  female[4] = 800;
  EXPECT_EQ(pyramid_bound(male, female, 1000), 90);
  female[4] = 190;
  EXPECT_EQ(pyramid_bound(male, female, 1000), 30);
}

TEST(Pyramid, BarLengthsReachTheEdgeAtTheBound) {
  const struct {
    int64_t pop;
    int half;
    int32_t total;
    int bound, length;
  } cases[] = {{300, 90, 1000, 30, 90}, {150, 90, 1000, 30, 45}, {0, 90, 1000, 30, 0}, {10, 90, 0, 30, 0},
               // Large totals are taken in thousands, so that nothing overflows.
               {300000000, 90, 1000000000, 30, 90}, {40000000, 90, 49000000, 90, 82}};
  for (const auto& c : cases) EXPECT_EQ(bar_length(c.pop, c.half, c.total, c.bound), c.length) << c.pop << "/" << c.total;
}

class DisplayTest : public ProgramTest {};

TEST_F(DisplayTest, AnEmptyPaneDrawsNothingAndACountryIsShownWithItsFigures) {
  open_main_screen();
  const std::vector<unsigned char> before = screen();
  update_display(1);
  EXPECT_EQ(screen(), before);
  // The empty pane's Options menu offers only the choice of a country.
  press_button("bottom", "options");
  EXPECT_EQ(item_state("options", "p0"), ENABLED);
  for (const char* item : {"p1", "p2", "p3", "p5"}) EXPECT_EQ(item_state("options", item), DISABLED) << item;
  EXPECT_EQ(item_state("options", "p4"), INVISIBLE);
  EXPECT_EQ(MXgetcurrmsg(), 2);
  click(5, 470);

  // A country: its name in capitals, the pyramid copy of the run's 1990 groups, and
  // output.log's header line before the first statistics line.
  choose_country("top", "japan");
  EXPECT_STREQ(Country[0].country_name, "JAPAN");
  for (int g = 0; g < 17; ++g) EXPECT_EQ(Display[0].male[g], VKState[0][0]->male_pop[0][g]);
  press_button("top", "simulate");
  const std::vector<std::string> lines = lines_of(read_file("output.log"));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2], "Name           : Year --Population-- TFR LifeEx Migration IMR");
  EXPECT_EQ(lines.back().substr(0, 23), "JAPAN          : 1995  ");
  // The graph's scale covers the UN's line: Niger's 7.9 million of 1990 are 65 million by 2050.
  choose_country("bottom", "niger");
  EXPECT_GE(Display[1].intuppop, Country[1].un_pop[12]);
}

// Every window the flags record comes back with a full redraw, exactly as it was;
// with backing store (parameter 1) windows also give back what they covered.
class RedrawTest : public ProgramTest, public ::testing::WithParamInterface<int> {
 protected:
  int backing_store() const override { return GetParam(); }
};

TEST_P(RedrawTest, RedrawAllRebuildsTheSameScreenWithEveryWindowThatIsUp) {
  open_main_screen();
  choose_country("top", "brazil");
  for (int i = 0; i < 3; ++i) press_button("top", "simulate");
  choose_country("bottom", "india");
  const std::vector<unsigned char> main_screen = screen();
  const struct {
    const char *name, *window, *button, *menu, *item, *close_window, *close_button;
    bool gives_back;  // closing leaves the main screen exactly as it was
  } windows[] = {{"main screen", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, true},
                 {"fertility", "bottomtotalfert", "setfert", nullptr, nullptr, "setfert", "okay", true},
                 {"help", "root", "Info", "info", "p0", "help", "done", false},
                 {"quit", "root", "Quit", "quit", "p0", "quit", "cancelquit", false},
                 {"map", "top", "options", "options", "p0", "map", "cancel", false},
                 {"intro", "root", "Help", "help", "p0", "message", "done", false}};
  for (const auto& w : windows) {
    if (w.menu) {
      choose(w.window, w.button, w.menu, w.item);
    } else if (w.window) {
      press_button(w.window, w.button);
    }
    if (w.menu && std::string(w.menu) == "options") type("ke");
    const std::vector<unsigned char> up = screen();
    redraw_all();
    EXPECT_EQ(screen(), up) << w.name;
    if (w.close_window) press_button(w.close_window, w.close_button);
    if (w.gives_back) {
      EXPECT_EQ(screen(), main_screen) << "after " << w.name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BackingStore, RedrawTest, ::testing::Values(0, 1));

}  // namespace
