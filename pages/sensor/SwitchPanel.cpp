#include "pages/sensor/SwitchPanel.h"

#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "widgets/ThemeColor.h"
#include "widgets/TipsPlacement.h"
#include "widgets/UiText.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>

SwitchPanel::SwitchPanel(const Design& design, QWidget* parent) : QFrame(parent), design(design)
{
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
}

void SwitchPanel::Attach(QToolButton* toggleButton, QLabel* captionLabel, QLabel* tipsLabel)
{
    toggle = toggleButton;
    caption = captionLabel;
    tips = tipsLabel;
    // The panel sits on the page's background; a drawn frame would box it.
    setFrameShape(QFrame::NoFrame);
    const QString& folder = pictureFolder;
    const QString name = QLatin1Char('#') + toggle->objectName();
    caption->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor")) + QStringLiteral(";);}"));
    toggle->setStyleSheet(name + QStringLiteral("{color: rgb(255, 255, 255);border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
                          + folder + QStringLiteral("Close.png") + QStringLiteral(");}") + name
                          + QStringLiteral(":checked {background-image: url(") + folder + QStringLiteral("Open.png") + QStringLiteral(");}"));
    if (!tips)
        return;
    tips->setStyleSheet(QStringLiteral("QLabel{border-image: url(") + folder + QStringLiteral("Tips.png") + QStringLiteral(");}"));
    SlotAllLanguage(UiLanguage);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &SwitchPanel::SlotAllLanguage);
}

void SwitchPanel::SetChecked(bool on)
{
    const QSignalBlocker blocker(toggle);
    toggle->setChecked(on);
}

bool SwitchPanel::IsChecked() const
{
    return toggle->isChecked();
}

void SwitchPanel::SetText(const QString& text)
{
    caption->setText(text);
    PlaceTips();
}

void SwitchPanel::SetToolTip(const QString& text)
{
    (tips ? static_cast<QWidget*>(tips) : caption)->setToolTip(text);
}

void SwitchPanel::MoveTips(int languageIndex)
{
    if (languageIndex < 0 || languageIndex > 7)
        return;
    PlaceTips();
}

void SwitchPanel::PlaceTips()
{
    if (!tips)
        return;
    PlaceTipsAfterCaption(caption, tips, 3, width());
}

void SwitchPanel::SlotAllLanguage(int language)
{
    if (!design.textKey)
        return;
    const int index = UiText::ValidLanguage(language);
    const QString reader = QString::fromLatin1(metaObject()->className());
    SetText(UiText::ForReader(index, reader, QString::fromLatin1(design.textKey)));
    SetToolTip(UiText::ForReader(index, reader, QString::fromLatin1(design.tipsKey)));
    MoveTips(index);
}

void SwitchPanel::Clicked(bool checked)
{
    if (!UserWritesEnabled)
        return;
    if (!tips) {
        // The second design: the refusal is told by the setter and the switch keeps the user's state.
        design.setter(checked ? 1 : 0);
        return;
    }
    if (SensorPageRefreshing)
        return;
    if (design.setter(checked ? 1 : 0))
        return;
    SetChecked(!checked);
}
