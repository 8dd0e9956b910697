// Choosing the country or world region of a pane in the modal window "map": a small
// map of the regions with a movable zoom box, a large map of the boxed part of the
// country map, a scroll list of every name and a typed-name search. The map
// pictures hold, as pixel values, the index of the entry in the country list.
#pragma once

#include "pictures/run_length_picture.h"

extern MXPicture Countrypic;  // the large (country) map
extern MXPicture Regionpic;   // the small (region) map

extern int Pickno;  // list index of the pending choice, -1 for none
// The zoom box in small-map pixels relative to the field "SMAP".
extern int Xorx, Xory, Xorwd, Xorht;
extern char searchstring[81];
extern int ScrollPicknumpages;  // the largest top position of the list
extern int gPickList, gThumb;   // handles of the list and its scroll bar

// Centres the zoom box on (cx, cy) of the small map for a magnification, kept
// inside the small map.
void compute_xorbox(int cx, int cy, int scale, int sw, int sh, int lw, int lh);
// Palette index of a map value: background 255 gives 0, a value that is no entry
// "white", an entry its map colour.
int code2color(unsigned value, int column, int row, int repeat);

// Commands.
int selectcountrymap();
int scrollselectcountry();
int mapdone();
int mapcancel();
int incmapscale();
int decmapscale();
int draglargemap(int x, int y, int status);
int dragsmallmap(int x, int y, int status);
int scrolldraggetcountry(int x, int y, int status);
int scrollbar(int x, int y, int status);
int scrollupline();
int scrolldnline();
int handlesearch(int x, int y, int key);

// Helpers also used by the redraw, the tutorial and the tests.
void draw_selection_window();
int dragmaphelp(int x, int y, int status, const MXPicture* picture);
int changemapscale(int delta);
void display_curr_selection();
void display_searchstring();
int ProcessSearchtext(int key);
void endselectcountry();
int display_item_number(int row);
int row_of_entry(int index);  // the list row of an entry, -1 when it is not listed
int number_of_entries();      // Realnumregions + Realnumcountries
