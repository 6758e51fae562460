#include "app/DialogChange.h"

#include "device/DialogChangeLists.h"
#include "app/QuestiondialogB.h"
#include "widgets/UpDateWarning.h"
#include "app/mytoolButtonEnter.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceReportCallback.h"
#include "device/FirmwareImageSearch.h"
#include "device/ModelListCheck.h"
#include "device/PostMsg.h"
#include "device/UserIniStore.h"
#include "device/Worker.h"
#include "pages/settings/Match.h"
#include "pages/settings/RePair.h"
#include "pages/settings/UpDateRepair.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/Sleep.h"
#include "platform/TraceLog.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_DialogChange.h"
#include "widgets/FileNotices.h"
#include "widgets/NoticeLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTimer>
#include <atomic>

namespace {

// The page the attach/detach callback works on (GUI thread only).
QPointer<DialogChange> PageInstance;
// A notice is queued to the GUI thread and has not started yet: later notices ride along.
std::atomic<bool> UsbChangeQueued{false};

const QString Option = QStringLiteral("Option");

// The five kinds the duplicate test counts: 0 cable, 1 to 4 the receiver classes.
enum { KindCount = 5 };

int KindRow(const DeviceAllInfo& device)
{
    if (device.wired)
        return 0;
    switch (device.status) {
    case 0: return 1;
    case 4: return 2;
    case 1: return 3;
    case 5: return 4;
    default: return 0; // every other status carries the cable flag
    }
}

QString RatePicture(uint8_t status)
{
    switch (status) {
    case 0: return QStringLiteral("1KHz.png");
    case 1: return QStringLiteral("4KHz.png");
    case 3: return QStringLiteral("8KHz.png");
    case 4: return QStringLiteral("2KHz.png");
    case 5: return QStringLiteral("8KHz.png");
    default: return QString();
    }
}

// The picture "OnLine<n>.png" / "DisOnlin<n>.png" (prefix) of a model: the models with MID 18 to 20
// have one each. Any other MID has none: an empty name, and the button keeps what it shows.
QString ModelPicture(const QString& prefix, const DeviceAllInfo& device)
{
    if (device.MID < 18 || device.MID > 20)
        return QString();
    return prefix + QString::number(device.MID - 18) + QStringLiteral(".png");
}

bool IsOnline(const QString& path)
{
    return VidEzorarA_GetDeviceOnLine(path.toLocal8Bit().constData()) != 0;
}

QString ToolButtonPictureStyle(const QString& className, const QString& folder, const QString& picture)
{
    return className + QStringLiteral("{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
        + folder + picture + QStringLiteral(");color: rgb(255, 255, 255);}");
}

QString WindowButtonStyle(const QString& folder, const QString& name)
{
    return QStringLiteral("QToolButton{border:0px;background-image: url(") + folder + name
        + QStringLiteral(".png);background-position:center;background-repeat:no-repeat;}QToolButton:hover{background-image: url(")
        + folder + name + QStringLiteral("Hover.png);}QToolButton:pressed{background-image: url(") + folder + name
        + QStringLiteral("Click.png);}");
}

QString ArrowStyle(const QString& folder, const QString& name)
{
    return QStringLiteral("QToolButton{border-image: url(") + folder + name
        + QStringLiteral(".png);}QToolButton:hover{border-image: url(") + folder + name + QStringLiteral("Click.png);}");
}

void ReplaceFoundByPath(const DeviceAllInfo& device)
{
    for (DeviceAllInfo& found : FoundDevices) {
        if (found.path == device.path)
            found = device;
    }
}

QString UpdateFailInfo()
{
    return RegistryStore(MouseDriveTestKey()).Value(QStringLiteral("UpdateFailInfo")).toString();
}

// The interrupted upgrade's record stands for a device left waiting in its boot loader. It is spent
// when the recorded device is attached and answers with working firmware while no device waits in
// a boot loader for its image: there is nothing left to repair.
bool RecordSpent(const QStringList& record)
{
    if (record.size() != 4)
        return false;
    const int kind = record.at(0).toInt();
    const int type = record.at(1).toInt();
    const int cid = record.at(2).toInt();
    const int mid = record.at(3).toInt();
    bool answers = false;
    for (const DeviceAllInfo& device : qAsConst(FoundDevices)) {
        if (device.CID != cid || device.MID != mid)
            continue;
        if (kind == 211)
            answers = answers || (!device.wired && DeviceAllInfo::ReceiverTypeOf(device.status) == type);
        else if (kind == 210)
            // The mouse on its cable, or through its receiver when it answers there.
            answers = answers || device.wired || IsOnline(device.path);
    }
    if (!answers)
        return false;
    ConfigSetting* config = ConfigSetting::Instance();
    const int models = config->GetValue(Option, QStringLiteral("DeviceTotal")).toInt();
    for (int n = 1; n <= models; ++n) {
        const QString group = QStringLiteral("Drive") + QString::number(n);
        if (config->GetValue(group, QStringLiteral("MID")).toInt() != mid)
            continue;
        const QString key = kind == 210 ? QStringLiteral("MM") : ReceiverModelKey(type);
        const QString name = key.isEmpty() ? QString() : config->GetValue(group, key);
        QByteArray image;
        if (name.isEmpty() || !SearchFirmwareImage(kind, QString(), name, cid, mid, &image))
            break;
        const HidUpgradeImage view{reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size())};
        int waiting = 5;
        UsbUpgradeC_FindBootDevices(&view, &waiting);
        return waiting == 0;
    }
    // Without an image nothing could be written, and the recorded device works.
    return true;
}

} // namespace

