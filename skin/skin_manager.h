#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QWidget;

namespace tavrik {

// A colour as the board stores it: 0x00BBGGRR.
using Colorref = unsigned;

QColor ColourOf(Colorref colorref);

inline constexpr Colorref kDefaultAccent = 0xDDCA22;  // RGB(34, 202, 221)

struct SkinPicture {
  std::optional<QString> file;      // a picture file (any common format, by content)
  std::optional<QByteArray> bytes;  // or the picture's bytes
  std::optional<Colorref> baseColour;
  std::optional<Colorref> accentColour;
  std::optional<int> layout;  // 4 when left out
};

struct SkinWindowOptions {
  int captionHeight = 0;  // never lower than 25
  bool helpButton = false;
  bool menuButton = false;
  int bottomBand = 0;  // drawn when above 0
};

// Draws every registered window in the current skin: a picture background, a
// caption band of its own with its buttons, and the controls over the picture.
// Calls come from the user-interface thread, except SetTextColour.
class SkinManager : public QObject {
public:
  static SkinManager& Instance();

  // With neither picture nor base colour, nothing happens. Every visible
  // registered window is redrawn at once.
  void SetSkin(const SkinPicture& skin);
  void SetControlVeil(int opacity = 160);
  void SkinWindow(QWidget* window, const SkinWindowOptions& options = {});
  void AddCaptionButton(QWidget* window, const QByteArray& icon, const QString& hint, std::function<void()> onClick);
  void SetMenuButtonHandler(QWidget* window, std::function<void()> onClick);
  void SkinContainer(QWidget* container, Colorref colour, int level = 255);
  void SkinImageButton(QAbstractButton* button, const QByteArray& icoBytes);
  // Safe from any thread: the change is carried out on the interface thread.
  void SetTextColour(QWidget* control, Colorref colour);
  // A modal box drawn in the skin with one OK button.
  void ShowMessageBox(QWidget* owner, const QString& text, const QString& caption);

  // The skin in force, for drawing and for checks.
  const QImage& picture() const;
  QColor baseColour() const;
  QColor accentColour() const;
  int layout() const;
  int veil() const;

private:
  SkinManager();
  struct State;
  State* m_state;
};

// Draws a picture on a panel.
class SkinPicturePanel {
public:
  void Attach(QWidget* panel, const QByteArray& picture, int mode);
  void Redraw();

private:
  QPointer<QWidget> m_panel;
  QPointer<QObject> m_painter;  // draws the picture; a child of the panel
};

// A row of items with icon and text drawn over a panel; a click reports the
// item's number, counted from 1.
class SkinTabStrip {
public:
  void Create(QWidget* panel, int itemWidth, int itemHeight);
  void AddItem(const QByteArray& icon, const QString& text);
  void SetFont(const QString& face, int size = 13, Colorref text = 0xFFFFFF, Colorref outline = 0xFF8800);
  void SetClickHandler(std::function<void(int)> onClick);
  void Redraw();

private:
  QPointer<QWidget> m_strip;
};

}  // namespace tavrik
