#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class MouseOffLine;
}

// What the offline notice tells: 0 the device does not answer, 1 the settings wait ran out.
// Its opener sets it just before it constructs the notice.
extern int MouseOffLineKind;

// The notice that the mouse is offline (or that the settings wait timed out). It closes by itself
// when the connection's online check finds the device again (SigCloseOffOnline).
class MouseOffLine : public QDialog
{
    Q_OBJECT
public:
    explicit MouseOffLine(QWidget* parent = nullptr);
    ~MouseOffLine() override;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::MouseOffLine* ui;
    QString pictureFolder;
};
