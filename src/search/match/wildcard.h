// Text rewriting by paired lists and the wildcard-to-pattern translation of
// the wildcard mode. Texts are GBK; double-byte characters are stepped over
// whole, so a trail byte that happens to equal `\` or `*` is never rewritten.
#pragma once

#include <string>
#include <string_view>

namespace kx {

// Rewrites text by the pairs of two "|"-separated lists, one pass per pair in
// list order; each pass scans the output of the one before from the left,
// never rescanning what it inserted. The replacement list is cut or padded
// with empty items to the length of the search list. An empty search item
// leaves the text unchanged.
std::string replaceByLists(std::string_view text, std::string_view searchList, std::string_view replacementList);

// The regex pattern of a wildcard query: backslashes doubled, ( ) ^ $ + ? . {
// } [ ] made literal, `*` turned into `.*`, "|" left as alternation, no
// anchors added.
std::string wildcardToPattern(std::string_view query);

}  // namespace kx
