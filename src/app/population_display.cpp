// The population displays of the two panes. Every element is drawn field by field
// into the pane's windows; field rectangles and colours come from the interface
// file and are relative to the window drawn in.
#include "app/population_display.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/app_helpers.h"
#include "app/country_selection.h"
#include "app/general_commands.h"
#include "app/scenario_windows.h"
#include "app/screen_state.h"
#include "app/starting_point.h"
#include "base/log.h"
#include "demography/rescale.h"
#include "platform/platform.h"
#include "startup/filenames.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

const char* const Clabel[9] = {"0-9", "10-19", "20-29", "30-39", "40-49", "50-59", "60-69", "70-79", "80+"};

namespace {

// The first redraw after start shows no help message again: there is none yet.
bool redrawn_before = false;

// Per pane, the scale a drag left the pyramid at: it holds while the pane shows the
// same run at the same step with the total the drag left (a step, a reset or a
// loaded simulation ends it).
struct KeptScale {
  int run = -1, step = -1;
  int32_t total_after = 0, scale_total = 0;
};
KeptScale kept_scale[VK_PANES];

// a x b / c rounded half up, for the non-negative operands of the pyramid. Wider
// than RESCALE so that a large bound times a large total cannot overflow.
int64_t scale_round(int64_t a, int64_t b, int64_t c) {
  if (c <= 0) return 0;
  return (2 * a * b + c) / (2 * c);
}

int64_t groups_total(const VKStatetype* s, int t) {
  int64_t total = 0;
  for (int g = 0; g < VK_GROUPS; ++g) total += int64_t{s->male_pop[t][g]} + s->fem_pop[t][g];
  return total;
}

VKStatetype* shown_run(int pane) {
  const int sim = Display[pane].curr_sim;
  if (sim < 0 || sim >= VK_RUNS) return nullptr;
  VKStatetype* s = VKState[pane][sim];
  if (!s || s->stepcnt < 0 || s->stepcnt >= VK_TIMEPOINTS) return nullptr;
  return s;
}

void write_real_field(const char* window, const char* field, const char* format, double value) {
  MXsetcurrentnamedwindow(window);
  const Field f = field_rect(field);
  MXwclearrect(f.x, f.y, f.wd, f.ht);
  MXsetfont(SMALL);
  MXsetcolor(f.color);
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  MXwwritemsg(f.x, f.y + 9, text);
}

// The UN's total of a pane's country at a time point, or -1 where the file gives
// none or the figures are hidden.
int64_t un_total(int pane, int t) {
  if (!un_figures_shown() || t < 0 || t >= VK_TIMEPOINTS) return -1;
  return Country[pane].un_pop[t];
}

// A thin dotted line: every second pixel of the straight line.
void dotted_line(int x0, int y0, int x1, int y1) {
  const int dx = x1 - x0, dy = y1 - y0;
  const int n = std::max(std::abs(dx), std::abs(dy));
  if (n == 0) return MXwdrawpoint(x0, y0);
  for (int i = 0; i <= n; i += 2) {
    const int px = x0 + static_cast<int>(std::lround(static_cast<double>(i) * dx / n));
    const int py = y0 + static_cast<int>(std::lround(static_cast<double>(i) * dy / n));
    MXwdrawpoint(px, py);
  }
}

}  // namespace

bool un_figures_shown() {
  const int menu = MXpopupnum("options");
  return Popups[menu].item[MXgetmenuitemnum("options", "p6")].checked != 0;
}

void show_un_figures(bool on) {
  if (un_figures_shown() == on) return;
  MXtogglecheck("options", "p6");
  for (int pane = 0; pane < VK_PANES; ++pane)
    if (Display[pane].curr_sim >= 0) update_display(pane);
}

int showunfigures() {
  show_un_figures(!un_figures_shown());
  return 1;
}

int bar_length(int64_t rowpop, int half, int32_t total, int bound) {
  if (total <= 0) return 0;
  int64_t divisor, q;
  if (total < 50000000) {
    divisor = int64_t{total} * bound;
    q = 1;
  } else {
    divisor = (int64_t{total} + 500) / 1000 * bound;
    q = 1000;
  }
  return static_cast<int>(scale_round(rowpop, int64_t{half} * 100, divisor) / q);
}

