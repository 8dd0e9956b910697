// vkproject: projects countries of the program's data from the command line.
// The logs go to a private scratch directory, not to the caller's: when a run
// fails, the error log's messages are shown on standard error instead.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/log.h"
#include "vkproject.h"

namespace {
std::string log_dir;

void show_log_and_clean() {
  if (log_dir.empty()) return;
  const std::string path = log_dir + "/error.log";
  if (FILE* log = std::fopen(path.c_str(), "r")) {
    char line[1024];
    bool first = true;
    while (std::fgets(line, sizeof line, log)) {
      // The version line and the per-file notes are no news to the caller.
      if (first || std::strncmp(line, "VKreader: Processing", 20) == 0) {
        first = false;
        continue;
      }
      std::fprintf(stderr, "vkproject: %s", line);
    }
    std::fclose(log);
  }
  std::remove(path.c_str());
  rmdir(log_dir.c_str());
  log_dir.clear();
}

void clean() {
  if (log_dir.empty()) return;
  std::remove((log_dir + "/error.log").c_str());
  rmdir(log_dir.c_str());
  log_dir.clear();
}

// A fatal error of the data (config.mcf, the country list): its message is in the
// log, which is closed by now.
[[noreturn]] void fatal(int, const char*) {
  show_log_and_clean();
  std::exit(1);
}
}  // namespace

int main(int argc, char** argv) {
  char tmpl[] = "/tmp/vkproject-XXXXXX";
  if (mkdtemp(tmpl)) {
    log_dir = tmpl;
    char here[4096];
    if (getcwd(here, sizeof here) && chdir(tmpl) == 0) {
      init_error_log("w");
      if (chdir(here) != 0) return 1;
    }
  }
  MXsetfatalhandler(fatal);
  const int status = vkproject_main(argc, argv, stdout, stderr);
  if (status == 1) show_log_and_clean();
  else clean();
  return status;
}
