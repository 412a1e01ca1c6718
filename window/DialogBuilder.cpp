// SPDX-License-Identifier: MIT
#include "window/DialogBuilder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/DialogFont.h"
#include "resources/ControlIds.h"
#include "window/UpDownControl.h"

namespace korvane {
namespace {

// Makes the standard control of each kind; radio buttons join the group last started.
class StandardControls {
 public:
  explicit StandardControls(QWidget& parent) : parent_(parent) {}

  QWidget* Make(const ControlTemplate& control) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
      case ControlKind::Static: return new QLabel(text, &parent_);
      case ControlKind::Edit: return new QLineEdit(&parent_);
      case ControlKind::PushButton: {
        auto* button = new QPushButton(text, &parent_);
        // The templates' buttons are small; the style's padding would cut their text.
        button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
        return button;
      }
      case ControlKind::GroupBox: {
        auto* group = new QGroupBox(text, &parent_);
        // The title sits on the frame's top line, as the templates were drawn.
        group->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); margin-top: 6px; }"
            "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
        return group;
      }
      case ControlKind::CheckBox: return new QCheckBox(text, &parent_);
      case ControlKind::FirstRadioButton:
      case ControlKind::RadioButton: {
        if (radioGroup_ == nullptr || control.kind == ControlKind::FirstRadioButton)
          radioGroup_ = new QButtonGroup(&parent_);
        auto* button = new QRadioButton(text, &parent_);
        // A button's id in its group is its place there: the choice it stands for.
        radioGroup_->addButton(button, static_cast<int>(radioGroup_->buttons().size()));
        return button;
      }
      case ControlKind::UpDown: return new UpDownControl(&parent_);
      case ControlKind::ListBox:
      case ControlKind::ListView:
      case ControlKind::TabControl: break;
    }
    return nullptr;
  }

 private:
  QWidget& parent_;
  QButtonGroup* radioGroup_ = nullptr;
};

// Fields, lists and tab frames show no text of their own: theirs is what a screen reader
// calls them.
bool TextIsName(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::ListBox || kind == ControlKind::ListView ||
         kind == ControlKind::TabControl;
}

}  // namespace

BuiltControls BuildDialog(QWidget& parent, const DialogTemplate& dialog,
                          const std::function<QWidget*(const ControlTemplate&)>& makeCustom) {
  const DialogBaseUnits base = MeasureBaseUnits(parent.font());
  StandardControls standard(parent);
  BuiltControls built;
  QWidget* previous = nullptr;
  for (const ControlTemplate& control : dialog.controls) {
    QWidget* widget = makeCustom(control);
    if (widget == nullptr) widget = standard.Make(control);
    if (widget == nullptr) continue;
    widget->setParent(&parent);
    widget->setProperty(id::kControlIdProperty, control.id);
    widget->setGeometry(HorizontalPixels(control.x, base), VerticalPixels(control.y, base),
                        HorizontalPixels(control.width, base), VerticalPixels(control.height, base));
    widget->setVisible(control.visible);
    if (TextIsName(control.kind)) widget->setAccessibleName(QString::fromUtf8(control.text));
    // A group box is only a frame: the controls inside it must stay clickable.
    if (control.kind == ControlKind::GroupBox) widget->lower();
    auto* upDown = qobject_cast<UpDownControl*>(widget);
    auto* buddy = qobject_cast<QLineEdit*>(previous);
    if (upDown != nullptr && buddy != nullptr) upDown->AttachTo(buddy);
    built.Add(control.id, widget);
    previous = widget;
  }
  return built;
}

QSize DialogPixelSize(const DialogTemplate& dialog, const QFont& font) {
  const DialogBaseUnits base = MeasureBaseUnits(font);
  return {HorizontalPixels(dialog.width, base), VerticalPixels(dialog.height, base)};
}

}  // namespace korvane
