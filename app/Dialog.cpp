#include "app/Dialog.h"

#include "app/CrashHandler.h"
#include "app/PreVier.h"
#include "app/UpDataParam.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/advanced/Advanced.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/macro/Macro.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "platform/AppPaths.h"
#include "platform/TraceLog.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_Dialog.h"
#include "widgets/ThemeColor.h"
#include "widgets/WaitProcessingEvents.h"

#include <QButtonGroup>
#include <QKeyEvent>

namespace {

QString CheckedButtonStyle(const QString& folder, const char* normal, const char* hover, const char* checked)
{
    return QStringLiteral("QToolButton{border: 0px;background-position:center;background-repeat:no-repeat;"
                          "background-image: url(")
        + folder + QLatin1String(normal) + QStringLiteral(");}QToolButton:hover{background-image:  url(") + folder
        + QLatin1String(hover) + QStringLiteral(");}QToolButton:checked{background-image: url(") + folder
        + QLatin1String(checked) + QStringLiteral(");}");
}

QString PressedButtonStyle(const QString& folder, const char* normal, const char* hover, const char* pressed)
{
    return QStringLiteral("QToolButton{border:0px;background-image: url(") + folder + QLatin1String(normal)
        + QStringLiteral(");background-position:center;background-repeat:no-repeat;}"
                         "QToolButton:hover{background-image: url(")
        + folder + QLatin1String(hover) + QStringLiteral(");}QToolButton:pressed{background-image: url(") + folder
        + QLatin1String(pressed) + QStringLiteral(");}");
}

} // namespace

Dialog::Dialog(QWidget* parent) : QWidget(parent), ui(new Ui::Dialog)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Dialog/");
    UpDataParam::InstallAsSettingsWait();

    preVier = new PreVier(this);
    advanced = new Advanced(this);
    buttonPage = new Buttoninterface(this);
    lampLight = new LampLight(this);
    macro = new Macro(this);
    sensor = new Sensor(this);
    formSetting = new FormSetting(this);
    ui->stackedWidgetDialog->addWidget(preVier);
    ui->stackedWidgetDialog->addWidget(buttonPage);
    ui->stackedWidgetDialog->addWidget(sensor);
    ui->stackedWidgetDialog->addWidget(macro);
    ui->stackedWidgetDialog->addWidget(lampLight);
    ui->stackedWidgetDialog->addWidget(advanced);
    ui->stackedWidgetDialog->addWidget(formSetting);

    waitDialog = new UpDataParam(nullptr);
    qCDebug(kestroTrace) << "Start";

    SetStyles();

    ui->label->hide();
    pageButtons = new QButtonGroup(this);
    pageButtons->setExclusive(true);
    const QList<QAbstractButton*> buttons = {ui->PreButton,    ui->Advanced,     ui->ButtonMain, ui->MacroButton,
                                             ui->LightsButton, ui->SensorButton, ui->FormSetting};
    for (QAbstractButton* button : buttons)
        pageButtons->addButton(button);
    connect(ui->MinButton, SIGNAL(clicked()), this, SLOT(WindowMin()));
    ui->PreButton->setChecked(true);

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(width(), height());

    crashHandler = new CrashHandler;
    crashHandler->Install();

    ui->stackedWidgetDialog->setCurrentWidget(preVier);
    PostMsg* bus = PostMsg::Instance();
    connect(bus, SIGNAL(SigSecondPageChange()), this, SLOT(SlotSecondDialog()));
    connect(bus, SIGNAL(SigIsUsb(bool,bool)), this, SLOT(SlotIsUsb(bool,bool)));
    connect(bus, SIGNAL(SigUpDataParam(int)), this, SLOT(SlotUpDataParam(int)));
    connect(bus, SIGNAL(SigStartRecord(int)), this, SLOT(SlotStartRecord(int)));
    // The report callback waits until the level is shown.
    connect(bus, SIGNAL(SigBattery(bool,int,bool)), this, SLOT(SlotBattery(bool,int,bool)), Qt::BlockingQueuedConnection);
}

Dialog::~Dialog()
{
    delete preVier;
    delete buttonPage;
    delete lampLight;
    delete macro;
    delete sensor;
    delete advanced;
    delete formSetting;
    delete ui;
    // The window lives as long as the program; the wait dialog (no parent) and the crash handler's
    // object go with it. The handler stays installed.
    delete waitDialog;
    delete crashHandler;
}

