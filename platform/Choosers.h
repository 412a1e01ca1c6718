// SPDX-License-Identifier: MIT
#pragma once
// The desktop's file and colour choosers, run modally. Tests install their own answers in
// place of the dialogs, so that nothing waits for a person.

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace korvane {

// The full path of the file picked, or nothing when the person cancelled.
using FileChooser = std::function<std::optional<QString>(QWidget* parent, const QString& filter)>;
// The colour picked, or nothing when the person cancelled.
using ColourChooser = std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)>;

// A file to open, existing or new; filter is Qt's ";;"-separated list.
std::optional<QString> ChooseFile(QWidget* parent, const QString& filter);
std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial);

// Each installs a chooser (an empty one restores the dialog) and returns the previous one.
FileChooser SetFileChooser(FileChooser chooser);
ColourChooser SetColourChooser(ColourChooser chooser);

}  // namespace korvane
