// The interface library's public operations: start-up and quit, windows, geometry,
// button and menu-item states, window-relative drawing and text, framing, timed
// functions, the saved interface state and the file helpers.
#include "ui/interface.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/log.h"
#include "base/text.h"
#include "platform/platform.h"
#include "ui/help.h"
#include "ui/interface_file.h"

namespace {

const MXWindow& current() { return Win[InfState.cw]; }
int tx(int x) { return x + current().x; }
int ty(int y) { return y + current().y; }

MXButton& named_button(const char* window, const char* button, int* w, int* b) {
  *w = MXwindownum(window);
  *b = MXbuttonnum(*w, button);
  return Win[*w].wb[*b];
}

Menuitem& named_item(const char* menu, const char* item) {
  const int m = MXpopupnum(menu);
  const int i = getname(Popups[m].item, sizeof(Menuitem), Popups[m].numitems, item, "menu item");
  return Popups[m].item[i];
}

void set_button_state(const char* window, const char* button, int draw, ButtonStatusType state) {
  int w, b;
  MXButton& btn = named_button(window, button, &w, &b);
  btn.active = state;
  MXPsetcurrentwindow(w);
  if (draw != 1) return;
  if (state == INVISIBLE)
    erasebutton(w, b);
  else
    drawbutton(w, b, 0);
}

// New place of a window or menu edge: kept when the object fits, else pushed back so
// that it ends at the screen edge, else left alone.
void place(int* field, int value, int size, int limit) {
  if (value + size < limit)
    *field = value;
  else if (size < limit)
    *field = limit - size;
}

void xor_figure(bool invert, bool box, int a, int b, int c, int d) {
  void (*mode)(int) = invert ? MXPinvertmode : MXPxormode;
  mode(1);
  const int colour = MXgetcolor();
  MXsetcolor(MXconvertcolor("white"));
  if (box)
    MXwdrawrect(a, b, c, d);
  else
    MXwdrawline(a, b, c, d);
  MXsetcolor(colour);
  mode(0);
}

void write_le32(unsigned char* p, int v) {
  const unsigned u = static_cast<unsigned>(v);
  p[0] = static_cast<unsigned char>(u);
  p[1] = static_cast<unsigned char>(u >> 8);
  p[2] = static_cast<unsigned char>(u >> 16);
  p[3] = static_cast<unsigned char>(u >> 24);
}

int read_le32(const unsigned char* p) {
  const unsigned u = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned>(p[3]) << 24);
  return static_cast<int>(u);
}

bool put_int(FILE* f, int v) {
  unsigned char b[4];
  write_le32(b, v);
  return std::fwrite(b, 1, 4, f) == 4;
}

bool get_int(FILE* f, int* v) {
  unsigned char b[4];
  if (std::fread(b, 1, 4, f) != 4) return false;
  *v = read_le32(b);
  return true;
}

// A close request of the window ends the program normally.
void quit_from_platform(int) { MXquit(nullptr); }

}  // namespace

// Start-up and quit --------------------------------------------------------------------

