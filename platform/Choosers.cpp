// SPDX-License-Identifier: MIT
#include "platform/Choosers.h"

#include <QColorDialog>
#include <QFileDialog>

namespace korvane {
namespace {

// Choosers run on the UI thread only.
FileChooser g_fileChooser;
ColourChooser g_colourChooser;

std::optional<QString> RunFileDialog(QWidget* parent, const QString& filter) {
  QFileDialog dialog(parent);
  // An open dialog that also takes a new name: the chosen file is appended to, never
  // replaced, so there is nothing to confirm.
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(filter);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

std::optional<QColor> RunColourDialog(QWidget* parent, const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace

std::optional<QString> ChooseFile(QWidget* parent, const QString& filter) {
  return g_fileChooser ? g_fileChooser(parent, filter) : RunFileDialog(parent, filter);
}

std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) {
  return g_colourChooser ? g_colourChooser(parent, initial) : RunColourDialog(parent, initial);
}

FileChooser SetFileChooser(FileChooser chooser) {
  std::swap(g_fileChooser, chooser);
  return chooser;
}

ColourChooser SetColourChooser(ColourChooser chooser) {
  std::swap(g_colourChooser, chooser);
  return chooser;
}

}  // namespace korvane
