// The country list (tag "VK_clist"): every world region and country the user can
// choose, with its database file, code and map colour. Regions come first, so an
// index below Numregions is a region and any other index a country.
#pragma once
#include "base/tagged_reader.h"

struct Clist {
  char name[22];        // shown to the user; single blanks may stand inside
  char file[14];        // database file under Datapath
  int code;             // -1 until read
  unsigned char color;  // palette index on the map pictures; 255 until read or unknown
  int display;          // 1: listed; 0: its name repeats or begins an earlier name
};

// Largest count numregions= or numcountries= may declare.
constexpr long CLIST_MAX_ENTRIES = 10000;

extern Clist* Country_list;  // Numregions + Numcountries entries
extern int Numregions;       // declared; -1 until read
extern int Numcountries;     // declared
extern int Realnumregions;   // rows read
extern int Realnumcountries;

// Turns a colour name of the list into a palette index, -1 when unknown. The
// program sets it to the interface library's colour lookup; while it is null every
// colour is unknown.
extern int (*ListColorLookup)(const char* name);

// Reads ListFile; a missing or malformed list is fatal.
void get_country_names();

// The reader callback of the country list.
int list_reader(const char* key, ReaderStatusType status, void* data);

// The first index i in [first, end) whose name begins with text (case ignored);
// -1 when there is none, when text is empty or when first >= end.
int find(const Clist* list, const char* text, int first, int end);

// Drops the list and puts the counts back to their start values.
void clear_country_list();
