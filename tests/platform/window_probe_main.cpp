// A small program that opens the display as the real program does, draws a test
// picture and handles events for the given number of seconds (default 5), then
// closes. The window test runs it.
// Usage: platform_window_probe [SECONDS [events]]
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

int main(int argc, char** argv) {
  const long seconds = argc > 1 ? std::atol(argv[1]) : 5;
  MXPinit_system("Demovar");
  unsigned char rgb[48];
  for (int i = 0; i < 16; ++i) {
    rgb[3 * i] = static_cast<unsigned char>(i & 1 ? 63 : 0);
    rgb[3 * i + 1] = static_cast<unsigned char>(i & 2 ? 63 : 0);
    rgb[3 * i + 2] = static_cast<unsigned char>(i & 4 ? 63 : i * 4);
  }
  MXPinit_palette(rgb, 16);
  MXsetcolor(7);
  MXPfill_rect(0, 0, 640, 480);
  MXsetcolor(1);
  MXPframe_rect(0, 0, 640, 480);
  MXsetcolor(0);
  MXsetfont(LARGE);
  MXPdraw_string(20, 40, "Demovar window test");
  MXsetfont(SMALL);
  MXPdraw_string(20, 60, "640 x 480, sixteen colours, idle events every 10 ms");
  MXsetcolor(4);
  MXPfill_ellipse(300, 200, 120, 80);
  MXEvent e;
  const long end = MXPclock_ms() + seconds * 1000;
  // With a second argument "events", every event but the idle ticks without a
  // position change is printed, one line each: type key x y.
  const bool print = argc > 2;
  int lastx = -1, lasty = -1;
  while (MXPclock_ms() < end) {
    MXPnext_event(&e);
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
