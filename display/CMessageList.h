// SPDX-License-Identifier: MIT
#pragma once
// The message display (control 1000): a list box of chat lines without selection, painted
// in the user's colours. Lines are held as Qt text, converted once; only the rows in view
// are painted, so a long chat stays quick.

#include <QAbstractScrollArea>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "display/MessageDisplay.h"

namespace korvane {

// (text, background), each 0x00BBGGRR.
using ColourPair = std::pair<std::uint32_t, std::uint32_t>;

class CMessageList : public QAbstractScrollArea, public MessageDisplay {
  Q_OBJECT

 public:
  explicit CMessageList(QWidget* parent = nullptr);

  void AppendLine(const std::string& cp932) override;
  int LineCount() const override;
  void ShowLastLine() override;
  // Only this sets how far the lines scroll sideways, as with a list box.
  void SetHorizontalExtent(int pixels) override;
  int MeasureText(const std::string& cp932) const override;

  // Asked at every paint, so a colour change shows at the next repaint.
  void SetColourSource(std::function<ColourPair()> source);
  void ResetContent();
  // The line as shown; empty for a row that does not exist.
  QString LineText(int row) const;
  // Width of the area the lines are drawn in while no vertical bar takes a part of it; valid
  // before the control is first shown.
  int ClientWidth() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int RowHeight() const;
  void UpdateScrollRanges();

  std::vector<QString> lines_;
  int extent_ = 0;
  std::function<ColourPair()> colourSource_;
};

}  // namespace korvane
