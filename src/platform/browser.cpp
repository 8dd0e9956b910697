// The browser backend (built with Emscripten): the page's canvas shows the
// 640 x 480 screen, the page delivers the mouse and the keys, and WebAudio rings
// the bell. The page itself (src/platform/web/page.js) scales the canvas, turns
// browser keys into key codes, keeps the working folder in the browser's storage
// and offers files as downloads; this file is the thin C++ side of it.
//
// The event loop never returns, but a page must get control back to receive
// anything: the program is built with ASYNCIFY, and while it waits it unwinds to
// the browser on a promise that the next input event resolves, or with the
// heartbeat on the next 10 ms tick. At rest nothing runs at all.
//
// The test hook: a page opened with "#test" starts the program only when it is
// given a script in the headless format; the script then runs on the virtual
// clock exactly as under the headless backend, and each "screenshot NAME" keeps
// the canvas's picture under NAME for the test to compare.
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>

#include "base/clock.h"
#include "base/log.h"
#include "platform/platform_headless.h"
#include "platform/platform_internal.h"
#include "platform/text_codes.h"

namespace {

EM_JS(void, page_present, (const uint32_t* pixels), { Module.page.present(HEAPU8, pixels); });
// Fills out[4] (kind, key, x, y) and the text of a text event; 0 when none waits.
EM_JS(int, page_take_input, (int* out, char* text, int max), {
  const e = Module.page.takeInput();
  if (!e) return 0;
  for (let i = 0; i < 4; ++i) HEAP32[(out >> 2) + i] = e[i];
  stringToUTF8(e[4] || "", text, max);
  return 1;
});
// Resolves on the next input event, or after ms (never when ms < 0).
EM_ASYNC_JS(void, page_wait, (double ms), { await Module.page.wait(ms); });
EM_JS(void, page_bell, (), { Module.page.bell(); });
EM_JS(void, page_persist, (), { Module.page.persist(); });
EM_JS(void, page_ended, (const char* why), { Module.page.ended(UTF8ToString(why)); });
EM_JS(int, page_script_size, (), { return Module.page.testScript ? lengthBytesUTF8(Module.page.testScript) + 1 : 0; });
EM_JS(void, page_script_copy, (char* buffer, int max), { stringToUTF8(Module.page.testScript, buffer, max); });
EM_JS(int, page_offer, (const char* path), { return Module.page.offer(UTF8ToString(path)); });
// Resolves when the user has picked a file (copied into the working folder) or given up.
EM_ASYNC_JS(int, page_receive, (char* name, int size), {
  const picked = await Module.page.receive();
  if (!picked) return 0;
  stringToUTF8(picked, name, size);
  return 1;
});
EM_JS(void, page_checkpoint, (const char* name), { Module.page.checkpoint(UTF8ToString(name)); });

// The kinds of input the page sends.
enum { INPUT_MOVE = 0, INPUT_PRESS = 1, INPUT_RELEASE = 2, INPUT_KEY = 3, INPUT_TEXT = 4 };

uint32_t rgba[MXP_SCREEN_HEIGHT * MXP_SCREEN_WIDTH];
std::deque<MXEvent> pending;
double next_tick = 0;
bool replaying = false;  // the test hook's script drives the program
long replayed = 0;
std::string fatal_text;  // why the program ended, when a fatal entry ended it

// Palette to RGBA, only when something drew since the last time.
void present() {
  uint32_t lut[256];
  for (int i = 0; i < 256; ++i) {
    const MXPRgb c = MXPdisplay_color(i);
    lut[i] = 0xff000000u | uint32_t{c.b} << 16 | uint32_t{c.g} << 8 | c.r;
  }
  const uint8_t* in = &MXPscreen[0][0];
  for (int i = 0; i < MXP_SCREEN_WIDTH * MXP_SCREEN_HEIGHT; ++i) rgba[i] = lut[in[i]];
  page_present(rgba);
  MXPscreen_dirty = false;
}

void take_checkpoint(const char* name) {
  present();
  page_checkpoint(name);
}

MXEvent event_of(int type, int key) {
  MXEvent e = gCurEvent;
  e.type = static_cast<int8_t>(type);
  e.key = static_cast<int8_t>(key);
  e.time = MXPclock_ms();
  return e;
}

// Takes what the page has queued into pending; true when anything came.
bool take_input() {
  int in[4];
  char text[64];
  bool any = false;
  while (page_take_input(in, text, sizeof text)) {
    any = true;
    if (in[0] == INPUT_TEXT) {
      unsigned char codes[sizeof text];
      const int n = MXPtext_input_codes(text, codes, sizeof codes);
      for (int i = 0; i < n; ++i) pending.push_back(event_of(MX_KEY, codes[i]));
      continue;
    }
    if (in[0] == INPUT_KEY) {
      pending.push_back(event_of(MX_KEY, in[1]));
      continue;
    }
    MXEvent e = event_of(in[0] == INPUT_PRESS ? MX_PRESS : in[0] == INPUT_RELEASE ? MX_RELEASE : MX_IDLE, 0);
    e.mousex = static_cast<int16_t>(in[2]);
    e.mousey = static_cast<int16_t>(in[3]);
    pending.push_back(e);
  }
  return any;
}

void web_fatal(int code, const char* text);

const char* web_open(const char* title) {
  pending.clear();
  MXsetfatalhandler(web_fatal);
  if (const int size = page_script_size()) {
    std::string script(static_cast<size_t>(size), '\0');
    page_script_copy(script.data(), size);
    script.resize(static_cast<size_t>(size - 1));
    MXPheadless_backend.open(title);
    std::string error;
    if (!MXPheadless_set_script(script, &error)) return "the test script does not parse";
    MXPheadless_set_screenshot_taker(take_checkpoint);
    replaying = true;
    return nullptr;
  }
  // The first event is the expose that makes the program draw its screen.
  pending.push_back(event_of(MX_EXPOSE, 0));
  next_tick = emscripten_get_now() + 10;
  return nullptr;
}

void web_close() {
  if (MXPscreen_dirty) present();
  pending.clear();
  page_ended(fatal_text.c_str());
}

// A fatal entry (also Control-Q) ends the program at once, with its text under the
// screen: the waiting that lets a console user read it would only block the tab
// before the page could show that the program has ended.
void web_fatal(int code, const char* text) {
  fatal_text = text;
  closegraph();
  std::exit(code);
}

void web_next_event() {
  // The action of the last event is complete: new and changed files go to storage.
  page_persist();
  if (replaying) {
    // Now and then the page gets control, so that it stays alive during a long run.
    if (++replayed % 200 == 0) {
      if (MXPscreen_dirty) present();
      page_wait(0);
    }
    MXPheadless_backend.next_event();
    return;
  }
  if (MXPscreen_dirty) present();
  for (;;) {
    take_input();
    if (!pending.empty()) {
      const MXEvent e = pending.front();
      pending.pop_front();
      gCurEvent = e;
      return;
    }
    // A tick that is due comes at once, also the first after a rest.
    const double now = emscripten_get_now();
    if (MXPheartbeat && now >= next_tick) {
      next_tick = now + 10;
      gCurEvent.type = MX_IDLE;
      gCurEvent.time = MXPclock_ms();
      return;
    }
    page_wait(MXPheartbeat ? next_tick - now : -1);
  }
}

void web_bell() {
  if (!replaying) page_bell();
}

void web_click() {}

int web_offer_file(const char* path) { return page_offer(path); }
int web_receive_file(char* name, int size) { return replaying ? 0 : page_receive(name, size); }

}  // namespace

const MXPBackend MXPwindow_backend = {"browser page", web_open, web_close, web_next_event,
                                      web_bell, web_click, web_offer_file, web_receive_file};
