// The program's start-up: the steps from an empty Home prefix to the first screen,
// and the hand-over to the event loop.
#pragma once

// Runs start-up up to the event loop: file names, configuration, the maps, the
// interface, the logs, the country list, the simulation records and the first
// screen. Every failure is fatal.
void varnock_startup();

// Runs the event loop; never returns (the program ends through quit, the window's
// close request or a fatal log entry).
[[noreturn]] void varnock_run();
