// The hotkey file, the key list and the duplicate rule; the service's
// identifiers and delivery over the recording back-end; start-up
// registration and rebinding into a dispatch table.
#include "audio/dispatch_table.h"
#include "audio/playback_engine.h"
#include "audio/slot_table.h"
#include "hotkeys/hotkey_service.h"
#include "hotkeys/hotkey_table.h"
#include "hotkeys/platform/test/recording_hotkey_backend.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "tests/support/recording_audio_library.h"
#include "tests/support/sound_fixtures.h"

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrik {
namespace {

using Calls = std::vector<std::string>;

Calls Take(Calls& calls) {
  Calls taken;
  taken.swap(calls);
  return taken;
}

TEST(HotkeyKeyListTest, LettersThenFunctionKeysThenKeypadDigits) {
  ASSERT_EQ(kHotkeyKeys.size(), 48u);
  for (int i = 0; i < kHotkeyKeyCount; ++i) {
    std::string caption;
    int keyCode = 0;
    if (i < 26) {
      caption = std::string(1, static_cast<char>('A' + i));
      keyCode = 'A' + i;
    } else if (i < 38) {
      caption = "F" + std::to_string(i - 25);
      keyCode = 112 + i - 26;
    } else if (i < 47) {
      caption = std::to_string(i - 37);
      keyCode = 97 + i - 38;
    } else {
      caption = "0";
      keyCode = 96;
    }
    const HotkeyKey& key = kHotkeyKeys[static_cast<std::size_t>(i)];
    EXPECT_EQ(key.caption, caption) << i;
    EXPECT_EQ(key.keyCode, keyCode) << i;
  }
  struct Case {
    int index;
    const char* caption;
    int keyCode;
  };
  for (const Case c : {Case{20, "U", 85}, Case{26, "F1", 112}, Case{37, "F12", 123}, Case{42, "5", 101},
                       Case{47, "0", 96}}) {
    EXPECT_EQ(kHotkeyKeys[static_cast<std::size_t>(c.index)].caption, c.caption);
    EXPECT_EQ(kHotkeyKeys[static_cast<std::size_t>(c.index)].keyCode, c.keyCode);
  }
}

TEST(ModifierFlagsTest, BoardCodesBecomeWindowsFlags) {
  struct Case {
    int code;
    int flags;
  };
  const Case cases[] = {{0, 0}, {1, 2}, {2, 4}, {3, 6}, {4, 1}, {5, 3},    {6, 5},
                        {7, 7}, {8, 8}, {9, 9}, {-1, -1}, {16, 16}, {100, 100}};
  for (const Case& c : cases) {
    EXPECT_EQ(ModifierFlags(c.code), c.flags) << c.code;
  }
}

// A run folder with an empty data folder.
class HotkeyFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(m_run.empty());
    ASSERT_EQ(mkdir((m_run + "/data").c_str(), 0755), 0);
  }

  // The hotkey file as someone editing it by hand would leave it.
  void WriteHotkeyFile(const std::string& text) {
    std::ofstream out(FsPath(HotkeyFilePath(m_run)), std::ios::binary | std::ios::trunc);
    out << text;
  }

  std::string Stored(std::string_view section, int k) const {
    return ReadSetting(HotkeyFilePath(m_run), section, std::to_string(k), "<missing>");
  }

  std::string m_run = test::MakeTempFolder("hotkeys");
};

void ExpectStored(const StoredHotkey& stored, int modifierCode, int keyCode, int listIndex) {
  EXPECT_EQ(stored.modifierCode, modifierCode);
  EXPECT_EQ(stored.keyCode, keyCode);
  EXPECT_EQ(stored.listIndex, listIndex);
}

TEST_F(HotkeyFileTest, MissingFileOrFolderReadsAsNoKey) {
  for (const std::string& run : {m_run, m_run + "/nowhere"}) {
    for (const int k : {0, 4, 59, 60}) {
      SCOPED_TRACE(run + " entry " + std::to_string(k));
      ExpectStored(LoadHotkeyEntry(run, k), 0, 0, -1);
    }
  }
}

TEST_F(HotkeyFileTest, StoredValuesAreReadByTheNumberRule) {
  WriteHotkeyFile(
      "[状态键]\n4=\" 1.9\"\n5=abc\n7=3\n8=-2.7\n60=1\n"
      "[配置]\n4=112\n5=-1\n7=65abc\n8=1e2\n60=123\n"
      "[序]\n4=26\n5=\n7=1e1\n8=-1\n");
  struct Case {
    int k;
    int modifierCode;
    int keyCode;
    int listIndex;
  };
  const Case cases[] = {
      {4, 1, 112, 26},     // a leading blank is skipped, the fraction dropped
      {5, 0, -1, 0},       // not a number reads 0; an empty index too
      {6, 0, 0, -1},       // nothing stored: only the index defaults to -1
      {7, 3, 65, 10},      // reading stops at a letter; an exponent is taken
      {8, -2, 100, -1},    // cut toward zero
      {60, 1, 123, -1},    // the stop entry, set by hand: Ctrl+F12
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.k);
    ExpectStored(LoadHotkeyEntry(m_run, c.k), c.modifierCode, c.keyCode, c.listIndex);
  }
  // Every call reads the file again.
  WriteHotkeyFile("[状态键]\n4=2\n");
  ExpectStored(LoadHotkeyEntry(m_run, 4), 2, 0, -1);
}

