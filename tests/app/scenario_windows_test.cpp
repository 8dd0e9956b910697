// The target windows, simulate and step back, the Options menu and rate editing:
// values and years within their limits with the bell at a limit, the buttons each
// change enables and disables, the placement of the windows per pane, 2050 and
// back, the rate buttons' rows and limits, and cutting a pyramid row by dragging.
#include <sstream>

#include "app/file_dialogs.h"
#include "app/rate_editing.h"
#include "demography/saved_simulation.h"
#include "app_test_support.h"

namespace {

using namespace apptest;

TEST(Steps, RatesRoundToAWholeUnitThenStepMigrationByTheCountrysUnit) {
  const struct {
    int32_t rate, down, up;
  } rates[] = {{123456, 122000, 124000}, {399600, 399000, 401000}, {700, 0, 2000}, {0, 0, 1000},
               {1499, 0, 2000},          {1500, 1000, 3000}};
  for (const auto& r : rates) {
    EXPECT_EQ(rate_step_down(r.rate), r.down) << r.rate;
    EXPECT_EQ(rate_step_up(r.rate), r.up) << r.rate;
  }
  EXPECT_EQ(mig_step(1, 5), 1000);
  EXPECT_EQ(mig_step(1000, 999999), 10);
  EXPECT_EQ(mig_step(1000, 1000000), 100);
}

class ScenarioTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    open_main_screen();
    choose_country("top", "france");
  }
  VKStatetype* run0() { return VKState[0][Display[0].curr_sim]; }
};

// (The end-to-end session sets a fertility target by its buttons and by typing.)
TEST_F(ScenarioTest, TargetWindowsOpenAtTheirPaneAndKeepValuesAndYearsWithinLimits) {
  const int32_t now = get_TFR(run0()->birthrate[0]);
  run0()->tfr_targ_val[0] = 123;  // stale: no target is pending, so the current value shows
  press_button("toptotalfert", "setfert");
  EXPECT_EQ(run0()->tfr_targ_val[0], now);
  int ox, oy, wx, wy;  // SETWINORG's corner: the upper pane's origin of the window
  MXgetfieldrect("SETWINORG", &ox, &oy, nullptr, nullptr, nullptr);
  MXgetwindowspecs("setfert", &wx, &wy, nullptr, nullptr, nullptr);
  EXPECT_EQ(std::pair(wx, wy), std::pair(ox, oy));
  int32_t& tfr = run0()->tfr_targ_val[0];
  int32_t& year = VKsaveyear[0][0]->tfr_targ_year[0];
  const struct {
    int32_t* value;
    int32_t start;
    const char *button, *back;
    int32_t reached;
    int bell;
  } cases[] = {{&tfr, 57, "decfert", "incfert", 50, 1},      {&tfr, 60, "decfert", "incfert", 50, 0},
               {&tfr, 985, "incfert", "decfert", 990, 1},    {&year, 2045, "incfyear", "decfyear", 2050, 0},
               {&year, 1995, "decfyear", "incfyear", 1990, 0}};
  for (const auto& c : cases) {
    *c.value = c.start;
    MXenablebutton("setfert", c.button, 1);
    Drag_Used = 0;
    const int before = bells();
    press_button("setfert", c.button);
    EXPECT_EQ(*c.value, c.reached) << c.button << " from " << c.start;
    EXPECT_EQ(bells() - before, c.bell) << c.button << " from " << c.start;
    EXPECT_EQ(button_state("setfert", c.button), DISABLED) << c.button;
    if (c.value == &tfr && c.reached == 50) {
      EXPECT_EQ(Drag_Used, 1);  // the tutorial waits for it
    }
    press_button("setfert", c.back);  // one step back enables the way on again
    EXPECT_EQ(button_state("setfert", c.button), ENABLED) << c.button;
  }
  EXPECT_EQ(bells(), 2);
  // Reopened after a target for 2000: the year goes both ways again.
  year = 2045;
  press_button("setfert", "incfyear");
  year = 2000;
  press_button("setfert", "okay");
  EXPECT_EQ(window_level("setfert"), 0);
  press_button("toptotalfert", "setfert");
  EXPECT_EQ(button_state("setfert", "incfyear"), ENABLED);
  EXPECT_EQ(button_state("setfert", "decfyear"), ENABLED);
  press_button("setfert", "okay");
  // Life expectancy steps by two tenths; migration by its unit, typed in persons.
  press_button("toplifeexp", "setlife");
  const int32_t life = run0()->lifex_targ_val[0];
  press_button("setlife", "inclifeexp");
  EXPECT_EQ(run0()->lifex_targ_val[0], life + 20);
  press_button("setlife", "okay");
  press_button("topmig", "setmig");
  const int32_t mig = run0()->mig_targ_val[0];
  press_button("setmig", "decmig");
  EXPECT_EQ(run0()->mig_targ_val[0], mig - mig_step(Country[0].scale_factor, run0()->totpop[0]));
  type("-50000\t2020\r");
  EXPECT_EQ(run0()->mig_targ_val[0], -50000 / Country[0].scale_factor);
  EXPECT_EQ(run0()->mig_targ_year[0], 2020);
  press_button("toplifeexp", "setlife");
  type("81.5\r");
  EXPECT_EQ(run0()->lifex_targ_val[0], 8150);
}

