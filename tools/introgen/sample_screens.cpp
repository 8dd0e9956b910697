// Example figures drawn into the program's fields the way the program draws real
// ones, and the numbered screen guide of the intro picture.
#include "sample_screens.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/platform.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace {

struct Rect {
  int x = 0, y = 0, wd = 0, ht = 0, colour = 0;
};

Rect field(const char* name) {
  Rect r;
  MXgetfieldrect(name, &r.x, &r.y, &r.wd, &r.ht, &r.colour);
  return r;
}

int colour(const char* name) { return MXconvertcolor(name); }

void write(FontSizeType font, int c, int x, int y, const std::string& text) {
  MXsetfont(font);
  MXsetcolor(c);
  MXwwritemsg(x, y, text.c_str());
}

void clear(const Rect& r) { MXwclearrect(r.x, r.y, r.wd, r.ht); }

const char* const kRowLabels[9] = {"0-9", "10-19", "20-29", "30-39", "40-49", "50-59", "60-69", "70-79", "80+"};

int year_of(const SamplePane& s, int run) { return 1990 + 5 * (static_cast<int>(s.runs[run].size()) - 1); }

// The pyramid, laid out as the program lays it out from PYRGRAPH and BARS.
void draw_pyramid(const SamplePane& s) {
  const Rect p = field("PYRGRAPH");
  const Rect bars = field("BARS");
  const int bh = bars.ht;
  double largest = 0;
  for (int i = 0; i < 9; ++i) largest = std::max({largest, s.male[i], s.female[i]});
  int bound = 20;
  while (bound <= largest) bound += 10;
  MXwclearrect(p.x, p.y + 12, p.wd, p.ht - 15);
  MXsetfont(LARGE);
  MXsetcolor(bars.colour);
  MXwwriteint(2, p.x - 8, p.y + p.ht + 12, bound);
  MXwwriteint(2, p.x + p.wd / 4 - 10, p.y + p.ht + 12, bound / 2);
  MXwwriteint(2, p.x + 3 * p.wd / 4 - 6, p.y + p.ht + 12, bound / 2);
  MXwwriteint(2, p.x + p.wd - 6, p.y + p.ht + 12, bound);
  MXwwritenamedmsg(p.x + p.wd / 2 - 6, p.y + p.ht + 11, "Oper");
  const int half = p.wd / 2;
  const int yb = p.y - 5 - bh;
  for (int i = 0; i < 9; ++i) {
    const int m = static_cast<int>(s.male[i] * half / bound + 0.5);
    const int f = static_cast<int>(s.female[i] * half / bound + 0.5);
    const int yi = yb + p.ht - (bh - 1) * i;
    MXsetcolor(MXgetlistcolor(1, i % 4));
    MXwfillrect(p.x + half, yi, f, bh);
    MXwfillrect(p.x + half - m, yi, m, bh);
    MXsetcolor(bars.colour);
    MXwdrawrect(p.x + half, yi, f, bh);
    MXwdrawrect(p.x + half - m, yi, m, bh);
    int offset = i == 0 ? half - 8 : half - 15;
    if (m < 19 || f < 19 || i == 8) offset = f > 38 ? half + 3 : half + f + 5;
    write(SMALL, bars.colour, p.x + offset - 3, yb + p.ht + 11 - (bh - 1) * i, kRowLabels[i]);
  }
}

void draw_rates(const SamplePane& s) {
  const int bh = field("BARS").ht;
  const Rect birth = field("BIRTHRATE"), death = field("DEATHRATE"), infant = field("INFRATE");
  MXsetfont(SMALL);
  MXsetcolor(birth.colour);
  for (int row = 0; row < 5; ++row) MXwwriteint(3, birth.x, birth.y + 10 + (4 - row) * (bh - 1), s.birth[row]);
  MXsetcolor(death.colour);
  for (int row = 0; row < 9; ++row) MXwwriteint(3, death.x, death.y + 10 + (8 - row) * (bh - 1), s.death[row]);
  MXsetcolor(infant.colour);
  MXwwriteint(3, infant.x, infant.y + 10, s.infant);
}

