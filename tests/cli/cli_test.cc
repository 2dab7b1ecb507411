// kestrix-cli end to end: pack a small store, then search it as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;
using test::TempDir;

struct Result {
  int code;
  std::string out;
};

// Runs kestrix-cli with args (shell words), standard input from stdinFile
// when given, and returns its exit code and standard output.
Result cli(const std::string& args, const std::string& stdinFile = "") {
  std::string cmd = std::string(KX_BIN_DIR) + "/kestrix-cli " + args + " 2>/dev/null";
  if (!stdinFile.empty()) cmd += " < " + stdinFile;
  std::string out;
  std::FILE* p = ::popen(cmd.c_str(), "r");
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  int status = ::pclose(p);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeFile(dir_.file("words.txt"),
                    "阿迪达斯 男式鞋\n阿迪王\nNike 男式跑鞋\nnike air\n3D眼镜\n【正品】耐克\n调料\n\n男式衬衫\r\n");
    test::writeFile(dir_.file("shops.txt"), "耐克旗舰店\n阿迪专卖店\n");
    ASSERT_EQ(cli("pack --output " + data() + " --category product " + dir_.file("words.txt")).code, 0);
    ASSERT_EQ(cli("pack --output " + data() + " --category store -", dir_.file("shops.txt")).code, 0);
  }
  std::string data() const { return dir_.file("data"); }
  std::string search(const std::string& args) { return "search --data " + data() + " " + args; }

  TempDir dir_;
};

TEST_F(CliTest, EveryPlainModeAndPinyin) {
  EXPECT_EQ(cli(search("阿迪")).out, "阿迪达斯 男式鞋\n阿迪王\n");
  EXPECT_EQ(cli(search("--mode middle 男式")).out, "阿迪达斯 男式鞋\nNike 男式跑鞋\n男式衬衫\n");
  EXPECT_EQ(cli(search("--mode right 鞋")).out, "阿迪达斯 男式鞋\nNike 男式跑鞋\n");
  EXPECT_EQ(cli(search("--mode pinyin adds")).out, "阿迪达斯 男式鞋\n");
  EXPECT_EQ(cli(search("--mode pinyin nike")).out, "Nike 男式跑鞋\nnike air\n");
  EXPECT_EQ(cli(search("--mode left nike")).out, "nike air\n");  // left is case-sensitive
  EXPECT_EQ(cli(search("--mode all --count")).out, "8\n");
  EXPECT_EQ(cli(search("--category store --mode all")).out, "阿迪专卖店\n耐克旗舰店\n");
  EXPECT_EQ(cli(search("--mode pinyin 3dyj")).out, "3D眼镜\n");
  // The symbol-led keyword was placed under its first letter (正 -> Z) and is found from "all".
  EXPECT_EQ(cli(search("【")).out, "【正品】耐克\n");
  EXPECT_EQ(cli(search("--letter A --mode middle 耐克")).out, "");
  EXPECT_EQ(cli(search("zzz")).code, 0);  // no matches is not an error
}

TEST_F(CliTest, ThreadCountChangesNothingButSpeed) {
  for (const char* args : {"--mode all", "--mode middle 男式", "--mode regex '鞋$'", "--mode pinyin adds"}) {
    const Result one = cli(search(std::string("--threads 1 ") + args));
    EXPECT_EQ(one.code, 0);
    EXPECT_EQ(cli(search(std::string("--threads 3 ") + args)).out, one.out) << args;
    EXPECT_EQ(cli(search(args)).out, one.out) << args;
  }
}