void MXinterfaceinit(const char* title, const char* filename, int bstore, const char* logmode,
                     int colors, void* instance, void* previous, const char* cmdline, int show) {
  MXfreeinterfacetables();  // nothing to release at the program's one start
  InfState.speedup = 1;
  InfState.numwindows = -1;
  InfState.numpopups = 0;
  InfState.cw = 0;
  InfState.cb = -1;
  InfState.level = 1;
  InfState.activepopupwindow = -1;
  InfState.highlight = 0;

  init_error_log(logmode);
  GraphicsMode = colors == 256 ? 256 : 16;
  MXPinit_system(title, instance, previous, cmdline, show);
  MXPset_quit_handler(quit_from_platform);
  MXPinit_events();

  {
    const MXReadingFile reading(filename);
    readfilepass1(filename);
    readinterfacefile(filename);
    MXwindownum("root");  // menus are drawn with it current: a file without it is fatal now
  }
  MXPinit_palette(Interface_Palette, GraphicsMode);

  // Backing store: slot 1 fits the largest popup menu; each window's slot fits it.
  int wd[MX_BSTORE_SLOTS] = {0}, ht[MX_BSTORE_SLOTS] = {0};
  for (int m = 0; m < InfState.numpopups; ++m) {
    wd[1] = std::max(wd[1], Popups[m].wd);
    ht[1] = std::max(ht[1], 15 * Popups[m].numitems + 7);
  }
  InfState.winbstore = bstore;
  if (bstore == 1) {
    for (int w = 0; w < InfState.numwindows; ++w) {
      const int slot = Win[w].bstore_to_use;
      if (slot == 0) continue;
      if (slot < 0 || slot >= MX_BSTORE_SLOTS) {
        MXelog(-1, "Error:  can't have bstore # %d", slot);
        return;
      }
      wd[slot] = std::max(wd[slot], Win[w].wd);
      ht[slot] = std::max(ht[slot], Win[w].ht);
    }
  }
  for (int slot = 1; slot < MX_BSTORE_SLOTS; ++slot) {
    InfState.backingstore[slot].inuse = 0;
    InfState.backingstore[slot].bsize = static_cast<unsigned>(wd[slot]) * static_cast<unsigned>(ht[slot]);
    InfState.backingstore[slot].bstoreht = ht[slot];
    if (!MXPinit_bstore(slot, wd[slot], ht[slot]))
      MXelog(-1, "Error:  cannot initialize backing store %d.  Out of memory.\n", slot);
  }
}

void MXquit(const char* format, ...) {
  MXPclose_events();
  if (!format) {
    closegraph();
    std::exit(0);
  }
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(n > 0 ? static_cast<size_t>(n) + 1 : 1, '\0');
  va_start(args, format);
  std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  MXelog(-1, "%s", text.c_str());
  std::exit(-1);  // not reached: the fatal entry ends the program
}

// Windows ----------------------------------------------------------------------------------

void MXdrawnamedwindow(const char* name, int bstore, int modal) {
  const int w = MXwindownum(name);
  MXWindow& win = Win[w];
  const int slot = win.bstore_to_use;
  if (slot != 0) {
    win.bstore = bstore;
    if (bstore == 1) {
      if (InfState.winbstore != 1)
        MXelog(-1,
               "Error - interface was not initialized withbacking store.\nIn MXinterfaceinit, pass "
               "BSTORE as the bstore argument.\n");
      if (slot < 0 || slot >= MX_BSTORE_SLOTS) MXelog(-1, "Error:  can't have bstore # %d", slot);
      if (InfState.backingstore[slot].inuse)
        MXelog(-1, "Error - backing store %d is already occupied.\n", slot);
      InfState.backingstore[slot].inuse = 1;
      if (!MXPto_bstore(slot, win.x, win.y, win.wd, win.ht))
        MXelog(-1, "Error backing Window |%s| to b-store (%ld): %d %d %d %d\n", win.name,
               static_cast<long>(InfState.backingstore[slot].bsize), win.x, win.y, win.wd, win.ht);
    }
  }
  win.popup = modal;
  if (modal) {
    for (int i = 0; i < InfState.numwindows; ++i)
      if (i != w && Win[i].active == InfState.level) disable_buttons_for_popup(i);
    ++InfState.level;
  }
  win.active = InfState.level;
  drawwindow(w);
}

void MXremovenamedwindow(const char* name) {
  const int w = MXwindownum(name);
  if (MXstricmp(name, "alert") == 0) AlertUp = 0;
  removewindow(w);
}

void MXremovetopwindow() {
  const int alert = getname(Win, sizeof(MXWindow), InfState.numwindows, "alert", nullptr);
  if (alert >= 0 && alert == InfState.cw) AlertUp = 0;
  removewindow(InfState.cw);
}

void MXredrawnamedwindow(const char* name) {
  const int w = MXwindownum(name);
  if (Win[w].active >= 1) drawwindow(w);
}

void MXredrawactivewindows() {
  for (int level = 1; level <= InfState.level; ++level)
    for (int w = 0; w < InfState.numwindows; ++w)
      if (Win[w].active == level) drawwindow(w);
}