void write_scale(const char* name, double value) {
  const Rect f = field(name);
  clear(f);
  MXsetfont(SMALL);
  MXsetcolor(f.colour);
  const char* unit = "THO";
  double shown = value * 0.001;
  if (value >= 990000000) {
    unit = "BIL";
    shown = value * 0.000000001;
  } else if (value >= 990000) {
    unit = "MIL";
    shown = value * 0.000001;
  }
  MXwwriteint(3, f.x, f.y + 10, static_cast<long>(shown));
  MXwwritemsg(f.x, f.y + 20, unit);
}

void draw_graph(const SamplePane& s) {
  long maxpop = 0;
  int last_year = 1990;
  for (size_t k = 0; k < s.runs.size(); ++k) {
    for (long v : s.runs[k]) maxpop = std::max(maxpop, v);
    last_year = std::max(last_year, year_of(s, static_cast<int>(k)));
  }
  long top = (3 * maxpop + 1) / 2, power = 1;
  while (top > 10) {
    top /= 10;
    power *= 10;
  }
  if (top % 2) ++top;
  top *= power;
  const Rect minpop = field("MINPOP");
  clear(minpop);
  MXsetfont(SMALL);
  MXsetcolor(minpop.colour);
  MXwwriteint(3, minpop.x, minpop.y + 10, 0);
  write_scale("MAXPOP", static_cast<double>(top));
  write_scale("MIDPOP", static_cast<double>(top) * 0.5);
  const Rect years = field("GRAPHYEAR");
  MXsetcolor(years.colour);
  int b = 0;
  for (; b <= (last_year - 1990) / 5; b += 2) MXwwriteint(3, years.x + 17 * b, years.y + 10, 1990 + 5 * b);
  const Rect g = field("SIMGRAPH");
  clear(g);
  const int w = g.wd - 1, h = g.ht - 3;
  MXsetcolor(g.colour);
  for (long p = s.population_1990; p <= maxpop; p *= 2) {
    const int y = g.y + h - static_cast<int>(static_cast<double>(p) * h / static_cast<double>(top) + 0.5);
    MXwdrawline(g.x, y, g.x + w - 1, y);
  }
  const int sw = w / 12;
  for (size_t k = 0; k < s.runs.size(); ++k) {
    MXsetcolor(MXgetlistcolor(0, static_cast<int>(k)));
    MXsetlinesize(3);
    auto at = [&](size_t j) {
      return g.y + h - static_cast<int>(static_cast<double>(s.runs[k][j]) * h / static_cast<double>(top) + 0.5);
    };
    for (size_t j = 1; j < s.runs[k].size(); ++j)
      MXwdrawline(g.x + static_cast<int>(j - 1) * sw, at(j - 1), g.x + static_cast<int>(j) * sw, at(j));
    MXsetlinesize(1);
  }
  MXsetcolor(g.colour);
  MXwdrawrect(g.x, g.y, g.wd, g.ht);
  MXwdrawrect(g.x - 1, g.y - 1, g.wd + 2, g.ht + 2);
}

void draw_runs(const std::string& pane, const SamplePane& s) {
  MXsetcurrentnamedwindow((pane + "info").c_str());
  const Rect initpop = field("INITPOP");
  MXsetfont(SMALL);
  MXsetcolor(initpop.colour);
  MXwwritecommanum(initpop.x, initpop.y + 10, static_cast<double>(s.population_1990));
  const Rect info = field("INFOWIND");
  for (size_t k = 0; k < s.runs.size(); ++k) {
    MXsetcolor(MXgetlistcolor(0, static_cast<int>(k)));
    const int y = info.y + static_cast<int>(k) * info.ht;
    MXwwritenamedmsg(info.x, y + 10, "cyear");
    MXwwritenamedmsg(info.x, y + 20, "pop");
    MXwwriteint(3, info.x + 23 + 8, y + 10, year_of(s, static_cast<int>(k)));
    MXwwritecommanum(info.x + 23, y + 20, static_cast<double>(s.runs[k].back()));
  }
}

void draw_value(const std::string& window, const char* name, int width, int precision, double value) {
  MXsetcurrentnamedwindow(window.c_str());
  const Rect f = field(name);
  clear(f);
  MXsetfont(SMALL);
  MXsetcolor(f.colour);
  MXwwritereal(width, precision, f.x, f.y + 9, value);
}

