// Tests of the tagged database reader: word, phrase and line scanning with its
// limits, comments, numbers and booleans, format statements, and the key-walking
// driver with identification, nesting and failure.
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

TEST_F(TaggedReaderTest, WordsEndAtWhiteSpaceAndCommentsRunToTheLineEnd) {
  // "#" right after a word ends it, and the rest of the line is read as words.
  use("  alpha\tbeta\n\n# a comment line\n   # another\n\tgamma# dropped mark\n"
      "delta#epsilon zeta\n# last comment");
  for (const char* word : {"alpha", "beta", "gamma", "dropped", "mark", "delta", "epsilon", "zeta", "(refused) "})
    EXPECT_EQ(text(MXrdword), word);
}

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

TEST_F(TaggedReaderTest, RestOfLineFoldsRunsOfBlanksAndStopsAtHash) {
  // The "#" that ended the first line is consumed, like any ending character: the
  // rest of its line is read as text again.
  use("  one  two\t\tthree   # comment\nfour five \nsix");
  for (const char* line : {"one two three", "comment", "four five", "six", "(refused) "})
    EXPECT_EQ(text(MXrdstringeol), line);
}

TEST_F(TaggedReaderTest, NumbersAndBooleans) {
  use(" 42\n-7 3.25 -1e3 abc 12");
  EXPECT_EQ(MXrdinteger(), 42);
  EXPECT_EQ(MXrdinteger(), -7);
  EXPECT_DOUBLE_EQ(MXrdreal(), 3.25);
  EXPECT_DOUBLE_EQ(MXrdreal(), -1000.0);
  // Text that is not a number gives 0, is not reported and stays to be read.
  EXPECT_EQ(MXrdinteger(), 0);
  EXPECT_DOUBLE_EQ(MXrdreal(), 0.0);
  EXPECT_EQ(text(MXrdword), "abc");
  EXPECT_EQ(MXrdinteger(), 12);
  EXPECT_EQ(error_log(), "");
  EXPECT_EQ(MXrdinteger(), 0);
  EXPECT_DOUBLE_EQ(MXrdreal(), 0.0);
  EXPECT_EQ(error_log(), std::string(kVersionLine) +
                             "Unexpected error in MXrdinteger\nUnexpected EOF in MXrdreal\n");

  use("TRUE true True yes 1 false");
  for (int expected : {1, 1, 1, 0, 0, 0, 0}) EXPECT_EQ(MXrdboolean(), expected);  // the last: nothing left
}

