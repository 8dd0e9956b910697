// Reading the program's data directory in the tests, independently of the
// program's own readers: the country list rows, the words and tables of a country
// database, and the two map pictures.
#pragma once
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "pictures/run_length_picture.h"

// The age groups of the WPP tables.
inline const char* const kAges[] = {"0-4",   "5-9",   "10-14", "15-19", "20-24", "25-29", "30-34",
                                    "35-39", "40-44", "45-49", "50-54", "55-59", "60-64", "65-69",
                                    "70-74", "75-79", "80-84", "85-89", "90-94", "95-99", "100+"};

struct ListRow {
  std::string type, file, name, color;
  int code = 0;
};

inline std::string read_file(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// Fields of a list row are separated by two or more blanks (names hold single ones).
inline std::vector<ListRow> read_list(const std::string& path, int* numregions, int* numcountries) {
  std::vector<ListRow> rows;
  std::istringstream in(read_file(path));
  std::string line;
  bool inside = false;
  while (std::getline(in, line) && line != "endformat") {
    if (line.rfind("numregions= ", 0) == 0) *numregions = std::stoi(line.substr(12));
    if (line.rfind("numcountries= ", 0) == 0) *numcountries = std::stoi(line.substr(14));
    if (!inside || line.rfind("format=", 0) == 0) {
      inside = inside || line.rfind("format=", 0) == 0;
      continue;
    }
    std::vector<std::string> f;
    for (size_t at = line.find_first_not_of(' '), end; at < line.size(); at = line.find_first_not_of(' ', end))
      f.push_back(line.substr(at, (end = std::min(line.find("  ", at), line.size())) - at));
    if (f.size() == 5) rows.push_back(ListRow{f[0], f[1], f[2], f[4], std::stoi(f[3])});
  }
  return rows;
}

// A country database as words (comments dropped): keys with their next word, and
// the rows of each table by its first keyword after "age".
struct Database {
  std::map<std::string, std::vector<std::string>> values;           // key -> values in order met
  std::map<std::string, std::vector<std::vector<std::string>>> tables;  // "total_pop" etc. -> rows
};

inline Database read_database(const std::string& path) {
  Database db;
  std::istringstream in(read_file(path));
  std::string line;
  std::vector<std::string> words;
  while (std::getline(in, line)) {
    std::istringstream ws(line.substr(0, line.find('#')));
    std::string w;
    while (ws >> w) words.push_back(w);
  }
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "format=") {
      std::vector<std::string> keywords;
      while (i + 1 < words.size() && words[++i] != "tamrof") keywords.push_back(words[i]);
      std::vector<std::vector<std::string>> rows;
      while (i + 1 < words.size() && words[i + 1] != "endformat") {
        std::vector<std::string> row;
        for (size_t k = 0; k < keywords.size() && i + 1 < words.size(); ++k) row.push_back(words[++i]);
        rows.push_back(row);
      }
      ++i;
      db.tables[keywords.size() > 1 ? keywords[1] : ""] = rows;
    } else if (words[i].back() == '=' && i + 1 < words.size()) {
      db.values[words[i]].push_back(words[i + 1]);  // (of a name, its first word)
      ++i;
    }
  }
  return db;
}

struct Map {
  std::vector<uint16_t> buffer;
  MXPicture picture{};
  int loaded = 0;
};

inline Map read_map(const std::string& path) {
  Map map;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return map;
  map.buffer.assign(read_file(path).size() / 2 + 1, 0);
  map.loaded = MXinitpic(file, &map.picture, map.buffer.data());
  std::fclose(file);
  return map;
}

inline uint16_t pixel(const Map& map, int x, int y) {
  uint16_t v;
  MXgetpixel(&map.picture, x, y, &v, 1);
  return v;
}
