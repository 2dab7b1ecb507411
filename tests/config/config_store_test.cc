// The configuration object.
#include "config/config_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>
#include <vector>

#include "config_test_util.h"
#include "platform/file_util.h"

namespace kx {
namespace {

using test::crlf;
using test::g;

struct Message {
  MessageIcon icon;
  std::string title;
  std::string text;
};

class ConfigStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = dir_.file("t.ini"); }
  test::TempDir dir_;
  std::string path_;
};

// ---- Opening and modes ----

TEST_F(ConfigStoreTest, NewObjectIsEmptyAndUsable) {
  ConfigStore s;
  EXPECT_EQ(s.document(), "");
  EXPECT_FALSE(s.mirrorOpen());
  EXPECT_FALSE(s.busy());
  EXPECT_EQ(s.pendingEditCount(), 0u);
  EXPECT_EQ(s.mode(), StorageMode::DiskFile);
  EXPECT_EQ(s.path(), "");
  EXPECT_EQ(s.getValue("S", "k", "d", true), "d");
  EXPECT_EQ(s.setValue("S", "k", "v"), 0);  // no mirror: the document alone
  EXPECT_EQ(s.document(), crlf({"[S]", "k=v"}));
  EXPECT_FALSE(s.changesReachFile());
  EXPECT_EQ(s.drainEdits(), -1);
}

TEST_F(ConfigStoreTest, DiskFileOpeningCreatesTheFileAndWritesAtOnce) {
  ConfigStore s;
  EXPECT_TRUE(s.open(path_, StorageMode::DiskFile));
  EXPECT_TRUE(fileExists(path_));
  EXPECT_TRUE(s.changesReachFile());
  EXPECT_EQ(s.path(), path_);
  EXPECT_EQ(s.loadedPath(), path_);
  s.setSection("S");
  EXPECT_TRUE(s.writeText("k", "v"));
  EXPECT_EQ(test::readFile(path_), crlf({"[S]", "k=v"}));
}

TEST_F(ConfigStoreTest, DiskFileOpeningNeverTruncates) {
  test::writeFile(path_, crlf({"[S]", "k=old", "other line"}));
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  EXPECT_EQ(s.document(), crlf({"[S]", "k=old", "other line"}));
  s.setSection("S");
  EXPECT_EQ(s.readText("k", "d"), "old");
  EXPECT_TRUE(s.writeText("k", "new"));
  EXPECT_EQ(test::readFile(path_), crlf({"[S]", "k=new", "other line"}));
}

TEST_F(ConfigStoreTest, MissingFolderMeansNoMirror) {
  ConfigStore s;
  const std::string p = dir_.file("no/such/folder/t.ini");
  EXPECT_FALSE(s.open(p, StorageMode::DiskFile));
  EXPECT_FALSE(s.mirrorOpen());
  s.setSection("S");
  EXPECT_EQ(s.readText("k", "d"), "d");
  EXPECT_TRUE(s.writeText("k", "v"));  // the writer reports the document change
  EXPECT_EQ(s.readText("k", "d"), "v");
  EXPECT_FALSE(s.changesReachFile());
  EXPECT_FALSE(fileExists(p));
}

TEST_F(ConfigStoreTest, AnotherHolderKeepsWritersOut) {
  test::writeFile(path_, crlf({"[S]", "k=1"}));
  ConfigStore first;
  ASSERT_TRUE(first.open(path_, StorageMode::DiskFile));
  ConfigStore second;
  EXPECT_FALSE(second.open(path_, StorageMode::DiskFile));  // locked by the first
  EXPECT_EQ(second.document(), crlf({"[S]", "k=1"}));         // but readable
  EXPECT_FALSE(second.changesReachFile());
  EXPECT_EQ(second.setValue("S", "k", "2"), 0);
  EXPECT_EQ(test::readFile(path_), crlf({"[S]", "k=1"}));
  EXPECT_EQ(first.setValue("S", "k", "3"), 0);
  EXPECT_EQ(test::readFile(path_), crlf({"[S]", "k=3"}));
  first.close();
  EXPECT_TRUE(second.open(path_, StorageMode::DiskFile));  // free again
  EXPECT_EQ(second.document(), crlf({"[S]", "k=3"}));
}

