// Reading interface-definition files: the scanner's tokens and line accounting, the
// statement forms, counts and limits of the counting pass, the records of the filling
// pass, label escapes, and the exact fatal messages with their line numbers.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const std::string kRoot = "window (root 0 0 640 480 black lgray black 2 1 0)\n";

std::string parse_error(int line, const std::string& text) {
  return "Error on line: " + std::to_string(line) + ".\nLine: |" + text + "|\nMessage: parse error.\n";
}
std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}
std::string button_line(const std::string& name, const std::string& label, const char* routine = "quit") {
  return "button (" + name + " |" + label + "| 1 1 10 10 black black white " + routine + " 1 1 0 C)\n";
}

class InterfaceFile : public InterfaceTest {};

TEST_F(InterfaceFile, FatalErrorsGiveTheirMessageAndLine) {
  const std::string win = "window (w 0 0 10 10 black black black 0 0 0)\n";
  const std::string menu = "popup (m 0 0 black black black black 0)\n";
  const struct {
    std::string file, message;
  } cases[] = {
      // "cancel" in small letters is a word, and no statement starts with a word.
      {kRoot + "\ncancel (a b c d)\n", parse_error(2, "cancel (a b c d)")},
      {kRoot + "windowx (w 0 0 1 1 black black black 0 0 0)\n",
       parse_error(1, "windowx (w 0 0 1 1 black black black 0 0 0)")},
      // The line feed ending a bar text is consumed and not counted: the stray word on
      // the fourth line (three breaks) is reported on line 2.
      {kRoot + "msg (m1 |hello world\n)\noops\n", parse_error(2, "oops")},
      // A carriage return + line feed is one break, and so is a lone carriage return.
      {"window (root 0 0 640 480 black lgray black 2 1 0)\r\n\r\nbad\r\n", parse_error(2, "bad")},
      {"window (root 0 0 640 480 black lgray black 2 1 0)\r\rbad\n", parse_error(2, "bad")},
      {"window (root - 5 0 640 480 black lgray black 2 1 0)\n", parse_error(0, "")},
      {"", parse_error(0, "")},
      {"# nothing\n\n# here\n", parse_error(3, "")},
      // A missing argument, an extra one, a text where a word belongs, unclosed lists.
      {kRoot + "speedup ()\n", parse_error(1, "speedup ()")},
      {kRoot + "speedup (1 2)\n", parse_error(1, "speedup (1 2)")},
      // A window name the library cannot hand on whole.
      {kRoot + "window (" + std::string(81, 'w') + " 0 0 1 1 black black black 0 0 0)\n",
       "Error on line: 1.\nLine: |window (" + std::string(81, 'w') +
           " 0 0 1 1 black black black 0 0 0)|\nMessage: Window name longer than 80 characters.\n"},
      {kRoot + "highlight (|white|)\n", parse_error(1, "highlight (|white|)")},
      {kRoot + "highlight (white\n", parse_error(2, "")},
      {kRoot + "msg (m |open text", parse_error(1, "msg (m |open text")},
      {kRoot + "speedup [1]\n", parse_error(1, "speedup [1]")},
      {kRoot + "plabel (a 1 item |A|)\n", "No active popup menu for plabel.\n"},
      {button_line("b", "B") + kRoot, "No active window for line.\n"},
      {"label (1 1 black |x|)\n" + kRoot, "No active window for label.\n"},
      {"rect (1 1 2 2 black 1 fill)\n" + kRoot, "No active window for .\n"},
      {"line (1 1 2 2 1 black)\n" + kRoot, "No active window for line.\n"},
      {"dragarea (a 1 1 2 2 black area 1)\n" + kRoot, "No active window for line.\n"},
      {kRoot + repeat(win, 99), "Too many windows declared in interface file\n"},
      {kRoot + repeat(menu, 25), "Too many popup menus declared in interface file\n"},
      {"window (main 0 0 640 480 black lgray black 2 1 0)\n", "getname: Couldn't find |window| named |root|\n"},
      {kRoot + button_line("b", "B", "nosuch"), "getname: Couldn't find |function| named |nosuch|\n"},
      {kRoot + button_line("b", "B", "@menu"), "getname: Couldn't find |popup| named |menu|\n"},
      {kRoot + "label (1 1 purple |x|)\n", "convertcolor: color alias not found.\n\tAlias = |purple|\n"},
      {kRoot + "redrawfunc (nothing)\n", "getname: Couldn't find |function| named |nothing|\n"},
      {kRoot + "(extra 9 1 2 3)\n",
       "This interface file uses an old palette entry syntax.\n  You can no longer set the index of a palette "
       "entry in the interface file.\n  Please contact Project Marlix about this problem.\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(fatal_of(c.file), c.message) << c.file;

  const Fatal missing = fatal_in([] { start("no/such/file.inf"); });
  EXPECT_EQ(missing.text, "Cannot open interface file |no/such/file.inf|.\n");
  EXPECT_EQ(missing.code, -1);
}

TEST_F(InterfaceFile, KeywordsInAnyCaseButCancelOnlyInCapitals) {
  ASSERT_EQ(fatal_of("Window (root 0 0 640 480 black lgray black 2 1 0)\n"
                     "WINDOW (other 1 2 3 4 black white black 1 0 0)\n"
                     "BuTtOn (b |B| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "CANCEL (a b c d)\n"
                     "palette\n(extra 1 2 3)\nend\n"),  // "palette" and "end" stand alone
            "");
  EXPECT_EQ(InfState.numwindows, 2);
  EXPECT_EQ(window("other").numbuttons, 1);
  EXPECT_EQ(window("other").x, 1);
}

TEST_F(InterfaceFile, NumbersSeparatorsAndBarTexts) {
  ASSERT_EQ(fatal_of("# a comment (with parentheses\n"
                     "window(root,-5,-0,640,480,black,lgray,black,2,1,0)  # trailing\n"
                     "window\t(\tw2 1 2 3 4 black\tlgray black 1 0 0 )\n"
                     "label (10 20black |x|)\n"
                     "msg (m1 |hello world\n)\n"),
            "");
  EXPECT_EQ(window("root").x, -5);
  EXPECT_EQ(window("root").y, 0);
  EXPECT_EQ(window("root").ht, 480);
  // "20black" is the number 20 followed by the word black.
  const GraphicType& g = window("w2").graphics[0];
  EXPECT_EQ(std::vector<int>({g.y, g.color}), std::vector<int>({20, 0}));
  EXPECT_STREQ(g.text, "x");
  EXPECT_STREQ(MXgetmsg("m1"), "hello world");
  EXPECT_EQ(lineNumber, 5);  // five breaks: the one ending the bar text is not counted
}

TEST_F(InterfaceFile, WindowAndButtonRecords) {
  ASSERT_EQ(fatal_of("popup (file 100 40 black mgray white black 0)\n"
                     "plabel (save 1 save_simulation |Save|)\n" +
                     kRoot +
                     "button (quit |Quit| 10 10 60 20 black dgray lgray quit 1 1 0 C)\n"
                     "buttons (file |File| 80 10 60 20 white black peach @file 0 0 1 Right)\n"
                     "dragarea (area 5 6 7 8 peach area 1)\n"),
            "");
  const MXWindow& root = window("root");
  EXPECT_EQ(std::vector<int>({root.bordersize, root.active, root.bgcolor, root.bstore_to_use, root.numbuttons}),
            std::vector<int>({2, 1, 4, 0, 3}));
  // Label size, colours (enabled, disabled, face), menu, drag area.
  const auto look = [](const MXButton& b) {
    return std::vector<int>({b.tsize, b.efgcolor, b.dfgcolor, b.bgcolor, b.popupmenunum, b.drag});
  };
  const auto states = [](const MXButton& b) { return std::vector<int>({b.border, b.active, b.labpos, b.repeatable}); };
  EXPECT_STREQ(root.wb[0].text, "Quit");
  EXPECT_EQ(look(root.wb[0]), std::vector<int>({LARGE, 0, 2, 4, -1, 0}));
  EXPECT_EQ(states(root.wb[0]), std::vector<int>({1, ENABLED, CENTER, 0}));
  EXPECT_EQ(look(root.wb[1]), std::vector<int>({SMALL, 1, 0, 7, 0, 0}));
  EXPECT_EQ(states(root.wb[1]), std::vector<int>({0, DISABLED, RIGHT, 1}));
  EXPECT_NE(root.wb[1].func, nullptr);  // bound to the routine named like the menu
  EXPECT_EQ(root.wb[2].text, nullptr);
  EXPECT_EQ(look(root.wb[2]), std::vector<int>({LARGE, 16, 16, 7, -1, 1}));
}

TEST_F(InterfaceFile, GraphicsFieldsFunctionsAndSettings) {
  ASSERT_EQ(fatal_of(kRoot +
                     "rect (1 2 30 40 peach 1 FiLl)\n"
                     "rect (1 2 30 40 peach 2 hollow)\n"
                     "line (0 0 10 0 1 white)\n"
                     "line (0 0 0 10 3 white)\n"
                     "label (5 15 black |Big|)\n"
                     "labels (5 30 black |Small| white)\n"
                     "field (VERSION 10 20 30 40 lblue)\n"
                     "function (do_intro 5 1)\n"
                     "function (walkthru 7 0 0)\n"
                     "speedup (3)\n"
                     "highlight (lblue)\n"
                     "buttonstuff (black 1 white dgray)\n"),
            "");
  const MXWindow& root = window("root");
  ASSERT_EQ(root.numgraphics, 6);
  std::vector<int> types;
  for (int i = 0; i < 6; ++i) types.push_back(root.graphics[i].type);
  EXPECT_EQ(types, std::vector<int>({3, 4, 1, 2, 6, 7}));
  EXPECT_EQ(std::vector<int>({root.graphics[0].attrib, root.graphics[1].attrib}), std::vector<int>({1, 0}));
  EXPECT_EQ(root.graphics[4].shadowcolor, 255);
  EXPECT_EQ(root.graphics[5].shadowcolor, 1);

  int x, y, wd, ht, colour;
  MXgetfieldrect("version", &x, &y, &wd, &ht, &colour);
  EXPECT_EQ(std::vector<int>({x, y, wd, ht, colour}), std::vector<int>({10, 20, 30, 40, 6}));
  ASSERT_EQ(InfState.numfuncs, 2);
  const Function* f = InfState.funcs;
  EXPECT_EQ(std::vector<int>({f[0].dtime, f[0].active, f[0].mouse_off, f[0].itime, f[1].mouse_off}),
            std::vector<int>({5, 1, 1, -1, 0}));
  EXPECT_EQ(std::vector<int>({InfState.speedup, InfState.highlight, InfState.buttonborder, InfState.diagonals,
                              InfState.buttonTLcolor, InfState.buttonBRcolor}),
            std::vector<int>({3, 6, 0, 1, 1, 2}));
}

TEST_F(InterfaceFile, MenuItemsBelongToTheLatestMenu) {
  ASSERT_EQ(fatal_of(kRoot +
                     "popup (first 10 10 black dgray white black 1 closed)\n"
                     "plabel (a 1 item |A| 1)\n"
                     "plabel (b -1 item |B|)\n"
                     "popup (second 10 10 black dgray white black 0)\n"
                     "plabel (c 0 item |C|)\n"),
            "");
  ASSERT_EQ(InfState.numpopups, 2);
  EXPECT_EQ(std::vector<int>({Popups[0].numitems, Popups[1].numitems}), std::vector<int>({2, 1}));
  EXPECT_EQ(std::vector<int>({Popups[0].item[0].checked, Popups[0].item[1].checked, Popups[0].item[1].active}),
            std::vector<int>({1, 0, INVISIBLE}));
  EXPECT_NE(Popups[0].func, nullptr);
  EXPECT_EQ(Popups[1].func, nullptr);
  // Widths: the widest label in the large font plus 10, plus 10 for a check list.
  MXsetfont(LARGE);
  EXPECT_EQ(Popups[0].wd, std::max(MXtextwidth("A"), MXtextwidth("B")) + 20);
  EXPECT_EQ(Popups[1].wd, MXtextwidth("C") + 10);
}

TEST_F(InterfaceFile, NinetyNineWindowsAndTwentyFourMenus) {
  EXPECT_EQ(fatal_of(kRoot + repeat("window (w 0 0 10 10 black black black 0 0 0)\n", 98) +
                     repeat("popup (m 0 0 black black black black 0)\n", 24)),
            "");
  EXPECT_EQ(InfState.numwindows, 99);
  EXPECT_EQ(InfState.numpopups, 24);
}

TEST_F(InterfaceFile, LongNamesAreNotedAndKeptWhole) {
  const std::string name32(32, 'n');
  std::string log = log_during([&] {
    EXPECT_EQ(fatal_of(kRoot + ("window (" + name32 + " 0 0 640 480 black lgray black 2 1 0)\n") +
                       button_line(std::string(31, 'k'), name32)),
              "");
  });
  EXPECT_EQ(log, "Name too long: |" + name32 + "|.\nLabel too long: |" + name32 + "|\n");
  EXPECT_EQ(std::string(Win[1].name), name32);
  EXPECT_EQ(std::string(Win[1].wb[0].text), name32);
}

TEST_F(InterfaceFile, LabelEscapes) {
  // The character right after an arrow escape is never an escape itself.
  const struct {
    const char *label, *text;
    int arrow;
  } cases[] = {
      {"\\^Up", "Up", UP_ARROW_SYM}, {"\\\\", "\\", NO_ARROW_SYM},     {"\\<", "", LEFT_ARROW_SYM},
      {"\\v\\>x", "\\>x", DOWN_ARROW_SYM}, {"a\\b", "ab", NO_ARROW_SYM}, {"end\\", "end", NO_ARROW_SYM},
      {"One@Two", "One@Two", NO_ARROW_SYM},
  };
  std::string file = kRoot;
  for (const auto& c : cases) file += button_line("b", c.label);
  ASSERT_EQ(fatal_of(file), "");
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    EXPECT_STREQ(Win[0].wb[i].text, cases[i].text) << cases[i].label;
    EXPECT_EQ(Win[0].wb[i].arrow, cases[i].arrow) << cases[i].label;
  }
}

TEST_F(InterfaceFile, LookupsIgnoreCaseAndTheFirstOfTwoWins) {
  ASSERT_EQ(fatal_of(kRoot + "window (Twin 5 0 1 1 black black black 0 0 0)\n"
                     "window (twin 6 0 1 1 black black black 0 0 0)\n"),
            "");
  EXPECT_EQ(MXwindownum("ROOT"), 0);
  EXPECT_EQ(window("TWIN").x, 5);
  EXPECT_EQ(getname(Win, sizeof(MXWindow), InfState.numwindows, "none", nullptr), -1);
  EXPECT_EQ(fatal_text([] { MXwindownum("none"); }), "getname: Couldn't find |window| named |none|\n");
}

}  // namespace