class RateEditingTest : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    choose("top", "options", "options", "p3");
  }
  static void expect_editing(bool on) {
    for (const char* w : {"topbirth", "topdeath", "topinfant"}) EXPECT_EQ(window_level(w) >= 1, on) << w;
    EXPECT_EQ(button_state("toptotalfert", "setfert"), on ? DISABLED : ENABLED);
    EXPECT_EQ(button_state("toplifeexp", "setlife"), on ? DISABLED : ENABLED);
  }
};

// The menu offers rate editing off only when it is on; off, reset and at 2050 the
// editing windows leave, with no trace on the screen; at 2050 nothing can be
// edited and at 1990 there is no step back. (The end-to-end session checks the
// simulate button and the messages at 2050 and back.)
TEST_F(RateEditingTest, TheEditingWindowsComeAndGoWithoutATraceAndNotAt2050) {
  expect_editing(true);
  press_button("top", "options");
  EXPECT_EQ(item_state("options", "p3"), INVISIBLE);
  EXPECT_EQ(item_state("options", "p4"), ENABLED);
  click(5, 470);
  for (const char* item : {"p4", "p3", "p5"}) {
    choose("top", "options", "options", item);
    expect_editing(item == std::string("p3"));
    if (item == std::string("p3")) continue;
    const std::vector<unsigned char> after = screen();
    redraw_all();
    EXPECT_EQ(screen(), after) << item;
  }
  choose("top", "options", "options", "p3");
  for (int i = 0; i < 12; ++i) press_button("top", "simulate");
  for (const char* w : {"topbirth", "topdeath", "topinfant"}) EXPECT_EQ(window_level(w), 0) << w;
  const std::vector<unsigned char> at_end = screen();  // the windows gone from the screen too
  redraw_all();
  EXPECT_EQ(screen(), at_end);
  EXPECT_EQ(button_state("top", "pyrgraph"), DISABLED);
  EXPECT_EQ(button_state("toplifeexp", "setlife"), DISABLED);
  press_button("top", "options");
  EXPECT_EQ(item_state("options", "p3"), DISABLED);
  EXPECT_EQ(item_state("options", "p4"), INVISIBLE);
  EXPECT_EQ(item_state("options", "p5"), ENABLED);
  click(5, 470);
  press_button("top", "unsimulate");
  expect_editing(true);
  EXPECT_EQ(button_state("topmig", "setmig"), ENABLED);
  for (int i = 0; i < 11; ++i) press_button("top", "unsimulate");
  EXPECT_EQ(button_state("top", "pyrgraph"), ENABLED);
  EXPECT_EQ(button_state("top", "unsimulate"), DISABLED);
  EXPECT_EQ(unsimulate(), 1);
  EXPECT_EQ(run0()->year, 1990);
  EXPECT_NE(read_file("error.log").find("ERROR - tried to unsimulate when at 1990."), std::string::npos);
  // A command from a window that is no pane's is refused with the bell.
  MXsetcurrentnamedwindow("root");
  setlastcontrol(WINDOW, "root", "File", -1);
  const int before = bells();
  EXPECT_EQ(simulate(), 0);
  EXPECT_EQ(options(), 0);
  EXPECT_EQ(bells() - before, 2);
}

