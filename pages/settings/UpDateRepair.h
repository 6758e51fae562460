#pragma once
#include <QDialog>
#include <QString>
#include <cstdint>

namespace Ui {
class UpDateRepair;
}

// The firmware upgrade and repair dialog. It repairs an interrupted upgrade from its record (the
// receiver first, then the mouse), runs the receiver upgrade the Space key asks for, and lends its
// views to the settings page's upgrade. Its own run lives in UpDateRepairRun.cpp.
class UpDateRepair : public QDialog
{
    Q_OBJECT
public:
    explicit UpDateRepair(QWidget* parent = nullptr);
    ~UpDateRepair() override;

    // How a message reads: a notice in the theme's text colour, or a warning (a failure, a reason
    // the upgrade cannot go on) in red.
    enum class MessageTone { Notice, Warning };

    // Each view shows one message, in its tone, and the buttons that fit it.
    // The start view: start and cancel buttons, no message, the progress bar at 0 and hidden.
    void ResetView();
    // Ready to start: start and cancel buttons enabled, the ready text.
    void ShowReadyView();
    // A message (set with SetToolText first) with the one button that closes it.
    void ShowMessageView(MessageTone tone = MessageTone::Warning);
    // An upgrade runs: no buttons, the warning text, the progress bar.
    void ShowUpgradingView();
    // The run's end: the success or the failure text with the one button that closes it.
    void ShowResultView(bool success);
    void SetToolText(const QString& text);

    // Marks the dialog for an automatic start (asked by the top-level window's Space key for the one
    // listed receiver), prepares the run from that receiver's model and starts it, or shows the
    // message view with the reason it cannot start.
    void SetAutoUpdate(int value);
    // Writes the receiver image, then the mouse image when a mouse waits for one; nothing without a
    // prepared image. A run that cannot start ends as failed or shows why.
    void StartUpgrade();
    // The repair check: true when the interrupted upgrade's record, the listed devices, the images
    // and the devices in boot mode allow a repair (the caller shows the ready view); false after
    // showing the reason, or silently when there is no valid record.
    bool PrepareUpgrade();

    // The device library's upgrade events of the dialog's run, on the library's thread.
    static void UpgradeStatusCallback(const uint8_t* event);

    bool AutoStart() const { return autoStart; }
    // The dialog shows a run: its progress and then its result.
    bool ShowsRun() const;

    // The look of the upgrade's progress bar, shared by the upgrade progress dialog.
    static QString ProgressBarStyle();

    // Escape and the window's close follow the close button: nothing while a run is under way.
    void reject() override;

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
    // While a run is under way the program does not quit: every way of quitting is told so, once
    // for the whole program however many dialogs there are.
    static void HoldQuitWhileRunning();
    // The dialog may go: no run is under way, no stage reports progress.
    static bool MayClose();
    void SetShortcuts();
    void SetMessageTone(MessageTone tone);
    // The confirming button with its text, beside the cancel button or alone.
    void ShowButtons(const QString& confirm, bool withCancel);
    void ShowMessage(const QString& text);

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
    int failedKind = 0;
    QString receiverModelName;
    QString modelSection;
};

// The one firmware upgrade dialog; the settings page keeps it. Null until one is made.
extern UpDateRepair* UpDateRepairInstance;
