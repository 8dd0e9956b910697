// Reading interface-definition files: the scanner's tokens and line accounting, the
// statement forms, counts and limits of the counting pass, the records of the filling
// pass, label escapes, and the exact fatal messages with their line numbers.
#include <string>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const char* const kRoot = "window (root 0 0 640 480 black lgray black 2 1 0)\n";

std::string parse_error(int line, const std::string& text) {
  return "Error on line: " + std::to_string(line) + ".\nLine: |" + text + "|\nMessage: parse error.\n";
}

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class InterfaceFile : public InterfaceTest {};

TEST_F(InterfaceFile, KeywordsInAnyCaseButCancelOnlyInCapitals) {
  ASSERT_EQ(fatal_of("Window (root 0 0 640 480 black lgray black 2 1 0)\n"
                     "WINDOW (other 1 2 3 4 black white black 1 0 0)\n"
                     "BuTtOn (b |B| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "CANCEL (a b c d)\n"),
            "");
  EXPECT_EQ(InfState.numwindows, 2);
  EXPECT_EQ(window("other").numbuttons, 1);
  EXPECT_EQ(window("other").x, 1);

  // In small letters "cancel" is a word, and no statement starts with a word.
  EXPECT_EQ(fatal_of(std::string(kRoot) + "\ncancel (a b c d)\n"), parse_error(2, "cancel (a b c d)"));
}

TEST_F(InterfaceFile, LongerWordsThatBeginWithAKeywordAreWords) {
  EXPECT_EQ(fatal_of(std::string(kRoot) + "windowx (w 0 0 1 1 black black black 0 0 0)\n"),
            parse_error(1, "windowx (w 0 0 1 1 black black black 0 0 0)"));
}

TEST_F(InterfaceFile, BarTextEndedByTheLineEndKeepsTheLineCount) {
  // The line feed that ends the text is consumed and not counted: the stray word on
  // the fourth line (three breaks) is reported on line 2.
  const std::string file = std::string(kRoot) + "msg (m1 |hello world\n)\noops\n";
  EXPECT_EQ(fatal_of(file), parse_error(2, "oops"));
  ASSERT_EQ(fatal_of(std::string(kRoot) + "msg (m1 |hello world\n)\n"), "");
  EXPECT_STREQ(MXgetmsg("m1"), "hello world");
  EXPECT_EQ(lineNumber, 2);
}

TEST_F(InterfaceFile, CarriageReturnLineFeedIsOneBreakAndALoneCarriageReturnIsOne) {
  EXPECT_EQ(fatal_of("window (root 0 0 640 480 black lgray black 2 1 0)\r\n\r\nbad\r\n"),
            parse_error(2, "bad"));
  EXPECT_EQ(fatal_of("window (root 0 0 640 480 black lgray black 2 1 0)\r\rbad\n"),
            parse_error(2, "bad"));
}

TEST_F(InterfaceFile, MinusSignsAndDigitsFollowedByLetters) {
  ASSERT_EQ(fatal_of("window (root -5 -0 640 480 black lgray black 2 1 0)\n"
                     "label (10 20black |x|)\n"),
            "");
  EXPECT_EQ(window("root").x, -5);
  EXPECT_EQ(window("root").y, 0);
  // "20black" is the number 20 followed by the word black.
  const GraphicType& g = window("root").graphics[0];
  EXPECT_EQ(g.y, 20);
  EXPECT_EQ(g.color, 0);
  EXPECT_STREQ(g.text, "x");

  EXPECT_EQ(fatal_of("window (root - 5 0 640 480 black lgray black 2 1 0)\n"),
            parse_error(0, ""));
}

TEST_F(InterfaceFile, CommasBlanksTabsAndCommentsSeparateAlike) {
  ASSERT_EQ(fatal_of("# a comment (with parentheses\n"
                     "window(root,0,0,640,480,black,lgray,black,2,1,0)  # trailing\n"
                     "window\t(\tw2 1 2 3 4 black\tlgray black 1 0 0 )\n"),
            "");
  EXPECT_EQ(window("w2").y, 2);
  EXPECT_EQ(window("root").ht, 480);
}

TEST_F(InterfaceFile, AnEmptyFileOrOneWithoutStatementsIsAParseError) {
  EXPECT_EQ(fatal_of(""), parse_error(0, ""));
  EXPECT_EQ(fatal_of("# nothing\n\n# here\n"), parse_error(3, ""));
}

TEST_F(InterfaceFile, MissingFile) {
  try {
    start("no/such/file.inf");
    FAIL() << "started without a file";
  } catch (const Fatal& f) {
    EXPECT_EQ(f.text, "Cannot open interface file |no/such/file.inf|.\n");
    EXPECT_EQ(f.code, -1);
  }
}

TEST_F(InterfaceFile, WindowRecordAndButtonRecord) {
  ASSERT_EQ(fatal_of("popup (file 100 40 black mgray white black 0)\n"
                     "plabel (save 1 save_simulation |Save|)\n"
                     "window (root 0 0 640 480 black lgray black 2 1 0)\n"
                     "button (quit |Quit| 10 10 60 20 black dgray lgray quit 1 1 0 C)\n"
                     "buttons (file |File| 80 10 60 20 white black peach @file 0 0 1 Right)\n"
                     "dragarea (area 5 6 7 8 peach area 1)\n"),
            "");
  const MXWindow& root = window("root");
  EXPECT_EQ(root.bordersize, 2);
  EXPECT_EQ(root.active, 1);
  EXPECT_EQ(root.bgcolor, 4);
  EXPECT_EQ(root.bstore_to_use, 0);
  ASSERT_EQ(root.numbuttons, 3);

  const MXButton& quit = root.wb[0];
  EXPECT_STREQ(quit.text, "Quit");
  EXPECT_EQ(quit.tsize, LARGE);
  EXPECT_EQ(quit.efgcolor, 0);
  EXPECT_EQ(quit.dfgcolor, 2);
  EXPECT_EQ(quit.bgcolor, 4);
  EXPECT_EQ(quit.border, 1);
  EXPECT_EQ(quit.active, ENABLED);
  EXPECT_EQ(quit.labpos, CENTER);
  EXPECT_EQ(quit.popupmenunum, -1);
  EXPECT_EQ(quit.drag, 0);

  const MXButton& file = root.wb[1];
  EXPECT_EQ(file.tsize, SMALL);
  EXPECT_EQ(file.popupmenunum, 0);
  EXPECT_EQ(file.labpos, RIGHT);
  EXPECT_EQ(file.repeatable, 1);
  EXPECT_EQ(file.active, DISABLED);
  EXPECT_NE(file.func, nullptr);  // bound to the routine named like the menu

  const MXButton& area = root.wb[2];
  EXPECT_EQ(area.drag, 1);
  EXPECT_EQ(area.text, nullptr);
  EXPECT_EQ(area.efgcolor, 16);
  EXPECT_EQ(area.dfgcolor, 16);
  EXPECT_EQ(area.bgcolor, 7);
  EXPECT_EQ(area.popupmenunum, -1);
  EXPECT_EQ(area.tsize, LARGE);
}

TEST_F(InterfaceFile, GraphicsFieldsFunctionsMessagesAndOptionalArguments) {
  ASSERT_EQ(fatal_of(std::string(kRoot) +
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
  EXPECT_EQ(root.graphics[0].type, 3);
  EXPECT_EQ(root.graphics[0].attrib, 1);
  EXPECT_EQ(root.graphics[1].type, 4);
  EXPECT_EQ(root.graphics[1].attrib, 0);
  EXPECT_EQ(root.graphics[2].type, 1);
  EXPECT_EQ(root.graphics[3].type, 2);
  EXPECT_EQ(root.graphics[4].type, 6);
  EXPECT_EQ(root.graphics[4].shadowcolor, 255);
  EXPECT_EQ(root.graphics[5].type, 7);
  EXPECT_EQ(root.graphics[5].shadowcolor, 1);

  int x, y, wd, ht, colour;
  MXgetfieldrect("version", &x, &y, &wd, &ht, &colour);
  EXPECT_EQ(x + y + wd + ht, 100);
  EXPECT_EQ(colour, 6);

  ASSERT_EQ(InfState.numfuncs, 2);
  EXPECT_EQ(InfState.funcs[0].dtime, 5);
  EXPECT_EQ(InfState.funcs[0].active, 1);
  EXPECT_EQ(InfState.funcs[0].mouse_off, 1);
  EXPECT_EQ(InfState.funcs[0].itime, -1);
  EXPECT_EQ(InfState.funcs[1].mouse_off, 0);
  EXPECT_EQ(InfState.speedup, 3);
  EXPECT_EQ(InfState.highlight, 6);
  EXPECT_EQ(InfState.buttonborder, 0);
  EXPECT_EQ(InfState.diagonals, 1);
  EXPECT_EQ(InfState.buttonTLcolor, 1);
  EXPECT_EQ(InfState.buttonBRcolor, 2);
}

TEST_F(InterfaceFile, MenuItemsBelongToTheLatestMenu) {
  ASSERT_EQ(fatal_of(std::string(kRoot) +
                     "popup (first 10 10 black dgray white black 1 closed)\n"
                     "plabel (a 1 item |A| 1)\n"
                     "plabel (b -1 item |B|)\n"
                     "popup (second 10 10 black dgray white black 0)\n"
                     "plabel (c 0 item |C|)\n"),
            "");
  ASSERT_EQ(InfState.numpopups, 2);
  EXPECT_EQ(Popups[0].numitems, 2);
  EXPECT_EQ(Popups[1].numitems, 1);
  EXPECT_EQ(Popups[0].item[0].checked, 1);
  EXPECT_EQ(Popups[0].item[1].checked, 0);
  EXPECT_EQ(Popups[0].item[1].active, INVISIBLE);
  EXPECT_NE(Popups[0].func, nullptr);
  EXPECT_EQ(Popups[1].func, nullptr);
  // Widths: the widest label in the large font plus 10, plus 10 for a check list.
  MXsetfont(LARGE);
  EXPECT_EQ(Popups[0].wd, std::max(MXtextwidth("A"), MXtextwidth("B")) + 20);
  EXPECT_EQ(Popups[1].wd, MXtextwidth("C") + 10);
}

TEST_F(InterfaceFile, AMenuItemBeforeAnyMenuIsRefused) {
  EXPECT_EQ(fatal_of(std::string(kRoot) + "plabel (a 1 item |A|)\n"),
            "No active popup menu for plabel.\n");
}

TEST_F(InterfaceFile, AButtonBeforeAnyWindowIsFatal) {
  EXPECT_EQ(fatal_of("button (b |B| 1 1 10 10 black black white quit 1 1 0 C)\n" + std::string(kRoot)),
            "No active window for line.\n");
  EXPECT_EQ(fatal_of("label (1 1 black |x|)\n" + std::string(kRoot)), "No active window for label.\n");
  EXPECT_EQ(fatal_of("rect (1 1 2 2 black 1 fill)\n" + std::string(kRoot)), "No active window for .\n");
  EXPECT_EQ(fatal_of("line (1 1 2 2 1 black)\n" + std::string(kRoot)), "No active window for line.\n");
  EXPECT_EQ(fatal_of("dragarea (a 1 1 2 2 black area 1)\n" + std::string(kRoot)),
            "No active window for line.\n");
}

TEST_F(InterfaceFile, NinetyNineWindowsAndTwentyFourMenus) {
  const std::string win = "window (w 0 0 10 10 black black black 0 0 0)\n";
  const std::string menu = "popup (m 0 0 black black black black 0)\n";
  EXPECT_EQ(fatal_of(kRoot + repeat(win, 98) + repeat(menu, 24)), "");
  EXPECT_EQ(InfState.numwindows, 99);
  EXPECT_EQ(InfState.numpopups, 24);
  EXPECT_EQ(fatal_of(kRoot + repeat(win, 99)), "Too many windows declared in interface file\n");
  EXPECT_EQ(fatal_of(kRoot + repeat(menu, 25)), "Too many popup menus declared in interface file\n");
}

TEST_F(InterfaceFile, LongNamesAreNotedAndKeptWhole) {
  const std::string name32(32, 'n');
  const std::string name31(31, 'k');
  std::string log = log_during([&] {
    EXPECT_EQ(fatal_of(kRoot + ("window (" + name32 + " 0 0 640 480 black lgray black 2 1 0)\n") +
                       "button (" + name31 + " |" + name32 + "| 1 1 10 10 black black white quit 1 1 0 C)\n"),
              "");
  });
  EXPECT_EQ(log, "Name too long: |" + name32 + "|.\nLabel too long: |" + name32 + "|\n");
  EXPECT_EQ(std::string(Win[1].name), name32);
  EXPECT_EQ(std::string(Win[1].wb[0].text), name32);
}

TEST_F(InterfaceFile, EveryFileDeclaresTheRootWindow) {
  EXPECT_EQ(fatal_of("window (main 0 0 640 480 black lgray black 2 1 0)\n"),
            "getname: Couldn't find |window| named |root|\n");
}

TEST_F(InterfaceFile, LabelEscapes) {
  ASSERT_EQ(fatal_of(std::string(kRoot) +
                     "button (a |\\^Up| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "button (b |\\\\| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "button (c |\\<| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "button (d |\\v\\>x| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "button (e |a\\b| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "button (f |end\\| 1 1 10 10 black black white quit 1 1 0 C)\n"
                     "button (g |One@Two| 1 1 10 10 black black white quit 1 1 0 C)\n"),
            "");
  const MXButton* b = Win[0].wb;
  EXPECT_STREQ(b[0].text, "Up");
  EXPECT_EQ(b[0].arrow, UP_ARROW_SYM);
  EXPECT_STREQ(b[1].text, "\\");
  EXPECT_EQ(b[1].arrow, NO_ARROW_SYM);
  EXPECT_STREQ(b[2].text, "");
  EXPECT_EQ(b[2].arrow, LEFT_ARROW_SYM);
  // The character right after an arrow escape is never an escape itself.
  EXPECT_STREQ(b[3].text, "\\>x");
  EXPECT_EQ(b[3].arrow, DOWN_ARROW_SYM);
  EXPECT_STREQ(b[4].text, "ab");
  EXPECT_STREQ(b[5].text, "end");
  EXPECT_STREQ(b[6].text, "One@Two");
}

TEST_F(InterfaceFile, UnknownNamesAreFatal) {
  EXPECT_EQ(fatal_of(std::string(kRoot) + "button (b |B| 1 1 10 10 black black white nosuch 1 1 0 C)\n"),
            "getname: Couldn't find |function| named |nosuch|\n");
  EXPECT_EQ(fatal_of(std::string(kRoot) + "button (b |B| 1 1 10 10 black black white @menu 1 1 0 C)\n"),
            "getname: Couldn't find |popup| named |menu|\n");
  EXPECT_EQ(fatal_of(std::string(kRoot) + "label (1 1 purple |x|)\n"),
            "convertcolor: color alias not found.\n\tAlias = |purple|\n");
  EXPECT_EQ(fatal_of(std::string(kRoot) + "redrawfunc (nothing)\n"),
            "getname: Couldn't find |function| named |nothing|\n");
}

TEST_F(InterfaceFile, StatementShapes) {
  // A missing argument, an extra one, a text where a word belongs, an unclosed list.
  EXPECT_EQ(fatal_of(std::string(kRoot) + "speedup ()\n"), parse_error(1, "speedup ()"));
  EXPECT_EQ(fatal_of(std::string(kRoot) + "speedup (1 2)\n"), parse_error(1, "speedup (1 2)"));
  EXPECT_EQ(fatal_of(std::string(kRoot) + "highlight (|white|)\n"), parse_error(1, "highlight (|white|)"));
  EXPECT_EQ(fatal_of(std::string(kRoot) + "highlight (white\n"), parse_error(2, ""));
  EXPECT_EQ(fatal_of(std::string(kRoot) + "msg (m |open text"), parse_error(1, "msg (m |open text"));
  EXPECT_EQ(fatal_of(std::string(kRoot) + "speedup [1]\n"), parse_error(1, "speedup [1]"));
  // "palette" and "end" stand alone.
  EXPECT_EQ(fatal_of(std::string("palette\n(extra 1 2 3)\nend\n") + kRoot), "");
}

TEST_F(InterfaceFile, OldPaletteEntryIsRefused) {
  EXPECT_EQ(fatal_of(std::string(kRoot) + "(extra 9 1 2 3)\n"),
            "This interface file uses an old palette entry syntax.\n  You can no longer set the "
            "index of a palette entry in the interface file.\n  Please contact Project Marlix "
            "about this problem.\n");
}

TEST_F(InterfaceFile, LookupsIgnoreCaseAndTheFirstOfTwoWins) {
  ASSERT_EQ(fatal_of(std::string(kRoot) + "window (Twin 5 0 1 1 black black black 0 0 0)\n"
                     "window (twin 6 0 1 1 black black black 0 0 0)\n"),
            "");
  EXPECT_EQ(MXwindownum("ROOT"), 0);
  EXPECT_EQ(window("TWIN").x, 5);
  EXPECT_EQ(getname(Win, sizeof(MXWindow), InfState.numwindows, "none", nullptr), -1);
  try {
    MXwindownum("none");
    FAIL();
  } catch (const Fatal& f) {
    EXPECT_EQ(f.text, "getname: Couldn't find |window| named |none|\n");
  }
}

TEST_F(InterfaceFile, ReadingTheSameFileTwiceGivesTheSameTables) {
  const std::string path = data_file("interface_basic.inf");
  start(path);
  const int windows = InfState.numwindows, popups = InfState.numpopups;
  const size_t block = MXwindowstatesize();
  closegraph();
  MXfreeinterfacetables();
  start(path);
  EXPECT_EQ(InfState.numwindows, windows);
  EXPECT_EQ(InfState.numpopups, popups);
  EXPECT_EQ(MXwindowstatesize(), block);
}

}  // namespace
