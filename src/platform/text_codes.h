// The decoding of typed text into key codes, the same for every backend.
#pragma once

// Decodes UTF-8 text input into the 8-bit codes of key events (Windows-1252);
// characters outside that set are dropped. Returns the number of codes stored
// (at most max).
int MXPtext_input_codes(const char* utf8, unsigned char* codes, int max);
