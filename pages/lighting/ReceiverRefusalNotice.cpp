#include "pages/lighting/ReceiverRefusalNotice.h"

#include "device/PostMsg.h"
#include "widgets/PlaceOver.h"
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
    QPointer<UpDateWarning>& notice = Notice();
    if (!notice) {
        // No parent: the panels live in tabs that never show, and the notice outlives none of them.
        notice = new UpDateWarning(nullptr);
        notice->setAttribute(Qt::WA_DeleteOnClose);
        UpDateWarning* shown = notice;
        QObject::connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, shown,
                         [shown](int language) { shown->SetText(Text(language)); });
    }
    notice->SetText(Text(UiLanguage));
    PlaceOver(notice, panel ? panel->window() : nullptr, 0, 0);
    notice->setModal(true);
    notice->show();
    notice->raise();
}
