// The two logs (error.log with its version line, output.log, the fatal path through
// the handler tests install, the file being read named after a fatal entry) and the
// case-blind comparison and letter folding the name lookups use.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "base/reader_test_support.h"
#include "base/text.h"

namespace {

using LogTest = ScratchDirTest;

FatalExit fatal_of(void (*action)()) {
  try {
    action();
  } catch (const FatalExit& fatal) {
    return fatal;
  }
  return {0, "(no fatal exit)"};
}

TEST_F(LogTest, ErrorLogHasOneVersionLineAndEntriesRunOnWithoutTheirOwnLineEnd) {
  EXPECT_EQ(init_error_log("w"), 1);
  EXPECT_EQ(init_error_log("w"), 1);  // already open: no second version line
  MXelog(0, "no line end, ");
  MXelog(0, "%s %d\n", "then", 42);
  EXPECT_EQ(error_log(), std::string(kVersionLine) + "no line end, then 42\n");
}

TEST_F(LogTest, OutputLogIsTruncatedWrittenAtOnceAndWritingBeforeOpeningIsFatal) {
  const FatalExit early = fatal_of([] { MXolog("too soon\n"); });
  EXPECT_EQ(early.code, -1);
  EXPECT_EQ(early.text, "Tried to write to uninitialized output.log\n");
  write_text_file("output.log", "an earlier run\n");
  ASSERT_EQ(MXinitlog("w"), 1);
  MXolog("%s %d\n", "Chad", 148);
  EXPECT_EQ(read_text_file("output.log"), "Chad 148\n");
  std::filesystem::create_directory("blocked");
  std::filesystem::current_path("blocked");
  std::filesystem::create_directory("output.log");
  EXPECT_EQ(MXinitlog("w"), 0);
  std::filesystem::current_path("..");
}

int before_fatal_calls = 0;

TEST_F(LogTest, AFatalEntryCallsTheHookOnceClosesBothLogsAndNamesTheFileBeingRead) {
  ASSERT_EQ(MXinitlog("w"), 1);
  before_fatal_calls = 0;
  MXsetbeforefatalhook([] { ++before_fatal_calls; });
  const FatalExit fatal = fatal_of([] {
    const MXReadingFile reading("a.dat");
    MXelog(0, "a note names no file\n");
    MXelog(-2, "bad %s\n", "row");
  });
  EXPECT_EQ(fatal.code, -2);
  EXPECT_EQ(fatal.text, "bad row\n");
  EXPECT_EQ(before_fatal_calls, 1);
  EXPECT_EQ(error_log(), std::string(kVersionLine) + "a note names no file\nbad row\n" +
                             "This happened while reading the file |a.dat|.\n");
  // Both logs were closed: output.log must be opened again, and the next entry starts
  // a fresh error.log. A message naming the file gets no second line.
  EXPECT_EQ(fatal_of([] { MXolog("x"); }).text, "Tried to write to uninitialized output.log\n");
  fatal_of([] {
    const MXReadingFile reading("a.dat");
    MXelog(-1, "cannot read |a.dat|\n");
  });
  EXPECT_EQ(before_fatal_calls, 1);
  EXPECT_EQ(error_log(), std::string(kVersionLine) + "cannot read |a.dat|\n");
}

TEST_F(LogTest, WithoutAWritableErrorLogTheProgramSaysSoAndEnds) {
  std::filesystem::create_directory("error.log");
  EXPECT_EXIT(MXelog(0, "note\n"), testing::ExitedWithCode(255), "");
  std::filesystem::remove("error.log");
}

TEST(Text, CaseBlindComparisonGivesItsSignAndLettersFoldToTheirBase) {
  const struct {
    const char *a, *b;
    int sign;
  } cases[] = {{"Root", "root", 0}, {"a", "B", -1}, {"B", "a", 1},      {"abc", "ab", 1},
               {"ab", "ABC", -1},   {"", "", 0},    {"\xe9", "z", 1},   {"z", "\xe9", -1}};  // bytes unsigned
  for (const auto& c : cases) EXPECT_EQ(MXstricmp(c.a, c.b), c.sign) << c.a << " " << c.b;
  // Name searches fold Latin-1 letters to their base letter; signs stay.
  const int folds[][2] = {{0xC0, 'a'}, {0xD7, 0xD7}, {0xDF, 's'}, {0xF7, 0xF7}, {0xFF, 'y'}, {'Q', 'q'}, {'1', '1'}};
  for (const auto& f : folds) EXPECT_EQ(MXfoldchar(static_cast<unsigned char>(f[0])), f[1]) << f[0];
}

}  // namespace
