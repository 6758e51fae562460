#include "pages/settings/FormSetting.h"

#include "device/DialogChangeLists.h"
#include "widgets/UpDateWarning.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/FirmwareImageSearch.h"
#include "device/PostMsg.h"
#include "pages/buttons/Buttoninterface.h"
#include "device/UserIniStore.h"
#include "pages/settings/ContainReset.h"
#include "pages/settings/Match.h"
#include "pages/settings/UpDateRepair.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/AppPaths.h"
#include "platform/AutoStartEntry.h"
#include "platform/DesktopMouseSettings.h"
#include "platform/ScreenInfo.h"
#include "platform/UrlOpener.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_FormSetting.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>

QString WiredModeText;
QString ReceiverVersionText;
QString MouseVersionText;

namespace {

const QString Reader = QStringLiteral("FormSetting");

QString Text(int language, const char* key)
{
    return UiText::ForReader(language, Reader, QLatin1String(key));
}

// With exactly the mouse's cable and its receiver attached, the receiver among them.
const DeviceAllInfo* AttachedReceiver()
{
    if (FoundDeviceList.size() != 2)
        return nullptr;
    for (const DeviceAllInfo& device : FoundDeviceList) {
        if (!device.address.isEmpty() && !device.wired)
            return &device;
    }
    return nullptr;
}

// Positions of the version row by language: label_5, Receive_2, toolButton_2, label_7, toolButton_3.
struct VersionRow {
    int receiverX, buttonX, buttonY, receiverMarkerX, mouseX;
};
VersionRow VersionRowOf(int language)
{
    static const VersionRow rows[6] = {{215, 280, 170, 460, 215}, {150, 280, 170, 460, 150}, {250, 280, 170, 460, 250},
                                       {350, 430, 170, 530, 350}, {280, 330, 170, 460, 280}, {150, 280, 170, 460, 150}};
    if (language >= 0 && language < 6)
        return rows[language];
    return {235, 285, 155, 460, 235};
}

} // namespace

