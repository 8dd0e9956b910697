// The walk-through tutorial on the program's own interface file and starting
// state, driven by pointer and key events on the headless platform: the whole
// lesson, where at every stage another action than the awaited one leaves the
// stage as it is; the user's own state before and after, byte for byte through a
// save; leaving in the middle; a lesson started over the work of one that was
// cut off.
#include "app/walkthrough.h"
#include "app_test_support.h"
#include "demography/projection.h"
#include "demography/saved_simulation.h"

namespace {

using namespace apptest;
namespace fs = std::filesystem;

#define AT(n) ASSERT_EQ(walkthru_stage(), (n))

// Two saved files equal byte for byte; else where they first differ.
::testing::AssertionResult same_bytes(const std::string& a, const std::string& b) {
  if (a == b) return ::testing::AssertionSuccess();
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size() << ", first difference at byte "
                                       << i;
}

class Lesson : public ProgramTest {
 protected:
  std::string interface_file() const override { return std::string(APP_DATA_DIR) + "/varnock.inf"; }
  void SetUp() override {
    ProgramTest::SetUp();
    fs::copy_file(fs::path(APP_DATA_DIR) / "vk_wt.ini", dir_ / "vk_wt.ini");
  }

  // A user's own work: two countries, runs at different years, a second run below.
  void make_user_state() {
    choose_country("top", "germany");
    for (int i = 0; i < 3; ++i) press_button("top", "simulate");
    choose_country("bottom", "nigeria");
    for (int i = 0; i < 5; ++i) press_button("bottom", "simulate");
    choose("bottom", "options", "options", "p1");
    for (int i = 0; i < 2; ++i) press_button("bottom", "simulate");
  }
  static std::string saved(const char* name) {
    EXPECT_EQ(savenamedfile(name), 1);
    return read_file(name);
  }
  void start_lesson() {
    choose("root", "help", "help", "p4");
    ASSERT_EQ(InWalkThru, 1);
  }
  // A press that is not the one the stage waits for.
  void wrong(const char* window, const char* button) {
    const int before = walkthru_stage();
    press_button(window, button);
    idle(2);
    EXPECT_EQ(walkthru_stage(), before) << "stage " << before << " moved on by " << window << "/" << button;
  }
  // Presses a button until the stage moves on; the number of presses it took.
  int press_until_next(const char* window, const char* button, int most) {
    const int stage = walkthru_stage();
    for (int n = 1; n <= most; ++n) {
      press_button(window, button);
      if (walkthru_stage() != stage) return n;
    }
    return -1;
  }

