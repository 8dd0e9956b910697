// The last session written when the program ends, and the offer to continue it.
#include "app/session.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/general_commands.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "app/walkthrough.h"
#include "base/log.h"
#include "demography/saved_simulation.h"
#include "platform/platform.h"
#include "startup/filenames.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

const char* const LastSessionFile = "vk_last.sav";
const char* const PreviousSessionFile = "vk_last.1.sav";
const char* const DamagedSessionFile = "vk_last.damaged.sav";
int ResumeOfferActive = 0;

namespace {

bool started = false;
bool written = false;
std::string offer_line;  // the offer's second line: date and pane names

bool read_bytes(const std::string& name, std::vector<unsigned char>* out) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool exists(const char* name) {
  struct stat st;
  return stat(name, &st) == 0;
}

// A button's or item's state, set for the while and put back.
struct Keep {
  int* where;
  int was;
};

// The main screen's state, also while the intro covers it: the intro disables
// the menu button and two help items and shows its Done.
void main_screen_state(unsigned char* block) {
  std::vector<Keep> keep;
  auto set_button = [&keep](const char* window, const char* button, ButtonStatusType to) {
    const int w = MXwindownum(window);
    for (int b = 0; b < Win[w].numbuttons; ++b)
      if (MXstricmp(Win[w].wb[b].name, button) == 0) {
        keep.push_back({reinterpret_cast<int*>(&Win[w].wb[b].active), Win[w].wb[b].active});
        Win[w].wb[b].active = to;
      }
  };
  if (QuickStartActive && !InWalkThru) {
    set_button("root", TutorEntry ? "glossary" : "file", ENABLED);
    set_button("message", "done", INVISIBLE);
    const int m = MXpopupnum("help");
    for (int i = 0; i < Popups[m].numitems; ++i)
      if (MXstricmp(Popups[m].item[i].name, "p0") == 0 || MXstricmp(Popups[m].item[i].name, "p4") == 0) {
        keep.push_back({reinterpret_cast<int*>(&Popups[m].item[i].active), Popups[m].item[i].active});
        Popups[m].item[i].active = ENABLED;
      }
  }
  MXgetwindowstate(block, 1);
  for (const Keep& k : keep) *k.where = k.was;
}

void on_close_request() {
  // A second request while the question is up (or once quitting was chosen) is
  // the answer.
  if (QuitWinActive || quitting()) {
    end_with_session();
    return;
  }
  if (InfState.activepopupwindow >= 0) removepopup();
  confirmquit();
}

void on_terminate() { end_with_session(); }

void before_fatal() { save_last_session(); }

std::string file_date(const char* name) {
  struct stat st;
  if (stat(name, &st) != 0) return "?";
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::localtime(&st.st_mtime));
  return text;
}

std::string pane_name(const SavedPanes& p, int pane) {
  return p.display[pane].curr_sim < 0 ? "(empty)" : std::string(p.country[pane].country_name);
}

void draw_offer_text() {
  MXsetcurrentnamedwindow("resume");
  MXsetfont(LARGE);
  const int black = MXconvertcolor("black");
  MXsetcolor(black < 0 ? 0 : black);
  MXwwritemsg(16, 44, offer_line.c_str());
}

}  // namespace

void install_session_handlers() {
  MXPset_close_handler(on_close_request);
  MXPset_terminate_handler(on_terminate);
  MXsetbeforefatalhook(before_fatal);
}

void begin_session() { started = true; }

int save_last_session() {
  if (!started || written) return 0;
  std::vector<unsigned char> bytes;
  if (InWalkThru) {
    if (!read_bytes(Home + WalkSaveFile, &bytes)) return 0;
  } else {
    bytes.resize(SAVE_PANES_SIZE + MXwindowstatesize());
    encode_panes(bytes.data());
    main_screen_state(bytes.data() + SAVE_PANES_SIZE);
  }
  if (bytes.size() < SAVE_PANES_SIZE) return 0;
  DisplayType d[VK_PANES];
  for (int pane = 0; pane < VK_PANES; ++pane) decode_display(bytes.data() + pane * SAVE_PANE_SIZE, &d[pane]);
  if (d[0].curr_sim < 0 && d[1].curr_sim < 0) return 0;
  written = true;
  std::vector<unsigned char> previous;
  if (read_bytes(LastSessionFile, &previous) &&
      !write_file_atomically(PreviousSessionFile, previous.data(), previous.size()))
    MXelog(0, "The previous session could not be kept in |%s|.\n", PreviousSessionFile);
  if (!write_file_atomically(LastSessionFile, bytes.data(), bytes.size())) {
    MXelog(0, "Error saving the session to |%s|.\n", LastSessionFile);
    return 0;
  }
  MXelog(0, "Session saved to |%s|.\n", LastSessionFile);
  return 1;
}

void end_with_session() {
  save_last_session();
  AppQuit();
}

int offer_last_session() {
  if (!exists(LastSessionFile)) return 0;
  auto saved = std::make_unique<SavedFile>();
  if (const char* reason = read_saved_simulation(LastSessionFile, saved.get())) {
    // Never in the way of a start: the file goes aside, the user hears of it once.
    MXelog(0, "The last session |%s| is damaged (%s); renamed to |%s|.\n", LastSessionFile, reason,
           DamagedSessionFile);
    std::rename(LastSessionFile, DamagedSessionFile);
    MXalert(10, Use_bstore, "lastbad1", "lastbad2", "");
    AlertNumber = 4;
    return 0;
  }
  offer_line = "Saved " + file_date(LastSessionFile) + ":  " + pane_name(saved->panes, 0) + ",  " +
               pane_name(saved->panes, 1);
  ResumeOfferActive = 1;
  MXdrawnamedwindow("resume", 0, 1);
  draw_offer_text();
  return 1;
}

int resumesession() {
  MXremovenamedwindow("resume");
  ResumeOfferActive = 0;
  instrdone();
  if (!loadnamedfile(LastSessionFile)) {
    MXelog(0, "Simulation from |%s| not loaded. \n", LastSessionFile);
    MXalert(10, Use_bstore, "loadalert1", "loadalert2", "loadalert3", "loadalert4", "");
    AlertNumber = 2;
  }
  return 1;
}

int declineresume() {
  MXremovenamedwindow("resume");
  ResumeOfferActive = 0;
  // The offer keeps no backing store: the intro picture is drawn again.
  MXredrawnamedwindow("instruction");
  drawintroscreen();
  MXdisplayhelpmessage(13);
  return 1;
}

void redraw_resume_offer() {
  if (!ResumeOfferActive) return;
  MXredrawnamedwindow("resume");
  draw_offer_text();
}

void reset_session() {
  MXPset_close_handler(nullptr);
  MXPset_terminate_handler(nullptr);
  MXsetbeforefatalhook(nullptr);
  started = written = false;
  ResumeOfferActive = 0;
}
