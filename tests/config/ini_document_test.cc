// The document algorithms and their edge cases, each change
// checked against the file on disk, which must equal the document after
// every step.
#include "config/ini_document.h"

#include <gtest/gtest.h>

#include "config/config_store.h"
#include "config_test_util.h"

namespace kx {
namespace {

using test::crlf;
using test::g;

class IniDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("t.ini");
    ASSERT_TRUE(store_.open(path_, StorageMode::DiskFile));
  }

  // Replaces the document (and the file) by text.
  void start(const std::string& text) {
    store_.setText(text, false);
    expectMirrored();
  }

  void expectMirrored() { EXPECT_EQ(test::readFile(path_), store_.document()); }

  test::TempDir dir_;
  std::string path_;
  ConfigStore store_;
};

TEST_F(IniDocumentTest, NewKeysAppearInReverseOrderAndNewSectionsAtTheEnd) {
  EXPECT_EQ(store_.setValue("S", "a", "1"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "a=1"}));
  expectMirrored();
  EXPECT_EQ(store_.setValue("S", "b", "2"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "b=2", "a=1"}));
  expectMirrored();
  EXPECT_EQ(store_.setValue("T", "u", "3"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "b=2", "a=1", "[T]", "u=3"}));
  expectMirrored();
  EXPECT_EQ(store_.setValue("S", "a", "x"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "b=2", "a=x", "[T]", "u=3"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, KeyOfALaterSectionIsNotFound) {
  start(crlf({"[S]", "b=2", "a=x", "[T]", "u=3"}));
  EXPECT_EQ(store_.getValue("S", "u", "d", true), "d");
  EXPECT_EQ(store_.setValue("S", "u", "9"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "u=9", "b=2", "a=x", "[T]", "u=3"}));
  EXPECT_EQ(store_.getValue("T", "u", "d", true), "3");
  expectMirrored();
}

TEST_F(IniDocumentTest, ValueWithEqualsSign) {
  start(crlf({"[S]", "k=a=b"}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "a=b");
  EXPECT_EQ(store_.setValue("S", "k", "c"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "k=c"}));
}

