#include "ui/test_tab.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "app/test_panel_commands.h"
#include "ui/feedback_monitor_panel.h"
#include "ui/core_text.h"
#include "ui/matrix_panel.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

QString Indexed(const char* name, int index) { return QString("%1_%2").arg(name).arg(index); }

constexpr int kBroadcastModule = 15;

UpDownField* LegacyField(const QString& name) {
  auto* field = new UpDownField(nullptr, false);
  field->setObjectName(name);
  field->SetText("0");
  field->setMaximumWidth(field->fontMetrics().horizontalAdvance("00000000"));
  // Committing brings the text into the byte range the line can carry; a text that is no
  // number gives the field its value back.
  QObject::connect(field, &UpDownField::committed, field, [field](const QString& text) {
    field->SetText(ToQt(CommitLegacyField(FromQt(text), FromQt(field->ShownText()))));
  });
  return field;
}

}  // namespace

TestTab::TestTab(QWidget* parent) : QWidget(parent) {
  setObjectName("TestTab");
  // Until Bind the tab only says what it will hold.
  auto* note = new QLabel("This tab will hold the live test commands and the feedback monitor.");
  note->setObjectName("TestTabPlaceholder");
  note->setAlignment(Qt::AlignCenter);
  note->setWordWrap(true);
  placeholder_ = note;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
}

void TestTab::Bind(AppState& app) {
  if (app_) return;
  app_ = &app;
  delete placeholder_;
  placeholder_ = nullptr;
  delete layout();

  matrix_ = new MatrixPanel(app.Link());
  monitor_ = new FeedbackMonitorPanel(app.Monitor());

  auto* left = new QVBoxLayout;
  left->addWidget(BuildSetAspectGroup());
  left->addWidget(BuildLegacyGroup());
  left->addWidget(monitor_, 1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 2);
  auto* right = new QVBoxLayout;
  right->addWidget(matrix_);
  right->addStretch(1);
  layout->addLayout(right, 3);
}

QPushButton* TestTab::Button(const QString& caption, const QString& name) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

QGroupBox* TestTab::BuildSetAspectGroup() {
  auto* group = new QGroupBox("Brixo Set Aspect");
  group->setObjectName("FrameBrixoSetAspect");
  auto* layout = new QGridLayout(group);
  auto* caption = new QLabel("Address:");
  caption->setObjectName("LabelBrixoSendAspectOutput");
  textOutput_ = LegacyField("TextBrixoSendAspectOutput");
  layout->addWidget(caption, 0, 0);
  layout->addWidget(textOutput_, 0, 1);

  const char* captions[] = {"Brixo SA0",    "Brixo SA1",   "Brixo SA2",  "Brixo SA3",
                            "Brixo Toggle", "Brixo 8xSA0", "Brixo 8xSA1"};
  for (int index = 0; index < 7; ++index) {
    QPushButton* button = Button(captions[index], Indexed("CommandBrixoSetAspect", index));
    connect(button, &QPushButton::clicked, this, [this, index] {
      textOutput_->Commit();
      textOutput_->SetText(ToQt(SendBrixoSetAspect(app_->Live(), index, FromQt(textOutput_->Text()))));
    });
    // SA0..SA3 act on the address; Toggle too, beside the two 8x buttons (addresses 0..7).
    const int row = index < 4 ? 1 : 2;
    const int column = index < 4 ? index : index - 4;
    layout->addWidget(button, row, column);
  }
  layout->setColumnStretch(4, 1);
  return group;
}

QGroupBox* TestTab::BuildLegacyGroup() {
  auto* group = new QGroupBox("Tamlo Legacy Messages");
  group->setObjectName("FrameTamlo");
  auto* layout = new QVBoxLayout(group);

  auto* sendRow = new QHBoxLayout;
  for (int i = 0; i < 3; ++i) {
    textTamloParameter_[i] = LegacyField(Indexed("TextTamloParameter", i));
    sendRow->addWidget(textTamloParameter_[i]);
  }
  QPushButton* send = Button("TamloSend", "CommandSendTamlo");
  connect(send, &QPushButton::clicked, this, [this] {
    std::array<std::string, 3> fields;
    for (int i = 0; i < 3; ++i) {
      textTamloParameter_[i]->Commit();
      fields[i] = FromQt(textTamloParameter_[i]->Text());
    }
    const auto committed = SendTamloFields(app_->Link(), fields);
    for (int i = 0; i < 3; ++i) textTamloParameter_[i]->SetText(ToQt(committed[i]));
  });
  sendRow->addWidget(send);
  sendRow->addStretch(1);
  layout->addLayout(sendRow);

  BrixoLink& link = app_->Link();
  auto* buttons = new QGridLayout;
  const char* clear[] = {"Clear All", "Clear All 0"};
  for (int index = 0; index < 2; ++index) {
    QPushButton* button = Button(clear[index], Indexed("Command_Clr", index));
    connect(button, &QPushButton::clicked, this,
            [&link, index] { ClearAllOutputs(link, index == 0 ? link.ModuleAddress : 0); });
    buttons->addWidget(button, 0, index);
  }
  const char* lampTest[] = {"Lamp Test", "Lamp Test 0", "Lamp Test 15"};
  const int lampModules[] = {-1, 0, kBroadcastModule};
  for (int index = 0; index < 3; ++index) {
    QPushButton* button = Button(lampTest[index], Indexed("Command_LT", index));
    const int module = lampModules[index];
    connect(button, &QPushButton::clicked, this,
            [&link, module] { LampTestOutputs(link, module < 0 ? link.ModuleAddress : module); });
    buttons->addWidget(button, 1, index);
  }
  const char* reset[] = {"Reset", "Reset 15"};
  for (int index = 0; index < 2; ++index) {
    QPushButton* button = Button(reset[index], Indexed("CommandReset", index));
    connect(button, &QPushButton::clicked, this,
            [&link, index] { ResetModule(link, index == 0 ? link.ModuleAddress : kBroadcastModule); });
    buttons->addWidget(button, 2, index);
  }
  buttons->setColumnStretch(3, 1);
  layout->addLayout(buttons);
  return group;
}

}  // namespace brixo
