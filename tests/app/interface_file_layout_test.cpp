// Checks of the program's interface file (data/varnock.inf) as the library reads
// it: it declares every name the program looks up; every window lies on the
// 640 x 480 screen, every control and field inside its window and every label
// clear of both; the two panes are alike; the rate columns, the rate-editing
// buttons and the drag area stand on the rows of the pyramid; and the widest
// texts (populations, country names, messages, help-file lines) and the pictures
// fit the fields that show them.
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
#include "pictures/run_length_picture.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

namespace {

std::string data_path(const std::string& name) { return std::string(VARNOCK_DATA_DIR) + "/" + name; }
[[noreturn]] void throw_fatal(int, const char* text) { throw std::runtime_error(text); }
int dummy(int, int, int, const char*) { return 1; }

struct Rect {
  int x, y, wd, ht;
};
Rect field(const std::string& name) {
  Rect r{};
  MXgetfieldrect(name.c_str(), &r.x, &r.y, &r.wd, &r.ht, nullptr);
  return r;
}
Rect window_rect(const std::string& name) {
  Rect r{};
  MXgetwindowspecs(name.c_str(), &r.x, &r.y, &r.wd, &r.ht, nullptr);
  return r;
}
const MXWindow& win(const std::string& name) { return Win[MXwindownum(name.c_str())]; }
// A button the program looks up (a test that asks for a missing one fails).
const MXButton& button(const std::string& window, const std::string& name) {
  const int w = MXwindownum(window.c_str());
  const int b = w < 0 ? -1 : getname(Win[w].wb, sizeof(MXButton), Win[w].numbuttons, name.c_str(), nullptr);
  if (b < 0) throw std::runtime_error("no button " + window + "/" + name);
  return Win[w].wb[b];
}
Rect rect(const MXButton& b) { return {b.x, b.y, b.wd, b.ht}; }
bool inside(const Rect& in, const Rect& out) {
  return in.x >= out.x && in.y >= out.y && in.x + in.wd <= out.x + out.wd && in.y + in.ht <= out.y + out.ht;
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
Rect inner(const MXWindow& w) { return {w.bordersize, w.bordersize, w.wd - 2 * w.bordersize, w.ht - 2 * w.bordersize}; }
std::vector<std::string> lines_of(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line); lines.push_back(line))
    if (!line.empty() && line.back() == '\r') line.pop_back();
  return lines;
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
};

