#include "app/desktop_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

namespace kx::app {

namespace {

void showBox(QMessageBox::Icon icon, QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.setWindowModality(Qt::ApplicationModal);
  QApplication::beep();
  box.exec();
}

}  // namespace

void QtMessageService::information(QWidget* parent, const QString& title, const QString& text) {
  showBox(QMessageBox::NoIcon, parent, title, text);
}

void QtMessageService::warning(QWidget* parent, const QString& title, const QString& text) {
  showBox(QMessageBox::Warning, parent, title, text);
}

QString QtSaveFileService::askSavePath(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(qtFileFilter(QStringLiteral(u"文本文件|*.txt|全部文件|*.*")));
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  if (!lastPath_.isEmpty()) dialog.selectFile(lastPath_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  lastPath_ = dialog.selectedFiles().constFirst();
  return lastPath_;
}

void QtUrlService::openUrl(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

QString qtFileFilter(const QString& pairs) {
  const QStringList parts = pairs.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QStringLiteral(")");
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace kx::app
