// The interface-definition file: a hand-written scanner and parser for its statement
// language, the counting pass that sizes and allocates every table, and the filling
// pass that builds the windows, buttons, graphics, menus, fields, functions, messages
// and colours in file order.
#include "ui/interface_file.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/log.h"
#include "base/text.h"
#include "platform/platform.h"
#include "ui/interface.h"
#include "ui/interface_model.h"

int lineNumber = 0;
char lineBuf[255];
int firstPass = 0;
long iflval = 0;
const char* iftext = "";

namespace {

// Scanner -------------------------------------------------------------------------

std::string text;       // the whole file, carriage-return + line-feed pairs made one
size_t pos = 0;         // next character to scan
std::string tokentext;  // characters of the last word or bar text

struct Keyword {
  const char* word;
  int token;
  long value;
  bool exact_case;
};
const Keyword keywords[] = {
    {"palette", IF_PALETTE, 0, false},     {"end", IF_END, 0, false},
    {"alias", IF_ALIAS, 0, false},         {"highlight", IF_HIGHLIGHT, 0, false},
    {"speedup", IF_SPEEDUP, 0, false},     {"buttonstuff", IF_BUTTONSTUFF, 0, false},
    {"CANCEL", IF_CANCEL, 0, true},        {"function", IF_FUNCTION, 0, false},
    {"redrawfunc", IF_REDRAWFUNC, 0, false}, {"msg", IF_MSG, 0, false},
    {"popup", IF_POPUP, 0, false},         {"plabel", IF_PLABEL, 0, false},
    {"window", IF_WINDOW, 0, false},       {"button", IF_BUTTON, 1, false},
    {"buttons", IF_BUTTON, 0, false},      {"label", IF_LABEL, 1, false},
    {"labels", IF_LABEL, 0, false},        {"field", IF_FIELD, 0, false},
    {"rect", IF_RECT, 0, false},           {"line", IF_LINE, 0, false},
    {"dragarea", IF_DRAGAREA, 0, false},   {"colorlist", IF_COLORLIST, 0, false},
};

// The token of a word: a keyword's (its value in iflval) or IF_WORD. Keywords are
// matched on the word folded to lower case, except "CANCEL", which must be in capitals.
int keyword_token(const std::string& word) {
  constexpr size_t kLongest = 11;  // "buttonstuff"
  if (word.size() > kLongest) return IF_WORD;
  char folded[kLongest + 1];
  for (size_t i = 0; i < word.size(); ++i) {
    const char c = word[i];
    folded[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  folded[word.size()] = 0;
  for (const Keyword& k : keywords) {
    const bool same = k.exact_case ? word == k.word : std::strcmp(folded, k.word) == 0;
    if (same) {
      iflval = k.value;
      return k.token;
    }
  }
  return IF_WORD;
}

// A line break at `pos - 1` has been consumed: count it and keep the next line's text.
void newline() {
  ++lineNumber;
  size_t n = 0;
  while (pos + n < text.size() && text[pos + n] != '\n' && text[pos + n] != '\r' && n < 254) ++n;
  std::memcpy(lineBuf, text.data() + pos, n);
  lineBuf[n] = 0;
}

bool isletter(unsigned char c) { return std::isalpha(c) != 0; }
bool isdigitc(unsigned char c) { return c >= '0' && c <= '9'; }

// A number's value. Values beyond a hundred million (meaningless for any coordinate,
// colour, count or time of the interface) are held at that bound, so that sums of
// coordinates can never overflow.
constexpr long kNumberLimit = 100000000;
long number_value(size_t start, size_t end, bool negative) {
  long v = 0;
  for (size_t i = start; i < end && v <= kNumberLimit; ++i) v = v * 10 + (text[i] - '0');
  // A number this large is no coordinate, size or count of any object: a damaged file.
  if (v > kNumberLimit) iferror("Number larger than 100000000");
  return negative ? -v : v;
}

// Parser ----------------------------------------------------------------------------

struct Arg {
  int token;
  long num;
  std::string str;
};

// Counting-pass counters and filling-pass cursors.
int windows, popups, msgs, aliases, functions, fields;
int currwin, currpop, currfield, currfunc, currmsg, currbutt, currgraphic, currplab;

int next_token(Arg& a) {
  a.token = iflex();
  a.num = iflval;
  if (a.token == IF_WORD || a.token == IF_BARTEXT) a.str = tokentext;
  return a.token;
}

[[noreturn]] void parse_error() {
  iferror("parse error");
  std::abort();  // iferror ends the program
}

void expect(int token, Arg& a) {
  if (next_token(a) != token) parse_error();
}

// Reads the arguments of a statement after its "(": `required` gives the kinds of the
// fixed arguments (W word, N number, T bar text) and `optional` at most one more that
// may stand before the ")". Returns the number of arguments read.
size_t read_args(const char* required, char optional, Arg* args) {
  auto kind_token = [](char k) { return k == 'W' ? IF_WORD : k == 'N' ? IF_NUMBER : IF_BARTEXT; };
  size_t n = 0;
  for (const char* k = required; *k; ++k, ++n) expect(kind_token(*k), args[n]);
  Arg& last = args[n];
  const int t = next_token(last);
  if (t == IF_RPAREN) return n;
  if (optional && t == kind_token(optional)) {
    Arg close;
    expect(IF_RPAREN, close);
    return n + 1;
  }
  parse_error();
}

const char* S(const Arg& a) { return a.str.c_str(); }
int N(const Arg& a) { return static_cast<int>(a.num); }

unsigned char colour(const Arg& a) {
  return static_cast<unsigned char>(convertcolor(Alias, Acolor, S(a)));
}

char* copy_or_die(const std::string& s, const char* format, const char* name) {
  char* c = str_dup(s.c_str());
  if (!c) MXelog(-1, format, name);
  return c;
}

// The filling pass must find the tables the counting pass made for the same text.
void check_room(int index, int count) {
  if (index >= count) MXelog(-1, "Interface file changed while it was being read.\n");
}

// Label escapes: a backslash is removed; an arrow letter after it becomes the button's
// arrow and is removed too; the character after an escape is never an escape itself.
void resolve_specials(char* label, ArrowSymType* arrow) {
  size_t len = std::strlen(label);
  for (size_t i = 0; i < len; ++i) {
    if (label[i] != '\\') continue;
    std::memmove(label + i, label + i + 1, len - i);  // moves the terminator too
    --len;
    const char c = label[i];
    ArrowSymType a = NO_ARROW_SYM;
    if (c == '<') a = LEFT_ARROW_SYM;
    if (c == '>') a = RIGHT_ARROW_SYM;
    if (c == '^') a = UP_ARROW_SYM;
    if (c == 'v') a = DOWN_ARROW_SYM;
    if (a != NO_ARROW_SYM) {
      *arrow = a;
      std::memmove(label + i, label + i + 1, len - i);
      --len;
    }
    if (i >= len) break;  // a backslash at the very end
  }
}

void note_if_long(const char* format, const std::string& s) {
  if (s.size() > MX_NAME_LIMIT) MXelog(0, format, s.c_str());
}

int redraw_active_windows_routine(int, int, int, const char*) {
  MXredrawactivewindows();
  return 1;
}

// Statement effects --------------------------------------------------------------------

void do_window(Arg* a) {
  // The library hands a window's name on in buffers of this size (the last control).
  if (a[0].str.size() > static_cast<size_t>(MX_WINDOW_NAME_CHARS)) iferror("Window name longer than 80 characters");
  if (firstPass) {
    if (++windows >= MX_MAX_WINDOWS) MXelog(-1, "Too many windows declared in interface file\n");
    windata[windows][0] = windata[windows][1] = 0;
    return;
  }
  check_room(++currwin, InfState.numwindows);
  MXWindow& w = Win[currwin];
  note_if_long("Name too long: |%s|.\n", a[0].str);
  w.name = copy_or_die(a[0].str, "Out of memory for window |%s|.\n", S(a[0]));
  w.x = N(a[1]);
  w.y = N(a[2]);
  w.wd = N(a[3]);
  w.ht = N(a[4]);
  w.fgcolor = colour(a[5]);
  w.bgcolor = colour(a[6]);
  w.bordercolor = colour(a[7]);
  w.bordersize = N(a[8]);
  w.active = N(a[9]);
  w.bstore_to_use = N(a[10]);
  w.bstore = 0;
  w.popup = 0;
  currbutt = -1;
  currgraphic = -1;
}

// Buttons and drag areas: counted into the latest window, if any.
bool count_button() {
  if (windows >= 0) ++windata[windows][0];
  return true;
}
bool count_graphic() {
  if (windows >= 0) ++windata[windows][1];
  return true;
}

MXButton& next_button(const char* nowindow) {
  if (currwin < 0) MXelog(-1, "%s", nowindow);
  check_room(++currbutt, Win[currwin].numbuttons);
  return Win[currwin].wb[currbutt];
}

GraphicType& next_graphic(const char* nowindow) {
  if (currwin < 0) MXelog(-1, "%s", nowindow);
  check_room(++currgraphic, Win[currwin].numgraphics);
  return Win[currwin].graphics[currgraphic];
}

void do_button(Arg* a, long large) {
  if (firstPass) {
    count_button();
    return;
  }
  MXButton& b = next_button("No active window for line.\n");
  note_if_long("Name too long: |%s|\n", a[0].str);
  b.name = copy_or_die(a[0].str, "Out of memory for button name - |%s|.\n", S(a[0]));
  note_if_long("Label too long: |%s|\n", a[1].str);
  b.arrow = NO_ARROW_SYM;
  b.text = copy_or_die(a[1].str, "Out of memory for button |%s|.\n", S(a[0]));
  resolve_specials(b.text, &b.arrow);
  b.x = N(a[2]);
  b.y = N(a[3]);
  b.wd = N(a[4]);
  b.ht = N(a[5]);
  b.efgcolor = colour(a[6]);
  b.dfgcolor = colour(a[7]);
  b.bgcolor = colour(a[8]);
  b.func = getfunctionptr(S(a[9]));
  b.border = N(a[10]);
  b.active = static_cast<ButtonStatusType>(N(a[11]));
  b.repeatable = N(a[12]);
  b.labpos = static_cast<BtnLabPosType>(static_cast<unsigned char>(a[13].str[0]));
  b.popupmenunum = a[9].str[0] == '@' ? MXpopupnum(S(a[9]) + 1) : -1;
  b.drag = 0;
  b.depressed = 0;
  b.tsize = large ? LARGE : SMALL;
}

void do_dragarea(Arg* a) {
  if (firstPass) {
    count_button();
    return;
  }
  MXButton& b = next_button("No active window for line.\n");
  note_if_long("Name too long: |%s|\n", a[0].str);
  b.name = copy_or_die(a[0].str, "Out of memory for button name - |%s|.\n", S(a[0]));
  b.x = N(a[1]);
  b.y = N(a[2]);
  b.wd = N(a[3]);
  b.ht = N(a[4]);
  b.bgcolor = colour(a[5]);
  b.func = getfunctionptr(S(a[6]));
  b.active = static_cast<ButtonStatusType>(N(a[7]));
  b.text = nullptr;
  b.efgcolor = b.dfgcolor = 16;
  b.border = 0;
  b.drag = 1;
  b.depressed = 0;
  b.tsize = LARGE;
  b.arrow = NO_ARROW_SYM;
  b.repeatable = 0;
  b.popupmenunum = -1;
  b.labpos = LEFT;
}

void do_label(Arg* a, size_t n, long large) {
  if (firstPass) {
    count_graphic();
    return;
  }
  GraphicType& g = next_graphic("No active window for label.\n");
  g.x = N(a[0]);
  g.y = N(a[1]);
  g.color = colour(a[2]);
  g.text = copy_or_die(a[3].str, "Out of memory for label |%s|.\n", S(a[3]));
  g.shadowcolor = n > 4 ? colour(a[4]) : 255;
  g.type = large ? 6 : 7;
  g.attrib = 0;
}

void do_rect(Arg* a) {
  if (firstPass) {
    count_graphic();
    return;
  }
  GraphicType& g = next_graphic("No active window for .\n");
  g.x = N(a[0]);
  g.y = N(a[1]);
  g.wd = N(a[2]);
  g.ht = N(a[3]);
  g.color = colour(a[4]);
  g.type = N(a[5]) == 1 ? 3 : 4;
  g.attrib = MXstricmp(S(a[6]), "fill") == 0 ? 1 : 0;
  g.text = nullptr;
  g.shadowcolor = 255;
}

void do_line(Arg* a) {
  if (firstPass) {
    count_graphic();
    return;
  }
  GraphicType& g = next_graphic("No active window for line.\n");
  g.x = N(a[0]);
  g.y = N(a[1]);
  g.wd = N(a[2]);
  g.ht = N(a[3]);
  g.type = N(a[4]) == 1 ? 1 : 2;
  g.color = colour(a[5]);
  g.attrib = 0;
  g.text = nullptr;
  g.shadowcolor = 255;
}

void do_popup(Arg* a, size_t n) {
  if (firstPass) {
    if (++popups >= MX_MAX_POPUPS) MXelog(-1, "Too many popup menus declared in interface file\n");
    popdata[popups] = 0;
    return;
  }
  check_room(++currpop, InfState.numpopups);
  Popupmenu& m = Popups[currpop];
  note_if_long("Name too long: |%s|.\n", a[0].str);
  m.name = copy_or_die(a[0].str, "Out of mempry for popup |%s|.\n", S(a[0]));
  m.x = N(a[1]);
  m.y = N(a[2]);
  m.enablefg = colour(a[3]);
  m.disablefg = colour(a[4]);
  m.bg = colour(a[5]);
  m.bcolor = colour(a[6]);
  m.checklist = N(a[7]);
  m.wd = 0;
  m.ht = 0;
  m.active = 0;
  m.func = n > 8 ? getfunctionptr(S(a[8])) : nullptr;
  currplab = -1;
}

void do_plabel(Arg* a, size_t n) {
  if (firstPass) {
    // An item needs a menu to belong to.
    if (popups < 0) MXelog(-1, "No active popup menu for plabel.\n");
    ++popdata[popups];
    return;
  }
  if (currpop < 0) MXelog(-1, "No active popup menu for plabel.\n");
  Popupmenu& m = Popups[currpop];
  check_room(++currplab, m.numitems);
  Menuitem& it = m.item[currplab];
  it.name = copy_or_die(a[0].str, "Out of memory for plabel |%s|.\n", S(a[0]));
  it.active = static_cast<ButtonStatusType>(N(a[1]));
  it.func = getfunctionptr(S(a[2]));
  it.text = copy_or_die(a[3].str, "Out of memory for plabel |%s|.\n", S(a[0]));
  it.checked = n > 4 ? N(a[4]) : 0;
  const FontSizeType font = MXPgetfont();
  MXsetfont(LARGE);
  const int width = MXtextwidth(it.text) + 10 + (m.checklist ? 10 : 0);
  MXsetfont(font);
  if (width > m.wd) m.wd = width;
}

void do_function(Arg* a, size_t n) {
  if (firstPass) {
    ++functions;
    return;
  }
  check_room(++currfunc, InfState.numfuncs);
  Function& f = InfState.funcs[currfunc];
  note_if_long("Function name too long: |%s|.\n", a[0].str);
  f.name = copy_or_die(a[0].str, "Out of memory for function |%s|.\n", S(a[0]));
  f.dtime = N(a[1]);
  f.active = N(a[2]);
  f.mouse_off = n > 3 ? N(a[3]) : 1;
  f.itime = -1;
  f.func = getfunctionptr(f.name);
}

void do_msg(Arg* a) {
  if (firstPass) {
    ++msgs;
    return;
  }
  check_room(++currmsg, InfState.nummsgs);
  Message& m = InfState.msgs[currmsg];
  m.name = copy_or_die(a[0].str, "Out of memory for message |%s|.\n", S(a[0]));
  m.text = copy_or_die(a[1].str, "Out of memory for message |%s|.\n", S(a[0]));
}

void do_field(Arg* a) {
  if (firstPass) {
    ++fields;
    return;
  }
  check_room(++currfield, InfState.numfields);
  FieldType& f = InfState.fields[currfield];
  f.name = copy_or_die(a[0].str, "Out of memory for field |%s|.\n", S(a[0]));
  f.x = N(a[1]);
  f.y = N(a[2]);
  f.wd = N(a[3]);
  f.ht = N(a[4]);
  f.color = colour(a[5]);
}

// One statement, its keyword already read. Returns false at the end of the text.
bool statement(Arg& first) {
  Arg a[16];
  size_t n = 0;
  const int token = first.token;
  const long value = first.num;
  if (token == IF_PALETTE || token == IF_END) return true;
  if (token == IF_LPAREN) {  // palette entry: name r g b, or the old form with an index
    n = read_args("WNNN", 'N', a);
    if (firstPass) return true;
    if (n == 5)
      MXelog(-1,
             "This interface file uses an old palette entry syntax.\n  You can no longer set the "
             "index of a palette entry in the interface file.\n  Please contact Project Marlix "
             "about this problem.\n");
    placepaletteentry(S(a[0]), N(a[1]), N(a[2]), N(a[3]));
    return true;
  }
  switch (token) {
    case IF_ALIAS: case IF_HIGHLIGHT: case IF_SPEEDUP: case IF_BUTTONSTUFF: case IF_CANCEL:
    case IF_FUNCTION: case IF_REDRAWFUNC: case IF_MSG: case IF_POPUP: case IF_PLABEL:
    case IF_WINDOW: case IF_BUTTON: case IF_LABEL: case IF_FIELD: case IF_RECT: case IF_LINE:
    case IF_DRAGAREA: case IF_COLORLIST:
      break;
    default:
      parse_error();
  }
  expect(IF_LPAREN, a[0]);
  switch (token) {
    case IF_ALIAS:
      read_args("WW", 0, a);
      if (firstPass) ++aliases;
      else addalias(S(a[0]), S(a[1]));
      break;
    case IF_HIGHLIGHT:
      read_args("W", 0, a);
      if (!firstPass) InfState.highlight = colour(a[0]);
      break;
    case IF_SPEEDUP:
      read_args("N", 0, a);
      if (!firstPass) InfState.speedup = N(a[0]);
      break;
    case IF_COLORLIST:
      read_args("WWWWW", 0, a);
      if (!firstPass) {
        const char* names[5] = {S(a[0]), S(a[1]), S(a[2]), S(a[3]), S(a[4])};
        addcolorlist(names);
      }
      break;
    case IF_BUTTONSTUFF:
      read_args("WNWW", 0, a);
      if (!firstPass) {
        InfState.buttonborder = colour(a[0]);
        InfState.diagonals = N(a[1]);
        InfState.buttonTLcolor = colour(a[2]);
        InfState.buttonBRcolor = colour(a[3]);
      }
      break;
    case IF_CANCEL:
      read_args("WWWW", 0, a);
      break;
    case IF_FUNCTION:
      n = read_args("WNN", 'N', a);
      do_function(a, n);
      break;
    case IF_REDRAWFUNC:
      read_args("W", 0, a);
      if (!firstPass) InfState.redrawfunc = getfunctionptr(S(a[0]));
      break;
    case IF_MSG:
      read_args("WT", 0, a);
      do_msg(a);
      break;
    case IF_POPUP:
      n = read_args("WNNWWWWN", 'W', a);
      do_popup(a, n);
      break;
    case IF_PLABEL:
      n = read_args("WNWT", 'N', a);
      do_plabel(a, n);
      break;
    case IF_WINDOW:
      read_args("WNNNNWWWNNN", 0, a);
      do_window(a);
      break;
    case IF_BUTTON:
      read_args("WTNNNNWWWWNNNW", 0, a);
      do_button(a, value);
      break;
    case IF_LABEL:
      n = read_args("NNWT", 'W', a);
      do_label(a, n, value);
      break;
    case IF_FIELD:
      read_args("WNNNNW", 0, a);
      do_field(a);
      break;
    case IF_RECT:
      read_args("NNNNWNW", 0, a);
      do_rect(a);
      break;
    case IF_LINE:
      read_args("NNNNNW", 0, a);
      do_line(a);
      break;
    case IF_DRAGAREA:
      read_args("WNNNNWWN", 0, a);
      do_dragarea(a);
      break;
    default:
      break;
  }
  return true;
}

template <typename T>
T* allocate(int count, const char* message) {
  if (count <= 0) return nullptr;
  T* p = static_cast<T*>(std::calloc(static_cast<size_t>(count), sizeof(T)));
  if (!p) MXelog(-1, "%s", message);
  return p;
}

FILE* open_interface_file(const char* filename) {
  FILE* f = MXopen(filename, "r");
  if (!f) MXelog(-1, "Cannot open interface file |%s|.\n", filename);
  return f;
}

}  // namespace

void ifrestart(FILE* file) {
  text.clear();
  pos = 0;
  lineBuf[0] = 0;
  if (!file) return;
  std::string raw;
  char chunk[16384];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) raw.append(chunk, got);
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text.push_back(raw[i]);
  }
}

