// Lists: item geometry inside a drag area, item drawing (highlighted, plain, new),
// paging, and the hover and click handling that a drag-area routine passes on.
#include "ui/list.h"

#include <new>

#include "base/log.h"
#include "platform/platform.h"
#include "ui/interface.h"

MXlistType* Lists[MX_MAX_LISTS] = {};

namespace {
int prev_slot = -1;  // the highlighted item as it was after the previous item drawing

MXlistType* checked_list(int handle, const char* message) {
  if (handle < 0 || handle >= MX_MAX_LISTS || !Lists[handle]) MXelog(-1, "%s", message);
  return Lists[handle];
}

// Column or row of a point offset from the first item's corner; -1 before it.
int cell_of(int offset, int step) {
  if (offset < 0 || step <= 0) return -1;
  return offset / step;
}

int page_rows(const MXlistType& l) { return (l.currpagesize + l.cols - 1) / l.cols; }

bool on_page(const MXlistType& l, int c, int r) {
  return c >= 0 && c <= l.cols - 1 && r >= 0 && r < page_rows(l) &&
         r * l.cols + c < l.currpagesize;
}
}  // namespace

int MXlistsetup(const char* wname, const char* daname, int cols, const char* field, int colgap,
                int rowgap, MXjustType just, MXListPSizeFunc psize_func,
                MXListLabelFunc label_func, MXListSetTextFunc settext_func,
                MXListItemFunc in_func, MXListOutFunc out_func, MXListItemFunc click_func) {
  int handle = 0;
  while (handle < MX_MAX_LISTS && Lists[handle]) ++handle;
  if (handle == MX_MAX_LISTS) MXelog(-1, "Reached maximum number of lists.\n");
  const int w = MXwindownum(wname);
  const int b = getname(Win[w].wb, sizeof(MXButton), Win[w].numbuttons, daname, "dragarea");
  MXlistType* l = new (std::nothrow) MXlistType();
  if (!l) MXelog(-1, "Out of memory for lists.\n");
  l->wname = wname;
  l->daname = daname;
  // A list needs at least one column: the grid arithmetic divides by it.
  l->cols = cols >= 1 ? cols : 1;
  MXgetfieldrect(field, &l->itemx, &l->itemy, &l->itemwd, &l->itemht, nullptr);
  l->colgap = colgap;
  l->rowgap = rowgap;
  l->currpagesize = 0;
  l->firstitem = 0;
  l->just = just;
  l->psize_func = psize_func;
  l->label_func = label_func;
  l->settext_func = settext_func;
  l->in_func = in_func;
  l->out_func = out_func;
  l->click_func = click_func;
  l->oldslot = -1;
  l->pagenum = 0;
  l->bgcolor = Win[w].wb[b].bgcolor;
  Lists[handle] = l;
  return handle;
}

int MXdismantlelist(int handle) {
  if (handle >= 0 && handle < MX_MAX_LISTS && Lists[handle]) {
    delete Lists[handle];
    Lists[handle] = nullptr;
  }
  return -1;
}

