// The upgrade dialog's views as the user sees them: one message each, red only for a failure or a
// reason the upgrade cannot go on, and the buttons that fit the view, in every shipped language.
#include "device/PostMsg.h"
#include "pages/settings/UpDateRepair.h"
#include "support/LanguageRows.h"
#include "support/PageTestHome.h"
#include "widgets/UiText.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>
#include <functional>

namespace {

using Show = std::function<void(UpDateRepair&)>;

QString DialogText(int language, const char* key)
{
    return UiText::ForReader(language, QStringLiteral("UpDateRepair"), QLatin1String(key));
}

// The message views the page and the repair check show, by their text keys (the dialog's and the
// settings page's).
const char* const MessageKeys[] = {"NotDevice", "SameDevice", "NoRecieve", "NoUSB", "Error", "ErrorFile", "MultiDongle",
                                   "MultiMouse"};

} // namespace

Q_DECLARE_METATYPE(Show)

class TestUpgradeViews : public QObject
{
    Q_OBJECT
    PageTestHome home;

    // Pixels of the message line painted in a red: many for a warning, none for a notice.
    static int RedPixels(UpDateRepair& dialog)
    {
        QLabel* message = dialog.findChild<QLabel*>(QStringLiteral("ToolText_2"));
        const QImage picture = dialog.grab(message->geometry()).toImage();
        int red = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor pixel = picture.pixelColor(x, y);
                red += pixel.red() > 120 && pixel.red() > 2 * pixel.green() && pixel.red() > 2 * pixel.blue() ? 1 : 0;
            }
        return red;
    }

    static QStringList ShownButtons(UpDateRepair& dialog)
    {
        QStringList shown;
        for (const char* name : {"NewHong_2", "NewHong"}) {
            QAbstractButton* button = dialog.findChild<QAbstractButton*>(QLatin1String(name));
            if (!button->isHidden())
                shown << button->text();
        }
        return shown;
    }

    // The texts the dialog shows, each visible line once.
    static QStringList ShownTexts(UpDateRepair& dialog)
    {
        QStringList shown;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->isVisible() && !label->text().isEmpty())
                shown << label->text();
        return shown;
    }

private slots:
    void initTestCase()
    {
        home.Start();
        QVERIFY(!DialogText(0, "WarnUpdate").isEmpty());
    }
    void init()
    {
        PageTestHome::Reset();
    }

    void views_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<Show>("show");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("warning");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("bar"); // -1: hidden

        for (int language = 0; language < 3; ++language) {
            const auto text = [language](const char* key) { return DialogText(language, key); };
            const QString name = QStringLiteral(" %1").arg(language);
            QTest::newRow(qPrintable("ready" + name))
                << language << Show([](UpDateRepair& d) { d.ShowReadyView(); }) << text("ReadyUpdate") << false
                << QStringList{text("DialogUpgradeStart"), text("Cancel")} << -1;
            QTest::newRow(qPrintable("upgrading" + name)) << language << Show([](UpDateRepair& d) {
                d.ShowUpgradingView();
                d.SlotProgress(37, 0);
            }) << text("WarnUpdate") << false << QStringList{} << 37;
            QTest::newRow(qPrintable("succeeded" + name)) << language << Show([](UpDateRepair& d) {
                d.ShowUpgradingView();
                d.SlotProgress(80, 0);
                d.SlotProgress(0, 2);
            }) << text("DialogUpgradeSuccess") << false << QStringList{text("OK")} << 100;
            QTest::newRow(qPrintable("failed" + name)) << language << Show([](UpDateRepair& d) {
                d.ShowUpgradingView();
                d.SlotProgress(40, 0);
                d.SlotProgress(0, 1);
            }) << text("DialogUpgradeFail") << true << QStringList{text("OK")} << 40;
            QTest::newRow(qPrintable("repair succeeded" + name)) << language << Show([](UpDateRepair& d) {
                d.ShowUpgradingView();
                d.SlotAutoRepairProgress(100);
                d.SlotAutoRepair(0);
                d.SlotProgress(0, 2);
            }) << text("DialogUpgradeSuccess") << false << QStringList{text("OK")} << 100;
            QTest::newRow(qPrintable("repair failed" + name)) << language << Show([](UpDateRepair& d) {
                d.ShowUpgradingView();
                d.SlotAutoRepairProgress(25);
                d.SlotAutoRepair(1);
                d.SlotProgress(0, 6);
            }) << text("DialogUpgradeFail") << true << QStringList{text("OK")} << 25;
            QStringList messages;
            for (const char* key : MessageKeys)
                messages << text(key);
            // The settings page's own reasons a run ends without writing.
            for (const char* key : {"NoDevice", "WiredMode"})
                messages << UiText::ForReader(language, QStringLiteral("FormSetting"), QLatin1String(key));
            for (int m = 0; m < messages.size(); ++m) {
                const QString message = messages.at(m);
                QTest::newRow(qPrintable(QStringLiteral("message %1").arg(m) + name)) << language << Show([message](UpDateRepair& d) {
                    d.SetToolText(message);
                    d.ShowMessageView();
                }) << message << true << QStringList{text("OK")} << -1;
            }
            const QString upToDate = UiText::ForReader(language, QStringLiteral("FormSetting"), QStringLiteral("newTips"));
            QTest::newRow(qPrintable("up to date" + name)) << language << Show([upToDate](UpDateRepair& d) {
                d.SetToolText(upToDate);
                d.ShowMessageView(UpDateRepair::MessageTone::Notice);
            }) << upToDate << false << QStringList{text("OK")} << -1;
        }
    }
    void views()
    {
        QFETCH(int, language);
        QFETCH(Show, show);
        QFETCH(QString, message);
        QFETCH(bool, warning);
        QFETCH(QStringList, buttons);
        QFETCH(int, bar);
        UiLanguage = language;
        UpDateRepair dialog(nullptr);
        dialog.ResetView();
        dialog.show();
        show(dialog);
        QVERIFY(!message.isEmpty());
        QCOMPARE(ShownTexts(dialog), QStringList{message});
        QCOMPARE(RedPixels(dialog) > 20, warning);
        QCOMPARE(RedPixels(dialog) == 0, !warning);
        QCOMPARE(ShownButtons(dialog), buttons);
        // A lone button stands in the middle of the dialog.
        if (buttons.size() == 1) {
            QAbstractButton* lone = dialog.findChild<QAbstractButton*>(QStringLiteral("NewHong_2"));
            QCOMPARE(lone->x() + lone->width() / 2, dialog.width() / 2);
        }
        auto* progress = dialog.findChild<QProgressBar*>(QStringLiteral("progressBar_2"));
        QCOMPARE(progress->isVisible(), bar >= 0);
        if (bar >= 0)
            QCOMPARE(progress->value(), bar);

        const QString folder = qEnvironmentVariable("KESTRO_SHOT_DIR");
        if (!folder.isEmpty())
            QVERIFY(dialog.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-')
                                       + QStringLiteral(".png")));
    }
};

QTEST_MAIN(TestUpgradeViews)
#include "tst_upgradeviews.moc"
