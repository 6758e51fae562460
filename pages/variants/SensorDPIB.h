#pragma once
#include <QColor>
#include <QFrame>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QColorDialog;
class QSpinBox;
class QToolButton;
class MySlider;

namespace Ui {
class SensorDPIB;
}

// The DPI levels as eight rows: a check box that makes the level current, a colour button, a slider
// with the level's value beside it; a list sets how many levels the mouse cycles through. It writes
// the level entries, the level count and the current level of the record (bytes 1, 2 and the
// entries from byte 0x24) and never reads the record: a host shows device values with the
// operations below.
class SensorDPIB : public QFrame
{
    Q_OBJECT
public:
    explicit SensorDPIB(QWidget* parent = nullptr);
    ~SensorDPIB() override;

    static constexpr int LevelCount = 8;

    // Item k of the level-count list stands for k + 1 levels.
    void InsertLevelCountItem(int index, const QString& text);
    void ClearLevelCountItems();
    void BlockSliderSignals(bool block);
    void EnableSliders(bool enable);
    void SetSlidersMaximum(int max);
    void SetSlidersMinimum(int min);
    // Slider and value box of a level 0..7; a changed slider runs its slot unless the host blocked
    // the sliders' signals.
    void SetLevelValue(int level, const QString& value);
    // The level's colour as #rrggbb; shown by UpdateLevelButtonStyle.
    void SetLevelColorText(int level, const QString& colour);
    QString LevelColorText(int level) const;
    void UpdateLevelButtonStyle(int level);
    void RefreshButtonStyles();
    // Fixed colours on the eight buttons; the levels' colour texts stay as they are.
    void SetDefaultButtonStyles();
    void SetCurrentLevel(int level);
    void SetLevelCount(int count);
    // Makes a level current as the user would, after which the next slider change is only shown.
    void SelectLevel(int level);
    // Rows 0..lastLevel shown, the rest hidden; other values change nothing.
    void ShowLevelRows(int lastLevel);
    void SetTitleText(const QString& text);

private slots:
    void on_ChooseEvent_currentIndexChanged(int index);
    void on_horizontalSliderA_valueChanged(int value);
    void on_horizontalSliderB_valueChanged(int value);
    void on_horizontalSliderC_valueChanged(int value);
    void on_horizontalSliderD_valueChanged(int value);
    void on_horizontalSliderE_valueChanged(int value);
    void on_horizontalSliderF_valueChanged(int value);
    void on_horizontalSliderG_valueChanged(int value);
    void on_horizontalSliderH_valueChanged(int value);
    void on_MA_toggled(bool checked);
    void on_MB_toggled(bool checked);
    void on_MC_toggled(bool checked);
    void on_MD_toggled(bool checked);
    void on_ME_toggled(bool checked);
    void on_MF_toggled(bool checked);
    void on_MG_toggled(bool checked);
    void on_MH_toggled(bool checked);
    void on_BlueButtonA_clicked();
    void SetColor(QColor color);
    void on_BrightRedButtonA_clicked();
    void on_RedButtonA_clicked();
    void on_YellowButtonA_clicked();
    void on_GreenButtonA_clicked();
    void on_PurpleButtonA_clicked();
    void on_LightBlueButtonA_clicked();
    void on_LightYellowButtonA_clicked();

private:
    struct Row
    {
        QToolButton* colour;
        QCheckBox* current;
        MySlider* slider;
        QSpinBox* value;
    };
    void SliderReleased(int level, int value);
    void LevelToggled(int level, bool checked);
    void ColourClicked(int level);
    // The current level moves into the last kept slot: panel values, check box and device entries.
    void MoveCurrentLevel(int previous, int index);
    void ShowLevelValue(int level, int value);

    Ui::SensorDPIB* ui;
    QColorDialog* colorDialog;
    QString pictureFolder;
    QButtonGroup* levelGroup;
    int currentLevel = 1;
    int levelCount = 1;
    QString levelColors[LevelCount];
    bool firstChangeSeen = false;
    int previousLevel = 0;
    int colourTarget = 0;
    Row rows[LevelCount];
};
