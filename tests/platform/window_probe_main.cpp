// A small program that opens the display as the real program does, draws a test
// picture and handles events for the given number of seconds (default 5), or until
// the key "!" arrives, then closes. The window test runs it; ending on a key keeps
// a slow, loaded machine from closing the window before the test's input is sent.
// Usage: platform_window_probe [SECONDS [events]]
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

int main(int argc, char** argv) {
  const long seconds = argc > 1 ? std::atol(argv[1]) : 5;
  MXPinit_system("Demovar");
  unsigned char rgb[48];
  for (int i = 0; i < 48; ++i) rgb[i] = static_cast<unsigned char>(i / 3 * 4);  // a grey ramp
  MXPinit_palette(rgb, 16);
  MXsetcolor(12);
  MXPfill_rect(0, 0, 640, 480);
  MXsetcolor(0);
  MXsetfont(LARGE);
  MXPdraw_string(20, 40, "Demovar window test");
  MXEvent e;
  const long end = MXPclock_ms() + seconds * 1000;
  // With a second argument "events", every event but the idle ticks without a
  // position change (and the closing "!") is printed, one line each: type key x y.
  const bool print = argc > 2;
  int lastx = -1, lasty = -1;
  while (MXPclock_ms() < end) {
    MXPnext_event(&e);
    if (e.type == MX_KEY && e.key == '!') break;
    if (print && (e.type != MX_IDLE || e.mousex != lastx || e.mousey != lasty)) {
      std::printf("event %d %d %d %d\n", e.type, e.key, e.mousex, e.mousey);
      std::fflush(stdout);
    }
    lastx = e.mousex;
    lasty = e.mousey;
  }
  closegraph();
  return 0;
}