TEST_F(ConfigStoreTest, DirectoryPathGivesNoMirror) {
  ConfigStore s;
  EXPECT_FALSE(s.open(dir_.path(), StorageMode::DiskFile));
  EXPECT_EQ(s.document(), "");
}

TEST_F(ConfigStoreTest, MemoryFileModeTouchesTheDiskOnlyBySaveAs) {
  test::writeFile(path_, crlf({"[S]", "k=1"}));
  ConfigStore s;
  EXPECT_TRUE(s.open(path_, StorageMode::MemoryFile));
  EXPECT_EQ(s.mode(), StorageMode::MemoryFile);
  EXPECT_TRUE(s.changesReachFile());
  EXPECT_EQ(s.setValue("S", "k", "2"), 0);
  EXPECT_EQ(test::readFile(path_), crlf({"[S]", "k=1"}));
  EXPECT_TRUE(s.saveAs(""));
  EXPECT_EQ(test::readFile(path_), crlf({"[S]", "k=2"}));
  const std::string other = dir_.file("other.ini");
  EXPECT_TRUE(s.saveAs(other));
  EXPECT_EQ(test::readFile(other), crlf({"[S]", "k=2"}));
  // Listing reads the in-memory mirror.
  std::vector<std::string> names;
  EXPECT_EQ(s.listSections(names, "", ""), 1);
}

TEST_F(ConfigStoreTest, MemoryFileOnAMissingFileStartsEmpty) {
  ConfigStore s;
  EXPECT_TRUE(s.open(dir_.file("missing.ini"), StorageMode::MemoryFile));
  EXPECT_EQ(s.document(), "");
  EXPECT_FALSE(fileExists(dir_.file("missing.ini")));
}

TEST_F(ConfigStoreTest, SaveAsOfAHeldFileFails) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setValue("S", "k", "1");
  EXPECT_FALSE(s.saveAs(""));  // the own lock: exclusive access is refused
  EXPECT_TRUE(s.saveAs(dir_.file("copy.ini")));
  EXPECT_EQ(test::readFile(dir_.file("copy.ini")), crlf({"[S]", "k=1"}));
  EXPECT_FALSE(s.saveAs(dir_.file("no/folder/x.ini")));
}

TEST_F(ConfigStoreTest, ReloadReadsTheFileAgainWithoutTouchingTheMirror) {
  test::writeFile(path_, crlf({"[S]", "k=1"}));
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::MemoryFile));
  test::writeFile(path_, crlf({"[S]", "k=22"}));
  EXPECT_TRUE(s.reload());
  EXPECT_EQ(s.document(), crlf({"[S]", "k=22"}));
  EXPECT_FALSE(s.changesReachFile());  // the mirror still holds the old bytes
  EXPECT_EQ(s.setValue("S", "k", "3"), 0);
  EXPECT_TRUE(s.changesReachFile());  // the change rewrote it whole
  std::vector<std::string> keys;
  EXPECT_EQ(s.listKeys(keys, "", "", "", "", ""), 1);
  std::filesystem::remove(path_);
  EXPECT_FALSE(s.reload());
  EXPECT_EQ(s.document(), crlf({"[S]", "k=3"}));
}

TEST_F(ConfigStoreTest, CloseAndDestroy) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setSection("S");
  s.writeText("k", "v");
  s.close();
  EXPECT_EQ(s.document(), "");
  EXPECT_FALSE(s.mirrorOpen());
  EXPECT_EQ(s.path(), path_);  // texts stay
  EXPECT_EQ(s.currentSection(), "S");
  EXPECT_EQ(s.setValue("S", "k", "w"), 0);
  EXPECT_EQ(test::readFile(path_), crlf({"[S]", "k=v"}));  // closed: the file stays
  s.destroy();
  EXPECT_EQ(s.document(), "");
  EXPECT_EQ(s.path(), "");
  EXPECT_EQ(s.currentSection(), "");
}

