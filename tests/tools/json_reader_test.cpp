// The generator's JSON reader: the values GeoJSON needs, escapes kept as UTF-8,
// and refusal (with a position) of malformed or hostile text.
#include <gtest/gtest.h>

#include "json_reader.h"

namespace {

JsonValue parse_ok(const std::string& text) {
  JsonValue value;
  std::string error;
  EXPECT_TRUE(parse_json(text, &value, &error)) << text << ": " << error;
  return value;
}

TEST(JsonReader, ReadsAFeatureCollection) {
  const JsonValue v = parse_ok(
      R"({"type":"FeatureCollection","features":[{"type":"Feature","id":"036",)"
      R"("properties":{"name":"Australia"},"geometry":{"type":"Polygon",)"
      R"("coordinates":[[[113.5,-22.25],[153.6e0,-28.1],[-1.5E+1,0]]]}}], "n" : null, "t": true})");
  ASSERT_EQ(v.kind, JsonValue::OBJECT);
  const JsonValue* features = v.get("features");
  ASSERT_NE(features, nullptr);
  ASSERT_EQ(features->items.size(), 1u);
  const JsonValue& f = features->items[0];
  EXPECT_EQ(f.get("id")->text + " " + f.get("properties")->get("name")->text, "036 Australia");
  const JsonValue& ring = f.get("geometry")->get("coordinates")->items[0];
  ASSERT_EQ(ring.items.size(), 3u);
  EXPECT_DOUBLE_EQ(ring.items[0].items[1].number, -22.25);
  EXPECT_DOUBLE_EQ(ring.items[1].items[0].number, 153.6);
  EXPECT_DOUBLE_EQ(ring.items[2].items[0].number, -15);
  EXPECT_TRUE(v.get("n")->kind == JsonValue::NUL && v.get("t")->boolean && v.get("missing") == nullptr);
}

TEST(JsonReader, KeepsEscapesAsUtf8) {
  const JsonValue v = parse_ok(R"(["C\u00f4te d'Ivoire", "S\u00e3o Tom\u00e9", "a\"b\\c\/d\n", "\ud83c\udf0d", "Åland"])");
  EXPECT_EQ(v.items[0].text, "C\xC3\xB4te d'Ivoire");
  EXPECT_EQ(v.items[1].text, "S\xC3\xA3o Tom\xC3\xA9");
  EXPECT_EQ(v.items[2].text, "a\"b\\c/d\n");
  EXPECT_EQ(v.items[3].text, "\xF0\x9F\x8C\x8D");  // a surrogate pair
  EXPECT_EQ(v.items[4].text, "\xC3\x85land");       // raw UTF-8 passes through
}

TEST(JsonReader, RefusesMalformedText) {
  const char* const bad[] = {
      "",          "{",          "[1,]",       "{\"a\" 1}",      "{\"a\":1,}", "[1 2]",
      "\"open",    "[01]",       "[1.]",       "[.5]",           "[1e]",       "[-]",
      "tru",       "nul",        "[\"\\x\"]",  "[\"\\ud83c\"]",  "[\"\\udf0d\"]", "[\"a\nb\"]",
      "[1] [2]",   "{1:2}",      "[\"\\u12G4\"]", "[1e999]",
      "[\"\\udc00\\udc00\"]",  // two low surrogates are no pair
  };
  JsonValue v;
  std::string error;
  for (const char* text : bad) {
    EXPECT_FALSE(parse_json(text, &v, &error)) << text;
    EXPECT_NE(error.find("at byte"), std::string::npos) << text;
  }
  // Nesting is limited.
  const std::string deep = std::string(JSON_MAX_DEPTH + 5, '[') + std::string(JSON_MAX_DEPTH + 5, ']');
  EXPECT_FALSE(parse_json(deep, &v, &error));
  EXPECT_TRUE(parse_json(std::string(50, '[') + std::string(50, ']'), &v, &error));
}

}  // namespace
