#include "window/DialogBuilder.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/DialogFont.h"
#include "resources/ControlIds.h"

namespace korvane {
namespace {

QWidget* MakeStandard(const ControlTemplate& control, QWidget& parent) {
  const QString text = QString::fromUtf8(control.text);
  switch (control.kind) {
    case ControlKind::Static: return new QLabel(text, &parent);
    case ControlKind::Edit: return new QLineEdit(&parent);
    case ControlKind::PushButton: {
      auto* button = new QPushButton(text, &parent);
      // The templates' buttons are small; the style's padding would cut their text.
      button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
      return button;
    }
    case ControlKind::GroupBox: {
      auto* group = new QGroupBox(text, &parent);
      // The title sits on the frame's top line, as the templates were drawn.
      group->setStyleSheet(QStringLiteral(
          "QGroupBox { border: 1px solid palette(mid); margin-top: 6px; }"
          "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
      return group;
    }
    case ControlKind::RadioButton: return new QRadioButton(text, &parent);
    case ControlKind::ListBox:
    case ControlKind::ListView: break;
  }
  return nullptr;
}

}  // namespace

BuiltControls BuildDialog(QWidget& parent, const DialogTemplate& dialog,
                          const std::function<QWidget*(const ControlTemplate&)>& makeCustom) {
  const DialogBaseUnits base = MeasureBaseUnits(parent.font());
  BuiltControls built;
  for (const ControlTemplate& control : dialog.controls) {
    QWidget* widget = makeCustom(control);
    if (widget == nullptr) widget = MakeStandard(control, parent);
    if (widget == nullptr) continue;
    widget->setParent(&parent);
    widget->setProperty(id::kControlIdProperty, control.id);
    widget->setGeometry(HorizontalPixels(control.x, base), VerticalPixels(control.y, base),
                        HorizontalPixels(control.width, base), VerticalPixels(control.height, base));
    widget->setVisible(control.visible);
    // A group box is only a frame: the controls inside it must stay clickable.
    if (control.kind == ControlKind::GroupBox) widget->lower();
    built.Add(control.id, widget);
  }
  return built;
}

QSize DialogPixelSize(const DialogTemplate& dialog, const QFont& font) {
  const DialogBaseUnits base = MeasureBaseUnits(font);
  return {HorizontalPixels(dialog.width, base), VerticalPixels(dialog.height, base)};
}

}  // namespace korvane
