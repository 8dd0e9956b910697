// Country selection in the window "map": the two maps with the zoom box, the
// scroll list of names, the typed-name search, and the closing that loads the
// choice into the pane.
#include "app/country_selection.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_helpers.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "base/clock.h"
#include "base/text.h"
#include "demography/country.h"
#include "demography/simulation.h"
#include "startup/country_list.h"
#include "startup/filenames.h"
#include "pictures/picture_drawing.h"
#include "ui/event_loop.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/scroll_list.h"

MXPicture Countrypic;
MXPicture Regionpic;

int Pickno = -1;
int Xorx = 0, Xory = 0, Xorwd = 0, Xorht = 0;
char searchstring[81] = "";
int ScrollPicknumpages = 0;
int gPickList = -1, gThumb = -1;

namespace {

int Oldcountry_code = -1;  // entry last named under the pointer on a map
int CurrSlot = -1;         // list row under the pointer
int OldSlot = -1;          // list row last named
int nudge = 0;             // alternates the pointer's last pixel after a search
int last_row = -1;         // the row clicked last and when, to tell a double click
long last_ms = 0;

bool button_enabled(const char* window, const char* button) {
  int active = 0;
  MXgetbuttonspecs(window, button, nullptr, nullptr, nullptr, nullptr, &active);
  return active == ENABLED;
}

void fill_field(const char* name) {
  const Field f = field_rect(name);
  MXsetcolor(f.color);
  MXwfillrect(f.x, f.y, f.wd, f.ht);
}

// Writes a text in the large font and the field's colour at (x, y + 15).
void write_in(const char* field, const char* text) {
  const Field f = field_rect(field);
  MXsetfont(LARGE);
  MXsetcolor(f.color);
  MXwwritemsg(f.x, f.y + 15, text);
}

void write_named_in(const char* field, const char* message) {
  const Field f = field_rect(field);
  MXsetfont(LARGE);
  MXsetcolor(f.color);
  MXwwritenamedmsg(f.x, f.y + 15, message);
}

void show_map_scale() {
  fill_field("MSCALEBACK");
  const Field f = field_rect("MSCALE");
  MXsetfont(LARGE);
  MXsetcolor(f.color);
  MXwwriteint(3, f.x, f.y + 15, MapScale);
}

void draw_zoom_box() {
  const Field s = field_rect("SMAP");
  MXdrawxorbox(s.x + Xorx, s.y + Xory, Xorwd, Xorht);
}

void place_zoom_box(int cx, int cy) {
  const Field s = field_rect("SMAP");
  const Field l = field_rect("LMAP");
  compute_xorbox(cx, cy, MapScale, s.wd, s.ht, l.wd, l.ht);
}

// Thin lines where two entries meet on the large map, so that neighbours of one
// colour are told apart. From magnification 2 on: at 1 a line would hide whole
// pixels of small places.
void draw_borders(const Field& l) {
  if (MapScale < 2) return;
  const int cols = l.wd / MapScale + 1, rows = l.ht / MapScale + 1;
  const auto entries = static_cast<uint16_t>(number_of_entries());
  std::vector<uint16_t> above(static_cast<size_t>(cols), MX_NO_PIXEL), row(static_cast<size_t>(cols));
  MXsetcolor(code2color(255, 0, 0, 0));  // the colour of the sea
  const int right = l.x + l.wd - 1, bottom = l.y + l.ht - 1;
  for (int r = 0; r < rows; ++r) {
    MXgetpixel(&Countrypic, 2 * Xorx, 2 * Xory + r, row.data(), cols);
    const int y = l.y + r * MapScale;
    for (int c = 0; c < cols; ++c) {
      const int x = l.x + c * MapScale;
      if (row[c] >= entries) continue;
      if (c > 0 && row[c - 1] < entries && row[c - 1] != row[c] && x <= right)
        MXwdrawline(x, y, x, std::min(y + MapScale - 1, bottom));
      if (above[c] < entries && above[c] != row[c] && y <= bottom)
        MXwdrawline(x, y, std::min(x + MapScale - 1, right), y);
    }
    above.swap(row);
  }
}

void draw_large_map() {
  fill_field("LMAP");
  const Field l = field_rect("LMAP");
  MXwdrawpict(&Countrypic, l.x, l.y, l.wd, l.ht, 2 * Xorx, 2 * Xory, MapScale, code2color);
  draw_borders(l);
}

// The list index under a map position, or MX_NO_PIXEL.
unsigned map_value(int x, int y, const MXPicture* picture) {
  int px = x, py = y;
  if (picture == &Countrypic) {
    px = x / MapScale + 2 * Xorx;
    py = y / MapScale + 2 * Xory;
  }
  uint16_t v = MX_NO_PIXEL;
  MXgetpixel(picture, px, py, &v, 1);
  return v;
}

// The scroll list's routines.
const char* scrollpicklabel_func(int row) {
  const int i = display_item_number(row);
  return i >= 0 ? Country_list[i].name : "";
}

// The chosen entry's row is written in the colour of the chosen name, so that it
// stays marked while the pointer moves on and the list scrolls.
void scrollpicktext_func(int, int row) {
  MXsetfont(SMALL);
  const bool chosen = Pickno >= 0 && display_item_number(row) == Pickno;
  MXsetcolor(field_rect(chosen ? "SNAME" : "SCROLLPICKLABEL").color);
}

void scrollpickin_func(int row) {
  CurrSlot = row;
  if (CurrSlot == OldSlot) return;
  OldSlot = CurrSlot;
  char current[MX_CONTROL_TEXT + 48];
  MXgetcurrentwindowname(current);
  MXsetcurrentnamedwindow("map");
  fill_field("CNAMEBACK");
  const int i = display_item_number(row);
  if (i >= 0) write_in("CNAME", Country_list[i].name);
  MXsetcurrentnamedwindow(current);
}

void scrollpickout_func() {
  OldSlot = -1;
  char current[MX_CONTROL_TEXT + 48];
  MXgetcurrentwindowname(current);
  MXsetcurrentnamedwindow("map");
  fill_field("CNAMEBACK");
  write_named_in("CNAME", "ctynone");
  MXsetcurrentnamedwindow(current);
}

void scrollpickclick_func(int row) {
  const long now = MXPclock_ms();
  // A second click on the same row within half a second chooses and loads it.
  const bool twice = row == last_row && now >= last_ms && now - last_ms <= 500;
  last_row = twice ? -1 : row;
  last_ms = now;
  scrollpickin_func(row);
  const int before = Pickno;
  Pickno = display_item_number(CurrSlot);
  Drag_Used = 1;
  display_curr_selection();
  // The rows of the old and the new choice are drawn again in their colours.
  for (const int entry : {before, Pickno})
    if (entry >= 0) MXdrawlistitem(gPickList, New, row_of_entry(entry));
  if (twice && !InWalkThru && button_enabled("map", "done")) mapdone();
}

int listed_rows() {
  int rows = 0;
  for (int i = 0; i < number_of_entries(); ++i)
    if (Country_list[i].display) ++rows;
  return rows;
}

}  // namespace