TEST_F(CliTest, WildcardAndRegexModes) {
  EXPECT_EQ(cli(search("--mode wildcard '阿迪*鞋'")).out, "阿迪达斯 男式鞋\n");
  EXPECT_EQ(cli(search("--mode wildcard 'NIKE*'")).out, "Nike 男式跑鞋\nnike air\n");  // letters in either case
  EXPECT_EQ(cli(search("--mode regex '鞋$'")).out, "阿迪达斯 男式鞋\nNike 男式跑鞋\n");
  EXPECT_EQ(cli(search("--mode regex '(阿迪'")).code, 2);  // an invalid pattern is a usage error here
  EXPECT_EQ(cli(search("--mode regex '(?<=a+)b'")).code, 2);
  EXPECT_EQ(cli(search("--mode regex '(?<=a+)b' 2>&1 | cat")).out,  // the message, through the pipe
            "kestrix-cli: pattern not supported at character 1: lookbehind of varying length\n");
  EXPECT_EQ(cli(search("--mode wildcard '(阿迪'")).code, 0);  // wildcards make ( literal
}

TEST_F(CliTest, ExportFileAndCountsFile) {
  const std::string out = dir_.file("out.txt");
  test::writeFile(out, "previous content");
  ASSERT_EQ(cli(search("--mode middle --output " + out + " 男式")).code, 0);
  EXPECT_EQ(test::readFile(out), gbk(u8"阿迪达斯 男式鞋\r\nNike 男式跑鞋\r\n男式衬衫\r\n"));
  const std::string counts = test::readFile(data() + "/词数.ini");
  EXPECT_NE(counts.find(gbk(u8"[商品词数]\r\n")), std::string::npos);
  EXPECT_NE(counts.find(gbk(u8"[店铺词数]\r\n")), std::string::npos);  // pack kept the other section
  EXPECT_NE(counts.find("all=8"), std::string::npos);
  EXPECT_NE(counts.find("all=2"), std::string::npos);
}

TEST_F(CliTest, DumpGivesTheLetterFileBack) {
  const std::string out = dir_.file("a.txt");
  ASSERT_EQ(cli("dump --data " + data() + " --letter A --output " + out).code, 0);
  EXPECT_EQ(test::readFile(out), gbk(u8"阿迪达斯 男式鞋\r\n阿迪王\r\n"));
}

TEST_F(CliTest, UsageAndIoErrors) {
  EXPECT_EQ(cli(search("--mode sideways x")).code, 2);
  EXPECT_EQ(cli(search("--letter AB x")).code, 2);
  EXPECT_EQ(cli(search("--category shop x")).code, 2);
  EXPECT_EQ(cli(search("--bogus x")).code, 2);
  EXPECT_EQ(cli(search("")).code, 2);        // no query
  EXPECT_EQ(cli(search("'鞋😀'")).code, 2);  // GBK cannot hold the emoji
  EXPECT_EQ(cli(search("--output")).code, 2);  // option without its value
  for (const char* threads : {"0", "-1", "x", "2x", "1025", ""})
    EXPECT_EQ(cli(search(std::string("--threads '") + threads + "' x")).code, 2) << threads;
  EXPECT_EQ(cli("frobnicate").code, 2);
  EXPECT_EQ(cli(search("-- --mode")).code, 0);  // after -- everything is the query
  EXPECT_EQ(cli(search("--output /nonexistent-dir/out.txt 阿")).code, 1);
  EXPECT_EQ(cli("search --data " + dir_.file("nowhere") + " 阿").code, 1);
  EXPECT_EQ(cli("pack --output " + data() + " --category product " + dir_.file("missing.txt")).code, 1);
  EXPECT_EQ(cli("pack --category product x").code, 2);
  EXPECT_EQ(cli("search --help").code, 0);
  EXPECT_EQ(cli("pack --help").code, 0);
}

