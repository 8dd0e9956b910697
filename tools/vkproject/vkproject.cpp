// The command-line projector. It reads the data exactly as the program does
// (config.mcf, the country list, the country databases) and projects with the
// program's engine; only the printing and the argument handling are its own.
#include "vkproject.h"

#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/text.h"
#include "demography/country.h"
#include "demography/projection.h"
#include "demography/projection_rows.h"
#include "demography/rescale.h"
#include "demography/saved_simulation.h"
#include "demography/simulation.h"
#include "startup/config.h"
#include "startup/country_list.h"
#include "startup/filenames.h"
#include "startup/places.h"

#ifndef VKPROJECT_DEFAULT_DATA
#define VKPROJECT_DEFAULT_DATA "data"
#endif

const char* const VKProjectUsage =
    "Usage: vkproject [--data DIR] [--base YEAR] (--country NAME | --all)\n"
    "                 [--set YEAR:KIND=VALUE@TARGETYEAR]...\n"
    "                 [--expected] [--to YEAR] [--format table|csv|json] [--groups] [--raw]\n"
    "                 [--save FILE]\n"
    "       vkproject --help | --version\n"
    "Projects a country or region of Demovar's data from its base year B (1990, or 2020)\n"
    "in five-year steps to B + 60, with the program's own engine, and prints one row per\n"
    "step.\n"
    "  --data DIR      the data directory: DIR/config.mcf and what it names, as the\n"
    "                  program reads them when started in DIR (default: the installed\n"
    "                  data, or the source tree's for a vkproject not installed)\n"
    "  --base YEAR     the starting point: 1990 (default, the databases of datapath=) or\n"
    "                  the one config.mcf names with todayyear= and todaypath= (2020)\n"
    "  --country NAME  a name of the country list, without regard to case\n"
    "  --all           every entry of the list, in list order\n"
    "  --set YEAR:KIND=VALUE@TARGETYEAR\n"
    "                  when the run stands at YEAR (B, B + 5, ... B + 55), set a target to\n"
    "                  be reached by TARGETYEAR (YEAR ... B + 60, in steps of 5), as the\n"
    "                  scenario windows do. KIND and VALUE:\n"
    "                    tfr    children per woman, 0.5 to 9.9\n"
    "                    lifex  life expectancy in years, 20 to 99.9\n"
    "                    imr    infant deaths per 1000 births, 0 to 999 (the program ends\n"
    "                           an infant target when the life-expectancy target is due)\n"
    "                    mig    net migrants per year, persons (at most 100000 population\n"
    "                           units either way)\n"
    "  --expected      start with the country's expected targets of B + 10\n"
    "  --to YEAR       last year shown (B ... B + 60, default B + 60)\n"
    "  --format F      table (default), csv (with a header row) or json\n"
    "  --groups        add the 17 age groups of each sex: m0..m16, f0..f16\n"
    "  --raw           model integers: populations in the country's units, TFR and\n"
    "                  life expectancy in hundredths, IMR per million births\n"
    "  --save FILE     also save the run as a simulation the program loads (one country)\n"
    "Columns: name, year, population (persons), tfr (children per woman), lifex (years),\n"
    "migration (persons per year), imr (infant deaths per 1000 births), un_population\n"
    "(the UN's total of that year from the country file, persons; empty where it has none).\n"
    "A target whose year is the step it is set in applies at once, as the program's okay does.\n"
    "Exit status: 0 done, 1 a country did not load, 2 bad arguments or unknown name.\n";

namespace {
enum class Kind { TFR, LIFEX, IMR, MIG };
enum class Format { TABLE, CSV, JSON };

struct Setting {
  int year;
  Kind kind;
  double value;
  int target_year;
  std::string text;
};

// The installed program's data when this is an installed vkproject, else the
// source tree's.
std::string default_data() {
  const std::string installed = installed_data_dir();
  return installed.empty() ? VKPROJECT_DEFAULT_DATA : installed;
}

struct Options {
  std::string data = default_data();
  std::string country;
  bool all = false;
  std::vector<Setting> sets;
  bool expected = false;
  int base = 1990;
  int to = 0;  // 0: the last year of the base
  Format format = Format::TABLE;
  bool groups = false;
  bool raw = false;
  std::string save;
};

struct Failure {
  int status;
  std::string message;
};

bool parse_int(const std::string& text, int* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno || *end != '\0' || v < -1000000000L || v > 1000000000L) return false;
  *value = static_cast<int>(v);
  return true;
}

