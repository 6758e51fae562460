#pragma once
#include <QDialog>
#include <QString>

namespace Ui {
class LightModeSet;
}
class ColourGroup;

// The light mode editor: a frameless dialog with the light modes, brightness and speed sliders and
// the colour group, working on its own controls only. It talks to no device, writes no record and
// gives its caller no result: a mode shows or hides controls, a colour repaints the preview. Its
// texts are the form's in every language. The settings page holds one and never shows it.
class LightModeSet : public QDialog
{
    Q_OBJECT
public:
    explicit LightModeSet(QWidget* parent = nullptr);
    ~LightModeSet() override;

public slots:
    // The dialog keeps its form's texts: nothing to do, and connected to nothing.
    void SlotAllLanguage(int index);

private slots:
    void on_CloseButton_clicked();
    void on_LightMod_currentIndexChanged(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Ui::LightModeSet* ui;
    QString pictureFolder;
    ColourGroup* colour = nullptr;
};
