#include "widgets/QtTranslation.h"

#include "platform/TraceLog.h"
#include "widgets/UiText.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// The translation in use; owned by the application object.
QPointer<QTranslator> installedQtTranslation;

// Keeps the application from passing a language change on to the windows while it lives.
class HoldQtLanguageChange : public QObject
{
public:
    HoldQtLanguageChange() { QCoreApplication::instance()->installEventFilter(this); }
    ~HoldQtLanguageChange() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return watched == QCoreApplication::instance() && event->type() == QEvent::LanguageChange;
    }
};

} // namespace

namespace QtTranslation {

QString FileName(int language)
{
    switch (UiText::ValidLanguage(language)) {
    case 1:
        return QStringLiteral("qtbase_zh_CN");
    case 2:
        return QStringLiteral("qtbase_ru");
    default:
        return QString();
    }
}

bool Follow(int language)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    const QString name = FileName(language);
    HoldQtLanguageChange hold;
    if (installedQtTranslation) {
        application->removeTranslator(installedQtTranslation);
        delete installedQtTranslation;
    }
    if (name.isEmpty())
        return true;
    auto* translator = new QTranslator(application);
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    if (!translator->load(name, folder)) {
        qCDebug(kestroTrace) << "Qt's translation" << name << "is not in" << folder << "- Qt's texts stay English";
        delete translator;
        return false;
    }
    application->installTranslator(translator);
    installedQtTranslation = translator;
    return true;
}

} // namespace QtTranslation