TEST_F(ConfigStoreTest, SetTextReplacesOrAppendsInBothHalves) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setText("abc", false);
  s.setText("def", true);
  EXPECT_EQ(s.document(), "abcdef");
  EXPECT_EQ(test::readFile(path_), "abcdef");
  s.setText("x", false);
  EXPECT_EQ(test::readFile(path_), "x");
  s.setText(std::string("n\0ul", 4), false);
  EXPECT_EQ(s.getText(), "n");
  EXPECT_EQ(s.document().size(), 4u);
  s.unnamedSlot19();
  EXPECT_EQ(s.document().size(), 4u);
}

TEST_F(ConfigStoreTest, CloneCopiesAndDoesNotShareADiskMirror) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setSection("S");
  s.writeText("k", "v");
  auto c = s.clone();
  EXPECT_EQ(c->document(), s.document());
  EXPECT_EQ(c->path(), s.path());
  EXPECT_EQ(c->currentSection(), "S");
  EXPECT_EQ(c->mode(), StorageMode::DiskFile);
  EXPECT_FALSE(c->changesReachFile());
  EXPECT_TRUE(c->writeText("k", "clone"));
  EXPECT_EQ(test::readFile(path_), crlf({"[S]", "k=v"}));
  EXPECT_EQ(s.readText("k", ""), "v");

  ConfigStore m;
  ASSERT_TRUE(m.open(path_ + ".mem", StorageMode::MemoryFile));
  m.setValue("S", "k", "1");
  auto mc = m.clone();
  EXPECT_TRUE(mc->changesReachFile());
  mc->setValue("S", "k", "2");
  std::vector<std::string> keys;
  EXPECT_EQ(mc->listKeys(keys, "", "", "", "", ""), 1);
  EXPECT_EQ(m.getValue("S", "k", "", true), "1");
  EXPECT_TRUE(mc->saveAs(dir_.file("clone.ini")));
  EXPECT_EQ(test::readFile(dir_.file("clone.ini")), crlf({"[S]", "k=2"}));
}

// ---- The edit queue ----

TEST_F(ConfigStoreTest, WritesFromAPumpRunAfterTheRunningOneInOrder) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setSection("S");
  std::vector<int> results;
  std::string seenDuringEdit = "unset";
  bool fired = false;
  s.setEventPump([&] {
    if (fired) return;
    fired = true;
    EXPECT_TRUE(s.busy());
    results.push_back(s.setValue("S", "b", "2"));       // an edit operation: 3
    results.push_back(s.writeText("c", "3") ? 1 : 0);  // a typed writer: false
    EXPECT_EQ(s.pendingEditCount(), 3u);                // the running one and the two
    seenDuringEdit = s.getValue("S", "a", "none", true);  // reads are not queued
  });
  EXPECT_EQ(s.setValue("S", "a", "1"), 0);  // the caller gets its own result
  EXPECT_EQ(results, (std::vector<int>{3, 0}));
  EXPECT_EQ(seenDuringEdit, "none");  // a was not written yet at the first pass
  EXPECT_FALSE(s.busy());
  EXPECT_EQ(s.pendingEditCount(), 0u);
  // New keys go under the header, so the order of the lines shows the order
  // of the runs: a, then b, then c.
  EXPECT_EQ(s.document(), crlf({"[S]", "c=3", "b=2", "a=1"}));
  EXPECT_EQ(test::readFile(path_), s.document());
}

TEST_F(ConfigStoreTest, QueuedWritesOfOneKeyEndWithTheLast) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  int calls = 0;
  s.setEventPump([&] {
    if (++calls != 1) return;
    EXPECT_EQ(s.setValue("S", "k", "second"), 3);
    EXPECT_EQ(s.deleteEntry("S", "gone"), 3);
    EXPECT_EQ(s.renameKey("S", "old", "new"), 3);
    EXPECT_EQ(s.renameSection("T", "U"), 3);
    EXPECT_EQ(s.setValue("S", "k", "third"), 3);
    EXPECT_EQ(s.drainEdits(), 3);  // a nested drain leaves them to the running one
  });
  s.setText(crlf({"[S]", "gone=1", "old=2", "[T]"}), false);
  EXPECT_EQ(s.setValue("S", "k", "first"), 0);
  EXPECT_EQ(s.document(), crlf({"[S]", "k=third", "new=2", "[U]"}));
  EXPECT_EQ(test::readFile(path_), s.document());
}

