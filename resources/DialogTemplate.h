// SPDX-License-Identifier: MIT
#pragma once
// Dialog templates as data: each control's id, kind, text and rectangle in dialog units.

#include <span>

namespace korvane {

enum class ControlKind {
  ListBox,
  ListView,
  Static,
  Edit,
  PushButton,
  GroupBox,  // a frame with a title, behind the controls it surrounds
  CheckBox,
  FirstRadioButton,  // starts a new group: only the buttons of one group exclude each other
  RadioButton,       // joins the group of the radio button before it
  UpDown,            // arrows on the right edge of the field before it; its width is used
  TabControl,        // made by the dialog itself
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;  // UTF-8; that of a field, a list or a tab frame is not shown but spoken, as its name
  int x, y, width, height;
  bool visible = true;
};

struct DialogTemplate {
  const char* title;
  int width, height;  // client area, dialog units
  std::span<const ControlTemplate> controls;
};

}  // namespace korvane
