// Binding a file to a slot through the program alone: the slot menu, the
// open-file dialog and the naming dialog.
#include "tests/e2e/board_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tavrik::e2e {
namespace {

class AssignmentTest : public BoardTest {
protected:
  void SetUp() override {
    BoardTest::SetUp();
    m_elsewhere = test::MakeTempFolder("elsewhere");
  }

  // A tone file outside the board's folders.
  std::vector<float> Outside(const std::string& name, int seed) {
    const std::string path = m_elsewhere + "/" + name;
    EXPECT_TRUE(test::WriteToneFile(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, kRate * 2, seed));
    return test::DecodeReference(path);
  }

  // Slot menu, "自定义音效", then the open-file dialog: types `path` and
  // Return, or Escape when `path` is empty.
  void ChooseFile(int slot, const std::string& path) {
    Click(SlotButtonName(slot), 3);
    std::this_thread::sleep_for(300ms);
    Shell("xdotool key Down Return");
    const unsigned long dialog = FindWindow("^(Open|打开)$", 5s);
    ASSERT_NE(dialog, 0u) << "no open-file dialog";
    const Geometry at = WindowGeometry(dialog);
    Shell("xdotool mousemove " + std::to_string(at.x + 30) + " " + std::to_string(at.y + 30));
    std::this_thread::sleep_for(200ms);
    if (path.empty()) {
      Shell("xdotool key Escape");
    } else {
      Shell("xdotool type --delay 5 '" + path + "' && xdotool key Return");
    }
    ASSERT_TRUE(WaitFor([dialog] { return !WindowMapped(dialog); }, 5s));
  }

  // Types `name` into the naming dialog, replacing what it holds, and confirms.
  void Name(const std::string& name) {
    const unsigned long dialog = FindWindow("^设定按钮名称$", 5s);
    ASSERT_NE(dialog, 0u) << "no naming dialog";
    const Geometry at = WindowGeometry(dialog);
    ClickAt(at.x + 8 + 72, at.y + 88 + 16);
    Shell("xdotool key ctrl+a BackSpace");
    if (!name.empty()) {
      Shell("xdotool type --delay 5 '" + name + "'");
    }
    ClickAt(at.x + 184 + 32, at.y + 88 + 16);
  }

  // Dismisses the "信息：" box and returns whether there was one.
  bool Dismiss() {
    const unsigned long box = FindWindow("^信息：$", 3s);
    if (box == 0) {
      return false;
    }
    const Geometry at = WindowGeometry(box);
    Shell("xdotool mousemove " + std::to_string(at.x + at.width / 2) + " " + std::to_string(at.y + at.height / 2) +
          " key Return");
    WaitFor([box] { return !WindowMapped(box); }, 3s);
    return true;
  }

  std::vector<std::string> SoundFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_run.File("mp3"))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string m_elsewhere;
};

TEST_F(AssignmentTest, AssignedSoundIsCopiedNamedStoredAndPlaysAfterARestart) {
  const auto tone = Outside("clap.wav", 1);
  StartBoard();
  ChooseFile(3, m_elsewhere + "/clap.wav");
  Name("boom");
  ASSERT_TRUE(WaitFor([this] { return std::filesystem::exists(m_run.File("mp3/boom.mp3")); }, 5s));
  EXPECT_EQ(ReadSetting(m_run.File("data/路径.ini"), "配置", "3"), m_run.File("mp3/boom.mp3"));
  EXPECT_EQ(ReadSetting(m_run.File("data/标题.ini"), "配置", "3"), "boom");
  MarkAudio();
  Click(SlotButtonName(3));
  EXPECT_TRUE(Plays(AudioSinceMark(400), tone));

  m_board.reset();
  StartBoard();
  MarkAudio();
  Click(SlotButtonName(3));
  EXPECT_TRUE(Plays(AudioSinceMark(400), tone));
}

