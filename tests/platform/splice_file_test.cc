#include "platform/splice_file.h"

#include <gtest/gtest.h>

#include <random>

#include "support/test_util.h"

namespace kx {
namespace {

std::string contentOf(const SpliceFile& f) {
  std::string s;
  EXPECT_TRUE(f.readAll(s));
  return s;
}

TEST(DiskSpliceFile, CreatesWithoutTruncating) {
  test::TempDir dir;
  const std::string p = dir.file("a.bin");
  {
    auto f = DiskSpliceFile::open(p);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->size(), 0u);
    EXPECT_TRUE(f->splice(0, 0, "hello"));
  }
  auto f = DiskSpliceFile::open(p);
  ASSERT_TRUE(f);
  EXPECT_EQ(contentOf(*f), "hello");
}

TEST(DiskSpliceFile, InsertDeleteReplace) {
  test::TempDir dir;
  const std::string p = dir.file("a.bin");
  auto f = DiskSpliceFile::open(p);
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->splice(0, 0, "0123456789"));
  EXPECT_TRUE(f->splice(3, 0, "abc"));  // insert
  EXPECT_EQ(test::readFile(p), "012abc3456789");
  EXPECT_TRUE(f->splice(0, 3, ""));  // delete
  EXPECT_EQ(test::readFile(p), "abc3456789");
  EXPECT_TRUE(f->splice(3, 4, "X"));  // shrink
  EXPECT_EQ(test::readFile(p), "abcX789");
  EXPECT_TRUE(f->splice(1, 1, "LONGER"));  // grow
  EXPECT_EQ(test::readFile(p), "aLONGERcX789");
  EXPECT_TRUE(f->splice(12, 0, "!"));  // append
  EXPECT_EQ(test::readFile(p), "aLONGERcX789!");
  EXPECT_TRUE(f->splice(0, 13, ""));
  EXPECT_EQ(test::readFile(p), "");
  EXPECT_FALSE(f->splice(1, 0, "x"));  // beyond the end
  EXPECT_FALSE(f->splice(0, 1, ""));
  EXPECT_EQ(f->size(), 0u);
}

TEST(DiskSpliceFile, FewestWrites) {
  test::TempDir dir;
  auto f = DiskSpliceFile::open(dir.file("a.bin"));
  ASSERT_TRUE(f);
  f->splice(0, 0, std::string(300000, 'x'));  // a tail longer than one block
  auto writes = f->writeCount();
  auto resizes = f->resizeCount();
  f->splice(10, 0, "grow");  // the new length first, then new bytes and moved tail in one write
  EXPECT_EQ(f->writeCount(), writes + 1);
  EXPECT_EQ(f->resizeCount(), ++resizes);
  f->splice(10, 4, "same");  // equal length: one write
  EXPECT_EQ(f->writeCount(), writes + 2);
  EXPECT_EQ(f->resizeCount(), resizes);
  f->splice(10, 4, "");  // shrink: one write, then the length
  EXPECT_EQ(f->writeCount(), writes + 3);
  EXPECT_EQ(f->resizeCount(), resizes + 1);
  f->splice(f->size() - 5, 5, "");  // cut at the end: the length alone
  EXPECT_EQ(f->writeCount(), writes + 3);
  EXPECT_EQ(f->resizeCount(), resizes + 2);
  EXPECT_EQ(f->size(), 299995u);
}

TEST(DiskSpliceFile, LockKeepsOtherWritersOut) {
  test::TempDir dir;
  const std::string p = dir.file("a.bin");
  auto first = DiskSpliceFile::open(p);
  ASSERT_TRUE(first);
  int err = 0;
  EXPECT_FALSE(DiskSpliceFile::open(p, &err));
  EXPECT_EQ(err, EWOULDBLOCK);
  EXPECT_TRUE(first->splice(0, 0, "x"));
  EXPECT_EQ(test::readFile(p), "x");  // readers still read
  first->close();
  EXPECT_FALSE(first->isOpen());
  EXPECT_FALSE(first->splice(0, 0, "y"));
  EXPECT_TRUE(DiskSpliceFile::open(p));
}

TEST(DiskSpliceFile, UnopenablePaths) {
  test::TempDir dir;
  int err = 0;
  EXPECT_FALSE(DiskSpliceFile::open(dir.file("missing/a.bin"), &err));
  EXPECT_EQ(err, ENOENT);
  EXPECT_FALSE(DiskSpliceFile::open(dir.path(), &err));  // a folder
}

TEST(MemorySpliceFile, SameOperationsAndGrowthSteps) {
  MemorySpliceFile m("0123456789");
  EXPECT_EQ(m.capacity() % 1024, 0u);
  EXPECT_TRUE(m.splice(3, 0, "abc"));
  EXPECT_TRUE(m.splice(0, 3, ""));
  EXPECT_TRUE(m.splice(3, 4, "X"));
  EXPECT_TRUE(m.splice(1, 1, "LONGER"));
  EXPECT_EQ(m.content(), "aLONGERcX789");
  EXPECT_TRUE(m.splice(m.size(), 0, std::string(3000, 'z')));
  EXPECT_EQ(m.capacity() % 1024, 0u);
  EXPECT_GE(m.capacity(), m.size());
  EXPECT_FALSE(m.splice(m.size() + 1, 0, "x"));
  char buf[4];
  EXPECT_EQ(m.readAt(1, buf, 4), 4u);
  EXPECT_EQ(std::string(buf, 4), "LONG");
  EXPECT_EQ(m.readAt(m.size(), buf, 4), 0u);
  m.close();
  EXPECT_FALSE(m.isOpen());
  EXPECT_EQ(m.size(), 0u);
}

TEST(SpliceFiles, RandomSplicesAgreeWithAString) {
  test::TempDir dir;
  auto disk = DiskSpliceFile::open(dir.file("r.bin"));
  ASSERT_TRUE(disk);
  MemorySpliceFile mem;
  std::string model;
  std::mt19937 rng(42);
  for (int i = 0; i < 400; ++i) {
    std::size_t pos = model.empty() ? 0 : rng() % (model.size() + 1);
    std::size_t count = pos == model.size() ? 0 : rng() % std::min<std::size_t>(model.size() - pos + 1, 200000);
    std::string bytes(rng() % (i % 50 == 0 ? 150000 : 40), static_cast<char>('a' + i % 26));
    model.replace(pos, count, bytes);
    ASSERT_TRUE(disk->splice(pos, count, bytes));
    ASSERT_TRUE(mem.splice(pos, count, bytes));
    ASSERT_EQ(disk->size(), model.size());
  }
  EXPECT_EQ(contentOf(*disk), model);
  EXPECT_EQ(mem.content(), model);
}

}  // namespace
}  // namespace kx
