#include "platform/QtMessageBox.h"

#include <QMessageBox>

#include "platform/QtText.h"
#include "platform/MessageBox.h"
#include "platform/UiThread.h"

namespace korvane {
namespace {

QMessageBox::Icon IconOf(unsigned style) {
  switch (style & 0xF0u) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

int ShowBox(const std::string& text, unsigned style) {
  QMessageBox box(IconOf(style), QStringLiteral("Korvane"),
                  ToQString(text), QMessageBox::Ok);
  if (style & MB_TOPMOST) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
  return IDOK;
}

}  // namespace

void InstallQtMessageBox() {
  SetMessageBoxHandler([](const std::string& text, unsigned style) {
    int result = IDOK;
    RunOnUiThreadAndWait([&] { result = ShowBox(text, style); });
    return result;
  });
}

}  // namespace korvane
