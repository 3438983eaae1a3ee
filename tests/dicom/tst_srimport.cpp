// Taking a DICOM SR into the main window, offscreen through the window itself: the menu
// entry, a file, a folder, the current record, and a report received from storescu over a
// real association. Nothing reaches Data.mdb until "Kaydet".
#include <QCheckBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "AppFixture.h"
#include "Ayar.h"
#include "DatasetAdapter.h"
#include "ReportFilling.h"
#include "Dataset.h"
#include "ProfileFile.h"
#include "Locations.h"
#include "Shots.h"
#include "Inbox.h"
#include "SrImport.h"

namespace {

QString fixturePath(const QString &name)
{
    return QStringLiteral(KALPIYON_TEST_FIXTURES "/") + name;
}

// field -> value of an .expected.tsv.
QList<QPair<QString, QString>> expectedOf(const QString &sample)
{
    QFile f(fixturePath(sample + QStringLiteral(".expected.tsv")));
    f.open(QIODevice::ReadOnly);
    QList<QPair<QString, QString>> rows;
    for (const QByteArray &line : f.readAll().split('\n').mid(2))
        if (!line.isEmpty())
            rows.append({QString::fromUtf8(line).section(u'\t', 0, 0), QString::fromUtf8(line).section(u'\t', 1, 1)});
    return rows;
}

QAction *importAction()
{
    for (QMenu *menu : Form1->menuBar()->findChildren<QMenu *>())
        if (menu->title() == QLatin1String("Dosya"))
            for (QAction *a : menu->actions())
                if (a->text() == QLatin1String("DICOM Raporu Al..."))
                    return a;
    return nullptr;
}

// Opens the command's window and lets `work` use it.
void runCommand(const std::function<void(TSrImportFrm &)> &work)
{
    ui::TestSeam::queueDialogHandler([work](QDialog &d) { work(static_cast<TSrImportFrm &>(d)); });
    importAction()->trigger();
}

// The stored record at list position `row` (1-based) of a fresh look at Data.mdb.
QHash<QString, QVariant> storedRecord(const QString &db, int row)
{
    records::Dataset data;
    data.open(db);
    data.setRecNo(row);
    QHash<QString, QVariant> v;
    for (int f = 0; f < records::kFieldCount; ++f)
        v.insert(QLatin1String(records::kFields[f].name), data.value(f));
    return v;
}

int storedCount(const QString &db)
{
    records::Dataset data;
    data.open(db);
    return data.recordCount();
}

QString storedText(const QVariant &v)
{
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date().toString(Qt::ISODate) : v.toString();
}

// Every field of the stored record is the expected one; all others are empty.
void verifyExactly(const QHash<QString, QVariant> &stored, const QList<QPair<QString, QString>> &expected)
{
    QHash<QString, QString> want;
    for (const auto &[field, value] : expected)
        want.insert(field, value);
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (want.contains(it.key()))
            QCOMPARE(storedText(it.value()), want.value(it.key()));
        else
            QVERIFY2(storedText(it.value()).isEmpty(), qPrintable(it.key() + QStringLiteral(" = ") + storedText(it.value())));
    }
}

// The texts of the A4 report's first page for the current record, prepared as "Rapor" prepares it.
QStringList printedTexts()
{
    reports::ReportTemplate rapor = reports::makeRapor();
    reports::fillEchoReport(rapor, *Form1->Query1, reports::FixedTexts::defaults());
    reports::DatasetAdapter adapter(Form1->Query1, reports::fieldsUsedBy(rapor));
    reports::PreparedReport pages;
    QStringList errors;
    if (!reports::BuildPages(rapor, &adapter, pages, &errors))
        return errors;
    QStringList texts;
    for (const reports::TextPiece &piece : reports::pageTexts(pages, 0))
        texts << piece.text;
    return texts;
}

void post()
{
    Form1->DataSetPost1->trigger();
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
}

// A program whose receiver listens on a port of its own, and storescu as the machine.
struct ReceivingProgram {
    int port = 20000 + int(QRandomGenerator::global()->bounded(40000));
    fixture::Program program{{QStringLiteral("ARSLAN CAN")}, true, [this](const QString &folder) {
        const settings::ProfileFile secenekler(QDir(folder).filePath(QStringLiteral("Secenekler")));
        secenekler.writeText(QStringLiteral("DICOM"), QStringLiteral("Etkin"), QStringLiteral("1"));
        secenekler.writeText(QStringLiteral("DICOM"), QStringLiteral("Port"), QString::number(port));
        secenekler.writeText(QStringLiteral("DICOM"), QStringLiteral("AETitle"), QStringLiteral("EKOLAB"));
    }};
    QDir gelen{program.file(QStringLiteral("Gelen"))};

