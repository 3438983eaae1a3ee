#include "PgStore.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <libpq-fe.h>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "DurableFile.h"
#include "Error.h"
#include "NameOrder.h"
#include "Schema.h"
#include "ServerErrors.h"
#include "Store.h"

namespace records {

namespace {

constexpr const char *kKeyColumn = "kalpiyon_id";

QString quoted(const char *name)
{
    return QStringLiteral("\"%1\"").arg(QLatin1String(name));
}

QString allColumns()
{
    QStringList cols;
    for (const FieldDef &f : kFields)
        cols << quoted(f.name);
    return cols.join(QLatin1Char(','));
}

QString columnsOf(const QVector<int> &fields)
{
    QStringList cols;
    for (int f : fields)
        cols << quoted(kFields[f].name);
    return cols.join(QLatin1Char(','));
}

// A timestamp as the server prints it, in the stored form of the file: the date alone at
// midnight, whole seconds otherwise.
QString storedDate(const QString &server)
{
    QString s = server.left(19);
    if (s.endsWith(QLatin1String(" 00:00:00")))
        s.chop(9);
    return s;
}

// The type name a field list reports for a server column type.
QString typeNameOf(const QString &type)
{
    if (type.contains(QLatin1String("char")) || type == QLatin1String("text"))
        return QStringLiteral("WideString");
    if (type.startsWith(QLatin1String("timestamp")) || type == QLatin1String("date"))
        return QStringLiteral("DateTime");
    if (type.contains(QLatin1String("int")))
        return QStringLiteral("Integer");
    if (type == QLatin1String("real") || type == QLatin1String("double precision"))
        return QStringLiteral("Float");
    if (type == QLatin1String("bytea"))
        return QStringLiteral("Blob");
    return QStringLiteral("BCD");
}

// The comparison of one field with its read value: equal, or both null.
QString unchangedCondition(int firstParam)
{
    QStringList parts;
    for (int i = 0; i < kFieldCount; ++i)
        parts << QStringLiteral("%1 IS NOT DISTINCT FROM $%2").arg(quoted(kFields[i].name)).arg(firstParam + i);
    return parts.join(QLatin1String(" AND "));
}

}  // namespace

struct PgStore::Result {
    std::unique_ptr<PGresult, decltype(&PQclear)> r{nullptr, &PQclear};
    int rows() const { return PQntuples(r.get()); }
    bool isNull(int row, int col) const { return PQgetisnull(r.get(), row, col); }
    QString text(int row, int col) const { return QString::fromUtf8(PQgetvalue(r.get(), row, col)); }
    qint64 integer(int row, int col) const { return QByteArray(PQgetvalue(r.get(), row, col)).toLongLong(); }
    int changed() const { return QByteArray(PQcmdTuples(r.get())).toInt(); }
};

PgStore::PgStore(const QString &connection) : address_(connection)
{
    const QByteArray conninfo = connection.toUtf8();
    refuseUnreadableAddress(conninfo);
    // The caller's own settings win over the timeout given first; the encoding is ours.
    const char *keys[] = {"connect_timeout", "dbname", "client_encoding", "application_name", nullptr};
    const char *values[] = {"5", conninfo.constData(), "UTF8", "Kalpiyon", nullptr};
    conn_ = PQconnectdbParams(keys, values, 1);
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        const Error error = connectError(conn_, conn_ ? serverName() : addressForDisplay(address_), address_);
        PQfinish(conn_);
        conn_ = nullptr;
        throw error;
    }
    PQsetNoticeProcessor(conn_, [](void *, const char *) {}, nullptr);
    // A desk that holds a lock makes others wait as long as a busy file would, not forever.
    run(QStringLiteral("SET lock_timeout = '5s'"));
}

PgStore::~PgStore()
{
    PQfinish(conn_);
}

bool PgStore::isConnectionString(const QString &text)
{
    // A file name may hold "=": a key=value string must name one of libpq's usual keys.
    static const QRegularExpression keyValue(QStringLiteral("(^|\\s)(host|hostaddr|port|dbname|user|service|sslmode)\\s*="));
    return text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://")) ||
           keyValue.match(text).hasMatch();
}

QString PgStore::serverName() const
{
    const QString host = QString::fromUtf8(PQhost(conn_));
    const QString port = QString::fromUtf8(PQport(conn_));
    const QString db = QString::fromUtf8(PQdb(conn_));
    return QStringLiteral("%1:%2/%3").arg(host.isEmpty() ? QStringLiteral("localhost") : host, port, db);
}

