#include "ui/menus.h"

namespace tavrik {

const MenuDescription& SkinMenu() {
  static const MenuDescription menu{"换皮肤",
                                    {{"默认风格", 7},
                                     {"淡雅风格", 8},
                                     {"蓝色风格", 5},
                                     {"绿色风格", 6},
                                     {"紫色风格", 4},
                                     {"自定皮肤", 11}}};
  return menu;
}

const MenuDescription& SlotMenu() {
  static const MenuDescription menu{"按钮菜单", {{"自定义音效", 1}, {"设置快捷键", 3}}};
  return menu;
}

const MenuDescription& TrayMenu() {
  static const MenuDescription menu{"托盘菜单",
                                    {{"Quorin音频商城", 0},
                                     {"Quorin音频官网", 12},
                                     {"显示程序窗口", 9},
                                     {"隐藏程序窗口", 10},
                                     {"完全退出程序", 13}}};
  return menu;
}

const MenuDescription& MainMenu() {
  static const MenuDescription menu{"菜单按钮",
                                    {{"设置开机启动", 15},
                                     {"升级程序版本", 2},
                                     {"清理系统垃圾", 14},
                                     {"最小化到托盘", 10},
                                     {"退出软件程序", 13}}};
  return menu;
}

}  // namespace tavrik
