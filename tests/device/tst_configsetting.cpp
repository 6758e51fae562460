#include "device/ConfigSetting.h"
#include "platform/AppPaths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

// The store reads the installation's Config.ini; here a small one written by the test.
class TestConfigSetting : public QObject
{
    Q_OBJECT
    QTemporaryDir programFolder;

    static QByteArray b64(const char* text) { return QByteArray(text).toBase64(); }

private slots:
    void initTestCase()
    {
        QVERIFY(programFolder.isValid());
        QDir().mkpath(programFolder.path() + "/usersetting");
        QFile file(programFolder.path() + "/usersetting/Config.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Option]\n"
                   "DeviceTotal=2\n"
                   "VID=" + b64("0x3554") + "\n"
                   "Wireless_PID=" + b64("0xF511") + ", " + b64("0xF512") + "\n"
                   "CID=" + b64("1 0\n") + "\n"
                   "LabelColor=255, 200, 16\n"
                   "[Drive1]\n"
                   "Sensor=" + b64("3395") + "\n"
                   "MID=" + b64("3395") + "\n"
                   "MM=" + b64("Kestro \xe6\xa8\xa1\xe5\x9e\x8b") + "\n"
                   "Title=\xe9\xbc\xa0\xe6\xa0\x87 Mouse\n");
        file.close();
        AppPaths::SetProgramFolder(programFolder.path());
    }

    void valuesByKey_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Base64 key decoded") << "Option" << "VID" << "0x3554";
        QTest::newRow("Base64 spaces and line breaks removed") << "Option" << "CID" << "10";
        QTest::newRow("Sensor decoded in a Drive group") << "Drive1" << "Sensor" << "3395";
        QTest::newRow("UTF-8 inside Base64") << "Drive1" << "MM" << QString::fromUtf8("Kestro\xe6\xa8\xa1\xe5\x9e\x8b");
        QTest::newRow("MID returned as stored") << "Drive1" << "MID" << QString::fromLatin1(b64("3395"));
        QTest::newRow("plain UTF-8 value") << "Drive1" << "Title" << QString::fromUtf8("\xe9\xbc\xa0\xe6\xa0\x87 Mouse");
        QTest::newRow("plain number") << "Option" << "DeviceTotal" << "2";
        QTest::newRow("missing key") << "Option" << "Nothing" << "";
        QTest::newRow("missing group") << "Drive9" << "Sensor" << "";
    }
    void valuesByKey()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(ConfigSetting::Instance()->GetValue(group, key), expected);
    }

    void lists()
    {
        ConfigSetting* store = ConfigSetting::Instance();
        QCOMPARE(store->GetValueList("Option", "LabelColor"), QStringList({"255", "200", "16"}));
        QCOMPARE(store->GetValueList("Option", "Wireless_PID"), QStringList({"0xF511", "0xF512"}));
        QVERIFY(store->GetValueList("Option", "Nothing").isEmpty());
    }

    void modeOtherThanOneReturnsStoredText()
    {
        ConfigSetting* store = ConfigSetting::Instance();
        store->Mode = 0;
        QCOMPARE(store->GetValue("Option", "VID"), QString::fromLatin1(b64("0x3554")));
        store->Mode = 1;
        QCOMPARE(store->GetValue("Option", "VID"), QString("0x3554"));
    }

    // The GUI, the Worker and the library's threads read at once.
    void concurrentReadsAgree()
    {
        QList<QThread*> threads;
        QAtomicInt mismatches;
        for (int t = 0; t < 4; ++t) {
            threads << QThread::create([&] {
                for (int i = 0; i < 300; ++i) {
                    if (ConfigSetting::Instance()->GetValue("Drive1", "Sensor") != "3395")
                        mismatches.ref();
                    if (ConfigSetting::Instance()->GetValueList("Option", "LabelColor").size() != 3)
                        mismatches.ref();
                }
            });
            threads.last()->start();
        }
        for (QThread* thread : threads) {
            thread->wait();
            delete thread;
        }
        QCOMPARE(mismatches.loadRelaxed(), 0);
    }

    void decodeBase64Helper()
    {
        QCOMPARE(ConfigSetting::DecodeBase64(QString::fromLatin1(b64("abc"))), QString("abc"));
    }
};

QTEST_GUILESS_MAIN(TestConfigSetting)
#include "tst_configsetting.moc"
