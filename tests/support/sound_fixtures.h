#pragma once

#include <string>
#include <vector>

namespace tavrik::test {

// Writes a file of `frames` frames in the libsndfile
// `format` (e.g. SF_FORMAT_WAV | SF_FORMAT_FLOAT); frame i holds the tone of
// `seed`, a pattern that differs from file to file and never starts at 0.
bool WriteToneFile(const std::string& path, int format, int frames, int seed, int rate = 44100,
                   int channels = 2);

// Largest magnitude among `count` samples from `from`.
float Peak(const std::vector<float>& samples, std::size_t from, std::size_t count);

// All frames of the file as 44.1 kHz interleaved stereo float, decoded by
// libsndfile directly (the reference a player must reproduce).
std::vector<float> DecodeReference(const std::string& path);

// Index of the first sample whose magnitude exceeds `threshold`, or -1.
long FirstSound(const std::vector<float>& samples, std::size_t from = 0, float threshold = 0.0f);

// A fresh empty folder under the test temp folder.
std::string MakeTempFolder(const std::string& stem);

}  // namespace tavrik::test
