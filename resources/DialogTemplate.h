#pragma once
// Dialog templates as data: each control's id, kind, text and rectangle in dialog units.

#include <span>

namespace korvane {

// The radio buttons of one template form one group.
enum class ControlKind { ListBox, ListView, Static, Edit, PushButton, GroupBox, RadioButton };

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;  // UTF-8
  int x, y, width, height;
  bool visible = true;
};

struct DialogTemplate {
  const char* title;
  int width, height;  // client area, dialog units
  std::span<const ControlTemplate> controls;
};

}  // namespace korvane
