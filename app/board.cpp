#include "app/board.h"

#include "app/startup_core.h"
#include "app/naming_dialog.h"
#include "app/tray.h"
#include "app/web_view.h"
#include "audio/output_devices.h"
#include "extras/web_links.h"
#include "hotkeys/hotkey_dialog.h"
#include "hotkeys/hotkey_service.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "ui/menu_renderer.h"
#include "ui/window_motion.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QUrl>
#include <future>
#include <thread>

namespace tavrik {

namespace {

constexpr std::string_view kSlotPrefix = "按钮";
constexpr int kFadeSteps = 51;
constexpr int kFadeIntervalMs = 50;

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

QString Qs(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void OpenWebAddress(const std::string& address) {
  // Handed to the desktop's browser; nothing waits for it.
  QDesktopServices::openUrl(QUrl(Qs(address), QUrl::TolerantMode));
}

}  // namespace

Board::Board(std::string runDirectory)
    : m_runDirectory(std::move(runDirectory)),
      m_library(CreateAudioLibrary()),
      m_engine(*m_library),
      m_slots(m_runDirectory, m_engine),
      m_dispatch(m_slots, m_engine),
      m_skins(m_runDirectory, [this] {
        m_banner.Redraw();
        m_pageStrip.Redraw();
      }) {
  m_built = BuildWindow(MainWindowDescription(), this,
                        [this](const std::string& source, ControlEvent event, int value) { OnEvent(source, event, value); });
  setWindowIcon(QIcon(QStringLiteral(":/artwork/app.ico")));
  m_tray = std::make_unique<Tray>(this, [this](const QString& caption) { OnMenuItem(caption); });
  m_fade.setInterval(kFadeIntervalMs);
  connect(&m_fade, &QTimer::timeout, this, [this] { FadeStep(); });
}

Board::~Board() {
  // The destroy handler: the output and every stream go first, then the
  // hotkey dialog with its registrations.
  m_library->Free();
  m_namingDialog.reset();
  DestroyHotkeyDialog();
  if (m_titlesThread.joinable()) {
    m_titlesThread.join();
  }
  if (m_coloursThread.joinable()) {
    m_coloursThread.join();
  }
}

bool Board::Start() {
  // 1, 2: invisible at first, then a fade-in over 51 steps of 50 ms.
  setWindowOpacity(0.0);
  m_fade.start();
  // 4: every slot into this installation's sound folder. The path file is
  // read and rewritten key by key, each changed key flushed to the disk on
  // its own; that goes on on a thread of its own while the board is made, and
  // is over before the board shows. The process list, for 7, is read
  // meanwhile too.
  std::jthread reroot([this] { RerootSlotPaths(m_runDirectory); });
  std::future<std::vector<std::string>> running = std::async(std::launch::async, RunningExecutableNames);
  // 5: the hotkey dialog, hidden; making it registers every stored hotkey.
  CreateHotkeyDialog();
  // 6: the naming dialog, hidden.
  CreateNamingDialog();
  // 7: one board at a time.
  if (AnotherInstanceRuns(running.get(), OwnExecutableName())) {
    m_fade.stop();
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("提示："), QStringLiteral("程序已经在运行!"), QMessageBox::Ok);
    box.exec();
    return false;
  }
  // 8, 9: the stored skin, then the board's own look.
  m_skins.RestoreSkin();
  StyleMainWindow();
  // 10, 11: output device and volume.
  FillDeviceList();
  m_engine.SetVolume(1.0f);
  if (auto* slider = m_built.Control<QSlider>("滑块条1")) {
    const QSignalBlocker quiet(slider);  // set by the program: not a move of the user's
    slider->setValue(static_cast<int>(m_engine.volume() * 100.0));
  }
  // 12: the main-menu caption button.
  StyleMenuButton();
  // 13, 14: slot colours and titles, from threads of their own.
  StartThreads();
  // 16: the tray icon.
  m_tray->Place();
  reroot.join();
  SetShowState(this, 1);
  show();
  SetShowState(this, 1);
  return true;
}

void Board::FadeStep() {
  ++m_fadeStep;
  setWindowOpacity(5.0 * m_fadeStep / 255.0);
  if (m_fadeStep >= kFadeSteps) {
    m_fade.stop();
  }
}

void Board::StartThreads() {
  std::vector<QPointer<QPushButton>> buttons;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    buttons.emplace_back(m_built.Control<QPushButton>(SlotButtonName(slot)));
  }
  m_coloursThread = std::thread([buttons] {
    for (const auto& button : buttons) {
      SkinManager::Instance().SetTextColour(button, kBoardAccent);
    }
  });
  const std::string titles = m_runDirectory + std::string(kTitlesFile);
  m_titlesThread = std::thread([buttons, titles] {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      const QString title = Qs(ReadSetting(titles, kSlotSection, SlotKey(slot)));
      QPointer<QPushButton> button = buttons[static_cast<std::size_t>(slot - 1)];
      // Carried out on the interface thread; dropped if the button is gone.
      QMetaObject::invokeMethod(
          button, [button, title] { button->setText(title); }, Qt::QueuedConnection);
    }
  });
}

void Board::FillDeviceList() {
  auto* list = m_built.Control<QComboBox>("组合框1");
  const auto devices = ListOutputDevices(*m_library);
  for (const OutputDevice& device : devices) {
    list->insertItem(device.number - 1, Qs(device.name), device.number);
  }
  const int position = OpenStoredDevice(*m_library, m_runDirectory);
  list->setCurrentIndex(ClampListPosition(position, list->count()));
}

