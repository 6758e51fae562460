#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class InportFail;
}

// The notice that a configuration import was refused: the file cannot be read (ImportResult 1) or
// does not fit the device (ImportResult 2).
class InportFail : public QDialog
{
    Q_OBJECT
public:
    explicit InportFail(QWidget* parent = nullptr);
    ~InportFail() override;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::InportFail* ui;
    QString pictureFolder;
};
