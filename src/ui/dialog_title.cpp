#include "ui/dialog_title.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLayout>
#include <QStyle>
#include <algorithm>

namespace brixo {

void SetFittingTitle(QDialog& dialog, const QString& title) {
  dialog.setWindowTitle(title);
  // Window managers draw the title in a bold face and put up to three buttons and an icon
  // beside it; room for four of them, each a title bar high.
  QFont font = dialog.font();
  font.setBold(true);
  const int text = QFontMetrics(font).horizontalAdvance(title);
  const int buttons = 4 * (dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight) + 6);
  const int contents = dialog.layout() != nullptr ? dialog.layout()->totalMinimumSize().width() : 0;
  dialog.setMinimumWidth(std::max(contents, text + buttons));
  dialog.adjustSize();
}

void FitTitle(QDialog& dialog) { SetFittingTitle(dialog, dialog.windowTitle()); }

}  // namespace brixo
