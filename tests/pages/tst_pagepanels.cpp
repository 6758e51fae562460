#include "app/UpDataParam.h"
#include "device/ConnectionState.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/advanced/StopCloseTime.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/buttons/DebounceTime.h"
#include "support/ModalCloser.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTimer>
#include <QtTest>

#include <cstring>

// The sleep-time and debounce panels against a simulated mouse: what reaches the device byte for
// byte, and that a refused write changes neither the device nor the control.
class TestPagePanels : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices* devices = nullptr;
    int mouse = -1;
    FlashDataMap baseline{};

    void OpenMouse()
    {
        mouse = devices->OpenWiredMouse(&baseline);
        QVERIFY(mouse >= 0);
    }
    // The device holds the baseline with only these bytes changed.
    void ExpectDeviceHolds(const QList<QPair<int, int>>& changes)
    {
        QVERIFY(SimControl_WaitIdle(2000));
        FlashDataMap expected = baseline;
        for (const auto& change : changes)
            expected.bytes()[change.first] = uint8_t(change.second);
        const QString differences = devices->RecordDifferences(mouse, expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
    }
    void TakeMouseAway()
    {
        SimControl_SetAttached(mouse, 0);
        QTRY_VERIFY(!VidEzorarA_GetDeviceOnLine(CurrentDevicePath));
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        // The device window installs the settings wait before it makes the pages.
        UpDataParam::InstallAsSettingsWait();
        devices = new SimulatedDevices;
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
        delete devices;
    }

    void sleepTimeChoiceIsWritten_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("code");
        const int codes[8] = {1, 3, 6, 12, 18, 30, 60, 90};
        for (int row = 0; row < 8; ++row)
            QTest::addRow("row %d", row) << row << codes[row];
    }
    void sleepTimeChoiceIsWritten()
    {
        QFETCH(int, row);
        QFETCH(int, code);
        OpenMouse();
        StopCloseTime panel;
        auto* combo = panel.findChild<QComboBox*>(QStringLiteral("StopClose"));
        panel.SetCurrentIndex(row == 2 ? 3 : 2);
        combo->setCurrentIndex(row);
        emit combo->activated(row);
        ExpectDeviceHolds({{0x08, code}});
        QCOMPARE(panel.CurrentRow(), row);
    }

    void sleepTimeRefusalRollsBack_data()
    {
        QTest::addColumn<QString>("refusal");
        QTest::newRow("mouse offline") << "offline";
        QTest::newRow("working copy not the mouse's") << "stale";
        QTest::newRow("writes not allowed") << "disabled";
        QTest::newRow("button page refreshing") << "refreshing";
    }
    void sleepTimeRefusalRollsBack()
    {
        QFETCH(QString, refusal);
        OpenMouse();
        StopCloseTime panel;
        auto* combo = panel.findChild<QComboBox*>(QStringLiteral("StopClose"));
        panel.SetCurrentIndex(2);
        QSignalSpy notices(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        if (refusal == QLatin1String("offline"))
            TakeMouseAway();
        else if (refusal == QLatin1String("stale"))
            InvalidateDeviceConfig();
        else if (refusal == QLatin1String("disabled"))
            UserWritesEnabled = false;
        else
            ButtonPageRefreshing = true;
        const int updates = SimControl_UpdateCount();
        combo->setCurrentIndex(6);
        emit combo->activated(6);
        ButtonPageRefreshing = false;
        QCOMPARE(SimControl_UpdateCount(), updates);
        ExpectDeviceHolds({});
        QCOMPARE(panel.CurrentRow(), 2);
        // A refused write puts the previous row back; a choice that was never tried stays shown.
        const bool tried = refusal == QLatin1String("offline") || refusal == QLatin1String("stale");
        QCOMPARE(combo->currentIndex(), tried ? 2 : 6);
        QCOMPARE(notices.count(), tried ? 1 : 0);
    }

    // A successful choice is written and announced; 0..7 ask the user to wait, 8..15 do not.
    void debounceChoiceIsWritten_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("notice");
        QTest::newRow("0 ms") << 0 << true;
        QTest::newRow("7 ms") << 7 << true;
        QTest::newRow("8 ms") << 8 << false;
        QTest::newRow("15 ms") << 15 << false;
    }
    void debounceChoiceIsWritten()
    {
        QFETCH(int, index);
        QFETCH(bool, notice);
        OpenMouse();
        DebounceTime panel;
        panel.move(600, 400);
        for (int i = 0; i < DebounceTime::ItemCount; ++i)
            panel.SetItemText(i, QStringLiteral("ms"));
        auto* combo = panel.findChild<QComboBox*>(QStringLiteral("Debunce"));
        {
            const QSignalBlocker blocker(combo);
            combo->setCurrentIndex(index == 8 ? 9 : 8);
        }
        QSignalSpy announced(PostMsg::Instance(), &PostMsg::SigDebunce);
        ModalCloser closer;
        combo->setCurrentIndex(index);
        ExpectDeviceHolds({{0x06, index}});
        QCOMPARE(panel.LastAcceptedIndex(), index);
        QCOMPARE(announced.count(), 1);
        QCOMPARE(announced.at(0).at(0).toString(), QString::number(index) + QStringLiteral("ms"));
        QCOMPARE(closer.opened, notice ? QStringList{QStringLiteral("LessThree")} : QStringList());
        if (notice) {
            const QPoint corner = panel.mapToGlobal(QPoint(0, 0));
            QCOMPARE(closer.positions.at(0), QPoint(corner.x() + (panel.width() - 300) / 2 - 409,
                                                    corner.y() + (panel.height() - 140) / 2 - 202));
        }
    }

    void debounceRefusalRollsBack()
    {
        OpenMouse();
        DebounceTime panel;
        panel.SetIndex(int(baseline.debounceTime));
        auto* combo = panel.findChild<QComboBox*>(QStringLiteral("Debunce"));
        TakeMouseAway();
        QSignalSpy announced(PostMsg::Instance(), &PostMsg::SigDebunce);
        QSignalSpy notices(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        ModalCloser closer;
        const int updates = SimControl_UpdateCount();
        combo->setCurrentIndex(3);
        QCOMPARE(combo->currentIndex(), int(baseline.debounceTime));
        QCOMPARE(panel.LastAcceptedIndex(), int(baseline.debounceTime));
        QCOMPARE(SimControl_UpdateCount(), updates);
        ExpectDeviceHolds({});
        QCOMPARE(announced.count(), 0);
        QCOMPARE(notices.count(), 1);
        QVERIFY(closer.opened.isEmpty());
    }

    // The button page shows the device's value through SetIndex while it refreshes: a different
    // value is written again without a notice, an equal one only announced.
    void debounceFromTheButtonPage()
    {
        OpenMouse();
        DebounceTime panel;
        panel.SetIndex(int(baseline.debounceTime));
        QSignalSpy announced(PostMsg::Instance(), &PostMsg::SigDebunce);
        ModalCloser closer;
        const int updates = SimControl_UpdateCount();
        ButtonPageRefreshing = true;
        panel.SetIndex(int(baseline.debounceTime));
        QCOMPARE(announced.count(), 1);
        QCOMPARE(SimControl_UpdateCount(), updates);
        panel.SetIndex(2);
        ButtonPageRefreshing = false;
        QCOMPARE(announced.count(), 3);
        ExpectDeviceHolds({{0x06, 2}});
        QVERIFY(closer.opened.isEmpty());
        // Writes not allowed: the combo shows the value, nothing is written or announced by the choice.
        UserWritesEnabled = false;
        auto* combo = panel.findChild<QComboBox*>(QStringLiteral("Debunce"));
        combo->setCurrentIndex(4);
        QCOMPARE(panel.LastAcceptedIndex(), 2);
        QCOMPARE(announced.count(), 3);
        ExpectDeviceHolds({{0x06, 2}});
    }

    // Restore defaults sends the working copy before the device clears its settings, but only while
    // it is the mouse's own record; the wait dialog covers the reload.
    void restoreDefaultsSendsOnlyTheMousesRecord_data()
    {
        QTest::addColumn<bool>("current");
        QTest::newRow("working copy is the mouse's") << true;
        QTest::newRow("working copy is not the mouse's") << false;
    }
    void restoreDefaultsSendsOnlyTheMousesRecord()
    {
        QFETCH(bool, current);
        OpenMouse();
        FlashDataMap changed = baseline;
        changed.sleepTime = 90;
        AdoptDeviceConfig(changed);
        if (!current)
            InvalidateDeviceConfig();
        const int updates = SimControl_UpdateCount();
        QList<bool> busyWhileWaiting;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (QApplication::activeModalWidget())
                busyWhileWaiting << SettingsWriteInProgress;
        });
        probe.start(1);
        ModalCloser closer;
        Buttoninterface::RestoreDefaults(nullptr);
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(closer.opened, QStringList{QStringLiteral("UpDataParam")});
        QVERIFY(!busyWhileWaiting.isEmpty());
        QVERIFY(!busyWhileWaiting.contains(false));
        QVERIFY(!SettingsWriteInProgress);
        QCOMPARE(SimControl_UpdateCount(), updates + (current ? 1 : 0));
        if (current) {
            FlashDataMap sent{};
            QVERIFY(SimControl_LastUpdate(sent.bytes()));
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(sent.bytes()), sizeof sent),
                     QByteArray(reinterpret_cast<const char*>(changed.bytes()), sizeof changed));
        }
    }
};

QTEST_MAIN(TestPagePanels)
#include "tst_pagepanels.moc"
