#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace tavrik {

// One item of a popup menu: its caption and its icon in the strip of 16.
struct MenuItemDescription {
  std::string_view caption;
  int icon;
};

struct MenuDescription {
  std::string_view caption;
  std::vector<MenuItemDescription> items;
};

// The board's four popup menus, in display order of their items.
const MenuDescription& SkinMenu();     // "换皮肤"
const MenuDescription& SlotMenu();     // "按钮菜单"
const MenuDescription& TrayMenu();     // "托盘菜单"
const MenuDescription& MainMenu();     // "菜单按钮"

inline constexpr int kMenuIconCount = 16;
inline constexpr int kMenuIconWidth = 16;
inline constexpr int kMenuIconHeight = 15;

}  // namespace tavrik
