#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_util.h"

namespace kx {
namespace {

TEST(RegistryStore, KeyedByRootPathAndName) {
  test::TempDir dir;
  RegistryStore r(dir.file("reg.kxr"));
  EXPECT_FALSE(r.value(RegistryRoot::ClassesRoot, "A\\B", "v"));
  EXPECT_TRUE(r.setString(RegistryRoot::ClassesRoot, "A\\B", "v", "one"));
  EXPECT_TRUE(r.setString(RegistryRoot::CurrentUser, "A\\B", "v", "two"));
  EXPECT_TRUE(r.setString(RegistryRoot::ClassesRoot, "A\\B\\C", "v", "three"));
  EXPECT_EQ(r.readString(RegistryRoot::ClassesRoot, "A\\B", "v"), "one");
  EXPECT_EQ(r.readString(RegistryRoot::CurrentUser, "A\\B", "v"), "two");
  EXPECT_EQ(r.readString(RegistryRoot::ClassesRoot, "A\\B\\C", "v"), "three");
  EXPECT_EQ(r.readString(RegistryRoot::ClassesRoot, "a\\b", "V"), "one");  // ASCII case does not matter
  EXPECT_TRUE(r.setString(RegistryRoot::ClassesRoot, "a\\b", "V", "replaced"));
  EXPECT_EQ(r.readString(RegistryRoot::ClassesRoot, "A\\B", "v"), "replaced");
}

TEST(RegistryStore, SurvivesInItsFileWithAnyBytes) {
  test::TempDir dir;
  const std::string bytes("line\nbreak \0nul \xFF\xA3 5 5 5\n", 25);
  {
    RegistryStore r(dir.file("sub/reg.kxr"));
    EXPECT_TRUE(r.setValue(RegistryRoot::ClassesRoot, "K 1\n", "n 2", {RegistryType::Binary, bytes}));
  }
  RegistryStore again(dir.file("sub/reg.kxr"));
  auto v = again.value(RegistryRoot::ClassesRoot, "K 1\n", "n 2");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->type, RegistryType::Binary);
  EXPECT_EQ(v->data, bytes);
  EXPECT_FALSE(again.readString(RegistryRoot::ClassesRoot, "K 1\n", "n 2"));  // not a string type
  EXPECT_TRUE(again.removeValue(RegistryRoot::ClassesRoot, "K 1\n", "n 2"));
  EXPECT_FALSE(RegistryStore(dir.file("sub/reg.kxr")).value(RegistryRoot::ClassesRoot, "K 1\n", "n 2"));
}

TEST(RegistryStore, TwoObjectsOnOneFileSeeEachOther) {
  test::TempDir dir;
  RegistryStore a(dir.file("reg.kxr")), b(dir.file("reg.kxr"));
  a.setString(RegistryRoot::ClassesRoot, "K", "x", "1");
  b.setString(RegistryRoot::ClassesRoot, "K", "y", "2");
  EXPECT_EQ(a.readString(RegistryRoot::ClassesRoot, "K", "y"), "2");
  EXPECT_EQ(b.readString(RegistryRoot::ClassesRoot, "K", "x"), "1");
}

TEST(RegistryStore, ExpandStringsAndNul) {
  RegistryStore r("");  // memory only
  test::setEnv("KX_REG_VAR", "/home/x");
  test::setEnv("KX_REG_UNSET", nullptr);
  r.setValue(RegistryRoot::ClassesRoot, "K", "e", {RegistryType::ExpandString, "%KX_REG_VAR%/a %KX_REG_UNSET% 100%"});
  EXPECT_EQ(r.readString(RegistryRoot::ClassesRoot, "K", "e"), "/home/x/a %KX_REG_UNSET% 100%");
  r.setValue(RegistryRoot::ClassesRoot, "K", "s", {RegistryType::String, std::string("ab\0cd", 5)});
  EXPECT_EQ(r.readString(RegistryRoot::ClassesRoot, "K", "s"), "ab");
}

TEST(RegistryStore, CorruptFileReadsAsEmpty) {
  test::TempDir dir;
  test::writeFile(dir.file("reg.kxr"), "KXREG 1\n0 1 999999 1 1\nshort");
  RegistryStore r(dir.file("reg.kxr"));
  EXPECT_FALSE(r.value(RegistryRoot::ClassesRoot, "", "x"));
  EXPECT_TRUE(r.setString(RegistryRoot::ClassesRoot, "K", "x", "1"));
  EXPECT_EQ(r.readString(RegistryRoot::ClassesRoot, "K", "x"), "1");
}

#ifdef _WIN32
// The real registry: GBK key paths, names and text survive the round trip
// through UTF-16, and the string types come back as written.
TEST(WindowsRegistry, StringsRoundTripInGbk) {
  auto reg = Registry::platformDefault();
  const std::string key = "KestrixTest\\" + test::gbk(u8"设置");
  const std::string name = test::gbk(u8"关键词");
  const std::string text = test::gbk(u8"阿迪达斯 男鞋");
  ASSERT_TRUE(reg->setString(RegistryRoot::ClassesRoot, key, name, text));
  EXPECT_EQ(reg->readString(RegistryRoot::ClassesRoot, key, name), text);
  ASSERT_TRUE(reg->setValue(RegistryRoot::ClassesRoot, key, "e", {RegistryType::ExpandString, "%KX_NOT_SET%x"}));
  EXPECT_EQ(reg->readString(RegistryRoot::ClassesRoot, key, "e"), "%KX_NOT_SET%x");
  EXPECT_FALSE(reg->readString(RegistryRoot::ClassesRoot, key, "missing"));
  EXPECT_TRUE(reg->removeValue(RegistryRoot::ClassesRoot, key, name));
  EXPECT_FALSE(reg->value(RegistryRoot::ClassesRoot, key, name));
}
#else
TEST(RegistryStore, DefaultPath) {
  test::setEnv("XDG_CONFIG_HOME", "/tmp/kx-xdg");
  EXPECT_EQ(RegistryStore::defaultPath(), "/tmp/kx-xdg/kestrix/registry.kxr");
  test::setEnv("XDG_CONFIG_HOME", nullptr);
}
#endif

}  // namespace
}  // namespace kx
