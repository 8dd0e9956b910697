// The panes' records, the start of runs and the target changes of the scenario
// windows. The screen side goes through the ScreenHooks record.
#include "demography/simulation.h"

#include <cstdio>
#include <new>

#include "base/log.h"

int Cdisp = 0;
CountryInfo Country[VK_PANES];
DisplayType Display[VK_PANES] = {{0, 0, 0, 0, 0, -1, 0, 0, 0, {}, {}}, {0, 0, 0, 0, 0, -1, 0, 0, 0, {}, {}}};
VKStatetype* VKState[VK_PANES][VK_RUNS];
VKsaveyear_t* VKsaveyear[VK_PANES][VK_RUNS];
ScreenHooks Screen;

namespace {
constexpr int32_t kFertMin = 50, kFertMax = 990;
constexpr int32_t kLifeMin = 2000, kLifeMax = 9990;
constexpr int32_t kMigMin = -100000, kMigMax = 100000;

bool walkthru() { return Screen.in_walkthru && Screen.in_walkthru(); }

void show(const char* field, const char* text) {
  if (Screen.show_field) Screen.show_field(field, text);
}

// The run being driven in pane Cdisp, or null when the pane has none.
VKStatetype* current_run() {
  const int sim = Display[Cdisp].curr_sim;
  if (sim < 0 || sim >= VK_RUNS) return nullptr;
  VKStatetype* s = VKState[Cdisp][sim];
  if (!s || s->stepcnt < 0 || s->stepcnt >= VK_TIMEPOINTS) return nullptr;
  return s;
}

// Moves *value by step within [low, high]; a value pushed beyond a limit is held
// at the limit and the bell sounds.
void change_within(int32_t* value, int64_t step, int32_t low, int32_t high) {
  const int64_t v = int64_t{*value} + step;
  if (v < low || v > high) {
    *value = v < low ? low : high;
    if (Screen.bell) Screen.bell();
  } else {
    *value = static_cast<int32_t>(v);
  }
}
}  // namespace

void alloc_sim_records() {
  for (int pane = 0; pane < VK_PANES; ++pane)
    for (int run = 0; run < VK_RUNS; ++run) {
      if (VKState[pane][run]) continue;
      VKState[pane][run] = new (std::nothrow) VKStatetype();
      if (!VKState[pane][run]) MXelog(-1, "Unable to allocate space for simulation %d, %d\n", pane, run);
      VKState[pane][run]->stepcnt = -1;
    }
  for (int pane = 0; pane < VK_PANES; ++pane)
    for (int run = 0; run < VK_RUNS; ++run) {
      if (VKsaveyear[pane][run]) continue;
      VKsaveyear[pane][run] = new (std::nothrow) VKsaveyear_t();
      if (!VKsaveyear[pane][run]) MXelog(-1, "Unable to allocate space for simulation %d, %d\n", pane, run);
    }
}

void clear_panes() {
  alloc_sim_records();
  for (int pane = 0; pane < VK_PANES; ++pane) {
    Display[pane] = DisplayType{};
    Display[pane].curr_sim = -1;
    countryinit(&Country[pane]);
    Country[pane].country_name[0] = '\0';
    for (int run = 0; run < VK_RUNS; ++run) {
      *VKState[pane][run] = VKStatetype{};
      VKState[pane][run]->stepcnt = -1;
    }
  }
}

void init_sim_data(int pane, int run) {
  VKStatetype* R = VKState[pane][run];
  VKsaveyear_t* S = VKsaveyear[pane][run];
  const CountryInfo& K = Country[pane];
  R->stepcnt = 0;
  R->year = vk_first_year();
  R->totpop[0] = static_cast<int32_t>(int64_t{K.male_1990_pop[0]} + K.fem_1990_pop[0]);
  for (int g = 0; g < VK_GROUPS; ++g) {
    R->male_pop[0][g] = K.male_1990_pop[g + 1];
    R->fem_pop[0][g] = K.fem_1990_pop[g + 1];
  }
  int64_t births = 0;
  for (int i = 0; i < VK_BIRTHGROUPS; ++i) {
    R->birthrate[0][i] = K.tot_birthrate[i];
    births += K.tot_birthrate[i];
  }
  for (int i = 0; i < VK_DEATHRATES; ++i) R->deathrate[0][i] = K.tot_deathrate[i];
  R->mig[0] = K.mig;
  R->tfr_targ_val[0] = static_cast<int32_t>((5 * 100 * births + 500000) / 1000000);
  R->tfr_targ_year[0] = vk_first_year();
  R->lifex_targ_val[0] = K.life_expectancy;
  R->lifex_targ_year[0] = vk_first_year();
  R->infmort_targ_val[0] = -1;
  R->infmort_targ_year[0] = -1;
  R->mig_targ_val[0] = K.mig;
  R->mig_targ_year[0] = vk_first_year();
  if (S) {
    S->tfr_targ_year[0] = vk_first_year();
    S->lifex_targ_year[0] = vk_first_year();
    S->mig_targ_year[0] = vk_first_year();
  }
  if (Screen.enable_scenarios) Screen.enable_scenarios(pane);
  if (Screen.setup_bargraph) Screen.setup_bargraph();
}

