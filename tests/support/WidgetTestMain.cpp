// SPDX-License-Identifier: MIT
// Widget tests run on the offscreen platform unless told otherwise; the binary also runs at
// build time, for test discovery, where no display exists.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/DialogFont.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  korvane::InstallDialogFont();
  return RUN_ALL_TESTS();
}
