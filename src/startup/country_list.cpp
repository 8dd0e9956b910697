// Reading the country list: the declared counts, then a format block whose rows
// fill Country_list in file order; and the prefix search over the list.
#include "startup/country_list.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "base/log.h"
#include "base/text.h"
#include "startup/filenames.h"

Clist* Country_list = nullptr;
int Numregions = -1;
int Numcountries = 0;
int Realnumregions = 0;
int Realnumcountries = 0;
int (*ListColorLookup)(const char* name) = nullptr;
std::vector<CountryAlias> Country_aliases;

namespace {

constexpr int NAME_MAX_LEN = 21;
constexpr int FILE_MAX_LEN = 13;
constexpr int COLOR_NAME_MAX_LEN = 13;
constexpr int ROW_WORD_MAX = 80;

// Owns the entries Country_list points at.
std::vector<Clist> list_storage;
// Rows read so far into the current allocation.
int regions_read = 0;
int countries_read = 0;

// Reads a declared count and refuses one that could not be an honest list size.
int read_count(const char* key) {
  long value = MXrdinteger();
  if (value < 0 || value > CLIST_MAX_ENTRIES) {
    MXelog(-1, "Country list: %s %ld is not a count from 0 to %ld\n", key, value,
           CLIST_MAX_ENTRIES);
    return 0;
  }
  return static_cast<int>(value);
}

void allocate_list() {
  size_t size = static_cast<size_t>(Numregions) + static_cast<size_t>(Numcountries);
  try {
    list_storage.assign(size, Clist{});
  } catch (const std::bad_alloc&) {
    MXelog(-1, "Out of memory for Country_list\n");
    return;
  }
  for (Clist& entry : list_storage) {
    entry.file[0] = '\0';
    entry.name[0] = '\0';
    entry.code = -1;
    entry.color = 255;
    entry.display = 0;
  }
  Country_list = list_storage.data();
  regions_read = 0;
  countries_read = 0;
  // Counts of an earlier block would name entries that are gone (or beyond a
  // smaller list).
  Realnumregions = 0;
  Realnumcountries = 0;
}

bool is_list_format(int count, const MXFormatKeyword* keywords) {
  static const char* const wanted[] = {"type", "filename", "name", "code", "color"};
  if (count != 5) return false;
  for (int i = 0; i < 5; i++) {
    if (strcmp(keywords[i], wanted[i]) != 0) return false;
  }
  return true;
}

unsigned char list_color(const char* name) {
  int index = ListColorLookup ? ListColorLookup(name) : -1;
  return index >= 0 && index <= 255 ? static_cast<unsigned char>(index) : 255;
}

// Reads the rows of a format block up to "endformat". Returns 1 at "endformat",
// 0 on a malformed row.
int read_rows() {
  char word[ROW_WORD_MAX + 1];
  if (!MXrdword(word, ROW_WORD_MAX)) return 0;
  while (strcmp(word, "endformat") != 0) {
    bool region;
    if (strcmp(word, "region") == 0 || strcmp(word, "sub") == 0) {
      region = true;
    } else if (strcmp(word, "none") == 0) {
      region = false;
    } else {
      return 0;
    }
    if (region) {
      if (regions_read >= Numregions) {
        MXelog(0, "list_reader: Too many countries!\n");
        return 0;
      }
      regions_read++;
    } else {
      if (countries_read >= Numcountries) {
        MXelog(-1, "list_reader: Too many countries!\n");
        return 0;
      }
      countries_read++;
    }
    int index = regions_read + countries_read - 1;
    Clist& entry = Country_list[index];
    char color[COLOR_NAME_MAX_LEN + 1];
    if (!MXrdword(entry.file, FILE_MAX_LEN)) return 0;
    if (!MXrdphrase(entry.name, NAME_MAX_LEN)) return 0;
    entry.code = static_cast<int>(MXrdinteger());
    if (!MXrdword(color, COLOR_NAME_MAX_LEN)) return 0;
    entry.color = list_color(color);
    // A repeated name (a region and a country of one name) is listed once.
    entry.display = find(Country_list, entry.name, 0, index) == -1 ? 1 : 0;
    if (!MXrdword(word, ROW_WORD_MAX)) return 0;
  }
  Realnumregions = regions_read;
  Realnumcountries = countries_read;
  return 1;
}

}  // namespace