// libpq reads an address while it connects and then names no server ("localhost:/"), quoting
// the part it could not read, the password perhaps: such an address is refused before.
void PgStore::refuseUnreadableAddress(const QByteArray &conninfo) const
{
    char *why = nullptr;
    if (PQconninfoOption *options = PQconninfoParse(conninfo.constData(), &why)) {
        PQconninfoFree(options);
        return;
    }
    const QString message = why ? QString::fromUtf8(why) : QStringLiteral("out of memory");
    PQfreemem(why);
    throw addressError(message, address_);
}

void PgStore::fail(const PGresult *result) const
{
    throw statementError(conn_, result, serverName(), address_);
}

PgStore::Result PgStore::run(const QString &sql, const QVector<QVariant> &params)
{
    // A connection lost meanwhile (the server restarted) is tried again once, outside a
    // transaction: inside one the server has already dropped the work.
    if (PQstatus(conn_) != CONNECTION_OK && !inTransaction_)
        PQreset(conn_);
    QVector<QByteArray> texts(params.size());
    QVector<const char *> pointers(params.size());
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].isNull())
            continue;
        texts[i] = params[i].toString().toUtf8();
        pointers[i] = texts[i].constData();
    }
    Result res;
    res.r.reset(PQexecParams(conn_, sql.toUtf8().constData(), int(params.size()), nullptr, pointers.constData(),
                             nullptr, nullptr, 0));
    const ExecStatusType status = res.r ? PQresultStatus(res.r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(res.r.get());
    return res;
}

void PgStore::createTable(bool replace)
{
    if (hasTable()) {
        if (!replace)
            throw Error(QStringLiteral("Sunucuda '%1' tablosu zaten var; üzerine yazmak için --force verin.")
                            .arg(QLatin1String(kTableName)));
        run(QStringLiteral("DROP TABLE %1").arg(QLatin1String(kTableName)));
    }
    QStringList cols{QStringLiteral("%1 bigserial PRIMARY KEY").arg(QLatin1String(kKeyColumn))};
    for (const FieldDef &f : kFields)
        cols << QStringLiteral("%1 %2").arg(quoted(f.name), f.type == FieldType::DateTime
                                                                 ? QStringLiteral("timestamp")
                                                                 : QStringLiteral("varchar(%1)").arg(f.size));
    run(QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(kTableName), cols.join(QLatin1Char(','))));
}

bool PgStore::hasTable()
{
    const Result r = run(QStringLiteral("SELECT to_regclass($1) IS NOT NULL"), {QString::fromLatin1(kTableName)});
    return r.text(0, 0) == QLatin1String("t");
}

void PgStore::checkSchema()
{
    const Result r = run(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                        "WHERE table_schema = current_schema() AND table_name = $1"),
                         {QString::fromLatin1(kTableName)});
    QHash<QString, QString> declared;  // exact name -> type (the server's names are case-sensitive)
    for (int i = 0; i < r.rows(); ++i)
        declared.insert(r.text(i, 0), r.text(i, 1));
    if (declared.isEmpty())
        throw Error(QStringLiteral("Cannot find the input table or query '%1'. Make sure it exists and that its name is spelled correctly.")
                        .arg(QLatin1String(kTableName)));
    for (const FieldDef &f : kFields) {
        const auto it = declared.constFind(QLatin1String(f.name));
        if (it == declared.constEnd())
            throw Error(QStringLiteral("Field '%1' not found").arg(QLatin1String(f.name)));
        const QString expected = f.type == FieldType::DateTime ? QStringLiteral("DateTime") : QStringLiteral("WideString");
        const QString actual = typeNameOf(*it);
        if (actual != expected)
            throw Error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                            .arg(QLatin1String(f.name), expected, actual));
    }
    if (!declared.contains(QLatin1String(kKeyColumn)))
        throw Error(QStringLiteral("Sunucudaki '%1' tablosunda anahtar sütunu '%2' yok.")
                        .arg(QLatin1String(kTableName), QLatin1String(kKeyColumn)));
}

namespace {
// One stored value of a result cell: null, a text, or a date in the file's stored form.
QVariant cellValue(const PGresult *r, int row, int col, int field)
{
    if (PQgetisnull(r, row, col))
        return QVariant();
    const QString text = QString::fromUtf8(PQgetvalue(r, row, col));
    return kFields[field].type == FieldType::DateTime ? QVariant(storedDate(text)) : QVariant(text);
}
}  // namespace