    ReceivingProgram()
    {
        program.show();
        AyarFrm->ChkAlan->setChecked(false);
        QTest::qWait(100);  // the receiver starts once the event loop runs
    }

    void startSending(QProcess &storescu, const QString &sample) const
    {
        storescu.start(QStringLiteral("storescu"), {QStringLiteral("-aec"), QStringLiteral("EKOLAB"), QStringLiteral("127.0.0.1"),
                                                    QString::number(port), fixturePath(sample + QStringLiteral(".dcm"))});
    }

    bool send(const QString &sample) const
    {
        QProcess storescu;
        startSending(storescu, sample);
        return storescu.waitForFinished(30000) && storescu.exitCode() == 0;
    }

    int waiting() const { return gelen.entryList({QStringLiteral("*.dcm")}, QDir::Files).size(); }
    int taken() const { return QDir(gelen.filePath(QStringLiteral("Alinan"))).entryList({QStringLiteral("*.dcm")}, QDir::Files).size(); }
};

// Opens the command's window, checks it lists `listed` reports, takes the first one and
// answers the summary.
void takeFirstListed(int listed)
{
    ui::TestSeam::queueAnswer(ui::Ok);
    runCommand([&](TSrImportFrm &frm) {
        QCOMPARE(frm.ReportList->topLevelItemCount(), listed);
        QTest::mouseClick(frm.BtnAl, Qt::LeftButton);
    });
    QCOMPARE(ui::TestSeam::pendingAnswers(), 0);
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Bilgi"));
}

int listedReports()
{
    int listed = -1;
    runCommand([&](TSrImportFrm &frm) {
        listed = frm.ReportList->topLevelItemCount();
        frm.reject();
    });
    return listed;
}

}  // namespace

class TestSrImport : public QObject {
    Q_OBJECT

private slots:
    void menuEntryAfterTheSpecifiedOnes();
    void fileIntoANewRecord_data();
    void fileIntoANewRecord();
    void intoTheCurrentRecord_data();
    void intoTheCurrentRecord();
    void otherNameIsNotMixedIn();
    void refusedFileChangesNothing();
    void folderOfAUsbStick();
    void receivedOverTheNetwork();
    void takenOnlyWithItsRecord_data();
    void takenOnlyWithItsRecord();
    void reportSentAgainIsRecognised();
    void inboxKeepsTheFirstCopy();
    void listFollowsTheInbox();
};

void TestSrImport::menuEntryAfterTheSpecifiedOnes()
{
    fixture::Program program({QStringLiteral("ARSLAN CAN")});
    QMenu *dosya = nullptr;
    for (QMenu *m : Form1->menuBar()->findChildren<QMenu *>())
        if (m->title() == QLatin1String("Dosya"))
            dosya = m;
    QVERIFY(dosya);
    QStringList texts;
    for (QAction *a : dosya->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{"Yeni Kayıt", "Sil", "-", "Kapat", "-", "DICOM Raporu Al..."}));
}

void TestSrImport::fileIntoANewRecord_data()
{
    QTest::addColumn<QString>("sample");
    QTest::newRow("TID 5200") << "tid5200-comprehensive";
    QTest::newRow("TID 5300") << "tid5300-simplified";
}

