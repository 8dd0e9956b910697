// Fuzzes the tagged database reader through the configuration and country-list
// readers: arbitrary bytes as config.mcf and as the country list, with and
// without the identification line. Fatal entries become exceptions so that a
// rejected file ends one run, not the fuzzer; globals are reset between runs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/clock.h"
#include "base/log.h"
#include "base/tagged_reader.h"
#include "startup/config.h"
#include "startup/country_list.h"
#include "startup/filenames.h"

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
  reset_startup_settings();
  read_as(data, size, start_setting_reader, "VK_start");

  read_as(data, size, list_reader, "VK_clist");
  check_list();
  clear_country_list();
  read_as(data, size, list_reader, nullptr);
  check_list();
  clear_country_list();
  return 0;
}
