#pragma once
// The database file: an SQLite file (named Data.mdb by the program) holding table `veriler`.
// Store wraps one connection. It is internal to the records library: the engine behind
// SqliteRecordStore and the whole-file maintenance; everything outside the library reaches the
// records through RecordStore. All failures are Error with a clear message.

#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

#include "RecordStore.h"
#include "StoredForm.h"

struct sqlite3;
struct sqlite3_stmt;

namespace records {

class Statement;

class Store {
public:
    // Opens an existing database for reading and writing. Throws Error when the file is
    // missing, is not a database (an Access file is named as such), or is locked.
    explicit Store(const QString &path, int busyTimeoutMs = 5000);
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // Creates a new database with an empty table `veriler`, readable by its owner only.
    // Refuses an existing file unless overwrite is set.
    static void create(const QString &path, bool overwrite = false);

    // Checks that `veriler` exists and holds every field with its type. Throws Error:
    // "Field '%s' not found" / "Type mismatch for field '%s', expecting: %s actual: %s",
    // or a missing-table message.
    void checkSchema();
    bool hasTable();

    // Runs SQL without results; throws Error on failure.
    void exec(const QString &sql);
    void begin() { exec(QStringLiteral("BEGIN IMMEDIATE")); }
    void commit() { exec(QStringLiteral("COMMIT")); }
    void rollback() noexcept;

    // Inserts one record (kFieldCount values, as the dataset holds them); returns its key.
    qint64 insert(const QVector<QVariant> &values);

    qint64 recordCount();
    sqlite3 *handle() const { return db_; }
    QString path() const { return path_; }

    // Throws Error with the connection's current message, prefixed by `what` when given.
    [[noreturn]] void fail(const QString &what = QString()) const;

private:
    sqlite3 *db_ = nullptr;
    QString path_;
    std::unique_ptr<Statement> insert_;  // prepared once, reused for bulk inserts
};

// The CREATE TABLE statement of a new database file (Schema.cpp builds it from the field table).
QString createTableSql();

// A prepared statement bound to a store; finalised on destruction.
class Statement {
public:
    Statement(const Store &store, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int index, const QVariant &value);  // 1-based; QDateTime stored as ISO text
    bool step();                                  // true while a row is available
    void reset();
    QVariant column(int index) const;             // raw stored value: null, text, integer, real, blob
    QString columnText(int index) const;
    QByteArrayView columnUtf8(int index) const;  // valid until the next step or reset
    bool columnIsNull(int index) const;
    bool columnIsText(int index) const;
    qint64 columnInt(int index) const;

private:
    const Store &store_;
    sqlite3_stmt *stmt_ = nullptr;
};

}  // namespace records