TEST_F(AssignmentTest, TakenAndUnsafeNamesAreRefusedAndNothingLeavesTheSoundFolder) {
  const auto first = Outside("one.wav", 2);
  const auto second = Outside("two.wav", 3);
  StartBoard();
  ChooseFile(3, m_elsewhere + "/one.wav");
  Name("boom");
  ASSERT_TRUE(WaitFor([this] { return std::filesystem::exists(m_run.File("mp3/boom.mp3")); }, 5s));

  ChooseFile(4, m_elsewhere + "/two.wav");
  struct Case {
    const char* name;
  };
  for (const Case c : {Case{"boom"}, Case{""}, Case{"../x"}, Case{"a/b"}}) {
    SCOPED_TRACE(c.name);
    Name(c.name);
    EXPECT_TRUE(Dismiss()) << "no message";
    EXPECT_EQ((SoundFolder()), (std::vector<std::string>{".mp3", "boom.mp3"}));
    EXPECT_EQ(ReadSetting(m_run.File("data/路径.ini"), "配置", "4"), m_run.File("mp3/"));
  }
  EXPECT_FALSE(std::filesystem::exists(m_run.File("x.mp3")));
  Name("bang");
  ASSERT_TRUE(WaitFor(
      [this] { return ReadSetting(m_run.File("data/路径.ini"), "配置", "4") == m_run.File("mp3/bang.mp3"); }, 5s));
  EXPECT_EQ((SoundFolder()), (std::vector<std::string>{"bang.mp3", "boom.mp3"}));
  ASSERT_TRUE(WaitFor([] { return FindWindow("^设定按钮名称$", 100ms) == 0; }, 3s));
  struct Played {
    int slot;
    const std::vector<float>* file;
  };
  for (const Played p : {Played{4, &second}, Played{3, &first}}) {
    Click("停止播放");
    std::this_thread::sleep_for(100ms);
    MarkAudio();
    Click(SlotButtonName(p.slot));
    EXPECT_TRUE(Plays(AudioSinceMark(400), *p.file)) << "slot " << p.slot;
  }
}

TEST_F(AssignmentTest, DismissedSlotMenuRetargetsTheNamingDialogAndTheHotkeyPlaysTheNewFile) {
  const auto tone = Outside("kick.wav", 4);
  const std::string hotkeys = m_run.File("data/热键.ini");
  WriteSetting(hotkeys, "状态键", "10", "1");  // Ctrl+F7 for slot 11
  WriteSetting(hotkeys, "配置", "10", "118");
  WriteSetting(hotkeys, "序", "10", "32");
  StartBoard();
  ChooseFile(5, m_elsewhere + "/kick.wav");
  ASSERT_NE(FindWindow("^设定按钮名称$", 5s), 0u);
  Click(SlotButtonName(11), 3);  // the slot menu, dismissed (slot 11 lies clear of the dialog)
  std::this_thread::sleep_for(300ms);
  Shell("xdotool key Escape");
  Name("kick");
  ASSERT_TRUE(WaitFor(
      [this] { return ReadSetting(m_run.File("data/路径.ini"), "配置", "11") == m_run.File("mp3/kick.mp3"); }, 5s));
  EXPECT_EQ(ReadSetting(m_run.File("data/标题.ini"), "配置", "11"), "kick");
  EXPECT_EQ(ReadSetting(m_run.File("data/路径.ini"), "配置", "5"), m_run.File("mp3/"));
  MarkAudio();
  Shell("xdotool key ctrl+F7");
  EXPECT_TRUE(Plays(AudioSinceMark(400), tone));

  // The edit box keeps "kick": confirming it untouched meets the taken name.
  ChooseFile(6, m_elsewhere + "/kick.wav");
  const unsigned long dialog = FindWindow("^设定按钮名称$", 5s);
  ASSERT_NE(dialog, 0u);
  const Geometry at = WindowGeometry(dialog);
  ClickAt(at.x + 184 + 32, at.y + 88 + 16);
  EXPECT_TRUE(Dismiss()) << "no 名字已存在";
}

TEST_F(AssignmentTest, CancellingTheOpenFileDialogChangesNothing) {
  StartBoard();
  ChooseFile(6, "");
  EXPECT_EQ(FindWindow("^设定按钮名称$", 1s), 0u);
  EXPECT_TRUE(SoundFolder().empty());
  EXPECT_EQ(ReadSetting(m_run.File("data/路径.ini"), "配置", "6"), m_run.File("mp3/"));
}

}  // namespace
}  // namespace tavrik::e2e
