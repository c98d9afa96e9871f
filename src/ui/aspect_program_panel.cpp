#include "ui/aspect_program_panel.h"

#include <QHBoxLayout>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/app_state.h"
#include "model/controller_encoding.h"
#include "model/program_words.h"
#include "model/time_line.h"
#include "ui/time_line_picture.h"

namespace brixo {

namespace {

constexpr int kFewestLines = 2;

bool EndsWithPng(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".png";
}

}  // namespace

AspectProgramPanel::AspectProgramPanel(AppState& app, QWidget* parent)
    : QGroupBox("Aspect in Words", parent),
      app_(app),
      content_(new QWidget(this)),
      words_(new QPlainTextEdit(content_)),
      picture_(new SvgPicture(content_)),
      export_(new QPushButton("Export Picture...", content_)) {
  setObjectName("FrameAspectProgram");
  setCheckable(true);
  setChecked(true);
  setToolTip("Clear the box to fold the words and the time line away");
  words_->setObjectName("TextAspectWords");
  words_->setReadOnly(true);
  words_->setLineWrapMode(QPlainTextEdit::NoWrap);
  words_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  picture_->setObjectName("PictureTimeLine");
  picture_->setToolTip("The steps in their order on the pins they act on; bars last the steps' times");
  export_->setObjectName("CommandExportTimeLine");

  auto* inner = new QVBoxLayout(content_);
  inner->setContentsMargins(0, 0, 0, 0);
  inner->setSpacing(4);
  inner->addWidget(words_);
  inner->addWidget(picture_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(export_);
  inner->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 6);
  layout->addWidget(content_);
  // As tall as its words and picture, never taller: the rest of the column stays free.
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

  connect(this, &QGroupBox::toggled, this, [this](bool on) {
    content_->setVisible(on);
    if (on) Show();
  });
  connect(export_, &QPushButton::clicked, this, &AspectProgramPanel::ExportPicture);
}

void AspectProgramPanel::Show() {
  if (!isChecked()) return;
  const ConfigModel& model = app_.Model();
  const int pin = std::min<int>(model.CurrentPin, kPinCount - 1);
  const int aspect = model.CurrentAspect;
  const bool hasAspects = AspectCountOf(model.PinTable[pin].AspectConfig) > 0;
  const QString words = hasAspects ? QString::fromStdString(ProgramText(AspectInWords(model, pin, aspect)))
                                   : QString("No aspects: the pin's layout is \"0\".\n");
  const QString shown = words.trimmed();
  if (words_->toPlainText() != shown) words_->setPlainText(shown);
  const int lines = std::max<int>(kFewestLines, static_cast<int>(shown.count('\n')) + 1);
  const int margins = static_cast<int>(2 * words_->document()->documentMargin()) + 2 * words_->frameWidth();
  words_->setFixedHeight(words_->fontMetrics().lineSpacing() * lines + margins + 2);
  picture_->setVisible(hasAspects);
  export_->setEnabled(hasAspects);
  if (!hasAspects) return;
  laidOutWidth_ = std::max(content_->width(), 200);
  picture_->SetSvg(TimeLineSvg(LayOutTimeLine(model, pin, aspect, laidOutWidth_)));
}

void AspectProgramPanel::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  // The picture is laid out for the width it has.
  if (content_->width() != laidOutWidth_) Show();
}

bool AspectProgramPanel::ExportPicture() {
  const ConfigModel& model = app_.Model();
  const int pin = std::min<int>(model.CurrentPin, kPinCount - 1);
  const int aspect = model.CurrentAspect;
  // A file gets the picture at the size a page or a browser shows well, not the panel's.
  const std::string svg = TimeLineSvg(LayOutTimeLine(model, pin, aspect));
  const std::string preset =
      "pin" + std::to_string(pin + model.NumberingOffset) + "-aspect" + std::to_string(aspect) + ".svg";
  return app_.SaveFileAs(kTimeLineFileFilter, preset, [&svg](const std::string& path) -> std::optional<std::string> {
    if (!EndsWithPng(path)) return svg;
    const QByteArray png = SvgAsPng(svg);
    if (png.isEmpty()) return std::nullopt;
    return png.toStdString();
  });
}

}  // namespace brixo
