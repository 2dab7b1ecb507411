// The password that opens every letter file of the keyword store.
#pragma once

#include <string>
#include <string_view>

namespace kx {

// Builds the store password from a 4-byte seed: the upper-case hex MD5 of the
// seed, its characters 9..24 in lower case, and the upper-case hex SHA-1 of
// those 16 bytes (40 characters). The password is never stored; callers build
// it afresh before each open.
std::string storePassword(std::string_view seed);

// The program's own seed, four GBK bytes ("词库").
std::string_view storeSeed();

// storePassword(storeSeed()).
std::string storePassword();

}  // namespace kx
