#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class ContainReset;
}

// Asks a yes/no question, by default whether to restore the factory settings. The caller may set
// another question with SetText, runs exec() and then reads IsConfirm.
class ContainReset : public QDialog
{
    Q_OBJECT
public:
    explicit ContainReset(QWidget* parent = nullptr);
    ~ContainReset() override;

    // Replaces the question until the next language change.
    void SetText(const QString& text);
    QString Text() const;

    // The answer: true only after OK (or Return); Cancel, the close button and Esc leave it false.
    bool IsConfirm = false;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_CloseButton_clicked();
    void on_OK_clicked();
    void on_Cancel_clicked();

private:
    Ui::ContainReset* ui;
    QString pictureFolder;
};
