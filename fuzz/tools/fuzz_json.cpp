// Fuzz target: any bytes as JSON text. The reader must accept or refuse without
// crashing, reading out of bounds or recursing without limit; an accepted
// document is walked as the map generator walks GeoJSON.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "json_reader.h"

namespace {
size_t walk(const JsonValue& v) {
  size_t n = 1;
  for (const JsonValue& item : v.items) n += walk(item);
  for (const auto& member : v.members) n += walk(member.second);
  return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  JsonValue value;
  std::string error;
  if (parse_json(std::string_view(reinterpret_cast<const char*>(data), size), &value, &error)) {
    walk(value);
    if (const JsonValue* features = value.get("features")) walk(*features);
  }
  return 0;
}