// A file: the values become pending changes of a new record; "Kaydet" stores exactly them.
void TestSrImport::fileIntoANewRecord()
{
    QFETCH(QString, sample);
    fixture::Program program({QStringLiteral("ARSLAN CAN")});
    program.show();
    AyarFrm->ChkAlan->setChecked(false);
    ui::TestSeam::queueAnswer(ui::Ok);  // the summary
    runCommand([&](TSrImportFrm &frm) {
        ui::TestSeam::queueFileName(fixturePath(sample + QStringLiteral(".dcm")));
        QTest::mouseClick(frm.BtnDosya, Qt::LeftButton);
        // The window is gone before the summary comes, so the editors it names can be seen.
        QVERIFY(!frm.isVisible());
        QCOMPARE(ui::TestSeam::pendingAnswers(), 1);
    });
    QCOMPARE(ui::TestSeam::pendingAnswers(), 0);
    const QString summary = ui::TestSeam::asked().last().text;
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Bilgi"));
    // Fields by the captions beside their editors, measurements by name, units as written.
    QVERIFY2(summary.startsWith(QStringLiteral("%1 alan dolduruldu: Adı Soyadı, Yaş, Tarih, Prot. No, LA, ").arg(expectedOf(sample).size())), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral(", M.K.G (MEAN), ")), qPrintable(summary));
    QVERIFY(summary.contains(QStringLiteral("Atlanan öğeler")));
    for (const QString &raw : {QStringLiteral("_"), QStringLiteral("LN:"), QStringLiteral("SCT:"), QStringLiteral("mm[Hg]"), QStringLiteral("{ratio}")})
        QVERIFY2(!summary.contains(raw), qPrintable(raw + u'\n' + summary));
    // Pending, not stored: a new record in the insert state, the editors show the values.
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Insert);
    QCOMPARE(storedCount(program.file(QStringLiteral("Data.mdb"))), 1);
    QCOMPARE(Form1->dbEdit(QStringLiteral("EditAd"))->text(), expectedOf(sample).first().second);
    QCOMPARE(Form1->dbEdit(QStringLiteral("RzDBEdit9"))->text(), expectedOf(sample).at(9).second);  // mitral_mkg_mean
    post();
    QCOMPARE(storedCount(program.file(QStringLiteral("Data.mdb"))), 2);
    verifyExactly(storedRecord(program.file(QStringLiteral("Data.mdb")), 2), expectedOf(sample));
}

void TestSrImport::intoTheCurrentRecord_data()
{
    QTest::addColumn<int>("answer");       // to "change the filled fields?"
    QTest::addColumn<QString>("kalp_la");  // afterwards
    QTest::newRow("replace") << int(ui::Yes) << "3,8";
    QTest::newRow("keep filled fields") << int(ui::No) << "3,5";
}

// The current record with the same name: filled fields that would change are listed first.
void TestSrImport::intoTheCurrentRecord()
{
    QFETCH(int, answer);
    QFETCH(QString, kalp_la);
    fixture::Program program({}, true, [](const QString &folder) {
        const QString db = QDir(folder).filePath(QStringLiteral("Data.mdb"));
        records::createRecordStore(db, true);
        const auto store = records::openRecordStore(db);
        QVector<QVariant> v(records::kFieldCount);
        v[records::fieldIndex(QStringLiteral("Adi_Soyadi"))] = QStringLiteral("YILMAZ MEHMET");
        v[records::fieldIndex(QStringLiteral("kalp_la"))] = QStringLiteral("3,5");
        v[records::fieldIndex(QStringLiteral("Yorum1"))] = QStringLiteral("Kendi yorumum");
        store->insert(v);
    });
    program.show();
    ui::TestSeam::queueAnswer(ui::Button(answer));
    ui::TestSeam::queueAnswer(ui::Ok);
    runCommand([&](TSrImportFrm &frm) {
        frm.ChkAcikKayit->setChecked(true);
        ui::TestSeam::queueFileName(fixturePath(QStringLiteral("tid5200-comprehensive.dcm")));
        QTest::mouseClick(frm.BtnDosya, Qt::LeftButton);
    });
    const QList<ui::TestSeam::Asked> asked = ui::TestSeam::asked();
    QCOMPARE(asked.at(asked.size() - 2).title, QStringLiteral("Onay"));
    QVERIFY2(asked.at(asked.size() - 2).text.contains(QStringLiteral("\nLA: 3,5 → 3,8")), qPrintable(asked.at(asked.size() - 2).text));
    QVERIFY(!asked.at(asked.size() - 2).text.contains(QStringLiteral("Adı Soyadı")));
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Edit);
    QCOMPARE(storedRecord(program.file(QStringLiteral("Data.mdb")), 1).value(QStringLiteral("kalp_la")).toString(), QStringLiteral("3,5"));
    post();
    const auto stored = storedRecord(program.file(QStringLiteral("Data.mdb")), 1);
    QCOMPARE(storedCount(program.file(QStringLiteral("Data.mdb"))), 1);
    QCOMPARE(stored.value(QStringLiteral("kalp_la")).toString(), kalp_la);
    QCOMPARE(stored.value(QStringLiteral("kalp_lvd")).toString(), QStringLiteral("4,9"));
    QCOMPARE(stored.value(QStringLiteral("Yorum1")).toString(), QStringLiteral("Kendi yorumum"));
}

