#pragma once

#include "audio/audio_library.h"
#include "audio/dispatch_table.h"
#include "audio/playback_engine.h"
#include "audio/slot_table.h"
#include "ui/window_builder.h"

#include <QWidget>
#include <memory>
#include <string>

namespace tavrik {

// The main window and the handlers of its events.
class Board : public QWidget {
public:
  explicit Board(std::string runDirectory);
  ~Board() override;

  // The start of the board, in its fixed order.
  void Start();

private:
  void OnEvent(const std::string& source, ControlEvent event, int value);
  void FillDeviceList();
  void LoadTitles();

  std::string m_runDirectory;
  std::unique_ptr<AudioLibrary> m_library;
  PlaybackEngine m_engine;
  SlotTable m_slots;
  DispatchTable m_dispatch;
  BuiltWindow m_built;
};

}  // namespace tavrik
