// Rate editing and pyramid dragging. The changes go into the shown run's state at
// its current step and are carried forward by the next simulated steps. A press
// finds its row and sign from the pointer: minus buttons left of x = 15, rows
// every bh - 1 pixels from y = 3 (bh the height of "BARS"), level with the pyramid.
#include "app/rate_editing.h"

#include <cstdio>
#include <cstring>

#include "app/app_helpers.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "app/walkthrough.h"
#include "base/log.h"
#include "demography/projection.h"
#include "demography/rescale.h"
#include "demography/simulation.h"
#include "ui/help.h"
#include "ui/interface.h"

namespace {

constexpr int32_t kRateStep = 1000;
constexpr int32_t kRateRaiseBelow = 400000;
constexpr int kPlusFromX = 15;

VKStatetype* shown_run(int pane) {
  const int sim = Display[pane].curr_sim;
  if (sim < 0 || sim >= VK_RUNS || !VKState[pane][sim]) return nullptr;
  VKStatetype* s = VKState[pane][sim];
  return s->stepcnt >= 0 && s->stepcnt < VK_TIMEPOINTS ? s : nullptr;
}

int bar_height() { return field_rect("BARS").ht; }

// The row (0 at the top) of a pointer height in an editing window, or -1.
int row_at(int py, int bh, int rows) {
  if (bh < 2 || py < 3) return -1;
  const int r = (py - 3) / (bh - 1);
  return r < rows ? r : -1;
}

// Writes the new fertility into the pane's fertility window and makes it the target.
void show_fertility(int pane, VKStatetype* s) {
  const int t = s->stepcnt;
  MXsetcurrentnamedwindow(TFRname[pane]);
  const Field f = field_rect("TFR");
  MXwclearrect(f.x, f.y, f.wd, f.ht);
  s->tfr_targ_val[t] = get_TFR(s->birthrate[t]);
  MXsetfont(SMALL);
  MXsetcolor(f.color);
  char text[32];
  std::snprintf(text, sizeof text, "%3.1f", s->tfr_targ_val[t] * 0.01);
  MXwwritemsg(f.x, f.y + 9, text);
}

void show_life_expectancy(int pane, VKStatetype* s) {
  const int t = s->stepcnt;
  MXsetcurrentnamedwindow(Lifexname[pane]);
  const Field f = field_rect("LIFEX");
  MXwclearrect(f.x, f.y, f.wd, f.ht);
  s->lifex_targ_val[t] = get_life_expect(s->deathrate[t]);
  MXsetfont(SMALL);
  MXsetcolor(f.color);
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f", s->lifex_targ_val[t] * 0.01);
  MXwwritemsg(f.x, f.y + 9, text);
}

// Writes one row of a rate column of the pane window.
void show_rate_row(int pane, const char* field, int row, int bh, long value) {
  MXsetcurrentnamedwindow(Displayname[pane]);
  const Field f = field_rect(field);
  MXwclearrect(f.x, f.y + 1 + row * (bh - 1), f.wd, 11);
  MXsetfont(SMALL);
  MXsetcolor(f.color);
  MXwwriteint(3, f.x, f.y + 10 + row * (bh - 1), value);
}

// State of one pyramid drag, from DRAG_INIT to DRAG_FINAL.
struct BarDrag {
  bool active = false;
  int pane = 0;
  int bar = 0;        // 0 = 0-9 at the bottom .. 8 = 80+
  int male_flag = 0;  // 1 for the male side
  int32_t initbinpop1 = 0, initbinpop2 = 0;
  int oldwd = 0;
  int64_t restofpop = 0;
  int prevnewwd = -1;
  int32_t* popptr = nullptr;
  int start_x = 0;          // where the pointer went down
  int32_t scale_total = 0;  // the total the pyramid was drawn to
  int32_t before1 = 0, before2 = 0;  // the row's groups in the state at the start
  int beforewd = 0;                  // and their bar's length
};

// A bar's length as the pyramid draws it; the product is taken in 64 bits.
int drag_bar_length(int64_t rowpop, int half, int32_t P, int bound) {
  if (P <= 0) return 0;
  if (P < 50000001) {
    const int64_t D = int64_t{bound} * P;
    return D > 0 ? static_cast<int>((2 * rowpop * half * 100 + D) / (2 * D)) : 0;
  }
  const int64_t D = int64_t{bound} * ((P + 500) / 1000);
  return D > 0 ? static_cast<int>((2 * rowpop * half * 100 + D) / (2 * D) / 1000) : 0;
}
BarDrag drag;

// The lesson's press of "-" on one death-rate row, which waits until the row shows
// less than 11 per 1000: one press halves the row's rates, and once the row shows
// 20 or less it brings it to 10, so that any rate up to 160 per 1000 (far above
// the oldest groups' rates in the data) gets there in at most five presses. Below 11 a press changes nothing: holding the button, whose
// repeats come faster and faster, cannot run the rate down to 0.
void lesson_lower_death_rate(int band, const VKStatetype* s, int32_t* rates, int first, int last) {
  const int t = s->stepcnt;
  const int32_t shown = rebuild_deathrate(band, s, s->male_pop[t], s->fem_pop[t], t);
  if (shown < 11) return;
  for (int e = first; e <= last; ++e)
    rates[e] = shown <= 20 ? static_cast<int32_t>(int64_t{rates[e]} * 10 / shown) : rates[e] / 2;
}

}  // namespace

