#include "pages/buttons/Buttoninterface.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/settings/ContainReset.h"
#include "platform/AppPaths.h"
#include "platform/FileEnding.h"
#include "platform/WholeFileWrite.h"
#include "widgets/FileNotices.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_Buttoninterface.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/PlaceOver.h"
#include "widgets/SettingsWait.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QButtonGroup>
#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <initializer_list>

#include <cstring>

namespace {

constexpr int ConfigFieldSize = 12;

QString CurrentModelGroup()
{
    return QStringLiteral("Drive") + QString::number(CurrentDeviceInfo.Get().modelIndex + 1);
}

// A button of the page's form by its name; the form and the page's tables name the same objects.
QAbstractButton* Child(const QWidget& page, const char* name)
{
    auto* button = page.findChild<QAbstractButton*>(QLatin1String(name));
    Q_ASSERT_X(button, "Buttoninterface", name);
    return button;
}

} // namespace

Buttoninterface::Buttoninterface(QWidget* parent) : QWidget(parent), ui(new Ui::Buttoninterface)
{
    ui->setupUi(this);
    // The page offers six selectors and six hotspots; the model, the loads and the display still
    // handle all twelve buttons.
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             ui->Number7, ui->Number8, ui->Number9, ui->Number10, ui->Number11, ui->Number12, ui->label_16,
             ui->label_17, ui->label_18, ui->label_19, ui->label_20, ui->label_21, ui->Button7, ui->Button8,
             ui->Button9, ui->Button10, ui->Button11, ui->Button12})
        hidden->setVisible(false);

    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigMouseIndex, this, &Buttoninterface::SlotMouseIndex);

    PicturePath = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Buttoninterface/");
    MainPageFolder = AppPaths::UserDataFolder() + QStringLiteral("/usersetting/MainPage");
    QDir().mkpath(MainPageFolder);

    FillGroups();
    ButtonColorList = ConfigSetting::Instance()->GetValueList(QStringLiteral("Option"), QStringLiteral("ButtonColor"));
    ButtonTextColor = ThemeColor(QStringLiteral("ButtonColor"));
    BuildMacroList(false);
    // No profile switching and no lights on this mouse's menu.
    ui->DPI_3->setVisible(false);
    ui->DPI_9->setVisible(false);
    ApplyLooks();

    // Records, the profile list and the reset notice come from the Worker and the report callback,
    // which wait until the page has shown them.
    connect(bus, SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this, SLOT(SlotUpDataButtonUIButton(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigUpDataConfigUI, this, &Buttoninterface::SlotUpDataConfigUI, Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigUpDataButtonUIC(FlashDataMap)), this, SLOT(SlotUpDataButtonUIB(FlashDataMap)));
    connect(bus, &PostMsg::SigAddMacroButton, this, &Buttoninterface::SlotAddMacroButton);
    connect(bus, &PostMsg::SigDeleteMacroButton, this, &Buttoninterface::SlotDeleteMacroButton);
    connect(bus, &PostMsg::SigUpDataMacro, this, &Buttoninterface::SlotUpDataMacro);
    connect(bus, &PostMsg::SigMacroRename, this, &Buttoninterface::SlotMacroRename);
    connect(bus, &PostMsg::SigFormReset, this, &Buttoninterface::SlotFormResetButton, Qt::BlockingQueuedConnection);

    // The one connection thread of the program; it registers itself as WorkerInstance.
    worker = new Worker;

    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    connect(bus, &PostMsg::SigAllLanguage, this, &Buttoninterface::SlotAllLanguage);
    ApplyAreaLooks();
    SlotAllLanguage(UiLanguage);
}

Buttoninterface::~Buttoninterface()
{
    if (worker) {
        // Give up after the limit rather than hang the window's close: a pass still running past
        // it is left to finish, and the thread object goes with it.
        const bool ended = worker->StopAndWait(WorkerStopLimitMs);
        connect(worker, &QThread::finished, worker, &QObject::deleteLater);
        if (!ended && worker->isRunning())
            qWarning() << "Buttoninterface: the connection pass did not end within" << WorkerStopLimitMs << "ms";
        else
            worker->deleteLater();
    }
    StopUsbChanged();
    delete ui;
}

void Buttoninterface::FillGroups()
{
    const auto fill = [this](QButtonGroup* group, auto names) {
        for (const char* name : names)
            group->addButton(Child(*this, name));
    };
    SelectorGroup = new QButtonGroup(this);
    HotspotGroup = new QButtonGroup(this);
    for (const ButtonTables::SelectorRow& row : ButtonTables::SelectorRows()) {
        SelectorGroup->addButton(Child(*this, row.selector));
        HotspotGroup->addButton(Child(*this, row.hotspot));
    }
    CategoryGroup = new QButtonGroup(this);
    fill(CategoryGroup, ButtonTables::MenuEntryNames());
    OptionGroup = new QButtonGroup(this);
    fill(OptionGroup, ButtonTables::OptionNames());
}

void Buttoninterface::PlaceNotice(QWidget* notice) const
{
    PlaceOver(notice, this, -50, -70);
}

QString Buttoninterface::ModelGroup() const
{
    return CurrentModelGroup();
}

void Buttoninterface::SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable)
{
    ui->ProjectChoose->clear();
    {
        const QSignalBlocker blocker(ui->ProjectChoose);
        if (ToTalItem > 0) {
            for (int i = 0; i < ToTalItem; ++i)
                ui->ProjectChoose->insertItem(i, ProfileTextPrefix + QString::number(i + 1));
        } else if (ToTalItem == 0) {
            ui->ProjectChoose->insertItem(0, ProfileTextPrefix + QStringLiteral("1"));
        }
    }
    ui->ProjectChoose->setEnabled(ItemEnable);
    if (ToTalItem > 0)
        ui->ProjectChoose->setCurrentIndex(SelectIndex);
    emit PostMsg::Instance()->SigAddConfig(ui->ProjectChoose->currentText());
}

