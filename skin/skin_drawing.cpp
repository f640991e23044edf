#include "skin/skin_drawing.h"

#include <QBuffer>
#include <QBrush>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tavrik::skin {

namespace {

// The format whose signature the bytes start with, of the two that pictures
// mostly come in; null for any other.
const char* FormatBySignature(const QByteArray& bytes) {
  static constexpr char kPng[] = "\x89PNG\r\n\x1a\n";
  static constexpr char kJpeg[] = "\xFF\xD8\xFF";
  if (bytes.startsWith(QByteArrayView(kPng, sizeof kPng - 1))) {
    return "png";
  }
  if (bytes.startsWith(QByteArrayView(kJpeg, sizeof kJpeg - 1))) {
    return "jpeg";
  }
  return nullptr;
}

// The larger side of an image, or of an image's size.
int LargerSide(QSize size) { return std::max(size.width(), size.height()); }

// True when an image whose larger side is `larger` is a better pick for
// `side` than the best so far: nearer, or as near and larger.
bool Nearer(int larger, int side, bool haveBest, int bestLarger) {
  const int distance = std::abs(larger - side);
  const int bestDistance = std::abs(bestLarger - side);
  return !haveBest || distance < bestDistance || (distance == bestDistance && larger > bestLarger);
}

}  // namespace

Placement WindowPlacement(int layout) {
  switch (layout) {
    case 3:
      return Placement::Cover;
    case 4:
      return Placement::Tile;
    default:
      return Placement::Stretch;
  }
}

Placement PanelPlacement(int mode) {
  switch (mode) {
    case 3:
      return Placement::Fit;
    case 4:
      return Placement::Tile;
    default:
      return Placement::Stretch;
  }
}

QImage DecodePicture(const QByteArray& bytes) {
  if (bytes.isEmpty()) {
    return {};
  }
  // The format comes from the bytes alone. PNG and JPEG, told by their
  // signatures, go straight to their readers; anything else (or a picture
  // those cannot read) is recognised by the reader, which loads every image
  // plugin and asks each in turn.
  QImage picture;
  if (const char* format = FormatBySignature(bytes)) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);  // or every plugin is loaded and asked first
    picture = reader.read();
  }
  if (picture.isNull()) {
    picture = QImage::fromData(bytes);
  }
  if (picture.isNull()) {
    return {};
  }
  return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

std::optional<QColor> AverageColour(const QImage& picture) {
  if (picture.isNull()) {
    return std::nullopt;
  }
  const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
  std::uint64_t red = 0;
  std::uint64_t green = 0;
  std::uint64_t blue = 0;
  std::uint64_t weight = 0;
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
    for (int x = 0; x < pixels.width(); ++x) {
      const QRgb pixel = line[x];
      const auto alpha = static_cast<std::uint64_t>(qAlpha(pixel));
      red += static_cast<std::uint64_t>(qRed(pixel)) * alpha;
      green += static_cast<std::uint64_t>(qGreen(pixel)) * alpha;
      blue += static_cast<std::uint64_t>(qBlue(pixel)) * alpha;
      weight += alpha;
    }
  }
  if (weight == 0) {
    return std::nullopt;
  }
  // Rounded to the nearest step.
  const auto mean = [weight](std::uint64_t sum) { return static_cast<int>((sum + weight / 2) / weight); };
  return QColor(mean(red), mean(green), mean(blue));
}

void DrawPicture(QPainter& painter, const QRect& target, const QImage& picture, Placement placement) {
  if (picture.isNull() || target.isEmpty()) {
    return;
  }
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  const double pictureWidth = picture.width();
  const double pictureHeight = picture.height();
  switch (placement) {
    case Placement::Stretch:
      painter.drawImage(QRectF(target), picture, QRectF(picture.rect()));
      break;
    case Placement::Cover: {
      // The part of the picture with the target's shape, taken from its middle.
      const double scale = std::max(target.width() / pictureWidth, target.height() / pictureHeight);
      const double sourceWidth = target.width() / scale;
      const double sourceHeight = target.height() / scale;
      const QRectF source((pictureWidth - sourceWidth) / 2, (pictureHeight - sourceHeight) / 2, sourceWidth,
                          sourceHeight);
      painter.drawImage(QRectF(target), picture, source);
      break;
    }
    case Placement::Fit: {
      const double scale = std::min(target.width() / pictureWidth, target.height() / pictureHeight);
      const double width = pictureWidth * scale;
      const double height = pictureHeight * scale;
      const QRectF placed(target.x() + (target.width() - width) / 2, target.y() + (target.height() - height) / 2,
                          width, height);
      painter.drawImage(placed, picture, QRectF(picture.rect()));
      break;
    }
    case Placement::Tile:
      painter.setBrushOrigin(target.topLeft());
      painter.fillRect(target, QBrush(picture));
      break;
  }
  painter.restore();
}

namespace {

// The image of `reader` nearest to `side`, as PickIconImage picks it.
QImage PickFrom(QImageReader& reader, int side) {
  const int count = std::max(1, reader.imageCount());
  if (count > 1) {
    // The file's directory tells every image's size: only the nearest one is
    // decoded. Should the directory be unreadable, or the nearest image not
    // be what the directory says, every image is decoded and measured below.
    int bestIndex = -1;
    int bestLarger = 0;
    for (int index = 0; index < count; ++index) {
      if (!reader.jumpToImage(index)) {
        bestIndex = -1;
        break;
      }
      const QSize size = reader.size();
      if (!size.isValid()) {
        bestIndex = -1;
        break;
      }
      if (Nearer(LargerSide(size), side, bestIndex >= 0, bestLarger)) {
        bestIndex = index;
        bestLarger = LargerSide(size);
      }
    }
    if (bestIndex >= 0 && reader.jumpToImage(bestIndex)) {
      const QImage image = reader.read();
      if (!image.isNull() && LargerSide(image.size()) == bestLarger) {
        return image;
      }
    }
  }
  QImage best;
  for (int index = 0; index < count; ++index) {
    if (count > 1 && !reader.jumpToImage(index)) {
      break;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
      continue;
    }
    const int larger = LargerSide(image.size());
    if (Nearer(larger, side, !best.isNull(), best.isNull() ? 0 : LargerSide(best.size()))) {
      best = image;
    }
  }
  return best;
}

}  // namespace

QImage PickIconImage(const QByteArray& icoBytes, int side) {
  QBuffer buffer;
  buffer.setData(icoBytes);
  if (!buffer.open(QIODevice::ReadOnly)) {
    return {};
  }
  {
    // An ICO file goes straight to the ICO reader, without every image
    // plugin being loaded and asked about it first.
    QImageReader reader(&buffer, "ico");
    reader.setAutoDetectImageFormat(false);
    if (reader.canRead()) {
      return PickFrom(reader, side);
    }
  }
  buffer.seek(0);
  QImageReader reader(&buffer);
  if (!reader.canRead()) {
    // Some writers leave headers the content check does not recognise.
    buffer.seek(0);
    reader.setFormat("ico");
  }
  return PickFrom(reader, side);
}

}  // namespace tavrik::skin