bool parse_real(const std::string& text, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (errno || *end != '\0' || !(v > -1e12 && v < 1e12)) return false;
  *value = v;
  return true;
}

bool is_step_year(int year) {
  return year >= vk_first_year() && year <= vk_last_year() && (year - vk_first_year()) % 5 == 0;
}

// Joins texts by appending (GCC 12 warns falsely on chains of operator+ at -O3).
std::string join(std::initializer_list<std::string> parts) {
  std::string text;
  for (const std::string& p : parts) text.append(p);
  return text;
}


// YEAR:KIND=VALUE@TARGETYEAR
bool parse_set(const std::string& text, Setting* s, std::string* why) {
  const size_t colon = text.find(':'), eq = text.find('='), at = text.find('@');
  if (colon == std::string::npos || eq == std::string::npos || at == std::string::npos || !(colon < eq && eq < at)) {
    *why = "expected YEAR:KIND=VALUE@TARGETYEAR";
    return false;
  }
  s->text = text;
  const std::string kind = text.substr(colon + 1, eq - colon - 1);
  if (!parse_int(text.substr(0, colon), &s->year) || !is_step_year(s->year) || s->year == vk_last_year()) {
    *why = join({"YEAR must be one of ", std::to_string(vk_first_year()), ", ", std::to_string(vk_first_year() + 5),
                 ", ... ", std::to_string(vk_last_year() - 5)});
    return false;
  }
  if (kind == "tfr") s->kind = Kind::TFR;
  else if (kind == "lifex") s->kind = Kind::LIFEX;
  else if (kind == "imr") s->kind = Kind::IMR;
  else if (kind == "mig") s->kind = Kind::MIG;
  else {
    *why = "KIND must be tfr, lifex, imr or mig";
    return false;
  }
  if (!parse_real(text.substr(eq + 1, at - eq - 1), &s->value)) {
    *why = "VALUE is not a number";
    return false;
  }
  if (!parse_int(text.substr(at + 1), &s->target_year) || !is_step_year(s->target_year) ||
      s->target_year < s->year) {
    *why = join({"TARGETYEAR must be YEAR or a later step, at most ", std::to_string(vk_last_year())});
    return false;
  }
  const double v = s->value;
  bool ok = true;
  switch (s->kind) {
    case Kind::TFR: ok = v >= 0.5 - 1e-9 && v <= 9.9 + 1e-9; *why = "a fertility target lies within 0.5 and 9.9"; break;
    case Kind::LIFEX: ok = v >= 20 - 1e-9 && v <= 99.9 + 1e-9; *why = "a life-expectancy target lies within 20 and 99.9"; break;
    case Kind::IMR: ok = v >= 0 && v <= 999; *why = "an infant-mortality target lies within 0 and 999"; break;
    case Kind::MIG: ok = v >= -1e8 && v <= 1e8; *why = "a migration target is at most 100000 population units"; break;
  }
  return ok;
}

Failure usage_error(const std::string& message) { return Failure{2, message}; }

