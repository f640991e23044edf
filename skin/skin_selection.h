#pragma once

#include "skin/skin_schemes.h"

#include <QByteArray>
#include <functional>
#include <string>

namespace tavrik {

// Applies the skins of the skin menu and keeps the choice in the skin file.
// `redraw` repaints the banner and the page strip after a change.
class SkinSelection {
public:
  SkinSelection(std::string runDirectory, std::function<void()> redraw);

  // One of the five built-in schemes: set, redrawn, stored.
  void ApplyBuiltInSkin(const SkinScheme& scheme);
  // The picture at `path`: set with the default accent, redrawn, copied to
  // the custom picture file, stored as the custom scheme.
  void ChooseCustomSkin(const std::string& path);
  // At start: the stored scheme, if any, set without redrawing or storing.
  void RestoreSkin();

private:
  std::string m_runDirectory;
  std::function<void()> m_redraw;
};

// The bytes of built-in picture n (1 to 5).
QByteArray BuiltInSkinPicture(int n);

}  // namespace tavrik