TEST_F(HotkeyFileTest, SaveWritesTheTextsOfTheEntryOnly) {
  struct Case {
    int k;
    const char* modifier;
    int listIndex;
    int keyCode;
    const char* storedIndex;
    const char* storedKeyCode;
  };
  const Case cases[] = {
      {4, "1", 26, 112, "26", "112"},  // CTRL with F1
      {5, "0", -1, -1, "-1", "-1"},    // no key chosen
      {60, "4", 0, 65, "0", "65"},
      {7, "01", 47, 96, "47", "96"},  // the modifier text goes in unchanged
  };
  for (const Case& c : cases) {
    SaveHotkeyEntry(m_run, c.k, c.modifier, c.listIndex, c.keyCode);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.k);
    EXPECT_EQ(Stored(kHotkeyListIndexSection, c.k), c.storedIndex);
    EXPECT_EQ(Stored(kHotkeyModifierSection, c.k), c.modifier);
    EXPECT_EQ(Stored(kHotkeyKeyCodeSection, c.k), c.storedKeyCode);
  }
  for (const std::string_view section : {kHotkeyListIndexSection, kHotkeyModifierSection, kHotkeyKeyCodeSection}) {
    EXPECT_EQ(Stored(section, 6), "<missing>");
  }
  ExpectStored(LoadHotkeyEntry(m_run, 4), 1, 112, 26);
}

TEST_F(HotkeyFileTest, DuplicatesAreExactTextMatchesOfModifierAndIndex) {
  EXPECT_FALSE(IsDuplicateHotkey(m_run, "0", "0")) << "no file";
  WriteHotkeyFile(
      "[状态键]\n7=01\n9=4\n11=2\n60=0\n61=0\n"
      "[序]\n7=3\n9=026\n11=-1\n13=8\n60=5\n61=6\n"
      "[配置]\n7=68\n9=112\n11=-1\n60=999\n");
  SaveHotkeyEntry(m_run, 4, "1", 26, 112);  // entry 4 confirmed with CTRL and F1
  struct Case {
    const char* what;
    const char* modifier;
    const char* index;
    bool duplicate;
  };
  const Case cases[] = {
      {"the entry being edited takes part", "1", "26", true},
      {"another modifier", "2", "26", false},
      {"another key", "1", "27", false},
      {"a leading zero in the new index", "1", "026", false},
      {"a hand-written index matches as text", "4", "026", true},
      {"026 is not 26", "4", "26", false},
      {"a hand-written modifier matches as text", "01", "3", true},
      {"01 is not 1", "1", "3", false},
      {"no key chosen, though stored as well", "2", "-1", false},
      {"no key chosen, never a duplicate", "1", "-1", false},
      {"entry 60 takes part and its key code does not", "0", "5", true},
      {"key 61 is no entry", "0", "6", false},
      {"a missing modifier is empty text", "", "8", true},
      {"empty text is not 0", "0", "8", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDuplicateHotkey(m_run, c.modifier, c.index), c.duplicate) << c.what;
  }
}

// A service over the recording back-end, its presses collected.
class HotkeyServiceTest : public ::testing::Test {
protected:
  HotkeyServiceTest() {
    m_service.SetReceiver([this](int identifier) { m_received.push_back(identifier); });
  }

  test::RecordingHotkeyBackend* m_backend = new test::RecordingHotkeyBackend;
  HotkeyService m_service{std::unique_ptr<HotkeyBackend>(m_backend)};
  std::vector<int> m_received;
};

