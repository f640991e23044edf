// The X11 back-end under a real X server, through the hotkey service: key
// presses sent with xdotool (XTest, so passive grabs fire as for a user),
// NumLock and CapsLock in either state, auto-repeat, grabs another client
// holds, release of grabs, and a session without an X connection.
#include "hotkeys/hotkey_service.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTimer>
#include <QWindow>

#include <unistd.h>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tavrik {
namespace {

bool HaveDisplay() {
  return QGuiApplication::platformName() == "xcb";
}

int RunCommand(const std::string& command) {
  return std::system(command.c_str());
}

std::string Output(const std::string& command, int* status = nullptr) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return text;
  }
  char buffer[4096];
  for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    text.append(buffer, count);
  }
  const int result = pclose(pipe);
  if (status != nullptr) {
    *status = result;
  }
  return text;
}

bool NumLockOn() {
  static const QRegularExpression on("Num Lock:\\s+on");
  return on.match(QString::fromStdString(Output("xset q"))).hasMatch();
}

bool SetNumLock(bool on) {
  if (NumLockOn() != on) {
    RunCommand("xdotool key Num_Lock");
  }
  return NumLockOn() == on;
}

// The keycode whose unshifted symbol is `keysym`, from xmodmap's table.
std::string KeycodeOfUnshifted(const std::string& keysym) {
  static const QRegularExpression line("^keycode\\s+(\\d+) = (\\S+)", QRegularExpression::MultilineOption);
  auto matches = line.globalMatch(QString::fromStdString(Output("xmodmap -pke")));
  while (matches.hasNext()) {
    const QRegularExpressionMatch match = matches.next();
    if (match.captured(2).toStdString() == keysym) {
      return match.captured(1).toStdString();
    }
  }
  return "none";
}

// Lets Qt deliver events until `done` or the deadline; a timer keeps the
// wait from sleeping past the deadline.
bool WaitUntil(const std::function<bool()>& done, int milliseconds = 5000) {
  const QDeadlineTimer deadline(milliseconds);
  QTimer tick;
  tick.start(10);
  while (!done()) {
    if (deadline.hasExpired()) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// A connection of its own: to the X server, another program.
class OtherClient {
public:
  OtherClient() : m_connection(xcb_connect(nullptr, nullptr)) {
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    m_keySymbols = xcb_key_symbols_alloc(m_connection);
  }
  ~OtherClient() {
    xcb_key_symbols_free(m_keySymbols);
    xcb_disconnect(m_connection);
  }
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  // Grabs the key of `keysym` with exactly `modifiers`; false when the
  // server refuses because some other client holds it.
  bool Grab(xcb_keysym_t keysym, std::uint16_t modifiers) {
    xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(m_keySymbols, keysym);
    const xcb_keycode_t keycode = keycodes != nullptr ? keycodes[0] : 0;
    std::free(keycodes);
    xcb_generic_error_t* error = xcb_request_check(
        m_connection, xcb_grab_key_checked(m_connection, 0, m_root, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC));
    std::free(error);
    return keycode != 0 && error == nullptr;
  }

  // Grabs the key with every CapsLock and NumLock state.
  bool GrabAllVariants(xcb_keysym_t keysym, std::uint16_t modifiers) {
    bool all = true;
    for (const std::uint16_t extra : {std::uint16_t{0}, std::uint16_t{XCB_MOD_MASK_LOCK}, NumLockMask(),
                                      static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | NumLockMask())}) {
      all = Grab(keysym, static_cast<std::uint16_t>(modifiers | extra)) && all;
    }
    return all;
  }

  std::uint16_t NumLockMask() {
    xcb_keycode_t* numLock = xcb_key_symbols_get_keycode(m_keySymbols, XK_Num_Lock);
    xcb_get_modifier_mapping_reply_t* mapping =
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
    std::uint16_t mask = 0;
    if (numLock != nullptr && mapping != nullptr) {
      const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(mapping);
      for (int i = 0; i < 8 * mapping->keycodes_per_modifier; ++i) {
        if (keys[i] != 0 && keys[i] == numLock[0]) {
          mask = static_cast<std::uint16_t>(1u << (i / mapping->keycodes_per_modifier));
        }
      }
    }
    std::free(numLock);
    std::free(mapping);
    return mask;
  }

private:
  xcb_connection_t* m_connection;
  xcb_window_t m_root = XCB_NONE;
  xcb_key_symbols_t* m_keySymbols = nullptr;
};

struct Registration {
  const char* name;
  int modifierCode;
  int keyCode;
};

// What the fixture registers, by the board's modifier codes and Windows
// virtual-key codes.
const Registration kRegistrations[] = {
    {"Ctrl+F1", 1, 112},
    {"keypad 5", 0, 101},
    {"Shift+A", 2, 'A'},
    {"Alt+F3", 4, 114},
    {"Win+F4", 8, 115},
    {"Ctrl+Alt+Shift+Z", 7, 'Z'},
    {"Ctrl+1", 1, '1'},
    {"Ctrl+semicolon", 1, 186},
    {"Ctrl+Left", 1, 37},
    {"Ctrl+<", 1, 226},  // the key beside left Shift; "<" is also Shift+comma
    {"Ctrl+Shift+keypad *", 3, 106},
    {"no key 0", 0, 0},
    {"no key -1", 1, -1},
    {"a code with no key", 0, 255},
};

// Sent after every case: its press arriving shows that every event of the
// case has been seen.
constexpr Registration kSentinel = {"Ctrl+Shift+F12", 3, 123};
constexpr const char* kSentinelKeys = "key ctrl+shift+F12";

class X11HotkeyTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay()) {
      GTEST_SKIP() << "needs an X display (DISPLAY)";
    }
    m_numLockWas = NumLockOn();
    m_service = std::make_unique<HotkeyService>(CreateHotkeyBackend());
    m_service->SetReceiver([this](int identifier) { m_pressed.push_back(identifier); });
    m_sentinel = m_service->AddHotkey(kSentinel.modifierCode, kSentinel.keyCode);
    ASSERT_NE(m_sentinel, 0);
    for (const Registration& r : kRegistrations) {
      const int identifier = m_service->AddHotkey(r.modifierCode, r.keyCode);
      ASSERT_NE(identifier, 0) << r.name;
      m_names[identifier] = r.name;
    }
  }

  void TearDown() override {
    m_service.reset();
    if (HaveDisplay()) {
      SetNumLock(m_numLockWas);
    }
  }

  // The hotkeys that fire, by name, for xdotool's `commands` and before the
  // sentinel's press.
  std::vector<std::string> Fired(const std::string& commands) {
    m_pressed.clear();
    EXPECT_EQ(RunCommand("xdotool " + commands + " " + kSentinelKeys), 0) << commands;
    const bool seen = WaitUntil([this] { return !m_pressed.empty() && m_pressed.back() == m_sentinel; });
    EXPECT_TRUE(seen) << "the sentinel after " << commands << " never fired";
    std::vector<std::string> fired;
    for (const int identifier : m_pressed) {
      if (identifier != m_sentinel) {
        fired.push_back(m_names.count(identifier) != 0 ? m_names[identifier] : std::to_string(identifier));
      }
    }
    return fired;
  }

  std::unique_ptr<HotkeyService> m_service;
  std::vector<int> m_pressed;
  std::map<int, std::string> m_names;
  int m_sentinel = 0;
  bool m_numLockWas = false;
};

