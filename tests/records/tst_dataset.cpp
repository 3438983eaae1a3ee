// The dataset Query1 over a real SQLite file: operations, states, record numbers, the
// after-scroll event, settling, Turkish name order, locate and optimistic locking.
#include <QCollator>
#include <QSignalSpy>
#include <QtTest>
#include <cstring>

#include "Dataset.h"
#include "Error.h"
#include "NameOrder.h"
#include "TestDb.h"

using records::Dataset;
using records::DataSetState;

namespace {
using testdb::errorOf;
const int kName = records::fieldIndex(QStringLiteral("Adi_Soyadi"));
const int kYas = records::fieldIndex(QStringLiteral("Yas"));
const int kTarih = records::fieldIndex(QStringLiteral("Tarih"));
const int kProt = records::fieldIndex(QStringLiteral("Prot_No"));


// A trigger on the server that refuses deleting the row with key `key`.
QString refusingTriggerOnServer(int key)
{
    return QStringLiteral("CREATE OR REPLACE FUNCTION kalsin() RETURNS trigger AS $$ BEGIN "
                          "IF OLD.kalpiyon_id = %1 THEN RAISE EXCEPTION 'silinemez'; END IF; RETURN OLD; END $$ LANGUAGE plpgsql; "
                          "CREATE TRIGGER kalsin BEFORE DELETE ON veriler FOR EACH ROW EXECUTE FUNCTION kalsin();")
        .arg(key);
}

// Runs a ';'-separated script of dataset operations. "name=X" and "yas=X" set fields.
void run(Dataset &ds, const QString &script)
{
    for (const QString &op : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (op == QLatin1String("first")) ds.first();
        else if (op == QLatin1String("last")) ds.last();
        else if (op == QLatin1String("next")) ds.next();
        else if (op == QLatin1String("prior")) ds.prior();
        else if (op == QLatin1String("append")) ds.append();
        else if (op == QLatin1String("edit")) ds.edit();
        else if (op == QLatin1String("post")) ds.post();
        else if (op == QLatin1String("cancel")) ds.cancel();
        else if (op == QLatin1String("delete")) ds.remove();
        else if (op.startsWith(QLatin1String("move:"))) ds.moveBy(op.mid(5).toInt());
        else if (op.startsWith(QLatin1String("recno:"))) ds.setRecNo(op.mid(6).toInt());
        else if (op.startsWith(QLatin1String("name="))) ds.setText(kName, op.mid(5));
        else if (op.startsWith(QLatin1String("yas="))) ds.setText(kYas, op.mid(4));
        else if (op.startsWith(QLatin1String("find:"))) ds.locate(QStringLiteral("Adi_Soyadi"), op.mid(5), {true, false});
        else QFAIL(qPrintable(QStringLiteral("unknown op ") + op));
    }
}
}  // namespace

// Every case runs on both engines: the SQLite file and a PostgreSQL server (named by
// KALPIYON_TEST_PG, which the test command sets; without it the server rows are skipped).
class TestDataset : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString server_ = testdb::serverDatabase(QStringLiteral("tst_dataset"));
    bool onServer() const
    {
        QFETCH_GLOBAL(QString, engine);
        return engine == QLatin1String("server");
    }
    QString path() const { return onServer() ? server_ : dir.filePath(QStringLiteral("Data.mdb")); }
    // Tarih as the other client reads it, in the stored form of the file.
    QString storedTarih() const
    {
        if (!onServer())
            return testdb::otherClient(path(), QStringLiteral("SELECT Tarih FROM veriler"));
        return testdb::otherClient(path(), QStringLiteral("SELECT coalesce(to_char(\"Tarih\", 'YYYY-MM-DD HH24:MI:SS'), 'NULL') FROM veriler"))
            .remove(QStringLiteral(" 00:00:00"));
    }

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::newRow("file") << "file";
        QTest::newRow("server") << "server";
    }
    void init()
    {
        if (onServer() && server_.isEmpty())
            QSKIP("KALPIYON_TEST_PG is not set: no PostgreSQL server for this run");
    }
    void operations_data();
    void operations();
    void settleOnMove();
    void turkishOrder();
    void largeListInTurkishOrder();
    void openWhileAnotherDeskWrites();
    void locate_data();
    void locate();
    void locateFindsRenamedAndAppendedRecords();
    void fieldValues();
    void closedAndEmptyDataset();
    void optimisticLocking();
    void postFailureKeepsTypedValues();
    void readColumnsInListOrder();
    void readColumnsAsTheRowsShowThem();
    void sortKeysOrderAsTheCollator();
    void removeAll_data();
    void removeAll();
};

