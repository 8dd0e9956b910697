// The target windows, simulate and step back, and the pane's Options menu. The
// value buttons change the shown run's target at its current step at once; the
// year buttons change a working copy of the target year that okay commits.
#include "app/scenario_windows.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_helpers.h"
#include "app/general_commands.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "base/log.h"
#include "demography/projection.h"
#include "demography/simulation.h"
#include "startup/filenames.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace {

constexpr int32_t kFertMin = 50, kFertMax = 990;
constexpr int32_t kLifeMin = 2000, kLifeMax = 9990;
constexpr int32_t kMigMin = -100000, kMigMax = 100000;
constexpr int kLastStep = VK_TIMEPOINTS - 1;

// One of the three targets: its window, buttons, fields, flag and the arrays of
// the run and the edit buffer it works on.
struct Target {
  const char* window;
  const char* inc_value;
  const char* dec_value;
  const char* inc_year;
  const char* dec_year;
  const char* set_field;
  const char* curr_field;
  const char* set_year_field;
  const char* curr_year_field;
  int* active;
  int32_t (VKStatetype::*value)[VK_TIMEPOINTS];
  int32_t (VKStatetype::*year)[VK_TIMEPOINTS];
  int32_t (VKsaveyear_t::*edit)[VK_TIMEPOINTS];
  int32_t low, high;
};

const Target kFert = {"setfert",      "incfert",      "decfert",     "incfyear",       "decfyear",
                      "SETFERT",      "CURRFERT",     "SETFERTYEAR", "CURRFERTYEAR",   &SetFertActive,
                      &VKStatetype::tfr_targ_val,     &VKStatetype::tfr_targ_year,     &VKsaveyear_t::tfr_targ_year,
                      kFertMin,       kFertMax};
const Target kLife = {"setlife",      "inclifeexp",   "declifeexp",  "inclyear",       "declyear",
                      "SETLIFE",      "CURRLIFE",     "SETLIFEYEAR", "CURRLIFEYEAR",   &SetLifeExActive,
                      &VKStatetype::lifex_targ_val,   &VKStatetype::lifex_targ_year,   &VKsaveyear_t::lifex_targ_year,
                      kLifeMin,       kLifeMax};
const Target kMig = {"setmig",        "incmig",       "decmig",      "incmyear",       "decmyear",
                     "SETMIG",        "CURRMIG",      "SETMIGYEAR",  "CURRMIGYEAR",    &SetMigActive,
                     &VKStatetype::mig_targ_val,      &VKStatetype::mig_targ_year,     &VKsaveyear_t::mig_targ_year,
                     kMigMin,         kMigMax};

// Typing in an open target window: the field typed in (value or year, Tab
// switches), its text, whether the next key starts a new text, and the value and
// year as they were when the window opened, which Escape puts back.
struct Typing {
  const Target* tg = nullptr;  // null while no target window takes keys
  void (*display)(int) = nullptr;
  int (*okay)() = nullptr;
  bool in_year = false;
  bool fresh = true;
  std::string text;
  int32_t value_at_open = 0;
};
Typing typing;

// The shown run of pane Cdisp and its edit buffer; false when the pane has none.
bool shown_run(VKStatetype** s, VKsaveyear_t** w) {
  const int sim = Display[Cdisp].curr_sim;
  if (sim < 0 || sim >= VK_RUNS || !VKState[Cdisp][sim]) return false;
  *s = VKState[Cdisp][sim];
  *w = VKsaveyear[Cdisp][sim];
  return (*s)->stepcnt >= 0 && (*s)->stepcnt < VK_TIMEPOINTS && *w;
}

void set_button(const char* window, const char* button, bool enabled, int redraw) {
  if (enabled)
    MXenablebutton(window, button, redraw);
  else
    MXdisablebutton(window, button, redraw);
}

void start_typing(const Target& tg, void (*display)(int), int (*okay)(), int32_t value_at_open);
void refresh_typing();

