// Saving and loading simulations. Blocks are written and read field by field in
// little-endian order, so the files are the same on every host. A save goes to a
// temporary file that replaces the old one only when complete; a load checks the
// whole file before it changes anything.
#include "demography/saved_simulation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "startup/filenames.h"

const char* const SaveFile = "vk_000.sav";
std::string LoadAtStart = SaveFile;

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
  out->base_year = 0;
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
      // The file names no base year: each run's year and step give it, and all
      // runs must agree on one the data offers.
      const int32_t base = s.year - 5 * s.stepcnt;
      if (out->base_year != 0 && base != out->base_year) return "runs of different starting points";
      if (!starting_point_offered(base)) return "year does not match the step";
      out->base_year = base;
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

size_t (*SaveFileWrite)(const void* data, size_t size, size_t count, FILE* file) = std::fwrite;

int write_file_atomically(const char* name, const unsigned char* data, size_t size) {
  const std::string target = name;
  std::string temp = directory_of(target) + ".vksave.XXXXXX";
  const int fd = mkstemp(temp.data());
  FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (!file) {
    if (fd >= 0) close(fd), std::remove(temp.c_str());
    return 0;
  }
  // The permissions a newly created file would get, but always readable and
  // writable by its owner: Emscripten's C library reports a mask that would leave
  // the file unreadable, and a save nobody can load back is lost work.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, (0666 & ~mask) | S_IRUSR | S_IWUSR);
  bool ok = size == 0 || SaveFileWrite(data, 1, size, file) == size;
  if (std::fflush(file) != 0 || std::ferror(file) || fsync(fd) != 0) ok = false;
  if (std::fclose(file) != 0) ok = false;
  if (ok && std::rename(temp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) std::remove(temp.c_str());
  return ok ? 1 : 0;
}

int savenamedfile(const char* name) {
  std::vector<unsigned char> bytes(SAVE_PANES_SIZE);
  encode_panes(bytes.data());
  bool ok = true;
  if (Screen.save_state_block) {
    // The interface writes its block to a stream; it is gathered in memory so that
    // the file is written in one piece.
    char* block = nullptr;
    size_t block_size = 0;
    FILE* memory = open_memstream(&block, &block_size);
    if (!memory) {
      ok = false;
    } else {
      Screen.save_state_block(memory);
      if (std::ferror(memory)) ok = false;
      if (std::fclose(memory) != 0) ok = false;
      if (block) bytes.insert(bytes.end(), block, block + block_size);
      std::free(block);
    }
  }
  if (!ok) MXelog(0, "Error while saving program state.\n");
  if (!ok || !write_file_atomically(name, bytes.data(), bytes.size())) {
    MXelog(0, "Error saving current simulation.\n");
    return 0;
  }
  return 1;
}

const char* read_saved_simulation(const char* name, SavedFile* out) {
  FILE* file = std::fopen(name, "rb");
  if (!file) return "cannot be opened";
  std::vector<unsigned char> data;
  unsigned char chunk[8192];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0 && data.size() < (size_t{1} << 24))
    data.insert(data.end(), chunk, chunk + n);
  const bool read_error = std::ferror(file) != 0;
  std::fclose(file);
  if (read_error) return "read error";
  if (const char* reason = decode_panes(data.data(), data.size(), &out->panes)) return reason;
  out->block.assign(data.begin() + SAVE_PANES_SIZE, data.end());
  // A block of another length belongs to another version of the interface (or the
  // file has none, as from vkproject): the panes still load, the block is ignored.
  out->block_fits = false;
  if (!out->block.empty() && Screen.state_block_size) {
    const long size = Screen.state_block_size();
    if (size >= 0 && out->block.size() == static_cast<size_t>(size)) {
      if (Screen.check_state_block && !Screen.check_state_block(out->block.data(), out->block.size()))
        return "interface state out of range";
      out->block_fits = true;
    }
  }
  return nullptr;
}

int loadnamedfile(const char* name) {
  auto saved = std::make_unique<SavedFile>();
  if (const char* reason = read_saved_simulation(name, saved.get())) {
    if (std::strcmp(reason, "cannot be opened") == 0) {
      MXelog(0, "Error loading current simulation; filename: %s\n", name);
    } else {
      MXelog(0, "Error loading a saved simulation.\n");
      MXelog(0, "Saved simulation |%s| refused: %s.\n", name, reason);
    }
    return 0;
  }
  // A file of the other starting point switches to it, so that the runs' years
  // and the UN's totals read below come from its data.
  if (saved->panes.base_year != 0 && saved->panes.base_year != Base_year) use_starting_point(saved->panes.base_year);
  alloc_sim_records();
  for (int pane = 0; pane < VK_PANES; ++pane) {
    Display[pane] = saved->panes.display[pane];
    Country[pane] = saved->panes.country[pane];
    read_un_totals(&Country[pane]);  // not saved: from the country file of that name
    for (int run = 0; run < VK_RUNS; ++run) *VKState[pane][run] = saved->panes.run[pane][run];
  }
  if (saved->block_fits && Screen.apply_state_block) {
    Screen.apply_state_block(saved->block.data());
  } else if (Screen.state_block_size) {
    MXelog(0, "Saved simulation |%s|: %s; the screen follows the loaded runs.\n", name,
           saved->block.empty() ? "no interface state" : "interface state of another version ignored");
    if (Screen.settle_panes) Screen.settle_panes();
  }
  if (Screen.redraw_all) Screen.redraw_all();
  if (!walkthru() && Screen.help_message) Screen.help_message(6);
  return 1;
}

int save_simulation() { return savenamedfile(SaveFile); }

int save_tutor() {
  // The program ends only when the work is safe.
  if (!savenamedfile("vk_tut.sav")) {
    if (Screen.save_failed) Screen.save_failed("vk_tut.sav");
    return 0;
  }
  if (Screen.quit) Screen.quit(0);
  return 1;
}

int load_simulation() {
  if (Screen.deactivate_function) Screen.deactivate_function("load_simulation");
  if (!loadnamedfile(LoadAtStart.c_str())) {
    MXelog(0, "Simulation from |%s| not loaded. \n", LoadAtStart.c_str());
    if (Screen.alert) Screen.alert(2);
  }
  if (Tutorfile && std::remove("vk_tut.sav") != 0) MXelog(0, "Error, could not delete |%s|", "vk_tut.sav");
  return 1;
}
