#pragma once
// The one interface through which the program reaches its records, whatever keeps them: the
// SQLite file `Data.mdb` (the default) or table `veriler` on a PostgreSQL server. Every SQL
// statement lives behind it. Values cross it in their stored form (StoredForm.h: texts as they
// are, Tarih as "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"); rows are named by a key the engine owns.
// Every write outside begin()/commit() is one durable transaction of its own.

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace records {

// One stored value as text: null, or its UTF-8 (a number another tool wrote into a text
// column as its text, a date in its stored form). Valid only during the callback.
struct CellText {
    bool null = true;
    QByteArrayView utf8;
};

class RecordStore {
public:
    virtual ~RecordStore() = default;

    // The file's path or the server's "host:port/database", for messages (never a password).
    virtual QString name() const = 0;
    virtual bool isServer() const = 0;

    virtual bool hasTable() = 0;
    // "Field '%s' not found", "Type mismatch for field '%s', expecting: %s actual: %s", or the
    // missing-table message.
    virtual void checkSchema() = 0;

    // Every row's key and name (UTF-8, valid only during the call), in the engine's storage
    // (key) order.
    virtual void readNames(const std::function<void(qint64 key, QByteArrayView nameUtf8)> &row) = 0;
    // The same in `parts` consecutive key ranges read side by side, each on a thread of its
    // own, all from one unchanging state of the records: `row(part, key, name)` runs on that
    // part's thread, in key order within the part, and every key of a part comes before those
    // of the next. An engine may read in fewer parts; by default it reads one, on this thread.
    virtual void readNamesInParts(int parts, const std::function<void(int part, qint64 key, QByteArrayView nameUtf8)> &row)
    {
        (void)parts;
        readNames([&row](qint64 key, QByteArrayView name) { row(0, key, name); });
    }
    // The chosen fields of every row, in storage order, one row at a time.
    virtual void readRows(const QVector<int> &fields,
                          const std::function<void(qint64 key, const QVector<QVariant> &values)> &row) = 0;
    // The same as texts, without a QVariant per cell (report data of the whole table).
    virtual void readTexts(const QVector<int> &fields,
                           const std::function<void(qint64 key, const CellText *cells)> &row) = 0;
    // The same in list order (Turkish order of the names, ties in key order), streamed: the
    // engine holds at most every key and its sort key, never the rows.
    virtual void readTextsInListOrder(const QVector<int> &fields, const std::function<void(const CellText *cells)> &row) = 0;
    // What the engine's own integrity check finds wrong with its pages (none: empty).
    virtual QStringList integrityProblems() = 0;
    // The stored values of one row (kFieldCount of them); empty when the row is gone.
    virtual QVector<QVariant> readRecord(qint64 key) = 0;
    // The chosen fields of one row; empty when the row is gone.
    virtual QVector<QVariant> readFields(qint64 key, const QVector<int> &fields) = 0;
    // Keys of the rows whose field equals `value` (with `partial`: begins with it; with
    // `caseInsensitive`: equals it ignoring letter case).
    virtual QVector<qint64> findKeys(int field, const QVariant &value, bool partial, bool caseInsensitive) = 0;

    virtual qint64 insert(const QVector<QVariant> &stored) = 0;
    // Many records at once (copying a practice); an engine may send them together.
    virtual void insertMany(const QVector<QVector<QVariant>> &rows)
    {
        for (const QVector<QVariant> &row : rows)
            insert(row);
    }
    // How many rows changed: 0 when the row no longer holds the values `read` (another desk
    // changed or deleted it meanwhile); then nothing was written.
    virtual int updateIfUnchanged(qint64 key, const QVector<QVariant> &read, const QVector<QVariant> &now) = 0;
    virtual int removeIfUnchanged(qint64 key, const QVector<QVariant> &read) = 0;
    // Deletes the rows of `keys`; returns how many were still there.
    virtual int removeKeys(const QVector<qint64> &keys) = 0;

    virtual qint64 recordCount() = 0;
    // Bytes the records take: the file's size, or the table's on the server.
    virtual qint64 sizeBytes() = 0;
    // A consistent copy of every record as a standalone SQLite file at `path` (0600, written
    // under a temporary name and renamed into place). Returns the number of records.
    virtual qint64 snapshotTo(const QString &path) = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0;
    // Everything read until endSnapshot() comes from one unchanging state of the records, while
    // other desks go on writing (copying and then comparing the copy needs that).
    virtual void beginSnapshot() = 0;
    virtual void endSnapshot() noexcept = 0;
};

// True when the file starts like a Microsoft Access (Jet/ACE) database: the file engine
// refuses one with a message that says so, and the importer reads it.
bool isAccessDatabase(const QString &path);

// True when `address` names a server (a libpq URI or key=value string) rather than a file.
bool isServerAddress(const QString &address);

// While a round trip waits for the server longer than a moment, `handler` runs every few
// hundredths of a second with the milliseconds waited so far, and once with -1 when that wait
// ends, so a window can keep painting. It must not use a store meanwhile.
void setServerWaitHandler(std::function<void(qint64 waitedMs)> handler);

// Opens the records at `address`: a server, or an SQLite file (a bare name resolves against
// the current folder). A file on a network file system is refused: SQLite's locking does not
// hold there. Throws Error.
std::unique_ptr<RecordStore> openRecordStore(const QString &address);

// Appends every record of `from` to `to` in storage order, in one transaction of `to`;
// returns how many were copied. Inside from.beginSnapshot() the copy is one state of `from`.
qint64 copyAllRecords(RecordStore &from, RecordStore &to);

// A consistent standalone copy of the records at `address` (a file or a server) as an SQLite
// file at `target`, verified; the backup wizard and the automatic backups write this.
qint64 backupRecords(const QString &address, const QString &target);

// Compacts the server's table (VACUUM FULL, ANALYZE) and checks that it holds as many records
// afterwards as before; throws Error otherwise.
void compactServer(const QString &address);

// Creates an empty table `veriler` at `address` (a new file, or the table on a server);
// refuses an existing one unless `overwrite`.
void createRecordStore(const QString &address, bool overwrite = false);

}  // namespace records
