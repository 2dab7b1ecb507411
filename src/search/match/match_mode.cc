#include "search/match/match_mode.h"

namespace kx {

MatchMode readMatchMode(bool regex, bool wildcard, bool pinyin, bool right, bool middle, bool left) {
  MatchMode mode = regex ? MatchMode::MatchRegex : MatchMode::MatchAll;
  if (wildcard) mode = MatchMode::MatchWildcard;
  if (pinyin) mode = MatchMode::MatchPinyin;
  if (right) mode = MatchMode::MatchRight;
  if (middle) mode = MatchMode::MatchMiddle;
  if (left) mode = MatchMode::MatchLeft;
  return mode;
}

}  // namespace kx
