#include "app/text_dialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

#include "app/outer_size_keeper.h"
#include "text/gbk_codec.h"

namespace kx::app {
namespace {

constexpr int kDesignWidth = 495;
constexpr int kDesignHeight = 393;
int openDialogs = 0;

qsizetype gbkLength(const QString& text) {
  const std::u16string utf16(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
  if (auto gbk = kx::utf16ToGbk(utf16)) return static_cast<qsizetype>(gbk->size());
  return text.toLocal8Bit().size();  // not GBK text: any sensible width estimate will do
}

}  // namespace

int promptHeight(const QString& prompt, int clientWidth) {
  QStringList lines = prompt.split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
  const qsizetype perRow = std::max(1, (clientWidth - 2 * TextDialog::kMargin) / 6);
  qsizetype rows = 0;
  for (const QString& line : lines) rows += std::max<qsizetype>(1, (gbkLength(line) + perRow - 1) / perRow);
  return static_cast<int>(12 * rows);
}

TextDialog::TextDialog(const TextDialogRequest& request, QWidget* parent)
    : QDialog(parent), promptText_(request.prompt) {
  ++openDialogs;
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(request.title.isEmpty() ? QStringLiteral(u"Lumsa：") : request.title);
  setModal(true);

  prompt_ = new QLabel(request.prompt, this);
  prompt_->setObjectName(QStringLiteral(u"编辑框提示"));
  prompt_->setWordWrap(true);
  prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  body_ = new QPlainTextEdit(this);
  body_->setObjectName(QStringLiteral(u"编辑框正文"));
  body_->setPlainText(request.body);
  body_->setReadOnly(true);
  body_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  QPalette palette = body_->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  body_->setPalette(palette);

  close_ = new QPushButton(QStringLiteral(u"关闭(&G)"), this);
  close_->setObjectName(QStringLiteral(u"按钮取消"));
  close_->setDefault(true);
  close_->setAutoDefault(true);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);

  // Outer size and place; the keeper takes the frame off once it is known.
  resize(kDesignWidth, kDesignHeight);
  new OuterSizeKeeper(*this, /*fixed=*/false);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize s = screen->size();
    move(s.width() / 2 - kDesignWidth / 2, (s.height() - 30) / 2 - kDesignHeight / 2);
  }
  layoutControls();
  body_->setFocus();
}

TextDialog::~TextDialog() { --openDialogs; }

bool TextDialog::isOpen() { return openDialogs > 0; }

void TextDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layoutControls();
}

void TextDialog::layoutControls() {
  const int w = width();
  const int h = height();
  const int m = kMargin;
  const int promptH = promptHeight(promptText_, w);
  prompt_->setGeometry(m, m, w - 2 * m, promptH);
  prompt_->setVisible(promptH > 0);
  const int bodyTop = m + promptH + m;
  body_->setGeometry(m, bodyTop, w - 2 * m, h - bodyTop - kBarHeight);
  const int barTop = bodyTop + body_->height();
  close_->setGeometry(w - m - kButtonWidth, barTop + kBarHeight / 2 - kButtonHeight / 2, kButtonWidth, kButtonHeight);
}

void showTextDialog(const QString& body, const QString& prompt, const QString& title, QWidget* parent) {
  if (TextDialog::isOpen()) return;
  const TextDialogRequest request{prompt, title, body};
  TextDialog dialog(request, parent);
  dialog.exec();
}

}  // namespace kx::app
