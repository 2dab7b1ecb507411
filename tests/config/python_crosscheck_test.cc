// An independent reader: Python's configparser (encoding gbk) reads the
// files this store writes and must see the same values. Skips, with a
// message, when python3 is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "config/app_settings.h"
#include "config/config_store.h"
#include "config_test_util.h"
#include "text/gbk_codec.h"

namespace kx {
namespace {

using test::g;

constexpr char kReader[] = R"PY(
import configparser, sys
p = configparser.RawConfigParser(strict=True, delimiters=('=',), comment_prefixes=(), inline_comment_prefixes=None,
                                 empty_lines_in_values=False)
p.optionxform = str
with open(sys.argv[1], encoding='gbk', newline='') as f:
    text = f.read()
p.read_string(text.replace('\r\n', '\n'))
out = []
for s in p.sections():
    for k, v in p.items(s):
        out.append(s + '\t' + k + '\t' + v + '\n')
sys.stdout.buffer.write(''.join(out).encode('utf-8'))
)PY";

bool havePython() { return std::system("python3 -c 'import configparser' >/dev/null 2>&1") == 0; }

// section \t key \t value lines as Python sees the file, UTF-8.
std::string pythonRead(const test::TempDir& dir, const std::string& ini) {
  const std::string script = dir.file("reader.py");
  test::writeFile(script, kReader);
  const std::string cmd = "python3 '" + script + "' '" + ini + "'";
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    EXPECT_EQ(pclose(p), 0) << "python3 failed on " << ini;
  }
  return out;
}

class RadioStub : public RadioButtonControl {
 public:
  RadioStub(std::string c, bool on) : c_(std::move(c)), on_(on) {}
  std::string caption() const override { return c_; }
  bool checked() const override { return on_; }
  void setChecked(bool on) override { on_ = on; }
  std::string c_;
  bool on_;
};

class WindowStub : public SettingsWindow {
 public:
  WindowStub() {
    for (const auto& r : settings::kRadioButtons) radios_.emplace_back(std::string(r.caption), r.designChecked);
  }
  int categoryPosition() const override { return 1; }
  void setCategoryPosition(int) override {}
  int letterPosition() const override { return 26; }
  void setLetterPosition(int) override {}
  RadioButtonControl& radioButton(int i) override { return radios_[static_cast<std::size_t>(i)]; }
  std::string keywordText() const override { return g("阿迪达斯 鞋"); }
  void setKeywordText(const std::string&) override {}
  std::vector<RadioStub> radios_;
};

TEST(PythonCrossCheck, ConfigparserReadsTheSameValues) {
  if (!havePython()) GTEST_SKIP() << "python3 with configparser not found; cross-check skipped";
  test::TempDir dir;
  const std::string ini = dir.file("Kestrix.ini");
  ConfigStore store;
  ASSERT_TRUE(store.open(ini, StorageMode::DiskFile));
  WindowStub w;
  ASSERT_TRUE(saveSettings(store, w));
  store.setSection(g("其他"));
  store.writeNumber("pi", 3.14159265358979);
  store.writeNumber("big", 1e20);
  store.writeText("lines", g("第一行\r\n第二行"));
  store.writeFlag("flag", true);
  store.writeDateTime("when", {2024, 6, 1, 12, 30, 0});
  store.setValue(g("其他"), "eq", "a=b=c");
  store.deleteEntry(g("其他"), "flag");
  store.renameKey(g("其他"), "big", "huge");

  std::string expected;
  // configparser lists sections in file order and keys in file order.
  auto line = [&](std::string_view s, std::string_view k, std::string_view v) {
    expected += gbkToUtf8(s) + "\t" + gbkToUtf8(k) + "\t" + gbkToUtf8(v) + "\n";
  };
  const std::string basic(settings::kSection);
  line(basic, settings::kKeywordKey, g("阿迪达斯 鞋"));
  for (int i = 6; i >= 0; --i) {
    const auto& r = settings::kRadioButtons[static_cast<std::size_t>(i)];
    line(basic, r.caption, r.designChecked ? g("真") : g("假"));
  }
  line(basic, settings::kLetterKey, "26");
  line(basic, settings::kCategoryKey, "1");
  line(g("其他"), "eq", "a=b=c");
  line(g("其他"), "when", g("2024年6月1日12时30分"));
  line(g("其他"), "lines", g("第一行┊*┊第二行"));
  line(g("其他"), "huge", "1e+20");
  line(g("其他"), "pi", "3.14159265359");
  EXPECT_EQ(pythonRead(dir, ini), expected);

  // And what Python reads, the store reads too.
  store.setSection(g("其他"));
  EXPECT_DOUBLE_EQ(store.readNumber("pi", 0), 3.14159265359);
  EXPECT_EQ(store.readText("lines", ""), g("第一行\r\n第二行"));
}

TEST(PythonCrossCheck, CountsFileReadsTheSame) {
  if (!havePython()) GTEST_SKIP() << "python3 with configparser not found; cross-check skipped";
  test::TempDir dir;
  const std::string ini = dir.file("counts.ini");
  ConfigStore store;
  ASSERT_TRUE(store.open(ini, StorageMode::DiskFile));
  for (const char* section : {"商品词数", "店铺词数"}) {
    store.setSection(g(section));
    for (int i = 3; i >= 1; --i) store.writeNumber(std::string(1, static_cast<char>('A' + i - 1)), i * 1000 + 0.5);
  }
  std::string out = pythonRead(dir, ini);
  EXPECT_EQ(out, "商品词数\tA\t1000.5\n商品词数\tB\t2000.5\n商品词数\tC\t3000.5\n"
                 "店铺词数\tA\t1000.5\n店铺词数\tB\t2000.5\n店铺词数\tC\t3000.5\n");
}

}  // namespace
}  // namespace kx
