#pragma once
// F1 in any window of the program opens the section of the user guide about the tab,
// dialog or window that has the focus. One table says which section belongs to which.
#include <QObject>
#include <functional>

class QWidget;

namespace brixo {

struct HelpSection {
  const char* Page;    // a file of the guide
  const char* Anchor;  // a section of it; empty for its top
};

struct HelpTopic {
  const char* ObjectName;  // of a tab's page, a dialog or a window
  HelpSection Section;
};

inline constexpr HelpSection kGuideContents = {"index.md", ""};

inline constexpr HelpTopic kHelpTopics[] = {
    {"GeneralTab", {"window.md", "general-tab"}},
    {"EventControlTab", {"window.md", "event-control-tab"}},
    {"DeviceConfigTab", {"window.md", "device-tab"}},
    {"TestTab", {"tasks.md", "test-tab"}},
    {"dlgScanLine", {"tasks.md", "scan-line"}},
    {"dlgNetworkPort", {"getting-started.md", "network-port"}},
    {"dlgEditPin", {"window.md", "edit-dialogs"}},
    {"dlgEditAspect", {"window.md", "edit-dialogs"}},
    {"dlgEditStep", {"window.md", "edit-dialogs"}},
    {"dlgBrixoCalcPattern", {"window.md", "calculators"}},
    {"dlgBrixoCalcEventPattern", {"window.md", "calculators"}},
    {"dlgCT", {"concepts.md", "steps"}},
    {"frmQuendalComm", {"window.md", "communication-monitor"}},
    {"frmBrixoVerification", {"window.md", "verification-report"}},
    {"PinOverviewWindow", {"window.md", "pin-overview"}},
    {"SheetPrintPreview", {"tasks.md", "print-sheet"}},
    {"SheetPrintDialog", {"tasks.md", "print-sheet"}},
    {"HelpWindow", {"index.md", "using-help"}},
};

// The section of the first of widget and its parents that the table names; the guide's
// contents when none does.
HelpSection HelpSectionFor(const QWidget* widget);

// Catches F1 in every window of the application and passes on the widget it was meant for.
class HelpKeyFilter : public QObject {
 public:
  HelpKeyFilter(std::function<void(QWidget*)> open, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(QWidget*)> open_;
};

}  // namespace brixo
