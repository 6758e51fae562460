#pragma once
#include <QDialog>

// Asks whether to pair mouse and receiver again.
class RePair : public QDialog
{
    Q_OBJECT
public:
    explicit RePair(QWidget* parent = nullptr);
    bool Confirmed = false;
};
