// SPDX-License-Identifier: MIT
#include "app/CAboutDlg.h"

#include "app/FocusableLink.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "platform/DialogFont.h"
#include "platform/ShellOpen.h"
#include "resources/AboutDialogTemplate.h"
#include "resources/Icons.h"
#include "resources/Texts.h"
#include "resources/Version.h"
#include "window/DialogBuilder.h"

// A static library's resources are not registered on their own; the macro must be used
// outside every namespace.
static void RegisterAboutResources() { Q_INIT_RESOURCE(about); }

namespace korvane {
namespace {

constexpr QSize kPictureSize(400, 200);

QCursor LoadCursor(const QString& path, int hotX, int hotY) {
  static const bool registered = (RegisterAboutResources(), true);
  static_cast<void>(registered);
  return QCursor(QPixmap(path), hotX, hotY);
}

QString ContactLine() { return QString::fromStdString(FillFormat(text::kAboutContact, {kContactAddress})); }

QFont PictureFont(int pixels, bool bold = false) {
  QFont font = DialogFont();
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// Rings spreading from one point: a message broadcast to the whole LAN.
void DrawRings(QPainter& painter) {
  painter.setBrush(Qt::NoBrush);
  for (int ring = 1; ring <= 5; ++ring) {
    painter.setPen(QPen(QColor(255, 255, 255, 60 - ring * 10), 2));
    painter.drawEllipse(QPoint(370, 30), ring * 26, ring * 26);
  }
}

void DrawEnvelope(QPainter& painter, const QRect& box, const QColor& colour) {
  painter.setPen(QPen(colour, 1.2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(box);
  painter.drawPolyline(QPolygon{box.topLeft(), QPoint(box.center().x(), box.center().y() + 1),
                                box.topRight()});
}

// The picture is shown at the client area's origin, so the link rectangle, in client
// coordinates, also places the contact line on the picture.
QPixmap DrawPicture(const QRect& link) {
  QPixmap picture(kPictureSize);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient sky(0, 0, kPictureSize.width(), kPictureSize.height());
  sky.setColorAt(0, QColor(0x0f, 0x2d, 0x4a));
  sky.setColorAt(1, QColor(0x1f, 0x63, 0x7e));
  painter.fillRect(picture.rect(), sky);
  DrawRings(painter);

  // The pixel-art icon stays sharp when doubled without smoothing.
  const QRect tile(22, 22, 76, 76);
  QPainterPath tileShape;
  tileShape.addRoundedRect(tile, 12, 12);
  painter.fillPath(tileShape, QColor(0xf4, 0xf7, 0xfa));
  painter.drawPixmap(QRect(tile.topLeft() + QPoint(6, 6), QSize(64, 64)), MainIcon().pixmap(32, 32));

  painter.setPen(Qt::white);
  painter.setFont(PictureFont(32, true));
  painter.drawText(QPoint(116, 58), QString::fromUtf8(text::kAboutHeading));
  painter.setPen(QColor(0xa9, 0xcc, 0xe3));
  painter.setFont(PictureFont(13));
  painter.drawText(QPoint(118, 84), QString::fromStdString(FillFormat(text::kAboutVersion, {kProgramVersion})));

  painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
  painter.drawLine(22, 114, kPictureSize.width() - 22, 114);
  painter.setPen(Qt::white);
  painter.drawText(QRect(22, 118, kPictureSize.width() - 44, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(text::kAboutTagline));

  // A darker band carries the contact line, which the mail link covers.
  const int bandTop = link.top() - 6;
  painter.fillRect(QRect(0, bandTop, kPictureSize.width(), kPictureSize.height() - bandTop),
                   QColor(0x06, 0x16, 0x26, 150));
  const QColor linkColour(0x9a, 0xd7, 0xff);
  const QRect envelope(link.left() + 4, link.center().y() - 4, 14, 9);
  DrawEnvelope(painter, envelope, linkColour);
  QFont contactFont = PictureFont(13);
  contactFont.setUnderline(true);
  painter.setFont(contactFont);
  painter.setPen(linkColour);
  painter.drawText(link.adjusted(envelope.width() + 10, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   ContactLine());
  return picture;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent),
      m_pBitmap(std::make_unique<QPixmap>()),
      m_hPointCursor(LoadCursor(QStringLiteral(":/about/point135.xpm"), 13, 6)),
      m_hPressCursor(LoadCursor(QStringLiteral(":/about/press134.xpm"), 12, 7)) {
  setWindowTitle(QString::fromUtf8(kAboutDialog.title));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(DialogFont());
  setFixedSize(DialogPixelSize(kAboutDialog, font()));
  // The cursor must follow the mouse with no button down, too.
  setMouseTracking(true);

  const BuiltControls controls =
      BuildDialog(*this, kAboutDialog, [](const ControlTemplate&) -> QWidget* { return nullptr; });
  m_btnOk = controls.Get<QPushButton>(id::kAboutOk);
  m_wndLink = controls.Get<QLabel>(id::kAboutLink);
  m_btnOk->setDefault(true);
  connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
  OnInitDialog();
}

void CAboutDlg::OnInitDialog() {
  m_rcLink = m_wndLink->geometry();
  *m_pBitmap = DrawPicture(m_rcLink);
  auto* link = new FocusableLink(ContactLine(), &CAboutDlg::OpenMail, this);
  link->setGeometry(m_rcLink);
  // Enter at opening closes the box as before; the link takes focus only from Tab.
  setFocusPolicy(Qt::TabFocus);
  setFocus();
}

void CAboutDlg::paintEvent(QPaintEvent*) {
  QPainter(this).drawPixmap(0, 0, *m_pBitmap);
}

void CAboutDlg::OnSetCursor(QPoint position) {
  m_bOverLink = m_rcLink.contains(position);
  if (m_bOverLink) setCursor(m_hPointCursor);
  else unsetCursor();
}

void CAboutDlg::mouseMoveEvent(QMouseEvent* event) {
  OnSetCursor(event->position().toPoint());
  QDialog::mouseMoveEvent(event);
}

void CAboutDlg::mousePressEvent(QMouseEvent* event) {
  OnSetCursor(event->position().toPoint());
  if (event->button() == Qt::LeftButton && m_bOverLink) setCursor(m_hPressCursor);
  QDialog::mousePressEvent(event);
}

void CAboutDlg::mouseReleaseEvent(QMouseEvent* event) {
  // Brings the pointing hand back over the link.
  OnSetCursor(event->position().toPoint());
  if (event->button() == Qt::LeftButton) OpenLink();
  QDialog::mouseReleaseEvent(event);
}

void CAboutDlg::OpenLink() {
  if (m_bOverLink) OpenMail();
}

void CAboutDlg::OpenMail() { ShellOpen(Cp932<text::kMailtoPrefix>() + Cp932<kContactAddress>()); }

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
  // A dialog gives Enter only to a visible default button, and this one is hidden.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    m_btnOk->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace korvane
