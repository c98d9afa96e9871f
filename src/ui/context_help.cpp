#include "ui/context_help.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace brixo {

HelpSection HelpSectionFor(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    for (const HelpTopic& topic : kHelpTopics) {
      if (w->objectName() == QLatin1String(topic.ObjectName)) return topic.Section;
    }
  }
  return kGuideContents;
}

HelpKeyFilter::HelpKeyFilter(std::function<void(QWidget*)> open, QObject* parent)
    : QObject(parent), open_(std::move(open)) {}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  open_(widget);
  return true;
}

}  // namespace brixo
