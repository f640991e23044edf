#pragma once

#include "audio/audio_library.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>

namespace tavrik {

class SoundFileDecoder;
class SpscRing;

// The streams of one open device and the mix that feeds it. Streams are
// decoded ahead by a feeder thread into rings; Mix() runs on the audio thread
// and never blocks, allocates or touches the disk. All other calls come from
// the user-interface thread.
class StreamMixer {
public:
  StreamMixer(int periodFrames, int outputFrequency,
              std::function<void(const float*, int)> postMixHook);
  ~StreamMixer();

  StreamMixer(const StreamMixer&) = delete;
  StreamMixer& operator=(const StreamMixer&) = delete;

  StreamHandle Create(const std::string& path);
  bool Play(StreamHandle handle, bool restart);
  bool Stop(StreamHandle handle);
  bool Release(StreamHandle handle);
  bool SetVolume(StreamHandle handle, float volume);
  void ReleaseAll();

  // Audio thread: writes `frames` interleaved stereo frames into `out`.
  void Mix(float* out, int frames);

private:
  enum State : int { kFree, kReady, kPlaying, kStopped, kEnded, kRetired };
  struct Stream;

  Stream* Find(StreamHandle handle);
  Stream* Allocate();
  bool MixReleased(const Stream& stream) const;
  void WaitUntilMixReleased(const Stream& stream) const;
  void Fill(Stream& stream, std::size_t minimumFrames);
  void WakeFeeder();
  void FeedLoop();

  static constexpr std::size_t kStreamCount = 32;

  const int m_periodFrames;
  const int m_outputFrequency;
  const std::function<void(const float*, int)> m_postMixHook;
  std::array<std::unique_ptr<Stream>, kStreamCount> m_streams;

  // Odd while Mix() runs; lets the interface thread know when a stream it
  // took out of the mix can no longer be read by the audio thread.
  std::atomic<std::uint64_t> m_mixEpoch{0};

  std::atomic<bool> m_feederWakePending{false};
  std::binary_semaphore m_feederWake{0};
  std::atomic<bool> m_quit{false};
  std::thread m_feeder;
};

}  // namespace tavrik
