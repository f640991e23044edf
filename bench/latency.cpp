// Trigger-to-first-sample latency of the playback engine, beside SDL2_mixer's
// music path measured by the same method: a post-mix hook stamps the first
// period that carries the new file's sound. Runs on SDL's dummy driver.
#include "audio/audio_library.h"
#include "audio/playback_engine.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;
constexpr int kPeriodFrames = 256;
constexpr int kRounds = 15;
constexpr int kPlaysPerFilePerRound = 10;

double NowMs() {
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// What the hook saw of the play in flight. Written by the audio thread.
struct Probe {
  std::atomic<bool> armed{false};
  std::atomic<double> returnedAt{0.0};  // when the play call returned; 0 while inside it
  std::atomic<double> soundAt{0.0};
  std::atomic<int> silentAfterReturn{0};
  std::atomic<double> lastCallback{0.0};
  std::atomic<long> callbacks{0};
  std::atomic<double> intervalSum{0.0};

  void OnMix(const float* samples, int frames) {
    const double now = NowMs();
    const double previous = lastCallback.exchange(now);
    if (previous > 0.0 && now - previous < 50.0) {
      intervalSum.store(intervalSum.load() + (now - previous));
      callbacks.fetch_add(1);
    }
    if (!armed.load()) {
      return;
    }
    bool sound = false;
    for (int i = 0; i < frames * 2 && !sound; ++i) {
      sound = samples[i] != 0.0f;
    }
    if (sound) {
      soundAt.store(now);
      armed.store(false);
    } else {
      const double returned = returnedAt.load();
      if (returned > 0.0 && now > returned) {
        silentAfterReturn.fetch_add(1);
      }
    }
  }
};

Probe g_probe;

void MixerHook(void*, Uint8* stream, int bytes) {
  g_probe.OnMix(reinterpret_cast<const float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
}

bool WriteTone(const std::string& path, int format, int seconds) {
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 2;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    return false;
  }
  std::vector<float> block(static_cast<std::size_t>(kRate) * 2);
  for (int s = 0; s < seconds; ++s) {
    for (int i = 0; i < kRate; ++i) {
      const float v = static_cast<float>(0.5 * std::sin(2.0 * M_PI * 440.0 * i / kRate + 0.7));
      block[static_cast<std::size_t>(i) * 2] = v;
      block[static_cast<std::size_t>(i) * 2 + 1] = v;
    }
    sf_writef_float(file, block.data(), kRate);
  }
  sf_close(file);
  return true;
}

struct Sample {
  double latency;
  double call;
  bool missed;
};

struct FileCase {
  std::string label;
  std::string path;
};

// One play: settle in silence, wait a random part of a period so plays land
// at every phase of the device clock, then play and wait for the sound.
Sample Measure(const std::function<void()>& stop, const std::function<void()>& play, std::mt19937& random) {
  stop();
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
  std::uniform_int_distribution<int> phase(0, 5300);  // about one callback interval
  std::this_thread::sleep_for(std::chrono::microseconds(phase(random)));
  g_probe.soundAt.store(0.0);
  g_probe.returnedAt.store(0.0);
  g_probe.silentAfterReturn.store(0);
  g_probe.armed.store(true);
  const double requested = NowMs();
  play();
  const double returned = NowMs();
  g_probe.returnedAt.store(returned);
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  while (g_probe.soundAt.load() == 0.0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  g_probe.armed.store(false);
  const double sound = g_probe.soundAt.load();
  return {sound > 0.0 ? sound - requested : 2000.0, returned - requested, g_probe.silentAfterReturn.load() > 0};
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) {
    return 0.0;
  }
  std::sort(values.begin(), values.end());
  const double rank = std::ceil(p * static_cast<double>(values.size()));
  const std::size_t index = std::min(values.size() - 1, static_cast<std::size_t>(std::max(rank, 1.0)) - 1);
  return values[index];
}

struct Summary {
  double median, p99, max, callMedian;
  int missed, plays;
};

Summary Summarise(const std::vector<Sample>& samples) {
  std::vector<double> latency, call;
  int missed = 0;
  for (const Sample& s : samples) {
    latency.push_back(s.latency);
    call.push_back(s.call);
    missed += s.missed ? 1 : 0;
  }
  return {Percentile(latency, 0.5), Percentile(latency, 0.99),
          latency.empty() ? 0.0 : *std::max_element(latency.begin(), latency.end()), Percentile(call, 0.5), missed,
          static_cast<int>(samples.size())};
}

}  // namespace

