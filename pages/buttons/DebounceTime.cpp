#include "pages/buttons/DebounceTime.h"

#include "app/LessThree.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_DebounceTime.h"
#include "widgets/ThemeColor.h"

#include <QListView>
#include <QSignalBlocker>

DebounceTime::DebounceTime(QWidget* parent) : QFrame(parent), ui(new Ui::DebounceTime)
{
    ui->setupUi(this);
    // The panel is only its combo box: a drawn frame would box the empty space beside it.
    setFrameShape(QFrame::NoFrame);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Buttoninterface/");
    const QString text = ThemeColor(QStringLiteral("ComboxTextColor"));
    const QString select = ThemeColor(QStringLiteral("ComboxSelectColor"));
    const QString back = ThemeColor(QStringLiteral("ComboxBackGroundColor"));
    const QString& folder = pictureFolder;
    ui->Debunce->setStyleSheet(
        QStringLiteral("QComboBox{border: 1px solid gray; color: rgb(") + text + QStringLiteral("); border-image: url(")
        + folder + QStringLiteral("ComboboxBack.png") + QStringLiteral(");}QComboBox::drop-down:button{border-radius:5px; background:rgb(")
        + back + QStringLiteral(");} QComboBox::down-arrow{image: url(") + folder + QStringLiteral("Menu.png")
        + QStringLiteral("); right: 8px; }QComboBox::down-arrow:on{ image: url(") + folder + QStringLiteral("MenuClicked.png")
        + QStringLiteral(");}QComboBox QAbstractItemView::item{height:25px;}QComboBox QAbstractItemView {outline: 0px solid gray; border: 1px  solid gray;color: rgb(")
        + text + QStringLiteral("); border-image: url(") + folder + QStringLiteral("ComboboxTextBack.png")
        + QStringLiteral(");selection-background-color: rgb(") + select + QStringLiteral("); }"));
    auto* view = new QListView;
    view->setStyleSheet(QStringLiteral("QListView::item:selected{background-color: rgb(") + select
                        + QStringLiteral(");}QListView::item:hover{background-color: rgb(") + select + QStringLiteral(");}"));
    ui->Debunce->setView(view);
    ui->Debunce->setMaxVisibleItems(5);
}

DebounceTime::~DebounceTime()
{
    delete ui;
}

int DebounceTime::CurrentIndex() const
{
    return ui->Debunce->currentIndex();
}

QString DebounceTime::CurrentText() const
{
    return ui->Debunce->currentText();
}

void DebounceTime::SetItemText(int index, const QString& suffix)
{
    ui->Debunce->setItemText(index, QString::number(index) + suffix);
}

void DebounceTime::SetIndex(int index)
{
    // A value the panel has no item for is not shown: the combo would otherwise lose its choice.
    if (index < 0 || index >= ItemCount)
        return;
    lastAccepted = index;
    ui->Debunce->setCurrentIndex(index);
    emit PostMsg::Instance()->SigDebunce(ui->Debunce->currentText());
}

void DebounceTime::on_Debunce_currentIndexChanged(int index)
{
    if (!UserWritesEnabled || index < 0)
        return;
    if (!SetDeviceDebounceTime(uint8_t(index))) {
        const QSignalBlocker blocker(ui->Debunce);
        ui->Debunce->setCurrentIndex(lastAccepted);
        return;
    }
    lastAccepted = index;
    emit PostMsg::Instance()->SigDebunce(ui->Debunce->currentText());
    // The mouse needs a moment to take a short debounce time.
    if (index <= 7 && !ButtonPageRefreshing)
        ShowWaitNotice();
}

void DebounceTime::ShowWaitNotice()
{
    LessThree notice;
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    notice.move(corner.x() + (width() - notice.width()) / 2 - 409, corner.y() + (height() - notice.height()) / 2 - 202);
    notice.exec();
}
