// The screen-dump dialog and its result alert. The format chosen stays for the
// rest of the run; it starts as the configuration's graphfileformat= (or none).
#include "app/screen_dump_dialog.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_helpers.h"
#include "app/population_display.h"
#include "app/screen_state.h"
#include "pictures/screen_dump.h"
#include "platform/platform.h"
#include "startup/filenames.h"
#include "ui/help.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

char DumpFileName[4096 + 16] = "vkshot";
int DumpSuccess = 0;

namespace {

// The named message that shows each format, indexed by GraphicsFileType.
const char* const kFormatMessage[] = {"nofilemsg", "bmp16msg", "psgraymsg", "pscolormsg", "gif16msg"};
// The formats in the order of the format menu's items.
const GraphicsFileType kMenuFormat[] = {BMP_16, PS_COLOR, PS_GRAY, GIF_16};

int colour(const char* name) {
  const int c = MXconvertcolor(name);
  return c < 0 ? 0 : c;
}

void sunken_format_field() {
  highlightfield("dump", "filetype", colour("lgray"), colour("black"), colour("white"));
}

void write_format() {
  int x, y, c;
  MXgetfieldrect("filetype", &x, &y, nullptr, nullptr, &c);
  MXsetcurrentnamedwindow("dump");
  MXsetfont(LARGE);
  MXsetcolor(c);
  const int f = GraphFileFmt >= NO_FILE && GraphFileFmt <= GIF_16 ? GraphFileFmt : NO_FILE;
  MXwwritenamedmsg(x + 5, y + 12, kFormatMessage[f]);
}

void show_format() {
  sunken_format_field();
  write_format();
}

void write_result() {
  MXsetcurrentnamedwindow("alert");
  MXsetcolor(colour("black"));
  MXsetfont(LARGE);
  if (DumpSuccess) {
    // The whole path, over the lines above the OK button.
    MXwwritemsg(6, 15, "The screen was saved to the file");
    const std::vector<std::string> lines = wrap_text(full_path(DumpFileName), 440);
    for (size_t i = 0; i < lines.size() && i < 4; ++i) MXwwritemsg(6, 30 + 15 * static_cast<int>(i), lines[i].c_str());
  } else {
    MXwwritemsg(6, 15, "An error occurred saving the screen.");
    MXwwritemsg(6, 30, "No file was saved.");
    MXwwritemsg(6, 45, "Check disk space and file permissions.");
  }
}

}  // namespace

void highlightfield(const char* window, const char* field, int fill, int tl, int br) {
  int x, y, w, h;
  MXgetfieldrect(field, &x, &y, &w, &h, nullptr);
  MXsetcurrentnamedwindow(window);
  MXsetcolor(fill);
  MXwfillrect(x, y, w, h);
  drawshadedframe(x, y, w, h, tl, br);
}

int confirmdump() {
  MXdisplayhelpmessage(17);
  DumpWinActive = 1;
  MXdrawnamedwindow("dump", Use_bstore, 1);
  show_format();
  return 1;
}

int gfformat() {
  MXdisplayhelpmessage(18);
  return 1;
}

int set_format() {
  ControlType control;
  MXgetlastcontrol(&control);
  const int position = control.type == MENU ? control.control.number : -1;
  sunken_format_field();
  if (position < 0 || position > 3) return 1;
  GraphFileFmt = kMenuFormat[position];
  write_format();
  return 1;
}

int dumpscreen() {
  if (GraphFileFmt == NO_FILE) {
    // Nothing can be written yet: the dialog stays, with its format field lit up and
    // the message asking for a format, rather than closing without a word.
    MXbell();
    highlightfield("dump", "filetype", colour("yellow"), colour("black"), colour("white"));
    write_format();
    MXdisplayhelpmessage(18);
    return 0;
  }
  MXremovenamedwindow("dump");
  MXdisplayhelpmessage(Savemsg);
  DumpWinActive = 0;
  // The dialog must not be in the picture.
  if (Use_bstore == 0) redraw_all();
  // Into the pictures folder when installed, the working directory when portable.
  std::snprintf(DumpFileName, sizeof DumpFileName, "%svkshot", PicturesDir.c_str());
  DumpSuccess = MXdumpscreen(DumpFileName, GraphFileFmt);

  MXdisplayhelpmessage(10);
  DumpResultsActive = 1;
  MXdrawnamedwindow("alert", Use_bstore, 1);
  write_result();
  if (!DumpSuccess) {
    MXbell();
    return 0;
  }
  return 1;
}

int canceldump() {
  MXremovenamedwindow("dump");
  DumpWinActive = 0;
  if (Use_bstore == 0) redraw_all();
  MXdisplayhelpmessage(Savemsg);
  return 1;
}

void redraw_dump_windows() {
  if (DumpWinActive) {
    MXredrawnamedwindow("dump");
    show_format();
  }
  if (DumpResultsActive) {
    MXredrawnamedwindow("alert");
    write_result();
  }
}
