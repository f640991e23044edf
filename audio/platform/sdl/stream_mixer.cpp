#include "audio/platform/sdl/stream_mixer.h"

#include "audio/platform/sdl/sound_file_decoder.h"
#include "audio/platform/sdl/spsc_ring.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tavrik {

namespace {
constexpr std::size_t kRingFrames = 16384;  // about 0.37 s ahead of the device
constexpr std::size_t kFeedChunkFrames = 1024;
}  // namespace

struct StreamMixer::Stream {
  // Written by the interface thread; read by the audio and feeder threads.
  std::atomic<StreamHandle> handle{0};
  std::atomic<int> state{kFree};
  std::atomic<float> volume{1.0f};
  // Mix epoch seen when the stream left the mix; see MixReleased().
  std::atomic<std::uint64_t> retiredAt{0};
  // Audio thread only.
  float appliedGain = 1.0f;
  bool gainPrimed = false;
  // Total frames the mix has taken, to tell a fresh stream from a used one.
  std::atomic<std::uint64_t> framesMixed{0};
  std::atomic<bool> decoded{false};  // the decoder reached the end, all in the ring

  // Guards decoder and scratch between the feeder and the interface thread.
  std::mutex feedLock;
  std::unique_ptr<SoundFileDecoder> decoder;
  std::vector<float> scratch;
  std::unique_ptr<SpscRing> ring;
};

StreamMixer::StreamMixer(int periodFrames, int outputFrequency,
                         std::function<void(const float*, int)> postMixHook)
    : m_periodFrames(periodFrames), m_outputFrequency(outputFrequency),
      m_postMixHook(std::move(postMixHook)) {
  for (auto& stream : m_streams) {
    stream = std::make_unique<Stream>();
  }
  m_feeder = std::thread([this] { FeedLoop(); });
}

StreamMixer::~StreamMixer() {
  m_quit.store(true);
  m_feederWake.release();
  m_feeder.join();
}

StreamMixer::Stream* StreamMixer::Find(StreamHandle handle) {
  if (handle == 0) {
    return nullptr;
  }
  for (auto& stream : m_streams) {
    if (stream->handle.load(std::memory_order_relaxed) == handle) {
      return stream.get();
    }
  }
  return nullptr;
}

bool StreamMixer::MixReleased(const Stream& stream) const {
  // The stream left the mix at epoch e. If e was even, no Mix() pass was
  // running and every later pass sees the new state; if odd, the pass that
  // was running must have finished.
  const std::uint64_t retired = stream.retiredAt.load();
  return retired % 2 == 0 || m_mixEpoch.load() > retired;
}

void StreamMixer::WaitUntilMixReleased(const Stream& stream) const {
  // A mix pass lasts microseconds; this waits for at most one of them.
  while (!MixReleased(stream)) {
    std::this_thread::yield();
  }
}

StreamMixer::Stream* StreamMixer::Allocate() {
  for (auto& stream : m_streams) {
    const int state = stream->state.load();
    if (state == kFree || (state == kRetired && MixReleased(*stream))) {
      return stream.get();
    }
  }
  return nullptr;
}

void StreamMixer::Fill(Stream& stream, std::size_t minimumFrames) {
  // Caller holds feedLock.
  std::size_t filled = 0;
  while (stream.decoder != nullptr && !stream.decoder->AtEnd()) {
    const std::size_t room = stream.ring->FreeFrames();
    if (room == 0 || (room < kFeedChunkFrames && filled >= minimumFrames)) {
      break;
    }
    const std::size_t want =
        std::min({room, kFeedChunkFrames, minimumFrames > 0 ? minimumFrames - filled : kFeedChunkFrames});
    const std::size_t got = stream.decoder->Read(stream.scratch.data(), want);
    stream.ring->Write(stream.scratch.data(), got);
    filled += got;
    if (minimumFrames > 0 && filled >= minimumFrames) {
      break;
    }
  }
  if (stream.decoder == nullptr || stream.decoder->AtEnd()) {
    stream.decoded.store(true);
  }
}

StreamHandle StreamMixer::Create(const std::string& path) {
  Stream* stream = Allocate();
  if (stream == nullptr) {
    return 0;
  }
  auto decoder = SoundFileDecoder::Open(path, m_outputFrequency);
  if (decoder == nullptr) {
    return 0;
  }
  {
    std::lock_guard lock(stream->feedLock);
    if (stream->ring == nullptr) {
      stream->ring = std::make_unique<SpscRing>(kRingFrames);
      stream->scratch.resize(kFeedChunkFrames * 2);
    }
    stream->ring->Reset();
    stream->decoder = std::move(decoder);
    stream->decoded.store(false);
    stream->framesMixed.store(0);
    stream->volume.store(1.0f);
    // Decode the first periods here, so the very next device period can
    // already play the file; the feeder does the rest.
    Fill(*stream, static_cast<std::size_t>(m_periodFrames) * 2);
  }
  // One counter for the whole run, across device changes: a handle that a
  // caller still holds from an earlier device never names a new stream.
  static std::atomic<StreamHandle> lastHandle{0};
  StreamHandle handle = ++lastHandle;
  if (handle == 0) {
    handle = ++lastHandle;
  }
  stream->handle.store(handle);
  stream->state.store(kReady);
  WakeFeeder();
  return handle;
}

