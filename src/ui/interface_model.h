// The interface library's object model: the records of windows, buttons, drag
// areas, graphics, fields, popup menus and their items, timed functions and
// messages; the global interface state; the colour tables; the binding of routine
// names to the application's routines; the small record-level helpers; and the
// library-private drawing routines shared by the drawing code and the event loop.
//
// Every table is filled once, while the interface-definition file is read, and
// lives until the program ends. Objects are found by name, ignoring case.
#pragma once
#include <cstddef>
#include <cstdio>

#include "platform/platform.h"  // FontSizeType (SMALL = 10, LARGE = 15)

// Enumerations (their values appear in interface files and application code) ----

enum ButtonStatusType : int { ENABLED = 1, DISABLED = 0, INVISIBLE = -1, TMP_DISABLED = -2 };

enum ArrowSymType : int {
  NO_ARROW_SYM = 0,
  UP_ARROW_SYM = 94,     // '^'
  DOWN_ARROW_SYM = 118,  // 'v'
  LEFT_ARROW_SYM = 60,   // '<'  (drawn with its tip on the right)
  RIGHT_ARROW_SYM = 62,  // '>'  (drawn with its tip on the left)
};

// Horizontal placement of a button label: the first letter of the word in the file.
enum BtnLabPosType : int { LEFT = 76, CENTER = 67, RIGHT = 82 };

enum MXjustType : int { JUST_LEFT = 0, JUST_RIGHT = 1, JUST_CENTER = 2 };

enum controlgrouptype : int { NONE = 0, WINDOW = 1, MENU = 2 };

// The status handed to drag-area routines.
enum DragStatusType : int {
  DRAG_INIT = 1,
  DRAG_PROCESS = 2,
  DRAG_FINAL = 3,
  MOUSE_INSIDE = 4,
  MOUSE_CLICK = 5,
  MOUSE_OUTSIDE = 6,
  KEY_PRESS = 7,
};

// Application routines ---------------------------------------------------------
//
// Every routine the interface file names has this one shape; the library passes the
// arguments that the kind of call defines and zeros / null for the others:
//   button or menu item:            (0, 0, 0, control name)
//   drag area, DRAG_INIT, DRAG_PROCESS, MOUSE_INSIDE, MOUSE_OUTSIDE:
//                                   (x, y, status, nullptr)   x, y relative to the area
//   drag area, DRAG_FINAL, MOUSE_CLICK: (x, y, status, area name)
//   popup menu dismissed:           (0, 0, 0, nullptr)
//   key routine:                    (x, y, key, nullptr)      x, y relative to the current window
//   active (timed) function:        (x, y, 0, nullptr)        screen coordinates
//   redraw routine:                 (0, 0, 0, nullptr)
// The result is 1 when the routine acted, 0 when it refused; the library ignores it.
using IntrRoutine = int (*)(int x, int y, int code, const char* name);

inline int MXcall_named(IntrRoutine f, const char* name) { return f ? f(0, 0, 0, name) : 0; }
inline int MXcall_xy(IntrRoutine f, int x, int y, int code, const char* name = nullptr) {
  return f ? f(x, y, code, name) : 0;
}
inline int MXcall_plain(IntrRoutine f) { return f ? f(0, 0, 0, nullptr) : 0; }

// One row of the application's binding table (the application's `FuncNames`,
// `NumFuncs` rows). The library knows no application names: the application hands
// its table over with MXsetfunctiontable before MXinterfaceinit.
struct IntrFunction {
  const char* name;
  IntrRoutine funcptr;
};
void MXsetfunctiontable(const IntrFunction* table, int count);

// Records ----------------------------------------------------------------------
// In every record the name comes first: getname relies on it.

struct MXButton {  // a button or a drag area
  char* name;
  char* text;  // label; one '@' splits two lines; "@@" shows none; null for drag areas
  ArrowSymType arrow;
  int x, y;  // relative to the window's top-left corner
  int wd, ht;
  int popupmenunum;  // index in Popups of the menu it opens, -1 for none
  FontSizeType tsize;
  ButtonStatusType active;
  unsigned char efgcolor;  // label colour while ENABLED
  unsigned char dfgcolor;  // label colour in every other state
  unsigned char bgcolor;   // face colour
  IntrRoutine func;
  int border;      // non-zero: framed 3-D border
  int repeatable;  // non-zero: auto-repeat while held
  int depressed;   // non-zero while drawn pressed
  int drag;        // 1 for a drag area
  BtnLabPosType labpos;
};

