// The main window's changed marks: every field shown on the tabs that differs from the
// baseline (the configuration last loaded, saved or read whole) is tinted, its tooltip
// says what it was ("was 40"), and the status bar counts the changed fields.
#include <QLabel>
#include <algorithm>
#include <QTabWidget>

#include "app/baseline_changes.h"
#include "ui/brixo_config_window.h"
#include "ui/core_text.h"
#include "ui/field_widgets.h"

namespace brixo {

namespace {

constexpr const char* kUnmarkedTip = "brixoUnmarkedToolTip";
constexpr const char* kUnmarkedStyle = "brixoUnmarkedStyle";
constexpr const char* kMarkedTip = "brixoMarkedToolTip";
constexpr const char* kChangedStyle = "background-color: #fff0b3;";

// Whether the tabs show this field now: the pin, aspect and event pin on view.
bool OnView(const FieldId& id, const ConfigModel& model, const EventControlState& events) {
  if (id.Kind < FieldKind::OnAction) return true;
  if (id.Kind == FieldKind::OnAction || id.Kind == FieldKind::OffAction) return id.Pin == events.CurrentEventPin;
  if (id.Kind < FieldKind::AspectConfig) return true;
  return id.Pin == model.CurrentPin && (id.Aspect < 0 || id.Aspect == model.CurrentAspect);
}

}  // namespace

void BrixoConfig::ShowChangedMarks() {
  if (labelChanges_ == nullptr || tabs_ == nullptr) return;
  for (const QPointer<QWidget>& widget : marked_) {
    if (widget.isNull()) continue;
    widget->setStyleSheet(widget->property(kUnmarkedStyle).toString());
    // A tooltip its own view has replaced since (a step box's range) stays.
    if (widget->toolTip() == widget->property(kMarkedTip).toString())
      widget->setToolTip(widget->property(kUnmarkedTip).toString());
  }
  marked_.clear();

  const std::vector<FieldId> changed = ChangedSinceBaseline(app_);
  const size_t n = changed.size();
  labelChanges_->setText(n == 0 ? QString() : QString::number(n) + (n == 1 ? " change" : " changes"));
  if (n == 0) return;
  const EditorContent& baseline = app_.Baseline();
  ConfigModel beforeModel;
  beforeModel.PinTable = baseline.Pins;
  beforeModel.NumberingOffset = app_.Model().NumberingOffset;
  const ConfigurationRef before{beforeModel, baseline.General, baseline.Events};
  const ConfigModel& model = app_.Model();
  for (const FieldId& id : changed) {
    if (!OnView(id, model, app_.Events())) continue;
    const int outputType = model.PinTable[static_cast<size_t>(std::max<int>(id.Pin, 0)) % kPinCount].OutputConfig[0];
    auto* widget = tabs_->widget(TabOfField(id))->findChild<QWidget*>(WidgetOfField(id, outputType));
    if (widget == nullptr) continue;
    const QString was = "was " + ToQt(ShownFieldValue(id, before));
    if (std::find(marked_.begin(), marked_.end(), widget) != marked_.end()) {
      // A frame of several fields: each says what it was.
      widget->setToolTip(widget->toolTip() + "\n" + ToQt(FieldCaption(id, before)) + ": " + was);
      widget->setProperty(kMarkedTip, widget->toolTip());
      continue;
    }
    const QString own = widget->toolTip();
    widget->setProperty(kUnmarkedTip, own);
    widget->setProperty(kUnmarkedStyle, widget->styleSheet());
    widget->setStyleSheet(widget->styleSheet() + kChangedStyle);
    // What the box says of itself (its range) stays, with what it was below.
    widget->setToolTip(own.isEmpty() ? was : own + "\n" + was);
    widget->setProperty(kMarkedTip, widget->toolTip());
    marked_.emplace_back(widget);
  }
}

}  // namespace brixo
