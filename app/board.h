#pragma once

#include "audio/audio_library.h"
#include "audio/dispatch_table.h"
#include "audio/playback_engine.h"
#include "audio/slot_table.h"
#include "skin/skin_manager.h"
#include "skin/skin_selection.h"
#include "ui/window_builder.h"

#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <thread>

namespace tavrik {

class HotkeyDialog;
class NamingDialog;
class HotkeyService;
class Tray;

// The main window and the handlers of its events.
class Board : public QWidget {
public:
  explicit Board(std::string runDirectory);
  ~Board() override;

  // The creation handler, in its fixed order. False when another instance
  // runs: the process is to end with code 0.
  bool Start();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void OnEvent(const std::string& source, ControlEvent event, int value);
  void OnMenuItem(const QString& caption);
  void FillDeviceList();
  void StyleMainWindow();
  void StyleMenuButton();
  void StartThreads();
  void ShowPage(int page);
  void OpenSlotMenu(int slot);
  void OpenSkinMenu();
  void OpenMainMenu();
  void SearchKeynotes();
  void HideToTray();
  void EndProgram();
  void FadeStep();
  void CreateHotkeyDialog();
  void OpenHotkeyDialog(int entry);
  void DestroyHotkeyDialog();
  void CreateNamingDialog();
  void AssignSoundFile();

  std::string m_runDirectory;
  std::unique_ptr<AudioLibrary> m_library;
  PlaybackEngine m_engine;
  SlotTable m_slots;
  DispatchTable m_dispatch;
  BuiltWindow m_built;
  SkinPicturePanel m_banner;
  SkinTabStrip m_pageStrip;
  SkinSelection m_skins;
  std::unique_ptr<Tray> m_tray;
  std::unique_ptr<HotkeyService> m_hotkeys;
  std::unique_ptr<HotkeyDialog> m_hotkeyDialog;
  std::unique_ptr<NamingDialog> m_namingDialog;
  QTimer m_fade;
  int m_fadeStep = 0;
  std::thread m_titlesThread;
  std::thread m_coloursThread;
  // The slot the dialogs serve, set when a slot menu closes.
  int m_hotkeyTarget = 0;
  int m_namingTarget = 0;
};

}  // namespace tavrik
