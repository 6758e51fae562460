#pragma once
#include <QDialog>
#include <QString>

#include <cstdint>

namespace Ui {
class Match;
}

// The receiver pairing dialog. This version shows the dialog for the device to pair: the
// instructions for a device in wireless mode, the note that pairing needs wireless mode for one
// on its cable. The pairing run itself comes with the pairing support.
class Match : public QDialog
{
    Q_OBJECT
public:
    explicit Match(QWidget* parent = nullptr);
    ~Match() override;

    // Prepares one pairing run. The device to pair: the open device while the device window is
    // active, else the one the selection page chose (PairDeviceChosen), else the first listed one.
    void InitPairDevice();

    // The device InitPairDevice chose.
    QString PairPath() const { return pairPath; }
    bool PairDeviceWired() const { return pairWired; }
    bool PairingPossible() const { return pairingPossible; }

public slots:
    void SlotAllLanguage(int index);

private slots:
    void WindowClosedSet();
    void on_MatchButton_clicked();

private:
    void ShowDeviceState();
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
};
