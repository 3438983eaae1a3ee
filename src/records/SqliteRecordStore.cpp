#include "SqliteRecordStore.h"

#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>
#include <thread>
#include <vector>

#include "Error.h"
#include "FileSystem.h"
#include "Maintenance.h"
#include "NameKeySql.h"
#include "PgStore.h"
#include "Schema.h"
#include "Settings.h"

namespace records {

namespace {

QString columnsOf(const QVector<int> &fields)
{
    QStringList cols;
    for (int f : fields)
        cols << QStringLiteral("\"%1\"").arg(QLatin1String(kFields[f].name));
    return cols.join(QLatin1Char(','));
}

// "rowid=?N AND "c1" IS ?N+1 AND ...": the row must still hold the values read.
QString unchangedRowCondition(int firstParam)
{
    QStringList parts{QStringLiteral("rowid=?%1").arg(firstParam)};
    for (int i = 0; i < kFieldCount; ++i)
        parts << QStringLiteral("\"%1\" IS ?%2").arg(QLatin1String(kFields[i].name)).arg(firstParam + 1 + i);
    return parts.join(QStringLiteral(" AND "));
}

QVector<QVariant> columns(const Statement &st, int first, int count)
{
    QVector<QVariant> values(count);
    for (int c = 0; c < count; ++c)
        values[c] = st.column(first + c);
    return values;
}

void refuseNetworkFolder(const QString &path)
{
    const QString fs = filesystem::networkFileSystemOf(path);
    if (!fs.isEmpty())
        throw Error(QStringLiteral("'%1' bir ağ klasöründe (%2). Ağ klasöründeki bir veritabanı dosyası bozulabilir; "
                                   "birden çok bilgisayar için veritabanı sunucusunu kullanın (%3).")
                        .arg(QFileInfo(path).absoluteFilePath(), fs, settings::placeOf(settings::Key::ServerAddress)));
}

}  // namespace

SqliteRecordStore::SqliteRecordStore(const QString &path) : store_((refuseNetworkFolder(path), path)) {}

SqliteRecordStore::~SqliteRecordStore() = default;

int SqliteRecordStore::changes() const
{
    return sqlite3_changes(store_.handle());
}

void SqliteRecordStore::readNames(const std::function<void(qint64, QByteArrayView)> &row)
{
    Statement all(store_, QStringLiteral("SELECT rowid, \"%1\" FROM %2 ORDER BY rowid").arg(QLatin1String(kNameField), QLatin1String(kTableName)));
    while (all.step())
        row(all.columnInt(0), all.columnUtf8(1));
}

namespace {
// Below this many keys a second connection and thread cost more than they save.
constexpr qint64 kKeysWorthASecondPart = 20000;

void readNamesBetween(const Store &store, qint64 low, qint64 high, const std::function<void(qint64, QByteArrayView)> &row)
{
    Statement range(store, QStringLiteral("SELECT rowid, \"%1\" FROM %2 WHERE rowid BETWEEN ?1 AND ?2 ORDER BY rowid")
                               .arg(QLatin1String(kNameField), QLatin1String(kTableName)));
    range.bind(1, low);
    range.bind(2, high);
    while (range.step())
        row(range.columnInt(0), range.columnUtf8(1));
}
}  // namespace

// Two halves of the key range on two connections. The first connection's read transaction
// holds the file's shared lock throughout, and nothing can be committed while it is held
// (rollback journal), so the second connection reads the very same records. Should the second
// connection not get its lock at once (a writer is waiting to commit), the first reads alone
// rather than keep that writer waiting.
void SqliteRecordStore::readNamesInParts(int parts, const std::function<void(int, qint64, QByteArrayView)> &row)
{
    const auto first = [&row](qint64 key, QByteArrayView name) { row(0, key, name); };
    if (parts < 2 || !sqlite3_get_autocommit(store_.handle()))
        return readNames(first);
    store_.exec(QStringLiteral("BEGIN"));
    try {
        Statement bounds(store_, QStringLiteral("SELECT min(rowid), max(rowid) FROM %1").arg(QLatin1String(kTableName)));
        bounds.step();  // the shared lock is taken here and held until the end
        const qint64 low = bounds.columnInt(0), high = bounds.columnInt(1);
        std::unique_ptr<Store> second;
        if (high - low >= kKeysWorthASecondPart) {
            try {
                second = std::make_unique<Store>(store_.path(), 0);
                second->exec(QStringLiteral("BEGIN"));
                Statement probe(*second, QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(QLatin1String(kTableName)));
                probe.step();
            } catch (const Error &) {
                second.reset();
            }
        }
        if (!second) {
            readNamesBetween(store_, low, high, first);
        } else {
            const qint64 middle = low + (high - low) / 2;
            std::exception_ptr failed;
            std::thread upper([&] {
                try {
                    readNamesBetween(*second, middle + 1, high, [&row](qint64 key, QByteArrayView name) { row(1, key, name); });
                } catch (...) {
                    failed = std::current_exception();
                }
            });
            try {
                readNamesBetween(store_, low, middle, first);
            } catch (...) {
                upper.join();
                throw;
            }
            upper.join();
            second->rollback();
            if (failed)
                std::rethrow_exception(failed);
        }
        store_.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        store_.rollback();
        throw;
    }
}

void SqliteRecordStore::readRows(const QVector<int> &fields,
                                 const std::function<void(qint64, const QVector<QVariant> &)> &row)
{
    Statement st(store_, QStringLiteral("SELECT rowid%1%2 FROM %3")
                             .arg(fields.isEmpty() ? QString() : QStringLiteral(","), columnsOf(fields), QLatin1String(kTableName)));
    while (st.step())
        row(st.columnInt(0), columns(st, 1, int(fields.size())));
}

namespace {
// Runs `st` (its first `first` columns are not fields) and hands each row's cells over as texts.
void streamTexts(Statement &st, int first, int count, const std::function<void(const CellText *)> &row)
{
    std::vector<CellText> cells(static_cast<size_t>(count));
    std::vector<QByteArray> converted(static_cast<size_t>(count));
    while (st.step()) {
        for (int c = 0; c < count; ++c) {
            if (st.columnIsNull(first + c)) {
                cells[size_t(c)] = {};
            } else if (st.columnIsText(first + c)) {
                cells[size_t(c)] = {false, st.columnUtf8(first + c)};
            } else {  // numbers and blobs: their text, as the dataset shows them
                converted[size_t(c)] = st.column(first + c).toString().toUtf8();
                cells[size_t(c)] = {false, converted[size_t(c)]};
            }
        }
        row(cells.data());
    }
}
}  // namespace

void SqliteRecordStore::readTexts(const QVector<int> &fields, const std::function<void(qint64, const CellText *)> &row)
{
    Statement st(store_, QStringLiteral("SELECT rowid%1%2 FROM %3 ORDER BY rowid")
                             .arg(fields.isEmpty() ? QString() : QStringLiteral(","), columnsOf(fields), QLatin1String(kTableName)));
    streamTexts(st, 1, int(fields.size()), [&](const CellText *cells) { row(st.columnInt(0), cells); });
}

void SqliteRecordStore::readTextsInListOrder(const QVector<int> &fields, const std::function<void(const CellText *)> &row)
{
    // SQLite sorts by the dataset's own sort key (spilling to temporary files as it needs).
    registerNameKey(store_);
    Statement st(store_, QStringLiteral("SELECT %1 FROM %2 %3").arg(columnsOf(fields), QLatin1String(kTableName), listOrderClause()));
    streamTexts(st, 0, int(fields.size()), row);
}

QStringList SqliteRecordStore::integrityProblems()
{
    Statement integrity(store_, QStringLiteral("PRAGMA integrity_check"));
    QStringList problems;
    while (integrity.step())
        if (integrity.columnText(0) != QLatin1String("ok"))
            problems << integrity.columnText(0);
    return problems;
}

QVector<QVariant> SqliteRecordStore::readRecord(qint64 key)
{
    if (!selectRecord_)
        selectRecord_ = std::make_unique<Statement>(
            store_, QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1").arg(columnsOf(allFields()), QLatin1String(kTableName)));
    selectRecord_->reset();
    selectRecord_->bind(1, key);
    QVector<QVariant> values;
    if (selectRecord_->step())
        values = columns(*selectRecord_, 0, kFieldCount);
    selectRecord_->reset();
    return values;
}

QVector<QVariant> SqliteRecordStore::readFields(qint64 key, const QVector<int> &fields)
{
    if (!selectFields_ || selectFieldsFor_ != fields) {
        selectFields_ = std::make_unique<Statement>(
            store_, QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1").arg(columnsOf(fields), QLatin1String(kTableName)));
        selectFieldsFor_ = fields;
    }
    selectFields_->reset();
    selectFields_->bind(1, key);
    QVector<QVariant> values;
    if (selectFields_->step())
        values = columns(*selectFields_, 0, int(fields.size()));
    selectFields_->reset();
    return values;
}

QVector<qint64> SqliteRecordStore::findKeys(int field, const QVariant &value, bool partial, bool caseInsensitive)
{
    const QString col = QStringLiteral("\"%1\"").arg(QLatin1String(kFields[field].name));
    QString cond = partial ? QStringLiteral("substr(%1,1,length(?1))=?1").arg(col) : QStringLiteral("%1=?1").arg(col);
    if (caseInsensitive)
        cond = QStringLiteral("upper(%1)=upper(?1)").arg(col);
    Statement st(store_, QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(QLatin1String(kTableName), cond));
    st.bind(1, value);
    QVector<qint64> keys;
    while (st.step())
        keys << st.columnInt(0);
    return keys;
}

int SqliteRecordStore::updateIfUnchanged(qint64 key, const QVector<QVariant> &read, const QVector<QVariant> &now)
{
    static const QString sql = [] {
        QStringList sets;
        for (int i = 0; i < kFieldCount; ++i)
            sets << QStringLiteral("\"%1\"=?%2").arg(QLatin1String(kFields[i].name)).arg(i + 1);
        return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
            .arg(QLatin1String(kTableName), sets.join(QLatin1Char(',')), unchangedRowCondition(kFieldCount + 1));
    }();
    Statement st(store_, sql);
    for (int i = 0; i < kFieldCount; ++i)
        st.bind(i + 1, toStored(i, now.value(i)));
    st.bind(kFieldCount + 1, key);
    for (int i = 0; i < kFieldCount; ++i)
        st.bind(kFieldCount + 2 + i, read.value(i));
    st.step();
    return changes();
}

int SqliteRecordStore::removeIfUnchanged(qint64 key, const QVector<QVariant> &read)
{
    Statement st(store_, QStringLiteral("DELETE FROM %1 WHERE %2").arg(QLatin1String(kTableName), unchangedRowCondition(1)));
    st.bind(1, key);
    for (int i = 0; i < kFieldCount; ++i)
        st.bind(2 + i, read.value(i));
    st.step();
    return changes();
}

int SqliteRecordStore::removeKeys(const QVector<qint64> &keys)
{
    if (!removeKey_)
        removeKey_ = std::make_unique<Statement>(store_, QStringLiteral("DELETE FROM %1 WHERE rowid=?1").arg(QLatin1String(kTableName)));
    int removed = 0;
    for (qint64 key : keys) {
        removeKey_->reset();
        removeKey_->bind(1, key);
        removeKey_->step();
        removed += changes();
    }
    removeKey_->reset();
    return removed;
}

qint64 SqliteRecordStore::sizeBytes()
{
    return QFileInfo(store_.path()).size();
}

qint64 SqliteRecordStore::snapshotTo(const QString &path)
{
    backupDatabase(store_.path(), path);
    return verifyDatabase(path);
}

// --- Choosing the engine ------------------------------------------------------------

void setServerWaitHandler(std::function<void(qint64 waitedMs)> handler)
{
    PgStore::setWaitHandler(std::move(handler));
}

bool isServerAddress(const QString &address)
{
    return PgStore::isConnectionString(address);
}

std::unique_ptr<RecordStore> openRecordStore(const QString &address)
{
    if (isServerAddress(address))
        return std::make_unique<PgStore>(address);
    return std::make_unique<SqliteRecordStore>(address);
}

qint64 copyAllRecords(RecordStore &from, RecordStore &to)
{
    QVector<QVector<QVariant>> batch;
    qint64 copied = 0;
    to.begin();
    try {
        from.readRows(allFields(), [&](qint64, const QVector<QVariant> &values) {
            batch << values;
            if (batch.size() == 1000) {
                to.insertMany(batch);
                copied += batch.size();
                batch.clear();
            }
        });
        to.insertMany(batch);
        copied += batch.size();
        to.commit();
    } catch (...) {
        to.rollback();
        throw;
    }
    return copied;
}

qint64 backupRecords(const QString &address, const QString &target)
{
    if (isServerAddress(address))
        return PgStore(address).snapshotTo(target);
    backupDatabase(address, target);
    return verifyDatabase(target);
}

void compactServer(const QString &address)
{
    PgStore server(address);
    const qint64 before = server.recordCount();
    server.compact();
    const qint64 after = server.recordCount();
    if (after != before)
        throw Error(QStringLiteral("Sıkıştırmadan sonra sunucuda %1 kayıt var, önce %2 vardı.").arg(after).arg(before));
}

void createRecordStore(const QString &address, bool overwrite)
{
    if (isServerAddress(address)) {
        PgStore(address).createTable(overwrite);
        return;
    }
    refuseNetworkFolder(address);
    Store::create(address, overwrite);
}

}  // namespace records
