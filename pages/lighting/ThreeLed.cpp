#include "pages/lighting/ThreeLed.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "pages/lighting/ReceiverRefusalNotice.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_ThreeLed.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QSignalBlocker>

namespace {
// The list item i of every LED names the receiver's kind with this key of the LED kind names.
const char* const itemKeys[4] = {"0", "3", "2", "1"};
} // namespace

ThreeLed::ThreeLed(QWidget* parent) : QFrame(parent), ui(new Ui::ThreeLed)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Light/");
    ui->TitleButton_6->setStyleSheet(QStringLiteral("#TitleButton_6{border-image: url(") + pictureFolder
                                     + QStringLiteral("Title.png);}"));
    for (int led = 0; led < 3; ++led)
        ApplyComboBoxLook(Led(led), pictureFolder);
    const auto picture = [this](const char* name) {
        return QStringLiteral("QLabel{background-image: url(") + pictureFolder + QLatin1String(name) + QStringLiteral(");}");
    };
    ui->label_5->setStyleSheet(picture("Mode1.png"));
    ui->label_30->setStyleSheet(picture("Mode2.png"));
    ui->label_32->setStyleSheet(picture("Mode2.png"));
    ui->label_34->setStyleSheet(picture("Mode3.png"));
    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
                               + QStringLiteral(";);}");
    for (QWidget* label : std::initializer_list<QWidget*>{ui->label_17, ui->label_25, ui->label_26, ui->label_27,
                                                          ui->label_28, ui->label_29, ui->label_31, ui->label_33})
        label->setStyleSheet(labelStyle);

    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &ThreeLed::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

ThreeLed::~ThreeLed()
{
    delete ui;
}

QComboBox* ThreeLed::Led(int led) const
{
    QComboBox* const leds[3] = {ui->LightMod_3, ui->LightMod_4, ui->LightMod_5};
    return leds[led];
}

void ThreeLed::ShowQuietly(int led, int index)
{
    if (index < 0 || index >= Led(led)->count())
        return;
    const QSignalBlocker blocker(Led(led));
    Led(led)->setCurrentIndex(index);
}

int ThreeLed::ShownLedMode(int led) const
{
    return Led(led)->currentIndex();
}

void ThreeLed::SetLed1Mode(int index)
{
    ShowQuietly(0, index);
}

void ThreeLed::SetLed2Mode(int index)
{
    ShowQuietly(1, index);
}

void ThreeLed::SetLed3Mode(int index)
{
    ShowQuietly(2, index);
}

void ThreeLed::Chosen(int led, int index)
{
    if (!UserWritesEnabled || LightPageRefreshing)
        return;
    const uint8_t before = DongleIndicatorLedImage->modes[led];
    DongleIndicatorLedImage->modes[led] = uint8_t(index);
    const bool taken = VidEzorarA_SetDongleIndicatorLed(CurrentDevicePath, RecordBytes(DongleIndicatorLedImage)) != 0;
    // Tells the user when the mouse is away; the receiver's answer decides the rest.
    const bool mouseOnline = IsDeviceOnline();
    if (!taken) {
        // This LED alone goes back: its byte to what the record held, its list to the item the
        // receiver last took or the page last showed.
        DongleIndicatorLedImage->modes[led] = before;
        ShowQuietly(led, LastIndicatorLedModes[led]);
        // With the mouse away the user has just been told so.
        if (mouseOnline)
            ReceiverRefusalNotice::Show(this);
        return;
    }
    PushDeviceConfig();
    LastIndicatorLedModes[led] = index;
}

void ThreeLed::on_LightMod_3_currentIndexChanged(int index)
{
    Chosen(0, index);
}

void ThreeLed::on_LightMod_4_currentIndexChanged(int index)
{
    Chosen(1, index);
}

void ThreeLed::on_LightMod_5_currentIndexChanged(int index)
{
    Chosen(2, index);
}

void ThreeLed::SlotAllLanguage(int index)
{
    const QString legend = QStringLiteral("StatusDescriptionList");
    ui->label_35->setText(UiText::Option(index, legend, QStringLiteral("#42e81b")));
    ui->label_37->setText(UiText::Option(index, legend, QStringLiteral("#f5b020")));
    ui->label_38->setText(UiText::Option(index, legend, QStringLiteral("#f52c17")));
    const QString kinds = QStringLiteral("receiverList");
    for (int led = 0; led < 3; ++led) {
        for (int item = 0; item < 4; ++item)
            Led(led)->setItemText(item, UiText::Option(index, kinds, QLatin1String(itemKeys[item])));
    }
    const QString reader = QStringLiteral("ThreeLed");
    ui->label_17->setText(UiText::ForReader(index, reader, QStringLiteral("receiver")));
    ui->label_28->setText(UiText::ForReader(index, reader, QStringLiteral("PreviewLightsTips")));
    ui->label_29->setText(UiText::Option(index, kinds, QStringLiteral("3")));
    ui->label_31->setText(UiText::Option(index, kinds, QStringLiteral("2")));
    ui->label_33->setText(UiText::Option(index, kinds, QStringLiteral("1")));
    ui->label_49->setText(UiText::ForReader(index, reader, QStringLiteral("default")));
}
