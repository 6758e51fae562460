#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/buttons/FireKey.h"
#include "pages/buttons/GroupKey.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/ButtonPageSupport.h"
#include "support/FindChild.h"
#include "support/ModalCloser.h"
#include "support/ShippedMouseTest.h"
#include "widgets/UiText.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <functional>

namespace {

using ButtonPageSupport::Bytes;

QToolButton* Button(const QWidget& page, const char* name)
{
    return Child<QToolButton>(page, name);
}

int MenuPage(const QWidget& page)
{
    return Child<QStackedWidget>(page, "stackedWidget")->currentIndex();
}

QString SubPage(const QWidget& page)
{
    return Child<QStackedWidget>(page, "stackedWidget_2")->currentWidget()->objectName();
}

// Where the button page's dialogs stand: over the page's centre, 50 left and 70 up.
QPoint NoticePlace(const QWidget& page, const QWidget& dialog)
{
    const QPoint topLeft = page.mapToGlobal(QPoint(0, 0));
    return topLeft + QPoint((page.width() - dialog.width()) / 2 - 50, (page.height() - dialog.height()) / 2 - 70);
}

// Runs action; the first modal dialog of class Dialog that shows meanwhile gets answer. False when
// none showed.
template <typename Dialog>
bool Answering(const std::function<void()>& action, const std::function<void(Dialog&)>& answer)
{
    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || shown)
            return;
        shown = true;
        poll.stop();
        answer(*dialog);
    });
    poll.start(5);
    action();
    poll.stop();
    return shown;
}

QString MacroFolder()
{
    return AppPaths::UserDataFolder() + QStringLiteral("/usersetting/MacroPage");
}

