#include "pages/lighting/OneLed.h"

#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/ReceiverRefusalNotice.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_OneLed.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QButtonGroup>
#include <QSignalBlocker>

OneLed::OneLed(QWidget* parent) : QFrame(parent), ui(new Ui::OneLed)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Light/");
    group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(ui->ReUntil);
    group->addButton(ui->ReUntil_2);
    group->addButton(ui->ReUntil_3);

    const QString rgb = ThemeColor(QStringLiteral("LabelColor"));
    ui->TitleButton_7->setStyleSheet(QStringLiteral("#TitleButton_7{border-image: url(") + pictureFolder
                                     + QStringLiteral("Title.png);}"));
    const QString boxStyle = QStringLiteral("QCheckBox{color: rgb(") + rgb
                             + QStringLiteral(";);}QCheckBox:indicator::checked {image: url(") + pictureFolder
                             + QStringLiteral("CheckBoxCheck.png);}QCheckBox::indicator::unchecked {image: url(")
                             + pictureFolder + QStringLiteral("CheckBox2.png);}");
    for (int i = 0; i < 3; ++i)
        Box(i)->setStyleSheet(boxStyle);
    for (QWidget* edit : std::initializer_list<QWidget*>{ui->textEdit_2, ui->textEdit_3, ui->textEdit_4})
        edit->setStyleSheet(QStringLiteral("#") + edit->objectName()
                            + QStringLiteral("{border: transparent;background-color: transparent;color: rgb(") + rgb
                            + QStringLiteral(";);}"));
    ui->label_16->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + rgb + QStringLiteral(";);}"));

    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &OneLed::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

OneLed::~OneLed()
{
    delete ui;
}

QAbstractButton* OneLed::Box(int index) const
{
    switch (index) {
    case 0:
        return ui->ReUntil;
    case 1:
        return ui->ReUntil_2;
    case 2:
        return ui->ReUntil_3;
    default:
        return nullptr;
    }
}

int OneLed::CheckedMeaning() const
{
    for (int i = 0; i < 3; ++i) {
        if (Box(i)->isChecked())
            return i;
    }
    return -1;
}

void OneLed::CheckQuietly(int index)
{
    const QSignalBlocker first(ui->ReUntil);
    const QSignalBlocker second(ui->ReUntil_2);
    const QSignalBlocker third(ui->ReUntil_3);
    const QSignalBlocker blocker(group);
    if (QAbstractButton* box = Box(index)) {
        box->setChecked(true);
    } else {
        // An exclusive group keeps its checked box: it lets go only while it is not exclusive.
        group->setExclusive(false);
        for (int i = 0; i < 3; ++i)
            Box(i)->setChecked(false);
        group->setExclusive(true);
    }
    inForce = Box(index) ? index : -1;
}

void OneLed::SetMeaningQuiet(int index)
{
    if (Box(index))
        CheckQuietly(index);
}

void OneLed::SetMeaning(int index)
{
    if (QAbstractButton* box = Box(index))
        box->setChecked(true);
}

void OneLed::Chosen(int index, bool checked)
{
    if (!checked)
        return;
    if (!UserWritesEnabled) {
        inForce = index;
        return;
    }
    if (!VidEzorarA_GetDeviceOnLine(CurrentDevicePath)) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        // The choice that stood comes back; nothing is sent and the record keeps its meaning.
        CheckQuietly(inForce);
        return;
    }
    const uint8_t before = DongleRGBRecord->bytes[0];
    DongleRGBRecord->bytes[0] = uint8_t(index + 1);
    if (!VidEzorarA_Set4KDongleRGB(CurrentDevicePath, DongleRGBRecord->bytes)) {
        // Refused: the record and the boxes keep the meaning the receiver holds.
        DongleRGBRecord->bytes[0] = before;
        CheckQuietly(inForce);
        ReceiverRefusalNotice::Show(this);
        return;
    }
    inForce = index;
}

void OneLed::on_ReUntil_toggled(bool checked)
{
    Chosen(0, checked);
}

void OneLed::on_ReUntil_2_toggled(bool checked)
{
    Chosen(1, checked);
}

void OneLed::on_ReUntil_3_toggled(bool checked)
{
    Chosen(2, checked);
}

void OneLed::SlotAllLanguage(int index)
{
    ui->label_16->setText(UiText::ForReader(index, QStringLiteral("OneLed"), QStringLiteral("receiver")));
    const auto& pairs = UiTextTables::Instance()->Language(UiText::ValidLanguage(index)).receiverStatusList;
    // A language with fewer than three descriptions leaves them all empty rather than half told.
    const bool complete = pairs.size() >= 3;
    QTextEdit* const edits[3] = {ui->textEdit_2, ui->textEdit_3, ui->textEdit_4};
    for (int i = 0; i < 3; ++i)
        edits[i]->setPlainText(complete ? pairs.at(i).first + pairs.at(i).second : QString());
}