int number_of_entries() { return Country_list ? Realnumregions + Realnumcountries : 0; }

int display_item_number(int row) {
  if (row < 0) return -1;
  for (int i = 0, n = 0; i < number_of_entries(); ++i)
    if (Country_list[i].display && n++ == row) return i;
  return -1;
}

int row_of_entry(int index) {
  if (index < 0 || index >= number_of_entries()) return -1;
  int row = 0;
  for (int i = 0; i < index; ++i)
    if (Country_list[i].display) ++row;
  return row;
}

void compute_xorbox(int cx, int cy, int scale, int sw, int sh, int lw, int lh) {
  if (scale < 1) scale = 1;
  Xorwd = lw / (2 * scale);
  Xorht = lh / (2 * scale);
  Xorx = cx - Xorwd / 2;
  if (Xorx < 0) Xorx = 0;
  if (Xorx + Xorwd > sw) Xorx = sw - Xorwd;
  Xory = cy - Xorht / 2;
  if (Xory < 0) Xory = 0;
  if (Xory + Xorht > sh) Xory = sh - Xorht;
}

int code2color(unsigned value, int, int, int) {
  static int white = -1;
  if (value == 255) return 0;
  if (value >= static_cast<unsigned>(number_of_entries())) {
    if (white < 0) white = MXconvertcolor("white");
    return white < 0 ? 15 : white;
  }
  return Country_list[value].color;
}

