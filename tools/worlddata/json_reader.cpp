// A small recursive-descent JSON reader (RFC 8259): objects, arrays, strings with
// every escape including surrogate pairs (kept as UTF-8), numbers, literals.
#include "json_reader.h"

#include <charconv>
#include <cstdint>

namespace {

struct Parser {
  std::string_view text;
  size_t at = 0;
  std::string error;

  bool fail(const char* what) {
    if (error.empty()) error = std::string(what) + " at byte " + std::to_string(at);
    return false;
  }
  void skip_space() {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) ++at;
  }
  bool literal(std::string_view word) {
    if (text.substr(at, word.size()) != word) return fail("unknown literal");
    at += word.size();
    return true;
  }

  static void put_utf8(std::string* out, uint32_t cp) {
    if (cp < 0x80) {
      out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out->push_back(static_cast<char>(0xC0 | cp >> 6));
      out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | cp >> 12));
      out->push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | cp >> 18));
      out->push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }

  bool hex4(uint32_t* value) {
    if (at + 4 > text.size()) return fail("short \\u escape");
    *value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text[at++];
      *value <<= 4;
      if (c >= '0' && c <= '9') *value |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f') *value |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') *value |= static_cast<uint32_t>(c - 'A' + 10);
      else return fail("bad \\u escape");
    }
    return true;
  }

  bool string(std::string* out) {
    ++at;  // opening quote
    while (true) {
      if (at >= text.size()) return fail("unterminated string");
      const char c = text[at++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return fail("control character in string");
      if (c != '\\') {
        out->push_back(c);
        continue;
      }
      if (at >= text.size()) return fail("unterminated escape");
      const char e = text[at++];
      switch (e) {
        case '"': out->push_back('"'); break;
        case '\\': out->push_back('\\'); break;
        case '/': out->push_back('/'); break;
        case 'b': out->push_back('\b'); break;
        case 'f': out->push_back('\f'); break;
        case 'n': out->push_back('\n'); break;
        case 'r': out->push_back('\r'); break;
        case 't': out->push_back('\t'); break;
        case 'u': {
          uint32_t cp = 0;
          if (!hex4(&cp)) return false;
          if (cp >= 0xD800 && cp < 0xDC00) {
            uint32_t low = 0;
            if (text.substr(at, 2) != "\\u") return fail("lone surrogate");
            at += 2;
            if (!hex4(&low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return fail("bad surrogate pair");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return fail("lone surrogate");
          }
          put_utf8(out, cp);
          break;
        }
        default: return fail("unknown escape");
      }
    }
  }

  bool number(double* out) {
    const size_t start = at;
    if (at < text.size() && text[at] == '-') ++at;
    auto digits = [&] {
      const size_t from = at;
      while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
      return at > from;
    };
    if (at < text.size() && text[at] == '0') ++at;
    else if (!digits()) return fail("bad number");
    if (at < text.size() && text[at] == '.') {
      ++at;
      if (!digits()) return fail("bad fraction");
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
      ++at;
      if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
      if (!digits()) return fail("bad exponent");
    }
    const auto result = std::from_chars(text.data() + start, text.data() + at, *out);
    if (result.ec != std::errc()) return fail("number out of range");
    return true;
  }

  bool value(JsonValue* out, int depth) {
    if (depth > JSON_MAX_DEPTH) return fail("nesting too deep");
    skip_space();
    if (at >= text.size()) return fail("unexpected end");
    const char c = text[at];
    if (c == '{') {
      out->kind = JsonValue::OBJECT;
      ++at;
      skip_space();
      if (at < text.size() && text[at] == '}') {
        ++at;
        return true;
      }
      while (true) {
        skip_space();
        if (at >= text.size() || text[at] != '"') return fail("member name expected");
        JsonMember member;
        if (!string(&member.first)) return false;
        skip_space();
        if (at >= text.size() || text[at] != ':') return fail("':' expected");
        ++at;
        if (!value(&member.second, depth + 1)) return false;
        out->members.push_back(std::move(member));
        skip_space();
        if (at < text.size() && text[at] == ',') {
          ++at;
          continue;
        }
        if (at < text.size() && text[at] == '}') {
          ++at;
          return true;
        }
        return fail("',' or '}' expected");
      }
    }
    if (c == '[') {
      out->kind = JsonValue::ARRAY;
      ++at;
      skip_space();
      if (at < text.size() && text[at] == ']') {
        ++at;
        return true;
      }
      while (true) {
        out->items.emplace_back();
        if (!value(&out->items.back(), depth + 1)) return false;
        skip_space();
        if (at < text.size() && text[at] == ',') {
          ++at;
          continue;
        }
        if (at < text.size() && text[at] == ']') {
          ++at;
          return true;
        }
        return fail("',' or ']' expected");
      }
    }
    if (c == '"') {
      out->kind = JsonValue::STRING;
      return string(&out->text);
    }
    if (c == 't' || c == 'f') {
      out->kind = JsonValue::BOOLEAN;
      out->boolean = c == 't';
      return literal(c == 't' ? "true" : "false");
    }
    if (c == 'n') {
      out->kind = JsonValue::NUL;
      return literal("null");
    }
    out->kind = JsonValue::NUMBER;
    return number(&out->number);
  }
};

}  // namespace

const JsonValue* JsonValue::get(std::string_view name) const {
  for (const auto& member : members)
    if (member.first == name) return &member.second;
  return nullptr;
}

bool parse_json(std::string_view text, JsonValue* out, std::string* error) {
  Parser parser;
  parser.text = text;
  *out = JsonValue{};
  bool ok = parser.value(out, 0);
  if (ok) {
    parser.skip_space();
    if (parser.at != text.size()) ok = parser.fail("text after the value");
  }
  if (!ok && error) *error = parser.error;
  return ok;
}
