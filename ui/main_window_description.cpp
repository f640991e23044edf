#include "ui/window_description.h"

namespace tavrik {

namespace {

constexpr unsigned kAccent = 0xFF8800;  // RGB(0, 136, 255)
constexpr int kSlotsPerPage = 20;

WindowDescription BuildMainWindow() {
  WindowDescription window;
  window.name = "主窗口";
  window.title = "Quorin主持音效助手 " TAVRIK_SITE_ADDRESS;
  window.width = 683;
  window.height = 427;
  window.minimiseBox = true;

  using K = ControlKind;
  auto add = [&window](ControlDescription control) { window.controls.push_back(std::move(control)); };
  add({K::PictureBox, "图片框1", "", 32, 24, 296, 56});
  add({K::DrawingPanel, "画板1", "", 344, 24, 280, 48});
  add({K::PushButton, "QQ", "", 336, 72, 88, 24, "在线联系"});
  add({K::PushButton, "旺旺", "", 440, 72, 88, 24, "Quorin官网"});
  add({K::PushButton, "淘宝", "", 544, 72, 88, 24, "音频商城"});
  add({K::PageContainer, "选择夹1", "", 48, 104, 584, 256});
  for (int page = 1; page <= 4; ++page) {
    add({K::Page, "选择夹1页" + std::to_string(page), "选择夹1", 0, 0, 584, 256, std::to_string(page)});
  }
  for (int slot = 1; slot <= 60; ++slot) {
    const SlotPlace place = SlotButtonPlace(slot);
    ControlDescription button{K::PushButton, SlotButtonName(slot), "选择夹1页" + std::to_string(place.page),
                              place.left, place.top, 96, 32, "音效1", 14};
    if (slot == 2) {
      button.fontFace = "新宋体";
    }
    add(button);
  }
  add({K::EditBox, "编辑框1", "选择夹1页4", 48, 5, 312, 27, "输入首字母查询", 0, "", 0x0000FF});
  add({K::PushButton, "按钮74", "选择夹1页4", 376, 5, 80, 24, "搜索基调"});
  add({K::PushButton, "按钮61", "选择夹1页4", 480, 5, 80, 24, "Quorin基调网"});
  add({K::TransparentLabel, "透明标签3", "选择夹1页4", 40, 34, 520, 16,
       "上方搜索栏直接通过浏览器搜索   也可直接在下方搜索有问题请联系我们客服：QQ：" TAVRIK_SUPPORT_ACCOUNT, 0, "",
       0x000000});
  add({K::WebBrowser, "超文本浏览框1", "选择夹1页4", 8, 48, 576, 184});
  ControlDescription slider{K::TrackBar, "滑块条1", "", 49, 368, 160, 24};
  slider.minimum = 1;
  slider.maximum = 100;
  slider.pageStep = 5;
  slider.lineStep = 1;
  add(slider);
  add({K::TransparentLabel, "透明标签2", "", 211, 368, 48, 24, "音效音量", 0, "", kAccent});
  add({K::PushButton, "停止播放", "", 272, 368, 96, 24, "停止播放"});
  add({K::TransparentLabel, "透明标签1", "", 376, 368, 48, 24, "播放设备", 0, "", kAccent});
  add({K::ComboBox, "组合框1", "", 440, 369, 200, 20});

  for (int slot = 1; slot <= 60; ++slot) {
    window.events.push_back({SlotButtonName(slot), ControlEvent::Clicked});
    window.events.push_back({SlotButtonName(slot), ControlEvent::RightButtonReleased});
  }
  for (const char* source : {"停止播放", "QQ", "旺旺", "淘宝", "按钮74", "按钮61"}) {
    window.events.push_back({source, ControlEvent::Clicked});
  }
  window.events.push_back({"滑块条1", ControlEvent::PositionChanged});
  window.events.push_back({"组合框1", ControlEvent::ItemSelected});
  window.events.push_back({"编辑框1", ControlEvent::FocusGained});
  return window;
}

}  // namespace

const ControlDescription* WindowDescription::Find(std::string_view controlName) const {
  for (const auto& control : controls) {
    if (control.name == controlName) {
      return &control;
    }
  }
  return nullptr;
}

std::string SlotButtonName(int slot) {
  return "按钮" + std::to_string(slot);
}

SlotPlace SlotButtonPlace(int slot) {
  const int j = (slot - 1) % kSlotsPerPage;
  return {(slot - 1) / kSlotsPerPage + 1, 16 + 112 * (j % 5), 24 + 48 * (j / 5)};
}

const WindowDescription& MainWindowDescription() {
  static const WindowDescription description = BuildMainWindow();
  return description;
}

}  // namespace tavrik
