// Reading interface-definition files: the scanner's tokens and line accounting, the
// statement forms, counts and limits of the counting pass, the records of the filling
// pass, label escapes, and the exact fatal messages with their line numbers. Colours:
// the preset palette, placing new colours (black and white never change, the overflow
// of a 16-colour palette onto the six presets), aliases, colour lists and the palette
// file.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const std::string kRoot = "window (root 0 0 640 480 black lgray black 2 1 0)\n";
const std::string kBlackAndWhiteRoot = "window (root 0 0 640 480 black white black 2 1 0)\n";

std::string parse_error(int line, const std::string& text) {
  return "Error on line: " + std::to_string(line) + ".\nLine: |" + text + "|\nMessage: parse error.\n";
}
// n copies of s; or n lines `before` i `after`, i from 0: "(c0 1 2 3)", "(c1 1 2 3)", ...
std::string repeat(const std::string& s, int n, const std::string& after = "") {
  std::string out;
  for (int i = 0; i < n; ++i) out += after.empty() ? s : s + std::to_string(i) + after;
  return out;
}
std::vector<int> rgb(int i) { return {Interface_Palette[3 * i], Interface_Palette[3 * i + 1], Interface_Palette[3 * i + 2]}; }
std::string button_line(const std::string& name, const std::string& label, const char* routine = "quit") {
  return "button (" + name + " |" + label + "| 1 1 10 10 black black white " + routine + " 1 1 0 C)\n";
}

using InterfaceFile = InterfaceTest;