void MXsetactivenamedwindow(const char* name) {
  const int w = MXwindownum(name);
  Win[w].active = InfState.level;
  for (int b = 0; b < Win[w].numbuttons; ++b)
    if (Win[w].wb[b].active == TMP_DISABLED) Win[w].wb[b].active = ENABLED;
}

void MXsetdeactivenamedwindow(const char* name) { Win[MXwindownum(name)].active = 0; }

void MXsetcurrentnamedwindow(const char* name) { MXPsetcurrentwindow(MXwindownum(name)); }

char* MXgetcurrentwindowname(char* buffer, size_t size) {
  if (size == 0) return buffer;
  std::snprintf(buffer, size, "%s", current().name);
  return buffer;
}

// Geometry ------------------------------------------------------------------------------------

void MXgetwindowspecs(const char* name, int* x, int* y, int* wd, int* ht, int* active) {
  const MXWindow& w = Win[MXwindownum(name)];
  if (x) *x = w.x;
  if (y) *y = w.y;
  if (wd) *wd = w.wd;
  if (ht) *ht = w.ht;
  if (active) *active = w.active;
}

void MXsetwindowspecs(const char* name, const int* x, const int* y, const int* wd, const int* ht) {
  const int i = getname(Win, sizeof(MXWindow), InfState.numwindows, name, nullptr);
  if (i < 0) {
    MXelog(-1, "Invalid window |%s| in set window origin.\n", name);
    return;
  }
  MXWindow& w = Win[i];
  if (wd && *wd >= 1) w.wd = *wd;
  if (ht && *ht >= 1) w.ht = *ht;
  if (x) place(&w.x, *x, w.wd, Maxx);
  if (y) place(&w.y, *y, w.ht, Maxy);
}

void MXsetmenuorigin(const char* menu, const int* x, const int* y) {
  const int i = getname(Popups, sizeof(Popupmenu), InfState.numpopups, menu, nullptr);
  if (i < 0) {
    MXelog(-1, "Invalid popup |%s| in set menu origin.\n", menu);
    return;
  }
  Popupmenu& m = Popups[i];
  if (x) place(&m.x, *x, m.wd, Maxx);
  if (y) place(&m.y, *y, m.ht, Maxy);
}

void MXgetbuttonspecs(const char* window, const char* button, int* x, int* y, int* wd, int* ht,
                      int* active) {
  int w, b;
  const MXButton& btn = named_button(window, button, &w, &b);
  if (x) *x = btn.x;
  if (y) *y = btn.y;
  if (wd) *wd = btn.wd;
  if (ht) *ht = btn.ht;
  if (active) *active = btn.active;
}

void MXsetbuttonspecs(const char* window, const char* button, const int* x, const int* y,
                      const int* wd, const int* ht, const int* bgcolor) {
  int w, b;
  MXButton& btn = named_button(window, button, &w, &b);
  if (x) btn.x = *x;
  if (y) btn.y = *y;
  if (wd) btn.wd = *wd;
  if (ht) btn.ht = *ht;
  if (bgcolor) btn.bgcolor = static_cast<unsigned char>(*bgcolor);
}

void MXsetdragareaspecs(const char* window, const char* area, const int* x, const int* y,
                        const int* wd, const int* ht, const int* bgcolor) {
  MXsetbuttonspecs(window, area, x, y, wd, ht, bgcolor);
}

void MXgetdragareaspecs(const char* window, const char* area, int* x, int* y, int* wd, int* ht,
                        int* active, int* bgcolor) {
  int w, b;
  const MXButton& btn = named_button(window, area, &w, &b);
  MXgetbuttonspecs(window, area, x, y, wd, ht, active);
  if (bgcolor) *bgcolor = btn.bgcolor;
}

void MXgetfieldrect(const char* field, int* x, int* y, int* wd, int* ht, int* color) {
  const FieldType& f = InfState.fields[MXfieldnum(field)];
  if (x) *x = f.x;
  if (y) *y = f.y;
  if (wd) *wd = f.wd;
  if (ht) *ht = f.ht;
  if (color) *color = f.color;
}

