#include "ui/device_definitions_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/app_state.h"
#include "ui/core_text.h"
#include "ui/modifier_button.h"
#include "ui/press_rules.h"

namespace brixo {

DeviceDefinitionsPanel::DeviceDefinitionsPanel(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
  setObjectName("DeviceDefinitionsPanel");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);

  auto* caption = new QLabel("Definitions Loaded:");
  caption->setObjectName("LabelDDVersion");
  version_ = new QLabel("None");
  version_->setObjectName("lblDDVersion");
  version_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // The list with the library's version beside it, the buttons below: two rows leave the
  // step rows above their room on a small screen.
  list_ = new QComboBox;
  list_->setObjectName("cboDevice");
  list_->setPlaceholderText("Select a device");
  list_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list_->setMinimumContentsLength(20);
  grid->addWidget(list_, 0, 0, 1, 2);
  grid->addWidget(caption, 0, 2);
  grid->addWidget(version_, 0, 3);

  reload_ = new ModifierButton("Reload DD");
  reload_->setObjectName("CommandReloadDD");
  reload_->setToolTip("Reload DD to load new file, Shift + Reload DD to append");
  load_ = new QPushButton("Load Device");
  load_->setObjectName("CommandPAspPreLoad");
  save_ = new QPushButton("Save Device");
  save_->setObjectName("CommandSaveDevice");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(load_);
  buttons->addWidget(save_);
  buttons->addStretch(1);
  buttons->addWidget(reload_);
  grid->addLayout(buttons, 1, 0, 1, 4);
  grid->setColumnStretch(1, 1);

  connect(list_, &QComboBox::activated, this, [this](int index) { SelectDevice(app_.Devices(), index); });
  connect(reload_, &ModifierButton::pressedWith, this, [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    const std::optional<bool> append = ReloadAppendsFor(button, modifiers);
    if (!append) return;
    ReloadDefinitions(app_.DeviceFiles(), *append);
    Show();
  });
  connect(load_, &QPushButton::clicked, this, [this] {
    LoadDevice(app_.DeviceFiles());
    emit deviceLoaded();
  });
  connect(save_, &QPushButton::clicked, this, [this] { SaveDevice(app_.DeviceFiles()); });
}

void DeviceDefinitionsPanel::SetVersionCaption(const QString& caption) { version_->setText(caption); }

void DeviceDefinitionsPanel::Show() {
  const DeviceLibrary& library = app_.Devices();
  version_->setText(ToQt(library.lblDDVersion));
  const QSignalBlocker block(list_);
  list_->clear();
  for (const std::string& name : library.cboDevice) list_->addItem(ToQt(name));
  list_->setCurrentIndex(library.SelectedIndex);
}

}  // namespace brixo
