// The installed board, driven like a user drives it: XTest clicks and keys
// through xdotool on a private X server, sound read back from SDL's disk
// driver, files read back from the run folder.
#include "tests/e2e/board_fixture.h"

#include <fstream>
#include <sstream>
#include <gtest/gtest.h>
#include <thread>

namespace tavrik::e2e {
namespace {

TEST_F(BoardTest, ClickingASlotPlaysItsFileAndStopSilencesIt) {
  const auto first = Assign(1, "one.wav", 1);
  const auto seventh = Assign(7, "seven.wav", 2);
  StartBoard();
  MarkAudio();
  Click(SlotButtonName(7));
  EXPECT_TRUE(Plays(AudioSinceMark(400), seventh));
  Click("停止播放");
  std::this_thread::sleep_for(100ms);
  MarkAudio();
  EXPECT_EQ(test::FirstSound(AudioSinceMark(200)), -1);
  MarkAudio();
  Click(SlotButtonName(1));
  EXPECT_TRUE(Plays(AudioSinceMark(400), first));
}

TEST_F(BoardTest, PageStripSwitchesPages) {
  struct Case {
    int page;
    int slot;  // the slot under the first button's place on that page
  };
  const Case cases[] = {{2, 21}, {3, 41}, {1, 1}};
  std::map<int, std::vector<float>> files;
  for (const Case& c : cases) {
    files[c.slot] = Assign(c.slot, "slot" + std::to_string(c.slot) + ".wav", c.slot % 7);
  }
  StartBoard();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    ChoosePage(c.page);
    MarkAudio();
    Click(SlotButtonName(1));  // the same place on every page
    EXPECT_TRUE(Plays(AudioSinceMark(400), files[c.slot]));
    Click("停止播放");
  }
}

TEST_F(BoardTest, LowestSliderPositionPlaysAtOnePercent) {
  const auto tone = Assign(2, "tone.wav", 3);
  StartBoard();
  const Point slider = Centre("滑块条1");
  ClickAt(slider.x + 70, slider.y);  // on the handle at 100: gives the slider the focus
  Shell("xdotool key Home");
  std::this_thread::sleep_for(100ms);
  MarkAudio();
  Click(SlotButtonName(2));
  EXPECT_TRUE(Plays(AudioSinceMark(400), tone, 0.01f));
}

TEST_F(BoardTest, PathFileFromWindowsIsRerootedAndPlays) {
  // GBK, CRLF, backslashes: "[配置]" and slot 4 at "E:\音效\mp3\鼓掌.wav".
  const std::string gbkName = "\xB9\xC4\xD5\xC6";
  std::ofstream(m_run.File("data/路径.ini"), std::ios::binary)
      << "[\xC5\xE4\xD6\xC3]\r\n4=E:\\\xD2\xF4\xD0\xA7\\mp3\\" << gbkName << ".wav\r\n";
  const std::string local = m_run.File("mp3/鼓掌.wav");
  ASSERT_TRUE(test::WriteToneFile(local, SF_FORMAT_WAV | SF_FORMAT_FLOAT, kRate * 2, 4));
  const auto tone = test::DecodeReference(local);
  StartBoard();
  EXPECT_EQ(ReadSetting(m_run.File("data/路径.ini"), "配置", "4"), local);
  EXPECT_EQ(ReadSetting(m_run.File("data/路径.ini"), "配置", "61"), m_run.File("mp3/"));
  MarkAudio();
  Click(SlotButtonName(4));
  EXPECT_TRUE(Plays(AudioSinceMark(400), tone));
}

TEST_F(BoardTest, SecondInstanceExitsAfterItsMessageAndTheFirstKeepsPlaying) {
  const auto tone = Assign(1, "tone.wav", 5);
  StartBoard();
  m_second = std::make_unique<Process>(std::vector<std::string>{m_run.executable()}, m_run.Environment());
  const unsigned long message = FindWindow("^提示：$");
  ASSERT_NE(message, 0u) << "no message from the second instance";
  EXPECT_TRUE(m_second->Running());
  const Geometry box = WindowGeometry(message);
  Shell("xdotool mousemove " + std::to_string(box.x + box.width / 2) + " " +
      std::to_string(box.y + box.height / 2) + " key Return");
  EXPECT_EQ(m_second->WaitForExit(5s), 0);
  EXPECT_TRUE(m_board->Running());
  MarkAudio();
  Click(SlotButtonName(1));
  EXPECT_TRUE(Plays(AudioSinceMark(400), tone));
}

// The board's tray icon: a small window of the board's class inside the
// tray host's panel.
unsigned long FindTrayIcon() {
  unsigned long icon = 0;
  WaitFor(
      [&] {
        std::istringstream ids(Shell("xdotool search --classname Tavrik 2>/dev/null"));
        std::string id;
        while (std::getline(ids, id)) {
          const unsigned long window = std::stoul(id);
          const Geometry g = WindowGeometry(window);
          if (g.width > 0 && g.width <= 64 && g.height <= 64 && WindowMapped(window)) {
            icon = window;
            return true;
          }
        }
        return false;
      },
      10s);
  return icon;
}

// The colour of one screen pixel as "#RRGGBB".
std::string PixelAt(int x, int y) {
  const std::string text = Shell("import -window root -crop 1x1+" + std::to_string(x) + "+" + std::to_string(y) +
                                 " -depth 8 txt:- 2>/dev/null | tail -1");
  const auto hash = text.find('#');
  return hash == std::string::npos ? std::string() : text.substr(hash, 7);
}

TEST_F(BoardTest, CloseHidesToTheTrayAndTheTrayBringsTheBoardBackCentred) {
  const auto tone = Assign(1, "tone.wav", 6);
  StartTray();
  StartBoard();
  const unsigned long icon = FindTrayIcon();
  ASSERT_NE(icon, 0u) << "no tray icon";
  Shell("xdotool windowmove --sync " + std::to_string(m_window) + " 40 30");
  Click(SlotButtonName(1));
  std::this_thread::sleep_for(150ms);
  RequestClose(m_window);
  ASSERT_TRUE(WaitFor([this] { return !WindowMapped(m_window); }, 5s)) << "the board did not hide";
  EXPECT_TRUE(m_board->Running());
  std::this_thread::sleep_for(50ms);
  MarkAudio();
  EXPECT_EQ(test::FirstSound(AudioSinceMark(200)), -1) << "closing stops the sound";

  Shell("xdotool mousemove --window " + std::to_string(icon) + " 8 8 click 1");
  ASSERT_TRUE(WaitFor([this] { return WindowMapped(m_window); }, 5s)) << "the tray did not bring it back";
  const std::string screen = Shell("xdotool getdisplaygeometry");
  const int width = std::stoi(screen.substr(0, screen.find(' ')));
  const int height = std::stoi(screen.substr(screen.find(' ') + 1));
  EXPECT_TRUE(WaitFor(
      [&] {
        const Geometry g = WindowGeometry(m_window);
        return g.x == (width - 683) / 2 && g.y == (height - 427) / 2;
      },
      2s))
      << "not centred";
  MarkAudio();
  Click(SlotButtonName(1));
  EXPECT_TRUE(Plays(AudioSinceMark(400), tone));

  Shell("xdotool mousemove --window " + std::to_string(icon) + " 8 8 click 1");
  EXPECT_TRUE(WaitFor([this] { return !WindowMapped(m_window); }, 5s)) << "a click on the icon hides a shown board";
}

TEST_F(BoardTest, ChosenSkinIsStoredAndRestoredAtTheNextStart) {
  StartBoard();
  const Geometry at = WindowGeometry(m_window);
  const int px = at.x + 12;  // beside the page area, on the window's own background
  const int py = at.y + 220;
  const std::string plain = PixelAt(px, py);
  // The skin caption button sits left of the menu, minimise and close buttons.
  ClickAt(at.x + 683 - 4 - 3 * 28 - 13, at.y + 15);
  std::this_thread::sleep_for(300ms);
  Shell("xdotool key Down Down Down Return");  // 默认, 淡雅, 蓝色风格
  ASSERT_TRUE(WaitFor([this] { return ReadSetting(m_run.File("data/pf.ini"), "配置", "1") == "蓝色风格"; }, 5s));
  std::string blue;
  WaitFor([&] { blue = PixelAt(px, py); return blue != plain; }, 3s);
  EXPECT_NE(blue, plain);

  m_board.reset();
  StartBoard();
  std::string restored;
  EXPECT_TRUE(WaitFor([&] { restored = PixelAt(px, py); return restored == blue; }, 5s))
      << restored << " after the restart, " << blue << " before";
}

TEST_F(BoardTest, SearchTextIsEncodedIntoTheAddress) {
  StartBoard();
  ChoosePage(4);
  Click("编辑框1");  // the focus clears the hint
  Shell("xdotool type --delay 20 'a#b&c d'");
  Click("按钮74");
  ASSERT_TRUE(WaitFor([this] { return FileSize(m_run.openedFile()) > 0; }, 5s));
  std::ifstream opened(m_run.openedFile());
  std::string address;
  std::getline(opened, address);
  EXPECT_EQ(address, std::string("http://") + TAVRIK_KEYNOTE_HOST + "/plus/search.php?q=a%23b%26c%20d");
}

}  // namespace
}  // namespace tavrik::e2e
