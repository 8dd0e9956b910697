// Events: the key translation of the window, the headless queue and script, the
// virtual clock, the quit routine and the small services.
#include <SDL_keyboard.h>
#include <SDL_keycode.h>

#include <cstdio>
#include <fstream>

#include <unistd.h>

#include "base/clock.h"
#include "platform/sdl_keys.h"
#include "platform_test_support.h"

namespace {

TEST(KeyTranslation, SpecialKeysHaveTheirCodes) {
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_BACKSPACE, KMOD_NONE), 8);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_DELETE, KMOD_NONE), 8);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_RETURN, KMOD_NONE), 13);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_KP_ENTER, KMOD_NONE), 13);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_ESCAPE, KMOD_NONE), 27);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_TAB, KMOD_NONE), 9);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_LEFT, KMOD_NONE), 28);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_RIGHT, KMOD_NONE), 29);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_UP, KMOD_NONE), 30);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_DOWN, KMOD_NONE), 31);
}

TEST(KeyTranslation, ControlLettersGiveOneToTwentySix) {
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_a, KMOD_LCTRL), 1);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_q, KMOD_LCTRL), 17);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_t, KMOD_RCTRL), 20);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_z, KMOD_LCTRL | KMOD_SHIFT), 26);
  EXPECT_EQ(MXPtranslate_sdl_key(SDLK_q, KMOD_LCTRL | KMOD_LALT), -1);
}

TEST(KeyTranslation, OtherKeysGiveNoKeyEvent) {
  // Function and navigation keys are idle; printable keys come as text input.
  for (int sym : {SDLK_F1, SDLK_HOME, SDLK_END, SDLK_PAGEUP, SDLK_INSERT, SDLK_LSHIFT, SDLK_a,
                  SDLK_1, SDLK_SPACE})
    EXPECT_EQ(MXPtranslate_sdl_key(sym, KMOD_NONE), -1) << sym;
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
  MXEvent e = next();
  EXPECT_EQ(e.type, MX_PRESS);
  EXPECT_EQ(e.mousex, 100);
  EXPECT_EQ(e.mousey, 200);
  e = next();
  EXPECT_EQ(e.type, MX_KEY);
  EXPECT_EQ(e.key, 'x');
  EXPECT_EQ(e.mousex, 100);
  EXPECT_EQ(e.mousey, 200);
  e = next();
  EXPECT_EQ(e.type, MX_IDLE);
  EXPECT_EQ(e.mousex, 7);
  e = next();
  EXPECT_EQ(e.key, 13);
  EXPECT_EQ(e.mousey, 8);
  e = next();
  EXPECT_EQ(e.type, MX_RELEASE);
  EXPECT_EQ(e.mousex, 9);
  EXPECT_FALSE(MXPheadless_pending());
  e = next();
  EXPECT_EQ(e.type, MX_IDLE);
  EXPECT_EQ(e.mousex, 9);  // idle keeps the position too
}

TEST(Script, ParsesEveryCommand) {
  MXPScriptCommand c;
  std::string error;
  ASSERT_TRUE(MXPparse_script_line("  wait 250", &c, &error));
  EXPECT_EQ(c.kind, SCRIPT_WAIT);
  EXPECT_EQ(c.number, 250);
  ASSERT_TRUE(MXPparse_script_line("click 12 -3", &c, &error));
  EXPECT_EQ(c.kind, SCRIPT_CLICK);
  EXPECT_EQ(c.x, 12);
  EXPECT_EQ(c.y, -3);
  ASSERT_TRUE(MXPparse_script_line("key ctrl-Q", &c, &error));
  EXPECT_EQ(c.number, 17);
  ASSERT_TRUE(MXPparse_script_line("key escape", &c, &error));
  EXPECT_EQ(c.number, 27);
  ASSERT_TRUE(MXPparse_script_line("key 200", &c, &error));
  EXPECT_EQ(c.number, 200);
  ASSERT_TRUE(MXPparse_script_line("key a", &c, &error));
  EXPECT_EQ(c.number, 'a');
  ASSERT_TRUE(MXPparse_script_line("type Hello,  world", &c, &error));
  EXPECT_EQ(c.kind, SCRIPT_TYPE);
  EXPECT_EQ(c.text, "Hello,  world");
  ASSERT_TRUE(MXPparse_script_line("type Gr\xc3\xbc\xc3\x9f" "e", &c, &error));  // UTF-8
  EXPECT_EQ(c.text, "Gr\xfc\xdf" "e");
  ASSERT_TRUE(MXPparse_script_line("type Gr\xfc\xdf" "e", &c, &error));  // Latin-1 bytes
  EXPECT_EQ(c.text, "Gr\xfc\xdf" "e");
  ASSERT_TRUE(MXPparse_script_line("key \xc3\xa9", &c, &error));
  EXPECT_EQ(c.number, 0xe9);
  ASSERT_TRUE(MXPparse_script_line("screenshot out.png", &c, &error));
  EXPECT_EQ(c.text, "out.png");
  ASSERT_TRUE(MXPparse_script_line("# a comment", &c, &error));
  EXPECT_EQ(c.kind, SCRIPT_NOTHING);
  ASSERT_TRUE(MXPparse_script_line("", &c, &error));
  EXPECT_EQ(c.kind, SCRIPT_NOTHING);
  ASSERT_TRUE(MXPparse_script_line("quit", &c, &error));
  EXPECT_EQ(c.kind, SCRIPT_QUIT);
}

TEST(Script, RejectsBadLinesWithTheirNumber) {
  MXPScriptCommand c;
  std::string error;
  EXPECT_FALSE(MXPparse_script_line("jump 1 2", &c, &error));
  EXPECT_FALSE(MXPparse_script_line("click 1", &c, &error));
  EXPECT_FALSE(MXPparse_script_line("click 1 x", &c, &error));
  EXPECT_FALSE(MXPparse_script_line("move 1 99999", &c, &error));
  EXPECT_FALSE(MXPparse_script_line("wait -5", &c, &error));
  EXPECT_FALSE(MXPparse_script_line("key 256", &c, &error));
  EXPECT_FALSE(MXPparse_script_line("key home", &c, &error));
  EXPECT_FALSE(MXPparse_script_line("quit now", &c, &error));
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

TEST_F(Headless, FatalWaitTakesNoRealTime) {
  // The virtual clock makes the pause of a fatal exit instant.
  const long t0 = MXPclock_ms();
  MXdelay(2000);
  EXPECT_EQ(MXPclock_ms() - t0, 2000);
}

TEST_F(Headless, BellsAndClicksAreCounted) {
  MXbell();
  MXbell();
  MXclick();
  EXPECT_EQ(MXPheadless_bells(), 2);
  EXPECT_EQ(MXPheadless_clicks(), 1);
}

}  // namespace
