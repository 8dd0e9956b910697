// The two text logs. error.log starts with the library's version line and takes
// every warning, error, start-up note and "Debug:" line; an entry with a non-zero
// code ends the program. output.log is the user-facing record of a run.
#include "base/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/clock.h"

namespace {
const char* const kVersionLine = "Marlix Interface Handler Library Version %s\n";
const char* const kVersion = "2.0.6";

FILE* error_log = nullptr;
FILE* output_log = nullptr;
void (*close_display_hook)() = nullptr;
MXFatalHandler fatal_handler = nullptr;
void (*before_fatal_hook)() = nullptr;
bool in_fatal = false;  // a fatal entry made while closing down must not recurse
const char* reading_file = nullptr;  // MXReadingFile in force, or null

std::string format_text(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n <= 0) return std::string();
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<size_t>(n));
  return text;
}

void close_logs() {
  if (error_log) std::fclose(error_log);
  error_log = nullptr;
  if (output_log) std::fclose(output_log);
  output_log = nullptr;
}
}  // namespace

int init_error_log(const char* mode) {
  if (error_log) return 1;
  error_log = std::fopen("error.log", mode);
  if (!error_log) return 0;
  std::fprintf(error_log, kVersionLine, kVersion);
  std::fflush(error_log);
  return 1;
}

int MXinitlog(const char* mode) {
  if (output_log) std::fclose(output_log);
  output_log = std::fopen("output.log", mode);
  return output_log ? 1 : 0;
}

void MXolog(const char* format, ...) {
  if (!output_log) MXelog(-1, "Tried to write to uninitialized output.log\n");
  va_list args;
  va_start(args, format);
  std::vfprintf(output_log, format, args);
  va_end(args);
  std::fflush(output_log);
}

void MXelog(int code, const char* format, ...) {
  if (!error_log && !init_error_log("w")) {
    std::fputs("Unable to write to error.log\n", stdout);
    std::fflush(stdout);
    std::exit(-1);
  }
  va_list args;
  va_start(args, format);
  const std::string text = format_text(format, args);
  va_end(args);
  std::fputs(text.c_str(), error_log);
  // A message that names the file already needs no second line.
  const bool named = reading_file && text.find(std::string("|") + reading_file + "|") != std::string::npos;
  const std::string where = code != 0 && reading_file && !named
                                ? std::string("This happened while reading the file |") + reading_file + "|.\n"
                                : "";
  std::fputs(where.c_str(), error_log);
  std::fflush(error_log);
  if (code == 0) return;

  if (void (*hook)() = before_fatal_hook) {
    before_fatal_hook = nullptr;
    hook();
  }
  close_logs();
  if (fatal_handler) {
    fatal_handler(code, text.c_str());
    std::abort();  // a fatal handler must not return
  }
  if (!in_fatal) {
    in_fatal = true;
    if (close_display_hook) close_display_hook();
  }
  std::fputs(text.c_str(), stdout);
  std::fputs(where.c_str(), stdout);
  std::fflush(stdout);
  MXdelay(2000);
  std::exit(code);
}

MXReadingFile::MXReadingFile(const char* path) : outer_(reading_file) { reading_file = path; }
MXReadingFile::~MXReadingFile() { reading_file = outer_; }

void MXsetclosedisplayhook(void (*close_display)()) { close_display_hook = close_display; }

void MXsetbeforefatalhook(void (*before_fatal)()) { before_fatal_hook = before_fatal; }

void MXsetfatalhandler(MXFatalHandler handler) { fatal_handler = handler; }
