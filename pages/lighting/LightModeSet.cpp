#include "pages/lighting/LightModeSet.h"

#include "device/PostMsg.h"
#include "pages/lighting/ColourGroup.h"
#include "pages/lighting/LightModeRows.h"
#include "platform/AppPaths.h"
#include "ui_LightModeSet.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/NoticeLook.h"
#include "widgets/SliderLook.h"
#include "widgets/ThemeColor.h"

LightModeSet::LightModeSet(QWidget* parent) : QDialog(parent), ui(new Ui::LightModeSet)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/ScreeInfo/");
    NoticeLook::SetNoticeFlags(this);
    // The colour spin boxes take typed numbers.
    NoticeLook::ActivateWhenShown(this);
    const QString url = QStringLiteral("url(") + pictureFolder;

    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
                               + QStringLiteral(";);}");
    for (QLabel* label : {ui->label, ui->label_2, ui->label_3, ui->label_6, ui->label_8, ui->label_10, ui->label_11,
                          ui->label_12, ui->label_13})
        label->setStyleSheet(labelStyle);
    ui->LightModeSetframe->setStyleSheet(QStringLiteral("#LightModeSetframe{border:0px;background-image: ") + url
                                         + QStringLiteral("Back.png);}"));
    ui->CloseButton->setStyleSheet(QStringLiteral("QToolButton{border:0px;background-image: ") + url
                                   + QStringLiteral("CloseButton.png);}QToolButton:hover{background-image: ") + url
                                   + QStringLiteral("CloseHover.png);}QToolButton:pressed{background-image: ") + url
                                   + QStringLiteral("CloseClick.png);}"));

    // No device: the colour group has no guard and its changes only repaint the preview.
    ColourGroupWidgets widgets;
    widgets.red = ui->RSpinBox;
    widgets.green = ui->GSpinBox;
    widgets.blue = ui->BSpinBox;
    widgets.adds = {ui->AddR, ui->AddG, ui->AddB};
    widgets.reduces = {ui->ReduceR, ui->ReduceG, ui->ReduceB};
    widgets.presets = {ui->toolButtonColorA, ui->toolButtonColorB, ui->toolButtonColorC, ui->toolButtonColorD,
                       ui->toolButtonColorE, ui->toolButtonColorF, ui->toolButtonColorG, ui->toolButtonColorH,
                       ui->toolButtonColorI, ui->toolButtonColorJ, ui->toolButtonColorK, ui->toolButtonColorL,
                       ui->toolButtonColorM, ui->toolButtonColorN};
    widgets.board = ui->label_7;
    widgets.preview = ui->labelPreView;
    colour = new ColourGroup(this, widgets, ColourGroup::Guard::None, nullptr);

    on_LightMod_currentIndexChanged(ui->LightMod->currentIndex());
    ApplyComboBoxLook(ui->LightMod, pictureFolder);
    ui->LightMod->setMaxVisibleItems(5);
    ApplySliderLook(ui->horizontalLight, pictureFolder, QStringLiteral("Slider.png"));
    ApplySliderLook(ui->horizontalSpeed, pictureFolder, QStringLiteral("Slider.png"));
    // The board's picture last: its sheet replaces the label colour.
    colour->ApplyLook(pictureFolder);

    NoticeLook::ScaleFonts(this);
}

LightModeSet::~LightModeSet()
{
    delete ui;
}

void LightModeSet::SlotAllLanguage(int index)
{
    Q_UNUSED(index)
}

void LightModeSet::on_CloseButton_clicked()
{
    emit PostMsg::Instance()->SigButtonCheck();
    close();
}

void LightModeSet::on_LightMod_currentIndexChanged(int index)
{
    LightModeWidgets rows;
    rows.light = {ui->horizontalLight};
    rows.speed = {ui->horizontalSpeed};
    rows.lightLine = ui->line;
    rows.speedLine = ui->line_2;
    rows.colour = {ui->label_6, ui->label_7, ui->label_8, ui->labelPreView, ui->label_11, ui->label_10, ui->label_12,
                   ui->ReduceR, ui->ReduceG, ui->ReduceB, ui->RSpinBox, ui->GSpinBox, ui->BSpinBox, ui->AddR, ui->AddG,
                   ui->AddB, ui->label_13};
    for (QToolButton* preset : colour->Widgets().presets)
        rows.colour << preset;
    ApplyLightModeRows(index, rows);
}

void LightModeSet::mousePressEvent(QMouseEvent* event)
{
    colour->Press(event);
}
