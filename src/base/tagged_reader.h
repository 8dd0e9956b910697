// The tagged database reader: "database= TAG" followed by keys (words ending in
// "=") whose values the caller's callback reads with the primitive readers below.
// Used for config.mcf, the country list and the country databases.
#pragma once
#include <cstdio>

enum ReaderStatusType { READ_INIT = 1, READ_PROCESS = 2, READ_FINAL = 3 };

// A reader callback: key is null for READ_INIT and READ_FINAL. Returns non-zero
// to go on, 0 to stop the run with failure.
using MXReaderFunc = int (*)(const char* key, ReaderStatusType status, void* data);

constexpr int MX_FORMAT_MAX_KEYWORDS = 11;
constexpr int MX_FORMAT_KEYWORD_LEN = 12;
using MXFormatKeyword = char[MX_FORMAT_KEYWORD_LEN + 1];

// The file the primitive readers read from; MXgenreader sets it for one run and
// puts the previous one back before it returns.
extern FILE* MXDbfp;

// Runs the callback over the file. A null tag means no identification line is
// required. Returns 1 if the run succeeded and at least one key was processed.
int MXgenreader(FILE* file, MXReaderFunc callback, const char* tag, void* data);

int MXrdword(char* buffer, int max);       // buffer holds max + 1
int MXrdphrase(char* buffer, int max);     // single blanks belong to the phrase
int MXrdstringeol(char* buffer, int max);  // to the end of the line
long MXrdinteger();
double MXrdreal();
int MXrdboolean();
int MXrdformat(int* count, MXFormatKeyword* keywords);  // keywords[MX_FORMAT_MAX_KEYWORDS]
