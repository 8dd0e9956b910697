// The SDL2 backend: one window whose drawable area shows the 640 x 480 screen,
// enlarged by a whole factor on a large desktop (every screen pixel becomes a
// square of factor x factor window pixels; mouse positions are divided back), the
// events of the left mouse button, mouse motion and keys, the 10 ms heartbeat,
// and a short beep through the audio device when there is one.
//
// The process sleeps in SDL_WaitEventTimeout between events, and the screen is
// shown only when something drew on it since the last time, so an idle program
// costs almost nothing.
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform_internal.h"
#include "platform/sdl_keys.h"

namespace {

SDL_Window* window = nullptr;
SDL_Surface* frame = nullptr;  // the screen in display colours, 640 x 480
int scale = 1;
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
  // Palette lookup once per present, then the whole screen in display colours.
  Uint32 lut[256];
  for (int i = 0; i < 256; ++i) {
    const MXPRgb c = MXPdisplay_color(i);
    lut[i] = SDL_MapRGB(frame->format, c.r, c.g, c.b);
  }
  SDL_LockSurface(frame);
  for (int y = 0; y < MXP_SCREEN_HEIGHT; ++y) {
    Uint32* out = reinterpret_cast<Uint32*>(static_cast<Uint8*>(frame->pixels) + y * frame->pitch);
    const uint8_t* in = MXPscreen[y];
    for (int x = 0; x < MXP_SCREEN_WIDTH; ++x) out[x] = lut[in[x]];
  }
  SDL_UnlockSurface(frame);
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (target == nullptr) return;
  if (scale == 1) {
    SDL_BlitSurface(frame, nullptr, target, nullptr);
  } else {
    SDL_Rect dst = {0, 0, MXP_SCREEN_WIDTH * scale, MXP_SCREEN_HEIGHT * scale};
    SDL_BlitScaled(frame, nullptr, target, &dst);  // nearest neighbour: crisp squares
  }
  SDL_UpdateWindowSurface(window);
  MXPscreen_dirty = false;
  must_present = false;
}

// While the button is held SDL keeps reporting the mouse outside the window (so
// that a release there is not lost); such positions are kept on the screen's edge.
void set_position(int wx, int wy) {
  const int x = std::clamp(wx < 0 ? 0 : wx / scale, 0, MXP_SCREEN_WIDTH - 1);
  const int y = std::clamp(wy < 0 ? 0 : wy / scale, 0, MXP_SCREEN_HEIGHT - 1);
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
      const int code = MXPtranslate_sdl_key(e.key.keysym.sym, e.key.keysym.mod);
      if (code >= 0) key_event(code);
      break;
    }
    case SDL_TEXTINPUT: {
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
  scale = choose_scale();
  window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            MXP_SCREEN_WIDTH * scale, MXP_SCREEN_HEIGHT * scale, SDL_WINDOW_SHOWN);
  frame = SDL_CreateRGBSurfaceWithFormat(0, MXP_SCREEN_WIDTH, MXP_SCREEN_HEIGHT, 32,
                                         SDL_PIXELFORMAT_XRGB8888);
  if (window == nullptr || frame == nullptr) {
    why = std::string("the window cannot be made (") + SDL_GetError() + ")";
    if (frame) SDL_FreeSurface(frame);
    if (window) SDL_DestroyWindow(window);
    frame = nullptr;
    window = nullptr;
    SDL_Quit();
    return why.c_str();
  }
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

void sdl_next_event() {
  if (MXPscreen_dirty || must_present) present();
  if (audio_running && SDL_GetQueuedAudioSize(audio) == 0) {
    SDL_PauseAudioDevice(audio, 1);  // nothing to play: let the audio thread rest
    audio_running = false;
  }
  if (!pending.empty()) {
    const MXEvent e = pending.front();
    pending.pop_front();
    gCurEvent.type = e.type;
    gCurEvent.key = e.key;
    return;
  }
  for (;;) {
    const Uint64 now = SDL_GetTicks64();
    if (now >= next_tick) {
      next_tick = now + 10;
      gCurEvent.type = MX_IDLE;
      return;
    }
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, static_cast<int>(next_tick - now))) {
      translate(e);
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

const MXPBackend MXPsdl_backend = {"SDL2 window", sdl_open, sdl_close, sdl_next_event, sdl_bell,
                                   sdl_click};
