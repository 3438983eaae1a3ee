// The program's window on a server that freezes (SIGSTOP) while a record is saved: the window
// keeps painting and its timers run, the save is refused in Turkish within a bounded time, and
// once the server thaws the same record saves. A private cluster (PgCluster.h) of its own.
#include <QTimer>

#include "AppFixture.h"
#include "PgCluster.h"
#include "ProfileFile.h"
#include "RecordStore.h"

class TestServerDesk : public QObject {
    Q_OBJECT
private slots:
    void windowAnswersWhileServerFrozen()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pg_ctl"), {QStringLiteral("/usr/lib/postgresql/15/bin")}).isEmpty())
            QSKIP("PostgreSQL is not installed");
        testpg::Cluster cluster;
        if (cluster.address().isEmpty())
            QSKIP("a private PostgreSQL cluster could not be started");
        records::createRecordStore(cluster.address(), true);
        fixture::Program p({}, false, [&](const QString &folder) {
            settings::ProfileFile(QDir(folder).filePath(QStringLiteral("Secenekler")))
                .writeText(QStringLiteral("Sunucu"), QStringLiteral("Baglanti"), cluster.address());
        });
        QVERIFY(p.mayWork);
        p.show();
        QVERIFY(Form1->Query1->active());
        QTest::mouseClick(Form1->BtnYeni, Qt::LeftButton);
        fixture::type(Form1->dbEdit(QStringLiteral("EditAd")), QStringLiteral("MEHMET"));

        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(50);
        ui::TestSeam::queueAnswer(ui::Ok);
        qint64 took = 0;
        {
            cluster.signalAll(SIGSTOP);
            testpg::Thaw thaw(cluster, 30000);
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(Form1->RzBitBtn6, Qt::LeftButton);  // Kaydet
            took = clock.elapsed();
        }
        QVERIFY2(took < 15000, qPrintable(QString::number(took)));
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));
        QVERIFY2(fixture::askedTexts().last().contains(QStringLiteral("yanıt vermedi")), qPrintable(fixture::askedTexts().last()));
        QCOMPARE(QApplication::overrideCursor(), nullptr);  // the busy pointer is gone
        QCOMPARE(Form1->Query1->state(), records::DataSetState::Insert);

        QTest::mouseClick(Form1->RzBitBtn6, Qt::LeftButton);
        QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
        QCOMPARE(Form1->Query1->recordCount(), 1);
        QCOMPARE(records::openRecordStore(cluster.address())->recordCount(), 1);
    }
};

KALPIYON_TEST_MAIN(TestServerDesk)

#include "tst_serverdesk.moc"
