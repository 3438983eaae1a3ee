// Clearing, compacting and backing up from the real windows, with real files: nothing is
// ever lost, and success is reported only when it is true.
#include <QAbstractButton>
#include <QtTest>

#include "AppFixture.h"
#include "Maintenance.h"
#include "RecordStore.h"
#include "Error.h"
#include "Sil.h"
#include "TestSeam.h"
#include "UYedek.h"
#include "tamir.h"

namespace {
// The program with the maintenance windows' pauses dropped.
struct Program : fixture::Program {
    template <typename... Args>
    explicit Program(Args &&...args) : fixture::Program(std::forward<Args>(args)...)
    {
        seam::setPauseScale(0);
    }
};


using fixture::numberedNames;
const auto names = numberedNames;

qint64 countIn(const QString &path)
{
    return records::verifyDatabase(path);
}
}  // namespace

class TestMaintenanceWindows : public QObject {
    Q_OBJECT
private slots:
    void clear_data();
    void clear();
    void clearDeclined();
    void compactSuccess();
    void compactFailures_data();
    void compactFailures();
    void restartStartsTheSameProgramInTheSameFolder();
    void compactNothingToGain();
    void compactWhileAnotherProcessSaves();
    void destination_data();
    void destination();
    void backup_data();
    void backup();
    void backupWithoutChoice();
    void backupFailureIsReported();
    void backupTreeReadWhenShown();
};

void TestMaintenanceWindows::clear_data()
{
    QTest::addColumn<int>("records");
    QTest::newRow("empty") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("1200 (several batches)") << 1200;
}

void TestMaintenanceWindows::clear()
{
    QFETCH(int, records);
    Program p(names(records));
    p.show();
    if (records > 0) {  // a record being edited is deleted too
        Form1->Query1->edit();
        Form1->Query1->setText(1, QStringLiteral("9"));
    }
    ui::TestSeam::queueAnswer(ui::Yes);
    Form3->RzBitBtn1Click();
    QCOMPARE(ui::TestSeam::asked().last().text, QStringLiteral("Bu işlem verileri kalıcı olarak silecek. Emin misiniz ?"));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Dikkat !"));
    QCOMPARE(Form3->Label2->text(), QStringLiteral("Kayıtlar silindi..."));
    QCOMPARE(Form3->ProgressBar1->value(), records);
    QCOMPARE(Form1->Query1->recordCount(), 0);
    QCOMPARE(countIn(p.file(QStringLiteral("Data.mdb"))), qint64(0));
    QCOMPARE(Form1->statusPanels[0]->text(), QStringLiteral("  Toplam Kayıt: 0 / -1"));
    // Reopening shows the last state.
    Form3->show();
    QCOMPARE(Form3->Label2->text(), QStringLiteral("Kayıtlar silindi..."));
}

void TestMaintenanceWindows::clearDeclined()
{
    Program p(names(3));
    for (ui::Button answer : {ui::No, ui::Cancel}) {
        ui::TestSeam::queueAnswer(answer);
        Form3->RzBitBtn1Click();
    }
    QCOMPARE(Form3->Label2->text(), QStringLiteral("Veritabanı kayıtları silme ... (Tüm kayıtlar silinir)"));
    QCOMPARE(countIn(p.file(QStringLiteral("Data.mdb"))), qint64(3));
}

void TestMaintenanceWindows::compactSuccess()
{
    Program p(names(1500));
    p.show();
    Form1->Query1->removeAll();  // leaves free pages behind
    Form1->VeritabannOnar1Click();
    QVERIFY(!Form1->Query1->active());
    QVERIFY(FrmTamir->isVisible());
    const QString before = FrmTamir->Label5->text();
    QVERIFY2(before.endsWith(QStringLiteral(" kB")) || before.endsWith(QStringLiteral(" MB")), qPrintable(before));
    FrmTamir->Button1Click();
    QCOMPARE(FrmTamir->Label3->text(), QStringLiteral("İşlem başarıyla tamamlandı"));
    QCOMPARE(FrmTamir->Button1->text(), QStringLiteral("Programı Başlat"));
    QCOMPARE(FrmTamir->ProgressBar1->value(), 100);
    QVERIFY(!FrmTamir->Button6->isEnabled());
    QVERIFY(!QFile::exists(p.file(QStringLiteral("Yedek.mdb"))));
    QCOMPARE(countIn(p.file(QStringLiteral("Data.mdb"))), qint64(0));
    QVERIFY(FrmTamir->Label6->text() != before);
}

void TestMaintenanceWindows::compactFailures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("leftover Yedek.mdb") << "leftover";
    QTest::newRow("missing Data.mdb") << "missing";
    // The run interrupted at each of its steps.
    QTest::newRow("stopped before compacting") << "compact";
    QTest::newRow("stopped before replacing") << "replace";
    QTest::newRow("stopped after replacing") << "finish";
}