void Buttoninterface::on_ProjectChoose_activated(int index)
{
    // While the page shows a record the choice came from the device itself, so it goes through even
    // when the mouse does not answer; a user's choice for an absent mouse is taken back.
    if (!VidEzorarA_GetDeviceOnLine(CurrentDevicePath) && !ButtonPageRefreshing) {
        ui->ProjectChoose->setCurrentIndex(ui->ProjectChoose->PressedIndex());
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return;
    }
    UsbServer_SetCurrentConfig(uint8_t(index));
    emit PostMsg::Instance()->SigAddConfig(ui->ProjectChoose->currentText());
}

void Buttoninterface::on_stackedWidget_currentChanged(int arg1)
{
    // The menu covers the right of the selector list; with the menu closed the list comes first,
    // so that all of it takes clicks.
    if (arg1 == 0)
        ui->scrollArea_11->raise();
    else
        ui->stackedWidget->raise();
}

QByteArray Buttoninterface::SensorNameField(const QString& sensorName)
{
    // The field ends with a zero byte: a name of 12 bytes or more is cut to 11, so that the
    // reader always finds the end of the text inside the field.
    QByteArray field(ConfigFieldSize, '\0');
    const QByteArray name = sensorName.toUtf8().left(ConfigFieldSize - 1);
    std::memcpy(field.data(), name.constData(), size_t(name.size()));
    return field;
}

bool Buttoninterface::WriteConfigFile(const QString& path, FlashDataMap record)
{
    const QString sensor = ConfigSetting::Instance()->GetValue(CurrentModelGroup(), QStringLiteral("Sensor"));
    QByteArray contents;
    QDataStream out(&contents, QIODevice::WriteOnly);
    QByteArray marker(ConfigFieldSize, '\0');
    std::memcpy(marker.data(), "Velor", 5);
    const QByteArray sensorField = SensorNameField(sensor);
    out.writeBytes(marker.constData(), uint(marker.size()));
    out.writeBytes(sensorField.constData(), uint(sensorField.size()));
    out.writeBytes(reinterpret_cast<const char*>(record.bytes()), uint(sizeof record));
    return out.status() == QDataStream::Ok && WriteWholeFile(path, contents);
}

ButtonMacroBlock Buttoninterface::MacroFileToRecord(const QString& macroName, bool* ok, MacroBlocks::FileFault* fault)
{
    return MacroBlocks::MacroFileToRecord(macroName, ok, fault);
}

QString Buttoninterface::ReadMacroRepeatMode(const QString& macroName)
{
    return MacroBlocks::ReadMacroRepeatMode(macroName);
}

QString Buttoninterface::ExportFilePath(const QString& chosen)
{
    return WithFileEnding(chosen, QStringLiteral("bin"));
}

void Buttoninterface::on_OutputData_clicked()
{
    // The dialog adds the ending itself where it can, so that it also asks before replacing a file
    // of the full name; a dialog of the desktop that ignores the default suffix is caught below.
    const QString title =
        UiText::ForReader(UiLanguage, QStringLiteral("Buttoninterface"), QStringLiteral("ExportConfigTitle"));
    QFileDialog dialog(this, title, QDir::homePath(), QStringLiteral("File(*.bin)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("bin"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = ExportFilePath(dialog.selectedFiles().constFirst());
    // A link or a special file at the chosen path is left as it is, and the notice says why.
    if (!WriteConfigFile(path, DeviceConfigSnapshot()))
        FileNotices::ShowExportNotWritten(window(), path, CheckWritePath(path));
}

void Buttoninterface::on_ImportData_clicked()
{
    if (!VidEzorarA_GetDeviceOnLine(CurrentDevicePath)) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return;
    }
    SettingsWriteInProgress = true;
    const QString title =
        UiText::ForReader(UiLanguage, QStringLiteral("Buttoninterface"), QStringLiteral("ImportConfigTitle"));
    const QString path = QFileDialog::getOpenFileName(this, title, QDir::homePath(), QStringLiteral("File(*.bin)"));
    if (!path.isEmpty()) {
        SettingsWait::Request import;
        import.importPath = path;
        SettingsWait::Run(import, [this](QWidget* wait) { PlaceOver(wait, this, -75, -65); });
    }
    SettingsWriteInProgress = false;
}

void Buttoninterface::on_Reset_clicked()
{
    if (!VidEzorarA_GetDeviceOnLine(CurrentDevicePath)) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return;
    }
    ContainReset confirm;
    confirm.SetText(UiText::Text(UiLanguage, QStringLiteral("Settings"), QStringLiteral("DialogRestore")));
    PlaceOver(&confirm, this, -75, -65);
    confirm.exec();
    if (!confirm.IsConfirm)
        return;
    RestoreDefaults(this);
}

void Buttoninterface::RestoreDefaults(QWidget* over)
{
    SettingsWriteInProgress = true;
    if (WorkerCheckTimer)
        WorkerCheckTimer->stop();
    UsbServer_SetBatteryOptimizeEnable(0);
    // Sent only while the working copy is this device's record, as a copy taken under its lock.
    PushDeviceConfig();
    UsbServer_SetClearSetting();

    SettingsWait::Request reload;
    reload.waitForPages = true;
    Worker::RequestPass();
    SettingsWait::Run(reload, [over](QWidget* wait) { PlaceOver(wait, over, -75, -65); });

    SettingsWriteInProgress = false;
    if (WorkerCheckTimer)
        WorkerCheckTimer->start();
}
