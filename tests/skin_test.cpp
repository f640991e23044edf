// The skin over real widgets on Qt's offscreen platform: what SetSkin keeps
// and derives, what a skinned window shows (checked on grabbed pixels), its
// caption buttons and dragging, control styling and text colours, containers,
// image buttons, the message box, picture panels and the item strip.
#include "skin/skin_manager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace tavrik {
namespace {

// The skin every test starts from: no picture, a dark base, a distinct accent.
constexpr Colorref kBase = 0x000000;
constexpr Colorref kAccent = 0x3366CC;  // RGB(204, 102, 51)
const QColor kAccentColour(204, 102, 51);

Colorref RefOf(const QColor& colour) {
  return static_cast<Colorref>(colour.red()) | (static_cast<Colorref>(colour.green()) << 8) |
         (static_cast<Colorref>(colour.blue()) << 16);
}

QImage Filled(QSize size, const QColor& colour) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// Vertical stripes of equal width, left to right.
QImage Stripes(QSize size, const std::vector<QColor>& colours) {
  QImage image(size, QImage::Format_ARGB32);
  const int width = size.width() / static_cast<int>(colours.size());
  for (int x = 0; x < size.width(); ++x) {
    const QColor& colour = colours[static_cast<std::size_t>(std::min(x / width, static_cast<int>(colours.size()) - 1))];
    for (int y = 0; y < size.height(); ++y) {
      image.setPixelColor(x, y, colour);
    }
  }
  return image;
}

QByteArray Encode(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format, 100)) << format;
  return bytes;
}

QByteArray Png(const QImage& image) { return Encode(image, "PNG"); }

void PutLittleEndian(QByteArray& out, unsigned value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.append(static_cast<char>((value >> (8 * i)) & 0xFFu));
  }
}

unsigned ReadLittleEndian(const QByteArray& in, int at, int bytes) {
  unsigned value = 0;
  for (int i = 0; i < bytes; ++i) {
    value |= static_cast<unsigned>(static_cast<unsigned char>(in[at + i])) << (8 * i);
  }
  return value;
}

// An ICO file holding the images in the given order: each image is written by
// Qt's own ICO writer, and the single-image files are joined into one.
QByteArray IcoOf(const std::vector<QImage>& images) {
  constexpr int kHeader = 6;
  constexpr int kEntry = 16;
  std::vector<QByteArray> entries;
  std::vector<QByteArray> bodies;
  for (const QImage& image : images) {
    QByteArray single;
    QBuffer buffer(&single);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    entries.push_back(single.mid(kHeader, kEntry));
    bodies.push_back(single.mid(static_cast<qsizetype>(ReadLittleEndian(single, kHeader + 12, 4))));
  }
  QByteArray out;
  PutLittleEndian(out, 0, 2);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, static_cast<unsigned>(images.size()), 2);
  unsigned offset = static_cast<unsigned>(kHeader + kEntry * static_cast<int>(images.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    QByteArray entry = entries[i].left(12);
    PutLittleEndian(entry, offset, 4);
    out.append(entry);
    offset += static_cast<unsigned>(bodies[i].size());
  }
  for (const QByteArray& body : bodies) {
    out.append(body);
  }
  return out;
}

testing::AssertionResult Near(const QColor& actual, const QColor& expected, int tolerance) {
  if (std::abs(actual.red() - expected.red()) <= tolerance && std::abs(actual.green() - expected.green()) <= tolerance &&
      std::abs(actual.blue() - expected.blue()) <= tolerance) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "colour " << actual.name().toStdString() << " is not within " << tolerance
                                     << " of " << expected.name().toStdString();
}

// `over` at opacity alpha/255 laid on `under`.
QColor Blend(const QColor& over, int alpha, const QColor& under) {
  const auto mix = [alpha](int top, int bottom) { return (top * alpha + bottom * (255 - alpha) + 127) / 255; };
  return QColor(mix(over.red(), under.red()), mix(over.green(), under.green()), mix(over.blue(), under.blue()));
}

QImage Shot(QWidget* widget) { return widget->grab().toImage(); }

QColor PixelOf(QWidget* widget, QPoint at) { return Shot(widget).pixelColor(at); }

// How many pixels of the rectangle lie within `tolerance` of the colour.
int CountNear(const QImage& image, const QRect& area, const QColor& colour, int tolerance) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (Near(image.pixelColor(x, y), colour, tolerance)) {
        ++count;
      }
    }
  }
  return count;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
    }
    return false;
  }
};

// A window whose close request is counted and may be refused.
class ClosableWindow : public QWidget {
public:
  explicit ClosableWindow(bool allowClose) : m_allowClose(allowClose) {}
  int closeRequests = 0;

protected:
  void closeEvent(QCloseEvent* event) override {
    ++closeRequests;
    if (m_allowClose) {
      event->accept();
    } else {
      event->ignore();
    }
  }

private:
  bool m_allowClose;
};

SkinManager& Skin() { return SkinManager::Instance(); }

template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& test) {
  return test.param.name;
}

// Failures name the table row rather than dumping its bytes.
template <typename Case>
  requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }

void ShowAndWait(QWidget* window) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
}

QWidget* Find(QWidget* root, const char* name) { return root->findChild<QWidget*>(QString::fromLatin1(name)); }

// The look before any skin is set: checked in a fresh run of this program
// (the re-executing death-test style), whatever the other tests did before.
TEST(SkinInitialLookDeathTest, IsThePlainSystemLookWithTheDefaultAccent) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::string wrong;
        if (!Skin().picture().isNull()) {
          wrong += " picture";
        }
        if (Skin().baseColour() != ButtonFace()) {
          wrong += " base " + Skin().baseColour().name().toStdString();
        }
        if (Skin().accentColour() != QColor(34, 202, 221)) {
          wrong += " accent " + Skin().accentColour().name().toStdString();
        }
        if (Skin().layout() != 4) {
          wrong += " layout " + std::to_string(Skin().layout());
        }
        if (Skin().veil() != 160) {
          wrong += " veil " + std::to_string(Skin().veil());
        }
        std::fprintf(stderr, "initial look:%s\n", wrong.empty() ? " as expected" : wrong.c_str());
        std::exit(wrong.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "initial look: as expected");
}

TEST(ColourOf, ReadsRedFromTheLowByte) {
  struct Case {
    Colorref colorref;
    QColor colour;
  };
  const Case cases[] = {
      {0x000000, QColor(0, 0, 0)},       {0x0000FF, QColor(255, 0, 0)},   {0x00FF00, QColor(0, 255, 0)},
      {0xFF0000, QColor(0, 0, 255)},     {kDefaultAccent, QColor(34, 202, 221)},
      {0x123456, QColor(0x56, 0x34, 0x12)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColourOf(c.colorref), c.colour) << std::hex << c.colorref;
  }
}

