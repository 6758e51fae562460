#include "app/PreVier.h"

#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_PreVier.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QLabel>

namespace {

// Width of a value's place in the form.
constexpr int ValueWidth = 71;

// Shows a value centred in its place; a longer text (a profile name in Russian) grows to both sides.
void ShowValue(QLabel* label, const QString& text)
{
    label->setText(text);
    const int width = qMax(ValueWidth, label->fontMetrics().horizontalAdvance(text) + 6);
    const QRect place = label->geometry();
    label->setGeometry(place.center().x() - (width - 1) / 2, place.y(), width, place.height());
}

} // namespace

PreVier::PreVier(QWidget* parent) : QWidget(parent), ui(new Ui::PreVier)
{
    ui->setupUi(this);
    ui->MouseUp->hide();
    ui->DongleUp->hide();
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Buttoninterface/");

    const QString labelStyle =
        QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor")) + QStringLiteral(";);}");
    for (QLabel* label : {ui->DpiName, ui->DpiValue, ui->ReportName, ui->ReportValue, ui->LodName, ui->LodValue,
                          ui->MotionName, ui->DebunceValue, ui->ConfigName, ui->ConfigValue, ui->MouseVer,
                          ui->MouseValue, ui->DongleVer, ui->DongleValue, ui->MouseUp, ui->DongleUp})
        label->setStyleSheet(labelStyle);
    const QString markStyle = QStringLiteral("QLabel{border:0px;background-position:center;background-repeat:no-repeat;"
                                             "background-image: url(")
        + pictureFolder + QStringLiteral("IsData.png);}");
    ui->MouseUp->setStyleSheet(markStyle);
    ui->DongleUp->setStyleSheet(markStyle);

    PostMsg* bus = PostMsg::Instance();
    connect(bus, SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    connect(bus, SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
    connect(bus, SIGNAL(SigAddSensor(int)), this, SLOT(SlotAddSensor(int)));
    connect(bus, SIGNAL(SigAddReport(int)), this, SLOT(SlotAddReport(int)));
    connect(bus, SIGNAL(SigAddLOD(QString)), this, SLOT(SlotAddLOD(QString)));
    connect(bus, SIGNAL(SigDebunce(QString)), this, SLOT(SlotDebnunce(QString)));
    connect(bus, SIGNAL(SigAddConfig(QString)), this, SLOT(SlotAddConfig(QString)));
    connect(bus, SIGNAL(SigAddVer(int,QString)), this, SLOT(SlotAddVer(int,QString)));
    connect(bus, SIGNAL(SigAddUpdate(int,bool)), this, SLOT(SlotAddUpdate(int,bool)));

    SlotAllLanguage(UiLanguage);
}

PreVier::~PreVier()
{
    delete ui;
}

void PreVier::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("PreVier");
    ui->ReportName->setText(UiText::ForReader(index, reader, QStringLiteral("ReportRate")));
    ui->MotionName->setText(UiText::ForReader(index, reader, QStringLiteral("DebounceTime")));
    ui->ConfigName->setText(UiText::ForReader(index, reader, QStringLiteral("configName")));
    ui->MouseVer->setText(UiText::ForReader(index, reader, QStringLiteral("MouseVersion")));
    ui->DongleVer->setText(UiText::ForReader(index, reader, QStringLiteral("DongleVersion")));
}

void PreVier::SlotMouseIndex(int index)
{
    ui->widget->setStyleSheet(QStringLiteral("#widget{border:0px;background-position:center;background-repeat:no-repeat;"
                                             "background-image: url(")
                              + pictureFolder + QStringLiteral("mouse") + QString::number(index)
                              + QStringLiteral(".png);}"));
}

void PreVier::SlotAddSensor(int Value)
{
    ShowValue(ui->DpiValue, QString::number(Value));
}

void PreVier::SlotAddReport(int Value)
{
    ShowValue(ui->ReportValue, QString::number(Value) + QStringLiteral("Hz"));
}

void PreVier::SlotAddLOD(QString Value)
{
    ShowValue(ui->LodValue, Value);
}

void PreVier::SlotDebnunce(QString Vlue)
{
    ShowValue(ui->DebunceValue, Vlue);
}

void PreVier::SlotAddConfig(QString Value)
{
    ShowValue(ui->ConfigValue, Value);
}

void PreVier::SlotAddVer(int type, QString Ver)
{
    if (type == 0)
        ShowValue(ui->MouseValue, Ver);
    else if (type == 1)
        ShowValue(ui->DongleValue, Ver);
}

void PreVier::SlotAddUpdate(int type, bool Ver)
{
    if (type == 0)
        ui->MouseUp->setVisible(Ver);
    else if (type == 1)
        ui->DongleUp->setVisible(Ver);
}
