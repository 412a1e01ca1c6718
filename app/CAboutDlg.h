// SPDX-License-Identifier: MIT
#pragma once
// The about box: one picture with the program's name, version and contact line. The contact
// line is a mail link: the pointing hand over it, the pressing hand while the button is
// down, and a release over it opens a new mail to the author. Tab reaches the link, too.

#include <QCursor>
#include <QDialog>
#include <QPixmap>
#include <QRect>
#include <memory>

class QLabel;
class QPushButton;

namespace korvane {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  // Build a new box for every opening and run it with exec().
  explicit CAboutDlg(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Runs at the end of the constructor, once the controls exist and before the box shows.
  void OnInitDialog();
  // Every mouse event passes here first, so the flag always describes the latest position.
  void OnSetCursor(QPoint position);
  void OpenLink();
  static void OpenMail();

  std::unique_ptr<QPixmap> m_pBitmap;
  bool m_bOverLink = false;
  QRect m_rcLink;  // client coordinates
  QLabel* m_wndLink = nullptr;
  QPushButton* m_btnOk = nullptr;
  QCursor m_hPointCursor;
  QCursor m_hPressCursor;
};

}  // namespace korvane
