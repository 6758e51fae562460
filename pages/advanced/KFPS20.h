#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class KFPS20;
}

// The 20K-FPS switch of the advanced page: a click writes record byte 4 through SetDevice20KFps;
// a refused write turns the switch back.
class KFPS20 : public QFrame
{
    Q_OBJECT
public:
    explicit KFPS20(QWidget* parent = nullptr);
    ~KFPS20() override;

    void SetTipsPos(int x, int y);
    // Where the tips icon belongs in the current language: just after the caption.
    int CaptionTipsX() const;
    // Shows the device's state; writes nothing.
    void SetChecked(bool on);
    bool IsChecked() const;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_KFPS_clicked(bool checked);

private:
    Ui::KFPS20* ui;
    QString pictureFolder;
    QString labelColor;
};
