// The UN World Population Prospects 2019 text tables (tab-separated, one row per
// location and, where there is an age column, per age group): read into memory and
// looked up by location code, age and column name.
#pragma once
#include <limits>
#include <map>
#include <string>
#include <vector>

struct WppTable {
  std::vector<std::string> columns;  // the header
  bool has_age = false;              // third column is "age"
  std::map<int, std::string> names;  // location code -> UN name
  // location code -> age ("" without an age column) -> the row's cells
  std::map<int, std::map<std::string, std::vector<std::string>>> rows;

  bool has(int code) const { return rows.count(code) != 0; }
  // The cell as a number; NaN when the row, age or column is absent or empty.
  double value(int code, const std::string& age, const std::string& column) const;
  double value(int code, const std::string& column) const { return value(code, "", column); }
};

constexpr double WPP_ABSENT = std::numeric_limits<double>::quiet_NaN();

// Reads one table; false with a message when the file cannot be read or a row is
// malformed.
bool read_wpp_table(const std::string& path, WppTable* table, std::string* error);
// The same on the text of a table; name appears in the messages.
bool parse_wpp_table(const std::string& text, const std::string& name, WppTable* table, std::string* error);

// Every table the generators use, from the wpp2019 folder.
struct WppData {
  WppTable locations, pop_m, pop_f, pop_m_med, pop_f_med, mx_m, mx_f, asfr, tfr, tfr_med, e0_m,
      e0_f, e0_m_med, e0_f_med, migration, sex_ratio;
};
bool read_wpp_data(const std::string& folder, WppData* data, std::string* error);
