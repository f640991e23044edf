// The board's description table: names, places and event bindings, checked
// without building a single widget.
#include "ui/window_description.h"

#include <gtest/gtest.h>
#include <set>

namespace tavrik {
namespace {

TEST(MainWindowDescriptionTest, ControlNamesAreUniqueAndParentsComeFirst) {
  const WindowDescription& window = MainWindowDescription();
  std::set<std::string> seen;
  for (const ControlDescription& control : window.controls) {
    EXPECT_TRUE(control.parent.empty() || seen.count(control.parent) == 1)
        << control.name << " names parent " << control.parent << " before it exists";
    EXPECT_TRUE(seen.insert(control.name).second) << control.name << " appears twice";
  }
}

TEST(MainWindowDescriptionTest, SlotButtonsSitWhereTheFormulaPutsThem) {
  struct Case {
    int slot;
    int page;
    int left;
    int top;
  };
  // Corners of each page and a few in between.
  const Case cases[] = {{1, 1, 16, 24},   {5, 1, 464, 24},  {6, 1, 16, 72},   {20, 1, 464, 168},
                        {21, 2, 16, 24},  {33, 2, 240, 120}, {40, 2, 464, 168}, {41, 3, 16, 24},
                        {60, 3, 464, 168}};
  const WindowDescription& window = MainWindowDescription();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    const ControlDescription* button = window.Find(SlotButtonName(c.slot));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->parent, "选择夹1页" + std::to_string(c.page));
    EXPECT_EQ(button->left, c.left);
    EXPECT_EQ(button->top, c.top);
    EXPECT_EQ(button->width, 96);
    EXPECT_EQ(button->height, 32);
    EXPECT_EQ(button->caption, "音效1");
    EXPECT_EQ(button->fontPixels, 14);
    EXPECT_EQ(button->fontFace, c.slot == 2 ? "新宋体" : "");
  }
  for (int slot = 1; slot <= 60; ++slot) {
    EXPECT_NE(window.Find(SlotButtonName(slot)), nullptr) << slot;
  }
  EXPECT_EQ(window.Find("按钮0"), nullptr);
}

TEST(MainWindowDescriptionTest, WindowAndBottomBarAreAsTheBoardShowsThem) {
  const WindowDescription& window = MainWindowDescription();
  EXPECT_EQ(window.width, 683);
  EXPECT_EQ(window.height, 427);
  EXPECT_TRUE(window.minimiseBox);
  EXPECT_FALSE(window.maximiseBox);
  EXPECT_EQ(window.title.rfind("Quorin主持音效助手 ", 0), 0u);
  const ControlDescription* slider = window.Find("滑块条1");
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->kind, ControlKind::TrackBar);
  EXPECT_EQ((std::array{slider->minimum, slider->maximum, slider->pageStep, slider->lineStep}),
            (std::array{1, 100, 5, 1}));
  const ControlDescription* container = window.Find("选择夹1");
  ASSERT_NE(container, nullptr);
  EXPECT_EQ((std::array{container->left, container->top, container->width, container->height}),
            (std::array{48, 104, 584, 256}));
  const ControlDescription* notice = window.Find("透明标签3");
  ASSERT_NE(notice, nullptr);
  EXPECT_NE(notice->caption.find("浏览器搜索   也可"), std::string::npos);  // exactly three spaces
}

TEST(MainWindowDescriptionTest, EveryBindingNamesAControlAndSlotsHaveBothButtons) {
  const WindowDescription& window = MainWindowDescription();
  std::set<std::pair<std::string, ControlEvent>> bindings;
  for (const EventBinding& binding : window.events) {
    EXPECT_NE(window.Find(binding.source), nullptr) << binding.source;
    EXPECT_TRUE(bindings.insert({binding.source, binding.event}).second) << binding.source << " bound twice";
  }
  for (int slot = 1; slot <= 60; ++slot) {
    EXPECT_EQ(bindings.count({SlotButtonName(slot), ControlEvent::Clicked}), 1u);
    EXPECT_EQ(bindings.count({SlotButtonName(slot), ControlEvent::RightButtonReleased}), 1u);
  }
  EXPECT_EQ(bindings.count({"滑块条1", ControlEvent::PositionChanged}), 1u);
  EXPECT_EQ(bindings.count({"组合框1", ControlEvent::ItemSelected}), 1u);
  EXPECT_EQ(bindings.count({"图片框1", ControlEvent::Clicked}), 0u);  // not handled
}

}  // namespace
}  // namespace tavrik
