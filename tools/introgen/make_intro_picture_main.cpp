// make_intro_picture: draws the screen guide (the intro picture) with the program's
// own interface file, fonts and drawing on the headless screen, and writes it as a
// RUN 4-bit picture whose pixel codes index the program's intro colour table.
//
//   make_intro_picture [--data DIR] [--out FILE] [--screens DIR]
//
// DIR is the program's data directory (default "data"); FILE defaults to
// DIR/images/intro.rl4. With --screens, PNG pictures of the program's windows with
// example figures are written to that directory, for checking the layout by eye.
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "base/log.h"
#include "pictures/picture_drawing.h"
#include "pictures/run_length_encoder.h"
#include "pictures/run_length_picture.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "sample_screens.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace fs = std::filesystem;

namespace {

// The colour names in the order of the program's intro colour table: a picture code
// c is shown in the colour named c-th.
const char* const kIntroColours[16] = {"black", "dgray",   "mgray", "lgray",  "bluegray", "lblue",
                                       "peach", "blue",    "green", "lpurple", "red",     "yellow",
                                       "lcyan", "magenta", "sandy", "white"};

int no_op(int, int, int, const char*) { return 1; }

// Binds every word of the interface file to a routine that does nothing: the
// generator draws the windows but runs none of the program's commands.
std::vector<IntrFunction> bind_every_word(const std::string& text) {
  static std::set<std::string> words;
  bool in_comment = false, in_bar = false;
  std::string word;
  auto flush = [&] {
    if (!word.empty()) words.insert(word[0] == '@' ? word.substr(1) : word);
    word.clear();
  };
  for (char c : text) {
    if (in_comment) {
      if (c == '\n' || c == '\r') in_comment = false;
      continue;
    }
    if (in_bar) {
      if (c == '|' || c == '\n') in_bar = false;
      continue;
    }
    const bool letter = std::isalpha(static_cast<unsigned char>(c)) || c == '@';
    if (letter || (!word.empty() && (std::isalnum(static_cast<unsigned char>(c)) || c == '_'))) {
      word += c;
      continue;
    }
    flush();
    if (c == '#') in_comment = true;
    if (c == '|') in_bar = true;
  }
  flush();
  std::vector<IntrFunction> table;
  for (const std::string& w : words) table.push_back({w.c_str(), no_op});
  return table;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "make_intro_picture: %s\n", message.c_str());
  return 1;
}

struct Area {
  int x, y, wd, ht;
};

Area intro_area() {
  int wx = 0, wy = 0, fx = 0, fy = 0, fwd = 0, fht = 0, c = 0;
  MXgetwindowspecs("instruction", &wx, &wy, nullptr, nullptr, nullptr);
  MXgetfieldrect("introfield", &fx, &fy, &fwd, &fht, &c);
  return {wx + fx, wy + fy, fwd, fht};
}

// The screen area as picture codes; false when a pixel has a colour the intro
// table lacks.
bool picture_codes(const Area& a, std::vector<uint16_t>* codes) {
  int code_of[256];
  for (int& c : code_of) c = -1;
  for (int c = 0; c < 16; ++c) {
    const int index = MXconvertcolor(kIntroColours[c]);
    if (index >= 0 && code_of[index] < 0) code_of[index] = c;
  }
  codes->clear();
  for (int y = a.y; y < a.y + a.ht; ++y)
    for (int x = a.x; x < a.x + a.wd; ++x) {
      const int code = code_of[MXPget_pixel(x, y)];
      if (code < 0) return false;
      codes->push_back(static_cast<uint16_t>(code));
    }
  return true;
}

