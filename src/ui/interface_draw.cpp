// Drawing of windows with their borders, buttons (faces, bevels, one- and two-line
// labels, arrows, disabled diagonals) and graphics; popup menus over backing-store
// slot 1 with item highlight and check marks; the display-level bookkeeping that makes
// windows and menus modal; the shaded frame around fields and drag areas.
#include <algorithm>
#include <cstring>
#include <string>

#include "base/log.h"
#include "base/text.h"
#include "platform/platform.h"
#include "ui/interface.h"
#include "ui/help.h"
#include "ui/interface_model.h"

int PopUpSaveCurrWinNum = 0;
int PopupSaveMsg = -1;
int oldpopup = -1;
int olditemslot = -1;
int olditem = -1;

namespace {

constexpr int kMaxBorderFrames = 4096;

// Saves the pen state a drawing routine changes and puts it back when it goes.
struct PenGuard {
  int colour = MXgetcolor();
  FontSizeType font = MXPgetfont();
  int linesize = MXPgetlinesize();
  ~PenGuard() {
    MXsetlinesize(linesize);
    MXsetfont(font);
    MXsetcolor(colour);
  }
};

void line(int colour, int x1, int y1, int x2, int y2) {
  MXsetcolor(colour);
  MXPline(x1, y1, x2, y2);
}

void pixel(int colour, int x, int y) {
  MXsetcolor(colour);
  MXPdraw_pixel(x, y);
}

// The bevel of a framed button; `pressed` swaps the light and dark sides.
void bevel(const MXWindow& w, const MXButton& b, bool pressed) {
  const int X = w.x + b.x, Y = w.y + b.y, W = b.wd, H = b.ht;
  const int tl = pressed ? InfState.buttonBRcolor : InfState.buttonTLcolor;
  const int br = pressed ? InfState.buttonTLcolor : InfState.buttonBRcolor;
  MXsetlinesize(1);
  MXsetcolor(InfState.buttonborder);
  MXPframe_rect(X, Y, W, H);
  line(tl, X + 1, Y + 1, X + W - 2, Y + 1);
  line(tl, X + 1, Y + 1, X + 1, Y + H - 2);
  line(br, X + 2, Y + H - 2, X + W - 2, Y + H - 2);
  line(br, X + W - 2, Y + 2, X + W - 2, Y + H - 2);
  pixel(pressed ? 1 : 3, X + W - 2, Y + 1);
  pixel(pressed ? 3 : 1, X + 1, Y + H - 1);
}

// x of a label of width t by the button's label position.
int label_x(const MXButton& b, int X, int t, int aw, int m) {
  switch (b.labpos) {
    case CENTER:
      return X + (b.wd - t - aw - m) / 2;
    case RIGHT:
      return X + b.wd - t - aw - m - 6;
    default:  // LEFT, and any other letter the file gave
      return X + 5;
  }
}

int visible_items(const Popupmenu& m) {
  int n = 0;
  for (int i = 0; i < m.numitems; ++i)
    if (m.item[i].active != INVISIBLE) ++n;
  return n;
}

void fill_row(const Popupmenu& m, int slot, int colour) {
  MXsetlinesize(1);
  MXsetcolor(colour);
  MXPfill_rect(m.x + 1, m.y + 3 + 15 * slot, m.wd - 2, 15);
}

void bevel_of(int w, int b, bool pressed) {
  const MXButton& btn = Win[w].wb[b];
  if (!btn.border) return;
  PenGuard pen;
  const int previous = InfState.cw;
  MXPsetcurrentwindow(w);
  bevel(Win[w], btn, pressed);
  MXPsetcurrentwindow(previous);
}

}  // namespace

void MXPsetcurrentwindow(int w) {
  if (w < 0 || w >= InfState.numwindows) return;
  InfState.cw = w;
  const MXWindow& win = Win[w];
  MXPset_clip_rect(win.x + win.bordersize, win.y + win.bordersize, win.wd - 2 * win.bordersize,
                   win.ht - 2 * win.bordersize);
}

void drawwindowborders(int w, int colour) {
  PenGuard pen;
  const MXWindow& win = Win[w];
  MXsetlinesize(1);
  MXsetcolor(colour);
  MXPset_clip_rect(win.x, win.y, win.wd, win.ht);
  // At most 4096 frames deep, so that an absurd width in a file cannot stall drawing.
  const int frames = std::min(win.bordersize, kMaxBorderFrames);
  for (int i = 0; i < frames; ++i)
    MXPframe_rect(win.x + i, win.y + i, win.wd - 2 * i, win.ht - 2 * i);
  MXPsetcurrentwindow(w);
}

