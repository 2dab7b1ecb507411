#include "platform/digest.h"

#include <openssl/evp.h>

#include "platform/crypto_library.h"

namespace kx {
namespace {

std::string digestHex(std::string_view data, const EVP_MD* md) {
  unsigned char out[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  if (!md || EVP_Digest(data.data(), data.size(), out, &len, md, nullptr) != 1) return {};
  return toHexUpper(out, len);
}

}  // namespace

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

std::string md5Hex(std::string_view data) { return digestHex(data, md5Method()); }

std::string sha1Hex(std::string_view data) { return digestHex(data, sha1Method()); }

}  // namespace kx
