// Both engines through the one interface: the SQLite file and a real PostgreSQL server. The
// test command starts a private cluster and names it in KALPIYON_TEST_PG; without it the
// server rows are skipped.
#include <QtTest>

#include "Error.h"
#include "FileSystem.h"
#include "PgStore.h"
#include "RecordStore.h"
#include "Schema.h"
#include "SqliteRecordStore.h"
#include "Store.h"
#include "TestDb.h"

using records::PgStore;
using records::RecordStore;

namespace {
int field(const char *name)
{
    return records::fieldIndex(QLatin1String(name));
}
}  // namespace

class TestRecordStore : public QObject {
    Q_OBJECT
    QString server_;
    QTemporaryDir dir_;

    // Runs SQL through another client of the engine (psql or sqlite3); returns its output.
    QString otherClient(const QString &address, const QString &sql)
    {
        if (!records::isServerAddress(address))
            return testdb::sqliteCli(address, sql);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));  // Debian's psql wrapper warns otherwise
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("psql"), {address, QStringLiteral("-qAtc"), sql});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    }

    // The engine of the current data row, with a fresh empty table.
    QString address()
    {
        QFETCH_GLOBAL(QString, engine);
        return engine == QLatin1String("server") ? server_ : dir_.filePath(QStringLiteral("Data.mdb"));
    }
    std::unique_ptr<RecordStore> fresh(const QString &where)
    {
        records::createRecordStore(where, true);
        return records::openRecordStore(where);
    }

