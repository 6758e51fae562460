#include "widgets/NoticeLook.h"

#include "platform/AppPaths.h"
#include "platform/ScreenInfo.h"
#include "widgets/ScaleFontTree.h"
#include "widgets/ThemeColor.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>

namespace NoticeLook {

QString PictureFolder()
{
    return AppPaths::ProgramFolder() + QStringLiteral("/Picture/WarningDialog/");
}

void SetNoticeFlags(QWidget* dialog)
{
    dialog->setWindowFlags(Qt::SubWindow | Qt::BypassWindowManagerHint | Qt::FramelessWindowHint
                           | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
}

QString FrameStyle(const QString& frameName, const QString& folder)
{
    return QStringLiteral("#") + frameName
        + QStringLiteral("{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
        + folder + QStringLiteral("BackGround.png);}");
}

QString CloseButtonStyle(const QString& folder)
{
    return QStringLiteral("QToolButton{border:0px;background-image: url(") + folder
        + QStringLiteral("Close.png);background-position:center;background-repeat:no-repeat;}"
                         "QToolButton:hover{background-image: url(")
        + folder + QStringLiteral("CloseHover.png);}QToolButton:pressed{background-image: url(") + folder
        + QStringLiteral("CloseClick.png);}");
}

QString ConfirmButtonStyle(const QString& folder, const QString& picture, const QString& pressedPicture)
{
    return QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + ThemeColor(QStringLiteral("ButtonColor")) + QStringLiteral(";);border-image: url(") + folder + picture
        + QStringLiteral(");}QToolButton:pressed{border-image: url(") + folder + pressedPicture
        + QStringLiteral("); }");
}

QString LabelStyle()
{
    return QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor")) + QStringLiteral(";);}");
}

void StyleMessageLabel(QLabel* label)
{
    label->setStyleSheet(LabelStyle());
    // The label spans the whole picture; a long line would otherwise touch its border.
    label->setMargin(6);
}

QString CheckBoxStyle(const QString& folder)
{
    return QStringLiteral("QCheckBox{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
        + QStringLiteral(");padding-left: 8px;}QCheckBox::indicator:unchecked{image: url(") + folder
        + QStringLiteral("CheckBox.png);}QCheckBox::indicator:checked{image: url(") + folder
        + QStringLiteral("CheckBoxCheck.png);}");
}

QString FieldStyle(const QString& selector)
{
    // The field's text has the theme's dark field colour, so the field keeps its light base as the
    // name fields of the other dialogs do.
    return selector + QStringLiteral("{color: rgb(") + ThemeColor(QStringLiteral("LinEditColor"))
        + QStringLiteral(");border: 1px solid rgb(") + ThemeColor(QStringLiteral("LinEditColorSecond"))
        + QStringLiteral(");}");
}

void ScaleFonts(QWidget* dialog, const QString& keepName)
{
    ScaleFontTree(dialog, 96.0 / ScreenInfo::LogicalDpi(), keepName);
}

namespace {

class ActivateOnShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            window->raise();
            window->activateWindow();
        }
        return false;
    }
};

} // namespace

void ActivateWhenShown(QWidget* dialog)
{
    dialog->installEventFilter(new ActivateOnShow(dialog));
}

QString StyleNotice(QWidget* dialog, QLabel* message, QWidget* closeButton, QWidget* frame)
{
    const QString folder = PictureFolder();
    SetNoticeFlags(dialog);
    StyleMessageLabel(message);
    if (closeButton)
        closeButton->setStyleSheet(CloseButtonStyle(folder));
    frame->setStyleSheet(FrameStyle(frame->objectName(), folder));
    return folder;
}

} // namespace NoticeLook
