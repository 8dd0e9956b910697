// Saved simulations ("vk_000.sav", "vk_tut.sav", "vk_walk.sav", "vk_wt.ini"): both
// panes' display records, countries and runs, then the interface-state block. The
// layout is fixed byte by byte, little-endian, 32-bit integers, no header:
//   0 Display 0 (172) | 172 Country 0 (346) | 518, 4218, 7918 runs 0..2 (3700 each)
//   11618 Display 1 | 11790 Country 1 | 12136, 15836, 19536 runs | 23236 interface.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "demography/simulation.h"

constexpr size_t SAVE_DISPLAY_SIZE = 172;
constexpr size_t SAVE_COUNTRY_SIZE = 346;
constexpr size_t SAVE_RUN_SIZE = 3700;
constexpr size_t SAVE_PANE_SIZE = SAVE_DISPLAY_SIZE + SAVE_COUNTRY_SIZE + VK_RUNS * SAVE_RUN_SIZE;  // 11618
constexpr size_t SAVE_PANES_SIZE = VK_PANES * SAVE_PANE_SIZE;                                     // 23236

extern const char* const SaveFile;  // "vk_000.sav"
// The simulation load_simulation opens: SaveFile, or one named on the command line.
extern std::string LoadAtStart;

// One block in its saved form, and back (no checks).
void encode_display(const DisplayType& d, unsigned char* out);
void encode_country(const CountryInfo& c, unsigned char* out);
void encode_run(const VKStatetype& s, unsigned char* out);
void decode_display(const unsigned char* in, DisplayType* d);
void decode_country(const unsigned char* in, CountryInfo* c);
void decode_run(const unsigned char* in, VKStatetype* s);

// The saved form of both panes (SAVE_PANES_SIZE bytes).
void encode_panes(unsigned char* out);

// The decoded state of both panes, as a load would apply it.
struct SavedPanes {
  DisplayType display[VK_PANES];
  CountryInfo country[VK_PANES];
  VKStatetype run[VK_PANES][VK_RUNS];
  int32_t base_year;  // of the runs (first year of each); 0 when no pane holds one
};
// Decodes and checks the panes part of a saved file. Returns null when it is
// sound, else a short reason (indexes, years and counts out of range, runs of
// different base years or of a starting point not offered).
const char* decode_panes(const unsigned char* in, size_t size, SavedPanes* out);

// A saved simulation read and checked whole: the panes, and the interface-state
// block with whether it fits the interface that is up (checked value by value).
struct SavedFile {
  SavedPanes panes;
  std::vector<unsigned char> block;
  bool block_fits = false;
};
// Reads and checks a saved simulation without applying anything. Returns null when
// it can be loaded, else a short reason ("cannot be opened" when it cannot).
const char* read_saved_simulation(const char* name, SavedFile* out);

// Writes data to name through a temporary file in the same directory that replaces
// name only when everything is written and synced. 1 on success, 0 otherwise (name
// then keeps its previous content).
int write_file_atomically(const char* name, const unsigned char* data, size_t size);
// The file layer's write (std::fwrite); tests replace it to make writes fail.
extern size_t (*SaveFileWrite)(const void* data, size_t size, size_t count, FILE* file);

// Writes both panes and the interface state to name, through a temporary file in
// the same directory that replaces name only when everything was written.
// 1 on success, 0 on any failure (name then keeps its previous content).
int savenamedfile(const char* name);
// Loads a saved simulation whole or not at all: the file is checked first (size,
// indexes, years, counts, and the interface block's values when it fits the
// interface that is up) and nothing changes unless it is sound. A block of another
// length (an older interface, or none as vkproject writes) is ignored with a note
// in the error log, and the screen follows the loaded runs (settle_panes).
// 1 when loaded, 0 otherwise.
int loadnamedfile(const char* name);

// Command routines.
int save_simulation();
// Saves to "vk_tut.sav" and ends the program; a failed save is reported
// (save_failed) and the program goes on.
int save_tutor();
int load_simulation();
