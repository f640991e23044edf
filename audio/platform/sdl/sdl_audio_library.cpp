// The audio library over SDL2 (output and device list) and libsndfile
// (decoding). One device is open at a time, 44.1 kHz stereo float.
#include "audio/audio_library.h"
#include "audio/platform/sdl/stream_mixer.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tavrik {

namespace {

// Device 0 has no output: a clock of our own pulls the mix at the device's
// pace, so streams run and end as they would on a real device.
class SilentOutput {
public:
  SilentOutput(StreamMixer& mixer, int periodFrames, int frequency)
      : m_thread([this, &mixer, periodFrames, frequency] { Run(mixer, periodFrames, frequency); }) {}
  ~SilentOutput() {
    m_quit.store(true);
    m_thread.join();
  }

private:
  void Run(StreamMixer& mixer, int periodFrames, int frequency) {
    std::vector<float> buffer(static_cast<std::size_t>(periodFrames) * 2);
    const auto period = std::chrono::microseconds(static_cast<long long>(periodFrames) * 1000000 / frequency);
    auto next = std::chrono::steady_clock::now();
    while (!m_quit.load()) {
      mixer.Mix(buffer.data(), periodFrames);
      next += period;
      std::this_thread::sleep_until(next);
    }
  }

  std::atomic<bool> m_quit{false};
  std::thread m_thread;
};

class SdlAudioLibrary final : public AudioLibrary {
public:
  explicit SdlAudioLibrary(const AudioLibraryOptions& options) : m_options(options), m_sdlReady(StartSdl()) {}

  ~SdlAudioLibrary() override {
    Free();
    if (m_sdlReady) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }

  bool Init(int device, int frequency) override {
    if (m_mixer != nullptr || frequency <= 0) {
      return false;
    }
    if (device == kNoSoundDevice) {
      m_mixer = std::make_unique<StreamMixer>(m_options.periodFrames, frequency, m_options.postMixHook);
      m_silent = std::make_unique<SilentOutput>(*m_mixer, m_options.periodFrames, frequency);
      return true;
    }
    if (!m_sdlReady || device < kDefaultDevice) {
      return false;
    }
    const char* name = nullptr;
    if (device > 0) {
      if (device > SDL_GetNumAudioDevices(0)) {
        return false;
      }
      name = SDL_GetAudioDeviceName(device - 1, 0);
      if (name == nullptr) {
        return false;
      }
    }
    auto mixer = std::make_unique<StreamMixer>(m_options.periodFrames, frequency, m_options.postMixHook);
    SDL_AudioSpec wanted{};
    wanted.freq = frequency;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = static_cast<Uint16>(m_options.periodFrames);
    wanted.callback = &SdlAudioLibrary::Callback;
    wanted.userdata = mixer.get();
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware wants, and the
    // mix always sees 44.1 kHz stereo float.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(name, 0, &wanted, &obtained, 0);
    if (id == 0) {
      return false;
    }
    m_mixer = std::move(mixer);
    m_device = id;
    SDL_PauseAudioDevice(m_device, 0);
    return true;
  }

  bool Free() override {
    if (m_mixer == nullptr) {
      return false;
    }
    if (m_device != 0) {
      SDL_CloseAudioDevice(m_device);  // returns once the callback has finished
      m_device = 0;
    }
    m_silent.reset();
    m_mixer->ReleaseAll();
    m_mixer.reset();
    return true;
  }

  bool GetDeviceInfo(int device, AudioDeviceInfo* info) override {
    if (!m_sdlReady || device < 1 || info == nullptr || device > SDL_GetNumAudioDevices(0)) {
      return false;
    }
    const char* name = SDL_GetAudioDeviceName(device - 1, 0);
    if (name == nullptr) {
      return false;
    }
    info->name = name;
    return true;
  }

  StreamHandle StreamCreateFile(const std::string& path) override {
    return m_mixer != nullptr ? m_mixer->Create(path) : 0;
  }

  bool ChannelPlay(StreamHandle stream, bool restart) override {
    return m_mixer != nullptr && m_mixer->Play(stream, restart);
  }

  bool ChannelStop(StreamHandle stream) override {
    return m_mixer != nullptr && m_mixer->Stop(stream);
  }

  bool StreamFree(StreamHandle stream) override {
    return m_mixer != nullptr && m_mixer->Release(stream);
  }

  bool ChannelSetAttribute(StreamHandle stream, ChannelAttribute attribute, float value) override {
    return m_mixer != nullptr && attribute == ChannelAttribute::Volume && m_mixer->SetVolume(stream, value);
  }

private:
  static bool StartSdl() {
    // SDL would otherwise take over SIGINT and SIGTERM for an event queue
    // that nobody reads, and the board could no longer be ended by a signal.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  }

  static void SDLCALL Callback(void* userdata, Uint8* stream, int bytes) {
    auto* mixer = static_cast<StreamMixer*>(userdata);
    mixer->Mix(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
  }

  AudioLibraryOptions m_options;
  bool m_sdlReady;
  std::unique_ptr<StreamMixer> m_mixer;
  std::unique_ptr<SilentOutput> m_silent;
  SDL_AudioDeviceID m_device = 0;
};

}  // namespace

std::unique_ptr<AudioLibrary> CreateAudioLibrary(const AudioLibraryOptions& options) {
  return std::make_unique<SdlAudioLibrary>(options);
}

}  // namespace tavrik