// (The tutorial's lesson checks the death-rate row that falls below 11 per thousand.)
TEST_F(RateEditingTest, RateButtonsStepTheirRowsWithinTheLimits) {
  int32_t* b = run0()->birthrate[0];
  int32_t* d = run0()->deathrate[0];
  const int32_t b20 = b[2], b25 = b[3], b50 = b[8];
  const int clicks = MXPheadless_clicks();
  press_button("topbirth", "Birth2p");  // the row of the mothers aged 20-29, with a click
  EXPECT_EQ(MXPheadless_clicks(), clicks + 1);
  EXPECT_EQ(b[2], rate_step_up(b20));
  EXPECT_EQ(b[3], rate_step_up(b25));
  EXPECT_EQ(run0()->tfr_targ_val[0], get_TFR(b));
  press_button("topbirth", "Birth5m");  // 50 and over: one entry only
  EXPECT_EQ(b[8], rate_step_down(b50));
  // A lowering at the ceiling enables the plus of its row.
  MXdisablebutton("topbirth", "Birth4p", 1);
  b[6] = 400000;
  press_button("topbirth", "Birth4m");
  EXPECT_EQ(button_state("topbirth", "Birth4p"), ENABLED);
  for (int i = 0; i < 9; ++i) b[i] = 399000;  // no raise once fertility reaches 9.90
  press_button("topbirth", "Birth3p");
  EXPECT_EQ(b[4], 399000);
  d[15] = 400000;  // death rates stay at their ceiling
  d[16] = 399600;
  press_button("topdeath", "Death7p");  // the 70-79 row: entries 15 and 16
  EXPECT_EQ(d[15], 400000);
  EXPECT_EQ(d[16], 401000);
  EXPECT_EQ(run0()->lifex_targ_val[0], get_life_expect(d));
  d[0] = 700;  // infant mortality stops at 0
  press_button("topinfant", "Infantm");
  press_button("topinfant", "Infantm");
  EXPECT_EQ(d[0], 0);
}

TEST_F(RateEditingTest, DraggingABarCutsItsRowAndNoFurtherThanItsLength) {
  choose("top", "options", "options", "p4");
  int x, y, W, H, bh;
  field_origin("top", "PYRBUTTON", &x, &y);
  MXgetfieldrect("PYRBUTTON", nullptr, nullptr, &W, &H, nullptr);
  MXgetfieldrect("BARS", nullptr, nullptr, nullptr, &bh, nullptr);
  VKStatetype* s = run0();
  const int32_t f40 = s->fem_pop[0][8], f45 = s->fem_pop[0][9], total = s->totpop[0];
  const int len = bar_length(int64_t{f40} + f45, W / 2, total, Display[0].bound);
  ASSERT_GT(len, 6);
  const int axis = x + W / 2, row = y + H - (bh - 1) * 4 - bh / 2;  // 40-49, female side
  const struct {
    int from, to;
    int32_t f40, f45;
  } drags[] = {{len - 2, len + 30, f40, f45},  // outwards: the bar keeps its length
               {len - 2, -10, 0, 0},           // to the axis: the row is emptied
               {1, 1, 0, 0},                   // ends where it began: nothing changes
               {1, len + 5, f40, f45}};        // again from the display copy: it comes back
  for (const auto& g : drags) {
    drag(axis + g.from, row, axis + g.to, row);
    EXPECT_EQ(s->fem_pop[0][8], g.f40) << g.from << " to " << g.to;
    EXPECT_EQ(s->fem_pop[0][9], g.f45) << g.from << " to " << g.to;
    // The run's total is its groups' sum; the pyramid keeps the scale it was cut in.
    EXPECT_EQ(s->totpop[0], total - f40 - f45 + g.f40 + g.f45) << g.from << " to " << g.to;
    EXPECT_EQ(pyramid_scale_total(0), total);
  }
  // A bar shorter than a pixel (80+, female side) is left alone, not emptied.
  s->fem_pop[0][16] = Display[0].female[16] = 1;
  const int top_row = y + H - (bh - 1) * 8 - bh / 2;
  drag(axis + 2, top_row, axis + 1, top_row);
  EXPECT_EQ(s->fem_pop[0][16], 1);
}

}  // namespace

