#pragma once
#include <QWidget>

// The advanced page: sleep time, 20K-FPS scanning, long-range mode and sensor angle.
class Advanced : public QWidget
{
    Q_OBJECT
public:
    explicit Advanced(QWidget* parent = nullptr);
};
