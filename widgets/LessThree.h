#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class LessThree;
}

// Asks the user to wait while a debounce-time change is applied.
class LessThree : public QDialog
{
    Q_OBJECT
public:
    explicit LessThree(QWidget* parent = nullptr);
    ~LessThree() override;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::LessThree* ui;
    QString pictureFolder;
};
