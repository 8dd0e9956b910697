// Checks of the program's interface file (data/varnock.inf) as the library reads
// it: it binds only routine names the program supplies and declares every object
// the program looks up; every object lies inside its window and every window on
// the 640 x 480 screen; the widest texts fit their fields (country names,
// populations up to 9,999,999,999, help messages, alerts, help-file lines); the
// rate columns and the rate-editing buttons stand on the rows of the pyramid; the
// year labels of the population graph agree with its width; and the pictures the
// screen shows fit the fields that show them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <stdexcept>

#include "app/command_table.h"
#include "base/log.h"
#include "base/text.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "pictures/run_length_picture.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace {

std::string data_path(const std::string& name) { return std::string(VARNOCK_DATA_DIR) + "/" + name; }

[[noreturn]] void throw_fatal(int, const char* text) { throw std::runtime_error(text); }

int dummy(int, int, int, const char*) { return 1; }

struct Rect {
  int x, y, wd, ht;
};

Rect field(const char* name) {
  Rect r{};
  MXgetfieldrect(name, &r.x, &r.y, &r.wd, &r.ht, nullptr);
  return r;
}
Rect window_rect(const char* name) {
  Rect r{};
  MXgetwindowspecs(name, &r.x, &r.y, &r.wd, &r.ht, nullptr);
  return r;
}
const MXWindow& win(const char* name) { return Win[MXwindownum(name)]; }
// A button the program looks up (a test that asks for a missing one fails).
const MXButton& button(const std::string& window, const std::string& name) {
  const int w = MXwindownum(window.c_str());
  const int b = w < 0 ? -1 : getname(Win[w].wb, sizeof(MXButton), Win[w].numbuttons, name.c_str(), nullptr);
  if (b < 0) throw std::runtime_error("no button " + window + "/" + name);
  return Win[w].wb[b];
}
Rect rect(const MXButton& b) { return {b.x, b.y, b.wd, b.ht}; }

bool inside(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.wd <= outer.x + outer.wd &&
         inner.y + inner.ht <= outer.y + outer.ht;
}

bool overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.wd && b.x < a.x + a.wd && a.y < b.y + b.ht && b.y < a.y + a.ht;
}

std::string describe(const Rect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.wd) + "x" + std::to_string(r.ht);
}

int width_in(FontSizeType font, const std::string& text) {
  MXsetfont(font);
  return MXtextwidth(text.c_str());
}

// The inside of a window in its own coordinates (the border excluded).
Rect inner(const MXWindow& w) {
  return {w.bordersize, w.bordersize, w.wd - 2 * w.bordersize, w.ht - 2 * w.bordersize};
}