struct GraphicType {  // a line, rectangle or label of a window
  int x, y;           // first point / top-left corner / text position (window-relative)
  int wd, ht;         // rectangles: size; lines: the second point; labels: unused
  unsigned char color;
  unsigned char shadowcolor;  // labels: shadow colour, 255 for none
  char type;    // 1 line, 2 double line, 3 rect, 4 double rect, 6 large label, 7 small label
  char attrib;  // rectangles: 1 filled
  char* text;   // labels
};

struct MXWindow {
  char* name;
  int active;         // 0 hidden; otherwise the display level at which it was shown
  int bstore_to_use;  // backing-store slot 1..5, 0 for none
  int bstore;         // 1 while the covered screen area is saved in the slot
  int popup;          // non-zero while shown modally
  int x, y, wd, ht;   // screen rectangle, border included
  unsigned char fgcolor;  // text colour (kept for the application)
  unsigned char bgcolor;
  unsigned char bordercolor;
  int bordersize;
  int numbuttons;
  MXButton* wb;
  int numgraphics;
  GraphicType* graphics;
};

struct FieldType {  // a named window-relative rectangle the application draws into
  char* name;
  int x, y, wd, ht;
  unsigned char color;
};

struct Menuitem {
  char* name;
  char* text;
  ButtonStatusType active;  // an INVISIBLE item takes no slot in the open menu
  int checked;              // non-zero shows "*"
  IntrRoutine func;
};

struct Popupmenu {
  char* name;
  int active;     // 1 while open
  int checklist;  // non-zero: check-mark menu (labels indented 15, width + 10)
  unsigned char enablefg, disablefg, bg, bcolor;
  int x, y;  // screen position
  int wd;    // widest label in the LARGE font + 10 (+ 10 for a check list)
  int ht;    // 15 per visible item + 7, set each time it opens
  int numitems;
  Menuitem* item;
  IntrRoutine func;  // called when closed without a choice; null for none
};

struct Function {  // a named timed function
  char* name;
  int dtime;
  int itime;      // -1 when loaded and when activated
  int mouse_off;  // 1 when the file omits it
  int active;     // non-zero: called after every event
  IntrRoutine func;
};

struct Message {
  char* name;
  char* text;
};

constexpr int MX_CONTROL_TEXT = 80;  // characters of the last-control texts, NUL excluded

struct ControlType {  // the last control used
  controlgrouptype type;
  char gname[MX_CONTROL_TEXT + 1];  // window or popup-menu name
  char time[MX_CONTROL_TEXT + 1];   // "%H:%M:%S"
  union {
    char name[MX_CONTROL_TEXT + 1];  // WINDOW: button name
    int number;                      // MENU: item number; NONE: -1
  } control;
};

constexpr int MX_BSTORE_SLOTS = 6;  // slots 1..5 are used; slot 1 also holds an open popup

struct MXBackingStore {  // the buffers themselves are the platform layer's
  int inuse;
  void* bstore1;
  void* bstore2;
  void* bstore3;
  int bstoreht;
  unsigned bsize;
};

struct Iconfig {
  int level;    // current display level; 1 after initialisation
  int speedup;  // time factor of auto-repeat
  int cw;       // current window
  int cb;       // button being pressed, -1 none
  unsigned char colorlist[5][5];
  unsigned char highlight;  // colour of the highlighted popup item
  int numwindows;
  int numpopups;
  int activepopupwindow;  // open popup menu, -1 none
  int buttonborder;       // outer button frame and disabled diagonal
  int buttonTLcolor;      // top/left bevel of a released button
  int buttonBRcolor;      // bottom/right bevel of a released button
  int diagonals;          // non-zero: disabled framed buttons get a diagonal
  int numfields;
  FieldType* fields;
  int nummsgs;
  Message* msgs;
  int numfuncs;
  Function* funcs;
  int winbstore;  // 1 when initialised with backing store for windows
  MXBackingStore backingstore[MX_BSTORE_SLOTS];
  ControlType lastcontrol;
  IntrRoutine keyfunc;    // the key routine, null for none
  IntrRoutine redrawfunc; // repaints everything; MXredrawactivewindows by default
};

// Limits -----------------------------------------------------------------------

constexpr int MX_WINDOW_ROWS = 100;  // windata rows; at most 99 windows
constexpr int MX_POPUP_ROWS = 25;    // popdata rows; at most 24 popup menus
constexpr int MX_MAX_WINDOWS = 99;
constexpr int MX_MAX_POPUPS = 24;
constexpr int MX_MAX_ALIASES = 50;
constexpr int MX_MAX_COLORLISTS = 5;
constexpr int MX_NAME_LIMIT = 31;  // longer names and labels are noted (and kept whole)
// A window name must fit the last control's window name: longer ones are refused.
constexpr int MX_WINDOW_NAME_CHARS = MX_CONTROL_TEXT;
constexpr int MX_PRESET_COLORS = 8;

