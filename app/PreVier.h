#pragma once
#include <QString>
#include <QWidget>

namespace Ui {
class PreVier;
}

// The summary page of the device window: a picture of the mouse and, read-only, the values the other
// pages report on the bus (DPI, report rate, lift-off distance, debounce, profile, firmware versions).
class PreVier : public QWidget
{
    Q_OBJECT
public:
    explicit PreVier(QWidget* parent = nullptr);
    ~PreVier() override;

public slots:
    void SlotAllLanguage(int index);
    void SlotMouseIndex(int index);
    void SlotAddSensor(int Value);
    void SlotAddReport(int Value);
    void SlotAddLOD(QString Value);
    void SlotDebnunce(QString Vlue);
    void SlotAddConfig(QString Value);
    void SlotAddVer(int type, QString Ver);
    void SlotAddUpdate(int type, bool Ver);

private:
    Ui::PreVier* ui;
    QString pictureFolder;
};
