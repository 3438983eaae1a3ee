#pragma once
// Small helpers for tests that need a real database file.

#include <QDateTime>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

#include "Error.h"
#include "Schema.h"

#include <functional>
#include "RecordStore.h"

namespace testdb {

// The message of the Error an action throws; empty when it throws none.
inline QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return e.message();
    }
    return QString();
}

// The message and, on a line of its own, the details (a library's own text) of the error.
inline QString errorAndDetailsOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return e.message() + QLatin1Char('\n') + e.details();
    }
    return QString();
}

// A record with the given name and optional extra fields (name -> value).
inline QVector<QVariant> record(const QString &name, const QList<QPair<QString, QVariant>> &extra = {})
{
    QVector<QVariant> v(records::kFieldCount);
    if (!name.isNull())
        v[records::fieldIndex(QStringLiteral("Adi_Soyadi"))] = name;
    for (const auto &[field, value] : extra)
        v[records::fieldIndex(field)] = value;
    return v;
}

// Creates the table at `address` (a file or a server) holding one record per name, in the
// given insertion order.
inline void create(const QString &address, const QStringList &names)
{
    records::createRecordStore(address, true);
    auto store = records::openRecordStore(address);
    store->begin();
    int n = 0;
    for (const QString &name : names)
        store->insert(record(name, {{QStringLiteral("Prot_No"), QString::number(++n)}}));
    store->commit();
}

// The other engine's command-line client, with a locale its Debian wrapper accepts.
inline void startClient(QProcess &p, const QString &address, const QStringList &extra = {})
{
    if (!records::isServerAddress(address)) {
        p.start(QStringLiteral("sqlite3"), QStringList{address} + extra);
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("psql"), QStringList{address, QStringLiteral("-qAt")} + extra);
}

// Runs SQL through another client of the store (sqlite3 or psql): a second, independent
// process. Returns its output followed by its error output.
inline QString otherClient(const QString &address, const QString &sql)
{
    QProcess p;
    startClient(p, address, records::isServerAddress(address) ? QStringList{QStringLiteral("-c"), sql} : QStringList{sql});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed() + QString::fromUtf8(p.readAllStandardError()).trimmed();
}

inline QString sqliteCli(const QString &path, const QString &sql)
{
    return otherClient(path, sql);
}

// A database of its own on the test command's server (KALPIYON_TEST_PG), so that test
// programs running side by side never share a table; empty when there is no server.
inline QString serverDatabase(const QString &name)
{
    const QString server = qEnvironmentVariable("KALPIYON_TEST_PG");
    if (server.isEmpty())
        return QString();
    otherClient(server, QStringLiteral("CREATE DATABASE %1").arg(name));  // fails harmlessly when it exists
    QString own = server;
    own.replace(QRegularExpression(QStringLiteral("^(postgres(?:ql)?://[^/]*/)[^?]*")), QStringLiteral("\\1") + name);
    return own;
}

// Another process that holds an exclusive lock on the records until destroyed.
class LockHolder {
public:
    explicit LockHolder(const QString &address)
    {
        startClient(p_, address);
        p_.waitForStarted();
        p_.write(records::isServerAddress(address) ? "BEGIN; LOCK TABLE veriler IN ACCESS EXCLUSIVE MODE; SELECT 'locked';\n"
                                                   : "BEGIN EXCLUSIVE;\nSELECT 'locked';\n");
        while (!p_.readAllStandardOutput().contains("locked") && p_.waitForReadyRead(10000)) {
        }
    }
    ~LockHolder()
    {
        p_.write("ROLLBACK;\n");
        p_.closeWriteChannel();
        p_.waitForFinished(10000);
    }

private:
    QProcess p_;
};

}  // namespace testdb