int list_reader(const char* key, ReaderStatusType status, void*) {
  if (status == READ_INIT) {
    clear_country_list();  // also makes Numregions -1: not read yet
    return 1;
  }
  if (status != READ_PROCESS) return 1;

  if (strcmp(key, "numregions=") == 0) {
    // The entries are laid out by this count: changing it afterwards would let
    // region rows run past the allocation.
    if (Country_list) {
      MXelog(-1, "Country list: numregions= after numcountries=\n");
      return 0;
    }
    Numregions = read_count(key);
  } else if (strcmp(key, "numcountries=") == 0) {
    if (Numregions == -1) {
      MXelog(-1, "Processing Numcountries but don't know Numregions\n");
      return 0;
    }
    Numcountries = read_count(key);
    allocate_list();
  } else if (strcmp(key, "format=") == 0) {
    if (!Country_list) {
      MXelog(-1, "Country list: format block before numregions= and numcountries=\n");
      return 0;
    }
    int count = 0;
    MXFormatKeyword keywords[MX_FORMAT_MAX_KEYWORDS];
    if (!MXrdformat(&count, keywords)) return 0;
    // Another layout is not ours: its rows are passed over as plain words.
    if (!is_list_format(count, keywords)) return 1;
    return read_rows();
  }
  return 1;
}

void get_country_names() {
  // Closed on every way out, also when a fatal entry is turned into an exception.
  std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(ListFile.c_str(), "r"), fclose);
  if (!file) {
    MXelog(-1, "Unable to access country list |%s|.\n%s", ListFile.c_str(), ConfigNote.c_str());
    return;
  }
  const MXReadingFile reading(ListFile.c_str());
  int ok = MXgenreader(file.get(), list_reader, "VK_clist", nullptr);
  file.reset();
  if (!ok) MXelog(-1, "Error processing country database list file |%s|\n", ListFile.c_str());
}

int find(const Clist* list, const char* text, int first, int end) {
  size_t n = strlen(text);
  if (n == 0 || first >= end) return -1;
  for (int i = first < 0 ? 0 : first; i < end; i++) {
    const char* name = list[i].name;
    size_t k = 0;
    while (k < n && name[k] != '\0' &&
           MXfoldchar(static_cast<unsigned char>(name[k])) == MXfoldchar(static_cast<unsigned char>(text[k]))) {
      k++;
    }
    if (k == n) return i;
  }
  return -1;
}

namespace {

bool is_alias_format(int count, const MXFormatKeyword* keywords) {
  return count == 2 && strcmp(keywords[0], "alias") == 0 && strcmp(keywords[1], "code") == 0;
}

// Whether a text equals a name, or begins it, with accents and case ignored.
bool folded_match(const char* name, const char* text, bool whole) {
  for (; *text; ++name, ++text)
    if (*name == '\0' || MXfoldchar(static_cast<unsigned char>(*name)) != MXfoldchar(static_cast<unsigned char>(*text)))
      return false;
  return !whole || *name == '\0';
}

}  // namespace

int alias_reader(const char* key, ReaderStatusType status, void*) {
  if (status == READ_INIT) Country_aliases.clear();
  if (status != READ_PROCESS || strcmp(key, "format=") != 0) return 1;
  int count = 0;
  MXFormatKeyword keywords[MX_FORMAT_MAX_KEYWORDS];
  if (!MXrdformat(&count, keywords)) return 0;
  if (!is_alias_format(count, keywords)) return 1;
  for (;;) {
    CountryAlias alias{};
    if (!MXrdphrase(alias.name, sizeof alias.name - 1)) return 0;
    if (strcmp(alias.name, "endformat") == 0) return 1;
    const long code = MXrdinteger();
    alias.entry = -1;
    for (int i = 0; i < Realnumregions + Realnumcountries; ++i)
      if (Country_list[i].code == code) alias.entry = i;
    if (alias.entry < 0 || alias.name[0] == '\0')
      MXelog(0, "Aliases: |%s| names no entry of the country list (code %ld)\n", alias.name, code);
    else
      Country_aliases.push_back(alias);
  }
}

void get_country_aliases() {
  // Beside the country list, wherever that was found.
  const std::string path = ListFile.substr(0, ListFile.find_last_of('/') + 1) + "aliases.maf";
  std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path.c_str(), "r"), fclose);
  if (!file) {  // names are then found by their beginning only
    Country_aliases.clear();
    return;
  }
  const int ok = MXgenreader(file.get(), alias_reader, "VK_alias", nullptr);
  file.reset();
  if (!ok) MXelog(-1, "Error processing the name aliases |%s|\n", path.c_str());
}

int find_name(const char* text, int* other) {
  *other = -1;
  if (!text[0]) return -1;
  int found = -1;
  for (const CountryAlias& a : Country_aliases) {
    if (!folded_match(a.name, text, true)) continue;
    if (found < 0)
      found = a.entry;
    else if (a.entry != found && *other < 0)
      *other = a.entry;
  }
  if (found >= 0) return found;
  found = find(Country_list, text, 0, Realnumregions + Realnumcountries);
  if (found >= 0) return found;
  for (const CountryAlias& a : Country_aliases)
    if (folded_match(a.name, text, false)) return a.entry;
  return -1;
}

void clear_country_list() {
  Country_aliases.clear();
  list_storage.clear();
  list_storage.shrink_to_fit();
  Country_list = nullptr;
  Numregions = -1;
  Numcountries = 0;
  Realnumregions = 0;
  Realnumcountries = 0;
  regions_read = 0;
  countries_read = 0;
}
