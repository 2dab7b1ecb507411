// MD5 and SHA-1 digests as upper-case hexadecimal text.
#pragma once

#include <string>
#include <string_view>

namespace kx {

// The 32-character upper-case hex MD5 digest of data.
std::string md5Hex(std::string_view data);

// The 40-character upper-case hex SHA-1 digest of data.
std::string sha1Hex(std::string_view data);

// Upper-case hex of raw bytes, two characters per byte, "0123456789ABCDEF".
std::string toHexUpper(const unsigned char* bytes, std::size_t n);

}  // namespace kx
