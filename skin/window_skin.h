#pragma once

// The parts the skin adds to one window: its background, the caption band
// with its buttons, and the bottom band.

#include "skin/skin_manager.h"

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace tavrik::skin {

class WindowSkin;

enum class CaptionButtonKind { Close, Maximise, Minimise, Menu, Help, Added };

inline constexpr int kMinimumCaptionHeight = 25;
inline constexpr int kCaptionButtonWidth = 26;
inline constexpr int kCaptionButtonHeight = 18;
inline constexpr int kCaptionButtonGap = 2;
inline constexpr int kCaptionRightMargin = 4;
inline constexpr int kTitleLeft = 8;

// A button of the caption band, drawn as a white glyph (or as the icon it was
// given) over the band.
class CaptionButton : public QAbstractButton {
public:
  CaptionButton(CaptionButtonKind kind, const QImage& icon, QWidget* parent);
  CaptionButtonKind kind() const { return m_kind; }
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  CaptionButtonKind m_kind;
  QImage m_icon;
};

// The band across the top of the window: the title, the buttons, and the
// place to drag the window by.
class CaptionBar : public QWidget {
public:
  CaptionBar(WindowSkin& skin, QWidget* window);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  WindowSkin& m_skin;
  bool m_dragging = false;
  QPoint m_pressGlobal;
  QPoint m_windowAtPress;
};

// Lives as a child of its window, so it goes when the window goes.
class WindowSkin : public QObject {
public:
  explicit WindowSkin(QWidget* window);

  QWidget* window() const { return m_window; }
  bool registered() const { return m_registered; }
  const SkinWindowOptions& options() const { return m_options; }
  int captionHeight() const;
  // Where the title must end: left of the leftmost caption button.
  int titleEnd() const;
  bool canMaximise() const;
  void ToggleMaximised();

  // Takes the window into the skin, or gives an already skinned one new options.
  void Register(const SkinWindowOptions& options);
  void AddButton(const QImage& icon, const QString& hint, std::function<void()> onClick);
  void SetMenuHandler(std::function<void()> onClick);
  // After a change of skin: restyles the controls and repaints a visible
  // window; a hidden one is restyled when it is next polished or shown.
  void Refresh();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct AddedButton {
    QImage icon;
    QString hint;
    std::function<void()> onClick;
  };

  void Restyle();
  void RebuildButtons();
  void LayoutCaption();
  void RaiseCaption();
  void PaintBackground(QPaintEvent* event);
  const QPixmap& Background();
  CaptionButton* MakeButton(CaptionButtonKind kind, const QString& name, const QString& toolTip, const QImage& icon,
                            std::function<void()> onClick);

  QWidget* m_window;
  bool m_registered = false;
  SkinWindowOptions m_options;
  QString m_ownStyleSheet;  // what the window carried before the skin
  QPointer<CaptionBar> m_caption;
  std::vector<QPointer<CaptionButton>> m_buttons;  // right to left
  std::vector<AddedButton> m_added;
  std::function<void()> m_menuHandler;
  QPixmap m_background;
  bool m_raisePending = false;
  bool m_restylePending = false;  // a hidden window's restyling, due when it is polished or shown
};

}  // namespace tavrik::skin
