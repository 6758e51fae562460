#pragma once
#include <QColor>
#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class QButtonGroup;
class QColorDialog;
class QToolButton;

namespace Ui {
class SensorDPI;
}

// The DPI level editor of the sensor page: up to eight levels, each a level button carrying its DPI
// value as text and a colour swatch under it, a marker over the current level that the user drags,
// the level-count choice, and a slider with its value box for the current level's value.
// User changes go to the device through the parameter setters; the sensor page shows device records
// through the plain operations below, with SensorPageRefreshing set so that nothing is written back.
class SensorDPI : public QFrame
{
    Q_OBJECT
public:
    explicit SensorDPI(QWidget* parent = nullptr);
    ~SensorDPI() override;

    // Operations of the sensor page. Levels are 0..7; anything else changes nothing.
    void SetTitleText(const QString& text);
    void BlockLevelCountSignals(bool block);
    void ClearLevelCountItems();
    // At most eight items: an insert beyond them is ignored.
    void InsertLevelCountItem(int index, const QString& text);
    // Items "1" .. count, with count clamped to 1..8 (a model's DPIMaxGrade is not trusted).
    void FillLevelCountItems(int count);
    void SetLevelCountIndex(int index);
    void ShowLevelCount(int index);
    // Clamped to 1..8.
    void SetLevelCount(int n);
    void SetCurrentLevelIndex(int level);
    void MoveMarkerToLevel(int number); // 1-based
    void SelectLevel(int level);
    void SetLevelText(int level, const QString& text);
    void SetLevelColorHex(int level, const QString& text);
    void SyncSwatchesToLevel(int level);
    void LoadDefaultLevels();
    void BlockSliderSignals(bool block);
    void SetSliderEnabled(bool on);
    void ReleaseSlider();
    void SetSliderMaximum(int value);
    void SetSliderMinimum(int value);
    // The span the form gives the slider, for a model without DPI ranges.
    void RestoreSliderSpan();
    void SetSliderValue(int value);
    void SetSpinValue(int value);

    // The look of the current level and the others.
    void ShowLevelSelected(int level);
    void ResetOtherSwatches(int level);
    void UpdateBlueButtonAStyle() { UpdateSwatchStyle(0); }
    void UpdateBrightRedButtonAStyle() { UpdateSwatchStyle(1); }
    void UpdateRedButtonAStyle() { UpdateSwatchStyle(2); }
    void UpdateYellowButtonAStyle() { UpdateSwatchStyle(3); }
    void UpdateGreenButtonAStyle() { UpdateSwatchStyle(4); }
    void UpdatePurpleButtonAStyle() { UpdateSwatchStyle(5); }
    void UpdateLightBlueButtonAStyle() { UpdateSwatchStyle(6); }
    void UpdateLightYellowButtonAStyle() { UpdateSwatchStyle(7); }
    // Makes the level current as the end of a marker drag; false when the mouse is offline and
    // nothing was selected.
    bool SelectLevelFromMarker(int level);