void drawwindow(int w) {
  PenGuard pen;
  MXWindow& win = Win[w];
  MXPsetcurrentwindow(w);
  MXsetlinesize(1);
  MXsetcolor(win.bgcolor);
  MXPfill_rect(win.x, win.y, win.wd, win.ht);
  drawwindowborders(w, win.bordercolor);
  for (int b = 0; b < win.numbuttons; ++b)
    if (win.wb[b].active != INVISIBLE) drawbutton(w, b, 0);
  for (int g = 0; g < win.numgraphics; ++g) drawgraphic(&win.graphics[g]);
}

void drawbutton(int w, int b, int labelonly) {
  PenGuard pen;
  const MXWindow& win = Win[w];
  const MXButton& btn = win.wb[b];
  const int X = win.x + btn.x, Y = win.y + btn.y, W = btn.wd, H = btn.ht;
  if (!labelonly) {
    MXsetlinesize(1);
    MXsetcolor(btn.bgcolor);
    MXPfill_rect(X, Y, W, H);
    if (btn.border) bevel(win, btn, false);
  }
  if (btn.drag || !btn.text || std::strcmp(btn.text, "@@") == 0) return;

  MXsetcolor(btn.active == ENABLED ? btn.efgcolor : btn.dfgcolor);
  MXsetfont(btn.tsize);
  const int h = MXtextheight();
  const bool arrow = btn.arrow != NO_ARROW_SYM;
  const int m = arrow ? 4 : 0, aw = arrow ? W - 8 : 0, ah = arrow ? H - 8 : 0;

  if (const char* at = std::strchr(btn.text, '@')) {
    const std::string first(btn.text, static_cast<size_t>(at - btn.text));
    const char* second = at + 1;
    const int base1 = Y + (H - 2 * h - 2) / 2 + h;
    MXPdraw_string(label_x(btn, X, MXtextwidth(first.c_str()), aw, m), base1, first.c_str());
    MXPdraw_string(label_x(btn, X, MXtextwidth(second), aw, m), base1 + h, second);
  } else {
    const int t = MXtextwidth(btn.text);
    const int x = label_x(btn, X, t, aw, m);
    MXPdraw_string(x, Y + (H - h) / 2 + h + (H - h) % 2, btn.text);
    if (arrow) drawarrow(w, b, t ? x : X, t, aw, ah);
  }

  if (btn.active == DISABLED && InfState.diagonals && btn.border) {
    MXsetlinesize(1);
    line(InfState.buttonborder, X, Y + H - 1, X + W - 1, Y);
  }
}

void drawarrow(int w, int b, int x0, int t, int aw, int ah) {
  const MXWindow& win = Win[w];
  const MXButton& btn = win.wb[b];
  const int s = std::min(aw, ah);
  const int L = x0 + t + (aw - s) / 2 + 4;
  const int T = win.y + btn.y + (ah - s) / 2 + 4;
  const int R = L + s, B = T + s;
  const int Cx = (L + R) / 2, Cy = (T + B) / 2;
  int p[6];
  switch (btn.arrow) {
    case UP_ARROW_SYM: {
      const int q[6] = {Cx, T, L, B, R, B};
      std::copy(q, q + 6, p);
      break;
    }
    case DOWN_ARROW_SYM: {
      const int q[6] = {Cx, B, L, T, R, T};
      std::copy(q, q + 6, p);
      break;
    }
    case LEFT_ARROW_SYM: {  // tip on the right
      const int q[6] = {L, T, L, B, R, Cy};
      std::copy(q, q + 6, p);
      break;
    }
    case RIGHT_ARROW_SYM: {  // tip on the left
      const int q[6] = {L, Cy, R, T, R, B};
      std::copy(q, q + 6, p);
      break;
    }
    default:
      return;
  }
  MXPfillpoly(3, p);
}

void MXPdraw_depressed_button(int w, int b) { bevel_of(w, b, true); }

void MXPdraw_released_button(int w, int b) { bevel_of(w, b, false); }

