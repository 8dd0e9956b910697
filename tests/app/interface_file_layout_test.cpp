// Checks of the program's interface file (data/varnock.inf) as the library reads
// it: it declares every name the program looks up; every window lies on the
// 640 x 480 screen, every control and field inside its window and every label
// clear of both; and the widest texts (populations, country names, messages) fit
// the fields that show them.
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
      EXPECT_TRUE(inside(field(f), inner(win(window)))) << f << " in " << window;
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

}  // namespace
