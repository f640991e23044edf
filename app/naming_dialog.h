#pragma once

#include "ui/window_builder.h"

#include <QWidget>
#include <string>

namespace tavrik {

// The window in which the user names the sound just chosen for a slot. It is
// made once, hidden, and lives for the whole run; its close box only hides it.
class NamingDialog : public QWidget {
public:
  // `onAssigned` hears the slot and the name after a successful confirmation.
  NamingDialog(std::string runDirectory, std::function<void(int slot, const QString& name)> onAssigned);

  // Shows the dialog on top; the edit box keeps the text it had.
  void ShowOnTop();
  void SetTargetSlot(int slot) { m_targetSlot = slot; }
  int targetSlot() const { return m_targetSlot; }

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void ConfirmSoundName();
  void HideAndDropTop();

  std::string m_runDirectory;
  std::function<void(int, const QString&)> m_onAssigned;
  BuiltWindow m_built;
  int m_targetSlot = 0;
};

}  // namespace tavrik
