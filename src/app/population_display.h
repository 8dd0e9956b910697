// The population displays of the two panes: the pyramid with its rate columns, the
// population-over-time graph, the figures of the fertility, life-expectancy,
// migration and info windows, the redraw of a pane and of the whole screen, and the
// statistics line each simulated step writes to output.log.
#pragma once

#include "demography/simulation.h"

// Pyramid row labels, youngest first.
extern const char* const Clabel[9];

// Prepares a pane after a country was loaded into it, or on reset: run 0 at 1990,
// the other runs empty, every options item offered, rate editing off.
void init_display_data(int pane);
// Copies the shown run's groups of pane Cdisp into its display record and sets the
// pyramid's bound (the smallest of 20, 30, ... percent above every row's share).
void setup_bargraph();
// Draws every element of the pane's current state; nothing while it holds no country.
void update_display(int pane);
void display_bar_graph(int pane);
// The total the pane's pyramid is scaled to: the shown run's total, or after a drag
// the total in force when it began, while the run stays where the drag left it, so
// that a cut bar stays where the pointer left it. Keep it after setting the new total.
int32_t pyramid_scale_total(int pane);
void keep_pyramid_scale(int pane, int32_t scale_total);
void display_pop_graph(int pane);
// Redraws the pane's eight windows (each only while it is shown).
void redraw_display(int pane);
// Redraws the whole screen from the screen-state flags.
void redraw_all();
// The alert of a country file that did not load, with the file and what is wrong.
void show_country_alert();
// One statistics line for the run's current step, in output.log.
void writesimstats(const VKStatetype* state);

// The graph's top for a largest population and the top in force: raised to half as
// much again when exceeded, then brought to one even leading digit.
long graph_top(long intuppop, long maxpop);
// The number and unit ("THO", "MIL", "BIL") of a population-axis label.
long axis_label(double persons, const char** unit);
// The pyramid bound for a run's groups at a total population.
int pyramid_bound(const int32_t* male, const int32_t* female, int32_t total);
// A pyramid bar's length in pixels for a row population (the bar grows to `half`
// when the row holds `bound` percent of the total).
int bar_length(int64_t rowpop, int half, int32_t total, int bound);

// Whether the UN's figures are shown (the check mark of the Options item "p6",
// shared by both panes), and the item's routine, which turns them on and off.
bool un_figures_shown();
void show_un_figures(bool on);
int showunfigures();

// Tests: forget that the screen was drawn before.
void reset_population_display();
