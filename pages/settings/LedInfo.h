#pragma once
#include "device/DeviceState.h"

#include <QDialog>
#include <QString>

class QButtonGroup;

namespace Ui {
class LedInfo;
}

// Which information the receiver's indicator LED conveys: three exclusive boxes that follow the
// receiver indicator record. It writes nothing: a box ticked by hand changes only the box. The
// settings page holds one and never shows it; it still follows the record.
class LedInfo : public QDialog
{
    Q_OBJECT
public:
    explicit LedInfo(QWidget* parent = nullptr);
    ~LedInfo() override;

public slots:
    // Ticks the box of the record's meaning (byte 0: 1, 2 or 3), for a model with the feature whose
    // receiver is connected; any other meaning leaves the boxes as they are.
    void SlotRGBValue(DongleRGB* Rgb);
    void SlotAllLanguage(int index);

private slots:
    void on_CloseButton_clicked();

private:
    Ui::LedInfo* ui;
    QString pictureFolder;
    QButtonGroup* meanings;
};