// The windows, controls, fields and labels, and the texts the program looks up
// (the fields the other checks measure are looked up there, a missing one fatal).
TEST_F(InterfaceLayout, EverythingLiesOnTheScreenInsideItsWindowAndClearOfTheRest) {
  EXPECT_GE(getname(InfState.fields, sizeof(FieldType), InfState.numfields, "introoffset", nullptr), 0);
  for (const char* name : {"Oper", "cyear", "pop", "ctynone"}) EXPECT_STRNE(MXgetmsg(name), "") << name;
  // Every help message the screens show has its first two lines; the lesson's its first.
  for (int n : {2, 3, 4, 6, 7, 8, 9, 10, 13, 14, 15, 16, 50, 51, 52, 53, 54, 55, 60, 61, 62, 63, 64, 65, 66, 67,
                68, 69, 70, 71, 72, 73, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 89, 90, 91, 92, 93, 94, 96,
                97, 98, 99})
    for (int line = 0; line < (n < 50 ? 2 : 1); ++line)
      EXPECT_STRNE(MXgetmsg(("hm" + std::to_string(10 * n + line)).c_str()), "") << n;

  const Rect screen{0, 0, 640, 480};
  for (int m = 0; m < InfState.numpopups; ++m)  // every menu opens on the screen, all its items shown
    EXPECT_TRUE(inside({Popups[m].x, Popups[m].y, Popups[m].wd, 15 * Popups[m].numitems + 7}, screen)) << Popups[m].name;
  for (int w = 0; w < InfState.numwindows; ++w) {
    const MXWindow& window = Win[w];
    const std::string name = window.name;
    EXPECT_TRUE(inside({window.x, window.y, window.wd, window.ht}, screen)) << name;
    // Buttons inside, never overlapping, except those that take turns at one place:
    // File, Glossary and the tutorial's End; the intro's Done and the tutorial's Continue.
    for (int a = 0; a < window.numbuttons; ++a) {
      const MXButton& p = window.wb[a];
      EXPECT_TRUE(inside(rect(p), inner(window))) << name << "/" << p.name;
      const bool label = !p.drag && p.text && !std::strchr(p.text, '@');  // it fits
      EXPECT_LE(label ? width_in(p.tsize, p.text) + 6 : 0, p.wd) << name << "/" << p.name;
      for (int b = a + 1; b < window.numbuttons; ++b) {
        const MXButton& q = window.wb[b];
        const std::string pair = std::string(p.name) + "+" + q.name;
        if (p.drag || q.drag || pair == "File+Glossary" || pair == "File+qtwalk" || pair == "Glossary+qtwalk" ||
            pair == "done+wtcont")
          continue;
        EXPECT_FALSE(overlap(rect(p), rect(q))) << name << ": " << pair;
      }
    }
    // A label's box: from its baseline up by the font's ascent, down by 2. The
    // pyramid clears and draws below its top 12 rows (which hold the pane's
    // labels), and its scale in a strip under the field.
    const auto fields = kFieldsOf.find(name);
    for (int g = 0; g < window.numgraphics; ++g) {
      const GraphicType& label = window.graphics[g];
      if (label.type != 6 && label.type != 7) continue;
      MXsetfont(label.type == 6 ? LARGE : SMALL);
      const Rect box{label.x, label.y - MXtextheight(), MXtextwidth(label.text), MXtextheight() + 2};
      EXPECT_TRUE(inside(box, inner(window))) << name << ": " << label.text;
      for (int b = 0; b < window.numbuttons; ++b)
        EXPECT_TRUE(window.wb[b].drag || !overlap(box, rect(window.wb[b]))) << name << ": " << label.text;
      for (const std::string& f : fields == kFieldsOf.end() ? std::vector<std::string>{} : fields->second) {
        const Rect r = field(f);
        const bool clear = f != "PYRGRAPH" ? !overlap(box, r)
                                           : !overlap(box, {r.x, r.y + 12, r.wd, r.ht - 15}) &&
                                                 !overlap(box, {r.x - 8, r.y + r.ht + 1, r.wd + 30, 16});
        EXPECT_TRUE(clear) << name << ": " << label.text << " and " << f;
      }
    }
  }
  std::map<std::string, std::vector<std::string>> owners = kFieldsOf;
  for (const char* f : {"BARS", "PYRBUTTON"}) owners["top"].push_back(f);
  for (const char* f : {"MSCALE", "SNAME", "CNAME", "sclistbutton", "sclistupleft", "sclistlowright"})
    owners["map"].push_back(f);
  for (const auto& [window, names] : owners)
    for (const std::string& f : names)
      EXPECT_TRUE(inside(field(f), inner(win(window)))) << f << " " << describe(field(f)) << " in " << window;
  // Three run lines fit in the run window; the pane's text fields do not overlap.
  EXPECT_LE(field("INFOWIND").y + 3 * field("INFOWIND").ht, inner(win("topinfo")).y + inner(win("topinfo")).ht);
  std::vector<std::string> pane = kFieldsOf.at("top");
  std::erase(pane, "PYRYEAR");
  for (size_t a = 0; a < pane.size(); ++a)
    for (size_t b = a + 1; b < pane.size(); ++b)
      EXPECT_FALSE(overlap(field(pane[a]), field(pane[b]))) << pane[a] << " and " << pane[b];
}