bool StreamMixer::Play(StreamHandle handle, bool restart) {
  Stream* stream = Find(handle);
  if (stream == nullptr) {
    return false;
  }
  const bool used = stream->framesMixed.load() > 0 || stream->state.load() == kEnded;
  if (restart && used) {
    // Take it out of the mix, wait for the audio thread to let go of the
    // ring, then start over from the first frame.
    stream->state.store(kStopped);
    stream->retiredAt.store(m_mixEpoch.load());
    WaitUntilMixReleased(*stream);
    std::lock_guard lock(stream->feedLock);
    stream->ring->Reset();
    stream->framesMixed.store(0);
    stream->decoded.store(false);
    if (stream->decoder != nullptr && stream->decoder->Rewind()) {
      Fill(*stream, static_cast<std::size_t>(m_periodFrames) * 2);
    } else {
      stream->decoded.store(true);
    }
  }
  if (stream->state.load() == kEnded && !restart) {
    return true;  // nothing left to play
  }
  stream->state.store(kPlaying);
  WakeFeeder();
  return true;
}

bool StreamMixer::Stop(StreamHandle handle) {
  Stream* stream = Find(handle);
  if (stream == nullptr) {
    return false;
  }
  int state = kPlaying;
  stream->state.compare_exchange_strong(state, kStopped);
  return true;
}

bool StreamMixer::Release(StreamHandle handle) {
  Stream* stream = Find(handle);
  if (stream == nullptr) {
    return false;
  }
  stream->handle.store(0);
  stream->state.store(kRetired);
  stream->retiredAt.store(m_mixEpoch.load());
  std::lock_guard lock(stream->feedLock);
  stream->decoder.reset();  // closes the file now; the ring is kept for reuse
  return true;
}

bool StreamMixer::SetVolume(StreamHandle handle, float volume) {
  Stream* stream = Find(handle);
  if (stream == nullptr) {
    return false;
  }
  stream->volume.store(volume >= 0.0f ? std::min(volume, 1.0f) : 0.0f);  // NaN counts as 0
  return true;
}

void StreamMixer::ReleaseAll() {
  for (auto& stream : m_streams) {
    const StreamHandle handle = stream->handle.load();
    if (handle != 0) {
      Release(handle);
    }
  }
}

void StreamMixer::Mix(float* out, int frames) {
  m_mixEpoch.fetch_add(1);  // odd: a pass is running
  const std::size_t count = static_cast<std::size_t>(frames);
  std::memset(out, 0, count * 2 * sizeof(float));
  bool needsFeeding = false;
  for (auto& slot : m_streams) {
    Stream& stream = *slot;
    if (stream.state.load() != kPlaying) {
      continue;
    }
    // Read before taking frames: once the feeder has flagged the end, every
    // frame it wrote is already visible in the ring.
    const bool decodedBefore = stream.decoded.load();
    const float target = stream.volume.load(std::memory_order_relaxed);
    if (!stream.gainPrimed || stream.framesMixed.load(std::memory_order_relaxed) == 0) {
      stream.appliedGain = target;
      stream.gainPrimed = true;
    }
    const std::size_t mixed = stream.ring->MixInto(out, count, stream.appliedGain, target, count);
    stream.appliedGain = target;
    stream.framesMixed.fetch_add(mixed, std::memory_order_relaxed);
    if (mixed < count && decodedBefore) {
      int playing = kPlaying;
      stream.state.compare_exchange_strong(playing, kEnded);
    } else if (!decodedBefore) {
      needsFeeding = true;
    }
  }
  if (m_postMixHook) {
    m_postMixHook(out, frames);
  }
  m_mixEpoch.fetch_add(1);  // even: the pass is over
  if (needsFeeding) {
    WakeFeeder();
  }
}

void StreamMixer::WakeFeeder() {
  if (!m_feederWakePending.exchange(true)) {
    m_feederWake.release();
  }
}

void StreamMixer::FeedLoop() {
  while (true) {
    m_feederWake.acquire();
    m_feederWakePending.store(false);
    if (m_quit.load()) {
      return;
    }
    for (auto& slot : m_streams) {
      Stream& stream = *slot;
      const int state = stream.state.load();
      if ((state != kReady && state != kPlaying) || stream.decoded.load()) {
        continue;
      }
      std::unique_lock lock(stream.feedLock, std::try_to_lock);
      if (!lock.owns_lock()) {
        WakeFeeder();  // the interface thread is busy with it; come back
        continue;
      }
      const int current = stream.state.load();
      if (current == kReady || current == kPlaying) {
        Fill(stream, 0);
      }
    }
  }
}

}  // namespace tavrik
