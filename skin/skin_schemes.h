#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tavrik {

// A colour scheme: the name stored in the skin file and the caption of its
// menu item. Built-in schemes carry one of the five pictures (1 to 5); the
// custom scheme carries the user's picture file.
struct SkinScheme {
  std::string_view storedName;
  std::string_view menuCaption;
  int picture;  // 0: the custom picture
};

inline constexpr std::array<SkinScheme, 6> kSkinSchemes{{
    {"淡雅风格", "淡雅风格", 1},
    {"蓝色风格", "蓝色风格", 2},
    {"绿色风格", "绿色风格", 3},
    {"紫色风格", "紫色风格", 4},
    {"底图", "默认风格", 5},
    {"自定义", "自定皮肤", 0},
}};

// Menu order of the skin menu, by menu caption.
inline constexpr std::array<std::string_view, 6> kSkinMenuOrder{"默认风格", "淡雅风格", "蓝色风格",
                                                                 "绿色风格", "紫色风格", "自定皮肤"};

// The scheme whose stored name is exactly `stored`; nullptr for any other text.
const SkinScheme* SchemeByStoredName(std::string_view stored);
const SkinScheme* SchemeByMenuCaption(std::string_view caption);

inline constexpr unsigned kBoardAccent = 0xFF8800;  // RGB(0, 136, 255)
inline constexpr int kSkinLayout = 3;

}  // namespace tavrik
