#include "app/DialogMain.h"

#include "app/Dialog.h"
#include "app/DialogChange.h"
#include "device/DialogChangeLists.h"
#include "app/MouseOffLine.h"
#include "platform/TraceLog.h"
#include "widgets/UpDateWarning.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/FirmwareImageSearch.h"
#include "device/PostMsg.h"
#include "device/UserIniStore.h"
#include "device/Worker.h"
#include "pages/macro/Macro.h"
#include "pages/settings/ContainReset.h"
#include "pages/settings/Match.h"
#include "pages/settings/UpDateRepair.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/Sleep.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_DialogMain.h"
#include "widgets/QtTranslation.h"
#include "widgets/UiText.h"
#include "widgets/QuitHolds.h"
#include "widgets/UiTextTables.h"
#include "widgets/WaitProcessingEvents.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <memory>

DialogMain::DialogMain(QWidget* parent) : QDialog(parent), ui(new Ui::DialogMain)
{
    ui->setupUi(this);
    UiTextTables::Instance()->LoadUiTextTables();

    // The language used to be kept in the registry; it lives in Macro.ini now.
    RegistryStore registry(LanguageRegistryKey());
    const int oldLanguage = registry.Value(QStringLiteral("LanguageIndex"), 0).toInt();
    if (oldLanguage != 0)
        UserIniStore::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"),
                                           QString::number(oldLanguage));
    registry.Remove(QStringLiteral("LanguageIndex"));
    UiLanguage = UserIniStore::Instance()->Language();

    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Dialog/");

    // The device window (page 1) is built after the first paint: BuildDeviceWindow.
    selectionPage = new DialogChange(this);
    ui->stackedWidgetMain->addWidget(selectionPage);
    ui->stackedWidgetMain->setCurrentIndex(0);
    connect(selectionPage, &DialogChange::DeviceWindowNeeded, this, &DialogMain::BuildDeviceWindow, Qt::DirectConnection);

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(width(), height());

    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigAllLanguage, this, &DialogMain::SlotAllLanguage);
    connect(bus, &PostMsg::SigChangeMainDialog, this, &DialogMain::SlotChangeMainDialog);
    connect(bus, &PostMsg::SigChangeSize, this, &DialogMain::SlotChangeSize);
    connect(bus, &PostMsg::SigMouseOffLineo, this, &DialogMain::SlotMouseOffLine);
    connect(bus, &PostMsg::SigUpPageLight, this, &DialogMain::SlotUpPageLight);

    trayIcon = new QSystemTrayIcon(nullptr);
    trayIcon->setIcon(QIcon(pictureFolder + QStringLiteral("Logo.png")));
    trayIcon->setToolTip(AppPaths::ProductName());

    emit bus->SigLanguageSameA(UiLanguage);
    emit bus->SigLanguageSameB(UiLanguage);
    emit bus->SigAllLanguage(UiLanguage);
}

void DialogMain::BuildDeviceWindow()
{
    if (deviceWindow)
        return;
    // Its seven pages cost about as much as everything before the first paint. No device can be
    // opened without it: the connection thread is one of its pages' and every page connects to the
    // bus while it is built, so all of them listen before a device is opened and can report.
    deviceWindow = new Dialog(this);
    ui->stackedWidgetMain->addWidget(deviceWindow);
    emit DeviceWindowBuilt(deviceWindow);
    // The pages label themselves in the current language as they are built; the settings page's
    // language choice is told which one, as at construction.
    emit PostMsg::Instance()->SigLanguageSameB(UiLanguage);
}

void DialogMain::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!deviceWindow && !deviceWindowQueued) {
        deviceWindowQueued = true;
        // Posted from the first paint, it runs once the painted window has reached the screen.
        QTimer::singleShot(0, this, &DialogMain::BuildDeviceWindow);
    }
}

DialogMain::~DialogMain()
{
    delete trayIcon;
    delete ui;
}

QString DialogMain::LanguageRegistryKey()
{
    const QString product = AppPaths::ProductName();
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\") + product + QStringLiteral("\\") + product
        + QStringLiteral("\\") + product;
}

int DialogMain::CurrentPage() const
{
    return ui->stackedWidgetMain->currentIndex();
}

