// The automatic backup in the program: a generation when the main window closes (once a
// day), failures reported at the next start while the program still closes, the backup
// before "Veritabanı Temizle", and the restore window opened from the "Ayarlar" menu.
#include <QMenuBar>
#include <QtTest>

#include "AppFixture.h"
#include "AutoBackup.h"
#include "DemoData.h"
#include "GeriYukle.h"
#include "Maintenance.h"
#include "PrivateMount.h"
#include "ProfileFile.h"
#include "Shots.h"
#include "Sil.h"
#include "tamir.h"

using fixture::Program;
namespace ab = records::autobackup;

namespace {
// The names of the records in stored order, one text.
QString namesIn(const QString &path)
{
    QStringList names;
    records::openRecordStore(path)->readNames([&](qint64, QByteArrayView name) { names << QString::fromUtf8(name); });
    return names.join(QLatin1Char('|'));
}

// Closes the main window as the user does, answering yes to the exit question.
void closeProgram()
{
    ui::TestSeam::queueAnswer(ui::Yes);
    Form1->close();
    QVERIFY(!Form1->isVisible());
    QCOMPARE(ui::TestSeam::pendingAnswers(), 0);
}

// Ends this run and starts the program anew in the same folder, through the real start-up.
void restartInPlace()
{
    destroyWindows();
    QVERIFY(startUp());
}

QMenu *ayarlarMenu()
{
    for (QAction *menu : Form1->menuBar()->actions())
        if (menu->text() == QStringLiteral("Ayarlar"))
            return menu->menu();
    return nullptr;
}

QAction *restoreAction()
{
    if (QMenu *menu = ayarlarMenu())
        for (QAction *a : menu->actions())
            if (a->text() == QStringLiteral("Yedekten Geri Yükle..."))
                return a;
    return nullptr;
}

// Opens the restore window from the menu; `work` drives it like a user.
void openRestoreWindow(const std::function<void(TFrmGeriYukle &)> &work)
{
    ui::TestSeam::queueDialogHandler([work](QDialog &d) { work(static_cast<TFrmGeriYukle &>(d)); });
    QAction *action = restoreAction();
    QVERIFY(action);
    action->trigger();
}

// Expects one restart and keeps the program it would start.
struct RestartCatcher {
    QString started;
    RestartCatcher()
    {
        seam::queueAt(QStringLiteral("program:start"), [this](const QVariantList &args) { started = args.value(0).toString(); });
    }
};
}  // namespace

class TestAutoBackupWindows : public QObject {
    Q_OBJECT
private slots:
    void closingWritesOneGenerationADay();
    void declinedCloseWritesNone();
    void unwritableFolderIsReportedAtTheNextStart_data();
    void unwritableFolderIsReportedAtTheNextStart();
    void menuEntryComesAfterTheSpecifiedOnes();
    void clearingThenRestoringBringsEveryRecordBack();
    void damagedBackupIsRefused();
};

void TestAutoBackupWindows::closingWritesOneGenerationADay()
{
    Program p(fixture::numberedNames(40));
    p.show();
    closeProgram();
    const QList<ab::Generation> after = ab::generations(p.file(QStringLiteral("Yedekler")));
    QCOMPARE(after.size(), 1);
    QCOMPARE(records::verifyDatabase(after.first().path), 40);
    QCOMPARE(after.first().stamp.date(), QDate::currentDate());
    // Working on and closing again the same day writes none.
    Form1->show();
    Form1->Query1->append();
    Form1->Query1->setText(QStringLiteral("Adi_Soyadi"), QStringLiteral("YENİ"));
    Form1->Query1->post();
    closeProgram();
    QCOMPARE(ab::generations(p.file(QStringLiteral("Yedekler"))).size(), 1);
}

void TestAutoBackupWindows::declinedCloseWritesNone()
{
    Program p(fixture::numberedNames(3));
    p.show();
    ui::TestSeam::queueAnswer(ui::No);
    Form1->close();
    QVERIFY(Form1->isVisible());
    QVERIFY(!QFileInfo::exists(p.file(QStringLiteral("Yedekler"))));
}

void TestAutoBackupWindows::unwritableFolderIsReportedAtTheNextStart_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("full") << false;
    QTest::newRow("read-only") << true;
}

void TestAutoBackupWindows::unwritableFolderIsReportedAtTheNextStart()
{
    QFETCH(bool, readOnly);
    QString stick;
    bool mounted = false;
    Program p({}, true, [&](const QString &folder) {
        records::writeDemoDatabase(QDir(folder).filePath(QStringLiteral("Data.mdb")), 300, 3, true);
        stick = QDir(folder).filePath(QStringLiteral("stick"));
        mounted = privatemount::mountTmpfs(stick, 32, readOnly);
        settings::ProfileFile(QDir(folder).filePath(QStringLiteral("Secenekler")))
            .writeText(QStringLiteral("Yedek"), QStringLiteral("Klasor"), stick);
    });
    if (!mounted)
        QSKIP("no private mount namespace (needs root or CAP_SYS_ADMIN)");
    p.show();
    closeProgram();  // the program closes although the copy failed
    QVERIFY(QDir(stick).entryList(QDir::Files).isEmpty());
    privatemount::unmount(stick);

    ui::TestSeam::clearAsked();
    ui::TestSeam::queueAnswer(ui::Ok);
    restartInPlace();
    QCOMPARE(ui::TestSeam::asked().size(), 1);
    const ui::TestSeam::Asked report = ui::TestSeam::asked().first();
    QCOMPARE(report.title, QStringLiteral("Dikkat !"));
    QVERIFY2(report.text.startsWith(QStringLiteral("Son otomatik yedekleme tam yapılamadı:")), qPrintable(report.text));
    QVERIFY2(report.text.contains(stick), qPrintable(report.text));
    // Reported once: the start after that says nothing.
    ui::TestSeam::clearAsked();
    restartInPlace();
    QVERIFY(ui::TestSeam::asked().isEmpty());
}

