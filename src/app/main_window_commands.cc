// The main window's three long commands (list search, search into a file,
// list export) and the progress the running one shows.
#include "app/main_window.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include "app/command_captions.h"
#include "app/gbk_qt.h"
#include "app/keyword_list_model.h"
#include "app/result_list_view.h"
#include "search/run/file_sink.h"
#include "search/run/keyword_list.h"

namespace kx::app {

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
  runSearch(*this, store_, &matcher_, state_, sink);
  model_->showNewRows();
  model_->setTitle(QStringLiteral(u"关键词(已查询到") + QString::number(state_.matchCount) + QStringLiteral(u"个)"));
  endCommand(searchButton_, kSearchIdle);
  QApplication::beep();
}

void MainWindow::startSearchExport() {
  runExport(searchExportButton_, kSearchExportRunning, kSearchExportIdle, QStringLiteral(u"查找并导出完毕："),
            [this](FileSink& sink) { runSearch(*this, store_, &matcher_, state_, sink); });
}

void MainWindow::exportList() {
  runExport(exportListButton_, kExportListRunning, kExportListIdle, QStringLiteral(u"导出完毕："), [this](FileSink& sink) {
    const KeywordList& rows = model_->keywords();
    const std::size_t n = rows.size();
    for (std::size_t i = 0; i < n && !state_.stopRequested; ++i) {
      sink.add(rows.at(i));
      processPendingMessages();
    }
  });
}

void MainWindow::runExport(QPushButton* button, const QString& runningCaption, const QString& idleCaption,
                           const QString& done, const std::function<void(FileSink&)>& fill) {
  if (stopIfRunning(button, idleCaption)) return;
  beginCommand(button, runningCaption);
  const QString path = services_.saveFile.askSavePath(this);
  if (!path.isEmpty() && !closeAfterCommand_) {
    FileSink sink;
    if (openExport(sink, path)) {
      activeExport_ = &sink;
      fill(sink);
      activeExport_ = nullptr;
      finishExport(sink, path, done);
    }
  }
  endCommand(button, idleCaption);
}

bool MainWindow::openExport(FileSink& sink, const QString& path) {
  if (sink.open(filePathBytes(path))) return true;
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

// --- SearchView: how the run reports -------------------------------------------

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
