// The population displays: the graph's scale and labels, the pyramid's bound and
// bar lengths, the statistics line, the country name, and the whole-screen redraw
// with backing store off and on.
#include "app_test_support.h"

namespace {

using namespace apptest;

TEST(GraphScale, RaisesToHalfAsMuchAgainThenToOneEvenLeadingDigit) {
  EXPECT_EQ(graph_top(0, 1000000), 2000000);    // 1500000, then 2000000
  EXPECT_EQ(graph_top(0, 27000000), 40000000);  // 40500000 -> 4 x 10^7
  EXPECT_EQ(graph_top(1000000, 900000), 1000000);  // reduction ends at exactly 10
  EXPECT_EQ(graph_top(600000, 500000), 600000);
  EXPECT_EQ(graph_top(0, 7), 20);  // 11: leading digit 1, odd, so 2 x 10
  // A top beyond 32 bits stays at the largest value the record holds.
  EXPECT_EQ(graph_top(0, 2000000000), 2147483647);
}

TEST(GraphScale, AxisLabelsInThousandsMillionsAndBillions) {
  const char* unit = nullptr;
  EXPECT_EQ(axis_label(600000.0, &unit), 600);
  EXPECT_STREQ(unit, "THO");
  EXPECT_EQ(axis_label(300000.0, &unit), 300);
  EXPECT_STREQ(unit, "THO");
  EXPECT_EQ(axis_label(1000000.0, &unit), 1);
  EXPECT_STREQ(unit, "MIL");
  EXPECT_EQ(axis_label(500000.0, &unit), 500);
  EXPECT_STREQ(unit, "THO");
  EXPECT_EQ(axis_label(8000000000.0, &unit), 8);
  EXPECT_STREQ(unit, "BIL");
  EXPECT_EQ(axis_label(989999999.0, &unit), 989);
  EXPECT_STREQ(unit, "MIL");
}

TEST(Pyramid, BoundIsTheSmallestTenAboveEveryRowShare) {
  int32_t male[17] = {}, female[17] = {};
  EXPECT_EQ(pyramid_bound(male, female, 0), 20);
  // A male row (groups 0 and 1) holding exactly 20 percent: 30.
  male[0] = 100;
  male[1] = 100;
  female[16] = 800;
  EXPECT_EQ(pyramid_bound(male, female, 1000), 90);  // the 80+ females hold 80 percent
  female[16] = 0;
  female[4] = 800;
  EXPECT_EQ(pyramid_bound(male, female, 1000), 90);
  female[4] = 190;
  EXPECT_EQ(pyramid_bound(male, female, 1000), 30);
}

TEST(Pyramid, BarLengthsReachTheEdgeAtTheBound) {
  EXPECT_EQ(bar_length(300, 90, 1000, 30), 90);
  EXPECT_EQ(bar_length(150, 90, 1000, 30), 45);
  EXPECT_EQ(bar_length(0, 90, 1000, 30), 0);
  EXPECT_EQ(bar_length(10, 90, 0, 30), 0);
  // Large totals are taken in thousands, so that nothing overflows.
  EXPECT_EQ(bar_length(300000000, 90, 1000000000, 30), 90);
  EXPECT_EQ(bar_length(40000000, 90, 49000000, 90), 82);
}

class DisplayTest : public ProgramTest {
 protected:
  void load(const char* name) {
    open_main_screen();
    choose_country("top", name);
  }
  static std::vector<unsigned char> screen() {
    std::vector<unsigned char> all(640 * 480);
    for (int y = 0; y < 480; ++y) MXPget_row(y, all.data() + y * 640);
    return all;
  }
};

TEST_F(DisplayTest, ACountryIsShownInUpperCaseWithItsFigures) {
  load("japan");
  EXPECT_STREQ(Country[0].country_name, "JAPAN");
  EXPECT_EQ(Display[0].curr_sim, 0);
  EXPECT_EQ(Display[0].reset_permit, 1);
  EXPECT_EQ(Display[0].maxpop, Country[0].male_1990_pop[0] + Country[0].fem_1990_pop[0]);
  EXPECT_GT(Display[0].intuppop, Display[0].maxpop);
  EXPECT_EQ(VKState[0][1]->stepcnt, -1);
  EXPECT_EQ(button_state("top", "unsimulate"), DISABLED);
  EXPECT_EQ(button_state("top", "simulate"), ENABLED);
  // The pyramid copy is the run's 1990 groups.
  for (int g = 0; g < 17; ++g) EXPECT_EQ(Display[0].male[g], VKState[0][0]->male_pop[0][g]);
  EXPECT_EQ(Display[0].bound, pyramid_bound(Display[0].male, Display[0].female, VKState[0][0]->totpop[0]));
  // The header line of output.log, then one statistics line per step.
  press_button("top", "simulate");
  const std::vector<std::string> lines = lines_of(read_file("output.log"));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2], "Name           : Year --Population-- TFR LifeEx Migration IMR");
  char expected[160];
  const VKStatetype* s = VKState[0][0];
  std::snprintf(expected, sizeof expected, "%-15s: %4d %14.0f %3.1f  %4.1f %10.0f %3ld", "JAPAN", 1995,
                static_cast<double>(s->totpop[1]) * Country[0].scale_factor, get_TFR(s->birthrate[1]) * 0.01,
                get_life_expect(s->deathrate[1]) * 0.01, static_cast<double>(s->mig[1]) * Country[0].scale_factor,
                static_cast<long>((s->deathrate[1][0] + 500) / 1000));
  EXPECT_EQ(lines.back(), expected);
}

