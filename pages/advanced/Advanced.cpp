#include "pages/advanced/Advanced.h"

Advanced::Advanced(QWidget* parent) : QWidget(parent) {}
