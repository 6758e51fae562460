#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class RePair;
}

// Asks whether to pair mouse and receiver again. The caller runs exec() and then reads IsConfirm.
class RePair : public QDialog
{
    Q_OBJECT
public:
    explicit RePair(QWidget* parent = nullptr);
    ~RePair() override;

    // True only after OK; Cancel, the close button and Esc leave it false.
    bool IsConfirm = false;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_CloseButton_clicked();
    void on_OK_clicked();
    void on_Cancel_clicked();

private:
    Ui::RePair* ui;
    QString pictureFolder;
};
