#pragma once
// A dialog's title shown whole: the dialog is made at least as wide as the title bar needs
// for it, its buttons included, whatever the font and the scale.
#include <QString>

class QDialog;

namespace brixo {

void SetFittingTitle(QDialog& dialog, const QString& title);
// The same for the title it has, once its contents are all there (before it shows).
void FitTitle(QDialog& dialog);

}  // namespace brixo
