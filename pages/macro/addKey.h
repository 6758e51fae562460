#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class addKey;
}
class KeyboardHook;

// The key entry of one macro step: the user presses a key and the dialog names it from the
// keyboard table of virtual-key codes. Keys come through the macro step's own keyboard hook, which
// the dialog installs when it is made and removes before it goes, whichever way it closes or is
// destroyed, since the hook's callback refers to the dialog. The caller runs it with exec() and
// takes keyName only when exec() gave Accepted and confirmed is set.
class addKey : public QDialog
{
    Q_OBJECT
public:
    explicit addKey(QWidget* parent = nullptr);
    ~addKey() override;

    bool confirmed = false;
    // The name of the last key the hook reported; a key outside the table leaves it empty.
    QString keyName;

    // Every way of closing ends here: the hook goes first.
    void done(int result) override;

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();

public slots:
    // The hook's report of a key event, press, repeat or release alike; only the code counts.
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);
    void SlotAllLanguage(int index);

protected:
    // Escape and F12 are keys to name here, not to close the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyboardHook& hook;
    Ui::addKey* ui;
    QString pictureFolder;
};