std::vector<std::string> lines_of(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The names of the country list: the rows of its table are type, file, name (ended
// by two blanks), location code, colour.
std::vector<std::string> list_names() {
  std::vector<std::string> names;
  const std::regex row(R"(^(region|sub|none)\s+\S+\s+(.*?\S)\s{2,}\d+\s+\S+\s*$)");
  std::smatch m;
  for (const std::string& line : lines_of(data_path("dbase/country.maf")))
    if (std::regex_match(line, m, row)) names.push_back(m[2]);
  return names;
}

// The fields each window draws into (all window-relative).
const std::map<std::string, std::vector<std::string>> kFieldsOf = {
    {"root", {"VERSION"}},
    {"top", {"CTYNAME", "PYRGRAPH", "PYRYEAR", "BIRTHRATE", "DEATHRATE", "INFRATE", "BRATE", "DRATE", "IRATE",
             "SIMYEAR", "SIMPOP", "UNPOP", "MAXPOP", "MIDPOP", "MINPOP", "SIMGRAPH", "GRAPHYEAR", "UNKEY"}},
    {"toptotalfert", {"TFR", "TARGET"}},
    {"toplifeexp", {"LIFEX", "TARGET"}},
    {"topmig", {"MIG", "TARGET"}},
    {"topinfo", {"INITPOP", "INFOWIND"}},
    {"setfert", {"SETFERT", "CURRFERT", "SETFERTYEAR", "CURRFERTYEAR"}},
    {"setlife", {"SETLIFE", "CURRLIFE", "SETLIFEYEAR", "CURRLIFEYEAR"}},
    {"setmig", {"SETMIG", "CURRMIG", "SETMIGYEAR", "CURRMIGYEAR"}},
    {"map", {"SMAP", "LMAP", "MSCALEBACK", "SNAMEBACK", "CNAMEBACK", "searchtext", "scrollpickfield"}},
    {"instruction", {"introfield"}}};

class InterfaceLayout : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static char dir[] = "/tmp/demovar-layout-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::filesystem::current_path(dir);
    std::atexit([] { std::filesystem::remove_all(dir); });
    static std::vector<IntrFunction> table;
    for (int i = 0; i < NumFuncs; ++i) table.push_back({FuncNames[i].name, dummy});
    MXsetfatalhandler(throw_fatal);
    MXPuse_headless(true);
    MXsetfunctiontable(table.data(), static_cast<int>(table.size()));
    try {
      MXinterfaceinit("Demovar", data_path("varnock.inf").c_str(), 0, "w", 16);
    } catch (const std::exception& e) {
      load_error() = e.what();
    }
  }
  static std::string& load_error() {
    static std::string text;
    return text;
  }
  void SetUp() override { ASSERT_EQ(load_error(), "") << "the interface file did not load"; }
  static void TearDownTestSuite() {
    closegraph();
    MXfreeinterfacetables();
    MXsetfatalhandler(nullptr);
  }
  // Pyramid row geometry in pane coordinates, as the pyramid drawing lays it out.
  static int bar_height() { return field("BARS").ht; }
  static int row_top(int row) {
    const Rect p = field("PYRGRAPH");
    const int bh = bar_height();
    return p.y - 5 - bh + p.ht - (bh - 1) * row;
  }
  static int row_baseline(int row) { return row_top(row) + 11; }
};

// (The fields the other checks measure are looked up there, and a missing one is fatal.)
TEST_F(InterfaceLayout, DeclaresEveryFieldAndTextTheProgramLooksUp) {
  EXPECT_GE(getname(InfState.fields, sizeof(FieldType), InfState.numfields, "introoffset", nullptr), 0);
  for (const char* name : {"Oper", "cyear", "pop", "ctynone"}) EXPECT_STRNE(MXgetmsg(name), "") << name;
  // Every help message the program's screens show has its first two lines; the
  // lesson's have their first.
  for (int n : {2, 3, 4, 6, 7, 8, 9, 10, 13, 14, 15, 16, 50, 51, 52, 53, 54, 55, 60, 61, 62, 63, 64, 65, 66, 67,
                68, 69, 70, 71, 72, 73, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 89, 90, 91, 92, 93, 94, 96,
                97, 98, 99})
    for (int line = 0; line < (n < 50 ? 2 : 1); ++line)
      EXPECT_STRNE(MXgetmsg(("hm" + std::to_string(10 * n + line)).c_str()), "") << n;
}

