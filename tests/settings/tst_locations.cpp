// Where Ayarlar lives: beside a program of a build tree, in the user's configuration folder for
// an installed one, on real folders laid out like a build tree and an unpacked package.
#include <QtTest>

#include "Locations.h"

class TestLocations : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString configFolder() const { return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Kalpiyon")); }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Kalpiyon"));
        QVERIFY(!qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"));  // the test's own, from CTest
        // A build tree: CMake's cache at its top; programs in folders below it.
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("build/src/app"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("build/tools"))));
        QFile cache(dir.filePath(QStringLiteral("build/CMakeCache.txt")));
        QVERIFY(cache.open(QIODevice::WriteOnly));
        // An unpacked package: writable, but no cache above it.
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("root/usr/bin"))));
    }
    void settingsFolderFor_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<bool>("beside");
        QTest::newRow("build tree, program two folders down") << "build/src/app" << true;
        QTest::newRow("build tree, program one folder down") << "build/tools" << true;
        QTest::newRow("build tree, top folder") << "build" << true;
        QTest::newRow("unpacked package, writable usr/bin") << "root/usr/bin" << false;
        QTest::newRow("installed under /usr/bin") << "/usr/bin" << false;
    }
    void settingsFolderFor()
    {
        QFETCH(QString, executableFolder);
        QFETCH(bool, beside);
        const QString folder = QDir::isAbsolutePath(executableFolder) ? executableFolder : dir.filePath(executableFolder);
        QDir(configFolder()).removeRecursively();
        QCOMPARE(settings::settingsFolderFor(folder), beside ? folder : configFolder());
        QCOMPARE(QFileInfo::exists(configFolder()), !beside);  // made for the installed program only
    }
    void thisTestRunsInABuildTree()
    {
        QCOMPARE(settings::ayarlarPath(), QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Ayarlar")));
    }
};

QTEST_GUILESS_MAIN(TestLocations)
#include "tst_locations.moc"
