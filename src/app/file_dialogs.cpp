// The save and load dialogs, their result alert, and the questions before wiping.
#include "app/file_dialogs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_helpers.h"
#include "app/country_selection.h"
#include "app/general_commands.h"
#include "app/population_display.h"
#include "app/screen_dump_dialog.h"
#include "app/screen_state.h"
#include "base/log.h"
#include "base/text.h"
#include "demography/projection.h"
#include "demography/projection_rows.h"
#include "demography/saved_simulation.h"
#include "platform/platform.h"
#include "startup/country_list.h"
#include "startup/filenames.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace {

constexpr size_t kMaxName = 64;
constexpr int kRows = 14, kRowHeight = 15;
constexpr int kSaveMessage = 19, kLoadMessage = 20, kExportMessage = 21;

enum Kind { NO_DIALOG, SAVE_DIALOG, LOAD_DIALOG, EXPORT_DIALOG };
Kind kind = NO_DIALOG;
std::string typed = SaveFile;     // the name in the field
std::string last_saved = SaveFile;  // offered again by the next save
std::string last_exported = "table.csv";  // offered again by the next export
struct Entry {
  std::string name;
  time_t time;
};
std::vector<Entry> entries;  // the saved simulations listed, newest first
int top = 0, picked = -1;
bool offered = false;  // the name shown was offered, not typed: typing replaces it
IntrRoutine keys_before = nullptr;

bool asking = false;
std::string ask_lines[2];
int (*on_yes)() = nullptr;
IntrRoutine ask_keys_before = nullptr;

std::string pending;        // the file that a question is about
bool download_saved = false;  // Save to your computer: the saved file goes to the user
std::vector<std::string> result;  // the lines of the save's result alert
constexpr int kResultAlert = 5;  // AlertNumber while it is up

int colour(const char* name) {
  const int c = MXconvertcolor(name);
  return c < 0 ? 0 : c;
}

bool is_name_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
}

bool ends_with(const std::string& s, const char* extension) {
  const std::string ext = extension;
  if (s.size() < ext.size()) return false;
  std::string tail = s.substr(s.size() - ext.size());
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ext;
}

// The export writes tables, the other dialogs simulations.
const char* extension() { return kind == EXPORT_DIALOG ? ".csv" : ".sav"; }

std::string file_name(const std::string& name, const char* ext) {
  if (name.empty() || name.size() > kMaxName || name == "." || name == "..") return "";
  for (char c : name)
    if (!is_name_char(c)) return "";
  return ends_with(name, ext) ? name : name + ext;
}

// The folder of the files the dialog shows and writes: simulations in the
// working directory, tables in the documents folder (the working directory too
// when portable).
std::string dialog_folder() { return kind == EXPORT_DIALOG ? DocumentsDir : std::string(); }

