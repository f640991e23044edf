#pragma once

// Picture helpers shared by the skin's painters: decoding by content, the
// average colour of a picture, and the ways a picture is laid over a rectangle.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <optional>

class QPainter;

namespace tavrik::skin {

// How a picture is laid over a rectangle.
enum class Placement {
  Stretch,  // the picture's whole area stretched to the rectangle
  Cover,    // scaled keeping its shape until it covers the rectangle, the middle kept
  Fit,      // scaled keeping its shape until it touches the rectangle's sides, centred
  Tile,     // at its own size, repeated from the rectangle's top-left corner
};

// The placement a window layout number asks for: 3 covers, 4 tiles, any
// other number stretches.
Placement WindowPlacement(int layout);
// The placement a picture panel's mode asks for: 3 fits, 4 tiles, any other
// number stretches.
Placement PanelPlacement(int mode);

// A picture in any format Qt can read, told by its content alone (a file's
// name plays no part). A null image when the bytes are not a picture.
QImage DecodePicture(const QByteArray& bytes);

// The mean colour of the picture's pixels, each weighted by its opacity;
// nothing for an empty or wholly transparent picture.
std::optional<QColor> AverageColour(const QImage& picture);

void DrawPicture(QPainter& painter, const QRect& target, const QImage& picture, Placement placement);

// From the images of an ICO file, the one whose larger side is nearest to
// `side` pixels (of two equally near, the larger one); null when the bytes
// hold no readable image.
QImage PickIconImage(const QByteArray& icoBytes, int side);

}  // namespace tavrik::skin
