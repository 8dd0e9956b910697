// The two text logs: error.log (version line, warnings, errors, start-up notes,
// "Debug:" lines; a non-zero code ends the program) and output.log (the
// user-facing record of a run). Both are flushed after every entry.
#pragma once

// Opens error.log with the given fopen mode unless it is open already, and writes
// the library's version line. Returns 1 on success, 0 when the file cannot be made.
int init_error_log(const char* mode);

// Opens output.log with the given fopen mode. Returns 1 on success, 0 on failure.
int MXinitlog(const char* mode);

// Writes to output.log; writing before MXinitlog is a fatal error.
void MXolog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes to error.log. Code 0 is a note; any other code is an exit status: the
// display is closed, the logs are closed, the text is echoed to standard output,
// the program waits 2000 ms and exits with that code.
void MXelog(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The platform layer registers how to close the display, so that a fatal entry
// can close it without the logs depending on the platform.
void MXsetclosedisplayhook(void (*close_display)());

// Called once, before anything else happens on the first fatal entry (the logs are
// still open, the display too): lets the program keep the user's work before it
// ends. A fatal entry made by the hook itself does not call it again.
void MXsetbeforefatalhook(void (*before_fatal)());

// Instead of exiting, a fatal entry (after writing and closing the logs, but
// before closing the display or waiting) calls this handler with the exit code
// and the formatted text. The handler must not return (tests throw; the browser
// page closes the display and exits at once: nobody reads its console, and a
// wait there would block the tab). nullptr restores the real exit.
using MXFatalHandler = void (*)(int code, const char* text);
void MXsetfatalhandler(MXFatalHandler handler);

// The file being read while it is in force: a fatal entry made meanwhile is followed,
// in error.log and on standard output, by a line naming that file, so that a message
// of a reader that does not know its file still says which file was at fault.
// (A fatal handler gets the entry's own text.) Files nest: the inner one is named.
class MXReadingFile {
 public:
  explicit MXReadingFile(const char* path);
  ~MXReadingFile();
  MXReadingFile(const MXReadingFile&) = delete;
  MXReadingFile& operator=(const MXReadingFile&) = delete;

 private:
  const char* outer_;
};