DialogChange::DialogChange(QWidget* parent) : QWidget(parent), ui(new Ui::DialogChange)
{
    ui->setupUi(this);
    PageInstance = this;
    // Pairing gives the page its notices back after a pairing that ended on this page.
    SelectionPageUsbChanged = &SelectPageUsbChangedCallback;
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/DialogChange/");
    noticeFolder = NoticeLook::PictureFolder();
    ApplyStyles();
    // The prompts lie over the buttons' lower edge; the buttons take the pointer there.
    ui->label_2->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->label_3->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->label_2->show();
    ui->label_3->show();
    ui->RightButton->hide();
    ui->LeftButton->hide();

    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigLanguageSameA, this, &DialogChange::SlotSameLanguageA);
    connect(bus, &PostMsg::SigUpDateButton, this, &DialogChange::SlotUpDateButton);
    connect(bus, &PostMsg::SigEnterKey, this, &DialogChange::SlotEnterKey);

    ui->Repair->hide();
    if (!UpdateFailInfo().isEmpty())
        ui->Repair->show();
    modelCount = ConfigSetting::Instance()->GetValue(Option, QStringLiteral("DeviceTotal")).toInt();

    connect(bus, &PostMsg::SigAllLanguage, this, &DialogChange::SlotAllLanguage);
    SlotSameLanguageA(UiText::ValidLanguage(UiLanguage));
    SlotAllLanguage(UiLanguage);
    ui->FindVer->hide();
    StartUsbChanged(SelectPageUsbChangedCallback, 600);
}

DialogChange::~DialogChange()
{
    qDeleteAll(retiredPages);
    delete ui;
}