int32_t rate_step_up(int32_t rate) { return ((rate + 500) / kRateStep + 1) * kRateStep; }

int32_t rate_step_down(int32_t rate) {
  const int32_t v = ((rate + 500) / kRateStep - 1) * kRateStep;
  return v < 0 ? 0 : v;
}

int birthdeathrate() {
  const int pane = Cdisp;
  DisplayType& d = Display[pane];
  if (d.curr_sim < 0) return 0;  // an empty pane has no rates to edit
  d.modify_flag = !d.modify_flag;
  if (d.modify_flag) {
    MXdisablebutton(TFRname[pane], "setfert", 1);
    MXdisablebutton(Lifexname[pane], "setlife", 1);
    for (const char* const* names : {Birthwinname, Deathwinname, Infantwinname}) {
      MXsetactivenamedwindow(names[pane]);
      MXredrawnamedwindow(names[pane]);
    }
  } else {
    MXenablebutton(TFRname[pane], "setfert", 1);
    MXenablebutton(Lifexname[pane], "setlife", 1);
    MXenablebutton(Displayname[pane], "pyrgraph", 0);
    for (const char* const* names : {Birthwinname, Deathwinname, Infantwinname})
      MXsetdeactivenamedwindow(names[pane]);
    // The editing windows leave the screen: the pane is drawn again beneath them.
    redraw_display(pane);
  }
  update_display(pane);
  if (!InWalkThru) MXdisplayhelpmessage(4);
  return 1;
}

int modifybirthrate() {
  ControlType control;
  MXgetlastcontrol(&control);
  const int pane = checkwindow(control.gname);
  if (pane < 0) {
    MXelog(0, "ERROR - in modifybirthrate with window |%s|\n", control.gname);
    return 0;
  }
  Cdisp = pane;
  VKStatetype* s = shown_run(pane);
  if (!s) return 0;
  const int t = s->stepcnt;
  MXsetcurrentnamedwindow(control.gname);
  const int bh = bar_height();
  int px, py;
  MXgetcursorxy(&px, &py);
  const int r = row_at(py, bh, 5);
  if (r < 0) return 0;
  const int band = 4 - r;
  const int first = 2 * band, last = band == 4 ? 8 : 2 * band + 1;
  int32_t* rates = s->birthrate[t];
  if (px < kPlusFromX) {
    for (int e = first; e <= last; ++e) {
      if (rates[e] >= kRateRaiseBelow && control.type == WINDOW) {
        char plus[sizeof control.control.name];
        std::snprintf(plus, sizeof plus, "%s", control.control.name);
        const size_t n = std::strlen(plus);
        if (n > 0) {
          plus[n - 1] = 'p';
          MXenablebutton(control.gname, plus, 1);
        }
      }
      rates[e] = rate_step_down(rates[e]);
    }
  } else if (get_TFR(rates) < 990) {
    for (int e = first; e <= last; ++e)
      if (rates[e] < kRateRaiseBelow) rates[e] = rate_step_up(rates[e]);
  }
  show_rate_row(pane, "BIRTHRATE", r, bh, rebuild_birthrate(band, s, s->fem_pop[t], t));
  show_fertility(pane, s);
  MXclick();
  return 1;
}

