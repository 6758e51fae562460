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
};

QTEST_MAIN(TestKeyCombination)
#include "tst_keycombination.moc"