class SkinTest : public testing::Test {
protected:
  void SetUp() override {
    Skin().SetSkin({.baseColour = kBase, .accentColour = kAccent});
    Skin().SetControlVeil();
  }

  // A shown top-level window; the test owns it.
  std::unique_ptr<QWidget> MakeWindow(QRect geometry = {300, 300, 300, 200},
                                      Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint |
                                                              Qt::WindowCloseButtonHint) {
    auto window = std::make_unique<QWidget>(nullptr, flags);
    window->setGeometry(geometry);
    return window;
  }
};

// ---------------------------------------------------------------------------
// SetSkin

struct SetSkinCase {
  const char* name;
  std::function<SkinPicture(const QString& folder)> make;
  bool changes;  // false: the skin before the call stays
  bool hasPicture;
  QColor pictureColour;
  std::optional<QColor> base;  // nothing: the system's button face
  QColor accent;
  int layout;
  int tolerance;  // for colours that went through a lossy format
};

const QColor kFill(200, 60, 90);
const QColor kPreviousPicture(0, 160, 0);
const QColor kPreviousBase(1, 2, 3);
const QColor kPreviousAccent(4, 5, 6);
const QColor kDefaultAccentColour(34, 202, 221);

class SetSkinTest : public SkinTest, public testing::WithParamInterface<SetSkinCase> {};

TEST_P(SetSkinTest, TakesDerivesOrKeepsTheSkin) {
  const SetSkinCase& c = GetParam();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  Skin().SetSkin({.bytes = Png(Filled({4, 4}, kPreviousPicture)),
                  .baseColour = RefOf(kPreviousBase),
                  .accentColour = RefOf(kPreviousAccent),
                  .layout = 1});

  Skin().SetSkin(c.make(folder.path()));

  if (!c.changes) {
    ASSERT_FALSE(Skin().picture().isNull());
    EXPECT_EQ(Skin().picture().pixelColor(0, 0), kPreviousPicture);
    EXPECT_EQ(Skin().baseColour(), kPreviousBase);
    EXPECT_EQ(Skin().accentColour(), kPreviousAccent);
    EXPECT_EQ(Skin().layout(), 1);
    return;
  }
  EXPECT_EQ(Skin().picture().isNull(), !c.hasPicture);
  if (c.hasPicture && !Skin().picture().isNull()) {
    EXPECT_TRUE(Near(Skin().picture().pixelColor(1, 1), c.pictureColour, c.tolerance));
  }
  EXPECT_TRUE(Near(Skin().baseColour(), c.base.value_or(ButtonFace()), c.tolerance));
  EXPECT_EQ(Skin().accentColour(), c.accent);
  EXPECT_EQ(Skin().layout(), c.layout);
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SetSkinTest,
    testing::Values(
        SetSkinCase{"png_bytes_base_from_picture",
                    [](const QString&) { return SkinPicture{.bytes = Png(Filled({8, 8}, kFill))}; }, true, true,
                    kFill, kFill, kDefaultAccentColour, 4, 0},
        SetSkinCase{"jpeg_bytes_with_accent_and_layout",
                    [](const QString&) {
                      return SkinPicture{
                          .bytes = Encode(Filled({16, 16}, kFill), "JPEG"), .accentColour = 0x00FF00, .layout = 3};
                    },
                    true, true, kFill, kFill, QColor(0, 255, 0), 3, 4},
        SetSkinCase{"png_file_named_jpg",
                    [](const QString& folder) {
                      return SkinPicture{.file = WriteFile(folder + "/back.jpg", Png(Filled({8, 8}, kFill)))};
                    },
                    true, true, kFill, kFill, kDefaultAccentColour, 4, 0},
        SetSkinCase{"given_base_kept",
                    [](const QString&) {
                      return SkinPicture{.bytes = Png(Filled({8, 8}, kFill)), .baseColour = 0x332211};
                    },
                    true, true, kFill, QColor(0x11, 0x22, 0x33), kDefaultAccentColour, 4, 0},
        SetSkinCase{"base_is_the_mean_of_the_picture",
                    [](const QString&) {
                      return SkinPicture{.bytes = Png(Stripes({8, 4}, {QColor(255, 0, 0), QColor(0, 0, 255)}))};
                    },
                    true, true, QColor(255, 0, 0), QColor(128, 0, 128), kDefaultAccentColour, 4, 1},
        SetSkinCase{"base_colour_alone",
                    [](const QString&) { return SkinPicture{.baseColour = 0x0000FF, .layout = 2}; }, true, false,
                    {}, QColor(255, 0, 0), kDefaultAccentColour, 2, 0},
        SetSkinCase{"undecodable_bytes",
                    [](const QString&) { return SkinPicture{.bytes = QByteArray("not a picture at all")}; }, true,
                    false, {}, std::nullopt, kDefaultAccentColour, 4, 0},
        SetSkinCase{"undecodable_bytes_with_base",
                    [](const QString&) {
                      return SkinPicture{.bytes = QByteArray("\x89PNG broken"), .baseColour = 0x00FFFF};
                    },
                    true, false, {}, QColor(255, 255, 0), kDefaultAccentColour, 4, 0},
        SetSkinCase{"missing_file",
                    [](const QString& folder) { return SkinPicture{.file = folder + "/none.png"}; }, true, false, {},
                    std::nullopt, kDefaultAccentColour, 4, 0},
        SetSkinCase{"neither_picture_nor_base",
                    [](const QString&) { return SkinPicture{.accentColour = 0x00FF00, .layout = 3}; }, false, false,
                    {}, std::nullopt, {}, 0, 0},
        SetSkinCase{"empty_bytes_and_name",
                    [](const QString&) {
                      return SkinPicture{.file = QString(), .bytes = QByteArray(), .accentColour = 0x00FF00};
                    },
                    false, false, {}, std::nullopt, {}, 0, 0}),
    CaseName<SetSkinCase>);

// ---------------------------------------------------------------------------
// Window background

TEST_F(SkinTest, VisibleWindowIsRepaintedWithTheNewPicture) {
  auto window = MakeWindow();
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  Skin().SetSkin({.bytes = Png(Filled({10, 10}, QColor(255, 0, 0)))});
  EXPECT_TRUE(Near(PixelOf(window.get(), {150, 120}), QColor(255, 0, 0), 0));

  PaintCounter counter(window.get());
  QApplication::processEvents();
  counter.paints = 0;
  Skin().SetSkin({.bytes = Png(Filled({10, 10}, QColor(0, 0, 255)))});
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
  EXPECT_TRUE(Near(PixelOf(window.get(), {150, 120}), QColor(0, 0, 255), 0));
}