int modifydeathrate() {
  ControlType control;
  MXgetlastcontrol(&control);
  const int pane = checkwindow(control.gname);
  if (pane < 0) {
    MXelog(0, "ERROR - in modifydeathrate with window |%s|\n", control.gname);
    return 0;
  }
  Cdisp = pane;
  VKStatetype* s = shown_run(pane);
  if (!s) return 0;
  const int t = s->stepcnt;
  MXsetcurrentnamedwindow(Deathwinname[pane]);
  const int bh = bar_height();
  int px, py;
  MXgetcursorxy(&px, &py);
  const int r = row_at(py, bh, 9);
  if (r < 0) return 0;
  const int band = 8 - r;
  const int first = 2 * band + 1, last = band == 8 ? 17 : 2 * band + 2;
  int32_t* rates = s->deathrate[t];
  if (px < kPlusFromX && InWalkThru && walkthru_stage() == PRESSDEATHMINUS) {
    lesson_lower_death_rate(band, s, rates, first, last);
  } else {
    for (int e = first; e <= last; ++e) {
      if (px < kPlusFromX)
        rates[e] = rate_step_down(rates[e]);
      else if (rates[e] < kRateRaiseBelow)
        rates[e] = rate_step_up(rates[e]);
    }
  }
  const int32_t v = rebuild_deathrate(band, s, s->male_pop[t], s->fem_pop[t], t);
  if (v < 11) Drag_Used = 1;
  show_rate_row(pane, "DEATHRATE", 8 - band, bh, v);
  show_life_expectancy(pane, s);
  MXclick();
  return 1;
}

int modifyinfantrate() {
  ControlType control;
  MXgetlastcontrol(&control);
  const int pane = checkwindow(control.gname);
  if (pane < 0) return 0;
  Cdisp = pane;
  VKStatetype* s = shown_run(pane);
  if (!s) return 0;
  const int t = s->stepcnt;
  MXsetcurrentnamedwindow(control.gname);
  int px, py;
  MXgetcursorxy(&px, &py);
  int32_t& rate = s->deathrate[t][0];
  if (px >= kPlusFromX) {
    rate = rate_step_up(rate);
    if (rate > kRateRaiseBelow) rate = kRateRaiseBelow;
  } else {
    rate = rate >= kRateStep ? rate_step_down(rate) : 0;
  }
  MXsetcurrentnamedwindow(Displayname[pane]);
  const Field f = field_rect("INFRATE");
  MXwclearrect(f.x, f.y, f.wd, f.ht);
  MXsetfont(SMALL);
  MXsetcolor(f.color);
  MXwwriteint(3, f.x, f.y + 10, (rate + 500) / 1000);
  show_life_expectancy(pane, s);
  MXclick();
  return 1;
}