void MXdrawlistitem(int handle, int mode, int item) {
  MXlistType& l = *checked_list(handle, "Invalid MXlistHandle passed to MXdrawlistitem\n");
  if (mode == Unhighlight && l.oldslot == -1) return;
  int dx = 0, dy = 0, dht = 0;
  MXgetdragareaspecs(l.wname.c_str(), l.daname.c_str(), &dx, &dy, nullptr, &dht, nullptr,
                     nullptr);
  if (item == -1)
    item = l.oldslot;
  else if (item == -2)
    item = prev_slot;

  const int n = item - l.firstitem;
  const int r = n / l.cols, c = n % l.cols;
  const int left = dx + l.itemx + c * (l.itemwd + l.colgap);
  const int top = dy + l.itemy + r * (l.itemht + l.rowgap);
  // An item above the page's first (or no item at all) has no place in the grid.
  if (item >= 0 && n >= 0 && top >= dy && top + l.itemht <= dy + dht) {
    MXsetcolor(mode == Highlight ? InfState.highlight : l.bgcolor);
    MXwfillrect(left, top, l.itemwd, l.itemht);
    if (l.settext_func) l.settext_func(handle, item);
    const char* label = l.label_func ? l.label_func(item) : nullptr;
    if (!label) label = "";
    const int ty = top + 10;
    const int width = MXtextwidth(label);
    switch (l.just) {
      case JUST_RIGHT:
        MXwwriteclippedmsg(left, ty, l.itemwd - 1, l.itemht, left + l.itemwd - 4 - width, ty,
                           label);
        break;
      case JUST_CENTER:
        MXwwriteclippedmsg(left + 3, ty, l.itemwd - 4, l.itemht, left + (l.itemwd - width) / 2,
                           ty, label);
        break;
      default:
        MXwwriteclippedmsg(left + 3, ty, l.itemwd - 4, l.itemht, left + 3, ty, label);
        break;
    }
  }
  prev_slot = l.oldslot;
}

void MXlistpage(int handle, int page) {
  MXlistType& l = *checked_list(handle, "Invalid MXlistHandle passed to MXlistpage\n");
  l.pagenum = page;
  int first = 0;
  for (int p = 1; p < page; ++p) first += l.psize_func(handle, p);
  l.firstitem = first;
  l.currpagesize = l.psize_func(handle, page);
  for (int i = l.firstitem; i < l.firstitem + l.currpagesize; ++i)
    MXdrawlistitem(handle, New, i);
  l.oldslot = -1;
}

void MXlistfromitem(int handle, int first) {
  MXlistType& l = *checked_list(handle, "Invalid MXlistHandle passed to MXlistfromitem\n");
  fill_drag_area(l.wname.c_str(), l.daname.c_str());
  l.firstitem = first;
  l.currpagesize = l.psize_func(handle, 1);
  for (int i = l.firstitem; i < l.firstitem + l.currpagesize; ++i)
    MXdrawlistitem(handle, New, i);
  l.oldslot = -1;
}

void MXhandlelist(int handle, int x, int y, int status) {
  MXlistType& l = *checked_list(handle, "Invalid MXlistHandle passed to MXhandlelist\n");
  if (status == MOUSE_OUTSIDE) {
    MXdrawlistitem(handle, Unhighlight, l.oldslot);
    if (l.out_func) l.out_func();
    l.oldslot = -1;
    return;
  }
  const int c = cell_of(x - l.itemx, l.itemwd + l.colgap);
  const int r = cell_of(y - l.itemy, l.itemht + l.rowgap);
  const int n = r * l.cols + c + l.firstitem;
  if (status == MOUSE_INSIDE || status == DRAG_PROCESS) {
    if (n == l.oldslot) return;
    MXdrawlistitem(handle, Unhighlight, l.oldslot);
    if (on_page(l, c, r)) {
      l.oldslot = n;
      MXdrawlistitem(handle, Highlight, n);
      if (l.in_func) l.in_func(n);
    } else {
      l.oldslot = -1;
      if (l.out_func) l.out_func();
    }
  } else if (status == MOUSE_CLICK || status == DRAG_FINAL) {
    MXdrawlistitem(handle, Unhighlight, l.oldslot);
    if (on_page(l, c, r)) {
      l.oldslot = n;
      if (l.click_func) l.click_func(n);
    } else {
      MXbell();
    }
  }
}

void fill_drag_area(const char* wname, const char* daname) {
  MXsetcurrentnamedwindow(wname);
  int x = 0, y = 0, wd = 0, ht = 0, bg = 0;
  MXgetdragareaspecs(wname, daname, &x, &y, &wd, &ht, nullptr, &bg);
  MXsetcolor(bg);
  MXwfillrect(x, y, wd, ht);
}

void MXresetlists() {
  for (int i = 0; i < MX_MAX_LISTS; ++i) MXdismantlelist(i);
  prev_slot = -1;
}