private slots:
    void initTestCase()
    {
        server_ = testdb::serverDatabase(QStringLiteral("tst_recordstore"));
    }
    void init()
    {
        QFETCH_GLOBAL(QString, engine);
        if (engine == QLatin1String("server") && server_.isEmpty())
            QSKIP("KALPIYON_TEST_PG is not set: no PostgreSQL server for this run");
    }
    void initTestCase_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::newRow("file") << "file";
        QTest::newRow("server") << "server";
    }
    void recognisesServerAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("server");
        QTest::newRow("uri") << "postgresql://kalpiyon@sunucu/kalpiyon" << true;
        QTest::newRow("short uri") << "postgres:///kalpiyon" << true;
        QTest::newRow("key=value") << "host=sunucu dbname=kalpiyon" << true;
        QTest::newRow("file") << "Data.mdb" << false;
        QTest::newRow("file with =") << "yedek=eski.mdb" << false;
        QTest::newRow("path") << "/home/doktor/Kalpiyon/Data.mdb" << false;
    }
    void recognisesServerAddresses()
    {
        QFETCH(QString, text);
        QFETCH(bool, server);
        QCOMPARE(records::isServerAddress(text), server);
    }

    void valuesRoundTripInStoredForm()
    {
        const QString where = address();
        auto store = fresh(where);
        store->checkSchema();
        QVector<QVariant> v = testdb::record(QStringLiteral("ŞÜKRÜ ÇAĞLAR İĞDE"));
        v[field("Yas")] = QString();                 // empty stays empty
        v[field("Tarih")] = QStringLiteral("2010-08-05");
        v[field("Sonuc1")] = QString(150, QChar(0x11F));  // a full 150-character Turkish line
        const qint64 k1 = store->insert(v);
        QVector<QVariant> w = testdb::record(QStringLiteral("B"));
        w[field("Tarih")] = QStringLiteral("2011-01-02 13:14:15");
        const qint64 k2 = store->insert(w);
        QVERIFY(k2 > k1);

        const QVector<QVariant> back = store->readRecord(k1);
        QCOMPARE(back.size(), records::kFieldCount);
        QCOMPARE(back[field("Adi_Soyadi")].toString(), v[field("Adi_Soyadi")].toString());
        QVERIFY(!back[field("Yas")].isNull());
        QCOMPARE(back[field("Yas")].toString(), QString());
        QVERIFY(back[field("Prot_No")].isNull());  // null stays null
        QCOMPARE(back[field("Tarih")].toString(), QStringLiteral("2010-08-05"));
        QCOMPARE(back[field("Sonuc1")].toString(), v[field("Sonuc1")].toString());
        QCOMPARE(store->readRecord(k2)[field("Tarih")].toString(), QStringLiteral("2011-01-02 13:14:15"));
        QCOMPARE(store->readFields(k2, {field("Tarih"), field("Adi_Soyadi")}),
                 (QVector<QVariant>{QStringLiteral("2011-01-02 13:14:15"), QStringLiteral("B")}));
        QVERIFY(store->readRecord(k2 + 1000).isEmpty());

        QStringList names;
        store->readNames([&](qint64, QByteArrayView name) { names << QString::fromUtf8(name); });
        QCOMPARE(names, (QStringList{v[0].toString(), QStringLiteral("B")}));
        QCOMPARE(store->recordCount(), 2);
        QVERIFY(store->sizeBytes() > 0);
    }

    void findsKeysByField()
    {
        auto store = fresh(address());
        const qint64 a = store->insert(testdb::record(QStringLiteral("AHMET"), {{QStringLiteral("Prot_No"), QStringLiteral("12a")}}));
        store->insert(testdb::record(QStringLiteral("BEKİR"), {{QStringLiteral("Prot_No"), QStringLiteral("13")}}));
        const qint64 c = store->insert(testdb::record(QStringLiteral("CEM"), {{QStringLiteral("Prot_No"), QStringLiteral("12")}}));
        QCOMPARE(store->findKeys(field("Prot_No"), QStringLiteral("12"), false, false), (QVector<qint64>{c}));
        QCOMPARE(store->findKeys(field("Prot_No"), QStringLiteral("12"), true, false), (QVector<qint64>{a, c}));
        QCOMPARE(store->findKeys(field("Prot_No"), QStringLiteral("12A"), false, true), (QVector<qint64>{a}));
    }

    // Two desks read the same record; the second one's write finds it changed and changes nothing.
    void optimisticLockingBetweenDesks()
    {
        const QString where = address();
        auto desk1 = fresh(where);
        auto other = records::openRecordStore(where);
        RecordStore &desk2 = *other;
        const qint64 key = desk1->insert(testdb::record(QStringLiteral("AYŞE")));
        const QVector<QVariant> read1 = desk1->readRecord(key);
        const QVector<QVariant> read2 = desk2.readRecord(key);

        QVector<QVariant> typed1 = read1;
        typed1[field("EF")] = QStringLiteral("60");
        QCOMPARE(desk1->updateIfUnchanged(key, read1, typed1), 1);

        QVector<QVariant> typed2 = read2;
        typed2[field("EF")] = QStringLiteral("45");
        QCOMPARE(desk2.updateIfUnchanged(key, read2, typed2), 0);
        QCOMPARE(desk2.removeIfUnchanged(key, read2), 0);
        QCOMPARE(desk2.readRecord(key)[field("EF")].toString(), QStringLiteral("60"));
        QCOMPARE(desk2.removeIfUnchanged(key, desk2.readRecord(key)), 1);
        QCOMPARE(desk1->recordCount(), 0);
    }

    void removesInBatches()
    {
        auto store = fresh(address());
        QVector<qint64> keys;
        for (int i = 0; i < 10; ++i)
            keys << store->insert(testdb::record(QStringLiteral("K%1").arg(i)));
        QCOMPARE(store->removeKeys({keys[0], keys[1], keys[0] + 999}), 2);
        QCOMPARE(store->recordCount(), 8);
        store->begin();
        store->removeKeys({keys[2]});
        store->rollback();
        QCOMPARE(store->recordCount(), 8);
    }

    // A column that is not one of the fields keeps its values through every update.
    void otherColumnsAreNeverTouched()
    {
        const QString where = address();
        auto store = fresh(where);
        const qint64 key = store->insert(testdb::record(QStringLiteral("ALİ")));
        QCOMPARE(otherClient(where, QStringLiteral("ALTER TABLE veriler ADD COLUMN notlar text DEFAULT 'elle yazıldı'")), QString());
        const QVector<QVariant> read = store->readRecord(key);
        QVector<QVariant> typed = read;
        typed[field("Yas")] = QStringLiteral("44");
        QCOMPARE(store->updateIfUnchanged(key, read, typed), 1);
        store->checkSchema();
        QCOMPARE(otherClient(where, QStringLiteral("SELECT notlar || '/' || \"Yas\" FROM veriler")), QStringLiteral("elle yazıldı/44"));
    }

    void schemaFaultsAreNamed_data()
    {
        QTest::addColumn<QString>("alter");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing field") << "ALTER TABLE veriler DROP COLUMN \"EF\"" << "Field 'EF' not found";
        QTest::newRow("no table") << "DROP TABLE veriler"
                                  << "Cannot find the input table or query 'veriler'. Make sure it exists and that its name is spelled correctly.";
    }
    void schemaFaultsAreNamed()
    {
        QFETCH(QString, alter);
        QFETCH(QString, message);
        const QString where = address();
        auto store = fresh(where);
        QCOMPARE(otherClient(where, alter), QString());
        QCOMPARE(testdb::errorOf([&] { store->checkSchema(); }), message);
    }

    void wrongTypeOnTheServerIsNamed()
    {
        if (address() != server_)
            QSKIP("a file column cannot change its type");
        auto store = fresh(server_);
        QCOMPARE(otherClient(server_, QStringLiteral("ALTER TABLE veriler ALTER COLUMN \"Yas\" TYPE integer USING NULL")), QString());
        QCOMPARE(testdb::errorOf([&] { store->checkSchema(); }),
                 QStringLiteral("Type mismatch for field 'Yas', expecting: WideString actual: Integer"));
    }

    void unreachableServerIsNamedWithoutPassword()
    {
        const QString msg = testdb::errorOf(
            [] { PgStore("postgresql://kalpiyon:gizli-parola@/kalpiyon?host=/olmayan/klasor"); });
        QVERIFY2(msg.startsWith(QStringLiteral("Veritabanı sunucusuna (")) && msg.contains(QStringLiteral("ulaşılamadı")), qPrintable(msg));
        QVERIFY2(msg.contains(QStringLiteral("/olmayan/klasor")), qPrintable(msg));
        QVERIFY2(!msg.contains(QStringLiteral("gizli-parola")), qPrintable(msg));
    }

    void snapshotIsAStandaloneFile()
    {
        auto store = fresh(address());
        for (int i = 0; i < 50; ++i)
            store->insert(testdb::record(QStringLiteral("HASTA %1").arg(i), {{QStringLiteral("Tarih"), QStringLiteral("2020-02-29")}}));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Yedek.mdb"));
        QCOMPARE(store->snapshotTo(path), 50);
        QCOMPARE(QFileInfo(path).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
        records::Store file(path);
        file.checkSchema();
        QCOMPARE(file.recordCount(), 50);
        QCOMPARE(testdb::sqliteCli(path, QStringLiteral("SELECT Tarih FROM veriler LIMIT 1")), QStringLiteral("2020-02-29"));
        QVERIFY(!QFileInfo::exists(path + QStringLiteral(".yeni")));
    }

    void serverCompactsItsTable()
    {
        if (address() != server_)
            QSKIP("the file is compacted by the repair window");
        auto store = fresh(server_);
        auto &pg = static_cast<PgStore &>(*store);
        for (int i = 0; i < 20; ++i)
            pg.insert(testdb::record(QStringLiteral("HASTA %1").arg(i)));
        pg.compact();
        QCOMPARE(pg.recordCount(), 20);
    }

    // The kinds of file system the file engine refuses, and a local folder it accepts.
    void networkFileSystemsAreKnown_data()
    {
        QTest::addColumn<qulonglong>("type");
        QTest::addColumn<QString>("name");
        QTest::newRow("nfs") << 0x6969ull << "NFS";
        QTest::newRow("cifs") << 0xFF534D42ull << "CIFS";
        QTest::newRow("smb2") << 0xFE534D42ull << "SMB2";
        QTest::newRow("ext4") << 0xEF53ull << "";
        QTest::newRow("tmpfs") << 0x01021994ull << "";
    }
    void networkFileSystemsAreKnown()
    {
        QFETCH(qulonglong, type);
        QFETCH(QString, name);
        QCOMPARE(filesystem::networkFileSystemName(type), name);
        QCOMPARE(filesystem::networkFileSystemOf(dir_.path()), QString());
    }
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_recordstore.moc"
