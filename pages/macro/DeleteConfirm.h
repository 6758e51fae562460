#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class DeleteConfirm;
}

// Asks before the macro page deletes the selected macro.
class DeleteConfirm : public QDialog
{
    Q_OBJECT
public:
    explicit DeleteConfirm(QWidget* parent = nullptr);
    ~DeleteConfirm() override;

    // True only after the confirm button; the close button and Escape leave it false.
    bool Confirmed = false;

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

public slots:
    void SlotAllLanguage(int index);

private:
    Ui::DeleteConfirm* ui;
    QString pictureFolder;
};
