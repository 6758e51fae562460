#include "device/FirmwareImage.h"
#include "device/FirmwareImageSearch.h"
#include "platform/AppPaths.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int Cid = 7;
constexpr int Mid = 33;
const char* const MouseName = "KestroM1";

struct ImageFixture {
    int kind = FirmwareImage::KindMouse;
    int cid = Cid;
    int mid = Mid;
    QByteArray name = MouseName;
    QByteArray majorBytes = QByteArray("\x01\x00\x00", 3); // bytes 17-19
    uint8_t minor = 0x05;
    int bodySize = 256;
};

// A whole image: a header with the given fields, every other byte a pattern that shows whether the
// file arrived unchanged.
QByteArray MakeImage(const ImageFixture& fixture)
{
    QByteArray image(FirmwareImage::HeaderSize + fixture.bodySize, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 7 + 3) & 0xFF);
    image[16] = char(fixture.minor);
    for (int i = 0; i < 3; ++i)
        image[17 + i] = fixture.majorBytes.at(i);
    image[20] = char(fixture.kind);
    image[21] = char(fixture.cid);
    image[22] = char(fixture.mid);
    for (int i = 0; i < 64; ++i)
        image[87 + i] = i < fixture.name.size() ? fixture.name.at(i) : '\0';
    return image;
}

ImageFixture Version(uint8_t major, uint8_t minor, ImageFixture fixture = ImageFixture())
{
    fixture.majorBytes = QByteArray(1, char(major)) + QByteArray(2, '\0');
    fixture.minor = minor;
    return fixture;
}

ImageFixture Named(const QByteArray& name, int kind = FirmwareImage::KindMouse)
{
    ImageFixture fixture;
    fixture.name = name;
    fixture.kind = kind;
    return fixture;
}

// file name -> content, written into bin/ in this order
using Files = QList<QPair<QString, QByteArray>>;

QByteArray b64(const char* text)
{
    return QByteArray(text).toBase64();
}

} // namespace

Q_DECLARE_METATYPE(Files)

