// The mouse picture, the language change and the clicks on the page beside the function menu.
#include "pages/buttons/Buttoninterface.h"

#include "ui_Buttoninterface.h"

#include <QButtonGroup>
#include <QEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

#include <array>

namespace {

// Where the six visible hotspots sit on each of the three mouse pictures. The three pictures draw
// the same mouse: 1 stands on the left button, 2 on the right button and 3 on the wheel, each
// inside the part it names (placed beside the body or on its edge, they named no part).
const std::array<std::array<QPoint, 6>, 3> HotspotPlaces = {{
    {{{157, 93}, {237, 93}, {197, 64}, {251, 148}, {288, 140}, {280, 230}}},
    {{{157, 93}, {237, 93}, {197, 64}, {251, 148}, {288, 140}, {280, 230}}},
    {{{157, 93}, {237, 93}, {197, 64}, {242, 148}, {280, 142}, {270, 235}}},
}};

// The function menu's stack measures its place from the top of the page's lower band.
constexpr int MenuOffsetY = 340;
constexpr int IdleSubPage = 4;

// Whether a point lies in a widget's rectangle as its parent places it, edges included. The
// handler compares page positions with these rectangles as they are.
bool In(const QWidget* widget, const QPoint& point)
{
    return widget->geometry().contains(point);
}

void UncheckAll(QButtonGroup* group)
{
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

void Buttoninterface::SlotMouseIndex(int index)
{
    ui->widget->setStyleSheet(QStringLiteral("#widget{border:0px;background-position:center;background-repeat:no-repeat;"
                                             "background-image: url(")
                              + PicturePath + QStringLiteral("mouse") + QString::number(index) + QStringLiteral(".png);}"));
    if (index < 0 || index >= int(HotspotPlaces.size()))
        return;
    const QList<QAbstractButton*> hotspots = HotspotGroup->buttons();
    for (int i = 0; i < 6; ++i)
        hotspots.at(i)->move(HotspotPlaces[index][i]);
}

void Buttoninterface::ShowMenuPage(QWidget* menuPage)
{
    ui->stackedWidget->setCurrentWidget(menuPage);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(QStringLiteral("QScrollBar {width:10px;}"));
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

void Buttoninterface::CloseFunctionMenu()
{
    ShowMenuPage(ui->page);
}

void Buttoninterface::DeselectButtons()
{
    UncheckAll(SelectorGroup);
    CloseFunctionMenu();
}

void Buttoninterface::changeEvent(QEvent* event)
{
    if (event->type() != QEvent::LanguageChange)
        return;
    // The form's texts come back; the profile the user chose stays, and no choice is announced.
    const int profile = ui->ProjectChoose->currentIndex();
    const QSignalBlocker blocker(ui->ProjectChoose);
    ui->retranslateUi(this);
    ui->ProjectChoose->setCurrentIndex(profile);
}

void Buttoninterface::mousePressEvent(QMouseEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return;
    const QPoint q = event->pos();
    const QPoint menuPoint(q.x(), q.y() - MenuOffsetY);
    const bool left = event->button() == Qt::LeftButton;

    // Closing an open menu: a click beside it closes it.
    if (ui->stackedWidget->currentIndex() != 0) {
        const bool beside = ui->stackedWidget_2->currentIndex() != IdleSubPage
            ? !In(ui->groupBox, q)
            : !(In(ui->scrollArea_11, q) || In(ui->stackedWidget, menuPoint));
        if (beside) {
            if (!left)
                return;
            CloseFunctionMenu();
        }
    }

    // Deselecting.
    if (!left)
        return;
    const bool menuOpen = ui->stackedWidget->currentIndex() != 0;
    const bool subPageIdle = ui->stackedWidget_2->currentIndex() == IdleSubPage;
    if (!menuOpen && subPageIdle) {
        if (!(In(ui->scrollArea_11, q) && !In(ui->stackedWidget, menuPoint)))
            DeselectButtons();
    } else if (menuOpen && subPageIdle) {
        if (!In(ui->groupBox, q))
            DeselectButtons();
    } else if (menuOpen) {
        if (!(In(ui->scrollArea_11, q) || In(ui->stackedWidget, q) || In(ui->stackedWidget_2, q)))
            DeselectButtons();
    }

    // Hotspots and the picture.
    bool onHotspot = false;
    for (QWidget* hotspot : {ui->Number1, ui->Number2, ui->Number3, ui->Number4, ui->Number5, ui->Number6})
        onHotspot = onHotspot || In(hotspot, q);
    if (!onHotspot)
        UncheckAll(HotspotGroup);
    if (In(ui->widget, q))
        DeselectButtons();
}