TEST_F(SkinTest, WindowSkinnedLaterUsesTheCurrentSkin) {
  Skin().SetSkin({.bytes = Png(Filled({10, 10}, QColor(0, 200, 0)))});
  auto window = MakeWindow();
  ShowAndWait(window.get());
  Skin().SkinWindow(window.get());
  EXPECT_TRUE(Near(PixelOf(window.get(), {150, 120}), QColor(0, 200, 0), 0));
}

struct LayoutCase {
  const char* name;
  std::optional<int> layout;
  char expected[3];  // stripe at x = 45, 75, 185
};

class LayoutTest : public SkinTest, public testing::WithParamInterface<LayoutCase> {};

// A 40x20 picture of four 10-pixel stripes A B C D behind a 200x200 window.
// Stretched: x/5. Covering: scaled 10 times, the middle 20 columns shown, 10 + x/10.
// Tiled: x % 40.
TEST_P(LayoutTest, PlacesThePictureBehindTheWindow) {
  const std::vector<QColor> stripes = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 0)};
  SkinPicture picture{.bytes = Png(Stripes({40, 20}, stripes)), .baseColour = 0x000000};
  picture.layout = GetParam().layout;
  Skin().SetSkin(picture);
  auto window = MakeWindow({300, 300, 200, 200});
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  const QImage shot = Shot(window.get());
  const int xs[] = {45, 75, 185};
  for (int i = 0; i < 3; ++i) {
    const QColor expected = stripes[static_cast<std::size_t>(GetParam().expected[i] - 'A')];
    EXPECT_TRUE(Near(shot.pixelColor(xs[i], 150), expected, 40)) << "x = " << xs[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest,
                         testing::Values(LayoutCase{"stretch", 1, {'A', 'B', 'D'}},
                                         LayoutCase{"cover", 3, {'B', 'B', 'C'}},
                                         LayoutCase{"tile", 4, {'A', 'D', 'C'}},
                                         LayoutCase{"tile_when_left_out", std::nullopt, {'A', 'D', 'C'}},
                                         LayoutCase{"other_numbers_stretch", 7, {'A', 'B', 'D'}}),
                         CaseName<LayoutCase>);

struct BandCase {
  const char* name;
  int bottomBand;
  int sampleY;
  bool inBand;
};

class BottomBandTest : public SkinTest, public testing::WithParamInterface<BandCase> {};

TEST_P(BottomBandTest, IsDrawnInTheAccentColour) {
  auto window = MakeWindow({300, 300, 200, 200});
  Skin().SkinWindow(window.get(), {.bottomBand = GetParam().bottomBand});
  ShowAndWait(window.get());
  const QColor expected = GetParam().inBand ? kAccentColour : ColourOf(kBase);
  EXPECT_TRUE(Near(PixelOf(window.get(), {100, GetParam().sampleY}), expected, 0));
}

INSTANTIATE_TEST_SUITE_P(Bands, BottomBandTest,
                         testing::Values(BandCase{"inside_band", 30, 185, true}, BandCase{"band_top_row", 30, 170, true},
                                         BandCase{"above_band", 30, 165, false}, BandCase{"no_band", 0, 195, false}),
                         CaseName<BandCase>);

// ---------------------------------------------------------------------------
// Caption band

struct CaptionCase {
  const char* name;
  Qt::WindowFlags flags;
  SkinWindowOptions options;
  std::vector<std::string> rightToLeft;
};

class CaptionButtonsTest : public SkinTest, public testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionButtonsTest, ShowsTheButtonsTheWindowAsksFor) {
  const CaptionCase& c = GetParam();
  auto window = MakeWindow({300, 300, 320, 200}, c.flags);
  ShowAndWait(window.get());
  const Qt::WindowFlags before = window->windowFlags();

  Skin().SkinWindow(window.get(), c.options);

  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window->windowFlags() & ~Qt::WindowFlags(Qt::FramelessWindowHint), before);
  EXPECT_TRUE(window->isVisible());
  const std::vector<std::string> all = {"caption-close", "caption-maximise", "caption-minimise", "caption-menu",
                                        "caption-help"};
  for (const std::string& name : all) {
    const bool wanted = std::find(c.rightToLeft.begin(), c.rightToLeft.end(), name) != c.rightToLeft.end();
    QWidget* button = Find(window.get(), name.c_str());
    EXPECT_EQ(button != nullptr, wanted) << name;
    if (button != nullptr) {
      EXPECT_TRUE(button->isVisible()) << name;
    }
  }
  int previousX = window->width();
  for (const std::string& name : c.rightToLeft) {
    QWidget* button = Find(window.get(), name.c_str());
    ASSERT_NE(button, nullptr) << name;
    const int x = button->mapTo(window.get(), QPoint(0, 0)).x();
    EXPECT_LE(x + button->width(), previousX) << name << " is not left of the button before it";
    previousX = x;
  }
}

constexpr Qt::WindowFlags kTitled = Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

INSTANTIATE_TEST_SUITE_P(
    Buttons, CaptionButtonsTest,
    testing::Values(
        CaptionCase{"close_only", kTitled, {}, {"caption-close"}},
        CaptionCase{"minimise", kTitled | Qt::WindowMinimizeButtonHint, {}, {"caption-close", "caption-minimise"}},
        CaptionCase{"maximise", kTitled | Qt::WindowMaximizeButtonHint, {}, {"caption-close", "caption-maximise"}},
        CaptionCase{"everything",
                    kTitled | Qt::WindowMinMaxButtonsHint,
                    {.helpButton = true, .menuButton = true},
                    {"caption-close", "caption-maximise", "caption-minimise", "caption-menu", "caption-help"}},
        CaptionCase{"menu", kTitled | Qt::WindowMinimizeButtonHint, {.menuButton = true},
                    {"caption-close", "caption-minimise", "caption-menu"}},
        CaptionCase{"dialog_with_help", Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint,
                    {.helpButton = true}, {"caption-close", "caption-help"}}),
    CaseName<CaptionCase>);

struct CaptionHeightCase {
  int asked;
  int height;
};

