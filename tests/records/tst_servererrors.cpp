// What the user reads when the server engine fails: one Turkish sentence saying what happened
// and what to do, the server's own text only in the details, and never a password or a
// patient's row in either. The faults are real: a private PostgreSQL cluster started by the
// test, a role with a password (pg_hba.conf asks it for one), a second connection holding a
// lock, a table changed under a running desk, and the data tool run as a script runs it.
#include <QtTest>
#include <libpq-fe.h>

#include "Error.h"
#include "RecordStore.h"
#include "Schema.h"
#include "TestDb.h"

namespace {

const QString kScript = QStringLiteral(KALPIYON_SCRIPTS "/pg-cluster");
const QString kRole = QStringLiteral("parolali");
const QString kRightPassword = QStringLiteral("Doğru+Parola/7");

struct Run {
    int status = -1;
    QString out, err;
};

Run runProcess(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    Run r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

Error errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return e;
    }
    return Error(QString());
}

// Neither text may hold a secret, a tab, or a line twice.
void verifyClean(const QString &message, const QString &details, const QStringList &secrets)
{
    for (const QString &text : {message, details}) {
        for (const QString &secret : secrets)
            QVERIFY2(!text.contains(secret), qPrintable(QStringLiteral("'%1' in: %2").arg(secret, text)));
        QVERIFY2(!text.contains(QLatin1Char('\t')), qPrintable(text));
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(QSet<QString>(lines.cbegin(), lines.cend()).size(), lines.size());
    }
}

QString percentEncoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

}  // namespace

class TestServerErrors : public QObject {
    Q_OBJECT
    QTemporaryDir dir_, empty_;
    QString address_;
    PGconn *admin_ = nullptr;
    std::unique_ptr<records::RecordStore> store_;

