// The projection engine: a cohort-component projection from the base year (1990
// or 2020) to 60 years later in
// five-year steps, on single-year working arrays in integer arithmetic, with total
// fertility, life expectancy, infant mortality and migration moving one year at a
// time toward the targets the user set.
#pragma once
#include <cstdint>

#include "startup/filenames.h"

constexpr int VK_TIMEPOINTS = 13;  // B, B + 5, ..., B + 60 (B the base year)
constexpr int VK_GROUPS = 17;      // 0-4, ..., 75-79, 80+
constexpr int VK_BIRTHGROUPS = 9;  // mothers 10-14, ..., 50-54
constexpr int VK_DEATHRATES = 18;  // 0 infant (per million births), 1..17 the groups
constexpr int VK_SINGLE_YEARS = 85;  // ages 0..83, and 84 the open group 84+
constexpr int32_t VK_RATE_MAX = 999000;  // ceiling of every rate the engine sets
// The years of a run follow the base year of the data in use (Base_year): the
// first, the last, the year of the expected levels, and the last target year a
// year field may be raised from (one step below the last year).
inline int vk_first_year() { return Base_year; }
inline int vk_last_year() { return Base_year + 5 * (VK_TIMEPOINTS - 1); }
inline int vk_expected_year() { return Base_year + 10; }
inline int vk_year_raise_limit() { return Base_year + 56; }

// One simulation run; time point t is the year B + 5t.
struct VKStatetype {
  int32_t stepcnt;  // current time point; -1 when the record holds no run
  int32_t year;     // B + 5 * stepcnt between steps
  int32_t totpop[VK_TIMEPOINTS];
  int32_t tfr_targ_val[VK_TIMEPOINTS];      // hundredths
  int32_t tfr_targ_year[VK_TIMEPOINTS];
  int32_t lifex_targ_val[VK_TIMEPOINTS];    // hundredths of years
  int32_t lifex_targ_year[VK_TIMEPOINTS];
  int32_t infmort_targ_val[VK_TIMEPOINTS];  // per million births; -1 none
  int32_t infmort_targ_year[VK_TIMEPOINTS]; // -1 none
  int32_t mig_targ_val[VK_TIMEPOINTS];      // migrants per year, population units
  int32_t mig_targ_year[VK_TIMEPOINTS];
  int32_t male_pop[VK_TIMEPOINTS][VK_GROUPS];
  int32_t fem_pop[VK_TIMEPOINTS][VK_GROUPS];
  int32_t birthrate[VK_TIMEPOINTS][VK_BIRTHGROUPS];  // per million women per year
  int32_t deathrate[VK_TIMEPOINTS][VK_DEATHRATES];
  int32_t mig[VK_TIMEPOINTS];
};

// Target years being edited in the scenario windows, before they are confirmed.
struct VKsaveyear_t {
  int32_t tfr_targ_year[VK_TIMEPOINTS];
  int32_t lifex_targ_year[VK_TIMEPOINTS];
  int32_t infmort_targ_year[VK_TIMEPOINTS];
  int32_t mig_targ_year[VK_TIMEPOINTS];
};

// Migration age profile, per mille of the yearly migrants (males 450, females 550).
extern const int32_t Mmig[VK_GROUPS];
extern const int32_t Fmig[VK_GROUPS];

// Allocates the four working arrays (once); 0 when memory runs out.
int init_sim_arrays();

// Advances the record by one five-year step; the caller has already raised
// stepcnt. Uses the life_adjust of Country[Cdisp] and raises Display[Cdisp].maxpop.
void dosim(VKStatetype* record);

int get_TFR(const int32_t* rates);          // nine birth rates -> hundredths
int get_life_expect(const int32_t* rates);  // eighteen death rates -> hundredths
void set_to_tfr_target(int target, int32_t* rates);
void set_to_life_target(int target, int32_t* rates, int include_infant);

void calc_sim_tfr_variant(VKStatetype* record);
void calc_sim_life_variant(VKStatetype* record);
void calc_sim_mig_variant(VKStatetype* record);

// The steps of dosim, on the working arrays given (85 entries each).
void copypt(VKStatetype* record);
void setup_pop(const VKStatetype* record, int32_t* male, int32_t* fem);
void setup_brate(const VKStatetype* record, const int32_t* fem, int32_t* brate);
void setup_drate(const VKStatetype* record, const int32_t* male, const int32_t* fem, int32_t* drate);
void reconstruct_pop(VKStatetype* record, const int32_t* male, const int32_t* fem);

// Rates of the display bars, per thousand.
int32_t rebuild_birthrate(int bar, const VKStatetype* record, const int32_t* female, int t);
int32_t rebuild_deathrate(int bar, const VKStatetype* record, const int32_t* male, const int32_t* female,
                          int t);
