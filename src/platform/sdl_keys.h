// The translation of a pressed key (SDL key symbol and modifier state) into the
// key codes of key events. A pure function, so it can be checked without a display.
#pragma once
#include "platform/text_codes.h"

// Returns the key code for a key press, or -1 when the press itself yields no key
// event: printable characters arrive as text input instead, and keys without a
// code (function keys, Home, ...) give an idle event.
//   Backspace, Delete: 8; Tab: 9; Return, keypad Enter: 13; Escape: 27;
//   Control with a letter: 1 to 26; arrows: left 28, right 29, up 30, down 31.
//   Control-Backspace 127, Control-Return 10, Control-[ 27. With NumLock off the
//   keypad arrows 28-31 and keypad Delete 8. PageUp and PageDown as the up and
//   down arrows (they turn help pages). F1: 0, which the event loop hands to the
//   help routine before any key routine (function keys have no code of their own).
int MXPtranslate_sdl_key(int sym, int mod);

// Whether text typed with these modifiers is withheld: Alt with a letter is a
// command, not the letter.
bool MXPtext_withheld(int mod);

