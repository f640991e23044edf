#include "tests/support/sound_fixtures.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace tavrik::test {

bool WriteToneFile(const std::string& path, int format, int frames, int seed, int rate, int channels) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    return false;
  }
  const auto width = static_cast<std::size_t>(channels);
  std::vector<float> samples(static_cast<std::size_t>(frames) * width);
  const double frequency = 110.0 * (1 + seed % 8);
  for (int i = 0; i < frames; ++i) {
    const double phase = 2.0 * M_PI * frequency * i / rate + 0.7;
    for (std::size_t c = 0; c < width; ++c) {
      samples[static_cast<std::size_t>(i) * width + c] =
          static_cast<float>((c % 2 == 0 ? 0.5 : 0.4) * std::sin(phase + static_cast<double>(c)));
    }
  }
  const sf_count_t written = sf_writef_float(file, samples.data(), frames);
  sf_close(file);
  return written == frames;
}

std::vector<float> DecodeReference(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  std::vector<float> out;
  if (file == nullptr) {
    return out;
  }
  std::vector<float> buffer(4096 * static_cast<std::size_t>(info.channels));
  while (true) {
    const sf_count_t got = sf_readf_float(file, buffer.data(), 4096);
    if (got <= 0) {
      break;
    }
    for (sf_count_t i = 0; i < got; ++i) {
      const float left = buffer[static_cast<std::size_t>(i * info.channels)];
      const float right = info.channels > 1 ? buffer[static_cast<std::size_t>(i * info.channels + 1)] : left;
      out.push_back(left);
      out.push_back(right);
    }
  }
  sf_close(file);
  return out;
}

float Peak(const std::vector<float>& samples, std::size_t from, std::size_t count) {
  float peak = 0.0f;
  for (std::size_t i = from; i < samples.size() && i < from + count; ++i) {
    peak = std::max(peak, std::fabs(samples[i]));
  }
  return peak;
}

long FirstSound(const std::vector<float>& samples, std::size_t from, float threshold) {
  for (std::size_t i = from; i < samples.size(); ++i) {
    if (std::fabs(samples[i]) > threshold) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

std::string MakeTempFolder(const std::string& stem) {
  std::string pattern = testing::TempDir() + stem + "XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    return {};
  }
  return pattern;
}

}  // namespace tavrik::test
