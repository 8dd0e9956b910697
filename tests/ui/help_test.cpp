// Help messages, alerts, paged help screens and the version line, checked by the
// text that lands on the headless screen and the states of the page buttons.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "event_test_support.h"

using namespace uitest;

namespace {

int rt(int x, int y, int c, const char* n) { return record("rt", x, y, c, n); }
const IntrFunction kRoutines[] = {{"hnext", rt}, {"hprev", rt}};

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

std::string ms(int n) { return std::string(static_cast<size_t>(n), 'M'); }

class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    start_interface("help.inf", kRoutines, static_cast<int>(std::size(kRoutines)));
    run_events();
  }
  void TearDown() override { stop_interface(); }

  static std::string write_file(const char* name, const std::string& text) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // A help file whose line i (from 1) is i capital Ms.
  static std::string numbered_file(const char* name, int lines, int formfeed_line = 0) {
    std::string text;
    for (int i = 1; i <= lines; ++i) text += ms(i) + (i == formfeed_line ? "\f" : "") + "\n";
    return write_file(name, text);
  }

  // The help window is at (40, 20); line k of a page has its baseline at 13 k and
  // starts at x 15 (+ 1), in the small font.
  static int help_line_right(int k) {
    MXsetfont(SMALL);
    const int base = 20 + 13 * k;
    return ink_right(56, 595, base - MXtextheight() + 2, base, kWhite);
  }
  static void expect_help_line(int k, const std::string& text) {
    MXsetfont(SMALL);
    const int expected = 56 + MXtextwidth(text.c_str()) - 1;
    EXPECT_NEAR(help_line_right(k), expected, 3) << "line " << k;
  }
  static ButtonStatusType state_of(const char* button) {
    int active = 0;
    MXgetbuttonspecs("help", button, nullptr, nullptr, nullptr, nullptr, &active);
    return static_cast<ButtonStatusType>(active);
  }

  // The first line of the message window (0, 420): baseline 432, from x 25 (+ 1), in
  // the large font; only the lower rows, which the second line does not reach.
  static int message_right() { return ink_right(26, 630, 426, 430, kWhite); }
  static int large_width(const char* text) {
    MXsetfont(LARGE);
    return MXtextwidth(text);
  }
};

// Help messages -------------------------------------------------------------------------------

TEST_F(Help, GoingBackShowsThePreviousMessageAndStaysThere) {
  MXdisplayhelpmessage(5);
  EXPECT_NEAR(message_right(), 26 + large_width("Five one") - 1, 3);
  MXdisplayhelpmessage(7);
  EXPECT_NEAR(message_right(), 26 + large_width("Seven and one") - 1, 3);
  MXdisplayhelpmessage(-2);
  EXPECT_EQ(Currmsg, 5);
  EXPECT_EQ(Lastmsg, 5);
  EXPECT_NEAR(message_right(), 26 + large_width("Five one") - 1, 3);
  MXdisplayhelpmessage(-2);
  EXPECT_EQ(Currmsg, 5);
  EXPECT_EQ(MXgetcurrmsg(), 5);
}

TEST_F(Help, TheMessageAlreadyShownIsNotRedrawnButMinusOneRedraws) {
  MXdisplayhelpmessage(5);
  MXsetcolor(7);
  MXPdraw_pixel(600, 470);  // a mark inside the message window
  MXdisplayhelpmessage(5);
  EXPECT_EQ(MXPget_pixel(600, 470), 7);
  MXdisplayhelpmessage(-1);
  EXPECT_EQ(MXPget_pixel(600, 470), kWhite);
  EXPECT_EQ(Currmsg, 5);
}

TEST_F(Help, MessageZeroIsRecordedAndDrawsNothing) {
  MXdisplayhelpmessage(5);
  MXsetcolor(7);
  MXPdraw_pixel(600, 470);
  MXdisplayhelpmessage(0);
  EXPECT_EQ(Currmsg, 0);
  EXPECT_EQ(Lastmsg, 5);
  EXPECT_EQ(MXPget_pixel(600, 470), 7);
}

TEST_F(Help, AMessageIsNotWrittenIntoAnotherWindowWhileTheMessageWindowIsHidden) {
  MXsetdeactivenamedwindow("message");
  MXsetcurrentnamedwindow("root");
  MXdisplayhelpmessage(5);
  EXPECT_EQ(Currmsg, 5);
  EXPECT_EQ(ink_right(26, 300, 3, 14, kLightGrey), -1);  // root at (25, 12) is untouched
  MXsetactivenamedwindow("message");
  MXdisplayhelpmessage(-1);
  EXPECT_NEAR(message_right(), 26 + large_width("Five one") - 1, 3);
}

