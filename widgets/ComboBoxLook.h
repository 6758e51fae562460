#pragma once
#include <QString>

class QComboBox;

// The look every settings list of the pages shares: the picture folder's "ComboboxBack.png",
// "Menu.png", "MenuClicked.png" and "ComboboxTextBack.png" with the theme's list colours, and a
// list view whose selected and hovered rows take the theme's selection colour.
// With disabledText, a disabled list shows its text dimmed (DimmedTextColor), still readable on the
// list's dark ground; the first design's black could hardly be read there.
void ApplyComboBoxLook(QComboBox* combo, const QString& pictureFolder, bool disabledText = false);
