// Start-up rules without a window: slot paths moved into this installation,
// and the count of running boards.
#include "app/startup_core.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "tests/support/sound_fixtures.h"

#include <sys/stat.h>

#include <fstream>
#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(StartupCoreTest, StoredPathsAreMovedIntoThisSoundFolder) {
  struct Case {
    const char* stored;
    const char* rerooted;  // after "/opt/board"
  };
  const Case cases[] = {
      {"C:\\Program Files\\音效\\mp3\\掌声.mp3", "/opt/board/mp3/掌声.mp3"},  // written on Windows
      {"/home/old/board/mp3/boom.mp3", "/opt/board/mp3/boom.mp3"},         // another installation
      {"D:\\mixed/dir\\a b.mp3", "/opt/board/mp3/a b.mp3"},                // the last of either counts
      {"plain.mp3", "/opt/board/mp3/plain.mp3"},                           // no separator: whole name
      {"C:\\sounds\\", "/opt/board/mp3/"},                                 // ends in a separator
      {"", "/opt/board/mp3/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RerootedSlotPath("/opt/board", c.stored), c.rerooted) << c.stored;
  }
}

TEST(StartupCoreTest, RerootingWritesKeysOneToSixtyOne) {
  const std::string run = test::MakeTempFolder("reroot");
  ASSERT_EQ(mkdir((run + "/data").c_str(), 0755), 0);
  const std::string file = run + std::string(kPathsFile);
  // A path file from the Windows version: GBK, CRLF, backslashes.
  std::ofstream(file, std::ios::binary) << "[\xC5\xE4\xD6\xC3]\r\n3=E:\\\xD2\xF4\xD0\xA7\\mp3\\\xB9\xC4\xD5\xC6.mp3\r\n";
  RerootSlotPaths(run);
  EXPECT_EQ(ReadSetting(file, "配置", "3"), run + "/mp3/鼓掌.mp3");
  EXPECT_EQ(ReadSetting(file, "配置", "1"), run + "/mp3/");
  EXPECT_EQ(ReadSetting(file, "配置", "61"), run + "/mp3/");
  EXPECT_EQ(ReadSetting(file, "配置", "62", "absent"), "absent");
}

TEST(StartupCoreTest, AnotherInstanceIsTheSameExecutableNameTwice) {
  struct Case {
    std::vector<std::string> running;
    bool another;
  };
  const Case cases[] = {
      {{"systemd", "Tavrik", "bash"}, false},
      {{"Tavrik", "bash", "Tavrik"}, true},
      {{"Tavrik", "tavrik"}, false},      // case counts
      {{"Tavrik", "Tavrik-copy"}, false}, // another name is another program
      {{"Tavrik", "Tavrik", "Tavrik"}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnotherInstanceRuns(c.running, "Tavrik"), c.another);
  }
}

TEST(StartupCoreTest, ProcessListHoldsThisProcess) {
  const std::string own = OwnExecutableName();
  EXPECT_EQ(own, "startup_core_test");
  const auto running = RunningExecutableNames();
  // Other cases of this suite may run beside this one.
  EXPECT_GE(std::count(running.begin(), running.end(), own), 1);
}

}  // namespace
}  // namespace tavrik
