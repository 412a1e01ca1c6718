// The about box on the offscreen platform: its mail link driven with the mouse, the desktop's
// opener recorded.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "app/CAboutDlg.h"
#include "platform/ShellOpen.h"

namespace korvane {
namespace {

// The link is 91, 96, 123, 15 dialog units: x 159..373, y 156..179 at base units 7 x 13.
constexpr QPoint kInside(260, 168), kOutside(100, 168);

void Mouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

// The two hands are told apart by their hot spots.
std::string Shown(const QWidget& widget) {
  const QCursor cursor = widget.cursor();
  if (cursor.shape() == Qt::ArrowCursor) return "arrow";
  if (cursor.pixmap().size() != QSize(32, 32)) return "other";
  return cursor.hotSpot() == QPoint(13, 6) ? "pointing hand" : cursor.hotSpot() == QPoint(12, 7) ? "pressing hand" : "other";
}

class AboutDlgTest : public testing::Test {
 protected:
  ~AboutDlgTest() override { SetShellOpenHandler(previous_); }
  std::vector<std::string> opened;
  ShellOpenHandler previous_ = SetShellOpenHandler([this](const std::string& path) { opened.push_back(path); });
};

TEST_F(AboutDlgTest, HoverShowsThePointingHandExactlyOverTheLink) {
  const std::pair<QPoint, const char*> points[] = {
      {kOutside, "arrow"},           {{159, 156}, "pointing hand"}, {{158, 156}, "arrow"},
      {{373, 179}, "pointing hand"}, {{374, 179}, "arrow"},         {{373, 180}, "arrow"},
  };
  CAboutDlg box;
  for (const auto& [at, shown] : points) {
    Mouse(box, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Shown(box), shown) << at.x() << "," << at.y();
  }
}

// Only the position at release counts, and only the left button.
TEST_F(AboutDlgTest, ALeftReleaseOverTheLinkOpensTheMail) {
  const struct {
    QPoint pressAt, releaseAt;
    Qt::MouseButton button;
    const char *whilePressed, *afterRelease;
    bool opens;
  } cases[] = {
      {kInside, kInside, Qt::LeftButton, "pressing hand", "pointing hand", true},
      {kOutside, kInside, Qt::LeftButton, "arrow", "pointing hand", true},
      {kInside, kOutside, Qt::LeftButton, "pressing hand", "arrow", false},
      {kInside, kInside, Qt::RightButton, "pointing hand", "pointing hand", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    opened.clear();
    CAboutDlg box;
    Mouse(box, QEvent::MouseButtonPress, c.pressAt, c.button, c.button);
    EXPECT_EQ(Shown(box), c.whilePressed);
    if (c.releaseAt != c.pressAt) Mouse(box, QEvent::MouseMove, c.releaseAt, Qt::NoButton, c.button);
    Mouse(box, QEvent::MouseButtonRelease, c.releaseAt, c.button, Qt::NoButton);
    EXPECT_EQ(Shown(box), c.afterRelease);
    EXPECT_EQ(opened, c.opens ? std::vector<std::string>{"mailto:korvane@example.org"} : std::vector<std::string>{});
  }
}

// No button shows, yet Enter and Escape close the box.
TEST_F(AboutDlgTest, ClosesOnEnterAndEscape) {
  const std::pair<Qt::Key, QDialog::DialogCode> keys[] = {
      {Qt::Key_Return, QDialog::Accepted}, {Qt::Key_Enter, QDialog::Accepted}, {Qt::Key_Escape, QDialog::Rejected}};
  for (const auto& [key, result] : keys) {
    CAboutDlg box;
    box.show();
    QTest::keyClick(&box, key);
    EXPECT_FALSE(box.isVisible()) << key;
    EXPECT_EQ(box.result(), result) << key;
  }
}

}  // namespace
}  // namespace korvane
