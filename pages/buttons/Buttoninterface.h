#pragma once
#include <QWidget>

// The button assignment page.
class Buttoninterface : public QWidget
{
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget* parent = nullptr);
};
