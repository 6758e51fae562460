#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/buttons/GroupKey.h"
#include "support/FindChild.h"
#include "support/ShippedMouseTest.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/KeyboardHook.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <cstring>

// A key combination from the keyboard to the mouse: the dialog run as the button page runs it, keys
// typed through the application's event path, the record on the simulated mouse byte for byte.
class TestKeyCombination : public ShippedMouseTest
{
    Q_OBJECT

    struct Entry {
        QString ticked;
        QList<Qt::Key> keys;
    };

    // Runs the dialog with exec(); once it shows, ticks with the mouse, types into its window and
    // confirms. What went wrong on the way (the dialog is then cancelled) goes to *problem.
    static QString RunDialog(const QString& ticked, const QList<Qt::Key>& keys, bool* ok, QString* problem)
    {
        GroupKey dialog;
        QTimer::singleShot(0, &dialog, [&] {
            if (!QTest::qWaitForWindowActive(&dialog)) {
                *problem = QStringLiteral("the dialog was not activated");
                dialog.reject();
                return;
            }
            for (const QString& name : ticked.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                auto* box = Child<QCheckBox>(dialog, name.toLatin1().constData());
                QTest::mouseClick(box, Qt::LeftButton);
                if (!box->isChecked())
                    *problem = name + QStringLiteral(" was not ticked");
            }
            // The keys reach the field through the hook wherever the focus is.
            for (Qt::Key key : keys)
                QTest::keyClick(dialog.windowHandle(), key);
            Child<QToolButton>(dialog, "NewHong")->click();
        });
        dialog.exec();
        *ok = dialog.IsOk;
        return dialog.KeyString;
    }

private slots:
    void initTestCase()
    {
        Start();
    }
    void cleanupTestCase()
    {
        Stop();
    }