TEST_F(SkinTest, CaptionBandIsAtLeast25HighWithButtonsCentred) {
  const CaptionHeightCase cases[] = {{0, 25}, {10, 25}, {25, 25}, {40, 40}};
  for (const CaptionHeightCase& c : cases) {
    auto window = MakeWindow();
    Skin().SkinWindow(window.get(), {.captionHeight = c.asked, .menuButton = true});
    ShowAndWait(window.get());
    QWidget* caption = Find(window.get(), "skin-caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->geometry(), QRect(0, 0, window->width(), c.height)) << c.asked;
    for (const char* name : {"caption-close", "caption-menu"}) {
      QWidget* button = Find(window.get(), name);
      ASSERT_NE(button, nullptr);
      const QRect at(button->mapTo(window.get(), QPoint(0, 0)), button->size());
      EXPECT_LE(std::abs(2 * at.top() + at.height() - c.height), 2) << name << " at " << c.asked;
      EXPECT_GE(at.width(), 20);
      EXPECT_LE(at.height(), c.height);
    }
    const QImage shot = Shot(window.get());
    EXPECT_TRUE(Near(shot.pixelColor(150, c.height - 1), kAccentColour, 0)) << c.asked;
    EXPECT_TRUE(Near(shot.pixelColor(150, c.height), ColourOf(kBase), 0)) << c.asked;
  }
}

TEST_F(SkinTest, CaptionFollowsTheWindowWidth) {
  auto window = MakeWindow({300, 300, 200, 150});
  Skin().SkinWindow(window.get());  // still hidden: its size may change before it shows
  window->resize(400, 150);
  ShowAndWait(window.get());
  const auto closeRight = [&] {
    QWidget* close = Find(window.get(), "caption-close");
    return close == nullptr ? -1 : close->mapTo(window.get(), QPoint(close->width(), 0)).x();
  };
  QWidget* caption = Find(window.get(), "skin-caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->width(), 400);
  EXPECT_GE(closeRight(), 390);
  EXPECT_LE(closeRight(), 400);
  window->resize(250, 150);
  QApplication::processEvents();
  EXPECT_EQ(caption->width(), 250);
  EXPECT_GE(closeRight(), 240);
  EXPECT_LE(closeRight(), 250);
}

TEST_F(SkinTest, CaptionShowsTheTitleInWhite) {
  const struct {
    const char* title;
    bool white;
  } cases[] = {{"Tavrik board", true}, {"", false}};
  for (const auto& c : cases) {
    auto window = MakeWindow();
    window->setWindowTitle(QString::fromUtf8(c.title));
    Skin().SkinWindow(window.get());
    ShowAndWait(window.get());
    const QImage shot = Shot(window.get());
    EXPECT_EQ(CountNear(shot, QRect(0, 0, 150, 25), Qt::white, 40) > 10, c.white) << c.title;
    EXPECT_TRUE(Near(shot.pixelColor(200, 2), kAccentColour, 0));
  }
}

TEST_F(SkinTest, TitleChangeIsShown) {
  auto window = MakeWindow();
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  EXPECT_EQ(CountNear(Shot(window.get()), QRect(0, 0, 150, 25), Qt::white, 40), 0);
  window->setWindowTitle(QStringLiteral("Sounds"));
  EXPECT_GT(CountNear(Shot(window.get()), QRect(0, 0, 150, 25), Qt::white, 40), 10);
}

struct CloseCase {
  const char* name;
  bool allow;
};

TEST_F(SkinTest, CloseButtonAsksTheWindowToClose) {
  const CloseCase cases[] = {{"refused", false}, {"accepted", true}};
  for (const CloseCase& c : cases) {
    ClosableWindow window(c.allow);
    window.setGeometry(300, 300, 300, 200);
    Skin().SkinWindow(&window);
    ShowAndWait(&window);
    QWidget* close = Find(&window, "caption-close");
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(window.closeRequests, 1) << c.name;
    EXPECT_EQ(window.isVisible(), !c.allow) << c.name;
  }
}

TEST_F(SkinTest, MaximiseTogglesAndMinimiseMinimises) {
  auto window = MakeWindow({300, 300, 300, 200}, kTitled | Qt::WindowMinMaxButtonsHint);
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  QWidget* maximise = Find(window.get(), "caption-maximise");
  ASSERT_NE(maximise, nullptr);
  QTest::mouseClick(maximise, Qt::LeftButton);
  EXPECT_TRUE(window->isMaximized());
  QTest::mouseClick(maximise, Qt::LeftButton);
  EXPECT_FALSE(window->isMaximized());
  QWidget* minimise = Find(window.get(), "caption-minimise");
  ASSERT_NE(minimise, nullptr);
  QTest::mouseClick(minimise, Qt::LeftButton);
  EXPECT_TRUE(window->isMinimized());
}

TEST_F(SkinTest, MenuButtonCallsItsHandler) {
  for (const bool handlerFirst : {true, false}) {
    auto window = MakeWindow();
    int calls = 0;
    if (handlerFirst) {
      Skin().SetMenuButtonHandler(window.get(), [&calls] { ++calls; });
    }
    Skin().SkinWindow(window.get(), {.menuButton = true});
    ShowAndWait(window.get());
    QWidget* menu = Find(window.get(), "caption-menu");
    ASSERT_NE(menu, nullptr);
    QTest::mouseClick(menu, Qt::LeftButton);  // with no handler yet: nothing happens
    EXPECT_EQ(calls, handlerFirst ? 1 : 0);
    Skin().SetMenuButtonHandler(window.get(), [&calls] { calls += 10; });
    QTest::mouseClick(menu, Qt::LeftButton);
    EXPECT_EQ(calls, handlerFirst ? 11 : 10);
    EXPECT_NE(Find(window.get(), "caption-close"), nullptr);
  }
}

TEST_F(SkinTest, AddedButtonsSitLeftOfTheOthersInTheOrderAdded) {
  const QColor colours[] = {QColor(255, 0, 0), QColor(0, 0, 255)};
  for (const bool addFirst : {true, false}) {
    auto window = MakeWindow({300, 300, 320, 200}, kTitled | Qt::WindowMinimizeButtonHint);
    std::vector<int> clicks;
    const auto add = [&] {
      Skin().AddCaptionButton(window.get(), Png(Filled({26, 18}, colours[0])), QStringLiteral("Record"),
                              [&clicks] { clicks.push_back(1); });
      Skin().AddCaptionButton(window.get(), Png(Filled({26, 18}, colours[1])), QStringLiteral("Mute"),
                              [&clicks] { clicks.push_back(2); });
    };
    if (addFirst) {
      add();
    }
    Skin().SkinWindow(window.get(), {.menuButton = true});
    if (!addFirst) {
      add();
    }
    ShowAndWait(window.get());

    QWidget* menu = Find(window.get(), "caption-menu");
    QWidget* first = Find(window.get(), "caption-button-1");
    QWidget* second = Find(window.get(), "caption-button-2");
    ASSERT_TRUE(menu && first && second) << addFirst;
    EXPECT_EQ(Find(window.get(), "caption-button-3"), nullptr);
    const auto left = [&](QWidget* w) { return w->mapTo(window.get(), QPoint(0, 0)).x(); };
    EXPECT_LE(left(first) + first->width(), left(menu));
    EXPECT_LE(left(second) + second->width(), left(first));
    EXPECT_EQ(first->toolTip(), QStringLiteral("Record"));
    EXPECT_EQ(second->toolTip(), QStringLiteral("Mute"));

    const QImage shot = Shot(window.get());
    EXPECT_TRUE(Near(shot.pixelColor(first->mapTo(window.get(), first->rect().center())), colours[0], 8));
    EXPECT_TRUE(Near(shot.pixelColor(second->mapTo(window.get(), second->rect().center())), colours[1], 8));

    QTest::mouseClick(second, Qt::LeftButton);
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_EQ(clicks, (std::vector<int>{2, 1}));
  }
}

TEST_F(SkinTest, SecondRegistrationOnlyChangesTheOptions) {
  auto window = MakeWindow({300, 300, 200, 200});
  Skin().AddCaptionButton(window.get(), Png(Filled({26, 18}, Qt::red)), QStringLiteral("One"), [] {});
  Skin().SkinWindow(window.get(), {.menuButton = true, .bottomBand = 20});
  ShowAndWait(window.get());
  EXPECT_TRUE(Near(PixelOf(window.get(), {100, 190}), kAccentColour, 0));

  Skin().SkinWindow(window.get(), {.helpButton = true});
  QApplication::processEvents();
  EXPECT_EQ(window->findChildren<QWidget*>(QStringLiteral("skin-caption")).size(), 1);
  EXPECT_EQ(Find(window.get(), "caption-menu"), nullptr);
  EXPECT_NE(Find(window.get(), "caption-help"), nullptr);
  EXPECT_EQ(window->findChildren<QWidget*>(QStringLiteral("caption-close")).size(), 1);
  EXPECT_NE(Find(window.get(), "caption-button-1"), nullptr);
  EXPECT_TRUE(Near(PixelOf(window.get(), {100, 190}), ColourOf(kBase), 0));
}

struct DragCase {
  const char* name;
  Qt::MouseButton button;
  std::vector<QPoint> moves;  // from the press, in global coordinates
  QPoint moved;
};

TEST_F(SkinTest, DraggingTheCaptionMovesTheWindow) {
  const DragCase cases[] = {
      {"left", Qt::LeftButton, {{30, 20}}, {30, 20}},
      {"left_back_and_forth", Qt::LeftButton, {{10, 5}, {-40, 7}, {25, -12}}, {25, -12}},
      {"right_does_not_move", Qt::RightButton, {{30, 20}}, {0, 0}},
  };
  for (const DragCase& c : cases) {
    auto window = MakeWindow({300, 300, 300, 200});
    Skin().SkinWindow(window.get());
    ShowAndWait(window.get());
    QWidget* caption = Find(window.get(), "skin-caption");
    ASSERT_NE(caption, nullptr);
    const QPoint start = window->pos();
    const QPoint grip(60, 12);
    const QPoint pressedAt = caption->mapToGlobal(grip);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(grip), QPointF(pressedAt), c.button, c.button,
                      Qt::NoModifier);
    QApplication::sendEvent(caption, &press);
    for (const QPoint& offset : c.moves) {
      const QPoint global = pressedAt + offset;
      QMouseEvent move(QEvent::MouseMove, QPointF(caption->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                       c.button, Qt::NoModifier);
      QApplication::sendEvent(caption, &move);
    }
    const QPoint releasedAt = pressedAt + c.moves.back();
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(caption->mapFromGlobal(releasedAt)),
                        QPointF(releasedAt), c.button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(caption, &release);
    QApplication::processEvents();

    EXPECT_EQ(window->pos(), start + c.moved) << c.name;

    // Moving the mouse after the release leaves the window where it is.
    const QPoint later = releasedAt + QPoint(50, 50);
    QMouseEvent after(QEvent::MouseMove, QPointF(caption->mapFromGlobal(later)), QPointF(later), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(caption, &after);
    EXPECT_EQ(window->pos(), start + c.moved) << c.name;
  }
}

TEST_F(SkinTest, ControlsKeepTheirPlacesAndTheCaptionStaysOnTop) {
  auto window = MakeWindow();
  auto* underBand = new QLineEdit(window.get());
  underBand->setGeometry(5, 5, 120, 24);
  auto* button = new QPushButton(QStringLiteral("Play"), window.get());
  button->setGeometry(10, 60, 80, 30);
  ShowAndWait(window.get());

  Skin().SkinWindow(window.get());
  QApplication::processEvents();
  EXPECT_EQ(underBand->geometry(), QRect(5, 5, 120, 24));
  EXPECT_EQ(button->geometry(), QRect(10, 60, 80, 30));
  QWidget* caption = Find(window.get(), "skin-caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(window->childAt(20, 12), caption);
  EXPECT_EQ(window->childAt(20, 70), button);

  // A control made after the window was skinned goes under the band too.
  auto* later = new QLabel(QStringLiteral("later"), window.get());
  later->setGeometry(0, 0, 300, 40);
  later->show();
  QApplication::processEvents();
  EXPECT_EQ(window->childAt(20, 12), caption);
  EXPECT_EQ(window->childAt(20, 32), later);
  EXPECT_EQ(later->geometry(), QRect(0, 0, 300, 40));
}

// ---------------------------------------------------------------------------
// Controls

struct VeilCase {
  int veil;
  int grey;  // the button's face over the black base
};

TEST_F(SkinTest, ControlVeilLightensControlSurfacesWithAnAccentBorder) {
  const VeilCase cases[] = {{0, 0}, {160, 160}, {255, 255}, {-5, 0}, {300, 255}};
  auto window = MakeWindow({300, 300, 200, 140});
  auto* button = new QPushButton(window.get());
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(20, 50, 100, 40);
  auto* edit = new QLineEdit(window.get());
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setGeometry(20, 100, 100, 30);
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  for (const VeilCase& c : cases) {
    Skin().SetControlVeil(c.veil);
    EXPECT_EQ(Skin().veil(), c.grey);
    const QImage shot = Shot(window.get());
    EXPECT_TRUE(Near(shot.pixelColor(70, 70), QColor(c.grey, c.grey, c.grey), 2)) << c.veil;
    EXPECT_TRUE(Near(shot.pixelColor(70, 115), QColor(c.grey, c.grey, c.grey), 2)) << c.veil;
    EXPECT_TRUE(Near(shot.pixelColor(20, 70), kAccentColour, 2)) << c.veil;
    EXPECT_TRUE(Near(shot.pixelColor(170, 70), ColourOf(kBase), 0)) << c.veil;
  }
}

TEST_F(SkinTest, NewAccentRestylesControls) {
  auto window = MakeWindow({300, 300, 200, 140});
  auto* button = new QPushButton(window.get());
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(20, 50, 100, 40);
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  EXPECT_TRUE(Near(PixelOf(window.get(), {20, 70}), kAccentColour, 2));
  Skin().SetSkin({.baseColour = kBase, .accentColour = 0x00FF00});
  const QImage shot = Shot(window.get());
  EXPECT_TRUE(Near(shot.pixelColor(20, 70), QColor(0, 255, 0), 2));
  EXPECT_TRUE(Near(shot.pixelColor(150, 10), QColor(0, 255, 0), 0));  // the caption band too
}

struct TextColourCase {
  const char* name;
  std::function<QWidget*(QWidget* parent)> make;
};

class TextColourTest : public SkinTest, public testing::WithParamInterface<TextColourCase> {};

void ExpectTextColour(QWidget* control, const QColor& colour, const char* when) {
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    EXPECT_EQ(control->palette().color(role), colour) << when << ", role " << role;
  }
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    ASSERT_NE(combo->lineEdit(), nullptr);
    EXPECT_EQ(combo->lineEdit()->palette().color(QPalette::Text), colour) << when << ", combo's edit field";
  }
}

TEST_P(TextColourTest, FromAnotherThreadAppliesOnTheInterfaceThreadAndOutlastsRestyling) {
  auto window = MakeWindow();
  QWidget* control = GetParam().make(window.get());
  control->setGeometry(20, 60, 150, 30);
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  const QColor red(255, 0, 0);

  std::thread worker([control] { Skin().SetTextColour(control, 0x0000FF); });
  worker.join();
  EXPECT_NE(control->palette().color(QPalette::Text), red) << "changed off the interface thread";
  QApplication::processEvents();
  ExpectTextColour(control, red, "after the events ran");

  Skin().SetSkin({.bytes = Png(Filled({4, 4}, Qt::darkGray)), .accentColour = 0x00FF00});
  ExpectTextColour(control, red, "after a new skin");
  Skin().SetControlVeil(40);
  ExpectTextColour(control, red, "after a new veil");
  Skin().SetSkin({.baseColour = kBase, .accentColour = kAccent});
  ExpectTextColour(control, red, "after a second skin");
}

INSTANTIATE_TEST_SUITE_P(
    Controls, TextColourTest,
    testing::Values(TextColourCase{"line_edit", [](QWidget* parent) { return new QLineEdit(parent); }},
                    TextColourCase{"push_button",
                                   [](QWidget* parent) { return new QPushButton(QStringLiteral("Go"), parent); }},
                    TextColourCase{"label", [](QWidget* parent) { return new QLabel(QStringLiteral("x"), parent); }},
                    TextColourCase{"editable_combo",
                                   [](QWidget* parent) {
                                     auto* combo = new QComboBox(parent);
                                     combo->setEditable(true);
                                     combo->addItems({QStringLiteral("one"), QStringLiteral("two")});
                                     return combo;
                                   }}),
    CaseName<TextColourCase>);

TEST_F(SkinTest, TextColourSetBeforeSkinningIsKept) {
  auto window = MakeWindow();
  auto* edit = new QLineEdit(window.get());
  Skin().SetTextColour(edit, 0x00FF00);
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  Skin().SetSkin({.baseColour = 0x101010, .accentColour = 0xFF0000});
  EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(0, 255, 0));
}

TEST_F(SkinTest, TextColourIsWhatTheControlDraws) {
  auto window = MakeWindow({300, 300, 260, 140});
  auto* button = new QPushButton(QStringLiteral("WWWW"), window.get());
  button->setFocusPolicy(Qt::NoFocus);
  QFont font = button->font();
  font.setPixelSize(24);
  font.setBold(true);
  button->setFont(font);
  button->setGeometry(20, 50, 220, 60);
  Skin().SkinWindow(window.get());
  Skin().SetControlVeil(0);
  ShowAndWait(window.get());
  Skin().SetTextColour(button, 0x0000FF);
  const QRect face(22, 52, 216, 56);
  EXPECT_GT(CountNear(Shot(window.get()), face, QColor(255, 0, 0), 40), 20);
  Skin().SetSkin({.baseColour = kBase, .accentColour = 0x00FF00});
  EXPECT_GT(CountNear(Shot(window.get()), face, QColor(255, 0, 0), 40), 20);
}

TEST_F(SkinTest, TextColourForAControlDeletedMeanwhileIsDropped) {
  auto window = MakeWindow();
  QWidget* edit = new QLineEdit(window.get());
  std::thread worker([edit] { Skin().SetTextColour(edit, 0x0000FF); });
  worker.join();
  delete edit;
  QApplication::processEvents();  // must not touch the deleted control
  EXPECT_TRUE(window->findChildren<QLineEdit*>().isEmpty());
}

// ---------------------------------------------------------------------------
// Containers

struct ContainerCase {
  const char* name;
  bool tabs;
  int level;
};

class ContainerTest : public SkinTest, public testing::WithParamInterface<ContainerCase> {};

TEST_P(ContainerTest, IsTintedOverThePictureAndTheFirstTintStays) {
  const ContainerCase& c = GetParam();
  Skin().SetSkin({.bytes = Png(Filled({8, 8}, QColor(0, 0, 200)))});
  Skin().SetControlVeil(0);
  auto window = MakeWindow({300, 300, 240, 200});
  QWidget* container = nullptr;
  QWidget* pageArea = nullptr;
  if (c.tabs) {
    auto* tabs = new QTabWidget(window.get());
    tabs->addTab(new QWidget, QStringLiteral("One"));
    tabs->addTab(new QWidget, QStringLiteral("Two"));
    container = tabs;
    pageArea = tabs->findChild<QStackedWidget*>();
  } else {
    auto* stack = new QStackedWidget(window.get());
    stack->addWidget(new QWidget);
    container = stack;
    pageArea = stack;
  }
  container->setGeometry(20, 40, 200, 140);
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  ASSERT_NE(pageArea, nullptr);
  const QPoint centre = pageArea->mapTo(window.get(), pageArea->rect().center());
  const QColor before = PixelOf(window.get(), centre);
  EXPECT_TRUE(Near(before, QColor(0, 0, 200), 0));

  Skin().SkinContainer(container, 0x0000FF, c.level);
  const QColor expected = Blend(QColor(255, 0, 0), c.level, QColor(0, 0, 200));
  EXPECT_TRUE(Near(PixelOf(window.get(), centre), expected, 2));
  EXPECT_TRUE(Near(PixelOf(window.get(), {5, 100}), QColor(0, 0, 200), 0)) << "outside the container";

  Skin().SkinContainer(container, 0x00FF00, 255);
  EXPECT_TRUE(Near(PixelOf(window.get(), centre), expected, 2));
}

INSTANTIATE_TEST_SUITE_P(Containers, ContainerTest,
                         testing::Values(ContainerCase{"stack_full", false, 255},
                                         ContainerCase{"stack_faint", false, 20},
                                         ContainerCase{"stack_half", false, 128},
                                         ContainerCase{"tab_pages", true, 128}),
                         CaseName<ContainerCase>);

TEST_F(SkinTest, ContainerLevelDefaultsToOpaque) {
  auto window = MakeWindow({300, 300, 240, 200});
  auto* stack = new QStackedWidget(window.get());
  stack->setGeometry(20, 40, 200, 140);
  Skin().SkinWindow(window.get());
  ShowAndWait(window.get());
  Skin().SkinContainer(stack, 0x00FFFF);
  EXPECT_TRUE(Near(PixelOf(window.get(), {120, 110}), QColor(255, 255, 0), 0));
}

// ---------------------------------------------------------------------------
// Image buttons

struct IconCase {
  const char* name;
  std::vector<std::pair<int, QColor>> images;  // side, colour, in file order
  int side;                                    // of the image shown
  QColor shown;
};

TEST_F(SkinTest, ImageButtonShowsTheIconNearestToSixteenPixels) {
  const IconCase cases[] = {
      {"exact_among_others", {{32, Qt::blue}, {16, Qt::red}, {48, Qt::green}}, 16, Qt::red},
      {"nearest_larger", {{48, Qt::green}, {32, Qt::blue}}, 32, Qt::blue},
      {"nearest_smaller", {{8, Qt::yellow}, {48, Qt::green}}, 8, Qt::yellow},
      {"tie_goes_to_the_larger", {{8, Qt::yellow}, {24, Qt::cyan}}, 24, Qt::cyan},
      {"single", {{32, Qt::magenta}}, 32, Qt::magenta},
  };
  for (const IconCase& c : cases) {
    std::vector<QImage> images;
    for (const auto& [side, colour] : c.images) {
      images.push_back(Filled({side, side}, colour));
    }
    QPushButton button;
    Skin().SkinImageButton(&button, IcoOf(images));
    ASSERT_FALSE(button.icon().isNull()) << c.name;
    EXPECT_EQ(button.iconSize(), QSize(16, 16)) << c.name;
    EXPECT_EQ(button.icon().availableSizes(), QList<QSize>{QSize(c.side, c.side)}) << c.name;
    // As drawn on the button: never more than 16 pixels.
    const QImage shown = button.icon().pixmap(button.iconSize()).toImage();
    EXPECT_EQ(shown.width(), std::min(16, c.side)) << c.name;
    EXPECT_TRUE(Near(shown.pixelColor(shown.width() / 2, shown.height() / 2), c.shown, 0)) << c.name;
  }
}

TEST_F(SkinTest, ImageButtonWithUnreadableIconKeepsNoIcon) {
  QPushButton button(QStringLiteral("Play"));
  Skin().SkinImageButton(&button, QByteArray("no icon here"));
  EXPECT_TRUE(button.icon().isNull());
  EXPECT_EQ(button.text(), QStringLiteral("Play"));
}

// ---------------------------------------------------------------------------
// Message box

struct MessageCase {
  const char* name;
  const char* dismissWith;
  bool owned;
};

class MessageBoxTest : public SkinTest, public testing::WithParamInterface<MessageCase> {};

TEST_P(MessageBoxTest, ShowsTextAndCaptionAndReturnsWhenDismissed) {
  const MessageCase& c = GetParam();
  auto owner = MakeWindow({200, 150, 500, 400});
  if (c.owned) {
    Skin().SkinWindow(owner.get());
    ShowAndWait(owner.get());
  }
  struct Seen {
    bool found = false;
    QString objectName, title, text;
    bool frameless = false, hasCaption = false, hasClose = false, clicked = false;
    QPoint centre;
  } seen;
  bool timedOut = false;

  QTimer::singleShot(0, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() != QStringLiteral("skin-message-box") || !top->isVisible()) {
        continue;
      }
      seen.found = true;
      seen.objectName = top->objectName();
      seen.title = top->windowTitle();
      seen.frameless = top->windowFlags().testFlag(Qt::FramelessWindowHint);
      seen.hasCaption = Find(top, "skin-caption") != nullptr;
      seen.hasClose = Find(top, "caption-close") != nullptr;
      seen.centre = top->geometry().center();
      for (QLabel* label : top->findChildren<QLabel*>()) {
        if (label->isVisible()) {
          seen.text += label->text();
        }
      }
      if (QWidget* button = Find(top, c.dismissWith)) {
        seen.clicked = true;
        QTest::mouseClick(button, Qt::LeftButton);
      }
    }
  });
  // Never hang: whatever is still open after a while is closed.
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    timedOut = true;
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      dialog->reject();
    }
  });
  watchdog.start(5000);

  Skin().ShowMessageBox(c.owned ? owner.get() : nullptr, QStringLiteral("The sound file is missing."),
                        QStringLiteral("Tavrik"));

  EXPECT_FALSE(timedOut);
  ASSERT_TRUE(seen.found);
  EXPECT_TRUE(seen.clicked);
  EXPECT_EQ(seen.title, QStringLiteral("Tavrik"));
  EXPECT_TRUE(seen.text.contains(QStringLiteral("The sound file is missing.")));
  EXPECT_TRUE(seen.frameless);
  EXPECT_TRUE(seen.hasCaption);
  EXPECT_TRUE(seen.hasClose);
  const QPoint expectedCentre = c.owned ? owner->geometry().center()
                                        : QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE((seen.centre - expectedCentre).manhattanLength(), 2);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(top->objectName() == QStringLiteral("skin-message-box") && top->isVisible());
  }
}

