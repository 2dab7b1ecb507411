#include "search/match/regex/regex_groups.h"

namespace kx::regex {

int GroupTable::numberOf(std::u16string_view name) const {
  int group = 0;
  for (const auto& [groupName, number] : names) {
    if (groupName == name) group = number;
  }
  return group;
}

GroupTable scanGroups(std::u16string_view src) {
  GroupTable table;
  bool inClass = false;
  for (std::size_t i = 0; i < src.size(); ++i) {
    char16_t c = src[i];
    if (c == u'\\') {
      ++i;
    } else if (inClass) {
      if (c == u']') inClass = false;
    } else if (c == u'[') {
      inClass = true;
    } else if (c == u'(') {
      if (i + 1 < src.size() && src[i + 1] == u'?') {
        if (i + 2 < src.size() && src[i + 2] == u'<' && i + 3 < src.size() && src[i + 3] != u'=' &&
            src[i + 3] != u'!') {
          ++table.count;
          std::size_t close = src.find(u'>', i + 3);
          if (close != std::u16string_view::npos) table.names.emplace_back(src.substr(i + 3, close - i - 3), table.count);
          table.hasNames = true;
        }
      } else {
        ++table.count;
      }
    }
  }
  return table;
}

}  // namespace kx::regex
