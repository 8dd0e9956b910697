// Opening and closing the display, the choice of backend (window or headless),
// event delivery, the quit routine, the stopwatch and the small services.
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "base/clock.h"
#include "base/log.h"
#include "platform/platform_headless.h"
#include "platform/platform_internal.h"

MXEvent gCurEvent = {MX_IDLE, 0, 0, 0};
bool MXPheartbeat = true;

namespace {
const MXPBackend* backend = nullptr;  // the open display, or none
bool headless_requested = false;
void (*quit_handler)(int) = nullptr;
void (*close_handler)() = nullptr;
void (*terminate_handler)() = nullptr;
volatile std::sig_atomic_t terminate_requested = 0;

extern "C" void note_termination(int) { terminate_requested = 1; }
long gStartTime = 0;
}  // namespace

void MXPuse_headless(bool on) { headless_requested = on; }

bool MXPheadless() {
  if (backend != nullptr) return backend == &MXPheadless_backend;
  const char* env = std::getenv("VARNOCK_PLATFORM");
  return headless_requested || (env != nullptr && std::strcmp(env, "headless") == 0);
}

void MXPinit_system(const char* title, void*, void*, const char*, int) {
  if (backend != nullptr) closegraph();
  MXsetclosedisplayhook(closegraph);
  MXPreset_screen_state();
  gCurEvent = {MX_IDLE, 0, 0, 0};
  MXPheartbeat = true;
  const MXPBackend* chosen = MXPheadless() ? &MXPheadless_backend : &MXPwindow_backend;
  MXPopen_fonts();
  if (const char* why = chosen->open(title != nullptr ? title : "")) {
    MXPclose_fonts();
    MXelog(-1, "Can't open the display: %s.\n", why);
  }
  backend = chosen;
}

void closegraph() {
  if (backend == nullptr) return;
  const MXPBackend* closing = backend;
  backend = nullptr;
  closing->close();
  MXPclose_fonts();
  MXPrelease_screen();
}

void MXPinit_events() {}
void MXPclose_events() {}
int mouse_present() { return 1; }
void set_mouse_position(int, int) {}
void MXPflush() {}

void MXPset_quit_handler(void (*quit)(int code)) { quit_handler = quit; }

void MXPquit_program() {
  if (quit_handler != nullptr) quit_handler(0);
  // No handler, or one that came back: close and leave.
  closegraph();
  std::exit(0);
}

void MXPset_close_handler(void (*close)()) { close_handler = close; }

void MXPclose_request() {
  if (close_handler == nullptr) MXPquit_program();
  close_handler();
}

bool MXPtermination_pending() { return terminate_requested != 0; }

void MXPset_terminate_handler(void (*terminate)()) {
  terminate_handler = terminate;
  terminate_requested = 0;
  struct sigaction action {};
  action.sa_handler = terminate ? note_termination : SIG_DFL;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // a file being written when the signal comes is not cut short
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

int MXPnext_event(MXEvent* event) {
  if (backend == nullptr) {
    // Nothing open: time still passes, so that timed callers do not spin forever.
    gCurEvent.type = MX_IDLE;
    MXPadvance_clock(10);
    gCurEvent.time = MXPclock_ms();
  } else {
    backend->next_event();
  }
  if (terminate_requested && terminate_handler != nullptr) {
    terminate_requested = 0;
    terminate_handler();
  }
  if (event != nullptr) *event = gCurEvent;
  return 1;
}

void MXPset_heartbeat(int on) { MXPheartbeat = on != 0; }

void MXPstart_timer() { gStartTime = MXPclock_ms(); }
long MXPread_timer() { return MXPclock_ms() - gStartTime; }

void MXbell() {
  if (backend != nullptr) backend->bell();
}
void MXclick() {
  if (backend != nullptr) backend->click();
}
int MXPoutside_files() { return backend != nullptr && backend->offer_file != nullptr; }
int MXPoffer_file(const char* path) { return MXPoutside_files() ? backend->offer_file(path) : 0; }
int MXPreceive_file(char* name, int size) {
  return MXPoutside_files() && size > 0 ? backend->receive_file(name, size) : 0;
}
int MXhasFPU() { return 1; }
long MXmemavail() { return 1048576; }
