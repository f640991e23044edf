// Binding a file to a slot: the open-file dialog, the copy into mp3/ and the
// naming dialog.
#include "app/board.h"

#include "app/naming_dialog.h"
#include "audio/slot_assignment.h"

#include <QFileDialog>
#include <QPushButton>

namespace tavrik {

void Board::CreateNamingDialog() {
  m_namingDialog = std::make_unique<NamingDialog>(m_runDirectory, [this](int slot, const QString& name) {
    if (auto* button = m_built.Control<QPushButton>(SlotButtonName(slot))) {
      button->setText(name);
    }
  });
}

void Board::AssignSoundFile() {
  // Any file of any type: no filter, no title, no start folder.
  const QString chosen = QFileDialog::getOpenFileName(this);
  if (chosen.isEmpty()) {
    return;
  }
  CopyToTemporarySoundFile(m_runDirectory, chosen.toStdString());
  m_namingDialog->ShowOnTop();
}

}  // namespace tavrik