void PgStore::readNames(const std::function<void(qint64, QByteArrayView)> &row)
{
    const int name = fieldIndex(QLatin1String(kNameField));
    stream(QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1").arg(QLatin1String(kKeyColumn), quoted(kFields[name].name), QLatin1String(kTableName)),
           [&](const PGresult *r) {
               row(QByteArray(PQgetvalue(r, 0, 0)).toLongLong(), QByteArrayView(PQgetvalue(r, 0, 1), PQgetlength(r, 0, 1)));
           });
}

void PgStore::readRows(const QVector<int> &fields,
                       const std::function<void(qint64, const QVector<QVariant> &)> &row)
{
    QVector<QVariant> values(fields.size());
    stream(QStringLiteral("SELECT %1%2%3 FROM %4 ORDER BY %1")
               .arg(QLatin1String(kKeyColumn), fields.isEmpty() ? QString() : QStringLiteral(","), columnsOf(fields),
                    QLatin1String(kTableName)),
           [&](const PGresult *r) {
               for (int i = 0; i < fields.size(); ++i)
                   values[i] = cellValue(r, 0, i + 1, fields[i]);
               row(QByteArray(PQgetvalue(r, 0, 0)).toLongLong(), values);
           });
}

void PgStore::stream(const QString &sql, const std::function<void(const PGresult *)> &row)
{
    if (PQstatus(conn_) != CONNECTION_OK && !inTransaction_)
        PQreset(conn_);
    // Row by row, so a large table never sits in memory at once.
    if (!PQsendQuery(conn_, sql.toUtf8().constData()) || !PQsetSingleRowMode(conn_))
        fail();
    std::optional<Error> error;
    while (PGresult *r = PQgetResult(conn_)) {
        std::unique_ptr<PGresult, decltype(&PQclear)> guard(r, &PQclear);
        const ExecStatusType status = PQresultStatus(r);
        if (status == PGRES_SINGLE_TUPLE && !error) {
            try {
                row(r);
            } catch (const Error &e) {
                error = e;  // drain the rest before the connection can be used again
            }
        } else if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK && !error) {
            error = statementError(conn_, r, serverName(), address_);
        }
    }
    if (error)
        throw *error;
}

namespace {
// The cells of `fields` in row `row` of `r`, from column `first` on; dates in their stored form
// (kept in `dates`).
void fillCells(const PGresult *r, int row, int first, const QVector<int> &fields, std::vector<CellText> &cells,
               std::vector<QByteArray> &dates)
{
    for (int c = 0; c < fields.size(); ++c) {
        if (PQgetisnull(r, row, first + c)) {
            cells[size_t(c)] = {};
            continue;
        }
        QByteArrayView text(PQgetvalue(r, row, first + c), PQgetlength(r, row, first + c));
        if (kFields[fields[c]].type == FieldType::DateTime) {
            dates[size_t(c)] = storedDate(QString::fromUtf8(text)).toUtf8();
            text = dates[size_t(c)];
        }
        cells[size_t(c)] = {false, text};
    }
}
}  // namespace

void PgStore::readTexts(const QVector<int> &fields, const std::function<void(qint64, const CellText *)> &row)
{
    std::vector<CellText> cells(size_t(fields.size()));
    std::vector<QByteArray> dates(size_t(fields.size()));
    stream(QStringLiteral("SELECT %1%2%3 FROM %4 ORDER BY %1")
               .arg(QLatin1String(kKeyColumn), fields.isEmpty() ? QString() : QStringLiteral(","), columnsOf(fields),
                    QLatin1String(kTableName)),
           [&](const PGresult *r) {
               fillCells(r, 0, 1, fields, cells, dates);
               row(QByteArray(PQgetvalue(r, 0, 0)).toLongLong(), cells.data());
           });
}

std::vector<qint64> PgStore::keysInListOrder()
{
    struct Entry {
        qint64 key;
        quint32 at, size;  // the sort key's place in `sortKeys`
    };
    const NameCollator collator;
    std::vector<Entry> entries;
    QByteArray sortKeys;
    readNames([&](qint64 key, QByteArrayView name) {
        const auto at = quint32(sortKeys.size());
        entries.push_back({key, at, quint32(collator.appendSortKey(QString::fromUtf8(name), sortKeys))});
    });
    const auto keyOf = [&sortKeys](const Entry &e) { return QByteArrayView(sortKeys.constData() + e.at, e.size); };
    std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        const int c = compareSortKeys(keyOf(a), keyOf(b));
        return c ? c < 0 : a.key < b.key;
    });
    std::vector<qint64> keys;
    keys.reserve(entries.size());
    for (const Entry &e : entries)
        keys.push_back(e.key);
    return keys;
}

