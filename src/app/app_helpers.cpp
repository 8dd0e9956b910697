// Small helpers shared by the command routines.
#include "app/app_helpers.h"

#include "ui/interface.h"
#include "ui/interface_model.h"

Field field_rect(const char* name) {
  Field f{};
  MXgetfieldrect(name, &f.x, &f.y, &f.wd, &f.ht, &f.color);
  return f;
}

int shown(const char* window) {
  int active = 0;
  MXgetwindowspecs(window, nullptr, nullptr, nullptr, nullptr, &active);
  return active >= 1 ? 1 : 0;
}

void redraw_enabled_buttons(const char* window) {
  const MXWindow& w = Win[MXwindownum(window)];
  for (int b = 0; b < w.numbuttons; ++b)
    if (!w.wb[b].drag && w.wb[b].active == ENABLED) MXenablebutton(window, w.wb[b].name, 1);
}

void write_field_text(const char* field, const char* text) {
  const Field f = field_rect(field);
  MXwclearrect(f.x, f.y, f.wd, f.ht);
  MXsetfont(LARGE);
  MXsetcolor(f.color);
  MXwwritemsg(f.x, f.y + 15, text);
}
