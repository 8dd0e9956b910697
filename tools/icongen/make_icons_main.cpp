// make_icons: draws the desktop icon, a population pyramid as the program's panes
// show one (rows in the colours of the interface file's pyramid colour list, on
// the panes' white, with a black axis), and writes it as demovar-N.png for each
// size N given.
//
//   make_icons INTERFACE_FILE OUT_DIR SIZE...
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/png_writer.h"

namespace {

struct Rgb {
  int r, g, b;  // 6-bit components, as the interface file writes them
};

// The colours of the file's palette block, lines "(name r g b)" between "palette"
// and "end", over the two preset colours the icon also uses.
std::map<std::string, Rgb> read_palette(const std::string& path) {
  std::map<std::string, Rgb> colours{{"black", {0, 0, 0}}, {"white", {63, 63, 63}}};
  std::ifstream in(path);
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (line == "palette") inside = true;
    else if (line == "end") inside = false;
    else if (inside && line.size() > 1 && line[0] == '(') {
      std::istringstream fields(line.substr(1));
      std::string name;
      Rgb c{};
      if (fields >> name >> c.r >> c.g >> c.b) colours[name] = c;
    }
  }
  return colours;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_icons INTERFACE_FILE OUT_DIR SIZE...\n");
    return 2;
  }
  const std::map<std::string, Rgb> palette = read_palette(argv[1]);
  // The pyramid's rows in turn from the youngest up, as the panes colour them.
  const std::vector<std::string> names = {"white", "black", "lblue", "peach", "lcyan", "sandy", "lpurple"};
  std::vector<uint8_t> rgb(768, 0);
  for (size_t i = 0; i < names.size(); ++i) {
    const auto found = palette.find(names[i]);
    if (found == palette.end()) {
      std::fprintf(stderr, "make_icons: %s has no colour %s\n", argv[1], names[i].c_str());
      return 1;
    }
    rgb[3 * i] = static_cast<uint8_t>(found->second.r * 4);
    rgb[3 * i + 1] = static_cast<uint8_t>(found->second.g * 4);
    rgb[3 * i + 2] = static_cast<uint8_t>(found->second.b * 4);
  }
  for (int a = 3; a < argc; ++a) {
    const int n = std::atoi(argv[a]);
    if (n < 16 || n > 1024) {
      std::fprintf(stderr, "make_icons: size %s is not 16 to 1024\n", argv[a]);
      return 2;
    }
    std::vector<uint8_t> px(static_cast<size_t>(n) * n, 0);  // white
    auto fill = [&](int x0, int y0, int w, int h, uint8_t c) {
      for (int y = std::max(y0, 0); y < std::min(y0 + h, n); ++y)
        for (int x = std::max(x0, 0); x < std::min(x0 + w, n); ++x) px[static_cast<size_t>(y) * n + x] = c;
    };
    const int frame = std::max(1, n / 32);
    fill(0, 0, n, frame, 1);
    fill(0, n - frame, n, frame, 1);
    fill(0, 0, frame, n, 1);
    fill(n - frame, 0, frame, n, 1);
    // Rows of a young population: each older row a little narrower than the one below.
    const int rows = std::clamp(n / 6, 4, 12);
    const int margin = frame + std::max(1, n / 10);
    const int row_h = (n - 2 * margin) / rows;
    const int gap = row_h >= 4 ? std::max(1, row_h / 5) : 0;
    const int half = n / 2 - margin;
    const int top = n - margin - rows * row_h;
    for (int r = 0; r < rows; ++r) {
      const int w = std::max(1, half * (rows - r) / rows);
      const int y = top + (rows - 1 - r) * row_h;
      fill(n / 2 - w, y + gap, 2 * w, row_h - gap, static_cast<uint8_t>(2 + r % 5));
    }
    const int axis = std::max(2, n / 48 / 2 * 2);  // even, so that both halves match
    fill(n / 2 - axis / 2, top, axis, rows * row_h, 1);
    const std::string out = std::string(argv[2]) + "/demovar-" + std::to_string(n) + ".png";
    if (!MXPwrite_png(out.c_str(), n, n, px.data(), rgb.data())) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", out.c_str());
      return 1;
    }
  }
  return 0;
}
