// Drawing the maps: projection, assignment of Natural Earth features to list
// entries (with the areas that Natural Earth draws inside another country carved
// out), scanline rasterisation at 4 x 4 samples a pixel, majority per pixel, dots
// for entries too small to win a pixel, the region map from the country map, and
// the colouring.
#include "world_maps.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <set>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNorth = 84.0;   // northernmost land: Greenland, Ellesmere
constexpr double kSouth = -56.0;  // Cape Horn; Antarctica and the far southern islets left out
constexpr int kSamples = 4;       // samples per pixel side
constexpr uint16_t kNone = 0xFFFF;

struct Point {
  double x, y;
};
using Ring = std::vector<Point>;
struct Polygon {
  int entry;
  std::vector<Ring> rings;  // outer ring, then holes (even-odd fill)
};

double x_max() {
  double x, y;
  equal_earth(180, 0, &x, &y);
  return x;
}

// Natural Earth features that WPP counts in another location, or whose location
// is not a list entry by its own number.
int feature_code(const JsonValue& feature) {
  const JsonValue* id = feature.get("id");
  if (id && id->kind == JsonValue::STRING) {
    int code = -1;
    const std::string& t = id->text;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), code);
    if (r.ec != std::errc()) return -1;
    switch (code) {
      case 831: case 832: return 830;  // Guernsey, Jersey: the Channel Islands
      case 248: return 246;            // Aland: Finland
      case 574: return 36;             // Norfolk Island: Australia
      default: return code;
    }
  }
  const JsonValue* properties = feature.get("properties");
  const JsonValue* name = properties ? properties->get("name") : nullptr;
  if (!name || name->kind != JsonValue::STRING) return -1;
  static const std::map<std::string, int> kUnnumbered = {
      {"Somaliland", 706}, {"Kosovo", 688}, {"N. Cyprus", 196},
      {"Indian Ocean Ter.", 36}, {"Siachen Glacier", 356}};
  const auto found = kUnnumbered.find(name->text);
  return found == kUnnumbered.end() ? -1 : found->second;
}

// Parts of a feature that WPP counts as locations of their own: France's overseas
// departments, the Caribbean Netherlands, Tokelau. By the part's mean position.
int carved_code(int code, double lon, double lat) {
  struct Box {
    int feature, code;
    double west, east, south, north;
  };
  static const Box kBoxes[] = {
      {250, 254, -55.0, -51.0, 1.5, 6.5},     // French Guiana
      {250, 312, -62.0, -60.9, 15.7, 16.6},   // Guadeloupe
      {250, 474, -61.3, -60.7, 14.3, 15.0},   // Martinique
      {250, 175, 44.9, 45.4, -13.1, -12.5},   // Mayotte
      {250, 638, 55.0, 56.0, -21.5, -20.8},   // Reunion
      {528, 535, -70.0, -60.0, 10.0, 20.0},   // Bonaire, Sint Eustatius and Saba
      {554, 772, -175.0, -170.0, -10.0, -8.0},  // Tokelau
  };
  for (const Box& b : kBoxes)
    if (b.feature == code && lon >= b.west && lon <= b.east && lat >= b.south && lat <= b.north) return b.code;
  return code;
}

// The list entry that a location shows as: its own entry when it is a country of
// the list, else its UN region's entry (a territory), else none.
int entry_of(const WppData& wpp, const std::vector<ListEntry>& list, int code) {
  const int own = list_index(list, code);
  if (own >= 0 && list[static_cast<size_t>(own)].type == "none") return own;
  return territory_entry(wpp, list, code);
}

double ring_area(const Ring& ring) {
  double a = 0;
  for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
    a += ring[j].x * ring[i].y - ring[i].x * ring[j].y;
  return a / 2;
}