TEST_F(Help, DrawingAMessageLeavesWindowFontAndColourAsTheyWere) {
  MXsetcurrentnamedwindow("root");
  MXsetfont(SMALL);
  MXsetcolor(9);
  MXdisplayhelpmessage(7);
  char name[100];
  EXPECT_STREQ(MXgetcurrentwindowname(name), "root");
  EXPECT_EQ(MXPgetfont(), SMALL);
  EXPECT_EQ(MXgetcolor(), 9);
}

// Alerts ----------------------------------------------------------------------------------------

TEST_F(Help, ASecondAlertRingsNoBellAndReplacesTheTexts) {
  const int bells = MXPheadless_bells();
  MXalert(5, 0, "first", "second", "");
  EXPECT_EQ(MXPheadless_bells(), bells + 1);
  EXPECT_EQ(AlertUp, 1);
  EXPECT_EQ(Currmsg, 5);
  int active = 0;
  MXgetwindowspecs("alert", nullptr, nullptr, nullptr, nullptr, &active);
  EXPECT_EQ(active, 2);  // shown modally
  // Lines at x 6 (+ 1) of the alert at (150, 150), baselines 15 and 30.
  EXPECT_NEAR(ink_right(157, 485, 159, 164, kWhite), 157 + large_width("First alert line") - 1, 3);
  EXPECT_NEAR(ink_right(157, 485, 174, 179, kWhite), 157 + large_width("Second alert line") - 1, 3);

  MXalert(7, 0, "third", "");
  EXPECT_EQ(MXPheadless_bells(), bells + 1);
  MXgetwindowspecs("alert", nullptr, nullptr, nullptr, nullptr, &active);
  EXPECT_EQ(active, 2);
  EXPECT_NEAR(ink_right(157, 485, 159, 164, kWhite),
              157 + large_width("A third and much longer alert line") - 1, 3);
  EXPECT_EQ(ink_right(157, 485, 174, 179, kWhite), -1);
  char name[100];
  EXPECT_STREQ(MXgetcurrentwindowname(name), "alert");

  MXremovenamedwindow("alert");
  EXPECT_EQ(AlertUp, 0);
  MXalert(5, 0, "first", "");
  EXPECT_EQ(MXPheadless_bells(), bells + 2);
}

// Help screens ---------------------------------------------------------------------------------

TEST_F(Help, AThirtyLineFilePagesForwardAndBack) {
  const std::string file = numbered_file("thirty.hlp", 30);
  EXPECT_EQ(MXdohelpscreens(file.c_str(), FirstPage, 0, 5), 1);
  EXPECT_EQ(Currmsg, 5);
  expect_help_line(1, ms(1));
  expect_help_line(25, ms(25));
  EXPECT_EQ(state_of("helpnext"), ENABLED);
  EXPECT_EQ(state_of("helpprev"), DISABLED);

  EXPECT_EQ(MXdohelpscreens(file.c_str(), NextPage, 0, -1), 1);
  expect_help_line(1, ms(26));
  expect_help_line(5, ms(30));
  EXPECT_EQ(help_line_right(6), -1);
  EXPECT_EQ(state_of("helpnext"), DISABLED);
  EXPECT_EQ(state_of("helpprev"), ENABLED);

  EXPECT_EQ(MXdohelpscreens(file.c_str(), PrevPage, 0, -1), 1);
  expect_help_line(1, ms(1));
  expect_help_line(25, ms(25));
  EXPECT_EQ(state_of("helpnext"), ENABLED);
  EXPECT_EQ(state_of("helpprev"), DISABLED);

  EXPECT_EQ(MXdohelpscreens(file.c_str(), NextPage, 0, -1), 1);
  EXPECT_EQ(MXdohelpscreens(file.c_str(), CurrPage, 0, -1), 1);  // the same page again
  expect_help_line(1, ms(26));
}

TEST_F(Help, ATwentyFiveLineFileIsOnePageWithoutButtons) {
  const std::string file = numbered_file("twentyfive.hlp", 25);
  EXPECT_EQ(MXdohelpscreens(file.c_str(), FirstPage, 0, 5), 1);
  expect_help_line(25, ms(25));
  EXPECT_EQ(state_of("helpnext"), INVISIBLE);
  EXPECT_EQ(state_of("helpprev"), INVISIBLE);
}

