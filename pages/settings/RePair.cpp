#include "pages/settings/RePair.h"

RePair::RePair(QWidget* parent) : QDialog(parent) {}