void TestDataset::operations_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("recNo");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("scrolls");  // after-scroll events during the script
    QTest::addColumn<bool>("eof");

    const QStringList abc{QStringLiteral("CAN"), QStringLiteral("ARI"), QStringLiteral("BAL")};
    QTest::newRow("open") << abc << "" << "browse" << 1 << 3 << "ARI" << 0 << false;
    QTest::newRow("next") << abc << "next" << "browse" << 2 << 3 << "BAL" << 1 << false;
    QTest::newRow("next past end stays, eof, still scrolls") << abc << "last;next" << "browse" << 3 << 3 << "CAN" << 2 << true;
    QTest::newRow("prior at first") << abc << "prior" << "browse" << 1 << 3 << "ARI" << 1 << false;
    QTest::newRow("move by 5 clamps") << abc << "move:5" << "browse" << 3 << 3 << "CAN" << 1 << true;
    QTest::newRow("recno same row no scroll") << abc << "recno:1" << "browse" << 1 << 3 << "ARI" << 0 << false;
    QTest::newRow("recno") << abc << "recno:3" << "browse" << 3 << 3 << "CAN" << 1 << false;
    QTest::newRow("append") << abc << "append" << "insert" << -1 << 3 << "" << 1 << true;
    QTest::newRow("append post: at end") << abc << "append;name=ZEKİ;post" << "browse" << 4 << 4 << "ZEKİ" << 1 << true;
    QTest::newRow("append unchanged cancel: last current") << abc << "append;cancel" << "browse" << 3 << 3 << "CAN" << 2 << false;
    // Dropping the first new record scrolls too (to the last record), then the append.
    QTest::newRow("append twice unchanged: vanishes") << abc << "append;append" << "insert" << -1 << 3 << "" << 3 << true;
    QTest::newRow("append twice changed: first stored") << abc << "append;yas=5;append" << "insert" << -1 << 4 << "" << 2 << true;
    QTest::newRow("edit") << abc << "edit" << "edit" << 1 << 3 << "ARI" << 0 << false;
    QTest::newRow("edit post no scroll") << abc << "edit;yas=7;post" << "browse" << 1 << 3 << "ARI" << 0 << false;
    QTest::newRow("edit cancel no scroll") << abc << "edit;name=X;cancel" << "browse" << 1 << 3 << "ARI" << 0 << false;
    QTest::newRow("delete first") << abc << "delete" << "browse" << 1 << 2 << "BAL" << 1 << false;
    QTest::newRow("delete last: previous") << abc << "last;delete" << "browse" << 2 << 2 << "BAL" << 2 << true;
    QTest::newRow("delete in insert cancels") << abc << "append;name=X;delete" << "browse" << 3 << 3 << "CAN" << 2 << false;
    QTest::newRow("edit on empty inserts") << QStringList() << "edit" << "insert" << -1 << 0 << "" << 1 << true;
    QTest::newRow("empty open") << QStringList() << "" << "browse" << -1 << 0 << "" << 0 << true;
    QTest::newRow("delete only record") << QStringList{QStringLiteral("TEK")} << "delete" << "browse" << -1 << 0 << "" << 1 << true;
    QTest::newRow("rename keeps place") << abc << "edit;name=ZZZ;post" << "browse" << 1 << 3 << "ZZZ" << 0 << false;
}

