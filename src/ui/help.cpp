// Help messages in the window "message", alerts in the window "alert", paged help
// screens in the window "help" and the version line in the field "VERSION".
#include "ui/help.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/log.h"
#include "ui/interface.h"

int Currmsg = -1;
int Lastmsg = -1;
int AlertUp = 0;

namespace {
int pagenum = 0;  // help-screen pages shown from the start of the current file
std::string filler;  // stands for "%s" in the lines of the help message shown
char line[MX_HELP_LINE_CHARS + 1] = "";  // the version line, kept for the whole run

// The current window, font and colour, put back when the object goes.
struct DrawingState {
  int window = InfState.cw;
  FontSizeType font = MXPgetfont();
  int colour = MXgetcolor();
  void restore_font_and_colour() const {
    MXsetfont(font);
    MXsetcolor(colour);
  }
  void restore_all() const {
    restore_font_and_colour();
    MXPsetcurrentwindow(window);
  }
};

void use_font_and_window_colour(FontSizeType font) {
  MXsetfont(font);
  MXsetcolor(Win[InfState.cw].fgcolor);
}

// Reads one line of a help file, at most 80 characters; a longer line comes in pieces
// of 80. The line end is not kept (a line of exactly 80 characters is one line, not a
// line and an empty one). Returns false at the end of the file.
bool read_help_line(FILE* file, char* buffer) {
  if (!std::fgets(buffer, MX_HELP_LINE_CHARS + 1, file)) return false;
  size_t n = std::strlen(buffer);
  if (n > 0 && buffer[n - 1] == '\n') {
    buffer[--n] = '\0';
  } else if (n == MX_HELP_LINE_CHARS) {
    const int c = std::fgetc(file);  // the piece ended exactly at the line end?
    if (c == '\r') {
      const int d = std::fgetc(file);
      if (d != '\n' && d != EOF) std::ungetc(d, file);
    } else if (c != '\n' && c != EOF) {
      std::ungetc(c, file);
    }
  }
  if (n > 0 && buffer[n - 1] == '\r') buffer[--n] = '\0';
  return true;
}

// One page: up to 25 lines, or to a line holding a form feed, which is the page's last.
enum class PageEnd { FormFeed, Full, EndOfFile };
struct HelpPage {
  char lines[MX_HELP_PAGE_LINES][MX_HELP_LINE_CHARS + 1];
  int count = 0;
  bool visible = false;  // some line shows a character other than blanks
  PageEnd end = PageEnd::EndOfFile;
};

bool shows_text(const char* line) {
  for (; *line; ++line)
    if (static_cast<unsigned char>(*line) > ' ') return true;
  return false;
}

void read_raw_page(FILE* file, HelpPage* page) {
  page->count = 0;
  page->visible = false;
  page->end = PageEnd::Full;
  while (page->count < MX_HELP_PAGE_LINES) {
    char* buffer = page->lines[page->count];
    if (!read_help_line(file, buffer)) {
      page->end = PageEnd::EndOfFile;
      return;
    }
    ++page->count;
    page->visible = page->visible || shows_text(buffer);
    if (std::strchr(buffer, '\f')) {
      page->end = PageEnd::FormFeed;
      return;
    }
  }
}

// Reads the next page that shows something. A page of blank lines only (a form
// feed right after a full page, two form feeds in a row, blank lines and form
// feeds at the end) is passed over, so that no empty page is ever shown. Returns
// false when the rest of the file shows nothing.
bool read_help_page(FILE* file, HelpPage* page) {
  do {
    read_raw_page(file, page);
    if (page->visible) return true;
  } while (page->end != PageEnd::EndOfFile);
  return false;
}

// Whether the file shows anything after the current position; the position is kept.
bool more_to_show(FILE* file) {
  const long at = std::ftell(file);
  HelpPage next;
  const bool more = read_help_page(file, &next);
  std::fseek(file, at, SEEK_SET);
  return more;
}
}  // namespace

// Help messages ------------------------------------------------------------------------

void MXdisplayhelpmessage(int n) {
  if (n == Currmsg) return;
  if (n == -2) {
    Currmsg = Lastmsg;
  } else if (n != -1) {
    Lastmsg = Currmsg;
    Currmsg = n;
  }
  if (Currmsg <= 0) return;
  // While the message window is not shown there is nowhere to write; the number is
  // kept and shows when the window is drawn through here again.
  int active = 0;
  MXgetwindowspecs("message", nullptr, nullptr, nullptr, nullptr, &active);
  if (active < 1) return;
  const DrawingState saved;
  MXredrawnamedwindow("message");
  use_font_and_window_colour(LARGE);
  size_t next = 0;  // the part of the filler for the next "%s"
  std::string part;
  for (int k = 0; k < 3; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "hm%ld", 10L * Currmsg + k);
    std::string text = MXgetmsg(name);
    for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + part.size())) {
      part = filler.substr(next, filler.find('\t', next) - next);
      next = std::min(filler.size(), next + part.size() + 1);
      text.replace(at, 2, part);
    }
    MXwwritemsg(25, 12 + 10 * k, text.c_str());
  }
  saved.restore_all();
}