int pyramid_bound(const int32_t* male, const int32_t* female, int32_t total) {
  if (total == 0) return 20;
  int bound = 20;
  for (int row = 0; row < 8; ++row) {
    const int32_t m = RESCALE(int64_t{male[2 * row]} + male[2 * row + 1], 100, total);
    const int32_t f = RESCALE(int64_t{female[2 * row]} + female[2 * row + 1], 100, total);
    while (bound <= m) bound += 10;
    while (bound <= f) bound += 10;
  }
  while (bound <= RESCALE(male[16], 100, total) || bound <= RESCALE(female[16], 100, total)) bound += 10;
  return bound;
}

long graph_top(long intuppop, long maxpop) {
  int64_t top = intuppop;
  if (top < maxpop) top = (3 * int64_t{maxpop} + 1) / 2;
  int64_t v = top, scale = 1;
  while (v > 10) {
    v /= 10;
    scale *= 10;
  }
  if (v % 2) ++v;
  top = v * scale;
  // The display record holds 32 bits; a top beyond them stays at the largest value.
  if (top > INT32_MAX) top = INT32_MAX;
  return static_cast<long>(top);
}

long axis_label(double persons, const char** unit) {
  if (persons < 990000.0) {
    *unit = "THO";
    return static_cast<long>(persons * 0.001);
  }
  if (persons < 990000000.0) {
    *unit = "MIL";
    return static_cast<long>(persons * 0.000001);
  }
  *unit = "BIL";
  return static_cast<long>(persons * 0.000000001);
}

void init_display_data(int pane) {
  const char* win = Displayname[pane];
  MXenablebutton(win, "simulate", shown(win));
  MXdisablebutton(win, "unsimulate", shown(win));
  MXenablebutton(win, "pyrgraph", 0);
  DisplayType& d = Display[pane];
  if (d.modify_flag) {
    // Rate editing ends with a new country or a reset: its windows leave the screen.
    for (const char* const* names : {Birthwinname, Deathwinname, Infantwinname})
      MXsetdeactivenamedwindow(names[pane]);
    redraw_display(pane);
  }
  d.modify_flag = 0;
  d.reset_permit = d.modify_permit = d.scenario_permit = d.alt_permit = 1;
  d.curr_sim = 0;
  d.maxpop = static_cast<int32_t>(int64_t{Country[pane].male_1990_pop[0]} + Country[pane].fem_1990_pop[0]);
  d.intuppop = 0;
  const int saved = Cdisp;
  Cdisp = pane;  // the pyramid copy is taken for the pane being prepared
  init_sim_data(pane, 0);
  Cdisp = saved;
  for (int run = 1; run < VK_RUNS; ++run) {
    VKState[pane][run]->stepcnt = -1;
    VKState[pane][run]->totpop[0] = 0;
  }
}

void setup_bargraph() {
  DisplayType& d = Display[Cdisp];
  kept_scale[Cdisp] = KeptScale{};
  const VKStatetype* s = shown_run(Cdisp);
  if (!s) return;
  const int t = s->stepcnt;
  for (int g = 0; g < VK_GROUPS; ++g) {
    d.male[g] = s->male_pop[t][g];
    d.female[g] = s->fem_pop[t][g];
  }
  d.bound = pyramid_bound(d.male, d.female, s->totpop[t]);
}

int32_t pyramid_scale_total(int pane) {
  const VKStatetype* s = shown_run(pane);
  if (!s) return 0;
  const KeptScale& k = kept_scale[pane];
  const int t = s->stepcnt;
  if (k.run == Display[pane].curr_sim && k.step == t && k.total_after == s->totpop[t]) return k.scale_total;
  return s->totpop[t];
}

void keep_pyramid_scale(int pane, int32_t scale_total) {
  const VKStatetype* s = shown_run(pane);
  if (!s) return;
  kept_scale[pane] = KeptScale{Display[pane].curr_sim, s->stepcnt, s->totpop[s->stepcnt], scale_total};
}

