// From an XTest key press to the first sample of the slot's file in the
// device buffer: the press travels through the X server, the hotkey
// service's event filter, the dispatch table and the engine, as in the board.
// Needs an X display; the device is SDL's dummy driver with a 256-frame period.
#include "audio/audio_library.h"
#include "audio/dispatch_table.h"
#include "audio/playback_engine.h"
#include "audio/slot_table.h"
#include "hotkeys/hotkey_service.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"

#include <QGuiApplication>
#include <sndfile.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <vector>

// Last: Xlib's macros would break the Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPresses = 240;
constexpr int kRate = 44100;

double NowMs() {
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

std::atomic<bool> g_armed{false};
std::atomic<double> g_soundAt{0.0};
std::atomic<double> g_lastCallback{0.0};
std::atomic<double> g_intervalSum{0.0};
std::atomic<long> g_callbacks{0};

void OnMix(const float* samples, int frames) {
  const double now = NowMs();
  const double previous = g_lastCallback.exchange(now);
  if (previous > 0.0 && now - previous < 50.0) {
    g_intervalSum.store(g_intervalSum.load() + now - previous);
    g_callbacks.fetch_add(1);
  }
  if (!g_armed.load()) {
    return;
  }
  for (int i = 0; i < frames * 2; ++i) {
    if (samples[i] != 0.0f) {
      g_soundAt.store(now);
      g_armed.store(false);
      return;
    }
  }
}

void Tap(Display* display, KeyCode modifier, KeyCode key) {
  XTestFakeKeyEvent(display, modifier, True, CurrentTime);
  XTestFakeKeyEvent(display, key, True, CurrentTime);
  XFlush(display);
  XTestFakeKeyEvent(display, key, False, CurrentTime);
  XTestFakeKeyEvent(display, modifier, False, CurrentTime);
  XFlush(display);
}

}  // namespace

int main(int argc, char* argv[]) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  QGuiApplication application(argc, argv);

  char folderTemplate[] = "/tmp/tavrik-hotkeyXXXXXX";
  const std::string run = mkdtemp(folderTemplate);
  mkdir((run + "/data").c_str(), 0755);
  const std::string sound = run + "/tone.wav";
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(sound.c_str(), SFM_WRITE, &info);
  std::vector<float> tone(kRate * 2);
  for (int i = 0; i < kRate; ++i) {
    tone[static_cast<std::size_t>(i) * 2] = tone[static_cast<std::size_t>(i) * 2 + 1] =
        static_cast<float>(0.5 * std::sin(2.0 * M_PI * 440.0 * i / kRate + 0.7));
  }
  sf_writef_float(file, tone.data(), kRate);
  sf_close(file);
  tavrik::WriteSetting(run + std::string(tavrik::kPathsFile), "配置", "1", sound);
  const std::string hotkeys = run + std::string(tavrik::kHotkeyFile);
  tavrik::WriteSetting(hotkeys, "状态键", "0", "1");  // Ctrl+F9 plays slot 1
  tavrik::WriteSetting(hotkeys, "配置", "0", "120");
  tavrik::WriteSetting(hotkeys, "状态键", "60", "1");  // Ctrl+F10 stops
  tavrik::WriteSetting(hotkeys, "配置", "60", "121");

  tavrik::AudioLibraryOptions options;
  options.periodFrames = 256;
  options.postMixHook = OnMix;
  auto library = tavrik::CreateAudioLibrary(options);
  if (!library->Init(tavrik::kDefaultDevice, kRate)) {
    std::fprintf(stderr, "cannot open the dummy device\n");
    return 1;
  }
  tavrik::PlaybackEngine engine(*library);
  engine.SetVolume(1.0f);
  tavrik::SlotTable slotTable(run, engine);
  tavrik::DispatchTable table(slotTable, engine);
  tavrik::HotkeyService service(tavrik::CreateHotkeyBackend());
  tavrik::RegisterAllHotkeys(service, table, run);
  if (table.Identifier(0) == 0 || table.Identifier(60) == 0) {
    std::fprintf(stderr, "the hotkeys could not be registered (no X11 display?)\n");
    return 1;
  }

  std::vector<double> latencies;
  std::thread presser([&] {
    Display* display = XOpenDisplay(nullptr);
    const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
    const KeyCode play = XKeysymToKeycode(display, XK_F9);
    const KeyCode stop = XKeysymToKeycode(display, XK_F10);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> phase(0, 5300);
    for (int i = 0; i < kPresses; ++i) {
      Tap(display, control, stop);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      std::this_thread::sleep_for(std::chrono::microseconds(phase(random)));
      g_soundAt.store(0.0);
      g_armed.store(true);
      const double pressed = NowMs();
      Tap(display, control, play);
      const auto deadline = Clock::now() + std::chrono::seconds(2);
      while (g_soundAt.load() == 0.0 && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
      g_armed.store(false);
      latencies.push_back(g_soundAt.load() > 0.0 ? g_soundAt.load() - pressed : 2000.0);
    }
    XCloseDisplay(display);
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
  });
  QGuiApplication::exec();
  presser.join();

  std::sort(latencies.begin(), latencies.end());
  const double median = latencies[latencies.size() / 2];
  const double p99 = latencies[std::min(latencies.size() - 1, latencies.size() * 99 / 100)];
  const double period = g_callbacks.load() > 0 ? g_intervalSum.load() / static_cast<double>(g_callbacks.load()) : 0.0;
  std::printf("XTest press to first sample, %zu presses, SDL dummy driver, 256-frame period\n", latencies.size());
  std::printf("median %.2f ms, p99 %.2f ms, max %.2f ms, callback interval %.2f ms\n", median, p99, latencies.back(),
              period);
  std::printf("hotkey median_ms=%.2f p99_ms=%.2f period_ms=%.2f\n", median, p99, period);
  library->Free();
  return 0;
}
