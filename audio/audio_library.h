#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tavrik {

// Handle of a stream; 0 is never a stream.
using StreamHandle = std::uint32_t;

inline constexpr int kDefaultDevice = -1;  // the system's default output
inline constexpr int kNoSoundDevice = 0;   // streams run and are heard nowhere
inline constexpr int kOutputFrequency = 44100;

enum class ChannelAttribute : int { Volume = 2 };

struct AudioDeviceInfo {
  std::string name;
};

// The audio library the board plays through. Every call is made on the
// user-interface thread; none blocks for longer than opening a file. Calls on
// handle 0 or on a released handle are refused and change nothing.
class AudioLibrary {
public:
  virtual ~AudioLibrary() = default;

  // Opens output device `device` (-1 default, 0 no sound, 1.. the listed
  // devices) at `frequency` Hz; false when it cannot, or when one is open.
  virtual bool Init(int device, int frequency) = 0;
  // Closes the device and releases every stream; false when none was open.
  virtual bool Free() = 0;
  // Fills `info` while `device` (1, 2, ...) names an output device.
  virtual bool GetDeviceInfo(int device, AudioDeviceInfo* info) = 0;
  // A stream that plays the file `path` (UTF-8) once, from its start; its
  // format is recognised from its content. 0 when it cannot be opened.
  virtual StreamHandle StreamCreateFile(const std::string& path) = 0;
  // Starts the stream, from its beginning when `restart` is true.
  virtual bool ChannelPlay(StreamHandle stream, bool restart) = 0;
  virtual bool ChannelStop(StreamHandle stream) = 0;
  virtual bool StreamFree(StreamHandle stream) = 0;
  // Volume is a gain from 0.0 to 1.0 that takes effect within one period.
  virtual bool ChannelSetAttribute(StreamHandle stream, ChannelAttribute attribute, float value) = 0;
};

struct AudioLibraryOptions {
  // Frames per device period; the smaller, the sooner a press is heard.
  int periodFrames = 256;
  // Called on the audio thread with every mixed period (interleaved stereo
  // float), just before it goes to the device. For measurement only; it must
  // not block.
  std::function<void(const float* samples, int frames)> postMixHook;
};

// The library of this platform's audio back-end.
std::unique_ptr<AudioLibrary> CreateAudioLibrary(const AudioLibraryOptions& options = {});

}  // namespace tavrik
