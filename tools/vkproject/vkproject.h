// The command-line projector: reads the program's configuration, country list and
// country databases, runs the program's own projection for one country or for
// every list entry, with targets set at chosen steps, and prints the results as a
// table, CSV or JSON, or saves the run as a simulation the program loads.
#pragma once
#include <cstdio>

// Runs one command line; results go to out, messages to err. Returns the exit
// status: 0 success, 1 a country that did not load or a fatal error of the data,
// 2 bad arguments or an unknown name.
int vkproject_main(int argc, char** argv, FILE* out, FILE* err);

// The usage text.
extern const char* const VKProjectUsage;
