// The notices about the program's own files on the shipped language files: what start-up finds
// wrong with a damaged model list and how it says so, and a notice that grows to its text.
#include "device/ModelListCheck.h"
#include "device/PostMsg.h"
#include "support/TestHome.h"
#include "widgets/FileNotices.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWidget>
#include <QtTest>

#include <memory>
#include <sys/stat.h>
#include "support/LanguageRows.h"

namespace {

QByteArray ShippedModelList()
{
    QFile file(AppPaths::ProgramFolder() + QStringLiteral("/usersetting/Config.ini"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// The shipped list without one group (its header and keys up to the next group).
QByteArray WithoutGroup(const QByteArray& list, const QByteArray& group)
{
    const int start = list.indexOf("[" + group + "]");
    if (start < 0)
        return list;
    int end = list.indexOf("\n[", start + 1);
    end = end < 0 ? list.size() : end + 1;
    return list.left(start) + list.mid(end);
}

QByteArray WithoutLine(const QByteArray& list, const QByteArray& group, const QByteArray& key)
{
    const int groupStart = list.indexOf("[" + group + "]");
    const int start = list.indexOf("\n" + key + "=", groupStart);
    const int end = list.indexOf('\n', start + 1);
    return list.left(start) + list.mid(end);
}

} // namespace

class TestFileNotices : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir folder;

    QString ListPath() const { return folder.filePath(QStringLiteral("Config.ini")); }

    void WriteList(const QByteArray& content)
    {
        QFile::remove(ListPath());
        QFile file(ListPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), qint64(content.size()));
    }

private slots:
    void initTestCase()
    {
        UiTextTables::Instance()->LoadUiTextTables();
        QVERIFY(!ShippedModelList().isEmpty());
        QVERIFY(ShippedModelList().contains("[Drive2]"));
    }
    void init() { UiLanguage = 0; }

    void modelListProblems_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("english");
        const QByteArray shipped = ShippedModelList();
        const QString path = QDir::toNativeSeparators(ListPath());
        const QString groupText = QStringLiteral(
            "The model list %1 is damaged: it promises 2 models, but the group [%2] is missing or incomplete. Devices of "
            "that model cannot be opened. Please reinstall the program.");
        const QString noModels = QStringLiteral(
            "The model list %1 is damaged: it names no models. No device can be recognised. Please reinstall the program.")
                                     .arg(path);
        QTest::newRow("shipped") << shipped << int(ModelListProblem::None) << QString() << QString();
        QTest::newRow("truncated inside the second model")
            << shipped.left(shipped.indexOf("[Drive2]") + 20) << int(ModelListProblem::GroupMissing) << "Drive2"
            << groupText.arg(path, "Drive2");
        QTest::newRow("truncated before the models")
            << shipped.left(shipped.indexOf("[Drive1]")) << int(ModelListProblem::GroupMissing) << "Drive1"
            << groupText.arg(path, "Drive1");
        QTest::newRow("first group gone") << WithoutGroup(shipped, "Drive1") << int(ModelListProblem::GroupMissing)
                                          << "Drive1" << groupText.arg(path, "Drive1");
        QTest::newRow("second model without MID") << WithoutLine(shipped, "Drive2", "MID")
                                                  << int(ModelListProblem::GroupMissing) << "Drive2"
                                                  << groupText.arg(path, "Drive2");
        QTest::newRow("truncated inside the options")
            << shipped.left(shipped.indexOf("DeviceTotal")) << int(ModelListProblem::Garbled) << QString() << noModels;
        QTest::newRow("model count not a number") << QByteArray(shipped).replace("DeviceTotal=2", "DeviceTotal=two")
                                                  << int(ModelListProblem::Garbled) << QString() << noModels;
        QTest::newRow("model count zero") << QByteArray(shipped).replace("DeviceTotal=2", "DeviceTotal=0")
                                          << int(ModelListProblem::Garbled) << QString() << noModels;
        QByteArray garbled(4096, '\0');
        for (int i = 0; i < garbled.size(); ++i)
            garbled[i] = char((i * 131 + 7) % 251);
        QTest::newRow("garbled") << garbled << int(ModelListProblem::Garbled) << QString() << noModels;
        QTest::newRow("empty") << QByteArray() << int(ModelListProblem::Garbled) << QString() << noModels;
        QTest::newRow("a count of millions") << QByteArray(shipped).replace("DeviceTotal=2", "DeviceTotal=2000000000")
                                             << int(ModelListProblem::GroupMissing) << "Drive3"
                                             << groupText.arg(path, "Drive3").replace("promises 2 ", "promises 2000000000 ");
    }
    void modelListProblems()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, kind);
        QFETCH(QString, group);
        QFETCH(QString, english);
        WriteList(content);
        const ModelListProblem problem = CheckModelList(ListPath());
        QCOMPARE(int(problem.kind), kind);
        QCOMPARE(problem.group, group);
        QCOMPARE(problem.path, ListPath());
        QCOMPARE(FileNotices::ModelListText(0, problem), english);
        if (kind == ModelListProblem::None)
            return;
        // Every language names the file and says something of its own.
        const QString chinese = FileNotices::ModelListText(1, problem);
        const QString russian = FileNotices::ModelListText(2, problem);
        for (const QString& text : {chinese, russian}) {
            QVERIFY2(text.contains(QDir::toNativeSeparators(ListPath())), qPrintable(text));
            QVERIFY(text != english);
            QVERIFY(!text.contains(QLatin1Char('%')));
        }
        if (!group.isEmpty())
            QVERIFY(chinese.contains(group) && russian.contains(group));
    }

    void missingAndUnreadableLists_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("english");
        QTest::newRow("missing") << "missing" << int(ModelListProblem::Missing)
                                 << "The model list %1 is missing. No device can be recognised. Please reinstall the program.";
        QTest::newRow("a folder") << "folder" << int(ModelListProblem::Unreadable)
                                  << "The model list %1 cannot be read. No device can be recognised. Please reinstall the program.";
        QTest::newRow("a FIFO") << "fifo" << int(ModelListProblem::Unreadable)
                                << "The model list %1 cannot be read. No device can be recognised. Please reinstall the program.";
    }
    void missingAndUnreadableLists()
    {
        QFETCH(QString, what);
        QFETCH(int, kind);
        QFETCH(QString, english);
        QTemporaryDir place;
        const QString path = place.filePath(QStringLiteral("Config.ini"));
        if (what == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        else if (what == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        // A FIFO without a writer would hold the check for good: it must not be opened.
        const ModelListProblem problem = CheckModelList(path);
        QCOMPARE(int(problem.kind), kind);
        QCOMPARE(FileNotices::ModelListText(0, problem), english.arg(QDir::toNativeSeparators(path)));
    }

    void theStoresOwnListIsCheckedByDefault()
    {
        QCOMPARE(CheckModelList().path, AppPaths::ProgramFolder() + QStringLiteral("/usersetting/Config.ini"));
        QVERIFY(!CheckModelList().Damaged());
    }

    void startUpShowsOneNoticeOverTheWindow()
    {
        QWidget window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(!FileNotices::ShowModelListProblem(&window));
        QVERIFY(window.findChildren<FileNotices*>().isEmpty());

        WriteList(WithoutGroup(ShippedModelList(), "Drive1"));
        const ModelListProblem problem = CheckModelList(ListPath());
        QPointer<FileNotices> notice = FileNotices::ShowModelListProblem(&window, problem);
        QVERIFY(notice);
        // Shown without waiting: start-up goes on behind it.
        QVERIFY(notice->isVisible());
        QVERIFY(notice->isModal());
        QCOMPARE(notice->Text(), FileNotices::ModelListText(0, problem));
        QCOMPARE(notice->findChild<QToolButton*>("NewHong")->text(), UiText::ForReader(0, "FileNotices", "OK"));
        // It follows the language, and goes when confirmed.
        for (int language : {1, 2, 0}) {
            emit PostMsg::Instance()->SigAllLanguage(language);
            QCOMPARE(notice->Text(), FileNotices::ModelListText(language, problem));
            QCOMPARE(notice->findChild<QToolButton*>("NewHong")->text(), UiText::ForReader(language, "FileNotices", "OK"));
        }
        QTest::mouseClick(notice->findChild<QToolButton*>("NewHong"), Qt::LeftButton);
        QTRY_VERIFY(!notice);
    }

    void theNoticeGrowsToItsText_data()
    {
        LanguageRows();
    }
    void theNoticeGrowsToItsText()
    {
        QFETCH(int, language);
        UiLanguage = language;
        ModelListProblem problem;
        problem.kind = ModelListProblem::GroupMissing;
        problem.path = QStringLiteral("/opt/a rather long installation folder/of the program/usersetting/Config.ini");
        problem.group = QStringLiteral("Drive7");
        problem.promised = 9;
        FileNotices notice([problem](int l) { return FileNotices::UnknownModelText(l, 34, problem); });
        QLabel* label = notice.findChild<QLabel*>("label");
        QVERIFY(label->text().contains(problem.path));
        QVERIFY(label->wordWrap());
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
        QVERIFY(notice.height() > 140);
        // The text ends above the button; the button lies inside the notice.
        QWidget* button = notice.findChild<QToolButton*>("NewHong");
        QVERIFY(label->geometry().bottom() < button->geometry().top());
        QVERIFY(button->geometry().bottom() < notice.height());
    }
};

QTEST_MAIN(TestFileNotices)
#include "tst_filenotices.moc"