int selectcountrymap() {
  MapSelect = 1;
  Pickno = -1;
  scrollselectcountry();
  if (!InWalkThru) {
    MapSelectSavemsg = MXgetcurrmsg();
    MXdisplayhelpmessage(3);
  }
  return 1;
}

namespace {

// The list's rows: one per entry whose display flag is set.
void set_up_list() {
  const int button = field_rect("sclistbutton").color;
  const int upleft = field_rect("sclistupleft").color;
  const int lowright = field_rect("sclistlowright").color;
  MXsclistsetup("map", "scrollcountry", 1, "scrollpicklabel", 0, 0, JUST_LEFT, scrollpicklabel_func,
                scrollpicktext_func, scrollpickin_func, scrollpickout_func, scrollpickclick_func, "scrollbar",
                button, upleft, lowright, listed_rows(), 0, nullptr, "UpArrow", "DnArrow", &gPickList, &gThumb);
  // The largest top position follows from the rows listed and the rows the list shows.
  ScrollPicknumpages = MXgetmaxpos(gThumb);
}

// A typed name that may mean two entries ("Korea") lists just those two, so that
// both are in view; the list's own display flags are kept meanwhile.
std::vector<int> full_list_flags;

void rebuild_list() {
  if (gThumb >= 0) MXdismantlesclist(gThumb);
  gThumb = gPickList = -1;
  set_up_list();
  MXsetcurrentnamedwindow("map");
  fill_field("scrollpickfield");
  MXdrawsclist(gThumb);
}

void list_only(int a, int b) {
  if (full_list_flags.empty())
    for (int i = 0; i < number_of_entries(); ++i) full_list_flags.push_back(Country_list[i].display);
  for (int i = 0; i < number_of_entries(); ++i) Country_list[i].display = i == a || i == b;
  rebuild_list();
}

// Back to the whole list; draws it only when the window stays open.
void list_all(bool draw) {
  if (full_list_flags.empty()) return;
  for (int i = 0; i < number_of_entries() && i < static_cast<int>(full_list_flags.size()); ++i)
    Country_list[i].display = full_list_flags[i];
  full_list_flags.clear();
  if (draw) rebuild_list();
}

}  // namespace

int scrollselectcountry() {
  list_all(false);  // the whole list, whatever an earlier window left
  searchstring[0] = '\0';
  Oldcountry_code = CurrSlot = OldSlot = last_row = -1;
  MXdrawnamedwindow("map", 0, 1);
  MXsetactivenamedwindow("root");
  MXsetactivenamedwindow("message");
  redraw_enabled_buttons("root");
  redraw_enabled_buttons("message");
  set_up_list();
  draw_selection_window();
  return 1;
}

void draw_selection_window() {
  char current[MX_CONTROL_TEXT + 48];
  MXgetcurrentwindowname(current);
  if (!InWalkThru) MXdisablebutton("root", TutorEntry ? "glossary" : "file", 1);
  MXsetcurrentnamedwindow("map");
  MXcharfunc("keyfunc");
  fill_field("scrollpickfield");
  fill_field("searchtext");
  if (gThumb >= 0) MXdrawsclist(gThumb);
  MXsetcurrentnamedwindow("map");
  display_searchstring();
  display_curr_selection();
  show_map_scale();
  fill_field("SMAP");
  const Field s = field_rect("SMAP");
  MXwdrawpict(&Regionpic, s.x, s.y, s.wd, s.ht, 0, 0, 1, code2color);
  draw_zoom_box();
  draw_large_map();
  MXsetcurrentnamedwindow(current);
}