void DialogChange::ApplyStyles()
{
    const QString& p = pictureFolder;
    ui->frameChange->setStyleSheet(QStringLiteral("#frameChange{border-image: url(") + p + QStringLiteral("MainBack.png);}"));
    ui->CloseButton->setStyleSheet(WindowButtonStyle(p, QStringLiteral("Close")));
    ui->MinButton->setStyleSheet(WindowButtonStyle(p, QStringLiteral("Min")));
    ui->RightButton->setStyleSheet(ArrowStyle(p, QStringLiteral("Right")));
    ui->LeftButton->setStyleSheet(ArrowStyle(p, QStringLiteral("Left")));
    ui->Repair->setStyleSheet(QStringLiteral("#Repair{border:0px;background-image: url(") + p
                              + QStringLiteral("Repair.png);background-position:center;background-repeat:no-repeat;}"));

    ui->FindVer->setStyleSheet(QStringLiteral("#FindVer{border:0px;background-position:center;background-repeat:no-repeat;"
                                              "background-image: url(")
                               + noticeFolder + QStringLiteral("BackGround.png);}"));
    ui->CloseButton_2->setStyleSheet(NoticeLook::CloseButtonStyle(noticeFolder));
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(noticeFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    ui->FindVerlaebl->setStyleSheet(NoticeLook::LabelStyle());
    ui->NoApear->setStyleSheet(NoticeLook::CheckBoxStyle(noticeFolder));

    const QString text = ThemeColor(QStringLiteral("ComboxTextColor"));
    const QString select = ThemeColor(QStringLiteral("ComboxSelectColor"));
    const QString back = ThemeColor(QStringLiteral("ComboxBackGroundColor"));
    ui->comboBox->setStyleSheet(
        QStringLiteral("QComboBox{color: rgb(") + text + QStringLiteral(");border:0px;border-image: url(") + p
        + QStringLiteral("ComboboxBack.png);}QComboBox::drop-down{border:0px;background-color: rgb(") + back
        + QStringLiteral(");}QComboBox::down-arrow{image: url(") + p
        + QStringLiteral("Menu.png);right:8px;}QComboBox::down-arrow:on{image: url(") + p
        + QStringLiteral("MenuClicked.png);}QComboBox QAbstractItemView{border:0px;outline:0px;color: rgb(") + text
        + QStringLiteral(");border-image: url(") + p + QStringLiteral("ComboboxTextBack.png);selection-background-color: rgb(")
        + select + QStringLiteral(");}QComboBox QAbstractItemView::item{height:25px;}"));
    auto* view = new QListView(ui->comboBox);
    view->setStyleSheet(QStringLiteral("QListView::item:selected{background-color: rgb(") + select
                        + QStringLiteral(");}QListView::item:hover{background-color: rgb(") + select + QStringLiteral(");}"));
    ui->comboBox->setView(view);
}

void DialogChange::ShowUpdateFailure()
{
    // A record is judged only between runs: while one writes, its devices leave and come back.
    if (FollowDeviceRemoval && UpgradeRunState.inProgress == 0 && !FirmwareUpdateInProgress
        && RecordSpent(UpgradeRecord::FailRecord())) {
        qCDebug(kestroTrace) << "upgrade record dropped: the recorded device works and nothing waits for its image";
        UpgradeRecord::RemoveFailure();
    }
    const bool failed = !UpdateFailInfo().isEmpty();
    ui->Repair->setVisible(failed);
    ui->label_2->setText(failed ? repairPromptText : promptText);
}

void DialogChange::HandleUsbChanged()
{
    if (noticeOpen) {
        usbChangeDeferred = true;
        return;
    }
    ConfigSetting* config = ConfigSetting::Instance();
    const QStringList vids = config->GetValueList(Option, QStringLiteral("VID"));
    // Read as the device library's other searches do; this search does not use them.
    config->GetValue(Option, QStringLiteral("InterfaceId")).toInt();
    config->GetValue(Option, QStringLiteral("DeviceId")).toInt();

    ListedDevices.clear();
    FoundDevices.clear();

    const QStringList usbPids = config->GetValueList(Option, QStringLiteral("USB_PID"));
    WirelessPidList = config->GetValueList(Option, QStringLiteral("Wireless_PID"));
    Wireless2PidList = config->GetValueList(Option, QStringLiteral("Wireless2_PID"));
    Wireless4PidList = config->GetValueList(Option, QStringLiteral("Wireless4_PID"));
    Wireless8PidList = config->GetValueList(Option, QStringLiteral("Wireless8_PID"));
    AllPidList.clear();
    for (const QStringList* list :
         std::initializer_list<const QStringList*>{&usbPids, &WirelessPidList, &Wireless2PidList, &Wireless4PidList, &Wireless8PidList}) {
        for (const QString& pid : *list) {
            if (!pid.isEmpty())
                AllPidList << pid;
        }
    }

    FindAttachedDevices(vids, AllPidList);
    // The repair is offered as long as a device may wait for it: judged by what is attached now.
    ShowUpdateFailure();
    BuildDeviceButtons();

    if (UpDateRepairInstance && UpDateRepairInstance->isVisible() && FollowDeviceRemoval)
        emit PostMsg::Instance()->SigRepairCheckUpdate();
}

void DialogChange::FindAttachedDevices(const QStringList& vids, const QVector<QString>& pids)
{
    for (const QString& vid : vids) {
        for (const QString& pid : pids) {
            for (DeviceAllInfo record : ListAttachedDevices(vid, pid, FindBy::DefaultDeviceId)) {
                record.online = false;
                if (PageIdentifyDevice(record)) {
                    ListedDevices << record;
                    FoundDevices << record;
                }
            }
        }
    }
}

bool DialogChange::PageIdentifyDevice(DeviceAllInfo& record)
{
    const QByteArray path = record.path.toLocal8Bit();
    uint8_t info[HIDUSB_DEVICE_INFO_SIZE] = {};
    for (int attempt = 0; attempt < 10; ++attempt) {
        const uint8_t* reply = VidEzorarA_GetDeviceInfo(path.constData(), 0);
        if (reply)
            std::copy(reply, reply + HIDUSB_DEVICE_INFO_SIZE, info);
        else
            std::fill(info, info + HIDUSB_DEVICE_INFO_SIZE, uint8_t(0));
        if (info[0] != 0 || info[1] != 0)
            break;
    }
    record.CID = info[0];
    record.MID = info[1];
    record.status = info[2];
    record.wired = DeviceAllInfo::IsWiredStatus(info[2]);
    record.modelIndex = modelCount;

    ConfigSetting* config = ConfigSetting::Instance();
    const bool answered = info[0] != 0 || info[1] != 0;
    if (answered && record.CID == config->GetValue(Option, QStringLiteral("CID")).toInt()) {
        for (int n = 0; n < modelCount; ++n) {
            if (record.MID == config->GetValue(QStringLiteral("Drive%1").arg(n + 1), QStringLiteral("MID")).toInt()) {
                record.modelIndex = n;
                break;
            }
        }
    }
    record.online = VidEzorarA_GetDeviceOnLine(path.constData()) != 0;
    return modelCount >= 1;
}

void DialogChange::RefreshDeviceStatus(int k)
{
    if (k < 0 || k >= ListedDevices.size())
        return;
    DeviceAllInfo device = ListedDevices.at(k);
    device.online = false;
    uint8_t status[HIDUSB_USB_ADDRESS_STATUS_SIZE] = {};
    VidEzorarA_GetDeviceOnLineWithUsbAddress(device.path.toLocal8Bit().constData(), status);
    device.online = status[6] == 1;
    device.address = {status[7], status[8], status[9]};
    ListedDevices[k] = device;
    ReplaceFoundByPath(device);
}

void DialogChange::RefreshDeviceButton(int k)
{
    if (ListedDevices.isEmpty() || k < 0 || k >= ListedDevices.size())
        return;
    DeviceAllInfo device = ListedDevices.at(k);
    device.online = false;
    uint8_t status[HIDUSB_USB_ADDRESS_STATUS_SIZE] = {};
    VidEzorarA_GetDeviceOnLineWithUsbAddress(device.path.toLocal8Bit().constData(), status);
    PageIdentifyDevice(device);
    device.online = status[6] == 1;
    device.address = {status[7], status[8], status[9]};
    ListedDevices[k] = device;
    // After pruning the two lists no longer line up: the same device is found by its path.
    ReplaceFoundByPath(device);

    if (k >= deviceButtons.size())
        return;
    if (device.modelIndex >= modelCount) {
        connectionBadges.at(k)->show();
        ApplyButtonPicture(k, QStringLiteral("Unknow.png"));
    } else if (!device.online) {
        ApplyButtonPicture(k, ModelPicture(QStringLiteral("DisOnlin"), device));
        offlineBadges.at(k)->show();
        connectionBadges.at(k)->hide();
    } else {
        connectionBadges.at(k)->show();
        offlineBadges.at(k)->hide();
        ApplyButtonPicture(k, ModelPicture(QStringLiteral("OnLine"), device));
    }
}

void DialogChange::ApplyButtonPicture(int k, const QString& picture)
{
    if (picture.isEmpty())
        return;
    deviceButtons.at(k)->setStyleSheet(ToolButtonPictureStyle(QStringLiteral("QToolButton"), pictureFolder, picture));
}

QString DialogChange::OfflineTip() const
{
    return offlineTipHead + QLatin1Char('\n') + offlineTipTail;
}

void DialogChange::ClearDeviceWidgets()
{
    deviceButtons.clear();
    offlineBadges.clear();
    connectionBadges.clear();
    rateBadges.clear();
    while (ui->stackedWidget->count() > 0) {
        QWidget* page = ui->stackedWidget->widget(ui->stackedWidget->count() - 1);
        ui->stackedWidget->removeWidget(page);
        if (clickDepth > 0) {
            // The pressed button is still inside its click handler: it goes when the handler ends.
            page->hide();
            page->setParent(nullptr);
            retiredPages << page;
        } else {
            delete page;
        }
    }
}

void DialogChange::BuildDeviceButtons()
{
    ClearDeviceWidgets();
    if (ListedDevices.isEmpty()) {
        ui->label_2->show();
        ui->label_3->hide();
        ui->LeftButton->hide();
        ui->RightButton->hide();
        return;
    }

    // Devices of each kind (cable, four receiver classes) for each model; unknown models are not counted.
    QVector<QVector<int>> counts(KindCount, QVector<int>(qMax(0, modelCount), 0));
    for (int k = 0; k < ListedDevices.size(); ++k) {
        RefreshDeviceStatus(k);
        const DeviceAllInfo& device = ListedDevices.at(k);
        if (device.modelIndex >= 0 && device.modelIndex < modelCount)
            ++counts[KindRow(device)][device.modelIndex];
    }
    bool identical = false;
    for (const QVector<int>& row : counts) {
        for (int count : row)
            identical = identical || count > 1;
    }
    if (!identical) {
        // A mouse on its cable is shown once: its receiver's entry goes (FoundDevices keeps it).
        for (int model = 0; model < modelCount; ++model) {
            if (counts[0][model] != 1)
                continue;
            for (int k = ListedDevices.size() - 1; k >= 0; --k) {
                const DeviceAllInfo& device = ListedDevices.at(k);
                if (device.modelIndex == model && !device.wired)
                    ListedDevices.removeAt(k);
            }
        }
    }

    if (identical) {
        ui->label_2->show();
        ui->label_3->hide();
        ui->LeftButton->hide();
        ui->RightButton->hide();
        noticeOpen = true;
        {
            QuestiondialogB notice(nullptr);
            notice.move(mapToGlobal(rect().center()) - notice.rect().center());
            notice.exec();
        }
        noticeOpen = false;
        if (usbChangeDeferred) {
            usbChangeDeferred = false;
            QTimer::singleShot(0, this, &DialogChange::HandleUsbChanged);
        }
        return;
    }

    ui->label_2->hide();
    ui->label_3->show();
    const int n = ListedDevices.size();
    const int pageCount = n / 3 + (n % 3 != 0 ? 1 : 0);
    QList<QWidget*> pages;
    for (int p = 0; p < pageCount; ++p) {
        auto* page = new QWidget;
        ui->stackedWidget->addWidget(page);
        pages << page;
    }
    for (int k = 0; k < n; ++k) {
        const DeviceAllInfo& device = ListedDevices.at(k);
        QWidget* page = pages.at(k / 3);
        const int column = k % 3;
        const int onPage = qMin(3, n - (k / 3) * 3);
        // Button, small badges and rate badge: full pages in three columns, a lone device centred,
        // two devices spread over the page.
        QPoint buttonAt(300 * column, 0), badgeAt(225 + 300 * column, 20), rateAt(7 + 300 * column, 10);
        if (onPage == 1) {
            buttonAt = QPoint(305, 0);
            badgeAt = QPoint(530, 20);
            rateAt = QPoint(312, 10);
        } else if (onPage == 2) {
            buttonAt = column == 0 ? QPoint(135, 0) : QPoint(445, 0);
            badgeAt = column == 0 ? QPoint(360, 20) : QPoint(665, 20);
            rateAt = column == 0 ? QPoint(142, 10) : QPoint(452, 10);
        }
        const bool unknown = device.modelIndex >= modelCount;

        auto* button = new mytoolButtonEnter(page);
        button->setObjectName(QStringLiteral("btn%1").arg(k));
        button->setFixedSize(284, 360);
        button->setFocusPolicy(Qt::NoFocus);
        button->move(buttonAt);
        // The page may already show (devices attached while the selection page is open): children
        // made after that stay hidden until shown.
        button->show();
        deviceButtons << button;
        ApplyButtonPicture(k, unknown ? QStringLiteral("Unknow.png") : ModelPicture(QStringLiteral("DisOnlin"), device));

        auto* offline = new QLabel(page);
        offline->setObjectName(QStringLiteral("label%1").arg(k));
        offline->setFixedSize(32, 32);
        offline->move(badgeAt);
        offline->setToolTip(OfflineTip());
        offline->setFont(ui->NoApear->font());
        offline->setStyleSheet(ToolButtonPictureStyle(QStringLiteral("QLabel"), pictureFolder, QStringLiteral("DisOnline.png")));
        offline->hide();
        offlineBadges << offline;

        auto* connection = new QLabel(page);
        connection->setObjectName(QStringLiteral("UsbWifi%1").arg(k));
        connection->setFixedSize(32, 32);
        connection->move(badgeAt);
        if (onPage == 1) {
            connection->setToolTip(OfflineTip());
            connection->setFont(ui->NoApear->font());
        }
        connection->setStyleSheet(ToolButtonPictureStyle(
            QStringLiteral("QLabel"), pictureFolder,
            device.wired ? QStringLiteral("OnLineUsb.png") : QStringLiteral("OnLineWifi.png")));
        connection->hide();
        connectionBadges << connection;

        const QString rate = RatePicture(device.status);
        if (!rate.isEmpty()) {
            auto* badge = new QLabel(page);
            badge->setObjectName(QStringLiteral("Rate%1").arg(k));
            badge->setFixedSize(42, 26);
            badge->setFocusPolicy(Qt::NoFocus);
            badge->move(rateAt);
            badge->setStyleSheet(QStringLiteral("QLabel{background-image: url(") + pictureFolder + rate + QStringLiteral(");}"));
            badge->show();
            rateBadges << badge;
        }
    }
    ui->stackedWidget->setCurrentIndex(0);
    ui->RightButton->setVisible(n > 3);
    ui->LeftButton->hide();

    for (mytoolButtonEnter* button : qAsConst(deviceButtons)) {
        RefreshDeviceButton(button->DeviceIndex());
        connect(button, &mytoolButtonEnter::Entered, this, &DialogChange::RefreshDeviceButton);
        connect(button, &QToolButton::clicked, this, &DialogChange::slotButtonClicked);
    }
}

void DialogChange::SlotAllLanguage(int index)
{
    const QString home = QStringLiteral("home");
    promptText = UiText::Text(index, home, QStringLiteral("PleaseEnter"));
    if (ui->Repair->isHidden())
        ui->label_2->setText(promptText);
    ui->label_3->setText(UiText::Text(index, home, QStringLiteral("ClickIn")));
    offlineTipHead = UiText::Text(index, QStringLiteral("infoTips"), QStringLiteral("DialogOffline"));
    offlineTipTail = UiText::Text(index, home, QStringLiteral("PairTips_z"));
    repairPromptText = UiText::Text(index, home, QStringLiteral("RepairDevice"));
    if (!ui->Repair->isHidden())
        ui->label_2->setText(repairPromptText);
    // The button is a picture alone: it says what it does where the pointer rests on it.
    ui->Repair->setToolTip(UiText::Text(index, home, QStringLiteral("RepairTips")));
    ui->FindVerlaebl->setText(UiText::Text(index, QStringLiteral("update"), QStringLiteral("UpgradeTips")));
    ui->NewHong->setText(UiText::Text(index, QStringLiteral("common"), QStringLiteral("OK")));
    ui->NoApear->setText(UiText::Text(index, home, QStringLiteral("NoApear")));
    NewVersionTipText = UiText::Text(index, home, QStringLiteral("NewVerTips"));
    for (QLabel* badge : qAsConst(offlineBadges)) {
        badge->setToolTip(OfflineTip());
        badge->setFont(ui->NoApear->font());
    }
}

void DialogChange::SlotEnterKey()
{
    if (!ui->FindVer->isHidden())
        ui->FindVer->hide();
    else if (!ui->Repair->isHidden())
        on_Repair_clicked();
}

void DialogChange::SlotSameLanguageA(int index)
{
    const QSignalBlocker blocker(ui->comboBox);
    ui->comboBox->setCurrentIndex(index);
}

void DialogChange::SlotUpDateButton(bool IsHide)
{
    ui->Repair->setVisible(!IsHide);
    ui->label_2->setText(IsHide ? promptText : repairPromptText);
}

void DialogChange::WindowClosedA()
{
    close();
}

void DialogChange::WindowMinA()
{
    showMinimized();
}

void DialogChange::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        {
            const QSignalBlocker blocker(ui->comboBox);
            ui->retranslateUi(this);
        }
        // The form's own texts are placeholders: the language in use stays shown.
        SlotSameLanguageA(UiText::ValidLanguage(UiLanguage));
        SlotAllLanguage(UiLanguage);
    }
}

