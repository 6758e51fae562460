#include "app/DialogChange.h"

#include "app/QuestiondialogB.h"
#include "app/mytoolButtonEnter.h"
#include "device/DialogChangeLists.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_DialogChange.h"

#include <QLabel>
#include <QTimer>

namespace {

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

QString ToolButtonPictureStyle(const QString& className, const QString& folder, const QString& picture)
{
    return className + QStringLiteral("{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
        + folder + picture + QStringLiteral(");color: rgb(255, 255, 255);}");
}

void ReplaceFoundByPath(const DeviceAllInfo& device)
{
    for (DeviceAllInfo& found : FoundDevices) {
        if (found.path == device.path)
            found = device;
    }
}

} // namespace

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
