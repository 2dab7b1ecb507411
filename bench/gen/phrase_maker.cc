#include "phrase_maker.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "text/gbk_codec.h"

namespace kxbench {
namespace {

// Appends a space with probability p, never at the start or after a space.
void separate(Rng& rng, double p, std::string& out) {
  if (!out.empty() && out.back() != ' ' && rng.chance(p)) out += ' ';
}

bool startsWell(std::string_view keyword) {
  if (keyword.empty()) return false;
  const unsigned char first = static_cast<unsigned char>(keyword[0]);
  if (first < 0x80) return std::isalnum(first) != 0;
  return isLevelOneChinese(keyword);
}

}  // namespace

PhraseMaker::List::List(std::initializer_list<std::pair<const char*, double>> entries) {
  for (const auto& [text, weight] : entries) {
    auto gbk = kx::utf8ToGbk(text);
    if (!gbk) {
      std::fprintf(stderr, "phrase list entry not encodable in GBK: %s\n", text);
      std::abort();  // a fault in the lists below, not in any input
    }
    items_.push_back(std::move(*gbk));
    picker_.add(weight);
  }
}

PhraseMaker::PhraseMaker(const Vocabulary& vocab)
    : vocab_(vocab),
      chineseBrands_({{"阿迪达斯", 8}, {"耐克", 8}, {"李宁", 4}, {"安踏", 3}, {"特步", 2},
                      {"匹克", 1}, {"鸿星尔克", 1}, {"361度", 1}, {"回力", 1}, {"苹果", 5},
                      {"三星", 4}, {"诺基亚", 2}, {"联想", 2}, {"华为", 2}, {"小米", 3},
                      {"海尔", 2}, {"美的", 2}, {"格力", 1}, {"欧莱雅", 2}, {"兰蔻", 1},
                      {"雅诗兰黛", 1}, {"优衣库", 2}, {"森马", 1}, {"美特斯邦威", 1},
                      {"以纯", 1}, {"七匹狼", 1}, {"九牧王", 1}, {"骆驼", 2}, {"百丽", 1},
                      {"达芙妮", 1}, {"卡西欧", 1}, {"飞利浦", 1}, {"佳能", 1}, {"索尼", 1}}),
      latinBrands_({{"Nike", 8}, {"Adidas", 8}, {"Puma", 2}, {"Converse", 2}, {"Vans", 1},
                    {"Apple", 4}, {"Samsung", 3}, {"Nokia", 2}, {"Lenovo", 1}, {"Sony", 2},
                    {"Canon", 1}, {"Casio", 1}, {"Zara", 2}, {"Uniqlo", 1}, {"Lining", 1},
                    {"Anta", 1}, {"Gucci", 1}, {"Prada", 1}, {"Lancome", 1}, {"Loreal", 1},
                    {"Philips", 1}, {"Dell", 1}, {"Asus", 1}, {"Levis", 1}, {"Jeep", 1}}),
      models_({{"iphone4s", 4}, {"iphone5", 6}, {"iphone5s", 3}, {"ipad2", 2}, {"ipad4", 2},
               {"note2", 2}, {"note3", 2}, {"s4", 2}, {"i9300", 1}, {"mx3", 1}, {"mi2s", 1},
               {"lumia920", 1}, {"xbox360", 1}, {"ps3", 1}, {"mp3", 2}, {"mp4", 1},
               {"nike2013", 1}, {"air90", 1}, {"max2013", 1}, {"t430", 1}}),
      products_({{"跑步鞋", 3}, {"运动鞋", 4}, {"板鞋", 2}, {"篮球鞋", 2}, {"帆布鞋", 2},
                 {"休闲鞋", 2}, {"凉鞋", 2}, {"拖鞋", 1}, {"皮鞋", 2}, {"男鞋", 3}, {"女鞋", 3},
                 {"连衣裙", 4}, {"T恤", 3}, {"衬衫", 2}, {"卫衣", 2}, {"外套", 3}, {"夹克", 2},
                 {"羽绒服", 3}, {"牛仔裤", 3}, {"休闲裤", 2}, {"运动裤", 2}, {"短裤", 1},
                 {"双肩包", 2}, {"钱包", 1}, {"手机壳", 4}, {"手机", 3}, {"平板电脑", 1},
                 {"笔记本", 1}, {"耳机", 2}, {"充电器", 1}, {"数据线", 1}, {"移动电源", 1},
                 {"手表", 2}, {"眼镜", 1}, {"帽子", 1}, {"围巾", 1}, {"袜子", 1}, {"内衣", 1},
                 {"毛衣", 2}, {"打底衫", 1}, {"保温杯", 1}, {"口红", 1}, {"面膜", 2},
                 {"香水", 1}, {"洗发水", 1}, {"保护套", 2}, {"贴膜", 1}}),
      attributes_({{"男式", 2}, {"女式", 2}, {"男款", 2}, {"女款", 3}, {"新款", 5},
                   {"正品", 5}, {"包邮", 4}, {"韩版", 3}, {"修身", 2}, {"加厚", 2},
                   {"夏季", 2}, {"冬季", 2}, {"春秋", 1}, {"2013新款", 3}, {"2013", 2},
                   {"大码", 1}, {"儿童", 2}, {"情侣", 1}, {"复古", 1}, {"潮流", 1},
                   {"时尚", 1}, {"纯棉", 1}, {"真皮", 1}, {"防水", 1}, {"透气", 1},
                   {"特价", 2}, {"清仓", 1}, {"官方", 1}, {"专柜", 1}, {"超薄", 1}}),
      units_({{"ml", 2}, {"g", 1}, {"kg", 1}, {"寸", 2}, {"件套", 1}, {"米", 1}, {"码", 2},
              {"只装", 1}, {"片", 1}, {"d", 1}, {"gb", 1}}),
      shopSuffixes_({{"旗舰店", 5}, {"专营店", 4}, {"专卖店", 3}, {"官方旗舰店", 2},
                     {"的小店", 2}, {"精品店", 1}, {"数码专营店", 1}, {"服饰专营店", 1},
                     {"家居旗舰店", 1}, {"工作室", 1}}) {}

void PhraseMaker::latinBrand(Rng& rng, std::string& out) const {
  const std::string_view brand = latinBrands_.pick(rng);
  const std::size_t from = out.size();
  out += brand;
  const double style = rng.unit();
  for (std::size_t i = from; i < out.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (style < 0.30) out[i] = static_cast<char>(std::tolower(c));
    else if (style < 0.45) out[i] = static_cast<char>(std::toupper(c));
  }
}

void PhraseMaker::number(Rng& rng, std::string& out) const {
  static constexpr int kLimits[] = {10, 100, 1000};
  out += std::to_string(1 + rng.below(kLimits[rng.below(3)]));
}

void PhraseMaker::productOnce(Rng& rng, std::string& out) const {
  out.clear();
  const std::uint64_t kind = rng.below(100);
  if (kind < 34) {  // plain phrase from the vocabulary
    out += vocab_.lead(rng);
    const std::uint64_t more = 2 + rng.below(3);
    for (std::uint64_t i = 0; i < more; ++i) {
      separate(rng, 0.25, out);
      out += vocab_.any(rng);
    }
  } else if (kind < 50) {  // attributes and a product
    out += attributes_.pick(rng);
    separate(rng, 0.3, out);
    if (rng.chance(0.8)) {
      out += vocab_.any(rng);
      separate(rng, 0.3, out);
    }
    out += products_.pick(rng);
  } else if (kind < 62) {  // Chinese brand, maybe an attribute, a product
    out += chineseBrands_.pick(rng);
    separate(rng, 0.6, out);
    if (rng.chance(0.6)) {
      out += attributes_.pick(rng);
      separate(rng, 0.3, out);
    }
    out += products_.pick(rng);
    if (rng.chance(0.5)) {
      separate(rng, 0.5, out);
      out += vocab_.any(rng);
    }
  } else if (kind < 76) {  // Latin brand, then Chinese words
    latinBrand(rng, out);
    separate(rng, 0.7, out);
    if (rng.chance(0.4)) {
      out += attributes_.pick(rng);
      separate(rng, 0.3, out);
    }
    out += rng.chance(0.7) ? products_.pick(rng) : vocab_.any(rng);
    if (rng.chance(0.4)) {
      separate(rng, 0.5, out);
      out += vocab_.any(rng);
    }
  } else if (kind < 78) {  // model number, maybe with an accessory
    out += models_.pick(rng);
    if (rng.chance(0.8)) {
      separate(rng, 0.6, out);
      out += products_.pick(rng);
    }
  } else if (kind < 86) {  // vocabulary word, attribute, product
    out += vocab_.lead(rng);
    separate(rng, 0.3, out);
    out += attributes_.pick(rng);
    separate(rng, 0.3, out);
    out += products_.pick(rng);
  } else if (kind < 92) {  // a size or quantity first
    number(rng, out);
    out += units_.pick(rng);
    separate(rng, 0.5, out);
    out += rng.chance(0.5) ? products_.pick(rng) : vocab_.any(rng);
  } else {  // product, then words that narrow it, perhaps a size
    out += products_.pick(rng);
    separate(rng, 0.4, out);
    out += vocab_.any(rng);
    if (rng.chance(0.3)) {
      separate(rng, 0.5, out);
      number(rng, out);
      out += units_.pick(rng);
    }
  }
}

void PhraseMaker::product(Rng& rng, std::string& out) const {
  do {
    productOnce(rng, out);
  } while (!startsWell(out));
}

void PhraseMaker::store(Rng& rng, std::string& out) const {
  do {
    out.clear();
    const double lead = rng.unit();
    if (lead < 0.3) out += chineseBrands_.pick(rng);
    else if (lead < 0.75) out += vocab_.lead(rng);
    else latinBrand(rng, out);
    if (rng.chance(0.7)) {
      separate(rng, 0.2, out);
      out += vocab_.any(rng);
    }
    out += shopSuffixes_.pick(rng);
  } while (!startsWell(out));
}

}  // namespace kxbench