Point ring_centre(const Ring& ring) {
  const double a = ring_area(ring);
  double cx = 0, cy = 0;
  if (std::fabs(a) > 1e-9) {
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
      const double f = ring[j].x * ring[i].y - ring[i].x * ring[j].y;
      cx += (ring[j].x + ring[i].x) * f;
      cy += (ring[j].y + ring[i].y) * f;
    }
    return {cx / (6 * a), cy / (6 * a)};
  }
  for (const Point& p : ring) {
    cx += p.x;
    cy += p.y;
  }
  return {cx / static_cast<double>(ring.size()), cy / static_cast<double>(ring.size())};
}

// Fills the polygon (even-odd over all rings) into the sample grid.
void fill_polygon(const Polygon& polygon, int grid_w, int grid_h, std::vector<uint16_t>* grid) {
  double top = 1e300, bottom = -1e300;
  for (const Ring& ring : polygon.rings)
    for (const Point& p : ring) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
  const int first = std::max(0, static_cast<int>(std::ceil(top - 0.5)));
  const int last = std::min(grid_h - 1, static_cast<int>(std::ceil(bottom - 0.5)) - 1);
  if (first > last) return;
  std::vector<std::vector<double>> crossings(static_cast<size_t>(last - first + 1));
  for (const Ring& ring : polygon.rings) {
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
      const Point a = ring[j];
      const Point b = ring[i];
      if (a.y == b.y) continue;
      const double low = std::min(a.y, b.y);
      const double high = std::max(a.y, b.y);
      const int r0 = std::max(first, static_cast<int>(std::ceil(low - 0.5)));
      const int r1 = std::min(last, static_cast<int>(std::ceil(high - 0.5)) - 1);
      for (int r = r0; r <= r1; ++r) {
        const double yc = r + 0.5;
        crossings[static_cast<size_t>(r - first)].push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
      }
    }
  }
  for (int r = first; r <= last; ++r) {
    std::vector<double>& xs = crossings[static_cast<size_t>(r - first)];
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2) {
      const int c0 = std::max(0, static_cast<int>(std::ceil(xs[k] - 0.5)));
      const int c1 = std::min(grid_w, static_cast<int>(std::ceil(xs[k + 1] - 0.5)));
      for (int c = c0; c < c1; ++c)
        (*grid)[static_cast<size_t>(r) * static_cast<size_t>(grid_w) + static_cast<size_t>(c)] =
            static_cast<uint16_t>(polygon.entry);
    }
  }
}

// Reads a ring's positions, longitudes made continuous: Natural Earth closes a
// few rings across the antimeridian (a step from 179.9 to -180), which would
// otherwise become an edge across the whole map.
bool read_positions(const JsonValue& coordinates, std::vector<Point>* positions) {
  if (coordinates.kind != JsonValue::ARRAY) return false;
  for (const JsonValue& position : coordinates.items) {
    if (position.kind != JsonValue::ARRAY || position.items.size() < 2 ||
        position.items[0].kind != JsonValue::NUMBER || position.items[1].kind != JsonValue::NUMBER)
      return false;
    double lon = position.items[0].number;
    if (!positions->empty()) {
      const double previous = positions->back().x;
      while (lon - previous > 180) lon -= 360;
      while (previous - lon > 180) lon += 360;
    }
    positions->push_back({lon, std::clamp(position.items[1].number, -90.0, 90.0)});
  }
  return positions->size() >= 3;
}

Ring project_ring(const std::vector<Point>& positions, double shift, double scale, double xmax, double ytop) {
  Ring ring;
  for (const Point& p : positions) {
    // What lies beyond the antimeridian after the shift collapses onto it (no
    // area); the other copy draws it.
    double x, y;
    equal_earth(std::clamp(p.x + shift, -180.0, 180.0), p.y, &x, &y);
    ring.push_back({(x + xmax) * scale, (ytop - y) * scale});
  }
  return ring;
}

