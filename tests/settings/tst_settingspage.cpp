#include "device/ConnectionState.h"
#include "device/DialogChangeLists.h"
#include "device/PostMsg.h"
#include "device/UserIniStore.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/InputPicA.h"
#include "pages/settings/InputPicB.h"
#include "pages/settings/LedInfo.h"
#include "platform/AutoStartEntry.h"
#include "platform/UrlOpener.h"
#include "settings/DesktopEntryExec.h"
#include "settings/StandInProgram.h"
#include "support/FindChild.h"
#include "support/SimulatedDeviceFixture.h"
#include "support/TestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>
#include "support/LanguageRows.h"

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs action while modal dialogs may open; answer decides what to do with each (it closes it when
// it returns false). Gives the classes of the dialogs in the order they opened.
QStringList WhileModal(const std::function<void()>& action, const std::function<bool(QWidget*)>& answer = {})
{
    QStringList opened;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || (!opened.isEmpty() && opened.last() == modal->metaObject()->className() && modal->property("seen").toBool()))
            return;
        modal->setProperty("seen", true);
        opened << QString::fromLatin1(modal->metaObject()->className());
        if (!answer || !answer(modal))
            modal->close();
    });
    timer.start(5);
    action();
    // A notice shown without a loop of its own is still open here.
    QTest::qWait(20);
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (opened.isEmpty() || !modal->property("seen").toBool())
            opened << QString::fromLatin1(modal->metaObject()->className());
        modal->close();
    }
    return opened;
}

QString StoredAutoStart()
{
    return UserIniStore::Instance()->GetValue("AutoStart", "Enable");
}


} // namespace

