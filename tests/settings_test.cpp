#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "settings/setting_number.h"
#include "settings/text_codec.h"

namespace tavrik {
namespace {

namespace fs = std::filesystem;

// A GBK settings file as the Windows version leaves it:
//   ; 声音路径
//   [配置]
//   1=C:\声音\开场.mp3
//   2=掌声
//   [设置]
//   通道=2
// with CRLF line endings.
const std::string kGbkFile =
    "; \xC9\xF9\xD2\xF4\xC2\xB7\xBE\xB6\r\n"
    "[\xC5\xE4\xD6\xC3]\r\n"
    "1=C:\\\xC9\xF9\xD2\xF4\\\xBF\xAA\xB3\xA1.mp3\r\n"
    "2=\xD5\xC6\xC9\xF9\r\n"
    "[\xC9\xE8\xD6\xC3]\r\n"
    "\xCD\xA8\xB5\xC0=2\r\n";

const std::string kGbkFileAsUtf8 =
    "; 声音路径\r\n"
    "[配置]\r\n"
    "1=C:\\声音\\开场.mp3\r\n"
    "2=掌声\r\n"
    "[设置]\r\n"
    "通道=2\r\n";

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) {
    out.append(piece);
  }
  return out;
}

// Each test gets a folder of its own, removed afterwards.
class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "/tavrik-settings-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }

  void TearDown() override {
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder_, error)) {
      if (entry.is_directory() && !entry.is_symlink()) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
      }
    }
    fs::remove_all(folder_, error);
  }

  std::string Path(std::string_view name) const { return folder_ + "/" + std::string(name); }

  static void Put(const std::string& path, std::string_view bytes) {
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
  }

  static std::string Get(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Names of everything in the test folder, to spot stray temporary files.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string folder_;
};

// --- Text codec -------------------------------------------------------------

TEST(SettingsTextCodecTest, IsValidUtf8) {
  struct Case {
    const char* label;
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"empty", "", true},
      {"ascii with NUL", std::string("a\0b", 3), true},
      {"two-byte lowest", "\xC2\x80", true},
      {"three-byte chinese", "配置", true},
      {"last before surrogates", "\xED\x9F\xBF", true},
      {"first after surrogates", "\xEE\x80\x80", true},
      {"U+FFFF", "\xEF\xBF\xBF", true},
      {"four-byte lowest", "\xF0\x90\x80\x80", true},
      {"U+10FFFF", "\xF4\x8F\xBF\xBF", true},
      {"overlong two-byte C0", "\xC0\x80", false},
      {"overlong two-byte C1", "\xC1\xBF", false},
      {"overlong three-byte", "\xE0\x9F\xBF", false},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF", false},
      {"high surrogate", "\xED\xA0\x80", false},
      {"low surrogate", "\xED\xBF\xBF", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"lead F5", "\xF5\x80\x80\x80", false},
      {"lone continuation", "a\x80", false},
      {"cut at end", "a\xE9\x85", false},
      {"bad continuation", "\xE9\x85\x41", false},
      {"gbk bytes", "\xC5\xE4\xD6\xC3", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.label;
  }
}