void MXsetfieldrect(const char* field, const int* x, const int* y, const int* wd, const int* ht,
                    const int* color) {
  FieldType& f = InfState.fields[MXfieldnum(field)];
  if (x) f.x = *x;
  if (y) f.y = *y;
  if (wd) f.wd = *wd;
  if (ht) f.ht = *ht;
  if (color) f.color = static_cast<unsigned char>(*color);
}

void MXsetbuttontext(const char* window, const char* button, const char* text) {
  int w, b;
  MXButton& btn = named_button(window, button, &w, &b);
  char* copy = str_dup(text ? text : "");
  if (!copy) {
    MXelog(-1, "Out of memory for button |%s|.\n", btn.name);
    return;
  }
  std::free(btn.text);
  btn.text = copy;
}

// Button and menu-item states ----------------------------------------------------------------

void MXenablebutton(const char* window, const char* button, int draw) {
  set_button_state(window, button, draw, ENABLED);
}
void MXdisablebutton(const char* window, const char* button, int draw) {
  set_button_state(window, button, draw, DISABLED);
}
void MXvisiblebutton(const char* window, const char* button, int draw) {
  set_button_state(window, button, draw, ENABLED);
}
void MXinvisiblebutton(const char* window, const char* button, int draw) {
  set_button_state(window, button, draw, INVISIBLE);
}

void MXenablemenuitem(const char* menu, const char* item) {
  if (!item) MXelog(-1, "Error: no name given to 'MXenablemenuitem'.\n");
  named_item(menu, item).active = ENABLED;
}
void MXdisablemenuitem(const char* menu, const char* item) {
  if (!item) MXelog(-1, "Error: no name given to 'MXdisablemenuitem'.\n");
  named_item(menu, item).active = DISABLED;
}
void MXvisiblemenuitem(const char* menu, const char* item) { named_item(menu, item).active = ENABLED; }
void MXinvisiblemenuitem(const char* menu, const char* item) {
  named_item(menu, item).active = INVISIBLE;
}

void MXtogglecheck(const char* menu, const char* item) {
  const int m = MXpopupnum(menu);
  const int i = getname(Popups[m].item, sizeof(Menuitem), Popups[m].numitems, item, "menu item");
  toggle_check(m, i, Popups[m].bg);
}

int MXgetmenuitemnum(const char* menu, const char* item) {
  const int m = MXpopupnum(menu);
  return getname(Popups[m].item, sizeof(Menuitem), Popups[m].numitems, item, "menu item");
}

const char* MXgetmenuitemname(const char* menu, int index) {
  const Popupmenu& m = Popups[MXpopupnum(menu)];
  if (index < 0 || index >= m.numitems) return nullptr;
  return m.item[index].name;
}

void MXcreatenamedpopup(const char* menu) {
  const int m = MXpopupnum(menu);
  PopupSaveMsg = MXgetcurrmsg();
  createpopupmenu(m);
}

// Window-relative drawing --------------------------------------------------------------------

void MXwdrawline(int x1, int y1, int x2, int y2) { MXPline(tx(x1), ty(y1), tx(x2), ty(y2)); }
void MXwdrawpoint(int x, int y) { MXPdraw_pixel(tx(x), ty(y)); }
int MXwgetpoint(int x, int y) { return MXPget_pixel(tx(x), ty(y)); }
void MXwfastrow(int x, int y, const unsigned char* pixels, int n) {
  MXPfastrow(tx(x), ty(y), pixels, n);
}

void MXwfillpoly(int n, int* points) {
  for (int i = 0; i < n; ++i) {
    points[2 * i] = tx(points[2 * i]);
    points[2 * i + 1] = ty(points[2 * i + 1]);
  }
  MXPfillpoly(n, points);
}

void MXwdrawrect(int x, int y, int wd, int ht) {
  if (wd == 0 && ht == 0) return;
  MXPframe_rect(tx(x), ty(y), wd, ht);
}
void MXwdrawellipse(int x, int y, int wd, int ht) {
  if (wd == 0 && ht == 0) return;
  MXPframe_ellipse(tx(x), ty(y), wd, ht);
}
void MXwfillrect(int x, int y, int wd, int ht) {
  if (wd == 0 || ht == 0) return;
  MXPfill_rect(tx(x), ty(y), wd, ht);
}
void MXwfillellipse(int x, int y, int wd, int ht) {
  if (wd == 0 || ht == 0) return;
  MXPfill_ellipse(tx(x), ty(y), wd, ht);
}

