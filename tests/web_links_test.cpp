// The maker's addresses and the search address.
#include "extras/web_links.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

const WebHosts kHosts{"www.site.example", "shop.example", "sounds.example", "im.example", "4242"};

TEST(WebLinksTest, EachLinkHasItsAddress) {
  struct Case {
    WebLink link;
    const char* address;
  };
  const Case cases[] = {
      {WebLink::ContactButton, "http://im.example/msgrd?v=3&uin=4242&site=qq&menu=yes"},
      {WebLink::SiteButton, "https://www.site.example"},  // no trailing slash
      {WebLink::ShopButton, "https://shop.example"},
      {WebLink::ShopTrayItem, "https://shop.example/"},    // with one
      {WebLink::SiteTrayItem, "https://www.site.example/"},
      {WebLink::KeynoteButton, "http://sounds.example/"},
      {WebLink::KeynotePage, "http://sounds.example/m/index.php"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WebAddress(kHosts, c.link), c.address);
  }
}

TEST(WebLinksTest, SearchTextIsEncodedSoItStaysTheQuery) {
  struct Case {
    const char* text;
    const char* query;
  };
  const Case cases[] = {
      {"abc", "abc"},
      {"a&b", "a%26b"},
      {"a#b c", "a%23b%20c"},
      {"50%+1", "50%25%2B1"},
      {"掌声", "%E6%8E%8C%E5%A3%B0"},
      {"输入首字母查询", "%E8%BE%93%E5%85%A5%E9%A6%96%E5%AD%97%E6%AF%8D%E6%9F%A5%E8%AF%A2"},
      {"", ""},
      {"x\ty", "x%09y"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SearchAddress(kHosts, c.text), std::string("http://sounds.example/plus/search.php?q=") + c.query)
        << c.text;
  }
}

}  // namespace
}  // namespace tavrik