// Mean longitude and latitude of a polygon's outer ring.
void mean_position(const JsonValue& outer, double* lon, double* lat) {
  double sx = 0, sy = 0;
  size_t n = 0;
  for (const JsonValue& p : outer.items) {
    if (p.kind != JsonValue::ARRAY || p.items.size() < 2) continue;
    sx += p.items[0].number;
    sy += p.items[1].number;
    ++n;
  }
  *lon = n ? sx / static_cast<double>(n) : 0;
  *lat = n ? sy / static_cast<double>(n) : 0;
}

}  // namespace

void equal_earth(double lon, double lat, double* x, double* y) {
  constexpr double A1 = 1.340264, A2 = -0.081106, A3 = 0.000893, A4 = 0.003796;
  const double M = std::sqrt(3.0) / 2;
  const double lambda = lon * kPi / 180;
  const double phi = lat * kPi / 180;
  const double theta = std::asin(M * std::sin(phi));
  const double t2 = theta * theta;
  const double t6 = t2 * t2 * t2;
  *y = theta * (A1 + A2 * t2 + t6 * (A3 + A4 * t2));
  *x = 2 * std::sqrt(3.0) * lambda * std::cos(theta) / (3 * (A1 + 3 * A2 * t2 + t6 * (7 * A3 + 9 * A4 * t2)));
}

