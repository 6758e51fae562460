#include "widgets/ComboBoxLook.h"

#include "widgets/ThemeColor.h"

#include <QComboBox>
#include <QListView>

void ApplyComboBoxLook(QComboBox* combo, const QString& folder, bool disabledText)
{
    const QString text = ThemeColor(QStringLiteral("ComboxTextColor"));
    const QString select = ThemeColor(QStringLiteral("ComboxSelectColor"));
    const QString back = ThemeColor(QStringLiteral("ComboxBackGroundColor"));
    combo->setStyleSheet(
        QStringLiteral("QComboBox{border: 1px solid gray; color: rgb(") + text + QStringLiteral("); border-image: url(")
        + folder + QStringLiteral("ComboboxBack.png);}QComboBox::drop-down:button{border-radius:5px; background:rgb(")
        + back + QStringLiteral(");} QComboBox::down-arrow{image: url(") + folder
        + QStringLiteral("Menu.png); right: 8px; }QComboBox::down-arrow:on{ image: url(") + folder
        + QStringLiteral("MenuClicked.png);}QComboBox QAbstractItemView::item{height:25px;}"
                         "QComboBox QAbstractItemView {outline: 0px solid gray; border: 1px  solid gray;color: rgb(")
        + text + QStringLiteral("); border-image: url(") + folder
        + QStringLiteral("ComboboxTextBack.png);selection-background-color: rgb(") + select + QStringLiteral("); }")
        + (disabledText ? QStringLiteral("QComboBox:disabled{color: rgb(") + DimmedTextColor() + QStringLiteral(");}")
                        : QString()));
    auto* view = new QListView(combo);
    view->setStyleSheet(QStringLiteral("QListView::item:selected{background-color: rgb(") + select
                        + QStringLiteral(");}QListView::item:hover{background-color: rgb(") + select + QStringLiteral(");}"));
    combo->setView(view);
}