int DialogChange::IndexOfListed(const QString& path) const
{
    for (int k = 0; k < ListedDevices.size(); ++k) {
        if (ListedDevices.at(k).path == path)
            return k;
    }
    return -1;
}

void DialogChange::CentreOnPage(QWidget* dialog, int shiftLeft) const
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    dialog->move(origin.x() + (width() - dialog->width()) / 2 - shiftLeft, origin.y() + (height() - dialog->height()) / 2);
}

void DialogChange::EndClick()
{
    if (--clickDepth > 0)
        return;
    for (QWidget* page : qAsConst(retiredPages))
        page->deleteLater();
    retiredPages.clear();
}

void DialogChange::slotButtonClicked()
{
    emit DeviceWindowNeeded();
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigIsUsb(false, true);
    emit bus->SigSetver(6);

    auto* button = qobject_cast<mytoolButtonEnter*>(sender());
    const int k = button ? button->DeviceIndex() : -1;
    if (k < 0 || k >= ListedDevices.size())
        return;
    ++clickDepth;
    const auto endClick = qScopeGuard([this] { EndClick(); });

    // The dialogs below run their own event loops, and a notice may rebuild the lists meanwhile:
    // the pressed device is known by its path from here on.
    const DeviceAllInfo pressed = ListedDevices.at(k);
    const QString path = pressed.path;
    ConfigSetting* config = ConfigSetting::Instance();
    const QString group = QStringLiteral("Drive%1").arg(pressed.modelIndex + 1);
    const int modelMid = config->GetValue(group, QStringLiteral("MID")).toInt();
    if (modelMid >= 18 && modelMid <= 20)
        emit bus->SigMouseIndex(modelMid - 18);

    // A receiver whose mouse does not answer while the same model answers on the other device.
    if (ListedDevices.size() == 2 && k <= 1) {
        const DeviceAllInfo other = ListedDevices.at(1 - k);
        if (other.CID == pressed.CID && other.MID == pressed.MID && !IsOnline(path) && IsOnline(other.path)) {
            if (RunPairingCheck(path, group, false))
                return;
        }
    }

    const int index = IndexOfListed(path);
    if (index < 0)
        return;
    const DeviceAllInfo device = ListedDevices.at(index);
    if (device.modelIndex >= modelCount) {
        const ModelListProblem problem = CheckModelList();
        // With the model list whole, an unknown receiver is most likely one whose mouse is not
        // paired yet. Anything else cannot be opened, and the user is told why.
        if (!device.wired && !problem.Damaged()) {
            RunPairingCheck(path, QStringLiteral("Drive%1").arg(modelCount + 1), true);
            return;
        }
        const int mid = device.MID;
        FileNotices notice([mid, problem](int language) { return FileNotices::UnknownModelText(language, mid, problem); });
        CentreOnPage(&notice);
        notice.exec();
        return;
    }

    emit bus->SigSelectMouseInfo(device);
    const int receiverType = DeviceAllInfo::ReceiverTypeOf(device.status);
    QString updateFlag;
    if (QDir(AppPaths::ProgramFolder() + QStringLiteral("/bin")).exists()) {
        ReceiverUpdateAvailable = HasNewFirmware(211, device.version, receiverType, device.modelIndex);
        if (ReceiverUpdateAvailable)
            updateFlag = QStringLiteral("true");
    }
    emit bus->SigLabelTextB(device.version, updateFlag);
    emit bus->SigChangeMainDialog(1);
    Sleep(150);
    // Before the thread starts: its first pass does its work only inside an open device window.
    DeviceWindowActive = 1;
    Worker::RequestPass();
}

