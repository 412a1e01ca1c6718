// SPDX-License-Identifier: MIT
#include "platform/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <memory>

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

QMessageBox* MakeBox(const std::string& text, unsigned style) {
  auto* box = new QMessageBox(IconOf(style), QStringLiteral("Korvane"), ToQString(text), QMessageBox::Ok);
  if (style & MB_TOPMOST) box->setWindowFlag(Qt::WindowStaysOnTopHint);
  return box;
}

}  // namespace

void InstallQtMessageBox() {
  SetMessageBoxHandler([](const std::string& text, unsigned style) {
    if (style & MB_NOWAIT) {
      QMetaObject::invokeMethod(qApp, [text, style] {
        QMessageBox* box = MakeBox(text, style);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
      }, Qt::QueuedConnection);
      return IDOK;
    }
    RunOnUiThreadAndWait([&] { std::unique_ptr<QMessageBox>(MakeBox(text, style))->exec(); });
    return IDOK;
  });
}

}  // namespace korvane