TEST_F(ConfigStoreTest, ImmediateEditsBypassTheQueue) {
  ConfigStore s;
  s.setEventPump([&] { EXPECT_FALSE(s.busy()); });
  EXPECT_EQ(s.setValue("S", "k", "v", true), 0);
  EXPECT_EQ(s.deleteEntry("S", "x", true), 2);
  EXPECT_EQ(s.renameSection("Q", "R", true), 1);
  EXPECT_EQ(s.renameKey("S", "k", "j", true), 0);
  EXPECT_EQ(s.document(), crlf({"[S]", "j=v"}));
}

TEST_F(ConfigStoreTest, DeleteEntryDoesNotPump) {
  ConfigStore s;
  s.setText(crlf({"[S]", "k=1"}), false);
  int pumps = 0;
  s.setEventPump([&] { ++pumps; });
  EXPECT_EQ(s.deleteEntry("S", "k"), 0);
  EXPECT_EQ(pumps, 0);
  s.getValue("S", "k", "", true);
  EXPECT_GT(pumps, 0);
}

TEST_F(ConfigStoreTest, CloneOfABusyStoreQueuesUntilDrained) {
  ConfigStore s;
  std::unique_ptr<ConfigStore> c;
  s.setEventPump([&] {
    if (!c) c = s.clone();
  });
  s.setValue("S", "k", "1");
  ASSERT_TRUE(c);
  EXPECT_TRUE(c->busy());
  c->setEventPump({});
  EXPECT_EQ(c->setValue("S", "j", "2"), 3);
  EXPECT_EQ(c->pendingEditCount(), 2u);  // the copied running edit and the new one
  EXPECT_EQ(c->drainEdits(), 0);
  EXPECT_EQ(c->document(), crlf({"[S]", "j=2", "k=1"}));
}

// ---- The one warning ----

TEST_F(ConfigStoreTest, HeaderNotFoundAfterElevenAppendsWarnsAndFails) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  std::vector<Message> shown;
  s.setMessageSink([&](MessageIcon icon, const std::string& title, const std::string& text) {
    shown.push_back({icon, title, text});
  });
  int pumps = 0;
  // An event handler that empties the document before every search pass:
  // the appended header is never found.
  s.setEventPump([&] {
    ++pumps;
    s.setText("", false);
  });
  s.setSection("S");
  EXPECT_FALSE(s.writeText("k", "v"));
  EXPECT_EQ(pumps, 11);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(shown[0].title, g("Lumsa："));
  EXPECT_EQ(shown[0].text, g("配置模块出现意外，可能导致无法正常保存！详情请咨询Lumsa。"));
  EXPECT_EQ(shown[1].icon, MessageIcon::None);
  EXPECT_EQ(shown[1].title, g("信息："));
  EXPECT_EQ(shown[1].text, "[S]");  // the document keeps what was appended
  EXPECT_EQ(s.document(), "[S]");
  EXPECT_EQ(test::readFile(path_), "[S]");
  s.setEventPump({});
  EXPECT_EQ(s.setValue("S", "k", "v", true), 0);
}

// ---- Typed accessors ----

TEST_F(ConfigStoreTest, TextKeepsLineBreaksThroughTheEscape) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setSection("S");
  EXPECT_TRUE(s.writeText("k", "line one\r\nline two"));
  EXPECT_EQ(s.document(), crlf({"[S]", "k=line one" + g("┊*┊") + "line two"}));
  EXPECT_EQ(s.readText("k", "d"), "line one\r\nline two");
  EXPECT_EQ(s.readText("missing", "a\r\nb"), "a\r\nb");
}

