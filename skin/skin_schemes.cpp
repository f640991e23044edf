#include "skin/skin_schemes.h"

namespace tavrik {

const SkinScheme* SchemeByStoredName(std::string_view stored) {
  for (const SkinScheme& scheme : kSkinSchemes) {
    if (scheme.storedName == stored) {
      return &scheme;
    }
  }
  return nullptr;
}

const SkinScheme* SchemeByMenuCaption(std::string_view caption) {
  for (const SkinScheme& scheme : kSkinSchemes) {
    if (scheme.menuCaption == caption) {
      return &scheme;
    }
  }
  return nullptr;
}

}  // namespace tavrik
