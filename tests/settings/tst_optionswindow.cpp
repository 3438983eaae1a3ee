// "Seçenekler" on the offscreen platform: opened from the menu, filled as a user would, the
// file it writes; refusals of bad fields; "İptal"; "Bağlantıyı Dene" against a real file and
// the test server with a wrong password; "Dene" against a running receiver and closed ports.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <thread>

#include "AppFixture.h"
#include "Error.h"
#include "OptionsWindow.h"
#include "Receiver.h"
#include "ui_OptionsWindow.h"
#include "../support/FreePortReceiver.h"

using fixture::Program;
using fixture::readFile;
using fixture::writeFile;

namespace {

void setField(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    fixture::type(edit, text);
}

QAction *optionsAction()
{
    for (QAction *menu : Form1->menuBar()->actions())
        if (menu->text() == QStringLiteral("Ayarlar"))
            for (QAction *a : menu->menu()->actions())
                if (a->text() == QStringLiteral("Seçenekler..."))
                    return a;
    return nullptr;
}

// A receiver on a free loopback port, running on a thread of its own.
struct RunningReceiver {
    std::unique_ptr<dicom::Receiver> receiver;
    std::thread thread;
    int port = 0;
    explicit RunningReceiver(const QString &folder)
    {
        receiver = testdicom::receiverOnFreePort(folder, &port);
        if (receiver)
            thread = std::thread([this] { receiver->run(); });
    }
    ~RunningReceiver()
    {
        if (!receiver)
            return;
        receiver->stop();
        thread.join();
    }
};

// psql against the test server as its owner.
QString psql(const QString &sql)
{
    QProcess p;
    p.start(QStringLiteral("psql"), {qEnvironmentVariable("KALPIYON_TEST_PG"), QStringLiteral("-XAtqc"), sql});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

}  // namespace

class TestOptionsWindow : public QObject {
    Q_OBJECT
private slots:
    void menuOpensTheWindowWithTheFileValues();
    void okWritesTheFields_data();
    void okWritesTheFields();
    void cancelWritesNothing();
    void folderInformation();
    void serverTryOnAFile();
    void serverTryShowsNoPassword();
    void dicomTry_data();
    void dicomTry();
};

void TestOptionsWindow::menuOpensTheWindowWithTheFileValues()
{
    Program p({QStringLiteral("ARI")});
    writeFile(p.file(QStringLiteral("Secenekler")),
              "[DICOM]\r\nEtkin=1\r\nPort=104\r\n[Sunucu]\r\nBaglanti=host=sunucu dbname=kalpiyon\r\n");
    p.show();
    QVERIFY(optionsAction());
    QStringList seen;
    ui::TestSeam::queueDialogHandler([&seen](QDialog &d) {
        auto &w = static_cast<OptionsWindow &>(d);
        seen << w.windowTitle() << w.ui->ServerEdit->text() << QString::number(w.ui->DicomEnabledChk->isChecked())
             << w.ui->DicomPortEdit->text() << w.ui->DicomAeEdit->text() << w.ui->BackupFolderEdit->text()
             << w.ui->SecondFolderEdit->text();
        w.ui->CancelBtn->click();
    });
    optionsAction()->trigger();
    QCOMPARE(seen, (QStringList{"Seçenekler", "host=sunucu dbname=kalpiyon", "1", "104", "KALPIYON", "Yedekler", ""}));
}

void TestOptionsWindow::okWritesTheFields_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("dicom");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("ae");
    QTest::addColumn<QString>("folder");  // "%H" stands for the test's folder
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("refusal");  // the Turkish warning, empty when saved
    QTest::addColumn<QByteArray>("written");