TEST_F(ConfigStoreTest, Numbers) {
  ConfigStore s;
  s.setSection("S");
  EXPECT_TRUE(s.writeNumber("k", 3));
  EXPECT_EQ(s.getValue("S", "k", "", true), "3");
  EXPECT_DOUBLE_EQ(s.readNumber("k", 7), 3);
  EXPECT_TRUE(s.writeNumber("f", 0.1));
  EXPECT_DOUBLE_EQ(s.readNumber("f", 7), 0.1);
  s.setValue("S", "abc", "abc");
  EXPECT_DOUBLE_EQ(s.readNumber("abc", 7), 0);
  s.setValue("S", "empty", "");
  EXPECT_DOUBLE_EQ(s.readNumber("empty", 7), 7);
  EXPECT_DOUBLE_EQ(s.readNumber("missing", 7.5), 7.5);
  s.setValue("S", "wide", g("１２"));
  EXPECT_DOUBLE_EQ(s.readNumber("wide", 0), 12);
}

TEST_F(ConfigStoreTest, Flags) {
  ConfigStore s;
  s.setSection("S");
  EXPECT_TRUE(s.writeFlag("t", true));
  EXPECT_TRUE(s.writeFlag("f", false));
  EXPECT_EQ(s.getValue("S", "t", "", true), g("真"));
  EXPECT_EQ(s.getValue("S", "f", "", true), g("假"));
  EXPECT_TRUE(s.readFlag("t", false));
  EXPECT_FALSE(s.readFlag("f", true));
  s.setValue("S", "y", "yes");
  EXPECT_FALSE(s.readFlag("y", true));
  EXPECT_TRUE(s.readFlagLenient("y", false));
  EXPECT_FALSE(s.readFlagLenient("f", true));
  EXPECT_TRUE(s.readFlag("missing", true));
  EXPECT_FALSE(s.readFlagLenient("missing", false));
  s.setValue("S", "e", "");
  EXPECT_TRUE(s.readFlag("e", true));
  EXPECT_FALSE(s.readFlagLenient("e", false));
}

TEST_F(ConfigStoreTest, DateTimes) {
  ConfigStore s;
  s.setSection("S");
  EXPECT_TRUE(s.writeDateTime("d", {2024, 5, 6, 7, 8, 9}));
  EXPECT_EQ(s.getValue("S", "d", "", true), g("2024年5月6日7时8分9秒"));
  EXPECT_EQ(s.readDateTime("d", {}), (DateTime{2024, 5, 6, 7, 8, 9}));
  EXPECT_EQ(s.readDateTime("missing", {2000, 1, 2, 3, 0, 0}), (DateTime{2000, 1, 2, 3, 0, 0}));
}

TEST_F(ConfigStoreTest, WritersReportFalseWhenQueued) {
  ConfigStore s;
  s.setSection("S");
  std::vector<bool> got;
  bool fired = false;
  s.setEventPump([&] {
    if (fired) return;
    fired = true;
    got.push_back(s.writeNumber("n", 1));
    got.push_back(s.writeFlag("f", true));
    got.push_back(s.writeDateTime("d", {1, 2, 3, 0, 0, 0}));
  });
  EXPECT_TRUE(s.writeText("t", "x"));
  EXPECT_EQ(got, (std::vector<bool>{false, false, false}));
  EXPECT_DOUBLE_EQ(s.readNumber("n", 0), 1);  // but they ran
  EXPECT_TRUE(s.readFlag("f", false));
}

// ---- Binary values ----

TEST_F(ConfigStoreTest, BinaryValuesLiveInInibin) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setSection(g("节"));
  const std::string bytes("\0\1\2\xFF binary", 11);
  const std::string inibin = joinPath(dir_.path(), "inibin");
  EXPECT_EQ(s.binaryValuePath("k"), joinPath(inibin, "节-k.ibn"));
  EXPECT_TRUE(s.writeBinary("k", bytes));
  EXPECT_EQ(test::readFile(joinPath(inibin, "节-k.ibn")), bytes);
  EXPECT_EQ(s.readBinary("k", "def"), bytes);
  EXPECT_EQ(s.readBinary("other", "def"), "def");
  test::writeFile(joinPath(inibin, "节-empty.ibn"), "");
  EXPECT_EQ(s.readBinary("empty", "def"), "def");
  EXPECT_EQ(s.document(), "");  // binary values bypass the document
  ConfigStore bare;
  bare.open("x.ini", StorageMode::Registry);
  bare.setSection("S");
  EXPECT_EQ(bare.binaryValuePath("k"), joinPath(joinPath("", "inibin"), "S-k.ibn"));  // no folder: the root
}