TEST_F(CliTest, MiningAListOfRootWords) {
  // A list as Windows Notepad saves it: byte-order mark, CR LF, an empty line,
  // a repeat and a line GBK cannot hold (skipped, the run goes on).
  const std::string roots = dir_.file("roots.txt");
  test::writeFile(roots, "\xEF\xBB\xBF男式\r\n鞋\r\n\r\n男式\r\n鞋😀\r\n耐克\r\n无此词\r\n");
  const std::string batch = "--mode middle --queries " + roots;
  EXPECT_EQ(cli(search(batch + " --count")).out, "男式\t3\n鞋\t2\n耐克\t1\n无此词\t0\n\t4\n");
  // The union: every keyword once, in store order.
  const Result all = cli(search(batch));
  EXPECT_EQ(all.code, 0);
  EXPECT_EQ(all.out, "阿迪达斯 男式鞋\nNike 男式跑鞋\n男式衬衫\n【正品】耐克\n");
  EXPECT_EQ(cli(search("--mode middle --queries - --count"), roots).out, cli(search(batch + " --count")).out);
  const std::string out = dir_.file("out.txt");
  ASSERT_EQ(cli(search(batch + " --output " + out)).code, 0);
  EXPECT_EQ(test::readFile(out), gbk(u8"阿迪达斯 男式鞋\r\nNike 男式跑鞋\r\n男式衬衫\r\n【正品】耐克\r\n"));

  // Excludes, for a batch and for one query; a GBK list.
  const std::string noes = dir_.file("no.txt");
  test::writeFile(noes, "跑鞋\n衬衫\n");
  EXPECT_EQ(cli(search(batch + " --exclude " + noes + " --count")).out, "男式\t1\n鞋\t1\n耐克\t1\n无此词\t0\n\t2\n");
  test::writeFile(noes, gbk(u8"跑鞋\r\n衬衫\r\n"));
  EXPECT_EQ(cli(search("--mode middle 男式 --exclude " + noes + " --encoding gbk")).out, "阿迪达斯 男式鞋\n");
  EXPECT_EQ(cli(search("--mode all --count --exclude " + noes + " --encoding gbk")).out, "6\n");
}

TEST_F(CliTest, SplitWritesOneFilePerQueryWithSafeNames) {
  const std::string roots = dir_.file("roots.txt");
  test::writeFile(roots, "男式\na/b\n*\na b\nCON\ncon.x\n.\n\"\t\"\n");
  const std::string split = dir_.file("拆分");
  ASSERT_EQ(cli(search("--mode middle --queries " + roots + " --split " + split)).code, 0);
  EXPECT_EQ(test::readFile(split + "/index.tsv"),
            gbk(u8"file\tquery\tcount\r\n男式.txt\t男式\t3\r\na_b.txt\ta/b\t0\r\n_.txt\t*\t0\r\n"
                u8"a_b~2.txt\ta b\t0\r\n_CON.txt\tCON\t0\r\n_con.x.txt\tcon.x\t0\r\n_..txt\t.\t0\r\n"
                u8"___.txt\t\"\"\"\t\"\"\"\t0\r\n"));
  EXPECT_EQ(test::readFile(split + "/男式.txt"), gbk(u8"阿迪达斯 男式鞋\r\nNike 男式跑鞋\r\n男式衬衫\r\n"));
  EXPECT_EQ(test::readFile(split + "/_CON.txt"), "");
}

TEST_F(CliTest, BatchUsageAndIoErrors) {
  const std::string roots = dir_.file("roots.txt");
  test::writeFile(roots, "\r\n\n");
  EXPECT_EQ(cli(search("--queries " + roots)).code, 2);  // no queries at all
  EXPECT_EQ(cli(search("--queries " + dir_.file("missing.txt"))).code, 1);
  test::writeFile(roots, "阿\n");
  EXPECT_EQ(cli(search("--queries " + roots + " --exclude " + dir_.file("missing.txt"))).code, 1);
  EXPECT_EQ(cli(search("--queries " + roots + " 阿")).code, 2);
  EXPECT_EQ(cli(search("--queries " + roots + " --mode all")).code, 2);
  EXPECT_EQ(cli(search("--split " + dir_.file("s") + " 阿")).code, 2);
  EXPECT_EQ(cli(search("--queries " + roots + " --count --output " + dir_.file("o"))).code, 2);
  EXPECT_EQ(cli(search("--queries " + roots + " --encoding latin1")).code, 2);
  test::writeFile(roots, "(阿\n鞋$\n");  // a bad pattern is skipped like a bad line
  EXPECT_EQ(cli(search("--mode regex --count --queries " + roots)).out, "鞋$\t2\n\t2\n");
}

}  // namespace
}  // namespace kx