// Parses the arguments; a Failure with status 0 and no message means success.
// The base year comes first, wherever it stands: the years of --set and --to are
// checked against it.
Failure parse(int argc, char** argv, Options* o) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--base" && (!parse_int(argv[i + 1], &o->base) || o->base < 1990 ||
                                             o->base > 2100 || o->base % 5 != 0))
      return usage_error("--base needs a starting year: 1990 or 2020");
  Base_year = o->base;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string* into) {
      if (i + 1 >= argc) return false;
      *into = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      return Failure{-1, ""};
    } else if (arg == "--version") {
      return Failure{-2, ""};
    } else if (arg == "--data") {
      if (!value(&o->data) || o->data.empty()) return usage_error("--data needs a directory");
    } else if (arg == "--country") {
      if (!value(&o->country) || o->country.empty()) return usage_error("--country needs a name");
    } else if (arg == "--base") {
      if (!value(&v)) return usage_error("--base needs a starting year: 1990 or 2020");
    } else if (arg == "--all") {
      o->all = true;
    } else if (arg == "--set") {
      Setting s;
      std::string why;
      if (!value(&v)) return usage_error("--set needs YEAR:KIND=VALUE@TARGETYEAR");
      if (!parse_set(v, &s, &why)) return usage_error(join({"--set ", v, ": ", why}));
      o->sets.push_back(s);
    } else if (arg == "--expected") {
      o->expected = true;
    } else if (arg == "--to") {
      if (!value(&v) || !parse_int(v, &o->to) || !is_step_year(o->to))
        return usage_error(join({"--to needs one of ", std::to_string(vk_first_year()), ", ",
                                 std::to_string(vk_first_year() + 5), ", ... ", std::to_string(vk_last_year())}));
    } else if (arg == "--format") {
      if (!value(&v)) return usage_error("--format needs table, csv or json");
      if (v == "table") o->format = Format::TABLE;
      else if (v == "csv") o->format = Format::CSV;
      else if (v == "json") o->format = Format::JSON;
      else return usage_error("--format needs table, csv or json");
    } else if (arg == "--groups") {
      o->groups = true;
    } else if (arg == "--raw") {
      o->raw = true;
    } else if (arg == "--save") {
      if (!value(&o->save) || o->save.empty()) return usage_error("--save needs a file name");
    } else {
      return usage_error(join({"unknown argument |", arg, "|"}));
    }
  }
  if (o->to == 0) o->to = vk_last_year();
  if (o->all == !o->country.empty()) return usage_error("give either --country NAME or --all");
  if (o->all && !o->save.empty()) return usage_error("--save takes a single --country");
  for (const Setting& s : o->sets)
    if (s.year >= o->to) return usage_error(join({"--set ", s.text, ": the run stops at ", std::to_string(o->to)}));
  return Failure{0, ""};
}

std::string json_text(const std::string& s) {
  std::string q = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') q += '\\', q += static_cast<char>(c);
    else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      q += esc;
    } else q += static_cast<char>(c);
  }
  q += '"';
  return q;
}

class Printer {
 public:
  Printer(FILE* out, const Options& o) : out_(out), o_(o) {}

  void begin() {
    const auto names = projection_column_names(o_.groups);
    if (o_.format == Format::CSV) {
      for (size_t i = 0; i < names.size(); ++i) std::fprintf(out_, "%s%s", i ? "," : "", names[i].c_str());
      std::fputc('\n', out_);
    } else if (o_.format == Format::TABLE) {
      std::fprintf(out_, "%-21s %4s %13s %6s %6s %10s %7s %13s", "name", "year", "population", "tfr", "lifex",
                   "migration", "imr", "un_population");
      if (o_.groups)
        for (size_t i = kProjectionFixedColumns; i < names.size(); ++i) std::fprintf(out_, " %11s", names[i].c_str());
      std::fputc('\n', out_);
    } else {
      std::fputc('[', out_);
    }
  }

  void row(const ProjectionRow& r) {
    const auto values = projection_row_values(r, o_.raw);
    std::vector<std::string> groups;
    if (o_.groups) {
      for (int g = 0; g < VK_GROUPS; ++g) groups.push_back(std::to_string(r.male[g]));
      for (int g = 0; g < VK_GROUPS; ++g) groups.push_back(std::to_string(r.female[g]));
    }
    if (o_.format == Format::CSV) {
      std::fputs(csv_field(r.name).c_str(), out_);
      for (const auto& v : values) std::fprintf(out_, ",%s", v.c_str());
      for (const auto& v : groups) std::fprintf(out_, ",%s", v.c_str());
      std::fputc('\n', out_);
    } else if (o_.format == Format::TABLE) {
      std::fprintf(out_, "%-21s %4s %13s %6s %6s %10s %7s %13s", r.name, values[0].c_str(), values[1].c_str(),
                   values[2].c_str(), values[3].c_str(), values[4].c_str(), values[5].c_str(), values[6].c_str());
      for (const auto& v : groups) std::fprintf(out_, " %11s", v.c_str());
      std::fputc('\n', out_);
    } else {
      const auto names = projection_column_names(o_.groups);
      std::fprintf(out_, "%s\n  {%s: %s", rows_ ? "," : "", json_text("name").c_str(), json_text(r.name).c_str());
      for (size_t i = 0; i < values.size(); ++i)
        std::fprintf(out_, ", %s: %s", json_text(names[i + 1]).c_str(), values[i].empty() ? "null" : values[i].c_str());
      for (size_t i = 0; i < groups.size(); ++i)
        std::fprintf(out_, ", %s: %s", json_text(names[i + kProjectionFixedColumns]).c_str(), groups[i].c_str());
      std::fputc('}', out_);
    }
    ++rows_;
  }

