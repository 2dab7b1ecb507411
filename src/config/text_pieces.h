// Small text helpers shared by the configuration store's files.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kx {

// The pieces joined in order.
inline std::string concat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (auto p : parts) out.append(p);
  return out;
}

}  // namespace kx
