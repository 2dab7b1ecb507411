// The QTest classes of this folder, each registered by its own file.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kx::app::test {

using TestClassList = std::vector<std::pair<const char*, std::function<std::unique_ptr<QObject>()>>>;

inline TestClassList& testClasses() {
  static TestClassList classes;
  return classes;
}

template <typename T>
struct RegisterTestClass {
  explicit RegisterTestClass(const char* name) {
    testClasses().emplace_back(name, [] { return std::make_unique<T>(); });
  }
};

}  // namespace kx::app::test

#define KX_REGISTER_TEST_CLASS(T) static const ::kx::app::test::RegisterTestClass<T> registered##T(#T)
