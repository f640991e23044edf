#include "skin/skin_drawing.h"

#include <QBuffer>
#include <QBrush>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tavrik::skin {

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
  // No format hint: the reader recognises the format from the bytes.
  QImage picture = QImage::fromData(bytes);
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

QImage PickIconImage(const QByteArray& icoBytes, int side) {
  QBuffer buffer;
  buffer.setData(icoBytes);
  if (!buffer.open(QIODevice::ReadOnly)) {
    return {};
  }
  QImageReader reader(&buffer);
  if (!reader.canRead()) {
    // Some writers leave headers the content check does not recognise.
    buffer.seek(0);
    reader.setFormat("ico");
  }
  const int count = std::max(1, reader.imageCount());
  QImage best;
  int bestDistance = 0;
  for (int index = 0; index < count; ++index) {
    if (count > 1 && !reader.jumpToImage(index)) {
      break;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
      continue;
    }
    const int larger = std::max(image.width(), image.height());
    const int distance = std::abs(larger - side);
    const int bestLarger = best.isNull() ? 0 : std::max(best.width(), best.height());
    if (best.isNull() || distance < bestDistance || (distance == bestDistance && larger > bestLarger)) {
      best = image;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace tavrik::skin