void TestSrImport::otherNameIsNotMixedIn()
{
    fixture::Program program({QStringLiteral("ARSLAN CAN")});
    program.show();
    ui::TestSeam::queueAnswer(ui::No);  // "take it into a new record instead?"
    runCommand([&](TSrImportFrm &frm) {
        frm.ChkAcikKayit->setChecked(true);
        ui::TestSeam::queueFileName(fixturePath(QStringLiteral("tid5200-comprehensive.dcm")));
        QTest::mouseClick(frm.BtnDosya, Qt::LeftButton);
        frm.reject();
    });
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Dikkat !"));
    QVERIFY(ui::TestSeam::asked().last().text.contains(QStringLiteral("(YILMAZ MEHMET)")));
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
    QCOMPARE(Form1->dbEdit(QStringLiteral("EditAd"))->text(), QStringLiteral("ARSLAN CAN"));
}

void TestSrImport::refusedFileChangesNothing()
{
    fixture::Program program({QStringLiteral("ARSLAN CAN")});
    program.show();
    ui::TestSeam::queueAnswer(ui::Ok);
    runCommand([&](TSrImportFrm &frm) {
        ui::TestSeam::queueFileName(fixturePath(QStringLiteral("basic-text-sr.dcm")));
        QTest::mouseClick(frm.BtnDosya, Qt::LeftButton);
        frm.reject();
    });
    QCOMPARE(ui::TestSeam::asked().last().title, QStringLiteral("Hata"));
    QVERIFY(ui::TestSeam::asked().last().text.contains(QStringLiteral("ekokardiyografi raporu değil")));
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
    QCOMPARE(storedCount(program.file(QStringLiteral("Data.mdb"))), 1);
}

// A folder as a USB stick has it: reports in sub-folders without an extension, among other files.
void TestSrImport::folderOfAUsbStick()
{
    fixture::Program program({QStringLiteral("ARSLAN CAN")});
    program.show();
    AyarFrm->ChkAlan->setChecked(false);
    QTemporaryDir stick;
    QDir(stick.path()).mkpath(QStringLiteral("DICOM/ST000/SE000"));
    QFile::copy(fixturePath(QStringLiteral("tid5300-simplified.dcm")), stick.filePath(QStringLiteral("DICOM/ST000/SE000/IM000001")));
    QFile::copy(fixturePath(QStringLiteral("basic-text-sr.dcm")), stick.filePath(QStringLiteral("DICOM/ST000/SE000/IM000002")));
    QFile::copy(fixturePath(QStringLiteral("README.md")), stick.filePath(QStringLiteral("OKUBENI.TXT")));
    ui::TestSeam::queueAnswer(ui::Ok);
    runCommand([&](TSrImportFrm &frm) {
        ui::TestSeam::queueFileName(stick.path());
        QTest::mouseClick(frm.BtnKlasor, Qt::LeftButton);
        QCOMPARE(frm.ReportList->topLevelItemCount(), 1);
        QCOMPARE(frm.ReportList->topLevelItem(0)->text(0), QStringLiteral("KAYA ZEYNEP"));
        QCOMPARE(frm.ReportList->topLevelItem(0)->text(1), QStringLiteral("2025-06-11 14:10"));
        QTest::mouseClick(frm.BtnAl, Qt::LeftButton);
    });
    post();
    verifyExactly(storedRecord(program.file(QStringLiteral("Data.mdb")), 2), expectedOf(QStringLiteral("tid5300-simplified")));
    QVERIFY(QFile::exists(stick.filePath(QStringLiteral("DICOM/ST000/SE000/IM000001"))));  // the stick is left as it was
}

