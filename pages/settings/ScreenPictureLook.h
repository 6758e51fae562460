#pragma once
#include <QString>

class QButtonGroup;
class QDialog;

// The look the two receiver screen dialogs share (InputPicA and InputPicB have the same controls
// under the same names): window flags, the pictures of "/Picture/ScreeInfo/" and the theme colours,
// the exclusive group of the four picture slots, and the font scaling. Returns the picture folder.
QString StyleScreenPictureDialog(QDialog* dialog, QButtonGroup* pictureSlots);
