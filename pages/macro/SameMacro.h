#pragma once
#include "device/MacroBlocks.h"

#include <QDialog>
#include <QString>

namespace Ui {
class SameMacro;
}

// The macro page's one-button notice. It tells by default that a macro of the entered name exists;
// the page shows its other refusals in it too (a name that cannot name a macro file, a macro file
// that could not be read or changed), each by its own text key.
class SameMacro : public QDialog
{
    Q_OBJECT
public:
    explicit SameMacro(QWidget* parent = nullptr);
    ~SameMacro() override;

    // The text key of the message, in section "macro"; it follows the language from then on.
    void SetMessageKey(const QString& key);
    QString MessageKey() const { return messageKey; }
    // The text key that says why a macro's file could not be read as one.
    static QString FileFaultKey(MacroBlocks::FileFault fault);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::SameMacro* ui;
    QString pictureFolder;
    QString messageKey = QStringLiteral("DialogSameMacroName");
};