// storescu sends to the program's own receiver; the report waits in Gelen/ by patient name,
// is taken into a new record and moves on; "Kaydet" stores exactly the expected values.
void TestSrImport::receivedOverTheNetwork()
{
    const int port = 20000 + int(QRandomGenerator::global()->bounded(40000));
    fixture::Program program({QStringLiteral("ARSLAN CAN")}, true, [port](const QString &folder) {
        const settings::ProfileFile secenekler(QDir(folder).filePath(QStringLiteral("Secenekler")));
        secenekler.writeText(QStringLiteral("DICOM"), QStringLiteral("Etkin"), QStringLiteral("1"));
        secenekler.writeText(QStringLiteral("DICOM"), QStringLiteral("Port"), QString::number(port));
        secenekler.writeText(QStringLiteral("DICOM"), QStringLiteral("AETitle"), QStringLiteral("EKOLAB"));
    });
    QVERIFY(program.mayWork);
    program.show();
    AyarFrm->ChkAlan->setChecked(false);
    QTest::qWait(100);  // the receiver starts once the event loop runs
    QProcess storescu;
    storescu.start(QStringLiteral("storescu"), {QStringLiteral("-aec"), QStringLiteral("EKOLAB"), QStringLiteral("127.0.0.1"),
                                                QString::number(port), fixturePath(QStringLiteral("tid5200-comprehensive.dcm"))});
    QVERIFY(storescu.waitForFinished(30000));
    QCOMPARE(storescu.exitCode(), 0);
    const QDir gelen(program.file(QStringLiteral("Gelen")));
    QCOMPARE(gelen.entryList({QStringLiteral("*.dcm")}, QDir::Files).size(), 1);

    ui::TestSeam::queueAnswer(ui::Ok);
    runCommand([&](TSrImportFrm &frm) {
        QCOMPARE(frm.ReportList->topLevelItemCount(), 1);
        QCOMPARE(frm.ReportList->topLevelItem(0)->text(0), QStringLiteral("YILMAZ MEHMET"));
        QCOMPARE(frm.ReportList->topLevelItem(0)->text(1), QStringLiteral("2024-03-15 09:45"));
        QVERIFY(frm.ReportList->topLevelItem(0)->text(2).startsWith(QStringLiteral("Gelen")));
        saveShot(&frm, QStringLiteral("dicom-raporu-al"));
        QTest::mouseClick(frm.BtnAl, Qt::LeftButton);
    });
    QCOMPARE(storedCount(program.file(QStringLiteral("Data.mdb"))), 1);
    Form1->findingsPages->setCurrentIndex(1);
    saveShot(Form1, QStringLiteral("dicom-raporu-alindi"));
    post();
    QCOMPARE(gelen.entryList({QStringLiteral("*.dcm")}, QDir::Files).size(), 0);
    QCOMPARE(QDir(gelen.filePath(QStringLiteral("Alinan"))).entryList({QStringLiteral("*.dcm")}, QDir::Files).size(), 1);
    verifyExactly(storedRecord(program.file(QStringLiteral("Data.mdb")), 2), expectedOf(QStringLiteral("tid5200-comprehensive")));
    // The printed report shows every value taken: each as often as the fields that hold it, as a
    // whole word of a cell ("4,9 cm", "E :  0,8  m/sn"), the date as the report writes dates.
    const QStringList printed = printedTexts();
    QHash<QString, int> wanted;
    for (const auto &[field, value] : expectedOf(QStringLiteral("tid5200-comprehensive")))
        ++wanted[field == QLatin1String("Tarih") ? QDate::fromString(value, Qt::ISODate).toString(QStringLiteral("dd.MM.yyyy")) : value];
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
        const QRegularExpression word(QStringLiteral("(^|\\s)%1(\\s|$)").arg(QRegularExpression::escape(it.key())));
        QVERIFY2(printed.filter(word).size() >= it.value(), qPrintable(it.key() + u'\n' + printed.join(u'|')));
    }
}

void TestSrImport::takenOnlyWithItsRecord_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("İptal: the report waits again") << false;
    QTest::newRow("Kaydet: the report moves on") << true;
}

// A received report leaves Gelen/ only with the record that holds it: after "İptal" it is
// still there and listed, after "Kaydet" it is in Gelen/Alinan and no longer listed.
void TestSrImport::takenOnlyWithItsRecord()
{
    QFETCH(bool, save);
    ReceivingProgram r;
    QVERIFY(r.program.mayWork);
    QVERIFY(r.send(QStringLiteral("tid5200-comprehensive")));
    takeFirstListed(1);
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Insert);
    QCOMPARE(r.waiting(), 1);  // taken, not yet saved
    (save ? Form1->DataSetPost1 : Form1->DataSetCancel1)->trigger();
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
    QCOMPARE(storedCount(r.program.file(QStringLiteral("Data.mdb"))), save ? 2 : 1);
    QCOMPARE(r.waiting(), save ? 0 : 1);
    QCOMPARE(r.taken(), save ? 1 : 0);
    QCOMPARE(listedReports(), save ? 0 : 1);
}