void TestMaintenanceWindows::compactFailures()
{
    QFETCH(QString, setup);
    Program p(names(20));
    const QString data = p.file(QStringLiteral("Data.mdb"));
    if (setup == QLatin1String("leftover")) {
        QFile f(p.file(QStringLiteral("Yedek.mdb")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("eski");
    } else if (setup == QLatin1String("missing")) {
        Form1->Query1->close();
        QFile::remove(data);
    }
    if (setup != QLatin1String("leftover") && setup != QLatin1String("missing"))
        seam::queueAt(QStringLiteral("compaction:") + setup, [](const QVariantList &) { throw Error(QStringLiteral("durduruldu")); });
    Form1->VeritabannOnar1Click();
    if (setup == QLatin1String("missing"))
        QCOMPARE(FrmTamir->Label5->text(), QStringLiteral("*.mbd dosyası bulunamadı!"));
    ui::TestSeam::queueAnswer(ui::Ok);
    FrmTamir->Button1Click();
    QCOMPARE(FrmTamir->Label3->text(), QStringLiteral("Hata! Veritabanının adı değiştirilmiş veya kullanımda !"));
    QCOMPARE(FrmTamir->Button1->text(), QStringLiteral("İşlem Başarısız"));
    if (setup == QLatin1String("leftover"))
        QVERIFY(ui::TestSeam::asked().last().text.contains(QStringLiteral("Yedek.mdb")));
    if (setup == QLatin1String("missing")) {
        QVERIFY(!QFile::exists(p.file(QStringLiteral("Yedek.mdb"))));
        return;
    }
    // Whatever step it stopped at, a sound Data.mdb holds every record.
    QCOMPARE(countIn(data), qint64(20));
    // A second click restarts instead of running again.
    QString started;
    seam::queueAt(QStringLiteral("program:start"), [&](const QVariantList &args) { started = args.value(0).toString(); });
    FrmTamir->Button1Click();
    QCOMPARE(started, QCoreApplication::applicationFilePath());
}

void TestMaintenanceWindows::restartStartsTheSameProgramInTheSameFolder()
{
    Program p(names(2));
    QString program, folder;
    seam::queueAt(QStringLiteral("program:start"), [&](const QVariantList &args) {
        program = args.value(0).toString();
        folder = args.value(1).toString();
    });
    Form1->VeritabannOnar1Click();
    FrmTamir->Button6Click();  // "İptal" before a run: restart, no file touched
    QCOMPARE(program, QCoreApplication::applicationFilePath());
    QCOMPARE(QDir(folder).canonicalPath(), QDir(p.folder()).canonicalPath());
    QCOMPARE(countIn(p.file(QStringLiteral("Data.mdb"))), qint64(2));
}

void TestMaintenanceWindows::compactNothingToGain()
{
    Program p(names(10));
    Form1->VeritabannOnar1Click();
    ui::TestSeam::queueAnswer(ui::Ok);
    FrmTamir->Button1Click();
    QCOMPARE(FrmTamir->Label5->text(), FrmTamir->Label6->text());
    QCOMPARE(ui::TestSeam::asked().last().text, QStringLiteral("Veritabanı performansı en iyi durumda. Değişik yapılmadı."));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Kalpiyon"));
    QCOMPARE(countIn(p.file(QStringLiteral("Data.mdb"))), qint64(10));
}

// A second process saves between the copy and the replacement (the sqlite3 tool, as any
// SQLite program may): its save is refused at once with the store's busy error rather than
// acknowledged and then lost with the replaced file.
void TestMaintenanceWindows::compactWhileAnotherProcessSaves()
{
    Program p(names(800));
    p.show();
    const QString data = p.file(QStringLiteral("Data.mdb"));
    Form1->VeritabannOnar1Click();
    // Free pages for the compaction to drop: the sizes before and after differ.
    {
        const auto store = records::openRecordStore(data);
        QVector<qint64> laterKeys;
        store->readNames([&](qint64 key, QByteArrayView) {
            if (key > 50)
                laterKeys << key;
        });
        store->removeKeys(laterKeys);
    }
    int status = -1;
    QString said;
    seam::queueAt(QStringLiteral("compaction:replace"), [&](const QVariantList &) {
        QProcess other;
        other.start(QStringLiteral("sqlite3"), {QStringLiteral("-cmd"), QStringLiteral(".timeout 500"), data,
                                                QStringLiteral("INSERT INTO veriler(Adi_Soyadi) VALUES('ARADA KAYDEDİLEN')")});
        QVERIFY(other.waitForFinished(10000));
        status = other.exitCode();
        said = QString::fromUtf8(other.readAllStandardError());
    });
    FrmTamir->Button1Click();
    QCOMPARE(FrmTamir->Label3->text(), QStringLiteral("İşlem başarıyla tamamlandı"));
    const qint64 count = countIn(data);
    QVERIFY2(status == 0 ? count == 51 : count == 50, "a save acknowledged during the run was lost");
    QVERIFY2(status != 0 && said.contains(QStringLiteral("database is locked")), qPrintable(said));
    QVERIFY(!QFile::exists(p.file(QStringLiteral("Yedek.mdb"))));
}

void TestMaintenanceWindows::destination_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("directory") << "/home/hekim/Belgeler" << "Yedek" << "/home/hekim/Belgeler/Yedek/";
    QTest::newRow("drive root: no doubled separator") << "/" << "Yedek" << "/Yedek/";
    QTest::newRow("empty name: the directory itself") << "/mnt/usb" << "" << "/mnt/usb/";
    QTest::newRow("nested name") << "/mnt/usb" << "2026/Aralık" << "/mnt/usb/2026/Aralık/";
    QTest::newRow("real letter case kept") << "/media/Hekim/USB" << "Yedek" << "/media/Hekim/USB/Yedek/";
}

void TestMaintenanceWindows::destination()
{
    QFETCH(QString, dir);
    QFETCH(QString, name);
    QTEST(TFrmYedek::composeDestination(dir, name), "expected");
}

void TestMaintenanceWindows::backup_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<bool>("settings");
    QTest::addColumn<QString>("expectedFolder");  // relative to the chosen directory
    QTest::newRow("default") << "Yedek" << false << "Yedek";
    QTest::newRow("empty name: the directory itself") << "" << false << "";
    QTest::newRow("nested name") << "a/b/c" << true << "a/b/c";
}

