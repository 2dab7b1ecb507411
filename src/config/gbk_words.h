// GBK spellings of the fixed texts of the configuration store. Source files
// are UTF-8; the texts the store compares and writes are GBK bytes, so they
// are spelled here as escapes, each with its characters in the comment.
#pragma once

#include <string_view>

namespace kx::gbk {

inline constexpr std::string_view kLineBreakEscape = "\xA9\xAE" "*" "\xA9\xAE";  // ┊*┊
inline constexpr std::string_view kTrue = "\xD5\xE6";   // 真
inline constexpr std::string_view kFalse = "\xBC\xD9";  // 假

inline constexpr std::string_view kYear = "\xC4\xEA";    // 年
inline constexpr std::string_view kMonth = "\xD4\xC2";   // 月
inline constexpr std::string_view kDay = "\xC8\xD5";     // 日
inline constexpr std::string_view kHour = "\xCA\xB1";    // 时
inline constexpr std::string_view kMinute = "\xB7\xD6";  // 分
inline constexpr std::string_view kSecond = "\xC3\xEB";  // 秒

inline constexpr std::string_view kRegistryRoot = "Lumsa\xC8\xED\xBC\xFE";  // Lumsa软件
inline constexpr std::string_view kLumsaTitle = "Lumsa\xA3\xBA";            // Lumsa：
inline constexpr std::string_view kInfoTitle = "\xD0\xC5\xCF\xA2\xA3\xBA";  // 信息：
// 配置模块出现意外，可能导致无法正常保存！详情请咨询Lumsa。
inline constexpr std::string_view kWriteFailureText =
    "\xC5\xE4\xD6\xC3\xC4\xA3\xBF\xE9\xB3\xF6\xCF\xD6\xD2\xE2\xCD\xE2\xA3\xAC\xBF\xC9\xC4\xDC"
    "\xB5\xBC\xD6\xC2\xCE\xDE\xB7\xA8\xD5\xFD\xB3\xA3\xB1\xA3\xB4\xE6\xA3\xA1\xCF\xEA\xC7\xE9"
    "\xC7\xEB\xD7\xC9\xD1\xAF" "Lumsa" "\xA1\xA3";

inline constexpr std::string_view kHeadSentinel = "#Lumsa" "\xCD\xB7" "#";  // #Lumsa头#
inline constexpr std::string_view kTailSentinel = "#Lumsa" "\xCE\xB2" "#";  // #Lumsa尾#

inline constexpr std::string_view kSizeSuffix = ".\xB3\xDF\xB4\xE7";         // .尺寸
inline constexpr std::string_view kMainWindow = "\xD6\xF7\xBD\xE7\xC3\xE6";  // 主界面
inline constexpr std::string_view kPlacement = "\xCE\xBB\xD6\xC3";           // 位置
inline constexpr std::string_view kLeft = "\xD7\xF3\xB1\xDF";                // 左边
inline constexpr std::string_view kTop = "\xB6\xA5\xB1\xDF";                 // 顶边
inline constexpr std::string_view kWidth = "\xBF\xED\xB6\xC8";               // 宽度
inline constexpr std::string_view kHeight = "\xB8\xDF\xB6\xC8";              // 高度

}  // namespace kx::gbk
