#include "app/Dialog.h"

Dialog::Dialog(QWidget* parent) : QWidget(parent) {}
