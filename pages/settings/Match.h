#pragma once
#include <QDialog>
#include <QFont>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>

namespace Ui {
class Match;
}

// Pairing state shared by the pairing dialog and PairStatusCallback, which runs on the device
// library's thread: each is one value written whole.
// 0 idle, 1 pairing, 2 paired, 3 failed.
extern std::atomic<int> PairResult;
// A pairing attempt runs: the dialog cannot be closed and its device tick leaves the texts alone.
extern std::atomic<bool> PairingActive;
// The device window was active when the attempt started; it is made active again when the attempt ends.
extern std::atomic<bool> SavedDeviceWindowFlag;

// The report callback of a pairing attempt (device library thread): the receiver's pairing status,
// report code 6, data byte 0 = 1 pairing, 2 failed, 3 paired. Reaches the dialog through the bus only.
void PairStatusCallback(const uint8_t* header, int headerLength, const uint8_t* data, uint32_t dataLength);

// The modal dialog that pairs a mouse with its receiver: it puts the receiver into pairing mode for
// the model's CID, asks for the pairing status once a second and shows on its one button whether
// pairing runs, failed or succeeded. Every attempt ends, with the first result it gets: the
// receiver's answer, the device gone or unplugged and back, or the attempt's time limit; only then can
// the dialog be closed.
class Match : public QDialog
{
    Q_OBJECT
public:
    explicit Match(QWidget* parent = nullptr);
    ~Match() override;

    // One pairing run as every opener makes it: the dialog is made, given its device, placed by
    // `place` and run modally; afterwards the window that shows takes back its attach/detach notices
    // and, for the device window, the open device's connection. fromDeviceWindow: asked for from the
    // device window (PairFromDeviceWindow).
    static void Open(bool fromDeviceWindow, const std::function<void(QWidget* dialog)>& place);

    // Prepares one pairing run. The device to pair: the open device while the device window is
    // active, else the one the selection page chose (PairDeviceChosen), else the first listed one.
    // Every run starts clean, whatever an earlier dialog left.
    void InitPairDevice();

    // Puts the receiver into pairing mode (a new connection with PairStatusCallback first when no
    // attempt runs).
    void StartPairing();

    // How long one attempt may wait for the receiver's answer before it counts as failed.
    static void SetAttemptTimeLimit(int milliseconds);
    static int AttemptTimeLimit();

    // The device InitPairDevice chose.
    QString PairPath() const { return pairPath; }
    bool PairDeviceWired() const { return pairWired; }
    bool PairingPossible() const { return pairingPossible; }
    // The timers of an attempt (the pairing status, the button's text, the time limit) run.
    bool AttemptTimersActive() const
    {
        return pairStatusTimer.isActive() || textTimer.isActive() || attemptLimit.isActive();
    }

public slots:
    void WindowClosedSet();
    void SlotStopTimer();
    void SlotButtonenable(int index);
    void SlotAllLanguage(int index);
    // Escape and the window's own close go the close button's way.
    void reject() override;

private slots:
    void on_MatchButton_clicked();
    void onPairTimeupDestroy();
    void onUSBTimeupDestroy();
    void onTextTimeupDestroy();
    void onAttemptTimeLimit();

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowButton(const QString& text, const QString& picture, const QString& colour);
    void ShowFailed();
    // Ends the running attempt as failed, unless it has its result already.
    void FailAttempt(bool giveDeviceWindowBack);
    void SetButtonText(const QString& text);
    void StopAttemptTimers();
    QString ButtonStyle(const QString& picture, const QString& colour) const;

    Ui::Match* ui;
    bool pairingPossible = false;
    QString currentPath;
    uint8_t cid = 0;
    QString pairPath;
    QString pairVid;
    QString pairPid;
    bool pairWired = false;
    QString startText;
    QString pairingText;
    QString failText;
    QString successText;
    QString pictureFolder;
    QString buttonColour;
    QFont buttonFont;
    QTimer deviceTimer;
    QTimer pairStatusTimer;
    QTimer textTimer;
    QTimer attemptLimit;
    unsigned textStep = 0;
};