INSTANTIATE_TEST_SUITE_P(Dismissals, MessageBoxTest,
                         testing::Values(MessageCase{"ok_button", "message-ok", true},
                                         MessageCase{"caption_close", "caption-close", true},
                                         MessageCase{"no_owner", "message-ok", false}),
                         CaseName<MessageCase>);

// ---------------------------------------------------------------------------
// Picture panel

struct PanelCase {
  const char* name;
  int mode;
  std::vector<std::pair<QPoint, QColor>> samples;
};

// A 20x20 picture, red left half and blue right half, on a 100x50 black panel.
TEST_F(SkinTest, PicturePanelDrawsThePictureByMode) {
  const QColor red(255, 0, 0), blue(0, 0, 255), black(0, 0, 0);
  const PanelCase cases[] = {
      // Fitted: 50x50 in the middle, x 25..75.
      {"fit", 3, {{{35, 25}, red}, {{65, 25}, blue}, {{10, 25}, black}, {{90, 25}, black}}},
      {"stretch", 1, {{{10, 25}, red}, {{45, 25}, red}, {{55, 25}, blue}, {{90, 25}, blue}}},
      {"tile", 4, {{{5, 25}, red}, {{15, 25}, blue}, {{25, 25}, red}, {{35, 25}, blue}, {{5, 45}, red}}},
  };
  for (const PanelCase& c : cases) {
    QWidget panel;
    panel.setGeometry(300, 300, 100, 50);
    panel.setAutoFillBackground(true);
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, black);
    panel.setPalette(palette);
    SkinPicturePanel picture;
    picture.Attach(&panel, Png(Stripes({20, 20}, {red, blue})), c.mode);
    ShowAndWait(&panel);
    const QImage shot = Shot(&panel);
    for (const auto& [at, colour] : c.samples) {
      EXPECT_TRUE(Near(shot.pixelColor(at), colour, 30)) << c.name << " at " << at.x() << "," << at.y();
    }
  }
}