// Reads the written picture back and compares it with the codes.
bool same_picture(const std::string& path, const Area& a, const std::vector<uint16_t>& codes) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 8) return false;
  std::vector<uint16_t> buffer(bytes.size() / 2 + 1);
  MXPicture picture{};
  if (!MXinitpicmem(bytes.data(), bytes.size(), &picture, buffer.data())) return false;
  if (picture.cols != a.wd || picture.rows != a.ht) return false;
  std::vector<uint16_t> row(static_cast<size_t>(a.wd));
  for (int y = 0; y < a.ht; ++y) {
    MXgetpixel(&picture, 0, y, row.data(), a.wd);
    for (int x = 0; x < a.wd; ++x)
      if (row[static_cast<size_t>(x)] != codes[static_cast<size_t>(y * a.wd + x)]) return false;
  }
  return true;
}

std::string VersionPath;

void base_screen(int message) {
  MXdrawnamedwindow("root", 0, 0);
  if (!VersionPath.empty()) MXdisplayversion(VersionPath.c_str());
  MXdrawnamedwindow("message", 0, 0);
  draw_help_message(message);
}

void main_screen(int message) {
  base_screen(message);
  draw_sample_pane("top", example_pane());
  draw_sample_pane("bottom", second_example_pane());
}

void shot(const fs::path& dir, const char* name) {
  MXPwrite_screen_png((dir / name).string().c_str());
}

int map_colour(unsigned value, int, int, int) {
  return value == 255 ? 0 : static_cast<int>(value % 14) + 1;
}

void draw_map(const std::string& path, const char* field_name, int scale) {
  std::ifstream in(path, std::ios::binary);
  static std::vector<std::vector<unsigned char>> keep;
  keep.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<unsigned char>& bytes = keep.back();
  if (bytes.size() < 8) return;
  static std::vector<std::vector<uint16_t>> buffers;
  buffers.emplace_back(bytes.size() / 2 + 1);
  static MXPicture pictures[4];
  static int n = 0;
  MXPicture* picture = &pictures[n++ % 4];
  if (!MXinitpicmem(bytes.data(), bytes.size(), picture, buffers.back().data())) return;
  int x = 0, y = 0, wd = 0, ht = 0, c = 0;
  MXgetfieldrect(field_name, &x, &y, &wd, &ht, &c);
  MXwdrawpict(picture, x, y, wd, ht, 0, 0, scale, map_colour);
}

// Pictures of the program's windows with example figures, for checking by eye.
void write_screens(const fs::path& dir, const fs::path& data) {
  fs::create_directories(dir);
  VersionPath = (data / "info" / "pop.txt").string();
  base_screen(13);
  MXvisiblebutton("message", "done", 1);
  draw_screen_guide();
  shot(dir, "intro.png");
  MXinvisiblebutton("message", "done", 0);

  main_screen(4);
  shot(dir, "main.png");

  main_screen(2);
  MXcreatenamedpopup("options");
  MXPwrite_screen_png((dir / "options.png").string().c_str());
  removepopup();

  main_screen(10);
  MXdrawnamedwindow("setmig", 0, 1);
  MXsetcurrentnamedwindow("setmig");
  for (const char* f : {"SETMIG", "CURRMIG", "SETMIGYEAR", "CURRMIGYEAR"}) {
    int x = 0, y = 0, wd = 0, ht = 0, c = 0;
    MXgetfieldrect(f, &x, &y, &wd, &ht, &c);
    MXsetfont(LARGE);
    MXsetcolor(c);
    if (std::strstr(f, "YEAR"))
      MXwwriteint(4, x, y + 15, 2025);
    else
      MXwwriteint(10, x, y + 15, -100000000);
  }
  shot(dir, "setmig.png");
  MXremovenamedwindow("setmig");

  main_screen(4);
  for (const char* w : {"topbirth", "topdeath", "topinfant"}) MXdrawnamedwindow(w, 0, 0);
  MXdisablebutton("top", "simulate", 1);
  shot(dir, "editing.png");
  for (const char* w : {"topbirth", "topdeath", "topinfant"}) MXremovenamedwindow(w);

  main_screen(3);
  MXdrawnamedwindow("map", 0, 1);
  MXsetcurrentnamedwindow("map");
  draw_map((data / "images" / "regions.rl8").string(), "SMAP", 1);
  draw_map((data / "images" / "countries.rl8").string(), "LMAP", 1);
  for (const char* f : {"CNAMEBACK", "SNAMEBACK", "MSCALEBACK", "searchtext"}) {
    int x = 0, y = 0, wd = 0, ht = 0, c = 0;
    MXgetfieldrect(f, &x, &y, &wd, &ht, &c);
    MXsetcolor(c);
    MXwfillrect(x, y, wd, ht);
  }
  MXsetfont(LARGE);
  MXsetcolor(MXconvertcolor("black"));
  MXwwritemsg(82, 369, "Latin America and the Caribbean");
  MXwwritemsg(82, 397, "Saint Vincent and the Grenadines");
  MXwwriteint(3, 332, 122, 4);
  MXwwritemsg(471, 35, "united");
  shot(dir, "map.png");
  MXremovenamedwindow("map");

  for (const char* name : {"main.hlp", "tech.txt", "geo.txt", "options.hlp", "pop.txt", "modeling.txt"}) {
    main_screen(10);
    draw_help_page((data / "info" / name).string());
    shot(dir, (std::string("help_") + name + ".png").c_str());
    MXremovenamedwindow("help");
  }

  main_screen(10);
  MXalert(10, 0, "loadalert1", "loadalert2", "loadalert3", "loadalert4", "");
  shot(dir, "alert.png");
  MXremovenamedwindow("alert");

  main_screen(15);
  MXdrawnamedwindow("quit", 0, 1);
  shot(dir, "quit.png");
  MXremovenamedwindow("quit");
}

}  // namespace

