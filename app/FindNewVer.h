#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class FindNewVer;
}

// Announces new firmware, with a check box for not showing the notice again.
class FindNewVer : public QDialog
{
    Q_OBJECT
public:
    explicit FindNewVer(QWidget* parent = nullptr);
    ~FindNewVer() override;

    // Whether the user ticked "don't show again".
    bool DontShowAgain() const;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::FindNewVer* ui;
    QString pictureFolder;
};
