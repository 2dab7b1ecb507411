#include "vocabulary.h"

#include <cmath>
#include <sstream>
#include <unordered_set>

#include "text/gbk_codec.h"

namespace kxbench {
namespace {

// Person names, idioms, function words and the like make poor product
// keywords, so only these parts of speech are kept.
const std::unordered_set<std::string> kKeptTags = {"n", "nz", "ns", "nt", "v", "vn",
                                                   "a", "an", "ad", "b"};

bool allDoubleByte(std::string_view gbk) {
  if (gbk.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < gbk.size(); i += 2) {
    if (static_cast<unsigned char>(gbk[i]) < 0x81) return false;
  }
  return true;
}

}  // namespace

bool isLevelOneChinese(std::string_view gbk) {
  if (gbk.size() < 2) return false;
  const unsigned code = static_cast<unsigned char>(gbk[0]) * 256u + static_cast<unsigned char>(gbk[1]);
  const unsigned trail = code & 0xFF;
  return code >= 0xB0A1 && code <= 0xD7F9 && trail >= 0xA1 && trail <= 0xFE;
}

void Vocabulary::load(std::istream& in) {
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string word, tag;
    double freq = 0;
    if (!(fields >> word >> freq >> tag) || freq <= 0 || !kKeptTags.count(tag)) continue;
    const auto gbk = kx::utf8ToGbk(word);
    if (!gbk || gbk->size() < 4 || gbk->size() > 8 || !allDoubleByte(*gbk)) continue;
    // The square root flattens the word list's steep frequency curve, so the
    // keywords use a broad vocabulary rather than a few hundred common words.
    const double weight = std::sqrt(freq);
    if (isLevelOneChinese(*gbk)) {
      leadWords_.push_back(words_.size());
      leadPicker_.add(weight);
    }
    words_.push_back(*gbk);
    anyPicker_.add(weight);
  }
}

}  // namespace kxbench
