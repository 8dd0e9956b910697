// Help messages, alerts, paged help screens and the version line, checked by the
// text that lands on the headless screen and the states of the page buttons.
#include <cstdio>
#include <string>
#include <tuple>

#include "ui/interface_test_support.h"

using namespace ifacetest;

namespace {

const IntrFunction kRoutines[] = {UI_RECORDER(hnext), UI_RECORDER(hprev)};

constexpr int kWhite = 1, kLightGrey = 4;

// The rightmost column in [x0, x1) with a pixel other than bg in the rows from
// top to bottom; -1 when there is none.
int ink_right(int x0, int x1, int top, int bottom, int bg) {
  int right = -1;
  for (int y = top; y <= bottom; ++y)
    for (int x = x0; x < x1; ++x)
      if (MXPget_pixel(x, y) != bg) right = x;
  return right;
}
int width(FontSizeType font, const std::string& text) { return MXsetfont(font), MXtextwidth(text.c_str()); }
std::string ms(int n) { return std::string(static_cast<size_t>(n), 'M'); }

// A help file whose line i (from 1) is i capital Ms.
std::string numbered_file(const char* name, int lines, int formfeed_line = 0) {
  std::string text;
  for (int i = 1; i <= lines; ++i) text += ms(i) + (i == formfeed_line ? "\f" : "") + "\n";
  return write_file(text, name);
}

struct Help : InterfaceTest {
  void SetUp() override { start_interface("help.inf", kRoutines, std::size(kRoutines)); }

