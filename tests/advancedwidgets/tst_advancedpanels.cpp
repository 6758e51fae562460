#include "device/DeviceParamSetters.h"
#include "device/PostMsg.h"
#include "pages/advanced/AngleMove.h"
#include "pages/advanced/KFPS20.h"
#include "pages/advanced/LongMode.h"
#include "pages/advanced/RotatableWidget.h"
#include "platform/AppPaths.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <cstring>
#include <map>
#include <memory>
#include "support/LanguageRows.h"

namespace {

using Changes = std::map<int, int>; // record offset -> byte the device must hold

void SaveGrab(QWidget& widget, const QString& name)
{
    QVERIFY(widget.grab().save(QStringLiteral("/tmp/advancedpanels-") + name + QStringLiteral(".png")));
}

std::unique_ptr<QFrame> MakePanel(const QString& name)
{
    if (name == QLatin1String("AngleMove"))
        return std::make_unique<AngleMove>();
    if (name == QLatin1String("KFPS20"))
        return std::make_unique<KFPS20>();
    return std::make_unique<LongMode>();
}

void SetLanguage(QFrame& panel, int language)
{
    QVERIFY(QMetaObject::invokeMethod(&panel, "SlotAllLanguage", Q_ARG(int, language)));
}

// The shipped language files with one key of section "AdvancedSettings" taken out of English;
// the shipped tables come back when it goes.
class TablesWithoutKey
{
public:
    explicit TablesWithoutKey(const QString& key)
    {
        const QString shipped = AppPaths::ProgramFolder() + QStringLiteral("/Language/");
        for (const QString& file : QDir(shipped).entryList(QDir::Files))
            QFile::copy(shipped + file, folder.filePath(file));
        QFile english(folder.filePath(QStringLiteral("en.json")));
        if (!english.open(QIODevice::ReadOnly))
            return;
        QJsonObject root = QJsonDocument::fromJson(english.readAll()).object();
        english.close();
        QJsonObject mouse = root.value(QStringLiteral("mouse")).toObject();
        QJsonObject advanced = mouse.value(QStringLiteral("AdvancedSettings")).toObject();
        removed = advanced.contains(key);
        advanced.remove(key);
        mouse.insert(QStringLiteral("AdvancedSettings"), advanced);
        root.insert(QStringLiteral("mouse"), mouse);
        if (!english.open(QIODevice::WriteOnly | QIODevice::Truncate))
            removed = false;
        english.write(QJsonDocument(root).toJson());
        english.close();
        UiTextTables::Instance()->LoadUiTextTables(folder.path());
    }
    ~TablesWithoutKey() { UiTextTables::Instance()->LoadUiTextTables(); }
    bool removed = false;

private:
    QTemporaryDir folder;
};
}
Q_DECLARE_METATYPE(Changes)

