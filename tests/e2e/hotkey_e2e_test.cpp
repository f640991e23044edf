// System-wide hotkeys of the installed board: stored hotkeys pressed with
// XTest while another client has the focus, the hotkey dialog, and another
// X client holding a combination.
#include "tests/e2e/board_fixture.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tavrik::e2e {
namespace {

constexpr const char* kDialogTitle = "^选择快捷键组合";

class HotkeyTest : public BoardTest {
protected:
  void TearDown() override {
    SetNumLock(false);
    m_other.reset();
    m_grabber.reset();
    BoardTest::TearDown();
  }

  void StoreHotkey(int entry, const char* modifier, int keyCode, int listIndex) {
    const std::string file = m_run.File("data/热键.ini");
    WriteSetting(file, "状态键", std::to_string(entry), modifier);
    WriteSetting(file, "配置", std::to_string(entry), std::to_string(keyCode));
    WriteSetting(file, "序", std::to_string(entry), std::to_string(listIndex));
  }

  static bool NumLockOn() { return Shell("xset q | grep -o 'Num Lock: *on'").size() > 0; }
  static void SetNumLock(bool on) {
    if (NumLockOn() != on) {
      Shell("xdotool key Num_Lock");
    }
  }

  // Another client's window, with the keyboard focus.
  void FocusAnotherClient() {
    m_other = std::make_unique<Process>(
        std::vector<std::string>{"/usr/bin/xmessage", "-title", "otherclient", "another program"}, m_run.Environment());
    const unsigned long other = FindWindow("^otherclient$");
    ASSERT_NE(other, 0u);
    Shell("xdotool windowfocus --sync " + std::to_string(other));
  }

  // Audio after pressing `keys` with XTest.
  std::vector<float> Press(const std::string& keys, int milliseconds = 400) {
    MarkAudio();
    Shell("xdotool key " + keys);
    return AudioSinceMark(milliseconds);
  }

  void Silence() {
    Click("停止播放");
    std::this_thread::sleep_for(80ms);
  }

  // The dialog, opened from slot `slot`'s menu.
  unsigned long OpenDialogFor(int slot) {
    Click(SlotButtonName(slot), 3);
    std::this_thread::sleep_for(300ms);
    Shell("xdotool key Down Down Return");  // 自定义音效, 设置快捷键
    return FindWindow(kDialogTitle, 5s);
  }

  void ClickInDialog(unsigned long dialog, const std::string& control) {
    const ControlDescription* c = HotkeyDialogDescription().Find(control);
    const Geometry at = WindowGeometry(dialog);
    ClickAt(at.x + c->left + c->width / 2, at.y + c->top + c->height / 2);
  }

  // Chooses item `index` of the dialog's key list with the keyboard.
  void ChooseKey(unsigned long dialog, int index) {
    ClickInDialog(dialog, "组合框1");
    std::this_thread::sleep_for(200ms);
    Shell("xdotool key Escape Home");  // close the popup, keep the focus, first item
    if (index > 0) {
      Shell("xdotool key --delay 5 --repeat " + std::to_string(index) + " Down");
    }
  }

  std::string Stored(const char* section, int entry) {
    return ReadSetting(m_run.File("data/热键.ini"), section, std::to_string(entry));
  }