int open_target(const Target& tg, void (*display)(int), int (*okay)()) {
  ParmSavemsg = MXgetcurrmsg();
  const int pane = checklastcontrol();
  if (pane < 0) return 0;
  Cdisp = pane;
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return 0;
  const int t = s->stepcnt;
  *tg.active = 1;

  const Field org = field_rect("SETWINORG");
  const int x = pane == 0 ? org.x : org.wd;
  const int y = pane == 0 ? org.y : org.ht;
  MXsetwindowspecs(tg.window, &x, &y, nullptr, nullptr);

  const int32_t target_year = (s->*tg.year)[t];
  // The year can go down only while it lies after the run's year; outside the
  // tutorial, which sets these buttons itself, it can go up again below 2050.
  if (target_year <= s->year)
    MXdisablebutton(tg.window, tg.dec_year, 0);
  else if (!InWalkThru)
    MXenablebutton(tg.window, tg.dec_year, 0);
  if (!InWalkThru && target_year < VK_LAST_YEAR) MXenablebutton(tg.window, tg.inc_year, 0);

  const int32_t value = (s->*tg.value)[t];
  set_button(tg.window, tg.dec_value, value > tg.low, 0);
  set_button(tg.window, tg.inc_value, value < tg.high, 0);

  MXdrawnamedwindow(tg.window, Use_bstore, 1);
  display(0);
  // The tutorial waits for button presses: its target windows take no typing.
  if (!InWalkThru) start_typing(tg, display, okay, value);
  if (!InWalkThru) MXdisplayhelpmessage(40);
  return 1;
}

// Shared drawing of a target window. current is the figure now in force; format
// and scale say how values are shown.
void display_target(const Target& tg, int redraw, int32_t current, bool as_persons) {
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return;
  const int t = s->stepcnt;
  if (redraw == 1) MXredrawnamedwindow(tg.window);
  if (redraw == 0) {
    if ((s->*tg.year)[t] == s->year) (s->*tg.value)[t] = current;
    (w->*tg.edit)[t] = (s->*tg.year)[t];
  }
  MXsetcurrentnamedwindow(tg.window);
  char text[64];
  const int32_t scale = Country[Cdisp].scale_factor;
  if (as_persons)
    std::snprintf(text, sizeof text, "%10ld", static_cast<long>(int64_t{(s->*tg.value)[t]} * scale));
  else
    std::snprintf(text, sizeof text, "%3.1f", (s->*tg.value)[t] * 0.01);
  write_field_text(tg.set_field, text);
  if (as_persons)
    std::snprintf(text, sizeof text, "%10ld", static_cast<long>(int64_t{current} * scale));
  else
    std::snprintf(text, sizeof text, "%3.1f", current * 0.01);
  write_field_text(tg.curr_field, text);
  std::snprintf(text, sizeof text, "%4d", static_cast<int>((w->*tg.edit)[t]));
  write_field_text(tg.set_year_field, text);
  std::snprintf(text, sizeof text, "%4d", static_cast<int>((s->*tg.year)[t]));
  write_field_text(tg.curr_year_field, text);
  if (typing.tg == &tg) write_field_text(typing.in_year ? tg.set_year_field : tg.set_field, (typing.text + "_").c_str());
}

// A value button: re-enable the opposite button when leaving its limit, change the
// value, disable this button at its own limit. Returns the value after the change.
int value_button(const Target& tg, int (*change)(int), int delta, bool up, int32_t* after) {
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return 0;
  const int t = s->stepcnt;
  MXsetcurrentnamedwindow(tg.window);
  const int32_t before = (s->*tg.value)[t];
  if (up && before < tg.low + 1) MXenablebutton(tg.window, tg.dec_value, 1);
  if (!up && before >= tg.high) MXenablebutton(tg.window, tg.inc_value, 1);
  MXsetcurrentnamedwindow(tg.window);
  if (!change(delta)) return 0;
  *after = (s->*tg.value)[t];
  if (up && *after >= tg.high) MXdisablebutton(tg.window, tg.inc_value, 1);
  if (!up && *after <= tg.low) MXdisablebutton(tg.window, tg.dec_value, 1);
  refresh_typing();
  return 1;
}

