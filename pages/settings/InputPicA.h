#pragma once
#include "pages/settings/MyThread.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <optional>

class QButtonGroup;
class QTimer;

namespace Ui {
class InputPicA;
}

// Picture slots of a receiver with a screen, in portrait: a screen switch, a brightness slider, four
// picture slots with import and export. None of them does anything yet; the page that holds the
// dialog never shows it. The dialog also carries the receiver clock sync, which nothing starts.
class InputPicA : public QDialog
{
    Q_OBJECT
public:
    explicit InputPicA(QWidget* parent = nullptr);
    ~InputPicA() override;

    // Every tenth second (each ClockTicksPerSync-th tick of 200 ms) sends the local time to the
    // first receiver found; the search runs again on every attach and detach. False does nothing.
    void StartClockSync(bool start);
    // Sends one frame (see ExchangeClockSyncFrame); the reply, or none after five tries.
    std::optional<QByteArray> SendClockSyncPacket(const QByteArray& frame);

    bool ClockSyncRunning() const;
    const MyThread& Thread() const { return thread; }

    static constexpr int ClockTickMs = 200;
    static constexpr int ClockTicksPerSync = 50;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_CloseButton_clicked();
    void onEraseChipTimeTimer();
    void on_Input_clicked();

private:
    Ui::InputPicA* ui;
    QString pictureFolder;
    QButtonGroup* pictureSlots;
    QTimer* clockTimer;
    // While set, the ticks only restart the count; nothing in the program sets it.
    bool clockPaused = false;
    int clockTicks = 0;
    MyThread thread;
};
