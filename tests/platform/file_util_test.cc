#include "platform/file_util.h"

#include <gtest/gtest.h>

#include "platform/splice_file.h"
#include "support/test_util.h"

namespace kx {
namespace {

TEST(FileUtil, PathPieces) {
  EXPECT_EQ(joinPath("/a/b", "c.ini"), std::string("/a/b") + kPathSeparator + "c.ini");
  EXPECT_EQ(parentFolder("/a/b/c.ini"), "/a/b");
  EXPECT_EQ(parentFolder(joinPath("/a/b", "c.ini")), "/a/b");
  EXPECT_EQ(parentFolder("c.ini"), "");
  EXPECT_EQ(fileName("/a/b/c.ini"), "c.ini");
  EXPECT_EQ(fileName("c.ini"), "c.ini");
}

TEST(FileUtil, WholeFiles) {
  test::TempDir dir;
  const std::string p = dir.file("词数.ini");
  std::string out = "unchanged";
  EXPECT_FALSE(readWholeFile(p, out));
  EXPECT_EQ(out, "unchanged");
  EXPECT_TRUE(writeFileExclusive(p, std::string("a\0b", 3)));
  EXPECT_TRUE(readWholeFile(p, out));
  EXPECT_EQ(out, std::string("a\0b", 3));
  EXPECT_TRUE(writeFileExclusive(p, "x"));  // replaces
  EXPECT_TRUE(readWholeFile(p, out));
  EXPECT_EQ(out, "x");
  EXPECT_FALSE(readWholeFile(dir.path(), out));
  EXPECT_TRUE(fileExists(p));
  EXPECT_FALSE(isFolder(p));
}

TEST(FileUtil, ExclusiveWriteRespectsAHolder) {
  test::TempDir dir;
  const std::string p = dir.file("held.ini");
  auto held = DiskSpliceFile::open(p);
  ASSERT_TRUE(held);
  held->splice(0, 0, "kept");
  EXPECT_FALSE(writeFileExclusive(p, "overwritten"));
  EXPECT_EQ(test::readFile(p), "kept");
}

TEST(FileUtil, Folders) {
  test::TempDir dir;
  EXPECT_TRUE(makeFolder(dir.file("inibin")));
  EXPECT_TRUE(makeFolder(dir.file("inibin")));  // exists already
  EXPECT_TRUE(isFolder(dir.file("inibin")));
  EXPECT_FALSE(makeFolder(dir.file("a/b")));  // one level only
  EXPECT_FALSE(executableFolder().empty());
  EXPECT_TRUE(isFolder(executableFolder()));
}

}  // namespace
}  // namespace kx