int year_button(const Target& tg, bool up) {
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return 0;
  int32_t& year = (w->*tg.edit)[s->stepcnt];
  if (up) {
    MXenablebutton(tg.window, tg.dec_year, 1);
    if (InWalkThru && &tg == &kFert && year >= 2005) {
      Drag_Used = 1;
      MXdisablebutton(tg.window, tg.inc_year, 1);
    }
    MXsetcurrentnamedwindow(tg.window);
    if (!changeyear(5, s, &year, tg.set_year_field)) return 0;
    if (year >= VK_LAST_YEAR) MXdisablebutton(tg.window, tg.inc_year, 1);
  } else {
    MXenablebutton(tg.window, tg.inc_year, 1);
    MXsetcurrentnamedwindow(tg.window);
    if (!changeyear(-5, s, &year, tg.set_year_field)) return 0;
    if (year <= s->year) MXdisablebutton(tg.window, tg.dec_year, 1);
  }
  refresh_typing();
  return 1;
}

int okay_target(const Target& tg, void (*apply)(VKStatetype*)) {
  *tg.active = 0;
  if (typing.tg == &tg) typing.tg = nullptr;
  VKStatetype* s;
  VKsaveyear_t* w;
  if (shown_run(&s, &w)) {
    const int t = s->stepcnt;
    (s->*tg.year)[t] = (w->*tg.edit)[t];
    if ((s->*tg.year)[t] == s->year) apply(s);
  }
  reset_screen(1, tg.window);
  return 1;
}

// Typing --------------------------------------------------------------------------

// The focused field's figure as the window shows it, without leading blanks.
std::string shown_figure(const Target& tg, const VKStatetype* s, const VKsaveyear_t* w, bool year) {
  const int t = s->stepcnt;
  char text[32];
  if (year)
    std::snprintf(text, sizeof text, "%d", static_cast<int>((w->*tg.edit)[t]));
  else if (&tg == &kMig)
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>((s->*tg.value)[t]) * Country[Cdisp].scale_factor);
  else
    std::snprintf(text, sizeof text, "%.1f", (s->*tg.value)[t] * 0.01);
  return text;
}

// Puts the focused field back to the figure in force and redraws the window's fields.
void refresh_typing() {
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!typing.tg || !shown_run(&s, &w)) return;
  typing.text = shown_figure(*typing.tg, s, w, typing.in_year);
  typing.fresh = true;
  MXsetcurrentnamedwindow(typing.tg->window);
  typing.display(2);
}

void start_typing(const Target& tg, void (*display)(int), int (*okay)(), int32_t value_at_open) {
  typing.tg = &tg;
  typing.display = display;
  typing.okay = okay;
  typing.in_year = false;
  typing.value_at_open = value_at_open;
  refresh_typing();
}

// Refuses a typed figure: the bell and a help message naming the allowed range.
bool refuse(int message, const std::string& range) {
  MXbell();
  MXdisplayhelpmessagewith(message, range.c_str());
  return false;
}