// ---- Registry mode ----

TEST_F(ConfigStoreTest, RegistryModeUsesTheSubstituteStore) {
  auto reg = std::make_shared<RegistryStore>(dir_.file("registry.kxr"));
  ConfigStore s;
  s.setRegistry(reg);
  EXPECT_TRUE(s.open("D:\\a\\b.x.ini", StorageMode::Registry));
  EXPECT_EQ(s.document(), "");
  s.setSection("S");
  EXPECT_EQ(s.registryPrefix(), g("Lumsa软件") + "\\b.x\\S\\");
  EXPECT_TRUE(s.writeText("k", "v"));
  auto v = reg->value(RegistryRoot::ClassesRoot, g("Lumsa软件") + "\\b.x\\S", "k");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->type, RegistryType::String);
  EXPECT_EQ(v->data, "v");
  EXPECT_EQ(s.readText("k", "d"), "v");
  EXPECT_EQ(s.readText("missing", "d"), "d");
  EXPECT_TRUE(s.writeNumber("n", 27));
  EXPECT_DOUBLE_EQ(s.readNumber("n", 0), 27);
  EXPECT_TRUE(s.writeText("two", "a\r\nb"));
  EXPECT_EQ(s.readText("two", ""), "a\r\nb");
  EXPECT_EQ(s.document(), "");  // nothing reaches the document

  test::setEnv("KX_REG_TEST", "expanded");
  reg->setValue(RegistryRoot::ClassesRoot, g("Lumsa软件") + "\\b.x\\S", "e",
                {RegistryType::ExpandString, "%KX_REG_TEST%!"});
  EXPECT_EQ(s.readText("e", "d"), "expanded!");
  reg->setValue(RegistryRoot::ClassesRoot, g("Lumsa软件") + "\\b.x\\S", "w", {RegistryType::DWord, "\1\0\0\0"});
  EXPECT_EQ(s.readText("w", "d"), "d");  // another type gives the default

  // The value survives in the file for a new store on it.
  ConfigStore again;
  again.setRegistry(std::make_shared<RegistryStore>(dir_.file("registry.kxr")));
  again.open("/elsewhere/b.x.ini", StorageMode::Registry);
  again.setSection("S");
  EXPECT_EQ(again.readText("k", "d"), "v");
}

TEST_F(ConfigStoreTest, RegistryPrefixOfTheSettingsFile) {
  ConfigStore s;
  s.open(dir_.file("Kestrix.ini"), StorageMode::Registry);
  s.setSection(g("基本配置"));
  EXPECT_EQ(s.registryPrefix(), g("Lumsa软件\\Kestrix\\基本配置\\"));
  ConfigStore noExt;
  noExt.open("plain", StorageMode::Registry);
  noExt.setSection("S");
  EXPECT_EQ(noExt.registryPrefix(), g("Lumsa软件") + "\\plain\\S\\");
}

TEST_F(ConfigStoreTest, RegistryOpenLeavesDocumentAndMirror) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setValue("S", "k", "1");
  EXPECT_TRUE(s.open("reg.ini", StorageMode::Registry));
  EXPECT_TRUE(s.mirrorOpen());
  EXPECT_EQ(s.document(), crlf({"[S]", "k=1"}));
}

// ---- Listing operations ----

