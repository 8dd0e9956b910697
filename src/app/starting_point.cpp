// The starting points: the remembered choice, the intro's buttons, the File menu's
// switch and the title that names a starting point other than 1990.
#include "app/starting_point.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "app/app_helpers.h"
#include "app/file_dialogs.h"
#include "app/general_commands.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "base/log.h"
#include "base/tagged_reader.h"
#include "demography/simulation.h"
#include "platform/platform.h"
#include "startup/config.h"
#include "startup/filenames.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

const char* const StartSettingsFile = "vk_start.ini";

namespace {
int pending_year = 0;    // the switch the question is about
int confirmed_year = 0;  // the switch the user said yes to
bool choice_shown = false;

void write_start_setting() {
  FILE* file = std::fopen(StartSettingsFile, "w");
  if (!file) {
    MXelog(0, "Could not remember the starting point in |%s|.\n", StartSettingsFile);
    return;
  }
  std::fprintf(file, "# Demovar: the starting point last chosen.\ndatabase= VK_start\nbaseyear= %d\n", Base_year);
  if (std::fclose(file) != 0) MXelog(0, "Could not remember the starting point in |%s|.\n", StartSettingsFile);
}

// The interface file's texts as written (for 1990), by the address of their slot,
// with the text last put there: a slot that holds anything else was filled anew
// (the interface file read again) and its text is taken as written.
struct Written {
  std::string text, shown;
  const char* shown_at = nullptr;
};
std::map<char**, Written>& written_texts() {
  static std::map<char**, Written> texts;
  return texts;
}

// A written text with its years moved to the base year in use: 1990 the first
// year, 2000 the expected one, 2050 the last.
std::string with_years(std::string text) {
  const std::pair<const char*, int> years[] = {{"1990", vk_first_year()}, {"2000", vk_expected_year()},
                                               {"2050", vk_last_year()}};
  for (size_t at = 0; at + 4 <= text.size(); ++at)
    for (const auto& [written, year] : years)
      if (text.compare(at, 4, written) == 0) {
        text.replace(at, 4, std::to_string(year));
        break;
      }
  return text;
}

void name_years(char** slot) {
  if (!*slot) return;
  Written& w = written_texts()[slot];
  if (w.shown_at != *slot || w.shown != *slot) w.text = *slot;
  const std::string text = with_years(w.text);
  if (text != *slot) {
    // The interface owns its texts (allocated with malloc and freed with free).
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy) return;
    std::memcpy(copy, text.c_str(), text.size() + 1);
    std::free(*slot);
    *slot = copy;
  }
  w.shown_at = *slot;
  w.shown = *slot;
}

bool panes_hold_runs() {
  for (int pane = 0; pane < VK_PANES; ++pane)
    if (Display[pane].curr_sim >= 0) return true;
  return false;
}
}  // namespace

void name_years_in_texts() {
  // The menus and the general help messages (numbers below 50); the tutorial's
  // messages tell its 1990 lesson and keep their years.
  for (int p = 0; p < InfState.numpopups; ++p)
    for (int i = 0; i < Popups[p].numitems; ++i) name_years(&Popups[p].item[i].text);
  for (int m = 0; m < InfState.nummsgs; ++m) {
    Message& msg = InfState.msgs[m];
    if (!msg.name || std::strncmp(msg.name, "hm", 2) != 0 || std::atoi(msg.name + 2) >= 500) continue;
    name_years(&msg.text);
  }
}

std::string text_file_for_base(const std::string& path) {
  if (Base_year == 1990) return path;
  std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!in) return path;  // the help screen reports the missing file
  std::string text;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in.get())) > 0;) text.append(chunk, n);
  auto digit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  for (size_t i = 0; i + 4 <= text.size(); ++i) {
    if (!digit(i) || (i > 0 && digit(i - 1)) || !digit(i + 1) || !digit(i + 2) || !digit(i + 3) || digit(i + 4))
      continue;
    const int year = std::atoi(text.substr(i, 4).c_str());
    if (year >= 1990 && year <= 2050 && year % 5 == 0) text.replace(i, 4, std::to_string(year - 1990 + Base_year));
    i += 3;
  }
  // One scratch file for the text shown, rewritten for each one.
  static std::string scratch;
  if (scratch.empty()) {
    char name[] = "/tmp/demovar-text-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return path;
    close(fd);
    scratch = name;
    std::atexit([] { std::remove(scratch.c_str()); });
  }
  FILE* out = std::fopen(scratch.c_str(), "wb");
  if (!out) return path;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) return path;
  return scratch;
}

void read_start_setting() {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(StartSettingsFile, "r"), std::fclose);
  if (!file) return;
  long year = 0;
  // A damaged file only loses the choice: the program starts from 1990.
  if (MXgenreader(file.get(), start_setting_reader, "VK_start", &year) && year > 0 && year < 10000)
    use_starting_point(static_cast<int>(year));
}

void show_starting_point() {
  name_years_in_texts();
  if (Base_year == 1990) return;
  MXsetcurrentnamedwindow("root");
  char text[64];
  std::snprintf(text, sizeof text, "World population simulator - from %d", Base_year);
  write_field_text("STARTPOINT", text);
}

void show_start_choice() {
  if (!starting_point_offered(Todayyear) || InWalkThru) return;
  MXdrawnamedwindow("startchoice", 0, 0);
  MXsetactivenamedwindow("startchoice");
  choice_shown = true;
}

void remove_start_choice() {
  if (!choice_shown) return;
  choice_shown = false;
  MXremovenamedwindow("startchoice");
  MXsetdeactivenamedwindow("startchoice");
}

int switch_to_pending();

int choose_starting_point(int year) {
  if (InWalkThru || !starting_point_offered(year)) {
    MXbell();
    return 0;
  }
  if (year != Base_year) {
    if (panes_hold_runs() && confirmed_year != year) {
      pending_year = year;
      const std::string question = "Switch to the runs from " + std::to_string(year) + "?";
      ask_question(question, "Both panes and their runs are cleared.", switch_to_pending);
      return 1;
    }
    use_starting_point(year);
    clear_panes();
  }
  pending_year = 0;
  write_start_setting();
  MXelog(0, "Starting point: %d.\n", Base_year);
  if (QuickStartActive) return instrdone();
  redraw_all();
  return 1;
}

// Yes to the question before a switch that clears runs.
int switch_to_pending() {
  confirmed_year = pending_year;
  const int done = choose_starting_point(pending_year);
  confirmed_year = 0;
  return done;
}

int starthistory() { return choose_starting_point(1990); }
int starttoday() { return choose_starting_point(Todayyear); }

void reset_starting_point() {
  pending_year = confirmed_year = 0;
  choice_shown = false;
}