// Takes the typed text of the focused field into the run (value) or the edit
// buffer (year). False, with the bell and a message, when it is out of range.
bool commit_typed(const Target& tg, VKStatetype* s, VKsaveyear_t* w) {
  if (typing.fresh) return true;  // nothing typed: the figure stands
  const int t = s->stepcnt;
  char* end = nullptr;
  const double typed = std::strtod(typing.text.c_str(), &end);
  const bool number = !typing.text.empty() && end && *end == '\0';
  char range[64];
  if (typing.in_year) {
    std::snprintf(range, sizeof range, "%d to %d", static_cast<int>(s->year), VK_LAST_YEAR);
    const long year = number ? std::lround(typed) : 0;
    if (!number || year < s->year || year > VK_LAST_YEAR || year % 5 != 0) return refuse(42, range);
    (w->*tg.edit)[t] = static_cast<int32_t>(year);
    set_button(tg.window, tg.dec_year, year > s->year, 1);
    set_button(tg.window, tg.inc_year, year < VK_LAST_YEAR, 1);
    return true;
  }
  const int32_t scale = &tg == &kMig ? Country[Cdisp].scale_factor : 1;
  if (&tg == &kMig)
    std::snprintf(range, sizeof range, "%lld to %lld", static_cast<long long>(tg.low) * scale,
                  static_cast<long long>(tg.high) * scale);
  else
    std::snprintf(range, sizeof range, "%.1f to %.1f", tg.low * 0.01, tg.high * 0.01);
  // Fertility and life expectancy are kept in hundredths, migration in model units.
  const double units = &tg == &kMig ? typed / scale : typed * 100.0;
  if (!number || units < tg.low - 0.5 || units > tg.high + 0.5) return refuse(41, range);
  const int32_t value = static_cast<int32_t>(std::lround(units));
  (s->*tg.value)[t] = std::clamp(value, tg.low, tg.high);
  set_button(tg.window, tg.dec_value, (s->*tg.value)[t] > tg.low, 1);
  set_button(tg.window, tg.inc_value, (s->*tg.value)[t] < tg.high, 1);
  return true;
}

// Whether a character may join the focused field's text: digits; a point once in
// fertility and life expectancy, with one decimal as shown; a leading minus in
// migration; four digits of a year.
bool may_append(const Target& tg, char c) {
  const std::string& x = typing.text;
  const size_t point = x.find('.');
  if (typing.in_year) return std::isdigit(static_cast<unsigned char>(c)) && x.size() < 4;
  if (x.size() >= 9) return false;
  if (c == '-') return &tg == &kMig && x.empty();
  if (c == '.') return &tg != &kMig && point == std::string::npos;
  return std::isdigit(static_cast<unsigned char>(c)) && (point == std::string::npos || x.size() - point < 2);
}

void cancel_target() {
  const Target& tg = *typing.tg;
  VKStatetype* s;
  VKsaveyear_t* w;
  typing.tg = nullptr;
  *tg.active = 0;
  if (shown_run(&s, &w)) {
    const int t = s->stepcnt;
    (s->*tg.value)[t] = typing.value_at_open;
    (w->*tg.edit)[t] = (s->*tg.year)[t];
  }
  reset_screen(1, tg.window);
}

}  // namespace

int target_key(int key) {
  if (!typing.tg) return 0;
  const Target& tg = *typing.tg;
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return 0;
  MXsetcurrentnamedwindow(tg.window);
  const char c = static_cast<char>(key);
  switch (key) {
    case 27:
      cancel_target();
      return 1;
    case 13:
      if (!commit_typed(tg, s, w)) return 0;
      return typing.okay();
    case 9:
      if (!commit_typed(tg, s, w)) return 0;
      MXdisplayhelpmessage(40);
      typing.in_year = !typing.in_year;
      refresh_typing();
      return 1;
    case 8:
      if (!typing.text.empty()) typing.text.pop_back();
      break;
    default:
      if (typing.fresh) typing.text.clear();
      if (!may_append(tg, c)) {
        if (typing.fresh) refresh_typing();
        MXbell();
        return 0;
      }
      typing.text += c;
      break;
  }
  typing.fresh = false;
  typing.display(2);
  return 1;
}

namespace {

void set_pane_editing_windows(int pane, bool on) {
  for (const char* const* names : {Birthwinname, Deathwinname, Infantwinname}) {
    if (on) {
      MXsetactivenamedwindow(names[pane]);
      MXredrawnamedwindow(names[pane]);
    } else {
      MXsetdeactivenamedwindow(names[pane]);
    }
  }
}

}  // namespace