void TestDataset::operations()
{
    QFETCH(QStringList, names);
    QFETCH(QString, script);
    testdb::create(path(), names);
    Dataset ds;
    ds.open(path());
    QSignalSpy scrolls(&ds, &Dataset::afterScroll);
    run(ds, script);
    QFETCH(QString, state);
    QCOMPARE(records::stateName(ds.state()), state);
    QTEST(ds.recNo(), "recNo");
    QTEST(ds.recordCount(), "count");
    QTEST(ds.displayText(kName), "current");
    QTEST(int(scrolls.count()), "scrolls");
    QTEST(ds.eof(), "eof");
    // What the list shows must be what the file holds.
    QCOMPARE(testdb::otherClient(path(), QStringLiteral("SELECT count(*) FROM veriler")).toInt(), ds.recordCount());
}

void TestDataset::settleOnMove()
{
    testdb::create(path(), {QStringLiteral("ARI"), QStringLiteral("BAL")});
    Dataset ds;
    ds.open(path());
    // Editors write their pending texts when asked.
    QString pendingAge = QStringLiteral("44");
    connect(&ds, &Dataset::updateRecord, this, [&] {
        if (!pendingAge.isNull())
            ds.setText(kYas, pendingAge);
    });
    ds.edit();
    ds.next();  // changed -> stored
    QCOMPARE(ds.state(), DataSetState::Browse);
    QCOMPARE(testdb::otherClient(path(), QStringLiteral("SELECT \"Yas\" FROM veriler WHERE \"Adi_Soyadi\"='ARI'")), QStringLiteral("44"));

    pendingAge = QString();
    ds.edit();
    ds.first();  // unchanged -> dropped, nothing written
    QCOMPARE(ds.state(), DataSetState::Browse);
    QCOMPARE(testdb::otherClient(path(), QStringLiteral("SELECT count(*) FROM veriler WHERE \"Yas\" IS NOT NULL")), QStringLiteral("1"));

    ds.append();
    ds.first();  // new unchanged -> vanishes
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(testdb::otherClient(path(), QStringLiteral("SELECT count(*) FROM veriler")), QStringLiteral("2"));

    // A locate settles too, whether or not it finds anything.
    pendingAge = QStringLiteral("51");
    ds.edit();
    QVERIFY(!ds.locate(QStringLiteral("Adi_Soyadi"), QStringLiteral("YOK"), {true, false}));
    QCOMPARE(ds.state(), DataSetState::Browse);
    QCOMPARE(testdb::otherClient(path(), QStringLiteral("SELECT \"Yas\" FROM veriler WHERE \"Adi_Soyadi\"='ARI'")), QStringLiteral("51"));
}

void TestDataset::turkishOrder()
{
    const QStringList inserted{QStringLiteral("ŞEKER"), QStringLiteral("DEMİR"), QStringLiteral("İNCE"),
                               QStringLiteral("SARI"), QStringLiteral("ÇAĞLAR"), QStringLiteral("IŞIK"),
                               QStringLiteral("CAN"), QStringLiteral("ÖZ"), QStringLiteral("OK"),
                               QStringLiteral("ÜNAL"), QStringLiteral("UÇAR"), QStringLiteral("GÜL"),
                               QStringLiteral("ĞA"), QString()};
    testdb::create(path(), inserted);
    Dataset ds;
    ds.open(path());
    QStringList order;
    for (int row = 0; row < ds.recordCount(); ++row)
        order << ds.rowText(row, kName);
    const QStringList expected{QString(), QStringLiteral("CAN"), QStringLiteral("ÇAĞLAR"), QStringLiteral("DEMİR"),
                               QStringLiteral("GÜL"), QStringLiteral("ĞA"), QStringLiteral("IŞIK"),
                               QStringLiteral("İNCE"), QStringLiteral("OK"), QStringLiteral("ÖZ"),
                               QStringLiteral("SARI"), QStringLiteral("ŞEKER"), QStringLiteral("UÇAR"),
                               QStringLiteral("ÜNAL")};
    QCOMPARE(order, expected);
}