void MXwclearrect(int x, int y, int wd, int ht) {
  const int colour = MXgetcolor();
  MXsetcolor(current().bgcolor);
  MXPfill_rect(tx(x + 1), ty(y + 1), wd - 2, ht - 2);
  MXsetcolor(colour);
}

void MXwsetmouseposition(int x, int y) { set_mouse_position(tx(x), ty(y)); }

void MXgetcursorxy(int* x, int* y) {
  if (x) *x = Cursx - current().x;
  if (y) *y = Cursy - current().y;
}

void MXdrawxorbox(int x, int y, int wd, int ht) { xor_figure(false, true, x, y, wd, ht); }
void MXdrawxorline(int x1, int y1, int x2, int y2) { xor_figure(false, false, x1, y1, x2, y2); }
void MXdrawinvertbox(int x, int y, int wd, int ht) { xor_figure(true, true, x, y, wd, ht); }
void MXdrawinvertline(int x1, int y1, int x2, int y2) { xor_figure(true, false, x1, y1, x2, y2); }

// Text --------------------------------------------------------------------------------------------

void MXwwritemsg(int x, int y, const char* text) {
  MXPdraw_string(tx(x) + 1, ty(y), text ? text : "");
}

void MXwwritenamedmsg(int x, int y, const char* name) {
  MXwwritemsg(x, y, InfState.msgs[MXmessagenum(name)].text);
}

void MXwwriteint(int width, int x, int y, long value) {
  char format[32], text[64];
  std::snprintf(format, sizeof format, "%%%dld", width);
  std::snprintf(text, sizeof text, format, value);
  MXwwritemsg(x, y, text);
}

void MXwwritereal(int width, int precision, int x, int y, double value) {
  char format[32], text[512];
  std::snprintf(format, sizeof format, "%%%d.%df", width, precision);
  std::snprintf(text, sizeof text, format, value);
  MXwwritemsg(x, y, text);
}

char* MXformatcommanum(double value, char* buffer) {
  char digits[512];
  std::snprintf(digits, sizeof digits, "%.0f", value);
  const size_t n = std::strlen(digits);
  size_t o = 0;
  for (size_t i = 0; i < n && o < 62; ++i) {
    buffer[o++] = digits[i];
    // A comma after every digit whose remaining count is a multiple of three, but
    // none after the last digit nor after a sign.
    if (i + 1 < n && (n - 1 - i) % 3 == 0 && digits[i] >= '0' && digits[i] <= '9' && o < 62)
      buffer[o++] = ',';
  }
  buffer[o] = 0;
  return buffer;
}

void MXwwritecommanum(int x, int y, double value) {
  char text[64];
  MXwwritemsg(x, y, MXformatcommanum(value, text));
}

void MXwwriteclippedmsg(int clip_x, int clip_y, int clip_wd, int clip_ht, int x, int y,
                        const char* text) {
  const MXWindow& w = current();
  const int h = MXtextheight();
  bool bad = false;
  if (clip_x < 0) {
    MXelog(0, "Negative value passed to clip_x in MXwwriteclippedmsg\n");
    bad = true;
  }
  if (clip_y < 0) {
    MXelog(0, "Negative value passed to clip_y in MXwwriteclippedmsg\n");
    bad = true;
  }
  if (clip_wd < 1) {
    MXelog(0, "Non-positive value passed to clip_wd in MXwwriteclippedmsg\n");
    bad = true;
  }
  if (clip_ht < 1) {
    MXelog(0, "Non-positive value passed to clip_ht in MXwwriteclippedmsg\n");
    bad = true;
  }
  if (clip_x >= w.wd) {
    MXelog(0, "Value passed to clip_x is beyond right edge of window in");
    MXelog(0, " MXwwriteclippedmsg\n");
    bad = true;
  }
  if (clip_y >= w.ht) {
    MXelog(0, "Value passed to clip_y is beyond bottom edge of window in");
    MXelog(0, " MXwwriteclippedmsg\n");
    bad = true;
  }
  if (clip_x + clip_wd >= w.wd) clip_wd = w.wd - clip_x;
  if (bad) return;
  MXPset_clip_rect(w.x + clip_x + 1, w.y + clip_y - h, clip_wd - 2, clip_ht);
  MXPdraw_string(w.x + x + 1, w.y + y, text ? text : "");
  MXPsetcurrentwindow(InfState.cw);
}

