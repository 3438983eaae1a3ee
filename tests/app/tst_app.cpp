// The application object as docks see it (icon, desktop entry), and the notice of the first
// start from the menu, answered through the dialog seam.
#include <QtTest>

#include "AppFixture.h"
#include "FirstStart.h"

class TestApp : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        ui::TestSeam::uninstall();
        qunsetenv("KALPIYON_NEW_DATABASE");
    }
    void iconAndDesktopEntry()
    {
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("kalpiyon"));  // packaging/kalpiyon.desktop
        const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
        for (const int side : {16, 48, 256})
            QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(sizes.size())));
        // The picture is the bundled heart, not an empty pixmap.
        const QImage image = QApplication::windowIcon().pixmap(48).toImage();
        QVERIFY(image.pixelColor(15, 15).red() > 150 && image.pixelColor(15, 15).green() < 100);
    }
    void newDatabaseNotice_data()
    {
        QTest::addColumn<QString>("named");  // KALPIYON_NEW_DATABASE, empty: unset
        QTest::addColumn<bool>("shown");
        QTest::newRow("plain start") << QString() << false;
        QTest::newRow("first start from the menu") << QStringLiteral("Kalpiyon/Data.mdb") << true;
    }
    void newDatabaseNotice()
    {
        QFETCH(QString, named);
        QFETCH(bool, shown);
        if (!named.isEmpty())
            qputenv("KALPIYON_NEW_DATABASE", named.toUtf8());
        ui::TestSeam::install();
        if (shown)
            ui::TestSeam::queueAnswer(ui::Ok);
        app::announceNewDatabase();
        QCOMPARE(ui::TestSeam::asked().size(), shown ? 1 : 0);
        if (shown) {
            const ui::TestSeam::Asked a = ui::TestSeam::asked().first();
            QCOMPARE(a.title, QStringLiteral("Bilgi"));
            QVERIFY2(a.text.startsWith(QStringLiteral("Muayeneler için yeni, boş bir veritabanı oluşturuldu:\n")), qPrintable(a.text));
            QVERIFY2(a.text.contains(QDir::current().absoluteFilePath(named)), qPrintable(a.text));
            // It says that copies are made by themselves, and where.
            QVERIFY2(a.text.contains(QStringLiteral("kendiliğinden")), qPrintable(a.text));
            QVERIFY2(a.text.contains(QDir::current().absoluteFilePath(QStringLiteral("Kalpiyon/Yedekler"))), qPrintable(a.text));
        }
        // Said once: a restart of the program (it inherits the environment) says nothing.
        QVERIFY(!qEnvironmentVariableIsSet("KALPIYON_NEW_DATABASE"));
        app::announceNewDatabase();
        QCOMPARE(ui::TestSeam::asked().size(), shown ? 1 : 0);
        QCOMPARE(ui::TestSeam::pendingAnswers(), 0);
    }
};

KALPIYON_TEST_MAIN(TestApp)
#include "tst_app.moc"
