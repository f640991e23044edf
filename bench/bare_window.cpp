// The yardstick for the board's start-up figures: a bare Qt Widgets window
// of the board's size with sixty buttons, and nothing else.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.setFixedSize(683, 427);
  for (int i = 0; i < 60; ++i) {
    auto* button = new QPushButton(QStringLiteral("音效%1").arg(i + 1), &window);
    button->setGeometry(16 + 112 * (i % 5), 24 + 48 * ((i / 5) % 4), 96, 32);
  }
  window.show();
  return QApplication::exec();
}