const char* MXgetmsg(const char* name) {
  const int i = getname(InfState.msgs, sizeof(Message), InfState.nummsgs, name, nullptr);
  return i >= 0 ? InfState.msgs[i].text : "";
}

// Framing -------------------------------------------------------------------------------------

void MXframefield(const char* window, const char* field, int c1, int c2) {
  if (!field) {
    MXelog(0, "NULL passed to parameter field in MXframefield; \n");
    MXelog(0, "frame not drawn.\n");
    return;
  }
  const int previous = InfState.cw;
  if (window) MXsetcurrentnamedwindow(window);
  const FieldType& f = InfState.fields[MXfieldnum(field)];
  drawshadedframe(f.x, f.y, f.wd, f.ht, c1, c2);
  MXPsetcurrentwindow(previous);
}

void MXframedragarea(const char* window, const char* area, int c1, int c2) {
  if (!window) {
    MXelog(0, "NULL passed to parameter window in MXframedragarea\n");
    MXelog(0, "frame not drawn.\n");
    return;
  }
  if (!area) {
    MXelog(0, "NULL passed to parameter dragarea in MXframedragarea\n");
    MXelog(0, "frame not drawn.\n");
    return;
  }
  const int previous = InfState.cw;
  int w, b;
  const MXButton& btn = named_button(window, area, &w, &b);
  MXPsetcurrentwindow(w);
  drawshadedframe(btn.x, btn.y, btn.wd, btn.ht, c1, c2);
  MXPsetcurrentwindow(previous);
}

// Timed functions -----------------------------------------------------------------------------

void MXactivatefunction(const char* name) {
  Function& f = InfState.funcs[MXfunctionnum(name)];
  f.active = 1;
  f.itime = -1;
}

void MXdeactivatefunction(const char* name) { InfState.funcs[MXfunctionnum(name)].active = 0; }

// Saved interface state ---------------------------------------------------------------------

size_t MXwindowstatesize() {
  size_t values = 0;
  for (int w = 0; w < InfState.numwindows; ++w) values += 1 + static_cast<size_t>(Win[w].numbuttons);
  for (int m = 0; m < InfState.numpopups; ++m) values += 1 + 2 * static_cast<size_t>(Popups[m].numitems);
  return values * 4;
}

void MXsavewindows(FILE* file) {
  const char* const prefix = "Error while saving state of program.";
  for (int w = 0; w < InfState.numwindows; ++w) {
    if (!put_int(file, Win[w].active)) MXelog(0, "%s  Win[%d].active\n", prefix, w);
    for (int b = 0; b < Win[w].numbuttons; ++b)
      if (!put_int(file, Win[w].wb[b].active)) MXelog(0, "%sWin[%d].wb[%d].active\n", prefix, w, b);
  }
  for (int m = 0; m < InfState.numpopups; ++m) {
    if (!put_int(file, Popups[m].active)) MXelog(0, "%sPopups[%d].active \n", prefix, m);
    for (int i = 0; i < Popups[m].numitems; ++i) {
      if (!put_int(file, Popups[m].item[i].active))
        MXelog(0, "%sPopups[%d].item[%d].active\n", prefix, m, i);
      if (!put_int(file, Popups[m].item[i].checked))
        MXelog(0, "%sPopups[%d].item[%d].checked\n", prefix, m, i);
    }
  }
}