TEST_F(InterfaceFile, FatalErrorsGiveTheirMessageAndLine) {
  const std::string win = "window (w 0 0 10 10 black black black 0 0 0)\n";
  const std::string menu = "popup (m 0 0 black black black black 0)\n";
  const struct { std::string file, message; } cases[] = {
      // "cancel" in small letters is a word, and no statement starts with a word.
      {kRoot + "\ncancel (a b c d)\n", parse_error(2, "cancel (a b c d)")},
      // The line feed ending a bar text is consumed and not counted: the stray word on
      // the fourth line (three breaks) is reported on line 2.
      {kRoot + "msg (m1 |hello world\n)\noops\n", parse_error(2, "oops")},
      // A carriage return + line feed is one break, and so is a lone carriage return.
      {"window (root 0 0 640 480 black lgray black 2 1 0)\r\n\r\nbad\r\n", parse_error(2, "bad")},
      {"window (root 0 0 640 480 black lgray black 2 1 0)\r\rbad\n", parse_error(2, "bad")},
      {"window (root - 5 0 640 480 black lgray black 2 1 0)\n", parse_error(0, "")},
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
      {kRoot + "plabel (a 1 item |A|)\n", "No active popup menu for plabel.\n"},
      {button_line("b", "B") + kRoot, "No active window for line.\n"},
      {"label (1 1 black |x|)\n" + kRoot, "No active window for label.\n"},
      {kRoot + repeat(win, 99), "Too many windows declared in interface file\n"},
      {kRoot + repeat(menu, 25), "Too many popup menus declared in interface file\n"},
      {kRoot + repeat(win, 98) + repeat(menu, 24), ""},  // the most there may be
      {"window (main 0 0 640 480 black lgray black 2 1 0)\n", "getname: Couldn't find |window| named |root|\n"},
      {kRoot + button_line("b", "B", "nosuch"), "getname: Couldn't find |function| named |nosuch|\n"},
      {kRoot + button_line("b", "B", "@menu"), "getname: Couldn't find |popup| named |menu|\n"},
      {kRoot + "label (1 1 purple |x|)\n", "convertcolor: color alias not found.\n\tAlias = |purple|\n"},
      // Aliases name colours, not other aliases, and come before their use.
      {"alias (sky lblue)\nalias (sea sky)\n" + kRoot + "label (1 1 sea |x|)\n",
       "convertcolor: color alias not found.\n\tAlias = |sea|\n"},
      {kRoot + "label (1 1 sky |x|)\nalias (sky lblue)\n", "convertcolor: color alias not found.\n\tAlias = |sky|\n"},
      {repeat("alias (a", 51, " peach)\n") + kRoot, "Too many aliases.\n"},
      {repeat("colorlist (black white dgray mgray lgray)\n", 6) + kRoot, "Too many colorlists.\n"},
      {repeat("(c", 15, " 1 2 3)\n") + kBlackAndWhiteRoot,
       "Too many colors.\nPalette was initialized with 16 colors.\nLast color: |c14|.\n"},
      {kRoot + "(extra 9 1 2 3)\n",
       "This interface file uses an old palette entry syntax.\n  You can no longer set the index of a palette "
       "entry in the interface file.\n  Please contact Project Marlix about this problem.\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(fatal_of(c.file), c.message) << c.file;

  EXPECT_EQ(fatal_text([] { start("no/such/file.inf"); }), "Cannot open interface file |no/such/file.inf|.\n");
}

TEST_F(InterfaceFile, KeywordsNumbersSeparatorsBarTextsAndLookups) {
  ASSERT_EQ(fatal_of("# a comment (with parentheses\n"
                     "Window(root,-5,-0,640,480,black,lgray,black,2,1,0)  # trailing\n"
                     "WINDOW\t(\tw2 1 2 3 4 black\tlgray black 1 0 0 )\n"
                     "label (10 20black |x|)\n"
                     "BuTtOn (b |B| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "CANCEL (a b c d)\n"  // only in capitals: in small letters it is a word
                     "palette\n(extra 1 2 3)\nend\n"  // "palette" and "end" stand alone
                     "window (TWIN 5 0 1 1 black black black 0 0 0)\n"
                     "window (twin 6 0 1 1 black black black 0 0 0)\n"
                     "msg (m1 |hello world\n)\n"),
            "");
  EXPECT_EQ(std::vector<int>({window("root").x, window("root").y, window("w2").numbuttons, InfState.numwindows}),
            std::vector<int>({-5, 0, 1, 4}));
  // "20black" is the number 20 followed by the word black.
  const GraphicType& g = window("w2").graphics[0];
  EXPECT_EQ(std::vector<int>({g.y, g.color}), std::vector<int>({20, 0}));
  EXPECT_STREQ(g.text, "x");
  EXPECT_STREQ(MXgetmsg("m1"), "hello world");
  EXPECT_STREQ(MXgetmsg("absent"), "");
  EXPECT_EQ(lineNumber, 12);  // twelve breaks: the one ending the bar text is not counted
  // Lookups ignore case and the first of two names wins.
  EXPECT_EQ(window("Twin").x, 5);
  EXPECT_EQ(getname(Win, sizeof(MXWindow), InfState.numwindows, "none", nullptr), -1);
}

// The records the drawing and event-loop tests do not show: what a button is bound to,
// menu items of the latest menu, menu widths and timed functions.
TEST_F(InterfaceFile, RecordsOfButtonsMenusAndFunctions) {
  ASSERT_EQ(fatal_of("popup (file 100 40 black mgray white black 1 closed)\n"
                     "plabel (save 1 save_simulation |Save| 1)\n"
                     "plabel (b -1 item |B|)\n"
                     "popup (second 10 10 black dgray white black 0)\n"
                     "plabel (c 0 item |C|)\n" +
                     kRoot +
                     "buttons (file |File| 80 10 60 20 white black peach @file 0 0 1 Right)\n"
                     "dragarea (area 5 6 7 8 peach area 1)\n"
                     "function (do_intro 5 1)\n"
                     "function (walkthru 7 0 0)\n"),
            "");
  const MXWindow& root = window("root");
  // Label size, colours (enabled, disabled, face), menu, drag area, repeat.
  const auto look = [](const MXButton& b) {
    return std::vector<int>({b.tsize, b.efgcolor, b.dfgcolor, b.bgcolor, b.popupmenunum, b.drag, b.repeatable});
  };
  EXPECT_EQ(look(root.wb[0]), std::vector<int>({SMALL, 1, 0, 7, 0, 0, 1}));
  EXPECT_NE(root.wb[0].func, nullptr);  // bound to the routine named like the menu
  EXPECT_EQ(root.wb[1].text, nullptr);
  EXPECT_EQ(look(root.wb[1]), std::vector<int>({LARGE, 16, 16, 7, -1, 1, 0}));
  EXPECT_EQ(std::vector<int>({Popups[0].numitems, Popups[1].numitems, Popups[0].item[0].checked,
                              Popups[0].item[1].checked, Popups[0].item[1].active}),
            std::vector<int>({2, 1, 1, 0, INVISIBLE}));
  EXPECT_TRUE(Popups[0].func != nullptr && Popups[1].func == nullptr);
  // Widths: the widest label in the large font plus 10, plus 10 for a check list.
  MXsetfont(LARGE);
  EXPECT_EQ(Popups[0].wd, std::max(MXtextwidth("Save"), MXtextwidth("B")) + 20);
  EXPECT_EQ(Popups[1].wd, MXtextwidth("C") + 10);
  const Function* f = InfState.funcs;
  EXPECT_EQ(std::vector<int>({InfState.numfuncs, f[0].dtime, f[0].active, f[0].mouse_off, f[0].itime, f[1].mouse_off}),
            std::vector<int>({2, 5, 1, 1, -1, 0}));
}

TEST_F(InterfaceFile, LongNamesAreNotedAndKeptWholeAndLabelEscapes) {
  const std::string name32(32, 'n');
  std::string log = log_during([&] {
    EXPECT_EQ(fatal_of(kRoot + ("window (" + name32 + " 0 0 640 480 black lgray black 2 1 0)\n") +
                       button_line(std::string(31, 'k'), name32)),
              "");
  });
  EXPECT_EQ(log, "Name too long: |" + name32 + "|.\nLabel too long: |" + name32 + "|\n");
  EXPECT_EQ(std::string(Win[1].name), name32);
  EXPECT_EQ(std::string(Win[1].wb[0].text), name32);
  // Label escapes: the character right after an arrow escape is never an escape itself.
  const struct { const char *label, *text; int arrow; } cases[] = {
      {"\\^Up", "Up", UP_ARROW_SYM}, {"\\\\", "\\", NO_ARROW_SYM},     {"\\<", "", LEFT_ARROW_SYM},
      {"\\v\\>x", "\\>x", DOWN_ARROW_SYM}, {"a\\b", "ab", NO_ARROW_SYM}, {"end\\", "end", NO_ARROW_SYM},
      {"One@Two", "One@Two", NO_ARROW_SYM},
  };
  std::string file = kRoot;
  for (const auto& c : cases) file += button_line("b", c.label);
  ASSERT_EQ(fatal_of(file), "");
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
    EXPECT_EQ(std::string(Win[0].wb[i].text) + "/" + std::to_string(Win[0].wb[i].arrow),
              std::string(cases[i].text) + "/" + std::to_string(cases[i].arrow));
}

TEST_F(InterfaceFile, PaletteAliasesAndColourLists) {
  ASSERT_EQ(fatal_of("(White 1 2 3)\n(black 4 5 6)\n(PEACH 7 8 9)\n(c0 1 2 3)\n" + kRoot), "");
  const char* names[] = {"black", "white", "dgray", "mgray", "lgray", "bluegray", "lblue", "peach", "c0"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(MXconvertcolor(names[i]), i);
  // White and black never change; peach does, and a redefinition takes no new slot.
  const std::vector<std::vector<int>> expected = {{0, 0, 0},   {63, 63, 63}, {50, 45, 45}, {30, 30, 55}, {53, 53, 53},
                                                  {0, 50, 50}, {10, 10, 55}, {7, 8, 9},    {1, 2, 3}};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(rgb(i), expected[i]) << names[i];
  EXPECT_EQ(NumColors, 9);
  writepalettefile(Interface_Palette);
  const std::string text = read_text("palette.txt");
  EXPECT_EQ(text.substr(0, 33), " 0   0   0\n63  63  63\n50  45  45\n");
  EXPECT_NE(text.find("\n 1   2   3\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 16);
  // Fourteen new colours in a 16-colour palette: the presets are gone afterwards, so the window uses black and white only.
  ASSERT_EQ(fatal_of(repeat("(c", 14, " 1 2 3)\n") + kBlackAndWhiteRoot), "");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(MXconvertcolor(("c" + std::to_string(i)).c_str()), 8 + i);
  const char* replaced[] = {"dgray", "mgray", "lgray", "bluegray", "lblue", "peach"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(MXconvertcolor(("c" + std::to_string(8 + i)).c_str()), 2 + i);
    EXPECT_EQ(MXconvertcolor(replaced[i]), -1) << replaced[i];
  }
  EXPECT_EQ(std::make_pair(MXconvertcolor("black"), MXconvertcolor("white")), std::make_pair(0, 1));
  ASSERT_EQ(fatal_of(repeat("(c", 248, " 1 2 3)\n") + kRoot, 256), "");
  EXPECT_EQ(std::make_pair(MXconvertcolor("c247"), MXconvertcolor("dgray")), std::make_pair(255, 2));
  // Aliases and colour lists.
  ASSERT_EQ(fatal_of("alias (sky lblue)\nalias (sea sky)\nalias (ghost nosuch)\n" + kRoot + "label (1 1 SKY |x|)\n"),
            "");
  EXPECT_EQ(Win[0].graphics[0].color, 6);
  // Not in the palette: 15 through the forgiving public lookup; -1 for no alias at all.
  EXPECT_EQ(std::vector<int>({MXconvertcolor("sky"), MXconvertcolor("sea"), MXconvertcolor("ghost"), MXconvertcolor("nothing")}),
            std::vector<int>({6, 15, 15, -1}));
  ASSERT_EQ(fatal_of(repeat("alias (a", 50, " peach)\n") + kRoot), "");  // fifty aliases are allowed
  EXPECT_EQ(MXconvertcolor("a49"), 7);
  ASSERT_EQ(fatal_of("alias (a peach)\ncolorlist (a white lblue black mgray)\n" + kRoot), "");
  // Never defined or outside the table: black.
  EXPECT_EQ(std::vector<int>({MXgetlistcolor(0, 0), MXgetlistcolor(0, 2), MXgetlistcolor(1, 0), MXgetlistcolor(7, 9)}),
            std::vector<int>({7, 6, 0, 0}));
  EXPECT_EQ(fatal_of(repeat("colorlist (black white dgray mgray lgray)\n", 5) + kRoot), "");
}

}  // namespace
