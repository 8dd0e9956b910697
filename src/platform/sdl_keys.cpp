// Key translation for the SDL window: special keys and Control-letters from key
// presses, everything printable from text input.
#include "platform/sdl_keys.h"

#include <SDL_keyboard.h>
#include <SDL_keycode.h>

int MXPtranslate_sdl_key(int sym, int mod) {
  const bool ctrl = (mod & KMOD_CTRL) && !(mod & KMOD_ALT);
  // Control with Backspace, Return and "[" gives the ASCII control codes DEL, LF, ESC.
  if (ctrl && sym == SDLK_BACKSPACE) return 127;
  if (ctrl && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER)) return 10;
  if (ctrl && sym == SDLK_LEFTBRACKET) return 27;
  // With NumLock off the keypad's 4, 6, 8, 2 are arrows and its point is Delete;
  // with NumLock on they type their characters as text.
  if (!(mod & KMOD_NUM)) {
    switch (sym) {
      case SDLK_KP_4: return 28;
      case SDLK_KP_6: return 29;
      case SDLK_KP_8: return 30;
      case SDLK_KP_2: return 31;
      case SDLK_KP_PERIOD: return 8;
      default: break;
    }
  }
  switch (sym) {
    case SDLK_F1:
      return 0;  // help, handled before the key routine
    case SDLK_PAGEUP:
      return 30;  // turn a page back, as the up arrow
    case SDLK_PAGEDOWN:
      return 31;
    case SDLK_BACKSPACE:
    case SDLK_DELETE:
    case SDLK_KP_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return 9;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
      return 13;
    case SDLK_ESCAPE:
      return 27;
    case SDLK_LEFT:
      return 28;
    case SDLK_RIGHT:
      return 29;
    case SDLK_UP:
      return 30;
    case SDLK_DOWN:
      return 31;
    default:
      break;
  }
  // Control with a letter (and without Alt, which with Control makes AltGr
  // characters on some keyboards) is the letter's control code.
  if (ctrl && sym >= SDLK_a && sym <= SDLK_z) return sym - SDLK_a + 1;
  return -1;
}

bool MXPtext_withheld(int mod) {
  // Left Alt with a key is a command, not a character; right Alt is often AltGr,
  // which types characters, and Control+Alt is AltGr on some systems.
  return (mod & KMOD_LALT) && !(mod & KMOD_CTRL);
}
