#pragma once
#include <QWidget>

// The device window: page buttons, battery and connection state, and the seven pages.
class Dialog : public QWidget
{
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);
};
