// Writes that fail part-way (a file-size limit stands in for a full disk)
// must leave the old content whole.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>

#include "config/config_store.h"
#include "platform/file_util.h"
#include "platform/splice_file.h"
#include "support/test_util.h"

namespace kx {
namespace {

// While alive, no file of this process may grow beyond `limit` bytes; a
// write past it fails with EFBIG instead of killing the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit now = old_;
    now.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &now);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST(FailedWrite, SpliceThatCannotGrowChangesNothing) {
  const std::string doc = "[S]\r\na=1\r\nb=2\r\nc=3\r\n[T]\r\nu=9\r\n";
  struct Case {
    std::uint64_t offset, count;
    std::string bytes;
  } cases[] = {
      {7, 1, "123456789"},                    // a value grows mid-file
      {0, 0, std::string(100000, 'x')},     // a large insertion at the start
      {doc.size(), 0, "[U]\r\nnew=1\r\n"},  // an append
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const std::string p = dir.file("t.ini");
    test::writeFile(p, doc);
    auto f = DiskSpliceFile::open(p);
    ASSERT_TRUE(f);
    {
      FileSizeLimit limit(doc.size() + 1);
      EXPECT_FALSE(f->splice(c.offset, c.count, c.bytes)) << c.offset;
    }
    EXPECT_EQ(test::readFile(p), doc) << c.offset;
    EXPECT_TRUE(f->splice(c.offset, c.count, c.bytes));  // room again: it goes through
  }
}

TEST(FailedWrite, SettingsStoreReportsTheLostWriteAndKeepsTheFile) {
  test::TempDir dir;
  const std::string p = dir.file("t.ini");
  const std::string doc = "[S]\r\na=1\r\nb=2\r\nc=3\r\n[T]\r\nu=9\r\n";
  test::writeFile(p, doc);
  ConfigStore s;
  ASSERT_TRUE(s.open(p, StorageMode::DiskFile));
  ASSERT_TRUE(s.changesReachFile());
  {
    FileSizeLimit limit(doc.size() + 1);
    s.setValue("S", "a", "123456789");
  }
  EXPECT_FALSE(s.changesReachFile());
  EXPECT_EQ(test::readFile(p), doc);
}

TEST(FailedWrite, WholeFileWritesKeepTheOldFile) {
  test::TempDir dir;
  const std::string p = dir.file("old.ini");
  test::writeFile(p, "[S]\r\nk=old\r\n");
  {
    FileSizeLimit limit(8);
    EXPECT_FALSE(writeFileExclusive(p, std::string(64, 'n')));
  }
  EXPECT_EQ(test::readFile(p), "[S]\r\nk=old\r\n");
  EXPECT_TRUE(writeFileExclusive(p, "new"));
  EXPECT_EQ(test::readFile(p), "new");
}

}  // namespace
}  // namespace kx
#endif
