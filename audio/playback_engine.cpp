#include "audio/playback_engine.h"

namespace tavrik {

PlaybackEngine::PlaybackEngine(AudioLibrary& library) : m_library(library) {}

void PlaybackEngine::PlayFile(const std::string& path) {
  // Results are deliberately not inspected: a refused call on a stale or
  // zero handle changes nothing, and a file that cannot be opened leaves 0.
  m_library.ChannelStop(m_currentStream);
  m_library.StreamFree(m_currentStream);
  m_currentStream = m_library.StreamCreateFile(path);
  m_library.ChannelPlay(m_currentStream, true);
  m_library.ChannelSetAttribute(m_currentStream, ChannelAttribute::Volume, m_volume);
}

void PlaybackEngine::StopPlayback() {
  m_library.ChannelStop(m_currentStream);
  m_library.StreamFree(m_currentStream);
}

void PlaybackEngine::SetVolumeFromSlider(int position) {
  m_volume = static_cast<float>(position / 100.0);
  m_library.ChannelSetAttribute(m_currentStream, ChannelAttribute::Volume, m_volume);
}

void PlaybackEngine::StopCurrentStream() {
  m_library.ChannelStop(m_currentStream);
}

}  // namespace tavrik