void MXloadwindows(FILE* file) {
  const char* const prefix = "Error while loading saved state of program.";
  int v;
  for (int w = 0; w < InfState.numwindows; ++w) {
    if (get_int(file, &v)) Win[w].active = v;
    else MXelog(0, "%sWin[%d].active\n", prefix, w);
    for (int b = 0; b < Win[w].numbuttons; ++b) {
      if (get_int(file, &v)) Win[w].wb[b].active = static_cast<ButtonStatusType>(v);
      else MXelog(0, "%sWin[%d].wb[%d].active\n", prefix, w, b);
    }
  }
  for (int m = 0; m < InfState.numpopups; ++m) {
    if (get_int(file, &v)) Popups[m].active = v;
    else MXelog(0, "%sPopups[%d].active \n", prefix, m);
    for (int i = 0; i < Popups[m].numitems; ++i) {
      if (get_int(file, &v)) Popups[m].item[i].active = static_cast<ButtonStatusType>(v);
      else MXelog(0, "%sPopups[%d].item[%d].active\n", prefix, m, i);
      if (get_int(file, &v)) Popups[m].item[i].checked = v;
      else MXelog(0, "%sPopups[%d].item[%d].checked\n", prefix, m, i);
    }
  }
}

int MXcheckwindowstate(const unsigned char* block, size_t n) {
  if (n != MXwindowstatesize() || (n > 0 && !block)) return 0;
  auto state_ok = [](int v) { return v >= TMP_DISABLED && v <= ENABLED; };
  const unsigned char* p = block;
  auto next = [&p]() {
    const int v = read_le32(p);
    p += 4;
    return v;
  };
  for (int w = 0; w < InfState.numwindows; ++w) {
    if (next() < 0) return 0;
    for (int b = 0; b < Win[w].numbuttons; ++b)
      if (!state_ok(next())) return 0;
  }
  for (int m = 0; m < InfState.numpopups; ++m) {
    const int active = next();
    if (active != 0 && active != 1) return 0;
    for (int i = 0; i < Popups[m].numitems; ++i) {
      if (!state_ok(next())) return 0;
      next();  // checked: any value shows or hides the mark
    }
  }
  return 1;
}

void MXapplywindowstate(const unsigned char* block) {
  const unsigned char* p = block;
  auto next = [&p]() {
    const int v = read_le32(p);
    p += 4;
    return v;
  };
  for (int w = 0; w < InfState.numwindows; ++w) {
    Win[w].active = next();
    for (int b = 0; b < Win[w].numbuttons; ++b) Win[w].wb[b].active = static_cast<ButtonStatusType>(next());
  }
  for (int m = 0; m < InfState.numpopups; ++m) {
    Popups[m].active = next();
    for (int i = 0; i < Popups[m].numitems; ++i) {
      Popups[m].item[i].active = static_cast<ButtonStatusType>(next());
      Popups[m].item[i].checked = next();
    }
  }
}

void MXgetwindowstate(unsigned char* block, int main_screen) {
  unsigned char* p = block;
  auto put = [&p](int v) {
    const unsigned u = static_cast<unsigned>(v);
    for (int i = 0; i < 4; ++i) *p++ = static_cast<unsigned char>(u >> (8 * i));
  };
  auto button = [main_screen](ButtonStatusType b) { return main_screen && b == TMP_DISABLED ? ENABLED : b; };
  for (int w = 0; w < InfState.numwindows; ++w) {
    const int active = Win[w].active;
    put(!main_screen || active == 0 ? active : Win[w].popup ? 0 : 1);
    for (int b = 0; b < Win[w].numbuttons; ++b) put(button(Win[w].wb[b].active));
  }
  for (int m = 0; m < InfState.numpopups; ++m) {
    put(main_screen ? 0 : Popups[m].active);
    for (int i = 0; i < Popups[m].numitems; ++i) {
      put(Popups[m].item[i].active);
      put(Popups[m].item[i].checked);
    }
  }
}

// Files ---------------------------------------------------------------------------------------

FILE* MXopen(const char* name, const char* mode) {
  // Names are written with "/" between folders, which is this platform's separator.
  if (!name || !mode) return nullptr;
  return std::fopen(name, mode);
}

long MXfilesize(FILE* file) {
  const long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) {
    MXelog(-1, "Error: MXfilesize unable to determine file size.");
    return -1;
  }
  const long size = std::ftell(file);
  if (size < 0 || std::fseek(file, here, SEEK_SET) != 0)
    MXelog(-1, "Error: MXfilesize unable to determine file size.");
  return size;
}
