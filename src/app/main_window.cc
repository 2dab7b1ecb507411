#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

#include "app/banner_widgets.h"
#include "app/fitted_line_edit.h"
#include "app/fonts.h"
#include "app/gbk_qt.h"
#include "app/help_text.h"
#include "app/icons.h"
#include "app/keyword_list_model.h"
#include "app/outer_size_keeper.h"
#include "app/result_list_view.h"
#include "app/settings_adapter.h"
#include "app/text_dialog.h"
#include "app/web_links.h"
#include "config/app_settings.h"
#include "config/config_store.h"
#include "search/run/file_sink.h"
#include "search/store/keyword_counts.h"
#include "search/run/keyword_list.h"
#include "search/store/keyword_store.h"
#include "search/match/match_mode.h"

namespace kx::app {
namespace {

const QString kSearchIdle = QStringLiteral(u"开始查找");
const QString kSearchRunning = QStringLiteral(u"停止查找");
const QString kSearchExportIdle = QStringLiteral(u"开始查找并导出保存");
const QString kSearchExportRunning = QStringLiteral(u"停止查找导出");
const QString kExportListIdle = QStringLiteral(u"导出保存");
const QString kExportListRunning = QStringLiteral(u"停止导出");
const QString kStopping = QStringLiteral(u"停止中..");
const QString kInfoTitle = QStringLiteral(u"信息：");

// The settings store lets events in while it searches its document; a save
// is short, so this seldom fires at all.
constexpr int kSettingsPumpSliceMs = 15;

template <typename W>
W* place(W* widget, const QString& name, int left, int top, int width, int height) {
  widget->setObjectName(name);
  widget->setGeometry(left, top, width, height);
  return widget;
}

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

void MainWindow::buildBanner() {
  QWidget* banner = place(new QWidget(this), QStringLiteral(u"图片框1"), 0, 0, 816, 88);
  banner->setAutoFillBackground(true);
  QPalette palette = banner->palette();
  palette.setColor(QPalette::Window, Qt::white);
  banner->setPalette(palette);

  QFrame* line = place(new QFrame(this), QStringLiteral(u"标签10"), -3, 88, 1000, 2);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  const QFont linkFont = [] {
    QFont f = songFont(12);
    f.setUnderline(true);
    return f;
  }();
  auto icon = [&](const QString& name, BannerIcon kind, int left) {
    return place(new PictureBox(bannerIcon(kind), banner), name, left, 0, 64, 64);
  };
  auto link = [&](const QString& name, const QString& caption, const QString& target, int left) {
    LinkLabel* label = place(new LinkLabel(caption, target, banner), name, left, 64, 64, 24);
    label->setFont(linkFont);
    return label;
  };

  PictureBox* saveIcon = icon(QStringLiteral(u"图片框保存"), BannerIcon::Save, 16);
  LinkLabel* saveLink = link(QStringLiteral(u"超级链接框保存"), QStringLiteral(u"保存配置"), QString(), 16);
  PictureBox* helpIcon = icon(QStringLiteral(u"图片框操作"), BannerIcon::Help, 96);
  LinkLabel* helpLink = link(QStringLiteral(u"超级链接框操作"), QStringLiteral(u"疑点说明"), QString(), 96);
  PictureBox* homeIcon = icon(QStringLiteral(u"图片框更新"), BannerIcon::Home, 176);
  homeLink_ = link(QStringLiteral(u"超级链接框更新"), QStringLiteral(u"软件主页"), QString::fromUtf16(kHomePage), 176);
  PictureBox* contactIcon = icon(QStringLiteral(u"图片框QQ"), BannerIcon::Contact, 256);
  contactLink_ = link(QStringLiteral(u"超级链接框QQ"), QString::fromUtf16(kContactNumber),
                      QString::fromUtf16(kContactPage), 256);
  PictureBox* softwareIcon = icon(QStringLiteral(u"图片框软件"), BannerIcon::MoreSoftware, 336);
  moreSoftwareLink_ = link(QStringLiteral(u"超级链接框软件"), QStringLiteral(u"更多软件"),
                           QString::fromUtf16(kMoreSoftwarePage), 336);
  PictureBox* logo = place(new PictureBox(logoPicture(), banner), QStringLiteral(u"图片框官网"), 464, 12, 145, 64);
  icon(QStringLiteral(u"图片框批处理"), BannerIcon::BatchTool, 672);  // shows the tool; only its label opens the page
  batchToolLink_ = link(QStringLiteral(u"超级链接框批处理"), QStringLiteral(u"批处理工具"),
                        QString::fromUtf16(kBatchToolPage), 672);

  connect(saveLink, &LinkLabel::pressed, this, &MainWindow::saveCommand);
  connect(saveIcon, &PictureBox::clicked, this, &MainWindow::saveCommand);
  connect(helpLink, &LinkLabel::pressed, this, &MainWindow::showHelp);
  connect(helpIcon, &PictureBox::clicked, this, &MainWindow::showHelp);
  // Icons borrow their label's target as it is at the moment of the click.
  connect(homeIcon, &PictureBox::clicked, this, [this] { openWebPage(homeLink_->target()); });
  connect(contactIcon, &PictureBox::clicked, this, [this] { openWebPage(contactLink_->target()); });
  connect(softwareIcon, &PictureBox::clicked, this, [this] { openWebPage(moreSoftwareLink_->target()); });
  connect(logo, &PictureBox::clicked, this, [this] { openWebPage(QString::fromUtf16(kMakerHomePage)); });
  for (LinkLabel* label : {homeLink_, contactLink_, moreSoftwareLink_, batchToolLink_}) {
    connect(label, &LinkLabel::clicked, this, [this, label] { openWebPage(label->target()); });
  }
}

void MainWindow::buildControls() {
  list_ = place(new ResultListView(*model_, 350, this), QStringLiteral(u"列表框"), 8, 104, 384, 464);
  list_->setFont(songFont(15));

  auto label = [&](const QString& name, const QString& caption, int top) {
    place(new QLabel(caption, this), name, 404, top, 260, 32)->setFont(songFont(19, true));
  };
  label(QStringLiteral(u"标签2"), QStringLiteral(u"关键字匹配选项"), 104);
  label(QStringLiteral(u"标签1"), QStringLiteral(u"切换字母索引和输入关键字"), 288);
  label(QStringLiteral(u"标签3"), QStringLiteral(u" 查找导出"), 432);

  auto radio = [&](const QString& name, const QString& caption, int left, int top, int width) {
    QRadioButton* button = place(new QRadioButton(caption, this), name, left, top, width, 32);
    button->setFont(songFont(15));
    return button;
  };
  leftRadio_ = radio(QStringLiteral(u"单选框匹配左边"), QStringLiteral(u"匹配左边"), 404, 142, 112);
  middleRadio_ = radio(QStringLiteral(u"单选框匹配中间"), QStringLiteral(u"匹配中间"), 404, 174, 112);
  rightRadio_ = radio(QStringLiteral(u"单选框匹配右边"), QStringLiteral(u"匹配右边"), 404, 206, 112);
  pinyinRadio_ = radio(QStringLiteral(u"单选框模糊首拼"), QStringLiteral(u"模糊首拼"), 540, 142, 120);
  wildcardRadio_ = radio(QStringLiteral(u"单选框通配符"), QStringLiteral(u"通配符 *"), 540, 174, 120);
  regexRadio_ = radio(QStringLiteral(u"单选框正则表达式"), QStringLiteral(u"正则表达式"), 540, 206, 120);
  allRadio_ = radio(QStringLiteral(u"单选框全部输出"), QStringLiteral(u"全部输出（不需要输入关键字）"), 404, 238, 260);
  leftRadio_->setChecked(true);
  radios_ = {wildcardRadio_, allRadio_, pinyinRadio_, middleRadio_, rightRadio_, leftRadio_, regexRadio_};

  categoryBox_ = place(new QComboBox(this), QStringLiteral(u"组合框词源"), 404, 332, 156, 23);
  categoryBox_->setFont(songFont(15));
  categoryBox_->addItems({QStringLiteral(u"商品词"), QStringLiteral(u"店铺词")});
  categoryBox_->setCurrentIndex(0);
  letterBox_ = place(new QComboBox(this), QStringLiteral(u"组合框字母索引"), 568, 332, 96, 24);
  letterBox_->setFont(songFont(15));
  letterBox_->setMaxVisibleItems(28);

  keywordBox_ = place(new FittedLineEdit(QStringLiteral(u"阿"), this), QStringLiteral(u"编辑框关键词"), 404, 364, 260, 33);
  keywordBox_->setFont(heiFont(29, true));

  auto button = [&](const QString& name, const QString& caption, int left, int top, int width) {
    QPushButton* b = place(new QPushButton(caption, this), name, left, top, width, 40);
    b->setFont(songFont(19, true));
    return b;
  };
  searchButton_ = button(QStringLiteral(u"按钮开始查找"), kSearchIdle, 402, 476, 126);
  exportListButton_ = button(QStringLiteral(u"按钮导出保存"), kExportListIdle, 538, 476, 126);
  searchExportButton_ = button(QStringLiteral(u"按钮查找导出"), kSearchExportIdle, 404, 528, 260);

  progressTimer_ = new QTimer(this);
  progressTimer_->setObjectName(QStringLiteral(u"时钟1"));
}

void MainWindow::bindEvents() {
  connect(searchButton_, &QPushButton::clicked, this, &MainWindow::startListSearch);
  connect(searchExportButton_, &QPushButton::clicked, this, &MainWindow::startSearchExport);
  connect(exportListButton_, &QPushButton::clicked, this, &MainWindow::exportList);
  connect(progressTimer_, &QTimer::timeout, this, &MainWindow::refreshProgress);
  connect(categoryBox_, &QComboBox::currentIndexChanged, this, &MainWindow::showIndexCount);
  connect(letterBox_, &QComboBox::currentIndexChanged, this, &MainWindow::showIndexCount);
  for (QRadioButton* radio : radios_) {
    // A restore may have left several buttons checked; a click leaves one.
    connect(radio, &QRadioButton::clicked, this, [this, radio] {
      for (QRadioButton* other : radios_) other->setChecked(other == radio);
      updateKeywordEnabled();
    });
  }
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
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

// --- the long commands -------------------------------------------------------

bool MainWindow::stopIfRunning(QPushButton* button, const QString& idleCaption) {
  if (button->text() == idleCaption) return false;
  button->setText(kStopping);
  state_.stopRequested = true;
  return true;
}

void MainWindow::beginCommand(QPushButton* running, const QString& runningCaption) {
  running->setText(runningCaption);
  state_.stopRequested = false;
  for (QPushButton* b : {searchButton_, exportListButton_, searchExportButton_}) {
    if (b != running) b->setEnabled(false);
  }
  commandRunning_ = true;
  commandPump_.restart();
}

void MainWindow::endCommand(QPushButton* running, const QString& idleCaption) {
  for (QPushButton* b : {searchButton_, exportListButton_, searchExportButton_}) b->setEnabled(true);
  running->setText(idleCaption);
  commandRunning_ = false;
  if (closeAfterCommand_) close();
}

void MainWindow::startListSearch() {
  if (stopIfRunning(searchButton_, kSearchIdle)) return;
  beginCommand(searchButton_, kSearchRunning);
  ListSink sink(model_->keywords());
  runSearch(*this, store_, matcher_, state_, sink);
  model_->showNewRows();
  model_->setTitle(QStringLiteral(u"关键词(已查询到") + QString::number(state_.matchCount) + QStringLiteral(u"个)"));
  endCommand(searchButton_, kSearchIdle);
  QApplication::beep();
}

void MainWindow::startSearchExport() {
  if (stopIfRunning(searchExportButton_, kSearchExportIdle)) return;
  beginCommand(searchExportButton_, kSearchExportRunning);
  const QString path = services_.saveFile.askSavePath(this);
  if (!path.isEmpty() && !closeAfterCommand_) {
    FileSink sink;
    if (openExport(sink, path)) {
      activeExport_ = &sink;
      runSearch(*this, store_, matcher_, state_, sink);
      activeExport_ = nullptr;
      finishExport(sink, path, QStringLiteral(u"查找并导出完毕："));
    }
  }
  endCommand(searchExportButton_, kSearchExportIdle);
}

void MainWindow::exportList() {
  if (stopIfRunning(exportListButton_, kExportListIdle)) return;
  beginCommand(exportListButton_, kExportListRunning);
  const QString path = services_.saveFile.askSavePath(this);
  if (!path.isEmpty() && !closeAfterCommand_) {
    FileSink sink;
    if (openExport(sink, path)) {
      activeExport_ = &sink;
      const KeywordList& rows = model_->keywords();
      const std::size_t n = rows.size();
      for (std::size_t i = 0; i < n && !state_.stopRequested; ++i) {
        sink.add(rows.at(i));
        processPendingMessages();
      }
      activeExport_ = nullptr;
      finishExport(sink, path, QStringLiteral(u"导出完毕："));
    }
  }
  endCommand(exportListButton_, kExportListIdle);
}

bool MainWindow::openExport(FileSink& sink, const QString& path) {
  if (sink.open(QFile::encodeName(path).toStdString())) return true;
  inform(QStringLiteral(u"无法创建导出文件：") + path + QStringLiteral(u"\n原因：") +
         QString::fromLocal8Bit(sink.errorText().c_str()));
  return false;
}

void MainWindow::finishExport(FileSink& sink, const QString& path, const QString& done) {
  if (sink.close()) {
    // A window closed during the export has gone; the file is complete as far
    // as the run went, and there is nobody left to tell.
    if (!closeAfterCommand_) inform(done + path);
    return;
  }
  inform(QStringLiteral(u"导出失败：") + path + QStringLiteral(u"\n原因：") +
         QString::fromLocal8Bit(sink.errorText().c_str()) + QStringLiteral(u"\n已写入 ") +
         QString::number(sink.written()) + QStringLiteral(u" 个关键词。"));
}

// --- SearchView ----------------------------------------------------------------

MatchMode MainWindow::matchMode() {
  return readMatchMode(regexRadio_->isChecked(), wildcardRadio_->isChecked(), pinyinRadio_->isChecked(),
                       rightRadio_->isChecked(), middleRadio_->isChecked(), leftRadio_->isChecked());
}

std::string MainWindow::queryText() { return qStringToGbk(keywordBox_->text()); }

int MainWindow::letterPosition() { return letterBox_->currentIndex(); }

int MainWindow::categoryPosition() { return categoryBox_->currentIndex() == 1 ? 1 : 0; }

void MainWindow::clearList() { model_->clearRows(); }

void MainWindow::setTimerInterval(int milliseconds) {
  if (milliseconds > 0) {
    progressTimer_->start(milliseconds);
  } else {
    progressTimer_->stop();
  }
}

void MainWindow::processPendingMessages() {
  // A failed export write stops the run: what follows could not be kept.
  if (activeExport_ != nullptr && activeExport_->failed()) state_.stopRequested = true;
  commandPump_.pump();
}

void MainWindow::refreshProgress() {
  if (searchButton_->text() != kSearchIdle) {
    model_->showNewRows();
    list_->scrollToRow(state_.matchCount - 1);
    model_->setTitle(gbkToQString(state_.progressText) + QString::number(state_.matchCount));
  } else {
    searchExportButton_->setText(QStringLiteral(u"已导出..") + QString::number(state_.matchCount));
  }
}

}  // namespace kx::app
