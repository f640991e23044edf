// The engine and slot table over the real audio library, with SDL's disk
// driver: every sample the device receives lands in a file that the tests
// read back.
#include "audio/audio_library.h"
#include "audio/playback_engine.h"
#include "audio/slot_table.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "tests/support/sound_fixtures.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace tavrik {
namespace {

using test::DecodeReference;
using test::FirstSound;

constexpr int kRate = 44100;

class DiskOutput {
public:
  explicit DiskOutput(std::string path) : m_path(std::move(path)) {}

  std::size_t Size() const {
    struct stat status {};
    return stat(m_path.c_str(), &status) == 0 ? static_cast<std::size_t>(status.st_size) : 0;
  }
  // Marks the present end of the output; Since() reads from there.
  void Mark() { m_mark = Size(); }
  // Waits until `milliseconds` of audio were written after the mark, then
  // returns those samples.
  std::vector<float> Since(int milliseconds) const {
    const std::size_t wanted = m_mark + static_cast<std::size_t>(milliseconds) * kRate / 1000 * 2 * sizeof(float);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Size() < wanted && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::ifstream in(m_path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(m_mark));
    std::vector<float> samples((wanted - m_mark) / sizeof(float));
    in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * sizeof(float)));
    samples.resize(static_cast<std::size_t>(in.gcount()) / sizeof(float));
    return samples;
  }

private:
  std::string m_path;
  std::size_t m_mark = 0;
};

// True when `expected[0..count)` appears in `output` starting at `at`, each
// sample scaled by `gain`.
::testing::AssertionResult PlaysFrom(const std::vector<float>& output, long at, const std::vector<float>& expected,
                                     std::size_t from, std::size_t count, float gain = 1.0f) {
  if (at < 0) {
    return ::testing::AssertionFailure() << "no sound in the output";
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t o = static_cast<std::size_t>(at) + i;
    if (o >= output.size() || from + i >= expected.size()) {
      return ::testing::AssertionFailure() << "output ends at sample " << i;
    }
    const float want = expected[from + i] * gain;
    if (std::fabs(output[o] - want) > 1e-6f) {
      return ::testing::AssertionFailure() << "sample " << i << " is " << output[o] << ", expected " << want;
    }
  }
  return ::testing::AssertionSuccess();
}

class AudioEngineTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    s_folder = test::MakeTempFolder("engine");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (s_folder + "/device.raw").c_str(), 1);
  }

  void SetUp() override {
    m_run = test::MakeTempFolder("run");
    ASSERT_EQ(mkdir((m_run + "/data").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((m_run + "/mp3").c_str(), 0755), 0);
    m_library = CreateAudioLibrary();
    ASSERT_TRUE(m_library->Init(kDefaultDevice, kRate));
    m_engine = std::make_unique<PlaybackEngine>(*m_library);
    m_engine->SetVolume(1.0f);
    m_slots = std::make_unique<SlotTable>(m_run, *m_engine);
  }

  void TearDown() override {
    m_slots.reset();
    m_engine.reset();
    m_library.reset();
  }

  // A tone file in mp3/ bound to `slot`; returns its decoded samples.
  std::vector<float> Assign(int slot, const std::string& name, int format, int frames, int seed) {
    const std::string path = m_run + "/mp3/" + name;
    EXPECT_TRUE(test::WriteToneFile(path, format, frames, seed));
    WriteSetting(m_run + std::string(kPathsFile), kSlotSection, SlotKey(slot), path);
    return DecodeReference(path);
  }

  static inline std::string s_folder;
  std::string m_run;
  DiskOutput m_output{s_folder + "/device.raw"};
  std::unique_ptr<AudioLibrary> m_library;
  std::unique_ptr<PlaybackEngine> m_engine;
  std::unique_ptr<SlotTable> m_slots;
};

constexpr int kWavFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

TEST_F(AudioEngineTest, PressedSlotPlaysItsOwnFile) {
  const auto first = Assign(1, "one.mp3", kWavFloat, kRate / 2, 1);
  const auto second = Assign(2, "two.mp3", kWavFloat, kRate * 2, 2);
  m_output.Mark();
  m_slots->PlaySlot(2);
  const auto out = m_output.Since(1500);
  const long at = FirstSound(out);
  // 1.2 s without a gap or a repeat: far beyond what is decoded up front.
  EXPECT_TRUE(PlaysFrom(out, at, second, 0, kRate * 12 / 10 * 2));
  EXPECT_FALSE(PlaysFrom(out, at, first, 0, 64));
}

