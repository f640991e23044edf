#include "app/board.h"
#include "settings/data_files.h"
#include "skin/skin_manager.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The board lives in the tray when its window is closed.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/artwork/app.ico")));
  tavrik::SkinManager::Instance();
  tavrik::Board board(tavrik::RunDirectory());
  if (!board.Start()) {
    return 0;
  }
  return QApplication::exec();
}
