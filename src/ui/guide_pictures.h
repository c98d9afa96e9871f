#pragma once
// The pictures of the user guide (docs/guide/pictures), each taken from the window as the
// guide shows it, so that they follow the window when it changes:
// `brixoconfig --simulate --guide-pictures DIR`, run by scripts/guide-pictures.
#include <QString>
#include <QStringList>

namespace brixo {

class BrixoConfig;

// Every picture's file name, in the order they are taken.
QStringList GuidePictureFiles();

// Takes every picture into dir, over the simulated controller and the demo configuration.
// Returns the files written; empty when one could not be taken.
QStringList RenderGuidePictures(BrixoConfig& window, const QString& dir);

}  // namespace brixo