TEST_F(InterfaceLayout, WindowsAreOnTheScreenAndControlsInsideTheirWindows) {
  const Rect screen{0, 0, 640, 480};
  for (int w = 0; w < InfState.numwindows; ++w) {
    const MXWindow& window = Win[w];
    EXPECT_TRUE(inside({window.x, window.y, window.wd, window.ht}, screen)) << window.name;
    for (int b = 0; b < window.numbuttons; ++b)
      EXPECT_TRUE(inside(rect(window.wb[b]), inner(window))) << window.name << "/" << window.wb[b].name;
  }
  // The same buttons of one window never overlap, except buttons that take turns
  // at the same place: File, Glossary and the tutorial's End; the intro's Done and
  // the tutorial's Continue.
  for (int w = 0; w < InfState.numwindows; ++w) {
    const MXWindow& window = Win[w];
    for (int a = 0; a < window.numbuttons; ++a)
      for (int b = a + 1; b < window.numbuttons; ++b) {
        const MXButton& p = window.wb[a];
        const MXButton& q = window.wb[b];
        if (p.drag || q.drag) continue;
        const auto is = [](const MXButton& btn, const char* name) { return MXstricmp(btn.name, name) == 0; };
        const bool root_turns = std::string(window.name) == "root" && (is(p, "File") || is(p, "Glossary")) &&
                                (is(q, "Glossary") || is(q, "qtwalk"));
        const bool message_turns = std::string(window.name) == "message" && is(p, "done") && is(q, "wtcont");
        if (root_turns || message_turns) continue;
        EXPECT_FALSE(overlap(rect(p), rect(q))) << window.name << ": " << p.name << " and " << q.name;
      }
  }
  // Every popup menu opens on the screen, all its items shown.
  for (int m = 0; m < InfState.numpopups; ++m)
    EXPECT_TRUE(inside({Popups[m].x, Popups[m].y, Popups[m].wd, 15 * Popups[m].numitems + 7}, screen)) << Popups[m].name;
}

TEST_F(InterfaceLayout, FieldsLieInsideTheWindowsThatDrawThem) {
  std::map<std::string, std::vector<std::string>> owners = kFieldsOf;
  for (const char* name : {"BARS", "PYRBUTTON"}) owners["top"].push_back(name);
  for (const char* name : {"MSCALE", "SNAME", "CNAME", "sclistbutton", "sclistupleft", "sclistlowright"})
    owners["map"].push_back(name);
  for (const auto& [window, names] : owners)
    for (const std::string& name : names)
      EXPECT_TRUE(inside(field(name.c_str()), inner(win(window.c_str()))))
          << name << " " << describe(field(name.c_str())) << " in " << window;
  // Three run lines fit below each other in the run window.
  const Rect info = field("INFOWIND");
  EXPECT_LE(info.y + 3 * info.ht, inner(win("topinfo")).y + inner(win("topinfo")).ht);
  // The text fields of a pane do not overlap each other.
  std::vector<std::string> pane = kFieldsOf.at("top");
  std::erase(pane, "PYRYEAR");
  for (size_t a = 0; a < pane.size(); ++a)
    for (size_t b = a + 1; b < pane.size(); ++b)
      EXPECT_FALSE(overlap(field(pane[a].c_str()), field(pane[b].c_str()))) << pane[a] << " and " << pane[b];
}

TEST_F(InterfaceLayout, LabelsStayClearOfButtonsAndFields) {
  for (int w = 0; w < InfState.numwindows; ++w) {
    const MXWindow& window = Win[w];
    for (int g = 0; g < window.numgraphics; ++g) {
      const GraphicType& label = window.graphics[g];
      if (label.type != 6 && label.type != 7) continue;
      // A label's box: from its baseline up by the font's ascent, down by 2.
      const FontSizeType font = label.type == 6 ? LARGE : SMALL;
      MXsetfont(font);
      const Rect box{label.x, label.y - MXtextheight(), width_in(font, label.text), MXtextheight() + 2};
      EXPECT_TRUE(inside(box, inner(window))) << window.name << ": " << label.text;
      for (int b = 0; b < window.numbuttons; ++b) {
        const MXButton& btn = window.wb[b];
        if (btn.drag) continue;
        EXPECT_FALSE(overlap(box, rect(btn))) << window.name << ": " << label.text << " and " << btn.name;
      }
      const auto fields = kFieldsOf.find(window.name);
      if (fields == kFieldsOf.end()) continue;
      for (const std::string& f : fields->second) {
        const Rect r = field(f.c_str());
        if (f == "PYRGRAPH") {
          // The pyramid clears and draws below its top 12 rows, and its scale in a
          // strip under the field; its top rows hold the pane's labels.
          EXPECT_FALSE(overlap(box, {r.x, r.y + 12, r.wd, r.ht - 15})) << window.name << ": " << label.text;
          EXPECT_FALSE(overlap(box, {r.x - 8, r.y + r.ht + 1, r.wd + 30, 16})) << window.name << ": " << label.text;
          continue;
        }
        EXPECT_FALSE(overlap(box, r)) << window.name << ": " << label.text << " and " << f;
      }
    }
  }
}

