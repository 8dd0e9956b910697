// The country list of the program's data: the world, the major areas and the UN
// regions, then every country or area of WPP 2019 with full age data, each with a
// short name, a database file name, its UN location code and (filled in by the map
// generator) its colour.
#pragma once
#include <string>
#include <vector>

#include "wpp_tables.h"

struct ListEntry {
  int code = 0;                 // UN location code
  std::string name;             // shown to the user, at most 21 characters
  std::string un_name;          // WPP's own name
  std::string file;             // database file, at most 13 characters, lower case
  std::string type;             // "region" (world, major area), "sub" (UN region), "none" (country)
  int region = -1;              // countries: list index of their UN region entry
  std::string color;            // palette colour name
};

constexpr size_t LIST_NAME_MAX = 21;
constexpr size_t LIST_FILE_MAX = 13;

// Builds the list from the WPP tables: regions first (world; major areas and UN
// regions, each group in name order), then the countries in name order. False
// with a message when a table lacks a location, a country has no reviewed name
// and file, or names or files clash.
bool build_world_list(const WppData& wpp, std::vector<ListEntry>* list, std::string* error);

// The list entry of a UN location code, or -1.
int list_index(const std::vector<ListEntry>& list, int code);

// The list entry that stands on the maps for a WPP location without full data (a
// territory): its UN region entry, or -1 when the location is not in the WPP
// location table or has no region in the list.
int territory_entry(const WppData& wpp, const std::vector<ListEntry>& list, int code);

// Number of region entries (they come first).
int region_count(const std::vector<ListEntry>& list);
