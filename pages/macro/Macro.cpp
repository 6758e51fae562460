// The macro page: construction and looks.
#include "pages/macro/Macro.h"

#include "device/ConfigSetting.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_Macro.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/KeyboardHook.h"
#include "widgets/QuitHolds.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

Macro::Macro(QWidget* parent) : QWidget(parent), ui(new Ui::Macro)
{
    ui->setupUi(this);
    // The recorder's hook lives as long as the program; the page installs it only while it records.
    keyboardHook = &KeyboardHook::MacroRecorder();

    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Macro/");
    macroFolder = MacroBlocks::MacroFolder();

    connect(PostMsg::Instance(), &PostMsg::SigSetMacroPage, this, &Macro::SlotSetMacroPage);
    connect(PostMsg::Instance(), &PostMsg::SigButtonToMacro, this, &Macro::SlotButtonToMacro);
    connect(PostMsg::Instance(), &PostMsg::SigMacroDownLoadData, this, &Macro::SlotMacroDownLoadData);
    // A Save on its way to the mouse is seen through before the program ends.
    QuitHolds::Add(this, [this](QWidget* window) { return SeeSaveThroughAtQuit(window); });

    StyleLists();
    LoadMacroList(QStringLiteral("ListMain"));
    ui->listWidgetHong->viewport()->installEventFilter(this);
    SetUpButtonGroups();
    ui->StartRecord->setFocusPolicy(Qt::NoFocus);
    ApplyComboBoxLook(ui->ChooseEvent, pictureFolder);
    ui->ChooseEvent->setMaxVisibleItems(5);
    ui->StopRecord->hide();
    ui->AutoInsertDelay->setChecked(true);
    buttonColorParts = ConfigSetting::Instance()->GetValueList(QStringLiteral("Option"), QStringLiteral("ButtonColor"));
    buttonColor = ThemeColor(QStringLiteral("ButtonColor"));
    connect(&repeatModeGroup, qOverload<QAbstractButton*, bool>(&QButtonGroup::buttonToggled), this,
            [this](QAbstractButton*, bool) { RepeatModeChangedHandler(); });
    SetSaveActive(false);
    StyleControls();

    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &Macro::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

Macro::~Macro()
{
    // No key may reach a page that is gone.
    keyboardHook->RemoveKeyboardHook();
    delete ui;
}

void Macro::StyleLists()
{
    for (QWidget* list : {static_cast<QWidget*>(ui->listWidgetHong), static_cast<QWidget*>(ui->listWidgetKey)}) {
        const QString id = QStringLiteral("#") + list->objectName();
        list->setStyleSheet(
            id + QStringLiteral("{background:transparent;color:rgb(255,255,255);outline:0px;border:none;}") + id
            + QStringLiteral("::item:selected:active,") + id
            + QStringLiteral("::item:selected:!active{background:qlineargradient(x1:0,y1:0,x2:0,y2:1,stop:0 #e30413,"
                             "stop:1 #e30413);color:rgb(255,255,255);}")
            + id + QStringLiteral("::item:hover{background:transparent;}")
            + QStringLiteral("QScrollBar:vertical{width:20px;background:rgb(30,30,30);margin:22px 0px 22px 0px;}"
                             "QScrollBar::handle:vertical{background:rgb(117,117,117);border-radius:3px;min-height:30px;}"
                             "QScrollBar::add-line:vertical{height:25px;subcontrol-position:bottom;}"
                             "QScrollBar::sub-line:vertical{height:25px;subcontrol-position:top;}"
                             "QScrollBar::up-arrow:vertical{width:15px;height:15px;image:url(")
            + pictureFolder + QStringLiteral("Up.png);}QScrollBar::down-arrow:vertical{width:15px;height:15px;image:url(")
            + pictureFolder + QStringLiteral("Down.png);}"));
    }
}

void Macro::SetUpButtonGroups()
{
    delayModeGroup.setExclusive(true);
    delayModeGroup.addButton(ui->AutoInsertDelay);
    delayModeGroup.addButton(ui->DefaultDelay);
    repeatModeGroup.setExclusive(true);
    repeatModeGroup.addButton(ui->ReUntilLoose);
    repeatModeGroup.addButton(ui->ReUntilClick);
    repeatModeGroup.addButton(ui->ReNumber);
    repeatModeGroup.addButton(ui->ReUntil);
}

void Macro::RepeatModeChangedHandler()
{
    repeatModeChanged = true;
    SetSaveActive(true);
}

void Macro::SetSaveActive(bool active)
{
    if (active) {
        ui->Save->setEnabled(true);
        ui->Save->setStyleSheet(
            QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
            + buttonColor + QStringLiteral(");background-image: url(") + pictureFolder
            + QStringLiteral("Button.png);}QToolButton:hover{background-image: url(") + pictureFolder
            + QStringLiteral("ButtonHover.png); }QToolButton:pressed{background-image: url(") + pictureFolder
            + QStringLiteral("ButtonClick.png); }"));
    } else {
        ui->Save->setStyleSheet(
            QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;"
                           "color: rgb(127,127,127);background-image: url(")
            + pictureFolder + QStringLiteral("Button.png);}"));
        ui->Save->setEnabled(false);
    }
}