TEST_F(InterfaceLayout, BothPanesHaveTheSameLayout) {
  const Rect top = window_rect("top"), bottom = window_rect("bottom");
  EXPECT_LE(top.y + top.ht, bottom.y);
  // The pane's windows and their buttons are the same, at the same places.
  for (const char* part : {"", "totalfert", "lifeexp", "mig", "info", "birth", "death", "infant"}) {
    Rect a = window_rect((std::string("top") + part).c_str());
    EXPECT_TRUE(inside(a, top)) << part;
    a.y += bottom.y - top.y;
    EXPECT_EQ(describe(a), describe(window_rect((std::string("bottom") + part).c_str()))) << part;
    const MXWindow& w = win((std::string("top") + part).c_str());
    for (int i = 0; i < w.numbuttons; ++i) {
      const MXButton& b = button(std::string("bottom") + part, w.wb[i].name);
      EXPECT_EQ(describe(rect(w.wb[i])), describe(rect(b))) << part << "/" << b.name;
      EXPECT_EQ(w.wb[i].active, b.active) << part << "/" << b.name;
    }
  }
  // The pane's small windows do not overlap each other.
  const char* const parts[] = {"toptotalfert", "toplifeexp", "topmig", "topinfo", "topbirth", "topdeath", "topinfant"};
  for (size_t a = 0; a < 7; ++a)
    for (size_t b = a + 1; b < 7; ++b)
      EXPECT_FALSE(overlap(window_rect(parts[a]), window_rect(parts[b]))) << parts[a] << " and " << parts[b];
}

TEST_F(InterfaceLayout, RateEditingWindowsCoverTheirClearedAreasAndNotTheNumbers) {
  const Rect top = window_rect("top");
  const struct {
    const char* window;
    const char* area;
    const char* numbers;
  } columns[] = {{"topbirth", "BRATE", "BIRTHRATE"}, {"topdeath", "DRATE", "DEATHRATE"}, {"topinfant", "IRATE", "INFRATE"}};
  for (const auto& c : columns) {
    Rect w = window_rect(c.window);
    w.x -= top.x;
    w.y -= top.y;
    const Rect area = field(c.area);
    EXPECT_EQ(describe(w), describe(area)) << c.window;
    for (const auto& other : columns) EXPECT_FALSE(overlap(w, field(other.numbers))) << c.window << " over " << other.numbers;
    EXPECT_FALSE(overlap(w, field("PYRGRAPH"))) << c.window;
  }
}

