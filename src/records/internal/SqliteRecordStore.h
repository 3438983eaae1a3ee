#pragma once
// The records in the SQLite file `Data.mdb`: RecordStore over a Store connection. Rows are
// keyed by rowid; statements that run per record are prepared once.

#include <memory>

#include "RecordStore.h"
#include "Store.h"

namespace records {

class SqliteRecordStore : public RecordStore {
public:
    explicit SqliteRecordStore(const QString &path);
    ~SqliteRecordStore() override;

    QString name() const override { return store_.path(); }
    bool isServer() const override { return false; }
    bool hasTable() override { return store_.hasTable(); }
    void checkSchema() override { store_.checkSchema(); }

    void readNames(const std::function<void(qint64, QByteArrayView)> &row) override;
    void readNamesInParts(int parts, const std::function<void(int, qint64, QByteArrayView)> &row) override;
    void readRows(const QVector<int> &fields, const std::function<void(qint64, const QVector<QVariant> &)> &row) override;
    void readTexts(const QVector<int> &fields, const std::function<void(qint64, const CellText *)> &row) override;
    void readTextsInListOrder(const QVector<int> &fields, const std::function<void(const CellText *)> &row) override;
    QStringList integrityProblems() override;
    QVector<QVariant> readRecord(qint64 key) override;
    QVector<QVariant> readFields(qint64 key, const QVector<int> &fields) override;
    QVector<qint64> findKeys(int field, const QVariant &value, bool partial, bool caseInsensitive) override;

    qint64 insert(const QVector<QVariant> &stored) override { return store_.insert(stored); }
    int updateIfUnchanged(qint64 key, const QVector<QVariant> &read, const QVector<QVariant> &now) override;
    int removeIfUnchanged(qint64 key, const QVector<QVariant> &read) override;
    int removeKeys(const QVector<qint64> &keys) override;

    qint64 recordCount() override { return store_.recordCount(); }
    qint64 sizeBytes() override;
    qint64 snapshotTo(const QString &path) override;

    void begin() override { store_.begin(); }
    void commit() override { store_.commit(); }
    void rollback() noexcept override { store_.rollback(); }
    // A deferred transaction: its first read takes the shared lock and keeps it to the end, so
    // no other connection commits meanwhile.
    void beginSnapshot() override { store_.exec(QStringLiteral("BEGIN DEFERRED")); }
    void endSnapshot() noexcept override { store_.rollback(); }

    Store &store() { return store_; }

private:
    Store store_;
    std::unique_ptr<Statement> selectRecord_;
    std::unique_ptr<Statement> selectFields_;  // prepared for the last field list asked for
    QVector<int> selectFieldsFor_;
    std::unique_ptr<Statement> removeKey_;

    int changes() const;
};

}  // namespace records