TEST_F(InterfaceLayout, BothPanesAreAlikeAndTheirWindowsStandApart) {
  const Rect top = window_rect("top"), bottom = window_rect("bottom");
  EXPECT_LE(top.y + top.ht, bottom.y);
  const std::vector<std::string> parts = {"totalfert", "lifeexp", "mig", "info", "birth", "death", "infant"};
  for (size_t i = 0; i <= parts.size(); ++i) {
    const std::string part = i ? parts[i - 1] : "";
    Rect a = window_rect("top" + part);
    EXPECT_TRUE(inside(a, top)) << part;
    a.y += bottom.y - top.y;
    EXPECT_EQ(describe(a), describe(window_rect("bottom" + part))) << part;
    const MXWindow& w = win("top" + part);
    for (int b = 0; b < w.numbuttons; ++b) {
      const MXButton& other = button("bottom" + part, w.wb[b].name);
      EXPECT_EQ(describe(rect(w.wb[b])) + " " + std::to_string(w.wb[b].active),
                describe(rect(other)) + " " + std::to_string(other.active))
          << part << "/" << other.name;
    }
    for (size_t j = i + 1; i && j <= parts.size(); ++j)
      EXPECT_FALSE(overlap(a, window_rect("bottom" + parts[j - 1]))) << part << " and " << parts[j - 1];
  }
  // The target windows open over their pane, leaving its three figures in view.
  const Rect origin = field("SETWINORG");
  for (const char* name : {"setfert", "setlife", "setmig"}) {
    const Rect w = window_rect(name), at_top{origin.x, origin.y, w.wd, w.ht}, at_bottom{origin.wd, origin.ht, w.wd, w.ht};
    EXPECT_TRUE(inside(at_top, top) && inside(at_bottom, bottom)) << name;
    for (const char* part : {"totalfert", "lifeexp", "mig"})
      EXPECT_FALSE(overlap(at_top, window_rect(std::string("top") + part)) ||
                   overlap(at_bottom, window_rect(std::string("bottom") + part)))
          << name << " " << part;
  }
  // The rate-editing windows cover the areas the pane clears for them, not the
  // numbers nor the pyramid.
  for (const char* kind : {"birth", "death", "infant"}) {
    Rect w = window_rect(std::string("top") + kind);
    w.x -= top.x;
    w.y -= top.y;
    EXPECT_EQ(describe(w), describe(field(kind == std::string("birth") ? "BRATE" : kind[0] == 'd' ? "DRATE" : "IRATE")));
    for (const char* numbers : {"BIRTHRATE", "DEATHRATE", "INFRATE", "PYRGRAPH"})
      EXPECT_FALSE(overlap(w, field(numbers))) << kind << " over " << numbers;
  }
}