void Board::closeEvent(QCloseEvent* event) {
  m_engine.StopCurrentStream();
  SetShowState(this, 0);
  if (m_tray->Available()) {
    hide();
  } else {
    showMinimized();  // no tray to come back from: stay on the taskbar
  }
  m_tray->Place();
  event->ignore();
}

void Board::HideToTray() {
  SlideAwayHide(this, m_tray->Available());
}

void Board::EndProgram() {
  QCoreApplication::exit(0);
}

void Board::ShowPage(int page) {
  if (auto* pages = m_built.Control<QStackedWidget>("选择夹1")) {
    pages->setCurrentIndex(page - 1);
    if (page == 4) {
      EnsureKeynotePage(m_built.Control("超文本浏览框1"), WebAddress(BuildWebHosts(), WebLink::KeynotePage));
    }
  }
}

void Board::OpenSlotMenu(int slot) {
  std::unique_ptr<QMenu> menu(MenuRenderer::Build(SlotMenu(), this));
  const QString chosen = MenuRenderer::ExecAtPointer(menu.get(), QCursor::pos());
  // Chosen or dismissed, both dialogs now serve this slot.
  m_hotkeyTarget = slot - 1;
  m_namingTarget = slot;
  if (m_namingDialog != nullptr) {
    m_namingDialog->SetTargetSlot(m_namingTarget);
  }
  menu.reset();
  if (chosen == QStringLiteral("设置快捷键")) {
    OpenHotkeyDialog(m_hotkeyTarget);
  } else if (chosen == QStringLiteral("自定义音效")) {
    AssignSoundFile();
  }
}

void Board::OpenSkinMenu() {
  std::unique_ptr<QMenu> menu(MenuRenderer::Build(SkinMenu(), this));
  const QString chosen = MenuRenderer::ExecAtPointer(menu.get(), QCursor::pos());
  menu.reset();
  const SkinScheme* scheme = SchemeByMenuCaption(chosen.toStdString());
  if (scheme == nullptr) {
    return;
  }
  if (scheme->picture != 0) {
    m_skins.ApplyBuiltInSkin(*scheme);
    return;
  }
  const QString path = QFileDialog::getOpenFileName(this);
  if (!path.isEmpty()) {
    m_skins.ChooseCustomSkin(path.toStdString());
  }
}

void Board::OpenMainMenu() {
  std::unique_ptr<QMenu> menu(MenuRenderer::Build(MainMenu(), this));
  const QString chosen = MenuRenderer::ExecAtPointer(menu.get(), QCursor::pos());
  menu.reset();
  OnMenuItem(chosen);
}

void Board::OnMenuItem(const QString& caption) {
  const WebHosts& hosts = BuildWebHosts();
  if (caption == QStringLiteral("Quorin音频商城")) {
    OpenWebAddress(WebAddress(hosts, WebLink::ShopTrayItem));
  } else if (caption == QStringLiteral("Quorin音频官网")) {
    OpenWebAddress(WebAddress(hosts, WebLink::SiteTrayItem));
  } else if (caption == QStringLiteral("显示程序窗口")) {
    ShowMainWindow(this);
  } else if (caption == QStringLiteral("隐藏程序窗口") || caption == QStringLiteral("最小化到托盘")) {
    HideToTray();
  } else if (caption == QStringLiteral("完全退出程序") || caption == QStringLiteral("退出软件程序")) {
    EndProgram();
  }
}

void Board::SearchKeynotes() {
  auto* box = m_built.Control<QLineEdit>("编辑框1");
  OpenWebAddress(SearchAddress(BuildWebHosts(), box->text().toStdString()));
  box->setText(Qs(kSearchHint));
}

void Board::OnEvent(const std::string& source, ControlEvent event, int value) {
  if (const int slot = SlotOfButton(source); slot != 0) {
    if (event == ControlEvent::Clicked) {
      m_slots.PlaySlot(slot);
    } else if (event == ControlEvent::RightButtonReleased) {
      OpenSlotMenu(slot);
    }
    return;
  }
  const WebHosts& hosts = BuildWebHosts();
  if (source == "停止播放") {
    m_engine.StopPlayback();
  } else if (source == "滑块条1") {
    m_engine.SetVolumeFromSlider(value);
  } else if (source == "组合框1") {
    auto* list = m_built.Control<QComboBox>("组合框1");
    const int index = list->currentIndex();
    ChangeOutputDevice(*m_library, m_runDirectory, index >= 0 ? list->itemData(index).toInt() : -1);
  } else if (source == "QQ") {
    OpenWebAddress(WebAddress(hosts, WebLink::ContactButton));
  } else if (source == "旺旺") {
    OpenWebAddress(WebAddress(hosts, WebLink::SiteButton));
  } else if (source == "淘宝") {
    OpenWebAddress(WebAddress(hosts, WebLink::ShopButton));
  } else if (source == "按钮61") {
    OpenWebAddress(WebAddress(hosts, WebLink::KeynoteButton));
  } else if (source == "按钮74") {
    SearchKeynotes();
  } else if (source == "编辑框1" && event == ControlEvent::FocusGained) {
    m_built.Control<QLineEdit>("编辑框1")->clear();
  }
}

}  // namespace tavrik
