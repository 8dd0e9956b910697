// make_world_data: writes the program's data directory from UN WPP 2019 and Natural
// Earth: the country list (dbase/country.maf) with its name aliases
// (dbase/aliases.maf), one database per entry (dbase/*.dat), the two maps (images/regions.rl8, images/countries.rl8) and
// config.mcf. Deterministic: the same sources give the same bytes.
//
//   make_world_data SOURCE_DIR DATA_DIR [--aliases-only]
//
// --aliases-only writes dbase/aliases.maf alone, leaving the other files as they are.
//
// SOURCE_DIR holds wpp2019/ and world-atlas/; DATA_DIR is the data directory
// (dbase/ and images/ are created when missing).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "country_files.h"
#include "json_reader.h"
#include "pictures/run_length_encoder.h"
#include "pictures/run_length_picture.h"
#include "world_aliases.h"
#include "world_list.h"
#include "world_maps.h"
#include "wpp_tables.h"

namespace {

constexpr int kRegionMapWidth = 240;

bool write_text(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out.flush());
}

std::string list_text(const std::vector<ListEntry>& list) {
  std::string out =
      "# Demovar country list: the world, its major areas and UN regions, then every\n"
      "# country or area of World Population Prospects 2019 with full age data, each\n"
      "# group in name order. Columns: type (region: world or major area; sub: UN region;\n"
      "# none: country), database file, name (ended by two blanks), UN location code,\n"
      "# map colour. Sources: United Nations, DESA, Population Division (2019), World\n"
      "# Population Prospects 2019 (CC BY 3.0 IGO); Natural Earth (public domain).\n"
      "# Written by tools/worlddata (scripts/generate-data.sh); do not edit by hand.\n"
      "database= VK_clist\n";
  const int regions = region_count(list);
  out += "numregions= " + std::to_string(regions) + "\n";
  out += "numcountries= " + std::to_string(static_cast<int>(list.size()) - regions) + "\n";
  out += "format= type filename name code color tamrof\n";
  for (const ListEntry& e : list) {
    char line[160];
    std::snprintf(line, sizeof line, "%-7s %-14s %-21s  %5d  %s\n", e.type.c_str(), e.file.c_str(), e.name.c_str(),
                  e.code, e.color.c_str());
    out += line;
  }
  out += "endformat\n";
  return out;
}

const char* const kConfig =
    "# Demovar configuration. Paths are relative to the data directory, which is the\n"
    "# directory the program runs in; each path ends with its separator.\n"
    "# Written by tools/worlddata (scripts/generate-data.sh).\n"
    "database= VK_config\n"
    "listpath= dbase/\n"
    "listname= country.maf\n"
    "datapath= dbase/\n"
    "infopath= info/\n"
    "imagepath= images/\n"
    "interfacefile= varnock.inf\n"
    "countryfile= countries.rl8\n"
    "regionfile= regions.rl8\n";