void erasebutton(int w, int b) {
  PenGuard pen;
  const MXWindow& win = Win[w];
  const MXButton& btn = win.wb[b];
  MXPsetcurrentwindow(w);
  MXsetlinesize(1);
  MXsetcolor(win.bgcolor);
  MXPfill_rect(win.x + btn.x, win.y + btn.y, btn.wd, btn.ht);
}

void drawgraphic(const GraphicType* g) {
  PenGuard pen;
  const MXWindow& win = Win[InfState.cw];
  const int X = win.x + g->x, Y = win.y + g->y;
  MXsetlinesize(1);
  MXsetcolor(g->color);
  switch (g->type) {
    case 1:
      MXPline(X, Y, win.x + g->wd, win.y + g->ht);
      break;
    case 2:
      MXPline(X, Y, win.x + g->wd, win.y + g->ht);
      if (g->x != g->wd)
        MXPline(X, Y + 1, win.x + g->wd, Y + 1);
      else
        MXPline(X + 1, Y, X + 1, win.y + g->ht);
      break;
    case 3:
      if (g->attrib == 1)
        MXPfill_rect(X, Y, g->wd, g->ht);
      else
        MXPframe_rect(X, Y, g->wd, g->ht);
      break;
    case 4:
      if (g->attrib == 1) {
        MXPfill_rect(X, Y, g->wd, g->ht);
      } else {
        MXPframe_rect(X, Y, g->wd, g->ht);
        MXPframe_rect(X + 1, Y + 1, g->wd - 2, g->ht - 2);
      }
      break;
    case 6:
    case 7:
      if (!g->text) break;
      MXsetfont(g->type == 6 ? LARGE : SMALL);
      if (g->shadowcolor != 255) {
        MXsetcolor(g->shadowcolor);
        MXPdraw_string(X + 1, Y + 1, g->text);
        MXsetcolor(g->color);
      }
      MXPdraw_string(X, Y, g->text);
      break;
    default:
      break;
  }
}

void removewindow(int w) {
  MXPsetcurrentwindow(0);
  if (w < 0 || w >= InfState.numwindows) return;
  MXWindow& win = Win[w];
  if (win.active == 0) return;
  if (win.bstore == 1) {
    const int slot = win.bstore_to_use;
    if (slot >= 1 && slot < MX_BSTORE_SLOTS) InfState.backingstore[slot].inuse = 0;
    if (slot < 1 || slot >= MX_BSTORE_SLOTS || !MXPfrom_bstore(slot, win.x, win.y))
      MXelog(-1, "Error restoring backing store for window %s\n", win.name);
    win.bstore = 0;
  }
  if (win.popup) {
    --InfState.level;
    for (int i = 0; i < InfState.numwindows; ++i)
      if (Win[i].active == InfState.level) enable_buttons_after_popup(i);
  }
  win.active = 0;
}

void createpopupmenu(int m) {
  PenGuard pen;
  Popupmenu& menu = Popups[m];
  PopUpSaveCurrWinNum = InfState.cw;
  MXPsetcurrentwindow(MXwindownum("root"));
  InfState.activepopupwindow = m;
  ++InfState.level;
  menu.active = 1;
  menu.ht = 15 * visible_items(menu) + 7;
  if (InfState.backingstore[1].inuse) MXelog(-1, "Error - bstore %d is already occupied.\n", 1);
  InfState.backingstore[1].inuse = 1;
  if (!MXPto_bstore(1, menu.x, menu.y, menu.wd, menu.ht))
    MXelog(-1, "Error putting Popupwindow into backing store: %d %d %d %d\n", menu.x, menu.y,
           menu.wd, menu.ht);
  MXsetlinesize(1);
  MXsetcolor(menu.bg);
  MXPfill_rect(menu.x, menu.y, menu.wd, menu.ht);
  MXsetcolor(menu.bcolor);
  MXPframe_rect(menu.x, menu.y, menu.wd, menu.ht);
  int slot = 0;
  for (int i = 0; i < menu.numitems; ++i)
    if (menu.item[i].active != INVISIBLE) display_popup_label(m, i, slot++);
}