void TestAutoBackupWindows::menuEntryComesAfterTheSpecifiedOnes()
{
    Program p(fixture::numberedNames(1));
    QMenu *ayarlar = ayarlarMenu();
    QVERIFY(ayarlar);
    QStringList texts;
    for (QAction *a : ayarlar->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{"Sabit Bilgiler", "-", "Genel Ayarlar", "-", "Veritabanını Temizle", "Veritabanını Onar",
                                 "Veritabanını Yedekle", "-", "Yedekten Geri Yükle...", "-", "Seçenekler..."}));
}

void TestAutoBackupWindows::clearingThenRestoringBringsEveryRecordBack()
{
    Program p(fixture::numberedNames(120));
    p.show();
    const QString data = p.file(QStringLiteral("Data.mdb"));
    const QString before = namesIn(data);
    // An older generation too: the list shows it below the one taken before clearing.
    ab::takeBackup(data, ab::Occasion::Closing, QDateTime::currentDateTime().addDays(-3));
    ui::TestSeam::queueAnswer(ui::Yes);
    Form3->RzBitBtn1Click();
    QCOMPARE(Form1->Query1->recordCount(), 0);

    RestartCatcher restart;
    openRestoreWindow([&](TFrmGeriYukle &w) {
        saveShot(&w, QStringLiteral("restore-window"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Yedekten Geri Yükle"));
        QCOMPARE(w.ListView1->topLevelItemCount(), 2);
        QTreeWidgetItem *newest = w.ListView1->topLevelItem(0);
        QCOMPARE(newest->text(1), QStringLiteral("120"));
        QCOMPARE(newest->text(3), QStringLiteral("Yedek klasörü"));  // the path once, below the list
        QVERIFY(newest->toolTip(3).startsWith(p.file(QStringLiteral("Yedekler/Kalpiyon-"))));
        QVERIFY(w.LabelDurum->text().endsWith(QStringLiteral("Yedek klasörü: ") + p.file(QStringLiteral("Yedekler"))));
        QVERIFY(newest->text(2).endsWith(QStringLiteral("kB")));
        w.ListView1->setCurrentItem(newest);
        ui::TestSeam::queueAnswer(ui::Yes);  // the question
        ui::TestSeam::queueAnswer(ui::Ok);   // done, restarting
        w.BtnGeriYukle->click();
    });
    const QList<ui::TestSeam::Asked> asked = ui::TestSeam::asked();
    QVERIFY2(asked[asked.size() - 2].text.contains(QStringLiteral("(120 kayıt) geri yüklensin mi?")), qPrintable(asked[asked.size() - 2].text));
    QVERIFY(asked.last().text.startsWith(QStringLiteral("Geri yükleme tamamlandı.")));
    QCOMPARE(namesIn(data), before);
    const QStringList kept = QDir(p.folder()).entryList({QStringLiteral("Data-geri-yukleme-oncesi-*.mdb")});
    QCOMPARE(kept.size(), 1);
    QCOMPARE(records::verifyDatabase(p.file(kept.first())), 0);  // the cleared one, kept
    QCOMPARE(restart.started, QCoreApplication::applicationFilePath());
}

void TestAutoBackupWindows::damagedBackupIsRefused()
{
    Program p(fixture::numberedNames(5));
    p.show();
    const QString data = p.file(QStringLiteral("Data.mdb"));
    const QString bad = p.file(QStringLiteral("eski.mdb"));
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    QFile original(data);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    QString w0tooltip;
    openRestoreWindow([&](TFrmGeriYukle &w) {
        QCOMPARE(w.ListView1->topLevelItemCount(), 0);
        ui::TestSeam::queueFileName(bad);
        w.BtnDosya->click();
        QCOMPARE(w.ListView1->topLevelItemCount(), 1);
        QCOMPARE(w.ListView1->topLevelItem(0)->text(1), QStringLiteral("okunamıyor"));
        QCOMPARE(w.ListView1->topLevelItem(0)->text(3), QStringLiteral("eski.mdb"));
        w0tooltip = w.ListView1->topLevelItem(0)->toolTip(3);
        ui::TestSeam::queueAnswer(ui::Ok);
        w.BtnGeriYukle->click();
        w.BtnKapat->click();
    });
    // Turkish, with the database layer's own words only under the details.
    QCOMPARE(ui::TestSeam::asked().last().text,
             QStringLiteral("Bu yedek geri yüklenemez; hiçbir şey değiştirilmedi.\nDosya bir Kalpiyon veritabanı değil ya da bozuk."));
    QVERIFY(ui::TestSeam::asked().last().details.startsWith(QStringLiteral("Unrecognized database format")));
    QVERIFY(w0tooltip.contains(QStringLiteral("Dosya bir Kalpiyon veritabanı değil ya da bozuk.")));
    QFile after(data);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bytes);
    QVERIFY(Form1->Query1->active());
    // No restart was even attempted (one would also be fatal: none is queued).
    for (const seam::Call &c : seam::calls())
        QVERIFY(c.point != QLatin1String("program:start"));
}

KALPIYON_TEST_MAIN(TestAutoBackupWindows)
#include "tst_autobackupwindows.moc"
