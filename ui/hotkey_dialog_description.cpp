#include "ui/window_description.h"

namespace tavrik {

namespace {

constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kAccent = 0xFF8800;  // RGB(0, 136, 255)

WindowDescription BuildHotkeyDialog() {
  WindowDescription window;
  window.name = "热键窗口";
  window.title = "选择快捷键组合（无=不需组合）";
  window.width = 266;
  window.height = 136;
  window.backgroundColour = kAccent;
  window.showInTaskbar = false;

  using K = ControlKind;
  auto add = [&window](ControlDescription control) { window.controls.push_back(std::move(control)); };
  add({K::RadioButton, "单选框1", "", 8, 32, 50, 24, "SHIFT", 0, "", kWhite});
  add({K::RadioButton, "单选框2", "", 8, 56, 50, 24, "CTRL", 0, "", kWhite});
  add({K::RadioButton, "单选框3", "", 8, 80, 50, 24, "AIL", 0, "", kWhite});
  add({K::RadioButton, "单选框4", "", 8, 104, 50, 24, "无", 0, "", kWhite});
  add({K::Label, "标签2", "", 83, 35, 16, 16, "+", 20, "", kWhite});
  ControlDescription keys{K::ComboBox, "组合框1", "", 112, 32, 136, 20};
  keys.listOnly = true;
  keys.tag = "0";
  add(keys);
  add({K::PushButton, "按钮2", "", 112, 104, 56, 22, "取消"});
  add({K::PushButton, "按钮1", "", 192, 104, 56, 22, "确认"});
  // Above the window's top edge: it cannot be seen or clicked.
  ControlDescription receiver{K::Label, "标签1", "", 256, -48, 40, 24};
  receiver.visible = false;
  add(receiver);

  for (const char* source : {"单选框1", "单选框2", "单选框3", "单选框4", "按钮1", "按钮2"}) {
    window.events.push_back({source, ControlEvent::Clicked});
  }
  return window;
}

}  // namespace

const WindowDescription& HotkeyDialogDescription() {
  static const WindowDescription description = BuildHotkeyDialog();
  return description;
}

}  // namespace tavrik
