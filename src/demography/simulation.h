// The state behind the two display panes ("top" and "bottom"): each pane's country,
// its display record and its three simulation runs; starting runs and changing
// their targets. Everything these routines do on the screen goes through
// ScreenHooks, which the program fills; without it they work on the records alone.
#pragma once
#include <cstdint>
#include <cstdio>

#include "demography/country.h"
#include "demography/projection.h"

constexpr int VK_PANES = 2;
constexpr int VK_RUNS = 3;

// Per-pane display state (saved byte for byte, 172 bytes).
struct DisplayType {
  int32_t modify_flag;      // 1 while the pane is in direct rate editing
  int32_t reset_permit;     // the options item "p5" (reset) is offered
  int32_t modify_permit;    // a rate-editing item ("p3"/"p4") is offered; 0 at 2050
  int32_t scenario_permit;  // the options item "p2" is offered
  int32_t alt_permit;       // the options item "p1" is offered
  int32_t curr_sim;         // run shown (0..2); -1 while the pane holds no country
  int32_t bound;            // pyramid half-axis, percent of the total population
  int32_t maxpop;           // largest total reached by any run of the pane
  int32_t intuppop;         // top of the population graph's scale
  int32_t male[VK_GROUPS];  // shown run's groups at its current step
  int32_t female[VK_GROUPS];
};

extern int Cdisp;                                 // the pane being worked on
extern DisplayType Display[VK_PANES];             // all 0, curr_sim -1 at start
extern VKStatetype* VKState[VK_PANES][VK_RUNS];   // the runs of each pane
extern VKsaveyear_t* VKsaveyear[VK_PANES][VK_RUNS];  // their target-year edit buffers

// The screen side of the routines of this module, filled by the program once its
// interface is up. A null entry does nothing (or, for in_walkthru, means "no").
struct ScreenHooks {
  // init_sim_data: the pane's scenario buttons are usable again, then the
  // pyramid's copy of the run is refreshed (setup_bargraph, pane Cdisp).
  void (*enable_scenarios)(int pane);
  void (*setup_bargraph)();
  // startsim: in the pane window disable "unsimulate" and enable "simulate".
  void (*enable_simulate)(int pane);
  void (*update_display)(int pane);
  void (*redraw_all)();
  void (*help_message)(int number);  // numbered help message in window "message"
  // The user's alerts; the program also records which one is up (AlertNumber):
  // 1 the country-file alert ("ctyerror"), 2 the load alert ("loadalert1".."4").
  void (*alert)(int alert_number);
  void (*bell)();
  // Clears the field's rectangle and writes text 15 pixels below its top edge in
  // the large font and the field's colour.
  void (*show_field)(const char* field, const char* text);
  int (*in_walkthru)();
  void (*deactivate_function)(const char* name);
  void (*quit)(int code);
  // The interface-state block that follows the panes in a saved simulation: its
  // length in bytes for the interface as it is, writing it, checking a block
  // value by value (1 when sound), and applying a checked block.
  long (*state_block_size)();
  void (*save_state_block)(FILE* file);
  int (*check_state_block)(const unsigned char* block, size_t size);
  void (*apply_state_block)(const unsigned char* block);
  // After a load whose interface state was not applied: each pane's windows and
  // buttons as stepping to its loaded runs by hand leaves them.
  void (*settle_panes)();
  // Tells the user that saving to the named file failed.
  void (*save_failed)(const char* name);
};
extern ScreenHooks Screen;

// Allocates the six run records (stepcnt -1) and their six edit buffers; a failed
// allocation is fatal ("Unable to allocate space for simulation %d, %d\n").
// Calling it again keeps the records that exist.
void alloc_sim_records();
// Empties both panes: no country, no display state, every run unused (stepcnt -1).
// Allocates the run records first if needed.
void clear_panes();

// Fills time point 0 of run `run` of pane `pane` from the pane's country.
void init_sim_data(int pane, int run);
// Gives time point 0 of a run the country's year-2000 targets (the expected run).
void set_expected_targets(VKStatetype* record, const CountryInfo* country);
// Starts the next run of pane Cdisp; kind is 1990 (alternative) or 2000 (expected).
int startsim(int kind);

// Change the current run's targets at its current time point (pane Cdisp).
int changefert(int delta);
int changelifex(int delta);
int changemig(int delta);
// The migration target's step for a country and population (1000, 10 or 100).
int32_t mig_step(int32_t scale_factor, int32_t totpop);
// Changes a target year being edited; field is the field that shows it.
int changeyear(int delta, const VKStatetype* run, int32_t* year, const char* field);