    int CurrentLevel() const { return currentLevel; }
    int LevelCount() const { return levelCount; }
    int LevelCountIndex() const { return levelCountIndex; }
    QString LevelColor(int level) const;
    QString LevelText(int level) const;
    bool SliderChangeArmed() const { return sliderChangeArmed != 0; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

public slots:
    void on_ChooseEvent_currentIndexChanged(int index);
    void on_horizontalSliderC_valueChanged(int value);
    void on_horizontalSliderC_sliderMoved(int position);
    void on_ReduceLevelA_clicked();
    void on_AddLevelA_clicked();
    void on_BlueButton_toggled(bool checked) { LevelToggled(0, checked); }
    void on_BlueButtonA_toggled(bool checked) { SwatchToggled(0, checked); }
    void on_LightBlueButton_toggled(bool checked) { LevelToggled(6, checked); }
    void on_LightBlueButtonA_toggled(bool checked) { SwatchToggled(6, checked); }
    void on_BlueButtonA_clicked() { OpenColorDialog(); }
    void SetColor(QColor color);
    void on_LightBlueButtonA_clicked() { OpenColorDialog(); }
    void on_BrightRedButton_toggled(bool checked) { LevelToggled(1, checked); }
    void on_BrightRedButtonA_toggled(bool checked) { SwatchToggled(1, checked); }
    void on_BrightRedButtonA_clicked() { OpenColorDialog(); }
    void on_RedButton_toggled(bool checked) { LevelToggled(2, checked); }
    void on_RedButtonA_toggled(bool checked) { SwatchToggled(2, checked); }
    void on_RedButtonA_clicked() { OpenColorDialog(); }
    void on_YellowButton_toggled(bool checked) { LevelToggled(3, checked); }
    void on_YellowButtonA_toggled(bool checked) { SwatchToggled(3, checked); }
    void on_LightYellowButton_toggled(bool checked) { LevelToggled(7, checked); }
    void on_LightYellowButtonA_toggled(bool checked) { SwatchToggled(7, checked); }
    void on_YellowButtonA_clicked() { OpenColorDialog(); }
    void on_LightYellowButtonA_clicked() { OpenColorDialog(); }
    void on_GreenButton_toggled(bool checked) { LevelToggled(4, checked); }
    void on_GreenButtonA_toggled(bool checked) { SwatchToggled(4, checked); }
    void on_GreenButtonA_clicked() { OpenColorDialog(); }
    void on_PurpleButton_toggled(bool checked) { LevelToggled(5, checked); }
    void on_PurpleButtonA_toggled(bool checked) { SwatchToggled(5, checked); }
    void on_PurpleButtonA_clicked() { OpenColorDialog(); }
    void on_BlueButton_clicked() { ShowLevelSelected(previousLevel); }
    void on_BrightRedButton_clicked() { ShowLevelSelected(previousLevel); }
    void on_RedButton_clicked() { ShowLevelSelected(previousLevel); }
    void on_YellowButton_clicked() { ShowLevelSelected(previousLevel); }
    void on_GreenButton_clicked() { ShowLevelSelected(previousLevel); }
    void on_PurpleButton_clicked() { ShowLevelSelected(previousLevel); }
    void on_LightBlueButton_clicked() { ShowLevelSelected(previousLevel); }
    void on_LightYellowButton_clicked() { ShowLevelSelected(previousLevel); }
    // The form's hidden pushButton: the slider to 5000, its signals blocked.
    void on_pushButton_clicked();
    // The title in the language the bus announces.
    void SlotAllLanguage(int index);

private:
    // The offline notice when the user acts while the mouse cannot take a write; true then.
    bool RefusedWhileOffline();
    // The step buttons: the shown value one step of its range up or down, written by the slider.
    void StepShownValue(bool up);
    void LevelToggled(int level, bool checked);
    void SwatchToggled(int level, bool checked);
    void OpenColorDialog();
    void UpdateSwatchStyle(int level);
    void StyleLevelButton(int level, bool current);
    void StyleSwatch(int level, bool current, bool moveToo);
    // Moves the slider to a level's value for display: the next change notification is not
    // written, and when none will follow the write stays armed.
    void ShowValueOnSlider(int value);
    int LevelValue(int level) const;
    int CheckedLevel() const;
    void SnapMarkerBack();
    QToolButton* LevelButton(int level) const { return levelButtons[level]; }
    QToolButton* Swatch(int level) const { return swatches[level]; }

    Ui::SensorDPI* ui;
    QString pictureDir;
    QButtonGroup* levelGroup = nullptr;
    QButtonGroup* swatchGroup = nullptr;
    QColorDialog* colorDialog = nullptr;
    QStringList buttonColorList;
    QString buttonColor;
    QRect levelButtonRects[8];
    QRect swatchRects[8];
    QPoint markerPoints[8];
    QRect dragArea;
    int dragging = 0;
    QPoint dragOffset;
    int currentLevel = 1;
    int levelCount = 1;
    QString levelColors[8];
    int sliderChangeArmed = 0;
    int formSliderMinimum = 0;
    int formSliderMaximum = 0;
    int savedLevel = 0;
    int levelCountIndex = 0;
    int previousLevel = 0;
    QToolButton* levelButtons[8] = {};
    QToolButton* swatches[8] = {};
};
