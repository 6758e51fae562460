#include "pages/settings/FormSetting.h"

FormSetting::FormSetting(QWidget* parent) : QWidget(parent) {}