// Global tables (defined in interface_model.cpp) ----------------------------------

extern Iconfig InfState;
extern MXWindow* Win;       // InfState.numwindows entries
extern Popupmenu* Popups;   // InfState.numpopups entries
extern int windata[MX_WINDOW_ROWS][2];  // per window: buttons (drag areas included), graphics
extern int popdata[MX_POPUP_ROWS];      // per popup menu: items
extern char* Colorlist[257];            // palette colour names by index, null-ended
extern unsigned char Interface_Palette[256 * 3];  // r, g, b per index, 0..63
extern char* Alias[MX_MAX_ALIASES + 1];   // alias names, ended by an empty text
extern char* Acolor[MX_MAX_ALIASES + 1];  // the colour name each alias stands for
extern int GraphicsMode;                  // palette entries in use: 16 or 256
extern int NumColors;                     // colours placed so far (8 after the presets)
extern const char* const Std_Colorlist[2];   // "black", "white"
extern const char* const Dflt_Colorlist[6];  // "dgray" .. "peach"
extern const unsigned char dflt_rgb[MX_PRESET_COLORS * 3];

// Screen size and the last pointer position (Cursx/Cursy kept by the event loop;
// defined in interface_model.cpp).
extern int Maxx, Maxy;
extern int Cursx, Cursy;

// Drawing-state globals (defined in interface_draw.cpp).
extern int PopUpSaveCurrWinNum;  // window current when the open popup menu opened
extern int PopupSaveMsg;         // help message to show again when it closes
extern int oldpopup, olditemslot, olditem;  // what highlight() marked last (-1 none)

// Lookups and helpers (interface_model.cpp) -----------------------------------------

// Index of the first of `count` records (each `recsize` bytes, the name first) whose
// name equals `name` ignoring case. Not found: -1 when kind is null, else fatal
// "getname: Couldn't find |kind| named |name|".
int getname(const void* array, size_t recsize, int count, const char* name, const char* kind);
// Typed forms of the common lookups (each fatal when not found).
int MXwindownum(const char* name);                     // kind "window"
int MXbuttonnum(int window, const char* name);         // kind "button"
int MXpopupnum(const char* name);                      // kind "popup"
int MXfieldnum(const char* name);                      // kind "field"
int MXfunctionnum(const char* name);                   // kind "function"
int MXmessagenum(const char* name);                    // kind "message"

char* str_dup(const char* text);  // heap copy (malloc), null when memory is exhausted
IntrRoutine getfunctionptr(const char* name);  // a leading '@' is skipped; fatal when unbound
// Palette index of a colour name or alias (fatal when neither).
int convertcolor(char* const* alias, char* const* acolor, const char* name);
void init_default_palette(char** names, unsigned char* rgb);
unsigned char MXgetlistcolor(int list, int index);
void getbuttoninfo(const char* window, const char* button, int* x, int* y, int* wd, int* ht,
                   int* active);
int pickitemslot(int y, const Popupmenu* menu);
int pickitem(int y, const Popupmenu* menu);
void setlastcontrol(controlgrouptype type, const char* gname, const char* cname, int number);
void writepalettefile(const unsigned char* rgb);

// Palette, alias and colour-list statements of the interface file.
void placepaletteentry(const char* name, int red, int green, int blue);
void addalias(const char* alias, const char* colour);
void addcolorlist(const char* const names[5]);

// Releases every table built from an interface file and empties the colour tables, so
// that a file can be read again (tests, benchmarks, fuzzing). The program reads its file
// once and never calls it.
void MXfreeinterfacetables();

// Library-private drawing (interface_draw.cpp) ---------------------------------------
// Screen coordinates; each routine restores the colour, font and line size it changes.

void MXPsetcurrentwindow(int w);  // current window; clip to its inside
void drawwindow(int w);
void drawwindowborders(int w, int colour);
void removewindow(int w);
void drawbutton(int w, int b, int labelonly);
void MXPdraw_depressed_button(int w, int b);
void MXPdraw_released_button(int w, int b);
void erasebutton(int w, int b);
void drawgraphic(const GraphicType* g);  // of the current window
void drawarrow(int w, int b, int x0, int t, int aw, int ah);
void createpopupmenu(int m);
void removepopup();
void display_popup_label(int m, int item, int slot);
void highlight(int x, int y);
void toggle_check(int m, int item, int colour);
void disable_buttons_for_popup(int w);
void enable_buttons_after_popup(int w);
void drawshadedframe(int x, int y, int wd, int ht, int c1, int c2);  // current window coords
