#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/advanced/Advanced.h"
#include "pages/advanced/AngleMove.h"
#include "pages/advanced/CurvePlotWidget.h"
#include "pages/advanced/KFPS20.h"
#include "pages/advanced/LongMode.h"
#include "pages/advanced/StopCloseTime.h"
#include "support/FindChild.h"
#include "support/TestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QWheelEvent>
#include <QtTest>

namespace {

void SetDevice(int modelIndex, bool wired)
{
    CurrentDeviceInfo.Update([&](DeviceAllInfo& info) {
        info.modelIndex = modelIndex;
        info.wired = wired;
    });
}

int TextEnd(const QLabel* label)
{
    return label->x() + label->fontMetrics().horizontalAdvance(label->text());
}

} // namespace

// The advanced page on its own: what a record, the model, the device's reports and a language
// change make of its panels, and its unreachable page of mode curves.
class TestAdvancedPage : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void init()
    {
        UiLanguage = 0;
        SetDevice(0, false);
        UserWritesEnabled = true;
    }

    // Byte 15 is a signed angle: the slider holds it within its range, the text and the program's
    // idea of the device's angle take it as read. Byte 4 turns 20K-FPS on only for 1.
    void recordReachesThePanels_data()
    {
        QTest::addColumn<int>("angleByte");
        QTest::addColumn<int>("fpsByte");
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("angle");
        QTest::addColumn<bool>("fps");
        QTest::newRow("0xE2 is -30, 20K on") << 0xE2 << 1 << -30 << -30 << true;
        QTest::newRow("40 beyond the slider") << 40 << 0 << 30 << 40 << false;
        QTest::newRow("0x80 is -128") << 0x80 << 1 << -30 << -128 << true;
        QTest::newRow("0, 20K byte 2") << 0 << 2 << 0 << 0 << false;
        QTest::newRow("7, 20K byte 255") << 7 << 255 << 7 << 7 << false;
    }
    void recordReachesThePanels()
    {
        QFETCH(int, angleByte);
        QFETCH(int, fpsByte);
        QFETCH(int, slider);
        QFETCH(int, angle);
        QFETCH(bool, fps);
        Advanced page;
        auto* angleSlider = Child<QSlider>(*page.AnglePanel(), "AngleSet");
        FlashDataMap record{};
        record.sensorAngle = int8_t(uint8_t(angleByte));
        record.sensor20KFps = uint8_t(fpsByte);
        record.sleepTime = 18;
        page.Fps20KPanel()->SetChecked(!fps);
        QSignalSpy layouts(PostMsg::Instance(), SIGNAL(SigtVis(int)));
        QSignalSpy sliderMoves(angleSlider, SIGNAL(valueChanged(int)));

        for (bool fromImport : {false, true}) {
            // A refusal left the slider (or the whole panel) disabled; a record ends it.
            angleSlider->setEnabled(false);
            page.AnglePanel()->setEnabled(false);
            if (fromImport) {
                page.SlotUpDataSenSorUIB(record);
                QVERIFY(page.AnglePanel()->isEnabled());
            } else {
                page.SlotUpDataSenSorUISensor(record);
                QVERIFY(angleSlider->isEnabledTo(page.AnglePanel()));
            }
            QCOMPARE(angleSlider->value(), slider);
            QCOMPARE(Child<QLabel>(*page.AnglePanel(), "Keydown_6")->text(), QString::number(angle) + QStringLiteral("°"));
            QCOMPARE(CurrentSensorAngle, angle);
            QCOMPARE(page.Fps20KChecked(), fps);
            QCOMPARE(page.SleepTimePanel()->CurrentRow(), 4);
            QVERIFY(page.Fps20KPanel()->isHidden());
            QVERIFY(page.AnglePanel()->isHidden());
        }
        QCOMPARE(layouts.count(), 2);
        // What the device reported is shown, not written back.
        QCOMPARE(sliderMoves.count(), 0);
    }

    // The long-range panel shows for a model that lists the mode on a device that is not on its
    // cable; the device's own report of the mode shows it for any model that has it.
    void longRangeFollowsModelAndDevice_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("wired");
        QTest::addColumn<bool>("fromImport");
        QTest::addColumn<int>("reported"); // -1 no report after the model check
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("checked");
        QTest::newRow("receiver of a model with it") << 0 << false << false << -1 << true << false;
        QTest::newRow("same after an import") << 0 << false << true << -1 << true << false;
        QTest::newRow("on its cable") << 0 << true << false << -1 << false << false;
        QTest::newRow("on its cable, then the device reports on") << 0 << true << false << 1 << true << true;
        QTest::newRow("receiver reports off") << 0 << false << false << 0 << true << false;
        QTest::newRow("model without it") << 1 << false << false << -1 << false << false;
        QTest::newRow("model without it, device reports on") << 1 << false << true << 1 << false << false;
        QTest::newRow("unknown model") << 40 << false << false << -1 << false << false;
    }
    void longRangeFollowsModelAndDevice()
    {
        QFETCH(int, model);
        QFETCH(bool, wired);
        QFETCH(bool, fromImport);
        QFETCH(int, reported);
        QFETCH(bool, shown);
        QFETCH(bool, checked);
        Advanced page;
        page.LongRangePanel()->SetChecked(reported == 0);
        SetDevice(model, wired);
        // A reported mode is only shown: were the box's handler to run, it would ask the library
        // about a device that is not there and raise the offline notice.
        QSignalSpy offline(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        if (fromImport)
            page.SlotFormB();
        else
            page.SlotForm();
        if (reported >= 0)
            page.SlotLongRangeMode(reported == 1);
        QCOMPARE(offline.count(), 0);

        QCOMPARE(page.LongRangeWanted(), shown);
        QCOMPARE(page.LongRangePanel()->isVisibleTo(&page), shown);
        QCOMPARE(page.LongRangeChecked(), checked);
        // Whatever SigtVis carries, the layout is the same.
        for (int index : {0, 4, -1}) {
            emit PostMsg::Instance()->SigtVis(index);
            QCOMPARE(page.LongRangePanel()->isVisibleTo(&page), shown);
            if (shown)
                QCOMPARE(page.LongRangePanel()->pos(), QPoint(0, 160));
            QCOMPARE(page.AnglePanel()->pos(), shown ? QPoint(0, 263) : QPoint(0, 160));
            QVERIFY(page.Fps20KPanel()->isHidden());
            QVERIFY(page.AnglePanel()->isHidden());
            QVERIFY(page.SleepTimePanel()->isVisibleTo(&page));
        }
    }

    // No record can be had: the page shows the device's defaults and keeps its layout until the
    // next SigtVis, which brings the long-range panel back.
    void resetState()
    {
        SetDevice(1, false);
        Advanced page;
        page.SlotForm();
        FlashDataMap record{};
        record.sensorAngle = -12;
        record.sensor20KFps = 1;
        record.sleepTime = 90;
        page.SlotUpDataSenSorUISensor(record);
        QSignalSpy layouts(PostMsg::Instance(), SIGNAL(SigtVis(int)));

        page.SlotFormReset();
        QCOMPARE(layouts.count(), 0);
        QCOMPARE(page.SleepTimePanel()->CurrentRow(), 2);
        QCOMPARE(Child<QComboBox>(*page.SleepTimePanel(), "StopClose")->currentIndex(), 2);
        QVERIFY(!page.Fps20KChecked());
        QCOMPARE(Child<QSlider>(*page.AnglePanel(), "AngleSet")->value(), 0);
        QCOMPARE(Child<QLabel>(*page.AnglePanel(), "Keydown_6")->text(), QStringLiteral("0°"));
        QCOMPARE(CurrentSensorAngle, 0);
        QVERIFY(page.LongRangeWanted());
        QVERIFY(!page.LongRangePanel()->isVisibleTo(&page));
        page.SetPos(0);
        QVERIFY(page.LongRangePanel()->isVisibleTo(&page));
        QCOMPARE(page.AnglePanel()->pos(), QPoint(0, 263));
    }

    // The 20K-FPS notice of the sensor page only ever turns the hidden switch off.
    void fps20KNotice()
    {
        Advanced page;
        page.Fps20KPanel()->SetChecked(true);
        page.Slot20KOpen(true);
        QVERIFY(page.Fps20KChecked());
        page.Slot20KOpen(false);
        QVERIFY(!page.Fps20KChecked());
        QVERIFY(page.Fps20KPanel()->isHidden());
    }

    // Every text of the page comes from the language tables; an index the program has no places
    // for still gets texts (of the first language) and moves no icon.
    void languageTexts_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("placed");
        QTest::newRow("English") << 0 << 0 << true;
        QTest::newRow("Chinese") << 1 << 1 << true;
        QTest::newRow("Russian") << 2 << 2 << true;
        QTest::newRow("index 6, no such language") << 6 << 0 << true;
        QTest::newRow("index 8") << 8 << 0 << false;
        QTest::newRow("index -1") << -1 << 0 << false;
    }
    void languageTexts()
    {
        QFETCH(int, index);
        QFETCH(int, language);
        QFETCH(bool, placed);
        // Placed before the page was ever laid out or shown.
        Advanced page;
        auto* sleepTips = Child<QLabel>(page, "Error");
        auto* curveTips = Child<QLabel>(page, "Error_4");
        sleepTips->move(1, 1);
        curveTips->move(1, 1);

        page.SlotAllLanguage(index);
        const auto text = [&](const char* key) { return UiText::ForReader(language, "Advanced", key); };
        QCOMPARE(Child<QLabel>(page, "label")->text(), text("SleepTime"));
        QCOMPARE(sleepTips->toolTip(), text("SleepTimeTips"));
        QCOMPARE(Child<QLabel>(page, "label_2")->text(), text("dpiSensitivityTitle"));
        QCOMPARE(Child<QLabel>(page, "label_4")->text(), text("dpiModeTitle"));
        QCOMPARE(CurveAxisTextX, text("dpiModeTipsX"));
        QCOMPARE(CurveAxisTextY, text("dpiModeTipsY"));
        // Line breaks of the tooltip are rich text.
        QVERIFY(text("dpiSensitivityTips").contains('\n'));
        QCOMPARE(curveTips->toolTip(), text("dpiSensitivityTips").replace("\n", "<br>"));
        const char* modeLabels[4] = {"label_8", "label_9", "label_10", "label_11"};
        const char* modeKeys[4] = {"1", "2", "3", "0"};
        for (int mode = 0; mode < 4; ++mode)
            QCOMPARE(Child<QLabel>(page, modeLabels[mode])->text(), UiText::Option(language, "dpiModeOptions", modeKeys[mode]));
        auto* sleep = Child<QComboBox>(*page.SleepTimePanel(), "StopClose");
        QCOMPARE(sleep->itemText(0), UiText::Option(language, "PerformanceOptions", "1"));
        QCOMPARE(sleep->itemText(7), UiText::Option(language, "PerformanceOptions", "90"));
        for (const QString& shown : {Child<QLabel>(page, "label")->text(), CurveAxisTextY, sleep->itemText(3),
                                     Child<QLabel>(page, "label_8")->text()})
            QVERIFY(!shown.isEmpty());

        if (!placed) {
            QCOMPARE(sleepTips->pos(), QPoint(1, 1));
            QCOMPARE(curveTips->pos(), QPoint(1, 1));
            return;
        }
        // The icons sit just after their captions, on the page.
        auto* sleepTitle = Child<QLabel>(page, "label");
        QCOMPARE(sleepTips->y(), 53);
        QVERIFY(sleepTips->x() > TextEnd(sleepTitle));
        QVERIFY(sleepTips->x() <= TextEnd(sleepTitle) + 8);
        QVERIFY(sleepTips->geometry().right() < 860);
        QCOMPARE(curveTips->y(), 54);
        QVERIFY(curveTips->x() > TextEnd(Child<QLabel>(page, "label_2")));
        auto* fpsTips = Child<QLabel>(*page.Fps20KPanel(), "Error_2");
        QCOMPARE(fpsTips->pos(), QPoint(page.Fps20KPanel()->CaptionTipsX(), 6));
        QVERIFY(fpsTips->x() > TextEnd(Child<QLabel>(*page.Fps20KPanel(), "label_3")));
        auto* angleTips = Child<QLabel>(*page.AnglePanel(), "Error_3");
        QCOMPARE(angleTips->pos(), QPoint(page.AnglePanel()->CaptionTipsX(), 6));
    }

    // The page of mode curves: a master switch for the row of modes, one curve a mode, shown only.
    void modeCurvesPage()
    {
        Advanced page;
        auto* master = Child<QCheckBox>(page, "checkBox_2");
        QCheckBox* const modes[4] = {Child<QCheckBox>(page, "checkBox_3"), Child<QCheckBox>(page, "checkBox_4"),
                                     Child<QCheckBox>(page, "checkBox_5"), Child<QCheckBox>(page, "checkBox_6")};
        auto* curves = Child<QTabWidget>(page, "ModeTab");
        const auto labelsGrey = [&] {
            for (const char* name : {"label_8", "label_9", "label_10", "label_11"}) {
                if (!Child<QLabel>(page, name)->styleSheet().contains("115,115,115"))
                    return false;
            }
            return true;
        };
        for (const char* plot : {"PicA", "PicB", "PicC", "PicD"})
            QCOMPARE(Child<CurvePlotWidget>(page, plot)->editable, 0);
        QVERIFY(!master->isChecked());
        QVERIFY(modes[0]->isChecked());
        for (QCheckBox* mode : modes)
            QVERIFY(!mode->isEnabled());
        QVERIFY(labelsGrey());

        page.show();
        Child<QTabWidget>(page, "AdvancedTab")->setCurrentIndex(1);
        QTest::mouseClick(master, Qt::LeftButton);
        for (QCheckBox* mode : modes)
            QVERIFY(mode->isEnabled());
        QVERIFY(!labelsGrey());
        QVERIFY(Child<QLabel>(page, "label_9")->styleSheet().startsWith("QLabel{color: rgb("));

        for (int mode : {2, 1, 3, 0}) {
            modes[mode]->click();
            QCOMPARE(curves->currentIndex(), mode);
            for (int other = 0; other < 4; ++other)
                QCOMPARE(modes[other]->isChecked(), other == mode);
        }
        // A checked mode clicked again stays the one shown.
        modes[0]->click();
        QVERIFY(modes[0]->isChecked());
        QCOMPARE(curves->currentIndex(), 0);

        QTest::mouseClick(master, Qt::LeftButton);
        for (QCheckBox* mode : modes)
            QVERIFY(!mode->isEnabled());
        QVERIFY(labelsGrey());
    }

    // The hidden scroll bar chooses between the settings and the curves; the wheel does nothing.
    void pageChoiceAndWheel()
    {
        Advanced page;
        auto* bar = Child<QScrollBar>(page, "verticalScrollBar");
        auto* pages = Child<QTabWidget>(page, "AdvancedTab");
        QVERIFY(bar->isHidden());
        QVERIFY(pages->tabBar()->isHidden());
        QCOMPARE(pages->currentIndex(), 0);
        bar->setValue(2);
        QCOMPARE(pages->currentIndex(), 1);
        bar->setValue(1);
        QCOMPARE(pages->currentIndex(), 0);

        const QPointF at(100, 100);
        QWheelEvent wheel(at, page.mapToGlobal(at.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&page, &wheel);
        // Taken by the page: it reaches no parent.
        QVERIFY(wheel.isAccepted());
        QCOMPARE(pages->currentIndex(), 0);
    }
};

QTEST_MAIN(TestAdvancedPage)
#include "tst_advancedpage.moc"
