// Scroll lists: the scroll bar's track and thumb, its position and item count, the
// up and down buttons' states, thumb dragging and page steps, and the coupling with
// a list whose page size the scroll bar decides.
#include "ui/scroll_list.h"

#include <new>

#include "base/log.h"
#include "platform/platform.h"
#include "ui/interface.h"

MXsclistType* Thumb[MX_MAX_SCLISTS] = {};

namespace {
MXsclistType* checked_sclist(int handle, const char* message) {
  const int i = handle - MX_SCLIST_HANDLE_BASE;
  if (i < 0 || i >= MX_MAX_SCLISTS || !Thumb[i]) MXelog(-1, "%s", message);
  return Thumb[i];
}

int max_pos(const MXsclistType& s) {
  const int m = s.numListItems - s.numVisibleItems;
  return m > 0 ? m : 0;
}

// Track pixels per item. An empty scroll bar still gets a finite scale.
float pix_per_item(const MXsclistType& s) {
  int items = s.numVisibleItems > s.numListItems ? s.numVisibleItems : s.numListItems;
  if (items < 1) items = 1;
  return static_cast<float>(s.fht) / static_cast<float>(items);
}

int thumb_top(const MXsclistType& s) { return static_cast<int>(s.curPos * s.pixPerItem); }

int thumb_height(const MXsclistType& s) {
  if (s.numListItems <= s.numVisibleItems) return s.fht;  // everything fits
  return static_cast<int>(s.numVisibleItems * s.pixPerItem);
}

// Enables or disables a named button when its state differs from the wanted one.
void set_button(const MXsclistType& s, const std::string& button, bool enabled, int redraw) {
  if (button.empty()) return;
  int active = 0;
  MXgetbuttonspecs(s.wname.c_str(), button.c_str(), nullptr, nullptr, nullptr, nullptr, &active);
  if (active == (enabled ? ENABLED : DISABLED)) return;
  if (enabled)
    MXenablebutton(s.wname.c_str(), button.c_str(), redraw);
  else
    MXdisablebutton(s.wname.c_str(), button.c_str(), redraw);
}

void AdjustButtons(int handle, int redraw) {
  const MXsclistType& s = *Thumb[handle - MX_SCLIST_HANDLE_BASE];
  set_button(s, s.upbtn, s.curPos > 0, redraw);
  set_button(s, s.dwnbtn, s.curPos < s.numListItems - s.numVisibleItems, redraw);
}

// A sunken (light = false) or raised frame: the four edges of the rectangle.
void draw_edges(int x, int y, int wd, int ht, int top_left, int bottom_right) {
  MXsetcolor(top_left);
  MXwdrawline(x, y, x + wd, y);
  MXwdrawline(x, y, x, y + ht);
  MXsetcolor(bottom_right);
  MXwdrawline(x + wd, y, x + wd, y + ht);
  MXwdrawline(x, y + ht, x + wd, y + ht);
}
}  // namespace

void MXsclistsetup(const char* wname, const char* listda, int cols, const char* field,
                   int colgap, int rowgap, MXjustType just, MXListLabelFunc label_func,
                   MXListSetTextFunc settext_func, MXListItemFunc in_func,
                   MXListOutFunc out_func, MXListItemFunc click_func, const char* scrollda,
                   int buttonCol, int topLeftCol, int botRightCol, int numListItems, int curPos,
                   MXSclistDraggedFunc sclistDraggedFunc, const char* upbtn, const char* dwnbtn,
                   int* listhandle, int* sclisthandle) {
  const int list = MXlistsetup(wname, listda, cols, field, colgap, rowgap, just, thPSizeFunc,
                               label_func, settext_func, in_func, out_func, click_func);
  int area_ht = 0, field_ht = 0;
  MXgetdragareaspecs(wname, listda, nullptr, nullptr, nullptr, &area_ht, nullptr, nullptr);
  MXgetfieldrect(field, nullptr, nullptr, nullptr, &field_ht, nullptr);
  const int row = field_ht + rowgap > 0 ? field_ht + rowgap : 1;
  const int visible = (Lists[list]->cols * area_ht) / row;
  const int handle =
      MXscrollbarsetup(wname, scrollda, buttonCol, topLeftCol, botRightCol, numListItems,
                       visible, Lists[list]->cols, curPos, sclistDraggedFunc, upbtn, dwnbtn);
  Thumb[handle - MX_SCLIST_HANDLE_BASE]->sclistList = list;
  if (listhandle) *listhandle = list;
  if (sclisthandle) *sclisthandle = handle;
}

