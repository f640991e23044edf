#pragma once

#include "audio/audio_library.h"

#include <set>
#include <string>
#include <vector>

namespace tavrik::test {

// An audio library that plays nothing and records every call, with the
// handle rules of the real one: handles count up from 1, never 0, and calls
// on 0 or a released handle are refused.
class RecordingAudioLibrary final : public AudioLibrary {
public:
  std::vector<std::string> calls;
  std::set<std::string> unplayable;  // paths whose streams cannot be created
  std::set<StreamHandle> live;

  bool Init(int device, int frequency) override {
    calls.push_back("Init " + std::to_string(device) + " " + std::to_string(frequency));
    return true;
  }
  bool Free() override {
    calls.push_back("Free");
    live.clear();
    return true;
  }
  bool GetDeviceInfo(int device, AudioDeviceInfo* info) override {
    if (device < 1 || device > static_cast<int>(devices.size())) {
      return false;
    }
    info->name = devices[static_cast<std::size_t>(device - 1)];
    return true;
  }
  StreamHandle StreamCreateFile(const std::string& path) override {
    calls.push_back("Create " + path);
    if (path.empty() || unplayable.count(path) != 0) {
      return 0;
    }
    live.insert(++m_last);
    return m_last;
  }
  bool ChannelPlay(StreamHandle stream, bool restart) override {
    return Record("Play", stream, restart ? " restart" : "");
  }
  bool ChannelStop(StreamHandle stream) override { return Record("Stop", stream, ""); }
  bool StreamFree(StreamHandle stream) override {
    const bool known = Record("Free", stream, "");
    live.erase(stream);
    return known;
  }
  bool ChannelSetAttribute(StreamHandle stream, ChannelAttribute, float value) override {
    return Record("Volume", stream, " " + std::to_string(value));
  }

  std::vector<std::string> devices;

private:
  bool Record(const std::string& call, StreamHandle stream, const std::string& extra) {
    const bool known = live.count(stream) != 0;
    calls.push_back(call + " " + std::to_string(stream) + extra + (known ? "" : " refused"));
    return known;
  }
  StreamHandle m_last = 0;
};

}  // namespace tavrik::test
