// Check states under their captions and window placement.
#include <gtest/gtest.h>

#include "config/config_store.h"
#include "config_test_util.h"

namespace kx {
namespace {

using test::crlf;
using test::g;

template <typename Kind>
class FakeControl : public Kind {
 public:
  FakeControl(std::string caption, bool checked) : caption_(std::move(caption)), checked_(checked) {}
  std::string caption() const override { return caption_; }
  bool checked() const override { return checked_; }
  void setChecked(bool on) override {
    checked_ = on;
    ++sets;
  }
  int sets = 0;

 private:
  std::string caption_;
  bool checked_;
};

class FakeWindow : public PlacedWindow {
 public:
  WindowRect rect() const override { return rect_; }
  int stateCode() const override { return state_; }
  void setStateCode(int code) override { state_ = code; }
  void move(const WindowRect& r) override {
    rect_ = r;
    ++moves;
  }
  WindowRect rect_{10, 20, 300, 400};
  int state_ = kWindowNormal;
  int moves = 0;
};

TEST(ControlState, SaveAndRestoreUnderTheCaption) {
  ConfigStore s;
  s.setSection(g("基本配置"));
  FakeControl<RadioButtonControl> wild(g("通配符 *"), true);
  EXPECT_TRUE(s.saveCheckState(wild));
  EXPECT_EQ(s.document(), crlf({g("[基本配置]"), g("通配符 *=真")}));
  FakeControl<RadioButtonControl> again(g("通配符 *"), false);
  EXPECT_TRUE(s.restoreCheckState(again));
  EXPECT_TRUE(again.checked());
}

TEST(ControlState, NothingStoredKeepsThePresentState) {
  ConfigStore s;
  s.setSection("S");
  FakeControl<CheckBoxControl> on("on", true);
  FakeControl<CheckBoxControl> off("off", false);
  EXPECT_TRUE(s.restoreCheckState(on));
  EXPECT_FALSE(s.restoreCheckState(off));
  EXPECT_EQ(s.document(), "");  // restoring writes nothing
}

TEST(ControlState, OtherStoredTextRestoresUnchecked) {
  ConfigStore s;
  s.setSection("S");
  s.setValue("S", "c", "yes");
  FakeControl<ToggleButtonControl> c("c", true);
  EXPECT_FALSE(s.restoreCheckState(c));
  EXPECT_FALSE(c.checked());
}

TEST(ControlState, ThreePairsBehaveAlike) {
  ConfigStore s;
  s.setSection("S");
  FakeControl<CheckBoxControl> a("a", true);
  FakeControl<ToggleButtonControl> b("b", false);
  FakeControl<RadioButtonControl> c("c", true);
  EXPECT_TRUE(s.saveCheckState(a));
  EXPECT_TRUE(s.saveCheckState(b));
  EXPECT_TRUE(s.saveCheckState(c));
  // Reverse order of the calls, as new keys go under the header.
  EXPECT_EQ(s.document(), crlf({"[S]", "c=" + g("真"), "b=" + g("假"), "a=" + g("真")}));
  FakeControl<CheckBoxControl> a2("a", false);
  FakeControl<ToggleButtonControl> b2("b", true);
  FakeControl<RadioButtonControl> c2("c", false);
  EXPECT_TRUE(s.restoreCheckState(a2));
  EXPECT_FALSE(s.restoreCheckState(b2));
  EXPECT_TRUE(s.restoreCheckState(c2));
}

TEST(ControlState, SameCaptionSharesOneKey) {
  ConfigStore s;
  s.setSection("S");
  FakeControl<RadioButtonControl> first("same", true);
  FakeControl<RadioButtonControl> second("same", false);
  s.saveCheckState(first);
  s.saveCheckState(second);
  EXPECT_EQ(s.document(), crlf({"[S]", "same=" + g("假")}));
  FakeControl<RadioButtonControl> r1("same", true), r2("same", true);
  EXPECT_FALSE(s.restoreCheckState(r1));
  EXPECT_FALSE(s.restoreCheckState(r2));
}

TEST(ControlState, EachRestoreSetsItsOwnControlOnly) {
  ConfigStore s;
  s.setSection("S");
  s.setValue("S", "x", g("真"));
  s.setValue("S", "y", g("真"));
  FakeControl<RadioButtonControl> x("x", false), y("y", false), z("z", false);
  s.restoreCheckState(x);
  s.restoreCheckState(y);
  s.restoreCheckState(z);
  EXPECT_TRUE(x.checked());
  EXPECT_TRUE(y.checked());
  EXPECT_FALSE(z.checked());
  EXPECT_EQ(x.sets, 1);
  EXPECT_EQ(z.sets, 1);
}

TEST(WindowPlacement, SavesStateAndRectangle) {
  ConfigStore s;
  FakeWindow w;
  EXPECT_TRUE(s.saveWindowPlacement(w, ""));
  EXPECT_EQ(s.currentSection(), g("主界面.尺寸"));
  EXPECT_EQ(s.document(), crlf({g("[主界面.尺寸]"), g("高度=400"), g("宽度=300"), g("顶边=20"), g("左边=10"),
                                g("位置=0")}));
  FakeWindow other;
  other.rect_ = {0, 0, 1, 1};
  EXPECT_EQ(s.restoreWindowPlacement(other, ""), kWindowNormal);
  EXPECT_EQ(other.rect_, (WindowRect{10, 20, 300, 400}));
  EXPECT_EQ(other.moves, 1);
}

TEST(WindowPlacement, NamedSection) {
  ConfigStore s;
  FakeWindow w;
  w.state_ = kWindowCentred;
  EXPECT_TRUE(s.saveWindowPlacement(w, g("对话框")));
  EXPECT_EQ(s.currentSection(), g("对话框.尺寸"));
  EXPECT_EQ(s.getValue(g("对话框.尺寸"), g("位置"), "", true), "1");
  EXPECT_EQ(s.getValue(g("对话框.尺寸"), g("宽度"), "", true), "300");  // code 1 keeps the rectangle
}

TEST(WindowPlacement, StateAboveOneStoresOnlyThePlacement) {
  ConfigStore s;
  FakeWindow w;
  w.state_ = kWindowMaximised;
  EXPECT_TRUE(s.saveWindowPlacement(w, ""));
  EXPECT_EQ(s.document(), crlf({g("[主界面.尺寸]"), g("位置=3")}));
  FakeWindow other;
  other.rect_ = {1, 2, 3, 4};
  EXPECT_EQ(s.restoreWindowPlacement(other, ""), kWindowMaximised);
  EXPECT_EQ(other.state_, kWindowMaximised);
  EXPECT_EQ(other.rect_, (WindowRect{1, 2, 3, 4}));
  EXPECT_EQ(other.moves, 0);
}

TEST(WindowPlacement, NothingStoredKeepsThePresentPlacement) {
  ConfigStore s;
  FakeWindow w;
  w.rect_ = {5, 6, 7, 8};
  EXPECT_EQ(s.restoreWindowPlacement(w, "W"), kWindowNormal);
  EXPECT_EQ(w.rect_, (WindowRect{5, 6, 7, 8}));
  EXPECT_EQ(s.document(), "");
}

TEST(WindowPlacement, StoredNumbersAreTruncated) {
  ConfigStore s;
  s.setText(crlf({g("[主界面.尺寸]"), g("位置=0.9"), g("左边=10.7"), g("顶边=-3.5"), g("宽度=abc"), g("高度=")}), false);
  FakeWindow w;
  w.rect_ = {0, 0, 50, 60};
  EXPECT_EQ(s.restoreWindowPlacement(w, ""), 0);
  EXPECT_EQ(w.rect_, (WindowRect{10, -3, 0, 60}));
}

}  // namespace
}  // namespace kx