TEST_F(InterfaceLayout, RateRowsEditingButtonsAndTheDragAreaStandOnThePyramidRows) {
  const int bh = field("BARS").ht;
  ASSERT_GT(bh, 2);
  // Row tops in pane coordinates, as the pyramid drawing lays them out; the 80+
  // row starts below the cleared top margin, and the scale's strip below the field
  // meets no other field or button.
  const Rect p = field("PYRGRAPH"), top = window_rect("top");
  const auto row_top = [&](int row) { return p.y - 5 - bh + p.ht - (bh - 1) * row; };
  EXPECT_GE(row_top(8), p.y + 12);
  EXPECT_LE(row_top(0) + bh, p.y + p.ht - 3);
  const Rect scale{p.x - 8, p.y + p.ht + 1, p.wd + 30, 16};
  for (const char* f : {"BIRTHRATE", "DEATHRATE", "INFRATE", "BRATE", "DRATE", "IRATE", "CTYNAME"})
    EXPECT_FALSE(overlap(scale, field(f))) << f;
  for (const char* b : {"simulate", "unsimulate", "options"}) EXPECT_FALSE(overlap(scale, rect(button("top", b)))) << b;
  // Death rates: row 8 - i of the column is pyramid row i; birth rates: row 4 - b
  // is the mothers' band b, on pyramid row b + 1; the infant rate has a row of its
  // own. Each editing button's pointer row (from y = 3, bh - 1 apart) is its band's
  // and lies on that pyramid row; minus left of x = 15, plus from x = 15 on.
  const Rect death = field("DEATHRATE"), birth = field("BIRTHRATE");
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(death.y + 10 + (8 - i) * (bh - 1), row_top(i) + 11) << "death row " << i;
  for (int b = 0; b <= 4; ++b) EXPECT_EQ(birth.y + 10 + (4 - b) * (bh - 1), row_top(b + 1) + 11) << "birth band " << b;
  EXPECT_LE(death.y + 9 * (bh - 1), death.y + death.ht + 1);
  EXPECT_LE(birth.y + 5 * (bh - 1), birth.y + birth.ht + 1);
  EXPECT_EQ(window_rect("topinfant").y - top.y + 3 + 11, field("INFRATE").y + 10);
  const struct {
    const char *window, *stem;
    int first, last, rows;  // button numbers; the window's rows above the first
  } editing[] = {{"topbirth", "Birth", 1, 5, 5}, {"topdeath", "Death", 0, 8, 8}, {"topinfant", "Infant", 0, 0, 0}};
  for (const auto& e : editing)
    for (int n = e.first; n <= e.last; ++n)
      for (const char* sign : {"m", "p"}) {
        const std::string name = std::string(e.stem) + (e.last ? std::to_string(n) : "") + sign;
        const MXButton& b = button(e.window, name);
        const int row = e.rows - n;
        for (int y = b.y; y < b.y + b.ht; ++y) EXPECT_EQ((y - 3) / (bh - 1), row) << name << " y " << y;
        EXPECT_TRUE(sign[0] == 'm' ? b.x + b.wd <= 15 : b.x >= 15) << name;
        if (e.last) {
          EXPECT_EQ(window_rect(e.window).y + 3 + row * (bh - 1), top.y + row_top(n)) << name;
        }
      }
  // The drag area: the pointer's row, (H - y) / (bh - 1), is the pyramid row under it.
  const Rect drag = field("PYRBUTTON");
  EXPECT_EQ(describe(rect(button("top", "pyrgraph"))), describe(drag));
  EXPECT_EQ(drag.x, p.x + 1);
  EXPECT_EQ(drag.wd / 2, p.wd / 2);
  for (int row = 0; row <= 8; ++row) EXPECT_EQ(drag.y + drag.ht - (bh - 1) * (row + 1), row_top(row) + 1) << row;
}

