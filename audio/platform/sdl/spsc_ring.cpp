#include "audio/platform/sdl/spsc_ring.h"

#include <algorithm>
#include <cstring>

namespace tavrik {

SpscRing::SpscRing(std::size_t capacityFrames)
    : m_capacity(capacityFrames + 1), m_samples(new float[(capacityFrames + 1) * 2]()) {}

std::size_t SpscRing::ReadableFrames() const {
  const std::size_t write = m_writeIndex.load(std::memory_order_acquire);
  const std::size_t read = m_readIndex.load(std::memory_order_acquire);
  return write >= read ? write - read : m_capacity - read + write;
}

std::size_t SpscRing::FreeFrames() const {
  return m_capacity - 1 - ReadableFrames();
}

std::size_t SpscRing::Write(const float* samples, std::size_t frames) {
  const std::size_t write = m_writeIndex.load(std::memory_order_relaxed);
  const std::size_t read = m_readIndex.load(std::memory_order_acquire);
  const std::size_t space = write >= read ? m_capacity - 1 - (write - read) : read - write - 1;
  const std::size_t count = std::min(frames, space);
  const std::size_t first = std::min(count, m_capacity - write);
  std::memcpy(&m_samples[write * 2], samples, first * 2 * sizeof(float));
  std::memcpy(&m_samples[0], samples + first * 2, (count - first) * 2 * sizeof(float));
  m_writeIndex.store((write + count) % m_capacity, std::memory_order_release);
  return count;
}

std::size_t SpscRing::MixInto(float* mix, std::size_t frames, float gainFrom, float gainTo,
                              std::size_t rampFrames) {
  const std::size_t read = m_readIndex.load(std::memory_order_relaxed);
  const std::size_t write = m_writeIndex.load(std::memory_order_acquire);
  const std::size_t available = write >= read ? write - read : m_capacity - read + write;
  const std::size_t count = std::min(frames, available);
  std::size_t index = read;
  for (std::size_t i = 0; i < count; ++i) {
    float gain = gainTo;
    if (i < rampFrames) {
      gain = gainFrom + (gainTo - gainFrom) * static_cast<float>(i) / static_cast<float>(rampFrames);
    }
    mix[i * 2] += m_samples[index * 2] * gain;
    mix[i * 2 + 1] += m_samples[index * 2 + 1] * gain;
    if (++index == m_capacity) {
      index = 0;
    }
  }
  m_readIndex.store(index, std::memory_order_release);
  return count;
}

void SpscRing::Reset() {
  m_readIndex.store(0, std::memory_order_relaxed);
  m_writeIndex.store(0, std::memory_order_release);
}

}  // namespace tavrik
