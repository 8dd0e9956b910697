// Fuzz target: any bytes as a WPP tab-separated table. The reader must accept or
// refuse without crashing; every cell of an accepted table is looked up as the
// generators look them up.
#include <cstddef>
#include <cstdint>
#include <string>

#include "wpp_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WppTable table;
  std::string error;
  if (!parse_wpp_table(std::string(reinterpret_cast<const char*>(data), size), "fuzz", &table, &error)) return 0;
  for (const auto& [code, ages] : table.rows)
    for (const auto& [age, cells] : ages)
      for (const std::string& column : table.columns) (void)table.value(code, age, column);
  (void)table.value(-1, "1990");
  return 0;
}
