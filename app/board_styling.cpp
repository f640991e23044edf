// The board's look: what the skinning component is handed at start, in order.
#include "app/board.h"

#include <QAbstractButton>
#include <QFile>
#include <QStackedWidget>
#include <QStyle>

namespace tavrik {

namespace {

QByteArray Artwork(const char* name) {
  QFile file(QStringLiteral(":/artwork/") + QLatin1String(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

constexpr Colorref kRed = 0x0000FF;   // RGB(255, 0, 0)
constexpr Colorref kBlue = 0xFF0000;  // RGB(0, 0, 255)

}  // namespace

void Board::StyleMainWindow() {
  SkinManager& skin = SkinManager::Instance();
  skin.SetControlVeil(0);
  skin.SkinWindow(this, {.captionHeight = 30, .helpButton = false, .menuButton = true, .bottomBand = 25});

  m_pageStrip.Create(m_built.Control("图片框1"), 65, 50);
  m_pageStrip.AddItem(Artwork("tab1.png"), QStringLiteral("常用音效"));
  m_pageStrip.AddItem(Artwork("tab2.png"), QStringLiteral("主持音效"));
  m_pageStrip.AddItem(Artwork("tab3.png"), QStringLiteral("自定音效"));
  m_pageStrip.AddItem(Artwork("tab4.png"), QStringLiteral("基调查询"));
  m_pageStrip.SetFont(QStringLiteral("宋体"), 13, 0xFFFFFF, kBoardAccent);
  m_pageStrip.SetClickHandler([this](int item) { ShowPage(item); });

  const QColor buttonFace = style()->standardPalette().color(QPalette::Button);
  const auto faceColorref = static_cast<Colorref>(buttonFace.red() | (buttonFace.green() << 8) | (buttonFace.blue() << 16));
  skin.SkinContainer(m_built.Control("选择夹1"), faceColorref, 20);
  skin.AddCaptionButton(this, Artwork("skin_button.png"), QStringLiteral("换皮肤"), [this] { OpenSkinMenu(); });

  const std::pair<const char*, const char*> imageButtons[] = {
      {"QQ", "contact.ico"}, {"旺旺", "site.ico"}, {"淘宝", "shop.ico"}, {"按钮74", "search.ico"}};
  for (const auto& [name, icon] : imageButtons) {
    if (auto* button = m_built.Control<QAbstractButton>(name)) {
      skin.SkinImageButton(button, Artwork(icon));
    }
  }
  m_banner.Attach(m_built.Control("画板1"), Artwork("banner.png"), 3);
  skin.SetTextColour(m_built.Control("停止播放"), kRed);
  // The search box is made once the board is shown (see BuildWindow); its
  // colour is given to it then.
  QMetaObject::invokeMethod(
      this, [this] { SkinManager::Instance().SetTextColour(m_built.Control("编辑框1"), kBlue); }, Qt::QueuedConnection);
  skin.SetTextColour(m_built.Control("按钮74"), kRed);
}

void Board::StyleMenuButton() {
  SkinManager::Instance().SetMenuButtonHandler(this, [this] { OpenMainMenu(); });
}

}  // namespace tavrik
