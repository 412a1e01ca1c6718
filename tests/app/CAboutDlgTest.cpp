// SPDX-License-Identifier: MIT
// The about box on the offscreen platform: its mail link driven with the mouse, the desktop's
// opener recorded.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <tuple>

#include "app/CAboutDlg.h"
#include "platform/ShellOpen.h"
#include "resources/Version.h"

namespace korvane {
namespace {

// The link is 91, 96, 123, 15 dialog units: x 159..373, y 156..179 at base units 7 x 13.
constexpr QPoint kInside(373, 179), kOutside(373, 180);

void Mouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

const std::vector<std::string> kMail{std::string("mailto:") + kContactAddress};

// The two hands are told apart by their hot spots.
std::string Shown(const QWidget& widget) {
  const QCursor cursor = widget.cursor();
  if (cursor.shape() == Qt::ArrowCursor) return "arrow";
  return cursor.hotSpot() == QPoint(13, 6) ? "pointing hand" : "pressing hand";
}

// The hand over the link only; only the position at release counts, and only the left button.
TEST(AboutDlgTest, ALeftReleaseOverTheLinkOpensTheMail) {
  std::vector<std::string> opened;
  const ShellOpenHandler previous = SetShellOpenHandler([&](const std::string& path) { opened.push_back(path); });
  // Pressed at, released at, with; the cursor while pressed and after release; the mail opened.
  const std::tuple<QPoint, QPoint, Qt::MouseButton, std::string, std::string, bool> cases[] = {
      {kInside, kInside, Qt::LeftButton, "pressing hand", "pointing hand", true},
      {kOutside, kInside, Qt::LeftButton, "arrow", "pointing hand", true},
      {kInside, kOutside, Qt::LeftButton, "pressing hand", "arrow", false},
      {kInside, kInside, Qt::RightButton, "pointing hand", "pointing hand", false},
  };
  for (const auto& [pressAt, releaseAt, button, whilePressed, afterRelease, opens] : cases) {
    SCOPED_TRACE(testing::Message() << "y " << pressAt.y() << " to " << releaseAt.y() << ", button " << button);
    opened.clear();
    CAboutDlg box;
    Mouse(box, QEvent::MouseButtonPress, pressAt, button, button);
    EXPECT_EQ(Shown(box), whilePressed);
    if (releaseAt != pressAt) Mouse(box, QEvent::MouseMove, releaseAt, Qt::NoButton, button);
    Mouse(box, QEvent::MouseButtonRelease, releaseAt, button, Qt::NoButton);
    EXPECT_EQ(Shown(box), afterRelease);
    EXPECT_EQ(opened, opens ? kMail : std::vector<std::string>{});
  }
  // The keyboard: Tab reaches the link, named as painted, where Enter opens the mail; before
  // that and after Tab again, Enter closes the box, though no button shows.
  opened.clear();
  CAboutDlg box;
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QWidget* link = QApplication::focusWidget();
  EXPECT_EQ(link->accessibleName(), QString("連絡先: ") + kContactAddress);
  QTest::keyClick(link, Qt::Key_Return);
  EXPECT_EQ(opened, kMail);
  EXPECT_TRUE(box.isVisible());
  QTest::keyClick(link, Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(box.result(), QDialog::Accepted);
  box.show();
  QTest::keyClick(link, Qt::Key_Escape);  // passed on by the link to the box
  EXPECT_EQ(box.result(), QDialog::Rejected);
  SetShellOpenHandler(previous);
}

}  // namespace
}  // namespace korvane
