#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

// The folders stand as layers: platform <- device <- widgets and pages <- app. A file includes from
// its own folder and from the layers below it, never from one above, so that a lower layer builds
// and is tested without the ones that use it.
class TestLayers : public QObject
{
    Q_OBJECT

    static QString SourceFolder() { return QString::fromLocal8Bit(qgetenv("KESTRO_SOURCE_DIR")); }

private slots:
    void includesPointDown_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("forbidden");
        QTest::newRow("platform") << "platform" << QStringList{"device", "widgets", "pages", "app"};
        QTest::newRow("device") << "device" << QStringList{"widgets", "pages", "app"};
        QTest::newRow("widgets") << "widgets" << QStringList{"pages", "app"};
        QTest::newRow("pages") << "pages" << QStringList{"app"};
    }
    void includesPointDown()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, forbidden);
        QVERIFY2(!SourceFolder().isEmpty(), "KESTRO_SOURCE_DIR is not set");
        const QDir root(SourceFolder());
        QVERIFY(root.exists(folder));
        const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([a-z]+)/"),
                                         QRegularExpression::MultilineOption);
        QStringList upward;
        int files = 0;
        QDirIterator it(root.filePath(folder), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            ++files;
            const QString text = QString::fromUtf8(file.readAll());
            auto matches = include.globalMatch(text);
            while (matches.hasNext()) {
                const QString layer = matches.next().captured(1);
                if (forbidden.contains(layer))
                    upward << root.relativeFilePath(path) + QStringLiteral(" -> ") + layer;
            }
        }
        QVERIFY(files > 0);
        QVERIFY2(upward.isEmpty(), qPrintable(upward.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
