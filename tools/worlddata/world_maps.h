// The two map pictures: the country map (each pixel the list index of the country
// or, for a territory without data of its own, of its UN region) and the region
// map at half its linear resolution (each pixel the list index of the UN region),
// 255 for sea and background. Equal Earth projection, 84 N to 56 S (Antarctica
// left out), drawn from Natural Earth's admin-0 polygons with our own scanline
// rasteriser; and the colours of the list entries, neighbours differing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "json_reader.h"
#include "world_list.h"
#include "wpp_tables.h"

constexpr uint16_t MAP_BACKGROUND = 255;

struct WorldMaps {
  int width = 0;   // region map; the country map is 2 width x 2 height
  int height = 0;
  std::vector<uint16_t> regions;    // width x height
  std::vector<uint16_t> countries;  // 2 width x 2 height
  std::vector<std::string> dots;    // entries placed as a dot, for the report
};

// Equal Earth projection of a point in degrees; x and y in the projection's units
// (the equator spans -2.7066 .. 2.7066, north up).
void equal_earth(double lon, double lat, double* x, double* y);

// Draws both maps of the given region-map width from the Natural Earth GeoJSON.
// False with a message when a list country has no polygon at all or a region with
// countries ends up without pixels.
bool make_world_maps(const JsonValue& geojson, const WppData& wpp, const std::vector<ListEntry>& list,
                     int width, WorldMaps* maps, std::string* error);

// The palette names entries may use, the sea's colour excluded.
const std::vector<std::string>& map_colour_names();

// Gives every list entry a colour: regions by the region map, countries by the
// country map (where territories show their region's colour), so that entries
// that touch on a map differ.
void colour_world_list(const WorldMaps& maps, std::vector<ListEntry>* list);

// Entries touching on a picture (8-neighbourhood), as index pairs a < b.
std::vector<std::pair<int, int>> touching_entries(const std::vector<uint16_t>& picture, int width, int height);
