#include "app/board.h"
#include "settings/data_files.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  tavrik::Board board(tavrik::RunDirectory());
  board.Start();
  return QApplication::exec();
}
