#include "extras/web_links.h"

namespace tavrik {

const WebHosts& BuildWebHosts() {
  static const WebHosts hosts{TAVRIK_SITE_HOST, TAVRIK_SHOP_HOST, TAVRIK_KEYNOTE_HOST, TAVRIK_CONTACT_HOST,
                              TAVRIK_SUPPORT_ACCOUNT};
  return hosts;
}

std::string WebAddress(const WebHosts& hosts, WebLink link) {
  switch (link) {
    case WebLink::ContactButton:
      return "http://" + hosts.contact + "/msgrd?v=3&uin=" + hosts.supportAccount + "&site=qq&menu=yes";
    case WebLink::SiteButton:
      return "https://" + hosts.site;
    case WebLink::ShopButton:
      return "https://" + hosts.shop;
    case WebLink::ShopTrayItem:
      return "https://" + hosts.shop + "/";
    case WebLink::SiteTrayItem:
      return "https://" + hosts.site + "/";
    case WebLink::KeynoteButton:
      return "http://" + hosts.keynote + "/";
    case WebLink::KeynotePage:
      return "http://" + hosts.keynote + "/m/index.php";
  }
  return {};
}

std::string SearchAddress(const WebHosts& hosts, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string address = "http://" + hosts.keynote + "/plus/search.php?q=";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = byte > 0x20 && byte < 0x7F && c != '#' && c != '&' && c != '%' && c != '+';
    if (plain) {
      address += c;
    } else {
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 0x0F];
    }
  }
  return address;
}

}  // namespace tavrik
