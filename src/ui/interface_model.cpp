// The interface library's global tables, the name and colour lookups, the binding of
// routine names to the application's routines, the palette placement rules, aliases,
// colour lists and the small record-level helpers.
#include "ui/interface_model.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "base/log.h"
#include "base/text.h"
#include "ui/interface.h"
#include "ui/interface_file.h"

Iconfig InfState;
MXWindow* Win = nullptr;
Popupmenu* Popups = nullptr;
int windata[MX_WINDOW_ROWS][2];
int popdata[MX_POPUP_ROWS];
char* Colorlist[257];
unsigned char Interface_Palette[256 * 3];
char* Alias[MX_MAX_ALIASES + 1];
char* Acolor[MX_MAX_ALIASES + 1];
int GraphicsMode = 16;
int NumColors = 0;
int curr_alias = 0;
int clist = 0;
const char* const Std_Colorlist[2] = {"black", "white"};
const char* const Dflt_Colorlist[6] = {"dgray", "mgray", "lgray", "bluegray", "lblue", "peach"};
const unsigned char dflt_rgb[MX_PRESET_COLORS * 3] = {
    0,  0,  0,   // black
    63, 63, 63,  // white
    50, 45, 45,  // dgray
    30, 30, 55,  // mgray
    53, 53, 53,  // lgray
    0,  50, 50,  // bluegray
    10, 10, 55,  // lblue
    63, 47, 50,  // peach
};
int Maxx = 640;
int Maxy = 480;
int Cursx = 0;
int Cursy = 0;

namespace {
const IntrFunction* func_table = nullptr;
int func_table_count = 0;
char empty_text[1] = {0};  // the end mark of the alias list; never released

// Index of `name` in a list of names ended by a null or empty entry; -1 if absent.
int findname(char* const* list, int limit, const char* name) {
  for (int i = 0; i < limit && list[i] && list[i][0]; ++i)
    if (MXstricmp(list[i], name) == 0) return i;
  return -1;
}

void release(char*& text) {
  if (text && text != empty_text) std::free(text);
  text = nullptr;
}
}  // namespace

void MXsetfunctiontable(const IntrFunction* table, int count) {
  func_table = table;
  func_table_count = table ? count : 0;
}

int getname(const void* array, size_t recsize, int count, const char* name, const char* kind) {
  if (name) {
    const char* base = static_cast<const char*>(array);
    for (int i = 0; i < count; ++i) {
      const char* recname = *reinterpret_cast<char* const*>(base + static_cast<size_t>(i) * recsize);
      if (recname && MXstricmp(recname, name) == 0) return i;
    }
  }
  if (kind) MXelog(-1, "getname: Couldn't find |%s| named |%s|\n", kind, name ? name : "(null)");
  return -1;
}

int MXwindownum(const char* name) {
  return getname(Win, sizeof(MXWindow), InfState.numwindows, name, "window");
}
int MXbuttonnum(int window, const char* name) {
  const MXWindow& w = Win[window];
  return getname(w.wb, sizeof(MXButton), w.numbuttons, name, "button");
}
int MXpopupnum(const char* name) {
  return getname(Popups, sizeof(Popupmenu), InfState.numpopups, name, "popup");
}
int MXfieldnum(const char* name) {
  return getname(InfState.fields, sizeof(FieldType), InfState.numfields, name, "field");
}
int MXfunctionnum(const char* name) {
  return getname(InfState.funcs, sizeof(Function), InfState.numfuncs, name, "function");
}
int MXmessagenum(const char* name) {
  return getname(InfState.msgs, sizeof(Message), InfState.nummsgs, name, "message");
}

