#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class DebouncetimeC;
}

// The debounce time as a number between a less and a more button, 1..20 (0 until the first more).
// Each step writes the new number as the device's debounce value (record byte 6).
class DebouncetimeC : public QFrame
{
    Q_OBJECT
public:
    explicit DebouncetimeC(QWidget* parent = nullptr);
    ~DebouncetimeC() override;

    void SetSuffix(const QString& suffix);

private slots:
    void on_AddLevelA_clicked();
    void on_ReduceLevelA_clicked();

private:
    void Show(int value);

    Ui::DebouncetimeC* ui;
    QString pictureFolder;
};