// The server knows no sort key of the program's: the keys are put in list order here, then the
// rows are fetched in that order a batch at a time, all in one snapshot. Only the keys and their
// sort keys are held, never the rows.
void PgStore::readTextsInListOrder(const QVector<int> &fields, const std::function<void(const CellText *)> &row)
{
    constexpr size_t kBatch = 1000;
    const bool own = !inTransaction_;
    if (own) {
        run(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
        inTransaction_ = true;
    }
    try {
        const std::vector<qint64> keys = keysInListOrder();
        const QString sql = QStringLiteral("SELECT %1,%2 FROM %3 WHERE %1 = ANY($1::bigint[])")
                                .arg(QLatin1String(kKeyColumn), columnsOf(fields), QLatin1String(kTableName));
        std::vector<CellText> cells(size_t(fields.size()));
        std::vector<QByteArray> dates(size_t(fields.size()));
        for (size_t from = 0; from < keys.size(); from += kBatch) {
            const size_t to = std::min(keys.size(), from + kBatch);
            QByteArray list = "{";
            for (size_t i = from; i < to; ++i)
                list += (i > from ? "," : "") + QByteArray::number(keys[i]);
            const Result r = run(sql, {QString::fromLatin1(list + '}')});
            QHash<qint64, int> rowOf;
            for (int i = 0; i < r.rows(); ++i)
                rowOf.insert(r.integer(i, 0), i);
            for (size_t i = from; i < to; ++i) {
                const auto at = rowOf.constFind(keys[i]);
                if (at == rowOf.constEnd())
                    throw Error(QStringLiteral("Sunucudaki kayıt %1 okunurken kayboldu.").arg(keys[i]));
                fillCells(r.r.get(), *at, 1, fields, cells, dates);
                row(cells.data());
            }
        }
        if (own) {
            run(QStringLiteral("COMMIT"));
            inTransaction_ = false;
        }
    } catch (...) {
        if (own)
            rollback();
        throw;
    }
}

QVector<QVariant> PgStore::readRecord(qint64 key)
{
    const Result r = run(QStringLiteral("SELECT %1 FROM %2 WHERE %3=$1")
                             .arg(allColumns(), QLatin1String(kTableName), QLatin1String(kKeyColumn)),
                         {key});
    if (r.rows() == 0)
        return {};
    QVector<QVariant> values(kFieldCount);
    for (int i = 0; i < kFieldCount; ++i)
        values[i] = cellValue(r.r.get(), 0, i, i);
    return values;
}

QVector<QVariant> PgStore::readFields(qint64 key, const QVector<int> &fields)
{
    const Result r = run(QStringLiteral("SELECT %1 FROM %2 WHERE %3=$1")
                             .arg(columnsOf(fields), QLatin1String(kTableName), QLatin1String(kKeyColumn)),
                         {key});
    if (r.rows() == 0)
        return {};
    QVector<QVariant> values(fields.size());
    for (int i = 0; i < fields.size(); ++i)
        values[i] = cellValue(r.r.get(), 0, i, fields[i]);
    return values;
}

QVector<qint64> PgStore::findKeys(int field, const QVariant &value, bool partial, bool caseInsensitive)
{
    const QString col = quoted(kFields[field].name);
    QString cond = partial ? QStringLiteral("left(%1::text, length($1)) = $1").arg(col) : QStringLiteral("%1 = $1").arg(col);
    if (caseInsensitive)
        cond = QStringLiteral("upper(%1::text) = upper($1)").arg(col);
    const Result r = run(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1")
                             .arg(QLatin1String(kKeyColumn), QLatin1String(kTableName), cond),
                         {value});
    QVector<qint64> keys;
    for (int i = 0; i < r.rows(); ++i)
        keys << r.integer(i, 0);
    return keys;
}

qint64 PgStore::insert(const QVector<QVariant> &stored)
{
    QStringList marks;
    for (int i = 1; i <= kFieldCount; ++i)
        marks << QStringLiteral("$%1").arg(i);
    static const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                                   .arg(QLatin1String(kTableName), allColumns(), marks.join(QLatin1Char(',')),
                                        QLatin1String(kKeyColumn));
    QVector<QVariant> params(kFieldCount);
    for (int i = 0; i < kFieldCount; ++i)
        params[i] = toStored(i, stored.value(i));
    return run(sql, params).integer(0, 0);
}

void PgStore::insertMany(const QVector<QVector<QVariant>> &rows)
{
    // One statement of many rows: a round trip per row would dominate a copy.
    constexpr int kRowsPerStatement = 500;  // 61 parameters each, well under the server's limit
    for (int first = 0; first < rows.size(); first += kRowsPerStatement) {
        const int n = std::min(kRowsPerStatement, int(rows.size()) - first);
        QStringList tuples;
        QVector<QVariant> params;
        params.reserve(n * kFieldCount);
        for (int r = 0; r < n; ++r) {
            QStringList marks;
            for (int i = 0; i < kFieldCount; ++i) {
                params << toStored(i, rows[first + r].value(i));
                marks << QStringLiteral("$%1").arg(params.size());
            }
            tuples << QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
        }
        run(QStringLiteral("INSERT INTO %1 (%2) VALUES %3").arg(QLatin1String(kTableName), allColumns(), tuples.join(QLatin1Char(','))),
            params);
    }
}

int PgStore::updateIfUnchanged(qint64 key, const QVector<QVariant> &read, const QVector<QVariant> &now)
{
    QStringList sets;
    for (int i = 0; i < kFieldCount; ++i)
        sets << QStringLiteral("%1=$%2").arg(quoted(kFields[i].name)).arg(i + 1);
    static const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3=$%4 AND %5")
                                   .arg(QLatin1String(kTableName), sets.join(QLatin1Char(',')),
                                        QLatin1String(kKeyColumn))
                                   .arg(kFieldCount + 1)
                                   .arg(unchangedCondition(kFieldCount + 2));
    QVector<QVariant> params;
    params.reserve(2 * kFieldCount + 1);
    for (int i = 0; i < kFieldCount; ++i)
        params << toStored(i, now.value(i));
    params << key;
    for (int i = 0; i < kFieldCount; ++i)
        params << toStored(i, read.value(i));
    return run(sql, params).changed();
}

int PgStore::removeIfUnchanged(qint64 key, const QVector<QVariant> &read)
{
    static const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2=$1 AND %3")
                                   .arg(QLatin1String(kTableName), QLatin1String(kKeyColumn), unchangedCondition(2));
    QVector<QVariant> params{key};
    for (int i = 0; i < kFieldCount; ++i)
        params << toStored(i, read.value(i));
    return run(sql, params).changed();
}

int PgStore::removeKeys(const QVector<qint64> &keys)
{
    QStringList list;
    for (qint64 k : keys)
        list << QString::number(k);
    return run(QStringLiteral("DELETE FROM %1 WHERE %2 = ANY($1::bigint[])").arg(QLatin1String(kTableName), QLatin1String(kKeyColumn)),
               {QStringLiteral("{%1}").arg(list.join(QLatin1Char(',')))})
        .changed();
}

qint64 PgStore::recordCount()
{
    return run(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(kTableName))).integer(0, 0);
}

