#include "app/DialogChange.h"

#include "app/DialogChangeShared.h"
#include "device/ConfigSetting.h"
#include "device/DeviceDiscovery.h"
#include "device/DialogChangeLists.h"
#include "device/PostMsg.h"
#include "device/UserIniStore.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_DialogChange.h"
#include "widgets/NoticeLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QCoreApplication>
#include <QEvent>
#include <QListView>
#include <QPointer>
#include <QSignalBlocker>
#include <atomic>

namespace SelectPage {
const QString Option = QStringLiteral("Option");
} // namespace SelectPage

namespace {

// The page the attach/detach callback works on (GUI thread only).
QPointer<DialogChange> PageInstance;
// A notice is queued to the GUI thread and has not started yet: later notices ride along.
std::atomic<bool> UsbChangeQueued{false};

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

    ui->Repair->setVisible(!UpgradeRecord::FailRecord().isEmpty());
    modelCount = ConfigSetting::Instance()->GetValue(SelectPage::Option, QStringLiteral("DeviceTotal")).toInt();

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

void DialogChange::CentreOnPage(QWidget* dialog, int shiftLeft) const
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    dialog->move(origin.x() + (width() - dialog->width()) / 2 - shiftLeft, origin.y() + (height() - dialog->height()) / 2);
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
