#pragma once

// How the controls of a skinned window are styled, and the text colours that
// must outlast every restyling.

#include <QColor>
#include <QObject>
#include <QString>

class QWidget;

namespace tavrik::skin {

// The style sheet a skinned window carries for its controls: a white veil of
// `veil` opacity (0..255) over buttons, edit fields, combo boxes, sliders,
// lists and tab pages, each outlined in the accent colour.
QString ControlStyleSheet(const QColor& accent, int veil);

// Gives the control's text the colour and remembers it on the control, so that
// ReapplyTextColours can put it back after a restyling has reset palettes.
void ApplyTextColour(QWidget* control, const QColor& colour);
// Puts back the remembered text colours of `root` and of every control in it.
void ReapplyTextColours(QWidget* root);

// Fills each container it watches with the tint remembered on the container,
// under the container's own drawing.
class ContainerPainter : public QObject {
public:
  // The tint of a skinned container (with its opacity), or an invalid colour.
  static QColor TintOf(const QWidget* container);
  static void SetTint(QWidget* container, const QColor& tint);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tavrik::skin