// The same report sent again after it was taken and saved: listed as taken before, and "Al"
// says when and into which record before anything is filled.
void TestSrImport::reportSentAgainIsRecognised()
{
    ReceivingProgram r;
    QVERIFY(r.program.mayWork);
    QVERIFY(r.send(QStringLiteral("tid5200-comprehensive")));
    takeFirstListed(1);
    Form1->dbEdit(QStringLiteral("EditProt"))->setText(QStringLiteral("P-77"));  // the record as the user saved it
    post();
    QVERIFY(r.send(QStringLiteral("tid5200-comprehensive")));
    QCOMPARE(r.waiting(), 1);

    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    ui::TestSeam::queueAnswer(ui::No);  // "take it all the same?"
    runCommand([&](TSrImportFrm &frm) {
        QCOMPARE(frm.ReportList->topLevelItemCount(), 1);
        QVERIFY2(frm.ReportList->topLevelItem(0)->text(2).contains(QStringLiteral("alınmıştı")), qPrintable(frm.ReportList->topLevelItem(0)->text(2)));
        QTest::mouseClick(frm.BtnAl, Qt::LeftButton);
        QVERIFY(frm.isVisible());
        frm.reject();
    });
    const ui::TestSeam::Asked question = ui::TestSeam::asked().last();
    QCOMPARE(question.title, QStringLiteral("Dikkat !"));
    QCOMPARE(question.buttons, ui::Yes | ui::No);
    for (const QString &part : {QStringLiteral("daha önce alındı"), today, QStringLiteral("YILMAZ MEHMET"),
                                QStringLiteral("15.03.2024"), QStringLiteral("P-77")})
        QVERIFY2(question.text.contains(part), qPrintable(part + u'\n' + question.text));
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
    QCOMPARE(storedCount(r.program.file(QStringLiteral("Data.mdb"))), 2);
    QCOMPARE(r.waiting(), 1);

    // Taken all the same on purpose: a new record; saving it keeps the first copy in Alinan.
    ui::TestSeam::queueAnswer(ui::Yes);
    takeFirstListed(1);
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Insert);
    post();
    QCOMPARE(storedCount(r.program.file(QStringLiteral("Data.mdb"))), 3);
    QCOMPARE(r.waiting(), 0);
    QCOMPARE(r.taken(), 2);
}

// An object received twice while it waits: the receiver's target is refused, the first copy stays.
void TestSrImport::inboxKeepsTheFirstCopy()
{
    QTemporaryDir data;
    const QString uid = dicom::sopInstanceUidOf(fixturePath(QStringLiteral("tid5200-comprehensive.dcm")));
    QVERIFY(!uid.isEmpty());
    const QString first = dicom::inboxPath(data.path(), uid);
    QCOMPARE(QFileInfo(first).fileName(), dicom::inboxFileName(uid));
    QVERIFY(QFile::copy(fixturePath(QStringLiteral("tid5200-comprehensive.dcm")), first));
    QCOMPARE(dicom::inboxPath(data.path(), uid), QString());
    QCOMPARE(dicom::inboxPath(data.path(), uid + QStringLiteral(".1")), QDir(dicom::inboxFolder(data.path())).filePath(dicom::inboxFileName(uid + QStringLiteral(".1"))));
}

// A report arriving while the window is open appears in its list without reopening it.
void TestSrImport::listFollowsTheInbox()
{
    ReceivingProgram r;
    QVERIFY(r.program.mayWork);
    QProcess storescu;
    runCommand([&](TSrImportFrm &frm) {
        QCOMPARE(frm.ReportList->topLevelItemCount(), 0);
        r.startSending(storescu, QStringLiteral("tid5200-comprehensive"));
        QTRY_COMPARE_WITH_TIMEOUT(frm.ReportList->topLevelItemCount(), 1, 30000);
        QCOMPARE(frm.ReportList->topLevelItem(0)->text(0), QStringLiteral("YILMAZ MEHMET"));
        frm.reject();
    });
    QVERIFY(storescu.state() == QProcess::NotRunning || storescu.waitForFinished(30000));
    QCOMPARE(storescu.exitCode(), 0);
}

KALPIYON_TEST_MAIN(TestSrImport)
#include "tst_srimport.moc"
