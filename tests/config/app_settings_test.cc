// The application's settings in Kestrix.ini.
#include "config/app_settings.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "config_test_util.h"

namespace kx {
namespace {

using test::crlf;
using test::g;

class FakeRadio : public RadioButtonControl {
 public:
  std::string caption() const override { return caption_; }
  bool checked() const override { return checked_; }
  void setChecked(bool on) override { checked_ = on; }
  std::string caption_;
  bool checked_ = false;
};

// The main window in its design state: 商品词, no letter selected,
// 匹配左边 checked, keyword 阿. The letter selector holds 28 entries.
class FakeWindow : public SettingsWindow {
 public:
  FakeWindow() {
    for (std::size_t i = 0; i < radios_.size(); ++i) {
      radios_[i].caption_ = std::string(settings::kRadioButtons[i].caption);
      radios_[i].checked_ = settings::kRadioButtons[i].designChecked;
    }
  }
  int categoryPosition() const override { return category_; }
  void setCategoryPosition(int p) override { category_ = p >= 0 && p <= 1 ? p : -1; }
  int letterPosition() const override { return letter_; }
  void setLetterPosition(int p) override { letter_ = p >= 0 && p <= 27 ? p : -1; }
  RadioButtonControl& radioButton(int i) override { return radios_[static_cast<std::size_t>(i)]; }
  std::string keywordText() const override { return keyword_; }
  void setKeywordText(const std::string& t) override { keyword_ = t; }

  // As onMainWindowCreated does: restore, then select "A" when nothing is.
  void startUp(ConfigStore& store) {
    restoreSettings(store, *this);
    if (letter_ == -1) letter_ = 0;
  }
  bool radio(std::string_view caption) const {
    for (const auto& r : radios_)
      if (r.caption_ == caption) return r.checked_;
    ADD_FAILURE() << "no such button";
    return false;
  }
  void checkOnly(std::string_view caption) {
    for (auto& r : radios_) r.checked_ = r.caption_ == caption;
  }

  int category_ = 0;
  int letter_ = -1;
  std::array<FakeRadio, 7> radios_;
  std::string keyword_ = g("阿");
};

class AppSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = dir_.file("Kestrix.ini"); }
  std::unique_ptr<ConfigStore> openStore() {
    auto s = std::make_unique<ConfigStore>();
    s->open(path_, StorageMode::DiskFile);
    return s;
  }
  test::TempDir dir_;
  std::string path_;
};

TEST_F(AppSettingsTest, FirstSaveIntoAnEmptyFileGivesTheElevenLines) {
  auto store = openStore();
  FakeWindow w;
  w.startUp(*store);
  EXPECT_EQ(w.letter_, 0);
  EXPECT_EQ(store->document(), "");  // restoring writes nothing
  EXPECT_TRUE(saveSettings(*store, w));
  const std::string expected = g(crlf({"[基本配置]", "关键词=阿", "正则表达式=假", "匹配左边=真", "匹配右边=假",
                                       "匹配中间=假", "模糊首拼=假", "全部输出（不需要输入关键字）=假", "通配符 *=假",
                                       "字母索引=0", "词源=0"}));
  EXPECT_EQ(test::readFile(path_), expected);
  // Later saves replace values in place.
  EXPECT_TRUE(saveSettings(*store, w));
  EXPECT_EQ(test::readFile(path_), expected);
}

TEST_F(AppSettingsTest, FirstRunSaveRestartGivesTheDesignState) {
  {
    auto store = openStore();
    FakeWindow w;
    w.startUp(*store);
    saveSettings(*store, w);
  }
  auto store = openStore();
  FakeWindow w;
  w.startUp(*store);
  EXPECT_EQ(w.category_, 0);
  EXPECT_EQ(w.letter_, 0);
  EXPECT_TRUE(w.radio(g("匹配左边")));
  EXPECT_FALSE(w.radio(g("正则表达式")));
  EXPECT_EQ(w.keyword_, g("阿"));
}