  struct Press {
    const char *window, *button;
  };
  struct SimpleStage {
    int stage;
    Press awaited;
    std::vector<Press> wrong;
  };
  // Does what stage n waits for (after a wrong action where one is at hand).
  void act(int n) {
    const Press cont{"message", "wtcont"}, sim{"top", "simulate"};
    const SimpleStage simple[] = {
        {PRESSOPTIONS, {"top", "options"}, {sim, {"bottom", "options"}}},
        {CONTINUE1, cont, {{"map", "smallmap"}, {"map", "done"}}},
        {CONTINUE3, cont, {{"map", "smallmap"}}},
        {ZOOMIN, {"map", "incmapscale"}, {{"map", "decmapscale"}, cont}},
        {ZOOMOUT, {"map", "decmapscale"}, {{"map", "incmapscale"}}},
        {PRESSDNARROW, {"map", "DnArrow"}, {{"map", "scrollcountry"}}},
        {PRESSUPARROW, {"map", "UpArrow"}, {cont}},
        {CONTINUE4, cont, {{"map", "UpArrow"}}},
        {CONTINUE5, cont, {sim}},
        {CONTINUE6, cont, {{"top", "options"}}},
        {PRESSSIM, sim, {cont}},
        {PRESSUNSIMAGAIN, {"top", "unsimulate"}, {sim}},
        {PRESSOPTIONSAGAIN, {"top", "options"}, {{"top", "unsimulate"}}},
        {PRESSOPTIONS3, {"top", "options"}, {{"top", "unsimulate"}}},
        {PRESSOPTIONS4, {"top", "options"}, {{"top", "unsimulate"}}},
        {CONTINUE7, cont, {sim}},
        {CONTINUE8, cont, {sim}},
        {CONTINUE9, cont, {sim}},
        {CONTINUE10, cont, {sim}},
        {CONTINUE11, cont, {sim}},
        {PRESSTOTFERT, {"toptotalfert", "setfert"}, {cont}},
        {PRESSFERTDONE, {"setfert", "okay"}, {}}};
    for (const SimpleStage& s : simple)
      if (s.stage == n) {
        for (const Press& p : s.wrong) wrong(p.window, p.button);
        press_button(s.awaited.window, s.awaited.button);
        return;
      }
    int x, y;
    switch (n) {
      case PRESSINTRODONE:
        EXPECT_EQ(AlertNumber, 3);
        wrong("top", "options");  // the welcome note is modal
        press_button("alert", "okay");
        break;
      case PRESSSELECT:
        click(600, 100);  // the menu closed without a choice
        EXPECT_EQ(walkthru_stage(), PRESSSELECT);
        press_button("top", "options");
        choose(nullptr, nullptr, "options", "p0");
        break;
      case NOTICESELECT:
        // A drag of the small map does not count, a click on a map does.
        button_centre("map", "smallmap", &x, &y);
        drag(x, y, x + 30, y + 12);
        idle(2);
        EXPECT_EQ(walkthru_stage(), NOTICESELECT);
        EXPECT_EQ(Drag_Used, 0);
        press_button("map", "largemap");
        break;
      case DRAGTOPRECT:
        wrong("map", "smallmap");
        button_centre("map", "smallmap", &x, &y);
        drag(x, y, x - 40, y - 10);
        break;
      case PICKFROMLIST:
        wrong("map", "DnArrow");
        field_origin("map", "scrollpickfield", &x, &y);
        click(x + 30, y + 2 * 13 + 6);
        break;
      case MOVESCROLLBUTT: {
        wrong("message", "wtcont");
        type("e");  // no key routine yet
        EXPECT_EQ(walkthru_stage(), MOVESCROLLBUTT);
        int mx, my, bx, by, bw;
        MXgetwindowspecs("map", &mx, &my, nullptr, nullptr, nullptr);
        MXgetbuttonspecs("map", "scrollbar", &bx, &by, &bw, nullptr, nullptr);
        drag(mx + bx + bw / 2, my + by + 4, mx + bx + bw / 2, my + by + 120);
        break;
      }
      case TYPENAME:
        EXPECT_STREQ(searchstring, "");
        type("E");
        EXPECT_EQ(walkthru_stage(), TYPENAME);
        type("U");  // capitals count as well
        break;
      case ENDMAPSELECT:
        wrong("map", "cancel");
        key(13);
        break;
      case PRESSMAPDONE:
        wrong("message", "wtcont");
        press_button("map", "done");
        EXPECT_EQ(MapSelect, 0);
        EXPECT_STREQ(Country_list[Pickno].name, "Europe");
        break;
      case GOTO2050:
      case GOTO2050AGAIN:
        for (int i = 0; i < 11; ++i) press_button("top", "simulate");
        EXPECT_EQ(walkthru_stage(), n) << "before 2050";
        press_button("top", "simulate");
        break;
      case PRESSRUNANOTHER:
      case PRESSRESETSIM:
      case PRESSVIEWBUTTONS: {
        const char* item = n == PRESSRUNANOTHER ? "p1" : n == PRESSRESETSIM ? "p5" : "p3";
        // The menu offers one of rate editing on and off, as it does outside the lesson.
        EXPECT_EQ(item_state("options", "p4"), INVISIBLE);
        click(600, 100);
        EXPECT_EQ(walkthru_stage(), n);
        press_button("top", "options");
        EXPECT_EQ(walkthru_stage(), n);
        choose(nullptr, nullptr, "options", item);
        break;
      }
      case PRESSDECFERT: {
        // Each press before the target reaches 0.50 keeps the stage.
        const int presses = press_until_next("setfert", "decfert", 100);
        EXPECT_GT(presses, 1);
        const VKStatetype* s = VKState[0][Display[0].curr_sim];
        EXPECT_EQ(s->tfr_targ_val[s->stepcnt], 50);
        break;
      }
      case INCFYEAR2010:
        EXPECT_GT(press_until_next("setfert", "incfyear", 20), 1);
        break;
      case PRESSDEATHMINUS: {
        // The 70-79 row below 11 per 1000 in at most five presses, from Europe's over 40.
        EXPECT_NE(press_until_next("topdeath", "Death7m", 5), -1);
        const VKStatetype* s = VKState[0][Display[0].curr_sim];
        EXPECT_LT(rebuild_deathrate(7, s, s->male_pop[s->stepcnt], s->fem_pop[s->stepcnt], s->stepcnt), 11);
        break;
      }
      case DRAGCOHORT: {
        int wx, wy, fx, fy, fw, fh;
        MXgetwindowspecs("top", &wx, &wy, nullptr, nullptr, nullptr);
        MXgetbuttonspecs("top", "pyrgraph", &fx, &fy, &fw, &fh, nullptr);
        click(wx + fx + fw / 2 + 10, wy + fy + fh - 20);  // a click is no drag
        EXPECT_EQ(walkthru_stage(), DRAGCOHORT);
        // The end of a female bar dragged towards the middle shortens that group.
        const VKStatetype* s = VKState[0][Display[0].curr_sim];
        const int32_t before = s->totpop[s->stepcnt];
        drag(wx + fx + fw / 2 + 60, wy + fy + fh - 20, wx + fx + fw / 2 + 20, wy + fy + fh - 20);
        EXPECT_LT(s->totpop[s->stepcnt], before);
        break;
      }
      case GOTO2050FINAL:
        press_button("top", "simulate");
        EXPECT_EQ(walkthru_stage(), GOTO2050FINAL);
        for (int i = 0; i < 11; ++i) press_button("top", "simulate");
        break;
      default:
        FAIL() << "no action for stage " << n;
    }
  }
  // Runs the lesson from its start until stage `stop` is reached.
  void run_until(int stop) {
    idle(1);
    for (int n = PRESSINTRODONE; n < stop; ++n) {
      AT(n);
      act(n);
      if (HasFatalFailure()) return;
      AT(n + 1);
    }
  }
};

TEST_F(Lesson, TheWholeLessonAdvancesOnlyOnTheAwaitedActionsAndGivesTheUsersWorkBack) {
  open_main_screen();
  make_user_state();
  const std::string before = saved("before.sav");
  const int message = MXgetcurrmsg();

  start_lesson();
  EXPECT_TRUE(same_bytes(read_file(WalkSaveFile), before));
  // The lesson's own state: the world in the upper pane, nothing below.
  EXPECT_STREQ(Country_list[0].name, "World");
  EXPECT_EQ(Display[1].curr_sim, -1);
  EXPECT_NE(button_state("root", "qtwalk"), INVISIBLE);
  EXPECT_EQ(button_state("root", "File"), INVISIBLE);
  EXPECT_EQ(button_state("bottom", "options"), DISABLED);
  EXPECT_EQ(item_state("help", "p4"), DISABLED);
  EXPECT_EQ(item_state("options", "p6"), DISABLED);  // the UN's figures are off for the lesson
  EXPECT_FALSE(un_figures_shown());

  run_until(CONTINUE11);
  ASSERT_FALSE(HasFatalFailure());
  AT(CONTINUE11);
  press_button("message", "wtcont");
  idle(2);  // the last stage ends the lesson
  EXPECT_EQ(walkthru_stage(), WT_NONE);
  EXPECT_EQ(InWalkThru, 0);
  EXPECT_FALSE(fs::exists(WalkSaveFile));
  EXPECT_TRUE(same_bytes(saved("after.sav"), before));
  EXPECT_EQ(MXgetcurrmsg(), message);
  EXPECT_EQ(button_state("root", "qtwalk"), INVISIBLE);
  EXPECT_EQ(item_state("help", "p4"), ENABLED);
  EXPECT_TRUE(un_figures_shown());
  EXPECT_NE(read_file("error.log").find("End of Walk-Through Tutorial"), std::string::npos);
}

TEST_F(Lesson, LeavingInTheMiddleRestoresEverything) {
  open_main_screen();
  make_user_state();
  const std::string before = saved("before.sav");

  // With End tutorial, after the lesson has disabled every Options item.
  start_lesson();
  run_until(CONTINUE8);
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(item_state("options", "p0"), DISABLED);
  press_button("root", "qtwalk");
  EXPECT_EQ(InWalkThru, 0);
  EXPECT_TRUE(same_bytes(saved("after.sav"), before));
  EXPECT_EQ(item_state("options", "p0"), ENABLED);
  EXPECT_EQ(item_state("help", "p4"), ENABLED);
  EXPECT_EQ(button_state("root", "File"), ENABLED);
  EXPECT_FALSE(fs::exists(WalkSaveFile));

  // At once (n = 10) while the country window is up, and while the fertility
  // window is up: both close, and the user's work is back.
  for (int stop : {ZOOMOUT, INCFYEAR2010}) {
    const std::string before_leaving = saved("before.sav");  // the check below simulates
    reset_walkthrough();
    start_lesson();
    run_until(stop);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(MapSelect || SetFertActive);
    walkthru(0, 0, 10);
    idle(2);
    EXPECT_EQ(InWalkThru + MapSelect + SetFertActive + window_level("map") + window_level("setfert"), 0);
    EXPECT_TRUE(same_bytes(saved("after.sav"), before_leaving)) << "left at stage " << stop;
  }
}

TEST_F(Lesson, HoldingMinusOnTheDeathRateStopsShortOfZero) {
  open_main_screen();
  start_lesson();
  run_until(PRESSDEATHMINUS);
  ASSERT_FALSE(HasFatalFailure());
  // Three seconds held: the repeats come ever faster, one at every event at last.
  int x, y;
  button_centre("topdeath", "Death7m", &x, &y);
  MXPheadless_press(x, y);
  for (int t = 0; t < 300; ++t) MXPheadless_move(x, y);
  MXPheadless_release(x, y);
  run();
  AT(CONTINUE10);
  const VKStatetype* s = VKState[0][Display[0].curr_sim];
  const int rate = rebuild_deathrate(7, s, s->male_pop[s->stepcnt], s->fem_pop[s->stepcnt], s->stepcnt);
  EXPECT_LT(rate, 11);
  EXPECT_GT(rate, 4);
}

TEST_F(Lesson, AFileOfTheUsersWorkIsNeverOverwrittenNorDeletedUnlessItLoads) {
  open_main_screen();
  make_user_state();
  // A lesson started over what a cut-off one left keeps that work.
  const std::string kept = saved(WalkSaveFile);
  choose("top", "options", "options", "p5");  // the screen has changed since
  key(13);                                     // yes to the reset
  ASSERT_NE(saved("changed.sav"), kept);
  start_lesson();
  EXPECT_TRUE(same_bytes(read_file(WalkSaveFile), kept));
  EXPECT_EQ(save_last_session(), 1);  // the session ending now keeps the user's work
  EXPECT_EQ(read_file(LastSessionFile), kept);
  run_until(PRESSOPTIONS);
  press_button("root", "qtwalk");
  EXPECT_TRUE(same_bytes(saved("after.sav"), kept));

  // One that does not load: no lesson starts, the bell rings, and the file stays.
  write_file(WalkSaveFile, "damaged");
  reset_walkthrough();
  const int rung = bells();
  choose("root", "help", "help", "p4");
  EXPECT_EQ(InWalkThru, 0);
  EXPECT_EQ(read_file(WalkSaveFile), "damaged");
  EXPECT_TRUE(same_bytes(saved("after.sav"), kept));
  EXPECT_EQ(bells() - rung, 1);

}

TEST_F(Lesson, WorkLeftByACutOffLessonComesBackWhenTheMainScreenOpens) {
  // The file is there before the first screen: it is loaded only once the main
  // screen is open, then deleted.
  fs::copy_file("vk_wt.ini", WalkSaveFile);
  idle(3);
  EXPECT_TRUE(fs::exists(WalkSaveFile));
  press_button("help", "done");
  EXPECT_TRUE(fs::exists(WalkSaveFile));
  press_button("message", "done");
  idle(2);
  EXPECT_FALSE(fs::exists(WalkSaveFile));
  EXPECT_EQ(MXgetcurrmsg(), WALK_RECOVERED_MSG);
  EXPECT_GE(Display[0].curr_sim, 0);
  EXPECT_TRUE(same_bytes(saved("after.sav"), read_file("vk_wt.ini")));
}

}  // namespace
