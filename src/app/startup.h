// The program's start-up: the steps from the command line to the first screen,
// and the hand-over to the event loop.
#pragma once

// Reads the command line: --fullscreen, --fill, --scale N (the window's start),
// --data DIR, a saved simulation to open, --help and --version (print and end
// with code 0). A bad option value prints why and the options and ends with code
// 2; other words are ignored with a note on standard error. Then settles where
// the program reads and writes (startup/places.h); when it cannot, says why and
// ends with code 1.
void varnock_options(int argc, char** argv);

// Runs start-up up to the event loop: file names, configuration, the maps, the
// interface, the logs, the country list, the simulation records and the first
// screen. Every failure is fatal.
void varnock_startup();

// Writes the usage text of the original option set to standard output, waits
// 2000 ms and ends the program with code 0. Start-up does not call it: no option
// is interpreted.
[[noreturn]] void printusage();

// Runs the event loop; never returns (the program ends through quit, the window's
// close request or a fatal log entry).
[[noreturn]] void varnock_run();
