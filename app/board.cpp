#include "app/board.h"

#include "audio/output_devices.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"

#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>

namespace tavrik {

namespace {

constexpr std::string_view kSlotPrefix = "按钮";

// The slot number of a slot button's name, or 0.
int SlotOfButton(const std::string& name) {
  if (name.rfind(kSlotPrefix, 0) != 0) {
    return 0;
  }
  const std::string digits = name.substr(kSlotPrefix.size());
  if (digits.empty() || digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  const int slot = std::stoi(digits);
  return slot >= 1 && slot <= kSlotCount && SlotButtonName(slot) == name ? slot : 0;
}

}  // namespace

Board::Board(std::string runDirectory)
    : m_runDirectory(std::move(runDirectory)),
      m_library(CreateAudioLibrary()),
      m_engine(*m_library),
      m_slots(m_runDirectory, m_engine),
      m_dispatch(m_slots, m_engine) {
  m_built = BuildWindow(MainWindowDescription(), this,
                        [this](const std::string& source, ControlEvent event, int value) { OnEvent(source, event, value); });
}

Board::~Board() {
  m_library->Free();
}

void Board::Start() {
  FillDeviceList();
  m_engine.SetVolume(1.0f);
  if (auto* slider = m_built.Control<QSlider>("滑块条1")) {
    const QSignalBlocker quiet(slider);  // set by the program: not a user's move
    slider->setValue(static_cast<int>(m_engine.volume() * 100.0));
  }
  LoadTitles();
  const QRect screen = this->screen()->availableGeometry();
  move(screen.center() - rect().center());
  show();
}

void Board::FillDeviceList() {
  auto* list = m_built.Control<QComboBox>("组合框1");
  const auto devices = ListOutputDevices(*m_library);
  for (const OutputDevice& device : devices) {
    list->insertItem(device.number - 1, QString::fromStdString(device.name), device.number);
  }
  const int position = OpenStoredDevice(*m_library, m_runDirectory);
  list->setCurrentIndex(ClampListPosition(position, list->count()));
}

void Board::LoadTitles() {
  const std::string titles = m_runDirectory + std::string(kTitlesFile);
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (auto* button = m_built.Control<QPushButton>(SlotButtonName(slot))) {
      button->setText(QString::fromStdString(ReadSetting(titles, kSlotSection, SlotKey(slot))));
    }
  }
}

void Board::OnEvent(const std::string& source, ControlEvent event, int value) {
  if (const int slot = SlotOfButton(source); slot != 0) {
    if (event == ControlEvent::Clicked) {
      m_slots.PlaySlot(slot);
    }
    return;
  }
  if (source == "停止播放" && event == ControlEvent::Clicked) {
    m_engine.StopPlayback();
  } else if (source == "滑块条1" && event == ControlEvent::PositionChanged) {
    m_engine.SetVolumeFromSlider(value);
  } else if (source == "组合框1" && event == ControlEvent::ItemSelected) {
    auto* list = m_built.Control<QComboBox>("组合框1");
    const int index = list->currentIndex();
    ChangeOutputDevice(*m_library, m_runDirectory, index >= 0 ? list->itemData(index).toInt() : -1);
  }
}

}  // namespace tavrik
