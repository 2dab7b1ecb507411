// The seven match modes, numbered as the settings and radio buttons know them.
#pragma once

namespace kx {

enum class MatchMode : int {
  MatchLeft = 0,      // 匹配左边: the keyword starts with the query
  MatchMiddle = 1,    // 匹配中间: the keyword contains the query
  MatchRight = 2,     // 匹配右边: the keyword ends with the query
  MatchPinyin = 3,    // 模糊首拼: the query spells the first characters or their initials
  MatchWildcard = 4,  // 通配符 *: the query read as a wildcard pattern
  MatchRegex = 5,     // 正则表达式: the query read as a regular expression
  MatchAll = 6,       // 全部输出: every keyword
};

// The mode the radio buttons give, read in the window's order: each selected
// button overrides what was found before it, and with none of these six
// selected the mode is MatchAll (the 全部输出 button itself is never read).
MatchMode readMatchMode(bool regex, bool wildcard, bool pinyin, bool right, bool middle, bool left);

}  // namespace kx
