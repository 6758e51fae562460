#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class DebounceTime;
}

// The debounce-time panel of the button page: 16 choices, the index written to record byte 6.
// Every accepted value is announced with SigDebunce; a short one asks the user to wait (LessThree).
class DebounceTime : public QFrame
{
    Q_OBJECT
public:
    explicit DebounceTime(QWidget* parent = nullptr);
    ~DebounceTime() override;

    static constexpr int ItemCount = 16;

    // Shows the device's value (or the reset value): the choice steps run when the index changes.
    void SetIndex(int index);
    // Item index reads the number index followed by suffix.
    void SetItemText(int index, const QString& suffix);
    int CurrentIndex() const;
    QString CurrentText() const;
    int LastAcceptedIndex() const { return lastAccepted; }

private slots:
    void on_Debunce_currentIndexChanged(int index);

private:
    void ShowWaitNotice();

    Ui::DebounceTime* ui;
    QString pictureFolder;
    int lastAccepted = 0;
};