    QString folder() const { return dir_.filePath(QStringLiteral("pg")); }
    QString expand(QString address) const
    {
        return address.replace(QLatin1String("{dir}"), folder()).replace(QLatin1String("{empty}"), empty_.path());
    }
    void admin(const QString &sql)
    {
        PGresult *r = PQexec(admin_, sql.toUtf8().constData());
        const ExecStatusType status = PQresultStatus(r);
        const QByteArray why = PQresultErrorMessage(r);
        PQclear(r);
        QVERIFY2(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK, why.constData());
    }
    QString passwordAddress(const QString &password) const
    {
        return QStringLiteral("postgresql://%1:%2@/kalpiyon?host=%3").arg(kRole, percentEncoded(password), folder());
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pg_ctl"), {QStringLiteral("/usr/lib/postgresql/15/bin")}).isEmpty())
            QSKIP("PostgreSQL is not installed");
        qputenv("PGPASSFILE", QFile::encodeName(empty_.filePath(QStringLiteral("none"))));  // no stored password helps
        QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                               QFileDevice::ExeGroup | QFileDevice::ExeOther);
        const Run started = runProcess(kScript, {QStringLiteral("start"), folder()});
        if (started.status != 0)
            QSKIP("a private PostgreSQL cluster could not be started");
        address_ = started.out.trimmed();
        admin_ = PQconnectdb(address_.toUtf8().constData());
        QCOMPARE(PQstatus(admin_), CONNECTION_OK);
        // One role that must give its password; everyone else keeps the cluster's trust.
        admin(QStringLiteral("CREATE ROLE %1 LOGIN SUPERUSER PASSWORD '%2'").arg(kRole, kRightPassword));
        QFile hba(folder() + QStringLiteral("/data/pg_hba.conf"));
        QVERIFY(hba.open(QIODevice::ReadOnly));
        const QByteArray rules = "local all " + kRole.toUtf8() + " scram-sha-256\n" + hba.readAll();
        hba.close();
        QVERIFY(hba.open(QIODevice::WriteOnly | QIODevice::Truncate));
        hba.write(rules);
        hba.close();
        admin(QStringLiteral("SELECT pg_reload_conf()"));
        QTRY_VERIFY_WITH_TIMEOUT(!testdb::errorOf([&] { records::openRecordStore(passwordAddress(QStringLiteral("falsch"))); }).isEmpty(), 20000);
        // The right password still opens.
        records::openRecordStore(passwordAddress(kRightPassword));
    }

    void cleanupTestCase()
    {
        store_.reset();
        PQfinish(admin_);
        runProcess(kScript, {QStringLiteral("stop"), folder()});
    }

    // Addresses libpq cannot read: it quotes the part it stumbles on, sometimes the whole
    // address. The program's open and the data tool's check both refuse them in Turkish.
    void unreadableAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("secrets");
        QTest::addColumn<QString>("libpqSays");
        QTest::newRow("malformed escape in the password")
            << "postgresql://kalpiyon:Parola%zz9@/kalpiyon?host={dir}" << QStringList{"Parola%zz9", "Parola"}
            << "invalid percent-encoded token";
        QTest::newRow("unclosed IPv6 host: libpq quotes the whole address")
            << "postgresql://kalpiyon:Gizli7Parola@[::1/kalpiyon" << QStringList{"Gizli7Parola"} << "IPv6";
        QTest::newRow("password parameter with a malformed escape")
            << "postgresql:///kalpiyon?host={dir}&user=kalpiyon&password=Gizli%zzParola" << QStringList{"Gizli%zzParola", "Gizli"}
            << "invalid percent-encoded token";
        QTest::newRow("key=value with an unterminated quote")
            << "host={dir} user=kalpiyon password='Gizli Parola" << QStringList{"Gizli Parola", "Gizli"}
            << "unterminated quoted string";
    }
    void unreadableAddress()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, secrets);
        QFETCH(QString, libpqSays);
        address = expand(address);
        const Error e = errorOf([&] { records::openRecordStore(address); });
        QVERIFY2(e.message().startsWith(QStringLiteral("Veritabanı sunucusunun adresi okunamadı.")), qPrintable(e.message()));
        QVERIFY2(e.details().contains(libpqSays), qPrintable(e.details()));
        QVERIFY2(!e.message().contains(QLatin1String("localhost:/")), qPrintable(e.message()));
        verifyClean(e.message(), e.details(), secrets);

        const Run check = runProcess(QStringLiteral(KALPIYON_VERI), {QStringLiteral("check"), address});
        QCOMPARE(check.status, 1);
        QVERIFY2(check.err.contains(e.message()) && check.err.contains(libpqSays), qPrintable(check.err));
        verifyClean(check.out, check.err, secrets);
    }

    // Connections the server or the network refuses: the sentence names the server and what to
    // check; libpq's text (with its tabs and repeated lines) is tidied into the details.
    void refusedConnection_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("secrets");
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("libpqSays");
        const QString wrong = QStringLiteral("Yanlış+Parola/ç");
        QTest::newRow("wrong password in a URI")
            << QStringLiteral("postgresql://%1:%2@/kalpiyon?host={dir}").arg(kRole, percentEncoded(wrong))
            << QStringList{wrong, percentEncoded(wrong)} << "kullanıcı adını ya da parolayı kabul etmedi"
            << "password authentication failed";
        QTest::newRow("wrong password in key=value")
            << QStringLiteral("host={dir} dbname=kalpiyon user=%1 password='Yanlış \\'Parola\\''").arg(kRole)
            << QStringList{"Yanlış 'Parola'", "Yanlış \\'Parola\\'"} << "kullanıcı adını ya da parolayı kabul etmedi"
            << "password authentication failed";
        QTest::newRow("no password given") << QStringLiteral("postgresql://%1@/kalpiyon?host={dir}").arg(kRole)
                                           << QStringList{} << "parola istiyor" << "no password supplied";
        QTest::newRow("no server at the socket")
            << "postgresql://kalpiyon:Gizli9Parola@/kalpiyon?host={empty}" << QStringList{"Gizli9Parola"}
            << "ulaşılamadı" << "Is the server running locally";
        QTest::newRow("no such database")
            << "postgresql:///yokboyle?host={dir}&user=kalpiyon&password=Gizli5Parola" << QStringList{"Gizli5Parola"}
            << "adreste yazılı veritabanı yok" << "does not exist";
    }
    void refusedConnection()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, secrets);
        QFETCH(QString, sentence);
        QFETCH(QString, libpqSays);
        address = expand(address);
        const Error e = errorOf([&] { records::openRecordStore(address); });
        QVERIFY2(e.message().startsWith(QStringLiteral("Veritabanı sunucu")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(sentence), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QLatin1String(".s.PGSQL")) || e.message().contains(QLatin1String("/kalpiyon")) ||
                     e.message().contains(QLatin1String("/yokboyle")),
                 qPrintable(e.message()));  // names the server
        QVERIFY2(e.details().contains(libpqSays), qPrintable(e.details()));
        QVERIFY2(!e.message().contains(libpqSays), qPrintable(e.message()));
        verifyClean(e.message(), e.details(), secrets);
    }

    // Statements the server refuses on a working connection, made to fail for real.
    void refusedStatement_data()
    {
        QTest::addColumn<QString>("setup");   // run by a second connection first
        QTest::addColumn<QString>("action");  // insert, read or count, by the desk
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("sqlstate");
        const QString onHold = QStringLiteral("Kayıt şu an başka bir masada değiştiriliyor");
        QTest::newRow("another desk holds the table") << "BEGIN; LOCK TABLE veriler" << "insert" << onHold << "55P03";
        QTest::newRow("value too long") << "" << "insert-long" << "sığmayacak kadar uzun" << "22001";
        QTest::newRow("date the server cannot take") << "" << "insert-bad-date" << "alanın biçimine uymuyor" << "22008";
        QTest::newRow("table dropped meanwhile") << "DROP TABLE veriler" << "count"
                                                 << "Cannot find the input table or query 'veriler'." << "42P01";
        QTest::newRow("column dropped meanwhile") << "ALTER TABLE veriler DROP COLUMN \"Yas\"" << "read"
                                                  << "Field 'Yas' not found" << "42703";
        QTest::newRow("a check constraint shows the failing row")
            << "ALTER TABLE veriler ADD CONSTRAINT yas_kurali CHECK (\"Yas\" <> '99')" << "insert"
            << "Sunucudaki bir kural bu kaydı kabul etmedi" << "23514";
        QTest::newRow("a not-null constraint shows the failing row")
            << "ALTER TABLE veriler ALTER COLUMN \"EF\" SET NOT NULL" << "insert"
            << "Sunucudaki bir kural bu kaydı kabul etmedi" << "23502";
    }
    void refusedStatement()
    {
        QFETCH(QString, setup);
        QFETCH(QString, action);
        QFETCH(QString, sentence);
        QFETCH(QString, sqlstate);
        records::createRecordStore(address_, true);
        store_ = records::openRecordStore(address_);
        // A patient whose name, protocol number and age must never reach a message.
        const QStringList rowValues{QStringLiteral("ZEYNEP GİZLİHASTA"), QStringLiteral("424242"), QStringLiteral("2024-02-31")};
        QVector<QVariant> patient = testdb::record(rowValues[0], {{QStringLiteral("Prot_No"), rowValues[1]},
                                                                   {QStringLiteral("Yas"), QStringLiteral("99")},
                                                                   {QStringLiteral("Tarih"), QStringLiteral("2024-03-01")}});
        const qint64 key = store_->insert(testdb::record(QStringLiteral("AHMET"), {{QStringLiteral("EF"), QStringLiteral("60")}}));
        if (!setup.isEmpty())
            admin(setup);
        const Error e = errorOf([&] {
            if (action == QLatin1String("insert-long"))
                patient[records::fieldIndex(QStringLiteral("Yas"))] = QStringLiteral("9").repeated(11);
            if (action == QLatin1String("insert-bad-date"))
                patient[records::fieldIndex(QStringLiteral("Tarih"))] = rowValues[2];
            if (action.startsWith(QLatin1String("insert")))
                store_->insert(patient);
            else if (action == QLatin1String("read"))
                store_->readRecord(key);
            else
                store_->recordCount();
        });
        if (PQtransactionStatus(admin_) != PQTRANS_IDLE)
            admin(QStringLiteral("ROLLBACK"));  // the other desk lets go
        QVERIFY2(e.message().contains(sentence), qPrintable(e.message()));
        QVERIFY2(e.details().startsWith(QStringLiteral("SQLSTATE %1: ").arg(sqlstate)), qPrintable(e.details()));
        QVERIFY2(!e.details().contains(QLatin1String("DETAIL")) && !e.details().contains(QLatin1String("Failing row")),
                 qPrintable(e.details()));
        verifyClean(e.message(), e.details(), rowValues);
        store_.reset();
    }

    // The server ends the desk's session in the middle of a transaction: one sentence naming the
    // server, libpq's words once, tidied, in the details.
    void connectionLost()
    {
        records::createRecordStore(address_, true);
        auto store = records::openRecordStore(address_);
        store->begin();
        const QString others = QStringLiteral("FROM pg_stat_activity WHERE backend_type = 'client backend' AND pid <> pg_backend_pid()");
        admin(QStringLiteral("SELECT pg_terminate_backend(pid) ") + others);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                PGresult *r = PQexec(admin_, (QStringLiteral("SELECT count(*) ") + others).toUtf8().constData());
                const bool gone = QByteArray(PQgetvalue(r, 0, 0)) == "0";
                PQclear(r);
                return gone;
            }(),
            20000);
        const Error e = errorOf([&] { store->insert(testdb::record(QStringLiteral("AHMET"))); });
        store->rollback();
        QVERIFY2(e.message().startsWith(QStringLiteral("Veritabanı sunucusuyla (")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(folder()), qPrintable(e.message()));
        QVERIFY2(!e.message().contains(QLatin1String("closed")) && !e.message().contains(QLatin1String("terminating")),
                 qPrintable(e.message()));
        QVERIFY2(e.details().contains(QLatin1String("terminating connection")) || e.details().contains(QLatin1String("server closed")),
                 qPrintable(e.details()));
        verifyClean(e.message(), e.details(), {});
    }

    // sr-aktar appends onto a server like onto a file; the address it echoes holds no password,
    // and a wrong one is refused in Turkish without showing it.
    void srAktarOntoTheServer()
    {
        const QString fixtures = QStringLiteral(KALPIYON_SOURCE_DIR "/tests/dicom/fixtures/");
        records::createRecordStore(address_, true);
        const QString right = passwordAddress(kRightPassword);
        const Run r = runProcess(QStringLiteral(KALPIYON_VERI),
                                 {QStringLiteral("sr-aktar"), fixtures + QStringLiteral("tid5300-simplified.dcm"), right});
        QCOMPARE(r.status, 0);
        verifyClean(r.out, r.err, {kRightPassword, percentEncoded(kRightPassword)});
        QVERIFY2(r.out.startsWith(QStringLiteral("Kayıt eklendi")), qPrintable(r.out + r.err));
        auto store = records::openRecordStore(address_);
        QCOMPARE(store->recordCount(), 1);
        const QVector<qint64> keys = store->findKeys(records::fieldIndex(QStringLiteral("Adi_Soyadi")), QStringLiteral("KAYA ZEYNEP"), false, false);
        QCOMPARE(keys.size(), 1);
        QCOMPARE(store->readRecord(keys[0])[records::fieldIndex(QStringLiteral("Yas"))].toString(), QStringLiteral("63"));

        const QString wrong = QStringLiteral("Yanlis%Parola");
        const Run refused = runProcess(QStringLiteral(KALPIYON_VERI),
                                       {QStringLiteral("sr-aktar"), fixtures + QStringLiteral("tid5300-simplified.dcm"),
                                        QStringLiteral("postgresql://%1:%2@/kalpiyon?host=%3").arg(kRole, percentEncoded(wrong), folder())});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("parolayı kabul etmedi")), qPrintable(refused.err));
        verifyClean(refused.out, refused.err, {wrong, percentEncoded(wrong)});
        QCOMPARE(store->recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestServerErrors)
#include "tst_servererrors.moc"