char* str_dup(const char* text) {
  if (!text) return nullptr;
  const size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

IntrRoutine getfunctionptr(const char* name) {
  const char* sought = (name && name[0] == '@') ? name + 1 : name;
  const int i = getname(func_table, sizeof(IntrFunction), func_table_count, sought, "function");
  return i >= 0 ? func_table[i].funcptr : nullptr;
}

int convertcolor(char* const* alias, char* const* acolor, const char* name) {
  int i = findname(Colorlist, 256, name);
  if (i >= 0) return i;
  const int a = findname(alias, MX_MAX_ALIASES, name);
  if (a >= 0) {
    i = findname(Colorlist, 256, acolor[a]);
    if (i >= 0) return i;
  }
  MXelog(-1, "convertcolor: color alias not found.\n\tAlias = |%s|\n", name);
  return 0;
}

int MXconvertcolor(const char* name) {
  if (!name) return -1;
  int i = findname(Colorlist, 256, name);
  if (i >= 0) return i;
  const int a = findname(Alias, MX_MAX_ALIASES, name);
  if (a < 0) return -1;
  i = findname(Colorlist, 256, Acolor[a]);
  return i >= 0 ? i : 15;
}

void init_default_palette(char** names, unsigned char* rgb) {
  for (int i = 0; i < 2; ++i) names[i] = str_dup(Std_Colorlist[i]);
  for (int i = 0; i < 6; ++i) names[2 + i] = str_dup(Dflt_Colorlist[i]);
  names[MX_PRESET_COLORS] = nullptr;
  std::memcpy(rgb, dflt_rgb, sizeof dflt_rgb);
  NumColors = MX_PRESET_COLORS;
}

void placepaletteentry(const char* name, int red, int green, int blue) {
  int index = findname(Colorlist, 256, name);
  if (index < 0) {
    if (NumColors < GraphicsMode) {
      index = NumColors;
      Colorlist[index + 1] = nullptr;
    } else if (NumColors < GraphicsMode + 6) {
      // A full palette lends the six grey and blue presets to the file's colours.
      index = NumColors + 2 - GraphicsMode;
      release(Colorlist[index]);
    } else {
      MXelog(-1, "Too many colors.\nPalette was initialized with %d colors.\nLast color: |%s|.\n",
             GraphicsMode, name);
      return;
    }
    ++NumColors;
    Colorlist[index] = str_dup(name);
    if (!Colorlist[index]) MXelog(-1, "Out of memory for color |%s|.\n", name);
  }
  if (index >= 2) {  // black and white never change
    Interface_Palette[index * 3] = static_cast<unsigned char>(red);
    Interface_Palette[index * 3 + 1] = static_cast<unsigned char>(green);
    Interface_Palette[index * 3 + 2] = static_cast<unsigned char>(blue);
  }
}

void addalias(const char* alias, const char* colour) {
  if (curr_alias >= MX_MAX_ALIASES) {
    MXelog(-1, "Too many aliases.\n");
    return;
  }
  Alias[curr_alias] = str_dup(alias);
  Acolor[curr_alias] = str_dup(colour);
  if (!Alias[curr_alias] || !Acolor[curr_alias]) MXelog(-1, "Out of memory for alias |%s|.\n", alias);
  ++curr_alias;
  Alias[curr_alias] = empty_text;
  Acolor[curr_alias] = empty_text;
}

void addcolorlist(const char* const names[5]) {
  if (clist >= MX_MAX_COLORLISTS) {
    MXelog(-1, "Too many colorlists.\n");
    return;
  }
  for (int i = 0; i < 5; ++i)
    InfState.colorlist[clist][i] = static_cast<unsigned char>(convertcolor(Alias, Acolor, names[i]));
  ++clist;
}

unsigned char MXgetlistcolor(int list, int index) {
  // Outside the five lists of five there is nothing to read: black.
  if (list < 0 || list >= MX_MAX_COLORLISTS || index < 0 || index >= 5) return 0;
  return InfState.colorlist[list][index];
}

void getbuttoninfo(const char* window, const char* button, int* x, int* y, int* wd, int* ht,
                   int* active) {
  const int w = MXwindownum(window);
  const int b = MXbuttonnum(w, button);
  const MXButton& btn = Win[w].wb[b];
  if (x) *x = Win[w].x + btn.x;
  if (y) *y = Win[w].y + btn.y;
  if (wd) *wd = btn.wd;
  if (ht) *ht = btn.ht;
  if (active) *active = btn.active;
}

int pickitemslot(int y, const Popupmenu* menu) { return (y - menu->y - 3) / 15; }

int pickitem(int y, const Popupmenu* menu) {
  const int slot = pickitemslot(y, menu);
  int visible = 0;
  for (int i = 0; i < menu->numitems; ++i) {
    if (menu->item[i].active == INVISIBLE) continue;
    if (visible == slot) return i;
    ++visible;
  }
  return -1;
}

void setlastcontrol(controlgrouptype type, const char* gname, const char* cname, int number) {
  ControlType& c = InfState.lastcontrol;
  c.type = type;
  std::snprintf(c.gname, sizeof c.gname, "%s", gname ? gname : "");
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(c.time, sizeof c.time, "%H:%M:%S", &local);
  switch (type) {
    case WINDOW:
      std::snprintf(c.control.name, sizeof c.control.name, "%s", cname ? cname : "");
      break;
    case MENU:
      c.control.number = number;
      break;
    default:
      c.control.number = -1;
      break;
  }
}

void MXgetlastcontrol(ControlType* control) {
  if (!control) return;
  const ControlType& c = InfState.lastcontrol;
  control->type = c.type;
  std::memcpy(control->gname, c.gname, sizeof c.gname);
  std::memcpy(control->time, c.time, sizeof c.time);
  if (c.type == WINDOW)
    std::memcpy(control->control.name, c.control.name, sizeof c.control.name);
  else
    control->control.number = c.control.number;
}

void MXclearlastcontrol() {
  ControlType& c = InfState.lastcontrol;
  c.type = NONE;
  c.gname[0] = 0;
  c.control.number = -1;
}

void writepalettefile(const unsigned char* rgb) {
  FILE* f = MXopen("palette.txt", "wb");
  if (!f) {
    MXelog(0, "Error opening palette file for writing.\n");
    return;
  }
  for (int i = 0; i < 16; ++i) std::fprintf(f, "%2d  %2d  %2d\n", rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
  std::fclose(f);
}

void MXfreeinterfacetables() {
  for (int w = 0; Win && w < InfState.numwindows; ++w) {
    MXWindow& win = Win[w];
    release(win.name);
    for (int b = 0; b < win.numbuttons; ++b) {
      release(win.wb[b].name);
      release(win.wb[b].text);
    }
    for (int g = 0; g < win.numgraphics; ++g) release(win.graphics[g].text);
    std::free(win.wb);
    std::free(win.graphics);
  }
  std::free(Win);
  Win = nullptr;
  for (int p = 0; Popups && p < InfState.numpopups; ++p) {
    release(Popups[p].name);
    for (int i = 0; i < Popups[p].numitems; ++i) {
      release(Popups[p].item[i].name);
      release(Popups[p].item[i].text);
    }
    std::free(Popups[p].item);
  }
  std::free(Popups);
  Popups = nullptr;
  for (int i = 0; InfState.fields && i < InfState.numfields; ++i) release(InfState.fields[i].name);
  std::free(InfState.fields);
  for (int i = 0; InfState.msgs && i < InfState.nummsgs; ++i) {
    release(InfState.msgs[i].name);
    release(InfState.msgs[i].text);
  }
  std::free(InfState.msgs);
  for (int i = 0; InfState.funcs && i < InfState.numfuncs; ++i) release(InfState.funcs[i].name);
  std::free(InfState.funcs);
  InfState.fields = nullptr;
  InfState.msgs = nullptr;
  InfState.funcs = nullptr;
  InfState.numfields = InfState.nummsgs = InfState.numfuncs = 0;
  InfState.numwindows = -1;
  InfState.numpopups = 0;
  for (char*& name : Colorlist) release(name);
  for (char*& name : Alias) release(name);
  for (char*& name : Acolor) release(name);
  Alias[0] = Acolor[0] = empty_text;
  std::memset(Interface_Palette, 0, sizeof Interface_Palette);
  std::memset(InfState.colorlist, 0, sizeof InfState.colorlist);
  std::memset(windata, 0, sizeof windata);
  std::memset(popdata, 0, sizeof popdata);
  NumColors = 0;
  curr_alias = 0;
  clist = 0;
}