int iflex() {
  for (;;) {
    if (pos >= text.size()) return IF_EOF;
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c == ' ' || c == '\t' || c == ',') {
      ++pos;
      continue;
    }
    if (c == '\n' || c == '\r') {
      ++pos;
      newline();
      continue;
    }
    if (c == '#') {
      while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r') ++pos;
      continue;
    }
    if (c == '(') {
      ++pos;
      return IF_LPAREN;
    }
    if (c == ')') {
      ++pos;
      return IF_RPAREN;
    }
    if (c == '|') {
      size_t end = pos + 1;
      while (end < text.size() && text[end] != '|' && text[end] != '\n') ++end;
      if (end >= text.size()) {  // no closing bar nor line end: a lone bar
        ++pos;
        return IF_OTHER;
      }
      tokentext.assign(text, pos + 1, end - pos - 1);
      iftext = tokentext.c_str();
      pos = end + 1;  // the closing bar or the line feed is consumed
      return IF_BARTEXT;
    }
    if (isdigitc(c) || (c == '-' && pos + 1 < text.size() && isdigitc(static_cast<unsigned char>(text[pos + 1])))) {
      const bool negative = c == '-';
      size_t start = negative ? pos + 1 : pos;
      size_t end = start;
      while (end < text.size() && isdigitc(static_cast<unsigned char>(text[end]))) ++end;
      iflval = number_value(start, end, negative);
      pos = end;
      return IF_NUMBER;
    }
    if (isletter(c) || c == '@') {
      size_t end = pos + 1;
      while (end < text.size()) {
        const unsigned char d = static_cast<unsigned char>(text[end]);
        if (!isletter(d) && !isdigitc(d) && d != '_') break;
        ++end;
      }
      tokentext.assign(text, pos, end - pos);
      iftext = tokentext.c_str();
      pos = end;
      return keyword_token(tokentext);
    }
    ++pos;
    return IF_OTHER;
  }
}

