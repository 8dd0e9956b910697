// The SDL2 backend: one window whose drawable area shows the 640 x 480 screen,
// the events of the left mouse button, mouse motion and keys, the 10 ms heartbeat,
// and a short beep through the audio device when there is one.
//
// The window can be resized, maximised and put in full screen; the screen is
// drawn centred on a dark border at the largest whole factor that fits, or in
// "fill" at the largest factor that fits, whole or not, always nearest-neighbour
// (MXPview_in). Two keys belong to the window and never reach the program: F11
// toggles full screen and F10 toggles fill. VARNOCK_SCALE=1..8 sets the starting
// size, VARNOCK_FULLSCREEN=1 starts in full screen and VARNOCK_FILL=1 in fill
// (the program's options --scale, --fullscreen and --fill set these).
//
// The process sleeps in SDL_WaitEventTimeout between events: with the heartbeat off
// (MXPset_heartbeat) until real input comes, else until the next tick; and the
// screen is shown only when something drew on it since the last time, so an idle
// program costs nothing.
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "base/clock.h"
#include "platform/platform_internal.h"
#include "platform/sdl_keys.h"

namespace {

SDL_Window* window = nullptr;
SDL_Surface* frame = nullptr;  // the screen in display colours at the view's size
MXPView view = {0, 0, MXP_SCREEN_WIDTH, MXP_SCREEN_HEIGHT};
bool fill = false;
bool fullscreen = false;
Uint64 next_tick = 0;
bool must_present = true;
std::deque<MXEvent> pending;  // the rest of a multi-character text input

SDL_AudioDeviceID audio = 0;
bool audio_running = false;

// The factor: the largest whole number with which the window takes at most 90% of
// the desktop in each direction; VARNOCK_SCALE (1 to 8) sets it by hand.
int choose_scale() {
  if (const char* env = std::getenv("VARNOCK_SCALE")) {
    const int k = std::atoi(env);
    if (k >= 1 && k <= 8) return k;
  }
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 1;
  const int kx = mode.w * 9 / 10 / MXP_SCREEN_WIDTH, ky = mode.h * 9 / 10 / MXP_SCREEN_HEIGHT;
  return std::max(1, std::min(kx, ky));
}

bool env_on(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
}

// The view follows the drawable area: after a resize, full screen or fill.
void place_picture() {
  int w = MXP_SCREEN_WIDTH, h = MXP_SCREEN_HEIGHT;
  SDL_GetWindowSize(window, &w, &h);
  view = MXPview_in(w, h, fill);
  must_present = true;
}

// F11 and F10, taken before the program's keys. Returns whether the key was one.
bool window_key(const SDL_KeyboardEvent& k) {
  if (k.keysym.sym != SDLK_F11 && k.keysym.sym != SDLK_F10) return false;
  if (k.repeat) return true;
  if (k.keysym.sym == SDLK_F11) {
    fullscreen = !fullscreen;
    SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  } else {
    fill = !fill;
  }
  place_picture();
  return true;
}

// Whether the machine can have a sound output at all: a sound card, a sound
// server's socket, or a driver chosen by hand. Without one, audio is not tried,
// which spares the sound libraries' complaints on machines without sound.
bool audio_possible() {
  if (std::getenv("SDL_AUDIODRIVER") != nullptr || access("/dev/snd", F_OK) == 0) return true;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
    const std::string dir = runtime;
    return access((dir + "/pulse/native").c_str(), F_OK) == 0 ||
           access((dir + "/pipewire-0").c_str(), F_OK) == 0;
  }
  return false;
}

void open_audio() {
  if (!audio_possible()) return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;  // no audio: the bell is silent
  SDL_AudioSpec want{}, have{};
  want.freq = 22050;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 512;
  audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (audio == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void present() {
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (target == nullptr) return;
  if (frame == nullptr || frame->w != view.w || frame->h != view.h) {
    if (frame) SDL_FreeSurface(frame);
    frame = SDL_CreateRGBSurfaceWithFormat(0, view.w, view.h, 32, SDL_PIXELFORMAT_XRGB8888);
    if (frame == nullptr) return;
  }
  // Palette lookup once per present; every window pixel takes the colour of the
  // screen pixel that the mouse maps it back to (MXPview_to_screen), and a row
  // that shows the same screen row as the one above is a copy of it.
  Uint32 lut[256];
  for (int i = 0; i < 256; ++i) {
    const MXPRgb c = MXPdisplay_color(i);
    lut[i] = SDL_MapRGB(frame->format, c.r, c.g, c.b);
  }
  std::vector<int> column(static_cast<size_t>(view.w));
  int x0 = 0, row = 0;  // the mapping gives both; the column loop wants x, the row loop y
  for (int x = 0; x < view.w; ++x) MXPview_to_screen(view, view.x + x, view.y, &column[static_cast<size_t>(x)], &row);
  SDL_LockSurface(frame);
  Uint32* above = nullptr;
  for (int y = 0, last = -1; y < view.h; ++y) {
    Uint32* out = reinterpret_cast<Uint32*>(static_cast<Uint8*>(frame->pixels) + y * frame->pitch);
    MXPview_to_screen(view, view.x, view.y + y, &x0, &row);
    if (row == last) {
      std::memcpy(out, above, static_cast<size_t>(view.w) * sizeof(Uint32));
    } else {
      const uint8_t* in = MXPscreen[row];
      for (int x = 0; x < view.w; ++x) out[x] = lut[in[column[static_cast<size_t>(x)]]];
    }
    above = out;
    last = row;
  }
  SDL_UnlockSurface(frame);
  SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 24, 24, 24));  // the border
  SDL_Rect dst = {view.x, view.y, view.w, view.h};
  SDL_BlitSurface(frame, nullptr, target, &dst);
  SDL_UpdateWindowSurface(window);
  MXPscreen_dirty = false;
  must_present = false;
}