void settle_panes() {
  auto set = [](const char* window, const char* button, bool on) {
    if (on)
      MXenablebutton(window, button, 0);
    else
      MXdisablebutton(window, button, 0);
  };
  for (int pane = 0; pane < VK_PANES; ++pane) {
    const DisplayType& d = Display[pane];
    const VKStatetype* s = d.curr_sim >= 0 ? VKState[pane][d.curr_sim] : nullptr;
    const bool loaded = s != nullptr && s->stepcnt >= 0;
    const bool open = loaded && s->stepcnt < kLastStep;  // the run can go on
    for (const char* const* names : {Displayname, TFRname, Lifexname, Migname, Infowinname})
      MXsetactivenamedwindow(names[pane]);
    for (const char* const* names : {Birthwinname, Deathwinname, Infantwinname}) {
      if (d.modify_flag && open)
        MXsetactivenamedwindow(names[pane]);
      else
        MXsetdeactivenamedwindow(names[pane]);
    }
    set(Displayname[pane], "simulate", open);
    set(Displayname[pane], "unsimulate", loaded && s->stepcnt > 0);
    set(Displayname[pane], "options", !InWalkThru);
    set(Displayname[pane], "pyrgraph", open);
    set(TFRname[pane], "setfert", open && !d.modify_flag);
    set(Lifexname[pane], "setlife", open && !d.modify_flag);
    set(Migname[pane], "setmig", open);
  }
}

int setfert() { return open_target(kFert, display_fert_win, okayfert); }
int setlifeex() { return open_target(kLife, display_lifeex_win, okaylife); }
int setmig() { return open_target(kMig, display_mig_win, okaymig); }

void display_fert_win(int redraw) {
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return;
  display_target(kFert, redraw, get_TFR(s->birthrate[s->stepcnt]), false);
}

void display_lifeex_win(int redraw) {
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return;
  display_target(kLife, redraw, get_life_expect(s->deathrate[s->stepcnt]), false);
}

void display_mig_win(int redraw) {
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return;
  display_target(kMig, redraw, s->mig[s->stepcnt], true);
}

int incfert() {
  int32_t v;
  return value_button(kFert, changefert, 1, true, &v);
}

int decfert() {
  int32_t v;
  if (!value_button(kFert, changefert, -1, false, &v)) return 0;
  if (v <= kFertMin) Drag_Used = 1;
  return 1;
}

int inclifeexp() {
  int32_t v;
  return value_button(kLife, changelifex, 2, true, &v);
}

int declifeexp() {
  int32_t v;
  return value_button(kLife, changelifex, -2, false, &v);
}

int incmig() {
  int32_t v;
  return value_button(kMig, changemig, 1, true, &v);
}

int decmig() {
  int32_t v;
  return value_button(kMig, changemig, -1, false, &v);
}

int incfyear() { return year_button(kFert, true); }
int decfyear() { return year_button(kFert, false); }
int inclyear() { return year_button(kLife, true); }
int declyear() { return year_button(kLife, false); }
int incmyear() { return year_button(kMig, true); }
int decmyear() { return year_button(kMig, false); }

int okayfert() { return okay_target(kFert, calc_sim_tfr_variant); }
int okaylife() { return okay_target(kLife, calc_sim_life_variant); }
int okaymig() { return okay_target(kMig, calc_sim_mig_variant); }

int simulate() {
  const int pane = checklastcontrol();
  if (pane < 0) return 0;
  Cdisp = pane;
  VKStatetype* s;
  VKsaveyear_t* w;
  // A run ends at 2050, whatever state its button is in.
  if (!shown_run(&s, &w) || s->stepcnt >= kLastStep) return 0;
  DisplayType& d = Display[pane];
  const char* win = Displayname[pane];
  s->stepcnt += 1;
  dosim(s);
  if (s->stepcnt == 1 && !InWalkThru) MXenablebutton(win, "unsimulate", 1);
  if (s->stepcnt == kLastStep) {
    d.modify_permit = 0;
    if (!InWalkThru) {
      ParmSavemsg = 9;
      MXdisplayhelpmessage(9);
    }
    if (d.modify_flag) {
      set_pane_editing_windows(pane, false);
      // The editing windows leave the screen with them.
      redraw_display(pane);
    } else {
      MXdisablebutton(TFRname[pane], "setfert", 1);
      MXdisablebutton(Lifexname[pane], "setlife", 1);
    }
    MXdisablebutton(Migname[pane], "setmig", 1);
    MXdisablebutton(win, "pyrgraph", 0);
    MXdisablebutton(win, "simulate", 1);
    Drag_Used = 1;
  }
  setup_bargraph();
  update_display(pane);
  writesimstats(s);
  return 1;
}

