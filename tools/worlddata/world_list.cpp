// The country list: the reviewed table of short names and file names, and the
// order of the entries.
#include "world_list.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>

namespace {

struct RegionRow {
  int code;
  const char* name;
  const char* file;
  const char* type;
};

// The world, the six major areas and the 21 UN regions. Northern America is a
// major area and a region at once: its one entry serves as both. The name of the
// Australia/New Zealand region does not begin with "Australia", which would hide
// the country of that name from the selection list (a name that is the beginning
// of an earlier name is not listed).
const RegionRow kRegions[] = {
    {900, "World", "world.dat", "region"},
    {903, "Africa", "africa.dat", "region"},
    {935, "Asia", "asia.dat", "region"},
    {908, "Europe", "europe.dat", "region"},
    {904, "Latin Am. & Caribbean", "latinam.dat", "region"},
    {905, "Northern America", "northam.dat", "region"},
    {909, "Oceania", "oceania.dat", "region"},
    {910, "Eastern Africa", "eafrica.dat", "sub"},
    {911, "Middle Africa", "mafrica.dat", "sub"},
    {912, "Northern Africa", "nafrica.dat", "sub"},
    {913, "Southern Africa", "safrica.dat", "sub"},
    {914, "Western Africa", "wafrica.dat", "sub"},
    {5500, "Central Asia", "casia.dat", "sub"},
    {906, "Eastern Asia", "easia.dat", "sub"},
    {920, "South-Eastern Asia", "seasia.dat", "sub"},
    {5501, "Southern Asia", "sasia.dat", "sub"},
    {922, "Western Asia", "wasia.dat", "sub"},
    {915, "Caribbean", "caribbean.dat", "sub"},
    {916, "Central America", "camerica.dat", "sub"},
    {931, "South America", "samerica.dat", "sub"},
    {927, "Aus. and New Zealand", "ausnz.dat", "sub"},
    {928, "Melanesia", "melanesia.dat", "sub"},
    {954, "Micronesia", "micrones.dat", "sub"},
    {957, "Polynesia", "polynesia.dat", "sub"},
    {923, "Eastern Europe", "eeurope.dat", "sub"},
    {924, "Northern Europe", "neurope.dat", "sub"},
    {925, "Southern Europe", "seurope.dat", "sub"},
    {926, "Western Europe", "weurope.dat", "sub"},
};

struct CountryRow {
  int code;
  const char* alpha3;      // ISO 3166-1 alpha-3 (the Channel Islands have none: CHI)
  const char* short_name;  // null: WPP's name is short and common already
};

// Reviewed short names: at most 21 characters, the common English name, unique,
// none the beginning of a region's name.
const CountryRow kCountries[] = {
    {4, "afg", nullptr}, {8, "alb", nullptr}, {12, "dza", nullptr}, {24, "ago", nullptr},
    {28, "atg", nullptr}, {32, "arg", nullptr}, {51, "arm", nullptr}, {533, "abw", nullptr},
    {36, "aus", nullptr}, {40, "aut", nullptr}, {31, "aze", nullptr}, {44, "bhs", nullptr},
    {48, "bhr", nullptr}, {50, "bgd", nullptr}, {52, "brb", nullptr}, {112, "blr", nullptr},
    {56, "bel", nullptr}, {84, "blz", nullptr}, {204, "ben", nullptr}, {64, "btn", nullptr},
    {68, "bol", "Bolivia"}, {70, "bih", "Bosnia & Herzegovina"}, {72, "bwa", nullptr},
    {76, "bra", nullptr}, {96, "brn", "Brunei"}, {100, "bgr", nullptr}, {854, "bfa", nullptr},
    {108, "bdi", nullptr}, {132, "cpv", nullptr}, {116, "khm", nullptr}, {120, "cmr", nullptr},
    {124, "can", nullptr}, {140, "caf", "Central African Rep."}, {148, "tcd", nullptr},
    {830, "chi", nullptr}, {152, "chl", nullptr}, {156, "chn", nullptr},
    {344, "hkg", "Hong Kong"}, {446, "mac", "Macao"}, {158, "twn", "Taiwan"},
    {170, "col", nullptr}, {174, "com", nullptr}, {178, "cog", nullptr}, {188, "cri", nullptr},
    {384, "civ", nullptr}, {191, "hrv", nullptr}, {192, "cub", nullptr}, {531, "cuw", nullptr},
    {196, "cyp", nullptr}, {203, "cze", nullptr}, {408, "prk", "North Korea"},
    {180, "cod", "DR Congo"}, {208, "dnk", nullptr}, {262, "dji", nullptr},
    {214, "dom", nullptr}, {218, "ecu", nullptr}, {818, "egy", nullptr}, {222, "slv", nullptr},
    {226, "gnq", nullptr}, {232, "eri", nullptr}, {233, "est", nullptr}, {748, "swz", nullptr},
    {231, "eth", nullptr}, {242, "fji", nullptr}, {246, "fin", nullptr}, {250, "fra", nullptr},
    {254, "guf", nullptr}, {258, "pyf", nullptr}, {266, "gab", nullptr}, {270, "gmb", nullptr},
    {268, "geo", nullptr}, {276, "deu", nullptr}, {288, "gha", nullptr}, {300, "grc", nullptr},
    {308, "grd", nullptr}, {312, "glp", nullptr}, {316, "gum", nullptr}, {320, "gtm", nullptr},
    {324, "gin", nullptr}, {624, "gnb", nullptr}, {328, "guy", nullptr}, {332, "hti", nullptr},
    {340, "hnd", nullptr}, {348, "hun", nullptr}, {352, "isl", nullptr}, {356, "ind", nullptr},
    {360, "idn", nullptr}, {364, "irn", "Iran"}, {368, "irq", nullptr}, {372, "irl", nullptr},
    {376, "isr", nullptr}, {380, "ita", nullptr}, {388, "jam", nullptr}, {392, "jpn", nullptr},
    {400, "jor", nullptr}, {398, "kaz", nullptr}, {404, "ken", nullptr}, {296, "kir", nullptr},
    {414, "kwt", nullptr}, {417, "kgz", nullptr}, {418, "lao", "Laos"}, {428, "lva", nullptr},
    {422, "lbn", nullptr}, {426, "lso", nullptr}, {430, "lbr", nullptr}, {434, "lby", nullptr},
    {440, "ltu", nullptr}, {442, "lux", nullptr}, {450, "mdg", nullptr}, {454, "mwi", nullptr},
    {458, "mys", nullptr}, {462, "mdv", nullptr}, {466, "mli", nullptr}, {470, "mlt", nullptr},
    {474, "mtq", nullptr}, {478, "mrt", nullptr}, {480, "mus", nullptr}, {175, "myt", nullptr},
    {484, "mex", nullptr}, {583, "fsm", "Micronesia (Fed. St.)"}, {496, "mng", nullptr},
    {499, "mne", nullptr}, {504, "mar", nullptr}, {508, "moz", nullptr}, {104, "mmr", nullptr},
    {516, "nam", nullptr}, {524, "npl", nullptr}, {528, "nld", nullptr}, {540, "ncl", nullptr},
    {554, "nzl", nullptr}, {558, "nic", nullptr}, {562, "ner", nullptr}, {566, "nga", nullptr},
    {807, "mkd", nullptr}, {578, "nor", nullptr}, {512, "omn", nullptr}, {586, "pak", nullptr},
    {591, "pan", nullptr}, {598, "png", nullptr}, {600, "pry", nullptr}, {604, "per", nullptr},
    {608, "phl", nullptr}, {616, "pol", nullptr}, {620, "prt", nullptr}, {630, "pri", nullptr},
    {634, "qat", nullptr}, {410, "kor", "South Korea"}, {498, "mda", "Moldova"},
    {638, "reu", nullptr}, {642, "rou", nullptr}, {643, "rus", "Russia"}, {646, "rwa", nullptr},
    {662, "lca", nullptr}, {882, "wsm", nullptr}, {678, "stp", nullptr}, {682, "sau", nullptr},
    {686, "sen", nullptr}, {688, "srb", nullptr}, {690, "syc", nullptr}, {694, "sle", nullptr},
    {702, "sgp", nullptr}, {703, "svk", nullptr}, {705, "svn", nullptr}, {90, "slb", nullptr},
    {706, "som", nullptr}, {710, "zaf", nullptr}, {728, "ssd", nullptr}, {724, "esp", nullptr},
    {144, "lka", nullptr}, {670, "vct", "Saint Vincent"}, {275, "pse", "Palestine"},
    {729, "sdn", nullptr}, {740, "sur", nullptr}, {752, "swe", nullptr}, {756, "che", nullptr},
    {760, "syr", "Syria"}, {762, "tjk", nullptr}, {764, "tha", nullptr}, {626, "tls", nullptr},
    {768, "tgo", nullptr}, {776, "ton", nullptr}, {780, "tto", nullptr}, {788, "tun", nullptr},
    {792, "tur", nullptr}, {795, "tkm", nullptr}, {800, "uga", nullptr}, {804, "ukr", nullptr},
    {784, "are", nullptr}, {826, "gbr", nullptr}, {834, "tza", "Tanzania"},
    {850, "vir", "US Virgin Islands"}, {840, "usa", "United States"}, {858, "ury", nullptr},
    {860, "uzb", nullptr}, {548, "vut", nullptr}, {862, "ven", "Venezuela"},
    {704, "vnm", "Vietnam"}, {732, "esh", nullptr}, {887, "yem", nullptr}, {894, "zmb", nullptr},
    {716, "zwe", nullptr},
};

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Byte order of the names, ignoring case: the order the program's prefix search
// expects.
bool name_before(const ListEntry& a, const ListEntry& b) {
  const std::string la = lower(a.name);
  const std::string lb = lower(b.name);
  return la != lb ? la < lb : a.code < b.code;
}

}  // namespace