int dragmaphelp(int x, int y, int status, const MXPicture* picture) {
  MXsetactivenamedwindow("map");
  MXsetcurrentnamedwindow("map");
  const bool small = picture == &Regionpic;
  switch (status) {
    case DRAG_INIT:
    case DRAG_PROCESS:
      if (small) {
        draw_zoom_box();
        place_zoom_box(x, y);
        draw_zoom_box();
      }
      return 1;
    case DRAG_FINAL:
      if (small) {
        draw_zoom_box();
        place_zoom_box(x, y);
        draw_zoom_box();
        draw_large_map();
      }
      return 1;
    case MOUSE_CLICK: {
      const unsigned v = map_value(x, y, picture);
      if (v >= static_cast<unsigned>(number_of_entries())) return 0;
      Pickno = static_cast<int>(v);
      fill_field("SNAMEBACK");
      write_in("SNAME", Country_list[v].name);
      return 1;
    }
    case MOUSE_INSIDE: {
      const unsigned v = map_value(x, y, picture);
      if (static_cast<int>(v) == Oldcountry_code) return 1;
      Oldcountry_code = static_cast<int>(v);
      fill_field("CNAMEBACK");
      if (v < static_cast<unsigned>(number_of_entries()))
        write_in("CNAME", Country_list[v].name);
      else
        write_named_in("CNAME", "ctynone");
      return 1;
    }
    case MOUSE_OUTSIDE:
      Oldcountry_code = -1;
      fill_field("CNAMEBACK");
      write_named_in("CNAME", "ctynone");
      return 1;
    default:
      return 1;
  }
}

int draglargemap(int x, int y, int status) {
  return dragmaphelp(x, y, status == DRAG_FINAL ? MOUSE_CLICK : status, &Countrypic);
}

int dragsmallmap(int x, int y, int status) {
  if (status == DRAG_FINAL) Drag_Used = 1;
  return dragmaphelp(x, y, status, &Regionpic);
}

int changemapscale(int delta) {
  if (MapScale + delta < 1 || MapScale + delta > 31) return 1;
  MXsetcurrentnamedwindow("map");
  const int cx = Xorx + Xorwd / 2, cy = Xory + Xorht / 2;
  MapScale += delta;
  draw_zoom_box();
  fill_field("LMAP");
  place_zoom_box(cx, cy);
  draw_zoom_box();
  show_map_scale();
  draw_large_map();
  return 1;
}

int incmapscale() { return changemapscale(1); }
int decmapscale() { return changemapscale(-1); }

int scrolldraggetcountry(int x, int y, int status) {
  MXhandlelist(gPickList, x, y, status);
  return 1;
}

int scrollbar(int x, int y, int status) {
  MXhandlesclist(gThumb, x, y, status);
  return 1;
}

int scrollupline() {
  MXhandleupbutton(gThumb);
  return 1;
}

int scrolldnline() {
  MXhandledownbutton(gThumb);
  return 1;
}

void display_curr_selection() {
  if (Pickno < 0) return;
  char current[MX_CONTROL_TEXT + 48];
  MXgetcurrentwindowname(current);
  MXsetcurrentnamedwindow("map");
  fill_field("SNAMEBACK");
  write_in("SNAME", Country_list[Pickno].name);
  MXsetcurrentnamedwindow(current);
}

void display_searchstring() {
  fill_field("searchtext");
  const Field f = field_rect("searchtext");
  char shown_text[15] = {};
  std::snprintf(shown_text, sizeof shown_text, "%.14s", searchstring);
  MXsetfont(LARGE);
  MXsetcolor(field_rect("scrollpicklabel").color);
  MXwwritemsg(f.x + 5, f.y + 13, shown_text);
}