TEST_F(InterfaceLayout, RateRowsAndEditingButtonsStandOnThePyramidRows) {
  const int bh = bar_height();
  ASSERT_GT(bh, 2);
  // The pyramid fits its field: the 80+ row starts below the cleared top margin.
  const Rect p = field("PYRGRAPH");
  EXPECT_GE(row_top(8), p.y + 12);
  EXPECT_LE(row_top(0) + bh, p.y + p.ht - 3);
  // The strip of its scale below the field meets no other field or button.
  const Rect scale{p.x - 8, p.y + p.ht + 1, p.wd + 30, 16};
  for (const char* name : {"BIRTHRATE", "DEATHRATE", "INFRATE", "BRATE", "DRATE", "IRATE", "CTYNAME"})
    EXPECT_FALSE(overlap(scale, field(name))) << name;
  for (const char* name : {"simulate", "unsimulate", "options"}) EXPECT_FALSE(overlap(scale, rect(button("top", name)))) << name;

  // Death rates: row 8 - i of the column is pyramid row i; birth rates: row 4 - b
  // of the column is the mothers' band b, standing on pyramid row b + 1.
  const Rect death = field("DEATHRATE"), birth = field("BIRTHRATE");
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(death.y + 10 + (8 - i) * (bh - 1), row_baseline(i)) << "death row " << i;
  for (int b = 0; b <= 4; ++b) EXPECT_EQ(birth.y + 10 + (4 - b) * (bh - 1), row_baseline(b + 1)) << "birth band " << b;
  EXPECT_LE(death.y + 9 * (bh - 1), death.y + death.ht + 1);
  EXPECT_LE(birth.y + 5 * (bh - 1), birth.y + birth.ht + 1);

  const Rect top = window_rect("top");
  // Each editing button's pointer row (from y = 3, bh - 1 apart) is the row of its
  // band, and that row lies on the band's pyramid row; minus left of x = 15, plus
  // from x = 15 on.
  auto check_button = [&](const char* window, const std::string& name, int row, int pyramid_row) {
    const MXButton& b = button(window, name.c_str());
    const Rect w = window_rect(window);
    for (int y = b.y; y < b.y + b.ht; ++y) EXPECT_EQ((y - 3) / (bh - 1), row) << window << "/" << name << " y " << y;
    if (name.back() == 'm')
      EXPECT_LE(b.x + b.wd, 15) << name;
    else
      EXPECT_GE(b.x, 15) << name;
    EXPECT_EQ(w.y + 3 + row * (bh - 1), top.y + row_top(pyramid_row)) << window << "/" << name;
  };
  for (int n = 1; n <= 5; ++n)
    for (const char* sign : {"m", "p"}) check_button("topbirth", "Birth" + std::to_string(n) + sign, 5 - n, n);
  for (int n = 0; n <= 8; ++n)
    for (const char* sign : {"m", "p"}) check_button("topdeath", "Death" + std::to_string(n) + sign, 8 - n, n);
  // The infant row has a single row of its own, level with its number.
  for (const char* name : {"Infantm", "Infantp"}) {
    const MXButton& b = button("topinfant", name);
    EXPECT_EQ((b.y - 3) / (bh - 1), 0);
    EXPECT_EQ((b.y + b.ht - 1 - 3) / (bh - 1), 0);
  }
  const Rect infant = window_rect("topinfant");
  EXPECT_EQ(infant.y - top.y + 3 + 11, field("INFRATE").y + 10);

  // The pyramid's drag area: the pointer's row, (H - y) / (bh - 1), is the pyramid
  // row under it, and its outline drawing lands on the pyramid's bars.
  const Rect drag = field("PYRBUTTON");
  EXPECT_EQ(describe(rect(button("top", "pyrgraph"))), describe(drag));
  EXPECT_EQ(drag.x, p.x + 1);
  EXPECT_EQ(drag.wd / 2, p.wd / 2);
  for (int row = 0; row <= 8; ++row) {
    EXPECT_EQ(drag.y + drag.ht - (bh - 1) * (row + 1), row_top(row) + 1) << row;
    for (int y = row_top(row) + 2; y <= row_top(row) + bh - 1; ++y)
      EXPECT_EQ((drag.ht - (y - drag.y)) / (bh - 1), row) << "row " << row << " y " << y;
  }
}

TEST_F(InterfaceLayout, PopulationGraphAndYearLabelsAgree) {
  const Rect graph = field("SIMGRAPH"), years = field("GRAPHYEAR");
  EXPECT_EQ((graph.wd - 1) / 12, 17);
  // The labels stand centred under the graph's five-year steps and the last fits.
  const int label = width_in(SMALL, "2050");
  EXPECT_EQ(years.x + label / 2, graph.x);
  EXPECT_LE(1 + 12 * 17 + label, years.wd);
  EXPECT_GE(years.y, graph.y + graph.ht + 2);
  // The scale labels fit beside the graph: three digits and a unit.
  for (const char* name : {"MAXPOP", "MIDPOP", "MINPOP"}) {
    const Rect f = field(name);
    EXPECT_LE(f.x + 1 + std::max(width_in(SMALL, "999"), width_in(SMALL, "THO")), graph.x - 1) << name;
    EXPECT_LE(f.x + 1 + width_in(SMALL, "MIL"), f.x + f.wd) << name;
  }
  EXPECT_LE(field("MINPOP").y + 10, graph.y + graph.ht + 2);
}

