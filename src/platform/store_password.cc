#include "platform/store_password.h"

#include <algorithm>
#include <cctype>

#include "platform/digest.h"

namespace kx {

std::string storePassword(std::string_view seed) {
  std::string middle = md5Hex(seed).substr(8, 16);
  std::transform(middle.begin(), middle.end(), middle.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return sha1Hex(middle);
}

std::string_view storeSeed() {
  static constexpr char kSeed[] = "\xB4\xCA\xBF\xE2";  // 词库 in GBK
  return {kSeed, 4};
}

std::string storePassword() { return storePassword(storeSeed()); }

}  // namespace kx