void display_bar_graph(int pane) {
  const VKStatetype* s = shown_run(pane);
  if (!s) return;
  DisplayType& d = Display[pane];
  const int t = s->stepcnt;
  const int32_t* M = s->male_pop[t];
  const int32_t* F = s->fem_pop[t];
  const int32_t P = pyramid_scale_total(pane);
  const int B = d.bound;

  MXsetcurrentnamedwindow(Displayname[pane]);
  const Field pyr = field_rect("PYRGRAPH");
  const Field bars = field_rect("BARS");
  const int X = pyr.x, Y = pyr.y, W = pyr.wd, H = pyr.ht, bh = bars.ht, K = bars.color;
  MXwclearrect(X, Y + 12, W, H - 15);
  MXwclearrect(X - 8, Y + H + 1, W + 30, 16);

  MXsetfont(LARGE);
  MXsetcolor(K);
  MXwwriteint(2, X - 8, Y + H + 12, B);
  MXwwriteint(2, X + W / 4 - 10, Y + H + 12, B / 2);
  MXwwriteint(2, X + 3 * W / 4 - 6, Y + H + 12, B / 2);
  MXwwriteint(2, X + W - 6, Y + H + 12, B);
  MXwwritenamedmsg(X + W / 2 - 6, Y + H + 11, "Oper");

  const int half = W / 2;
  const int Yb = Y - 5 - bh;
  MXsetfont(SMALL);
  for (int i = 0; i < 9; ++i) {
    const int64_t mrow = i < 8 ? int64_t{M[2 * i]} + M[2 * i + 1] : M[16];
    const int64_t frow = i < 8 ? int64_t{F[2 * i]} + F[2 * i + 1] : F[16];
    const int m = bar_length(mrow, half, P, B);
    const int f = bar_length(frow, half, P, B);
    const int yi = Yb + H - (bh - 1) * i;
    MXsetcolor(MXgetlistcolor(1, i % 4));
    MXwfillrect(X + half, yi, f, bh);
    MXwfillrect(X + half - m, yi, m, bh);
    MXsetcolor(K);
    if (f > 0)
      MXwdrawrect(X + half, yi, f, bh);
    else
      MXwdrawline(X + half, yi, X + half, yi + bh);
    if (m > 0)
      MXwdrawrect(X + half - m, yi, m, bh);
    else
      MXwdrawline(X + half - m, yi, X + half - m, yi + bh);
    // The label stands clear of the centre axis: inside the female bar when it has
    // room with a margin on each side, else just right of the bar.
    const int lw = MXtextwidth(Clabel[i]);
    const int L = f >= lw + 6 ? half + 3 : half + f + 2;
    MXwwritemsg(X + L, Yb + H + 11 - (bh - 1) * i, Clabel[i]);
  }
}