TEST_F(HotkeyServiceTest, EveryAttemptTakesTheNextIdentifier) {
  m_backend->heldElsewhere.insert({kModShift, 'A'});
  struct Attempt {
    int modifierCode;
    int keyCode;
    bool refuseAll;
    int identifier;
    const char* call;
  };
  const Attempt attempts[] = {
      {1, 112, false, 33001, "Register 33001 2 112"},
      {2, 'A', false, 0, "Register 33002 4 65 refused"},   // another program holds it
      {1, 112, false, 0, "Register 33003 2 112 refused"},  // this run holds it
      {5, 'B', true, 0, "Register 33004 3 66 refused"},    // no hotkeys on this platform
      {5, 'B', false, 33005, "Register 33005 3 66"},
      {7, 'C', false, 33006, "Register 33006 7 67"},
      {0, 0, false, 33007, "Register 33007 0 0"},  // no key: accepted, never fires
  };
  for (const Attempt& a : attempts) {
    m_backend->refuseAll = a.refuseAll;
    EXPECT_EQ(m_service.AddHotkey(a.modifierCode, a.keyCode), a.identifier) << a.call;
    ASSERT_FALSE(m_backend->calls.empty());
    EXPECT_EQ(m_backend->calls.back(), a.call);
  }
  EXPECT_EQ(m_backend->calls.size(), std::size(attempts));
}

TEST_F(HotkeyServiceTest, RemovingReleasesOnlyLiveRegistrations) {
  m_backend->heldElsewhere.insert({kModControl, 113});
  const int live = m_service.AddHotkey(1, 112);
  const int refused = m_service.AddHotkey(1, 113);
  ASSERT_EQ(refused, 0);
  for (const int identifier : {0, refused, 33002, 40000, live, live}) {
    m_service.RemoveHotkey(identifier);
  }
  EXPECT_EQ(Take(m_backend->calls), (Calls{"Register 33001 2 112", "Register 33002 2 113 refused", "Unregister 33001"}));
  EXPECT_EQ(m_service.AddHotkey(1, 112), 33003) << "released for good";
}

TEST_F(HotkeyServiceTest, PressesReachTheReceiverOnlyForLiveIdentifiers) {
  m_backend->heldElsewhere.insert({kModAlt, 'B'});
  const int ctrlF1 = m_service.AddHotkey(1, 112);
  const int shiftA = m_service.AddHotkey(2, 'A');
  ASSERT_EQ(m_service.AddHotkey(4, 'B'), 0);
  const int noKey = m_service.AddHotkey(0, 0);
  m_service.RemoveHotkey(shiftA);
  struct Case {
    const char* what;
    std::function<void()> act;
    std::vector<int> received;
  };
  const Case cases[] = {
      {"a live hotkey", [&] { m_backend->Press(kModControl, 112); }, {ctrlF1}},
      {"a removed hotkey", [&] { m_backend->Press(kModShift, 'A'); }, {}},
      {"a refused combination", [&] { m_backend->Press(kModAlt, 'B'); }, {}},
      {"a combination never registered", [&] { m_backend->Press(kModControl, 113); }, {}},
      {"no key produces key code 0", [&] { m_backend->Press(0, 0); }, {}},
      {"a stray report of a removed identifier", [&] { m_backend->Report(shiftA); }, {}},
      {"an identifier never handed out", [&] { m_backend->Report(40000); }, {}},
      {"a report of a live identifier", [&] { m_backend->Report(noKey); }, {noKey}},
  };
  for (const Case& c : cases) {
    c.act();
    EXPECT_EQ(m_received, c.received) << c.what;  // delivered before the press returns
    m_received.clear();
  }
}

TEST_F(HotkeyServiceTest, TheLatestReceiverWins) {
  const int identifier = m_service.AddHotkey(1, 112);
  std::vector<int> later;
  m_service.SetReceiver([&later](int pressed) { later.push_back(pressed); });
  m_backend->Press(kModControl, 112);
  EXPECT_TRUE(m_received.empty());
  EXPECT_EQ(later, std::vector<int>{identifier});
}

// Start-up registration and rebinding over a board whose slot N plays "/s/N".
class HotkeyRegistrationTest : public HotkeyFileTest {
protected:
  void SetUp() override {
    HotkeyFileTest::SetUp();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      WriteSetting(m_run + std::string(kPathsFile), kSlotSection, SlotKey(slot), "/s/" + SlotKey(slot));
    }
    m_engine.SetVolume(1.0f);
  }

  // Ctrl+F1 on entries 0 and 3, Alt+A on entry 5, Ctrl+F12 on the stop entry.
  void WriteBoardHotkeys() {
    WriteHotkeyFile(
        "[状态键]\n0=1\n3=1\n5=4\n60=1\n"
        "[配置]\n0=112\n3=112\n5=65\n60=123\n");
  }

  test::RecordingHotkeyBackend* m_backend = new test::RecordingHotkeyBackend;
  HotkeyService m_service{std::unique_ptr<HotkeyBackend>(m_backend)};
  test::RecordingAudioLibrary m_library;
  PlaybackEngine m_engine{m_library};
  SlotTable m_slots{m_run, m_engine};
  DispatchTable m_table{m_slots, m_engine};
};

