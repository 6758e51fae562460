#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class KeyNumberLimit;
}

// Tells that a recording stopped because the macro holds as many key events as a button can play.
class KeyNumberLimit : public QDialog
{
    Q_OBJECT
public:
    explicit KeyNumberLimit(QWidget* parent = nullptr);
    ~KeyNumberLimit() override;

private slots:
    void on_CloseButton_clicked();

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();

private:
    Ui::KeyNumberLimit* ui;
    QString pictureFolder;
};