TEST_F(InterfaceLayout, PopulationsUpToTenBillionFit) {
  char text[64];
  const std::string biggest = MXformatcommanum(9999999999.0, text);
  ASSERT_EQ(biggest, "9,999,999,999");
  const int w = width_in(SMALL, biggest);
  EXPECT_LE(1 + w, field("SIMPOP").wd);
  EXPECT_LE(1 + w, field("INITPOP").wd);
  // A run line: the labels, then the year 8 pixels into the value column 23 pixels
  // in, and the total at the value column.
  const Rect info = field("INFOWIND");
  EXPECT_LE(1 + width_in(SMALL, MXgetmsg("cyear")), 23 + 8);
  EXPECT_LE(1 + width_in(SMALL, MXgetmsg("pop")), 23 - 1);
  EXPECT_LE(23 + 1 + w, info.wd);
  EXPECT_LE(23 + 8 + 1 + width_in(SMALL, "2050"), info.wd);
  // The UN's figure beside the shown run's, and a run's distance from it after its year.
  EXPECT_LE(field("SIMPOP").x + 1 + w, field("UNPOP").x);
  EXPECT_LE(1 + width_in(SMALL, "UN " + biggest), field("UNPOP").wd);
  EXPECT_LE(23 + 8 + width_in(SMALL, "2050") + 4 + width_in(SMALL, "UN -99%"), info.wd);
  // The window's label stands left of the 1990 population.
  EXPECT_LE(5 + width_in(SMALL, "1990:"), field("INITPOP").x);
  // The same total in the pane's title line stays clear of the graph title.
  EXPECT_LE(field("SIMPOP").x + 1 + w, window_rect("top").wd - 2);
  // Migration to +-100000 model units of up to 1000 people each; fertility; life.
  const MXButton& set = button("topmig", "setmig");
  const Rect mig = field("MIG");
  EXPECT_LE(mig.x + 1 + width_in(SMALL, "-100000000"), set.x - 2);
  EXPECT_LE(6 + width_in(SMALL, "Migration"), mig.x);
  EXPECT_LE(6 + width_in(SMALL, "Life exp."), field("LIFEX").x);
  EXPECT_LE(field("LIFEX").x + 1 + width_in(SMALL, "99.9"), button("toplifeexp", "setlife").x - 2);
  // A pending target under its figure, the widest of each kind, clear of "Set...".
  for (const char* target : {"(-100000000 by 2050)", "(99.9 by 2050)"})
    EXPECT_LE(field("TARGET").x + 1 + width_in(SMALL, target), set.x - 2) << target;
  // The target windows show the same values in the large font.
  for (const char* name : {"SETMIG", "CURRMIG"}) EXPECT_LE(1 + width_in(LARGE, "-100000000"), field(name).wd) << name;
  for (const char* name : {"SETFERTYEAR", "CURRFERTYEAR", "SETLIFE", "CURRLIFE"})
    EXPECT_LE(1 + width_in(LARGE, "2050"), field(name).wd) << name;
}

