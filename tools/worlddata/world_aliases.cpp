// The alias table of the country list: the common names, checked against the list.
#include "world_aliases.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "base/text.h"

namespace {

struct CommonName {
  const char* name;
  int code;
};

// Names in everyday use that the list spells otherwise. "Korea" stands for both
// Koreas: the program shows that it is ambiguous.
const CommonName kCommonNames[] = {
    {"USA", 840}, {"US", 840}, {"U.S.A.", 840}, {"U.S.", 840}, {"America", 840},
    {"United States of America", 840}, {"UK", 826}, {"U.K.", 826}, {"Britain", 826},
    {"Great Britain", 826}, {"England", 826}, {"Scotland", 826}, {"Wales", 826},
    {"Northern Ireland", 826}, {"Ivory Coast", 384}, {"Czech Republic", 203}, {"Burma", 104},
    {"Macedonia", 807}, {"Swaziland", 748}, {"Cape Verde", 132}, {"Holland", 528},
    {"East Timor", 626}, {"Zaire", 180}, {"Congo-Kinshasa", 180}, {"Congo-Brazzaville", 178},
    {"Democratic Republic of the Congo", 180}, {"DRC", 180},
    {"Korea", 408}, {"Korea", 410}, {"DPRK", 408}, {"Persia", 364}, {"Siam", 764},
    {"Ceylon", 144}, {"Kampuchea", 116}, {"Upper Volta", 854}, {"Dahomey", 204},
    {"Turkiye", 792}, {"Taiwan", 158}, {"Hong Kong", 344}, {"Macau", 446},
};

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string ascii_folded(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      const unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
      const unsigned char folded = cp <= 0xFF ? MXfoldchar(static_cast<unsigned char>(cp)) : '?';
      // An upper-case letter keeps its case.
      const bool upper = cp >= 0xC0 && cp <= 0xDE;
      out += static_cast<char>(folded < 0x80 && upper ? std::toupper(folded) : folded < 0x80 ? folded : '?');
    } else {
      out += '?';  // beyond Latin-1: refused below
      while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
    }
  }
  return out;
}

bool build_aliases(const std::vector<ListEntry>& list, std::vector<WorldAlias>* aliases, std::string* error) {
  aliases->clear();
  for (const CommonName& common : kCommonNames) aliases->push_back({common.name, common.code});
  for (const ListEntry& entry : list) aliases->push_back({ascii_folded(entry.un_name), entry.code});
  std::vector<WorldAlias> kept;
  for (const WorldAlias& alias : *aliases) {
    const int index = list_index(list, alias.code);
    if (index < 0) {
      *error = "alias " + alias.name + " names no entry (code " + std::to_string(alias.code) + ")";
      return false;
    }
    const std::string folded = lower(alias.name);
    if (folded == lower(list[index].name)) continue;  // the list's own name
    for (const ListEntry& other : list)
      if (folded == lower(other.name)) {
        *error = "alias " + alias.name + " is the name of " + other.name;
        return false;
      }
    if (alias.name.empty() || alias.name.size() > ALIAS_NAME_MAX || alias.name.find("  ") != std::string::npos ||
        alias.name.front() == ' ' || alias.name.back() == ' ') {
      *error = "alias too long, empty or with a double or outer blank: " + alias.name;
      return false;
    }
    for (char c : alias.name)
      if (c < 0x20 || c > 0x7E || c == '#' || c == '?') {
        *error = "alias holds a character the reader cannot carry: " + alias.name;
        return false;
      }
    kept.push_back(alias);
  }
  std::sort(kept.begin(), kept.end(), [](const WorldAlias& a, const WorldAlias& b) {
    return std::make_pair(lower(a.name), a.code) < std::make_pair(lower(b.name), b.code);
  });
  kept.erase(std::unique(kept.begin(), kept.end(),
                         [](const WorldAlias& a, const WorldAlias& b) {
                           return lower(a.name) == lower(b.name) && a.code == b.code;
                         }),
             kept.end());
  *aliases = kept;
  return true;
}

std::string aliases_text(const std::vector<WorldAlias>& aliases) {
  std::string out =
      "# Demovar name aliases: other names of the country list's entries for the name\n"
      "# search (everyday names and the UN's own names, accents taken off). Columns:\n"
      "# alias (ended by two blanks), UN location code of the entry it finds. A name\n"
      "# given twice stands for two entries. Written by tools/worlddata; do not edit.\n"
      "database= VK_alias\n"
      "format= alias code tamrof\n";
  for (const WorldAlias& alias : aliases) {
    char line[96];
    std::snprintf(line, sizeof line, "%-47s  %5d\n", alias.name.c_str(), alias.code);
    out += line;
  }
  out += "endformat\n";
  return out;
}