// A numbered mark: a red disc with the number in white, centred at (x, y) of root.
void mark(int x, int y, int n) {
  MXsetcurrentnamedwindow("root");
  MXsetcolor(colour("red"));
  MXwfillellipse(x - 8, y - 8, 17, 17);
  MXsetcolor(colour("white"));
  MXwdrawellipse(x - 8, y - 8, 17, 17);
  const std::string text = std::to_string(n);
  MXsetfont(LARGE);
  write(LARGE, colour("white"), x - MXtextwidth(text.c_str()) / 2 - 1, y + 5, text);
}

// Writes text wrapped to width pixels from (x, y) of the current window, lines 12
// pixels apart; returns the baseline below the last line.
int wrapped(int x, int y, int width, const std::string& text) {
  MXsetfont(SMALL);
  std::istringstream words(text);
  std::string word, line;
  while (words >> word) {
    const std::string longer = line.empty() ? word : line + " " + word;
    if (!line.empty() && MXtextwidth(longer.c_str()) > width) {
      MXwwritemsg(x, y, line.c_str());
      y += 12;
      line = word;
    } else {
      line = longer;
    }
  }
  if (!line.empty()) {
    MXwwritemsg(x, y, line.c_str());
    y += 12;
  }
  return y;
}

}  // namespace

SamplePane example_pane() {
  SamplePane s;
  s.name = "EXAMPLE COUNTRY";
  const double male[9] = {14.2, 11.6, 9.0, 6.4, 4.3, 2.9, 1.8, 0.9, 0.2};
  const double female[9] = {13.8, 11.3, 8.9, 6.3, 4.4, 3.1, 2.1, 1.2, 0.4};
  std::copy(male, male + 9, s.male);
  std::copy(female, female + 9, s.female);
  const int birth[5] = {52, 215, 138, 38, 3};
  const int death[9] = {11, 2, 3, 5, 7, 13, 27, 64, 158};
  std::copy(birth, birth + 5, s.birth);
  std::copy(death, death + 9, s.death);
  s.infant = 68;
  s.tfr = 4.6;
  s.lifex = 61.3;
  s.migration = -12000;
  s.population_1990 = 20480000;
  s.runs = {{20480000, 23450000, 26620000, 29870000, 33110000, 36240000, 39180000},
            {20480000, 23450000, 26200000, 28640000, 30650000, 32240000, 33410000, 34200000,
             34640000, 34770000, 34640000, 34290000, 33760000}};
  s.shown_run = 0;
  return s;
}

SamplePane second_example_pane() {
  SamplePane s;
  s.name = "ANOTHER EXAMPLE";
  const double male[9] = {6.1, 6.6, 7.6, 7.9, 6.6, 5.6, 4.6, 2.9, 1.0};
  const double female[9] = {5.8, 6.3, 7.4, 7.8, 6.7, 5.9, 5.3, 4.1, 2.1};
  std::copy(male, male + 9, s.male);
  std::copy(female, female + 9, s.female);
  const int birth[5] = {15, 78, 52, 6, 0};
  const int death[9] = {1, 0, 1, 2, 3, 7, 17, 44, 131};
  std::copy(birth, birth + 5, s.birth);
  std::copy(death, death + 9, s.death);
  s.infant = 7;
  s.tfr = 1.7;
  s.lifex = 76.4;
  s.migration = 85000;
  s.population_1990 = 57240000;
  s.runs = {{57240000, 58010000, 58700000, 59300000, 59800000}};
  s.shown_run = 0;
  return s;
}

void draw_sample_pane(const char* pane, const SamplePane& s) {
  const std::string p = pane;
  MXdrawnamedwindow(pane, 0, 0);
  for (const char* part : {"totalfert", "lifeexp", "mig", "info"}) MXdrawnamedwindow((p + part).c_str(), 0, 0);
  MXsetcurrentnamedwindow(pane);
  const Rect name = field("CTYNAME");
  MXwclearrect(name.x, name.y + 1, name.wd, name.ht);
  write(LARGE, name.colour, name.x, name.y + 15, s.name);
  draw_graph(s);
  draw_rates(s);
  draw_pyramid(s);
  const int run_colour = MXgetlistcolor(0, s.shown_run);
  for (const char* year : {"PYRYEAR", "SIMYEAR"}) {
    const Rect f = field(year);
    clear(f);
    MXsetfont(SMALL);
    MXsetcolor(run_colour);
    MXwwriteint(3, f.x, f.y + 10, year_of(s, s.shown_run));
  }
  const Rect simpop = field("SIMPOP");
  clear(simpop);
  MXsetcolor(run_colour);
  MXwwritecommanum(simpop.x, simpop.y + 10, static_cast<double>(s.runs[s.shown_run].back()));
  draw_runs(p, s);
  draw_value(p + "totalfert", "TFR", 3, 1, s.tfr);
  draw_value(p + "lifeexp", "LIFEX", 4, 1, s.lifex);
  draw_value(p + "mig", "MIG", 10, 0, static_cast<double>(s.migration));
}

