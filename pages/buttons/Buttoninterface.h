#pragma once
#include "device/FlashDataMap.h"
#include "pages/buttons/DpiLockCodes.h"

#include <QList>
#include <QString>
#include <QWidget>

namespace Ui {
class Buttoninterface;
}

class Worker;

// The button assignment page. It creates the one Worker of the device connection, keeps its copy of
// the button assignments from every record it is shown, exports and imports the device's whole
// configuration and restores the factory settings.
class Buttoninterface : public QWidget
{
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget* parent = nullptr);
    ~Buttoninterface() override;

    // How long the destructor waits for a running pass of the Worker.
    static constexpr int WorkerStopLimitMs = 5000;

    // Writes the configuration export file: the marker field, the model's sensor name field and the
    // record, each as a length-prefixed block. The file is written whole or left as it was.
    static bool WriteConfigFile(const QString& path, FlashDataMap record);
    // The 12-byte sensor field of an export: at most 11 name bytes, then zeros.
    static QByteArray SensorNameField(const QString& sensorName);

    // A button's macro block from the macro's file, and the macro's repeat mode (MacroBlocks).
    static ButtonMacroBlock MacroFileToRecord(const QString& macroName, bool* ok);
    static QString ReadMacroRepeatMode(const QString& macroName);

    // The factory-settings sequence shared with the settings page: the device clears its settings
    // and the whole record is read back behind the wait dialog, placed over `over`.
    static void RestoreDefaults(QWidget* over);

    // The page's copy of the assignments of the model's buttons.
    const QList<int>& Types() const { return functionTypes; }
    const QList<int>& Codes() const { return functionCodes; }
    const QList<int>& Params() const { return functionParams; }
    // The DPI-lock codes of the current model's sensor.
    const DpiLockCodes& DpiCodes() const { return dpiCodes; }

public slots:
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    void SlotUpDataButtonUIB(FlashDataMap DataMap);
    void SlotFormResetButton();
    void SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SlotAllLanguage(int index);

    void on_ImportData_clicked();
    void on_OutputData_clicked();

public:
    // Restore defaults asked for on this page, after the user confirmed. The page's form has no
    // control of its own for it.
    void on_Reset_clicked();

private:
    void ApplyRecord(const FlashDataMap& record);
    QString ModelGroup() const;

    Ui::Buttoninterface* ui;
    Worker* worker = nullptr;
    QString picturePath;
    QString buttonTextColor;
    QString profileTextPrefix;
    QString sensorName;
    DpiLockCodes dpiCodes;
    QList<int> functionTypes;
    QList<int> functionCodes;
    QList<int> functionParams;
};