bool make_world_maps(const JsonValue& geojson, const WppData& wpp, const std::vector<ListEntry>& list, int width,
                     WorldMaps* maps, std::string* error) {
  const double xmax = x_max();
  double ignore, ytop, ybottom;
  equal_earth(0, kNorth, &ignore, &ytop);
  equal_earth(0, kSouth, &ignore, &ybottom);
  const int cw = 2 * width;                 // country map
  const double pixels_per_unit = cw / (2 * xmax);
  const int height = static_cast<int>(std::ceil((ytop - ybottom) * pixels_per_unit / 2));
  const int ch = 2 * height;
  const int gw = cw * kSamples;
  const int gh = ch * kSamples;
  const double scale = pixels_per_unit * kSamples;

  // Polygons by entry, in file order.
  const JsonValue* features = geojson.get("features");
  if (!features || features->kind != JsonValue::ARRAY) {
    *error = "the GeoJSON has no features";
    return false;
  }
  std::vector<Polygon> polygons;
  for (const JsonValue& feature : features->items) {
    const int code = feature_code(feature);
    if (code < 0) continue;
    const JsonValue* geometry = feature.get("geometry");
    const JsonValue* type = geometry ? geometry->get("type") : nullptr;
    const JsonValue* coordinates = geometry ? geometry->get("coordinates") : nullptr;
    if (!type || !coordinates || coordinates->kind != JsonValue::ARRAY) continue;
    std::vector<const JsonValue*> parts;
    if (type->text == "Polygon") parts.push_back(coordinates);
    else if (type->text == "MultiPolygon")
      for (const JsonValue& part : coordinates->items) parts.push_back(&part);
    for (const JsonValue* part : parts) {
      if (part->kind != JsonValue::ARRAY || part->items.empty()) continue;
      double lon, lat;
      mean_position(part->items[0], &lon, &lat);
      const int entry = entry_of(wpp, list, carved_code(code, lon, lat));
      if (entry < 0) continue;
      std::vector<std::vector<Point>> rings;
      double west = 1e9, east = -1e9;
      for (const JsonValue& ring_json : part->items) {
        std::vector<Point> positions;
        if (!read_positions(ring_json, &positions)) continue;
        for (const Point& p : positions) {
          west = std::min(west, p.x);
          east = std::max(east, p.x);
        }
        rings.push_back(std::move(positions));
      }
      if (rings.empty()) continue;
      // A part that reaches past the antimeridian is drawn once more a turn away.
      for (double shift : {0.0, -360.0, 360.0}) {
        if (east + shift < -180 || west + shift > 180) continue;
        Polygon polygon{entry, {}};
        for (const auto& positions : rings) polygon.rings.push_back(project_ring(positions, shift, scale, xmax, ytop));
        polygons.push_back(std::move(polygon));
      }
    }
  }

  std::vector<uint16_t> grid(static_cast<size_t>(gw) * static_cast<size_t>(gh), kNone);
  for (const Polygon& polygon : polygons) fill_polygon(polygon, gw, gh, &grid);

  // Anchor of each entry for a dot: the centre of its largest polygon.
  std::vector<Point> anchor(list.size(), Point{-1, -1});
  std::vector<double> anchor_area(list.size(), -1);
  for (const Polygon& polygon : polygons) {
    const double area = std::fabs(ring_area(polygon.rings[0]));
    if (area > anchor_area[static_cast<size_t>(polygon.entry)]) {
      anchor_area[static_cast<size_t>(polygon.entry)] = area;
      anchor[static_cast<size_t>(polygon.entry)] = ring_centre(polygon.rings[0]);
    }
  }

  // Majority per pixel: land when at least half the samples are land.
  std::vector<uint16_t> country(static_cast<size_t>(cw) * static_cast<size_t>(ch), MAP_BACKGROUND);
  std::vector<int> best_samples(list.size(), 0);
  std::vector<size_t> best_pixel(list.size(), 0);
  for (int py = 0; py < ch; ++py) {
    for (int px = 0; px < cw; ++px) {
      std::map<uint16_t, int> votes;
      int land = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const uint16_t v = grid[static_cast<size_t>(py * kSamples + sy) * static_cast<size_t>(gw) +
                                  static_cast<size_t>(px * kSamples + sx)];
          if (v == kNone) continue;
          ++votes[v];
          ++land;
        }
      const size_t at = static_cast<size_t>(py) * static_cast<size_t>(cw) + static_cast<size_t>(px);
      uint16_t winner = kNone;
      int most = 0;
      for (const auto& [v, n] : votes) {
        if (n > most) {
          most = n;
          winner = v;
        }
        if (n > best_samples[v]) {
          best_samples[v] = n;
          best_pixel[v] = at;
        }
      }
      if (2 * land >= kSamples * kSamples) country[at] = winner;
    }
  }

  // Dots: every country of the list gets a pixel, placed where it has the most
  // samples or at its largest polygon's centre, moved to the nearest pixel that no
  // other entry needs (sea, or land of an entry with pixels to spare).
  std::vector<int> count(list.size(), 0);
  for (uint16_t v : country)
    if (v != MAP_BACKGROUND) ++count[v];
  std::vector<bool> protect(country.size(), false);
  maps->dots.clear();
  for (size_t e = 0; e < list.size(); ++e) {
    if (list[e].type != "none" || count[e] > 0) continue;
    int cx, cy;
    if (best_samples[e] > 0) {
      cx = static_cast<int>(best_pixel[e] % static_cast<size_t>(cw));
      cy = static_cast<int>(best_pixel[e] / static_cast<size_t>(cw));
    } else if (anchor_area[e] >= 0) {
      cx = std::clamp(static_cast<int>(anchor[e].x / kSamples), 0, cw - 1);
      cy = std::clamp(static_cast<int>(anchor[e].y / kSamples), 0, ch - 1);
    } else {
      *error = "no polygon for " + list[e].name;
      return false;
    }
    bool placed = false;
    for (int radius = 0; radius <= 12 && !placed; ++radius) {
      for (int dy = -radius; dy <= radius && !placed; ++dy) {
        for (int dx = -radius; dx <= radius && !placed; ++dx) {
          if (std::max(std::abs(dx), std::abs(dy)) != radius) continue;
          const int x = cx + dx;
          const int y = cy + dy;
          if (x < 0 || y < 0 || x >= cw || y >= ch) continue;
          const size_t at = static_cast<size_t>(y) * static_cast<size_t>(cw) + static_cast<size_t>(x);
          const uint16_t v = country[at];
          if (protect[at] || (v != MAP_BACKGROUND && count[v] < 2)) continue;
          if (v != MAP_BACKGROUND) --count[v];
          country[at] = static_cast<uint16_t>(e);
          ++count[e];
          protect[at] = true;
          placed = true;
        }
      }
    }
    if (!placed) {
      *error = "no room for a dot of " + list[e].name;
      return false;
    }
    maps->dots.push_back(list[e].name);
  }

  // Region map: each pixel takes the region most of its 2 x 2 country pixels
  // belong to, when at least two are land or one is a dot.
  auto region_of = [&](uint16_t v) -> int {
    if (v == MAP_BACKGROUND) return -1;
    const ListEntry& entry = list[v];
    return entry.type == "none" ? entry.region : static_cast<int>(v);
  };
  std::vector<uint16_t> region(static_cast<size_t>(width) * static_cast<size_t>(height), MAP_BACKGROUND);
  std::vector<std::vector<size_t>> lone_pixels(list.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::map<int, int> votes;
      int land = 0;
      int dot_region = -1;
      for (int k = 0; k < 4; ++k) {
        const size_t at = static_cast<size_t>(2 * y + k / 2) * static_cast<size_t>(cw) + static_cast<size_t>(2 * x + k % 2);
        const int r = region_of(country[at]);
        if (r < 0) continue;
        ++votes[r];
        ++land;
        if (protect[at]) dot_region = r;
      }
      const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      int winner = -1, most = 0;
      for (const auto& [r, n] : votes)
        if (n > most) {
          most = n;
          winner = r;
        }
      if (land >= 2) region[at] = static_cast<uint16_t>(winner);
      else if (dot_region >= 0) region[at] = static_cast<uint16_t>(dot_region);
      else if (land == 1) lone_pixels[static_cast<size_t>(winner)].push_back(at);
    }
  }
  // A region whose land is all thin slivers keeps those single pixels.
  std::vector<int> region_count_pixels(list.size(), 0);
  for (uint16_t v : region)
    if (v != MAP_BACKGROUND) ++region_count_pixels[v];
  for (size_t r = 0; r < list.size(); ++r)
    if (region_count_pixels[r] == 0)
      for (size_t at : lone_pixels[r]) region[at] = static_cast<uint16_t>(r);
  for (const ListEntry& entry : list) {
    if (entry.type != "none") continue;
    bool found = false;
    for (uint16_t v : region)
      if (v == entry.region) {
        found = true;
        break;
      }
    if (!found) {
      *error = "region " + list[static_cast<size_t>(entry.region)].name + " has no pixel on the region map";
      return false;
    }
  }

  maps->width = width;
  maps->height = height;
  maps->countries = std::move(country);
  maps->regions = std::move(region);
  return true;
}

