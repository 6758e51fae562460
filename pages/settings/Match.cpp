#include "pages/settings/Match.h"

Match::Match(QWidget* parent) : QDialog(parent) {}

void Match::InitPairDevice() {}
