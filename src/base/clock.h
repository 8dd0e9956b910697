// The process clock in milliseconds, real or virtual. The headless platform and the
// tests install a virtual clock so that timed behaviour is deterministic and waits
// (such as the 2000 ms pause before a fatal exit) take no real time.
#pragma once

// Milliseconds since an arbitrary start (monotonic).
long MXPclock_ms();

// Waits ms milliseconds; with the virtual clock it advances the clock instead.
// No events are handled meanwhile.
void MXdelay(long ms);

// Switches to the virtual clock (starting at 0) or back to the real one.
void MXPuse_virtual_clock(bool on);
bool MXPvirtual_clock();
// Moves the virtual clock forward by ms (no effect on the real clock).
void MXPadvance_clock(long ms);