  void end() {
    if (o_.format == Format::JSON) std::fputs(rows_ ? "\n]\n" : "]\n", out_);
  }

 private:
  FILE* out_;
  const Options& o_;
  int rows_ = 0;
};

// The model value of a setting for a country (population units for migration).
bool setting_value(const Setting& s, const CountryInfo& c, int32_t* value) {
  const double v = s.value;
  switch (s.kind) {
    case Kind::TFR:
    case Kind::LIFEX: *value = static_cast<int32_t>(v * 100 + (v < 0 ? -0.5 : 0.5)); return true;
    case Kind::IMR: *value = static_cast<int32_t>(v * 1000 + 0.5); return true;
    case Kind::MIG: {
      const double units = v / c.scale_factor;
      const double r = units < 0 ? units - 0.5 : units + 0.5;
      if (r <= -100001 || r >= 100001) return false;
      *value = static_cast<int32_t>(r);
      return *value >= -100000 && *value <= 100000;
    }
  }
  return false;
}

// Sets a target as the scenario windows' okay does: a target dated the step it is
// set in is applied at once through its variant (the infant target's through the
// life-expectancy variant, which ends it when the life-expectancy target is due).
void apply(const Setting& s, VKStatetype* run, int32_t value) {
  const int t = run->stepcnt;
  void (*variant)(VKStatetype*) = nullptr;
  switch (s.kind) {
    case Kind::TFR:
      run->tfr_targ_val[t] = value, run->tfr_targ_year[t] = s.target_year, variant = calc_sim_tfr_variant;
      break;
    case Kind::LIFEX:
      run->lifex_targ_val[t] = value, run->lifex_targ_year[t] = s.target_year, variant = calc_sim_life_variant;
      break;
    case Kind::IMR:
      run->infmort_targ_val[t] = value, run->infmort_targ_year[t] = s.target_year, variant = calc_sim_life_variant;
      break;
    case Kind::MIG:
      run->mig_targ_val[t] = value, run->mig_targ_year[t] = s.target_year, variant = calc_sim_mig_variant;
      break;
  }
  if (s.target_year == run->year) variant(run);
}

// The pane's display copy of the shown run and the pyramid's bound, as the
// program keeps them, so that a saved run shows at once when loaded.
void fill_display(DisplayType* d, const VKStatetype* s) {
  const int t = s->stepcnt;
  for (int g = 0; g < VK_GROUPS; ++g) d->male[g] = s->male_pop[t][g], d->female[g] = s->fem_pop[t][g];
  const int64_t P = s->totpop[t];
  d->bound = 20;
  if (P == 0) return;
  auto share = [&](int64_t v) { return RESCALE(v, 100, P); };
  for (int row = 0; row < 8; ++row) {
    while (d->bound <= share(int64_t{d->male[2 * row]} + d->male[2 * row + 1])) d->bound += 10;
    while (d->bound <= share(int64_t{d->female[2 * row]} + d->female[2 * row + 1])) d->bound += 10;
  }
  while (d->bound <= share(d->male[16]) || d->bound <= share(d->female[16])) d->bound += 10;
}

void reset_state() {
  reset_startup_settings();
  clear_country_list();
  reset_vkreader();
  Screen = ScreenHooks{};
  Cdisp = 0;
  clear_panes();
}

// Projects Country[0] as run 0 of pane 0 and prints its rows.
void project(const Options& o, const char* name, const std::vector<int32_t>& values, Printer* printer) {
  const CountryInfo& c = Country[0];
  DisplayType& d = Display[0];
  d = DisplayType{};
  d.reset_permit = d.modify_permit = d.scenario_permit = d.alt_permit = 1;
  d.curr_sim = 0;
  d.maxpop = static_cast<int32_t>(int64_t{c.male_1990_pop[0]} + c.fem_1990_pop[0]);
  init_sim_data(0, 0);
  VKStatetype* s = VKState[0][0];
  if (o.expected) set_expected_targets(s, &c);
  for (;;) {
    // A target due at once changes this year's rates: the row shows the rates the
    // run goes on with, as the saved run holds them.
    for (size_t i = 0; i < o.sets.size(); ++i)
      if (o.sets[i].year == s->year) apply(o.sets[i], s, values[i]);
    printer->row(projection_row(name, s, s->stepcnt, c, o.raw));
    if (s->year >= o.to) break;
    s->stepcnt += 1;
    dosim(s);
  }
  d.modify_permit = s->year < vk_last_year();
  fill_display(&d, s);
}

