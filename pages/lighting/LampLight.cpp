#include "pages/lighting/LampLight.h"

LampLight::LampLight(QWidget* parent) : QWidget(parent) {}
