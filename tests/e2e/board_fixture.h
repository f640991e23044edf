#pragma once

// The fixture of the end-to-end tests: a run folder with a copy of the board,
// the board started in it, and the ways a user reaches its controls.
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "tests/e2e/board_driver.h"
#include "tests/support/sound_fixtures.h"
#include "ui/window_description.h"

#include <sndfile.h>

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace tavrik::e2e {

using namespace std::chrono_literals;

inline constexpr int kRate = 44100;
inline constexpr const char* kTitle = "^Quorin主持音效助手";

// Screen position of the centre of a control of the board.
struct Point {
  int x;
  int y;
};

class BoardTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) {
      GTEST_SKIP() << "needs an X display (./test starts one)";
    }
  }

  void TearDown() override {
    m_second.reset();
    m_board.reset();
    m_tray.reset();
  }

  // A tone file in mp3/ bound to `slot`; returns its decoded samples.
  std::vector<float> Assign(int slot, const std::string& name, int seed) {
    const std::string path = m_run.File("mp3/" + name);
    EXPECT_TRUE(test::WriteToneFile(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, kRate * 2, seed));
    WriteSetting(m_run.File("data/路径.ini"), "配置", SlotKey(slot), path);
    return test::DecodeReference(path);
  }

  void StartTray() {
    m_tray = std::make_unique<Process>(
        std::vector<std::string>{"/usr/bin/trayer", "--edge", "bottom", "--align", "right", "--widthtype",
                                 "request", "--height", "32", "--SetDockType", "false", "--expand", "false"},
        m_run.Environment());
    ASSERT_TRUE(WaitFor([] { return !Shell("xdotool search --classname trayer 2>/dev/null").empty(); }, 5s));
  }

  void StartBoard() {
    m_board = std::make_unique<Process>(std::vector<std::string>{m_run.executable()}, m_run.Environment());
    m_window = FindWindow(kTitle);
    ASSERT_NE(m_window, 0u) << "the board did not show; boards running: "
                            << Shell("pgrep -a Tavrik; xdotool search --name '提示' 2>/dev/null");
    // Wait until the audio device writes, so marks below are meaningful.
    ASSERT_TRUE(WaitFor([this] { return FileSize(m_run.audioFile()) > 0; }, 5s));
  }

  Point Centre(const std::string& control) const {
    const WindowDescription& window = MainWindowDescription();
    const ControlDescription* c = window.Find(control);
    int x = c->left + c->width / 2;
    int y = c->top + c->height / 2;
    if (!c->parent.empty()) {  // on a page of the container
      const ControlDescription* container = window.Find("选择夹1");
      x += container->left;
      y += container->top;
    }
    const Geometry at = WindowGeometry(m_window);
    return {at.x + x, at.y + y};
  }

  void Click(const std::string& control, int button = 1) {
    const Point p = Centre(control);
    ClickAt(p.x, p.y, button);
  }

  // Page strip item n (from 1) over 图片框1.
  void ChoosePage(int n) {
    const Geometry at = WindowGeometry(m_window);
    ClickAt(at.x + 32 + (n - 1) * 65 + 32, at.y + 24 + 25);
  }

  void MarkAudio() { m_mark = FileSize(m_run.audioFile()); }

  // Audio written since the mark, once `milliseconds` of it exist.
  std::vector<float> AudioSinceMark(int milliseconds) {
    const std::size_t wanted = m_mark + static_cast<std::size_t>(milliseconds) * kRate / 1000 * 8;
    WaitFor([&] { return FileSize(m_run.audioFile()) >= wanted; }, 10s);
    auto samples = ReadAudio(m_run.audioFile(), m_mark);
    samples.resize(std::min(samples.size(), (wanted - m_mark) / sizeof(float)));
    return samples;
  }

  // True when the file's samples, scaled by `gain`, appear in `out`.
  static ::testing::AssertionResult Plays(const std::vector<float>& out, const std::vector<float>& file,
                                          float gain = 1.0f) {
    const long at = test::FirstSound(out);
    if (at < 0) {
      return ::testing::AssertionFailure() << "silence";
    }
    // Past the first period, whatever the volume did at the very start.
    const std::size_t skip = 2048;
    for (std::size_t i = 0; i < 2000; ++i) {
      const std::size_t o = static_cast<std::size_t>(at) + skip + i;
      if (o >= out.size()) {
        return ::testing::AssertionFailure() << "too short";
      }
      if (std::fabs(out[o] - file[skip + i] * gain) > 1e-5f) {
        return ::testing::AssertionFailure() << "sample " << i << ": " << out[o] << " vs " << file[skip + i] * gain;
      }
    }
    return ::testing::AssertionSuccess();
  }

  RunFolder m_run;
  std::unique_ptr<Process> m_tray;
  std::unique_ptr<Process> m_board;
  std::unique_ptr<Process> m_second;
  unsigned long m_window = 0;
  std::size_t m_mark = 0;
};

}  // namespace tavrik::e2e
