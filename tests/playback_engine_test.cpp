// The engine's calls into the audio library, their order and the stale
// handle a stop leaves; the slot table and the dispatch table on top of it.
#include "audio/dispatch_table.h"
#include "audio/playback_engine.h"
#include "audio/slot_table.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "tests/support/recording_audio_library.h"
#include "tests/support/sound_fixtures.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace tavrik {
namespace {

using Calls = std::vector<std::string>;

class PlaybackEngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_run = test::MakeTempFolder("slots");
    ASSERT_EQ(mkdir((m_run + "/data").c_str(), 0755), 0);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      WriteSetting(m_run + std::string(kPathsFile), kSlotSection, SlotKey(slot), "/s/" + SlotKey(slot));
    }
    m_engine.SetVolume(1.0f);
  }

  Calls TakeCalls() {
    Calls calls;
    calls.swap(m_library.calls);
    return calls;
  }

  std::string m_run;
  test::RecordingAudioLibrary m_library;
  PlaybackEngine m_engine{m_library};
};

TEST_F(PlaybackEngineTest, PlayStopsReleasesCreatesPlaysThenSetsVolume) {
  m_engine.PlayFile("/s/a");
  m_engine.PlayFile("/s/b");
  EXPECT_EQ(TakeCalls(), (Calls{"Stop 0 refused", "Free 0 refused", "Create /s/a", "Play 1 restart",
                                "Volume 1 1.000000", "Stop 1", "Free 1", "Create /s/b", "Play 2 restart",
                                "Volume 2 1.000000"}));
  EXPECT_EQ(m_engine.currentStream(), 2u);
}

TEST_F(PlaybackEngineTest, StopKeepsTheStaleHandleAndLaterCallsAreRefused) {
  m_engine.PlayFile("/s/a");
  m_engine.StopPlayback();
  EXPECT_EQ(m_engine.currentStream(), 1u);
  TakeCalls();
  m_engine.StopPlayback();
  m_engine.SetVolumeFromSlider(40);
  m_engine.PlayFile("/s/b");
  EXPECT_EQ(TakeCalls(), (Calls{"Stop 1 refused", "Free 1 refused", "Volume 1 0.400000 refused", "Stop 1 refused",
                                "Free 1 refused", "Create /s/b", "Play 2 restart", "Volume 2 0.400000"}));
}

TEST_F(PlaybackEngineTest, FailedOpenLeavesZeroAndSilence) {
  m_library.unplayable.insert("/s/bad");
  m_engine.PlayFile("/s/a");
  m_engine.PlayFile("/s/bad");
  EXPECT_EQ(m_engine.currentStream(), 0u);
  const Calls calls = TakeCalls();
  EXPECT_EQ(Calls(calls.begin() + 5, calls.end()),
            (Calls{"Stop 1", "Free 1", "Create /s/bad", "Play 0 restart refused", "Volume 0 1.000000 refused"}));
}

TEST_F(PlaybackEngineTest, SliderPositionBecomesAFloatVolume) {
  struct Case {
    int position;
    float volume;
  };
  for (const Case c : {Case{1, 0.01f}, Case{5, 0.05f}, Case{33, 0.33f}, Case{100, 1.0f}}) {
    m_engine.SetVolumeFromSlider(c.position);
    EXPECT_EQ(m_engine.volume(), c.volume) << c.position;
  }
}

TEST_F(PlaybackEngineTest, CloseStopsWithoutReleasing) {
  m_engine.PlayFile("/s/a");
  TakeCalls();
  m_engine.StopCurrentStream();
  EXPECT_EQ(TakeCalls(), (Calls{"Stop 1"}));
  EXPECT_EQ(m_library.live.count(1), 1u);
}

TEST_F(PlaybackEngineTest, SlotPathIsReadAfreshAtEveryPress) {
  SlotTable slots(m_run, m_engine);
  slots.PlaySlot(7);
  WriteSetting(m_run + std::string(kPathsFile), kSlotSection, "7", "/elsewhere/x.mp3");
  slots.PlaySlot(7);
  const Calls calls = TakeCalls();
  EXPECT_EQ(calls[2], "Create /s/7");
  EXPECT_EQ(calls[7], "Create /elsewhere/x.mp3");
}

TEST_F(PlaybackEngineTest, DispatchRunsEveryMatchingEntryInOrder) {
  SlotTable slots(m_run, m_engine);
  DispatchTable table(slots, m_engine);
  for (int entry = 0; entry < kDispatchEntryCount; ++entry) {
    table.SetIdentifier(entry, 33001 + entry);
  }
  table.SetIdentifier(12, 0);  // refused registration
  struct Case {
    const char* what;
    int identifier;
    Calls creates;  // files opened, in order
    int stops;      // calls of StopPlayback beyond those inside each play
  };
  const Case cases[] = {
      {"no match", 40000, {}, 0},
      {"zero never matches a refused entry", 0, {}, 0},
      {"entry 4 plays slot 5", 33005, {"Create /s/5"}, 0},
      {"entry 60 stops", 33061, {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TakeCalls();
    table.DispatchHotkey(c.identifier);
    Calls creates;
    int stops = 0;
    for (const auto& call : TakeCalls()) {
      if (call.rfind("Create", 0) == 0) {
        creates.push_back(call);
      } else if (call.rfind("Stop", 0) == 0) {
        ++stops;
      }
    }
    EXPECT_EQ(creates, c.creates);
    EXPECT_EQ(stops - static_cast<int>(c.creates.size()), c.stops);
  }
}

TEST_F(PlaybackEngineTest, TwoEntriesWithOneIdentifierBothRunAndTheLaterIsHeard) {
  SlotTable slots(m_run, m_engine);
  DispatchTable table(slots, m_engine);
  table.SetIdentifier(2, 33100);
  table.SetIdentifier(9, 33100);
  table.DispatchHotkey(33100);
  const Calls calls = TakeCalls();
  EXPECT_EQ(calls[2], "Create /s/3");
  EXPECT_EQ(calls[7], "Create /s/10");
  EXPECT_EQ(m_engine.currentStream(), 2u);
  EXPECT_EQ(m_library.live, (std::set<StreamHandle>{2}));
}

}  // namespace
}  // namespace tavrik