TEST_F(InterfaceLayout, TheLongestCountryNamesFit) {
  const std::vector<std::string> names = list_names();
  ASSERT_FALSE(names.empty());
  std::string widest_upper, widest, widest_small;
  for (const std::string& n : names) {
    std::string upper = n;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (width_in(LARGE, upper) > width_in(LARGE, widest_upper)) widest_upper = upper;
    if (width_in(LARGE, n) > width_in(LARGE, widest)) widest = n;
    if (width_in(SMALL, n) > width_in(SMALL, widest_small)) widest_small = n;
  }
  EXPECT_LE(1 + width_in(LARGE, widest_upper), field("CTYNAME").wd) << widest_upper;
  EXPECT_LE(1 + width_in(LARGE, widest), field("CNAME").wd) << widest;
  EXPECT_LE(1 + width_in(LARGE, widest), field("SNAME").wd) << widest;
  // A list row is written 3 pixels in and clipped 4 pixels short of its width.
  EXPECT_LE(3 + 1 + width_in(SMALL, widest_small), field("scrollpicklabel").wd - 4 + 3) << widest_small;
  // The search field shows the first 14 characters typed, from 5 pixels in.
  EXPECT_LE(5 + 1 + width_in(LARGE, widest_upper.substr(0, 14)), field("searchtext").wd);
}

TEST_F(InterfaceLayout, CountryListShowsWholeRowsBesideItsScrollBar) {
  const Rect list = field("scrollpickfield"), row = field("scrollpicklabel");
  EXPECT_EQ(describe(rect(button("map", "scrollcountry"))), describe(list));
  EXPECT_EQ(row.wd, list.wd);
  EXPECT_GE(row.ht, 12);  // the small font's cell
  const int visible = list.ht / row.ht;
  EXPECT_GE(visible, 15);
  EXPECT_LE(row.y + visible * row.ht, list.ht);
  const MXButton& bar = button("map", "scrollbar");
  const MXButton& up = button("map", "UpArrow");
  const MXButton& down = button("map", "DnArrow");
  EXPECT_EQ(up.y + up.ht, bar.y);
  EXPECT_EQ(bar.y + bar.ht, down.y);
  EXPECT_GE(bar.x, list.x + list.wd);
  EXPECT_EQ(up.repeatable, 1);
  EXPECT_EQ(down.repeatable, 1);
}

TEST_F(InterfaceLayout, MapsAndTheIntroPictureFitTheirFields) {
  const Rect small = field("SMAP"), large = field("LMAP");
  EXPECT_EQ(describe(rect(button("map", "smallmap"))), describe(small));
  EXPECT_EQ(describe(rect(button("map", "largemap"))), describe(large));
  // At the smallest zoom the box stays within the small map.
  EXPECT_LE(large.wd / 2, small.wd);
  EXPECT_LE(large.ht / 2, small.ht);
  const struct {
    const char *file, *field;
    uint32_t tag;
  } pictures[] = {{"images/regions.rl8", "SMAP", 0}, {"images/intro.rl4", "introfield", MX_RUN4_TAG}};
  for (const auto& p : pictures) {
    FILE* file = std::fopen(data_path(p.file).c_str(), "rb");
    ASSERT_NE(file, nullptr) << p.file;
    uint32_t tag = 0;
    ASSERT_EQ(fread_long(&tag, 1, file), 1u);
    EXPECT_TRUE(p.tag == 0 || tag == p.tag) << p.file;
    int rows = 0, cols = 0;
    MXgetfilepictspecs(file, &rows, &cols);
    std::fclose(file);
    EXPECT_EQ(describe({0, 0, cols, rows}), describe({0, 0, field(p.field).wd, field(p.field).ht})) << p.file;
  }
}

TEST_F(InterfaceLayout, TargetWindowsOpenOverTheirPanes) {
  const Rect origin = field("SETWINORG");
  for (const char* name : {"setfert", "setlife", "setmig"}) {
    const Rect w = window_rect(name);
    const Rect at_top{origin.x, origin.y, w.wd, w.ht}, at_bottom{origin.wd, origin.ht, w.wd, w.ht};
    EXPECT_TRUE(inside(at_top, window_rect("top"))) << name;
    EXPECT_TRUE(inside(at_bottom, window_rect("bottom"))) << name;
    // They leave the pane's fertility, life-expectancy and migration windows in view.
    for (const char* part : {"totalfert", "lifeexp", "mig"}) {
      EXPECT_FALSE(overlap(at_top, window_rect((std::string("top") + part).c_str()))) << name << " " << part;
      EXPECT_FALSE(overlap(at_bottom, window_rect((std::string("bottom") + part).c_str()))) << name << " " << part;
    }
  }
}

