#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tavrik {

// Sections of the hotkey file; in each, the key is the entry number "0" to "60".
inline constexpr std::string_view kHotkeyModifierSection = "状态键";
inline constexpr std::string_view kHotkeyKeyCodeSection = "配置";
inline constexpr std::string_view kHotkeyListIndexSection = "序";

inline constexpr int kHotkeyEntryCount = 61;  // entries 0 to 59 play slots 1 to 60, 60 stops
inline constexpr int kNoHotkeyKey = -1;       // list index and key code when no key was chosen

// Windows modifier flags, the form in which a hotkey is registered.
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;
inline constexpr unsigned kModWin = 8;

// One item of the hotkey dialog's key list: its caption and the Windows
// virtual-key code it registers.
struct HotkeyKey {
  std::string_view caption;
  int keyCode;
};

inline constexpr int kHotkeyKeyCount = 48;

// The key list, in the order the dialog offers it. The digits are the keys of
// the numeric keypad, not those of the main keyboard.
inline constexpr std::array<HotkeyKey, kHotkeyKeyCount> kHotkeyKeys{{
    {"A", 65},  {"B", 66},  {"C", 67},   {"D", 68},   {"E", 69},   {"F", 70},   {"G", 71},  {"H", 72},
    {"I", 73},  {"J", 74},  {"K", 75},   {"L", 76},   {"M", 77},   {"N", 78},   {"O", 79},  {"P", 80},
    {"Q", 81},  {"R", 82},  {"S", 83},   {"T", 84},   {"U", 85},   {"V", 86},   {"W", 87},  {"X", 88},
    {"Y", 89},  {"Z", 90},  {"F1", 112}, {"F2", 113}, {"F3", 114}, {"F4", 115}, {"F5", 116}, {"F6", 117},
    {"F7", 118}, {"F8", 119}, {"F9", 120}, {"F10", 121}, {"F11", 122}, {"F12", 123}, {"1", 97}, {"2", 98},
    {"3", 99},  {"4", 100}, {"5", 101},  {"6", 102},  {"7", 103},  {"8", 104},  {"9", 105}, {"0", 96},
}};

// What the hotkey file holds for one entry, read as numbers.
struct StoredHotkey {
  int modifierCode = 0;  // the board's own code: 0 none, 1 Ctrl, 2 Shift, 4 Alt, ...
  int keyCode = 0;       // Windows virtual-key code; 0 and -1 are no key
  int listIndex = kNoHotkeyKey;
};

// Entry k (0 to 60) as the file holds it now; nothing is cached. A missing
// file or key gives modifier 0 and key code 0; a missing list index gives -1.
StoredHotkey LoadHotkeyEntry(std::string_view runDirectory, int k);

// Writes the list index, the modifier text as given and the key code of
// entry k, in that order, as three separate writes whose results are ignored.
void SaveHotkeyEntry(std::string_view runDirectory, int k, std::string_view modifierText, int listIndex,
                     int keyCode);

// True when some entry 0 to 60 stores exactly these modifier and list index
// texts (byte for byte), the entry being edited included; an index of "-1"
// is never a duplicate. The key code plays no part.
bool IsDuplicateHotkey(std::string_view runDirectory, std::string_view modifierText, std::string_view indexText);

// The Windows modifier flags of a stored modifier code; codes outside 1 to 6
// are passed on unchanged (0 none, 8 the Windows key).
int ModifierFlags(int modifierCode);

// The hotkey file under `runDirectory`.
std::string HotkeyFilePath(std::string_view runDirectory);

}  // namespace tavrik
