#include "pages/lighting/ReceiverRefusalNotice.h"

#include "widgets/UiText.h"
#include "widgets/UpDateWarning.h"

#include <QPointer>

namespace {

QPointer<UpDateWarning>& Notice()
{
    static QPointer<UpDateWarning> notice;
    return notice;
}

} // namespace

QString ReceiverRefusalNotice::Text(int language)
{
    return UiText::ForReader(language, QStringLiteral("ReceiverRefusalNotice"), QStringLiteral("ReceiverRefused"));
}

QWidget* ReceiverRefusalNotice::Shown()
{
    UpDateWarning* notice = Notice();
    return notice && notice->isVisible() ? notice : nullptr;
}

void ReceiverRefusalNotice::Show(QWidget* panel)
{
    // No parent: the panels live in tabs that never show, and the notice outlives none of them.
    UpDateWarning::ShowAlone(Notice(), &Text, panel ? panel->window() : nullptr);
}
