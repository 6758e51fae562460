// The looks of the button page: pictures of the page's folder and the theme colours of the model list.
#include "pages/buttons/Buttoninterface.h"

#include "ui_Buttoninterface.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/WholeEntriesView.h"

#include <QButtonGroup>
#include <QScrollArea>
#include <QStackedWidget>

#include <initializer_list>

namespace {

// A menu entry: its picture, and another when it is checked, centred; white text.
QString MenuEntryStyle(const QString& pictures, const QString& image, const QString& checkedImage)
{
    return QStringLiteral("QToolButton{border:0px;color: rgb(255,255,255);background-position:center;"
                          "background-repeat:no-repeat;background-image: url(")
        + pictures + image + QStringLiteral(");}QToolButton:checked{color: rgb(255,255,255);background-image: url(")
        + pictures + checkedImage + QStringLiteral(");}");
}

// A hotspot on the mouse picture; the hidden ones would show dark numbers.
QString HotspotStyle(const QString& pictures, bool dark)
{
    return QStringLiteral("QToolButton{color: rgb(") + (dark ? QStringLiteral("0, 0, 0") : QStringLiteral("255, 255, 255"))
        + QStringLiteral(");border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
        + pictures + QStringLiteral("NumberOrigin.png);}QToolButton:hover{background-image: url(") + pictures
        + QStringLiteral("NumberHover.png);}QToolButton:pressed{padding-left: 0px;background-image: url(") + pictures
        + QStringLiteral("NumberClick.png);}");
}

// Puts a stack of menu pages at top in its parent, height high, with every page and every list of
// a page that high: the lists then end where the band ends.
void FitStack(QStackedWidget* stack, int top, int height)
{
    for (int i = 0; i < stack->count(); ++i) {
        QWidget* page = stack->widget(i);
        page->setMinimumHeight(0);
        for (QScrollArea* list : page->findChildren<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly)) {
            list->setMinimumHeight(0);
            list->setMaximumHeight(height);
            if (!page->layout())
                list->setGeometry(list->x(), 0, list->width(), height);
        }
    }
    stack->setMinimumHeight(0);
    stack->setGeometry(stack->x(), top, stack->width(), height);
}

} // namespace

QString Buttoninterface::MacroButtonStyle() const
{
    return QStringLiteral("QToolButton{color: rgb(") + ButtonTextColor + QStringLiteral(");border-image: url(")
        + PicturePath + QStringLiteral("CMenuTitle.png);}QToolButton:hover{background-image: none;}"
                                       "QToolButton:checked{border-image: url(")
        + PicturePath + QStringLiteral("CMenuTitleChecked.png);}");
}