// The settings page: language, start at login, restore defaults, the desktop's mouse settings, the
// web link, pairing, scrolling and the pictures it and its held dialogs name.
class TestSettingsPage : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir config;
    SimulatedDevices devices;
    QByteArray savedPath;

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        savedPath = qgetenv("PATH");
    }
    void init()
    {
        UiLanguage = 0;
        QDir(config.path()).removeRecursively();
        QDir().mkpath(config.path());
        UserIniStore::Instance()->SetValue("AutoStart", "Enable", "0");
        qputenv("PATH", savedPath);
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    void cleanup() { UrlOpener::SetOpener({}); }

    // ---- Language ----

    void languageChoice_data()
    {
        LanguageRows();
    }
    void languageChoice()
    {
        QFETCH(int, language);
        FormSetting page;
        PostMsg* bus = PostMsg::Instance();
        QSignalSpy all(bus, &PostMsg::SigAllLanguage);
        QSignalSpy mirrorA(bus, &PostMsg::SigLanguageSameA);
        QSignalSpy mirrorB(bus, &PostMsg::SigLanguageSameB);
        auto* combo = Child<QComboBox>(page, "comboBox");
        QVERIFY(QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, language)));
        QCOMPARE(UserIniStore::Instance()->GetValue("Language", "Language"), QString::number(language));
        QCOMPARE(UiLanguage, language);
        QCOMPARE(all.count(), 1);
        QCOMPARE(all.first().at(0).toInt(), language);
        QCOMPARE(mirrorA.count(), 1);
        QCOMPARE(mirrorA.first().at(0).toInt(), language);
        QCOMPARE(mirrorB.count(), 0);
        // The page relabels itself from the signal it sent.
        QCOMPARE(Child<QLabel>(page, "label_2")->text(), UiText::ForReader(language, "FormSetting", "Language"));
        QCOMPARE(Child<QLabel>(page, "label_10")->text(), UiText::ForReader(language, "FormSetting", "AutoOpen"));
        QCOMPARE(Child<QPushButton>(page, "pushButton_2")->text(), UiText::ForReader(language, "FormSetting", "Pair"));
        for (const char* name : {"label_2", "label_8", "label_9", "label_10"})
            QVERIFY(!Child<QLabel>(page, name)->text().isEmpty());
    }

    void selectionPageChoiceIsMirroredWithoutEcho()
    {
        FormSetting page;
        auto* combo = Child<QComboBox>(page, "comboBox");
        QSignalSpy activated(combo, QOverload<int>::of(&QComboBox::activated));
        QSignalSpy changed(combo, QOverload<int>::of(&QComboBox::currentIndexChanged));
        PostMsg* bus = PostMsg::Instance();
        QSignalSpy all(bus, &PostMsg::SigAllLanguage);
        QSignalSpy mirrorA(bus, &PostMsg::SigLanguageSameA);
        emit bus->SigLanguageSameB(2);
        QCOMPARE(combo->currentIndex(), 2);
        QCOMPARE(activated.count(), 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(all.count(), 0);
        QCOMPARE(mirrorA.count(), 0);
    }

    void versionRowByLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QPoint>("button");
        QTest::addColumn<QPoint>("receiverMarker");
        QTest::addColumn<QPoint>("mouseMarker");
        QTest::newRow("0") << 0 << QPoint(280, 170) << QPoint(460, 160) << QPoint(460, 190);
        QTest::newRow("1") << 1 << QPoint(280, 170) << QPoint(460, 160) << QPoint(460, 190);
        QTest::newRow("2") << 2 << QPoint(280, 170) << QPoint(460, 160) << QPoint(460, 190);
        QTest::newRow("3") << 3 << QPoint(430, 170) << QPoint(530, 160) << QPoint(460, 190);
        QTest::newRow("4") << 4 << QPoint(330, 170) << QPoint(460, 160) << QPoint(460, 190);
        QTest::newRow("5") << 5 << QPoint(280, 170) << QPoint(460, 160) << QPoint(460, 190);
        QTest::newRow("6, any other") << 6 << QPoint(285, 155) << QPoint(460, 160) << QPoint(460, 190);
    }
    void versionRowByLanguage()
    {
        QFETCH(int, language);
        QFETCH(QPoint, button);
        QFETCH(QPoint, receiverMarker);
        QFETCH(QPoint, mouseMarker);
        FormSetting page;
        page.SlotLabelText(0, QStringLiteral("v1.05"));
        page.SlotLabelText(1, QStringLiteral("v1.03"));
        page.SlotAllLanguage(language);
        // The update button stands at its place unless the versions reach it: then right of them.
        const QPoint at = Child<QWidget>(page, "Receive_2")->pos();
        int versionsEnd = 0;
        for (const char* name : {"label_5", "label_7"}) {
            const QLabel* version = Child<QLabel>(page, name);
            versionsEnd = qMax(versionsEnd, version->x() + version->fontMetrics().horizontalAdvance(version->text()));
        }
        QVERIFY(at.x() > versionsEnd);
        QCOMPARE(at, QPoint(qMax(button.x(), versionsEnd + 14), button.y()));
        QCOMPARE(Child<QWidget>(page, "toolButton_2")->pos(), receiverMarker);
        QCOMPARE(Child<QWidget>(page, "toolButton_3")->pos(), mouseMarker);
        QVERIFY(Child<QWidget>(page, "Receive_2")->isHidden());
        QVERIFY(Child<QWidget>(page, "NewLabel")->isHidden());
    }

    // The product label shows item 1 of the first row of the labels file's product table (item 0
    // for a language index outside 0..5), the web link item 3, as the table holds them.
    void productLabels_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("item");
        QTest::newRow("English") << 0 << 1;
        QTest::newRow("Chinese") << 1 << 1;
        QTest::newRow("Russian") << 2 << 1;
        QTest::newRow("5") << 5 << 1;
        QTest::newRow("6, outside the table") << 6 << 0;
    }
    void productLabels()
    {
        QFETCH(int, language);
        QFETCH(int, item);
        QList<QStringList>& table = UiTextTables::Instance()->CompanyInfoList;
        const QList<QStringList> shipped = table;
        table = {{"item 0", "item 1", "item 2", "item 3"}, {"row 1 item 0", "row 1 item 1", "", ""}};
        FormSetting page;
        page.SlotAllLanguage(language);
        const QString label = Child<QPushButton>(page, "pushButton_4")->text();
        const QString link = Child<QPushButton>(page, "pushButton_3")->text();
        table = shipped;
        QCOMPARE(label, QStringLiteral("item %1").arg(item));
        QCOMPARE(link, QStringLiteral("item 3"));
    }

    // ---- Start at login ----

    // The box shows what the session does at the next login: whether the entry is there, whatever
    // the stored choice says (a full disk can keep the choice from being written after the entry was
    // written or removed).
    void autoStartBoxShowsTheEntry_data()
    {
        QTest::addColumn<bool>("entry");
        QTest::addColumn<QString>("stored"); // "<absent>": no value
        for (bool entry : {true, false}) {
            for (const char* stored : {"1", "0", "<absent>", "x"})
                QTest::addRow("%s, stored %s", entry ? "entry" : "no entry", stored) << entry << QString(stored);
        }
    }
    void autoStartBoxShowsTheEntry()
    {
        QFETCH(bool, entry);
        QFETCH(QString, stored);
        if (entry)
            QVERIFY(AutoStartEntry::Write(QCoreApplication::applicationFilePath()));
        if (stored != "<absent>")
            UserIniStore::Instance()->SetValue("AutoStart", "Enable", stored);
        else
            UserIniStore::Instance()->RemoveValue("AutoStart", "Enable");
        FormSetting page;
        QCOMPARE(Child<QCheckBox>(page, "checkBox")->isChecked(), entry);
        QCOMPARE(StoredAutoStart(), stored == "<absent>" ? QString() : stored);
    }

    void autoStartWritesAndRemovesTheEntry()
    {
        FormSetting page;
        auto* box = Child<QCheckBox>(page, "checkBox");
        QFile other(AutoStartEntry::Folder() + "/other.desktop");
        QVERIFY(QDir().mkpath(AutoStartEntry::Folder()));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();

        box->click();
        QVERIFY(box->isChecked());
        QCOMPARE(StoredAutoStart(), QString("1"));
        const QString entry = QString::fromUtf8(ReadAll(AutoStartEntry::Path()));
        QCOMPARE(SplitDesktopEntryExec(ExecOf(entry)), QStringList{QCoreApplication::applicationFilePath()});

        box->click();
        QVERIFY(!box->isChecked());
        QCOMPARE(StoredAutoStart(), QString("0"));
        QVERIFY(!AutoStartEntry::Exists());
        QVERIFY(other.exists());
    }

    // The entry decides: when it cannot be written or removed, the box goes back, the store keeps
    // its value and the user is told.
    void autoStartRefusedChangesNothing_data()
    {
        QTest::addColumn<bool>("checking");
        QTest::newRow("checking, folder not writable") << true;
        QTest::newRow("unchecking, entry not removable") << false;
    }
    void autoStartRefusedChangesNothing()
    {
        QFETCH(bool, checking);
        const QString before = checking ? "0" : "1";
        UserIniStore::Instance()->SetValue("AutoStart", "Enable", before);
        if (checking) {
            // A file where the folder belongs stops any writer, whoever runs the test.
            QFile blocker(AutoStartEntry::Folder());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(AutoStartEntry::Path() + "/held"));
        }
        FormSetting page;
        auto* box = Child<QCheckBox>(page, "checkBox");
        // Something stands where the entry belongs when unchecking: the box shows it as there.
        QCOMPARE(box->isChecked(), !checking);
        QSignalSpy toggled(box, &QCheckBox::toggled);
        const QStringList opened = WhileModal([&] { box->click(); });
        QCOMPARE(box->isChecked(), !checking);
        QCOMPARE(StoredAutoStart(), before);
        QCOMPARE(opened, QStringList{"UpDateWarning"});
        // The box went back with its signals blocked: one toggle by the click, none by the repair.
        QCOMPARE(toggled.count(), 1);
    }

    // ---- Restore defaults ----

    // After OK the working copy is pushed, then the mouse clears its settings: it ends holding its
    // model's defaults, not the record pushed. Cancel and a mouse away leave it as it was.
    void restoreDefaults_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<bool>("sent");
        QTest::newRow("offline") << false << "" << QStringList{} << false;
        QTest::newRow("Cancel") << true << "Cancel" << QStringList{"ContainReset"} << false;
        // The wait that follows belongs to the device window's shell (tested with the button page).
        QTest::newRow("OK") << true << "OK" << QStringList{"ContainReset"} << true;
    }
    void restoreDefaults()
    {
        QFETCH(bool, online);
        QFETCH(QString, answer);
        QFETCH(QStringList, opened);
        QFETCH(bool, sent);
        FlashDataMap record{};
        const int device = devices.OpenWiredMouse(&record);
        QVERIFY(device >= 0);
        // The model's defaults, as the mouse restores them; then a record of the user's own, held by
        // the mouse and by the working copy.
        QCOMPARE(UsbServer_SetClearSetting(), uint8_t(1));
        QVERIFY(SimControl_WaitIdle(5000));
        const FlashDataMap defaults = devices.Record(device);
        FlashDataMap own = defaults;
        own.sleepTime = uint8_t(defaults.sleepTime + 3);
        own.debounceTime = uint8_t((defaults.debounceTime + 5) % 16);
        own.lightRed = uint8_t(defaults.lightRed ^ 0x5A);
        QVERIFY(SimControl_SetDeviceRecord(device, own.bytes()));
        AdoptDeviceConfig(own);
        QCOMPARE(devices.RecordDifferences(device, own), QString());
        const int clears = SimControl_ReadCount(HIDUSB_REPORT_DEFAULTS_RESTORED);
        if (!online)
            SimControl_SetAttached(device, 0);
        FormSetting page;
        page.show();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int updates = SimControl_UpdateCount();
        const QStringList seen = WhileModal([&] { Child<QAbstractButton>(page, "Reset")->click(); }, [&](QWidget* modal) {
            if (QByteArray(modal->metaObject()->className()) != "ContainReset")
                return false;
            QTimer::singleShot(0, modal, [modal, answer] { Child<QAbstractButton>(*modal, answer.toLatin1().constData())->click(); });
            return true;
        });
        QCOMPARE(seen, opened);
        QCOMPARE(offline.count(), online ? 0 : 1);
        QVERIFY(SimControl_WaitIdle(5000));
        QCOMPARE(SimControl_UpdateCount() - updates, sent ? 1 : 0);
        QCOMPARE(SimControl_ReadCount(HIDUSB_REPORT_DEFAULTS_RESTORED) - clears, sent ? 1 : 0);
        if (sent) {
            FlashDataMap pushed{};
            QVERIFY(SimControl_LastUpdate(pushed.bytes()));
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(pushed.bytes()), sizeof pushed),
                     QByteArray(reinterpret_cast<const char*>(own.bytes()), sizeof own));
        }
        if (online)
            QCOMPARE(devices.RecordDifferences(device, sent ? defaults : own), QString());
        QVERIFY(!SettingsWriteInProgress);
    }

    // ---- The desktop's mouse settings and the web link ----

    void mouseSettingsRow()
    {
        QTemporaryDir folder;
        WriteStandInProgram(folder.filePath("gnome-control-center"), folder.filePath("record"));
        qputenv("PATH", folder.path().toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        FormSetting page;
        QVERIFY(!Child<QWidget>(page, "toolButton")->isHidden());
        QVERIFY(!Child<QWidget>(page, "pushButton")->isHidden());
        Child<QAbstractButton>(page, "pushButton")->click();
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(folder.filePath("record")); }, 10000));
        QCOMPARE(ReadAll(folder.filePath("record")), QByteArray("mouse\n"));
    }

    void noMouseSettingsHidesTheRow()
    {
        QTemporaryDir folder;
        qputenv("PATH", folder.path().toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        FormSetting page;
        QVERIFY(Child<QWidget>(page, "toolButton")->isHidden());
        QVERIFY(Child<QWidget>(page, "pushButton")->isHidden());
    }

    void webLink_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("opened") << true << QStringList{};
        QTest::newRow("refused: the user is told") << false << QStringList{"UpDateWarning"};
    }
    void webLink()
    {
        QFETCH(bool, opens);
        QFETCH(QStringList, opened);
        FormSetting page;
        page.show();
        QList<QUrl> asked;
        UrlOpener::SetOpener([&](const QUrl& url) {
            asked << url;
            return opens;
        });
        auto* link = Child<QAbstractButton>(page, "pushButton_3");
        QVERIFY(!link->text().isEmpty());
        QCOMPARE(WhileModal([&] { link->click(); }), opened);
        QCOMPARE(asked, QList<QUrl>{QUrl(link->text())});
    }

    // ---- Pairing, scrolling, pictures ----

    void pairButtonOpensPairing()
    {
        FlashDataMap record{};
        QVERIFY(devices.OpenDevice(false, &record) >= 0);
        FormSetting page;
        page.show();
        QCOMPARE(WhileModal([&] { Child<QAbstractButton>(page, "pushButton_2")->click(); }), QStringList{"Match"});
        QVERIFY(PairFromDeviceWindow);
        StopUsbChanged();
    }

    void scrollingKeepsTheVersionInView_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::newRow("0") << 0;
        QTest::newRow("1") << 1;
        QTest::newRow("75") << 75;
    }
    void scrollingKeepsTheVersionInView()
    {
        QFETCH(int, pixels);
        FormSetting page;
        auto* label = Child<QLabel>(page, "label");
        const QPoint saved = label->pos();
        QScrollBar* bar = Child<QScrollArea>(page, "scrollArea")->verticalScrollBar();
        bar->setRange(0, 200);
        bar->setValue(pixels == 0 ? 1 : 0);
        bar->setValue(pixels);
        QCOMPARE(label->pos(), QPoint(saved.x(), saved.y() + pixels + 10));
    }

    void everyPictureNamedExists()
    {
        const QRegularExpression url("url\\(([^)]*)\\)");
        std::vector<std::unique_ptr<QWidget>> widgets;
        widgets.emplace_back(new FormSetting);
        widgets.emplace_back(new LedInfo);
        widgets.emplace_back(new InputPicA);
        widgets.emplace_back(new InputPicB);
        int named = 0;
        for (const auto& top : widgets) {
            QList<QWidget*> all = top->findChildren<QWidget*>();
            all << top.get();
            for (QWidget* widget : all) {
                auto match = url.globalMatch(widget->styleSheet());
                while (match.hasNext()) {
                    const QString path = match.next().captured(1).trimmed();
                    QVERIFY2(QFileInfo(path).isFile(), qPrintable(widget->objectName() + ": " + path));
                    ++named;
                }
            }
        }
        QVERIFY(named >= 40);
    }
};

QTEST_MAIN(TestSettingsPage)
#include "tst_settingspage.moc"
