#include "app/help_text.h"

#include <QStringList>

#include "app/web_links.h"

namespace kx::app {

QString helpText() {
  const QStringList lines = {
      QStringLiteral(u"-----------------【软件介绍】-----------------"),
      QString(),
      QStringLiteral(u"本软件的关键词数据采集自淘宝官方的一淘：") + QString::fromUtf16(kDataSourcePage),
      QStringLiteral(u"已入库到本地离线使用，可使用本软件进行丰富的查询并导出。"),
      QStringLiteral(u"该关键词数据包含了商品词 931 万（9315520）和店铺词 2 万（22034），合计 933 万（9337554）个关键词"),
      QStringLiteral(u"关键词数据的最后更新日期：2013年10月10日。"),
      QStringLiteral(u" "),
      QStringLiteral(u"-----------------【疑点说明】-----------------"),
      QString(),
      QStringLiteral(u"视频教程：") + QString::fromUtf16(kVideoTutorialPage),
      QString(),
      QString(),
      QStringLiteral(u"【关键字匹配选项】"),
      QString(),
      QStringLiteral(u"假设目标关键词是“阿迪达斯 男式鞋”"),
      QString(),
      QStringLiteral(u"匹配左边：关键字为“阿迪”或“阿迪达斯”即匹配这个目标关键词"),
      QStringLiteral(u"匹配中间：关键字为“阿迪达斯”或“男式鞋”即匹配这个目标关键词"),
      QStringLiteral(u"匹配右边：关键字为“男式鞋”或“式鞋”或“鞋”即匹配这个目标关键词"),
      QStringLiteral(u"模糊首拼：关键字为“ad”或“adds”即匹配这个目标关键词"),
      QStringLiteral(u"通配符 *：关键字为“*迪达斯*”或“*男式*”或“阿迪达斯*鞋”即匹配这个目标关键词"),
      QStringLiteral(u"正则表达式：关键字为“阿迪达斯.*鞋”或“阿迪达斯.+鞋”即匹配这个目标关键词。"),
      QStringLiteral(u"全部输出：不需输入关键字，直接输出当前的关键词类别（商品词或店铺词）和字母索引（A-Z）下的全部关键词。"),
      QString(),
      QStringLiteral(u"【切换字母索引和输入关键字】"),
      QString(),
      QStringLiteral(u"第一个下拉框，即关键词类别，有商品词和店铺词"),
      QStringLiteral(u"第二个下拉框，即关键词的首字母索引，正确选中字母索引可以提高查找速度。其中的“all”值表示“A-Z”全部数据"),
      QStringLiteral(u"切换下拉框，可以在左边列表框的表头看到对应字母索引的关键词数量的提示。"),
      QString(),
      QStringLiteral(u"编辑框：关键字输入区"),
      QString(),
      QStringLiteral(u"提示：当匹配选项为“匹配左边”或“模糊首拼”时，程序自动默认字母索引为输入的关键字的首字母，即使您设置了字母索引为某个字母或“all”。"),
      QString(),
      QStringLiteral(u"【查找导出】"),
      QString(),
      QStringLiteral(u"开始查找：根据当前匹配选项和关键字设置，将符合条件的关键词输出到列表框。"),
      QStringLiteral(u"导出保存：将列表框里的关键词数据保存到文本文件，一行一个。"),
      QStringLiteral(u"开始查找并导出保存：如果预期能查找的关键词数据属大量（10万以上），不建议查找到列表框再导出，如此会影响效率。因此可以直接使用本按钮查找的同时自动导出，不需输出在列表框里。"),
  };
  return lines.join(QStringLiteral("\r\n"));
}

}  // namespace kx::app