int list_index(const std::vector<ListEntry>& list, int code) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].code == code) return static_cast<int>(i);
  return -1;
}

int region_count(const std::vector<ListEntry>& list) {
  int n = 0;
  for (const ListEntry& entry : list)
    if (entry.type != "none") ++n;
  return n;
}

// The UN region of a location: its region code, or for the locations WPP files
// directly under a major area, that area (Northern America) or the region of
// Australia and New Zealand (Oceania's only such members).
static int region_code_of(const WppData& wpp, int code) {
  const double region = wpp.locations.value(code, "reg_code");
  const double area = wpp.locations.value(code, "area_code");
  if (std::isnan(region)) return -1;
  if (region > 0) return static_cast<int>(region);
  if (area == 905) return 905;
  if (area == 909) return 927;
  return -1;
}

int territory_entry(const WppData& wpp, const std::vector<ListEntry>& list, int code) {
  if (!wpp.locations.has(code)) return -1;
  const int region = region_code_of(wpp, code);
  return region < 0 ? -1 : list_index(list, region);
}

bool build_world_list(const WppData& wpp, std::vector<ListEntry>* list, std::string* error) {
  list->clear();
  std::vector<ListEntry> areas;
  std::vector<ListEntry> regions;
  for (const RegionRow& row : kRegions) {
    if (!wpp.pop_m.has(row.code)) {
      *error = "no population data for region " + std::to_string(row.code);
      return false;
    }
    ListEntry entry;
    entry.code = row.code;
    entry.name = row.name;
    entry.un_name = wpp.pop_m.names.at(row.code);
    entry.file = row.file;
    entry.type = row.type;
    if (row.code == 900) list->push_back(entry);
    else if (entry.type == "region") areas.push_back(entry);
    else regions.push_back(entry);
  }
  std::sort(areas.begin(), areas.end(), name_before);
  std::sort(regions.begin(), regions.end(), name_before);
  list->insert(list->end(), areas.begin(), areas.end());
  list->insert(list->end(), regions.begin(), regions.end());

  // Countries: every WPP location of type 4 with population by age.
  std::map<int, const CountryRow*> reviewed;
  for (const CountryRow& row : kCountries) reviewed[row.code] = &row;
  std::vector<ListEntry> countries;
  for (const auto& [code, ages] : wpp.pop_m.rows) {
    if (wpp.locations.value(code, "location_type") != 4) continue;
    const auto found = reviewed.find(code);
    if (found == reviewed.end()) {
      *error = "no reviewed name for location " + std::to_string(code) + " " + wpp.pop_m.names.at(code);
      return false;
    }
    ListEntry entry;
    entry.code = code;
    entry.un_name = wpp.pop_m.names.at(code);
    entry.name = found->second->short_name ? found->second->short_name : entry.un_name;
    entry.file = std::string(found->second->alpha3) + ".dat";
    entry.type = "none";
    countries.push_back(entry);
  }
  if (countries.size() != std::size(kCountries)) {
    *error = "the reviewed table names " + std::to_string(std::size(kCountries)) +
             " countries, WPP has " + std::to_string(countries.size());
    return false;
  }
  std::sort(countries.begin(), countries.end(), name_before);
  list->insert(list->end(), countries.begin(), countries.end());

  for (ListEntry& entry : *list) {
    if (entry.type != "none") continue;
    entry.region = list_index(*list, region_code_of(wpp, entry.code));
    if (entry.region < 0) {
      *error = "no region entry for " + entry.un_name;
      return false;
    }
  }

  // Names and files: lengths, characters the list reader keeps, uniqueness, and
  // no name the beginning of an earlier one (the program would not list it).
  std::set<std::string> files;
  for (size_t i = 0; i < list->size(); ++i) {
    const ListEntry& entry = (*list)[i];
    if (entry.name.size() > LIST_NAME_MAX || entry.file.size() > LIST_FILE_MAX) {
      *error = "name or file too long: " + entry.name + " " + entry.file;
      return false;
    }
    for (char c : entry.name) {
      const auto u = static_cast<unsigned char>(c);
      if (u < 0x20 || u > 0x7E || c == '#' || c == '\t') {
        *error = "name holds a character the list cannot carry: " + entry.name;
        return false;
      }
    }
    if (entry.name.find("  ") != std::string::npos || entry.name.front() == ' ' || entry.name.back() == ' ') {
      *error = "name with a double or outer blank: " + entry.name;
      return false;
    }
    if (entry.file != lower(entry.file) || !files.insert(entry.file).second) {
      *error = "file name not lower case or not unique: " + entry.file;
      return false;
    }
    for (size_t j = 0; j < i; ++j) {
      const std::string earlier = lower((*list)[j].name);
      if (earlier.compare(0, entry.name.size(), lower(entry.name)) == 0) {
        *error = "name " + entry.name + " begins the earlier name " + (*list)[j].name;
        return false;
      }
    }
  }
  return true;
}
