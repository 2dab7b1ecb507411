#include "app/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>

#include "app/gbk_qt.h"
#include "app/help_text.h"
#include "app/icons.h"
#include "app/keyword_list_model.h"
#include "app/outer_size_keeper.h"
#include "app/settings_adapter.h"
#include "app/text_dialog.h"
#include "config/app_settings.h"
#include "config/config_store.h"
#include "search/match/match_mode.h"
#include "search/store/keyword_counts.h"
#include "search/store/keyword_store.h"

namespace kx::app {
namespace {

const QString kInfoTitle = QStringLiteral(u"信息：");

// The settings store lets events in while it searches its document; a save
// is short, so this seldom fires at all.
constexpr int kSettingsPumpSliceMs = 15;

}  // namespace


MainWindow::MainWindow(const WindowContext& context, QWidget* parent)
    : QWidget(parent),
      settings_(context.settings),
      store_(context.store),
      matcher_(context.matcher),
      state_(context.state),
      runDir_(context.runDir),
      services_(context.services),
      model_(new KeywordListModel(this)),
      commandPump_(context.pumpSliceMs),
      settingsPump_(kSettingsPumpSliceMs) {
  setWindowTitle(QStringLiteral(u"Kestrix v1.13 - 淘宝权威商品词、店铺词数据采集导出"));
  setWindowIcon(programIcon());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  // Outer size and place; the keeper takes the frame off once it is known.
  setFixedSize(kOuterWidth, kOuterHeight);
  new OuterSizeKeeper(*this, /*fixed=*/true);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize s = screen->size();
    move((s.width() - kOuterWidth) / 2, (s.height() - kOuterHeight) / 2);
  }
  buildBanner();
  buildControls();
  settingsView_ = std::make_unique<SettingsAdapter>(*this);
  settings_.setEventPump([this] { settingsPump_.pump(); });
  settings_.setMessageSink([this](MessageIcon icon, const std::string& title, const std::string& text) {
    if (icon == MessageIcon::Exclamation) {
      services_.messages.warning(this, gbkToQString(title), gbkToQString(text));
    } else {
      services_.messages.information(this, gbkToQString(title), gbkToQString(text));
    }
  });
  onMainWindowCreated();
  bindEvents();
}

MainWindow::~MainWindow() {
  // The settings store outlives the window.
  settings_.setEventPump({});
  settings_.setMessageSink({});
}


void MainWindow::onMainWindowCreated() {
  store_.openStore(runDir_, [this](const std::string& name) { letterBox_->addItem(QString::fromStdString(name)); });
  letterBox_->setCurrentIndex(-1);  // filling the box selects nothing yet
  loadCounts(store_, runDir_);
  restoreSettings();
  if (letterBox_->currentIndex() < 0) letterBox_->setCurrentIndex(0);
  showIndexCount();
  updateKeywordEnabled();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (commandRunning_) {
    // The running command still reads or writes its files: save now, stop it,
    // and close for real once it has let go of them.
    if (!closeAfterCommand_) saveSettings(nullptr);
    closeAfterCommand_ = true;
    state_.stopRequested = true;
    event->ignore();
    return;
  }
  onMainWindowClosing();
  event->accept();
}

void MainWindow::onMainWindowClosing() {
  if (!closeAfterCommand_) saveSettings(nullptr);
  closeAllFiles();
}

void MainWindow::closeAllFiles() { store_.closeAll(); }

void MainWindow::restoreSettings() { kx::restoreSettings(settings_, *settingsView_); }

bool MainWindow::saveSettings(QString* why) {
  const bool written = kx::saveSettings(settings_, *settingsView_);
  if (written && settings_.changesReachFile()) return true;
  if (why != nullptr) {
    const QString path = QString::fromUtf8(settings_.openedPath().c_str());
    *why = settings_.changesReachFile()
               ? QStringLiteral(u"设置文件 ") + path + QStringLiteral(u" 正忙，请稍后再保存。")
               : QStringLiteral(u"设置文件 ") + path +
                     QStringLiteral(u" 无法写入（文件或文件夹只读、磁盘已满，或另一个程序正在使用它）。");
  }
  return false;
}

void MainWindow::updateKeywordEnabled() { keywordBox_->setEnabled(!allRadio_->isChecked()); }

void MainWindow::showIndexCount() {
  const int category = categoryPosition();
  const int letter = letterBox_->currentIndex();
  const std::int32_t count = store_.keywordCount(static_cast<KeywordCategory>(category), letter + 1);
  model_->setTitle((category == 0 ? QStringLiteral(u"商品词") : QStringLiteral(u"店铺词")) + QStringLiteral(u"的 ") +
                   letterBox_->itemText(letter) + QStringLiteral(u" 索引下有 ") + QString::number(count) +
                   QStringLiteral(u" 个关键词"));
}

void MainWindow::saveCommand() {
  QString why;
  if (saveSettings(&why)) {
    inform(QStringLiteral(u"保存完毕！"));
  } else {
    inform(QStringLiteral(u"配置未能保存：") + why);
  }
}

void MainWindow::showHelp() { showTextDialog(helpText(), QString(), QString(), this); }

void MainWindow::openWebPage(const QString& address) {
  const QUrl url(address, QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty()) return;
  if (url.scheme() != QStringLiteral("http") && url.scheme() != QStringLiteral("https")) return;
  services_.urls.openUrl(address);
}

void MainWindow::inform(const QString& text) { services_.messages.information(this, kInfoTitle, text); }

// --- SearchView: what the search run reads -------------------------------------

MatchMode MainWindow::matchMode() {
  return readMatchMode(regexRadio_->isChecked(), wildcardRadio_->isChecked(), pinyinRadio_->isChecked(),
                       rightRadio_->isChecked(), middleRadio_->isChecked(), leftRadio_->isChecked());
}

std::string MainWindow::queryText() { return qStringToGbk(keywordBox_->text()); }

int MainWindow::letterPosition() { return letterBox_->currentIndex(); }

int MainWindow::categoryPosition() { return categoryBox_->currentIndex() == 1 ? 1 : 0; }


}  // namespace kx::app
