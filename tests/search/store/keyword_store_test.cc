#include "search/store/keyword_store.h"
#include "search/run/file_blocks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/store_fixture.h"
#include "support/test_util.h"

namespace kx {
namespace {

using test::TempDir;

std::vector<std::string> readAll(LetterFile* f) {
  std::vector<std::string> out;
  while (!atEnd(f)) out.emplace_back(readLine(f));
  return out;
}

TEST(KeywordStore, OpensEveryLetterAndFillsTheSelector) {
  TempDir dir;
  for (int i = 1; i <= kLetterFileCount; ++i) test::writeLetterFile(dir.path(), KeywordCategory::ProductWords, i, "x\r\n");
  std::filesystem::remove(test::fsPath(dir.path() + "/商品词/Q.txt"));
  test::writeLetterFile(dir.path(), KeywordCategory::StoreWords, 1, "s\r\n");

  KeywordStore store;
  std::vector<std::string> entries;
  store.openStore(dir.path(), [&](const std::string& e) { entries.push_back(e); });
  ASSERT_EQ(entries.size(), 28u);
  EXPECT_EQ(entries[0], "A");
  EXPECT_EQ(entries[25], "Z");
  EXPECT_EQ(entries[26], "0-9");
  EXPECT_EQ(entries[27], "all");

  EXPECT_NE(store.letterFile(KeywordCategory::ProductWords, 1), nullptr);
  EXPECT_EQ(store.letterFile(KeywordCategory::ProductWords, 17), nullptr);  // Q was removed
  EXPECT_NE(store.letterFile(KeywordCategory::ProductWords, 27), nullptr);
  EXPECT_EQ(store.letterFile(KeywordCategory::ProductWords, 28), nullptr);  // "all" holds no file
  EXPECT_NE(store.letterFile(KeywordCategory::StoreWords, 1), nullptr);
  EXPECT_EQ(store.letterFile(KeywordCategory::StoreWords, 2), nullptr);
  EXPECT_TRUE(atEnd(nullptr));
  EXPECT_EQ(readLine(nullptr), "");
  store.closeAll();
  EXPECT_EQ(store.letterFile(KeywordCategory::ProductWords, 1), nullptr);
}

TEST(LetterFile, LineRules) {
  TempDir dir;
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},          // a final CR LF adds no empty keyword
      {"a\r\nb", {"a", "b"}},              // the last line without CR LF
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},  // an empty line is an empty keyword
      {"a\nb\r\r\n", {"a", "b\r"}},        // LF alone ends a line; only one CR is removed
      {"", {}},
      {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const Case& c : cases) {
    test::writeLetterFile(dir.path(), KeywordCategory::ProductWords, 1, c.bytes);
    LetterFile f;
    ASSERT_TRUE(f.open(dir.path() + "/商品词/A.txt", storePassword()));
    EXPECT_EQ(readAll(&f), c.lines);
    f.rewind();
    EXPECT_EQ(readAll(&f), c.lines);  // rewinding reads the same again
  }
}

TEST(LetterFile, LongLinesAndBlockBoundaries) {
  TempDir dir;
  // Lines longer than any read block, and a double-byte character at every
  // possible offset around the block boundary.
  std::vector<std::string> keywords;
  keywords.push_back(std::string(700000, 'x') + "\xB0\xA2");
  for (int i = 0; i < 40000; ++i) keywords.push_back(std::string(static_cast<std::size_t>(i % 7), 'k') + "\xB0\xA2" + std::to_string(i));
  const std::string bytes = test::lines(keywords);
  test::writeLetterFile(dir.path(), KeywordCategory::ProductWords, 1, bytes);

  LetterFile f;
  ASSERT_TRUE(f.open(dir.path() + "/商品词/A.txt", storePassword()));
  EXPECT_EQ(readAll(&f), keywords);

  // Blocks of any size hold whole lines that together are the file, each in
  // the block where it starts; a block inside a long line is empty.
  CipherFile::Cursor cursor;
  BlockBuffer buf;
  for (std::size_t blockSize : {std::size_t{13}, std::size_t{4096}, kDefaultBlockSize}) {
    std::string joined;
    for (std::uint64_t k = 0; k < blockCount(f.length(), blockSize); ++k) {
      bool failed = true;
      std::string_view block = readBlock(f, k, blockSize, cursor, buf, &failed);
      ASSERT_FALSE(failed);
      const std::size_t at = joined.size();
      joined.append(block);
      if (block.empty()) continue;
      ASSERT_EQ(block.back(), '\n');
      ASSERT_TRUE(at == 0 || bytes[at - 1] == '\n');
      ASSERT_GE(at, k * blockSize);
      ASSERT_LT(at, (k + 1) * blockSize);
    }
    EXPECT_EQ(joined, bytes) << blockSize;
  }
}

TEST(LetterFile, BlocksAfterTheFirstReuseItsBuffer) {
  // Every block after the first reads one byte more (the one before it); a
  // buffer made anew would be fresh memory, a page fault a page.
  TempDir dir;
  test::writeLetterFile(dir.path(), KeywordCategory::ProductWords, 1,
                        test::lines(std::vector<std::string>(100000, "keyword")));
  LetterFile f;
  ASSERT_TRUE(f.open(dir.path() + "/商品词/A.txt", storePassword()));
  ASSERT_GE(blockCount(f.length(), kDefaultBlockSize), 3u);
  CipherFile::Cursor cursor;
  BlockBuffer buf;
  bool failed = true;
  readBlock(f, 0, kDefaultBlockSize, cursor, buf, &failed);
  const char* const first = buf.data();
  for (std::uint64_t k : {1, 2}) {
    readBlock(f, k, kDefaultBlockSize, cursor, buf, &failed);
    EXPECT_FALSE(failed);
    EXPECT_EQ(buf.data(), first) << k;
  }
}

TEST(LetterFile, WrongPasswordLeavesTheSlotEmpty) {
  TempDir dir;
  const std::string folder = joinPath(dir.path(), "商品词");
  ASSERT_TRUE(makeFolders(folder));
  CipherWriter w;
  ASSERT_TRUE(w.create(joinPath(folder, "A.txt"), "another password"));
  w.append("a\r\n");
  w.finish();
  test::writeFile(joinPath(folder, "B.txt"), "plain\r\n");
  KeywordStore store;
  store.openStore(dir.path());
  EXPECT_EQ(store.letterFile(KeywordCategory::ProductWords, 1), nullptr);
  EXPECT_EQ(store.letterFile(KeywordCategory::ProductWords, 2), nullptr);
}

}  // namespace
}  // namespace kx