void draw_help_message(int n) {
  MXredrawnamedwindow("message");
  const int fg = Win[MXwindownum("message")].fgcolor;
  for (int line = 0; line < 3; ++line) {
    const std::string name = "hm" + std::to_string(10 * n + line);
    write(LARGE, fg, 25, 12 + 10 * line, MXgetmsg(name.c_str()));
  }
}

void draw_screen_guide() {
  MXdrawnamedwindow("instruction", 0, 0);
  // The guide shows a pane at work: a country loaded, its buttons ready.
  MXenablebutton("top", "simulate", 0);
  MXenablebutton("top", "unsimulate", 0);
  draw_sample_pane("top", example_pane());
  int top_y = 0;
  MXgetwindowspecs("top", nullptr, &top_y, nullptr, nullptr, nullptr);
  // Marks on the parts of the pane (pane coordinates plus the pane's origin).
  mark(160, top_y + 12, 1);
  mark(38, top_y + 62, 2);
  mark(262, top_y + 44, 3);
  mark(242, top_y + 191, 4);
  mark(606, top_y + 60, 5);
  mark(450, top_y + 134, 6);
  mark(574, top_y + 134, 7);

  // The explanations, below the pane.
  MXsetcurrentnamedwindow("instruction");
  int ix = 0, iy = 0, iwd = 0, iht = 0;
  MXgetwindowspecs("instruction", &ix, &iy, &iwd, &iht, nullptr);
  const int below = top_y + 209 - iy;  // first row under the pane, window coordinates
  MXsetcolor(colour("white"));
  MXwfillrect(2, below, iwd - 4, iht - 2 - below);
  MXsetcolor(colour("dgray"));
  MXwdrawline(2, below, iwd - 3, below);
  const char* const texts[] = {
      "The country or world region shown. Choose one with Options, Select country or region.",
      "Population pyramid: men left, women right, in ten-year age groups, as a percentage of the "
      "whole population. Drag the end of a bar toward the middle to take people of that age away.",
      "Rates per 1000 a year: births by the mother's age, deaths by age, infant deaths per 1000 "
      "births. With rate editing on (Options), the buttons beside them change them.",
      "Simulate projects five years ahead, up to 2050; Step back goes back. Options: another "
      "country, more runs, rate editing, reset.",
      "Total population from 1990 to 2050: each run of the pane (up to three) in its own colour.",
      "The year and population each run has reached, in the run's colour.",
      "Fertility (children per woman), life expectancy (years), net migration (people a year). "
      "Set... chooses a target and the year by which it is reached.",
  };
  int y = below + 16;
  for (int i = 0; i < 7; ++i) {
    MXsetcurrentnamedwindow("root");
    mark(18, iy + y - 4, i + 1);
    MXsetcurrentnamedwindow("instruction");
    MXsetcolor(colour("black"));
    y = wrapped(30, y, iwd - 40, texts[i]) + 3;
  }
  MXsetcolor(colour("blue"));
  wrapped(30, y + 2, iwd - 40,
          "The lower pane works the same way: compare two countries, or two futures of one. "
          "Above the panes are the menus; below them, the yellow bar tells you what to do next.");
}

void draw_help_page(const std::string& path) {
  MXdrawnamedwindow("help", 0, 1);
  std::ifstream in(path, std::ios::binary);
  std::string line;
  const int fg = Win[MXwindownum("help")].fgcolor;
  for (int k = 1; k <= 25 && std::getline(in, line); ++k) {
    const bool form_feed = line.find('\f') != std::string::npos;
    write(SMALL, fg, 15, 13 * k, line);
    if (form_feed) break;
  }
}
