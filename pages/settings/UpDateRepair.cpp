#include "pages/settings/UpDateRepair.h"

UpDateRepair::UpDateRepair(QWidget* parent) : QDialog(parent) {}

void UpDateRepair::ResetView() {}
void UpDateRepair::SetAutoUpdate(int) {}
void UpDateRepair::SlotRepairCheckUpdate() {}
