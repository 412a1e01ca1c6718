// SPDX-License-Identifier: MIT
#include "window/CSettingsDlg.h"

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "platform/DialogFont.h"
#include "platform/MessageBox.h"
#include "resources/SettingsDialogTemplate.h"
#include "resources/Texts.h"
#include "settings/FileAccess.h"
#include "window/COutDomainPage.h"
#include "window/DialogBuilder.h"
#include "window/SettingsPages.h"

namespace korvane {
namespace {

struct Tab {
  const char* text;
  SettingsPage* page;
};

}  // namespace

CSettingsDlg::CSettingsDlg(const PageSeed& seed, SettingsTarget& target)
    : m_target(target), m_seed(seed.record) {
  setWindowTitle(QString::fromUtf8(kSettingsDialog.title));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(DialogFont());
  setFixedSize(DialogPixelSize(kSettingsDialog, font()));
  const BuiltControls controls = BuildDialog(*this, kSettingsDialog, [this](const ControlTemplate& control) -> QWidget* {
    return control.kind == ControlKind::TabControl ? new QTabWidget(this) : nullptr;
  });

  auto* tabs = controls.Get<QTabWidget>(id::kSettingsTabs);
  const Tab pages[] = {{text::kTabIcon, new CPage1}, {text::kTabPhrases, new CPage2},
                       {text::kTabStartup, new CPage3}, {text::kTabLog, new CLogPage},
                       {text::kTabColours, new CColorPage}, {text::kTabOutDomain, new COutDomainPage}};
  // Pages stand 30 pixels below the tab control's top, the first 20 from its left and the
  // others 10, as they were placed.
  const int top = 30 - tabs->tabBar()->sizeHint().height();
  for (const Tab& tab : pages) {
    auto* holder = new QWidget;
    tab.page->setParent(holder);
    tab.page->move(tab.page == pages[0].page ? 20 : 10, std::max(0, top));
    tab.page->Load(seed);
    tabs->addTab(holder, QString::fromUtf8(tab.text));
    m_pages.push_back(tab.page);
  }
  tabs->setCurrentIndex(0);
  // The arrows that scroll the tabs into view are the tab bar's own, which Qt names in English.
  for (auto* arrow : tabs->tabBar()->findChildren<QToolButton*>())
    arrow->setAccessibleName(QString::fromUtf8(arrow->arrowType() == Qt::LeftArrow ? text::kNameScrollLeft
                                                                                   : text::kNameScrollRight));

  auto* close = controls.Get<QPushButton>(id::kSettingsClose);
  close->setDefault(true);  // Enter closes
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(controls.Get<QPushButton>(id::kSettingsApply), &QPushButton::clicked, this, &CSettingsDlg::ApplySettings);
}

void CSettingsDlg::ApplySettings() {
  if (CollectAndStore() == 0) m_target.ReloadSettings();
}

int CSettingsDlg::CollectAndStore() {
  // What no page changes goes back as it came, byte for byte.
  SettingsRecord record = m_seed;
  for (const SettingsPage* page : m_pages) page->Store(record);
  // Logging must have a file it can open, made here when it is missing.
  if (record.nLogMode == 1 && !OpenReadWrite(FieldText(record.szLogFile)).Valid()) {
    AfxMessageBox(Cp932<text::kBadLogFileName>(), MB_ICONSTOP);
    return -1;
  }
  m_target.PutSettingsInForce(record);
  return 0;
}

}  // namespace korvane
