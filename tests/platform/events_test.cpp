// Events: the key translation of the window, the headless queue and script, the
// virtual clock, the quit routine and the small services.
#include <SDL_keyboard.h>
#include <SDL_keycode.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <vector>

#include <unistd.h>

#include "base/clock.h"
#include "platform/platform_internal.h"
#include "platform/sdl_keys.h"
#include "platform_test_support.h"

namespace {

// Backspace and Delete 8, Return 13, Escape 27, arrows 28-31 (keypad ones with
// NumLock off), Control with a letter 1-26 and with Backspace, Return, "[" the ASCII
// controls; F1 0; other function and navigation keys are idle (-1), and printable
// keys come as text input instead.
TEST(KeyTranslation, KeysHaveTheirCodesAndOtherKeysGiveNoKeyEvent) {
  const struct {
    int sym, mod, code;
  } keys[] = {{SDLK_BACKSPACE, KMOD_NONE, 8}, {SDLK_DELETE, KMOD_NONE, 8},   {SDLK_RETURN, KMOD_NONE, 13},
              {SDLK_KP_ENTER, KMOD_NONE, 13}, {SDLK_ESCAPE, KMOD_NONE, 27},  {SDLK_TAB, KMOD_NONE, 9},
              {SDLK_LEFT, KMOD_NONE, 28},     {SDLK_RIGHT, KMOD_NONE, 29},   {SDLK_UP, KMOD_NONE, 30},
              {SDLK_DOWN, KMOD_NONE, 31},     {SDLK_a, KMOD_LCTRL, 1},       {SDLK_q, KMOD_LCTRL, 17},
              {SDLK_t, KMOD_RCTRL, 20},       {SDLK_z, KMOD_LCTRL | KMOD_SHIFT, 26},
              {SDLK_q, KMOD_LCTRL | KMOD_LALT, -1},
              {SDLK_F1, KMOD_NONE, 0},        {SDLK_HOME, KMOD_NONE, -1},    {SDLK_END, KMOD_NONE, -1},
              {SDLK_PAGEUP, KMOD_NONE, 30},   {SDLK_INSERT, KMOD_NONE, -1},  {SDLK_LSHIFT, KMOD_NONE, -1},
              {SDLK_KP_4, KMOD_NONE, 28},     {SDLK_KP_2, KMOD_NONE, 31},    {SDLK_KP_PERIOD, KMOD_NONE, 8},
              {SDLK_KP_4, KMOD_NUM, -1},      {SDLK_BACKSPACE, KMOD_LCTRL, 127},
              {SDLK_RETURN, KMOD_RCTRL, 10},  {SDLK_LEFTBRACKET, KMOD_LCTRL, 27},
              {SDLK_a, KMOD_NONE, -1},        {SDLK_1, KMOD_NONE, -1},       {SDLK_SPACE, KMOD_NONE, -1}};
  for (const auto& k : keys)
    EXPECT_EQ(MXPtranslate_sdl_key(k.sym, k.mod), k.code) << k.sym << " " << k.mod;
}

TEST(KeyTranslation, TextInputBecomesWindows1252Codes) {
  unsigned char codes[8];
  ASSERT_EQ(MXPtext_input_codes("a\xc3\xa9Z", codes, 8), 3);  // a é Z
  EXPECT_EQ(codes[0], 'a');
  EXPECT_EQ(codes[1], 0xe9);
  EXPECT_EQ(codes[2], 'Z');
  ASSERT_EQ(MXPtext_input_codes("\xe2\x82\xac", codes, 8), 1);  // the euro sign
  EXPECT_EQ(codes[0], 0x80);
  EXPECT_EQ(MXPtext_input_codes("\xe2\x98\x83\x01\xff", codes, 8), 0);  // snowman, control, junk
  EXPECT_EQ(MXPtext_input_codes("abcdef", codes, 2), 2);
  // Alt with a letter is no letter; AltGr (right Alt, or Control with Alt) types one.
  EXPECT_TRUE(MXPtext_withheld(KMOD_LALT));
  EXPECT_FALSE(MXPtext_withheld(KMOD_RALT));
  EXPECT_FALSE(MXPtext_withheld(KMOD_LALT | KMOD_LCTRL));
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

class Headless : public HeadlessScreen {
 protected:
  MXEvent next() {
    MXEvent e{};
    EXPECT_EQ(MXPnext_event(&e), 1);
    return e;
  }
};

TEST_F(Headless, FirstEventIsExposeThenIdleTicksOfTenMilliseconds) {
  EXPECT_TRUE(MXPvirtual_clock());
  EXPECT_EQ(next().type, MX_EXPOSE);
  const long t0 = MXPclock_ms();
  MXPstart_timer();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(next().type, MX_IDLE);
  EXPECT_EQ(MXPclock_ms() - t0, 50);
  EXPECT_EQ(MXPread_timer(), 50);
}

TEST_F(Headless, KeysCarryTheLastMousePosition) {
  next();  // expose
  MXPheadless_press(100, 200);
  MXPheadless_key('x');
  MXPheadless_move(7, 8);
  MXPheadless_key(13);
  MXPheadless_release(9, 10);
  const struct {
    int type, key, x, y;  // key -1: not checked
  } expected[] = {{MX_PRESS, -1, 100, 200}, {MX_KEY, 'x', 100, 200}, {MX_IDLE, -1, 7, 8}, {MX_KEY, 13, 7, 8},
                  {MX_RELEASE, -1, 9, 10}};
  for (const auto& want : expected) {
    const MXEvent e = next();
    EXPECT_EQ(e.type, want.type);
    EXPECT_TRUE(want.key < 0 || e.key == want.key) << e.key;
    EXPECT_EQ(e.mousex, want.x);
    EXPECT_EQ(e.mousey, want.y);
  }
  EXPECT_FALSE(MXPheadless_pending());
  const MXEvent e = next();
  EXPECT_EQ(e.type, MX_IDLE);
  EXPECT_EQ(e.mousex, 9);  // idle keeps the position too
}

TEST(Script, ParsesEveryCommandAndRejectsBadLinesWithTheirNumber) {
  const struct {
    const char* line;
    MXPScriptKind kind;
    int number, x, y;  // -1: not checked
    const char* text;  // nullptr: not checked
  } good[] = {{"  wait 250", SCRIPT_WAIT, 250, -1, -1, nullptr},
              {"click 12 -3", SCRIPT_CLICK, -1, 12, -3, nullptr},
              {"key ctrl-Q", SCRIPT_KEY, 17, -1, -1, nullptr},
              {"key escape", SCRIPT_KEY, 27, -1, -1, nullptr},
              {"key 200", SCRIPT_KEY, 200, -1, -1, nullptr},
              {"key a", SCRIPT_KEY, 'a', -1, -1, nullptr},
              {"key \xc3\xa9", SCRIPT_KEY, 0xe9, -1, -1, nullptr},
              {"type Hello,  world", SCRIPT_TYPE, -1, -1, -1, "Hello,  world"},
              {"type Gr\xc3\xbc\xc3\x9f" "e", SCRIPT_TYPE, -1, -1, -1, "Gr\xfc\xdf" "e"},  // UTF-8
              {"type Gr\xfc\xdf" "e", SCRIPT_TYPE, -1, -1, -1, "Gr\xfc\xdf" "e"},            // Latin-1 bytes
              {"screenshot out.png", SCRIPT_SCREENSHOT, -1, -1, -1, "out.png"},
              {"# a comment", SCRIPT_NOTHING, -1, -1, -1, nullptr},
              {"", SCRIPT_NOTHING, -1, -1, -1, nullptr},
              {"quit", SCRIPT_QUIT, -1, -1, -1, nullptr}, {"close", SCRIPT_CLOSE, -1, -1, -1, nullptr}};
  MXPScriptCommand c;
  std::string error;
  for (const auto& g : good) {
    ASSERT_TRUE(MXPparse_script_line(g.line, &c, &error)) << g.line << ": " << error;
    EXPECT_EQ(c.kind, g.kind) << g.line;
    EXPECT_TRUE(g.number < 0 || c.number == g.number) << g.line;
    EXPECT_TRUE(g.x < 0 || (c.x == g.x && c.y == g.y)) << g.line;
    EXPECT_TRUE(!g.text || c.text == g.text) << g.line;
  }
  for (const char* bad : {"jump 1 2", "click 1", "click 1 x", "move 1 99999", "wait -5", "key 256", "key home",
                          "quit now"})
    EXPECT_FALSE(MXPparse_script_line(bad, &c, &error)) << bad;
  std::vector<MXPScriptCommand> all;
  EXPECT_FALSE(MXPparse_script("wait 10\n\nclick 1 2\npress 3\n", &all, &error));
  EXPECT_EQ(error.rfind("line 4:", 0), 0u) << error;
}

[[noreturn]] void quit_by_throwing(int code) { throw code + 1000; }

TEST_F(Headless, ScriptRunsInOrderAndEndsThroughTheQuitRoutine) {
  MXPset_quit_handler(quit_by_throwing);
  const std::string png = ::testing::TempDir() + "platform_script_" + std::to_string(getpid()) + ".png";
  std::remove(png.c_str());
  std::string error;
  ASSERT_TRUE(MXPheadless_set_script(
      "wait 25\nclick 5 6\nkey return\ntype ab\nscreenshot " + png + "\nmove 1 2\n", &error))
      << error;
  EXPECT_EQ(next().type, MX_EXPOSE);
  const long t0 = MXPclock_ms();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(next().type, MX_IDLE);  // 25 ms: three ticks
  EXPECT_EQ(MXPclock_ms() - t0, 30);
  EXPECT_EQ(next().type, MX_PRESS);
  MXEvent e = next();
  EXPECT_EQ(e.type, MX_RELEASE);
  EXPECT_EQ(e.mousex, 5);
  EXPECT_EQ(next().key, 13);
  EXPECT_EQ(next().key, 'a');
  e = next();
  EXPECT_EQ(e.key, 'b');
  EXPECT_EQ(e.mousey, 6);
  e = next();  // the screenshot is taken on the way to the move
  EXPECT_EQ(e.type, MX_IDLE);
  EXPECT_EQ(e.mousex, 1);
  EXPECT_TRUE(std::ifstream(png).good());
  std::remove(png.c_str());
  try {
    next();
    FAIL() << "the used-up script did not end the program";
  } catch (int code) {
    EXPECT_EQ(code, 1000);
  }
  MXPset_quit_handler(nullptr);
}

TEST_F(Headless, QueuedEventsComeBeforeTheScript) {
  MXPset_quit_handler(quit_by_throwing);
  std::string error;
  ASSERT_TRUE(MXPheadless_set_script("key 1\nquit\n", &error));
  MXPheadless_key(2);
  EXPECT_EQ(next().type, MX_EXPOSE);
  EXPECT_EQ(next().key, 2);
  EXPECT_EQ(next().key, 1);
  EXPECT_THROW(next(), int);
  MXPset_quit_handler(nullptr);
}

TEST_F(Headless, FatalWaitTakesNoRealTimeAndBellsAndClicksAreCounted) {
  // The virtual clock makes the pause of a fatal exit instant.
  const long t0 = MXPclock_ms();
  MXdelay(2000);
  EXPECT_EQ(MXPclock_ms() - t0, 2000);
  MXbell();
  MXbell();
  MXclick();
  EXPECT_EQ(MXPheadless_bells(), 2);
  EXPECT_EQ(MXPheadless_clicks(), 1);
}

}  // namespace