using Names = std::vector<std::string>;

TEST_F(X11HotkeyTest, EachPressFiresExactlyItsHotkey) {
  // xdotool types "less" as Shift+comma: the key of its own is named by keycode.
  const std::string lessKey = KeycodeOfUnshifted("less");
  struct Case {
    std::string commands;
    bool numLock;
    Names fired;
  };
  const Case cases[] = {
      {"key ctrl+F1", false, {"Ctrl+F1"}},
      {"key ctrl+F1", true, {"Ctrl+F1"}},
      {"key Caps_Lock ctrl+F1 Caps_Lock", true, {"Ctrl+F1"}},
      {"key ctrl+F1 ctrl+F1", false, {"Ctrl+F1", "Ctrl+F1"}},     // once per press, not per release
      {"key ctrl+shift+F1", false, {}},                          // a modifier too many
      {"key F1", false, {}},
      {"key ctrl+F2", false, {}},
      // xdotool names a keypad key by its NumLock-off symbol: with NumLock on
      // "KP_Begin" presses the key that gives KP_5 (its "KP_5" would first
      // toggle NumLock itself).
      {"key KP_Begin", true, {"keypad 5"}},
      {"key KP_Begin", false, {"keypad 5"}},
      {"key shift+a", false, {"Shift+A"}},
      {"key a", false, {}},
      {"key alt+F3", false, {"Alt+F3"}},
      {"key super+F4", false, {"Win+F4"}},
      {"key ctrl+alt+shift+z", true, {"Ctrl+Alt+Shift+Z"}},
      {"key ctrl+1", false, {"Ctrl+1"}},
      {"key ctrl+KP_End", true, {}},  // the keypad's 1 is another key
      {"key ctrl+semicolon", false, {"Ctrl+semicolon"}},
      {"key ctrl+Left", true, {"Ctrl+Left"}},
      {"key ctrl+" + lessKey, false, {"Ctrl+<"}},
      {"key ctrl+comma", false, {}},
      {"key ctrl+shift+KP_Multiply", true, {"Ctrl+Shift+keypad *"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commands + (c.numLock ? ", NumLock on" : ", NumLock off"));
    ASSERT_TRUE(SetNumLock(c.numLock));
    EXPECT_EQ(Fired(c.commands), c.fired);
    EXPECT_EQ(NumLockOn(), c.numLock) << "the case changed NumLock";
  }
}

TEST_F(X11HotkeyTest, ARemovedHotkeyNoLongerFiresAndIsFreeForOthers) {
  const int ctrlF5 = m_service->AddHotkey(1, 116);
  ASSERT_NE(ctrlF5, 0);
  m_names[ctrlF5] = "Ctrl+F5";
  EXPECT_EQ(Fired("key ctrl+F5"), Names{"Ctrl+F5"});
  m_service->RemoveHotkey(ctrlF5);
  EXPECT_EQ(Fired("key ctrl+F5"), Names{});
  OtherClient other;
  EXPECT_TRUE(other.GrabAllVariants(XK_F5, XCB_MOD_MASK_CONTROL));
}

TEST_F(X11HotkeyTest, ACombinationAnotherClientHoldsIsRefusedAndLeavesNothingBehind) {
  OtherClient other;
  ASSERT_TRUE(other.Grab(XK_F6, XCB_MOD_MASK_CONTROL));
  EXPECT_EQ(m_service->AddHotkey(1, 117), 0);
  // The variants that were granted before the refusal are given back.
  const std::uint16_t numLock = other.NumLockMask();
  ASSERT_NE(numLock, 0);
  for (const std::uint16_t extra : {std::uint16_t{XCB_MOD_MASK_LOCK}, numLock,
                                    static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock)}) {
    EXPECT_TRUE(other.Grab(XK_F6, static_cast<std::uint16_t>(XCB_MOD_MASK_CONTROL | extra))) << extra;
  }
  ASSERT_TRUE(SetNumLock(true));
  EXPECT_EQ(Fired("key ctrl+F6 ctrl+F1"), Names{"Ctrl+F1"});
}

