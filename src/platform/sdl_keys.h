// The translation of a pressed key (SDL key symbol and modifier state) into the
// key codes of key events. A pure function, so it can be checked without a display.
#pragma once

// Returns the key code for a key press, or -1 when the press itself yields no key
// event: printable characters arrive as text input instead, and keys without a
// code (function keys, Home, ...) give an idle event.
//   Backspace, Delete: 8; Tab: 9; Return, keypad Enter: 13; Escape: 27;
//   Control with a letter: 1 to 26; arrows: left 28, right 29, up 30, down 31.
int MXPtranslate_sdl_key(int sym, int mod);

// Decodes UTF-8 text input into the 8-bit codes of key events (Windows-1252);
// characters outside that set are dropped. Returns the number of codes stored
// (at most max).
int MXPtext_input_codes(const char* utf8, unsigned char* codes, int max);
