// Saving and loading simulations. Blocks are written and read field by field in
// little-endian order, so the files are the same on every host. A save goes to a
// temporary file that replaces the old one only when complete; a load checks the
// whole file before it changes anything.
#include "demography/saved_simulation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "startup/filenames.h"

const char* const SaveFile = "vk_000.sav";

namespace {
// Sequential little-endian writer and reader over a byte block. Both take the same
// calls, so each record's layout below is written once and serves both directions.
struct Out {
  unsigned char* p;
  void operator()(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    p[0] = static_cast<unsigned char>(u);
    p[1] = static_cast<unsigned char>(u >> 8);
    p[2] = static_cast<unsigned char>(u >> 16);
    p[3] = static_cast<unsigned char>(u >> 24);
    p += 4;
  }
  void operator()(const int32_t* v, int n) {
    for (int i = 0; i < n; ++i) (*this)(v[i]);
  }
  // A text: its characters up to the NUL, the rest of the field zero.
  void operator()(const char* s, size_t size) {
    const size_t n = strnlen(s, size - 1);
    std::memcpy(p, s, n);
    std::memset(p + n, 0, size - n);
    p += size;
  }
};

struct In {
  const unsigned char* p;
  void operator()(int32_t& v) {
    const uint32_t u = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    p += 4;
    v = static_cast<int32_t>(u);
  }
  void operator()(int32_t* v, int n) {
    for (int i = 0; i < n; ++i) (*this)(v[i]);
  }
  void operator()(char* s, size_t size) {
    std::memcpy(s, p, size);
    s[size - 1] = '\0';
    p += size;
  }
};

// The saved layouts, field by field (R is the record, const when writing).
template <class Io, class R>
void display_layout(Io& io, R& d) {
  io(d.modify_flag);
  io(d.reset_permit);
  io(d.modify_permit);
  io(d.scenario_permit);
  io(d.alt_permit);
  io(d.curr_sim);
  io(d.bound);
  io(d.maxpop);
  io(d.intuppop);
  io(d.male, VK_GROUPS);
  io(d.female, VK_GROUPS);
}

template <class Io, class R>
void country_layout(Io& io, R& c) {
  io(c.country_name, sizeof c.country_name);
  io(c.title, sizeof c.title);
  io(c.scale_factor);
  io(c.life_adjust);
  io(c.life_expectancy);
  io(c.tot_fertility_rate);
  io(c.life_expect_2000);
  io(c.tot_fertility_2000);
  io(c.infant_deaths_2000);
  io(c.male_1990_pop, 18);
  io(c.fem_1990_pop, 18);
  io(c.tot_birthrate, 9);
  io(c.tot_deathrate, 18);
  io(c.mig);
}

template <class Io, class R>
void run_layout(Io& io, R& s) {
  io(s.stepcnt);
  io(s.year);
  io(s.totpop, VK_TIMEPOINTS);
  io(s.tfr_targ_val, VK_TIMEPOINTS);
  io(s.tfr_targ_year, VK_TIMEPOINTS);
  io(s.lifex_targ_val, VK_TIMEPOINTS);
  io(s.lifex_targ_year, VK_TIMEPOINTS);
  io(s.infmort_targ_val, VK_TIMEPOINTS);
  io(s.infmort_targ_year, VK_TIMEPOINTS);
  io(s.mig_targ_val, VK_TIMEPOINTS);
  io(s.mig_targ_year, VK_TIMEPOINTS);
  for (int t = 0; t < VK_TIMEPOINTS; ++t) io(s.male_pop[t], VK_GROUPS);
  for (int t = 0; t < VK_TIMEPOINTS; ++t) io(s.fem_pop[t], VK_GROUPS);
  for (int t = 0; t < VK_TIMEPOINTS; ++t) io(s.birthrate[t], VK_BIRTHGROUPS);
  for (int t = 0; t < VK_TIMEPOINTS; ++t) io(s.deathrate[t], VK_DEATHRATES);
  io(s.mig, VK_TIMEPOINTS);
}

bool has_nul(const unsigned char* p, size_t size) { return std::memchr(p, 0, size) != nullptr; }

bool all_nonnegative(const int32_t* v, int n) {
  for (int i = 0; i < n; ++i)
    if (v[i] < 0) return false;
  return true;
}

bool walkthru() { return Screen.in_walkthru && Screen.in_walkthru(); }

// The directory part of a path, with its separator ("" for the working directory).
std::string directory_of(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
}  // namespace

void encode_display(const DisplayType& d, unsigned char* out) {
  Out o{out};
  display_layout(o, d);
}

void decode_display(const unsigned char* in, DisplayType* d) {
  In i{in};
  display_layout(i, *d);
}

void encode_country(const CountryInfo& c, unsigned char* out) {
  Out o{out};
  country_layout(o, c);
}

void decode_country(const unsigned char* in, CountryInfo* c) {
  In i{in};
  country_layout(i, *c);
}

void encode_run(const VKStatetype& s, unsigned char* out) {
  Out o{out};
  run_layout(o, s);
}

void decode_run(const unsigned char* in, VKStatetype* s) {
  In i{in};
  run_layout(i, *s);
}

void encode_panes(unsigned char* out) {
  static VKStatetype empty_run = [] {
    VKStatetype s{};
    s.stepcnt = -1;
    return s;
  }();
  for (int pane = 0; pane < VK_PANES; ++pane) {
    unsigned char* p = out + pane * SAVE_PANE_SIZE;
    encode_display(Display[pane], p);
    encode_country(Country[pane], p + SAVE_DISPLAY_SIZE);
    for (int run = 0; run < VK_RUNS; ++run) {
      const VKStatetype* s = VKState[pane][run] ? VKState[pane][run] : &empty_run;
      encode_run(*s, p + SAVE_DISPLAY_SIZE + SAVE_COUNTRY_SIZE + run * SAVE_RUN_SIZE);
    }
  }
}

const char* decode_panes(const unsigned char* in, size_t size, SavedPanes* out) {
  if (size < SAVE_PANES_SIZE) return "file too short";
  for (int pane = 0; pane < VK_PANES; ++pane) {
    const unsigned char* p = in + pane * SAVE_PANE_SIZE;
    DisplayType& d = out->display[pane];
    CountryInfo& c = out->country[pane];
    decode_display(p, &d);
    const unsigned char* cp = p + SAVE_DISPLAY_SIZE;
    if (!has_nul(cp, sizeof c.country_name) || !has_nul(cp + sizeof c.country_name, sizeof c.title))
      return "country name not terminated";
    decode_country(cp, &c);
    if (d.curr_sim < -1 || d.curr_sim >= VK_RUNS) return "shown run out of range";
    if (d.bound < 0 || d.maxpop < 0 || d.intuppop < 0 || !all_nonnegative(d.male, VK_GROUPS) ||
        !all_nonnegative(d.female, VK_GROUPS))
      return "negative display count";
    for (int run = 0; run < VK_RUNS; ++run) {
      VKStatetype& s = out->run[pane][run];
      decode_run(cp + SAVE_COUNTRY_SIZE + run * SAVE_RUN_SIZE, &s);
      if (s.stepcnt < -1 || s.stepcnt >= VK_TIMEPOINTS) return "step out of range";
      if (run <= d.curr_sim && s.stepcnt < 0) return "shown run is empty";
      if (s.stepcnt < 0) continue;
      if (s.year != VK_FIRST_YEAR + 5 * s.stepcnt) return "year does not match the step";
      for (int t = 0; t <= s.stepcnt; ++t)
        if (s.totpop[t] < 0 || !all_nonnegative(s.male_pop[t], VK_GROUPS) ||
            !all_nonnegative(s.fem_pop[t], VK_GROUPS))
          return "negative population";
    }
    if (d.curr_sim >= 0) {
      if (c.scale_factor != 1 && c.scale_factor != 1000) return "unknown population unit";
      if (!all_nonnegative(c.male_1990_pop, 18) || !all_nonnegative(c.fem_1990_pop, 18))
        return "negative country population";
    }
  }
  return nullptr;
}

int savenamedfile(const char* name) {
  std::vector<unsigned char> panes(SAVE_PANES_SIZE);
  encode_panes(panes.data());

  const std::string target = name;
  std::string temp = directory_of(target) + ".vksave.XXXXXX";
  const int fd = mkstemp(temp.data());
  FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (!file) {
    if (fd >= 0) close(fd), std::remove(temp.c_str());
    MXelog(0, "Error saving current simulation.\n");
    return 0;
  }
  // The permissions a newly created file would get.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);

  bool ok = true;
  size_t offset = 0;
  const size_t blocks[] = {SAVE_DISPLAY_SIZE, SAVE_COUNTRY_SIZE, SAVE_RUN_SIZE, SAVE_RUN_SIZE, SAVE_RUN_SIZE};
  for (int pane = 0; pane < VK_PANES; ++pane)
    for (size_t block : blocks) {
      if (std::fwrite(panes.data() + offset, 1, block, file) != block) {
        MXelog(0, "Error while saving program state.\n");
        ok = false;
      }
      offset += block;
    }
  if (Screen.save_state_block) Screen.save_state_block(file);
  if (std::fflush(file) != 0 || std::ferror(file)) ok = false;
  if (std::fclose(file) != 0) ok = false;
  if (ok && std::rename(temp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) {
    std::remove(temp.c_str());
    MXelog(0, "Error saving current simulation.\n");
    return 0;
  }
  return 1;
}

int loadnamedfile(const char* name) {
  FILE* file = std::fopen(name, "rb");
  if (!file) {
    MXelog(0, "Error loading current simulation; filename: %s\n", name);
    return 0;
  }
  std::vector<unsigned char> data;
  unsigned char chunk[8192];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.insert(data.end(), chunk, chunk + n);
  const bool read_error = std::ferror(file) != 0;

  // The interface block must fit the interface that is up; a file without one
  // (written where there is no interface) leaves the interface as it is.
  const char* reason = nullptr;
  bool with_block = false;
  if (read_error) {
    reason = "read error";
  } else if (data.size() < SAVE_PANES_SIZE) {
    reason = "file too short";
  } else if (Screen.state_block_size) {
    const long block = Screen.state_block_size();
    const size_t extra = data.size() - SAVE_PANES_SIZE;
    if (extra != 0 && (block < 0 || extra != static_cast<size_t>(block)))
      reason = "interface state of another interface";
    with_block = extra != 0;
  }
  auto panes = std::make_unique<SavedPanes>();
  if (!reason) reason = decode_panes(data.data(), data.size(), panes.get());
  if (reason) {
    std::fclose(file);
    MXelog(0, "Error loading a saved simulation.\n");
    MXelog(0, "Saved simulation |%s| refused: %s.\n", name, reason);
    return 0;
  }

  alloc_sim_records();
  for (int pane = 0; pane < VK_PANES; ++pane) {
    Display[pane] = panes->display[pane];
    Country[pane] = panes->country[pane];
    read_un_totals(&Country[pane]);  // not saved: from the country file of that name
    for (int run = 0; run < VK_RUNS; ++run) *VKState[pane][run] = panes->run[pane][run];
  }
  if (with_block && Screen.load_state_block && std::fseek(file, static_cast<long>(SAVE_PANES_SIZE), SEEK_SET) == 0)
    Screen.load_state_block(file);
  std::fclose(file);
  if (Screen.redraw_all) Screen.redraw_all();
  if (!walkthru() && Screen.help_message) Screen.help_message(6);
  return 1;
}

int save_simulation() { return savenamedfile(SaveFile); }

int save_tutor() {
  savenamedfile("vk_tut.sav");
  if (Screen.quit) Screen.quit(0);
  return 1;
}

int load_simulation() {
  if (Screen.deactivate_function) Screen.deactivate_function("load_simulation");
  if (!loadnamedfile(SaveFile)) {
    MXelog(0, "Simulation from |%s| not loaded. \n", SaveFile);
    if (Screen.alert) Screen.alert(2);
  }
  if (Tutorfile && std::remove("vk_tut.sav") != 0) MXelog(0, "Error, could not delete |%s|", "vk_tut.sav");
  return 1;
}
