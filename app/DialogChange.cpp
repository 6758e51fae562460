#include "app/DialogChange.h"

DialogChange::DialogChange(QWidget* parent) : QWidget(parent) {}

void SelectPageUsbChangedCallback() {}
