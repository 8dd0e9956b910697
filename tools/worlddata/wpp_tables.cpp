// Reading the WPP 2019 tab-separated tables.
#include "wpp_tables.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> split_tabs(const std::string& line) {
  std::vector<std::string> cells;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return cells;
}

}  // namespace

double WppTable::value(int code, const std::string& age, const std::string& column) const {
  const auto row = rows.find(code);
  if (row == rows.end()) return WPP_ABSENT;
  const auto cells = row->second.find(age);
  if (cells == row->second.end()) return WPP_ABSENT;
  for (size_t i = 0; i < columns.size() && i < cells->second.size(); ++i) {
    if (columns[i] != column) continue;
    const std::string& cell = cells->second[i];
    double number = 0;
    const auto result = std::from_chars(cell.data(), cell.data() + cell.size(), number);
    if (cell.empty() || result.ec != std::errc() || result.ptr != cell.data() + cell.size()) return WPP_ABSENT;
    return number;
  }
  return WPP_ABSENT;
}

bool read_wpp_table(const std::string& path, WppTable* table, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  return parse_wpp_table(text.str(), path, table, error);
}

bool parse_wpp_table(const std::string& text, const std::string& name, WppTable* table, std::string* error) {
  std::istringstream in(text);
  *table = WppTable{};
  std::string line;
  if (!std::getline(in, line)) {
    *error = name + ": empty";
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  table->columns = split_tabs(line);
  // Location tables put the name first; data tables the code first.
  const bool code_first = !table->columns.empty() && table->columns[0] == "country_code";
  const size_t code_column = code_first ? 0 : 1;
  const size_t name_column = code_first ? 1 : 0;
  table->has_age = table->columns.size() > 2 && table->columns[2] == "age";
  int line_number = 1;
  while (std::getline(in, line)) {
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> cells = split_tabs(line);
    if (cells.size() <= code_column || cells.size() <= name_column) {
      *error = name + ":" + std::to_string(line_number) + ": too few cells";
      return false;
    }
    int code = 0;
    const std::string& code_text = cells[code_column];
    const auto result = std::from_chars(code_text.data(), code_text.data() + code_text.size(), code);
    if (result.ec != std::errc() || result.ptr != code_text.data() + code_text.size()) {
      *error = name + ":" + std::to_string(line_number) + ": bad location code";
      return false;
    }
    const std::string age = table->has_age && cells.size() > 2 ? cells[2] : std::string();
    table->names.emplace(code, cells[name_column]);
    table->rows[code][age] = std::move(cells);
  }
  return true;
}

bool read_wpp_data(const std::string& folder, WppData* data, std::string* error) {
  const struct {
    WppTable* table;
    const char* file;
  } files[] = {
      {&data->locations, "UNlocations.txt"}, {&data->pop_m, "popM.txt"},
      {&data->pop_f, "popF.txt"},            {&data->pop_m_med, "popMprojMed.txt"},
      {&data->pop_f_med, "popFprojMed.txt"}, {&data->mx_m, "mxM.txt"},
      {&data->mx_f, "mxF.txt"},              {&data->asfr, "percentASFR.txt"},
      {&data->tfr, "tfr.txt"},               {&data->tfr_med, "tfrprojMed.txt"},
      {&data->e0_m, "e0M.txt"},              {&data->e0_f, "e0F.txt"},
      {&data->e0_m_med, "e0Mproj.txt"},      {&data->e0_f_med, "e0Fproj.txt"},
      {&data->migration, "migration.txt"},   {&data->sex_ratio, "sexRatio.txt"},
  };
  for (const auto& f : files)
    if (!read_wpp_table(folder + "/" + f.file, f.table, error)) return false;
  return true;
}
