#include "platform/cipher_file.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "platform/digest.h"
#include "platform/store_password.h"
#include "support/test_util.h"

namespace kx {
namespace {

using test::TempDir;

TEST(Digest, StandardVectorsInUpperCaseHex) {
  EXPECT_EQ(md5Hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(sha1Hex("abc"), "A9993E364706816ABA3E25717850C26C9CD0D89D");
  EXPECT_EQ(md5Hex("").size(), 32u);
}

TEST(StorePassword, Sha1OfLowerCasedMiddleOfMd5) {
  // Worked out independently from the seed bytes B4 CA BF E2.
  EXPECT_EQ(storeSeed(), std::string_view("\xB4\xCA\xBF\xE2", 4));
  EXPECT_EQ(storePassword(), "2A0EA45157F3A16FEEA8AE4529C7993929221481");
  // md5("abc") characters 9..24, lowered, are "3cd24fb0d6963f7d".
  EXPECT_EQ(storePassword("abc"), sha1Hex("3cd24fb0d6963f7d"));
}

std::string randomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

std::string writeContainer(const TempDir& dir, const std::string& plain, std::string_view password = "pw") {
  const std::string path = dir.file("c.bin");
  CipherWriter w;
  EXPECT_TRUE(w.create(path, password));
  // Several appends of odd sizes cross the keystream's 16-byte blocks.
  for (std::size_t at = 0; at < plain.size(); at += 1000) EXPECT_TRUE(w.append(std::string_view(plain).substr(at, 1000)));
  EXPECT_TRUE(w.finish());
  return path;
}

TEST(CipherFile, ReadsBackWhatWasWrittenAndSeeksAnywhere) {
  TempDir dir;
  const std::string plain = randomBytes(100003, 1);
  const std::string path = writeContainer(dir, plain);
  EXPECT_EQ(test::readFile(path).size(), kCipherHeaderSize + plain.size());
  EXPECT_NE(test::readFile(path).substr(kCipherHeaderSize), plain);  // enciphered on disk

  CipherFile f;
  ASSERT_TRUE(f.open(path, "pw"));
  EXPECT_EQ(f.length(), plain.size());
  std::string all(plain.size(), '\0');
  EXPECT_EQ(f.read(all.data(), all.size() + 10), plain.size());
  EXPECT_EQ(all, plain);
  char c;
  EXPECT_EQ(f.read(&c, 1), 0u);  // at the end

  std::mt19937 rng(2);
  for (int i = 0; i < 200; ++i) {
    std::uint64_t pos = rng() % plain.size();
    std::size_t n = rng() % 100;
    f.seek(pos);
    std::string got(n, '\0');
    got.resize(f.read(got.data(), n));
    EXPECT_EQ(got, plain.substr(pos, n)) << "at " << pos;
    EXPECT_EQ(f.position(), pos + got.size());
  }
}

// Runs a test on each keystream path the processor has, then restores the default.
class CipherPaths : public testing::TestWithParam<CipherPath> {
 protected:
  void SetUp() override {
    if (!forceCipherPath(GetParam())) GTEST_SKIP() << "this processor lacks the path";
  }
  void TearDown() override { forceCipherPath(default_); }

 private:
  const CipherPath default_ = cipherPath();
};

INSTANTIATE_TEST_SUITE_P(CipherFile, CipherPaths, testing::Values(CipherPath::OpenSsl, CipherPath::VectorAes),
                         [](const testing::TestParamInfo<CipherPath>& path) {
                           return path.param == CipherPath::OpenSsl ? "OpenSsl" : "VectorAes";
                         });

// Worker threads read one file through cursors of their own; a cursor that
// moves between files (with different keys) or jumps must still decipher right.
TEST_P(CipherPaths, ReadAtThroughCursorsOnSeveralFilesAndThreads) {
  TempDir dir1, dir2;
  const std::string plain1 = randomBytes(300007, 3), plain2 = randomBytes(70001, 4);
  CipherFile f1, f2;
  ASSERT_TRUE(f1.open(writeContainer(dir1, plain1, "pw"), "pw"));
  ASSERT_TRUE(f2.open(writeContainer(dir2, plain2, "other"), "other"));
  auto check = [&](unsigned seed) {
    CipherFile::Cursor cursor;
    std::mt19937 rng(seed);
    for (int i = 0; i < 300; ++i) {
      const bool first = rng() % 2;
      const std::string& plain = first ? plain1 : plain2;
      std::uint64_t pos = rng() % (plain.size() + 20);
      // Runs of reads that follow on one another, then a jump.
      for (auto run = rng() % 3 + 1; run > 0; --run) {
        const std::size_t n = rng() % 5000;
        std::string got(n, '\0');
        got.resize((first ? f1 : f2).readAt(pos, got.data(), n, cursor));
        const std::string want = pos < plain.size() ? plain.substr(pos, n) : std::string();
        ASSERT_EQ(got, want) << "at " << pos;
        pos += got.size();
      }
    }
  };
  std::thread other(check, 6u);
  check(5);
  other.join();
  EXPECT_EQ(f1.position(), 0u);  // readAt leaves the read position alone
}

TEST(CipherFile, RefusesWhatItCannotRead) {
  TempDir dir;
  const std::string path = writeContainer(dir, randomBytes(5000, 3));
  CipherFile f;
  EXPECT_FALSE(f.open(path, "wrong"));
  EXPECT_FALSE(f.isOpen());
  EXPECT_FALSE(f.open(dir.file("missing"), "pw"));

  const std::string bytes = test::readFile(path);
  test::writeFile(dir.file("truncated"), bytes.substr(0, bytes.size() - 1));
  EXPECT_FALSE(f.open(dir.file("truncated"), "pw"));
  test::writeFile(dir.file("short"), bytes.substr(0, 20));
  EXPECT_FALSE(f.open(dir.file("short"), "pw"));
  test::writeFile(dir.file("plain"), "A\r\nB\r\n");
  EXPECT_FALSE(f.open(dir.file("plain"), "pw"));
  std::string badVersion = bytes;
  badVersion[4] = 9;
  test::writeFile(dir.file("version"), badVersion);
  EXPECT_FALSE(f.open(dir.file("version"), "pw"));

  char c;
  EXPECT_EQ(f.read(&c, 1), 0u);  // a closed file reads nothing
  EXPECT_TRUE(f.open(path, "pw"));
}

TEST(CipherFile, EmptyContent) {
  TempDir dir;
  CipherFile f;
  ASSERT_TRUE(f.open(writeContainer(dir, ""), "pw"));
  EXPECT_EQ(f.length(), 0u);
}

}  // namespace
}  // namespace kx
