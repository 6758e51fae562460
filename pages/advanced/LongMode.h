#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class LongMode;
}

// The long-range check box of the advanced page. A user's toggle goes straight to the device
// library (the mode is not part of the record); the device's reported mode is only shown.
class LongMode : public QFrame
{
    Q_OBJECT
public:
    explicit LongMode(QWidget* parent = nullptr);
    ~LongMode() override;

    // Shows the mode the device reported, with the box's signals blocked: the report callback waits
    // for this call, so it must not reach the device library, and a report is no user's wish.
    void SetChecked(bool on);
    bool IsChecked() const;

    // The model of Config.ini group "Drive" + (modelIndex + 1) has a long-range mode: its
    // "Adveanced" list has an entry 0 and that entry is not "-1".
    static bool ModelHasLongRange(int modelIndex);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_checkBox_toggled(bool checked);

private:
    Ui::LongMode* ui;
    QString pictureFolder;
    QString labelColor;
};