    const QString ok;
    QTest::newRow("all set")
        << "postgresql://kalpiyon@sunucu/kalpiyon" << true << "11112" << "KALPIYON" << "%H/yedek" << "%H/usb" << ok
        << QByteArray("[Sunucu]\r\nBaglanti=postgresql://kalpiyon@sunucu/kalpiyon\r\n[DICOM]\r\nEtkin=1\r\n"
                      "[Yedek]\r\nKlasor=%H/yedek\r\nIkinciKlasor=%H/usb\r\n");
    QTest::newRow("defaults write nothing") << "" << false << "11112" << "KALPIYON" << "Yedekler" << "" << ok << QByteArray();
    QTest::newRow("port and title") << "" << true << "104" << "ECHO LAB" << "Yedekler" << "" << ok
                                    << QByteArray("[DICOM]\r\nEtkin=1\r\nPort=104\r\nAETitle=ECHO LAB\r\n");
    QTest::newRow("relative folder") << "" << false << "11112" << "KALPIYON" << "yedek" << "" << ok
                                     << QByteArray("[Yedek]\r\nKlasor=yedek\r\n");
    QTest::newRow("port 0") << "" << true << "0" << "KALPIYON" << "Yedekler" << ""
                            << "Kapı numarası 1 ile 65535 arasında bir tam sayı olmalı." << QByteArray();
    QTest::newRow("port too large") << "" << true << "65536" << "KALPIYON" << "Yedekler" << ""
                                    << "Kapı numarası 1 ile 65535 arasında bir tam sayı olmalı." << QByteArray();
    QTest::newRow("port word") << "" << true << "on" << "KALPIYON" << "Yedekler" << ""
                               << "Kapı numarası 1 ile 65535 arasında bir tam sayı olmalı." << QByteArray();
    QTest::newRow("AE title too long") << "" << true << "104" << "KALPIYONKALPIYON1" << "Yedekler" << ""
                                       << "AE başlığı en çok 16 karakter olabilir (şu an 17)." << QByteArray();
    QTest::newRow("AE title empty") << "" << true << "104" << "" << "Yedekler" << "" << "AE başlığı boş olamaz." << QByteArray();
    QTest::newRow("AE title Turkish letter")
        << "" << true << "104" << "KALPİYON" << "Yedekler" << ""
        << "AE başlığında \"İ\" kullanılamaz: yalnızca Türkçe harf içermeyen harfler, rakamlar, boşluk ve noktalama "
           "işaretleri (ters bölü dışında) kullanılabilir."
        << QByteArray();
    QTest::newRow("AE title backslash")
        << "" << true << "104" << "A\\B" << "Yedekler" << ""
        << "AE başlığında \"\\\" kullanılamaz: yalnızca Türkçe harf içermeyen harfler, rakamlar, boşluk ve noktalama "
           "işaretleri (ters bölü dışında) kullanılabilir."
        << QByteArray();
    QTest::newRow("missing folder") << "" << false << "11112" << "KALPIYON" << "%H/yok" << ""
                                    << "Yedek klasörü bulunamadı: %H/yok\nVar olan bir klasör seçin." << QByteArray();
    QTest::newRow("missing second folder")
        << "" << false << "11112" << "KALPIYON" << "Yedekler" << "%H/takili-degil"
        << "İkinci yedek klasörü bulunamadı: %H/takili-degil\nUSB belleği takın ya da var olan bir klasör seçin." << QByteArray();
}

void TestOptionsWindow::okWritesTheFields()
{
    QFETCH(QString, server);
    QFETCH(bool, dicom);
    QFETCH(QString, port);
    QFETCH(QString, ae);
    QFETCH(QString, folder);
    QFETCH(QString, second);
    QFETCH(QString, refusal);
    QFETCH(QByteArray, written);
    Program p({QStringLiteral("ARI")});
    QVERIFY(QDir().mkpath(p.file(QStringLiteral("yedek"))));
    QVERIFY(QDir().mkpath(p.file(QStringLiteral("usb"))));
    const QString here = p.folder();
    OptionsWindow w(p.file(QStringLiteral("Data.mdb")));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    setField(w.ui->ServerEdit, server);
    if (w.ui->DicomEnabledChk->isChecked() != dicom)
        QTest::keyClick(w.ui->DicomEnabledChk, Qt::Key_Space);
    setField(w.ui->DicomPortEdit, port);
    setField(w.ui->DicomAeEdit, ae);
    setField(w.ui->BackupFolderEdit, QString(folder).replace(QLatin1String("%H"), here));
    setField(w.ui->SecondFolderEdit, QString(second).replace(QLatin1String("%H"), here));
    if (!refusal.isEmpty())
        ui::TestSeam::queueAnswer(ui::Ok);
    QTest::mouseClick(w.ui->OKBtn, Qt::LeftButton);
    QCOMPARE(fixture::askedTexts(), refusal.isEmpty() ? QStringList() : QStringList{QString(refusal).replace(QLatin1String("%H"), here)});
    QCOMPARE(w.isVisible(), !refusal.isEmpty());
    QCOMPARE(readFile(p.file(QStringLiteral("Secenekler"))), written.replace("%H", here.toUtf8()));
}