void Macro::StyleControls()
{
    const QString label = ThemeColor(QStringLiteral("LabelColor"));
    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + label + QStringLiteral(");}");
    for (QWidget* widget : {static_cast<QWidget*>(ui->label), static_cast<QWidget*>(ui->label_2),
                            static_cast<QWidget*>(ui->label_3), static_cast<QWidget*>(ui->AutoInsertDelayLabel),
                            static_cast<QWidget*>(ui->ReUntilLabel), static_cast<QWidget*>(ui->ReUntilClickLabel),
                            static_cast<QWidget*>(ui->ReUntilLooseLabel)})
        widget->setStyleSheet(labelStyle);
    const QString checkStyle = QStringLiteral("QCheckBox{color: rgb(") + label
        + QStringLiteral(");}QCheckBox:indicator::checked {image: url(") + pictureFolder
        + QStringLiteral("CheckBoxCheck.png);}QCheckBox::indicator::unchecked {image: url(") + pictureFolder
        + QStringLiteral("CheckBox.png);}");
    for (QWidget* box : {ui->AutoInsertDelay, ui->DefaultDelay, ui->ReUntilLoose, ui->ReUntilClick, ui->ReUntil,
                         ui->ReNumber})
        box->setStyleSheet(checkStyle);

    const QString toolStyle =
        QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + buttonColor + QStringLiteral(");background-image: url(") + pictureFolder
        + QStringLiteral("Button.png);}QToolButton:hover{background-image: url(") + pictureFolder
        + QStringLiteral("ButtonHover.png); }QToolButton:pressed{background-image: url(") + pictureFolder
        + QStringLiteral("ButtonClick.png); }");
    for (QWidget* button : {ui->NewHong, ui->DeleteHong, ui->Amend, ui->DeleteKey})
        button->setStyleSheet(toolStyle);
    const auto recordStyle = [this](const QString& picture, const QString& hover) {
        return QStringLiteral("QPushButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
            + buttonColor + QStringLiteral(");background-image: url(") + pictureFolder + picture
            + QStringLiteral(");}QPushButton:hover{background-image: url(") + pictureFolder + hover
            + QStringLiteral("); }");
    };
    ui->StopRecord->setStyleSheet(recordStyle(QStringLiteral("Stop.png"), QStringLiteral("StopHover.png")));
    ui->StartRecord->setStyleSheet(recordStyle(QStringLiteral("Record.png"), QStringLiteral("RecordHover.png")));

    const QString spinStyle = QStringLiteral("QSpinBox{background-color: rgb(63, 63, 63);color: rgb(")
        + ThemeColor(QStringLiteral("LinEditColorSecond")) + QStringLiteral(");border: none;}");
    ui->DelayTime->setStyleSheet(spinStyle);
    ui->NumberEdit->setStyleSheet(spinStyle);
}
