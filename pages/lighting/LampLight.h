#pragma once
#include <QWidget>

// The lighting page.
class LampLight : public QWidget
{
    Q_OBJECT
public:
    explicit LampLight(QWidget* parent = nullptr);
};