void set_expected_targets(VKStatetype* R, const CountryInfo* K) {
  R->tfr_targ_val[0] = K->tot_fertility_2000;
  R->tfr_targ_year[0] = vk_expected_year();
  R->lifex_targ_val[0] = K->life_expect_2000;
  R->lifex_targ_year[0] = vk_expected_year();
  R->infmort_targ_val[0] = K->infant_deaths_2000;
  R->infmort_targ_year[0] = vk_expected_year();
}

int startsim(int kind) {
  DisplayType& D = Display[Cdisp];
  if (D.curr_sim >= VK_RUNS - 1) {
    MXelog(0, "ERROR - tried to init alt simulation #%d\n", VK_RUNS);
    return 0;
  }
  if (D.curr_sim < 0) return 0;  // the pane holds no country to start from
  D.curr_sim += 1;
  D.modify_permit = 1;
  if (D.curr_sim == VK_RUNS - 1) {
    D.scenario_permit = 0;
    D.alt_permit = 0;
  }
  if (Screen.enable_simulate) Screen.enable_simulate(Cdisp);
  init_sim_data(Cdisp, D.curr_sim);
  if (kind == vk_expected_year()) set_expected_targets(VKState[Cdisp][D.curr_sim], &Country[Cdisp]);
  if (Screen.update_display) Screen.update_display(Cdisp);
  if (!walkthru() && Screen.help_message) Screen.help_message(4);
  return 1;
}

int changefert(int delta) {
  VKStatetype* s = current_run();
  if (!s) return 0;
  int32_t& v = s->tfr_targ_val[s->stepcnt];
  change_within(&v, 10 * int64_t{delta}, kFertMin, kFertMax);
  char text[32];
  std::snprintf(text, sizeof text, "%3.1f", v / 100.0);
  show("SETFERT", text);
  return 1;
}

int changelifex(int delta) {
  VKStatetype* s = current_run();
  if (!s) return 0;
  int32_t& v = s->lifex_targ_val[s->stepcnt];
  change_within(&v, 10 * int64_t{delta}, kLifeMin, kLifeMax);
  char text[32];
  std::snprintf(text, sizeof text, "%3.1f", v / 100.0);
  show("SETLIFE", text);
  return 1;
}

int32_t mig_step(int32_t scale_factor, int32_t totpop) {
  if (scale_factor == 1) return 1000;
  return totpop < 1000000 ? 10 : 100;
}

int changemig(int delta) {
  VKStatetype* s = current_run();
  if (!s) return 0;
  const int t = s->stepcnt;
  const int32_t scale = Country[Cdisp].scale_factor;
  int32_t& v = s->mig_targ_val[t];
  change_within(&v, int64_t{delta} * mig_step(scale, s->totpop[t]), kMigMin, kMigMax);
  char text[32];
  std::snprintf(text, sizeof text, "%10ld", static_cast<long>(int64_t{v} * scale));
  show("SETMIG", text);
  return 1;
}

int changeyear(int delta, const VKStatetype* run, int32_t* year, const char* field) {
  if (!run || !year) return 0;
  if ((delta > 0 && *year < vk_year_raise_limit()) || (delta < 0 && *year > run->year)) {
    *year += delta;
  } else if (Screen.bell) {
    Screen.bell();
  }
  char text[32];
  std::snprintf(text, sizeof text, "%4d", static_cast<int>(*year));
  show(field, text);
  return 1;
}
