#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct sf_private_tag;
struct _SDL_AudioStream;

namespace tavrik {

// Decodes a sound file into 44.1 kHz interleaved stereo float frames, piece
// by piece. The format is recognised from the file's content, whatever its
// name says. Used by one thread at a time.
class SoundFileDecoder {
public:
  // nullptr when `path` (UTF-8) is not a regular file that can be decoded.
  static std::unique_ptr<SoundFileDecoder> Open(const std::string& path, int outputFrequency);
  ~SoundFileDecoder();

  SoundFileDecoder(const SoundFileDecoder&) = delete;
  SoundFileDecoder& operator=(const SoundFileDecoder&) = delete;

  // Fills up to `frames` output frames; fewer only at the end of the file.
  std::size_t Read(float* out, std::size_t frames);
  bool AtEnd() const { return m_atEnd; }
  bool Rewind();

private:
  SoundFileDecoder(sf_private_tag* file, int channels, int sampleRate, int outputFrequency);
  bool Convert();  // sets up the converter when the file is not 44.1 kHz stereo
  std::size_t ReadConverted(float* out, std::size_t frames);

  sf_private_tag* m_file;
  int m_channels;
  int m_sampleRate;
  int m_outputFrequency;
  _SDL_AudioStream* m_converter = nullptr;
  bool m_atEnd = false;
  bool m_sourceDrained = false;
  std::vector<float> m_scratch;
};

}  // namespace tavrik
