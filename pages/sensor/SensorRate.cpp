#include "pages/sensor/SensorRate.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_SensorRate.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QButtonGroup>
#include <QSignalBlocker>

namespace {
const int RateHz[SensorRate::RowCount] = {125, 250, 500, 1000, 2000, 4000, 8000};
const int RateCode[SensorRate::RowCount] = {8, 4, 2, 1, 16, 32, 64};
// Rows from here on are the fast rates the sensor page answers with SigHideModel(1).
const int FirstFastRow = 4;
}

SensorRate::SensorRate(QWidget* parent) : QFrame(parent), ui(new Ui::SensorRate)
{
    ui->setupUi(this);
    setFrameShape(QFrame::NoFrame);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int row = 0; row < RowCount; ++row)
        group->addButton(ButtonOfRow(row));

    const QString& folder = pictureFolder;
    ui->label->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor")) + QStringLiteral(";);}"));
    const QString buttonStyle =
        QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + ThemeColor(QStringLiteral("ButtonColor"))
        + QStringLiteral(";);padding-left:0px;background-image: url(") + folder + QStringLiteral("ReportRate.png")
        + QStringLiteral(");}QToolButton:checked{padding-left:0px;background-image: url(") + folder
        + QStringLiteral("ReportRateClick.png") + QStringLiteral("); }");
    for (int row = 0; row < RowCount; ++row)
        ButtonOfRow(row)->setStyleSheet(buttonStyle);

    SlotAllLanguage(UiLanguage);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &SensorRate::SlotAllLanguage);
}

SensorRate::~SensorRate()
{
    delete ui;
}

int SensorRate::RateOfRow(int row)
{
    return row >= 0 && row < RowCount ? RateHz[row] : -1;
}

int SensorRate::CodeOfRow(int row)
{
    return row >= 0 && row < RowCount ? RateCode[row] : -1;
}

QToolButton* SensorRate::ButtonOfRow(int row) const
{
    QToolButton* const buttons[RowCount] = {ui->Button125HZ,  ui->Button250HZ,  ui->Button500HZ, ui->Button1000HZ,
                                            ui->Button2000HZ, ui->Button4000HZ, ui->Button8000HZ};
    return row >= 0 && row < RowCount ? buttons[row] : nullptr;
}

void SensorRate::SetCurrentRate(int row)
{
    currentRate = row;
    QToolButton* button = ButtonOfRow(row);
    if (!button)
        return;
    {
        const QSignalBlocker checkedBlocker(button);
        const QSignalBlocker previousBlocker(group->checkedButton());
        button->setChecked(true);
    }
    emit PostMsg::Instance()->SigAddReport(RateOfRow(row));
}

bool SensorRate::IsFastRow(int row)
{
    return row >= FirstFastRow && row < RowCount;
}

void SensorRate::ShowFastRates(int mode, QWidget* rate2000, QWidget* rate4000, QWidget* rate8000)
{
    static const bool shown[4][3] = {{false, false, false}, {true, true, false}, {true, false, false}, {true, true, true}};
    if (mode < 0 || mode > 3)
        return;
    rate2000->setVisible(shown[mode][0]);
    rate4000->setVisible(shown[mode][1]);
    rate8000->setVisible(shown[mode][2]);
}

void SensorRate::SetRateMode(int mode)
{
    ShowFastRates(mode, ui->Button2000HZ, ui->Button4000HZ, ui->Button8000HZ);
}

void SensorRate::SetText(const QString& text)
{
    ui->label->setText(text);
}

void SensorRate::SlotAllLanguage(int language)
{
    SetText(UiText::ForReader(UiText::ValidLanguage(language), QStringLiteral("SensorRate"), QStringLiteral("ReportRate")));
}

void SensorRate::RateClicked(int row, bool checked)
{
    if (!checked || !UserWritesEnabled || SensorPageRefreshing)
        return;
    if (SetDeviceReportRate(uint8_t(CodeOfRow(row)))) {
        emit PostMsg::Instance()->SigAddReport(RateOfRow(row));
        currentRate = row;
        emit PostMsg::Instance()->SigHideModel(IsFastRow(row) ? 1 : 0);
        return;
    }
    if (ButtonOfRow(currentRate)) {
        SetCurrentRate(currentRate);
        return;
    }
    // The rate in force is not known yet: show none rather than the refused one.
    const QSignalBlocker blocker(ButtonOfRow(row));
    group->setExclusive(false);
    ButtonOfRow(row)->setChecked(false);
    group->setExclusive(true);
}

void SensorRate::on_Button125HZ_clicked(bool checked) { RateClicked(0, checked); }
void SensorRate::on_Button250HZ_clicked(bool checked) { RateClicked(1, checked); }
void SensorRate::on_Button500HZ_clicked(bool checked) { RateClicked(2, checked); }
void SensorRate::on_Button1000HZ_clicked(bool checked) { RateClicked(3, checked); }
void SensorRate::on_Button2000HZ_clicked(bool checked) { RateClicked(4, checked); }
void SensorRate::on_Button4000HZ_clicked(bool checked) { RateClicked(5, checked); }
void SensorRate::on_Button8000HZ_clicked(bool checked) { RateClicked(6, checked); }
