#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QDialog window;
  window.setWindowTitle(QStringLiteral("Korvane"));
  window.show();
  return application.exec();
}
