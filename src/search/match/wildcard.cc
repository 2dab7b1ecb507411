#include "search/match/wildcard.h"

#include <vector>

namespace kx {
namespace {

std::vector<std::string_view> splitOnBar(std::string_view list) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  for (;;) {
    std::size_t bar = list.find('|', start);
    if (bar == std::string_view::npos) {
      items.push_back(list.substr(start));
      return items;
    }
    items.push_back(list.substr(start, bar - start));
    start = bar + 1;
  }
}

// One pass: every occurrence of from that starts on a character boundary
// becomes to.
std::string replaceOnBoundaries(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, from.size(), from) == 0) {
      out += to;
      i += from.size();
      continue;
    }
    std::size_t width = (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
    out.append(text, i, width);
    i += width;
  }
  return out;
}

}  // namespace

std::string replaceByLists(std::string_view text, std::string_view searchList, std::string_view replacementList) {
  const std::vector<std::string_view> found = splitOnBar(searchList);
  std::vector<std::string_view> replaced = splitOnBar(replacementList);
  replaced.resize(found.size());
  std::string result(text);
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (result.empty() || found[i].empty()) continue;
    result = replaceOnBoundaries(result, found[i], replaced[i]);
  }
  return result;
}

std::string wildcardToPattern(std::string_view query) {
  static constexpr std::string_view kSearchList = R"(\|(|)|^|$|+|?|.|{|}|[|]|*)";
  static constexpr std::string_view kReplacementList = R"(\\|\(|\)|\^|\$|\+|\?|\.|\{|\}|\[|\]|.*)";
  return replaceByLists(query, kSearchList, kReplacementList);
}

}  // namespace kx