int MXgetcurrmsg() { return Currmsg; }

void MXdisplayhelpmessagewith(int n, const char* text) {
  filler = text ? text : "";
  if (n != Currmsg) return MXdisplayhelpmessage(n);
  // The same message with another text: drawn again, the one before it kept.
  const int last = Lastmsg;
  Currmsg = -1;
  MXdisplayhelpmessage(n);
  Lastmsg = last;
}

// Alerts -----------------------------------------------------------------------------------

void MXalert(int n, int bstore, ...) {
  MXdisplayhelpmessage(n);
  if (!AlertUp) {
    MXbell();
    MXdrawnamedwindow("alert", bstore, 1);
    AlertUp = 1;
  } else {
    MXredrawnamedwindow("alert");
  }
  const DrawingState saved;
  use_font_and_window_colour(LARGE);
  va_list names;
  va_start(names, bstore);
  int y = 15;
  for (const char* name = va_arg(names, const char*); name && name[0];
       name = va_arg(names, const char*)) {
    MXwwritenamedmsg(6, y, name);
    y += 15;
  }
  va_end(names);
  saved.restore_font_and_colour();
}

// Help screens ---------------------------------------------------------------------------

int MXdohelpscreens(const char* file, int page, int bstore, int n) {
  MXdisplayhelpmessage(n);
  switch (page) {
    case FirstPage:
      MXdrawnamedwindow("help", bstore, 1);
      pagenum = 0;
      break;
    case PrevPage:
      pagenum = pagenum >= 2 ? pagenum - 2 : 0;
      MXredrawnamedwindow("help");
      break;
    case CurrPage:
      pagenum = pagenum >= 1 ? pagenum - 1 : 0;
      MXredrawnamedwindow("help");
      break;
    default:  // NextPage
      MXredrawnamedwindow("help");
      break;
  }
  const DrawingState saved;
  FILE* in = MXopen(file, "r");
  if (!in) {
    MXelog(0, "Unable to open help file |%s|\n", file);
    MXdisablebutton("help", "helpnext", 1);
    MXdisablebutton("help", "helpprev", 1);
    use_font_and_window_colour(SMALL);
    MXwwritemsg(15, 13, "Unable to open this help file");
    saved.restore_font_and_colour();
    return 0;
  }
  HelpPage text;
  for (int p = 0; p < pagenum; ++p)
    if (!read_help_page(in, &text)) break;
  const bool found = read_help_page(in, &text);
  use_font_and_window_colour(SMALL);
  for (int k = 0; found && k < text.count; ++k) MXwwritemsg(15, 13 * (k + 1), text.lines[k]);
  const bool ended = !found || !more_to_show(in);

  if (!ended) {
    MXenablebutton("help", "helpnext", 1);
    if (pagenum == 0)
      MXdisablebutton("help", "helpprev", 1);
    else
      MXenablebutton("help", "helpprev", 1);
  } else if (pagenum != 0) {
    MXdisablebutton("help", "helpnext", 1);
    MXenablebutton("help", "helpprev", 1);
  } else {
    MXinvisiblebutton("help", "helpnext", 1);
    MXinvisiblebutton("help", "helpprev", 1);
  }
  pagenum += 1;
  std::fclose(in);
  saved.restore_font_and_colour();
  return 1;
}

// Version line ------------------------------------------------------------------------------

void MXdisplayversion(const char* file) {
  if (line[0] == '\0') {
    FILE* in = MXopen(file, "r");
    if (!in) {
      MXelog(0, "Can't open version file |%s|\n", file);
    } else {
      char buffer[MX_HELP_LINE_CHARS];  // lines of at most 79 characters
      while (std::fgets(buffer, sizeof buffer, in)) {
        if (std::strncmp(buffer, "Version", 7) == 0) {
          buffer[std::strcspn(buffer, "\r\n")] = '\0';
          std::snprintf(line, sizeof line, "%s", buffer);
          break;
        }
      }
      // Without a line beginning with "Version" nothing is shown and the next call
      // looks again.
      std::fclose(in);
    }
  }
  if (line[0] == '\0') return;
  int x = 0, y = 0, colour = 0;
  MXgetfieldrect("VERSION", &x, &y, nullptr, nullptr, &colour);
  const DrawingState saved;
  MXsetcurrentnamedwindow("root");
  MXsetfont(SMALL);
  MXsetcolor(colour);
  MXwwritemsg(x, y + MXtextheight(), line);
  saved.restore_all();
}

void MXresethelpstate() {
  Currmsg = Lastmsg = -1;
  AlertUp = 0;
  pagenum = 0;
  line[0] = '\0';
}