int ifparse() {
  int statements = 0;
  for (;;) {
    Arg first;
    if (next_token(first) == IF_EOF) {
      if (statements == 0) parse_error();
      return 0;
    }
    statement(first);
    ++statements;
  }
}

void iferror(const char* message) {
  MXelog(-1, "Error on line: %d.\nLine: |%s|\nMessage: %s.\n", lineNumber, lineBuf, message);
}

void readfilepass1(const char* filename) {
  MXfreeinterfacetables();
  msgs = aliases = functions = fields = 0;
  windows = popups = -1;
  lineNumber = 0;
  FILE* f = open_interface_file(filename);
  ifrestart(f);
  std::fclose(f);
  firstPass = 1;
  ifparse();
  ++windows;
  ++popups;

  InfState.funcs = allocate<Function>(functions, "Out of memory for functions\n");
  InfState.numfuncs = functions;
  InfState.msgs = allocate<Message>(msgs, "Out of memory for messages\n");
  InfState.nummsgs = msgs;
  Popups = allocate<Popupmenu>(popups, "Out of memory for popup menus\n");
  InfState.numpopups = popups;
  for (int p = 0; p < popups; ++p) {
    Popups[p].item = allocate<Menuitem>(popdata[p], "Out of memory for popup menu labels\n");
    Popups[p].numitems = popdata[p];
  }
  Win = allocate<MXWindow>(windows, "Out of memory for windows\n");
  InfState.numwindows = windows;
  for (int w = 0; w < windows; ++w) {
    Win[w].wb = allocate<MXButton>(windata[w][0], "Out of memory for buttons\n");
    Win[w].numbuttons = windata[w][0];
    Win[w].graphics = allocate<GraphicType>(windata[w][1], "Out of memory for graphics\n");
    Win[w].numgraphics = windata[w][1];
  }
  InfState.fields = allocate<FieldType>(fields, "Out of memory for fields\n");
  InfState.numfields = fields;

  InfState.keyfunc = nullptr;
  InfState.redrawfunc = redraw_active_windows_routine;
}

void readinterfacefile(const char* filename) {
  currwin = currpop = currfield = currfunc = currmsg = -1;
  currbutt = currgraphic = currplab = -1;
  clist = curr_alias = 0;
  lineNumber = 0;
  FILE* f = open_interface_file(filename);
  ifrestart(f);
  std::fclose(f);
  firstPass = 0;
  init_default_palette(Colorlist, Interface_Palette);
  ifparse();
}