TEST(SettingsTextCodecTest, GbkToUtf8) {
  struct Case {
    const char* label;
    std::string gbk;
    std::string utf8;
  };
  const Case cases[] = {
      {"ascii", "k=v\r\n", "k=v\r\n"},
      {"chinese", "\xC5\xE4\xD6\xC3", "配置"},
      {"trail byte is a bracket", "[\x89\x5D]", "[塢]"},
      {"stray byte in the middle", "a\x80" "b\xFF" "c", "a\uFFFDb\uFFFDc"},
      {"lead byte before ascii", "\xC5 d", "\uFFFD d"},
      {"lead byte at the end", "ok\xC5", "ok\uFFFD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.label;
  }
}

TEST(SettingsTextCodecTest, DecodeSettingsText) {
  struct Case {
    const char* label;
    std::string bytes;
    std::string utf8;
    SettingsEncoding encoding;
  };
  const Case cases[] = {
      {"empty", "", "", SettingsEncoding::Utf8},
      {"utf-8", "[配置]\n1=a\n", "[配置]\n1=a\n", SettingsEncoding::Utf8},
      {"bom", "\xEF\xBB\xBF[配置]\n", "[配置]\n", SettingsEncoding::Utf8WithBom},
      {"bom alone", "\xEF\xBB\xBF", "", SettingsEncoding::Utf8WithBom},
      {"gbk", kGbkFile, kGbkFileAsUtf8, SettingsEncoding::Gbk},
  };
  for (const Case& c : cases) {
    const DecodedSettingsText decoded = DecodeSettingsText(c.bytes);
    EXPECT_EQ(decoded.utf8, c.utf8) << c.label;
    EXPECT_EQ(decoded.encoding, c.encoding) << c.label;
  }
}

// --- Numbers ----------------------------------------------------------------

TEST(SettingsNumberTest, ReadsLeadingNumber) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  struct Case {
    std::string text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 0},
      {"12", 12},
      {" 12abc", 12},
      {"  +7", 7},
      {"\t\n-15", -15},
      {"-3.9", -3},
      {"3.9", 3},
      {"-0.5", 0},
      {".5", 0},
      {"5.", 5},
      {"1e2", 100},
      {"1E+2x", 100},
      {"250e-2", 2},
      {"7e", 7},
      {"7e+", 7},
      {"0x10", 0},
      {"-", 0},
      {"+.", 0},
      {"- 5", 0},
      {"2147483647", kMax},
      {"2147483648", kMax},
      {"-2147483648", kMin},
      {"-2147483649", kMin},
      {"99999999999999999999", kMax},
      {"-1e300", kMin},
      {"1e400", kMax},
      {"-1e99999999999999999999", kMin},
      {"1e-400", 0},
      {"0.000000000000000000001e20", 0},
      {"inf", 0},
      {"nan", 0},
      {"12,5", 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadSettingNumber(c.text), c.expected) << '"' << c.text << '"';
  }
}

// --- Reading ----------------------------------------------------------------

TEST_F(SettingsFileTest, ReadFollowsProfileRules) {
  struct Case {
    const char* label;
    std::string content;
    std::string section;
    std::string key;
    std::string defaultValue;
    std::string expected;
  };
  const Case cases[] = {
      {"lf", "[s]\nk=v\n", "s", "k", "d", "v"},
      {"crlf", "[s]\r\nk=v\r\nx=y\r\n", "s", "x", "d", "y"},
      {"no final newline", "[s]\nk=v", "s", "k", "d", "v"},
      {"bom", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "d", "v"},
      {"section case", "[Sound]\nk=v\n", "sOUND", "k", "d", "v"},
      {"key case", "[s]\nVolume=80\n", "s", "VOLUME", "d", "80"},
      {"chinese names", "[配置]\n通道=2\n", "配置", "通道", "d", "2"},
      {"blanks trimmed", "  [ s\t] \n \tk \t=  a b \t\n", "s", "k", "d", "a b"},
      {"trailing blanks of given names", "[s]\nk=v\n", "s \t", "k\t ", "d", "v"},
      {"double quotes", "[s]\nk=\"x\"\n", "s", "k", "d", "x"},
      {"single quotes", "[s]\nk= 'x y' \n", "s", "k", "d", "x y"},
      {"empty quotes", "[s]\nk=\"\"\n", "s", "k", "d", ""},
      {"mismatched quotes", "[s]\nk=\"x'\n", "s", "k", "d", "\"x'"},
      {"lone quote", "[s]\nk=\"\n", "s", "k", "d", "\""},
      {"quote on one side", "[s]\nk=\"x\n", "s", "k", "d", "\"x"},
      {"empty value beats default", "[s]\nk=\n", "s", "k", "d", ""},
      {"blank value beats default", "[s]\nk=  \t\n", "s", "k", "d", ""},
      {"second equals kept", "[s]\nk=a=b\n", "s", "k", "d", "a=b"},
      {"semicolon in value kept", "[s]\nk=a ; b\n", "s", "k", "d", "a ; b"},
      {"missing section", "[s]\nk=v\n", "t", "k", "d", "d"},
      {"missing section no default", "[s]\nk=v\n", "t", "k", "", ""},
      {"missing key", "[s]\nk=v\n", "s", "j", "d", "d"},
      {"missing key no default", "[s]\nk=v\n", "s", "j", "", ""},
      {"key of another section", "[s]\nk=v\n[t]\nj=w\n", "s", "j", "d", "d"},
      {"key before any section", "k=v\n[s]\nj=w\n", "s", "k", "d", "d"},
      {"semicolon comment", "[s]\n;k=v\n", "s", ";k", "d", "d"},
      {"hash comment", "[s]\n  #k=v\n", "s", "#k", "d", "d"},
      {"commented key", "[s]\n;k=old\nk=new\n", "s", "k", "d", "new"},
      {"line without equals", "[s]\nk\n", "s", "k", "d", "d"},
      {"first of two sections", "[s]\nk=1\n[S]\nk=2\nj=3\n", "s", "k", "d", "1"},
      {"only first section searched", "[s]\nk=1\n[S]\nj=3\n", "s", "j", "d", "d"},
      {"first of two keys", "[s]\nk=1\nK=2\n", "s", "k", "d", "1"},
      {"text after bracket", "[s] note\nk=v\n", "s", "k", "d", "v"},
      {"unclosed bracket", "[s\nk=v\n", "s", "k", "d", "v"},
      {"bracket in section", "[a[b]\nk=v\n", "a[b", "k", "d", "v"},
      {"case folds ascii only", "[Ä]\nk=v\n", "ä", "k", "d", "d"},
  };
  for (const Case& c : cases) {
    const std::string file = Path("read.ini");
    Put(file, c.content);
    EXPECT_EQ(ReadSetting(file, c.section, c.key, c.defaultValue), c.expected) << c.label;
  }
}