void WriteMacro(const QString& name, const QByteArray& content)
{
    QFile file(MacroFolder() + QLatin1Char('/') + name + QStringLiteral(".ini"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

} // namespace

// The menu entries that ask before they assign, clicked on the button page over the simulated
// mouse: rapid fire, the key combination and the macros, byte for byte on the mouse.
class TestButtonDialogs : public ShippedMouseTest
{
    Q_OBJECT
    FlashDataMap record{};
    // The mouse's record as the library first gives it: the mouse keeps its flash from row to row.
    FlashDataMap factory{};
    bool haveFactory = false;
    int mouse = -1;
    Buttoninterface* page = nullptr;

    // A new page over the wired mouse with its record shown, the selector checked and the menu open.
    void OpenPage(const char* selector)
    {
        delete page;
        page = new Buttoninterface;
        mouse = devices->OpenWiredMouse(&record);
        QVERIFY(mouse >= 0);
        if (!haveFactory) {
            factory = record;
            haveFactory = true;
        }
        QVERIFY(SimControl_SetDeviceRecord(mouse, factory.bytes()));
        record = factory;
        AdoptDeviceConfig(record);
        page->SlotUpDataButtonUIB(record);
        page->show();
        if (selector)
            Button(*page, selector)->setChecked(true);
        Child<QStackedWidget>(*page, "stackedWidget")->setCurrentWidget(Child<QWidget>(*page, "page_2"));
    }
    void VerifyNothingWritten()
    {
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(record));
    }
    // A press on the rapid-fire entry, as the mouse gives it: the entry answers on the press.
    void PressFireKey() { QTest::mousePress(Button(*page, "DPI_6"), Qt::LeftButton); }

private slots:
    void initTestCase()
    {
        Start();
    }
    void cleanupTestCase()
    {
        delete page;
        page = nullptr;
        Stop();
    }
    void init()
    {
        UiLanguage = 0;
        QDir(MacroFolder()).removeRecursively();
        QDir().mkpath(MacroFolder());
    }

    // The rapid-fire dialog starts from the button's own values when it fires already, else from
    // 10 and 3; confirmed, the button gets {4, interval, count}; cancelled or closed, nothing
    // changes and the menu stays open.
    void fireKey_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("firesAlready"); // button 4 fires with 77 and 2 before the press
        QTest::addColumn<int>("shownInterval");
        QTest::addColumn<int>("shownCount");
        QTest::addColumn<QString>("answer");
        QTest::newRow("row 4 confirmed with 50 and 0") << "StartPause" << 4 << false << 10 << 3 << "NewHong";
        QTest::newRow("a button that fires shows its own values") << "StartPause" << 4 << true << 77 << 2 << "NewHong";
        QTest::newRow("another button that does not fire shows 10 and 3") << "RightKey" << 1 << true << 10 << 3
                                                                           << "NewHong";
        QTest::newRow("cancelled") << "StartPause" << 4 << false << 10 << 3 << "NewHong_2";
        QTest::newRow("closed") << "BackKey" << 2 << true << 10 << 3 << "CloseButton";
    }
    void fireKey()
    {
        QFETCH(QString, selector);
        QFETCH(int, button);
        QFETCH(bool, firesAlready);
        QFETCH(int, shownInterval);
        QFETCH(int, shownCount);
        QFETCH(QString, answer);
        OpenPage(selector.toLatin1().constData());
        const QString fireText = Button(*page, "DPI_6")->text();
        if (firesAlready) {
            QVERIFY(page->AssignToButton(4, FunctionFireKey, 77, 2, fireText));
            QVERIFY(SimControl_WaitIdle(2000));
            record = devices->Record(mouse);
        }
        const QString labelBefore = page->SelectorOfButton(button)->text();
        const Buttoninterface::CopyEntry copyBefore = page->FunctionAt(button);

        int interval = -1, count = -1;
        QPoint place, expectedPlace;
        const bool shown = Answering<FireKey>([this] { PressFireKey(); }, [&](FireKey& dialog) {
            interval = Child<QSpinBox>(dialog, "Time")->value();
            count = Child<QSpinBox>(dialog, "Count")->value();
            place = dialog.pos();
            expectedPlace = NoticePlace(*page, dialog);
            Child<QSpinBox>(dialog, "Time")->setValue(50);
            Child<QSpinBox>(dialog, "Count")->setValue(0);
            QTest::mouseClick(Button(dialog, answer.toLatin1().constData()), Qt::LeftButton);
        });
        QVERIFY(shown);
        QCOMPARE(interval, shownInterval);
        QCOMPARE(count, shownCount);
        QCOMPARE(place, expectedPlace);
        QVERIFY(SimControl_WaitIdle(2000));

        if (answer == QLatin1String("NewHong")) {
            ButtonPageSupport::Place(record, button, 4, 50, 0);
            QCOMPARE(devices->RecordDifferences(mouse, record), QString());
            const Buttoninterface::CopyEntry copy = page->FunctionAt(button);
            QCOMPARE(QList<int>({copy.type, copy.code, copy.parameter}), QList<int>({4, 50, 0}));
            QCOMPARE(page->SelectorOfButton(button)->text(), fireText);
            QCOMPARE(MenuPage(*page), 0);
            QCOMPARE(SubPage(*page), QStringLiteral("page_9"));
        } else {
            VerifyNothingWritten();
            const Buttoninterface::CopyEntry copy = page->FunctionAt(button);
            QCOMPARE(QList<int>({copy.type, copy.code, copy.parameter}),
                     QList<int>({copyBefore.type, copyBefore.code, copyBefore.parameter}));
            QCOMPARE(page->SelectorOfButton(button)->text(), labelBefore);
            QCOMPARE(MenuPage(*page), 1);
        }
    }

    // A double click on the entry assigns at once with the stored values: 10 and 3 on a new page,
    // the last confirmed ones afterwards. The dialog that follows it, closed, changes nothing.
    void fireKeyDoubleClick()
    {
        OpenPage("StartPause");
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        {
            ModalCloser closer;
            QApplication::sendEvent(Button(*page, "DPI_6"), &doubleClick);
            QCOMPARE(closer.opened, QStringList{"FireKey"});
        }
        QVERIFY(SimControl_WaitIdle(2000));
        ButtonPageSupport::Place(record, 4, 4, 10, 3);
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());
        QCOMPARE(MenuPage(*page), 0);

        // The values of a confirmed dialog are the ones a later double click gives.
        Button(*page, "RightKey")->setChecked(true);
        QVERIFY(Answering<FireKey>([this] { PressFireKey(); }, [](FireKey& dialog) {
            Child<QSpinBox>(dialog, "Time")->setValue(200);
            Child<QSpinBox>(dialog, "Count")->setValue(1);
            Child<QToolButton>(dialog, "NewHong")->click();
        }));
        Button(*page, "BackKey")->setChecked(true);
        ModalCloser closer;
        QApplication::sendEvent(Button(*page, "DPI_6"), &doubleClick);
        QVERIFY(SimControl_WaitIdle(2000));
        ButtonPageSupport::Place(record, 1, 4, 200, 1);
        ButtonPageSupport::Place(record, 2, 4, 200, 1);
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());
    }

    // With no selector checked the dialog starts from 10 and 3; confirmed, nothing is written and
    // the menu closes.
    void fireKeyWithoutAButton()
    {
        OpenPage(nullptr);
        int interval = -1, count = -1;
        QVERIFY(Answering<FireKey>([this] { PressFireKey(); }, [&](FireKey& dialog) {
            interval = Child<QSpinBox>(dialog, "Time")->value();
            count = Child<QSpinBox>(dialog, "Count")->value();
            Child<QSpinBox>(dialog, "Time")->setValue(50);
            Child<QToolButton>(dialog, "NewHong")->click();
        }));
        QCOMPARE(QList<int>({interval, count}), QList<int>({10, 3}));
        QVERIFY(SimControl_WaitIdle(2000));
        VerifyNothingWritten();
        QCOMPARE(MenuPage(*page), 0);
    }

    // With the mouse away a press on the entry only closes the menu: no dialog, no notice, no write.
    void fireKeyOffline()
    {
        OpenPage("StartPause");
        SimControl_SetAttached(mouse, 0);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        ModalCloser closer;
        PressFireKey();
        QCOMPARE(closer.opened, QStringList());
        QCOMPARE(offline.count(), 0);
        QCOMPARE(MenuPage(*page), 0);
        QCOMPARE(SubPage(*page), QStringLiteral("page_9"));
        SimControl_SetAttached(mouse, 1);
        VerifyNothingWritten();
    }

    // Alt and F4 in the key-combination dialog on button 1: {5, 0, 0} with the four events (press
    // Alt, press F4, release F4, release Alt, 10 ms each), the names on the selector, and the main
    // list still open. Cancelled, nothing changes.
    void keyCombination_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("Alt+F4 confirmed") << "NewHong";
        QTest::newRow("cancelled") << "NewHong_2";
    }
    void keyCombination()
    {
        QFETCH(QString, answer);
        OpenPage("RightKey");
        const QString labelBefore = Button(*page, "RightKey")->text();
        QPoint place, expectedPlace;
        QString problem;
        const bool shown = Answering<GroupKey>([this] { QTest::mousePress(Button(*page, "DPI_8"), Qt::LeftButton); },
                                               [&](GroupKey& dialog) {
            place = dialog.pos();
            expectedPlace = NoticePlace(*page, dialog);
            if (!QTest::qWaitForWindowActive(&dialog))
                problem = QStringLiteral("the dialog was not activated");
            QTest::mouseClick(Child<QCheckBox>(dialog, "Alt"), Qt::LeftButton);
            QTest::keyClick(dialog.windowHandle(), Qt::Key_F4);
            QTest::mouseClick(Button(dialog, answer.toLatin1().constData()), Qt::LeftButton);
        });
        QVERIFY(shown);
        QCOMPARE(problem, QString());
        QCOMPARE(place, expectedPlace);
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(MenuPage(*page), 1);
        if (answer == QLatin1String("NewHong_2")) {
            VerifyNothingWritten();
            QCOMPARE(Button(*page, "RightKey")->text(), labelBefore);
            return;
        }
        const QByteArray events = QByteArray::fromHex("04000000"
                                                      "000004000a000000" "00013d000a000000"
                                                      "01013d000a000000" "010004000a000000");
        ButtonPageSupport::Place(record, 1, 5, 0, 0, events + QByteArray(int(sizeof(ButtonKeyRecord)) - events.size(), '\0'));
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());
        QCOMPARE(Button(*page, "RightKey")->text(), QStringLiteral("Alt+F4"));
        const Buttoninterface::CopyEntry copy = page->FunctionAt(1);
        QCOMPARE(QList<int>({copy.type, copy.code, copy.parameter}), QList<int>({5, 0, 0}));
        QCOMPARE(SubPage(*page), QStringLiteral("page_9"));
    }

    // A macro of the list on a button: {6, the button's own index, the repeat mode's low 8 bits}
    // with the block of the macro's file on the mouse and in the working copy, the whole repeat
    // mode in the page's copy, the label prefix and the name on the selector, the menu closed.
    void macroAssignment_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("button");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::addColumn<int>("deviceRepeat");
        QTest::addColumn<int>("copyRepeat");
        QTest::newRow("abc until released on Button9") << "Button9" << 8 << QByteArray("254") << 254 << 254;
        QTest::newRow("300 cycles keep their low byte") << "BackKey" << 2 << QByteArray("300") << 44 << 300;
        QTest::newRow("row 4 plays from slot 4") << "StartPause" << 4 << QByteArray("3") << 3 << 3;
        QTest::newRow("not a number") << "TopMusic" << 3 << QByteArray("many") << 0 << 0;
    }
    void macroAssignment()
    {
        QFETCH(QString, selector);
        QFETCH(int, button);
        QFETCH(QByteArray, firstLine);
        QFETCH(int, deviceRepeat);
        QFETCH(int, copyRepeat);
        WriteMacro(QStringLiteral("abc"), firstLine + "\n0x04 1 0\n10ms\n0x04 1 1\n");
        OpenPage(selector.toLatin1().constData());
        QTest::mouseClick(Button(*page, "DPI_10"), Qt::LeftButton);
        QCOMPARE(SubPage(*page), QStringLiteral("page_5"));
        QToolButton* entry = page->MacroListButtons().first();
        QCOMPARE(entry->text(), QStringLiteral("abc"));
        QTest::mouseClick(entry, Qt::LeftButton);
        QVERIFY(SimControl_WaitIdle(2000));

        bool ok = false;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(QStringLiteral("abc"), &ok);
        QVERIFY(ok);
        ButtonPageSupport::Place(record, button, 6, button, deviceRepeat, Bytes(block));
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(record));
        const Buttoninterface::CopyEntry copy = page->FunctionAt(button);
        QCOMPARE(QList<int>({copy.type, copy.code, copy.parameter}), QList<int>({6, button, copyRepeat}));
        QCOMPARE(page->SelectorOfButton(button)->text(), page->MacroLabel(QStringLiteral("abc")));
        QVERIFY(page->SelectorOfButton(button)->text() != QStringLiteral("abc"));
        QCOMPARE(MenuPage(*page), 0);
        QCOMPARE(SubPage(*page), QStringLiteral("page_9"));
    }

    // What writes no macro: a file gone since the list was made (with the notice saying so), no
    // selector checked, and the only button with the left click, which keeps it with the notice.
    void macroRefused_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<bool>("fileGone");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("missing file") << "BackKey" << true << QStringList{"SameMacro"};
        QTest::newRow("no button selected") << "" << false << QStringList();
        QTest::newRow("the only left click") << "FireKey" << false << QStringList{"LeftButtonOnly"};
    }
    void macroRefused()
    {
        QFETCH(QString, selector);
        QFETCH(bool, fileGone);
        QFETCH(QStringList, notices);
        WriteMacro(QStringLiteral("abc"), "1\n0x04 1 0\n10ms\n0x04 1 1\n");
        OpenPage(selector.isEmpty() ? nullptr : selector.toLatin1().constData());
        QStringList labels;
        for (int button = 0; button < 12; ++button)
            labels << page->SelectorOfButton(button)->text();
        if (fileGone)
            QVERIFY(QFile::remove(MacroFolder() + QStringLiteral("/abc.ini")));
        QTest::mouseClick(Button(*page, "DPI_10"), Qt::LeftButton);
        ModalCloser closer;
        QTest::mouseClick(page->MacroListButtons().first(), Qt::LeftButton);
        QCOMPARE(closer.opened, notices);
        QVERIFY(SimControl_WaitIdle(2000));
        VerifyNothingWritten();
        for (int button = 0; button < 12; ++button)
            QCOMPARE(page->SelectorOfButton(button)->text(), labels.at(button));
        QCOMPARE(MenuPage(*page), 0);
    }

    // The macro category without a macro asks for one first, over the page, and leaves the main
    // list open; with a macro (the list's hidden placeholders are none) it shows the list.
    void macroCategory()
    {
        OpenPage("BackKey");
        QVERIFY(page->MacroListButtons().isEmpty());
        const QString label = Button(*page, "BackKey")->text();
        ModalCloser closer;
        QTest::mouseClick(Button(*page, "DPI_10"), Qt::LeftButton);
        QCOMPARE(closer.opened, QStringList{"MakeMacro"});
        QCOMPARE(closer.positions.size(), 1);
        QCOMPARE(SubPage(*page), QStringLiteral("page_9"));
        QCOMPARE(MenuPage(*page), 1);
        QCOMPARE(Button(*page, "BackKey")->text(), label);
        VerifyNothingWritten();

        WriteMacro(QStringLiteral("abc"), "1\n");
        page->SlotAddMacroButton();
        QVERIFY(page->MacroListButtons().size() > 1);
        QTest::mouseClick(Button(*page, "DPI_10"), Qt::LeftButton);
        QCOMPARE(closer.opened, QStringList{"MakeMacro"});
        QCOMPARE(SubPage(*page), QStringLiteral("page_5"));
    }

    // With KESTRO_BUTTON_SHOTS set to a folder, the three dialogs are drawn there in each language.
    void dialogShots_data()
    {
        ButtonPageSupport::LanguageRows();
    }
    void dialogShots()
    {
        QFETCH(int, language);
        const QString folder = ButtonPageSupport::ShotFolder();
        if (folder.isEmpty())
            QSKIP("KESTRO_BUTTON_SHOTS names no folder");
        UiLanguage = language;
        OpenPage("StartPause");
        page->SlotAllLanguage(language);
        const auto shoot = [&](const QString& name) {
            return [folder, name, language](QDialog& dialog) {
                QTest::qWait(50);
                dialog.grab().save(folder + QStringLiteral("/%1-%2.png").arg(name).arg(language));
                dialog.close();
            };
        };
        QVERIFY(Answering<FireKey>([this] { PressFireKey(); }, shoot(QStringLiteral("firekey"))));
        QVERIFY(Answering<GroupKey>([this] { QTest::mousePress(Button(*page, "DPI_8"), Qt::LeftButton); },
                                    shoot(QStringLiteral("groupkey"))));
        QVERIFY(Answering<QDialog>([this] { QTest::mouseClick(Button(*page, "DPI_10"), Qt::LeftButton); },
                                   shoot(QStringLiteral("makemacro"))));
    }
};

QTEST_MAIN(TestButtonDialogs)
#include "tst_buttondialogs.moc"
