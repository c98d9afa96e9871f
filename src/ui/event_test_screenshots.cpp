#include "ui/event_test_screenshots.h"

#include <QDir>
#include <QPixmap>

#include "ui/event_control_tab.h"
#include "ui/test_tab.h"

namespace brixo {

namespace {

bool Render(QWidget& tab, const QString& path) {
  tab.resize(tab.sizeHint().expandedTo(QSize(900, 560)));
  tab.ensurePolished();
  return tab.grab().save(path);
}

}  // namespace

bool RenderEventAndTestTabs(AppState& app, const QString& dir) {
  if (!QDir().mkpath(dir)) return false;
  EventControlTab events;
  events.Bind(app);
  TestTab test;
  test.Bind(app);
  const bool eventsSaved = Render(events, QDir(dir).filePath("event_control_tab.png"));
  const bool testSaved = Render(test, QDir(dir).filePath("test_tab.png"));
  return eventsSaved && testSaved;
}

}  // namespace brixo