TEST_F(InterfaceLayout, MessagesAndAlertsFitTheirWindows) {
  const MXWindow& message = win("message");
  const MXButton& done = button("message", "done");
  for (int m = 0; m < InfState.nummsgs; ++m) {
    const std::string name = InfState.msgs[m].name;
    const std::string text = InfState.msgs[m].text;
    if (name.rfind("hm", 0) == 0) {
      // Written from x = 25 in the large font, clear of the intro's Done button.
      EXPECT_LE(25 + 1 + width_in(LARGE, text), done.x - 2) << name << ": " << text;
    }
  }
  // Three lines at baselines 12, 22 and 32 with their descenders.
  EXPECT_LE(32 + 2, message.ht - message.bordersize);
  const MXWindow& alert = win("alert");
  for (const char* name : {"ctyerror", "loadalert1", "loadalert2", "loadalert3", "loadalert4", "introalert1",
                           "introalert2", "introalert3", "introalert4", "introalert5", "introalert6"}) {
    EXPECT_STRNE(MXgetmsg(name), "") << name;
    EXPECT_LE(6 + 1 + width_in(LARGE, MXgetmsg(name)), alert.wd - alert.bordersize) << name;
  }
  // Six lines of alert text stay above the OK button.
  EXPECT_LE(15 + 5 * 15 + 2, button("alert", "okay").y);
  // Menu items and button labels fit.
  for (int w = 0; w < InfState.numwindows; ++w)
    for (int b = 0; b < Win[w].numbuttons; ++b) {
      const MXButton& btn = Win[w].wb[b];
      if (btn.drag || !btn.text || std::strchr(btn.text, '@')) continue;
      EXPECT_LE(width_in(btn.tsize, btn.text) + 6, btn.wd) << Win[w].name << "/" << btn.name;
    }
}

TEST_F(InterfaceLayout, HelpAndTextFilesFitTheHelpWindow) {
  const MXWindow& help = win("help");
  const MXButton& next = button("help", "helpnext");
  // 25 lines 13 pixels apart stay above the buttons.
  EXPECT_LE(13 * 25 + 3, next.y);
  for (const char* name : {"controls.hlp", "main.hlp", "options.hlp", "tutor1.hlp", "geo.txt", "tech.txt",
                           "pop.txt", "modeling.txt"}) {
    const std::vector<std::string> lines = lines_of(data_path(std::string("info/") + name));
    ASSERT_FALSE(lines.empty()) << name;
    int on_page = 0;
    bool ink = false;  // the page so far shows something
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      EXPECT_LE(line.size(), 80u) << name << " line " << i + 1;
      EXPECT_LE(15 + 1 + width_in(SMALL, line), help.wd - help.bordersize - 2) << name << " line " << i + 1;
      ++on_page;
      ink = ink || line.find_first_not_of(" \t\f") != std::string::npos;
      // Pages end at a form feed, and no page runs over 25 lines or shows nothing.
      if (line.find('\f') != std::string::npos) {
        EXPECT_TRUE(ink) << name << " line " << i + 1 << ": an empty page";
        on_page = 0;
        ink = false;
      }
      EXPECT_LE(on_page, 25) << name << " line " << i + 1 << ": a page without its form feed";
    }
    EXPECT_TRUE(ink) << name << ": an empty last page";
  }
  // The version line: the first line beginning "Version" fits the version field.
  std::string version;
  for (const std::string& line : lines_of(data_path("info/pop.txt")))
    if (line.rfind("Version", 0) == 0) {
      version = line;
      break;
    }
  ASSERT_FALSE(version.empty());
  EXPECT_LE(1 + width_in(SMALL, version.substr(0, 79)), field("VERSION").wd) << version;
}

}  // namespace
