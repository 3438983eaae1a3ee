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
#include <QElapsedTimer>
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

    // While a round trip waits for the server longer than a moment, `handler` runs every few
    // hundredths of a second with the milliseconds waited so far, and once with -1 when that wait
    // ends, so a window can keep painting. It must not use a store: a store used again while it
    // waits refuses with an error rather than mixing two conversations on one connection.
    static void setWaitHandler(std::function<void(qint64 waitedMs)> handler);

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
    // Reads in one REPEATABLE READ snapshot until endSnapshot(): what is read meanwhile, however
    // often, is one state of the records.
    void beginSnapshot() override;
    void endSnapshot() noexcept override { rollback(); }

private:
    QString address_;        // as given, password and all: to keep it out of every message
    pg_conn *conn_ = nullptr;
    QByteArray connection_;  // as given, to connect again
    QString name_;           // "host:port/database" of the last connection attempt
    bool inTransaction_ = false;
    bool busy_ = false;      // a round trip is under way (the wait handler may run meanwhile)
    bool committing_ = false;
    int waitLimitMs_;        // how long one wait for the server may take

    // Connects within the bound and sets the session up; throws the connection error.
    void connect();
    // Every setting a session needs, at connect and after every reconnect.
    void setUpSession();
    // A lost connection is made again outside a transaction (inside one the work is gone).
    void ensureConnected();
    // Waits until the socket can be read (or written) within `limitMs` of `since`; false when
    // the time ran out. waitForServer: within waitLimitMs_, past it the statement is cancelled,
    // the connection given up and a timeout thrown (giveUp).
    bool waitForSocket(bool write, const QElapsedTimer &since, qint64 limitMs);
    void waitForServer(bool write, const QElapsedTimer &since);
    void sendAll(const QElapsedTimer &since);
    // The next result of the statement under way (nullptr: no more), waited for within the bound.
    pg_result *nextResult(const QElapsedTimer &since);
    [[noreturn]] void giveUp();
    template <typename F>
    auto inOwnTransaction(F work);

    struct Result;
    Result run(const QString &sql, const QVector<QVariant> &params = {});
    // Runs a query and hands its rows over one at a time (single-row mode).
    void stream(const QString &sql, const std::function<void(const pg_result *row)> &row);
    void streamRows(const QString &sql, const std::function<void(const pg_result *row)> &row);
    void refuseUnreadableAddress(const QByteArray &conninfo) const;
    // The error of a failed statement (`result` may be null) or of a broken connection.
    [[noreturn]] void fail(const pg_result *result = nullptr) const;
    // Every key, in list order (the names' sort keys, ties in key order).
    std::vector<qint64> keysInListOrder();
};

}  // namespace records