namespace {
// The command-line projector does what the scenario windows do: the same targets,
// same-step ones included (applied at once by okay), give the same saved run.
TEST_F(ScenarioTest, TheCommandLineProjectorSavesTheSameRun) {
  VKStatetype* s = run0();
  *s = VKStatetype{};  // no time points left from earlier tests' runs
  init_sim_data(0, 0);
  auto target = [&](const char* pane_window, const char* win, const char* button, int n, const char* year, int years) {
    press_button(pane_window, win);  // the Set button opens the window of its own name
    for (int i = 0; i < n + years; ++i) press_button(win, i < n ? button : year);
    press_button(win, "okay");
  };
  target("toptotalfert", "setfert", "incfert", 3, "incfyear", 0);  // due at once
  target("topmig", "setmig", "decmig", 2, "incmyear", 1);
  press_button("top", "simulate");
  target("toplifeexp", "setlife", "inclifeexp", 2, "inclyear", 0);  // due at once
  target("toptotalfert", "setfert", "decfert", 5, "incfyear", 2);
  for (int i = 0; i < 2; ++i) press_button("top", "simulate");
  ASSERT_EQ(save_simulation(), 1);
  char sets[200];
  std::snprintf(sets, sizeof sets,
                "1990:tfr=%.2f@1990 --set 1990:mig=%d@1995 --set 1995:lifex=%.2f@1995 --set 1995:tfr=%.2f@2005",
                s->tfr_targ_val[0] / 100.0, s->mig_targ_val[0] * Country[0].scale_factor, s->lifex_targ_val[1] / 100.0,
                s->tfr_targ_val[1] / 100.0);
  const std::string cli = std::string(VKPROJECT_PATH) + " --data " + APP_DATA_DIR +
                          " --country France --to 2005 --set " + sets + " --save vk_cli.sav > /dev/null";
  ASSERT_EQ(std::system(cli.c_str()), 0) << cli;
  // Run 0 of the upper pane.
  EXPECT_EQ(read_file("vk_000.sav").substr(518, 3700), read_file("vk_cli.sav").substr(518, 3700)) << sets;

  // File, Export table: each row is the pane and run, then vkproject's CSV row.
  ASSERT_EQ(exportdialog(), 1);
  type("t");  // replaces the name offered
  key(13);
  ASSERT_EQ(std::system((cli.substr(0, cli.find(" --save")) + " --format csv > vk_cli.csv").c_str()), 0);
  std::istringstream exported(read_file("t.csv")), expected(read_file("vk_cli.csv"));
  std::string x, e;
  for (const char* lead = "pane,run,"; std::getline(expected, e); lead = "top,1,") {
    ASSERT_TRUE(std::getline(exported, x));
    EXPECT_EQ(x.substr(0, std::string(lead).size() + e.size() + 1), lead + e + ",");
  }
}
}  // namespace