const std::vector<std::string>& map_colour_names() {
  // Light colours first: they read best against the black sea.
  static const std::vector<std::string> kNames = {"peach",    "sandy", "green", "yellow", "lpurple",
                                                  "lcyan",    "lblue", "red",   "magenta", "bluegray",
                                                  "lgray",    "mgray", "blue",  "white",  "dgray"};
  return kNames;
}

std::vector<std::pair<int, int>> touching_entries(const std::vector<uint16_t>& picture, int width, int height) {
  std::set<std::pair<int, int>> pairs;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int a = picture[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
      if (a == MAP_BACKGROUND) continue;
      const int offsets[4][2] = {{1, 0}, {0, 1}, {1, 1}, {-1, 1}};
      for (const auto& o : offsets) {
        const int nx = x + o[0], ny = y + o[1];
        if (nx < 0 || nx >= width || ny >= height) continue;
        const int b = picture[static_cast<size_t>(ny) * static_cast<size_t>(width) + static_cast<size_t>(nx)];
        if (b == MAP_BACKGROUND || b == a) continue;
        pairs.insert({std::min(a, b), std::max(a, b)});
      }
    }
  return {pairs.begin(), pairs.end()};
}

namespace {

// DSatur colouring of the nodes in `nodes` (entries not yet coloured), with the
// colours of already coloured neighbours fixed. Among the colours no neighbour
// uses, the first eight are preferred and the least used of them taken.
void colour_graph(const std::vector<std::pair<int, int>>& edges, const std::vector<int>& nodes,
                  std::vector<int>* colour, std::vector<int>* used) {
  const size_t n = colour->size();
  std::vector<std::vector<int>> neighbours(n);
  for (const auto& [a, b] : edges) {
    neighbours[static_cast<size_t>(a)].push_back(b);
    neighbours[static_cast<size_t>(b)].push_back(a);
  }
  const int palette = static_cast<int>(map_colour_names().size());
  std::vector<int> pending = nodes;
  while (!pending.empty()) {
    size_t pick = 0;
    int best_saturation = -1, best_degree = -1;
    for (size_t i = 0; i < pending.size(); ++i) {
      std::set<int> seen;
      for (int m : neighbours[static_cast<size_t>(pending[i])])
        if ((*colour)[static_cast<size_t>(m)] >= 0) seen.insert((*colour)[static_cast<size_t>(m)]);
      const int saturation = static_cast<int>(seen.size());
      const int degree = static_cast<int>(neighbours[static_cast<size_t>(pending[i])].size());
      if (saturation > best_saturation || (saturation == best_saturation && degree > best_degree)) {
        pick = i;
        best_saturation = saturation;
        best_degree = degree;
      }
    }
    const int node = pending[pick];
    pending.erase(pending.begin() + static_cast<long>(pick));
    std::vector<bool> taken(static_cast<size_t>(palette), false);
    for (int m : neighbours[static_cast<size_t>(node)])
      if ((*colour)[static_cast<size_t>(m)] >= 0) taken[static_cast<size_t>((*colour)[static_cast<size_t>(m)])] = true;
    int choice = -1;
    for (int c = 0; c < 8; ++c)
      if (!taken[static_cast<size_t>(c)] && (choice < 0 || (*used)[static_cast<size_t>(c)] < (*used)[static_cast<size_t>(choice)]))
        choice = c;
    for (int c = 8; c < palette && choice < 0; ++c)
      if (!taken[static_cast<size_t>(c)]) choice = c;
    if (choice < 0) choice = 0;  // more neighbours than colours: cannot happen on a plane map
    (*colour)[static_cast<size_t>(node)] = choice;
    ++(*used)[static_cast<size_t>(choice)];
  }
}

}  // namespace

void colour_world_list(const WorldMaps& maps, std::vector<ListEntry>* list) {
  const size_t n = list->size();
  std::vector<int> colour(n, -1);
  std::vector<int> used(map_colour_names().size(), 0);
  std::set<int> on_region_map(maps.regions.begin(), maps.regions.end());
  std::vector<int> regions;
  for (size_t i = 0; i < n; ++i)
    if ((*list)[i].type != "none" && on_region_map.count(static_cast<int>(i))) regions.push_back(static_cast<int>(i));
  colour_graph(touching_entries(maps.regions, maps.width, maps.height), regions, &colour, &used);

  std::vector<int> countries;
  for (size_t i = 0; i < n; ++i)
    if ((*list)[i].type == "none") countries.push_back(static_cast<int>(i));
  std::fill(used.begin(), used.end(), 0);
  colour_graph(touching_entries(maps.countries, 2 * maps.width, 2 * maps.height), countries, &colour, &used);

  // The world and the major areas not on a map: colours in palette order.
  int next = 0;
  for (size_t i = 0; i < n; ++i)
    if (colour[i] < 0) colour[i] = next++ % 8;
  for (size_t i = 0; i < n; ++i) (*list)[i].color = map_colour_names()[static_cast<size_t>(colour[i])];
}