TEST_F(TaggedReaderTest, FormatStatementLimits) {
  const struct {
    const char* text;
    int result, count;  // count -1: not checked
    const char* last;   // the last keyword read, or the message logged
  } cases[] = {
      {"k1 k2 k3 k4 k5 k6 k7 k8 k9 k10 k11 tamrof", 1, 11, "k11"},
      {"k1 k2 k3 k4 k5 k6 k7 k8 k9 k10 k11 k12 tamrof", 0, -1, "Too many keywords in format statement\n"},
      {"abcdefghijkl TAMROF", 1, 1, "abcdefghijkl"},
      {"type abcdefghijklm tamrof", 0, -1, "Format statement keyword too long: |abcdefghijklm|\n"},
      {"type name", 0, -1, "Unexepected EOF while reading format keywords\n"},
      {"tamrof", 1, 0, ""},  // an empty statement
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
}

TEST_F(TaggedReaderTest, FormatStatementSkipsCommentsBetweenAndAfterItsKeywords) {
  int count = 0;
  MXFormatKeyword keywords[MX_FORMAT_MAX_KEYWORDS];
  // After "tamrof" a number may follow a comment: its scan does not skip comments.
  use("year # the year\n# a whole comment line\n  pop\ntamrof # rows follow\n# more\n 1990 57");
  ASSERT_EQ(MXrdformat(&count, keywords), 1);
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(keywords[0], "year");
  EXPECT_STREQ(keywords[1], "pop");
  EXPECT_EQ(MXrdinteger(), 1990);
  EXPECT_EQ(MXrdinteger(), 57);

  use("year tamrof\n1990");
  ASSERT_EQ(MXrdformat(&count, keywords), 1);
  EXPECT_EQ(MXrdinteger(), 1990);
}

// A callback that records what the driver hands it.
struct Calls {
  std::vector<std::string> keys;
  int inits = 0, finals = 0;
  int fail_at_init = 0;
  std::string fail_at_key;
};

int recording_reader(const char* key, ReaderStatusType status, void* data) {
  Calls* calls = static_cast<Calls*>(data);
  if (status == READ_INIT) {
    calls->inits++;
    return calls->fail_at_init ? 0 : 1;
  }
  if (status == READ_FINAL) {
    calls->finals++;
    return 1;
  }
  EXPECT_EQ(status, READ_PROCESS);
  calls->keys.push_back(key);
  return calls->fail_at_key == key ? 0 : 1;
}

using Keys = std::vector<std::string>;

// What the driver hands the callback, what it returns and what it logs. The callback
// reads no values, so value words ending in "=" count as keys; an 81-character word
// is cut to 80, which still ends in "=" here, and fails the run.
TEST_F(TaggedReaderTest, TheDriverChecksTheTagAndHandsOnlyKeysToTheCallback) {
  const std::string cut_key = std::string(79, 'k') + "=";
  const struct {
    std::string text;
    const char* tag;
    int fail_at_init;
    std::string fail_at_key;
    int result;
    Keys keys;
    int finals;  // -1: not checked
    std::string log;
  } cases[] = {
      {"DATABASE= vk_CONFIG\n# settings\nlistname= a.maf loose words = x=\nvalue=1 bstore= true\n", "VK_config", 0, "",
       1, {"listname=", "=", "x=", "bstore="}, 1, ""},
      {"database= VK_config\n", "VK_config", 0, "", 0, {}, 1, ""},  // nothing wrong, but no key
      {"", "VK_config", 0, "", 0, {}, 1, ""},
      // The tag must follow "database=" at the start.
      {"VK_config database= a= 1\n", "VK_config", 0, "", 0, {}, -1, "Not a Marlix database\n"},
      {"database= VK_clist\na= 1\n", "VK_config", 0, "", 0, {}, -1, "Database identification tag was not |VK_config|\n"},
      {"database=", "VK_config", 0, "", 0, {}, -1, ""},
      {"a= 1\n", nullptr, 0, "", 1, {"a="}, 1, ""},  // no tag asked for: no identification line
      {"database= T\na= b= c=\n", "T", 0, "b=", 0, {"a=", "b="}, -1, ""},
      {"database= T\na=\n", "T", 1, "", 0, {}, 0, ""},
      {"database= T\na= " + cut_key + "z b=\n", "T", 0, "", 0, {"a=", cut_key}, 1,
       "String exceded maximum size in rd_stringhelp\n"},
  };
  for (const auto& c : cases) {
    close_logs_for_test();
    std::remove("error.log");
    MemFile file(c.text);
    Calls calls;
    calls.fail_at_init = c.fail_at_init;
    calls.fail_at_key = c.fail_at_key;
    EXPECT_EQ(MXgenreader(file.get(), recording_reader, c.tag, &calls), c.result) << c.text;
    EXPECT_EQ(calls.keys, c.keys) << c.text;
    EXPECT_EQ(calls.inits, 1) << c.text;
    EXPECT_TRUE(c.finals < 0 || calls.finals == c.finals) << c.text;
    EXPECT_EQ(error_log(), c.log.empty() ? "" : kVersionLine + c.log) << c.text;
  }
}

// Reads "include=" by running a nested reader over a second file, then reads the
// outer key's own value.
struct Nested {
  FILE* inner;
  std::vector<std::string> seen;
  int inner_result = -1;
};

int inner_reader(const char* key, ReaderStatusType status, void* data) {
  if (status != READ_PROCESS) return 1;
  char value[81];
  if (!MXrdword(value, 80)) return 0;
  static_cast<Nested*>(data)->seen.push_back(std::string("inner ") + key + value);
  return 1;
}

int outer_reader(const char* key, ReaderStatusType status, void* data) {
  if (status != READ_PROCESS) return 1;
  Nested* nested = static_cast<Nested*>(data);
  if (strcmp(key, "include=") == 0) {
    nested->inner_result = MXgenreader(nested->inner, inner_reader, "INNER", data);
  }
  char value[81];
  if (!MXrdword(value, 80)) return 0;
  nested->seen.push_back(std::string("outer ") + key + value);
  return 1;
}

// Whether the inner run succeeds or fails (wrong tag), the outer file is put
// back and read on.
TEST_F(TaggedReaderTest, NestedRunPutsTheOuterFileBack) {
  FILE* before = reinterpret_cast<FILE*>(0x1);  // any value: it is only compared
  MXDbfp = before;
  const struct {
    const char *outer, *inner;
    int inner_result;
    std::vector<std::string> seen;
  } cases[] = {{"database= OUTER\na= 1 include= 2 b= 3\n", "database= INNER\nx= 9\n", 1,
                {"outer a=1", "inner x=9", "outer include=2", "outer b=3"}},
               {"database= OUTER\ninclude= 2 b= 3\n", "database= OTHER\nx= 9\n", 0, {"outer include=2", "outer b=3"}}};
  for (const auto& c : cases) {
    MemFile outer(c.outer), inner(c.inner);
    Nested nested{inner.get(), {}};
    EXPECT_EQ(MXgenreader(outer.get(), outer_reader, "OUTER", &nested), 1);
    EXPECT_EQ(nested.inner_result, c.inner_result);
    EXPECT_EQ(nested.seen, c.seen);
    EXPECT_EQ(MXDbfp, before);
  }
  MXDbfp = nullptr;
}

int fatal_reader(const char* key, ReaderStatusType status, void*) {
  if (status == READ_PROCESS && strcmp(key, "bad=") == 0) MXelog(-1, "bad key\n");
  return 1;
}

TEST_F(TaggedReaderTest, FatalEntryInsideACallbackPutsTheFileBack) {
  MemFile file("database= T\nbad= 1\n");
  MXDbfp = nullptr;
  EXPECT_THROW(MXgenreader(file.get(), fatal_reader, "T", nullptr), FatalExit);
  EXPECT_EQ(MXDbfp, nullptr);
}

}  // namespace
