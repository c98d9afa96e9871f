#include "ui/step_row_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QSignalBlocker>

#include "ui/clickable_label.h"
#include "ui/core_text.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

constexpr std::array<const char*, kParCount> kParNames = {"TextPAspOffset", "TextPAspPar1", "TextPAspPar2",
                                                          "TextPAspPar3"};

QString Indexed(const char* name, int index) { return QString("%1_%2").arg(name).arg(index); }

}  // namespace

StepRowWidgets::StepRowWidgets(int row, const InstructionTable& table, QGridLayout* grid, int gridRow,
                               QWidget* parent)
    : QObject(parent),
      row_(row),
      stepLabel_(new ClickableLabel(QString::number(row), parent)),
      chooser_(new QComboBox(parent)),
      fade_(new QCheckBox(parent)),
      duration_(new ClickableLabel("00:00.00", parent, ClickableLabel::Acts::OnDoubleClick)) {
  stepLabel_->setObjectName(Indexed("LabelPAspStep", row));
  stepLabel_->setToolTip("Click to Insert/Delete step");
  stepLabel_->setAlignment(Qt::AlignCenter);
  stepLabel_->setCursor(Qt::PointingHandCursor);
  stepLabel_->setFrameShape(QFrame::StyledPanel);
  grid->addWidget(stepLabel_, gridRow, 0);

  chooser_->setObjectName(Indexed("ComboPAspInst", row));
  for (const ChooserEntry& entry : table.ChooserList()) chooser_->addItem(ToQt(entry.Name), int(entry.Opcode));
  chooser_->setCurrentIndex(0);
  // Long instruction names are cut short in the closed box (the list shows them whole), so
  // that the rows fit a small screen.
  chooser_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  chooser_->setMinimumContentsLength(11);
  chooser_->installEventFilter(this);
  grid->addWidget(chooser_, gridRow, 1);
  connect(chooser_, &QComboBox::activated, this, [this](int index) { emit instructionChosen(row_, index); });

  fade_->setObjectName(Indexed("CheckPAspFade", row));
  grid->addWidget(fade_, gridRow, 2, Qt::AlignCenter);
  connect(fade_, &QCheckBox::clicked, this, [this](bool checked) { emit fadeToggled(row_, checked); });

  const int boxWidth = QFontMetrics(chooser_->font()).horizontalAdvance("-0000") + 12;
  for (int par = 0; par < kParCount; ++par) {
    auto* box = new CommitLineEdit(parent);
    box->setObjectName(Indexed(kParNames[par], row));
    box->setMinimumWidth(boxWidth);
    box->setAlignment(Qt::AlignRight);
    box->installEventFilter(this);
    grid->addWidget(box, gridRow, 3 + par);
    pars_[par] = box;
    connect(box, &QLineEdit::textEdited, this, [this, par](const QString& text) { emit parEdited(row_, par, text); });
    connect(box, &CommitLineEdit::commitRequested, this,
            [this, par, box] { emit parCommitted(row_, par, box->text()); });
  }

  duration_->setObjectName(Indexed("LabelPAspTime", row));
  duration_->setToolTip("Double-click for help-tool");
  grid->addWidget(duration_, gridRow, 7);
  connect(duration_, &ClickableLabel::doubleClicked, this, [this] { emit durationDoubleClicked(row_); });
  connect(stepLabel_, &ClickableLabel::clicked, this, [this] { emit stepLabelClicked(row_); });
}

bool StepRowWidgets::eventFilter(QObject* watched, QEvent* event) {
  // F4 in a parameter box opens its calculator as a double-click does.
  const bool f4 = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4;
  if (event->type() == QEvent::MouseButtonDblClick || f4) {
    for (int par = 0; par < kParCount; ++par) {
      if (watched == pars_[par]) {
        emit parDoubleClicked(row_, par);
        if (f4) return true;
      }
    }
  } else if (event->type() == QEvent::FocusIn) {
    emit rowFocused(row_);
  }
  return QObject::eventFilter(watched, event);
}

void StepRowWidgets::Show(const StepRowView& view) {
  stepLabel_->setVisible(view.Visible);
  chooser_->setVisible(view.Visible);
  duration_->setVisible(view.Visible);
  {
    const QSignalBlocker block(chooser_);
    chooser_->setCurrentIndex(view.ChooserIndex);
  }
  fade_->setVisible(view.FadeVisible);
  {
    const QSignalBlocker block(fade_);
    fade_->setChecked(view.FadeChecked);
  }
  for (int par = 0; par < kParCount; ++par) {
    CommitLineEdit* box = pars_[par];
    box->setVisible(view.Visible);
    // Unused boxes are greyed and take no typing: the instruction has nothing to store there.
    box->setEnabled(view.ParEnabled[par]);
    box->setToolTip(ToQt(view.ParTip[par]));
    const QString text = ToQt(view.ParText[par]);
    if (box->text() != text) {
      const QSignalBlocker block(box);
      box->setText(text);
    }
  }
  duration_->setText(ToQt(view.DurationText));
}

}  // namespace brixo
