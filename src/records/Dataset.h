#pragma once
// The dataset `Query1` over table `veriler` of `Data.mdb` (an SQLite file).
//
// The list order is fixed when the dataset opens (Turkish alphabetical order of
// Adi_Soyadi, ties in store key order); records appended later stand at the end. Per row only
// the store key, the name and its sort key are held, packed in a few large memory blocks; the
// whole record is read when it becomes current.
//
// Errors the dataset raises itself carry "Query1: " in front; errors of the store (SQLite)
// come as the store words them. Every failure is an Error (common/Error.h).

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

#include "Error.h"
#include "Schema.h"

namespace records {

enum class DataSetState { Inactive, Browse, Edit, Insert };

struct LocateOptions {
    bool partialKey = false;
    bool caseInsensitive = false;
};

class RecordStore;

// The values of some fields for every stored row, by list position, read in one pass and
// kept compactly: texts as UTF-8 in one block; a value becomes a QVariant when it is asked
// for (as the dataset gives it: null, QString, or QDateTime for a readable Tarih).
class ColumnValues {
public:
    int rowCount() const { return int(rowOf_.size()); }
    bool isEmpty() const { return rowOf_.empty(); }
    void clear() { *this = ColumnValues(); }
    QVariant value(int row, int column) const;
    // All the values of one row (empty values for a row outside the list).
    QVector<QVariant> value(int row) const;

private:
    friend class Dataset;
    QVector<int> fields_;
    std::vector<int> rowOf_;        // list position -> row as read (-1: not in the table)
    std::vector<qsizetype> ends_;   // end of each cell's text in bytes_, cells row by row as read
    std::vector<bool> nulls_;       // per cell as read
    QByteArray bytes_;
};

// Thrown by Dataset::open when the file or server itself cannot be opened, as opposed to a
// table of the wrong form: the start-up reports the two differently.
class ConnectionError : public Error {
public:
    explicit ConnectionError(const Error &e) : Error(e) {}
};

class Dataset : public QObject {
    Q_OBJECT
public:
    explicit Dataset(QObject *parent = nullptr);  // object name "Query1"
    ~Dataset() override;

    // Opens the database file (a bare name resolves against the current directory) and reads
    // the list. Throws Error; on failure the dataset stays closed. Positions on the first record
    // and runs afterScroll when there is one.
    void open(const QString &fileName = QStringLiteral("Data.mdb"));
    // Opens the records (a file or a server) with the checks and messages of open(), without
    // reading the list (for readers that stream the table themselves).
    static std::unique_ptr<RecordStore> openRecords(const QString &address);
    // A dataset whose open() of a server failed (it did not answer) tries again when it is next
    // used: moving, searching, a new record. Closes at once, dropping a pending edit without
    // settling it, and releases the file; a closed dataset stays closed until opened.
    void close();

    bool active() const { return state_ != DataSetState::Inactive; }
    DataSetState state() const { return state_; }
    bool editing() const { return state_ == DataSetState::Edit || state_ == DataSetState::Insert; }
    QString fileName() const { return fileName_; }

    int recordCount() const;  // stored records in the list (a pending new record is not counted)
    int recNo() const;        // 1-based list position; -1 when empty or inserting
    bool isEmpty() const;
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

    // Moves. Each settles a pending edit first, then moves, then runs afterScroll.
    void first();
    void prior();
    void next();
    void last();
    int moveBy(int distance);       // returns the distance actually moved
    void setRecNo(int recNo);       // 1-based; clamped to the list

    // Locate on one field; settles first. With partialKey: the first record, in true (current)
    // name order, whose value begins with `value`. On a hit the record becomes current and
    // afterScroll runs; without one nothing moves. Only Adi_Soyadi supports partial keys in
    // name order; other fields are searched in list order.
    bool locate(const QString &field, const QString &value, LocateOptions options = {});

    void append();   // settles, then a new empty record at the end in the insert state
    void edit();     // browse -> edit; on an empty list starts a new record (insert)
    void post();     // stores the pending record (one durable transaction); back to browse
    void cancel();   // drops pending changes; back to browse
    void remove();   // deletes the current record (in insert: cancel)
    // Deletes every record, as many single deletions would, but committed in batches so that
    // clearing a large table takes seconds, not minutes. `progress` gets the number deleted
    // so far after each batch. A refused deletion rolls back only its batch, stops, and
    // throws; what was committed stays deleted and the list shows what remains.
    void removeAll(const std::function<void(int deleted)> &progress = {});
    // Settling: asks the bound editors to write their values (updateRecord), then posts when
    // anything changed and cancels otherwise. Does nothing in browse.
    void checkBrowseMode();

    // Field access of the current record (the pending buffer while editing).
    // Values: null QVariant, QString for text fields, QDateTime (in Qt::UTC, standing for a naive
    // local date-time) for Tarih.
    QVariant value(int field) const;
    QVariant value(const QString &fieldName) const;  // throws "Query1: Field '%s' not found"
    QString displayText(int field) const;  // text; dates by the date/time display rule
    QString displayText(const QString &fieldName) const;
    bool isNull(int field) const;
    // Writing a field needs the edit or insert state ("Query1: Dataset not in edit or insert
    // mode" otherwise). Text is cut to the field's size. setText parses Tarih (empty clears it).
    void setValue(int field, const QVariant &value);
    void setText(int field, const QString &text);
    void setText(const QString &fieldName, const QString &text);
    bool modified() const { return modified_; }

    // List rows for the record list and the reports; row is the 0-based list position.
    // rowText gives the pending buffer's value for the current row while editing.
    QString rowText(int row, int field) const;
    // One value of every stored row in list order, read in a single pass over the table
    // (for report preparation); the current row's pending values are not included.
    ColumnValues readColumns(const QVector<int> &fields) const;
    // The chosen fields of one stored row (0-based list position), read from the store.
    QVector<QVariant> rowValues(int row, const QVector<int> &fields) const;

signals:
    void afterScroll();
    void stateChanged();
    void recordChanged();       // the current record's values changed (editors refresh)
    void fieldChanged(int field);  // one field of the current record was set
    void updateRecord();        // bound editors: write your pending values now
    void listChanged();         // rows were added or removed
    void rowChanged(int row);   // a stored row's list texts changed
    void posted();              // post() stored the record; still in the edit state until it returns

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    DataSetState state_ = DataSetState::Inactive;
    QString fileName_;
    QString retryAddress_;  // a server whose open() failed; tried again on the next use
    bool bof_ = true;
    bool eof_ = true;
    bool modified_ = false;

    void checkActive() const;
    // checkActive(), after opening again what failed to open.
    void ensureActive();
    void setState(DataSetState s);
    void moveTo(int row);
    [[noreturn]] void raise(const QString &message) const;
};

QString stateName(DataSetState s);

}  // namespace records
