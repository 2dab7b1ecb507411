#include "app_harness.h"

#include <QTimerEvent>
#include <QtTest>

#include "app/keyword_list_model.h"
#include "search/store/keyword_counts.h"
#include "search/store/store_packer.h"

namespace kx::app::test {

void FakeMessages::information(QWidget* parent, const QString& title, const QString& text) {
  auto* button = parent ? parent->findChild<QPushButton*>(QStringLiteral(u"按钮查找导出")) : nullptr;
  shown.push_back({title, text, button ? button->text() : QString()});
}

void FakeMessages::warning(QWidget* parent, const QString& title, const QString& text) {
  information(parent, title, text);
}

QString FakeSaveFile::askSavePath(QWidget*) {
  ++asked;
  if (whileOpen) whileOpen();
  return answers.isEmpty() ? QString() : answers.takeFirst();
}

std::vector<std::string> productWords() {
  std::vector<std::string> words = {"阿迪达斯 男式鞋", "阿迪 运动服", "阿玛尼 手表", "nike 跑步鞋", "Nike 篮球鞋",
                                    "百褶裙",          "保温杯",      "3d 打印机"};
  for (int i = 0; i < 5000; ++i) words.push_back("a" + std::to_string(i));  // long enough to stop midway
  return words;
}

std::vector<std::string> storeWords() { return {"安踏旗舰店", "百丽官方店", "zara 店", "7 号店"}; }

namespace {

void pack(const std::string& runDir, KeywordCategory category, const std::vector<std::string>& words) {
  StorePacker packer(runDir, category);
  for (const std::string& w : words) packer.add(kx::test::gbk(w));
  QVERIFY(packer.finish());
  QVERIFY(writeCounts(runDir, category, packer.counts()));
}

}  // namespace

Harness::Harness() {
  pack(dir_.path(), KeywordCategory::ProductWords, productWords());
  pack(dir_.path(), KeywordCategory::StoreWords, storeWords());
}

Harness::~Harness() { stop(); }

MainWindow& Harness::start(int sliceMs) {
  stop();
  settings_ = std::make_unique<ConfigStore>();
  settings_->open(dir_.file("Kestrix.ini"), StorageMode::DiskFile);
  store_ = std::make_unique<KeywordStore>();
  window_ = std::make_unique<MainWindow>(
      WindowContext{*settings_, *store_, matcher_, state, dir_.path(), {messages, saveFile, urls}, sliceMs});
  return *window_;
}

void Harness::stop() {
  window_.reset();
  settings_.reset();
  store_.reset();
}

QString Harness::title() const { return window_->listModel().title(); }

std::string Harness::iniText() const { return gbkToUtf8(kx::test::readFile(dir_.file("Kestrix.ini"))); }

WhileRunning::WhileRunning(std::function<bool()> check) : check_(std::move(check)), timer_(startTimer(0)) {}

void WhileRunning::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_) return;
  if (check_()) killTimer(timer_);
}

std::vector<std::string> exportedLines(const std::string& path) {
  const std::string bytes = kx::test::readFile(path);
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", begin);
    if (end == std::string::npos) {
      QTest::qFail("export does not end in CR LF", __FILE__, __LINE__);
      return lines;
    }
    lines.push_back(bytes.substr(begin, end - begin));
    begin = end + 2;
  }
  return lines;
}

}  // namespace kx::app::test
