// Events: the key translation and text input of the window, its view of the screen,
// and the headless platform the end-to-end tests drive (script, queue, virtual
// clock), checked as far as those tests rely on it.
#include <SDL_keyboard.h>
#include <SDL_keycode.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/clock.h"
#include "platform/platform_internal.h"
#include "platform/sdl_keys.h"
#include "platform_test_support.h"

namespace {

// Control with a letter 1-26 (not with Alt too); the keypad's Enter 13 and, with
// NumLock off, its arrows 28-31 and its Delete 8; Page Up 30; other navigation
// keys, modifiers and printable keys (which come as text input) give no key event.
// Arrows, Backspace, Delete, Return, Escape, Tab, F1, Home and Control with
// Backspace, Return and "[" go through the real window in window_smoke_test.sh.
TEST(KeyTranslation, KeysHaveTheirCodesAndOtherKeysGiveNoKeyEvent) {
  const struct {
    int sym, mod, code;
  } keys[] = {{SDLK_KP_ENTER, KMOD_NONE, 13}, {SDLK_a, KMOD_LCTRL, 1},         {SDLK_t, KMOD_RCTRL, 20},
              {SDLK_z, KMOD_LCTRL | KMOD_SHIFT, 26}, {SDLK_q, KMOD_LCTRL | KMOD_LALT, -1}, {SDLK_END, KMOD_NONE, -1},
              {SDLK_PAGEUP, KMOD_NONE, 30},   {SDLK_INSERT, KMOD_NONE, -1},  {SDLK_LSHIFT, KMOD_NONE, -1},
              {SDLK_KP_4, KMOD_NONE, 28},     {SDLK_KP_6, KMOD_NONE, 29},    {SDLK_KP_8, KMOD_NONE, 30},
              {SDLK_KP_2, KMOD_NONE, 31},     {SDLK_KP_PERIOD, KMOD_NONE, 8}, {SDLK_KP_4, KMOD_NUM, -1},
              {SDLK_a, KMOD_NONE, -1},        {SDLK_1, KMOD_NONE, -1},       {SDLK_SPACE, KMOD_NONE, -1}};
  for (const auto& k : keys)
    EXPECT_EQ(MXPtranslate_sdl_key(k.sym, k.mod), k.code) << k.sym << " " << k.mod;
}

TEST(KeyTranslation, TextInputBecomesWindows1252Codes) {
  unsigned char codes[8];
  ASSERT_EQ(MXPtext_input_codes("a\xc3\xa9Z", codes, 8), 3);  // a é Z
  EXPECT_EQ(std::vector<int>(codes, codes + 3), (std::vector<int>{'a', 0xe9, 'Z'}));
  ASSERT_EQ(MXPtext_input_codes("\xe2\x82\xac", codes, 8), 1);  // the euro sign
  EXPECT_EQ(codes[0], 0x80);
  EXPECT_EQ(MXPtext_input_codes("\xe2\x98\x83\x01\xff", codes, 8), 0);  // snowman, control, junk
  EXPECT_EQ(MXPtext_input_codes("abcdef", codes, 2), 2);
  // Alt with a letter is no letter; AltGr (right Alt, or Control with Alt) types one.
  EXPECT_TRUE(MXPtext_withheld(KMOD_LALT) && !MXPtext_withheld(KMOD_RALT) && !MXPtext_withheld(KMOD_LALT | KMOD_LCTRL));
}

// Whole factors centred on a border, or with fill the largest fraction that fits
// (1024 x 768 gives 1.6); every screen column is shown once or more, and positions
// off the picture map back to its edge.
TEST(WindowView, WholeOrFillingFactorsCentredAndEveryPixelShown) {
  const struct {
    int w, h;
    bool fill;
    std::vector<int> view;
  } cases[] = {{1280, 960, false, {0, 0, 1280, 960}}, {1024, 768, false, {192, 144, 640, 480}},
               {1024, 768, true, {0, 0, 1024, 768}}, {1920, 1080, true, {240, 0, 1440, 1080}}};
  for (const auto& c : cases) {
    const MXPView v = MXPview_in(c.w, c.h, c.fill);
    EXPECT_EQ(std::vector<int>({v.x, v.y, v.w, v.h}), c.view) << c.w;
    std::set<int> shown;
    for (int wx = v.x - 5, x, y; wx < v.x + v.w + 5; ++wx, shown.insert(x)) MXPview_to_screen(v, wx, -5, &x, &y);
    EXPECT_EQ(std::vector<int>({*shown.begin(), *shown.rbegin(), static_cast<int>(shown.size())}),
              std::vector<int>({0, MXP_SCREEN_WIDTH - 1, MXP_SCREEN_WIDTH})) << c.w;
  }
}

[[noreturn]] void quit_by_throwing(int code) { throw code + 1000; }

// The headless platform as the end-to-end tests drive it: queued events come
// first, then the script's, on a clock of 10 ms ticks; key events carry the last
// mouse position; a used-up script ends through the quit routine. (Bad script lines
// are refused with their number: tests/platform/headless_run_test.sh.)
TEST_F(HeadlessScreen, QueueAndScriptArriveInOrderOnTheVirtualClock) {
  MXPset_quit_handler(quit_by_throwing);
  const std::string png = ::testing::TempDir() + "platform_script_" + std::to_string(getpid()) + ".png";
  std::string error;
  ASSERT_TRUE(MXPheadless_set_script("# comment\n\nwait 25\nclick 5 6\nkey right\nkey ctrl-Q\nkey \xc3\xa9\n"
                                     "type ab\nscreenshot " + png + "\nmove 1 2\n", &error)) << error;
  MXPheadless_key(2);
  const long t0 = MXPclock_ms();
  MXPstart_timer();
  const int expected[][4] = {{MX_EXPOSE, 0, 0, 0},   {MX_KEY, 2, 0, 0},     {MX_IDLE, 0, 0, 0},
                             {MX_IDLE, 0, 0, 0},     {MX_IDLE, 0, 0, 0},    {MX_PRESS, 0, 5, 6},
                             {MX_RELEASE, 0, 5, 6},  {MX_KEY, 29, 5, 6},    {MX_KEY, 17, 5, 6},
                             {MX_KEY, 0xe9, 5, 6},   {MX_KEY, 'a', 5, 6},   {MX_KEY, 'b', 5, 6},
                             {MX_IDLE, 0, 1, 2}};
  for (const auto& want : expected) {
    MXEvent e{};
    EXPECT_EQ(MXPnext_event(&e), 1);
    EXPECT_EQ(std::vector<int>({e.type, e.type == MX_KEY ? static_cast<unsigned char>(e.key) : 0, e.mousex, e.mousey}),
              std::vector<int>(want, want + 4));
  }
  EXPECT_EQ(MXPread_timer(), 40);  // 25 ms of waiting (three ticks) and the move's tick
  EXPECT_EQ(MXPclock_ms() - t0, 40);
  EXPECT_TRUE(std::ifstream(png).good());
  std::remove(png.c_str());
  MXEvent e{};  // the used-up script ends the program with status 0
  EXPECT_EQ([&e] { try { MXPnext_event(&e); } catch (int code) { return code; } return -1; }(), 1000);
  MXPset_quit_handler(nullptr);
}

}  // namespace