// The tutorial's own files are not the user's simulations.
void list_saved() {
  entries.clear();
  std::error_code error;
  const std::string dir = dialog_folder();
  for (const auto& e : std::filesystem::directory_iterator(dir.empty() ? "." : dir, error)) {
    const std::string name = e.path().filename().string();
    if (!ends_with(name, extension()) || name == "vk_tut.sav" || name == "vk_walk.sav") continue;
    struct stat st;
    if (stat((dir + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    entries.push_back({name, st.st_mtime});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.time != b.time ? a.time > b.time : a.name < b.name;
  });
}

void write_at(int x, int y, const std::string& text) { MXwwritemsg(x, y, text.c_str()); }

void draw_name() {
  highlightfield("filedlg", "filename", colour("white"), colour("dgray"), colour("lgray"));
  const Field f = field_rect("filename");
  MXsetfont(LARGE);
  MXsetcolor(colour("black"));
  write_at(f.x + 4, f.y + 16, typed + "_");
}

void draw_list() {
  const Field f = field_rect("filelist");
  MXsetcurrentnamedwindow("filedlg");
  MXsetcolor(colour("white"));
  MXwfillrect(f.x, f.y, f.wd, f.ht);
  drawshadedframe(f.x, f.y, f.wd, f.ht, colour("dgray"), colour("lgray"));
  MXsetfont(SMALL);
  if (entries.empty()) {
    MXsetcolor(colour("dgray"));
    write_at(f.x + 6, f.y + 14, kind == EXPORT_DIALOG ? "(no tables in this folder)" : "(no saved simulations in this folder)");
  }
  for (int row = 0; row < kRows && top + row < static_cast<int>(entries.size()); ++row) {
    const Entry& e = entries[static_cast<size_t>(top + row)];
    const int y = f.y + 2 + row * kRowHeight;
    if (top + row == picked) {
      MXsetcolor(colour("lcyan"));
      MXwfillrect(f.x + 2, y, f.wd - 4, kRowHeight);
    }
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", std::localtime(&e.time));
    MXsetcolor(colour("black"));
    write_at(f.x + 4, y + 12, e.name.size() > 36 ? e.name.substr(0, 34) + "..." : e.name);
    write_at(f.x + f.wd - 110, y + 12, date);
  }
}

void draw_dialog() {
  MXsetcurrentnamedwindow("filedlg");
  MXsetfont(LARGE);
  MXsetcolor(colour("black"));
  write_at(16, 24, kind == SAVE_DIALOG     ? "Save the simulation as:"
                   : kind == EXPORT_DIALOG ? "Export the table as:"
                                           : "Load the saved simulation:");
  draw_name();
  draw_list();
}

void draw_result() {
  MXsetcurrentnamedwindow("alert");
  MXsetfont(LARGE);
  MXsetcolor(colour("black"));
  for (size_t i = 0; i < result.size(); ++i) write_at(6, 15 + 15 * static_cast<int>(i), result[i]);
}

void show_result(bool ok, const std::string& name, const std::string& what = "simulation") {
  // The whole path, broken over the lines above the alert's OK button (five lines
  // of 15 pixels from y = 15).
  constexpr size_t kLines = 5;
  MXsetfont(LARGE);
  result = {ok ? "The " + what + " was saved to the file" : "The " + what + " could NOT be saved to the file"};
  for (const std::string& line : wrap_text(full_path(name), 440)) result.push_back(line);
  if (!ok) {
    result.resize(std::min(result.size(), kLines - 1));
    result.push_back("Check the name, disk space and permissions.");
    MXbell();
  }
  result.resize(std::min(result.size(), kLines));
  ParmSavemsg = MXgetcurrmsg();
  MXdisplayhelpmessage(10);
  AlertNumber = kResultAlert;
  MXdrawnamedwindow("alert", Use_bstore, 1);
  draw_result();
}

void close_dialog() {
  MXremovenamedwindow("filedlg");
  kind = NO_DIALOG;
  InfState.keyfunc = keys_before;
  redraw_all();  // the dialog keeps no backing store
  MXdisplayhelpmessage(Savemsg);
}

int do_save() {
  close_dialog();
  const int ok = savenamedfile(pending.c_str());
  if (ok) last_saved = pending;
  if (ok && download_saved) MXPoffer_file(pending.c_str());
  show_result(ok != 0, pending);
  return ok;
}

// The targets in force at a time point: value and year of each, empty when none
// was set (a run starts with its first year as the target year).
std::vector<std::string> target_values(const VKStatetype* s, int t, const CountryInfo& c) {
  std::vector<std::string> v;
  auto add = [&](int32_t year, std::string value) {
    const bool set = year > vk_first_year();
    v.push_back(set ? value : "");
    v.push_back(set ? std::to_string(year) : "");
  };
  add(s->tfr_targ_year[t], fixed_decimals(s->tfr_targ_val[t], 2));
  add(s->lifex_targ_year[t], fixed_decimals(s->lifex_targ_val[t], 2));
  add(s->infmort_targ_year[t], fixed_decimals(s->infmort_targ_val[t], 3));
  add(s->mig_targ_year[t], std::to_string(int64_t{s->mig_targ_val[t]} * c.scale_factor));
  return v;
}

// The name of the pane's country as the country list spells it (as vkproject
// writes it), or as its database does when the list has no such entry.
std::string list_name(const CountryInfo& c) {
  const std::string own(c.country_name, strnlen(c.country_name, sizeof c.country_name));
  for (int i = 0; Country_list && i < Numregions + Numcountries; ++i)
    if (MXstricmp(Country_list[i].name, own.c_str()) == 0) return Country_list[i].name;
  return own;
}

bool write_table(const std::string& name) {
  std::string text = "pane,run";
  for (const std::string& column : projection_column_names(false)) text += "," + column;
  text += ",tfr_target,tfr_target_year,lifex_target,lifex_target_year,imr_target,imr_target_year,"
          "migration_target,migration_target_year\n";
  for (int pane = 0; pane < VK_PANES; ++pane) {
    const CountryInfo& c = Country[pane];
    const std::string country = list_name(c);
    for (int run = 0; run <= Display[pane].curr_sim && run < VK_RUNS; ++run) {
      const VKStatetype* s = VKState[pane][run];
      if (!s) continue;
      for (int t = 0; t <= s->stepcnt; ++t) {
        text += pane == 0 ? "top," : "bottom,";
        text += std::to_string(run + 1) + "," + csv_field(country);
        for (const std::string& v : projection_row_values(projection_row(country.c_str(), s, t, c, false), false))
          text += "," + v;
        for (const std::string& v : target_values(s, t, c)) text += "," + v;
        text += "\n";
      }
    }
  }
  FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && written;
}

int do_export() {
  close_dialog();
  const bool ok = write_table(DocumentsDir + pending);
  if (ok) last_exported = pending;
  show_result(ok, DocumentsDir + pending, "table");
  return ok;
}

int do_load() {
  close_dialog();
  if (loadnamedfile(pending.c_str())) return 1;
  MXelog(0, "Simulation from |%s| not loaded. \n", pending.c_str());
  MXalert(10, Use_bstore, "loadalert1", "loadalert2", "loadalert3", "loadalert4", "");
  AlertNumber = 2;
  return 0;
}

void remove_question() {
  MXremovenamedwindow("ask");
  asking = false;
  InfState.keyfunc = ask_keys_before;
  redraw_all();  // the question keeps no backing store
}

int question_keys(int, int, int key, const char*) {
  if (key == 13) return askyes();
  if (key == 27) return askno();
  return 1;
}

void draw_question() {
  MXsetcurrentnamedwindow("ask");
  MXsetfont(LARGE);
  MXsetcolor(colour("black"));
  write_at(16, 24, ask_lines[0]);
  write_at(16, 44, ask_lines[1]);
}

// One question; Yes runs `yes`.
int ask(const std::string& line1, const std::string& line2, int (*yes)()) {
  if (asking) return 0;
  asking = true;
  ask_lines[0] = line1;
  ask_lines[1] = line2;
  on_yes = yes;
  ask_keys_before = InfState.keyfunc;
  InfState.keyfunc = question_keys;
  MXdrawnamedwindow("ask", 0, 1);
  draw_question();
  return 1;
}

int dialog_keys(int, int, int key, const char*) {
  const int count = static_cast<int>(entries.size());
  if (key == 13) return filedo();
  if (key == 27) return filecancel();
  const bool replace = offered;
  offered = false;
  if (key == 8) {
    if (!typed.empty()) typed.pop_back();
  } else if ((key == 30 || key == 31) && count > 0) {
    picked = std::clamp(picked + (key == 31 ? 1 : -1), 0, count - 1);
    top = std::clamp(top, picked - kRows + 1, picked);
    typed = entries[static_cast<size_t>(picked)].name;
    offered = true;
    draw_list();
  } else if (is_name_char(static_cast<char>(key)) && (replace || typed.size() < kMaxName)) {
    if (replace) typed.clear();
    typed += static_cast<char>(key);
  } else {
    MXbell();
  }
  draw_name();
  return 1;
}

int open_dialog(Kind k) {
  if (kind != NO_DIALOG) return 0;
  kind = k;
  download_saved = false;
  list_saved();
  top = 0;
  picked = k == LOAD_DIALOG && !entries.empty() ? 0 : -1;
  typed = k == SAVE_DIALOG ? last_saved : k == EXPORT_DIALOG ? last_exported : picked == 0 ? entries[0].name : "";
  offered = true;
  MXsetbuttontext("filedlg", "filedo", k == LOAD_DIALOG ? "Load" : "Save");
  MXdisplayhelpmessage(k == SAVE_DIALOG ? kSaveMessage : k == EXPORT_DIALOG ? kExportMessage : kLoadMessage);
  MXdrawnamedwindow("filedlg", 0, 1);
  draw_dialog();
  keys_before = InfState.keyfunc;
  InfState.keyfunc = dialog_keys;
  return 1;
}

int reset_pane() { return resetsimulation(); }
int choose_pane_country() { return selectcountrymap(); }

}  // namespace

std::string saved_file_name(const std::string& name) { return file_name(name, ".sav"); }

bool pane_has_work(int pane) {
  for (int run = 0; run <= Display[pane].curr_sim && run < VK_RUNS; ++run)
    if (VKState[pane][run] && VKState[pane][run]->stepcnt > 0) return true;
  return false;
}

int savedialog() { return open_dialog(SAVE_DIALOG); }
int loaddialog() { return open_dialog(LOAD_DIALOG); }

int savetocomputer() {
  if (!open_dialog(SAVE_DIALOG)) return 0;
  download_saved = true;
  return 1;
}

int loadfromcomputer() {
  char name[256];
  if (kind != NO_DIALOG || !MXPreceive_file(name, sizeof name)) return 0;
  pending = name;
  if (pane_has_work(0) || pane_has_work(1))
    return ask("Load " + pending + "?", "The runs on the screen are replaced.", do_load);
  return do_load();
}

void offer_outside_files() {
  for (const char* item : {"p6", "p7"}) {
    if (MXPoutside_files()) MXenablemenuitem("file", item);
    else MXinvisiblemenuitem("file", item);
  }
}
int exportdialog() {
  // Nothing to export while neither pane holds a country.
  if (Display[0].curr_sim < 0 && Display[1].curr_sim < 0) {
    MXbell();
    return 0;
  }
  return open_dialog(EXPORT_DIALOG);
}

int filedo() {
  if (kind == NO_DIALOG) return 0;
  pending = file_name(typed, extension());
  std::error_code error;
  const std::string target = dialog_folder() + pending;
  const bool exists = !pending.empty() && std::filesystem::exists(target, error);
  if (pending.empty() || (kind == LOAD_DIALOG && !exists)) {
    MXbell();
    return 0;
  }
  if (kind == SAVE_DIALOG) {
    if (exists && std::filesystem::is_regular_file(pending, error))
      return ask("Replace the file " + pending + "?", "The simulation it holds is lost.", do_save);
    return do_save();
  }
  if (kind == EXPORT_DIALOG) {
    if (exists && std::filesystem::is_regular_file(target, error))
      return ask("Replace the file " + pending + "?", "The table it holds is lost.", do_export);
    return do_export();
  }
  if (pane_has_work(0) || pane_has_work(1))
    return ask("Load " + pending + "?", "The runs on the screen are replaced.", do_load);
  return do_load();
}

int filecancel() {
  if (kind == NO_DIALOG) return 0;
  close_dialog();
  return 1;
}

int filepick(int, int y, int status) {
  if (status != 5 && status != 3) return 1;  // a click, or the end of a drag
  const int row = (y - 2) / kRowHeight;
  if (y < 2 || row >= kRows || top + row >= static_cast<int>(entries.size())) return 1;
  picked = top + row;
  typed = entries[static_cast<size_t>(picked)].name;
  offered = true;
  draw_list();
  draw_name();
  return 1;
}

int askyes() {
  int (*yes)() = on_yes;
  remove_question();
  return yes ? yes() : 1;
}

int ask_question(const std::string& line1, const std::string& line2, int (*yes)()) {
  return ask(line1, line2, yes);
}

int askno() {
  remove_question();
  return 1;
}

int ask_resetsimulation() {
  if (!InWalkThru && Cdisp >= 0 && pane_has_work(Cdisp))
    return ask("Reset this pane to " + std::to_string(vk_first_year()) + "?", "Its simulated runs are discarded.", reset_pane);
  return resetsimulation();
}

int ask_selectcountrymap() {
  if (!InWalkThru && Cdisp >= 0 && pane_has_work(Cdisp))
    return ask("Choose another country for this pane?", "Its simulated runs are discarded.", choose_pane_country);
  return selectcountrymap();
}

void report_failed_save(const char* name) { show_result(false, name); }

void redraw_file_dialogs() {
  if (kind != NO_DIALOG) {
    MXredrawnamedwindow("filedlg");
    draw_dialog();
  }
  if (asking) {
    MXredrawnamedwindow("ask");
    draw_question();
  }
  if (AlertNumber == kResultAlert) {
    MXredrawnamedwindow("alert");
    draw_result();
  }
}

void reset_file_dialogs() {
  kind = NO_DIALOG;
  asking = false;
  typed = last_saved = SaveFile;
  last_exported = "table.csv";
}