  std::unique_ptr<Process> m_other;
  std::unique_ptr<Process> m_grabber;
};

TEST_F(HotkeyTest, StoredHotkeysPlayFromAnotherClientWithLocksOnAndOff) {
  const auto fifth = Assign(5, "five.wav", 1);
  const auto ninth = Assign(9, "nine.wav", 2);
  StoreHotkey(4, "1", 112, 26);  // Ctrl+F1: slot 5
  StoreHotkey(8, "0", 101, 42);  // keypad 5: slot 9
  StoreHotkey(60, "2", 123, 37); // Shift+F12: stop
  StartBoard();
  FocusAnotherClient();
  struct Case {
    const char* what;
    bool numLock;
    const char* keys;
    const std::vector<float>* file;
  };
  const Case cases[] = {
      {"ctrl+F1, NumLock off", false, "ctrl+F1", &fifth},
      {"ctrl+F1, NumLock on", true, "ctrl+F1", &fifth},
      {"keypad 5, NumLock on", true, "KP_5", &ninth},
      {"keypad 5, NumLock off", false, "KP_Begin", &ninth},
      {"ctrl+F1 with CapsLock", false, "Caps_Lock ctrl+F1", &fifth},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetNumLock(c.numLock);
    Silence();
    EXPECT_TRUE(Plays(Press(c.keys), *c.file));
    if (std::string(c.keys).rfind("Caps_Lock", 0) == 0) {
      Shell("xdotool key Caps_Lock");
    }
  }
  // Entry 60 stops, like the stop button.
  Press("ctrl+F1", 100);
  std::this_thread::sleep_for(100ms);
  Shell("xdotool key shift+F12");
  std::this_thread::sleep_for(80ms);
  MarkAudio();
  EXPECT_EQ(test::FirstSound(AudioSinceMark(200)), -1);
}

TEST_F(HotkeyTest, HotkeysWorkWithTheBoardInTheTrayAndTheDialogClosed) {
  const auto fifth = Assign(5, "five.wav", 9);
  StoreHotkey(4, "4", 117, 31);  // Alt+F6
  StartTray();
  StartBoard();
  const unsigned long dialog = OpenDialogFor(5);
  ASSERT_NE(dialog, 0u);
  RequestClose(dialog);  // its close box only hides it
  ASSERT_TRUE(WaitFor([dialog] { return !WindowMapped(dialog); }, 3s));
  RequestClose(m_window);
  ASSERT_TRUE(WaitFor([this] { return !WindowMapped(m_window); }, 3s));
  EXPECT_TRUE(Plays(Press("alt+F6"), fifth));
}

TEST_F(HotkeyTest, TwoEntriesWithOneCombinationTheLowerHoldsIt) {
  const auto third = Assign(3, "three.wav", 3);
  Assign(8, "eight.wav", 4);
  StoreHotkey(2, "1", 113, 27);  // Ctrl+F2 for slot 3
  StoreHotkey(7, "1", 113, 27);  // and for slot 8
  StartBoard();
  EXPECT_TRUE(Plays(Press("ctrl+F2"), third));
}

TEST_F(HotkeyTest, CombinationHeldByAnotherClientIsRefusedQuietly) {
  const auto first = Assign(1, "one.wav", 5);
  const auto second = Assign(2, "two.wav", 6);
  StoreHotkey(0, "1", 114, 28);  // Ctrl+F3, held by another client
  StoreHotkey(1, "1", 115, 29);  // Ctrl+F4
  m_grabber = std::make_unique<Process>(
      std::vector<std::string>{TAVRIK_X11_GRABBER, "hold", "F3", "0x4"}, m_run.Environment());
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(m_grabber->Running());
  StartBoard();
  EXPECT_EQ(test::FirstSound(Press("ctrl+F3", 300)), -1);
  EXPECT_EQ(Shell("xdotool search --name '^信息：$' 2>/dev/null"), "") << "no message for a refused hotkey";
  EXPECT_TRUE(Plays(Press("ctrl+F4"), second));
}

TEST_F(HotkeyTest, DialogStoresCtrlF1ForSlotFiveAndItPlaysAtOnce) {
  const auto fifth = Assign(5, "five.wav", 7);
  StartBoard();
  const unsigned long dialog = OpenDialogFor(5);
  ASSERT_NE(dialog, 0u) << "the hotkey dialog did not open";
  ClickInDialog(dialog, "单选框2");  // CTRL
  ChooseKey(dialog, 26);             // F1
  ClickInDialog(dialog, "按钮1");    // 确认
  EXPECT_TRUE(WaitFor([this] { return Stored("序", 4) == "26"; }, 3s));
  EXPECT_EQ(Stored("状态键", 4), "1");
  EXPECT_EQ(Stored("配置", 4), "112");
  EXPECT_TRUE(WaitFor([dialog] { return !WindowMapped(dialog); }, 3s));
  EXPECT_TRUE(Plays(Press("ctrl+F1"), fifth));
}

TEST_F(HotkeyTest, ConfirmingTheHotkeyASlotHasIsADuplicate) {
  StoreHotkey(4, "1", 112, 26);
  StartBoard();
  const unsigned long dialog = OpenDialogFor(5);  // shows CTRL and F1 as stored
  ASSERT_NE(dialog, 0u);
  ClickInDialog(dialog, "按钮1");
  const unsigned long message = FindWindow("^信息：$", 5s);
  ASSERT_NE(message, 0u) << "no duplicate message";
  const Geometry box = WindowGeometry(message);
  Shell("xdotool mousemove " + std::to_string(box.x + box.width / 2) + " " +
        std::to_string(box.y + box.height / 2) + " key Return");
  // Losing its always-on-top flag gives the dialog a new native window.
  EXPECT_NE(FindWindow(kDialogTitle, 3s), 0u) << "the dialog stays";
  EXPECT_EQ(Stored("序", 4), "26");
  EXPECT_EQ(Stored("配置", 4), "112");
}

TEST_F(HotkeyTest, ConfirmingNoKeyStoresMinusOneAndFreesTheCombination) {
  // Ctrl+F5 registered, but no list position stored: the dialog opens with no key.
  StoreHotkey(4, "1", 116, -1);
  StartBoard();
  EXPECT_NE(Process({TAVRIK_X11_GRABBER, "try", "F5", "0x4"}, m_run.Environment()).WaitForExit(5s), 0)
      << "the board should hold ctrl+F5";
  const unsigned long dialog = OpenDialogFor(5);
  ASSERT_NE(dialog, 0u);
  ClickInDialog(dialog, "按钮1");
  EXPECT_TRUE(WaitFor([this] { return Stored("配置", 4) == "-1"; }, 3s));
  EXPECT_EQ(Stored("序", 4), "-1");
  EXPECT_EQ(Process({TAVRIK_X11_GRABBER, "try", "F5", "0x4"}, m_run.Environment()).WaitForExit(5s), 0)
      << "ctrl+F5 is free for other programs";
}

}  // namespace
}  // namespace tavrik::e2e