int MXscrollbarsetup(const char* wname, const char* daname, int buttonCol, int topLeftCol,
                     int botRightCol, int numListItems, int numVisibleItems, int numCols,
                     int curPos, MXSclistDraggedFunc sclistDraggedFunc, const char* upbtn,
                     const char* dwnbtn) {
  int i = 0;
  while (i < MX_MAX_SCLISTS && Thumb[i]) ++i;
  if (i == MX_MAX_SCLISTS) MXelog(-1, "Reached maximum number of sclists.\n");
  MXsclistType* s = new (std::nothrow) MXsclistType();
  if (!s) MXelog(-1, "Out of memory for sclist.\n");
  s->wname = wname;
  s->daname = daname;
  s->buttonCol = static_cast<unsigned char>(buttonCol);
  s->topLeftCol = static_cast<unsigned char>(topLeftCol);
  s->botRightCol = static_cast<unsigned char>(botRightCol);
  s->numListItems = numListItems > 0 ? numListItems : 0;
  s->numVisibleItems = numVisibleItems > 0 ? numVisibleItems : 0;
  s->numCols = numCols >= 1 ? numCols : 1;  // positions step by whole rows
  s->curPos = curPos;
  if (s->curPos > max_pos(*s)) s->curPos = max_pos(*s);
  if (s->curPos < 0) s->curPos = 0;
  s->sclistDraggedFunc = sclistDraggedFunc;
  s->upbtn = upbtn ? upbtn : "";
  s->dwnbtn = dwnbtn ? dwnbtn : "";
  int bg = 0;
  MXgetdragareaspecs(wname, daname, &s->fx, &s->fy, &s->fwd, &s->fht, nullptr, &bg);
  s->fieldCol = static_cast<unsigned char>(bg);
  s->pixPerItem = pix_per_item(*s);
  s->sclistList = -1;
  s->upstate = s->dwnstate = ENABLED;
  Thumb[i] = s;
  const int handle = MX_SCLIST_HANDLE_BASE + i;
  AdjustButtons(handle, 1);
  return handle;
}

void MXdismantlesclist(int handle) {
  MXsclistType* s = checked_sclist(handle, "MXdismantlesclist called with invalid handle.\n");
  if (s->sclistList != -1) MXdismantlelist(s->sclistList);
  delete s;
  Thumb[handle - MX_SCLIST_HANDLE_BASE] = nullptr;
}

void MXdrawsclist(int handle) {
  const MXsclistType& s =
      *checked_sclist(handle, "Invalid MXsclistHandle passed to MXdrawsclist.\n");
  MXsetcurrentnamedwindow(s.wname.c_str());
  MXsetcolor(s.fieldCol);
  MXwfillrect(s.fx, s.fy, s.fwd, s.fht);
  MXsetlinesize(1);
  draw_edges(s.fx, s.fy, s.fwd, s.fht, s.botRightCol, s.topLeftCol);  // sunken track
  const int ty = s.fy + thumb_top(s), th = thumb_height(s);
  MXsetcolor(s.buttonCol);
  MXwfillrect(s.fx, ty, s.fwd, th);
  draw_edges(s.fx, ty, s.fwd, th, s.topLeftCol, s.botRightCol);  // raised thumb
  if (s.sclistList != -1) MXlistfromitem(s.sclistList, s.curPos);
}

