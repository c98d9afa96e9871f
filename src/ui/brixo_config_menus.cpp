// The main window's menu bar and its Help window. Every entry runs the handler that its
// button (or label) runs, so a menu and a button can never do different things.
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>
#include <map>

#include "app/help_files.h"
#include "ui/brixo_config_window.h"
#include "ui/close_on_escape.h"

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
    {"&Help", "BrixoConfig &Help", "ActionHelp", "F1", &BrixoConfig::ShowHelp},
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
    if (entry.Run == &BrixoConfig::ExpertModeSwitch) {
      action->setCheckable(true);
      expertAction_ = action;
    }
  }
}

void BrixoConfig::ShowHelp() {
  auto* help = findChild<QTextBrowser*>("HelpWindow");
  if (help == nullptr) {
    help = new QTextBrowser(this);
    help->setObjectName("HelpWindow");
    help->setWindowFlag(Qt::Window);
    help->setWindowTitle("BrixoConfig Help");
    help->setOpenExternalLinks(true);
    help->resize(760, 600);
    CloseOnEscape(*help);
    const std::string readme = FindReadme(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    if (readme.empty()) {
      help->setPlainText("The README that describes BrixoConfig was not found beside the program.");
    } else {
      const QString path = QFile::decodeName(readme.c_str());
      // The README's pictures are found relative to it.
      help->setSearchPaths({QFileInfo(path).absolutePath()});
      help->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
    }
  }
  help->show();
  help->raise();
  help->activateWindow();
}

}  // namespace brixo
