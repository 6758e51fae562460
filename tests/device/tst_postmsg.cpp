#include "device/PostMsg.h"

#include <QMetaMethod>
#include <QThread>
#include <QtTest>
#include <cstring>

namespace {
const char* const expectedSignals[] = {
    "SigChangeMainDialog(int)", "SigChangeSize(int)", "SigUpDataConfigUI(int,int,bool)",
    "SigUpDataLightUIButton(FlashDataMap)", "SigUpDataLightLight(FlashDataMap)", "SigUpDataLightSensor(FlashDataMap)",
    "SigUpDataLightUIA(FlashDataMap)", "SigUpDataSensorUIB(FlashDataMap)", "SigUpDataButtonUIC(FlashDataMap)",
    "SigButtonToMacro(FlashDataMap,int)", "SigSelectMouseInfo(DeviceAllInfo)", "SigMouseOffLineo(int)",
    "SigMainPageChange()", "SigSecondPageChange()", "SigUpPageLight()", "SigAddMacroButton()",
    "SigDeleteMacroButton(QString)", "SigMacroDownLoadData(QString,int)", "SigUpDataMacro(QString,int)",
    "SigUpDataParam(int)", "SigUpDataReportRate(int)", "SigUpDataDPI(int)", "SigUpDataDPILed(FlashDataMap)",
    "SigTimerStop()", "SigButtonEnable(int)", "SigLabelText(int,QString)", "SigLabelTextB(QString,QString)",
    "SigCloseUpdate()", "SigProgress(int,int)", "SigBattery(bool,int,bool)", "SigAutoRepair(int)",
    "SigAutoRepairProgress(int)", "SigChangeLanguage(int)", "SigLanguageSameA(int)", "SigLanguageSameB(int)",
    "SigCloseOffOnline()", "SigSetMacroPage()", "SigStartRecord(int)", "SigUpDateButton(bool)",
    "SigMacroRename(QString,QString)", "SigSetver(int)", "SigCloseProgress()", "SigRGBValue(DongleRGB*)",
    "SigLongRangeMode(bool)", "SigForm()", "SigFormB()", "SigEnterKey()", "SigFormReset()", "SigHideModel(int)",
    "SigContinue(int)", "SigMouseIndex(int)", "SigUpdateStart()", "SigCheckUpdate()", "SigRepairCheckUpdate()",
    "SigSetNewVer()", "SigLightToFrom(int)", "SigButtonCheck()", "SigAllLanguage(int)", "SigUpdateFrame(bool)",
    "SigAddSensor(int)", "SigAddReport(int)", "SigAddLOD(QString)", "SigDebunce(QString)", "SigAddConfig(QString)",
    "SigAddVer(int,QString)", "SigAddUpdate(int,bool)", "Sig20KOpen(bool)", "SigtVis(int)", "SigIsUsb(bool,bool)"};
}

class RecordReceiver : public QObject
{
    Q_OBJECT
public:
    FlashDataMap received{};
    bool sawRecord = false;
public slots:
    void SlotRecord(FlashDataMap DataMap)
    {
        received = DataMap;
        sawRecord = true;
    }
};

class TestPostMsg : public QObject
{
    Q_OBJECT
private slots:
    void signalsInDeclarationOrder()
    {
        const QMetaObject* meta = PostMsg::Instance()->metaObject();
        QList<QByteArray> declared;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            QCOMPARE(method.methodType(), QMetaMethod::Signal);
            declared << method.methodSignature();
        }
        QCOMPARE(declared.size(), 69);
        for (int i = 0; i < declared.size(); ++i)
            QCOMPARE(declared.at(i), QByteArray(expectedSignals[i]));
    }

    void oneBusForTheProcess()
    {
        QCOMPARE(PostMsg::Instance(), PostMsg::Instance());
        QVERIFY(PostMsg::Instance()->parent() == nullptr);
    }

    void unconnectedSignalHasNoEffect()
    {
        emit PostMsg::Instance()->SigCloseUpdate();
    }

    // A record emitted on a device thread reaches the GUI thread's slot before the emit returns,
    // over the string-form blocking connection the pages use.
    void blockingRecordCrossesThreads()
    {
        RecordReceiver receiver;
        QVERIFY(QObject::connect(PostMsg::Instance(), SIGNAL(SigUpDataLightSensor(FlashDataMap)), &receiver,
                                 SLOT(SlotRecord(FlashDataMap)), Qt::BlockingQueuedConnection));
        FlashDataMap sent{};
        for (std::size_t i = 0; i < sizeof sent; ++i)
            sent.bytes()[i] = uint8_t(i * 7);
        bool sawBeforeReturn = false;
        QThread* device = QThread::create([&] {
            emit PostMsg::Instance()->SigUpDataLightSensor(sent);
            sawBeforeReturn = receiver.sawRecord;
        });
        device->start();
        QTRY_VERIFY(device->isFinished());
        delete device;
        QVERIFY(sawBeforeReturn);
        QCOMPARE(std::memcmp(receiver.received.bytes(), sent.bytes(), sizeof sent), 0);
    }
};

QTEST_GUILESS_MAIN(TestPostMsg)
#include "tst_postmsg.moc"
