// The two starting points of the program's data: the history from 1990 and today
// from 2020. Which one is in use is remembered in a small settings file beside the
// user's saves; the intro and the File menu switch it.
#pragma once
#include <string>

// The settings file, in the program's working directory like the saves.
extern const char* const StartSettingsFile;  // "vk_start.ini"

// Start-up: takes the remembered starting point when the data still offers it.
void read_start_setting();
// The menu bar's title names a starting point other than 1990 (the 1990 screen
// keeps its own), drawn into the root window; the texts' years are set first.
void show_starting_point();
// The menus' and general help messages' years follow the base year in use (their
// text in the interface file names 1990, 2000 and 2050).
void name_years_in_texts();
// The help or text file to show for `path`: itself from 1990; from another base
// year a copy in a scratch file with the run's years moved by the same amount
// (1990 ... 2050 on the five-year grid, as the texts name them).
std::string text_file_for_base(const std::string& path);
// The intro's choice, over the intro picture, when the data offers two.
void show_start_choice();
void remove_start_choice();

// Switches to the starting point of `year` and remembers it. A switch empties both
// panes: when one holds runs, the program asks first. 1 when acted.
int choose_starting_point(int year);

// Command routines: the intro's buttons and the File menu's items.
int starthistory();
int starttoday();

// Tests: forget a pending switch.
void reset_starting_point();
