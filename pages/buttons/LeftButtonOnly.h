#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class LeftButtonOnly;
}

// Refuses to take the left click from the last button that has it: a mouse without one cannot be used.
class LeftButtonOnly : public QDialog
{
    Q_OBJECT
public:
    explicit LeftButtonOnly(QWidget* parent = nullptr);
    ~LeftButtonOnly() override;

private slots:
    void on_CloseButton_clicked();

public slots:
    void SlotAllLanguage(int index);

private:
    Ui::LeftButtonOnly* ui;
    QString pictureFolder;
};
