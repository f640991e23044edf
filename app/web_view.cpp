#include "app/web_view.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#ifdef TAVRIK_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

namespace tavrik {

void EnsureKeynotePage(QWidget* place, const std::string& address) {
  if (place == nullptr || place->property("tavrikPageMade").toBool()) {
    return;
  }
  place->setProperty("tavrikPageMade", true);
  const QUrl url(QString::fromStdString(address));
  auto* layout = new QVBoxLayout(place);
  layout->setContentsMargins(0, 0, 0, 0);
#ifdef TAVRIK_HAVE_WEBENGINE
  auto* view = new QWebEngineView(place);
  view->setObjectName(QStringLiteral("keynote-page"));
  view->setZoomFactor(1.0);  // the medium of five text sizes
  view->load(url);
  layout->addWidget(view);
#else
  auto* link = new QLabel(place);
  link->setObjectName(QStringLiteral("keynote-page"));
  link->setAlignment(Qt::AlignCenter);
  link->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toString().toHtmlEscaped()));
  QObject::connect(link, &QLabel::linkActivated, link,
                   [](const QString& target) { QDesktopServices::openUrl(QUrl(target)); });
  layout->addWidget(link);
#endif
}

}  // namespace tavrik
