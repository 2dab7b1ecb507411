// Captions of the three command buttons. A button's caption doubles as its
// command's state: idle, running, or asked to stop.
#pragma once

#include <QString>

namespace kx::app {

inline const QString kSearchIdle = QStringLiteral(u"开始查找");
inline const QString kSearchRunning = QStringLiteral(u"停止查找");
inline const QString kSearchExportIdle = QStringLiteral(u"开始查找并导出保存");
inline const QString kSearchExportRunning = QStringLiteral(u"停止查找导出");
inline const QString kExportListIdle = QStringLiteral(u"导出保存");
inline const QString kExportListRunning = QStringLiteral(u"停止导出");
inline const QString kStopping = QStringLiteral(u"停止中..");

}  // namespace kx::app