TEST_F(SkinTest, PicturePanelRedrawRepaintsAndAttachReplacesThePicture) {
  QWidget panel;
  panel.setGeometry(300, 300, 100, 50);
  SkinPicturePanel picture;
  picture.Attach(&panel, Png(Filled({10, 10}, Qt::red)), 1);
  ShowAndWait(&panel);
  PaintCounter counter(&panel);
  QApplication::processEvents();
  counter.paints = 0;
  picture.Redraw();
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
  picture.Attach(&panel, Png(Filled({10, 10}, Qt::green)), 1);
  EXPECT_TRUE(Near(PixelOf(&panel, {50, 25}), QColor(0, 255, 0), 0));
}

// ---------------------------------------------------------------------------
// Item strip

class TabStripTest : public SkinTest {
protected:
  static constexpr int kWidth = 64;
  static constexpr int kHeight = 60;

  void SetUp() override {
    SkinTest::SetUp();
    m_panel.setGeometry(300, 300, 400, 80);
    m_panel.setAutoFillBackground(true);
    QPalette palette = m_panel.palette();
    palette.setColor(QPalette::Window, Qt::black);
    m_panel.setPalette(palette);
    m_strip.Create(&m_panel, kWidth, kHeight);
    const QColor icons[] = {Qt::white, Qt::red, Qt::green, Qt::yellow};
    int n = 0;
    for (const QColor& colour : icons) {
      m_strip.AddItem(Png(Filled({16, 16}, colour)), QStringLiteral("Item %1").arg(++n));
    }
    m_strip.SetClickHandler([this](int item) { m_clicked.push_back(item); });
    ShowAndWait(&m_panel);
    m_widget = Find(&m_panel, "tab-strip");
    ASSERT_NE(m_widget, nullptr);
  }

