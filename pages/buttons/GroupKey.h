#pragma once
#include <QDialog>
#include <QString>

#include <functional>

namespace Ui {
class GroupKey;
}
class KeyboardHook;

// The key-combination dialog of the button page. The user ticks modifiers and presses keys; the
// dialog catches the keys through its keyboard hook, shows their names joined by "+" in a field
// that ignores typing, and hands back the combination ("Shift+Ctrl+F5") of at most three names in
// all. The caller runs it with exec() and reads IsOk and KeyString. With nothing chosen OK is
// disabled: an empty combination is never handed back.
//
// The hook is installed for as long as the dialog can take keys: from construction until a closing
// action, and never past the dialog's end, since its callback refers to the dialog.
class GroupKey : public QDialog
{
    Q_OBJECT
public:
    explicit GroupKey(QWidget* parent = nullptr);
    ~GroupKey() override;

    bool IsOk = false;
    QString KeyString;

    // Keys pressed within this many milliseconds of an entry's first key add up; the first key after
    // them starts a new entry.
    static constexpr qint64 EntryWindowMs = 2000;
    // The clock of that window, in milliseconds; a monotonic one unless a test sets its own.
    std::function<qint64()> KeyClock;

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_2_clicked();
    void on_NewHong_clicked();

public slots:
    // The hook's report of a key event; the repeat flag (aotu) is not used.
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);
    void on_lineEdit_textEdited(const QString& arg1);
    void SlotAllLanguage(int index);

protected:
    // Escape and F12 are keys to enter here, not to close the dialog or anything else.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A modifier ticked or a key in the field: without either there is no combination to confirm.
    bool HasCombination() const;
    // OK takes only a combination: it is enabled exactly while there is one.
    void ShowConfirmable();

    KeyboardHook& hook;
    int ZadoCount = 0;
    int LastKey = -1;
    bool FirstKey = true;
    qint64 KeyTimer = 0;
    Ui::GroupKey* ui;
    QString pictureFolder;
};