bool DialogChange::RunPairingCheck(const QString& path, const QString& group, bool receiverOnlyStops)
{
    const int index = IndexOfListed(path);
    if (index < 0)
        return true;
    const DeviceAllInfo device = ListedDevices.at(index);
    ConfigSetting* config = ConfigSetting::Instance();
    const QString cidText = config->GetValue(Option, QStringLiteral("CID"));
    const QString midText = config->GetValue(group, QStringLiteral("MID"));
    const QString mouseVersion =
        RegistryStore(MouseDriveTestKey()).Value(QStringLiteral("MouseVer") + cidText + midText).toString();
    if (mouseVersion.isEmpty()) {
        OpenPairing(path);
        return true;
    }

    const int cid = cidText.toInt();
    const int mid = midText.toInt();
    const bool mouseNewer = SearchFirmwareImage(210, mouseVersion, config->GetValue(group, QStringLiteral("MM")), cid, mid);
    // A cable has no receiver: no key, so no receiver firmware is looked for.
    const QString receiverKey = ReceiverModelKey(DeviceAllInfo::ReceiverTypeOf(device.status));
    const QString receiverName = receiverKey.isEmpty() ? QString() : config->GetValue(group, receiverKey);
    const bool receiverNewer = !receiverName.isEmpty() && FindFirmwareBin(211, device.version, receiverName, cid, mid);

    if (mouseNewer == receiverNewer) {
        bool confirmed = false;
        {
            RePair question(nullptr);
            CentreOnPage(&question);
            question.exec();
            confirmed = question.IsConfirm;
        }
        if (confirmed)
            OpenPairing(path);
        return true;
    }
    if (mouseNewer) {
        UpDateWarning notice(nullptr);
        notice.SetText(MouseUpdateNoticeText);
        CentreOnPage(&notice, 20);
        notice.exec();
        return true;
    }
    return receiverOnlyStops;
}