  QWidget m_panel;
  SkinTabStrip m_strip;
  QWidget* m_widget = nullptr;
  std::vector<int> m_clicked;
};

TEST_F(TabStripTest, FillsThePanel) { EXPECT_EQ(m_widget->geometry(), m_panel.rect()); }

TEST_F(TabStripTest, LeftClickReportsTheItemUnderTheMouse) {
  const struct {
    const char* name;
    QPoint at;
    Qt::MouseButton button;
    std::vector<int> reported;
  } cases[] = {
      {"first", {10, 20}, Qt::LeftButton, {1}},
      {"third", {2 * kWidth + 10, 20}, Qt::LeftButton, {3}},
      {"fourth_far_corner", {4 * kWidth - 1, kHeight - 1}, Qt::LeftButton, {4}},
      {"second_left_edge", {kWidth, 30}, Qt::LeftButton, {2}},
      {"right_of_the_items", {4 * kWidth + 10, 20}, Qt::LeftButton, {}},
      {"below_the_items", {10, kHeight + 5}, Qt::LeftButton, {}},
      {"right_button", {2 * kWidth + 10, 20}, Qt::RightButton, {}},
  };
  for (const auto& c : cases) {
    m_clicked.clear();
    QTest::mouseClick(m_widget, c.button, Qt::NoModifier, c.at);
    EXPECT_EQ(m_clicked, c.reported) << c.name;
  }
}