TEST_F(X11HotkeyTest, ACombinationThisProgramHoldsIsRefusedTheSecondTime) {
  EXPECT_EQ(m_service->AddHotkey(1, 112), 0);
  EXPECT_EQ(m_service->AddHotkey(0, 101), 0);
  EXPECT_EQ(Fired("key ctrl+F1"), Names{"Ctrl+F1"});
}

// Held down, a hotkey repeats with the keyboard's auto-repeat, as on
// Windows, whether another program or the board itself has the focus.
TEST_F(X11HotkeyTest, AHeldHotkeyRepeatsWhereverTheFocusIs) {
  QWindow window;
  window.resize(200, 100);
  for (const bool ownFocus : {false, true}) {
    SCOPED_TRACE(ownFocus ? "the board's window has the focus" : "no window has the focus");
    if (ownFocus) {
      window.show();
      window.requestActivate();
      ASSERT_TRUE(WaitUntil([&window] { return window.isActive(); }));
    }
    // Held for longer than the auto-repeat delay (660 ms on Xvfb).
    const std::vector<std::string> fired = Fired("keydown ctrl+F1 sleep 1.2 keyup ctrl+F1");
    EXPECT_GE(fired.size(), 3u);
    EXPECT_EQ(std::count(fired.begin(), fired.end(), "Ctrl+F1"), static_cast<long>(fired.size()));
  }
}

TEST_F(X11HotkeyTest, DestroyingTheServiceReleasesEveryGrab) {
  m_service.reset();
  OtherClient other;
  EXPECT_TRUE(other.GrabAllVariants(XK_F1, XCB_MOD_MASK_CONTROL));
  EXPECT_TRUE(other.GrabAllVariants(XK_KP_5, 0));
  EXPECT_TRUE(other.GrabAllVariants(XK_a, XCB_MOD_MASK_SHIFT));
}

// What a child without an X connection tries, and prints one line for each.
const Registration kProbes[] = {
    {"Ctrl+F1", 1, 112},
    {"keypad 5", 0, 101},
    {"no key 0", 0, 0},
    {"no key -1", 1, -1},
};
constexpr const char* kProbeVariable = "TAVRIK_HOTKEY_PROBE";

int ProbeWithoutConnection(int argc, char** argv) {
  const auto tryAll = [](const char* stage) {
    HotkeyService service(CreateHotkeyBackend());
    for (const Registration& r : kProbes) {
      std::printf("%s %s %d\n", stage, r.name, service.AddHotkey(r.modifierCode, r.keyCode));
    }
  };
  tryAll("before-application");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  tryAll("offscreen");
  return 0;
}

TEST(X11HotkeyWithoutConnectionTest, EveryRegistrationIsRefused) {
  std::string expected;
  for (const char* stage : {"before-application", "offscreen"}) {
    for (const Registration& r : kProbes) {
      expected += std::string(stage) + " " + r.name + " 0\n";
    }
  }
  for (const char* environment : {"", "env -u DISPLAY "}) {
    SCOPED_TRACE(environment);
    int status = -1;
    const std::string output =
        Output(std::string(environment) + kProbeVariable + "=1 /proc/" + std::to_string(getpid()) + "/exe", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, expected);
  }
}

}  // namespace
}  // namespace tavrik

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsSet(tavrik::kProbeVariable)) {
    return tavrik::ProbeWithoutConnection(argc, argv);
  }
  testing::InitGoogleTest(&argc, argv);
  // The list of tests is read at build time, when there may be no display;
  // without one the display tests skip themselves.
  const bool display = !GTEST_FLAG_GET(list_tests) && !qEnvironmentVariableIsEmpty("DISPLAY");
  qputenv("QT_QPA_PLATFORM", display ? "xcb" : "offscreen");
  QGuiApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