void TestOptionsWindow::cancelWritesNothing()
{
    Program p({QStringLiteral("ARI")});
    const QByteArray before = "[DICOM]\r\nEtkin=0\r\n; el ile\r\n";
    writeFile(p.file(QStringLiteral("Secenekler")), before);
    for (const bool escape : {false, true}) {
        OptionsWindow w(p.file(QStringLiteral("Data.mdb")));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        setField(w.ui->ServerEdit, QStringLiteral("host=baska"));
        QTest::keyClick(w.ui->DicomEnabledChk, Qt::Key_Space);
        setField(w.ui->DicomPortEdit, QStringLiteral("104"));
        if (escape)
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            QTest::mouseClick(w.ui->CancelBtn, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(readFile(p.file(QStringLiteral("Secenekler"))), before);
    }
}

void TestOptionsWindow::folderInformation()
{
    Program p({QStringLiteral("ARI")});
    const QString yedek = p.file(QStringLiteral("Yedekler"));
    QVERIFY(QDir().mkpath(yedek));
    writeFile(QDir(yedek).filePath(QStringLiteral("Kalpiyon-20261208-181502.mdb")), "x");
    writeFile(QDir(yedek).filePath(QStringLiteral("Kalpiyon-20261130-090000.mdb")), "x");
    OptionsWindow w(p.file(QStringLiteral("Data.mdb")));
    const QString info = w.ui->BackupFolderInfo->text();
    QVERIFY2(info.startsWith(yedek + QStringLiteral(": ")) && info.contains(QStringLiteral(" boş, son yedek 08.12.2026 18:15")),
             qPrintable(info));
    QCOMPARE(w.ui->SecondFolderInfo->text(), QString());
    setField(w.ui->SecondFolderEdit, p.file(QStringLiteral("usb")));
    QCOMPARE(w.ui->SecondFolderInfo->text(), p.file(QStringLiteral("usb")) + QStringLiteral(": bulunamadı"));
    QVERIFY(QDir().mkpath(p.file(QStringLiteral("usb"))));
    setField(w.ui->SecondFolderEdit, p.file(QStringLiteral("usb")));
    QVERIFY2(w.ui->SecondFolderInfo->text().endsWith(QStringLiteral(" boş, henüz yedek yok")), qPrintable(w.ui->SecondFolderInfo->text()));
}

void TestOptionsWindow::serverTryOnAFile()
{
    Program p(fixture::numberedNames(3));
    OptionsWindow w(p.file(QStringLiteral("Data.mdb")));
    ui::TestSeam::queueAnswer(ui::Ok);
    QTest::mouseClick(w.ui->TestServerBtn, Qt::LeftButton);
    QCOMPARE(ui::TestSeam::asked().size(), 1);
    QCOMPARE(ui::TestSeam::asked().first().title, QStringLiteral("Bilgi"));
    QVERIFY2(ui::TestSeam::asked().first().text.endsWith(QStringLiteral("Data.mdb (3 kayıt).")), qPrintable(fixture::askedTexts().first()));
    QVERIFY(!QFile::exists(p.file(QStringLiteral("Secenekler"))));
}

// A role that must give its password, on the test server: a line of its own at the top of the
// server's pg_hba.conf for the length of the test, then the file as it was.
void TestOptionsWindow::serverTryShowsNoPassword()
{
    if (qEnvironmentVariableIsEmpty("KALPIYON_TEST_PG"))
        QSKIP("KALPIYON_TEST_PG is not set (scripts/test starts a test server)");
    const QString hbaPath = psql(QStringLiteral("SHOW hba_file"));
    QFile hba(hbaPath);
    QVERIFY2(hba.open(QIODevice::ReadWrite), qPrintable(hbaPath));
    const QByteArray original = hba.readAll();
    const auto restore = qScopeGuard([&] {
        hba.resize(0);
        hba.seek(0);
        hba.write(original);
        hba.close();
        psql(QStringLiteral("SELECT pg_reload_conf()"));
        psql(QStringLiteral("DROP ROLE IF EXISTS kalpiyon_parolali"));
    });
    hba.resize(0);
    hba.seek(0);
    hba.write("local all kalpiyon_parolali scram-sha-256\n" + original);
    hba.flush();
    psql(QStringLiteral("CREATE ROLE kalpiyon_parolali LOGIN PASSWORD 'Dogru-Parola-71'"));
    QCOMPARE(psql(QStringLiteral("SELECT pg_reload_conf()")), QStringLiteral("t"));

    const QUrlQuery query(QUrl(qEnvironmentVariable("KALPIYON_TEST_PG")).query());
    const QString socket = query.queryItemValue(QStringLiteral("host"));
    const QString secret = QStringLiteral("Yanlis-Parola-39");
    Program p({QStringLiteral("ARI")});
    OptionsWindow w(p.file(QStringLiteral("Data.mdb")));
    for (const QString &address : {QStringLiteral("postgresql://kalpiyon_parolali:%1@/kalpiyon?host=%2").arg(secret, socket),
                                   QStringLiteral("host=%2 dbname=kalpiyon user=kalpiyon_parolali password=%1").arg(secret, socket)}) {
        ui::TestSeam::clearAsked();
        setField(w.ui->ServerEdit, address);
        ui::TestSeam::queueAnswer(ui::Ok);
        QTest::mouseClick(w.ui->TestServerBtn, Qt::LeftButton);
        QCOMPARE(ui::TestSeam::asked().size(), 1);
        const ui::TestSeam::Asked asked = ui::TestSeam::asked().first();
        QCOMPARE(asked.title, QStringLiteral("Dikkat !"));
        QVERIFY2(asked.text.startsWith(QStringLiteral("Veritabanına bağlanılamadı. Adresi, sunucunun açık olduğunu ve parolanızı")),
                 qPrintable(asked.text));
        QVERIFY2(!asked.text.contains(QStringLiteral("Parola-39")), qPrintable(asked.text));
    }
}

void TestOptionsWindow::dicomTry_data()
{
    QTest::addColumn<QString>("target");  // "running", "closed"
    QTest::addColumn<QString>("ae");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");  // "%1": the port

    QTest::newRow("running receiver") << "running" << "KALPIYON" << "Bilgi"
                                      << "127.0.0.1:%1 adresindeki DICOM alıcısı (AE başlığı \"KALPIYON\") doğrulamaya yanıt verdi.";
    QTest::newRow("wrong AE title") << "running" << "BASKA" << "Dikkat !"
                                    << "127.0.0.1:%1 bağlantıyı reddetti; AE başlığı \"BASKA\" orada tanınmıyor olabilir.";
    QTest::newRow("closed port") << "closed" << "KALPIYON" << "Dikkat !"
                                 << "127.0.0.1:%1 adresinde çalışan bir DICOM alıcısına ulaşılamadı; kapı numarasını ve "
                                    "alıcının açık olduğunu denetleyin.";
}

void TestOptionsWindow::dicomTry()
{
    QFETCH(QString, target);
    QFETCH(QString, ae);
    Program p({QStringLiteral("ARI")});
    int port = 0;
    {
        RunningReceiver closed(p.folder());  // a port that was free a moment ago
        QVERIFY(closed.receiver);
        port = closed.port;
    }
    std::unique_ptr<RunningReceiver> running;
    if (target == QLatin1String("running")) {
        running = std::make_unique<RunningReceiver>(p.folder());
        QVERIFY(running->receiver);
        port = running->port;
    }
    OptionsWindow w(p.file(QStringLiteral("Data.mdb")));
    setField(w.ui->DicomPortEdit, QString::number(port));
    setField(w.ui->DicomAeEdit, ae);
    ui::TestSeam::queueAnswer(ui::Ok);
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(w.ui->TestDicomBtn, Qt::LeftButton);
    QVERIFY2(t.elapsed() < 30000, "the try gives up instead of hanging");
    QCOMPARE(ui::TestSeam::asked().size(), 1);
    QTEST(ui::TestSeam::asked().first().title, "title");
    QFETCH(QString, text);
    QCOMPARE(ui::TestSeam::asked().first().text, text.arg(port));
    QVERIFY(!QFile::exists(p.file(QStringLiteral("Secenekler"))));
}

KALPIYON_TEST_MAIN(TestOptionsWindow)
#include "tst_optionswindow.moc"
