#include "cli/counts_file.h"

#include <fstream>
#include <sstream>

#include "text/gbk_codec.h"

namespace kx::cli {
namespace {

std::string sectionHeader(KeywordCategory category) {
  return *utf8ToGbk(category == KeywordCategory::ProductWords ? "[商品词数]" : "[店铺词数]");
}

// The lines of the section headed header in text, header included; empty when absent.
std::string sectionOf(const std::string& text, const std::string& header) {
  std::size_t at = text.find(header + "\r\n");
  if (at == std::string::npos) return {};
  std::size_t next = text.find("\r\n[", at);
  return next == std::string::npos ? text.substr(at) : text.substr(at, next + 2 - at);
}

}  // namespace

bool writeCountsFile(const std::string& runDir, KeywordCategory category,
                     const std::array<std::int64_t, kAllIndex + 1>& counts) {
  const std::string path = runDir + "/词数.ini";
  std::string old;
  if (std::ifstream in{path, std::ios::binary}) {
    std::ostringstream ss;
    ss << in.rdbuf();
    old = ss.str();
  }
  const KeywordCategory other =
      category == KeywordCategory::ProductWords ? KeywordCategory::StoreWords : KeywordCategory::ProductWords;
  std::string keep = sectionOf(old, sectionHeader(other));
  if (!keep.empty() && keep.substr(keep.size() - 2) != "\r\n") keep += "\r\n";

  std::string mine = sectionHeader(category) + "\r\n";
  for (int i = 1; i <= kAllIndex; ++i)
    mine += (i == kAllIndex ? std::string("all") : letterIndexName(i)) + "=" + std::to_string(counts[i]) + "\r\n";

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string& first = category == KeywordCategory::ProductWords ? mine : keep;
  const std::string& second = category == KeywordCategory::ProductWords ? keep : mine;
  out << first << second;
  return static_cast<bool>(out.flush());
}

}  // namespace kx::cli
