// Small text helpers shared by every subsystem.
#pragma once

// Compares two texts without regard to case: characters folded to lower case and
// compared as unsigned bytes. Returns -1, 0 or 1.
int MXstricmp(const char* a, const char* b);