void display_pop_graph(int pane) {
  DisplayType& d = Display[pane];
  const CountryInfo& K = Country[pane];
  MXsetcurrentnamedwindow(Displayname[pane]);
  // The scale covers the UN's line too, where it is drawn.
  int64_t highest = d.maxpop;
  for (int t = 0; t < VK_TIMEPOINTS; ++t) highest = std::max(highest, un_total(pane, t));
  d.intuppop = static_cast<int32_t>(graph_top(d.intuppop, static_cast<long>(std::min<int64_t>(highest, INT32_MAX))));

  MXsetfont(SMALL);
  const Field minpop = field_rect("MINPOP");
  MXwclearrect(minpop.x, minpop.y, minpop.wd, minpop.ht);
  MXsetcolor(minpop.color);
  MXwwriteint(3, minpop.x, minpop.y + 10, 0);

  // An axis label in thousands, millions or thousands of millions of persons.
  auto scale_label = [](const char* field, double persons) {
    const Field f = field_rect(field);
    MXwclearrect(f.x, f.y, f.wd, f.ht);
    MXsetcolor(f.color);
    const char* unit;
    MXwwriteint(3, f.x, f.y + 10, axis_label(persons, &unit));
    MXwwritemsg(f.x, f.y + 20, unit);
  };
  scale_label("MAXPOP", static_cast<double>(d.intuppop) * K.scale_factor);
  scale_label("MIDPOP", static_cast<double>(d.intuppop) * 0.5 * K.scale_factor);

  const Field years = field_rect("GRAPHYEAR");
  MXsetcolor(years.color);
  int ymax = vk_first_year();
  for (int run = 0; run <= d.curr_sim && run < VK_RUNS; ++run)
    if (VKState[pane][run]->stepcnt >= 0 && VKState[pane][run]->year > ymax) ymax = VKState[pane][run]->year;
  int b = 0;
  for (; b <= (ymax - vk_first_year()) / 5; b += 2)
    MXwwriteint(3, years.x + 17 * b, years.y + 10, vk_first_year() + 5 * b);
  MXwclearrect(years.x + 17 * b, years.y, years.wd - 17 * b, years.ht);

  const Field g = field_rect("SIMGRAPH");
  MXwclearrect(g.x, g.y, g.wd, g.ht);
  const int w = g.wd - 1, h = g.ht - 3;
  MXsetcolor(g.color);
  // Reference lines at the 1990 total and each doubling of it.
  for (int64_t p = int64_t{K.male_1990_pop[0]} + K.fem_1990_pop[0]; p > 0 && p <= d.maxpop; p *= 2) {
    const int ly = g.y + h - RESCALE(p, h, d.intuppop);
    MXwdrawline(g.x, ly, g.x + w - 1, ly);
  }
  const int sw = w / 12;
  for (int run = 0; run < VK_RUNS; ++run) {
    const VKStatetype* s = VKState[pane][run];
    if (!s || s->stepcnt < 1) continue;
    MXsetcolor(MXgetlistcolor(0, run));
    MXsetlinesize(3);
    for (int j = 1; j <= s->stepcnt && j < VK_TIMEPOINTS; ++j)
      MXwdrawline(g.x + (j - 1) * sw, g.y + h - RESCALE(s->totpop[j - 1], h, d.intuppop), g.x + j * sw,
                  g.y + h - RESCALE(s->totpop[j], h, d.intuppop));
    MXsetlinesize(1);
  }
  // The UN's totals, thin and dotted in the key's colour, over the whole run, with
  // the key under the graph.
  const Field key = field_rect("UNKEY");
  MXwclearrect(key.x, key.y, key.wd, key.ht);
  bool drawn = false;
  MXsetcolor(key.color);
  for (int j = 1; j < VK_TIMEPOINTS; ++j) {
    const int64_t a = un_total(pane, j - 1), b = un_total(pane, j);
    if (a < 0 || b < 0) continue;
    dotted_line(g.x + (j - 1) * sw, g.y + h - RESCALE(a, h, d.intuppop), g.x + j * sw,
                g.y + h - RESCALE(b, h, d.intuppop));
    drawn = true;
  }
  if (drawn) {
    dotted_line(key.x + 2, key.y + key.ht / 2, key.x + 14, key.y + key.ht / 2);
    MXwwritenamedmsg(key.x + 17, key.y + 10, "unkey");
  }
  MXsetcolor(g.color);
  MXwdrawrect(g.x, g.y, g.wd, g.ht);
  MXwdrawrect(g.x - 1, g.y - 1, g.wd + 2, g.ht + 2);
  // The shown run's pending target years: a small peak on the year axis each, in
  // the run's colour.
  if (const VKStatetype* s = shown_run(pane); s && s->stepcnt >= 0 && s->stepcnt < VK_TIMEPOINTS) {
    MXsetcolor(MXgetlistcolor(0, d.curr_sim));
    for (int32_t year : {s->tfr_targ_year[s->stepcnt], s->lifex_targ_year[s->stepcnt], s->mig_targ_year[s->stepcnt]}) {
      if (year <= s->year || year > vk_last_year()) continue;
      const int x = g.x + (year - vk_first_year()) / 5 * sw, bottom = g.y + g.ht - 2;
      for (int k = 0; k < 3; ++k) MXwdrawline(std::max(g.x + 1, x - 2 + k), bottom - k, std::min(g.x + g.wd - 2, x + 2 - k), bottom - k);
    }
  }
}

