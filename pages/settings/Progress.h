#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class Progress;
}

// A small frameless dialog that follows a firmware upgrade: the upgrading text with its percentage,
// then the failure or success text with an OK button. Its close and OK buttons end the dialog and
// tell the settings page to go on (or, after a failure, to return to the device selection).
class Progress : public QDialog
{
    Q_OBJECT
public:
    explicit Progress(QWidget* parent = nullptr);
    ~Progress() override;

    // Escape and the window's close follow the close button: nothing while the run is active.
    void reject() override;

public slots:
    void SlotAllLanguage(int index);
    // Closes the dialog unless the settings page's upgrade run is active.
    void SlotCloseProgress();
    // The bar takes schedue; Discrib: 0 upgrading at schedue %, 1 failed, 2 succeeded, 3 OK hidden,
    // 4 back to upgrading at 0 %.
    void SlotProgress(int schedue, int Discrib);

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

private:
    enum class Shown { Upgrading, Failed, Succeeded };
    void ShowState(Shown state, int percent);
    // Closes and comes back to upgrading at 0 %.
    void CloseAndReset();
    void Finish();

    Ui::Progress* ui;
    QString pictureFolder;
    QString upgradingText;
    QString failText;
    QString successText;
    Shown shown = Shown::Upgrading;
    int percent = 0;
};
