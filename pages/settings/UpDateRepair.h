#pragma once
#include <QDialog>

// The firmware upgrade and repair dialog.
class UpDateRepair : public QDialog
{
    Q_OBJECT
public:
    explicit UpDateRepair(QWidget* parent = nullptr);
    void ResetView();
    void SetAutoUpdate(int mode);
public slots:
    void SlotRepairCheckUpdate();
};