TEST_F(DisplayTest, RedrawAllRebuildsTheSameScreen) {
  load("brazil");
  for (int i = 0; i < 3; ++i) press_button("top", "simulate");
  choose_country("bottom", "india");
  const std::vector<unsigned char> before = screen();
  redraw_all();
  EXPECT_EQ(screen(), before);
  // A target window that is up is drawn again too.
  press_button("bottomtotalfert", "setfert");
  const std::vector<unsigned char> with_window = screen();
  redraw_all();
  EXPECT_EQ(screen(), with_window);
  press_button("setfert", "okay");
  EXPECT_EQ(screen(), before);
}

// Every window the flags record comes back with a full redraw, exactly as it was.
TEST_F(DisplayTest, RedrawAllBringsBackEveryWindowThatIsUp) {
  load("peru");
  auto same_after_redraw = [&](const char* what) {
    const std::vector<unsigned char> before = screen();
    redraw_all();
    const std::vector<unsigned char> after = screen();
    int differ = 0, first = -1;
    for (size_t i = 0; i < after.size(); ++i)
      if (after[i] != before[i] && differ++ == 0) first = static_cast<int>(i);
    EXPECT_EQ(differ, 0) << what << ": first at " << first % 640 << "," << first / 640 << " was "
                         << (first >= 0 ? int(before[first]) : -1) << " now " << (first >= 0 ? int(after[first]) : -1);
  };
  choose("root", "Info", "info", "p0");
  same_after_redraw("help");
  press_button("help", "done");
  choose("root", "Quit", "quit", "p0");
  same_after_redraw("quit");
  press_button("quit", "cancelquit");
  choose("top", "options", "options", "p0");
  type("ke");
  same_after_redraw("map");
  press_button("map", "cancel");
  choose("root", "Help", "help", "p0");
  same_after_redraw("intro");
  press_button("message", "done");
  press_button("top", "simulate");
  same_after_redraw("main screen");
}

class BackingStoreTest : public DisplayTest {
 protected:
  int backing_store() const override { return 1; }
};

TEST_F(BackingStoreTest, WindowsComeAndGoWithoutAFullRedraw) {
  load("brazil");
  choose_country("bottom", "india");
  const std::vector<unsigned char> before = screen();
  press_button("toptotalfert", "setfert");
  EXPECT_EQ(SetFertActive, 1);
  press_button("setfert", "okay");
  EXPECT_EQ(screen(), before);
  // The full redraw works with backing store as well.
  redraw_all();
  EXPECT_EQ(screen(), before);
  choose("root", "Quit", "quit", "p0");
  press_button("quit", "cancelquit");
  EXPECT_EQ(screen(), before);
}

TEST_F(DisplayTest, AnEmptyPaneDrawsNothing) {
  open_main_screen();
  const std::vector<unsigned char> before = screen();
  update_display(1);
  EXPECT_EQ(screen(), before);
  // Its Options menu offers only the choice of a country.
  press_button("bottom", "options");
  EXPECT_EQ(item_state("options", "p0"), ENABLED);
  for (const char* item : {"p1", "p2", "p3", "p5"}) EXPECT_EQ(item_state("options", item), DISABLED) << item;
  EXPECT_EQ(item_state("options", "p4"), INVISIBLE);
  EXPECT_EQ(MXgetcurrmsg(), 2);
}

}  // namespace
