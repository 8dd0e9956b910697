// Small helpers of the command routines: a field's rectangle and colour in one
// record, whether a window is shown, and writing a text into a field.
#pragma once

#include <string>
#include <vector>

struct Field {
  int x, y, wd, ht, color;
};

// The named field of the interface file (fatal when there is none).
Field field_rect(const char* name);
// 1 while the window is shown (its level is at least 1).
int shown(const char* window);
// Draws every enabled button of a window again: after a modal window has come up,
// the windows made to keep reacting show their buttons as usable.
void redraw_enabled_buttons(const char* window);
// Clears the field in the current window and writes text at (x, y + 15) in the
// large font and the field's colour.
void write_field_text(const char* field, const char* text);

// The full path of a file named relative to the working directory, for the
// messages that tell the user where a file went.
std::string full_path(const std::string& name);
// A message line of at most `width` pixels in the current font per line, broken
// after "/" and blanks (a part wider by itself is cut between characters).
std::vector<std::string> wrap_text(const std::string& text, int width);
