// make_geo_text: writes the help text of the regions and countries in the
// program's list (data/info/geo.txt) from the country list (data/dbase/country.maf):
// the world, its major areas and UN regions (with the full names of those the list
// shortens), then every country or area, in pages of 25 lines ended by form feeds.
//
//   make_geo_text [--list FILE] [--out FILE]
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
  std::string type;  // "region", "sub" or "none"
  std::string name;
  int code = 0;
};

// The United Nations' names of the regions, by location code, for entries the
// list shortens.
const std::map<int, std::string> kFullNames = {
    {900, "World"},
    {903, "Africa"},
    {935, "Asia"},
    {908, "Europe"},
    {904, "Latin America and the Caribbean"},
    {905, "Northern America"},
    {909, "Oceania"},
    {927, "Australia and New Zealand"},
    {915, "Caribbean"},
    {916, "Central America"},
    {5500, "Central Asia"},
    {910, "Eastern Africa"},
    {906, "Eastern Asia"},
    {923, "Eastern Europe"},
    {928, "Melanesia"},
    {954, "Micronesia"},
    {911, "Middle Africa"},
    {912, "Northern Africa"},
    {924, "Northern Europe"},
    {957, "Polynesia"},
    {931, "South America"},
    {920, "South-Eastern Asia"},
    {913, "Southern Africa"},
    {5501, "Southern Asia"},
    {925, "Southern Europe"},
    {914, "Western Africa"},
    {922, "Western Asia"},
    {926, "Western Europe"},
};

constexpr int kPageLines = 25;

// Rows of the list's table: type, file, name (ended by two blanks), code, colour.
bool read_list(const std::string& path, std::vector<Entry>* entries) {
  std::ifstream in(path);
  if (!in) return false;
  const std::regex row(R"(^(region|sub|none)\s+\S+\s+(.*?\S)\s{2,}(\d+)\s+\S+\s*$)");
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (std::regex_match(line, m, row)) entries->push_back({m[1], m[2], std::stoi(m[3])});
  }
  return !entries->empty();
}

// Collects lines into pages: a page holds at most 24 lines of text and a line
// with a form feed, which ends it; the last page has no form feed.
class Pages {
 public:
  void add(const std::string& line) {
    if (lines_on_page_ == kPageLines - 1) new_page();
    out_ << line << "\n";
    ++lines_on_page_;
  }
  void new_page() {
    out_ << "\f\n";
    lines_on_page_ = 0;
  }
  std::string text() const { return out_.str(); }

 private:
  std::ostringstream out_;
  int lines_on_page_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string list = "data/dbase/country.maf", out = "data/info/geo.txt";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--list")
      list = argv[i + 1];
    else if (arg == "--out")
      out = argv[i + 1];
  }
  std::vector<Entry> entries;
  if (!read_list(list, &entries)) {
    std::fprintf(stderr, "make_geo_text: cannot read the country list %s\n", list.c_str());
    return 1;
  }
  std::vector<const Entry*> areas, regions, countries;
  for (const Entry& e : entries) (e.type == "region" ? areas : e.type == "sub" ? regions : countries).push_back(&e);

  // The help window's font is proportional: names run on in wrapped lines, since
  // columns laid out with blanks would not line up.
  Pages p;
  auto paragraph = [&p](const std::string& text) {
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
      if (!line.empty() && line.size() + 1 + word.size() > 78) {
        p.add(line);
        line.clear();
      }
      line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) p.add(line);
  };
  auto names = [](const std::vector<const Entry*>& group) {
    std::string text;
    for (size_t i = 0; i < group.size(); ++i) text += group[i]->name + (i + 1 < group.size() ? ", " : ".");
    return text;
  };
  p.add("REGIONS AND COUNTRIES");
  p.add("");
  paragraph("The list of the country selection holds " + std::to_string(entries.size()) +
            " entries: first the world and its " + std::to_string(areas.size() - 1) +
            " major areas, then its " + std::to_string(regions.size()) +
            " regions as the United Nations divide it, then " + std::to_string(countries.size()) +
            " countries and areas in alphabetical order. Every entry is one population with figures "
            "of its own: a region is the sum of its countries. On the small map a click chooses a "
            "region, on the large map a country; a territory without figures of its own chooses "
            "its region. Long names are shortened in the list.");
  p.add("");
  p.add("World and major areas");
  paragraph(names(areas));
  p.add("");
  p.add("Regions");
  paragraph(names(regions));
  std::string shortened;
  for (const auto* group : {&areas, &regions})
    for (const Entry* e : *group) {
      const auto it = kFullNames.find(e->code);
      if (it == kFullNames.end() || it->second == e->name) continue;
      shortened += (shortened.empty() ? "" : "; ") + e->name + " stands for " + it->second;
    }
  if (!shortened.empty()) {
    p.add("");
    paragraph("In the list, " + shortened + ".");
  }
  p.new_page();
  p.add("COUNTRIES AND AREAS");
  p.add("");
  paragraph(names(countries));
  std::ofstream file(out, std::ios::binary);
  file << p.text();
  if (!file) {
    std::fprintf(stderr, "make_geo_text: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s: %zu regions, %zu countries\n", out.c_str(), areas.size() + regions.size(), countries.size());
  return 0;
}
