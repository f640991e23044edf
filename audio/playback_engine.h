#pragma once

#include "audio/audio_library.h"

#include <string>

namespace tavrik {

// The one place where sound is made: one current stream, one volume. Every
// call runs on the user-interface thread and reports nothing.
class PlaybackEngine {
public:
  explicit PlaybackEngine(AudioLibrary& library);

  // Stops and releases the current stream, then plays `path` from its start
  // at the current volume. An unplayable path leaves silence.
  void PlayFile(const std::string& path);
  // Stops and releases the current stream; the handle is kept, stale.
  void StopPlayback();
  // Volume from the slider's position (1 to 100), applied at once.
  void SetVolumeFromSlider(int position);
  // Stops the current stream without releasing it (the window's close).
  void StopCurrentStream();

  void SetVolume(float volume) { m_volume = volume; }

  StreamHandle currentStream() const { return m_currentStream; }
  float volume() const { return m_volume; }
  AudioLibrary& library() { return m_library; }

private:
  AudioLibrary& m_library;
  StreamHandle m_currentStream = 0;
  float m_volume = 0.0f;
};

}  // namespace tavrik