  // The help window is at (40, 20); line k of a page has its baseline at 13 k and
  // starts at x 15 (+ 1), in the small font.
  static int help_line_right(int k) {
    MXsetfont(SMALL);
    const int base = 20 + 13 * k;
    return ink_right(56, 595, base - MXtextheight() + 2, base, kWhite);
  }
  static void expect_help_lines(std::initializer_list<std::pair<int, std::string>> lines) {
    for (const auto& [k, text] : lines) EXPECT_NEAR(help_line_right(k), 56 + width(SMALL, text) - 1, 3) << "line " << k;
  }
  static void expect_page_buttons(ButtonStatusType next, ButtonStatusType prev) {
    EXPECT_EQ(std::make_pair(state_of("help", "helpnext"), state_of("help", "helpprev")), std::make_pair(next, prev));
  }
  // The first line of the message window (0, 420): baseline 432, from x 25 (+ 1), in
  // the large font; only the lower rows, which the second line does not reach.
  static void expect_message(const char* text) {
    EXPECT_NEAR(ink_right(26, 630, 426, 430, kWhite), 26 + width(LARGE, text) - 1, 3) << text;
  }
};

TEST_F(Help, MessagesGoBackOnceRedrawOnlyWhenAskedAndStayOutOfOtherWindows) {
  MXdisplayhelpmessage(5);
  expect_message("Five one");
  MXsetcurrentnamedwindow("root");
  MXsetfont(SMALL);
  MXsetcolor(9);
  MXdisplayhelpmessage(7);
  // Drawing the message leaves window, font and colour as they were.
  char name[100];
  EXPECT_STREQ(MXgetcurrentwindowname(name), "root");
  EXPECT_EQ(std::make_pair(MXPgetfont(), MXgetcolor()), std::make_pair(SMALL, 9));
  expect_message("Seven and one");
  MXdisplayhelpmessage(-2);
  expect_message("Five one");
  MXdisplayhelpmessage(-2);  // back once only
  EXPECT_EQ(std::make_pair(Currmsg, Lastmsg), std::make_pair(5, 5));
  // The shown message is not drawn again; -1 redraws it and 0 draws nothing.
  MXsetcolor(7);
  MXPdraw_pixel(600, 470);  // a mark inside the message window
  MXdisplayhelpmessage(5);
  EXPECT_EQ(MXPget_pixel(600, 470), 7);
  MXdisplayhelpmessage(-1);
  EXPECT_EQ(MXPget_pixel(600, 470), kWhite);
  MXPdraw_pixel(600, 470);
  MXdisplayhelpmessage(0);
  EXPECT_EQ(std::make_pair(Currmsg, Lastmsg), std::make_pair(0, 5));
  EXPECT_EQ(MXPget_pixel(600, 470), 7);
  // While the message window is hidden, the message is kept but drawn nowhere.
  MXsetdeactivenamedwindow("message");
  MXsetcurrentnamedwindow("root");
  MXdisplayhelpmessage(7);
  EXPECT_EQ(ink_right(26, 300, 3, 14, kLightGrey), -1);  // root at (25, 12) is untouched
  MXsetactivenamedwindow("message");
  MXdisplayhelpmessage(-1);
  expect_message("Seven and one");
}

TEST_F(Help, ASecondAlertRingsNoBellAndReplacesTheTexts) {
  const int bells = MXPheadless_bells();
  MXalert(5, 0, "first", "second", "");
  EXPECT_EQ(std::make_tuple(MXPheadless_bells(), AlertUp, Currmsg, window("alert").active),
            std::make_tuple(bells + 1, 1, 5, 2));  // shown modally
  // Lines at x 6 (+ 1) of the alert at (150, 150), baselines 15 and 30.
  EXPECT_NEAR(ink_right(157, 485, 159, 164, kWhite), 157 + width(LARGE, "First alert line") - 1, 3);
  EXPECT_NEAR(ink_right(157, 485, 174, 179, kWhite), 157 + width(LARGE, "Second alert line") - 1, 3);
  MXalert(7, 0, "third", "");  // no bell
  EXPECT_NEAR(ink_right(157, 485, 159, 164, kWhite), 157 + width(LARGE, "A third and much longer alert line") - 1, 3);
  EXPECT_EQ(ink_right(157, 485, 174, 179, kWhite), -1);
  MXremovenamedwindow("alert");
  EXPECT_EQ(AlertUp, 0);
  MXalert(5, 0, "first", "");  // a bell again
  EXPECT_EQ(MXPheadless_bells(), bells + 2);
}

// Help screens ---------------------------------------------------------------------------------

// Pages of twenty-five lines, or up to a form feed; no page is empty.
TEST_F(Help, PagesForwardAndBackAndFormFeeds) {
  const std::string thirty = numbered_file("thirty.hlp", 30), formfeed = numbered_file("formfeed.hlp", 10, 3);
  std::string text = read_text(numbered_file("ff.hlp", 30).c_str());
  const std::string ff = write_file(text.insert(text.find(ms(26) + "\n"), "\f\n"), "ff.hlp");  // right after a full page
  using Lines = std::vector<std::pair<int, std::string>>;
  const Lines first = {{1, ms(1)}, {25, ms(25)}}, second = {{1, ms(26)}, {5, ms(30)}, {6, ""}};
  const struct { std::string file; int page; Lines lines; ButtonStatusType next, prev; } steps[] = {
      {thirty, FirstPage, first, ENABLED, DISABLED},  {thirty, PrevPage, first, ENABLED, DISABLED},  // stays
      {thirty, NextPage, second, DISABLED, ENABLED},  {thirty, PrevPage, first, ENABLED, DISABLED},
      {thirty, NextPage, second, DISABLED, ENABLED},  {thirty, CurrPage, second, DISABLED, ENABLED},  // the same again
      {numbered_file("twentyfive.hlp", 25), FirstPage, {{25, ms(25)}}, INVISIBLE, INVISIBLE},  // one page
      {formfeed, FirstPage, {{3, ms(3)}, {4, ""}}, ENABLED, DISABLED},
      {formfeed, NextPage, {{1, ms(4)}, {7, ms(10)}}, DISABLED, ENABLED},
      {numbered_file("lastff.hlp", 3, 3), FirstPage, {{3, ms(3)}}, INVISIBLE, INVISIBLE},  // no empty last page
      {ff, FirstPage, first, ENABLED, DISABLED},      {ff, NextPage, {{1, ms(26)}}, DISABLED, ENABLED},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(MXdohelpscreens(step.file.c_str(), step.page, 0, step.page == FirstPage ? 5 : -1), 1);
    for (const auto& [k, line] : step.lines)
      EXPECT_NEAR(help_line_right(k), line.empty() ? -1 : 56 + width(SMALL, line) - 1, 3) << step.file << " " << k;
    expect_page_buttons(step.next, step.prev);
  }
  EXPECT_EQ(Currmsg, 5);
}

TEST_F(Help, LongLinesComeInPiecesOfEightyAndAMissingFileSaysSo) {
  const std::string file = write_file(std::string(80, 'i') + "\n" + std::string(85, 'i') + "\nM\n", "long.hlp");
  MXdohelpscreens(file.c_str(), FirstPage, 0, 5);
  expect_help_lines({{1, std::string(80, 'i')}, {2, std::string(80, 'i')}, {3, std::string(5, 'i')}, {4, "M"}});
  EXPECT_EQ(MXdohelpscreens("/nonexistent/help.hlp", FirstPage, 0, 5), 0);
  expect_page_buttons(DISABLED, DISABLED);
  EXPECT_NE(help_line_right(1), -1);  // "Unable to open this help file"
  char two[3];
  EXPECT_STREQ(MXgetcurrentwindowname(two), "he");  // "help", cut to the buffer
}

// The version line is the first line beginning with "Version", read once: a later call
// shows it even when the file has gone. A missing file or line shows nothing.
TEST_F(Help, TheVersionLine) {
  const std::string file =
      write_file("Demovar notes\nThe Version below\nVersion 1.0 of the test\nVersion 2\n", "version.txt");
  MXsetfont(SMALL);
  const int base = 5 + MXtextheight(), expected = 301 + width(SMALL, "Version 1.0 of the test") - 1;
  for (int i = 0; i < 2; ++i) {
    MXsetcolor(kLightGrey);
    MXPfill_rect(300, 2, 330, 20);
    MXdisplayversion(file.c_str());
    EXPECT_NEAR(ink_right(301, 630, base - 4, base, kLightGrey), expected, 3);
    std::remove(file.c_str());
  }
  MXresethelpstate();
  MXPfill_rect(300, 2, 330, 20);
  MXdisplayversion(write_file("Demovar\nno such line\n", "noversion.txt").c_str());
  MXdisplayversion("/nonexistent/pop.txt");
  EXPECT_NE(read_text("error.log").find("Can't open version file |/nonexistent/pop.txt|\n"), std::string::npos);
  EXPECT_EQ(ink_right(301, 630, 3, 16, kLightGrey), -1);
}

}  // namespace