// A list long enough to be read in parts side by side: many equal names spread over the whole
// file (their ties must stay in insertion order across the parts), long names that agree past
// the first bytes of their sort keys, and letter case. The order must be the collator's, ties
// in insertion order, exactly as one sort of the whole list gives it.
void TestDataset::largeListInTurkishOrder()
{
    const QStringList family{QStringLiteral("ŞAHİN"), QStringLiteral("YILMAZ"), QStringLiteral("ÇELİK"), QStringLiteral("IŞIK"),
                             QStringLiteral("İNCE"), QStringLiteral("öztürk"), QStringLiteral("Demir")};
    const QStringList given{QStringLiteral("ALİ"), QStringLiteral("AYŞE"), QStringLiteral("ABDURRAHMAN MUSTAFA KEMAL"),
                            QStringLiteral("ABDURRAHMAN MUSTAFA KEMALETTİN"), QString()};
    QStringList names;
    quint32 seed = 7;
    for (int i = 0; i < 60000; ++i) {
        seed = seed * 1103515245u + 12345u;
        names << (family[int((seed >> 8) % family.size())] + u' ' + given[int((seed >> 16) % given.size())]).trimmed();
    }
    testdb::create(path(), names);
    Dataset ds;
    ds.open(path());
    QCOMPARE(ds.recordCount(), int(names.size()));

    const QCollator collator(QLocale(QLocale::Turkish, QLocale::Turkey));
    std::vector<std::pair<QCollatorSortKey, int>> expected;
    for (int i = 0; i < int(names.size()); ++i)
        expected.emplace_back(collator.sortKey(names[i]), i);
    std::stable_sort(expected.begin(), expected.end(), [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    const int prot = records::fieldIndex(QStringLiteral("Prot_No"));
    for (int row = 0; row < ds.recordCount(); ++row) {
        const int inserted = expected[size_t(row)].second;
        if (ds.rowText(row, kName) != names[inserted] || ds.rowText(row, prot) != QString::number(inserted + 1))
            QFAIL(qPrintable(QStringLiteral("row %1: %2 (%3), expected %4 (%5)")
                                 .arg(row).arg(ds.rowText(row, kName), ds.rowText(row, prot), names[inserted]).arg(inserted + 1)));
    }
}

// Another desk commits record after record while this one opens the list again and again (on
// the file in two parts side by side): every open gives a list in order without a row twice,
// and the other desk's writes all succeed, none refused as locked.
void TestDataset::openWhileAnotherDeskWrites()
{
    QStringList names;
    for (int i = 0; i < 30000; ++i)
        names << QStringLiteral("HASTA %1").arg(i * 7919 % 30000, 5, 10, QLatin1Char('0'));
    testdb::create(path(), names);
    constexpr int kWrites = 3000;
    QByteArray script = onServer() ? QByteArray() : QByteArray(".timeout 5000\n");
    for (int i = 0; i < kWrites; ++i)
        script += QStringLiteral("INSERT INTO veriler (\"Adi_Soyadi\", \"Prot_No\") VALUES ('YAZAN %1', 'w%1');\n").arg(i).toUtf8();
    QElapsedTimer clock;
    clock.start();
    QProcess other;
    testdb::startClient(other, path());
    QVERIFY(other.waitForStarted());
    other.write(script);
    other.closeWriteChannel();

    // Every name is different: a list in order without a row twice is strictly increasing.
    const QCollator collator(QLocale(QLocale::Turkish, QLocale::Turkey));
    int opens = 0;
    bool written = false;
    do {
        Dataset ds;
        ds.open(path());
        ++opens;
        QVERIFY(ds.recordCount() >= names.size() && ds.recordCount() <= names.size() + kWrites);
        for (int row = 1; row < ds.recordCount(); ++row)
            QVERIFY2(collator.compare(ds.rowText(row - 1, kName), ds.rowText(row, kName)) < 0, qPrintable(ds.rowText(row, kName)));
    } while (!(written = other.waitForFinished(0)) && opens < 200);
    QVERIFY(written || other.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(other.readAllStandardError()), QString());
    QCOMPARE(other.exitCode(), 0);
    Dataset after;
    after.open(path());
    QCOMPARE(after.recordCount(), int(names.size()) + kWrites);
    qInfo("%d opens while the other desk wrote, %lld ms", opens, clock.elapsed());
}

void TestDataset::locate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("found");  // empty: no hit, ALİ stays current
    QTest::newRow("A") << "A" << "AHMET";
    QTest::newRow("AL") << "AL" << "ALİ";
    QTest::newRow("ALX") << "ALX" << "";
    QTest::newRow("AY") << "AY" << "AYŞE";
    QTest::newRow("quote") << "O'N" << "O'NEIL JOHN";
    QTest::newRow("pattern characters are plain") << "A*" << "";
    QTest::newRow("İ") << "İ" << "İNCE";
    QTest::newRow("I") << "I" << "IŞIK";
    QTest::newRow("lower-case name found") << "KÜ" << "küçük";
}

void TestDataset::locate()
{
    testdb::create(path(), {QStringLiteral("AYŞE"), QStringLiteral("ALİ"), QStringLiteral("AHMET"),
                            QStringLiteral("O'NEIL JOHN"), QStringLiteral("İNCE"), QStringLiteral("IŞIK"),
                            QStringLiteral("küçük")});
    Dataset ds;
    ds.open(path());
    QVERIFY(ds.locate(QStringLiteral("Adi_Soyadi"), QStringLiteral("ALİ"), {true, false}));
    QSignalSpy scrolls(&ds, &Dataset::afterScroll);
    QFETCH(QString, text);
    QFETCH(QString, found);
    QCOMPARE(ds.locate(QStringLiteral("Adi_Soyadi"), text, {true, false}), !found.isEmpty());
    QCOMPARE(ds.displayText(kName), found.isEmpty() ? QStringLiteral("ALİ") : found);
    QCOMPARE(int(scrolls.count()), found.isEmpty() ? 0 : 1);
}

void TestDataset::locateFindsRenamedAndAppendedRecords()
{
    testdb::create(path(), {QStringLiteral("BEKİR"), QStringLiteral("CEM"), QStringLiteral("ZEYNEP")});
    Dataset ds;
    ds.open(path());
    ds.last();
    ds.edit();
    ds.setText(kName, QStringLiteral("AAA ZEYNEP"));
    ds.post();
    QCOMPARE(ds.rowText(2, kName), QStringLiteral("AAA ZEYNEP"));  // keeps its place in the list
    ds.append();
    ds.setText(kName, QStringLiteral("AAB"));
    ds.post();
    QCOMPARE(ds.recNo(), 4);
    QVERIFY(ds.locate(QStringLiteral("Adi_Soyadi"), QStringLiteral("AA"), {true, false}));
    QCOMPARE(ds.recNo(), 3);  // true name order: AAA ZEYNEP before AAB
    QVERIFY(ds.locate(QStringLiteral("Adi_Soyadi"), QStringLiteral("AAB"), {true, false}));
    QCOMPARE(ds.recNo(), 4);
    QVERIFY(!ds.locate(QStringLiteral("Adi_Soyadi"), QStringLiteral("Z"), {true, false}));  // renamed away

    // Deleting keeps the name order consistent with the list.
    ds.first();
    ds.remove();
    QVERIFY(ds.locate(QStringLiteral("Adi_Soyadi"), QStringLiteral("C"), {true, false}));
    QCOMPARE(ds.displayText(kName), QStringLiteral("CEM"));
}

void TestDataset::fieldValues()
{
    testdb::create(path(), {QStringLiteral("ARI")});
    Dataset ds;
    ds.open(path());
    QCOMPARE(errorOf([&] { ds.setText(kYas, QStringLiteral("1")); }),
             QStringLiteral("Query1: Dataset not in edit or insert mode"));
    ds.edit();
    ds.setText(kProt, QStringLiteral("12345678901234"));
    QCOMPARE(ds.displayText(kProt), QStringLiteral("1234567890"));  // cut to the field size
    QCOMPARE(errorOf([&] { ds.setText(kTarih, QStringLiteral("31.02.2010")); }),
             QStringLiteral("'31.02.2010' geçersiz tarih ve zaman girdiniz"));
    QCOMPARE(ds.state(), DataSetState::Edit);
    ds.setText(kTarih, QStringLiteral("5.08.2010"));
    ds.post();
    QCOMPARE(storedTarih(), QStringLiteral("2010-08-05"));
    ds.edit();
    ds.setText(kTarih, QStringLiteral("5.08.2010 14:30:00"));
    ds.post();
    QCOMPARE(storedTarih(), QStringLiteral("2010-08-05 14:30:00"));
    QCOMPARE(ds.displayText(kTarih), QStringLiteral("5.08.2010 14:30:00"));
    ds.edit();
    ds.setText(kTarih, QString());
    ds.post();
    QCOMPARE(onServer() ? storedTarih() : testdb::otherClient(path(), QStringLiteral("SELECT quote(Tarih) FROM veriler")), QStringLiteral("NULL"));
    QCOMPARE(errorOf([&] { ds.value(QStringLiteral("Yok")); }), QStringLiteral("Query1: Field 'Yok' not found"));
}

void TestDataset::closedAndEmptyDataset()
{
    Dataset closed;
    const QString closedMsg = QStringLiteral("Query1: Cannot perform this operation on a closed dataset");
    for (const auto &op : std::vector<std::function<void()>>{
             [&] { closed.first(); }, [&] { closed.next(); }, [&] { closed.append(); }, [&] { closed.edit(); },
             [&] { closed.post(); }, [&] { closed.cancel(); }, [&] { closed.remove(); },
             [&] { closed.locate(QStringLiteral("Adi_Soyadi"), QStringLiteral("A"), {true, false}); }})
        QCOMPARE(errorOf(op), closedMsg);
    QCOMPARE(closed.recNo(), -1);
    QVERIFY(closed.displayText(kName).isEmpty());

    testdb::create(path(), {});
    Dataset empty;
    QSignalSpy scrolls(&empty, &Dataset::afterScroll);
    empty.open(path());
    QCOMPARE(scrolls.count(), 0);
    QCOMPARE(errorOf([&] { empty.remove(); }), QStringLiteral("Query1: Cannot perform this operation on an empty dataset"));
    QVERIFY(!empty.locate(QStringLiteral("Adi_Soyadi"), QStringLiteral("A"), {true, false}));
    QCOMPARE(scrolls.count(), 0);
}

void TestDataset::optimisticLocking()
{
    testdb::create(path(), {QStringLiteral("ARI"), QStringLiteral("BAL")});
    Dataset ds;
    ds.open(path());
    ds.edit();
    ds.setText(kYas, QStringLiteral("30"));
    // Another process changes the same row meanwhile.
    testdb::otherClient(path(), QStringLiteral("UPDATE veriler SET \"Yas\"='99' WHERE \"Adi_Soyadi\"='ARI'"));
    QVERIFY(errorOf([&] { ds.post(); }).startsWith(QStringLiteral("Row cannot be located for updating")));
    QCOMPARE(ds.state(), DataSetState::Edit);
    QCOMPARE(ds.displayText(kYas), QStringLiteral("30"));  // the record stays as typed
    QCOMPARE(testdb::otherClient(path(), QStringLiteral("SELECT \"Yas\" FROM veriler WHERE \"Adi_Soyadi\"='ARI'")), QStringLiteral("99"));
    // A failed settle does not move.
    QVERIFY(!errorOf([&] { ds.next(); }).isEmpty());
    QCOMPARE(ds.recNo(), 1);
    ds.cancel();

    ds.next();
    testdb::otherClient(path(), QStringLiteral("DELETE FROM veriler WHERE \"Adi_Soyadi\"='BAL'"));
    QVERIFY(errorOf([&] { ds.remove(); }).startsWith(QStringLiteral("Row cannot be located for deletion")));
    QCOMPARE(ds.recordCount(), 2);
}

void TestDataset::postFailureKeepsTypedValues()
{
    testdb::create(path(), {QStringLiteral("ARI")});
    Dataset ds;
    ds.open(path());
    ds.append();
    ds.setText(kName, QStringLiteral("YENİ"));
    QString error;
    {
        testdb::LockHolder other(path());  // another process keeps the file locked
        error = testdb::errorAndDetailsOf([&] { ds.post(); });
    }
    // The server's sentence is Turkish, its own words under the details.
    QVERIFY2(error.contains(onServer() ? QStringLiteral("başka bir masada") : QStringLiteral("locked")), qPrintable(error));
    QVERIFY2(error.contains(onServer() ? QStringLiteral("lock timeout") : QStringLiteral("locked")), qPrintable(error));
    QCOMPARE(ds.state(), DataSetState::Insert);
    QCOMPARE(ds.displayText(kName), QStringLiteral("YENİ"));
    QCOMPARE(ds.recordCount(), 1);
}

void TestDataset::readColumnsInListOrder()
{
    testdb::create(path(), {QStringLiteral("CAN"), QStringLiteral("ARI"), QStringLiteral("BAL")});
    Dataset ds;
    ds.open(path());
    const auto rows = ds.readColumns({kName, kProt});
    QCOMPARE(rows.rowCount(), 3);
    QCOMPARE(rows.value(0, 0).toString(), QStringLiteral("ARI"));
    QCOMPARE(rows.value(0, 1).toString(), QStringLiteral("2"));
    QCOMPARE(rows.value(2, 0).toString(), QStringLiteral("CAN"));
}

// Each value read in the one pass is what the dataset shows for that row when it is current:
// nulls apart from empty texts, dates read (or kept as text when unreadable), numbers and
// renamed or appended rows in their list places, rows gone meanwhile empty.
void TestDataset::readColumnsAsTheRowsShowThem()
{
    testdb::create(path(), {QStringLiteral("CAN"), QStringLiteral("ARI"), QStringLiteral("BAL"), QStringLiteral("DAL")});
    testdb::sqliteCli(path(), QStringLiteral("UPDATE veriler SET Tarih='2024-03-05 14:30:00', Yas='' WHERE rowid=1;"
                                             "UPDATE veriler SET Tarih='dün', Yas=42 WHERE rowid=2;"
                                             "UPDATE veriler SET Tarih=' 2022-07-01 ', Yas=NULL WHERE rowid=3"));
    Dataset ds;
    ds.open(path());
    ds.setRecNo(2);  // BAL renamed: keeps its list place
    ds.edit();
    ds.setText(kName, QStringLiteral("AAA"));
    ds.post();
    ds.append();
    ds.setText(kName, QStringLiteral("EEE"));
    ds.setText(kYas, QStringLiteral("7"));
    ds.post();
    testdb::sqliteCli(path(), QStringLiteral("DELETE FROM veriler WHERE rowid=4;"  // DAL gone meanwhile
                                             "INSERT INTO veriler(Adi_Soyadi) VALUES ('YABANCI')"));  // not in the list
    const QVector<int> fields{kName, kYas, kTarih, kProt};
    const records::ColumnValues rows = ds.readColumns(fields);
    QCOMPARE(rows.rowCount(), ds.recordCount());
    for (int row = 0; row < ds.recordCount(); ++row) {
        ds.setRecNo(row + 1);
        const QVector<QVariant> values = rows.value(row);
        QCOMPARE(values.size(), fields.size());
        for (int c = 0; c < fields.size(); ++c) {
            const QVariant shown = ds.value(fields[c]);  // DAL, gone meanwhile, shows empty
            QCOMPARE(values[c].isNull(), shown.isNull());
            QCOMPARE(values[c].typeId(), shown.typeId());
            QCOMPARE(values[c], shown);
            QCOMPARE(rows.value(row, c), shown);
        }
    }
    QVERIFY(rows.value(ds.recordCount()).isEmpty());
    QVERIFY(rows.value(0, fields.size()).isNull());
}

// The byte keys the list is kept and sorted by give the order of QCollator for Turkish, pair
// by pair, including the prefix bounds the incremental search uses.
void TestDataset::sortKeysOrderAsTheCollator()
{
    QStringList names{QString(), QStringLiteral(" "), QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("Â"),
                      QStringLiteral("AHMET  ŞAHİN"), QStringLiteral("AHMET ŞAHİN"), QStringLiteral("AHMET-ŞAHİN"),
                      QStringLiteral("ahmet şahin"), QStringLiteral("CAN ISIK"), QStringLiteral("CAN IŞIK"),
                      QStringLiteral("ÇAĞLAR"), QStringLiteral("ğa"), QStringLiteral("IŞIK"), QStringLiteral("ılık"),
                      QStringLiteral("İNCE"), QStringLiteral("i\u0307nce"), QStringLiteral("ince"), QStringLiteral("ÖZ"),
                      QStringLiteral("öz"), QStringLiteral("O'NEIL"), QStringLiteral("ŞEKER AYŞE"), QStringLiteral("ŞEKER2"),
                      QStringLiteral("ŞEKER10"), QStringLiteral("ÜNAL"), QStringLiteral("Z"), QStringLiteral("ZZZZZZZZZ"),
                      QStringLiteral("ß"), QStringLiteral("日本")};
    const int plain = int(names.size());
    for (int i = 0; i < plain; ++i)
        names << names[i] + QChar(0xFFFF);
    const QCollator collator(QLocale(QLocale::Turkish, QLocale::Turkey));
    const records::NameCollator keys;
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const QString &a : names)
        for (const QString &b : names) {
            const QByteArray ka = keys.sortKey(a), kb = keys.sortKey(b);
            const int bytes = std::memcmp(ka.constData(), kb.constData(), size_t(std::min(ka.size(), kb.size())));
            const int ours = bytes ? sign(bytes) : sign(int(ka.size() - kb.size()));
            QVERIFY2(ours == sign(collator.sortKey(a).compare(collator.sortKey(b))), qPrintable(a + QStringLiteral(" / ") + b));
        }
}

