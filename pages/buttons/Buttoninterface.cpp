#include "pages/buttons/Buttoninterface.h"

Buttoninterface::Buttoninterface(QWidget* parent) : QWidget(parent) {}
