#pragma once
#include <QWidget>

class QListWidget;
class QPushButton;

// True while the macro page records keys: the top-level window then leaves every key alone, and
// the page's editing commands refuse to act. GUI thread only.
extern bool MacroRecording;

// The macro page. This first version holds the macro list and the record buttons: starting a
// recording tells the device window to lock its page buttons (SigStartRecord(0)); stopping it,
// or leaving the device window, unlocks them (SigStartRecord(1)).
class Macro : public QWidget
{
    Q_OBJECT
public:
    explicit Macro(QWidget* parent = nullptr);

public slots:
    // The device window is being left: a recording ends.
    void SlotSetMacroPage();

private slots:
    void on_StartRecord_clicked();
    void on_StopRecord_clicked();

private:
    // Shows the record buttons and the list as they are while nothing is recorded.
    void ShowIdle();

    QListWidget* listWidgetHong;
    QPushButton* StartRecord;
    QPushButton* StopRecord;
};