void Dialog::SetStyles()
{
    const QString& p = pictureFolder;
    ui->label_2->setStyleSheet(QStringLiteral("#label_2{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
                               + QStringLiteral(";);}"));
    ui->frame_2->setStyleSheet(QStringLiteral("#frame_2{border-image: url(") + p + QStringLiteral("BackGround2.png);}"));
    ui->BatteryButtonC->setStyleSheet(QStringLiteral("#BatteryButtonC{border:0px;background-image: url(") + p
                                      + QStringLiteral("Battery.png);background-position:center;background-repeat:no-repeat;}"));
    ui->label->setStyleSheet(QStringLiteral("#label{border-image: url(") + p + QStringLiteral("Charg.png);}"));

    ui->ButtonMain->setStyleSheet(CheckedButtonStyle(p, "Home.png", "HomeHover.png", "HomeChecked.png"));
    ui->PreButton->setStyleSheet(CheckedButtonStyle(p, "Pre.png", "PreHover.png", "PreHover.png"));
    ui->Advanced->setStyleSheet(CheckedButtonStyle(p, "Advance.png", "AdvanceHover.png", "AdvanceHover.png"));
    ui->LightsButton->setStyleSheet(CheckedButtonStyle(p, "Light.png", "LightHover.png", "LightChecked.png"));
    ui->FormSetting->setStyleSheet(CheckedButtonStyle(p, "Setting.png", "SettingHover.png", "SettingClick.png"));
    ui->MacroButton->setStyleSheet(CheckedButtonStyle(p, "Macro.png", "MacroHover.png", "MacroChecked.png"));
    ui->SensorButton->setStyleSheet(CheckedButtonStyle(p, "Sensor.png", "SensorHover.png", "SensorChecked.png"));
    ui->CloseButton->setStyleSheet(PressedButtonStyle(p, "Close.png", "CloseHover.png", "CloseClick.png"));
    ui->MinButton->setStyleSheet(PressedButtonStyle(p, "Min.png", "MinHover.png", "MinClick.png"));
    ui->UpArrow->setStyleSheet(PressedButtonStyle(p, "PageChange.png", "PageChangeHover.png", "PageChangeClick.png"));
}

void Dialog::SlotBattery(bool IsCharg, int Number, bool IsText)
{
    ui->label->setVisible(IsCharg);
    ui->progressBar->setValue(Number);
    ui->label_2->setText(IsText ? QString::number(Number) + QLatin1Char('%') : QString::number(Number));
    const QString chunk = Number < 16 ? QStringLiteral("rgb(152, 43, 34)") : QStringLiteral("rgb(0, 255, 153)");
    ui->progressBar->setStyleSheet(QStringLiteral("#progressBar{border: none;background-color: transparent;}"
                                                  "#progressBar::chunk {background-color: ")
                                   + chunk + QStringLiteral(";}"));
}

void Dialog::SlotIsUsb(bool Usb, bool IsVs)
{
    Q_UNUSED(IsVs)
    ui->label_4->setStyleSheet(QStringLiteral("QLabel{border-image: url(") + pictureFolder
                               + (Usb ? QStringLiteral("OnLineUsb.png") : QStringLiteral("OnLineWifi.png"))
                               + QStringLiteral(");}"));
}

void Dialog::SlotStartRecord(int index)
{
    if (index != 0 && index != 1)
        return;
    for (QAbstractButton* button : pageButtons->buttons())
        button->setEnabled(index == 1);
}

void Dialog::SlotSecondDialog()
{
    ui->PreButton->setChecked(true);
    ui->stackedWidgetDialog->setCurrentWidget(preVier);
}

void Dialog::SlotUpDataParam(int index)
{
    qCDebug(kestroTrace) << "q";
    // A second request while the wait shows is the same wait: a reload only asks it to wait for the pages.
    if (waitDialog->isVisible()) {
        if (index == 1)
            waitDialog->SetWaitForPages(true);
        return;
    }
    waitDialog->BeginWait();
    if (index == 1)
        waitDialog->SetWaitForPages(true);
    qCDebug(kestroTrace) << "w";
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    waitDialog->move(topLeft.x() + (width() - waitDialog->width()) / 2,
                     topLeft.y() + (height() - waitDialog->height()) / 2 - 20);
    waitDialog->exec();
    qCDebug(kestroTrace) << "t1";
}

void Dialog::WindowMin()
{
    emit PostMsg::Instance()->SigChangeSize(0);
}

void Dialog::SaveDeviceCache()
{
    // Until the device's record arrived (or was imported) the working copy is another device's or
    // empty; saving it then would overwrite the device's last good cache file.
    if (!DeviceConfigIsCurrent)
        return;
    const QString name = ReportCacheFileName.Get();
    if (name.isEmpty())
        return;
    WriteDeviceInfoCache(name, DeviceConfigSnapshot());
}

void Dialog::on_PreButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(preVier);
}

void Dialog::on_ButtonMain_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(buttonPage);
    emit PostMsg::Instance()->SigAddMacroButton();
}

void Dialog::on_SensorButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(sensor);
}

void Dialog::on_MacroButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(macro);
}

void Dialog::on_LightsButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(lampLight);
}

void Dialog::on_Advanced_clicked()
{
    emit PostMsg::Instance()->SigtVis(0);
    ui->stackedWidgetDialog->setCurrentWidget(advanced);
}

void Dialog::on_FormSetting_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(formSetting);
}

void Dialog::on_CloseButton_clicked()
{
    SaveDeviceCache();
    emit PostMsg::Instance()->SigChangeSize(1);
}

void Dialog::on_UpArrow_clicked()
{
    UsbServer_SetPCDriverStatus(0);
    SaveDeviceCache();
    ui->PreButton->setChecked(true);
    WaitProcessingEvents(100);
    UsbServer_Exit();
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigChangeMainDialog(0);
    emit bus->SigSetMacroPage();
}

void Dialog::on_stackedWidgetDialog_currentChanged(int arg1)
{
    // A new style sheet restyles every widget of every page (thousands with a large macro folder):
    // the background is set only when it changes.
    const QString sheet = QStringLiteral("#frame_2{border-image: url(") + pictureFolder
        + (arg1 == 0 ? QStringLiteral("BackGround2.png);}") : QStringLiteral("BackGround.png);}"));
    if (ui->frame_2->styleSheet() != sheet)
        ui->frame_2->setStyleSheet(sheet);
    if (arg1 != 0)
        ui->UpArrow->setVisible(true);
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    // Escape would otherwise close the top-level window.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QWidget::keyPressEvent(event);
}

void Dialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}
