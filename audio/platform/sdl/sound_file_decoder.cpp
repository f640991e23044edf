#include "audio/platform/sdl/sound_file_decoder.h"

#include <SDL.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>

namespace tavrik {

namespace {
constexpr std::size_t kScratchFrames = 1024;
}

std::unique_ptr<SoundFileDecoder> SoundFileDecoder::Open(const std::string& path, int outputFrequency) {
  // libsndfile would open a folder and fail late; refuse anything that is not
  // a plain file up front.
  struct stat status {};
  if (path.empty() || stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return nullptr;
  }
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    return nullptr;
  }
  if (info.channels < 1 || info.samplerate < 1) {
    sf_close(file);
    return nullptr;
  }
  std::unique_ptr<SoundFileDecoder> decoder(
      new SoundFileDecoder(file, info.channels, info.samplerate, outputFrequency));
  if (!decoder->Convert()) {
    return nullptr;
  }
  return decoder;
}

SoundFileDecoder::SoundFileDecoder(sf_private_tag* file, int channels, int sampleRate, int outputFrequency)
    : m_file(file), m_channels(channels), m_sampleRate(sampleRate), m_outputFrequency(outputFrequency),
      m_scratch(kScratchFrames * static_cast<std::size_t>(std::max(channels, 2))) {}

SoundFileDecoder::~SoundFileDecoder() {
  if (m_converter != nullptr) {
    SDL_FreeAudioStream(m_converter);
  }
  sf_close(m_file);
}

bool SoundFileDecoder::Convert() {
  if (m_sampleRate == m_outputFrequency && m_channels <= 2) {
    return true;  // read directly; mono is widened in place
  }
  m_converter = SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(std::min(m_channels, 255)), m_sampleRate,
                                   AUDIO_F32SYS, 2, m_outputFrequency);
  return m_converter != nullptr;
}

std::size_t SoundFileDecoder::Read(float* out, std::size_t frames) {
  if (m_atEnd) {
    return 0;
  }
  if (m_converter != nullptr) {
    return ReadConverted(out, frames);
  }
  std::size_t done = 0;
  while (done < frames) {
    const std::size_t want = std::min(frames - done, kScratchFrames);
    sf_count_t got = 0;
    if (m_channels == 2) {
      got = sf_readf_float(m_file, out + done * 2, static_cast<sf_count_t>(want));
    } else {
      got = sf_readf_float(m_file, m_scratch.data(), static_cast<sf_count_t>(want));
      for (sf_count_t i = 0; i < got; ++i) {
        out[(done + static_cast<std::size_t>(i)) * 2] = m_scratch[static_cast<std::size_t>(i)];
        out[(done + static_cast<std::size_t>(i)) * 2 + 1] = m_scratch[static_cast<std::size_t>(i)];
      }
    }
    if (got <= 0) {
      m_atEnd = true;
      break;
    }
    done += static_cast<std::size_t>(got);
  }
  return done;
}

std::size_t SoundFileDecoder::ReadConverted(float* out, std::size_t frames) {
  const int frameBytes = static_cast<int>(2 * sizeof(float));
  std::size_t done = 0;
  while (done < frames) {
    const int wantBytes = static_cast<int>((frames - done) * 2 * sizeof(float));
    const int got = SDL_AudioStreamGet(m_converter, out + done * 2, wantBytes);
    if (got > 0) {
      done += static_cast<std::size_t>(got / frameBytes);
      continue;
    }
    if (m_sourceDrained) {
      m_atEnd = true;
      break;
    }
    const sf_count_t read = sf_readf_float(m_file, m_scratch.data(), static_cast<sf_count_t>(kScratchFrames));
    if (read <= 0) {
      SDL_AudioStreamFlush(m_converter);
      m_sourceDrained = true;
      continue;
    }
    if (SDL_AudioStreamPut(m_converter, m_scratch.data(),
                           static_cast<int>(read * m_channels * static_cast<sf_count_t>(sizeof(float)))) != 0) {
      m_atEnd = true;
      break;
    }
  }
  return done;
}

bool SoundFileDecoder::Rewind() {
  if (sf_seek(m_file, 0, SEEK_SET) < 0) {
    return false;
  }
  if (m_converter != nullptr) {
    SDL_AudioStreamClear(m_converter);
  }
  m_atEnd = false;
  m_sourceDrained = false;
  return true;
}

}  // namespace tavrik
