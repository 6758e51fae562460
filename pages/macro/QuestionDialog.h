#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class QuestionDialog;
}

// The macro name dialog: the user types the name of a new macro (mode 0) or the new name of the
// current one (mode 1). It only collects the name, within the 30 bytes a device block holds for it;
// the caller checks and uses it. The name field refuses typed punctuation and anything typed with
// Shift; pasted text passes (the caller's check decides about it).
class QuestionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit QuestionDialog(QWidget* parent = nullptr);
    ~QuestionDialog() override;

    // The name entered; empty when the user cancelled, closed the dialog or confirmed an empty field.
    QString EnteredName;

    // The prompt: 0 for a new macro, any other value for a rename.
    void SetMode(int mode);

    // The longest leading part of text that fits in a device block's name.
    static QString FittingName(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // The name is typed right away: the field has the focus each time the dialog shows.
    void showEvent(QShowEvent* event) override;

private slots:
    void WindowClosedLan();
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_lineEdit_textEdited(const QString& arg1);

private:
    Ui::QuestionDialog* ui;
    QString pictureFolder;
    QString newPrompt;
    QString renamePrompt;
};
