#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class UpDateRepair;
}

// The firmware upgrade and repair dialog. This version holds its views and texts; the search for
// an interrupted upgrade and the upgrade run itself come with the firmware update.
class UpDateRepair : public QDialog
{
    Q_OBJECT
public:
    explicit UpDateRepair(QWidget* parent = nullptr);
    ~UpDateRepair() override;

    // The start view: start and cancel buttons, no message, the progress bar at 0 and hidden.
    void ResetView();
    // Ready to start: start and cancel buttons enabled, the ready text.
    void ShowReadyView();
    // A message (set with SetToolText first) with an OK button.
    void ShowMessageView();
    // An upgrade runs: no buttons, the warning text, the progress bar.
    void ShowUpgradingView();
    void SetToolText(const QString& text);

    // Marks the dialog for an automatic start (asked by the top-level window) and starts the
    // upgrade when an image is ready.
    void SetAutoUpdate(int value);
    void StartUpgrade();

    bool AutoStart() const { return autoStart; }

    // The look of the upgrade's progress bar, shared by the upgrade progress dialog.
    static QString ProgressBarStyle();

public slots:
    void SlotAutoRepair(int index);
    void SlotAutoRepairProgress(int index);
    void SlotAllLanguage(int index);
    void SlotProgress(int schedue, int Discrib);
    void SlotRepairCheckUpdate();

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();

private:
    void SetShortcuts();

    Ui::UpDateRepair* ui;
    QString pictureFolder;
    QString warnText;
    QString startText;
    QString notDeviceText;
    QString sameDeviceText;
    QString failText;
    QString successText;
    QString cancelText;
    QString okText;
    QString noReceiverText;
    QString noUsbText;
    QString error1Text;
    QString errorText;
    QString errorFileText;
    QString multiDongleText;
    QString multiMouseText;
    QString readyText;
    bool autoStart = false;
    int autoValue = 0;
    bool imageReady = false;
};

// The one firmware upgrade dialog; the settings page keeps it. Null until one is made.
extern UpDateRepair* UpDateRepairInstance;
