// Drawing the program's screens with made-up example figures, for the intro
// picture and for layout pictures: a pane with a pyramid, rate columns, population
// graph, run lines and targets, drawn into the fields of the interface file the way
// the program draws real figures; and the numbered screen guide of the intro
// picture. Needs the interface library started on the program's interface file.
#pragma once
#include <string>
#include <vector>

// One pane's example figures.
struct SamplePane {
  std::string name;             // upper case, as the program shows it
  double male[9], female[9];    // pyramid rows 0-9 .. 80+, percent of the total
  int birth[5];                 // per 1000, mothers 10-19 .. 50+
  int death[9];                 // per 1000, 0-9 .. 80+
  int infant;                   // per 1000 births
  double tfr, lifex;            // children per woman, years
  long migration;               // people per year
  long population_1990;         // people
  std::vector<std::vector<long>> runs;  // per run, totals from 1990 in five-year steps
  int shown_run;                // the run the pyramid shows
};

SamplePane example_pane();
SamplePane second_example_pane();

// Shows the pane window ("top" or "bottom") and its figure windows and draws the
// figures into them.
void draw_sample_pane(const char* pane, const SamplePane& sample);

// The three-line help message n of the interface file, written into "message".
void draw_help_message(int n);

// The screen guide: the upper pane with example figures and numbered marks, and
// below it the numbered explanations. Drawn at screen positions; the picture is the
// inside of the window "instruction".
void draw_screen_guide();

// Shows a text file's first page in the window "help" as the program pages it.
void draw_help_page(const std::string& path);
