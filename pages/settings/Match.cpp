#include "pages/settings/Match.h"

#include "device/DialogChangeLists.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_Match.h"
#include "widgets/NoticeLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

Match::Match(QWidget* parent) : QDialog(parent), ui(new Ui::Match)
{
    ui->setupUi(this);
    NoticeLook::SetNoticeFlags(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(width(), height());

    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Setting/");
    buttonColour = ThemeColor(QStringLiteral("ButtonColor"));
    const QString labelColour = ThemeColor(QStringLiteral("LabelColor"));
    const QString plain =
        QStringLiteral("border:0px;background-position:center;background-repeat:no-repeat;background-image: url(");
    ui->MatchA->setStyleSheet(QStringLiteral("#MatchA{") + plain + pictureFolder + QStringLiteral("BackSecondPage.png);}"));
    ui->toolButton_2->setStyleSheet(QStringLiteral("QToolButton{") + plain + pictureFolder
                                    + QStringLiteral("Picture.png);color: rgb(255, 255, 255);}"));
    ui->CloseButton->setStyleSheet(QStringLiteral("QToolButton{") + plain + pictureFolder
                                   + QStringLiteral("CloseSecondPage.png);}QToolButton:hover{background-image: url(")
                                   + pictureFolder + QStringLiteral("CloseSecondPageHover.png);}"
                                                                    "QToolButton:pressed{background-image: url(")
                                   + pictureFolder + QStringLiteral("CloseSecondPageClick.png);}"));
    ui->MatchButton->setStyleSheet(ButtonStyle(QStringLiteral("Pair.png"), buttonColour));
    ui->textEdit->setStyleSheet(QStringLiteral("QTextEdit{border:0px;background:transparent;color: rgb(") + labelColour
                                + QStringLiteral(");}"));
    ui->label->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + labelColour + QStringLiteral(");}"));
    ui->textEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->textEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    currentPath = CurrentDeviceInfo.Get().path;
    connect(ui->CloseButton, &QToolButton::clicked, this, &Match::WindowClosedSet);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &Match::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    ui->label->hide();
    ui->textEdit->hide();
    NoticeLook::ScaleFonts(this);
}

Match::~Match()
{
    delete ui;
}

QString Match::ButtonStyle(const QString& picture, const QString& colour) const
{
    return QStringLiteral("QPushButton{border:0px;background-position:center;background-repeat:no-repeat;"
                          "background-image: url(")
        + pictureFolder + picture + QStringLiteral(");color: rgb(") + colour + QStringLiteral(");}");
}

void Match::InitPairDevice()
{
    ui->MatchButton->setShortcut(QKeySequence(Qt::Key_Space));
    ui->MatchButton->setEnabled(true);
    ui->MatchButton->setStyleSheet(ButtonStyle(QStringLiteral("Pair.png"), buttonColour));
    ui->MatchButton->setText(startText);

    DeviceAllInfo device;
    if (DeviceWindowActive == 1) {
        device = CurrentDeviceInfo.Get();
        device.path = currentPath;
    } else if (PairDeviceChosen) {
        device = PairDeviceInfo;
    } else if (!ListedDevices.isEmpty()) {
        device = ListedDevices.first();
    }
    pairPath = device.path;
    pairVid = device.VID;
    pairPid = device.PID;
    pairWired = device.wired;
    cid = static_cast<uint8_t>(ConfigSetting::Instance()->GetValue(QStringLiteral("Option"), QStringLiteral("CID")).toInt());
    ShowDeviceState();
}

void Match::ShowDeviceState()
{
    // A device on its cable cannot be paired: the note shows instead of the instructions.
    pairingPossible = !pairWired && !pairPath.isEmpty();
    ui->label->setVisible(!pairingPossible);
    ui->textEdit->setVisible(pairingPossible);
    ui->MatchButton->setEnabled(pairingPossible);
    if (!pairingPossible)
        ui->MatchButton->setStyleSheet(ButtonStyle(QStringLiteral("Pair.png"), QStringLiteral("0,0,0")));
}

void Match::on_MatchButton_clicked()
{
    // The pairing run comes with the pairing support.
}

void Match::WindowClosedSet()
{
    close();
}

void Match::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("Match");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("NoPair")));
    // At the size of the form's own instructions.
    ui->textEdit->setHtml(QStringLiteral("<span style=\" font-size:10pt;\">")
                          + UiText::ForReader(index, reader, QStringLiteral("DialogPairTips")).toHtmlEscaped()
                          + QStringLiteral("</span>"));
    startText = UiText::ForReader(index, reader, QStringLiteral("StartPair"));
    ui->MatchButton->setText(startText);
    pairingText = UiText::ForReader(index, reader, QStringLiteral("Pairing"));
    failText = UiText::ForReader(index, reader, QStringLiteral("PairFail"));
    successText = UiText::ForReader(index, reader, QStringLiteral("PairSuccess"));
}
