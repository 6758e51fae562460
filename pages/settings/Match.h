#pragma once
#include <QDialog>

// The receiver pairing dialog.
class Match : public QDialog
{
    Q_OBJECT
public:
    explicit Match(QWidget* parent = nullptr);
    void InitPairDevice();
};
