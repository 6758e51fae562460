#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class DebouncetimeB;
}

// The debounce time as a slider of 1..20 with the number beside it. A released slider writes the
// number shown as the device's debounce value (record byte 6); no notice, no bus message.
class DebouncetimeB : public QFrame
{
    Q_OBJECT
public:
    explicit DebouncetimeB(QWidget* parent = nullptr);
    ~DebouncetimeB() override;

    // Shows a value without writing it.
    void SetValue(int value);
    void SetSuffix(const QString& suffix);

private slots:
    void on_Debunce_sliderMoved(int position);
    void on_Debunce_valueChanged(int value);

private:
    Ui::DebouncetimeB* ui;
    QString pictureFolder;
};
