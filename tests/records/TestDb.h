#pragma once
// Small helpers for tests that need a real database file.

#include <QDateTime>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

#include "Error.h"
#include "Schema.h"

#include <functional>
#include "Store.h"

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

// Creates `path` holding one record per name, in the given insertion order.
inline void create(const QString &path, const QStringList &names)
{
    records::Store::create(path, true);
    records::Store store(path);
    store.begin();
    int n = 0;
    for (const QString &name : names)
        store.insert(record(name, {{QStringLiteral("Prot_No"), QString::number(++n)}}));
    store.commit();
}

// Runs SQL through the sqlite3 command-line program: a second, independent process.
inline QString sqliteCli(const QString &path, const QString &sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {path, sql});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed() + QString::fromUtf8(p.readAllStandardError()).trimmed();
}

// Another process that holds an exclusive lock on the database until destroyed.
class LockHolder {
public:
    explicit LockHolder(const QString &path)
    {
        p_.start(QStringLiteral("sqlite3"), {path});
        p_.waitForStarted();
        p_.write("BEGIN EXCLUSIVE;\nSELECT 'locked';\n");
        while (!p_.readAllStandardOutput().contains("locked") && p_.waitForReadyRead(10000)) {
        }
    }
    ~LockHolder()
    {
        p_.write("ROLLBACK;\n.quit\n");
        p_.closeWriteChannel();
        p_.waitForFinished(10000);
    }

private:
    QProcess p_;
};

}  // namespace testdb
