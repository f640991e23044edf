#include "app/naming_dialog.h"

#include "audio/slot_assignment.h"
#include "skin/skin_manager.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>

namespace tavrik {

namespace {

// One OK button, modal for the whole program, no owner.
void Inform(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), text, QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

QString ProblemText(NameProblem problem) {
  switch (problem) {
    case NameProblem::Empty:
      return QStringLiteral("名字不能为空");
    case NameProblem::Separator:
      return QStringLiteral("名字不能包含 / 或 \\");
    case NameProblem::DotName:
      return QStringLiteral("名字不能是 . 或 ..");
    case NameProblem::Unusable:
      return QStringLiteral("名字不能用作文件名");
    case NameProblem::None:
      break;
  }
  return {};
}

}  // namespace

NamingDialog::NamingDialog(std::string runDirectory, std::function<void(int, const QString&)> onAssigned)
    : QWidget(nullptr), m_runDirectory(std::move(runDirectory)), m_onAssigned(std::move(onAssigned)) {
  m_built = BuildWindow(NamingDialogDescription(), this, [this](const std::string& source, ControlEvent, int) {
    if (source == "按钮1") {
      ConfirmSoundName();
    }
  });
  setWindowIcon(QIcon(QStringLiteral(":/artwork/name.ico")));
  SkinManager::Instance().SkinWindow(this, {});
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }
}

void NamingDialog::ShowOnTop() {
  setWindowFlag(Qt::WindowStaysOnTopHint, true);  // also hides it; shown below
  show();
  raise();
  activateWindow();
}

void NamingDialog::HideAndDropTop() {
  hide();
  setWindowFlag(Qt::WindowStaysOnTopHint, false);
}

void NamingDialog::ConfirmSoundName() {
  const QString name = m_built.Control<QLineEdit>("编辑框1")->text();
  const std::string utf8 = name.toStdString();
  if (const NameProblem problem = CheckSoundName(utf8); problem != NameProblem::None) {
    Inform(ProblemText(problem));
    return;
  }
  if (tavrik::ConfirmSoundName(m_runDirectory, m_targetSlot, utf8) != AssignResult::Assigned) {
    Inform(QStringLiteral("名字已存在"));
    return;
  }
  m_onAssigned(m_targetSlot, name);
  HideAndDropTop();
}

void NamingDialog::closeEvent(QCloseEvent* event) {
  HideAndDropTop();
  event->ignore();
}

}  // namespace tavrik