// The widest texts of each kind fit: populations up to 9,999,999,999, targets,
// the graph's labels, country names, messages and alerts.
TEST_F(InterfaceLayout, TheWidestTextsFit) {
  char text[64];
  const std::string big = MXformatcommanum(9999999999.0, text);
  ASSERT_EQ(big, "9,999,999,999");
  const Rect graph = field("SIMGRAPH"), years = field("GRAPHYEAR"), info = field("INFOWIND"), mig = field("MIG");
  const int set = button("topmig", "setmig").x - 2, year = width_in(SMALL, "2050");
  // The graph's year labels stand centred under its five-year steps.
  EXPECT_EQ((graph.wd - 1) / 12, 17);
  EXPECT_EQ(years.x + year / 2, graph.x);
  EXPECT_GE(years.y, graph.y + graph.ht + 2);
  EXPECT_LE(field("MINPOP").y + 10, graph.y + graph.ht + 2);
  // {font, text, where it starts, where it must end}. A run line: the labels, the
  // year 8 pixels into the value column 23 pixels in, the total at that column, the
  // distance from the UN's after the year. (The pane's total and the UN's lie in
  // the pane, so the title's total ends before the pane's edge.)
  const struct {
    FontSizeType font;
    std::string text;
    int from, to;
  } texts[] = {{SMALL, big, 0, field("SIMPOP").wd},
               {SMALL, big, 0, field("INITPOP").wd},
               {SMALL, MXgetmsg("cyear"), 0, 23 + 8},
               {SMALL, MXgetmsg("pop"), 0, 23 - 1},
               {SMALL, big, 23, info.wd},
               {SMALL, "2050", 23 + 8, info.wd},
               {SMALL, "UN -99%", 23 + 8 + year + 4 - 1, info.wd},
               {SMALL, big, field("SIMPOP").x, field("UNPOP").x},
               {SMALL, "UN " + big, 0, field("UNPOP").wd},
               {SMALL, "1990:", 5 - 1, field("INITPOP").x},
               {SMALL, "2050", 12 * 17, years.wd},
               {SMALL, "-100000000", mig.x, set},
               {SMALL, "Migration", 6 - 1, mig.x},
               {SMALL, "Life exp.", 6 - 1, field("LIFEX").x},
               {SMALL, "99.9", field("LIFEX").x, button("toplifeexp", "setlife").x - 2},
               {SMALL, "(-100000000 by 2050)", field("TARGET").x, set},
               {SMALL, "(99.9 by 2050)", field("TARGET").x, set},
               {LARGE, "-100000000", 0, field("SETMIG").wd},
               {LARGE, "-100000000", 0, field("CURRMIG").wd},
               {LARGE, "2050", 0, field("SETFERTYEAR").wd},
               {LARGE, "2050", 0, field("CURRFERTYEAR").wd},
               {LARGE, "2050", 0, field("SETLIFE").wd},
               {LARGE, "2050", 0, field("CURRLIFE").wd}};
  for (const auto& t : texts) EXPECT_LE(t.from + 1 + width_in(t.font, t.text), t.to) << t.text;
  for (const char* f : {"MAXPOP", "MIDPOP", "MINPOP"}) {  // the graph's scale: three digits and a unit
    EXPECT_LE(field(f).x + 1 + std::max(width_in(SMALL, "999"), width_in(SMALL, "THO")), graph.x - 1) << f;
    EXPECT_LE(1 + width_in(SMALL, "MIL"), field(f).wd) << f;
  }

  // Country names (from the list's rows: type, file, name ended by two blanks, code,
  // colour): in capitals in the pane, as they are on the map; a list row is written
  // 3 pixels in and clipped 4 short; the search field shows 14 characters from 5 in.
  std::string upper, widest, small;
  const std::regex row(R"(^(region|sub|none)\s+\S+\s+(.*?\S)\s{2,}\d+\s+\S+\s*$)");
  std::smatch m;
  for (const std::string& line : lines_of(data_path("dbase/country.maf"))) {
    if (!std::regex_match(line, m, row)) continue;
    std::string n = m[2], u = n;
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (width_in(LARGE, u) > width_in(LARGE, upper)) upper = u;
    if (width_in(LARGE, n) > width_in(LARGE, widest)) widest = n;
    if (width_in(SMALL, n) > width_in(SMALL, small)) small = n;
  }
  ASSERT_FALSE(widest.empty());
  EXPECT_LE(1 + width_in(LARGE, upper), field("CTYNAME").wd) << upper;
  EXPECT_LE(1 + width_in(LARGE, widest), std::min(field("CNAME").wd, field("SNAME").wd)) << widest;
  EXPECT_LE(3 + 1 + width_in(SMALL, small), field("scrollpicklabel").wd - 4 + 3) << small;
  EXPECT_LE(5 + 1 + width_in(LARGE, upper.substr(0, 14)), field("searchtext").wd);

  // Help messages from x = 25 in the large font, clear of the intro's Done; three
  // lines at baselines 12, 22 and 32. Alerts: six lines above OK.
  const MXWindow& message = win("message");
  for (int i = 0; i < InfState.nummsgs; ++i)
    if (std::string(InfState.msgs[i].name).rfind("hm", 0) == 0) {
      EXPECT_LE(25 + 1 + width_in(LARGE, InfState.msgs[i].text), button("message", "done").x - 2) << InfState.msgs[i].name;
    }
  EXPECT_LE(32 + 2, message.ht - message.bordersize);
  const MXWindow& alert = win("alert");
  for (const char* name : {"ctyerror", "loadalert1", "loadalert2", "loadalert3", "loadalert4", "introalert1",
                           "introalert2", "introalert3", "introalert4", "introalert5", "introalert6"}) {
    EXPECT_STRNE(MXgetmsg(name), "") << name;
    EXPECT_LE(6 + 1 + width_in(LARGE, MXgetmsg(name)), alert.wd - alert.bordersize) << name;
  }
  EXPECT_LE(15 + 5 * 15 + 2, button("alert", "okay").y);
}

