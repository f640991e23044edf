#include "hotkeys/platform/x11/virtual_keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

namespace tavrik {
namespace {

struct NamedKey {
  int virtualKey;
  std::uint32_t keysym;
};

// Keys outside the letter, digit, keypad-digit and function-key runs. The
// modifier and lock keys are left out on purpose: a grab on one of them would
// take it away from every other program.
constexpr NamedKey kNamedKeys[] = {
    {0x08, XK_BackSpace},
    {0x09, XK_Tab},
    {0x0C, XK_Clear},
    {0x0D, XK_Return},
    {0x13, XK_Pause},
    {0x1B, XK_Escape},
    {0x20, XK_space},
    {0x21, XK_Prior},
    {0x22, XK_Next},
    {0x23, XK_End},
    {0x24, XK_Home},
    {0x25, XK_Left},
    {0x26, XK_Up},
    {0x27, XK_Right},
    {0x28, XK_Down},
    {0x29, XK_Select},
    {0x2B, XK_Execute},
    {0x2C, XK_Print},
    {0x2D, XK_Insert},
    {0x2E, XK_Delete},
    {0x2F, XK_Help},
    {0x5D, XK_Menu},
    {0x5F, XF86XK_Sleep},
    {0x6A, XK_KP_Multiply},
    {0x6B, XK_KP_Add},
    {0x6C, XK_KP_Separator},
    {0x6D, XK_KP_Subtract},
    {0x6E, XK_KP_Decimal},
    {0x6F, XK_KP_Divide},
    {0x91, XK_Scroll_Lock},
    {0xA6, XF86XK_Back},
    {0xA7, XF86XK_Forward},
    {0xA8, XF86XK_Refresh},
    {0xA9, XF86XK_Stop},
    {0xAA, XF86XK_Search},
    {0xAB, XF86XK_Favorites},
    {0xAC, XF86XK_HomePage},
    {0xAD, XF86XK_AudioMute},
    {0xAE, XF86XK_AudioLowerVolume},
    {0xAF, XF86XK_AudioRaiseVolume},
    {0xB0, XF86XK_AudioNext},
    {0xB1, XF86XK_AudioPrev},
    {0xB2, XF86XK_AudioStop},
    {0xB3, XF86XK_AudioPlay},
    {0xB4, XF86XK_Mail},
    {0xB5, XF86XK_AudioMedia},
    {0xB6, XF86XK_MyComputer},
    {0xB7, XF86XK_Calculator},
    {0xBA, XK_semicolon},
    {0xBB, XK_equal},
    {0xBC, XK_comma},
    {0xBD, XK_minus},
    {0xBE, XK_period},
    {0xBF, XK_slash},
    {0xC0, XK_grave},
    {0xDB, XK_bracketleft},
    {0xDC, XK_backslash},
    {0xDD, XK_bracketright},
    {0xDE, XK_apostrophe},
    {0xE2, XK_less},
};

}  // namespace

std::uint32_t KeysymOfVirtualKey(int virtualKey) {
  const auto offset = [virtualKey](int first) { return static_cast<std::uint32_t>(virtualKey - first); };
  if (virtualKey >= '0' && virtualKey <= '9') {
    return XK_0 + offset('0');
  }
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    return XK_a + offset('A');  // the unshifted letter: the hotkey names the key
  }
  if (virtualKey >= 0x60 && virtualKey <= 0x69) {
    return XK_KP_0 + offset(0x60);
  }
  if (virtualKey >= 0x70 && virtualKey <= 0x87) {
    return XK_F1 + offset(0x70);  // F1 to F24
  }
  for (const NamedKey& key : kNamedKeys) {
    if (key.virtualKey == virtualKey) {
      return key.keysym;
    }
  }
  return 0;
}

}  // namespace tavrik