class TestFirmwareImages : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir programFolder;

    QString BinFolder() const { return programFolder.path() + "/bin"; }

    void WriteFiles(const Files& files)
    {
        QVERIFY(QDir().mkpath(BinFolder()));
        for (const auto& entry : files) {
            QFile file(BinFolder() + "/" + entry.first);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(entry.second), qint64(entry.second.size()));
        }
    }

    static QByteArray Content(const Files& files, const QString& name)
    {
        for (const auto& entry : files)
            if (entry.first == name)
                return entry.second;
        return QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(programFolder.isValid());
        AppPaths::SetProgramFolder(programFolder.path());
        QVERIFY(QDir().mkpath(programFolder.path() + "/usersetting"));
        QFile config(programFolder.path() + "/usersetting/Config.ini");
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[Option]\n"
                     "DeviceTotal=2\n"
                     "CID=" + b64("7") + "\n"
                     "[Drive1]\n"
                     "MID=33\n"
                     "MM=" + b64(MouseName) + "\n"
                     "DM=" + b64("KestroR1") + "\n"
                     "D2M=" + b64("KestroR2") + "\n"
                     "D4M=" + b64("KestroR4") + "\n"
                     "D8M=" + b64("KestroR8") + "\n"
                     "[Drive2]\n"
                     "MID=34\n"
                     "MM=" + b64("KestroM2") + "\n");
    }

    void init()
    {
        QDir(BinFolder()).removeRecursively();
        FirmwareImageList::Clear();
    }

    void headerFields_data()
    {
        QTest::addColumn<QByteArray>("majorBytes");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QByteArray>("nameField");
        QTest::addColumn<QString>("versionText");
        QTest::addColumn<QString>("modelName");
        const QByteArray fullName(64, 'N');
        QTest::newRow("minor in hexadecimal") << QByteArray("\x01\x00\x00", 3) << 0x0A << QByteArray("M1")
                                              << "v1.0A" << "M1";
        QTest::newRow("24-bit little-endian major") << QByteArray("\x01\x01\x00", 3) << 0x05 << QByteArray("M1")
                                                    << "v257.05" << "M1";
        QTest::newRow("high major byte") << QByteArray("\x00\x00\x01", 3) << 0xFF << QByteArray("M1")
                                         << "v65536.FF" << "M1";
        QTest::newRow("name ends at first zero") << QByteArray("\x02\x00\x00", 3) << 0x00
                                                 << QByteArray("Ab\0junk", 7) << "v2.00" << "Ab";
        QTest::newRow("64-byte name without zero") << QByteArray("\x02\x00\x00", 3) << 0x00 << fullName
                                                   << "v2.00" << QString(fullName);
    }
    void headerFields()
    {
        QFETCH(QByteArray, majorBytes);
        QFETCH(int, minor);
        QFETCH(QByteArray, nameField);
        QFETCH(QString, versionText);
        QFETCH(QString, modelName);
        ImageFixture fixture;
        fixture.majorBytes = majorBytes;
        fixture.minor = uint8_t(minor);
        fixture.kind = FirmwareImage::KindReceiver;
        fixture.cid = 0xC1;
        fixture.mid = 0xD2;
        fixture.bodySize = 0;
        fixture.name = nameField;
        QByteArray file = MakeImage(fixture);
        if (nameField.size() == 64)
            file[151] = 'X'; // the byte after the name field is not part of it

        FirmwareImage image;
        QVERIFY(image.Parse(file));
        QCOMPARE(image.VersionText(), versionText);
        QCOMPARE(image.ModelName(), modelName);
        QCOMPARE(image.Kind(), 211);
        QCOMPARE(image.CID(), 0xC1);
        QCOMPARE(image.MID(), 0xD2);
        QCOMPARE(image.Data(), file);
    }

    void shortHeaderRefused()
    {
        FirmwareImage image;
        QVERIFY(!image.Parse(MakeImage(ImageFixture()).left(FirmwareImage::HeaderSize - 1)));
        QVERIFY(!image.IsValid());
        QVERIFY(image.Parse(MakeImage(Named("M1")).left(FirmwareImage::HeaderSize)));
        QCOMPARE(image.ModelName(), QString("M1"));
    }

    void versionTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<uint>("major");
        QTest::addColumn<uint>("minor");
        QTest::newRow("with v") << "v1.0A" << true << 1u << 0x0Au;
        QTest::newRow("without v") << "1.0A" << true << 1u << 0x0Au;
        QTest::newRow("lower-case minor") << "v1.0a" << true << 1u << 0x0Au;
        QTest::newRow("one minor digit") << "v2.5" << true << 2u << 0x05u;
        QTest::newRow("minor 10 is hexadecimal") << "v1.10" << true << 1u << 0x10u;
        QTest::newRow("leading zero major") << "v01.05" << true << 1u << 0x05u;
        QTest::newRow("upper-case V stays") << "V1.05" << false << 0u << 0u;
        QTest::newRow("no dot") << "v105" << false << 0u << 0u;
        QTest::newRow("no minor") << "v1." << false << 0u << 0u;
        QTest::newRow("three minor digits") << "v1.100" << false << 0u << 0u;
        QTest::newRow("hexadecimal major") << "vA.05" << false << 0u << 0u;
        QTest::newRow("not hexadecimal") << "v1.0G" << false << 0u << 0u;
        QTest::newRow("space") << " v1.05" << false << 0u << 0u;
        QTest::newRow("two dots") << "v1.0.5" << false << 0u << 0u;
    }
    void versionTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(uint, major);
        QFETCH(uint, minor);
        FirmwareImage::Version version;
        QCOMPARE(FirmwareImage::ParseVersion(text, &version), valid);
        if (valid) {
            QCOMPARE(uint(version.major), major);
            QCOMPARE(uint(version.minor), minor);
        }
    }

    // FindFirmwareBin (mouse, CID 7, MID 33, "KestroM1") over a table of bin/ folders.
    void search_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("chosen"); // empty: nothing qualifies

        const QByteArray good = MakeImage(Version(1, 0x05));
        ImageFixture fixture;

        QTest::newRow("match, empty version") << Files{{"m.bin", good}} << "" << "m.bin";
        QTest::newRow("match, other version") << Files{{"m.bin", good}} << "v1.04" << "m.bin";
        QTest::newRow("older image qualifies") << Files{{"m.bin", good}} << "v1.06" << "m.bin";
        QTest::newRow("equal version") << Files{{"m.bin", good}} << "v1.05" << "";
        QTest::newRow("equal version without v") << Files{{"m.bin", good}} << "1.05" << "";
        QTest::newRow("short file") << Files{{"m.bin", good.left(FirmwareImage::HeaderSize - 1)}} << "" << "";
        QTest::newRow("header only") << Files{{"m.bin", good.left(FirmwareImage::HeaderSize)}} << ""
                                     << "m.bin";
        fixture = ImageFixture();
        fixture.kind = FirmwareImage::KindReceiver;
        QTest::newRow("wrong kind") << Files{{"m.bin", MakeImage(fixture)}} << "" << "";
        fixture = ImageFixture();
        fixture.cid = Cid + 1;
        QTest::newRow("wrong CID") << Files{{"m.bin", MakeImage(fixture)}} << "" << "";
        fixture = ImageFixture();
        fixture.mid = Mid + 1;
        QTest::newRow("wrong MID") << Files{{"m.bin", MakeImage(fixture)}} << "" << "";
        QTest::newRow("model name differs in case") << Files{{"m.bin", MakeImage(Named("kestrom1"))}} << ""
                                                    << "";
        QTest::newRow("model name longer") << Files{{"m.bin", MakeImage(Named("KestroM10"))}} << "" << "";

        const QByteArray hexMinor = MakeImage(Version(1, 0x0A));
        QTest::newRow("v1.0A against v1.09") << Files{{"m.bin", hexMinor}} << "v1.09" << "m.bin";
        QTest::newRow("v1.0A against v1.10") << Files{{"m.bin", hexMinor}} << "v1.10" << "m.bin";
        QTest::newRow("v1.0A against v1.0a") << Files{{"m.bin", hexMinor}} << "v1.0a" << "";
        QTest::newRow("v1.0A against v01.0A") << Files{{"m.bin", hexMinor}} << "v01.0A" << "";
        QTest::newRow("unreadable current version") << Files{{"m.bin", hexMinor}} << "v1.0A beta" << "m.bin";

        ImageFixture wide = Version(1, 0x05);
        wide.majorBytes = QByteArray("\x01\x01\x00", 3);
        QTest::newRow("major 257 equal") << Files{{"m.bin", MakeImage(wide)}} << "v257.05" << "";
        QTest::newRow("major 257 against 1") << Files{{"m.bin", MakeImage(wide)}} << "v1.05" << "m.bin";

        const Files ordered{{"a.bin", MakeImage(Version(1, 0x05))}, {"B.bin", MakeImage(Version(1, 0x06))}};
        QTest::newRow("name order ignores case") << ordered << "v1.04" << "B.bin";
        const Files reversed{{"A.bin", MakeImage(Version(1, 0x06))}, {"b.bin", MakeImage(Version(1, 0x05))}};
        QTest::newRow("last name wins, not highest version") << reversed << "v1.04" << "b.bin";
        QTest::newRow("later equal version keeps earlier image")
            << Files{{"a.bin", MakeImage(Version(1, 0x04))}, {"b.bin", MakeImage(Version(1, 0x05))}} << "v1.05"
            << "a.bin";
        QTest::newRow("later short file keeps earlier image")
            << Files{{"a.bin", good}, {"b.bin", good.left(100)}} << "" << "a.bin";
        QTest::newRow("non-matching files between")
            << Files{{"a.bin", MakeImage(Named("Other"))}, {"b.bin", good}, {"c.bin", MakeImage(Named("Other"))}}
            << "" << "b.bin";
        QTest::newRow("only *.bin files") << Files{{"m.txt", good}, {"m.bin.old", good}} << "" << "";

        fixture = ImageFixture();
        fixture.bodySize = int(FirmwareImage::MaxFileSize) - FirmwareImage::HeaderSize;
        QTest::newRow("largest image") << Files{{"m.bin", MakeImage(fixture)}} << "" << "m.bin";
        fixture.bodySize += 1;
        QTest::newRow("over 4 MiB refused") << Files{{"a.bin", good}, {"m.bin", MakeImage(fixture)}} << ""
                                            << "a.bin";
    }
    void search()
    {
        QFETCH(Files, files);
        QFETCH(QString, current);
        QFETCH(QString, chosen);
        WriteFiles(files);

        const bool found = FindFirmwareBin(FirmwareImage::KindMouse, current, MouseName, Cid, Mid);
        QCOMPARE(found, !chosen.isEmpty());
        const QList<QByteArray> expected =
            chosen.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{Content(files, chosen)};
        QVERIFY(FirmwareImageList::Images() == expected); // the whole file, byte for byte
        QCOMPARE(FirmwareImageList::First(), expected.value(0));
    }

    void sixtyFourByteModelName()
    {
        const QByteArray fullName(64, 'Q');
        WriteFiles({{"m.bin", MakeImage(Named(fullName))}});
        QVERIFY(FindFirmwareBin(FirmwareImage::KindMouse, "", QString(fullName), Cid, Mid));
        QVERIFY(!FindFirmwareBin(FirmwareImage::KindMouse, "", QString(fullName.left(63)), Cid, Mid));
        QVERIFY(FirmwareImageList::IsEmpty());
    }

    void foldersAreNotImages()
    {
        QVERIFY(QDir().mkpath(BinFolder() + "/d.bin"));
        WriteFiles({{"a.bin", MakeImage(ImageFixture())}});
        QVERIFY(FindFirmwareBin(FirmwareImage::KindMouse, "", MouseName, Cid, Mid));
        QCOMPARE(FirmwareImageList::Images().size(), 1);
    }

    // A file that cannot be read is passed over; images before and after it still count.
    void unreadableFileSkipped_data()
    {
        QTest::addColumn<QString>("unreadable");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("after the chosen image") << "b.bin" << "a.bin";
        QTest::newRow("before the chosen image") << "a.bin" << "b.bin";
    }
    void unreadableFileSkipped()
    {
        QFETCH(QString, unreadable);
        QFETCH(QString, chosen);
        const Files files{{"a.bin", MakeImage(Version(1, 0x01))}, {"b.bin", MakeImage(Version(1, 0x02))}};
        WriteFiles(files);
        const QString path = BinFolder() + "/" + unreadable;
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("file permissions do not stop this user from reading");

        QVERIFY(FindFirmwareBin(FirmwareImage::KindMouse, "", MouseName, Cid, Mid));
        QVERIFY(FirmwareImageList::Images() == QList<QByteArray>{Content(files, chosen)});
    }

    void missingBinFolderEmptiesList()
    {
        WriteFiles({{"m.bin", MakeImage(ImageFixture())}});
        QVERIFY(FindFirmwareBin(FirmwareImage::KindMouse, "", MouseName, Cid, Mid));
        QVERIFY(!FirmwareImageList::IsEmpty());
        QVERIFY(QDir(BinFolder()).removeRecursively());

        QVERIFY(!FindFirmwareBin(FirmwareImage::KindMouse, "", MouseName, Cid, Mid));
        QVERIFY(FirmwareImageList::IsEmpty());
        QVERIFY(FirmwareImageList::First().isEmpty());
        QVERIFY(!HasNewFirmware(FirmwareImage::KindMouse, "v0.01", 1, 0));
    }

    void noQualifyingFileEmptiesList()
    {
        WriteFiles({{"m.bin", MakeImage(Version(1, 0x05))}});
        QVERIFY(FindFirmwareBin(FirmwareImage::KindMouse, "v1.04", MouseName, Cid, Mid));
        QVERIFY(!FindFirmwareBin(FirmwareImage::KindMouse, "v1.05", MouseName, Cid, Mid));
        QVERIFY(FirmwareImageList::IsEmpty());
    }

    // Config.ini names the image per model and receiver type; the receiver images differ in version
    // so that a wrong key shows. Base64 values lose their spaces when read, so no name has one.
    void hasNewFirmware_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("receiverType");
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<bool>("expected");

        QTest::newRow("mouse, same version") << 210 << "v1.05" << 1 << 0 << false;
        QTest::newRow("mouse, other version") << 210 << "v1.04" << 1 << 0 << true;
        QTest::newRow("mouse needs no receiver type") << 210 << "v1.04" << 0 << 0 << true;
        QTest::newRow("mouse, empty version") << 210 << "" << 1 << 0 << false;
        QTest::newRow("second model, same version") << 210 << "v2.00" << 1 << 1 << false;
        QTest::newRow("second model, other version") << 210 << "v1.05" << 1 << 1 << true;
        QTest::newRow("model not in the list") << 210 << "v1.04" << 1 << 5 << false;
        QTest::newRow("negative model index") << 210 << "v1.04" << 1 << -1 << false;
        for (int type : {1, 2, 4, 8}) {
            const QString own = QStringLiteral("v1.%1").arg(type, 2, 10, QLatin1Char('0'));
            const QString other = type == 1 ? "v1.02" : "v1.01";
            QTest::addRow("receiver type %d, same version", type) << 211 << own << type << 0 << false;
            QTest::addRow("receiver type %d, other version", type) << 211 << other << type << 0 << true;
        }
        QTest::newRow("receiver, empty version") << 211 << "" << 1 << 0 << false;
        QTest::newRow("receiver type 3 names no receiver") << 211 << "v0.01" << 3 << 0 << false;
        QTest::newRow("receiver type 0 names no receiver") << 211 << "v0.01" << 0 << 0 << false;
        QTest::newRow("unknown kind") << 212 << "v0.01" << 1 << 0 << false;
    }
    void hasNewFirmware()
    {
        QFETCH(int, kind);
        QFETCH(QString, current);
        QFETCH(int, receiverType);
        QFETCH(int, modelIndex);
        QFETCH(bool, expected);
        ImageFixture second = Version(2, 0x00, Named("KestroM2"));
        second.mid = 34;
        WriteFiles({{"m1.bin", MakeImage(Version(1, 0x05))},
                    {"m2.bin", MakeImage(second)},
                    {"r1.bin", MakeImage(Version(1, 0x01, Named("KestroR1", 211)))},
                    {"r2.bin", MakeImage(Version(1, 0x02, Named("KestroR2", 211)))},
                    {"r4.bin", MakeImage(Version(1, 0x04, Named("KestroR4", 211)))},
                    {"r8.bin", MakeImage(Version(1, 0x08, Named("KestroR8", 211)))}});
        const QByteArray kept = MakeImage(Named("kept"));
        WriteFiles({{"z.bin", kept}});
        QVERIFY(FindFirmwareBin(FirmwareImage::KindMouse, "", "kept", Cid, Mid));

        QCOMPARE(HasNewFirmware(kind, current, receiverType, modelIndex), expected);
        // The check keeps nothing: the image chosen for an upgrade stays.
        QVERIFY(FirmwareImageList::Images() == QList<QByteArray>{kept});
    }
};

QTEST_GUILESS_MAIN(TestFirmwareImages)
#include "tst_firmwareimages.moc"