// Reads a written picture back and checks it holds exactly the grid.
bool verify_picture(const std::filesystem::path& path, int rows, int cols, const std::vector<uint16_t>& grid) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<uint16_t> buffer(bytes.size() / 2 + 1);
  MXPicture picture{};
  if (!MXinitpicmem(bytes.data(), bytes.size(), &picture, buffer.data())) return false;
  if (picture.rows != rows || picture.cols != cols) return false;
  std::vector<uint16_t> row(static_cast<size_t>(cols));
  for (int y = 0; y < rows; ++y) {
    MXgetpixel(&picture, 0, y, row.data(), cols);
    if (!std::equal(row.begin(), row.end(), grid.begin() + static_cast<long>(y) * cols)) return false;
  }
  return true;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "make_world_data: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool aliases_only = argc == 4 && std::string(argv[3]) == "--aliases-only";
  if (argc != 3 && !aliases_only) {
    std::fprintf(stderr, "usage: make_world_data SOURCE_DIR DATA_DIR [--aliases-only]\n");
    return 2;
  }
  const std::filesystem::path source = argv[1];
  const std::filesystem::path data = argv[2];
  std::string error;

  WppData wpp;
  if (!read_wpp_data((source / "wpp2019").string(), &wpp, &error)) return fail(error);
  if (aliases_only) {
    std::vector<ListEntry> list;
    std::vector<WorldAlias> aliases;
    if (!build_world_list(wpp, &list, &error) || !build_aliases(list, &aliases, &error)) return fail(error);
    if (!write_text(data / "dbase" / "aliases.maf", aliases_text(aliases))) return fail("cannot write aliases.maf");
    std::printf("aliases: %zu\n", aliases.size());
    return 0;
  }
  std::ifstream geo_in(source / "world-atlas" / "countries-50m.geojson", std::ios::binary);
  if (!geo_in) return fail("cannot read world-atlas/countries-50m.geojson");
  std::stringstream geo_text;
  geo_text << geo_in.rdbuf();
  JsonValue geojson;
  if (!parse_json(geo_text.str(), &geojson, &error)) return fail("countries-50m.geojson: " + error);

  std::vector<ListEntry> list;
  if (!build_world_list(wpp, &list, &error)) return fail(error);
  WorldMaps maps;
  if (!make_world_maps(geojson, wpp, list, kRegionMapWidth, &maps, &error)) return fail(error);
  colour_world_list(maps, &list);

  std::error_code ec;
  std::filesystem::create_directories(data / "dbase", ec);
  std::filesystem::create_directories(data / "images", ec);
  if (!write_text(data / "dbase" / "country.maf", list_text(list))) return fail("cannot write country.maf");
  std::vector<WorldAlias> aliases;
  if (!build_aliases(list, &aliases, &error)) return fail(error);
  if (!write_text(data / "dbase" / "aliases.maf", aliases_text(aliases))) return fail("cannot write aliases.maf");
  long long largest_persons = 0, smallest_thousands = -1;
  for (const ListEntry& entry : list) {
    std::string text;
    if (!country_file_text(wpp, entry, &text, &error)) return fail(error);
    if (!write_text(data / "dbase" / entry.file, text)) return fail("cannot write " + entry.file);
  }
  // The unit threshold as it falls for this data: the largest 1990 population
  // counted in persons and the smallest counted in thousands.
  for (const ListEntry& entry : list) {
    double total = 0;
    for (const char* age : {"0-4", "5-9", "10-14", "15-19", "20-24", "25-29", "30-34", "35-39", "40-44", "45-49",
                            "50-54", "55-59", "60-64", "65-69", "70-74", "75-79", "80-84", "85-89", "90-94",
                            "95-99", "100+"})
      total += wpp.pop_m.value(entry.code, age, "1990") + wpp.pop_f.value(entry.code, age, "1990");
    const long long persons = std::llround(total * 1000);
    if (counts_in_thousands(wpp, entry.code)) {
      if (smallest_thousands < 0 || persons < smallest_thousands) smallest_thousands = persons;
    } else {
      largest_persons = std::max(largest_persons, persons);
    }
  }

  const int cw = 2 * maps.width, ch = 2 * maps.height;
  const auto regions_path = data / "images" / "regions.rl8";
  const auto countries_path = data / "images" / "countries.rl8";
  if (!MXwritepicture(regions_path.string(), 8, maps.height, maps.width, maps.regions) ||
      !MXwritepicture(countries_path.string(), 8, ch, cw, maps.countries))
    return fail("cannot write the map pictures");
  if (!verify_picture(regions_path, maps.height, maps.width, maps.regions) ||
      !verify_picture(countries_path, ch, cw, maps.countries))
    return fail("a written map does not read back");
  if (!write_text(data / "config.mcf", kConfig)) return fail("cannot write config.mcf");

  const int regions = region_count(list);
  std::printf("country list: %d regions, %d countries\n", regions, static_cast<int>(list.size()) - regions);
  std::printf("region map %dx%d, country map %dx%d\n", maps.width, maps.height, cw, ch);
  std::printf("population unit: persons up to %lld (1990), thousands from %lld\n", largest_persons,
              smallest_thousands);
  std::printf("dots (%zu):", maps.dots.size());
  for (const std::string& name : maps.dots) std::printf(" %s;", name.c_str());
  std::printf("\n");
  return 0;
}
