#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace tavrik {

// A ring of interleaved stereo float frames with one producer thread and one
// consumer thread; neither side ever blocks or allocates. Reset() is only
// allowed while neither side uses the ring.
class SpscRing {
public:
  explicit SpscRing(std::size_t capacityFrames);

  std::size_t FreeFrames() const;
  std::size_t ReadableFrames() const;

  // Producer: copies up to `frames` frames in, returns how many fit.
  std::size_t Write(const float* samples, std::size_t frames);
  // Consumer: adds up to `frames` frames, ramping the gain from `gainFrom` to
  // `gainTo` across `rampFrames`, into `mix`. Returns the frames taken.
  std::size_t MixInto(float* mix, std::size_t frames, float gainFrom, float gainTo,
                      std::size_t rampFrames);

  void Reset();

private:
  std::size_t m_capacity;  // frames; one slot stays empty
  std::unique_ptr<float[]> m_samples;
  alignas(64) std::atomic<std::size_t> m_readIndex{0};
  alignas(64) std::atomic<std::size_t> m_writeIndex{0};
};

}  // namespace tavrik
