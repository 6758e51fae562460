#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class UpDateWarning;
}

// The general message box: the caller sets the message with SetText; Return confirms.
class UpDateWarning : public QDialog
{
    Q_OBJECT
public:
    explicit UpDateWarning(QWidget* parent = nullptr);
    ~UpDateWarning() override;

    void SetText(const QString& text);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::UpDateWarning* ui;
    QString pictureFolder;
};
