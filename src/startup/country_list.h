// The country list (tag "VK_clist"): every world region and country the user can
// choose, with its database file, code and map colour. Regions come first, so an
// index below Numregions is a region and any other index a country.
#pragma once
#include <vector>

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

// Other names of list entries (tag "VK_alias", file "aliases.maf" in the
// country list's directory): common names ("USA", "Ivory Coast") and the UN's long names. One name may
// stand for two entries ("Korea"); then it is ambiguous.
struct CountryAlias {
  char name[48];
  int entry;  // index in Country_list
};
extern std::vector<CountryAlias> Country_aliases;

// Reads the aliases after the list. A missing file leaves the search to the names
// alone; a malformed one is fatal; a row whose UN code is
// not in the list is noted and passed over.
void get_country_aliases();
int alias_reader(const char* key, ReaderStatusType status, void* data);

// The entry a typed name finds, accents and case ignored: a whole alias first (so
// "UK" is the United Kingdom, not Ukraine), then the first entry whose name begins
// with the text, then the first alias that does. *other is a second entry when the
// whole alias names two, else -1. -1 when nothing matches or the text is empty.
int find_name(const char* text, int* other);

// Drops the list and puts the counts back to their start values.
void clear_country_list();
