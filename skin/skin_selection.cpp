#include "skin/skin_selection.h"

#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "skin/skin_manager.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace tavrik {

namespace {

constexpr std::string_view kSkinSection = "配置";
constexpr std::string_view kSkinKey = "1";

QString Qs(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

QByteArray BuiltInSkinPicture(int n) {
  QFile file(QStringLiteral(":/artwork/skin%1.jpg").arg(n));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SkinSelection::SkinSelection(std::string runDirectory, std::function<void()> redraw)
    : m_runDirectory(std::move(runDirectory)), m_redraw(std::move(redraw)) {}

void SkinSelection::ApplyBuiltInSkin(const SkinScheme& scheme) {
  SkinPicture skin;
  skin.bytes = BuiltInSkinPicture(scheme.picture);
  skin.accentColour = kBoardAccent;
  skin.layout = kSkinLayout;
  SkinManager::Instance().SetSkin(skin);
  m_redraw();
  WriteSetting(m_runDirectory + std::string(kSkinFile), kSkinSection, kSkinKey, scheme.storedName);
}

void SkinSelection::ChooseCustomSkin(const std::string& path) {
  SkinPicture skin;
  skin.file = Qs(path);
  skin.layout = kSkinLayout;  // no accent: the component's own until the next start
  SkinManager::Instance().SetSkin(skin);
  m_redraw();
  const std::filesystem::path target = FsPath(m_runDirectory + std::string(kCustomSkinPicture));
  std::error_code error;
  // Choosing the stored picture itself leaves it as it is; any other picture
  // replaces it whole or not at all.
  if (!std::filesystem::equivalent(FsPath(path), target, error)) {
    std::filesystem::path partial = target;
    partial += ".part";
    if (std::filesystem::copy_file(FsPath(path), partial, std::filesystem::copy_options::overwrite_existing, error)) {
      std::filesystem::rename(partial, target, error);
    }
    std::filesystem::remove(partial, error);
  }
  WriteSetting(m_runDirectory + std::string(kSkinFile), kSkinSection, kSkinKey, "自定义");
}

void SkinSelection::RestoreSkin() {
  const std::string stored = ReadSetting(m_runDirectory + std::string(kSkinFile), kSkinSection, kSkinKey);
  const SkinScheme* scheme = SchemeByStoredName(stored);
  if (scheme == nullptr) {
    return;
  }
  SkinPicture skin;
  if (scheme->picture == 0) {
    skin.file = Qs(m_runDirectory + std::string(kCustomSkinPicture));
  } else {
    skin.bytes = BuiltInSkinPicture(scheme->picture);
  }
  skin.accentColour = kBoardAccent;
  skin.layout = kSkinLayout;
  SkinManager::Instance().SetSkin(skin);
}

}  // namespace tavrik