FormSetting::FormSetting(QWidget* parent) : QWidget(parent), ui(new Ui::FormSetting)
{
    ui->setupUi(this);
    ui->Receive_2->hide();
    ui->NewLabel->hide();
    ui->toolButton_2->hide();
    ui->toolButton_3->hide();
    // The "Others" block.
    ui->TitleButton_5->move(40, 430);
    ui->checkBox->move(40, OthersOffset + 380);
    ui->label_10->move(70, OthersOffset + 380);
    ui->label_9->move(70, OthersOffset + 343);
    ui->toolButton->move(40, OthersOffset + 420);
    ui->pushButton->move(60, OthersOffset + 420);
    // Without a settings program of the running desktop on the PATH the row would lead nowhere.
    if (!DesktopMouseSettings::Available()) {
        ui->toolButton->hide();
        ui->pushButton->hide();
    }

    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigLanguageSameB, this, &FormSetting::SlotLanguageSameB);
    connect(bus, &PostMsg::SigSetNewVer, this, &FormSetting::SetVerText);
    connect(bus, &PostMsg::SigLightToFrom, this, &FormSetting::SlotLightToFrom);
    // The receiver record, the long-range state and the form notices come from the Worker and the
    // report callback, which wait until this page has seen them.
    connect(bus, SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRGBValue(DongleRGB*)), Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigLongRangeMode, this, &FormSetting::SlotLongRangeMode, Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigForm, this, &FormSetting::SlotForm, Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigFormB, this, &FormSetting::SlotFormB);
    connect(bus, &PostMsg::SigSetver, this, &FormSetting::SetVer);
    connect(bus, &PostMsg::SigLabelText, this, &FormSetting::SlotLabelText);
    connect(bus, &PostMsg::SigLabelTextB, this, &FormSetting::SlotLabelTextB);
    connect(bus, &PostMsg::SigFormReset, this, &FormSetting::SlotFormResetForm, Qt::BlockingQueuedConnection);
    connect(ui->scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, this, &FormSetting::SlotScroolChange);

    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/FormSetting/");
    // One upgrade dialog serves the program: one the selection page made already is used, not owned.
    if (UpDateRepairInstance) {
        updateDialog = std::shared_ptr<UpDateRepair>(UpDateRepairInstance, [](UpDateRepair*) {});
    } else {
        updateDialog = std::make_shared<UpDateRepair>(nullptr);
        UpDateRepairInstance = updateDialog.get();
        ownsUpdateDialog = true;
    }
    updateDialog->hide();
    warning = std::make_unique<UpDateWarning>(nullptr);
    // Device changes ask for an update check only while the upgrade dialog shows and no run is
    // under way or on display: devices leave and come back in every upgrade.
    const std::weak_ptr<UpDateRepair> dialog = updateDialog;
    FirmwareCheckAvailable = [dialog] {
        const std::shared_ptr<UpDateRepair> shown = dialog.lock();
        return shown && shown->isVisible() && !shown->ShowsRun() && !UpgradeStage::RunUnderWay();
    };
    SetUpFirmware();

    const QString labelColor = ThemeColor(QStringLiteral("LabelColor"));
    buttonColor = ThemeColor(QStringLiteral("ButtonColor"));
    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(");}");
    for (QLabel* label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7,
                          ui->label_8, ui->label_9, ui->label_10, ui->label_12})
        label->setStyleSheet(labelStyle);
    StyleRows(labelColor);
    // The picture stretches with the button, which grows with a longer text.
    ui->Reset->setStyleSheet(QStringLiteral("QToolButton{border:0px;color: rgb(") + buttonColor
                             + QStringLiteral(");border-image: url(") + pictureFolder + QStringLiteral("PariButton.png);}"));
    const QString linkStyle = QStringLiteral("QPushButton{border:none;background:transparent;color: rgb(") + labelColor
        + QStringLiteral(");text-align : right;padding-right:1px;}");
    ui->pushButton_3->setStyleSheet(linkStyle);
    ui->pushButton_4->setStyleSheet(linkStyle);
    for (QToolButton* title : {ui->TitleButton_2, ui->TitleButton_3, ui->TitleButton_4, ui->TitleButton_5, ui->TitleButton_8})
        title->setStyleSheet(QLatin1Char('#') + title->objectName() + QStringLiteral("{border-image: url(") + pictureFolder
                             + QStringLiteral("Title.png);}"));
    const QString markerStyle = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(255,106,0);background-image: url(")
        + pictureFolder + QStringLiteral("Picture.png);}");
    ui->toolButton_2->setStyleSheet(markerStyle);
    ui->toolButton_3->setStyleSheet(markerStyle);
    SetUpdateButtonLook(false);
    // Laid out by space alone, as the other pages: a drawn frame would box the page on the dark window.
    ui->FrameSetting->setFrameShape(QFrame::NoFrame);
    ui->scrollArea->setFrameShape(QFrame::NoFrame);
    // The page lies on the device window's background.
    ui->scrollArea->viewport()->setAutoFillBackground(false);
    versionLabelPosition = ui->label->pos();
    // The box shows what the session will do at the next login: whether the entry is there. The
    // stored choice can lag behind it (a preference that could not be written after the entry was).
    ui->checkBox->setChecked(AutoStartEntry::Exists());

    connect(bus, &PostMsg::SigAllLanguage, this, &FormSetting::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

FormSetting::~FormSetting()
{
    FirmwareCheckAvailable = nullptr;
    if (ownsUpdateDialog && UpDateRepairInstance == updateDialog.get())
        UpDateRepairInstance = nullptr;
    delete ui;
}

void FormSetting::StyleRows(const QString& labelColor)
{
    ui->pushButton_2->setStyleSheet(QStringLiteral("QPushButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
                                    + buttonColor + QStringLiteral(");background-image: url(") + pictureFolder
                                    + QStringLiteral("PariButton.png);}"));
    ui->pushButton->setStyleSheet(QStringLiteral("QPushButton{border:none;background:transparent;color: rgb(") + labelColor
                                  + QStringLiteral(");text-align : left;padding-right:1px;}"));
    ui->toolButton->setStyleSheet(QStringLiteral("#toolButton{border-image: url(") + pictureFolder + QStringLiteral("Mouse.png);}"));
    ui->checkBox->setStyleSheet(QStringLiteral("#checkBox{color: rgb(255, 255, 255);}#checkBox::indicator:unchecked{image: url(")
                                + pictureFolder + QStringLiteral("CheckBox.png);}#checkBox::indicator:checked{image: url(")
                                + pictureFolder + QStringLiteral("CheckBoxChecked.png);}"));
    ApplyComboBoxLook(ui->comboBox, pictureFolder);
    ui->comboBox->setStyleSheet(ui->comboBox->styleSheet() + QStringLiteral("QComboBox:disabled{color: rgb(63, 63, 63);}"));
    ui->comboBox->setMaxVisibleItems(5);
    ui->NewLabel->setStyleSheet(QStringLiteral("QTextEdit{border:none;background:transparent;color: rgb(") + labelColor
                                + QStringLiteral(");}"));
}

void FormSetting::SetUpdateButtonLook(bool newFirmware)
{
    const QString head = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + buttonColor + QStringLiteral(");");
    // The button is the page's new-firmware mark: it shows while firmware is offered, and its press
    // opens the upgrade or tells what the upgrade needs.
    ui->Receive_2->setVisible(newFirmware);
    if (newFirmware)
        ui->Receive_2->setStyleSheet(head + QStringLiteral("background-image: url(") + pictureFolder
                                     + QStringLiteral("WaitUpdate.png);}QToolButton::hover{background-image: url(")
                                     + pictureFolder + QStringLiteral("WaitUpdateHover.png);}"));
    else
        ui->Receive_2->setStyleSheet(head + QStringLiteral("border-image: url(") + pictureFolder + QStringLiteral("Confirm.png);}"));
}

void FormSetting::NewVersionShown(int index)
{
    if (index != 0 && index != 1)
        return;
    const bool receiver = index == 0;
    (receiver ? SettingsUpgrade::ReceiverNewFirmware : SettingsUpgrade::MouseNewFirmware) = false;
    emit PostMsg::Instance()->SigAddUpdate(receiver ? 1 : 0, false);
    if (!SettingsUpgrade::ReceiverNewFirmware && !SettingsUpgrade::MouseNewFirmware)
        SetUpdateButtonLook(false);
}

void FormSetting::ShowWarning(const QString& text)
{
    warning->SetText(text);
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    warning->move(corner.x() + (width() - warning->width()) / 2 - 75, corner.y() + (height() - warning->height()) / 2 - 65);
    warning->setModal(true);
    warning->show();
}

bool FormSetting::UpgradeServesModel(int modelIndex)
{
    // A mouse is upgraded beside its receiver, which the check before a run wants attached with it:
    // a model the list names no receiver for cannot be upgraded here and is offered nothing.
    ConfigSetting* config = ConfigSetting::Instance();
    const QString group = QStringLiteral("Drive") + QString::number(modelIndex + 1);
    for (int type : {1, 2, 4, 8})
        if (!config->GetValue(group, ReceiverModelKey(type)).isEmpty())
            return true;
    return false;
}

bool FormSetting::FirmwareRunActive() const
{
    return UpgradeStage::RunUnderWay();
}

void FormSetting::SetVer(int index)
{
    PostMsg* bus = PostMsg::Instance();
    const DeviceAllInfo current = CurrentDeviceInfo.Get();
    const auto showVersions = [&](const QString& receiver, const QString& mouse) {
        ui->label_5->setText(receiver);
        emit bus->SigAddVer(1, receiver);
        ui->label_7->setText(mouse);
        emit bus->SigAddVer(0, mouse);
    };
    // The mouse's version is the one its version report left in the open device's record: the
    // stored text is the last upgrade's, and empty until one ran.
    const auto currentVersions = [&](QString* receiver, QString* mouse) {
        if (!current.online) {
            *receiver = ReceiverVersionText;
            mouse->clear();
        } else if (!current.wired) {
            *receiver = ReceiverVersionText;
            *mouse = current.firmwareVersion;
        } else {
            const DeviceAllInfo* attached = AttachedReceiver();
            *receiver = attached ? attached->version : QString();
            *mouse = current.firmwareVersion;
        }
    };
    const auto idle = [&] {
        ui->Receive_2->setText(upgradeText);
        receiverMarker = mouseMarker = 0;
        ui->toolButton_2->hide();
        ui->toolButton_3->hide();
        firmware.receiverNoImage = firmware.mouseNoImage = false;
        firmware.mouseRun = firmware.receiverRun = false;
    };
    // Devices leave and come back in every upgrade: the notices of a run, and the versions its
    // devices report meanwhile (a boot loader says none), change nothing of it. The run shows each
    // new version as it is written and takes its mark away.
    if ((index == 0 || index == 4 || index == 5) && FirmwareRunActive())
        return;

    switch (index) {
    case 0: {
        QString receiverVersion, mouseVersion;
        currentVersions(&receiverVersion, &mouseVersion);
        int receiverType = 0;
        if (!current.wired)
            receiverType = DeviceAllInfo::ReceiverTypeOf(current.status);
        else if (const DeviceAllInfo* attached = AttachedReceiver())
            receiverType = DeviceAllInfo::ReceiverTypeOf(attached->status);
        // Without firmware images there is nothing to check, but the versions still show.
        if (!QDir(AppPaths::ProgramFolder() + QStringLiteral("/bin")).exists()) {
            showVersions(receiverVersion, mouseVersion);
            return;
        }
        const bool served = UpgradeServesModel(current.modelIndex);
        const bool mouseNew = served && HasNewFirmware(210, mouseVersion, receiverType, current.modelIndex);
        const bool receiverNew = served && HasNewFirmware(211, receiverVersion, receiverType, current.modelIndex);
        SettingsUpgrade::MouseNewFirmware = mouseNew;
        SettingsUpgrade::ReceiverNewFirmware = receiverNew;
        emit bus->SigAddUpdate(0, mouseNew);
        emit bus->SigAddUpdate(1, receiverNew);
        const bool any = mouseNew || receiverNew;
        emit bus->SigUpdateFrame(any);
        SetUpdateButtonLook(any);
        showVersions(receiverVersion, mouseVersion);
        break;
    }
    case 1:
        receiverMarker = 0;
        ui->toolButton_2->hide();
        break;
    case 2:
        mouseMarker = 0;
        ui->toolButton_3->hide();
        break;
    case 3:
        ui->Receive_2->setText(upgradeText);
        break;
    case 4:
        idle();
        break;
    case 5: {
        idle();
        QString receiverVersion, mouseVersion;
        currentVersions(&receiverVersion, &mouseVersion);
        showVersions(receiverVersion, mouseVersion);
        break;
    }
    case 6:
        showVersions(QString(), QString());
        break;
    default:
        break;
    }
}

void FormSetting::SetVerText()
{
    ui->Receive_2->setText(newTipsText);
}

void FormSetting::SlotLabelText(int index, QString Text)
{
    // An upgrade wrote this version: the row's new-firmware mark goes as it shows.
    NewVersionShown(index);
    if (index == 0) {
        ui->label_5->setText(Text);
        emit PostMsg::Instance()->SigAddVer(1, Text);
        ReceiverVersionText = Text;
    } else if (index == 1) {
        ui->label_7->setText(Text);
        emit PostMsg::Instance()->SigAddVer(0, Text);
        MouseVersionText = Text;
        // The mouse now runs this version; the next check compares against it.
        CurrentDeviceInfo.Update([&](DeviceAllInfo& info) { info.firmwareVersion = Text; });
    }
}

void FormSetting::SlotLabelTextB(QString TextA, QString Text)
{
    // A run's devices leave and come back while they are written: what they say meanwhile is not
    // shown. The run shows each new version as it is written and takes its mark away.
    if (FirmwareRunActive())
        return;
    ui->label_5->setText(TextA);
    // Kept for the version check, which shows the stored receiver version again.
    ReceiverVersionText = TextA;
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigAddVer(1, TextA);
    const DeviceAllInfo current = CurrentDeviceInfo.Get();
    const bool newFirmware =
        Text == QLatin1String("true") && (current.path.isEmpty() || UpgradeServesModel(current.modelIndex));
    emit bus->SigAddUpdate(1, newFirmware);
    SetUpdateButtonLook(newFirmware);
}

void FormSetting::KeepClearOf(QWidget* caption, QWidget* value, int x, int y)
{
    const auto* label = qobject_cast<QLabel*>(caption);
    const int captionEnd = label ? caption->x() + label->fontMetrics().horizontalAdvance(label->text()) + 6 : 0;
    value->move(qMax(x, captionEnd), y);
}

void FormSetting::SlotAllLanguage(int index)
{
    QFont updateFont(QStringLiteral("微软雅黑"), 10);
    if (firstLanguagePass)
        updateFont.setPointSizeF(10.0 / (ScreenInfo::LogicalDpi() / 96.0));
    ui->Receive_2->setFont(updateFont);
    firstLanguagePass = 1;

    const VersionRow row = VersionRowOf(index);
    ui->Receive_2->move(row.buttonX, row.buttonY);
    ui->toolButton_2->move(row.receiverMarkerX, 160);
    ui->toolButton_3->move(460, 190);

    // The product label and the web address from the first row of the labels file's product table:
    // item 1 and item 3 (item 0 for a language index the table does not know).
    const QList<QStringList>& companies = UiTextTables::Instance()->CompanyInfoList;
    const QStringList company = companies.isEmpty() ? QStringList() : companies.first();
    ui->pushButton_4->setText(company.value(index >= 0 && index <= 5 ? 1 : 0));
    ui->pushButton_3->setText(company.value(3));
    // Both are right-aligned at x 861: a longer text grows to the left.
    for (QPushButton* button : std::initializer_list<QPushButton*>{ui->pushButton_3, ui->pushButton_4}) {
        const QRect shape = button->geometry();
        const int width = qMax(shape.width(), button->fontMetrics().horizontalAdvance(button->text()) + 12);
        button->setGeometry(shape.right() + 1 - width, shape.y(), width, shape.height());
    }

    {
        // The choice shows the language; the list itself reads the same in every language.
        const QSignalBlocker blocker(ui->comboBox);
        ui->comboBox->setCurrentIndex(UiText::ValidLanguage(UiLanguage));
    }
    ui->label->setText(Text(index, "Version") + QLatin1String(DriverVersion));
    ui->label_2->setText(Text(index, "Language"));
    ui->label_8->setText(Text(index, "PairTool"));
    ui->pushButton_2->setText(Text(index, "Pair"));
    ui->label_9->setText(Text(index, "Others"));
    ui->label_10->setText(Text(index, "AutoOpen"));
    ui->pushButton->setText(Text(index, "WindowSet"));
    ui->NewLabel->setPlainText(Text(index, "LabelTip"));
    autoStartFailText = Text(index, "AutoOpenFail");
    mouseSettingsFailText = Text(index, "WindowSetFail");
    linkFailText = Text(index, "LinkFail");
    ui->label_3->setText(Text(index, "DeviceInfo"));
    ui->label_4->setText(Text(index, "DongleVersion"));
    ui->label_6->setText(Text(index, "MouseVersion"));
    upgradeText = Text(index, "Upgrade");
    ui->Receive_2->setText(upgradeText);
    ui->Reset->setText(Text(index, "Restore"));
    // Nothing stands right of the button: it grows to hold a longer text.
    ui->Reset->setFixedWidth(qMax(112, ui->Reset->fontMetrics().horizontalAdvance(ui->Reset->text()) + 24));
    ui->label_12->setText(Text(index, "Restore"));
    WiredModeText = Text(index, "WiredMode");
    MouseUpdateNoticeText = Text(index, "MouseUpdateTips");
    noDeviceText = Text(index, "NoDevice");
    sameDeviceText = Text(index, "SameDevice");
    newTipsText = Text(index, "newTips");
    noReceiverText = Text(index, "NoRecieve");
    noUsbText = Text(index, "NoUSB");
    errorText = Text(index, "Error");
    multiMouseText = Text(index, "MultiMouse");
    multiDongleText = Text(index, "MultiDongle");

    KeepClearOf(ui->label_4, ui->label_5, row.receiverX, 155);
    KeepClearOf(ui->label_6, ui->label_7, row.mouseX, 185);
    // The update button stands right of both versions, however far a long caption pushed them (a
    // version not known yet is as wide as any other).
    int versionsEnd = 0;
    for (QLabel* version : {ui->label_5, ui->label_7}) {
        const QString shown = version->text().isEmpty() ? QStringLiteral("v0.00") : version->text();
        versionsEnd = qMax(versionsEnd, version->x() + version->fontMetrics().horizontalAdvance(shown));
    }
    ui->Receive_2->move(qMax(row.buttonX, versionsEnd + 14), row.buttonY);
}

// The receiver record, the long-range state and the form notices change nothing on this page; they
// are connected so that their senders wait until the page is in step.
void FormSetting::SlotRGBValue(DongleRGB* Rgb)
{
    Q_UNUSED(Rgb)
}

void FormSetting::SlotLongRangeMode(bool Select)
{
    Q_UNUSED(Select)
}

void FormSetting::SlotForm() {}

void FormSetting::SlotFormB() {}

void FormSetting::SlotFormResetForm() {}

void FormSetting::SlotLightToFrom(int index)
{
    Q_UNUSED(index)
}

void FormSetting::on_Reset_clicked()
{
    if (!VidEzorarA_GetDeviceOnLine(CurrentDevicePath)) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return;
    }
    ContainReset confirm;
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    confirm.move(corner.x() + (width() - confirm.width()) / 2 - 75, corner.y() + (height() - confirm.height()) / 2 - 65);
    confirm.exec();
    if (!confirm.IsConfirm)
        return;
    Buttoninterface::RestoreDefaults(this);
}

void FormSetting::on_pushButton_3_clicked()
{
    if (!UrlOpener::Open(QUrl(ui->pushButton_3->text())))
        ShowWarning(linkFailText);
}

void FormSetting::on_pushButton_clicked()
{
    if (!DesktopMouseSettings::Open())
        ShowWarning(mouseSettingsFailText);
}

void FormSetting::on_pushButton_2_clicked()
{
    Match::Open(true, [this](QWidget* dialog) {
        const QPoint corner = mapToGlobal(QPoint(0, 0));
        dialog->move(corner.x() + (width() - dialog->width()) / 2 - 70, (height() - dialog->height()) / 2 + corner.y() - 30);
    });
}

void FormSetting::on_comboBox_activated(int index)
{
    UserIniStore::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    UiLanguage = index;
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigAllLanguage(index);
    // The selection page shows the same choice.
    emit bus->SigLanguageSameA(index);
}

void FormSetting::SlotLanguageSameB(int index)
{
    const QSignalBlocker blocker(ui->comboBox);
    ui->comboBox->setCurrentIndex(index);
}

void FormSetting::SlotScroolChange(int index)
{
    // The driver version stays in view while the page scrolls.
    ui->label->move(versionLabelPosition.x(), versionLabelPosition.y() + index + 10);
}

void FormSetting::on_checkBox_clicked(bool checked)
{
    // The entry is what starts the program: the stored choice follows it only once it is written
    // or removed, and a box the session would not honour goes back.
    const bool done = checked ? AutoStartEntry::Write(QCoreApplication::applicationFilePath()) : AutoStartEntry::Remove();
    if (!done) {
        const QSignalBlocker blocker(ui->checkBox);
        ui->checkBox->setChecked(!checked);
        ShowWarning(autoStartFailText);
        return;
    }
    UserIniStore::Instance()->SetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"),
                                       checked ? QStringLiteral("1") : QStringLiteral("0"));
}

// Controls the form does not hold.
void FormSetting::on_toolButton_4_clicked() {}

void FormSetting::on_pushButton_5_clicked() {}

void FormSetting::on_checkBox_2_clicked(bool checked)
{
    Q_UNUSED(checked)
}

void FormSetting::mousePressEvent(QMouseEvent* event)
{
    // Presses on the page go nowhere.
    Q_UNUSED(event)
}