void DialogChange::OpenPairing(const QString& path)
{
    // Gone while a question was open: there is nothing left to pair.
    const int index = IndexOfListed(path);
    if (index < 0)
        return;
    PairDeviceChosen = true;
    PairDeviceInfo = ListedDevices.at(index);
    Match::Open(false, [this](QWidget* dialog) { CentreOnPage(dialog); });
}

void DialogChange::on_CloseButton_clicked()
{
    emit PostMsg::Instance()->SigChangeSize(3);
}

void DialogChange::on_MinButton_clicked()
{
    emit PostMsg::Instance()->SigChangeSize(2);
}

void DialogChange::on_CloseButton_2_clicked()
{
    ui->FindVer->hide();
}

void DialogChange::on_NewHong_clicked()
{
    ui->FindVer->hide();
}

void DialogChange::on_NoApear_clicked(bool checked)
{
    UserIniStore::Instance()->SetValue(QStringLiteral("FindNew"), QStringLiteral("IsShow"),
                                       checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void DialogChange::on_comboBox_activated(int index)
{
    UserIniStore::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    UiLanguage = index;
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigAllLanguage(index);
    emit bus->SigLanguageSameB(index);
}

void DialogChange::on_Repair_clicked()
{
    emit DeviceWindowNeeded();
    // The settings page keeps the one upgrade dialog; without a settings page the page makes it.
    if (!UpDateRepairInstance)
        UpDateRepairInstance = new UpDateRepair(nullptr);
    UpDateRepair* dialog = UpDateRepairInstance;
    CentreOnPage(dialog);
    dialog->ResetView();
    dialog->setModal(true);
    emit PostMsg::Instance()->SigRepairCheckUpdate();
    dialog->show();
}

void DialogChange::on_LeftButton_clicked()
{
    ui->label_2->hide();
    ui->label_3->show();
    const int page = qMax(0, ui->stackedWidget->currentIndex() - 1);
    ui->stackedWidget->setCurrentIndex(page);
    ui->LeftButton->setVisible(page > 0);
    ui->RightButton->setVisible(page < ui->stackedWidget->count() - 1);
}

void DialogChange::on_RightButton_clicked()
{
    ui->label_2->hide();
    ui->label_3->show();
    const int page = qMin(ui->stackedWidget->count() - 1, ui->stackedWidget->currentIndex() + 1);
    ui->stackedWidget->setCurrentIndex(page);
    ui->LeftButton->setVisible(page > 0);
    ui->RightButton->setVisible(page < ui->stackedWidget->count() - 1);
}

namespace {
// Carries a notice from the library's thread to the GUI thread, where the lists and the widgets
// belong, as a queued signal: Qt makes the hand-over inside its own code. Built during static
// initialisation, on the main thread.
class SelectPageUsbRelay : public QObject
{
    Q_OBJECT
public:
    SelectPageUsbRelay()
    {
        connect(this, &SelectPageUsbRelay::Changed, this, &SelectPageUsbRelay::Handle, Qt::QueuedConnection);
    }
signals:
    void Changed();

private:
    void Handle()
    {
        UsbChangeQueued = false;
        if (PageInstance)
            PageInstance->HandleUsbChanged();
    }
};
SelectPageUsbRelay selectPageUsbRelay;
} // namespace

void SelectPageUsbChangedCallback()
{
    if (!QCoreApplication::instance() || UsbChangeQueued.exchange(true))
        return;
    emit selectPageUsbRelay.Changed();
}

#include "DialogChange.moc"
