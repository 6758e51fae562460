#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class GroupMaxThree;
}

// Tells the user that a key combination holds at most three keys, modifiers included. Opened over
// the key-combination dialog, which clears its field when it closes.
class GroupMaxThree : public QDialog
{
    Q_OBJECT
public:
    explicit GroupMaxThree(QWidget* parent = nullptr);
    ~GroupMaxThree() override;

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

public slots:
    void SlotAllLanguage(int index);

private:
    Ui::GroupMaxThree* ui;
    QString pictureFolder;
};
