// The screen-dump dialog on the program's own interface file, driven by pointer
// events on the headless platform: File, Save screen as picture, the format menu,
// Save and the result alert; saving with no format; the configured format; the
// next free name; a dump that cannot be written; and a picture free of the dialog.
#include <cstring>

#include "app/screen_dump_dialog.h"
#include "app_test_support.h"
#include "pictures/screen_dump.h"

namespace {

using namespace apptest;
namespace fs = std::filesystem;

class DumpDialog : public ProgramTest {
 protected:
  std::string interface_file() const override { return std::string(APP_DATA_DIR) + "/varnock.inf"; }
  void SetUp() override {
    ProgramTest::SetUp();
    open_main_screen();
  }

  void open_dialog() { choose("root", "File", "file", "p2"); }
  void choose_format(const char* item) { choose("dump", "gfformat", "gfformat", item); }

  // Pixels of the text colour (black) on the alert's line with baseline y.
  static int ink_on_alert_line(int baseline) {
    int wx, wy, ww;
    MXgetwindowspecs("alert", &wx, &wy, &ww, nullptr, nullptr);
    const int black = MXconvertcolor("black");
    int n = 0;
    for (int y = wy + baseline - 10; y <= wy + baseline; ++y)
      for (int x = wx + 6; x < wx + ww - 4; ++x) n += MXPget_pixel(x, y) == black;
    return n;
  }
};

// No format yet: Save asks for one; the format menu and its field; Cancel; then a GIF saved and the alert naming
// it, which survives a redraw too.
TEST_F(DumpDialog, AFormatIsAskedForThenTheGifSavedAndTheAlertNamesTheFile) {
  const int before = MXgetcurrmsg();
  open_dialog();
  EXPECT_EQ(window_level("dump"), 2);
  EXPECT_EQ(MXgetcurrmsg(), 17);
  EXPECT_EQ(GraphFileFmt, NO_FILE);
  press_button("dump", "dumpscreen");
  // The dialog stays, lit up, with the bell and the message asking for a format.
  EXPECT_EQ(DumpWinActive, 1);
  EXPECT_EQ(window_level("alert"), 0);
  EXPECT_EQ(MXgetcurrmsg(), 18);
  EXPECT_EQ(bells(), 1);
  int x, y, fw, fh;
  field_origin("dump", "filetype", &x, &y);
  MXgetfieldrect("filetype", nullptr, nullptr, &fw, &fh, nullptr);
  EXPECT_EQ(MXPget_pixel(x + 2, y + 2), MXconvertcolor("yellow"));
  key(27);  // Escape = Cancel
  EXPECT_EQ(window_level("dump"), 0);

  open_dialog();
  const struct {
    const char* item;
    GraphicsFileType format;
  } items[] = {{"p1", PS_COLOR}, {"p0", BMP_16}, {"p2", PS_GRAY}, {"p3", GIF_16}};
  for (const auto& i : items) {
    choose_format(i.item);
    EXPECT_EQ(GraphFileFmt, i.format) << i.item;
  }
  // The format's name is written in the field.
  int ink = 0;
  for (int py = y; py < y + fh; ++py)
    for (int px = x; px < x + fw; ++px) ink += MXPget_pixel(px, py) == MXconvertcolor("black");
  EXPECT_GT(ink, 30);
  press_button("dump", "canceldump");
  EXPECT_EQ(window_level("dump"), 0);
  EXPECT_EQ(MXgetcurrmsg(), before);
  for (const auto& e : fs::directory_iterator(".")) EXPECT_NE(e.path().filename().string().substr(0, 6), "vkshot");

  open_dialog();  // the format stays GIF
  key(13);        // Enter = Save
  EXPECT_EQ(DumpWinActive, 0);
  EXPECT_EQ(DumpResultsActive, 1);
  EXPECT_EQ(DumpSuccess, 1);
  EXPECT_STREQ(DumpFileName, "vkshot00.gif");
  EXPECT_EQ(read_file("vkshot00.gif").substr(0, 6), "GIF87a");
  EXPECT_EQ(window_level("alert"), 2);
  EXPECT_EQ(MXgetcurrmsg(), 10);
  // The success text, then the file's full path (short here: one line).
  EXPECT_GT(ink_on_alert_line(15), 50);
  EXPECT_GT(ink_on_alert_line(30), 50);
  EXPECT_EQ(ink_on_alert_line(45), 0);
  EXPECT_EQ(bells(), 1);
  key(27);  // Escape = OK, the alert's only button
  EXPECT_EQ(DumpResultsActive, 0);
  EXPECT_EQ(window_level("alert"), 0);
}

TEST_F(DumpDialog, NextFreeNameAPictureWithoutTheDialogAndADumpThatCannotBeWritten) {
  write_file("vkshot00.bmp", "not mine");
  const std::vector<unsigned char> before = screen();
  open_dialog();
  choose_format("p0");
  press_button("dump", "dumpscreen");
  EXPECT_STREQ(DumpFileName, "vkshot01.bmp");
  EXPECT_EQ(read_file("vkshot00.bmp"), "not mine");
  const std::string bmp = read_file("vkshot01.bmp");
  ASSERT_EQ(bmp.size(), 118u + 153600u);
  int differ = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 5; x < 635; ++x) {  // the progress marks stand in the outer 5 pixels
      const unsigned char byte = static_cast<unsigned char>(bmp[118 + (479 - y) * 320 + x / 2]);
      differ += (x % 2 ? byte & 15 : byte >> 4) != before[y * 640 + x];
    }
  EXPECT_EQ(differ, 0);
  press_button("alert", "okay");

  // Every name taken: the alert says so, with a bell, and the program goes on.
  for (int n = 0; n < 100; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "vkshot%02d.bmp", n);
    if (!fs::exists(name)) write_file(name, "taken");
  }
  open_dialog();  // the format stays BMP
  press_button("dump", "dumpscreen");
  EXPECT_EQ(DumpSuccess, 0);
  EXPECT_EQ(DumpResultsActive, 1);
  EXPECT_EQ(bells(), 1);
  EXPECT_GT(ink_on_alert_line(45), 50);  // three lines
  press_button("alert", "okay");
  EXPECT_EQ(window_level("alert"), 0);
}

class DumpDialogConfigured : public DumpDialog {
 protected:
  // The test set-up writes this name as the configuration's last line: the key
  // after it lands in the configuration too.
  std::string interface_file() const override { return DumpDialog::interface_file() + "\ngraphfileformat= GIF16"; }
};

TEST_F(DumpDialogConfigured, TheConfiguredFormatIsChosenAtStart) {
  EXPECT_EQ(GraphFileFmt, GIF_16);
  open_dialog();
  press_button("dump", "dumpscreen");
  EXPECT_STREQ(DumpFileName, "vkshot00.gif");
  EXPECT_EQ(DumpSuccess, 1);
}

}  // namespace
