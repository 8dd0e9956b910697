// Talking to the user in text: the three-line help message in the window "message",
// alerts in the modal window "alert", help screens that page through a text file in
// the modal window "help" (buttons "helpnext" and "helpprev"), and the version line
// in the field "VERSION" of the window "root".
#pragma once

// Help message n is made of the named messages "hm" + 10n, 10n + 1 and 10n + 2.
extern int Currmsg;  // the help message now shown (-1 at start)
extern int Lastmsg;  // the one shown before it (-1 at start)
// 1 while the window "alert" is shown through MXalert; removing the window clears it.
extern int AlertUp;

enum HelpScreenPage { FirstPage = 0, NextPage = 1, PrevPage = 2, CurrPage = 3 };

constexpr int MX_HELP_PAGE_LINES = 25;  // lines of a help-screen page
constexpr int MX_HELP_LINE_CHARS = 80;  // longer lines are shown in pieces of 80

// Shows help message n. -1 shows the present one again, -2 goes back to the one
// shown before it (without swapping the two). Numbers of 0 and below draw nothing.
// A number that is already shown changes nothing. Nothing is drawn while the window
// "message" is not shown; the number is kept for its next drawing.
void MXdisplayhelpmessage(int n);
int MXgetcurrmsg();
// Shows help message n with text in place of "%s" (messages that name what the
// user typed or the limits of a value): text holds one part per "%s" of the
// message, in order, separated by tabs. Drawn again even when n is already shown.
void MXdisplayhelpmessagewith(int n, const char* text);

// Shows help message n and the alert window listing the texts of the named messages,
// one per line. The names end with an empty name (a null name ends them too). The
// first alert rings the bell and shows the window modally (bstore: backing-store
// flag); a further alert while one is up reuses the window without a bell. The
// window "alert" stays current.
void MXalert(int n, int bstore, ...);

// Shows help message n and one page (25 lines, or up to a line holding a form feed)
// of the help file in the modal window "help", with "helpnext" and "helpprev" set to
// what can be done next. page is a HelpScreenPage. Returns 1 when the file was read,
// 0 when it cannot be opened (the window then says so). The window "help" stays
// current.
int MXdohelpscreens(const char* file, int page, int bstore, int n);

// Shows the version line (the first line of the file that begins with "Version") in
// the field "VERSION" of the window "root". The file is read until a line is found;
// later calls redraw the kept line.
void MXdisplayversion(const char* file);

// Tests only: forgets the help-message numbers, the alert flag, the page count and
// the kept version line.
void MXresethelpstate();