TEST_F(SettingsFileTest, ReadsGbkFile) {
  const std::string file = Path("路径.ini");
  Put(file, kGbkFile + "[\x89\x5D]\r\nk=v\r\n");  // a section named 塢, whose GBK trail byte is ']'
  EXPECT_EQ(ReadSetting(file, "配置", "1"), "C:\\声音\\开场.mp3");
  EXPECT_EQ(ReadSetting(file, "配置", "2"), "掌声");
  EXPECT_EQ(ReadSetting(file, "设置", "通道"), "2");
  EXPECT_EQ(ReadSetting(file, "塢", "k"), "v");
  EXPECT_EQ(ReadSetting(file, "配置", "3", "none"), "none");
}

TEST_F(SettingsFileTest, MissingFileGivesDefault) {
  EXPECT_EQ(ReadSetting(Path("absent.ini"), "s", "k", "d"), "d");
  EXPECT_EQ(ReadSetting(Path("absent.ini"), "s", "k"), "");
  EXPECT_EQ(ReadSetting(Path("no-folder/absent.ini"), "s", "k", "d"), "d");
  EXPECT_EQ(ReadSetting(folder_, "s", "k", "d"), "d");  // a folder is no file
}

TEST_F(SettingsFileTest, LongValuesAreCut) {
  struct Case {
    const char* label;
    std::string value;
    std::size_t expectedLength;
  };
  const Case cases[] = {
      {"ascii at the limit", std::string(kMaxSettingBytes, 'a'), kMaxSettingBytes},
      {"ascii one over", std::string(kMaxSettingBytes + 1, 'a'), kMaxSettingBytes},
      {"ascii far over", std::string(3 * kMaxSettingBytes, 'a'), kMaxSettingBytes},
      // 2 + 3 * 3412 = 10,238: the next character would end at 10,241.
      {"limit inside a character", "ab" + Repeat("配", 3414), 10238},
      // 1 + 4 * 2559 = 10,237: the next four-byte character would end at 10,241.
      {"limit inside a four-byte character", "a" + Repeat("\xF0\x9F\x94\x8A", 2600), 10237},
  };
  for (const Case& c : cases) {
    const std::string file = Path("long.ini");
    Put(file, "[s]\r\nk=" + c.value + "\r\nnext=1\r\n");
    const std::string read = ReadSetting(file, "s", "k");
    EXPECT_EQ(read.size(), c.expectedLength) << c.label;
    EXPECT_EQ(read, c.value.substr(0, c.expectedLength)) << c.label;
    EXPECT_TRUE(IsValidUtf8(read)) << c.label;
    EXPECT_EQ(ReadSetting(file, "s", "next"), "1") << c.label;
  }
}

TEST_F(SettingsFileTest, LeadingControlBytesOfNamesAreSkipped) {
  const std::string file = Path("配置.ini");
  Put(file, "[配置]\n通道=2\n");
  struct Case {
    std::string file;
    std::string section;
    std::string key;
  };
  const Case cases[] = {
      {"\x01 \t" + file, "配置", "通道"},
      {file, "\x01 \t配置", "通道"},
      {file, "配置", "\x1F\r\n 通道"},
      {"\x01" + file, "\x02配置 ", "\x03通道\t"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadSetting(c.file, c.section, c.key, "d"), "2");
  }
  // The same names find the key for a write too.
  ASSERT_TRUE(WriteSetting("\x01 " + file, "\x01 \t配置", "\x05通道", "3"));
  EXPECT_EQ(Get(file), "[配置]\n通道=3\n");
}

