#include "pages/settings/ScreenPictureLook.h"

#include "platform/AppPaths.h"
#include "widgets/NoticeLook.h"
#include "widgets/ThemeColor.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialog>
#include <QLabel>
#include <QSlider>

QString StyleScreenPictureDialog(QDialog* dialog, QButtonGroup* pictureSlots)
{
    NoticeLook::SetNoticeFlags(dialog);
    const QString folder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/ScreeInfo/");
    const auto url = [&folder](const char* picture) {
        return QStringLiteral("url(") + folder + QLatin1String(picture) + QStringLiteral(")");
    };
    const QString labelColor = ThemeColor(QStringLiteral("LabelColor"));
    const QString buttonColor = ThemeColor(QStringLiteral("ButtonColor"));
    const QString sliderColor = ThemeColor(QStringLiteral("SliderColor"));
    const auto set = [dialog](const char* name, const QString& style) {
        if (auto* widget = dialog->findChild<QWidget*>(QLatin1String(name)))
            widget->setStyleSheet(style);
    };

    set("InputPicAFrame", QStringLiteral("#InputPicAFrame{border:0px;background-position:center;background-repeat:no-repeat;background-image: ")
                              + url("Back.png") + QStringLiteral(";}"));
    set("CheckButton", QStringLiteral("QToolButton{border:0px;color: rgb(255,255,255);background-position:center;background-repeat:no-repeat;background-image: ")
                           + url("Close.png") + QStringLiteral(";}QToolButton:checked{background-image: ") + url("Open.png")
                           + QStringLiteral(";}"));
    for (QLabel* label : dialog->findChildren<QLabel*>())
        label->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(");}"));
    const QString slotStyle = QStringLiteral("QToolButton{border-image: ") + url("Pic.png") + QStringLiteral(";color: rgb(")
        + buttonColor + QStringLiteral(");}QToolButton:checked{border-image: ") + url("PicHover.png") + QStringLiteral(";}");
    for (const char* name : {"toolButtonA", "toolButtonB", "toolButtonC", "toolButtonD"}) {
        set(name, slotStyle);
        if (auto* button = dialog->findChild<QAbstractButton*>(QLatin1String(name)))
            pictureSlots->addButton(button);
    }
    pictureSlots->setExclusive(true);
    const QString buttonStyle = QStringLiteral("QToolButton{border-image: ") + url("Button.png") + QStringLiteral(";color: rgb(")
        + buttonColor + QStringLiteral(");}QToolButton:hover{border-image: ") + url("ButtonHover.png") + QStringLiteral(";}");
    set("Input", buttonStyle);
    set("Output", buttonStyle);
    set("SpeedH", QStringLiteral("QSlider::groove:horizontal{height:5px;background:rgb(255,255,255);border-radius:2px;}"
                                 "QSlider::handle:horizontal{width:6px;height:18px;margin:-7px 0;border-image: ")
                      + url("Slider.png") + QStringLiteral(";}QSlider::sub-page:horizontal{background:rgb(") + sliderColor
                      + QStringLiteral(");border-radius:2px;}QSlider::add-page:horizontal{background:rgb(255,255,255);border-radius:2px;}"));
    set("CloseButton", QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;background-image: ")
                           + url("CloseButton.png") + QStringLiteral(";}QToolButton:hover{background-image: ") + url("CloseHover.png")
                           + QStringLiteral(";}QToolButton:pressed{background-image: ") + url("CloseClick.png") + QStringLiteral(";}"));
    NoticeLook::ScaleFonts(dialog);
    return folder;
}
