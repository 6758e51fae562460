#pragma once
#include <QDialog>
#include <QString>

class QTimer;

namespace Ui {
class UpDataParam;
}

// Result of the last import: 0 accepted and on the device, 1 the file cannot be opened or is no
// configuration file, 2 it was made for another model or holds impossible values, ImportDeviceAway.
extern int ImportResult;
// ImportResult when the device went away before the record reached it: nothing was written, the
// offline notice tells the user.
constexpr int ImportDeviceAway = 3;
// 1 while an import shows its wait dialog.
extern int ImportTextMode;

// The modal "please wait" dialog over the device window while settings are read or written. It ends
// itself 2500 ms after BeginWait and then does what its mode asks: wait for the pages to apply a
// freshly read record, save a device's first cache file, show an offline device's cached record, or
// import a configuration file.
class UpDataParam : public QDialog
{
    Q_OBJECT
public:
    explicit UpDataParam(QWidget* parent = nullptr);
    ~UpDataParam() override;

    // Starts the 2500 ms wait; call it before exec().
    void BeginWait();
    // The wait ends when the pages report they applied a reloaded record (a reset or a reload).
    void SetWaitForPages(bool wait);
    bool WaitForPages() const { return waitForPages; }
    // The wait ends by importing this configuration file.
    void SetImportFile(const QString& path);
    bool ImportPending() const { return importPending; }

    // Makes this dialog the wait the pages show (SettingsWait); the device window does it once.
    static void InstallAsSettingsWait();

public slots:
    void onTimeupDestroy();
    void SlotAllLanguage(int index);

private:
    // Up to 12 checks 500 ms apart; true once the button, lighting and sensor pages all reported.
    bool WaitForPageUpdates();

    QString importPath;
    bool importPending = false;
    bool waitForPages = false;
    // Counts BeginWait calls: a wait whose count moved on was followed by another.
    unsigned waitsBegun = 0;
    Ui::UpDataParam* ui;
    QTimer* timer;
};
