// Other names of the country list's entries, for the program's name search: the
// names people use ("USA", "Ivory Coast", "Burma") and the UN's own long names.
#pragma once
#include <string>
#include <vector>

#include "world_list.h"

struct WorldAlias {
  std::string name;  // ASCII, accents taken off
  int code;          // UN location code of the entry it finds
};

// Longest alias the program's reader takes.
constexpr size_t ALIAS_NAME_MAX = 47;

// UTF-8 text with the accents of Latin-1 letters taken off ("Côte" -> "Cote").
std::string ascii_folded(const std::string& utf8);

// The aliases of the list, sorted: the common names of the table and every UN name
// that differs from the list's own. False with a message when an alias names no
// entry, is too long, holds a character the reader cannot carry, or is the name of
// another entry (it would hide that entry from the search).
bool build_aliases(const std::vector<ListEntry>& list, std::vector<WorldAlias>* aliases, std::string* error);

// The file "aliases.maf" (tag "VK_alias") for the aliases.
std::string aliases_text(const std::vector<WorldAlias>& aliases);
