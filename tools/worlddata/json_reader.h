// A small JSON reader for the map generator: the whole text into a tree of
// values. Numbers are read without regard to the locale; nesting is limited so
// that hostile input cannot exhaust the stack.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct JsonMember;

struct JsonValue {
  enum Kind { NUL, BOOLEAN, NUMBER, STRING, ARRAY, OBJECT };
  Kind kind = NUL;
  bool boolean = false;
  double number = 0;
  std::string text;                                        // STRING
  std::vector<JsonValue> items;                            // ARRAY
  std::vector<JsonMember> members;                         // OBJECT, in file order

  // The member of an object by name (the first of that name), or null.
  const JsonValue* get(std::string_view name) const;
};

// One member of an object: its name and value.
struct JsonMember {
  std::string first;
  JsonValue second;
};

constexpr int JSON_MAX_DEPTH = 256;

// Parses text as one JSON value (white space around it allowed). On failure
// returns false and sets error to a message with the byte offset.
bool parse_json(std::string_view text, JsonValue* out, std::string* error);