void removepopup() {
  const int m = InfState.activepopupwindow;
  if (m < 0 || m >= InfState.numpopups) return;
  Popupmenu& menu = Popups[m];
  --InfState.level;
  MXPsetcurrentwindow(0);
  menu.active = 0;
  if (!MXPfrom_bstore(1, menu.x, menu.y)) MXelog(-1, "Error restoring backing store for popupmenu\n");
  InfState.backingstore[1].inuse = 0;
  InfState.activepopupwindow = -1;
  MXdisplayhelpmessage(PopupSaveMsg);
  MXPsetcurrentwindow(PopUpSaveCurrWinNum);
}

void display_popup_label(int m, int item, int slot) {
  PenGuard pen;
  const Popupmenu& menu = Popups[m];
  const Menuitem& it = menu.item[item];
  MXsetfont(LARGE);
  MXsetcolor(it.active == ENABLED ? menu.enablefg : menu.disablefg);
  const int baseline = menu.y + 15 + 15 * slot;
  MXPdraw_string(menu.x + 1 + (menu.checklist ? 15 : 5), baseline, it.text ? it.text : "");
  if (it.checked) MXPdraw_string(menu.x + 6, baseline, "*");
}

void highlight(int x, int y) {
  const int m = InfState.activepopupwindow;
  if (m < 0 || m >= InfState.numpopups) return;
  PenGuard pen;
  const Popupmenu& menu = Popups[m];
  const int n = visible_items(menu);
  int slot = -1, item = -1;
  if (menu.x < x && x < menu.x + menu.wd && menu.y + 1 < y && y < menu.y + 15 * n + 2) {
    slot = pickitemslot(y, &menu);
    item = pickitem(y, &menu);
  }
  if (m == oldpopup && slot != olditemslot && olditemslot != -1 && olditem >= 0 &&
      olditem < menu.numitems && menu.item[olditem].active != INVISIBLE) {
    fill_row(menu, olditemslot, menu.bg);
    display_popup_label(m, olditem, olditemslot);
  }
  if (slot != -1 && slot != olditemslot && item >= 0 && menu.item[item].active != INVISIBLE) {
    fill_row(menu, slot, InfState.highlight);
    display_popup_label(m, item, slot);
  }
  oldpopup = m;
  olditemslot = slot;
  olditem = item;
}

void toggle_check(int m, int item, int colour) {
  Popupmenu& menu = Popups[m];
  Menuitem& it = menu.item[item];
  it.checked = !it.checked;
  if (m != InfState.activepopupwindow || it.active == INVISIBLE) return;
  PenGuard pen;
  int slot = 0;
  for (int i = 0; i < item; ++i)
    if (menu.item[i].active != INVISIBLE) ++slot;
  fill_row(menu, slot, pickitemslot(Cursy, &menu) == slot ? InfState.highlight : colour);
  display_popup_label(m, item, slot);
}

void disable_buttons_for_popup(int w) {
  const int previous = InfState.cw;
  MXPsetcurrentwindow(w);
  MXWindow& win = Win[w];
  for (int b = 0; b < win.numbuttons; ++b) {
    if (win.wb[b].drag || win.wb[b].active != ENABLED) continue;
    win.wb[b].active = TMP_DISABLED;
    drawbutton(w, b, 1);
  }
  MXPsetcurrentwindow(previous);
}

void enable_buttons_after_popup(int w) {
  const int previous = InfState.cw;
  MXPsetcurrentwindow(w);
  MXWindow& win = Win[w];
  for (int b = 0; b < win.numbuttons; ++b) {
    if (win.wb[b].drag || win.wb[b].active != TMP_DISABLED) continue;
    win.wb[b].active = ENABLED;
    drawbutton(w, b, 1);
  }
  MXPsetcurrentwindow(previous);
}

void drawshadedframe(int x, int y, int wd, int ht, int c1, int c2) {
  PenGuard pen;
  MXsetlinesize(1);
  MXsetcolor(c1);
  MXwdrawline(x - 1, y - 1, x + wd, y - 1);
  MXwdrawline(x - 2, y - 2, x + wd + 1, y - 2);
  MXwdrawline(x - 1, y - 1, x - 1, y + ht);
  MXwdrawline(x - 2, y - 2, x - 2, y + ht + 1);
  MXsetcolor(c2);
  MXwdrawline(x, y + ht, x + wd, y + ht);
  MXwdrawline(x - 1, y + ht + 1, x + wd + 1, y + ht + 1);
  MXwdrawline(x + wd, y, x + wd, y + ht);
  MXwdrawline(x + wd + 1, y - 1, x + wd + 1, y + ht + 1);
}