void TestMaintenanceWindows::backup()
{
    QFETCH(QString, folderName);
    QFETCH(bool, settings);
    QFETCH(QString, expectedFolder);
    Program p(names(30));
    p.show();
    Form1->SaveSettings();
    QTemporaryDir target;
    FrmYedek->setCurrentDirectory(target.path());
    QCOMPARE(FrmYedek->currentDirectory(), target.path());  // real letter case, no lower-casing
    FrmYedek->Edit1->setText(folderName);
    FrmYedek->CheckBox2->setChecked(settings);
    ui::TestSeam::queueAnswer(ui::Ok);
    FrmYedek->BitBtn1Click();
    QCOMPARE(ui::TestSeam::asked().last().text, QStringLiteral("Yedekleme işlemi başarıyla tamamlandı."));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Kalpiyon"));
    const QDir dest(QDir(target.path()).filePath(expectedFolder));
    QCOMPARE(countIn(dest.filePath(QStringLiteral("Data.mdb"))), qint64(30));
    QCOMPARE(QFile::exists(dest.filePath(QStringLiteral("Ayarlar"))), settings);
    QCOMPARE(QDir::currentPath(), p.folder());  // the window never moves the working folder
}

void TestMaintenanceWindows::backupWithoutChoice()
{
    Program p(names(1));
    FrmYedek->CheckBox1->setChecked(false);
    FrmYedek->CheckBox2->setChecked(false);
    ui::TestSeam::queueAnswer(ui::Ok);
    FrmYedek->BitBtn1Click();
    QCOMPARE(ui::TestSeam::asked().last().text, QStringLiteral("Yedekleme için seçim yapılmadı !"));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Dikkat !"));
}

void TestMaintenanceWindows::backupFailureIsReported()
{
    Program p(names(1));
    QTemporaryDir target;
    QFile blocker(QDir(target.path()).filePath(QStringLiteral("dosya")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FrmYedek->setCurrentDirectory(target.path());
    FrmYedek->Edit1->setText(QStringLiteral("dosya"));  // a file stands where the folder should be
    ui::TestSeam::queueAnswer(ui::Ok);
    FrmYedek->BitBtn1Click();
    QVERIFY(ui::TestSeam::asked().last().text.startsWith(QStringLiteral("Yedekleme tamamlanamadı.")));
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Hata"));

    // A settings file that does not exist is named.
    QFile::remove(Form1->SettingsFileName());
    FrmYedek->Edit1->setText(QStringLiteral("iyi"));
    FrmYedek->CheckBox2->setChecked(true);
    ui::TestSeam::queueAnswer(ui::Ok);
    FrmYedek->BitBtn1Click();
    QVERIFY(ui::TestSeam::asked().last().text.contains(QStringLiteral("Ayarlar")));
    QVERIFY(ui::TestSeam::asked().last().text.contains(QStringLiteral("dosya yok")));
}

// The hidden backup window reads no drives or folders; its first showing builds the drive list
// and the tree, opened at the working folder.
void TestMaintenanceWindows::backupTreeReadWhenShown()
{
    Program p(names(1));
    QVERIFY(!FrmYedek->DirectoryOutline1->model());
    QCOMPARE(FrmYedek->DriveComboBox1->count(), 0);
    FrmYedek->show();
    QVERIFY(FrmYedek->DirectoryOutline1->model());
    QVERIFY(FrmYedek->DriveComboBox1->count() > 0);
    QCOMPARE(FrmYedek->currentDirectory(), QDir::currentPath());
    FrmYedek->hide();
}

KALPIYON_TEST_MAIN(TestMaintenanceWindows)
#include "tst_maintenancewindows.moc"