TEST_F(InterfaceLayout, TheCountryListTheMapsThePicturesAndTheHelpFilesFit) {
  const Rect list = field("scrollpickfield"), row = field("scrollpicklabel");
  EXPECT_EQ(describe(rect(button("map", "scrollcountry"))), describe(list));
  EXPECT_EQ(row.wd, list.wd);
  EXPECT_GE(row.ht, 12);  // the small font's cell
  EXPECT_GE(list.ht / row.ht, 15);
  EXPECT_LE(row.y + list.ht / row.ht * row.ht, list.ht);
  const MXButton &bar = button("map", "scrollbar"), &up = button("map", "UpArrow"), &down = button("map", "DnArrow");
  EXPECT_EQ(up.y + up.ht, bar.y);
  EXPECT_EQ(bar.y + bar.ht, down.y);
  EXPECT_GE(bar.x, list.x + list.wd);
  EXPECT_EQ(up.repeatable + down.repeatable, 2);

  const Rect small = field("SMAP"), large = field("LMAP");
  EXPECT_EQ(describe(rect(button("map", "smallmap"))), describe(small));
  EXPECT_EQ(describe(rect(button("map", "largemap"))), describe(large));
  EXPECT_TRUE(large.wd / 2 <= small.wd && large.ht / 2 <= small.ht);  // the box at the smallest zoom
  for (const auto& [file, f] : {std::pair{"images/regions.rl8", "SMAP"}, {"images/intro.rl4", "introfield"}}) {
    FILE* in = std::fopen(data_path(file).c_str(), "rb");
    ASSERT_NE(in, nullptr) << file;
    uint32_t tag = 0;
    ASSERT_EQ(fread_long(&tag, 1, in), 1u);
    EXPECT_TRUE(f[0] == 'S' || tag == MX_RUN4_TAG) << file;
    int rows = 0, cols = 0;
    MXgetfilepictspecs(in, &rows, &cols);
    std::fclose(in);
    EXPECT_EQ(describe({0, 0, cols, rows}), describe({0, 0, field(f).wd, field(f).ht})) << file;
  }

  // Help files: 25 lines 13 pixels apart above the buttons; pages end at a form
  // feed, none over 25 lines nor empty; lines of at most 80 characters that fit.
  const MXWindow& help = win("help");
  EXPECT_LE(13 * 25 + 3, button("help", "helpnext").y);
  for (const char* name : {"controls.hlp", "main.hlp", "options.hlp", "tutor1.hlp", "geo.txt", "tech.txt",
                           "pop.txt", "modeling.txt"}) {
    const std::vector<std::string> lines = lines_of(data_path(std::string("info/") + name));
    ASSERT_FALSE(lines.empty()) << name;
    int on_page = 0;
    bool ink = false;
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string where = std::string(name) + " line " + std::to_string(i + 1);
      EXPECT_LE(lines[i].size(), 80u) << where;
      EXPECT_LE(15 + 1 + width_in(SMALL, lines[i]), help.wd - help.bordersize - 2) << where;
      ++on_page;
      ink = ink || lines[i].find_first_not_of(" \t\f") != std::string::npos;
      if (lines[i].find('\f') != std::string::npos) {
        EXPECT_TRUE(ink) << where << ": an empty page";
        on_page = 0;
        ink = false;
      }
      EXPECT_LE(on_page, 25) << where << ": a page without its form feed";
    }
    EXPECT_TRUE(ink) << name << ": an empty last page";
  }
  // The version line: the first line beginning "Version" fits the version field.
  for (const std::string& line : lines_of(data_path("info/pop.txt")))
    if (line.rfind("Version", 0) == 0) {
      EXPECT_LE(1 + width_in(SMALL, line.substr(0, 79)), field("VERSION").wd) << line;
      return;
    }
  ADD_FAILURE() << "no version line";
}

}  // namespace
