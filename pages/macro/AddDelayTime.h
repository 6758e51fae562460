#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class AddDelayTime;
}

// The delay of one macro step, 10 to 65535 milliseconds. The field always starts at 10; the caller
// reads Confirmed and DelayValue after exec() and writes the step itself.
class AddDelayTime : public QDialog
{
    Q_OBJECT
public:
    explicit AddDelayTime(QWidget* parent = nullptr);
    ~AddDelayTime() override;

    bool Confirmed = false;
    // The field's value when the confirm button was clicked.
    int DelayValue = 0;

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();

public slots:
    void SlotAllLanguage(int index);

private:
    Ui::AddDelayTime* ui;
    QString pictureFolder;
};
