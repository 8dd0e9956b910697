// Looking a word up in a list of words without regard to case (colour names,
// aliases and the like).
#pragma once

// The index of the first entry of `list` that equals `word` when both are folded to
// lower case. The list ends at the first null or empty entry; -1 when no entry
// matches (and for a null word or list).
int MXiselword(const char* word, const char* const* list);
