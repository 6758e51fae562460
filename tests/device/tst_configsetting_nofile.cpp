#include "device/ConfigSetting.h"
#include "platform/AppPaths.h"

#include <QTemporaryDir>
#include <QtTest>

// An installation without Config.ini: every read is empty, nothing fails.
class TestConfigSettingNoFile : public QObject
{
    Q_OBJECT
    QTemporaryDir emptyProgramFolder;
private slots:
    void missingFileGivesEmptyResults()
    {
        AppPaths::SetProgramFolder(emptyProgramFolder.path());
        ConfigSetting* store = ConfigSetting::Instance();
        QCOMPARE(store->GetValue("Option", "DeviceTotal"), QString());
        QCOMPARE(store->GetValue("Drive1", "Sensor"), QString());
        QVERIFY(store->GetValueList("Option", "VID").isEmpty());
        QVERIFY(!QFile::exists(emptyProgramFolder.path() + "/usersetting/Config.ini"));
    }
};

QTEST_GUILESS_MAIN(TestConfigSettingNoFile)
#include "tst_configsetting_nofile.moc"