int dragbars(int x, int y, int status) {
  const Field area = field_rect("PYRBUTTON");
  const int X = area.x, Y = area.y, W = area.wd, H = area.ht;
  const int half = W / 2;
  const int bh = bar_height();
  auto row_top = [&](int b) { return Y + H - (bh - 1) * (b + 1); };

  if (status == DRAG_INIT) {
    drag.active = false;
    // The drag area's window is current while its routine runs.
    char window[MX_CONTROL_TEXT + 48];
    MXgetcurrentwindowname(window);
    const int pane = checkwindow(window);
    if (pane < 0) return 0;
    VKStatetype* s = shown_run(pane);
    if (!s || bh < 2) return 0;
    Cdisp = pane;
    const int t = s->stepcnt;
    const DisplayType& d = Display[pane];
    drag.pane = pane;
    drag.prevnewwd = -1;
    drag.bar = (H - y) / (bh - 1);
    if (drag.bar < 0) drag.bar = 0;
    if (drag.bar > 8) drag.bar = 8;
    drag.male_flag = x <= half ? 1 : 0;
    const int32_t* copy = drag.male_flag ? d.male : d.female;
    drag.initbinpop1 = drag.bar == 8 ? copy[16] : copy[2 * drag.bar];
    drag.initbinpop2 = drag.bar == 8 ? 0 : copy[2 * drag.bar + 1];
    const int32_t P = pyramid_scale_total(pane);
    drag.oldwd = drag_bar_length(int64_t{drag.initbinpop1} + drag.initbinpop2, half, P, d.bound);
    // A bar shorter than a pixel cannot be shortened: the drag leaves it alone
    // rather than emptying the row.
    if (drag.oldwd <= 0) return 1;
    drag.start_x = x;
    drag.scale_total = P;
    drag.popptr = drag.male_flag ? s->male_pop[t] : s->fem_pop[t];
    drag.before1 = drag.bar == 8 ? drag.popptr[16] : drag.popptr[2 * drag.bar];
    drag.before2 = drag.bar == 8 ? 0 : drag.popptr[2 * drag.bar + 1];
    drag.beforewd = drag_bar_length(int64_t{drag.before1} + drag.before2, half, P, d.bound);
    const int top = row_top(drag.bar);
    MXsetcolor(area.color);
    if (drag.male_flag) {
      if (drag.oldwd > 2) MXwclearrect(X + half - drag.oldwd, top, drag.oldwd, bh);
      MXwdrawrect(X + half - drag.oldwd - 1, top - 1, drag.oldwd, bh);
    } else {
      if (drag.oldwd > 2) MXwclearrect(X + half, top, drag.oldwd, bh);
      MXwdrawrect(X + half - 1, top - 1, drag.oldwd, bh);
    }
    int64_t all = 0;
    for (int g = 0; g < VK_GROUPS; ++g) all += int64_t{s->male_pop[t][g]} + s->fem_pop[t][g];
    const int64_t row = drag.bar == 8 ? drag.popptr[16] : int64_t{drag.popptr[2 * drag.bar]} + drag.popptr[2 * drag.bar + 1];
    drag.restofpop = all - row;
    drag.active = true;
    return 1;
  }
  if (status == DRAG_PROCESS) {
    if (!drag.active) return 1;
    int n;
    int32_t v1 = drag.before1, v2 = drag.before2;
    if (x == drag.start_x) {
      n = drag.beforewd;  // back where it began: the row as it was
    } else {
      if (drag.male_flag) {
        int px = x > half ? half : x;
        if (px < half - drag.oldwd) px = half - drag.oldwd;
        n = half - px;
      } else {
        int px = x > half + drag.oldwd ? half + drag.oldwd : x;
        if (px < half) px = half;
        n = px - half;
      }
      v1 = RESCALE(drag.initbinpop1, n, drag.oldwd);
      v2 = drag.bar == 8 ? 0 : RESCALE(drag.initbinpop2, n, drag.oldwd);
    }
    if (drag.bar == 8) {
      drag.popptr[16] = v1;
    } else {
      drag.popptr[2 * drag.bar] = v1;
      drag.popptr[2 * drag.bar + 1] = v2;
    }
    const int64_t rowsum = int64_t{v1} + v2;
    if (n != drag.prevnewwd) {
      const int top = row_top(drag.bar);
      MXsetcolor(MXgetlistcolor(1, drag.bar % 4));
      if (drag.male_flag) {
        if (drag.oldwd > 2) MXwclearrect(X + half - drag.oldwd - 1, top - 1, drag.oldwd, bh);
        if (n > 2) MXwfillrect(X + half - n, top, n - 2, bh - 2);
      } else {
        if (drag.oldwd > 2) MXwclearrect(X + half - 1, top - 1, drag.oldwd, bh);
        if (n > 2) MXwfillrect(X + half, top, n - 2, bh - 2);
      }
      const Field sp = field_rect("SIMPOP");
      MXwclearrect(sp.x, sp.y, sp.wd, sp.ht);
      MXsetfont(SMALL);
      MXsetcolor(MXgetlistcolor(0, Display[drag.pane].curr_sim));
      MXwwritecommanum(sp.x, sp.y + 10,
                       static_cast<double>(rowsum + drag.restofpop) * Country[drag.pane].scale_factor);
    }
    drag.prevnewwd = n;
    return 1;
  }
  if (status == DRAG_FINAL) {
    if (!drag.active) return 1;
    drag.active = false;
    const int pane = drag.pane;
    VKStatetype* s = shown_run(pane);
    const bool changed = drag.bar == 8 ? drag.popptr[16] != drag.before1
                                       : drag.popptr[2 * drag.bar] != drag.before1 ||
                                             drag.popptr[2 * drag.bar + 1] != drag.before2;
    if (changed && s) {
      // The run's total follows its groups, so that every figure of the pane, the
      // graph and the statistics agree; the pyramid keeps the scale it was cut in.
      int64_t all = 0;
      for (int g = 0; g < VK_GROUPS; ++g) all += int64_t{s->male_pop[s->stepcnt][g]} + s->fem_pop[s->stepcnt][g];
      s->totpop[s->stepcnt] = static_cast<int32_t>(all);
      keep_pyramid_scale(pane, drag.scale_total);
      update_display(pane);
    } else {
      display_bar_graph(pane);
    }
    Drag_Used = 1;
    return 1;
  }
  return 1;
}