int unsimulate() {
  const int pane = checklastcontrol();
  if (pane < 0) return 0;
  Cdisp = pane;
  VKStatetype* s;
  VKsaveyear_t* w;
  if (!shown_run(&s, &w)) return 0;
  DisplayType& d = Display[pane];
  const char* win = Displayname[pane];
  if (s->stepcnt == kLastStep) {
    if (!InWalkThru) {
      ParmSavemsg = 4;
      MXdisplayhelpmessage(4);
    }
    d.modify_permit = 1;
    if (d.modify_flag) {
      set_pane_editing_windows(pane, true);
    } else {
      MXenablebutton(TFRname[pane], "setfert", 1);
      MXenablebutton(Lifexname[pane], "setlife", 1);
    }
    MXenablebutton(Migname[pane], "setmig", 1);
    MXenablebutton(win, "pyrgraph", 0);
    MXenablebutton(win, "simulate", 1);
  }
  if (s->stepcnt >= 1) {
    s->stepcnt -= 1;
    s->year -= 5;
    if (s->stepcnt == 0) {
      if (!InWalkThru) MXdisplayhelpmessage(4);
      MXdisablebutton(win, "unsimulate", 1);
    }
    setup_bargraph();
    update_display(pane);
    writesimstats(s);
  } else {
    MXelog(0, "ERROR - tried to unsimulate when at 1990.");
  }
  return 1;
}

namespace {

// Both panes share one Options menu. The interface file places it below and beside
// the upper pane's button; the lower pane has no room below its button, so there the
// menu opens upward, ending level with the bottom of the button that was pressed.
void place_options_menu(int pane) {
  static int file_x = 0, file_y = 0;
  static bool known = false;
  const Popupmenu& menu = Popups[MXpopupnum("options")];
  if (!known) {
    file_x = menu.x;
    file_y = menu.y;
    known = true;
  }
  int y = file_y;
  if (pane != 0) {
    int pane_y = 0, button_y = 0, button_ht = 0;
    MXgetwindowspecs(Displayname[pane], nullptr, &pane_y, nullptr, nullptr, nullptr);
    MXgetbuttonspecs(Displayname[pane], "options", nullptr, &button_y, nullptr, &button_ht, nullptr);
    int visible = 0;
    for (int i = 0; i < menu.numitems; ++i)
      if (menu.item[i].active != INVISIBLE) ++visible;
    y = pane_y + button_y + button_ht - (15 * visible + 7);  // the height the menu opens with
  }
  MXsetmenuorigin("options", &file_x, &y);
}

}  // namespace

int options() {
  const int pane = checklastcontrol();
  if (pane < 0) return 0;
  Cdisp = pane;
  if (!InWalkThru) {
    const DisplayType& d = Display[pane];
    if (d.reset_permit)
      MXenablemenuitem("options", "p5");
    else
      MXdisablemenuitem("options", "p5");
    if (d.modify_permit == 0) {
      MXdisablemenuitem("options", "p3");
      MXinvisiblemenuitem("options", "p4");
    } else if (d.modify_flag) {
      MXenablemenuitem("options", "p4");
      MXinvisiblemenuitem("options", "p3");
    } else {
      MXenablemenuitem("options", "p3");
      MXinvisiblemenuitem("options", "p4");
    }
    if (d.scenario_permit)
      MXenablemenuitem("options", "p2");
    else
      MXdisablemenuitem("options", "p2");
    if (d.alt_permit)
      MXenablemenuitem("options", "p1");
    else
      MXdisablemenuitem("options", "p1");
    MXdisplayhelpmessage(2);
  }
  place_options_menu(pane);
  return 1;
}