// The angle, 20K-FPS and long-range panels over the simulated devices: what reaches the device is
// checked byte for byte, what the panel shows and announces afterwards alongside.
class TestAdvancedPanels : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices* devices = nullptr;
    int device = -1;
    FlashDataMap baseline{};

    // The wired mouse (or the receiver) is current, connected, and the working copy holds its record.
    void Open(bool wired)
    {
        device = devices->OpenDevice(wired, &baseline);
        QVERIFY(device >= 0);
        CurrentSensorAngle = 0;
    }

    int Situation(bool enabled, bool refreshing, bool online)
    {
        return SimulatedDevices::Situation(device, enabled, refreshing, online);
    }

    // The device and the working copy hold the baseline with `changes` laid over it; one record
    // reached the device when there were changes, none otherwise.
    void ExpectDevice(int updatesBefore, const Changes& changes)
    {
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(SimControl_UpdateCount(), updatesBefore + (changes.empty() ? 0 : 1));
        FlashDataMap expected = baseline;
        for (const auto& change : changes)
            expected.bytes()[change.first] = uint8_t(change.second);
        const QString differences = devices->RecordDifferences(device, expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
        QCOMPARE(std::memcmp(DeviceConfigSnapshot().bytes(), expected.bytes(), sizeof expected), 0);
    }

    int LongRangeHeld()
    {
        uint8_t mode = 0xFF;
        if (!VidEzorarA_GetLongRangeMode(devices->Path(device).constData(), &mode))
            return -1;
        return mode;
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        devices = new SimulatedDevices;
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
        delete devices;
    }

    void rotatableAngleIsTakenInto0To359_data()
    {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("stored");
        QTest::newRow("-30") << -30 << 330;
        QTest::newRow("360") << 360 << 0;
        QTest::newRow("-390") << -390 << 330;
        QTest::newRow("725") << 725 << 5;
        QTest::newRow("-360") << -360 << 0;
        QTest::newRow("359") << 359 << 359;
        QTest::newRow("-1") << -1 << 359;
    }
    void rotatableAngleIsTakenInto0To359()
    {
        QFETCH(int, degrees);
        QFETCH(int, stored);
        RotatableWidget widget;
        widget.SetAngle(degrees);
        QCOMPARE(widget.GetAngle(), stored);
    }

    void rotatableSizeHintTurns_data()
    {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<QSize>("hint");
        QTest::newRow("0") << 0 << QSize(100, 50);
        QTest::newRow("90") << 90 << QSize(50, 100);
        QTest::newRow("180") << 180 << QSize(100, 50);
        QTest::newRow("-90") << -90 << QSize(50, 100);
        QTest::newRow("45") << 45 << QSize(106, 106);
        QTest::newRow("30") << 30 << QSize(112, 93);
    }
    void rotatableSizeHintTurns()
    {
        QFETCH(int, degrees);
        QFETCH(QSize, hint);
        RotatableWidget widget;
        auto* layout = new QVBoxLayout(&widget);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* inner = new QWidget;
        inner->setFixedSize(100, 50);
        layout->addWidget(inner);
        widget.SetAngle(degrees);
        QCOMPARE(widget.sizeHint(), hint);
        QCOMPARE(widget.minimumSizeHint(), hint);
    }

    // A value change is the released handle (or a click on the groove): written only with writes on
    // and no sensor refresh; a refusal puts slider, text and picture back and disables the slider.
    void angleWrite_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<Changes>("changes");
        QTest::addColumn<int>("held");     // CurrentSensorAngle afterwards
        QTest::addColumn<int>("shown");    // slider value, text and picture afterwards
        QTest::addColumn<bool>("sliderOn");
        QTest::addColumn<int>("notices");
        QTest::newRow("online -30") << -30 << true << false << true << Changes{{15, 0xE2}, {16, 1}} << -30 << -30 << true << 0;
        QTest::newRow("online +30") << 30 << true << false << true << Changes{{15, 30}, {16, 1}} << 30 << 30 << true << 0;
        QTest::newRow("offline 10") << 10 << true << false << false << Changes{} << 7 << 7 << false << 1;
        QTest::newRow("offline while refreshing") << 10 << true << true << false << Changes{} << 7 << 10 << true << 0;
        QTest::newRow("writes off") << -12 << false << false << true << Changes{} << 7 << -12 << true << 0;
        QTest::newRow("sensor page refreshing") << 20 << true << true << true << Changes{} << 7 << 20 << true << 0;
    }
    void angleWrite()
    {
        QFETCH(int, value);
        QFETCH(bool, enabled);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(Changes, changes);
        QFETCH(int, held);
        QFETCH(int, shown);
        QFETCH(bool, sliderOn);
        QFETCH(int, notices);
        Open(true);
        AngleMove panel;
        // The device holds 7 degrees as the page set it from a record.
        baseline.bytes()[15] = 7;
        AdoptDeviceConfig(baseline);
        QVERIFY(SetDeviceReportRate(baseline.bytes()[0]));
        QVERIFY(SimControl_WaitIdle(2000));
        ExpectDevice(SimControl_UpdateCount(), {});
        CurrentSensorAngle = 7;
        panel.SetSliderValue(7);
        panel.SetAngleText(QStringLiteral("7°"));
        panel.SetPreviewAngle(7);

        auto* slider = panel.findChild<QSlider*>(QStringLiteral("AngleSet"));
        auto* text = panel.findChild<QLabel*>(QStringLiteral("Keydown_6"));
        auto* picture = panel.findChild<RotatableWidget*>(QStringLiteral("widget_2"));
        QVERIFY(slider && text && picture);
        QSignalSpy offline(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        const int updates = Situation(enabled, refreshing, online);
        slider->setValue(value);
        if (!online)
            SimControl_SetAttached(device, 1);
        ExpectDevice(updates, changes);
        QCOMPARE(CurrentSensorAngle, held);
        QCOMPARE(slider->value(), shown);
        QCOMPARE(text->text(), QString::number(shown) + QStringLiteral("°"));
        QCOMPARE(picture->GetAngle(), (shown + 360) % 360);
        QCOMPARE(slider->isEnabled(), sliderOn);
        QCOMPARE(offline.count(), notices);
    }

    // Once disabled by a refusal the slider holds the device's angle: any change springs back,
    // writing nothing, until the page enables it again.
    void angleDisabledSliderSpringsBack()
    {
        Open(true);
        AngleMove panel;
        auto* slider = panel.findChild<QSlider*>(QStringLiteral("AngleSet"));
        auto* text = panel.findChild<QLabel*>(QStringLiteral("Keydown_6"));
        CurrentSensorAngle = -5;
        panel.SetSliderValue(-5);
        const int updates = SimControl_UpdateCount();
        panel.SetSliderEnabled(false);
        slider->setValue(12);
        QCOMPARE(slider->value(), -5);
        QCOMPARE(text->text(), QStringLiteral("-5°"));
        ExpectDevice(updates, {});
        panel.SetSliderEnabled(true);
        slider->setValue(12);
        ExpectDevice(updates, {{15, 12}, {16, 1}});
        QCOMPARE(CurrentSensorAngle, 12);
    }

    // Dragging without releasing only turns the picture and the text.
    void angleDragWritesNothing()
    {
        Open(true);
        AngleMove panel;
        auto* slider = panel.findChild<QSlider*>(QStringLiteral("AngleSet"));
        const int updates = SimControl_UpdateCount();
        slider->setSliderDown(true);
        slider->setSliderPosition(-20);
        QCOMPARE(panel.findChild<QLabel*>(QStringLiteral("Keydown_6"))->text(), QStringLiteral("-20°"));
        QCOMPARE(panel.findChild<RotatableWidget*>(QStringLiteral("widget_2"))->GetAngle(), 340);
        QCOMPARE(slider->value(), 0);
        ExpectDevice(updates, {});
        QCOMPARE(CurrentSensorAngle, 0);
        for (int language = 0; language < 3; ++language) {
            panel.SlotAllLanguage(language);
            QCOMPARE(panel.findChild<QLabel*>(QStringLiteral("label_7"))->text(),
                     UiText::ForReader(language, QStringLiteral("AngleMove"), QStringLiteral("AngularMode")));
            QVERIFY(!panel.findChild<QLabel*>(QStringLiteral("label_7"))->text().isEmpty());
            SaveGrab(panel, QStringLiteral("angle-%1").arg(language));
        }
    }

    void fps20KClick_data()
    {
        QTest::addColumn<bool>("start");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<Changes>("changes");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("notices");
        QTest::addColumn<bool>("enabled"); // the switch writes whatever the write flag says
        QTest::newRow("online on") << false << false << true << Changes{{4, 1}} << true << 0 << true;
        QTest::newRow("online off") << true << false << true << Changes{{4, 0}} << false << 0 << true;
        QTest::newRow("offline on") << false << false << false << Changes{} << false << 1 << true;
        QTest::newRow("offline off") << true << false << false << Changes{} << true << 1 << true;
        QTest::newRow("offline while refreshing") << false << true << false << Changes{} << false << 0 << true;
        QTest::newRow("online on, writes off") << false << false << true << Changes{{4, 1}} << true << 0 << false;
        QTest::newRow("online while refreshing") << false << true << true << Changes{{4, 1}} << true << 0 << true;
    }
    void fps20KClick()
    {
        QFETCH(bool, start);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(Changes, changes);
        QFETCH(bool, shown);
        QFETCH(int, notices);
        QFETCH(bool, enabled);
        Open(true);
        // A baseline byte 4 that differs from what the click writes.
        baseline.bytes()[4] = start ? 1 : 0;
        AdoptDeviceConfig(baseline);
        QVERIFY(SetDeviceReportRate(baseline.bytes()[0]));
        KFPS20 panel;
        panel.SetChecked(start);
        QSignalSpy offline(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        const int updates = Situation(enabled, refreshing, online);
        panel.findChild<QToolButton*>(QStringLiteral("KFPS"))->click();
        if (!online)
            SimControl_SetAttached(device, 1);
        ExpectDevice(updates, changes);
        QCOMPARE(panel.IsChecked(), shown);
        QCOMPARE(offline.count(), notices);
    }

    void fps20KSetCheckedNeverWrites()
    {
        Open(true);
        KFPS20 panel;
        const int updates = SimControl_UpdateCount();
        QSignalSpy clicks(panel.findChild<QToolButton*>(QStringLiteral("KFPS")), SIGNAL(clicked(bool)));
        for (bool on : {true, true, false}) {
            panel.SetChecked(on);
            QCOMPARE(panel.IsChecked(), on);
        }
        ExpectDevice(updates, {});
        QCOMPARE(clicks.count(), 0);
        for (int language = 0; language < 3; ++language) {
            panel.SlotAllLanguage(language);
            QVERIFY(!panel.findChild<QLabel*>(QStringLiteral("label_3"))->text().isEmpty());
            QVERIFY(!panel.findChild<QLabel*>(QStringLiteral("Error_2"))->toolTip().isEmpty());
            panel.SetChecked(language == 1);
            SaveGrab(panel, QStringLiteral("fps-%1").arg(language));
        }
    }

    // A user's toggle of the long-range box reaches the receiver's mode only with writes on and the
    // device online; offline always raises the notice and puts the box back.
    void longRangeToggle_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("mode");   // the receiver's mode afterwards
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("notices");
        QTest::newRow("online") << true << false << true << 1 << true << 0;
        QTest::newRow("writes off") << false << false << true << 0 << true << 0;
        QTest::newRow("offline") << true << false << false << 0 << false << 1;
        QTest::newRow("offline while refreshing") << true << true << false << 0 << false << 1;
    }
    void longRangeToggle()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, mode);
        QFETCH(bool, shown);
        QFETCH(int, notices);
        Open(false);
        QCOMPARE(LongRangeHeld(), 0);
        LongMode panel;
        auto* box = panel.findChild<QCheckBox*>(QStringLiteral("checkBox"));
        QSignalSpy offline(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        QSignalSpy toggles(box, SIGNAL(toggled(bool)));
        const int updates = Situation(enabled, refreshing, online);
        box->click();
        if (!online)
            SimControl_SetAttached(device, 1);
        QCOMPARE(LongRangeHeld(), mode);
        QCOMPARE(box->isChecked(), shown);
        QCOMPARE(offline.count(), notices);
        QCOMPARE(toggles.count(), 1);
        ExpectDevice(updates, {});

        if (mode == 1) {
            box->click();
            QCOMPARE(LongRangeHeld(), 0);
        }
    }

    // The reported mode is only shown: SetChecked runs while the report callback waits, so it sends
    // nothing back and raises nothing, whatever the device and the flags.
    void longRangeReportedModeIsOnlyShown_data()
    {
        QTest::addColumn<bool>("online");
        QTest::newRow("online") << true;
        QTest::newRow("offline") << false;
    }
    void longRangeReportedModeIsOnlyShown()
    {
        QFETCH(bool, online);
        Open(false);
        LongMode panel;
        QSignalSpy offline(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        Situation(true, false, online);
        panel.SetChecked(true);
        QVERIFY(panel.IsChecked());
        panel.SetChecked(false);
        QVERIFY(!panel.IsChecked());
        panel.SetChecked(true);
        if (!online)
            SimControl_SetAttached(device, 1);
        QCOMPARE(LongRangeHeld(), 0);
        QCOMPARE(offline.count(), 0);
        for (int language = 0; language < 3; ++language) {
            panel.SlotAllLanguage(language);
            QVERIFY(!panel.findChild<QLabel*>(QStringLiteral("label_5"))->text().isEmpty());
            QVERIFY(!panel.findChild<QLabel*>(QStringLiteral("label_6"))->text().isEmpty());
            SaveGrab(panel, QStringLiteral("long-%1").arg(language));
        }
    }

    // A language that lacks a key gets an empty text, also over the text of the language before.
    void missingTextIsEmpty_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("object");
        QTest::addColumn<bool>("toolTip"); // the key gives the object's tool tip, else its text
        QTest::newRow("20K tips") << "KFPS20" << "scanningTips" << "Error_2" << true;
        QTest::newRow("20K title") << "KFPS20" << "scanningTitle" << "label_3" << false;
        QTest::newRow("angle tips") << "AngleMove" << "AngularModeTips" << "Error_3" << true;
        QTest::newRow("long-range text") << "LongMode" << "LongDistanceTips" << "label_6" << false;
    }
    void missingTextIsEmpty()
    {
        QFETCH(QString, panel);
        QFETCH(QString, key);
        QFETCH(QString, object);
        QFETCH(bool, toolTip);
        const TablesWithoutKey tables(key);
        QVERIFY(tables.removed);
        const std::unique_ptr<QFrame> frame = MakePanel(panel);
        auto* widget = frame->findChild<QWidget*>(object);
        QVERIFY(widget);
        const auto shown = [&] { return toolTip ? widget->toolTip() : qobject_cast<QLabel*>(widget)->text(); };
        SetLanguage(*frame, 1);
        QCOMPARE(shown(), UiText::ForReader(1, panel, key));
        QVERIFY(!shown().isEmpty());
        SetLanguage(*frame, 0);
        QCOMPARE(shown(), QString());
        // The other texts of the panel are still there.
        for (QLabel* label : frame->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^label_"))))
            QVERIFY(label == widget || !label->text().isEmpty());
    }

    // In every language the captions, the tips icons after them and the texts fit their places.
    void panelTextsFit_data()
    {
        LanguageRows();
    }
    void panelTextsFit()
    {
        QFETCH(int, language);
        AngleMove angle;
        KFPS20 fps;
        LongMode longRange;
        const struct
        {
            QFrame* panel;
            const char* caption;
            const char* tips; // nullptr: no tips icon
            QString name;
        } panels[] = {{&angle, "label_7", "Error_3", QStringLiteral("angle")},
                      {&fps, "label_3", "Error_2", QStringLiteral("fps")},
                      {&longRange, "label_5", nullptr, QStringLiteral("long")}};
        angle.SetAngleText(QStringLiteral("-30°"));
        angle.SetPreviewAngle(-30);
        angle.SetSliderValue(-30);
        fps.SetChecked(true);
        longRange.SetChecked(true);
        for (const auto& entry : panels) {
            SetLanguage(*entry.panel, language);
            auto* caption = entry.panel->findChild<QLabel*>(QLatin1String(entry.caption));
            QVERIFY(caption);
            const int textEnd = caption->x() + caption->fontMetrics().horizontalAdvance(caption->text());
            QVERIFY2(textEnd <= caption->geometry().right() + 1, qPrintable(caption->text()));
            if (entry.tips) {
                auto* tips = entry.panel->findChild<QLabel*>(QLatin1String(entry.tips));
                if (entry.panel == &angle)
                    angle.SetTipsPos(angle.CaptionTipsX(), 6);
                else
                    fps.SetTipsPos(fps.CaptionTipsX(), 6);
                QVERIFY(tips->x() > textEnd);
                QVERIFY(tips->geometry().right() < entry.panel->width());
            }
            QPixmap picture(entry.panel->size());
            picture.fill(QColor(0x1E, 0x22, 0x28));
            entry.panel->render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
            QVERIFY(picture.save(QStringLiteral("/tmp/advancedpanels-page-%1-%2.png").arg(entry.name).arg(language)));
        }
        auto* text = longRange.findChild<QLabel*>(QStringLiteral("label_6"));
        const QRect needed = text->fontMetrics().boundingRect(QRect(0, 0, text->width(), 1000), Qt::TextWordWrap, text->text());
        QVERIFY2(needed.height() <= text->height(), qPrintable(QString::number(needed.height())));
        // The scale texts; the 35-pixel angle text fits only in the form's own font.
        for (const char* name : {"Keydown_3", "Keydown_5", "Keydown_4"}) {
            auto* label = angle.findChild<QLabel*>(QLatin1String(name));
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), name);
            QVERIFY(label->geometry().right() < angle.width());
        }
    }

    void longRangeBelongsToTheModel_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("has");
        QTest::newRow("entry 0 is 0") << 0 << true;
        QTest::newRow("entry 0 is -1") << 1 << false;
        QTest::newRow("no such model") << 97 << false;
    }
    void longRangeBelongsToTheModel()
    {
        QFETCH(int, model);
        QFETCH(bool, has);
        QCOMPARE(LongMode::ModelHasLongRange(model), has);
    }
};

QTEST_MAIN(TestAdvancedPanels)
#include "tst_advancedpanels.moc"