void DialogMain::SlotChangeMainDialog(int index)
{
    UserWritesEnabled = true;
    if (index == 0) {
        PostMsg* bus = PostMsg::Instance();
        emit bus->SigSecondPageChange();
        DeviceWindowActive = 0;
        emit bus->SigMainPageChange();
        UsbServer_Exit();
        Sleep(100);
        ui->stackedWidgetMain->setCurrentIndex(0);
        StartUsbChanged(SelectPageUsbChangedCallback, 600);
    } else if (index == 1) {
        BuildDeviceWindow();
        ui->stackedWidgetMain->setCurrentIndex(1);
        StartUsbChanged(MainPageUsbChangedCallback, 600);
    }
}

void DialogMain::SlotChangeSize(int index)
{
    switch (index) {
    case 0:
        UsbServer_SetPCDriverStatus(0);
        HideToTray();
        break;
    case 1:
        Quit(true);
        break;
    case 2:
        HideToTray();
        break;
    case 3:
        Quit(CurrentPage() == 1);
        break;
    default:
        break;
    }
}

void DialogMain::HideToTray()
{
    // A new menu with the texts of this moment; the previous one goes.
    QMenu* menu = new QMenu(this);
    QAction* openAction = new QAction(openText, menu);
    connect(openAction, &QAction::triggered, this, &DialogMain::slotActionMain);
    QAction* exitAction = new QAction(exitText, menu);
    connect(exitAction, &QAction::triggered, this, &DialogMain::slotActionExitApp);
    menu->addAction(openAction);
    menu->addSeparator();
    menu->addAction(exitAction);
    trayIcon->setContextMenu(menu);
    if (trayMenu)
        trayMenu->deleteLater();
    trayMenu = menu;
    if (!trayConnected) {
        connect(trayIcon, &QSystemTrayIcon::activated, this, &DialogMain::on_activatedSysTrayIcon);
        trayConnected = true;
    }
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        hide();
        trayIcon->setVisible(true);
    } else {
        // Hidden without a tray the window could never be brought back: it goes to the task bar.
        minimisedForTray = true;
        showMinimized();
    }
}

void DialogMain::RestoreFromTray(bool tellDevice)
{
    minimisedForTray = false;
    showNormal();
    raise();
    activateWindow();
    if (tellDevice && CurrentPage() == 1)
        UsbServer_SetPCDriverStatus(1);
    trayIcon->hide();
}

void DialogMain::on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Context:
        // Some trays open the context menu themselves; it is not opened twice.
        if (trayMenu && !trayMenu->isVisible())
            trayMenu->exec(QCursor::pos());
        break;
    case QSystemTrayIcon::DoubleClick:
        RestoreFromTray(false);
        break;
    case QSystemTrayIcon::Trigger:
        RestoreFromTray(true);
        break;
    default:
        break;
    }
}

void DialogMain::slotActionMain()
{
    RestoreFromTray(true);
}

void DialogMain::slotActionExitApp()
{
    Quit(CurrentPage() == 1);
}

void DialogMain::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // Brought back from the task bar where it went instead of the tray: as from the tray.
    if (event->type() == QEvent::WindowStateChange && minimisedForTray && !isMinimized()) {
        minimisedForTray = false;
        if (CurrentPage() == 1)
            UsbServer_SetPCDriverStatus(1);
    }
}

bool DialogMain::Quit(bool fromDeviceWindow, bool closeWindow)
{
    if (quitting)
        return true;
    // Work that must end first (a macro on its way to the mouse, a firmware stage writing) finishes,
    // tells the user, or keeps the program running.
    if (!QuitHolds::MayQuit(this))
        return false;
    quitting = true;
    qCDebug(kestroTrace) << "close";
    if (fromDeviceWindow) {
        const QString cacheFile = ReportCacheFileName.Get();
        if (DeviceConfigIsCurrent && !cacheFile.isEmpty())
            WriteDeviceInfoCache(cacheFile, DeviceConfigSnapshot());
        UsbServer_SetPCDriverStatus(0);
    }
    StopUsbChanged();
    // A pass of the Worker may be waiting for this thread in a blocking emit: it is waited for
    // while events are handled, before the library it talks to stops.
    if (WorkerCheckTimer)
        WorkerCheckTimer->stop();
    if (WorkerInstance)
        WorkerInstance->StopAndWait();
    WaitProcessingEvents(200);
    UsbServer_Exit();
    trayIcon->hide();
    if (closeWindow)
        close();
    QCoreApplication::quit();
    return true;
}

void DialogMain::closeEvent(QCloseEvent* event)
{
    // However the window is closed, it quits the same way; this close then ends it.
    if (!quitting && !Quit(CurrentPage() == 1, false)) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void DialogMain::on_pushButton_clicked()
{
    close();
}

QPoint DialogMain::CentredFor(const QWidget* dialog, int dx) const
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    return QPoint(origin.x() + dx + (width() - dialog->width()) / 2, origin.y() + (height() - dialog->height()) / 2);
}