void TestDataset::removeAll_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("refusedKey");  // a trigger refuses deleting this key; 0: none
    QTest::addColumn<QList<int>>("progress");
    QTest::newRow("empty") << 0 << 0 << QList<int>{};
    QTest::newRow("one") << 1 << 0 << QList<int>{1};
    QTest::newRow("three batches") << 1200 << 0 << QList<int>{500, 1000, 1200};
    QTest::newRow("refused in the second batch") << 1200 << 700 << QList<int>{500};
    QTest::newRow("refused at once") << 1200 << 1 << QList<int>{};
}

// Clearing deletes in key order, one committed batch of 500 at a time; a refused deletion
// rolls back only its batch and stops with the store's message, and the list then holds
// exactly the rows that remain, still in list order.
void TestDataset::removeAll()
{
    QFETCH(int, records);
    QFETCH(int, refusedKey);
    QFETCH(QList<int>, progress);
    QStringList names;
    for (int i = 0; i < records; ++i)
        names << QStringLiteral("HASTA %1").arg(records - i, 5, 10, QLatin1Char('0'));  // key order is reverse name order
    testdb::create(path(), names);
    if (refusedKey)
        testdb::otherClient(path(), onServer() ? refusingTriggerOnServer(refusedKey)
                                               : QStringLiteral("CREATE TRIGGER kalsin BEFORE DELETE ON veriler WHEN old.rowid=%1 "
                                                                "BEGIN SELECT RAISE(ABORT, 'silinemez'); END")
                                                     .arg(refusedKey));
    Dataset ds;
    ds.open(path());
    QList<int> seen;
    QSignalSpy listChanges(&ds, &Dataset::listChanged);
    const QString error = testdb::errorAndDetailsOf([&] { ds.removeAll([&](int deleted) { seen << deleted; }); });
    QCOMPARE(seen, progress);
    QCOMPARE(int(listChanges.count()), 1);
    QCOMPARE(error.contains(QStringLiteral("silinemez")), refusedKey != 0);
    const int left = refusedKey ? records - (progress.isEmpty() ? 0 : progress.last()) : 0;
    QCOMPARE(ds.recordCount(), left);
    QCOMPARE(testdb::otherClient(path(), QStringLiteral("SELECT count(*) FROM veriler")), QString::number(left));
    if (left) {  // the lowest keys went: the remaining names are the first ones, in order
        QCOMPARE(ds.recNo(), 1);
        QCOMPARE(ds.rowText(0, kName), QStringLiteral("HASTA 00001"));
        QCOMPARE(ds.rowText(left - 1, kName), QStringLiteral("HASTA %1").arg(left, 5, 10, QLatin1Char('0')));
        QVERIFY(ds.locate(QStringLiteral("Adi_Soyadi"), ds.rowText(left - 1, kName), {true, false}));
        QCOMPARE(ds.recNo(), left);
    } else {
        QVERIFY(ds.isEmpty());
        QCOMPARE(ds.recNo(), -1);
    }
}

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
