// Small helpers shared by the command routines.
#include "app/app_helpers.h"

#include <filesystem>

#include "platform/platform.h"
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

std::string full_path(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(name, ec);
  return ec ? name : full.lexically_normal().string();
}

std::vector<std::string> wrap_text(const std::string& text, int width) {
  std::vector<std::string> lines(1);
  auto fits = [width](const std::string& s) { return MXtextwidth(s.c_str()) <= width; };
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find_first_of("/ ", start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string part = text.substr(start, end - start);
    start = end;
    if (fits(lines.back() + part)) {
      lines.back() += part;
      continue;
    }
    if (!lines.back().empty()) lines.emplace_back();
    for (char c : part) {
      if (!lines.back().empty() && !fits(lines.back() + c)) lines.emplace_back();
      lines.back() += c;
    }
  }
  return lines;
}