TEST_F(SettingsFileTest, EmptyNameGivesDefaultWithoutReading) {
  // A reader that went on would find the blank section and key in this file.
  const std::string file = Path("blank.ini");
  Put(file, "[ ]\n = found\n");
  struct Case {
    std::string file;
    std::string section;
    std::string key;
  };
  const Case cases[] = {
      {file, "", ""},
      {file, "\x01", "\x02"},
      {file, " \t", "k"},
      {file, "s", "\x1F"},
      {"", "s", "k"},
      {" \x01", "s", "k"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadSetting(c.file, c.section, c.key, "d"), "d");
    EXPECT_FALSE(WriteSetting(c.file, c.section, c.key, "v"));
  }
  EXPECT_EQ(Get(file), "[ ]\n = found\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"blank.ini"});
}

TEST_F(SettingsFileTest, EveryReadSeesTheFileAsItIsNow) {
  const std::string file = Path("edit.ini");
  Put(file, "[s]\nk=1\n");
  EXPECT_EQ(ReadSetting(file, "s", "k"), "1");
  Put(file, "[s]\nk=2\n");  // same size, most likely the same modification time
  EXPECT_EQ(ReadSetting(file, "s", "k"), "2");
  Put(file, "[s]\n");
  EXPECT_EQ(ReadSetting(file, "s", "k", "gone"), "gone");
  fs::remove(FsPath(file));
  EXPECT_EQ(ReadSetting(file, "s", "k", "gone"), "gone");
}

// --- Writing ----------------------------------------------------------------

TEST_F(SettingsFileTest, WriteKeepsEveryOtherLine) {
  struct Case {
    const char* label;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
  };
  const Case cases[] = {
      {"new file", "", "s", "k", "v", "[s]\nk=v\n"},
      {"replace in crlf file",
       "; top\r\n[a]\r\nx=1\r\n\r\n[s]\r\n# note\r\nk=old\r\nj=2\r\n",
       "s", "k", "new",
       "; top\r\n[a]\r\nx=1\r\n\r\n[s]\r\n# note\r\nk=new\r\nj=2\r\n"},
      {"replace in lf file", "[s]\n k = old \n", "s", "k", "new", "[s]\nk=new\n"},
      {"key keeps its spelling", "[Sound]\nVolume=1\n", "SOUND", "volume", "2",
       "[Sound]\nVolume=2\n"},
      {"replaced line keeps its ending", "[s]\r\nk=1\nj=2\r\n", "s", "k", "3",
       "[s]\r\nk=3\nj=2\r\n"},
      {"last line keeps missing ending", "[s]\r\nk=1", "s", "k", "2", "[s]\r\nk=2"},
      {"empty value", "[s]\nk=old\n", "s", "k", "", "[s]\nk=\n"},
      {"quoted value stays as given", "[s]\nk=\"old\"\n", "s", "k", "'x'", "[s]\nk='x'\n"},
      {"first of two keys", "[s]\nk=1\nk=2\n", "s", "k", "3", "[s]\nk=3\nk=2\n"},
      {"first of two sections", "[s]\nk=1\n[S]\nk=2\n", "S", "k", "3",
       "[s]\nk=3\n[S]\nk=2\n"},
      {"new key after last key", "[s]\r\nk=1\r\n;c\r\nj=2\r\n\r\n\r\n[t]\r\n", "s", "n", "3",
       "[s]\r\nk=1\r\n;c\r\nj=2\r\nn=3\r\n\r\n\r\n[t]\r\n"},
      {"new key after header", "[s]\n\n[t]\nk=1\n", "s", "k", "2", "[s]\nk=2\n\n[t]\nk=1\n"},
      {"new key in first of two sections", "[s]\nk=1\n[s]\nj=2\n", "s", "j", "3",
       "[s]\nk=1\nj=3\n[s]\nj=2\n"},
      {"new key after last line without ending", "[s]\r\nk=1", "s", "j", "2",
       "[s]\r\nk=1\r\nj=2\r\n"},
      {"commented key is not replaced", "[s]\n;k=1\n", "s", "k", "2", "[s]\nk=2\n;k=1\n"},
      {"key before any section is not replaced", "k=1\n[s]\n", "s", "k", "2",
       "k=1\n[s]\nk=2\n"},
      {"new section", "[a]\r\nx=1\r\n", "b", "y", "2", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
      {"new section after missing newline", "[a]\r\nx=1", "b", "y", "2",
       "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
      {"dominant ending is the first one", "; c\n[a]\r\n", "b", "y", "2",
       "; c\n[a]\r\n[b]\ny=2\n"},
      {"no ending at all", "; c", "b", "y", "2", "; c\n[b]\ny=2\n"},
      {"bom kept", "\xEF\xBB\xBF[s]\r\nk=1\r\n", "s", "k", "2", "\xEF\xBB\xBF[s]\r\nk=2\r\n"},
      {"bom kept on append", "\xEF\xBB\xBF", "s", "k", "1", "\xEF\xBB\xBF[s]\nk=1\n"},
      {"chinese names", "[配置]\n1=a\n", "配置", "2", "掌声", "[配置]\n1=a\n2=掌声\n"},
      {"gbk becomes utf-8", kGbkFile, "配置", "2", "欢呼",
       "; 声音路径\r\n[配置]\r\n1=C:\\声音\\开场.mp3\r\n2=欢呼\r\n[设置]\r\n通道=2\r\n"},
  };
  for (const Case& c : cases) {
    const std::string file = Path("write.ini");
    fs::remove(FsPath(file));
    if (!c.before.empty()) {
      Put(file, c.before);
    }
    ASSERT_TRUE(WriteSetting(file, c.section, c.key, c.value)) << c.label;
    EXPECT_EQ(Get(file), c.after) << c.label;
    EXPECT_EQ(Entries(), std::vector<std::string>{"write.ini"}) << c.label;
  }
}

TEST_F(SettingsFileTest, ConvertedGbkFileStaysReadable) {
  const std::string file = Path("路径.ini");
  Put(file, kGbkFile);
  ASSERT_TRUE(WriteSetting(file, "设置", "音量", "80"));
  const std::string bytes = Get(file);
  EXPECT_TRUE(IsValidUtf8(bytes));
  EXPECT_EQ(DecodeSettingsText(bytes).encoding, SettingsEncoding::Utf8);
  EXPECT_EQ(ReadSetting(file, "配置", "1"), "C:\\声音\\开场.mp3");
  EXPECT_EQ(ReadSetting(file, "配置", "2"), "掌声");
  EXPECT_EQ(ReadSetting(file, "设置", "通道"), "2");
  EXPECT_EQ(ReadSetting(file, "设置", "音量"), "80");
}

TEST_F(SettingsFileTest, SuccessiveWritesBuildAFile) {
  const std::string file = Path("配置.ini");
  ASSERT_TRUE(WriteSetting(file, "配置", "1", "/home/me/a.mp3"));
  ASSERT_TRUE(WriteSetting(file, "设置", "通道", "1"));
  ASSERT_TRUE(WriteSetting(file, "配置", "2", "b.mp3"));
  ASSERT_TRUE(WriteSetting(file, "配置", "1", ""));
  EXPECT_EQ(Get(file), "[配置]\n1=\n2=b.mp3\n[设置]\n通道=1\n");
  EXPECT_EQ(ReadSetting(file, "配置", "1", "d"), "");
  EXPECT_EQ(ReadSetting(file, "配置", "2"), "b.mp3");
  EXPECT_EQ(ReadSetting(file, "设置", "通道"), "1");
}

TEST_F(SettingsFileTest, RefusedWriteLeavesFileAlone) {
  const std::string before = "[s]\r\nk=1\r\n";
  struct Case {
    const char* label;
    std::string section;
    std::string key;
    std::string value;
  };
  const Case cases[] = {
      {"value with lf", "s", "k", "a\nb"},
      {"value with cr", "s", "k", "a\rb"},
      {"value with crlf", "s", "k", "a\r\n[x]"},
      {"value with nul", "s", "k", std::string("a\0b", 3)},
      {"section with bracket", "s]x", "k", "v"},
      {"section with lf", "s\nx", "k", "v"},
      {"section with nul", std::string("s\0x", 3), "k", "v"},
      {"key with equals", "s", "k=x", "v"},
      {"key with lf", "s", "k\nx", "v"},
      {"key with cr", "s", "k\r", "v"},
      {"key with nul", "s", std::string("k\0", 2), "v"},
      {"key opening a section", "s", "[k", "v"},
      {"key as comment", "s", ";k", "v"},
      {"key as hash comment", "s", " #k", "v"},
  };
  const std::string file = Path("keep.ini");
  Put(file, before);
  for (const Case& c : cases) {
    EXPECT_FALSE(WriteSetting(file, c.section, c.key, c.value)) << c.label;
    EXPECT_EQ(Get(file), before) << c.label;
  }
  EXPECT_EQ(Entries(), std::vector<std::string>{"keep.ini"});
}

TEST_F(SettingsFileTest, MissingFolderIsNotCreated) {
  const std::string file = Path("data/配置.ini");
  EXPECT_FALSE(WriteSetting(file, "s", "k", "v"));
  EXPECT_FALSE(fs::exists(FsPath(Path("data"))));
  EXPECT_TRUE(Entries().empty());
}

TEST_F(SettingsFileTest, FolderInPlaceOfFileIsNotReplaced) {
  ASSERT_TRUE(fs::create_directory(FsPath(Path("x.ini"))));
  EXPECT_FALSE(WriteSetting(Path("x.ini"), "s", "k", "v"));
  EXPECT_TRUE(fs::is_directory(FsPath(Path("x.ini"))));
  EXPECT_EQ(Entries(), std::vector<std::string>{"x.ini"});
}

TEST_F(SettingsFileTest, ReadOnlyFolderFailsAndKeepsFile) {
  const std::string data = Path("data");
  ASSERT_TRUE(fs::create_directory(FsPath(data)));
  const std::string file = data + "/配置.ini";
  Put(file, "[s]\nk=1\n");
  ASSERT_EQ(::chmod(data.c_str(), 0555), 0);
  const std::string probe = data + "/probe";
  if (std::ofstream(probe).good()) {
    ::unlink(probe.c_str());
    GTEST_SKIP() << "permission bits do not stop this user from writing";
  }
  EXPECT_FALSE(WriteSetting(file, "s", "k", "2"));
  EXPECT_EQ(Get(file), "[s]\nk=1\n");
  EXPECT_EQ(ReadSetting(file, "s", "k"), "1");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(FsPath(data))) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names.size(), 1u);
}

TEST_F(SettingsFileTest, ReadOnlyFileFailsAndKeepsFile) {
  const std::string file = Path("locked.ini");
  Put(file, "[s]\nk=1\n");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  if (::access(file.c_str(), W_OK) == 0) {
    GTEST_SKIP() << "permission bits do not stop this user from writing";
  }
  EXPECT_FALSE(WriteSetting(file, "s", "k", "2"));
  EXPECT_EQ(Get(file), "[s]\nk=1\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"locked.ini"});
}

TEST_F(SettingsFileTest, FailedWriteKeepsOldFileAndLeavesNoTemporary) {
  const std::string file = Path("full.ini");
  Put(file, "[s]\nk=1\n");
  // A file size limit makes writing the new content fail even for root.
  rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteSetting(file, "s", "k", std::string(1000, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(Get(file), "[s]\nk=1\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"full.ini"});
}

TEST_F(SettingsFileTest, WriteKeepsPermissions) {
  struct Case {
    const char* label;
    bool existing;
    mode_t mode;
    mode_t expected;
  };
  const Case cases[] = {
      {"private file", true, 0600, 0600},
      {"shared file", true, 0664, 0664},
      {"new file", false, 0, 0644},
  };
  for (const Case& c : cases) {
    const std::string file = Path("mode.ini");
    fs::remove(FsPath(file));
    if (c.existing) {
      Put(file, "[s]\nk=1\n");
      ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
    }
    ASSERT_TRUE(WriteSetting(file, "s", "k", "2")) << c.label;
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.expected) << c.label;
  }
}

TEST_F(SettingsFileTest, WriteThroughSymlinkUpdatesTarget) {
  ASSERT_TRUE(fs::create_directory(FsPath(Path("real"))));
  const std::string target = Path("real/配置.ini");
  Put(target, "[s]\nk=1\n");
  const std::string link = Path("link.ini");
  ASSERT_EQ(::symlink("real/配置.ini", link.c_str()), 0);  // relative to the link's folder

  ASSERT_TRUE(WriteSetting(link, "s", "k", "2"));
  EXPECT_TRUE(fs::is_symlink(FsPath(link)));
  EXPECT_EQ(Get(target), "[s]\nk=2\n");
  EXPECT_EQ(ReadSetting(link, "s", "k"), "2");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"link.ini", "real"}));
  EXPECT_EQ(fs::directory_iterator(FsPath(Path("real")))->path().filename().string(), "配置.ini");
}

}  // namespace
}  // namespace tavrik