TEST_F(Help, AFormFeedEndsThePage) {
  const std::string file = numbered_file("formfeed.hlp", 10, 3);
  EXPECT_EQ(MXdohelpscreens(file.c_str(), FirstPage, 0, 5), 1);
  expect_help_line(3, ms(3));
  EXPECT_EQ(help_line_right(4), -1);
  EXPECT_EQ(state_of("helpnext"), ENABLED);
  EXPECT_EQ(state_of("helpprev"), DISABLED);
  EXPECT_EQ(MXdohelpscreens(file.c_str(), NextPage, 0, -1), 1);
  expect_help_line(1, ms(4));
  expect_help_line(7, ms(10));
  EXPECT_EQ(state_of("helpnext"), DISABLED);
  EXPECT_EQ(state_of("helpprev"), ENABLED);
}

TEST_F(Help, AFormFeedOnTheLastLineNeverCountsAsTheEnd) {
  const std::string file = numbered_file("lastff.hlp", 3, 3);
  EXPECT_EQ(MXdohelpscreens(file.c_str(), FirstPage, 0, 5), 1);
  EXPECT_EQ(state_of("helpnext"), ENABLED);
  EXPECT_EQ(state_of("helpprev"), DISABLED);
}

TEST_F(Help, PrevPageOnTheFirstPageShowsItAgain) {
  const std::string file = numbered_file("prev.hlp", 30);
  MXdohelpscreens(file.c_str(), FirstPage, 0, 5);
  EXPECT_EQ(MXdohelpscreens(file.c_str(), PrevPage, 0, -1), 1);
  expect_help_line(1, ms(1));
  expect_help_line(25, ms(25));
  EXPECT_EQ(state_of("helpprev"), DISABLED);
}

TEST_F(Help, ALineOfEightyCharactersIsOneLineAndLongerOnesComeInPieces) {
  std::string text = std::string(80, 'i') + "\n" + std::string(85, 'i') + "\nM\n";
  const std::string file = write_file("long.hlp", text);
  MXdohelpscreens(file.c_str(), FirstPage, 0, 5);
  expect_help_line(1, std::string(80, 'i'));
  expect_help_line(2, std::string(80, 'i'));
  expect_help_line(3, std::string(5, 'i'));
  expect_help_line(4, "M");
}

TEST_F(Help, AFileThatCannotBeOpenedSaysSo) {
  EXPECT_EQ(MXdohelpscreens("/nonexistent/help.hlp", FirstPage, 0, 5), 0);
  EXPECT_EQ(state_of("helpnext"), DISABLED);
  EXPECT_EQ(state_of("helpprev"), DISABLED);
  EXPECT_NE(help_line_right(1), -1);  // "Unable to open this help file"
  char name[100];
  EXPECT_STREQ(MXgetcurrentwindowname(name), "help");
}

// Version line -------------------------------------------------------------------------------------

TEST_F(Help, TheVersionLineIsTheFirstLineBeginningWithVersion) {
  const std::string file =
      write_file("version.txt", "Demovar notes\nThe Version below\nVersion 1.0 of the test\nVersion 2\n");
  MXdisplayversion(file.c_str());
  MXsetfont(SMALL);
  const int base = 5 + MXtextheight();
  EXPECT_NEAR(ink_right(301, 630, base - 4, base, kLightGrey),
              301 + MXtextwidth("Version 1.0 of the test") - 1, 3);
  // Read once: a later call shows the kept line even when the file has gone.
  std::remove(file.c_str());
  MXsetcolor(kLightGrey);
  MXPfill_rect(300, 2, 330, 20);
  MXdisplayversion(file.c_str());
  EXPECT_NEAR(ink_right(301, 630, base - 4, base, kLightGrey),
              301 + MXtextwidth("Version 1.0 of the test") - 1, 3);
}

TEST_F(Help, AMissingVersionFileIsANoteAndShowsNothing) {
  MXdisplayversion("/nonexistent/pop.txt");
  EXPECT_EQ(ink_right(301, 630, 3, 16, kLightGrey), -1);
  std::ifstream log("error.log");
  const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Can't open version file |/nonexistent/pop.txt|\n"), std::string::npos);
}

TEST_F(Help, AVersionFileWithoutAVersionLineShowsNothing) {
  const std::string file = write_file("noversion.txt", "Demovar\nno such line\n");
  MXdisplayversion(file.c_str());
  EXPECT_EQ(ink_right(301, 630, 3, 16, kLightGrey), -1);
}

}  // namespace
