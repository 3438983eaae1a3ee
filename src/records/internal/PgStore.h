#pragma once
// Table `veriler` on a PostgreSQL server, reached through libpq. The same table as in the
// SQLite file (the 61 fields with their names, sizes and types) plus `kalpiyon_id`, a key
// column this store owns. Every write is one transaction, durable when it returns; updates
// and deletes are optimistic: they change the row only while it still holds the values read.
// Columns beyond the 61 fields and the key are never read or written.
//
// Values cross this interface in their stored form (see StoredForm.h: texts as they are, Tarih as
// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"), so both engines hand the dataset the same values.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

#include <vector>

#include "RecordStore.h"

struct pg_conn;
struct pg_result;

namespace records {

class PgStore : public RecordStore {
public:
    // Connects with a libpq connection string or URI. Throws Error naming the server (host,
    // port and database; never a password) when it cannot be reached.
    explicit PgStore(const QString &connection);
    ~PgStore() override;
    PgStore(const PgStore &) = delete;
    PgStore &operator=(const PgStore &) = delete;

    // True when `text` names a server rather than a file: a URI or a key=value string.
    static bool isConnectionString(const QString &text);
    // Creates table `veriler` with its key column; refuses an existing table unless `replace`.
    void createTable(bool replace = false);
    bool hasTable() override;
    // The same messages as the file: "Field '%s' not found", "Type mismatch for field ...".
    void checkSchema() override;
    // "host:port/database" of the connection, for messages.
    QString serverName() const;
    QString name() const override { return serverName(); }
    bool isServer() const override { return true; }

    // Every row's key and name, in storage (key) order.
    void readNames(const std::function<void(qint64 key, QByteArrayView nameUtf8)> &row) override;
    // The chosen fields of every row, in key order.
    void readRows(const QVector<int> &fields, const std::function<void(qint64 key, const QVector<QVariant> &values)> &row) override;
    // The stored values of one row (kFieldCount of them); empty when the row is gone.
    void readTexts(const QVector<int> &fields, const std::function<void(qint64, const CellText *)> &row) override;
    // In list order within one snapshot: the keys are put in order here (the server knows no
    // sort key of the program's) and the rows fetched in that order a batch at a time.
    void readTextsInListOrder(const QVector<int> &fields, const std::function<void(const CellText *)> &row) override;
    // The server keeps its own pages sound.
    QStringList integrityProblems() override { return {}; }
    QVector<QVariant> readRecord(qint64 key) override;
    QVector<QVariant> readFields(qint64 key, const QVector<int> &fields) override;
    // Keys of the rows whose field equals `value` (or starts with it; or equals it ignoring
    // letter case), in key order.
    QVector<qint64> findKeys(int field, const QVariant &value, bool partial, bool caseInsensitive) override;

    qint64 insert(const QVector<QVariant> &stored) override;
    void insertMany(const QVector<QVector<QVariant>> &rows) override;
    // Rows changed: 0 when another desk changed or deleted the row meanwhile.
    int updateIfUnchanged(qint64 key, const QVector<QVariant> &read, const QVector<QVariant> &now) override;
    int removeIfUnchanged(qint64 key, const QVector<QVariant> &read) override;
    // Deletes the rows of `keys` in one transaction; returns how many were still there.
    int removeKeys(const QVector<qint64> &keys) override;

    qint64 recordCount() override;
    qint64 sizeBytes() override;
    // VACUUM FULL and ANALYZE of the table.
    void compact();
    // Writes every record, read in one repeatable-read transaction, into a new SQLite file.
    // Returns the number of records written.
    qint64 snapshotTo(const QString &sqlitePath) override;

    void begin() override;
    void commit() override;
    void rollback() noexcept override;

private:
    QString address_;  // as given, password and all: to keep it out of every message
    pg_conn *conn_ = nullptr;
    bool inTransaction_ = false;

    struct Result;
    Result run(const QString &sql, const QVector<QVariant> &params = {});
    // Runs a query and hands its rows over one at a time (single-row mode).
    void stream(const QString &sql, const std::function<void(const pg_result *row)> &row);
    void refuseUnreadableAddress(const QByteArray &conninfo) const;
    // The error of a failed statement (`result` may be null) or of a broken connection.
    [[noreturn]] void fail(const pg_result *result = nullptr) const;
    // Every key, in list order (the names' sort keys, ties in key order).
    std::vector<qint64> keysInListOrder();
};

}  // namespace records