void update_display(int pane) {
  if (pane < 0 || pane >= VK_PANES) return;
  const char* win = Displayname[pane];
  MXsetcurrentnamedwindow(win);
  const VKStatetype* s = shown_run(pane);
  if (!s) return;
  DisplayType& d = Display[pane];
  CountryInfo& K = Country[pane];
  const int t = s->stepcnt;

  const Field name = field_rect("CTYNAME");
  MXwclearrect(name.x, name.y + 1, name.wd, name.ht);
  MXsetfont(LARGE);
  MXsetcolor(name.color);
  for (char* c = K.country_name; *c && c < K.country_name + sizeof K.country_name; ++c)
    *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  char cname[sizeof K.country_name + 1] = {};
  for (size_t i = 0; i < sizeof K.country_name && K.country_name[i]; ++i) cname[i] = K.country_name[i];
  MXwwritemsg(name.x, name.y + 15, cname);

  display_pop_graph(pane);
  MXsetcurrentnamedwindow(win);
  const int bh = field_rect("BARS").ht;

  MXsetfont(SMALL);
  const Field br = field_rect("BIRTHRATE");
  MXwclearrect(br.x, br.y, br.wd, br.ht);
  MXsetcolor(br.color);
  for (int row = 0; row <= 4; ++row)
    MXwwriteint(3, br.x, br.y + 10 + (4 - row) * (bh - 1), rebuild_birthrate(row, s, s->fem_pop[t], t));
  const Field dr = field_rect("DEATHRATE");
  MXwclearrect(dr.x, dr.y, dr.wd, dr.ht);
  MXsetcolor(dr.color);
  for (int row = 0; row <= 8; ++row)
    MXwwriteint(3, dr.x, dr.y + 10 + (8 - row) * (bh - 1),
                rebuild_deathrate(row, s, s->male_pop[t], s->fem_pop[t], t));
  const Field ir = field_rect("INFRATE");
  MXwclearrect(ir.x, ir.y, ir.wd, ir.ht);
  MXsetcolor(ir.color);
  MXwwriteint(3, ir.x, ir.y + 10, (s->deathrate[t][0] + 500) / 1000);

  write_real_field(TFRname[pane], "TFR", "%3.1f", get_TFR(s->birthrate[t]) * 0.01);
  write_real_field(Lifexname[pane], "LIFEX", "%4.1f", get_life_expect(s->deathrate[t]) * 0.01);
  write_real_field(Migname[pane], "MIG", "%10.0f", static_cast<double>(s->mig[t]) * K.scale_factor);
  // A pending target under its figure, "(2.1 by 2030)", until the run reaches its year.
  auto write_target = [&](const char* window, int32_t year, const char* format, double value) {
    MXsetcurrentnamedwindow(window);
    const Field f = field_rect("TARGET");
    MXwclearrect(f.x, f.y, f.wd, f.ht);
    if (year <= s->year) return;
    char figure[32], text[64];
    std::snprintf(figure, sizeof figure, format, value);
    std::snprintf(text, sizeof text, "(%s by %d)", figure, static_cast<int>(year));
    MXsetfont(SMALL);
    MXsetcolor(f.color);
    MXwwritemsg(f.x, f.y + 9, text);
  };
  write_target(TFRname[pane], s->tfr_targ_year[t], "%.1f", s->tfr_targ_val[t] * 0.01);
  write_target(Lifexname[pane], s->lifex_targ_year[t], "%.1f", s->lifex_targ_val[t] * 0.01);
  write_target(Migname[pane], s->mig_targ_year[t], "%.0f", static_cast<double>(s->mig_targ_val[t]) * K.scale_factor);

  display_bar_graph(pane);

  MXsetcurrentnamedwindow(win);
  MXsetfont(SMALL);
  MXsetcolor(MXgetlistcolor(0, d.curr_sim));
  for (const char* field : {"PYRYEAR", "SIMYEAR"}) {
    const Field f = field_rect(field);
    MXwclearrect(f.x, f.y, f.wd, f.ht);
    MXwwriteint(3, f.x, f.y + 10, s->year);
  }
  if (d.modify_flag == 0)
    for (const char* field : {"BRATE", "DRATE", "IRATE"}) {
      const Field f = field_rect(field);
      MXwclearrect(f.x, f.y, f.wd, f.ht);
    }

  MXsetcurrentnamedwindow(Infowinname[pane]);
  const Field init = field_rect("INITPOP");
  // Cleared first so that a newly chosen country's figure does not overwrite the last.
  MXwclearrect(init.x, init.y, init.wd, init.ht);
  MXsetcolor(init.color);
  MXwwritecommanum(init.x, init.y + 10,
                   (static_cast<double>(K.male_1990_pop[0]) + K.fem_1990_pop[0]) * K.scale_factor);

  for (int run = 0; run < VK_RUNS; ++run) {
    const VKStatetype* r = VKState[pane][run];
    if (!r || r->stepcnt < 0 || r->stepcnt >= VK_TIMEPOINTS) continue;
    MXsetcurrentnamedwindow(Infowinname[pane]);
    MXsetfont(SMALL);
    MXsetcolor(MXgetlistcolor(0, run));
    Field f = field_rect("INFOWIND");
    if (run == 0)
      MXwclearrect(f.x, f.y, f.wd, 3 * f.ht);
    else
      f.y += run * f.ht;
    MXwwritenamedmsg(f.x, f.y + 10, "cyear");
    MXwwritenamedmsg(f.x, f.y + 20, "pop");
    f.x += 23;
    f.wd -= 23;
    MXwclearrect(f.x, f.y, f.wd, f.ht);
    MXwwriteint(3, f.x + 8, f.y + 10, r->year);
    const double total = static_cast<double>(groups_total(r, r->stepcnt)) * K.scale_factor;
    MXwwritecommanum(f.x, f.y + 20, total);
    // How far the run is from the UN's figure of its year, at the end of the year line.
    const int64_t un = un_total(pane, r->stepcnt);
    char text[80];
    if (un > 0) {
      const double off = 100.0 * (static_cast<double>(groups_total(r, r->stepcnt)) - static_cast<double>(un)) /
                         static_cast<double>(un);
      std::snprintf(text, sizeof text, std::fabs(off) < 9.95 ? "UN %+.1f%%" : "UN %+.0f%%", off);
      MXsetcolor(field_rect("UNKEY").color);
      MXwwritemsg(f.x + f.wd - MXtextwidth(text) - 1, f.y + 10, text);
    }
    if (run == d.curr_sim) {
      MXsetcurrentnamedwindow(win);
      const Field sp = field_rect("SIMPOP");
      MXwclearrect(sp.x, sp.y, sp.wd, sp.ht);
      MXsetcolor(MXgetlistcolor(0, run));
      MXwwritecommanum(sp.x, sp.y + 10, total);
      // The UN's figure of the same year beside the run's population.
      const Field up = field_rect("UNPOP");
      MXwclearrect(up.x, up.y, up.wd, up.ht);
      if (un > 0) {
        char number[64];
        std::snprintf(text, sizeof text, "UN %s", MXformatcommanum(static_cast<double>(un) * K.scale_factor, number));
        MXsetcolor(up.color);
        MXwwritemsg(up.x, up.y + 10, text);
      }
    }
  }
  MXsetcurrentnamedwindow(win);
}

