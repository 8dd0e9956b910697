// Lists: a page of text items laid out in a grid inside a drag area of a window.
// The item under the mouse is highlighted; hovering and clicking are reported to the
// application through routines it supplies. The list knows nothing of its items: it
// asks the application for each page's size, each item's label and each item's text
// colour and font, by item number (items are numbered from 0 over the whole list).
#pragma once
#include <string>

#include "ui/interface_model.h"  // MXjustType, DragStatusType

// The application's routines of a list.
using MXListPSizeFunc = int (*)(int handle, int page);   // items on a page (pages from 1)
using MXListLabelFunc = const char* (*)(int item);        // an item's label
using MXListSetTextFunc = void (*)(int handle, int item); // colour and font of a label
using MXListItemFunc = void (*)(int item);                // the mouse came onto / clicked an item
using MXListOutFunc = void (*)();                         // the mouse left the items

struct MXlistType {
  std::string wname;   // window holding the list
  std::string daname;  // drag area in which the items are laid out
  int cols;            // items per row
  int itemx, itemy;    // first item's top-left corner, from the drag area's corner
  int itemht, itemwd;
  int colgap, rowgap;  // a gap belongs to the item to its left / above it
  int currpagesize;    // items on the page now shown
  int firstitem;       // number of the page's first item
  MXjustType just;
  MXListPSizeFunc psize_func;
  MXListLabelFunc label_func;
  MXListSetTextFunc settext_func;
  MXListItemFunc in_func;     // may be null
  MXListOutFunc out_func;     // may be null
  MXListItemFunc click_func;  // may be null
  int oldslot;   // the item highlighted now, -1 none
  int pagenum;   // the page last shown by MXlistpage
  unsigned char bgcolor;  // item background: the drag area's face colour at setup
};

constexpr int MX_MAX_LISTS = 5;
// The lists; a handle is the index, 0 to 4. An empty entry is null.
extern MXlistType* Lists[MX_MAX_LISTS];

// How MXdrawlistitem draws an item.
enum disptype { Highlight = 0, Unhighlight = 1, New = 2 };

// Makes a list in the first free entry and returns its handle. The field's rectangle
// is the template of the first item (offset from the drag area and size). Draws
// nothing. Fatal when all entries are taken or a name is unknown.
int MXlistsetup(const char* wname, const char* daname, int cols, const char* field, int colgap,
                int rowgap, MXjustType just, MXListPSizeFunc psize_func,
                MXListLabelFunc label_func, MXListSetTextFunc settext_func,
                MXListItemFunc in_func, MXListOutFunc out_func, MXListItemFunc click_func);
// Frees the entry (an invalid handle is ignored); returns -1 for the caller to keep.
int MXdismantlelist(int handle);
// Draws one item in the current window; item -1 is the highlighted item, -2 the one
// highlighted at the previous drawing. An item that would reach outside the drag
// area vertically, and a negative item, are not drawn.
void MXdrawlistitem(int handle, int mode, int item);
// Shows page `page` (from 1); the drag area is not cleared first.
void MXlistpage(int handle, int page);
// Clears the drag area and shows a page starting at item `first`.
void MXlistfromitem(int handle, int first);
// The drag area's work for a list: the application's drag-area routine passes on the
// x, y (relative to the drag area) and status it got from the event loop.
void MXhandlelist(int handle, int x, int y, int status);
// Makes the window current and fills the drag area with its face colour.
void fill_drag_area(const char* wname, const char* daname);

// Tests only: frees every list and forgets the previous highlight.
void MXresetlists();