TEST_F(TabStripTest, SelectedItemIsHighlightedInTheAccentColour) {
  const auto corner = [](int item) { return QPoint((item - 1) * kWidth + 2, kHeight / 2); };
  QImage shot = Shot(m_widget);
  EXPECT_TRUE(Near(shot.pixelColor(corner(1)), kAccentColour, 0));
  EXPECT_TRUE(Near(shot.pixelColor(corner(3)), Qt::black, 0));
  QTest::mouseClick(m_widget, Qt::LeftButton, Qt::NoModifier, QPoint(2 * kWidth + 30, 10));
  shot = Shot(m_widget);
  EXPECT_TRUE(Near(shot.pixelColor(corner(1)), Qt::black, 0));
  EXPECT_TRUE(Near(shot.pixelColor(corner(3)), kAccentColour, 0));
}

TEST_F(TabStripTest, IconIsScaledToFitAboveTheText) {
  const QImage shot = Shot(m_widget);
  // Item 2's 16-pixel red icon grown to fill the room above the text: red
  // well beyond 8 pixels either side of the item's middle.
  const int middle = kWidth + kWidth / 2;
  EXPECT_TRUE(Near(shot.pixelColor(middle, 20), Qt::red, 0));
  EXPECT_TRUE(Near(shot.pixelColor(middle - 13, 20), Qt::red, 0));
  EXPECT_TRUE(Near(shot.pixelColor(middle + 13, 20), Qt::red, 0));
  EXPECT_TRUE(Near(shot.pixelColor(middle, 2), Qt::black, 0));
}

TEST_F(TabStripTest, TextIsDrawnInItsColourWithAnOutline) {
  m_strip.SetFont(QStringLiteral("DejaVu Sans"), 16, 0x0000FF, 0xFF0000);
  m_strip.Redraw();
  const QImage shot = Shot(m_widget);
  const QRect textRow(kWidth, kHeight - 26, kWidth, 26);  // item 2, below its icon
  EXPECT_GT(CountNear(shot, textRow, QColor(255, 0, 0), 40), 5);
  EXPECT_GT(CountNear(shot, textRow, QColor(0, 0, 255), 40), 5);
  // Another outline colour changes what is drawn.
  m_strip.SetFont(QStringLiteral("DejaVu Sans"), 16, 0x0000FF, 0x00FF00);
  const QImage recoloured = Shot(m_widget);
  EXPECT_EQ(CountNear(recoloured, textRow, QColor(0, 0, 255), 40), 0);
  EXPECT_GT(CountNear(recoloured, textRow, QColor(0, 255, 0), 40), 5);
}

}  // namespace
}  // namespace tavrik

int main(int argc, char** argv) {
  // The list of tests is also read at build time, with no display about.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
