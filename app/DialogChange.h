#pragma once
#include <QWidget>

// The device selection page: every attached mouse and receiver of the supported models.
class DialogChange : public QWidget
{
    Q_OBJECT
public:
    explicit DialogChange(QWidget* parent = nullptr);
};

// The selection page's attach/detach callback, registered with the device library while the page shows.
void SelectPageUsbChangedCallback();
