// The six colour schemes: what the skin file stores and what restores.
#include "skin/skin_schemes.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(SkinSchemesTest, StoredNamesRestoreTheirScheme) {
  struct Case {
    const char* stored;
    int picture;  // -1: nothing restores
  };
  const Case cases[] = {
      {"淡雅风格", 1}, {"蓝色风格", 2}, {"绿色风格", 3}, {"紫色风格", 4}, {"底图", 5}, {"自定义", 0},
      {"默认风格", -1},  // the menu caption is not the stored name
      {"", -1},          {"蓝色风格 ", -1}, {"自定皮肤", -1},
  };
  for (const Case& c : cases) {
    const SkinScheme* scheme = SchemeByStoredName(c.stored);
    EXPECT_EQ(scheme == nullptr ? -1 : scheme->picture, c.picture) << c.stored;
  }
}

TEST(SkinSchemesTest, EveryMenuItemNamesOneScheme) {
  for (const std::string_view caption : kSkinMenuOrder) {
    ASSERT_NE(SchemeByMenuCaption(caption), nullptr) << caption;
  }
  EXPECT_EQ(SchemeByMenuCaption("默认风格")->storedName, "底图");
  EXPECT_EQ(SchemeByMenuCaption("自定皮肤")->storedName, "自定义");
}

}  // namespace
}  // namespace tavrik