namespace {

// Characters a name may hold: letters (accented ones too), digits and the signs of
// the list's and the UN's names.
bool name_character(int key) {
  const unsigned char c = static_cast<unsigned char>(key);
  if (key < 0 || key > 255) return false;
  if (c >= 192) return c != 215 && c != 247;  // Latin-1 letters, not the signs x and /
  return std::isalnum(c) || std::strchr(".-' (),&/", c) != nullptr;
}

// The row nearest to a text that matches nothing: the first country that would
// come after it in the list's name order (the last one when none would).
int nearest_entry(const char* text) {
  int last = -1;
  for (int i = Realnumregions; i < number_of_entries(); ++i) {
    if (!Country_list[i].display) continue;
    last = i;
    const char* a = Country_list[i].name;
    const char* b = text;
    while (*a && *b && MXfoldchar(static_cast<unsigned char>(*a)) == MXfoldchar(static_cast<unsigned char>(*b))) ++a, ++b;
    if (MXfoldchar(static_cast<unsigned char>(*a)) >= MXfoldchar(static_cast<unsigned char>(*b))) return i;
  }
  return last;
}

// Scrolls the list so that an entry's row is the top row (or as far as it goes)
// and moves the pointer onto the row, so that the hover routines name it.
void bring_into_view(int entry) {
  const int row = entry >= 0 ? row_of_entry(entry) : 0;
  MXsetsclistpos(gThumb, row, 1);
  MXsetcurrentnamedwindow("map");
  int slot = row - MXgetsclistpos(gThumb);
  if (slot < 0) slot = 0;
  const Field area = field_rect("scrollpickfield");
  const Field label = field_rect("scrollpicklabel");
  nudge ^= 1;
  MXwsetmouseposition(area.x + label.wd / 2 + nudge, area.y + slot * label.ht + label.ht / 2);
}

}  // namespace

int ProcessSearchtext(int key) {
  // Escape and Enter are the window's Cancel and Done while those are usable.
  // (The tutorial waits for the buttons themselves.)
  if (key == 27) return !InWalkThru && button_enabled("map", "cancel") ? mapcancel() : 0;
  const size_t len = std::strlen(searchstring);
  if (name_character(key)) {
    if (len < 80) {
      searchstring[len] = static_cast<char>(key);
      searchstring[len + 1] = '\0';
    }
  } else if (key == 8 && len > 0) {
    searchstring[len - 1] = '\0';
  }
  display_searchstring();
  int other = -1;
  const int i = find_name(searchstring, &other);
  if (other >= 0)
    list_only(i, other);
  else
    list_all(true);
  if (key == 13 && i >= 0) {
    scrollpickclick_func(row_of_entry(i));
    if (!MapSelect) return 1;  // taken as a second click: already loaded
    if (other < 0 && !InWalkThru && button_enabled("map", "done")) return mapdone();
  }
  if (i < 0 && searchstring[0]) {
    MXbell();
    if (!InWalkThru) MXdisplayhelpmessagewith(43, searchstring);
    bring_into_view(nearest_entry(searchstring));
    return 0;
  }
  if (!InWalkThru) {
    if (other >= 0) {
      const std::string names = std::string(searchstring) + '\t' + Country_list[i].name + '\t' + Country_list[other].name;
      MXdisplayhelpmessagewith(44, names.c_str());
    } else {
      MXdisplayhelpmessage(3);
    }
  }
  bring_into_view(other >= 0 ? std::min(i, other) : i);
  return 1;
}

int handlesearch(int, int, int key) {
  char current[MX_CONTROL_TEXT + 48];
  MXgetcurrentwindowname(current);
  MXsetcurrentnamedwindow("map");
  const int result = ProcessSearchtext(key);
  MXsetcurrentnamedwindow(current);
  return result;
}

void endselectcountry() {
  list_all(false);
  if (gThumb >= 0) MXdismantlesclist(gThumb);
  gThumb = gPickList = -1;
}

namespace {
void close_selection() {
  MapSelect = 0;
  MXcharfunc("keyfunc");  // the program's key routine stays for the other windows
  endselectcountry();
  MXremovenamedwindow("map");
  for (const char* w : {"root", "top", "bottom", "message"}) MXsetactivenamedwindow(w);
  if (!InWalkThru) MXenablebutton("root", TutorEntry ? "glossary" : "file", 0);
  redraw_all();
}
}  // namespace

int mapdone() {
  close_selection();
  if (Pickno >= 0) {
    if (!readcountry(Pickno)) return 0;
    init_display_data(Cdisp);
    update_display(Cdisp);
    if (!InWalkThru) {
      ParmSavemsg = 4;
      MXdisplayhelpmessage(4);
    }
  } else {
    MXdisplayhelpmessage(MapSelectSavemsg);
  }
  return 1;
}

int mapcancel() {
  Pickno = -1;
  close_selection();
  MXdisplayhelpmessage(MapSelectSavemsg);
  return 1;
}
