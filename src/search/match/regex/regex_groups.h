// Capture groups of a pattern, known before it is translated: groups are
// numbered by their opening parenthesis, whether \N is a back-reference
// depends on how many the whole pattern holds, and \k is a named reference
// only when some group has a name.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

namespace kx::regex {

struct GroupTable {
  int count = 0;
  bool hasNames = false;
  // (name, number) of each named group; views into the source.
  std::vector<std::pair<std::u16string_view, int>> names;

  // The number of the group called name, or 0 when there is none.
  int numberOf(std::u16string_view name) const;
};

// Counts and names the capture groups of source, which must outlive the
// table. Errors are left to the translation.
GroupTable scanGroups(std::u16string_view source);

}  // namespace kx::regex
