// Fuzzes the tagged database reader through the configuration, country-list and
// alias readers: arbitrary bytes as config.mcf, as the country list and as the
// name aliases of a small fixed list, with and without the identification line,
// and as the desktop's user-dirs.dirs. Fatal entries become exceptions so that a
// rejected file ends one run, not the fuzzer; globals are reset between runs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/clock.h"
#include "base/log.h"
#include "base/tagged_reader.h"
#include "startup/config.h"
#include "startup/country_list.h"
#include "startup/filenames.h"
#include "startup/places.h"

namespace {

struct FatalExit {};

void throw_fatal(int, const char*) { throw FatalExit{}; }

int known_colors(const char* name) { return strcmp(name, "red") == 0 ? 3 : -1; }

void read_as(const uint8_t* data, size_t size, MXReaderFunc reader, const char* tag) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (!file) return;
  try {
    MXgenreader(file, reader, tag, nullptr);
  } catch (const FatalExit&) {
  }
  fclose(file);
  if (MXDbfp != nullptr) abort();  // the reader must put the previous file back
}

// What every list that got through must satisfy.
void check_list() {
  const int read = Realnumregions + Realnumcountries;
  if (!Country_list) {
    if (read != 0) abort();
    return;
  }
  if (Realnumregions > Numregions || Realnumcountries > Numcountries) abort();
  for (int i = 0; i < read; i++) {
    if (strnlen(Country_list[i].name, sizeof Country_list[i].name) >= sizeof Country_list[i].name ||
        strnlen(Country_list[i].file, sizeof Country_list[i].file) >= sizeof Country_list[i].file) {
      abort();
    }
    if (Country_list[i].display != (find(Country_list, Country_list[i].name, 0, i) == -1)) abort();
  }
  if (read > 0 && Country_list[read - 1].name[0] != '\0' &&
      find(Country_list, Country_list[read - 1].name, 0, read) < 0) abort();
}

// A small list for the aliases to point into.
const char kList[] =
    "database= VK_clist\nnumregions= 1\nnumcountries= 2\nformat= type filename name code color tamrof\n"
    "region w.dat  World  900  red\nnone k.dat  North Korea  408  red\nnone s.dat  South Korea  410  red\n"
    "endformat\n";

void check_aliases(const uint8_t* data, size_t size, const char* tag) {
  read_as(reinterpret_cast<const uint8_t*>(kList), sizeof kList - 1, list_reader, "VK_clist");
  read_as(data, size, alias_reader, tag);
  for (const CountryAlias& a : Country_aliases)
    if (a.entry < 0 || a.entry >= Realnumregions + Realnumcountries || strnlen(a.name, sizeof a.name) >= sizeof a.name)
      abort();
  int other = -1;
  for (const CountryAlias& a : Country_aliases)
    if (find_name(a.name, &other) < 0) abort();  // every alias read finds its way
  clear_country_list();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool once = [] {
    MXsetfatalhandler(throw_fatal);
    MXPuse_virtual_clock(true);
    ListColorLookup = known_colors;
    return true;
  }();
  (void)once;
  if (size == 0) return 0;

  read_as(data, size, config_reader, "VK_config");
  read_as(data, size, config_reader, nullptr);
  // The desktop's user-dirs.dirs, read by the installed program; a folder it gives
  // is absolute.
  const std::string dir = user_dirs_entry(std::string(reinterpret_cast<const char*>(data), size), "PICTURES", "/home/u");
  if (!dir.empty() && dir[0] != '/') std::abort();
  reset_startup_settings();
  read_as(data, size, start_setting_reader, "VK_start");

  read_as(data, size, list_reader, "VK_clist");
  check_list();
  clear_country_list();
  read_as(data, size, list_reader, nullptr);
  check_list();
  clear_country_list();

  check_aliases(data, size, "VK_alias");
  check_aliases(data, size, nullptr);
  return 0;
}
