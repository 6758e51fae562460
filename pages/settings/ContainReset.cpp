#include "pages/settings/ContainReset.h"

ContainReset::ContainReset(QWidget* parent) : QDialog(parent) {}

void ContainReset::SetText(const QString&) {}