TEST_F(ConfigStoreTest, ListSections) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setText(crlf({"pre=1", "[Alpha]", "a=1", "[Beta]", "b=1", "[not a header", "[Gamma] x", "[Alpha2]"}), false);
  std::vector<std::string> out;
  int pumps = 0;
  s.setEventPump([&] { ++pumps; });
  EXPECT_EQ(s.listSections(out, "", ""), 3);
  EXPECT_EQ(out, (std::vector<std::string>{"Alpha", "Beta", "Alpha2"}));
  EXPECT_EQ(pumps, 8);  // once per line
  EXPECT_EQ(s.listSections(out, "Alpha", ""), 2);
  EXPECT_EQ(s.listSections(out, "Alpha", "2"), 1);
  EXPECT_EQ(out, (std::vector<std::string>{"Alpha"}));
  // Lines end at LF, NUL or byte 26 as well.
  s.setText(std::string("[A]\n[B]\0[C]\x1A[D]\r\n", 17), false);
  EXPECT_EQ(s.listSections(out, "", ""), 4);
  ConfigStore none;
  none.setText("[A]", false);
  EXPECT_EQ(none.listSections(out, "", ""), 0);  // no mirror, nothing to read
}

TEST_F(ConfigStoreTest, ListKeys) {
  ConfigStore s;
  ASSERT_TRUE(s.open(path_, StorageMode::DiskFile));
  s.setText(crlf({"top=0", "[A]", "a1=1", "a2=2", "no equals", "=novalue", "[B]", "b1=1", "x2=2"}), false);
  std::vector<std::string> out;
  EXPECT_EQ(s.listKeys(out, "", "", "", "", ""), 5);
  EXPECT_EQ(out, (std::vector<std::string>{"top", "a1", "a2", "b1", "x2"}));
  EXPECT_EQ(s.listKeys(out, "2", "", "", "", ""), 2);
  EXPECT_EQ(s.listKeys(out, "", "a", "", "", ""), 3);
  EXPECT_EQ(s.listKeys(out, "", "", "given", "[B", ""), 2);
  EXPECT_EQ(out, (std::vector<std::string>{"b1", "x2"}));
  EXPECT_EQ(s.listKeys(out, "", "", "given", "", "B"), 2);
  EXPECT_EQ(out, (std::vector<std::string>{"a1", "a2"}));  // ends at the next header
  EXPECT_EQ(s.listKeys(out, "", "", "given", "Z", ""), 0);
}

TEST_F(ConfigStoreTest, SectionsWithKey) {
  ConfigStore s;
  s.setText(crlf({"k=0", "[A]", "k=1", "x=[k]", "k=2", "[B]", "j=1", "[C]", "k=3", "y=1]", "k=4"}), false);
  std::vector<std::string> out;
  int pumps = 0;
  s.setEventPump([&] { ++pumps; });
  EXPECT_EQ(s.sectionsWithKey("k", out), 2);
  EXPECT_EQ(out, (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(pumps, 4);  // once per occurrence ("k=0" on the first line has no CR LF before it)
  EXPECT_EQ(s.sectionsWithKey("j", out), 1);
  EXPECT_EQ(out, (std::vector<std::string>{"B"}));
  EXPECT_EQ(s.sectionsWithKey("none", out), 0);
}

TEST_F(ConfigStoreTest, KeysWithValue) {
  ConfigStore s;
  s.setText(crlf({"[A]", "a=red", "b=reddish", "c=blue", "e=", "[B]", "d=red", "f="}), false);
  std::vector<std::string> out;
  EXPECT_EQ(s.keysWithValue("red", out, ""), 3);
  EXPECT_EQ(out, (std::vector<std::string>{"a", "b", "d"}));
  EXPECT_EQ(s.keysWithValue("red", out, "B"), 1);
  EXPECT_EQ(out, (std::vector<std::string>{"d"}));
  EXPECT_EQ(s.keysWithValue("red", out, "A"), 2);
  EXPECT_EQ(s.keysWithValue("", out, ""), 1);  // "f=" is the last line
  EXPECT_EQ(out, (std::vector<std::string>{"e"}));
  EXPECT_EQ(s.keysWithValue("green", out, ""), 0);
}

TEST_F(ConfigStoreTest, NextSectionStartSlot) {
  ConfigStore s;
  s.setText(crlf({"[S]", "a=1", "[T]"}) + "\r\n", false);
  EXPECT_EQ(s.nextSectionStart(1, static_cast<std::int64_t>(s.document().size())), 11);
}

}  // namespace
}  // namespace kx
