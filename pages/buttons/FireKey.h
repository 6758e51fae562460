#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class FireKey;
}

// The rapid-fire dialog of the button page: an interval (10-255) and a count (0-3, where 0 fires for
// as long as the button is held). The caller sets the shown values, runs it with exec() and, when
// IsOk is set, writes FireInterval and FireCount.
class FireKey : public QDialog
{
    Q_OBJECT
public:
    explicit FireKey(QWidget* parent = nullptr);
    ~FireKey() override;

    bool IsOk = false;
    int FireInterval = 10;
    int FireCount = 3;

    // Show a value; one outside the field's range shows as the nearer bound.
    void SetInterval(int value);
    void SetCount(int value);

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_2_clicked();
    void on_NewHong_clicked();

public slots:
    void SlotAllLanguage(int index);

private:
    Ui::FireKey* ui;
    QString pictureFolder;
};
