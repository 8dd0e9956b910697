// Scroll lists: a scroll bar (a drag area drawn as a sunken track with a raised
// thumb) coupled with a list. The thumb's length shows the visible share of the
// items and its place the first visible item; optional up and down buttons step by
// one row. Dragging the thumb, clicking the track beside it or pressing the buttons
// moves the position, which scrolls the list and is reported to the application. A
// scroll bar can also be made without a list.
#pragma once
#include <string>

#include "ui/list.h"

using MXSclistDraggedFunc = void (*)(int pos);  // the position changed

struct MXsclistType {
  std::string wname;   // window holding the scroll bar
  std::string daname;  // the scroll bar's drag area
  int fx, fy, fwd, fht;  // the drag area's rectangle (window coordinates) at setup
  unsigned char buttonCol;    // thumb
  unsigned char topLeftCol;   // light edges
  unsigned char botRightCol;  // dark edges
  unsigned char fieldCol;     // track: the drag area's face colour
  int numListItems;
  int numVisibleItems;
  int numCols;  // items per row; positions move in whole rows
  int curPos;   // first visible item, 0 to the largest position
  MXSclistDraggedFunc sclistDraggedFunc;  // may be null
  std::string upbtn, dwnbtn;  // buttons in the same window; empty for none
  float pixPerItem;  // track pixels per item
  int sclistList;    // handle of the coupled list, -1 none
  ButtonStatusType upstate, dwnstate;  // kept for the record; the buttons' own states rule
};

constexpr int MX_MAX_SCLISTS = 5;
constexpr int MX_SCLIST_HANDLE_BASE = 1000;  // handles are 1000 to 1004
extern MXsclistType* Thumb[MX_MAX_SCLISTS];

// Makes a list (with thPSizeFunc as its page size) and a scroll bar with one step per
// row and couples them. The number of visible items is cols x the list area's height
// / (the field's height + rowgap). Either out handle may be null. Draws only the
// buttons' states.
void MXsclistsetup(const char* wname, const char* listda, int cols, const char* field,
                   int colgap, int rowgap, MXjustType just, MXListLabelFunc label_func,
                   MXListSetTextFunc settext_func, MXListItemFunc in_func,
                   MXListOutFunc out_func, MXListItemFunc click_func, const char* scrollda,
                   int buttonCol, int topLeftCol, int botRightCol, int numListItems, int curPos,
                   MXSclistDraggedFunc sclistDraggedFunc, const char* upbtn, const char* dwnbtn,
                   int* listhandle, int* sclisthandle);
// Makes a scroll bar in the first free entry; returns 1000 + its index. upbtn and
// dwnbtn may be null.
int MXscrollbarsetup(const char* wname, const char* daname, int buttonCol, int topLeftCol,
                     int botRightCol, int numListItems, int numVisibleItems, int numCols,
                     int curPos, MXSclistDraggedFunc sclistDraggedFunc, const char* upbtn,
                     const char* dwnbtn);
void MXdismantlesclist(int handle);  // also dismantles the coupled list
void MXdrawsclist(int handle);       // track, thumb and the list from the position on
void MXsetsclistnumitems(int handle, int n, int redraw);
void MXsetsclistpos(int handle, int pos, int redraw);
int MXgetsclistpos(int handle);
int MXgetmaxpos(int handle);
// The scroll bar's drag-area work: the application's drag-area routine passes on the
// x, y (relative to the drag area) and status it got from the event loop.
void MXhandlesclist(int handle, int x, int y, int status);
void MXhandleupbutton(int handle);    // one row up
void MXhandledownbutton(int handle);  // one row down
void MXdisablesclistbuttons(int handle);
void MXenablesclistbuttons(int handle);  // states from the position
// The page size of the list coupled with a scroll bar (the page number is not used).
int thPSizeFunc(int listhandle, int page);

// Derived values of a scroll bar.
int MXthumbtop(int handle);     // thumb's offset from the track's top
int MXthumbheight(int handle);  // the whole track when all items fit

// Tests only: frees every scroll bar.
void MXresetsclists();
