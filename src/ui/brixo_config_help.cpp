// The user guide in the help window: its contents from the Help menu, the section of what
// has the focus from F1.
#include <QCoreApplication>
#include <QFile>
#include <QTabWidget>

#include "app/user_guide.h"
#include "ui/brixo_config_window.h"
#include "ui/context_help.h"
#include "ui/device_config_tab.h"
#include "ui/event_control_tab.h"
#include "ui/general_tab.h"
#include "ui/help_window.h"
#include "ui/test_tab.h"

namespace brixo {

HelpWindow& BrixoConfig::Help() {
  if (help_ == nullptr) {
    const std::string folder = FindGuideFolder(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    help_ = new HelpWindow(QFile::decodeName(folder.c_str()), this);
  }
  return *help_;
}

void BrixoConfig::ShowHelp() { Help().Open(kGuideContents.Page); }

void BrixoConfig::ShowContextHelp(QWidget* from) {
  // In the main window the tab shown decides, wherever the focus is (the port list, the
  // status bar); the tabs' pages sit in scroll areas, so they are named here.
  const QWidget* context = from;
  if (from == nullptr || from->window() == this) {
    QWidget* const pages[] = {generalTab_, eventTab_, deviceTab_, testTab_};
    const int tab = tabs_->currentIndex();
    context = tab >= 0 && tab < static_cast<int>(std::size(pages)) ? pages[tab] : nullptr;
  }
  const HelpSection section = HelpSectionFor(context);
  Help().Open(section.Page, section.Anchor);
}

}  // namespace brixo