// While the button is held SDL keeps reporting the mouse outside the window (so
// that a release there is not lost); such positions are kept on the screen's edge.
void set_position(int wx, int wy) {
  int x = 0, y = 0;
  MXPview_to_screen(view, wx, wy, &x, &y);
  gCurEvent.mousex = static_cast<int16_t>(x);
  gCurEvent.mousey = static_cast<int16_t>(y);
}

void key_event(int code) {
  gCurEvent.type = MX_KEY;
  gCurEvent.key = static_cast<int8_t>(code);
}

// Fills gCurEvent from one SDL event; every event gives one.
void translate(const SDL_Event& e) {
  gCurEvent.type = MX_IDLE;
  // SDL stamps each event when it arrives; the age goes back from the clock.
  gCurEvent.time = MXPclock_ms() - static_cast<long>(SDL_GetTicks() - e.common.timestamp);
  switch (e.type) {
    case SDL_QUIT:
      // The close button of the only window (SDL reports it as a window close
      // followed by this; only this one counts). The program asks before ending.
      MXPclose_request();
      break;
    case SDL_WINDOWEVENT:
      // The screen is kept here, so a window uncovered needs no redraw by the
      // program, only showing again.
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
          e.window.event == SDL_WINDOWEVENT_RESTORED)
        must_present = true;
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) place_picture();
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_LEFT) break;
      gCurEvent.type = e.type == SDL_MOUSEBUTTONDOWN ? MX_PRESS : MX_RELEASE;
      set_position(e.button.x, e.button.y);
      break;
    case SDL_MOUSEMOTION:
      set_position(e.motion.x, e.motion.y);
      break;
    case SDL_KEYDOWN: {
      if (window_key(e.key)) break;
      const int code = MXPtranslate_sdl_key(e.key.keysym.sym, e.key.keysym.mod);
      if (code >= 0) key_event(code);
      break;
    }
    case SDL_TEXTINPUT: {
      if (MXPtext_withheld(SDL_GetModState())) break;
      unsigned char codes[sizeof e.text.text];
      const int n = MXPtext_input_codes(e.text.text, codes, static_cast<int>(sizeof codes));
      for (int i = 0; i < n; ++i) {
        MXEvent k = gCurEvent;
        k.type = MX_KEY;
        k.key = static_cast<int8_t>(codes[i]);
        if (i == 0) key_event(codes[0]);
        else pending.push_back(k);
      }
      break;
    }
    default:
      break;
  }
}

const char* sdl_open(const char* title) {
  static std::string why;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    why = std::string("no window system (") + SDL_GetError() +
          "); VARNOCK_PLATFORM=headless runs without a window";
    return why.c_str();
  }
  // Without a display SDL falls back to drivers that show nothing; a program
  // nobody can see must not start unless such a driver was asked for.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (std::getenv("SDL_VIDEODRIVER") == nullptr && driver != nullptr &&
      (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
    SDL_Quit();
    return "no display to open a window on (is DISPLAY set?); VARNOCK_PLATFORM=headless "
           "runs without a window";
  }
  const int scale = choose_scale();
  fill = env_on("VARNOCK_FILL");
  fullscreen = env_on("VARNOCK_FULLSCREEN");
  window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            MXP_SCREEN_WIDTH * scale, MXP_SCREEN_HEIGHT * scale,
                            SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE |
                                (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
  if (window == nullptr) {
    why = std::string("the window cannot be made (") + SDL_GetError() + ")";
    SDL_Quit();
    return why.c_str();
  }
  SDL_SetWindowMinimumSize(window, MXP_SCREEN_WIDTH, MXP_SCREEN_HEIGHT);
  place_picture();
  SDL_StartTextInput();
  open_audio();
  pending.clear();
  must_present = true;
  // The first event is the expose that makes the program draw its screen.
  MXEvent expose = {MX_EXPOSE, 0, 0, 0};
  pending.push_back(expose);
  next_tick = SDL_GetTicks64() + 10;
  return nullptr;
}