TEST_F(IniDocumentTest, BracketedNameInsideAValueIsSkipped) {
  start(crlf({"[A]", "v=[S]", "[S]", "k=1"}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "1");
  EXPECT_EQ(store_.setValue("S", "k", "2"), 0);
  EXPECT_EQ(store_.document(), crlf({"[A]", "v=[S]", "[S]", "k=2"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, HeaderAfterAStrayByteIsNoHeader) {
  start(crlf({"x[S]", "k=1"}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "d");
  EXPECT_EQ(store_.deleteEntry("S", "k"), 1);
  EXPECT_EQ(store_.renameSection("S", "T"), 1);
  EXPECT_EQ(store_.renameKey("S", "k", "j"), 1);
  EXPECT_EQ(store_.setValue("S", "k", "2"), 0);
  EXPECT_EQ(store_.document(), crlf({"x[S]", "k=1", "[S]", "k=2"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, EmptyBodyTreatsTheKeyAsMissing) {
  const std::string doc = crlf({"[S]", "[T]", "k=1"});
  start(doc);
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "d");
  EXPECT_EQ(store_.deleteEntry("S", "k"), 2);
  EXPECT_EQ(store_.renameKey("S", "k", "j"), 2);
  EXPECT_EQ(store_.document(), doc);
  EXPECT_EQ(store_.setValue("S", "k", "2"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "k=2", "[T]", "k=1"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, WholeSectionDelete) {
  const std::string doc = crlf({"[S]", "a=1", "[T]", "u=3"});
  start(doc);
  EXPECT_EQ(store_.deleteEntry("T", ""), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "a=1"}) + "\r\n");  // the CR LF before [T] stays
  expectMirrored();
  start(doc);
  EXPECT_EQ(store_.deleteEntry("S", ""), 0);
  EXPECT_EQ(store_.document(), crlf({"[T]", "u=3"}));
  expectMirrored();
  EXPECT_EQ(store_.deleteEntry("T", ""), 0);
  EXPECT_EQ(store_.document(), "");
  expectMirrored();
  EXPECT_EQ(store_.deleteEntry("T", ""), 1);
}

TEST_F(IniDocumentTest, KeyDeleteBeyondTheSectionReturns2) {
  const std::string doc = crlf({"[S]", "a=1", "[T]", "u=3"});
  start(doc);
  EXPECT_EQ(store_.deleteEntry("S", "u"), 2);
  EXPECT_EQ(store_.document(), doc);
  EXPECT_EQ(store_.deleteEntry("S", "zz"), 2);
  EXPECT_EQ(store_.deleteEntry("T", "u"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "a=1", "[T]"}));
  EXPECT_EQ(store_.deleteEntry("S", "a"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "[T]"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, EmptyStoredValue) {
  start(crlf({"[S]", "k=", "t=x"}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "d");
  EXPECT_EQ(store_.getValue("S", "k", "d", false), "");
  store_.setSection("S");
  EXPECT_EQ(store_.readText("k", "def"), "def");
  EXPECT_DOUBLE_EQ(store_.readNumber("k", 7), 7);
  EXPECT_TRUE(store_.readFlag("k", true));
  // The empty value at the very end of the document.
  start(crlf({"[S]", "k="}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "d");
  EXPECT_EQ(store_.setValue("S", "k", "v"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "k=v"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, EscapedLineBreakReadsBack) {
  start(crlf({"[S]", "k=a" + g("┊*┊") + "b"}));
  store_.setSection("S");
  EXPECT_EQ(store_.readText("k", ""), "a\r\nb");
}

TEST_F(IniDocumentTest, ByteOrderMarkHidesTheFirstHeader) {
  start("\xEF\xBB\xBF" + crlf({"[S]", "k=1"}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "d");
  EXPECT_EQ(store_.setValue("S", "k", "2"), 0);
  EXPECT_EQ(store_.document(), "\xEF\xBB\xBF" + crlf({"[S]", "k=1", "[S]", "k=2"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, RenameSectionAndKey) {
  start(crlf({"[S]", "a=1", "[T]", "a=2"}));
  EXPECT_EQ(store_.renameSection("T", "Long name"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "a=1", "[Long name]", "a=2"}));
  expectMirrored();
  EXPECT_EQ(store_.renameKey("Long name", "a", "bb"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "a=1", "[Long name]", "bb=2"}));
  expectMirrored();
  EXPECT_EQ(store_.renameKey("S", "zz", "y"), 2);
  EXPECT_EQ(store_.renameKey("Q", "a", "y"), 1);
  // No test for an existing name: the earlier section wins from then on.
  EXPECT_EQ(store_.renameSection("Long name", "S"), 0);
  EXPECT_EQ(store_.getValue("S", "bb", "d", true), "d");
}

TEST_F(IniDocumentTest, NothingOutsideTheChangedBytesIsRewritten) {
  const std::string doc = crlf({"; comment line", "", "[S]", "k = v", "junk without equals", "a=1",
                                "\tb=2 ", "[Other]", "z=9"});
  start(doc);
  EXPECT_EQ(store_.getValue("S", "k ", "d", true), " v");  // blanks belong to name and value
  EXPECT_EQ(store_.setValue("S", "a", "22"), 0);
  EXPECT_EQ(store_.document(), crlf({"; comment line", "", "[S]", "k = v", "junk without equals", "a=22",
                                     "\tb=2 ", "[Other]", "z=9"}));
  expectMirrored();
  EXPECT_EQ(store_.getValue("S", "\tb", "d", true), "2 ");
}

TEST_F(IniDocumentTest, OnlyCrLfIsALineBreak) {
  start("[S]\nk=1\r\nj=2\rx");
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "d");  // "[S]\nk=1" is one line
  EXPECT_EQ(store_.getValue("S", "j", "d", true), "2\rx");  // a lone CR stays in the value
}

TEST_F(IniDocumentTest, HeaderWithTrailingBytes) {
  // Bytes after "]" are not examined by lookups, so "[S] ; note" heads S.
  start(crlf({"[S] ; note", "k=1"}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "1");
  // A new key goes directly behind the "]", taking the trailing bytes into
  // its line, which the value then replaces (the algorithm's own effect).
  EXPECT_EQ(store_.setValue("S", "n", "2"), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "n=2", "k=1"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, DuplicatesAreInvisible) {
  start(crlf({"[S]", "k=1", "k=2", "[S]", "k=3"}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "1");
  EXPECT_EQ(store_.deleteEntry("S", "k"), 0);
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "2");
  EXPECT_EQ(store_.deleteEntry("S", ""), 0);
  EXPECT_EQ(store_.document(), crlf({"[S]", "k=3"}));
  expectMirrored();
}

TEST_F(IniDocumentTest, ValueReadEndsAtNul) {
  start(crlf({"[S]", std::string("k=ab\0cd", 7)}));
  EXPECT_EQ(store_.getValue("S", "k", "d", true), "ab");
  EXPECT_EQ(store_.getText(), "[S]\r\nk=ab");
}

TEST_F(IniDocumentTest, HeaderOnTheLastLineIsNoSectionEnd) {
  start(crlf({"[S]", "a=1", "[T]"}));
  EXPECT_EQ(store_.deleteEntry("S", ""), 0);
  EXPECT_EQ(store_.document(), "");  // "[T]" without CR LF after it does not end S
  expectMirrored();
}

TEST(IniDocumentSearch, NextSectionStartFindsCompleteHeaderLines) {
  IniDocument d;
  d.assign(crlf({"[S]", "a=1", "[T]", "u=3"}));
  EXPECT_EQ(d.nextSectionStart(1, d.length()), 11);
  EXPECT_EQ(d.nextSectionStart(12, d.length()), -1);
  EXPECT_EQ(d.nextSectionStart(1, 9), -1);  // its CR LF is at 9: not before 9
  EXPECT_EQ(d.nextSectionStart(1, 10), -1);  // "]" at 13 lies beyond 10
  d.assign(crlf({"[S]", "[x", "y]", "[T]", "k"}));
  EXPECT_EQ(d.nextSectionStart(1, d.length()), 14);  // "[x" CR LF "y]" holds a line break
  d.assign("a\r\n[b");
  EXPECT_EQ(d.nextSectionStart(1, d.length()), -1);
}

TEST(IniDocumentSearch, FindIsOneBased) {
  IniDocument d;
  d.assign("abcabc");
  EXPECT_EQ(d.find("abc", 0), 1);
  EXPECT_EQ(d.find("abc", 2), 4);
  EXPECT_EQ(d.find("abc", 5), -1);
  EXPECT_EQ(d.find("c", 7), -1);
  EXPECT_EQ(d.findSection("abc", 0, false), -1);
}

TEST(IniDocumentMirror, MemoryMirrorFollowsEveryChange) {
  IniDocument d;
  auto mem = std::make_unique<MemorySpliceFile>();
  MemorySpliceFile* m = mem.get();
  d.attachMirror(std::move(mem));
  d.setValue("S", "a", "1");
  d.setValue("S", "b", "2");
  d.deleteEntry("S", "a");
  d.renameKey("S", "b", "c");
  EXPECT_EQ(m->content(), d.bytes());
  EXPECT_EQ(d.bytes(), crlf({"[S]", "c=2"}));
}

}  // namespace
}  // namespace kx
