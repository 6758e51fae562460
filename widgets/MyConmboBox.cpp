#include "widgets/MyConmboBox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

MyConmboBox::MyConmboBox(QWidget* parent) : QComboBox(parent)
{
}

void MyConmboBox::mousePressEvent(QMouseEvent* event)
{
    pressedIndex = currentIndex();
    QComboBox::mousePressEvent(event);
}

void MyConmboBox::paintEvent(QPaintEvent*)
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
        if (option.editable) {
            style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, this);
            return;
        }
    }
    QStyleOptionButton label;
    label.initFrom(this);
    label.rect = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    label.text = option.currentText;
    label.icon = option.currentIcon;
    label.iconSize = option.iconSize;
    QPainter painter(this);
    style()->drawControl(QStyle::CE_PushButtonLabel, &label, &painter, this);
}
