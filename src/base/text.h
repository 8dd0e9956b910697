// Small text helpers shared by every subsystem.
#pragma once

// Compares two texts without regard to case: characters folded to lower case and
// compared as unsigned bytes. Returns -1, 0 or 1.
int MXstricmp(const char* a, const char* b);

// A Latin-1 character as a name search compares it: letters in lower case with
// their accents taken off (\xF4 "o" circumflex compares as "o"); others unchanged.
unsigned char MXfoldchar(unsigned char c);
