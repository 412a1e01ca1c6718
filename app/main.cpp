#include <QApplication>
#include <QDialog>

#include "platform/DialogFont.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  korvane::InstallDialogFont();
  QDialog window;
  window.setWindowTitle(QStringLiteral("Korvane"));
  window.show();
  return application.exec();
}
