// The tagged database reader: the word, phrase and line scanners shared by every
// reader, the generic key-walking driver MXgenreader and the primitive value
// readers that reader callbacks use to take a key's values from MXDbfp.
#include "base/tagged_reader.h"

#include <cstring>

#include "base/log.h"
#include "base/text.h"

FILE* MXDbfp = nullptr;

namespace {

// Longest word the driver and the format reader take at once.
constexpr int READER_WORD_MAX = 80;

// How rd_stringhelp reads: a word ends at any white space; a phrase keeps single
// blanks; the rest of a line keeps every run of blanks and tabs as one blank.
enum StringMode { MODE_LINE = -1, MODE_PHRASE = 0, MODE_WORD = 1 };

// Skips white space (blank, line feed, tab) and comments ("#" to the end of the
// line) and returns the first significant character, or EOF.
int skipwaste() {
  int c;
  do {
    c = getc(MXDbfp);
  } while (c == ' ' || c == '\n' || c == '\t');
  while (c == '#') {
    do {
      c = getc(MXDbfp);
    } while (c != '\n' && c != '\r' && c != EOF);
    if (c == EOF) return c;
    do {
      c = getc(MXDbfp);
    } while (c == ' ' || c == '\n' || c == '\t');
  }
  return c;
}

bool ends_string(int c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '#' || c == '\t' || c == EOF;
}

// Reads one string into buffer (room for max + 1 characters). Returns 1 on success;
// 0 at end of file (buffer empty) or when the string is longer than max (buffer
// holds its first max characters). last, when given, receives the character that
// ended the string; the ending character is consumed.
int rd_stringhelp(char* buffer, int max, StringMode mode, int* last) {
  int c = skipwaste();
  if (c == EOF) {
    buffer[0] = '\0';
    return 0;
  }
  int n = 0;
  buffer[n++] = static_cast<char>(c);
  for (;;) {
    c = getc(MXDbfp);
    // A blank stored here may sit at index max: the buffer has room for it, and
    // it is either dropped as trailing or followed by the over-length stop below.
    if (mode == MODE_PHRASE && c == ' ') {
      buffer[n++] = ' ';
      c = getc(MXDbfp);
    }
    if (mode == MODE_LINE && (c == ' ' || c == '\t')) {
      buffer[n++] = ' ';
      do {
        c = getc(MXDbfp);
      } while (c == ' ' || c == '\t');
    }
    if (ends_string(c)) break;
    if (n >= max) {
      buffer[max] = '\0';
      MXelog(0, "String exceded maximum size in rd_stringhelp\n");
      return 0;
    }
    buffer[n++] = static_cast<char>(c);
  }
  if (n > 0 && buffer[n - 1] == ' ') n--;
  if (last) *last = c;
  buffer[n] = '\0';
  return 1;
}

}  // namespace

int MXrdword(char* buffer, int max) { return rd_stringhelp(buffer, max, MODE_WORD, nullptr); }

int MXrdphrase(char* buffer, int max) { return rd_stringhelp(buffer, max, MODE_PHRASE, nullptr); }

int MXrdstringeol(char* buffer, int max) { return rd_stringhelp(buffer, max, MODE_LINE, nullptr); }

// Text that is not a number is left unread and gives 0.
long MXrdinteger() {
  long value = 0;
  if (fscanf(MXDbfp, "%ld", &value) == EOF) {
    MXelog(0, "Unexpected error in MXrdinteger\n");
    return 0;
  }
  return value;
}

double MXrdreal() {
  double value = 0.0;
  if (fscanf(MXDbfp, "%lf", &value) == EOF) {
    MXelog(0, "Unexpected EOF in MXrdreal\n");
    return 0.0;
  }
  return value;
}

int MXrdboolean() {
  char word[READER_WORD_MAX + 1];
  if (!MXrdword(word, READER_WORD_MAX)) return 0;
  return MXstricmp(word, "true") == 0 ? 1 : 0;
}

int MXrdformat(int* count, MXFormatKeyword* keywords) {
  char word[READER_WORD_MAX + 1];
  int held = 0;
  for (;;) {
    int last = EOF;
    if (!rd_stringhelp(word, READER_WORD_MAX, MODE_WORD, &last)) {
      MXelog(0, "Unexepected EOF while reading format keywords\n");
      return 0;
    }
    if (MXstricmp(word, "tamrof") == 0) {
      *count = held;
      // The next value may be a number, which its scan reads without skipping
      // comments: leave the file at the next significant character.
      if (last != '\n') ungetc(skipwaste(), MXDbfp);
      return 1;
    }
    if (held == MX_FORMAT_MAX_KEYWORDS) {
      MXelog(0, "Too many keywords in format statement\n");
      return 0;
    }
    if (strlen(word) > static_cast<size_t>(MX_FORMAT_KEYWORD_LEN)) {
      MXelog(0, "Format statement keyword too long: |%s|\n", word);
      return 0;
    }
    strcpy(keywords[held++], word);
  }
}

namespace {

// Puts the previous file back however a run ends, so that a callback may run a
// nested reader on another file and a fatal entry turned into an exception (tests)
// leaves the outer reader intact.
struct RestoreReaderFile {
  FILE* previous;
  ~RestoreReaderFile() { MXDbfp = previous; }
};

}  // namespace

int MXgenreader(FILE* file, MXReaderFunc callback, const char* tag, void* data) {
  RestoreReaderFile restore{MXDbfp};
  MXDbfp = file;
  int found = 0;
  bool started = tag == nullptr;
  bool ok = callback(nullptr, READ_INIT, data) != 0;

  char word[READER_WORD_MAX + 1];
  bool overlong = false;
  bool more = ok;
  while (more) {
    more = MXrdword(word, READER_WORD_MAX) != 0;
    // A failed read with text in the buffer is an over-long word: the cut word is
    // still handled, but the rest of the file is not read, so the run has failed.
    if (!more && word[0] != '\0') overlong = true;
    if (word[0] == '\0') continue;
    if (!started) {
      if (MXstricmp(word, "database=") != 0) {
        MXelog(0, "Not a Marlix database\n");
        ok = false;
        break;
      }
      if (!MXrdword(word, READER_WORD_MAX)) {
        ok = false;
        break;
      }
      if (MXstricmp(word, tag) != 0) {
        MXelog(0, "Database identification tag was not |%s|\n", tag);
        ok = false;
        break;
      }
      started = true;
    } else if (word[strlen(word) - 1] == '=') {
      found = 1;
      if (!callback(word, READ_PROCESS, data)) {
        ok = false;
        break;
      }
    }
  }
  if (ok && !callback(nullptr, READ_FINAL, data)) ok = false;
  if (overlong) ok = false;
  return ok ? found : 0;
}
