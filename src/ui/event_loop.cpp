// The event loop: dispatch of presses, releases, idle ticks, keys and exposes to
// buttons, drag areas, popup menus and the application's routines; auto-repeat,
// drags, drag-area entry and exit tracking, and the active functions after every
// event.
#include "ui/event_loop.h"

#include <cstdio>
#include <cstdlib>

#include "base/log.h"
#include "platform/platform_headless.h"
#include "ui/help.h"
#include "ui/interface.h"

EventLoopState CurrState = NORMAL_STATE;
int FirstExposeSeen = 0;
int Fast = 0;

namespace {
// The pressed control and where it lives; CurrButt is null when no control was
// recorded (nothing pressed yet, or the press went to an open popup menu).
MXButton* CurrButt = nullptr;
int CurrWinnum = 0;
int CurrButtnum = 0;
int ButtonSaveCurrWinNum = 0;  // the current window at the moment of the press
int Depressed = 0;             // the pressed button is drawn depressed
int InDragProcess = 0;         // a drag in the pressed drag area is under way
int Drag_initx = 0, Drag_inity = 0;
int Oldx = 0, Oldy = 0;  // cursor position before the event now being handled
int FirstPressed = 0;    // a repeatable button was pressed; its repeat clock is not started
int holding = 0;         // repeats fired during this press
int threshold = 0;       // milliseconds (scaled) before the next repeat
long tused = 0;          // elapsed milliseconds times speedup

// The inside table: drag areas (window, button) the cursor is known to be inside.
int lastw[MX_INSIDE_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int lastb[MX_INSIDE_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

bool popup_open() { return InfState.activepopupwindow != -1; }

// The cursor relative to a button's top-left corner.
int rel_x(int w, int b) { return Cursx - (Win[w].x + Win[w].wb[b].x); }
int rel_y(int w, int b) { return Cursy - (Win[w].y + Win[w].wb[b].y); }

void draw_released_if_depressed() {
  if (CurrButt && !CurrButt->drag && Depressed) {
    MXPdraw_released_button(CurrWinnum, CurrButtnum);
    Depressed = 0;
  }
}

void held_repeatable_button() {
  if (FirstPressed) {
    holding = 0;
    threshold = MX_REPEAT_FIRST_MS;
    MXPstart_timer();
    FirstPressed = 0;
    return;
  }
  tused = MXPread_timer() * InfState.speedup;
  if (tused <= threshold) return;
  setlastcontrol(WINDOW, Win[CurrWinnum].name, CurrButt->name, -1);
  MXcall_named(CurrButt->func, CurrButt->name);
  threshold = holding < 4 ? MX_REPEAT_SLOW_MS : holding < 8 ? MX_REPEAT_FAST_MS : 0;
  MXPstart_timer();
  holding += 1;
}

void held_drag_area() {
  const int w = CurrWinnum, b = CurrButtnum;
  if (!InDragProcess && (Cursx != Drag_initx || Cursy != Drag_inity)) {
    InDragProcess = 1;
    setlastcontrol(WINDOW, Win[w].name, CurrButt->name, -1);
    MXcall_xy(CurrButt->func, rel_x(w, b), rel_y(w, b), DRAG_INIT);
  } else if (InDragProcess && (Cursx != Oldx || Cursy != Oldy)) {
    MXcall_xy(CurrButt->func, rel_x(w, b), rel_y(w, b), DRAG_PROCESS);
  }
}

void next_event(MXEvent* event) {
  MXPset_heartbeat(MXPheartbeat_needed());
  MXPnext_event(event);
}
}  // namespace

// Only a held repeatable button, a drag area held down and the active functions
// advance with time; while none of them is pending the platform may sleep until
// real input comes, and the ticks resume at once when one starts.
bool MXPheartbeat_needed() {
  if (CurrState == MOUSEDOWN_STATE && CurrButt && (CurrButt->repeatable || CurrButt->drag))
    return true;
  for (int i = 0; i < InfState.numfuncs; ++i)
    if (InfState.funcs[i].active) return true;
  return false;
}

// Start ----------------------------------------------------------------------------

void MXmouseinit() {
  Cursx = Maxx / 2;
  Cursy = Maxy / 2;
  if (!mouse_present()) {
    std::fputs("You must have a mouse installed to run this program.\n", stdout);
    std::fflush(stdout);
    std::exit(-1);
  }
}

void MXinterface() {
  MXmouseinit();
  MXPdo_events_forever();
}

void MXPdo_events_forever() {
  MXEvent event{};
  do {
    next_event(&event);
  } while (event.type != MX_EXPOSE);
  FirstExposeSeen = 1;
  for (;;) {
    MXPdo_one_event(&event);
    next_event(&event);
  }
}

void MXdoeventsandreturn() {
  MXEvent event{};
  // The headless platform can tell when its input has run dry; a window always has
  // a next event to wait for, so there this loop goes on for ever.
  if (MXPheadless()) {
    while (MXPheadless_pending()) {
      next_event(&event);
      MXPdo_one_event(&event);
    }
    return;
  }
  for (;;) {
    next_event(&event);
    MXPdo_one_event(&event);
  }
}

void MXPdo_one_event(const MXEvent* event) {
  Oldx = Cursx;
  Oldy = Cursy;
  if (event->type != MX_EXPOSE) {
    Cursx = event->mousex;
    Cursy = event->mousey;
  }
  switch (event->type) {
    case MX_EXPOSE: MXPdo_evexpose(); break;
    case MX_PRESS: MXPdo_evmousedown(); break;
    case MX_RELEASE: MXPdo_evmouseup(); break;
    case MX_KEY: MXPkeyevent(Cursx, Cursy, event->key); break;
    case MX_IDLE: MXPdo_evnone(); break;
    default: break;
  }
  if (popup_open()) highlight(Cursx, Cursy);
  if (Cursx != Oldx || Cursy != Oldy) MXPprocessmouseinside(Cursx, Cursy);
  MXPdoactivefuncts(Cursx, Cursy);
}

// Handlers -------------------------------------------------------------------------

void MXPdo_evexpose() {
  const int colour = MXgetcolor();
  const int pen = MXPgetlinesize();
  const int window = InfState.cw;
  MXcall_plain(InfState.redrawfunc);
  if (popup_open()) {
    const int m = InfState.activepopupwindow;
    const Popupmenu& menu = Popups[m];
    MXsetlinesize(1);
    MXPsetcurrentwindow(MXwindownum("root"));
    MXsetcolor(menu.bg);
    MXPfill_rect(menu.x, menu.y, menu.wd, menu.ht);
    MXsetcolor(menu.bcolor);
    MXPframe_rect(menu.x, menu.y, menu.wd, menu.ht);
    int slot = 0;
    for (int i = 0; i < menu.numitems; ++i)
      if (menu.item[i].active != INVISIBLE) display_popup_label(m, i, slot++);
    // Every row is plain again: let the highlight mark the item under the cursor anew.
    olditemslot = -1;
    olditem = -1;
  }
  MXsetcolor(colour);
  MXPsetcurrentwindow(window);
  MXsetlinesize(pen);
}

void MXPdo_evmousedown() {
  if (CurrState != NORMAL_STATE) return;
  if (popup_open()) {
    // The release decides what happens to the menu; no control is recorded.
    CurrState = MOUSEDOWN_STATE;
    CurrButt = nullptr;
    return;
  }
  // The last enabled control under the cursor wins: later windows and later buttons
  // lie on top.
  int found_w = -1, found_b = -1;
  int w = 0, b = 0;
  while (MXPgetbutton(Cursx, Cursy, &w, &b)) {
    if (Win[w].wb[b].active == ENABLED) {
      found_w = w;
      found_b = b;
    }
    ++b;
  }
  if (found_w < 0) {
    MXbell();
    return;
  }
  CurrState = MOUSEDOWN_STATE;
  ButtonSaveCurrWinNum = InfState.cw;
  CurrWinnum = found_w;
  CurrButtnum = found_b;
  CurrButt = &Win[found_w].wb[found_b];
  MXPsetcurrentwindow(found_w);
  InfState.cb = found_b;
  InDragProcess = 0;
  if (!CurrButt->drag) {
    Depressed = 1;
    MXPdraw_depressed_button(found_w, found_b);
    if (CurrButt->repeatable) FirstPressed = 1;
  } else {
    Depressed = 0;
    Drag_initx = Cursx;
    Drag_inity = Cursy;
  }
}

void MXPdo_evmouseup() {
  if (CurrState != MOUSEDOWN_STATE) return;
  CurrState = NORMAL_STATE;
  if (popup_open()) {
    MXPhandle_popups(Cursy, MXPget_popup_item(Cursx, Cursy));
  } else if (CurrButt && CurrButt->active == ENABLED) {
    MXButton* const btn = CurrButt;
    const int w = CurrWinnum, b = CurrButtnum;
    if (!btn->drag) {
      draw_released_if_depressed();
      if (MXPinside_button(Cursx, Cursy, w, b)) {
        setlastcontrol(WINDOW, Win[w].name, btn->name, -1);
        MXPsetcurrentwindow(ButtonSaveCurrWinNum);
        PopupSaveMsg = MXgetcurrmsg();
        MXcall_named(btn->func, btn->name);
        if (btn->popupmenunum != -1) createpopupmenu(btn->popupmenunum);
      }
    } else {
      setlastcontrol(WINDOW, Win[w].name, btn->name, -1);
      MXPsetcurrentwindow(w);
      if (InDragProcess) {
        InDragProcess = 0;
        MXcall_xy(btn->func, rel_x(w, b), rel_y(w, b), DRAG_FINAL, btn->name);
      } else if (MXPinside_button(Cursx, Cursy, w, b)) {
        MXcall_xy(btn->func, rel_x(w, b), rel_y(w, b), MOUSE_CLICK, btn->name);
      }
    }
  }
  // A press that ends leaves no drag and no repeat behind, whatever happened to the
  // control meanwhile.
  InDragProcess = 0;
  FirstPressed = 0;
  Depressed = 0;
  CurrButt = nullptr;
  CurrWinnum = 0;
  CurrButtnum = 0;
}

void MXPdo_evnone() {
  if (CurrState != MOUSEDOWN_STATE || popup_open() || !CurrButt) return;
  const int w = CurrWinnum, b = CurrButtnum;
  if (!MXPinside_button(Cursx, Cursy, w, b) || CurrButt->active != ENABLED) {
    // Outside (or disabled meanwhile): show the button released; a drag waits.
    draw_released_if_depressed();
    return;
  }
  MXPsetcurrentwindow(w);
  if (!CurrButt->drag && !Depressed) {
    MXPdraw_depressed_button(w, b);
    Depressed = 1;
  }
  if (CurrButt->drag)
    held_drag_area();
  else if (CurrButt->repeatable)
    held_repeatable_button();
}

void MXPkeyevent(int x, int y, int key) {
  const int k = key & 0xff;
  if (k == 17) MXelog(-1, "Program terminated by the user pressing 'Control-Q'.");
  if (k == 20) {
    Fast = !Fast;
    return;
  }
  // F1 has no code among the keys: the platform reports it as 0 and it opens help
  // through its own routine, whatever key routine is installed (or none).
  if (k == MX_HELP_KEY) {
    if (HelpKeyFunc) HelpKeyFunc();
    return;
  }
  if (!InfState.keyfunc) return;
  const MXWindow& cw = Win[InfState.cw];
  MXcall_xy(InfState.keyfunc, x - cw.x, y - cw.y, k);
}

// Hit tests --------------------------------------------------------------------------

int MXPinside_button(int x, int y, int window, int button) {
  const MXWindow& w = Win[window];
  const MXButton& b = w.wb[button];
  const int left = w.x + b.x, top = w.y + b.y;
  return left < x && x < left + b.wd && top < y && y < top + b.ht ? 1 : 0;
}

int MXPgetbutton(int x, int y, int* window, int* button) {
  for (; *window < InfState.numwindows; ++*window, *button = 0) {
    const MXWindow& w = Win[*window];
    if (w.active != InfState.level) continue;
    if (*button < 0) *button = 0;
    for (; *button < w.numbuttons; ++*button)
      if (MXPinside_button(x, y, *window, *button)) return 1;
  }
  return 0;
}

// Drag-area entry and exit ------------------------------------------------------------

void MXPprocessmouseinside(int x, int y) {
  const int saved = InfState.cw;
  for (int i = 0; i < MX_INSIDE_SLOTS; ++i) {
    if (lastw[i] == -1) continue;
    const int w = lastw[i], b = lastb[i];
    if (Win[w].active == InfState.level) {
      if (!MXPinside_button(x, y, w, b)) {
        lastw[i] = lastb[i] = -1;
        MXPsetcurrentwindow(w);
        MXcall_xy(Win[w].wb[b].func, x - (Win[w].x + Win[w].wb[b].x),
                  y - (Win[w].y + Win[w].wb[b].y), MOUSE_OUTSIDE);
      }
    } else {
      lastw[i] = lastb[i] = -1;
    }
  }
  int w = 0, b = 0;
  while (MXPgetbutton(x, y, &w, &b)) {
    if (Win[w].wb[b].drag) {
      int slot = -1, free_slot = -1;
      for (int i = 0; i < MX_INSIDE_SLOTS; ++i) {
        if (lastw[i] == w && lastb[i] == b) slot = i;
        if (lastw[i] == -1 && free_slot == -1) free_slot = i;
      }
      if (slot == -1) {
        if (free_slot == -1) {
          MXelog(0, "processmouseinside: Too many overlapping drag areas.");
          MXelog(-1, "Max = |%d|\n", MX_INSIDE_SLOTS);
        }
        lastw[free_slot] = w;
        lastb[free_slot] = b;
      }
      MXPsetcurrentwindow(w);
      MXcall_xy(Win[w].wb[b].func, x - (Win[w].x + Win[w].wb[b].x),
                y - (Win[w].y + Win[w].wb[b].y), MOUSE_INSIDE);
    }
    ++b;
  }
  MXPsetcurrentwindow(saved);
}

// Active functions ----------------------------------------------------------------------

void MXPdoactivefuncts(int x, int y) {
  for (int i = 0; i < InfState.numfuncs; ++i)
    if (InfState.funcs[i].active) MXcall_xy(InfState.funcs[i].func, x, y, 0);
}

// Popup menus ----------------------------------------------------------------------------

int MXPget_popup_item(int x, int y) {
  if (!popup_open()) return -1;
  const Popupmenu& m = Popups[InfState.activepopupwindow];
  if (x < m.x || x > m.x + m.wd || y < m.y || y > m.y + m.ht) return -1;
  return pickitem(y, &m);
}

int MXPhandle_popups(int y, int item) {
  if (!popup_open()) return 0;
  Popupmenu& m = Popups[InfState.activepopupwindow];
  if (y <= m.y + 1 || item < 0 || item >= m.numitems) {
    setlastcontrol(NONE, "", "", -1);
    removepopup();
    MXcall_plain(m.func);
    return 0;
  }
  Menuitem& it = m.item[item];
  if (it.active == DISABLED) {
    MXbell();
    setlastcontrol(NONE, "", "", -1);
    return 0;
  }
  if (!it.func) return 1;
  if (m.checklist) {
    toggle_check(InfState.activepopupwindow, item, InfState.highlight);
  } else {
    setlastcontrol(NONE, "", "", -1);
    removepopup();
  }
  setlastcontrol(MENU, m.name, "", item);
  MXcall_named(it.func, it.name);
  return 1;
}

// Key routine ------------------------------------------------------------------------------

void MXcharfunc(const char* name) {
  InfState.keyfunc = InfState.funcs[MXfunctionnum(name)].func;
}

void MXclearcharfunc() { InfState.keyfunc = nullptr; }

int (*HelpKeyFunc)() = nullptr;

void MXPreset_event_loop() {
  CurrState = NORMAL_STATE;
  FirstExposeSeen = 0;
  Fast = 0;
  CurrButt = nullptr;
  CurrWinnum = CurrButtnum = ButtonSaveCurrWinNum = 0;
  Depressed = InDragProcess = FirstPressed = 0;
  Drag_initx = Drag_inity = Oldx = Oldy = 0;
  holding = threshold = 0;
  tused = 0;
  for (int i = 0; i < MX_INSIDE_SLOTS; ++i) lastw[i] = lastb[i] = -1;
}
