#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class QuestiondialogB;
}

// Warns that more than one device of the same kind is plugged in.
class QuestiondialogB : public QDialog
{
    Q_OBJECT
public:
    explicit QuestiondialogB(QWidget* parent = nullptr);
    ~QuestiondialogB() override;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_CloseButton_clicked();

private:
    Ui::QuestiondialogB* ui;
    QString pictureFolder;
};