void DialogMain::SlotMouseOffLine(int index)
{
    MouseOffLineKind = index;
    MouseOffLine notice(nullptr);
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    notice.move(origin.x() + (width() - notice.width()) / 2, origin.y() - 20 + (height() - notice.height()) / 2);
    OfflineNoticeOpen = true;
    ReloadRequested = true;
    notice.exec();
}

void DialogMain::SlotUpPageLight() {}

void DialogMain::SlotAllLanguage(int index)
{
    // Qt's own dialogs and standard buttons opened from here on speak the new language too.
    QtTranslation::Follow(index);
    const QString reader = QStringLiteral("DialogMain");
    openText = UiText::ForReader(index, reader, QStringLiteral("OpenMain"));
    exitText = UiText::ForReader(index, reader, QStringLiteral("Exit"));
}

void DialogMain::mousePressEvent(QMouseEvent* event)
{
    dragOffset = event->globalPos() - pos();
    QDialog::mousePressEvent(event);
}

void DialogMain::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::LeftButton && !isMaximized() && dragOffset != QPoint(0, 0))
        move(event->globalPos() - dragOffset);
    QDialog::mouseMoveEvent(event);
}

void DialogMain::mouseReleaseEvent(QMouseEvent* event)
{
    dragOffset = QPoint(0, 0);
    QDialog::mouseReleaseEvent(event);
}

void DialogMain::keyPressEvent(QKeyEvent* event)
{
    // The shortcuts reach the pages of the device window (pairing, the upgrade, Enter).
    BuildDeviceWindow();
    if (MacroRecording) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_F12:
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit PostMsg::Instance()->SigEnterKey();
        break;
    case Qt::Key_Space:
        SpaceSequence();
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void DialogMain::OpenPairing(bool fromDeviceWindow)
{
    if (!fromDeviceWindow && ListedDevices.size() == 1) {
        // The sequence chose the one listed device; an earlier choice of the selection page must not win.
        PairDeviceInfo = ListedDevices.first();
        PairDeviceChosen = true;
    }
    Match::Open(fromDeviceWindow, [this](QWidget* dialog) { dialog->move(CentredFor(dialog)); });
}

void DialogMain::SpaceSequence()
{
    if (CurrentPage() == 1) {
        OpenPairing(true);
        return;
    }
    if (ListedDevices.size() != 1 || ListedDevices.first().wired)
        return;
    const DeviceAllInfo device = ListedDevices.first();
    ConfigSetting* config = ConfigSetting::Instance();
    const QString section = QStringLiteral("Drive") + QString::number(device.modelIndex + 1);
    const int cid = config->GetValue(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
    const QString midText = config->GetValue(section, QStringLiteral("MID"));
    const int mid = midText.toInt();

    const QString storedMouseVersion =
        RegistryStore(MouseDriveTestKey()).Value(QStringLiteral("MouseVer") + QString::number(cid) + midText).toString();
    if (storedMouseVersion.isEmpty()) {
        OpenPairing(false);
        return;
    }
    const QString mouseModel = config->GetValue(section, QStringLiteral("MM"));
    const bool mouseNewer = SearchFirmwareImage(210, storedMouseVersion, mouseModel, cid, mid);

    std::unique_ptr<UpDateRepair> firmware(new UpDateRepair(nullptr));
    firmware->move(CentredFor(firmware.get()));

    QString receiverKey = ReceiverModelKey(DeviceAllInfo::ReceiverTypeOf(device.status));
    if (receiverKey.isEmpty())
        receiverKey = QStringLiteral("DM");
    const QString receiverModel = config->GetValue(section, receiverKey);
    const bool receiverNewer = (receiverKey != QLatin1String("DM") && receiverModel.isEmpty())
        ? false
        : FindFirmwareBin(211, device.version, receiverModel, cid, mid);

    if (mouseNewer == receiverNewer) {
        firmware.reset();
        OpenPairing(false);
    } else if (mouseNewer) {
        UpDateWarning notice(nullptr);
        notice.SetText(MouseUpdateNoticeText);
        notice.move(CentredFor(&notice, -20));
        notice.exec();
    } else {
        ContainReset question(nullptr);
        question.SetText(NewVersionTipText);
        question.move(CentredFor(&question, -20));
        question.exec();
        if (question.IsConfirm) {
            firmware->SetAutoUpdate(0);
            firmware->exec();
        }
    }
}
