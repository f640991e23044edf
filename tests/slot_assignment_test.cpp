// Binding a file to a slot: the names a sound may take, and the move that
// never replaces a file.
#include "audio/slot_assignment.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "tests/support/sound_fixtures.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(SlotAssignmentTest, NamesThatCannotBecomeAFileAreRefused) {
  struct Case {
    std::string name;
    NameProblem problem;
  };
  const Case cases[] = {
      {"boom", NameProblem::None},
      {"掌声 2", NameProblem::None},
      {".hidden", NameProblem::None},
      {"", NameProblem::Empty},
      {"a/b", NameProblem::Separator},
      {"../x", NameProblem::Separator},
      {"a\\b", NameProblem::Separator},
      {".", NameProblem::DotName},
      {"..", NameProblem::DotName},
      {"two\nlines", NameProblem::Unusable},
      {std::string(252, 'x'), NameProblem::Unusable},  // with ".mp3" past 255 bytes
      {std::string(251, 'x'), NameProblem::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckSoundName(c.name), c.problem) << c.name;
  }
}

class SlotAssignmentFiles : public ::testing::Test {
protected:
  void SetUp() override {
    m_run = test::MakeTempFolder("assign");
    ASSERT_EQ(mkdir((m_run + "/data").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((m_run + "/mp3").c_str(), 0755), 0);
    m_elsewhere = test::MakeTempFolder("chosen");
  }

  std::string Chosen(const std::string& name, const std::string& content) {
    const std::string path = m_elsewhere + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  static std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  std::string Setting(std::string_view file, int slot) {
    return ReadSetting(m_run + std::string(file), "配置", SlotKey(slot));
  }

  std::string m_run;
  std::string m_elsewhere;
};

TEST_F(SlotAssignmentFiles, CopyThenMoveBindsTheSlot) {
  ASSERT_TRUE(CopyToTemporarySoundFile(m_run, Chosen("clap.ogg", "first")));
  EXPECT_EQ(Content(m_run + "/mp3/.mp3"), "first");
  ASSERT_EQ(ConfirmSoundName(m_run, 3, "boom"), AssignResult::Assigned);
  EXPECT_EQ(Content(m_run + "/mp3/boom.mp3"), "first");  // the bytes as chosen
  EXPECT_FALSE(std::filesystem::exists(m_run + "/mp3/.mp3"));
  EXPECT_EQ(Setting(kPathsFile, 3), m_run + "/mp3/boom.mp3");
  EXPECT_EQ(Setting(kTitlesFile, 3), "boom");
}

TEST_F(SlotAssignmentFiles, ATakenNameIsNeverReplaced) {
  CopyToTemporarySoundFile(m_run, Chosen("a.wav", "first"));
  ASSERT_EQ(ConfirmSoundName(m_run, 3, "boom"), AssignResult::Assigned);
  CopyToTemporarySoundFile(m_run, Chosen("b.wav", "second"));
  EXPECT_EQ(ConfirmSoundName(m_run, 4, "boom"), AssignResult::NameTaken);
  EXPECT_EQ(Content(m_run + "/mp3/boom.mp3"), "first");
  EXPECT_EQ(Content(m_run + "/mp3/.mp3"), "second");  // kept for another name
  EXPECT_EQ(Setting(kPathsFile, 4), "");
  EXPECT_EQ(ConfirmSoundName(m_run, 4, "bang"), AssignResult::Assigned);
  EXPECT_EQ(Content(m_run + "/mp3/bang.mp3"), "second");
}

TEST_F(SlotAssignmentFiles, RefusedNamesTouchNothing) {
  CopyToTemporarySoundFile(m_run, Chosen("a.wav", "first"));
  for (const char* name : {"", "../x", "a/b", ".."}) {
    EXPECT_EQ(ConfirmSoundName(m_run, 5, name), AssignResult::Refused) << name;
  }
  EXPECT_EQ(Content(m_run + "/mp3/.mp3"), "first");
  EXPECT_FALSE(std::filesystem::exists(m_run + "/x.mp3"));
  EXPECT_FALSE(std::filesystem::exists(m_run + "/data/路径.ini"));
  EXPECT_FALSE(std::filesystem::exists(m_run + "/data/标题.ini"));
}

TEST_F(SlotAssignmentFiles, NothingToMoveReadsAsATakenName) {
  EXPECT_EQ(ConfirmSoundName(m_run, 2, "boom"), AssignResult::NameTaken);
  EXPECT_FALSE(std::filesystem::exists(m_run + "/mp3/boom.mp3"));
}

}  // namespace
}  // namespace tavrik
