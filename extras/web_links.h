#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tavrik {

// The maker's four hosts and the support account, fixed by the build.
struct WebHosts {
  std::string site;
  std::string shop;
  std::string keynote;
  std::string contact;
  std::string supportAccount;
};

const WebHosts& BuildWebHosts();

// Everything that opens a web page.
enum class WebLink {
  ContactButton,   // "在线联系"
  SiteButton,      // "Quorin官网"
  ShopButton,      // "音频商城"
  ShopTrayItem,    // "Quorin音频商城"
  SiteTrayItem,    // "Quorin音频官网"
  KeynoteButton,   // "Quorin基调网"
  KeynotePage,     // the embedded page of the search page
};

std::string WebAddress(const WebHosts& hosts, WebLink link);

// The search address for `text`: characters that would change the address's
// meaning ('#', '&', '%', '+', blanks, controls and everything outside ASCII)
// are percent-encoded as UTF-8, so the site receives the text as typed.
std::string SearchAddress(const WebHosts& hosts, std::string_view text);

// The search box's hint, which comes back after every search.
inline constexpr std::string_view kSearchHint = "输入首字母查询";

}  // namespace tavrik