qint64 PgStore::sizeBytes()
{
    return run(QStringLiteral("SELECT pg_total_relation_size($1)"), {QString::fromLatin1(kTableName)}).integer(0, 0);
}

void PgStore::compact()
{
    run(QStringLiteral("VACUUM FULL %1").arg(QLatin1String(kTableName)));
    run(QStringLiteral("ANALYZE %1").arg(QLatin1String(kTableName)));
}

qint64 PgStore::snapshotTo(const QString &sqlitePath)
{
    const QString temp = sqlitePath + QStringLiteral(".yeni");
    QFile::remove(temp);
    Store::create(temp);
    qint64 written = 0;
    try {
        Store file(temp);
        run(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
        inTransaction_ = true;
        file.begin();
        readRows(allFields(), [&](qint64, const QVector<QVariant> &values) {
            file.insert(values);
            ++written;
        });
        const qint64 counted = recordCount();
        run(QStringLiteral("COMMIT"));
        inTransaction_ = false;
        file.commit();
        if (file.recordCount() != counted || written != counted)
            throw Error(QStringLiteral("Yedekteki kayıt sayısı (%1) sunucudakiyle (%2) aynı değil.").arg(written).arg(counted));
    } catch (...) {
        rollback();
        QFile::remove(temp);
        throw;
    }
    QString why;
    if (!durable::rename(temp, sqlitePath, &why)) {
        QFile::remove(temp);
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(sqlitePath, why));
    }
    return written;
}

void PgStore::begin()
{
    run(QStringLiteral("BEGIN"));
    inTransaction_ = true;
}

void PgStore::commit()
{
    inTransaction_ = false;
    run(QStringLiteral("COMMIT"));
}

void PgStore::rollback() noexcept
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    if (PQstatus(conn_) == CONNECTION_OK)
        PQclear(PQexec(conn_, "ROLLBACK"));
}

}  // namespace records
