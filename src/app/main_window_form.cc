// The main window's form: its controls at their fixed places, with their
// names, captions and fonts, and which event runs which command.
#include "app/main_window.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>

#include "app/banner_widgets.h"
#include "app/command_captions.h"
#include "app/fitted_line_edit.h"
#include "app/fonts.h"
#include "app/icons.h"
#include "app/keyword_list_model.h"
#include "app/result_list_view.h"
#include "app/web_links.h"

namespace kx::app {
namespace {

template <typename W>
W* place(W* widget, const QString& name, int left, int top, int width, int height) {
  widget->setObjectName(name);
  widget->setGeometry(left, top, width, height);
  return widget;
}

}  // namespace

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


}  // namespace kx::app