int main(int argc, char** argv) {
  fs::path data = "data", out, screens;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 < argc && arg == "--data")
      data = argv[++i];
    else if (i + 1 < argc && arg == "--out")
      out = argv[++i];
    else if (i + 1 < argc && arg == "--screens")
      screens = argv[++i];
    else
      return fail("usage: make_intro_picture [--data DIR] [--out FILE] [--screens DIR]");
  }
  data = fs::absolute(data);
  out = out.empty() ? data / "images" / "intro.rl4" : fs::absolute(out);
  if (!screens.empty()) screens = fs::absolute(screens);
  const fs::path interface_file = data / "varnock.inf";
  std::ifstream in(interface_file, std::ios::binary);
  if (!in) return fail("cannot read " + interface_file.string());
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  // The library writes error.log into the working directory: use a scratch one.
  char scratch[] = "/tmp/make-intro-picture-XXXXXX";
  if (!mkdtemp(scratch)) return fail("cannot make a scratch directory");
  fs::current_path(scratch);

  static const std::vector<IntrFunction> table = bind_every_word(text);
  MXPuse_headless(true);
  MXsetfunctiontable(table.data(), static_cast<int>(table.size()));
  MXinterfaceinit("Demovar", interface_file.string().c_str(), 0, "w", 16);

  MXdrawnamedwindow("root", 0, 0);
  draw_screen_guide();
  const Area area = intro_area();
  std::vector<uint16_t> codes;
  int status = 0;
  if (!picture_codes(area, &codes)) {
    status = fail("the guide uses a colour outside the intro colour table");
  } else if (!MXwritepicture(out.string(), 4, area.ht, area.wd, codes)) {
    status = fail("cannot write " + out.string());
  } else if (!same_picture(out.string(), area, codes)) {
    status = fail("the written picture does not read back as drawn");
  } else {
    std::printf("intro picture %dx%d written to %s\n", area.wd, area.ht, out.string().c_str());
  }
  MXremovenamedwindow("instruction");
  if (status == 0 && !screens.empty()) write_screens(screens, data);
  closegraph();
  fs::current_path("/");
  fs::remove_all(scratch);
  return status;
}
