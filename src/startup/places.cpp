// The two ways the program runs, portable and installed, and the folders each
// of them reads and writes.
#include "startup/places.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "startup/filenames.h"

#ifndef DEMOVAR_VERSION
#define DEMOVAR_VERSION "0"
#endif
#ifndef DEMOVAR_DATA_FROM_BIN
#define DEMOVAR_DATA_FROM_BIN "../share/demovar"
#endif

const char* const DemovarVersion = DEMOVAR_VERSION;

namespace fs = std::filesystem;

namespace {

bool is_dir(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string with_slash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

std::string expected_data_dir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "";
  return with_slash((exe.parent_path() / DEMOVAR_DATA_FROM_BIN).lexically_normal().string());
}

std::string installed_data_dir() {
  const std::string dir = expected_data_dir();
  struct stat st;
  return !dir.empty() && stat((dir + "varnock.inf").c_str(), &st) == 0 ? dir : "";
}

std::string user_data_dir() {
  // XDG_DATA_HOME counts only as an absolute path; a relative one is ignored.
  const std::string xdg = env("XDG_DATA_HOME");
  if (!xdg.empty() && xdg[0] == '/') return with_slash(xdg) + "demovar";
  const std::string home = env("HOME");
  return home.empty() ? "" : with_slash(home) + ".local/share/demovar";
}

std::string user_dirs_entry(const std::string& text, const std::string& kind, const std::string& home) {
  const std::string key = "XDG_" + kind + "_DIR=\"";
  std::string found;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.compare(first, key.size(), key) != 0) continue;
    line = line.substr(first + key.size());
    const size_t quote = line.find('"');
    if (quote == std::string::npos) continue;
    std::string value = line.substr(0, quote);
    if (value.starts_with("$HOME")) {
      value = home + value.substr(5);
    } else if (value.empty() || value[0] != '/') {
      continue;  // only "$HOME/..." and absolute paths are allowed
    }
    found = value;  // the last line of a kind holds, as in a shell
  }
  while (found.size() > 1 && found.back() == '/') found.pop_back();
  std::string bare_home = home;
  while (bare_home.size() > 1 && bare_home.back() == '/') bare_home.pop_back();
  return found == bare_home ? "" : found;
}

std::string user_folder(const std::string& kind, const std::string& fallback) {
  const std::string home = env("HOME");
  if (home.empty()) return "";
  const std::string config = env("XDG_CONFIG_HOME");
  const std::string dirs =
      (!config.empty() && config[0] == '/' ? with_slash(config) : with_slash(home) + ".config/") + "user-dirs.dirs";
  std::ifstream in(dirs, std::ios::binary);
  std::string text;
  if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  const std::string named = user_dirs_entry(text, kind, home);
  if (is_dir(named)) return named;
  const std::string usual = with_slash(home) + fallback;
  return is_dir(usual) ? usual : "";
}

std::string settle_places(const std::string& data_option) {
  DataDir.clear();
  Home.clear();
  PicturesDir.clear();
  DocumentsDir.clear();
  if (!data_option.empty()) {
    // Portable: the folder given is the data directory and receives everything.
    if (chdir(data_option.c_str()) != 0) return "no data directory |" + data_option + "|";
    return "";
  }
  struct stat st;
  if (stat("config.mcf", &st) == 0) return "";  // portable, in the working directory
  const std::string data = installed_data_dir();
  if (data.empty())
    return "no data: neither a config.mcf in the working directory nor an installed data directory |" +
           expected_data_dir() + "|; start varnock in its data directory or give --data DIR";
  const std::string home = user_data_dir();
  if (home.empty()) return "no HOME: the per-user folder cannot be found";
  std::error_code ec;
  fs::create_directories(home, ec);
  if (ec || chdir(home.c_str()) != 0) return "cannot use the per-user folder |" + home + "|";
  use_data_dir(data);
  Home = with_slash(home);
  PicturesDir = with_slash(user_folder("PICTURES", "Pictures"));
  DocumentsDir = with_slash(user_folder("DOCUMENTS", "Documents"));
  if (PicturesDir.empty()) PicturesDir = Home;
  if (DocumentsDir.empty()) DocumentsDir = Home;
  return "";
}