void MXsetsclistnumitems(int handle, int n, int redraw) {
  MXsclistType& s =
      *checked_sclist(handle, "Invalid MXsclistHandle passed to MXsetsclistnumitems.\n");
  if (n < 0) n = 0;
  if (n == s.numListItems) return;
  s.numListItems = n;
  if (s.curPos > max_pos(s)) s.curPos = max_pos(s);
  s.pixPerItem = pix_per_item(s);
  AdjustButtons(handle, 1);
  if (redraw) MXdrawsclist(handle);
}

void MXsetsclistpos(int handle, int pos, int redraw) {
  MXsclistType& s = *checked_sclist(handle, "Invalid MXsclistHandle passed to MXsetsclistpos.\n");
  if (pos > max_pos(s)) pos = max_pos(s);
  if (pos < 0) pos = 0;
  if (pos == s.curPos) return;
  s.curPos = pos;
  if (s.sclistDraggedFunc) s.sclistDraggedFunc(pos);
  AdjustButtons(handle, 1);
  if (redraw) MXdrawsclist(handle);
}

int MXgetsclistpos(int handle) {
  return checked_sclist(handle, "Invalid MXsclistHandle passed to MXgetsclistpos.\n")->curPos;
}

int MXgetmaxpos(int handle) {
  return max_pos(*checked_sclist(handle, "Invalid MXsclistHandle passed to MXgetmaxpos.\n"));
}

void MXhandlesclist(int handle, int, int y, int status) {
  const MXsclistType& s =
      *checked_sclist(handle, "Invalid MXsclistHandle passed to MXhandlesclist.\n");
  const int th = thumb_height(s);
  if (th >= s.fht) return;  // everything is visible
  if (status == DRAG_PROCESS) {
    if (y < 0 || y > s.fht) return;
    int pos = static_cast<int>(static_cast<float>(y - th / 2) / s.pixPerItem);
    pos = (pos / s.numCols) * s.numCols;
    MXsetsclistpos(handle, pos, 1);
  } else if (status == MOUSE_CLICK) {
    const int top = thumb_top(s);
    if (y < top)
      MXsetsclistpos(handle, s.curPos - s.numVisibleItems + s.numCols, 1);
    else if (y > top + th)
      MXsetsclistpos(handle, s.curPos + s.numVisibleItems - s.numCols, 1);
  }
}

void MXhandleupbutton(int handle) {
  const MXsclistType& s =
      *checked_sclist(handle, "Invalid MXsclistHandle passed to MXsetsclistpos.\n");
  MXsetsclistpos(handle, s.curPos - s.numCols, 1);
}

void MXhandledownbutton(int handle) {
  const MXsclistType& s =
      *checked_sclist(handle, "Invalid MXsclistHandle passed to MXsetsclistpos.\n");
  MXsetsclistpos(handle, s.curPos + s.numCols, 1);
}

void MXdisablesclistbuttons(int handle) {
  const MXsclistType& s = *checked_sclist(handle, "Invalid MXsclistHandle.\n");
  if (!s.upbtn.empty()) MXdisablebutton(s.wname.c_str(), s.upbtn.c_str(), 1);
  if (!s.dwnbtn.empty()) MXdisablebutton(s.wname.c_str(), s.dwnbtn.c_str(), 1);
}

void MXenablesclistbuttons(int handle) {
  checked_sclist(handle, "Invalid MXsclistHandle.\n");
  AdjustButtons(handle, 1);
}

int thPSizeFunc(int listhandle, int) {
  for (const MXsclistType* s : Thumb)
    if (s && s->sclistList == listhandle)
      return s->numVisibleItems < s->numListItems ? s->numVisibleItems : s->numListItems;
  MXelog(-1, "Error:  thPSizeFunc called by list with no sclist.\n");
  return 0;
}

int MXthumbtop(int handle) {
  return thumb_top(*checked_sclist(handle, "Invalid MXsclistHandle.\n"));
}

int MXthumbheight(int handle) {
  return thumb_height(*checked_sclist(handle, "Invalid MXsclistHandle.\n"));
}

void MXresetsclists() {
  for (MXsclistType*& s : Thumb) {
    delete s;
    s = nullptr;
  }
}