    void shiftAndTwoKeysReachTheMouse_data()
    {
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<QList<Qt::Key>>("keys");
        QTest::addColumn<QString>("combination");
        QTest::addColumn<QByteArray>("events");
        // Presses in order, releases in reverse; each event: action, kind, usage (16 bits), 10 ms.
        QTest::newRow("Shift+A+B") << "Shift" << QList<Qt::Key>{Qt::Key_A, Qt::Key_B} << "Shift+A+B"
                                   << QByteArray::fromHex("06000000"
                                                          "000002000a000000" "000104000a000000" "000105000a000000"
                                                          "010105000a000000" "010104000a000000" "010002000a000000");
        QTest::newRow("Ctrl pressed adds nothing: F5+Esc") << "" << QList<Qt::Key>{Qt::Key_Control, Qt::Key_F5, Qt::Key_Escape}
                                                         << "F5+Esc"
                                                         << QByteArray::fromHex("04000000"
                                                                                "00013e000a000000" "000129000a000000"
                                                                                "010129000a000000" "01013e000a000000");
    }
    void shiftAndTwoKeysReachTheMouse()
    {
        QFETCH(QString, ticked);
        QFETCH(QList<Qt::Key>, keys);
        QFETCH(QString, combination);
        QFETCH(QByteArray, events);
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = devices->OpenWiredMouse(&record);
        QVERIFY(mouse >= 0);
        page.SlotUpDataButtonUIB(record);

        bool ok = false;
        QString problem;
        const QString keysText = RunDialog(ticked, keys, &ok, &problem);
        QCOMPARE(problem, QString());
        QCOMPARE(keysText, combination);
        QVERIFY(ok);
        QVERIFY(!KeyboardHook::KeyCombination().IsInstalled());
        page.AssignKeyCombination(2, keysText);

        FlashDataMap expected = record;
        expected.buttons[2] = ButtonFunction{FunctionKeyRecord, 0, 0};
        std::memset(&expected.keyRecords[2], 0, sizeof(ButtonKeyRecord));
        std::memcpy(&expected.keyRecords[2], events.constData(), size_t(events.size()));
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        const FlashDataMap held = devices->Record(mouse);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&held.keyRecords[2]), int(sizeof(ButtonKeyRecord))),
                 events + QByteArray(int(sizeof(ButtonKeyRecord)) - events.size(), '\0'));
        QCOMPARE(page.SelectorOfButton(2)->text(), combination);
    }

    // OK with nothing chosen, on the button page over the mouse: OK is disabled, a click on it (or a
    // press that gets through) leaves the dialog open, the mouse's record stays byte for byte and the
    // selector keeps its text. Something chosen enables OK, emptied again it is disabled again; a
    // combination then confirmed in the same dialog reaches the mouse as ever.
    void emptyCombinationIsRefused()
    {
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = devices->OpenWiredMouse(&record);
        QVERIFY(mouse >= 0);
        page.SlotUpDataButtonUIB(record);
        page.show();
        QToolButton* selector = page.SelectorOfButton(2);
        selector->setChecked(true);
        const QString label = selector->text();
        QVERIFY(!label.isEmpty());
        const FlashDataMap held = devices->Record(mouse);
        // What the mouse holds, byte for byte.
        const auto mouseBytes = [this, mouse] {
            const FlashDataMap now = devices->Record(mouse);
            return QByteArray(reinterpret_cast<const char*>(now.bytes()), int(sizeof(FlashDataMap)));
        };
        const QByteArray heldBytes = mouseBytes();
        const int updates = SimControl_UpdateCount();

        QString problem;
        bool seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<GroupKey*>(QApplication::activeModalWidget());
            if (!dialog || seen)
                return;
            seen = true;
            poll.stop();
            if (!QTest::qWaitForWindowActive(dialog))
                problem += QStringLiteral("the dialog was not activated; ");
            auto* ok = Child<QToolButton>(*dialog, "NewHong");
            auto* ctrl = Child<QCheckBox>(*dialog, "Ctrl");
            if (ok->isEnabled())
                problem += QStringLiteral("OK enabled with nothing chosen; ");
            QTest::mouseClick(ok, Qt::LeftButton);
            // And as a press that got through all the same.
            QMetaObject::invokeMethod(dialog, "on_NewHong_clicked");
            if (!dialog->isVisible() || dialog->IsOk)
                problem += QStringLiteral("OK took an empty combination; ");
            QCoreApplication::processEvents();
            if (mouseBytes() != heldBytes || SimControl_UpdateCount() != updates)
                problem += QStringLiteral("the mouse's record changed; ");
            if (selector->text() != label)
                problem += QStringLiteral("the selector's text changed; ");
            QTest::mouseClick(ctrl, Qt::LeftButton);
            if (!ok->isEnabled())
                problem += QStringLiteral("OK disabled with Ctrl ticked; ");
            QTest::mouseClick(ctrl, Qt::LeftButton);
            if (ok->isEnabled())
                problem += QStringLiteral("OK enabled again with nothing chosen; ");
            QTest::keyClick(dialog->windowHandle(), Qt::Key_C);
            if (!ok->isEnabled())
                problem += QStringLiteral("OK disabled with a key in the field; ");
            QTest::mouseClick(ctrl, Qt::LeftButton);
            QTest::mouseClick(ok, Qt::LeftButton);
            if (dialog->isVisible())
                dialog->reject();
        });
        poll.start(5);
        QMetaObject::invokeMethod(&page, "on_DPI_8_clicked");
        poll.stop();
        QVERIFY(seen);
        QCOMPARE(problem, QString());
        QVERIFY(SimControl_WaitIdle(5000));
        QCOMPARE(SimControl_UpdateCount(), updates + 1);
        FlashDataMap expected = held;
        expected.buttons[2] = ButtonFunction{FunctionKeyRecord, 0, 0};
        std::memset(&expected.keyRecords[2], 0, sizeof(ButtonKeyRecord));
        const QByteArray events = QByteArray::fromHex("04000000" "000001000a000000" "000106000a000000"
                                                      "010106000a000000" "010001000a000000");
        std::memcpy(&expected.keyRecords[2], events.constData(), size_t(events.size()));
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(selector->text(), QStringLiteral("Ctrl+C"));
    }
};

QTEST_MAIN(TestKeyCombination)
#include "tst_keycombination.moc"
