// Tests of the tagged database reader: word, phrase and line scanning with its
// limits, comments, numbers, format statements, and the key-walking
// driver with identification and failure.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/reader_test_support.h"
#include "base/tagged_reader.h"

namespace {

class TaggedReaderTest : public ScratchDirTest {
 protected:
  // Points the primitive readers at a file holding text.
  void use(const std::string& text) {
    file_ = std::make_unique<MemFile>(text);
    MXDbfp = file_->get();
  }
  // What a text reader leaves in its buffer of max + 1, marked "(refused) " when
  // it reports failure.
  static std::string text(int (*reader)(char*, int), int max = 80) {
    std::vector<char> buffer(max + 1, 'x');
    const int ok = reader(buffer.data(), max);
    return (ok ? "" : "(refused) ") + std::string(buffer.data());
  }
  std::unique_ptr<MemFile> file_;
};

TEST_F(TaggedReaderTest, WordOfTheLimitIsWholeOneMoreIsCutAndLogged) {
  const std::string eighty(80, 'w');
  use(eighty + " next " + eighty + "z tail");
  EXPECT_EQ(text(MXrdword), eighty);
  EXPECT_EQ(text(MXrdword), "next");
  EXPECT_EQ(error_log(), "");  // nothing logged so far: the log is not even made
  EXPECT_EQ(text(MXrdword), "(refused) " + eighty);  // the 81-character word, cut
  EXPECT_EQ(error_log(), std::string(kVersionLine) + "String exceded maximum size in rd_stringhelp\n");
  // Small limits: the buffer holds max characters and the terminating NUL.
  use("abc abcd");
  EXPECT_EQ(text(MXrdword, 3), "abc");
  EXPECT_EQ(text(MXrdword, 3), "(refused) abc");
}

TEST_F(TaggedReaderTest, PhrasesKeepSingleBlanksOnly) {
  use("New York  10\nCote d Ivoire\tx\nChad \nSouth Africa#c\n");
  EXPECT_EQ(text(MXrdphrase, 21), "New York");  // two blanks end it
  EXPECT_EQ(MXrdinteger(), 10);
  EXPECT_EQ(text(MXrdphrase, 21), "Cote d Ivoire");  // a tab ends it
  EXPECT_EQ(text(MXrdword), "x");
  EXPECT_EQ(text(MXrdphrase, 21), "Chad");  // a trailing blank is dropped
  EXPECT_EQ(text(MXrdphrase, 21), "South Africa");
  // 21 characters with a blank after them fit; 22 do not.
  use("Saint Kitts and Nevis  next\nSaint Kitts and Neviss\n");
  EXPECT_EQ(text(MXrdphrase, 21), "Saint Kitts and Nevis");
  EXPECT_EQ(text(MXrdword), "next");
  EXPECT_EQ(text(MXrdphrase, 21), "(refused) Saint Kitts and Nevis");
  // A phrase ending in a blank exactly at the limit, then a second word.
  use("Saint Kitts and Nevis x\n");
  EXPECT_EQ(text(MXrdphrase, 21), "(refused) Saint Kitts and Nevis");
}

// Words end at white space and at "#", whose comment runs to the line end (the
// rest of a line after a word is read as words). The rest of a line folds runs of
// blanks and stops at "#": that "#" is consumed, like any ending character, so
// the rest of its line is read as text again.
TEST_F(TaggedReaderTest, WordsAndRestsOfLinesStopAtCommentMarks) {
  use("  alpha\tbeta\n\n# a comment line\n   # another\n\tgamma# dropped mark\ndelta#epsilon zeta\n# last");
  for (const char* word : {"alpha", "beta", "gamma", "dropped", "mark", "delta", "epsilon", "zeta", "(refused) "})
    EXPECT_EQ(text(MXrdword), word);
  use("  one  two\t\tthree   # comment\nfour five \nsix");
  for (const char* line : {"one two three", "comment", "four five", "six", "(refused) "})
    EXPECT_EQ(text(MXrdstringeol), line);
}

// (Booleans as config.mcf uses them: tests/startup's configuration test.)
TEST_F(TaggedReaderTest, Numbers) {
  use(" 42\n-7 3.25 -1e3 abc 12");
  EXPECT_EQ(MXrdinteger() + MXrdinteger(), 35);
  EXPECT_DOUBLE_EQ(MXrdreal() + MXrdreal(), -996.75);
  // Text that is not a number gives 0, is not reported and stays to be read.
  EXPECT_EQ(MXrdinteger() + MXrdreal(), 0);
  EXPECT_EQ(text(MXrdword), "abc");
  EXPECT_EQ(MXrdinteger(), 12);
  EXPECT_EQ(error_log(), "");
  EXPECT_EQ(MXrdinteger(), 0);
  EXPECT_EQ(MXrdreal(), 0);
  EXPECT_EQ(error_log(), std::string(kVersionLine) +
                             "Unexpected error in MXrdinteger\nUnexpected EOF in MXrdreal\n");
}

// Limits of a format statement, and comments between and after its keywords: after
// "tamrof" a number may follow a comment (the number's scan does not skip them).
TEST_F(TaggedReaderTest, FormatStatementLimitsAndComments) {
  // The text, MXrdformat's result, the keyword count, the last keyword read or the message logged.
  const struct { const char* text; int result, count; const char* last; } cases[] = {
      {"k1 k2 k3 k4 k5 k6 k7 k8 k9 k10 k11 tamrof", 1, 11, "k11"},
      {"k1 k2 k3 k4 k5 k6 k7 k8 k9 k10 k11 k12 tamrof", 0, -1, "Too many keywords in format statement\n"},
      {"abcdefghijkl TAMROF", 1, 1, "abcdefghijkl"},
      {"type abcdefghijklm tamrof", 0, -1, "Format statement keyword too long: |abcdefghijklm|\n"},
      {"type name", 0, -1, "Unexepected EOF while reading format keywords\n"},
      {"tamrof", 1, 0, ""},  // an empty statement
      {"year # the year\n# a whole comment line\n  pop\ntamrof # rows follow\n# more\n 1990", 1, 2, "pop"},
  };
  for (const auto& c : cases) {
    close_logs_for_test();
    std::remove("error.log");
    int count = -1;
    MXFormatKeyword keywords[MX_FORMAT_MAX_KEYWORDS];
    use(c.text);
    ASSERT_EQ(MXrdformat(&count, keywords), c.result) << c.text;
    if (c.result == 0) {
      EXPECT_EQ(error_log(), std::string(kVersionLine) + c.last) << c.text;
    } else {
      EXPECT_EQ(count, c.count) << c.text;
      EXPECT_STREQ(count > 0 ? keywords[count - 1] : "", c.last) << c.text;
    }
  }
  EXPECT_EQ(MXrdinteger(), 1990);  // after the last statement's comments
}

// A callback that records the keys the driver hands it, refusing the start or one key when told.
struct Calls {
  std::string keys, fail;
  int fail_init = 0, inits = 0, finals = 0;
};

int recording_reader(const char* key, ReaderStatusType status, void* data) {
  Calls* c = static_cast<Calls*>(data);
  if (status != READ_PROCESS) return status == READ_INIT ? (++c->inits, !c->fail_init) : (++c->finals, 1);
  c->keys += (c->keys.empty() ? "" : " ") + std::string(key);
  return c->fail != key;
}

// What the driver hands the callback, what it returns and what it logs. The callback
// reads no values, so value words ending in "=" count as keys; an 81-character word
// is cut to 80, which still ends in "=" here, and fails the run.
TEST_F(TaggedReaderTest, TheDriverChecksTheTagAndHandsOnlyKeysToTheCallback) {
  const std::string cut = std::string(79, 'k') + "=", cut_log = "String exceded maximum size in rd_stringhelp\n";
  // text, tag, refuse the start, key refused, result, keys, finals (-1: not checked), log
  const struct { std::string text; const char* tag; int fail_init; const char* fail; int result; std::string keys; int finals; std::string log; } cases[] = {
      {"DATABASE= vk_CONFIG\n# settings\nlistname= a.maf loose words = x=\nvalue=1 bstore= true\n", "VK_config", 0, "", 1, "listname= = x= bstore=", 1, ""},
      {"database= VK_config\n", "VK_config", 0, "", 0, "", 1, ""}, {"", "VK_config", 0, "", 0, "", 1, ""},  // no key
      {"VK_config database= a= 1\n", "VK_config", 0, "", 0, "", -1, "Not a Marlix database\n"},  // the tag must follow "database="
      {"database= VK_clist\na= 1\n", "VK_config", 0, "", 0, "", -1, "Database identification tag was not |VK_config|\n"},
      {"database=", "VK_config", 0, "", 0, "", -1, ""}, {"a= 1\n", nullptr, 0, "", 1, "a=", 1, ""},  // no tag asked for
      {"database= T\na= b= c=\n", "T", 0, "b=", 0, "a= b=", -1, ""}, {"database= T\na=\n", "T", 1, "", 0, "", 0, ""},
      {"database= T\na= " + cut + "z b=\n", "T", 0, "", 0, "a= " + cut, 1, cut_log}};
  for (const auto& c : cases) {
    close_logs_for_test();
    std::remove("error.log");
    MemFile file(c.text);
    Calls calls{"", c.fail, c.fail_init};
    EXPECT_EQ(MXgenreader(file.get(), recording_reader, c.tag, &calls), c.result) << c.text;
    EXPECT_TRUE(calls.keys == c.keys && calls.inits == 1 && (c.finals < 0 || calls.finals == c.finals)) << c.text << calls.keys;
    EXPECT_EQ(error_log(), c.log.empty() ? "" : kVersionLine + c.log) << c.text;
  }
}

// A fatal entry inside a callback puts the reader's file back.
TEST_F(TaggedReaderTest, FatalEntryInsideACallbackPutsTheFileBack) {
  FILE* before = reinterpret_cast<FILE*>(0x1);  // any value: it is only compared
  MXDbfp = before;
  MemFile file("database= T\nbad= 1\n");
  auto fatal_reader = [](const char* key, ReaderStatusType status, void*) {
    if (status == READ_PROCESS && strcmp(key, "bad=") == 0) MXelog(-1, "bad key\n");
    return 1;
  };
  EXPECT_THROW(MXgenreader(file.get(), fatal_reader, "T", nullptr), FatalExit);
  EXPECT_EQ(MXDbfp, before);
  MXDbfp = nullptr;
}

}  // namespace
