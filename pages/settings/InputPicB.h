#pragma once
#include <QDialog>
#include <QString>

class QButtonGroup;

namespace Ui {
class InputPicB;
}

// Picture slots of a receiver with a screen, in landscape: the controls of InputPicA without the
// clock sync. Held by the settings page, never shown.
class InputPicB : public QDialog
{
    Q_OBJECT
public:
    explicit InputPicB(QWidget* parent = nullptr);
    ~InputPicB() override;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_CloseButton_clicked();

private:
    Ui::InputPicB* ui;
    QString pictureFolder;
    QButtonGroup* pictureSlots;
};