void redraw_display(int pane) {
  for (const char* const* names : {Displayname, Birthwinname, Deathwinname, Infantwinname, TFRname, Lifexname,
                                   Migname, Infowinname})
    MXredrawnamedwindow(names[pane]);
  if (Base_year != 1990) {  // the info window's label names 1990
    MXsetcurrentnamedwindow(Infowinname[pane]);
    char year[16];
    std::snprintf(year, sizeof year, "%d:", Base_year);
    MXwclearrect(2, 2, field_rect("INITPOP").x - 2, 13);
    MXsetcolor(MXconvertcolor("black"));
    MXwwritemsg(5, 13, year);
  }
}

void redraw_all() {
  MXredrawnamedwindow("root");
  MXdisplayversion(VersionFile.c_str());
  show_starting_point();
  redraw_display(0);
  update_display(0);
  redraw_display(1);
  update_display(1);
  if (redrawn_before) MXdisplayhelpmessage(-1);
  redrawn_before = true;
  if (SetFertActive) display_fert_win(1);
  if (SetLifeExActive) display_lifeex_win(1);
  if (SetMigActive) display_mig_win(1);
  if (MapSelect) {
    MXredrawnamedwindow("map");
    draw_selection_window();
  }
  if (QuickStartActive) {
    MXredrawnamedwindow("instruction");
    drawintroscreen();
  }
  if (HelpWinActive) MXdohelpscreens(Helpfile.c_str(), CurrPage, Use_bstore, -1);
  if (DialogRedraw) DialogRedraw();
  if (QuitWinActive) MXredrawnamedwindow("quit");
  if (AlertNumber == 1) show_country_alert();
  if (AlertNumber == 2) MXalert(10, Use_bstore, "loadalert1", "loadalert2", "loadalert3", "loadalert4", "");
  if (AlertNumber == 4) MXalert(10, Use_bstore, "lastbad1", "lastbad2", "");
  if (AlertNumber == 3)
    MXalert(96, Use_bstore, "introalert1", "introalert2", "introalert3", "introalert4", "introalert5",
            "introalert6", "");
  if ((DumpResultsActive || DumpWinActive) && DumpRedraw) DumpRedraw();
}

void writesimstats(const VKStatetype* s) {
  const CountryInfo& K = Country[Cdisp];
  const int t = s->stepcnt;
  char cname[sizeof K.country_name + 1] = {};
  for (size_t i = 0; i < sizeof K.country_name && K.country_name[i]; ++i) cname[i] = K.country_name[i];
  MXolog("%-15s: %4d %14.0f %3.1f  %4.1f %10.0f %3ld\n", cname, static_cast<int>(s->year),
         static_cast<double>(s->totpop[t]) * K.scale_factor, get_TFR(s->birthrate[t]) * 0.01,
         get_life_expect(s->deathrate[t]) * 0.01, static_cast<double>(s->mig[t]) * K.scale_factor,
         static_cast<long>((s->deathrate[t][0] + 500) / 1000));
}

void reset_population_display() {
  redrawn_before = false;
  for (KeptScale& k : kept_scale) k = KeptScale{};
}