int find_entry(const std::string& name) {
  const int n = Numregions + Numcountries;
  for (int i = 0; i < n; ++i)
    if (Country_list[i].name[0] && MXstricmp(Country_list[i].name, name.c_str()) == 0) return i;
  return -1;
}
}  // namespace

int vkproject_main(int argc, char** argv, FILE* out, FILE* err) {
  Options o;
  const Failure parsed = parse(argc, argv, &o);
  if (parsed.status == -1) {
    std::fputs(VKProjectUsage, out);
    return 0;
  }
  if (parsed.status == -2) {
    std::fprintf(out, "vkproject (Demovar) %s\n", DemovarVersion);
    return 0;
  }
  if (parsed.status != 0) {
    std::fprintf(err, "vkproject: %s\n%s", parsed.message.c_str(), VKProjectUsage);
    return parsed.status;
  }

  // Read the data as the program started in the data directory does: it works
  // there (configured names are relative to it) and goes back afterwards.
  reset_state();
  HasFPU = 1;
  char here[4096];
  if (!getcwd(here, sizeof here)) {
    std::fprintf(err, "vkproject: cannot tell the working directory\n");
    return 1;
  }
  if (!o.save.empty() && o.save[0] != '/') o.save = join({here, "/", o.save});
  if (chdir(o.data.c_str()) != 0) {
    std::fprintf(err, "vkproject: no data directory |%s|\n", o.data.c_str());
    return 2;
  }
  struct GoBack {
    const char* dir;
    ~GoBack() {
      if (chdir(dir) != 0) std::perror("vkproject");
    }
  } go_back{here};
  configure();
  build_file_names();
  if (!use_starting_point(o.base)) {
    std::fprintf(err, "vkproject: no data from %d in |%s| (config.mcf names no todayyear= %d with todaypath=)\n",
                 o.base, o.data.c_str(), o.base);
    return 2;
  }
  FILE* list = std::fopen(ListFile.c_str(), "r");
  if (!list) {
    std::fprintf(err, "vkproject: cannot read the country list |%s| in |%s|\n", ListFile.c_str(), o.data.c_str());
    return 2;
  }
  std::fclose(list);
  get_country_names();

  std::vector<int> entries;
  if (o.all) {
    for (int i = 0; i < Numregions + Numcountries; ++i)
      if (Country_list[i].name[0]) entries.push_back(i);
  } else {
    const int i = find_entry(o.country);
    if (i < 0) {
      std::fprintf(err, "vkproject: no country or region named |%s| in |%s|\n", o.country.c_str(), ListFile.c_str());
      return 2;
    }
    entries.push_back(i);
  }

  int status = 0;
  Printer printer(out, o);
  printer.begin();
  for (int index : entries) {
    CountryInfo country;
    const CountryLoadResult loaded = loadcountry(index, &country);
    const Clist& entry = Country_list[index];
    if (loaded != COUNTRY_LOADED) {
      const char* why = loaded == COUNTRY_NO_FILE ? "cannot open" : loaded == COUNTRY_BAD_FILE ? "cannot read" : "cannot convert";
      std::fprintf(err, "vkproject: %s |%s%s| for %s\n", why, Datapath.c_str(), entry.file, entry.name);
      status = 1;
      continue;
    }
    std::vector<int32_t> values(o.sets.size());
    for (size_t i = 0; i < o.sets.size(); ++i)
      if (!setting_value(o.sets[i], country, &values[i])) {
        std::fprintf(err, "vkproject: --set %s: beyond the migration limit of 100000 units of %d persons for %s\n",
                     o.sets[i].text.c_str(), country.scale_factor, entry.name);
        printer.end();
        return 2;
      }
    Country[0] = country;
    project(o, entry.name, values, &printer);
  }
  printer.end();
  std::fflush(out);

  if (!o.save.empty() && status == 0) {
    if (!savenamedfile(o.save.c_str())) {
      std::fprintf(err, "vkproject: could not save |%s|\n", o.save.c_str());
      return 1;
    }
  }
  return status;
}