TEST_F(AppSettingsTest, ChoicesComeBackAfterARestart) {
  {
    auto store = openStore();
    FakeWindow w;
    w.startUp(*store);
    w.category_ = 1;
    w.letter_ = 26;  // 0-9
    w.checkOnly(g("正则表达式"));
    w.keyword_ = g("阿迪.*");
    EXPECT_TRUE(saveSettings(*store, w));
  }
  auto store = openStore();
  FakeWindow w;
  w.startUp(*store);
  EXPECT_EQ(w.category_, 1);
  EXPECT_EQ(w.letter_, 26);
  EXPECT_TRUE(w.radio(g("正则表达式")));
  EXPECT_FALSE(w.radio(g("匹配左边")));  // its stored 假 unchecks the design's check
  EXPECT_EQ(w.keyword_, g("阿迪.*"));
}

TEST_F(AppSettingsTest, EmptyKeywordReadsBackAsTheDefault) {
  {
    auto store = openStore();
    FakeWindow w;
    w.startUp(*store);
    w.keyword_.clear();
    saveSettings(*store, w);
    EXPECT_NE(test::readFile(path_).find(g("关键词=\r\n")), std::string::npos);
  }
  auto store = openStore();
  FakeWindow w;
  w.startUp(*store);
  EXPECT_EQ(w.keyword_, g("阿"));
}

TEST_F(AppSettingsTest, TwoTrueFlagsAreBothRestored) {
  test::writeFile(path_, g(crlf({"[基本配置]", "匹配左边=真", "正则表达式=真"})));
  auto store = openStore();
  FakeWindow w;
  w.startUp(*store);
  EXPECT_TRUE(w.radio(g("匹配左边")));
  EXPECT_TRUE(w.radio(g("正则表达式")));
  EXPECT_FALSE(w.radio(g("通配符 *")));
}

TEST_F(AppSettingsTest, LetterOutsideTheListSelectsA) {
  test::writeFile(path_, g(crlf({"[基本配置]", "字母索引=99", "词源=1"})));
  auto store = openStore();
  FakeWindow w;
  w.startUp(*store);
  EXPECT_EQ(w.letter_, 0);
  EXPECT_EQ(w.category_, 1);
}

TEST_F(AppSettingsTest, UnreadableNumbersAndFlags) {
  test::writeFile(path_, g(crlf({"[基本配置]", "字母索引=abc", "词源=7", "匹配左边=yes"})));
  auto store = openStore();
  FakeWindow w;
  w.startUp(*store);
  EXPECT_EQ(w.letter_, 0);    // not a number: 0, "A"
  EXPECT_EQ(w.category_, 0);  // outside 0..1: restored as 0
  EXPECT_FALSE(w.radio(g("匹配左边")));
}

TEST_F(AppSettingsTest, OtherLinesSurviveASave) {
  const std::string before = g(crlf({"; hand-written note", "[其他]", "x=1", "", "[基本配置]", "词源=1", "未知=保留"}));
  test::writeFile(path_, before);
  auto store = openStore();
  FakeWindow w;
  w.startUp(*store);
  saveSettings(*store, w);
  const std::string after = test::readFile(path_);
  EXPECT_EQ(after.substr(0, 20), before.substr(0, 20));
  EXPECT_NE(after.find(g("未知=保留")), std::string::npos);
  EXPECT_NE(after.find(g("[其他]\r\nx=1\r\n\r\n[基本配置]")), std::string::npos);
}

TEST_F(AppSettingsTest, SaveWithoutAWritableFileStillChangesTheDocument) {
  ConfigStore holder;
  ASSERT_TRUE(holder.open(path_, StorageMode::DiskFile));  // another instance holds the file
  auto store = openStore();
  EXPECT_FALSE(store->changesReachFile());
  FakeWindow w;
  w.startUp(*store);
  EXPECT_TRUE(saveSettings(*store, w));  // the writers report the document change
  EXPECT_FALSE(store->changesReachFile());  // which the window reports as "not saved"
  EXPECT_EQ(test::readFile(path_), "");
}

TEST(AppSettingsNames, RadioButtonsInSettingsOrder) {
  const char* captions[] = {"通配符 *", "全部输出（不需要输入关键字）", "模糊首拼", "匹配中间",
                            "匹配右边", "匹配左边", "正则表达式"};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(settings::kRadioButtons[i].caption, g(captions[i]));
  EXPECT_EQ(settings::kSection, g("基本配置"));
  EXPECT_EQ(settings::kCategoryKey, g("词源"));
  EXPECT_EQ(settings::kLetterKey, g("字母索引"));
  EXPECT_EQ(settings::kKeywordKey, g("关键词"));
  EXPECT_EQ(settings::kDefaultKeyword, g("阿"));
}

}  // namespace
}  // namespace kx
