#pragma once

#include <cstdint>

namespace tavrik {

// The X keysym of the key that a Windows virtual-key code names, or 0 when
// the code names no key that a hotkey can use.
std::uint32_t KeysymOfVirtualKey(int virtualKey);

}  // namespace tavrik