int main() {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  char folderTemplate[] = "/tmp/tavrik-latencyXXXXXX";
  const std::string folder = mkdtemp(folderTemplate);
  const std::vector<FileCase> files = {
      {"1 s WAV", folder + "/short.wav"},
      {"1 s MP3", folder + "/short.mp3"},
      {"3 min MP3", folder + "/long.mp3"},
  };
  if (!WriteTone(files[0].path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1) ||
      !WriteTone(files[1].path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1) ||
      !WriteTone(files[2].path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 180)) {
    std::fprintf(stderr, "cannot write the test files in %s\n", folder.c_str());
    return 1;
  }

  tavrik::AudioLibraryOptions options;
  options.periodFrames = kPeriodFrames;
  options.postMixHook = [](const float* samples, int frames) { g_probe.OnMix(samples, frames); };
  auto library = tavrik::CreateAudioLibrary(options);
  tavrik::PlaybackEngine engine(*library);
  engine.SetVolume(1.0f);

  std::map<std::string, std::vector<Sample>> ours, peer;
  std::mt19937 random(12345);
  double oursIntervals = 0.0;
  long oursCallbacks = 0;
  for (int round = 0; round < kRounds; ++round) {
    g_probe.callbacks.store(0);
    g_probe.intervalSum.store(0.0);
    g_probe.lastCallback.store(0.0);
    if (!library->Init(tavrik::kDefaultDevice, kRate)) {
      std::fprintf(stderr, "cannot open the dummy device\n");
      return 1;
    }
    for (int i = 0; i < kPlaysPerFilePerRound * 3; ++i) {
      const FileCase& file = files[static_cast<std::size_t>(i) % 3];
      ours[file.label].push_back(Measure([&] { engine.StopPlayback(); }, [&] { engine.PlayFile(file.path); }, random));
    }
    engine.StopPlayback();
    library->Free();
    oursIntervals += g_probe.intervalSum.load();
    oursCallbacks += g_probe.callbacks.load();

    if (Mix_OpenAudio(kRate, AUDIO_F32SYS, 2, kPeriodFrames) != 0) {
      std::fprintf(stderr, "SDL2_mixer cannot open the device: %s\n", Mix_GetError());
      return 1;
    }
    Mix_SetPostMix(&MixerHook, nullptr);
    Mix_Music* music = nullptr;
    for (int i = 0; i < kPlaysPerFilePerRound * 3; ++i) {
      const FileCase& file = files[static_cast<std::size_t>(i) % 3];
      peer[file.label].push_back(Measure(
          [&] {
            Mix_HaltMusic();
            if (music != nullptr) {
              Mix_FreeMusic(music);
              music = nullptr;
            }
          },
          [&] {
            music = Mix_LoadMUS(file.path.c_str());
            Mix_PlayMusic(music, 1);
          },
          random));
    }
    Mix_HaltMusic();
    if (music != nullptr) {
      Mix_FreeMusic(music);
    }
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
  }

  const double period = oursCallbacks > 0 ? oursIntervals / static_cast<double>(oursCallbacks) : 0.0;
  std::printf("Trigger to first sample, SDL dummy driver, %d-frame period (%.2f ms nominal, %.2f ms measured)\n",
              kPeriodFrames, 1000.0 * kPeriodFrames / kRate, period);
  std::printf("%-10s %-10s %6s %10s %10s %10s %8s %10s\n", "engine", "file", "plays", "median_ms", "p99_ms",
              "max_ms", "missed", "call_ms");
  std::vector<Sample> allOurs, allPeer;
  double worstCall = 0.0;
  for (const FileCase& file : files) {
    const Summary o = Summarise(ours[file.label]);
    const Summary p = Summarise(peer[file.label]);
    worstCall = std::max(worstCall, o.callMedian);
    std::printf("%-10s %-10s %6d %10.2f %10.2f %10.2f %8d %10.3f\n", "tavrik", file.label.c_str(), o.plays,
                o.median, o.p99, o.max, o.missed, o.callMedian);
    std::printf("%-10s %-10s %6d %10.2f %10.2f %10.2f %8d %10.3f\n", "sdl_mixer", file.label.c_str(), p.plays,
                p.median, p.p99, p.max, p.missed, p.callMedian);
    allOurs.insert(allOurs.end(), ours[file.label].begin(), ours[file.label].end());
    allPeer.insert(allPeer.end(), peer[file.label].begin(), peer[file.label].end());
  }
  const Summary o = Summarise(allOurs);
  const Summary p = Summarise(allPeer);
  std::printf("latency median_ms=%.2f p99_ms=%.2f missed_pct=%.2f call_ms=%.3f peer_median_ms=%.2f "
              "peer_p99_ms=%.2f period_ms=%.2f\n",
              o.median, o.p99, 100.0 * o.missed / std::max(1, o.plays), worstCall, p.median, p.p99, period);
  std::remove(files[0].path.c_str());
  std::remove(files[1].path.c_str());
  std::remove(files[2].path.c_str());
  std::remove(folder.c_str());
  return 0;
}