TEST_F(AudioEngineTest, PressingThePlayingSlotAgainRestartsIt) {
  const auto tone = Assign(1, "one.mp3", kWavFloat, kRate, 1);
  m_slots->PlaySlot(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const StreamHandle before = m_engine->currentStream();
  m_output.Mark();
  m_slots->PlaySlot(1);
  const auto out = m_output.Since(300);
  EXPECT_NE(m_engine->currentStream(), before);
  // The file's first samples come round again after the second press.
  bool restarted = false;
  for (long at = FirstSound(out); at >= 0 && !restarted; at = FirstSound(out, static_cast<std::size_t>(at) + 2)) {
    restarted = at % 2 == 0 && PlaysFrom(out, at, tone, 0, 2000);
  }
  EXPECT_TRUE(restarted);
}

TEST_F(AudioEngineTest, StopSilencesWithinAPeriod) {
  Assign(1, "long.mp3", kWavFloat, kRate * 5, 3);
  m_slots->PlaySlot(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  m_engine->StopPlayback();
  // One period may already be on its way to the device.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  m_output.Mark();
  const auto out = m_output.Since(200);
  EXPECT_EQ(FirstSound(out), -1);
}

TEST_F(AudioEngineTest, VolumeScalesTheAmplitude) {
  const auto tone = Assign(1, "tone.mp3", kWavFloat, kRate * 2, 4);
  struct Case {
    int slider;
    float gain;
  };
  for (const Case c : {Case{1, 0.01f}, Case{50, 0.5f}, Case{100, 1.0f}}) {
    SCOPED_TRACE(c.slider);
    m_engine->SetVolumeFromSlider(c.slider);
    EXPECT_FLOAT_EQ(m_engine->volume(), c.gain);
    m_engine->StopPlayback();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    m_output.Mark();
    m_slots->PlaySlot(1);
    const auto out = m_output.Since(250);
    const long at = FirstSound(out);
    // Past the first period, whatever the order of play and volume calls.
    EXPECT_TRUE(PlaysFrom(out, at + 2048, tone, 2048, 4000, c.gain));
  }
}

TEST_F(AudioEngineTest, SliderMovedWhilePlayingChangesTheSoundAtOnce) {
  const auto tone = Assign(1, "tone.mp3", kWavFloat, kRate * 3, 5);
  m_engine->SetVolumeFromSlider(100);
  m_slots->PlaySlot(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  m_engine->SetVolumeFromSlider(10);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  m_output.Mark();
  const auto out = m_output.Since(100);
  float peak = 0.0f;
  for (float s : out) {
    peak = std::max(peak, std::fabs(s));
  }
  EXPECT_GT(peak, 0.0f);
  EXPECT_LE(peak, 0.5f * 0.1f + 1e-6f);
}

TEST_F(AudioEngineTest, UnplayablePathsStopTheSoundAndPlayNothing) {
  Assign(1, "long.mp3", kWavFloat, kRate * 5, 6);
  std::ofstream(m_run + "/mp3/text.mp3") << "not a sound";
  const std::string paths = m_run + std::string(kPathsFile);
  struct Case {
    const char* what;
    std::string path;
  };
  const Case cases[] = {
      {"unassigned", ""},
      {"folder", m_run + "/mp3/"},
      {"missing file", m_run + "/mp3/gone.mp3"},
      {"not a sound", m_run + "/mp3/text.mp3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSetting(paths, kSlotSection, "2", c.path);
    m_slots->PlaySlot(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    m_slots->PlaySlot(2);
    EXPECT_EQ(m_engine->currentStream(), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    m_output.Mark();
    EXPECT_EQ(FirstSound(m_output.Since(100)), -1);
  }
}

TEST_F(AudioEngineTest, FormatIsRecognisedFromContent) {
  struct Case {
    const char* name;
    int format;
    int rate;
    int channels;
  };
  // Files at 44.1 kHz stereo must come out sample for sample; the others are
  // converted, so only their loudness is compared.
  const Case cases[] = {
      {"pcm.mp3", SF_FORMAT_WAV | SF_FORMAT_PCM_16, kRate, 2},
      {"vorbis.mp3", SF_FORMAT_OGG | SF_FORMAT_VORBIS, kRate, 2},
      {"flac.wav", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, kRate, 2},
      {"mpeg.wav", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, kRate, 2},
      {"mono.mp3", SF_FORMAT_WAV | SF_FORMAT_PCM_16, kRate, 1},
      {"opus.mp3", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000, 2},
      {"low.mp3", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 22050, 1},
  };
  int seed = 7;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = m_run + "/mp3/" + c.name;
    ASSERT_TRUE(test::WriteToneFile(path, c.format, c.rate / 2, seed++, c.rate, c.channels));
    WriteSetting(m_run + std::string(kPathsFile), kSlotSection, "1", path);
    const auto reference = DecodeReference(path);
    ASSERT_FALSE(reference.empty());
    m_engine->StopPlayback();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    m_output.Mark();
    m_slots->PlaySlot(1);
    const auto out = m_output.Since(250);
    const long at = FirstSound(out);
    if (c.rate == kRate) {
      EXPECT_TRUE(PlaysFrom(out, at, reference, static_cast<std::size_t>(FirstSound(reference)), 3000));
    } else {
      ASSERT_GE(at, 0);
      EXPECT_NEAR(test::Peak(out, static_cast<std::size_t>(at) + 4000, 4000), test::Peak(reference, 4000, 4000),
                  0.05);
    }
  }
}

TEST_F(AudioEngineTest, StaleHandlesAreRefusedHarmlessly) {
  const auto tone = Assign(1, "tone.mp3", kWavFloat, kRate, 8);
  m_slots->PlaySlot(1);
  m_engine->StopPlayback();
  const StreamHandle stale = m_engine->currentStream();
  ASSERT_NE(stale, 0u);
  for (StreamHandle handle : {stale, StreamHandle{0}}) {
    EXPECT_FALSE(m_library->ChannelPlay(handle, true));
    EXPECT_FALSE(m_library->ChannelStop(handle));
    EXPECT_FALSE(m_library->StreamFree(handle));
    EXPECT_FALSE(m_library->ChannelSetAttribute(handle, ChannelAttribute::Volume, 0.5f));
  }
  m_engine->StopPlayback();  // a second stop on the stale handle
  m_output.Mark();
  m_slots->PlaySlot(1);
  const auto out = m_output.Since(150);
  EXPECT_TRUE(PlaysFrom(out, FirstSound(out), tone, 0, 2000));
}

TEST_F(AudioEngineTest, HandlesAreNeverReusedAcrossDeviceChanges) {
  Assign(1, "tone.mp3", kWavFloat, kRate, 9);
  m_slots->PlaySlot(1);
  const StreamHandle old = m_engine->currentStream();
  ASSERT_TRUE(m_library->Free());
  EXPECT_FALSE(m_library->ChannelStop(old));
  ASSERT_TRUE(m_library->Init(kDefaultDevice, kRate));
  m_slots->PlaySlot(1);
  EXPECT_NE(m_engine->currentStream(), 0u);
  EXPECT_NE(m_engine->currentStream(), old);
  EXPECT_FALSE(m_library->Init(kDefaultDevice, kRate));  // already open
}

TEST_F(AudioEngineTest, NoSoundDeviceRunsStreamsThatNobodyHears) {
  const std::string path = m_run + "/mp3/tone.mp3";
  ASSERT_TRUE(test::WriteToneFile(path, kWavFloat, kRate, 10));
  std::atomic<int> soundingPeriods{0};
  AudioLibraryOptions options;
  options.postMixHook = [&](const float* samples, int frames) {
    if (FirstSound(std::vector<float>(samples, samples + frames * 2)) >= 0) {
      soundingPeriods.fetch_add(1);
    }
  };
  auto silent = CreateAudioLibrary(options);
  ASSERT_TRUE(silent->Init(kNoSoundDevice, kRate));
  PlaybackEngine engine(*silent);
  engine.SetVolume(1.0f);
  m_output.Mark();
  engine.PlayFile(path);
  EXPECT_NE(engine.currentStream(), 0u);
  const auto out = m_output.Since(150);
  EXPECT_GT(soundingPeriods.load(), 5);  // the stream is mixed at the device's pace...
  EXPECT_EQ(FirstSound(out), -1);        // ...and reaches no device
}

TEST_F(AudioEngineTest, DevicesAreListedFromOne) {
  AudioDeviceInfo info;
  EXPECT_FALSE(m_library->GetDeviceInfo(0, &info));
  ASSERT_TRUE(m_library->GetDeviceInfo(1, &info));  // the disk driver's one device
  EXPECT_FALSE(info.name.empty());
  EXPECT_FALSE(m_library->GetDeviceInfo(2, &info));
}

}  // namespace
}  // namespace tavrik