void Buttoninterface::ApplyLooks()
{
    // The sub-pages' options, on transparent lists.
    const QString optionStyle = QStringLiteral("QToolButton{color: rgb(") + ButtonTextColor
        + QStringLiteral(");border-image: url(") + PicturePath
        + QStringLiteral("CMenuTitle.png);}QToolButton:checked{color: rgb(") + ButtonTextColor
        + QStringLiteral(");border-image: url(") + PicturePath + QStringLiteral("CMenuTitleChecked.png); }");
    const QString transparent = QStringLiteral("background-color:transparent;border:none;");
    const std::initializer_list<std::pair<QWidget*, QWidget*>> subPages = {
        {ui->scrollAreaWidgetContents_3, ui->page_3}, {ui->scrollAreaWidgetContents_4, ui->page_9},
        {ui->scrollAreaWidgetContents_6, ui->page_4}, {ui->scrollAreaWidgetContents_8, ui->page_6},
        {ui->scrollAreaWidgetContents_9, ui->page_7}, {ui->scrollAreaWidgetContents_12, ui->page_10},
    };
    for (const auto& contentsAndPage : subPages) {
        contentsAndPage.first->setStyleSheet(transparent);
        contentsAndPage.second->setStyleSheet(optionStyle);
    }
    // The selector list: its rows' pictures and the number labels beside them.
    ui->scrollAreaWidgetContents_11->setStyleSheet(
        QStringLiteral("#scrollAreaWidgetContents_11{background-color:transparent;border:none;}"
                       "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + ButtonTextColor + QStringLiteral(");background-image: url(") + PicturePath
        + QStringLiteral("AMenuTitle.png);}QToolButton:checked{background-image: url(") + PicturePath
        + QStringLiteral("AMenuTitleChecked.png); }QToolButton:unchecked{background-image: url(") + PicturePath
        + QStringLiteral("AMenuTitle.png); }QLabel{color: rgb(255, 255, 255);border:0px;background-position:center;"
                         "background-repeat:no-repeat;background-image: url(")
        + PicturePath + QStringLiteral("LabelNumber.png);}"));
    ui->scrollAreaWidgetContents_10->setStyleSheet(transparent);
    ui->page_8->setStyleSheet(optionStyle);

    ui->scrollArea_11->setFrameShape(QFrame::NoFrame);
    ui->groupBox_4->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    ui->groupBox_2->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));

    ApplyComboBoxLook(ui->ProjectChoose, PicturePath, true);
    dpiCodes.ReadHeaderFile();
    ui->label_3->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
                               + QStringLiteral(");}"));

    const QString commandStyle = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + ButtonTextColor + QStringLiteral(");border-image: url(") + PicturePath
        + QStringLiteral("Reset.png);}QToolButton:hover{border-image: url(") + PicturePath
        + QStringLiteral("ResetHover.png); }QToolButton:pressed{border-image: url(") + PicturePath
        + QStringLiteral("ResetClick.png); }");
    ui->ImportData->setStyleSheet(commandStyle);
    ui->OutputData->setStyleSheet(commandStyle);

    const QList<QAbstractButton*> hotspots = HotspotGroup->buttons();
    for (int i = 0; i < hotspots.size(); ++i)
        hotspots.at(i)->setStyleSheet(HotspotStyle(PicturePath, i >= 6));

    // The entries that act at once, and those that open a sub-page. The stray braces and the colour
    // outside any rule that the first design carried drew nothing; Qt only warned about them.
    const QString actsAtOnce = MenuEntryStyle(PicturePath, QStringLiteral("BMenuTitle.png"), QStringLiteral("BMenuTitleChecked.png"));
    const QString opensSubPage = MenuEntryStyle(PicturePath, QStringLiteral("BMenuTitleB.png"), QStringLiteral("BMenuTitleCheckedB.png"));
    for (QToolButton* entry : {ui->LeftKey_3, ui->RightKey_3, ui->MidKey, ui->BackKey_2, ui->ForWardKey, ui->DPI_2,
                               ui->DPI_3, static_cast<QToolButton*>(ui->DPI_6), static_cast<QToolButton*>(ui->DPI_8), ui->DPI_5})
        entry->setStyleSheet(actsAtOnce);
    for (QWidget* entry : {ui->DPI_13, ui->DPI_11, ui->DPI_10, ui->DPI_9, ui->DPI_7, ui->DPI_12, ui->DPI_4})
        entry->setStyleSheet(opensSubPage);

    ui->label->setStyleSheet(QStringLiteral("#label{border:0px;color: rgb(255, 255, 255);background-position:center;"
                                            "background-repeat:no-repeat;background-image: url(")
                             + PicturePath + QStringLiteral("Config.png);}"));
}

void Buttoninterface::ApplyAreaLooks()
{
    ui->groupBox->setStyleSheet(QStringLiteral("#groupBox {border: 0;background-image: url(") + PicturePath
                                + QStringLiteral("TiltleBack.png);}"));
    ui->groupBox_4->setStyleSheet(QStringLiteral("#groupBox_4 {border: 0;}"));
    ui->groupBox_2->setStyleSheet(QStringLiteral("#groupBox_2 {border: 0;}"));
    for (QScrollArea* area : {ui->scrollArea_4, ui->scrollArea_3, ui->scrollArea_7, ui->scrollArea_8, ui->scrollArea_10,
                              ui->scrollArea_6, ui->scrollArea_9, ui->scrollArea_12}) {
        area->setStyleSheet(QLatin1Char('#') + area->objectName() + QStringLiteral("{border: 0;}"));
        // The lists scroll in steps of 15 pixels, their entries stand 28 apart: the entry a step
        // leaves half in view at the top or the bottom is left out.
        new WholeEntriesView(area);
    }

    // The page and the debounce panel stand on the dark page without the frames of their forms,
    // whose light edges drew a line along the page and beside the debounce list.
    ui->MainWindow->setFrameShape(QFrame::NoFrame);
    ui->DebunceButton->setFrameShape(QFrame::NoFrame);
    // The six rows fit the selector list: its scroll bar shows only when rows do not fit.
    ui->scrollArea_11->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The menu and the sub-menus stand in the band as the selector list does. The form starts them
    // above the band and runs them past its end, which cut off the first and the last entries.
    const QRect list = ui->scrollArea_11->geometry();
    FitStack(ui->stackedWidget, list.y(), list.height());
    ui->groupBox_4->setGeometry(ui->groupBox_4->x(), list.y(), ui->groupBox_4->width(), list.height());
    FitStack(ui->stackedWidget_2, 0, list.height());
}
