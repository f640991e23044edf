#include "app/board.h"
#include "settings/data_files.h"
#include "skin/skin_manager.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <dlfcn.h>
#include <latch>
#include <thread>

namespace {

// The fonts load on a thread of their own while the board is made: the font
// configuration at once, as it needs no application (fontconfig, which Qt has
// loaded for the platform's fonts, is found by name: the board links nothing
// more), then, once the application exists, the font database and the
// fallback fonts. The first text measured would otherwise load them all on
// the interface thread, a good part of the start-up. QFontDatabase is
// thread-safe.
std::thread StartFontLoader(std::latch& applicationMade) {
  return std::thread([&applicationMade] {
    if (auto* initialise = reinterpret_cast<int (*)()>(dlsym(RTLD_DEFAULT, "FcInit"))) {
      initialise();
    }
    applicationMade.wait();
    QFontMetrics(QFont()).height();
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  std::latch applicationMade(1);
  std::thread fontLoader = StartFontLoader(applicationMade);
  QApplication application(argc, argv);
  applicationMade.count_down();
  // The board lives in the tray when its window is closed.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/artwork/app.ico")));
  tavrik::SkinManager::Instance();
  int code = 0;
  {
    tavrik::Board board(tavrik::RunDirectory());
    if (board.Start()) {
      code = QApplication::exec();
    }
  }
  fontLoader.join();  // before the application goes
  return code;
}