TEST_F(HotkeyRegistrationTest, EntriesRegisterInOrderAndTheLowerHoldsASharedCombination) {
  WriteBoardHotkeys();
  RegisterAllHotkeys(m_service, m_table, m_run);

  const std::map<int, std::string> stored = {{0, "2 112"}, {3, "2 112 refused"}, {5, "1 65"}, {60, "2 123"}};
  Calls expected;
  for (int k = 0; k < kHotkeyEntryCount; ++k) {
    const auto entry = stored.find(k);
    expected.push_back("Register " + std::to_string(33001 + k) + " " + (entry == stored.end() ? "0 0" : entry->second));
    EXPECT_EQ(m_table.Identifier(k), k == 3 ? 0 : 33001 + k) << k;
  }
  EXPECT_EQ(Take(m_backend->calls), expected);

  struct Press {
    const char* what;
    unsigned flags;
    int key;
    Calls heard;
  };
  const Press presses[] = {
      {"Ctrl+F1 plays slot 1", kModControl, 112,
       {"Stop 0 refused", "Free 0 refused", "Create /s/1", "Play 1 restart", "Volume 1 1.000000"}},
      {"Alt+A plays slot 6", kModAlt, 'A', {"Stop 1", "Free 1", "Create /s/6", "Play 2 restart", "Volume 2 1.000000"}},
      {"Ctrl+F12 stops", kModControl, 123, {"Stop 2", "Free 2"}},
  };
  for (const Press& p : presses) {
    EXPECT_TRUE(m_backend->Press(p.flags, p.key)) << p.what;
    EXPECT_EQ(Take(m_library.calls), p.heard) << p.what;
  }
}

TEST_F(HotkeyRegistrationTest, WithoutAFileEveryEntryHoldsAnInertHotkeyAndChangesCountOn) {
  RegisterAllHotkeys(m_service, m_table, m_run);
  for (int k = 0; k < kHotkeyEntryCount; ++k) {
    EXPECT_EQ(m_table.Identifier(k), 33001 + k) << k;
  }
  EXPECT_FALSE(m_backend->Press(0, 0));
  EXPECT_TRUE(m_library.calls.empty());
  RebindHotkey(m_service, m_table, 4, "1", 112);
  RebindHotkey(m_service, m_table, 9, "2", 65);
  EXPECT_EQ(m_table.Identifier(4), 33062);
  EXPECT_EQ(m_table.Identifier(9), 33063);
}

TEST_F(HotkeyRegistrationTest, RebindingReleasesTheOldRegistrationFirst) {
  WriteBoardHotkeys();
  RegisterAllHotkeys(m_service, m_table, m_run);
  m_backend->calls.clear();
  m_backend->heldElsewhere.insert({kModAlt, 'E'});
  struct Case {
    const char* what;
    int k;
    const char* modifierText;
    int keyCode;
    Calls calls;
    int identifier;
  };
  const Case cases[] = {
      {"entry 5 moves to Shift+B", 5, "2", 'B', {"Unregister 33006", "Register 33062 4 66"}, 33062},
      {"entry 0 takes back its own combination", 0, "1", 112, {"Unregister 33001", "Register 33063 2 112"}, 33063},
      {"the refused entry 3 has nothing to release", 3, "4", 'C', {"Register 33064 1 67"}, 33064},
      {"the modifier text is read as a number", 7, " 4x", 'D', {"Unregister 33008", "Register 33065 1 68"}, 33065},
      {"another program's combination leaves no hotkey", 5, "4", 'E',
       {"Unregister 33062", "Register 33066 1 69 refused"}, 0},
      {"no key chosen", 5, "0", -1, {"Register 33067 0 -1"}, 33067},
      {"another entry's combination is refused", 9, "1", 112, {"Unregister 33010", "Register 33068 2 112 refused"}, 0},
  };
  for (const Case& c : cases) {
    RebindHotkey(m_service, m_table, c.k, c.modifierText, c.keyCode);
    EXPECT_EQ(Take(m_backend->calls), c.calls) << c.what;
    EXPECT_EQ(m_table.Identifier(c.k), c.identifier) << c.what;
  }

  struct Press {
    const char* what;
    unsigned flags;
    int key;
    const char* created;  // nullptr: nothing plays
  };
  const Press presses[] = {
      {"entry 0 keeps Ctrl+F1", kModControl, 112, "Create /s/1"},
      {"entry 3 now has Alt+C", kModAlt, 'C', "Create /s/4"},
      {"Alt+A was released", kModAlt, 'A', nullptr},
      {"Shift+B was released", kModShift, 'B', nullptr},
  };
  for (const Press& p : presses) {
    EXPECT_EQ(m_backend->Press(p.flags, p.key), p.created != nullptr) << p.what;
    const Calls heard = Take(m_library.calls);
    EXPECT_EQ(heard.size() > 2 ? heard[2] : "", p.created != nullptr ? p.created : "") << p.what;
  }
}

}  // namespace
}  // namespace tavrik
