// The main window's menu bar. Every entry runs the handler that its button (or label)
// runs, so a menu and a button can never do different things.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <map>

#include "ui/brixo_config_window.h"
#include "ui/context_help.h"

namespace brixo {

namespace {

// One entry of the menu bar; an entry without a caption is a separator. A new entry is
// one more line here.
struct MenuEntry {
  const char* Menu;
  const char* Caption;
  const char* Name;
  const char* Shortcut;
  void (BrixoConfig::*Run)();
};

constexpr MenuEntry kMenuEntries[] = {
    {"&File", "&Load File...", "ActionLoadFile", "Ctrl+O", &BrixoConfig::LoadFile},
    {"&File", "&Save File", "ActionSaveFile", "Ctrl+S", &BrixoConfig::SaveFile},
    {"&File", "Save &As...", "ActionSaveAs", "Ctrl+Shift+S", &BrixoConfig::SaveFileAs},
    {"&File", "Save &Compact...", "ActionSaveCompact", nullptr, &BrixoConfig::SaveFileCompact},
    {"&File", "Co&mpare with File...", "ActionCompareWithFile", nullptr, &BrixoConfig::CompareWithFile},
    {"&File", nullptr, nullptr, nullptr, nullptr},
    {"&File", "&Export Sheet...", "ActionExportSheet", nullptr, &BrixoConfig::ExportSheet},
    {"&File", "Print Pre&view...", "ActionPrintPreview", nullptr, &BrixoConfig::PrintPreview},
    {"&File", "&Print...", "ActionPrint", "Ctrl+P", &BrixoConfig::PrintSheet},
    {"&File", nullptr, nullptr, nullptr, nullptr},
    // An entry without a handler is a submenu that the window fills.
    {"&File", "Recent &Files", "MenuRecentFiles", nullptr, nullptr},
    {"&File", nullptr, nullptr, nullptr, nullptr},
    {"&File", "&Quit", "ActionQuit", "Ctrl+Q", &BrixoConfig::Quit},
    {"&Edit", "&Undo", "ActionUndo", "Ctrl+Z", &BrixoConfig::Undo},
    {"&Edit", "&Redo", "ActionRedo", "Ctrl+Shift+Z", &BrixoConfig::Redo},
    {"&Controller", "&Scan Line...", "ActionScanLine", nullptr, &BrixoConfig::OpenScanDialog},
    // Function keys: no text box takes them, so they work wherever the focus is.
    {"&Controller", "&Read All", "ActionReadAll", "F5", &BrixoConfig::ReadAll},
    {"&Controller", "&Write All", "ActionWriteAll", "F6", &BrixoConfig::WriteAll},
    {"&Controller", "&Verify All", "ActionVerifyAll", "F7", &BrixoConfig::VerifyAll},
    {"&Controller", "&Compare", "ActionCompare", "F8", &BrixoConfig::Compare},
    {"&Controller", nullptr, nullptr, nullptr, nullptr},
    {"&Controller", "&Erase Flash...", "ActionEraseFlash", nullptr, &BrixoConfig::EraseFlash},
    {"&View", "&Communication Monitor", "ActionMonitor", nullptr, &BrixoConfig::OpenMonitor},
    {"&View", "Verification &Report", "ActionReport", nullptr, &BrixoConfig::OpenReport},
    {"&View", "&Pin Overview", "ActionPinOverview", nullptr, &BrixoConfig::OpenPinOverview},
    {"&Tools", "&Expert Mode...", "ActionExpertMode", nullptr, &BrixoConfig::ExpertModeSwitch},
    {"&Tools", nullptr, nullptr, nullptr, nullptr},
    {"&Tools", "&Pattern Calculator...", "ActionPatternCalculator", nullptr, &BrixoConfig::OpenPatternCalculator},
    {"&Tools", "Event &Map Calculator...", "ActionEventMapCalculator", nullptr, &BrixoConfig::OpenEventMapCalculator},
    {"&Tools", "&Time Calculator...", "ActionTimeCalculator", nullptr, &BrixoConfig::OpenTimeCalculator},
    {"&Help", "&User Guide", "ActionHelp", "F1", &BrixoConfig::ShowHelp},
    {"&Help", "&About BrixoConfig", "ActionAbout", nullptr, &BrixoConfig::ShowAbout},
};

}  // namespace

void BrixoConfig::BuildMenus() {
  std::map<std::string, QMenu*> menus;
  for (const MenuEntry& entry : kMenuEntries) {
    QMenu*& menu = menus[entry.Menu];
    if (menu == nullptr) menu = menuBar()->addMenu(entry.Menu);
    if (entry.Caption == nullptr) {
      menu->addSeparator();
      continue;
    }
    if (entry.Run == nullptr) {
      recentFiles_ = menu->addMenu(entry.Caption);
      recentFiles_->setObjectName(entry.Name);
      continue;
    }
    QAction* action = menu->addAction(entry.Caption);
    action->setObjectName(entry.Name);
    if (entry.Shortcut) action->setShortcut(QKeySequence(entry.Shortcut));
    connect(action, &QAction::triggered, this, entry.Run);
    if (entry.Run == &BrixoConfig::Undo) {
      undoAction_ = action;
      // An entry still being typed becomes a step as the menu opens, so that Undo is
      // offered for it and takes it back whole.
      connect(menu, &QMenu::aboutToShow, this, &BrixoConfig::NoteEdits);
    }
    if (entry.Run == &BrixoConfig::Redo) redoAction_ = action;
    if (entry.Run == &BrixoConfig::ShowHelp) {
      // F1 stands beside the entry, which opens the guide's contents; the key itself is
      // taken in every window by the filter, which opens the section of what has the focus.
      action->setShortcutContext(Qt::WidgetShortcut);
      qApp->installEventFilter(new HelpKeyFilter([this](QWidget* from) { ShowContextHelp(from); }, this));
    }
    if (entry.Run == &BrixoConfig::ExpertModeSwitch) {
      action->setCheckable(true);
      expertAction_ = action;
    }
  }
}

}  // namespace brixo