void sdl_close() {
  if (audio != 0) SDL_CloseAudioDevice(audio);
  audio = 0;
  audio_running = false;
  if (frame) SDL_FreeSurface(frame);
  if (window) SDL_DestroyWindow(window);
  frame = nullptr;
  window = nullptr;
  pending.clear();
  SDL_Quit();
}

void rest_audio() {
  if (audio_running && SDL_GetQueuedAudioSize(audio) == 0) {
    SDL_PauseAudioDevice(audio, 1);  // nothing to play: let the audio thread rest
    audio_running = false;
  }
}

void sdl_next_event() {
  if (MXPscreen_dirty || must_present) present();
  rest_audio();
  if (!pending.empty()) {
    const MXEvent e = pending.front();
    pending.pop_front();
    gCurEvent.type = e.type;
    gCurEvent.key = e.key;
    gCurEvent.time = e.time;
    return;
  }
  for (;;) {
    // A tick that is due comes at once, also the first after a rest.
    const Uint64 now = SDL_GetTicks64();
    if (MXPheartbeat && now >= next_tick) {
      next_tick = now + 10;
      gCurEvent.type = MX_IDLE;
      gCurEvent.time = MXPclock_ms();
      return;
    }
    // Without the heartbeat, sleep until input comes; a bell still sounding is
    // looked at now and then, so that its device can rest when it is done.
    // A signal does not end SDL's wait, so the sleep is cut into slices of two
    // seconds to notice logging out or shutting down in time (the session is then
    // saved well before a shutdown gives up waiting) at no measurable cost.
    int timeout = MXPheartbeat ? static_cast<int>(next_tick - now) : 2000;
    if (audio_running) timeout = std::min(timeout, 100);
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, timeout)) {
      translate(e);
      return;
    }
    rest_audio();
    if (MXPtermination_pending()) {
      gCurEvent.type = MX_IDLE;
      gCurEvent.time = MXPclock_ms();
      return;
    }
  }
}

// A 90 ms tone of 880 Hz with soft edges, queued without waiting; a bell that
// comes while one still sounds is dropped.
void sdl_bell() {
  if (audio == 0 || SDL_GetQueuedAudioSize(audio) > 0) return;
  constexpr int kRate = 22050, kSamples = kRate * 90 / 1000, kEdge = kRate * 5 / 1000;
  std::vector<Sint16> tone(kSamples);
  for (int i = 0; i < kSamples; ++i) {
    const double edge = std::min({1.0, static_cast<double>(i) / kEdge,
                                  static_cast<double>(kSamples - 1 - i) / kEdge});
    tone[static_cast<size_t>(i)] =
        static_cast<Sint16>(8000.0 * edge * std::sin(2 * M_PI * 880.0 * i / kRate));
  }
  if (SDL_QueueAudio(audio, tone.data(), static_cast<Uint32>(tone.size() * sizeof(Sint16))) == 0) {
    SDL_PauseAudioDevice(audio, 0);
    audio_running = true;
  }
}

void sdl_click() {}

}  // namespace

MXPView MXPview_in(int w, int h, bool fill) {
  MXPView v;
  if (fill) {
    // As wide as the area if that leaves the height within it, else as high.
    const bool by_width = int64_t{w} * MXP_SCREEN_HEIGHT <= int64_t{h} * MXP_SCREEN_WIDTH;
    v.w = by_width ? w : static_cast<int>(int64_t{h} * MXP_SCREEN_WIDTH / MXP_SCREEN_HEIGHT);
    v.h = by_width ? static_cast<int>(int64_t{w} * MXP_SCREEN_HEIGHT / MXP_SCREEN_WIDTH) : h;
  } else {
    const int k = std::max(1, std::min(w / MXP_SCREEN_WIDTH, h / MXP_SCREEN_HEIGHT));
    v.w = MXP_SCREEN_WIDTH * k;
    v.h = MXP_SCREEN_HEIGHT * k;
  }
  v.w = std::max(v.w, 1);
  v.h = std::max(v.h, 1);
  v.x = (w - v.w) / 2;
  v.y = (h - v.h) / 2;
  return v;
}

void MXPview_to_screen(const MXPView& view, int wx, int wy, int* x, int* y) {
  const int64_t dx = std::max(wx - view.x, 0), dy = std::max(wy - view.y, 0);
  *x = static_cast<int>(std::min<int64_t>(dx * MXP_SCREEN_WIDTH / view.w, MXP_SCREEN_WIDTH - 1));
  *y = static_cast<int>(std::min<int64_t>(dy * MXP_SCREEN_HEIGHT / view.h, MXP_SCREEN_HEIGHT - 1));
}

const MXPBackend MXPwindow_backend = {"SDL2 window", sdl_open, sdl_close, sdl_next_event, sdl_bell,
                                   sdl_click, nullptr, nullptr};
