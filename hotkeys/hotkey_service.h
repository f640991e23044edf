#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string_view>

namespace tavrik {

class DispatchTable;

// The first identifier of a run; each registration attempt takes the next one.
inline constexpr int kFirstHotkeyIdentifier = 33001;

// One platform's system-wide hotkeys. Every call is made on the user-interface
// thread; destroying a back-end releases everything it still holds.
class HotkeyBackend {
public:
  virtual ~HotkeyBackend();

  // Holds the combination of Windows modifier `flags` (MOD_ALT 1, MOD_CONTROL 2,
  // MOD_SHIFT 4, MOD_WIN 8) and Windows virtual-key code `virtualKey` under
  // `identifier`. False, with nothing held, when another program or an earlier
  // registration holds the combination or the platform has no hotkeys. A code
  // that no key produces is accepted and never fires.
  virtual bool Register(int identifier, unsigned flags, int virtualKey) = 0;
  // Releases the registration of `identifier`; an unknown one is ignored.
  virtual void Unregister(int identifier) = 0;
  // `handler` hears the identifier of every press, on the user-interface
  // thread, before the platform's notification returns.
  virtual void SetPressHandler(std::function<void(int identifier)> handler) = 0;
};

// This platform's back-end; the one back-end source that CMake builds defines it.
std::unique_ptr<HotkeyBackend> CreateHotkeyBackend();

// Registration of hotkeys by the board's modifier codes, with one counter of
// identifiers per run and one receiver of presses.
class HotkeyService {
public:
  explicit HotkeyService(std::unique_ptr<HotkeyBackend> backend);
  ~HotkeyService();
  HotkeyService(const HotkeyService&) = delete;
  HotkeyService& operator=(const HotkeyService&) = delete;

  // Registers the stored modifier code and key code under the next
  // identifier; the identifier, or 0 when the platform refuses. The counter
  // advances on every attempt, refused or not.
  int AddHotkey(int modifierCode, int keyCode);
  // Releases a registration; 0, a refused or an unknown identifier does nothing.
  void RemoveHotkey(int identifier);
  // The one receiver of presses; the latest call wins. It is called at once,
  // on the user-interface thread, with identifiers that are still registered.
  void SetReceiver(std::function<void(int identifier)> receiver);

private:
  void Deliver(int identifier);

  std::unique_ptr<HotkeyBackend> m_backend;
  std::function<void(int)> m_receiver;
  std::set<int> m_registered;
  int m_nextIdentifier = kFirstHotkeyIdentifier;
};

// Registers entries 0 to 60 in order, each read from the hotkey file just
// before, and stores each result in `table`; presses go to `table`.
void RegisterAllHotkeys(HotkeyService& service, DispatchTable& table, std::string_view runDirectory);

// Releases entry k's registration, then registers the modifier text (read as
// a number) with `keyCode` (-1 when no key was chosen) and stores the result.
void RebindHotkey(HotkeyService& service, DispatchTable& table, int k, std::string_view modifierText, int keyCode);

}  // namespace tavrik
