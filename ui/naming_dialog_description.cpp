#include "ui/window_description.h"

namespace tavrik {

namespace {

WindowDescription BuildNamingDialog() {
  WindowDescription window;
  window.name = "命名窗口";
  window.title = "设定按钮名称";
  window.width = 266;
  window.height = 136;
  window.showInTaskbar = false;
  using K = ControlKind;
  window.controls.push_back({K::EditBox, "编辑框1", "", 8, 88, 144, 32, ""});
  window.controls.push_back({K::PushButton, "按钮1", "", 184, 88, 64, 32, "确认"});
  window.events.push_back({"按钮1", ControlEvent::Clicked});
  return window;
}

}  // namespace

const WindowDescription& NamingDialogDescription() {
  static const WindowDescription description = BuildNamingDialog();
  return description;
}

}  // namespace tavrik
