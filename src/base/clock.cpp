// The process clock in milliseconds: the steady clock of the machine, or a virtual
// clock that only moves when told to (headless runs and tests).
#include "base/clock.h"

#include <chrono>
#include <thread>

namespace {
bool virtual_on = false;
long virtual_now = 0;

long real_ms() {
  using namespace std::chrono;
  static const steady_clock::time_point start = steady_clock::now();
  return static_cast<long>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}
}  // namespace

long MXPclock_ms() { return virtual_on ? virtual_now : real_ms(); }

void MXdelay(long ms) {
  if (ms <= 0) return;
  if (virtual_on) {
    virtual_now += ms;
    return;
  }
  // Poll the clock until the time has passed; sleeping in short slices keeps the
  // wait exact to the millisecond without spinning a core.
  const long until = real_ms() + ms;
  for (long now = real_ms(); now < until; now = real_ms())
    std::this_thread::sleep_for(std::chrono::milliseconds(until - now > 5 ? 5 : 1));
}

void MXPuse_virtual_clock(bool on) {
  virtual_on = on;
  virtual_now = 0;
}

bool MXPvirtual_clock() { return virtual_on; }

void MXPadvance_clock(long ms) {
  if (virtual_on && ms > 0) virtual_now += ms;
}
