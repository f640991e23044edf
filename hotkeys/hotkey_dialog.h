#pragma once

#include "ui/window_builder.h"

#include <QWidget>
#include <string>

namespace tavrik {

class DispatchTable;
class HotkeyService;

// The window in which the user picks a slot's hotkey. It is made once, hidden,
// registers every stored hotkey as it is made, and lives for the whole run;
// closing it only hides it, so the hotkeys keep working.
class HotkeyDialog : public QWidget {
public:
  HotkeyDialog(std::string runDirectory, HotkeyService& service, DispatchTable& table);

  // Shows the dialog on top, for entry k (a slot's number minus one), with
  // that entry's stored modifier and key.
  void OpenHotkeyDialog(int k);

  int targetEntry() const { return m_target; }
  const std::string& pendingModifier() const { return m_pendingModifier; }

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void OnEvent(const std::string& source);
  void Confirm();
  void SetOnTop(bool onTop);

  std::string m_runDirectory;
  HotkeyService& m_service;
  DispatchTable& m_table;
  BuiltWindow m_built;
  int m_target = 0;
  std::string m_pendingModifier = "0";
};

}  // namespace tavrik
