#include "platform/digest.h"

#include "platform/crypto_library.h"

namespace kx {

std::string toHexUpper(const unsigned char* bytes, std::size_t n) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(n * 2);
  for (std::size_t i = 0; i < n; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 0x0F];
  }
  return hex;
}

std::string md5Hex(std::string_view data) {
  unsigned char out[16];
  md5Digest(data.data(), data.size(), out);
  return toHexUpper(out, sizeof out);
}

std::string sha1Hex(std::string_view data) {
  unsigned char out[20];
  sha1Digest(data.data(), data.size(), out);
  return toHexUpper(out, sizeof out);
}

}  // namespace kx
