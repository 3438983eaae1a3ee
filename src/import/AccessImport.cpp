#include "AccessImport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVector>
#include <memory>
#include <vector>

#include <glib.h>
#include <mdbtools.h>

#include "DurableFile.h"
#include "Error.h"
#include "RecordStore.h"
#include "Schema.h"
#include "StoredForm.h"

namespace import {

namespace {

using records::FieldType;
using records::kFields;

struct MdbDeleter {
    void operator()(MdbHandle *h) const { mdb_close(h); }
    void operator()(MdbTableDef *t) const { mdb_free_tabledef(t); }
};

QString typeName(int mdbType)
{
    switch (mdbType) {
    case MDB_TEXT: return QStringLiteral("WideString");
    case MDB_MEMO: return QStringLiteral("WideMemo");
    case MDB_DATETIME: return QStringLiteral("DateTime");
    case MDB_INT: return QStringLiteral("SmallInt");
    case MDB_LONGINT: return QStringLiteral("Integer");
    case MDB_BOOL: return QStringLiteral("Boolean");
    case MDB_DOUBLE: return QStringLiteral("Float");
    case MDB_FLOAT: return QStringLiteral("Single");
    case MDB_MONEY: return QStringLiteral("Currency");
    case MDB_NUMERIC: return QStringLiteral("BCD");
    default: return QStringLiteral("Blob");
    }
}

bool typeFits(const records::FieldDef &f, int mdbType)
{
    return f.type == FieldType::DateTime ? mdbType == MDB_DATETIME : (mdbType == MDB_TEXT || mdbType == MDB_MEMO);
}

// Jet pages are 2048 (Jet 3) or 4096 bytes; a file that is not whole pages is damaged, and
// the reader library must never see one.
void checkFile(const QString &path)
{
    QFile f(path);
    if (f.exists() && !QFileInfo(path).isFile())  // a FIFO or a device would block the open
        throw Error(QStringLiteral("'%1' bir Access veritabanı değil: sıradan bir dosya değil.").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("'%1' açılamadı: %2").arg(path, f.exists() ? f.errorString() : QStringLiteral("dosya yok")));
    if (!records::isAccessDatabase(path))
        throw Error(QStringLiteral("'%1' bir Access veritabanı değil.").arg(path));
    f.seek(0x14);
    const QByteArray version = f.read(1);
    const qint64 page = version.isEmpty() || version.at(0) == 0 ? 2048 : 4096;
    if (f.size() < 3 * page || f.size() % page != 0)
        throw Error(QStringLiteral("'%1' eksik ya da bozuk (%2 bayt).").arg(path).arg(f.size()));
}

struct Column {
    int source = -1;  // index in the Access table
    std::vector<char> buffer;
    int length = 0;
};

QVariant valueOf(const records::FieldDef &f, const Column &c, bool isNull)
{
    if (isNull)
        return QVariant();
    const QString text = QString::fromUtf8(c.buffer.data(), c.length);
    if (f.type == FieldType::Text)
        return text;
    const QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        throw Error(QStringLiteral("Okunamayan tarih: '%1'").arg(text));
    return QDateTime(dt.date(), dt.time(), Qt::UTC);
}

// The table `veriler` of an open Access database, its 61 fields matched by name and bound.
struct AccessTable {
    std::unique_ptr<MdbHandle, MdbDeleter> mdb;
    std::unique_ptr<MdbTableDef, MdbDeleter> table;
    std::vector<Column> columns;
    QStringList leftBehind;
};

void openTable(const QString &accessPath, AccessTable &t)
{
    checkFile(accessPath);
    t.mdb.reset(mdb_open(QFile::encodeName(accessPath).constData(), MDB_NOFLAGS));
    MdbHandle *mdb = t.mdb.get();
    if (!mdb || !mdb->f || (mdb->f->jet_version != MDB_VER_JET3 && mdb->f->jet_version != MDB_VER_JET4))
        throw Error(QStringLiteral("'%1' bir Access veritabanı değil.").arg(accessPath));
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_bind_size(mdb, 65536);
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw Error(QStringLiteral("'%1' okunamadı: katalog bozuk.").arg(accessPath));
    MdbCatalogEntry *entry = mdb_get_catalogentry_by_name(mdb, "veriler");
    if (!entry || entry->object_type != MDB_TABLE)
        throw Error(QStringLiteral("'%1' içinde 'veriler' tablosu yok.").arg(accessPath));
    t.table.reset(mdb_read_table(entry));
    if (!t.table || !mdb_read_columns(t.table.get()))
        throw Error(QStringLiteral("'%1' içindeki 'veriler' tablosu okunamadı.").arg(accessPath));

    // Match the 61 fields by name; everything else stays behind.
    MdbTableDef *table = t.table.get();
    t.columns.assign(records::kFieldCount, Column());
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        const QString name = QString::fromUtf8(col->name);
        const int field = records::fieldIndexCaseInsensitive(name);
        if (field < 0) {
            t.leftBehind << name;
            continue;
        }
        if (!typeFits(kFields[field], col->col_type))
            throw Error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                            .arg(QLatin1String(kFields[field].name),
                                 kFields[field].type == FieldType::DateTime ? QStringLiteral("DateTime") : QStringLiteral("WideString"),
                                 typeName(col->col_type)));
        t.columns[field].source = int(i);
    }
    for (int f = 0; f < records::kFieldCount; ++f)
        if (t.columns[f].source < 0)
            throw Error(QStringLiteral("Field '%1' not found").arg(QLatin1String(kFields[f].name)));
    for (Column &c : t.columns) {
        c.buffer.assign(65536 + 1, 0);
        mdb_bind_column(table, c.source + 1, c.buffer.data(), &c.length);
    }
}

// Appends every row of the table to `store` in one transaction; returns how many.
int copyRows(const QString &accessPath, AccessTable &t, records::RecordStore &store)
{
    MdbTableDef *table = t.table.get();
    int rows = 0;
    store.begin();
    try {
        std::vector<MdbField> fields(table->num_cols + 8);
        mdb_rewind_table(table);
        while (mdb_fetch_row(table)) {
            // The bound texts cannot tell a null from an empty text; the row's own null
            // flags can.
            int start = 0;
            size_t size = 0;
            std::vector<bool> isNull(table->num_cols, false);
            if (mdb_find_row(t.mdb.get(), int(table->cur_row) - 1, &start, &size) == 0) {
                const int n = mdb_crack_row(table, start, size, fields.data());
                for (int k = 0; k < n && k < int(fields.size()); ++k)
                    if (fields[k].colnum >= 0 && fields[k].colnum < int(table->num_cols))
                        isNull[fields[k].colnum] = fields[k].is_null;
            }
            QVector<QVariant> values(records::kFieldCount);
            for (int f = 0; f < records::kFieldCount; ++f) {
                Column &c = t.columns[f];
                c.length = std::min<int>(c.length, int(c.buffer.size()) - 1);
                values[f] = records::toStored(f, valueOf(kFields[f], c, isNull[c.source]));
            }
            store.insert(values);
            ++rows;
        }
        // A damaged or cut file ends the row scan early without an error of its own; the
        // table definition says how many rows there must be.
        if (rows != int(table->num_rows))
            throw Error(QStringLiteral("'%1' eksik ya da bozuk: 'veriler' tablosunun %2 kaydından yalnızca %3 tanesi okunabildi.")
                            .arg(accessPath).arg(table->num_rows).arg(rows));
        store.commit();
    } catch (...) {
        store.rollback();
        throw;
    }
    return rows;
}

// Every row into a new database file at `path`, which is removed again on any failure.
int importIntoNewFile(const QString &accessPath, AccessTable &t, const QString &path)
{
    QFile::remove(path);
    try {
        records::createRecordStore(path);
        return copyRows(accessPath, t, *records::openRecordStore(path));
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

// Into a file: built under a temporary name beside the target, then synced and renamed over
// any earlier file in one step, and the folder synced.
int importIntoFile(const QString &accessPath, AccessTable &t, const QString &targetPath)
{
    const QString temp = targetPath + QStringLiteral(".aktariliyor");
    const int rows = importIntoNewFile(accessPath, t, temp);
    QString why;
    if (!durable::commitFile(temp, targetPath, &why)) {
        QFile::remove(temp);
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(targetPath, why));
    }
    return rows;
}

// Onto a server: every row is read into a private temporary file first, so that a source that
// cannot be read whole leaves the server untouched; then the table is created and filled in
// one transaction.
int importIntoServer(const QString &accessPath, AccessTable &t, const QString &address, bool overwrite)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        throw Error(QStringLiteral("Geçici klasör oluşturulamadı: %1").arg(dir.errorString()));
    const QString temp = dir.filePath(QStringLiteral("Data.mdb"));
    importIntoNewFile(accessPath, t, temp);
    records::createRecordStore(address, overwrite);
    return int(records::copyAllRecords(*records::openRecordStore(temp), *records::openRecordStore(address)));
}

}  // namespace

ImportResult importAccess(const QString &accessPath, const QString &target, bool overwrite)
{
    // A server refuses an existing table itself, once the source has been read whole.
    const bool server = records::isServerAddress(target);
    if (!server && !overwrite && QFileInfo::exists(target))
        throw Error(QStringLiteral("'%1' zaten var; üzerine yazmak için --force verin.").arg(target));
    AccessTable table;
    openTable(accessPath, table);
    ImportResult result;
    result.leftBehind = table.leftBehind;
    result.rows = server ? importIntoServer(accessPath, table, target, overwrite) : importIntoFile(accessPath, table, target);
    return result;
}

QString convertAccessInPlace(const QString &folder)
{
    const QDir dir(folder);
    const QString data = dir.filePath(QStringLiteral("Data.mdb"));
    QString keptName = QStringLiteral("Data.access.mdb");
    for (int n = 2; QFileInfo::exists(dir.filePath(keptName)); ++n)
        keptName = QStringLiteral("Data.access-%1.mdb").arg(n);
    const QString converted = dir.filePath(QStringLiteral("Data.donusturulen.mdb"));
    importAccess(data, converted, true);  // throws before anything is moved
    // The original keeps its bytes under the new name (a rename copies nothing), then the
    // converted database takes its place.
    if (!durable::rename(data, dir.filePath(keptName))) {
        QFile::remove(converted);
        throw Error(QStringLiteral("'%1' yeniden adlandırılamadı.").arg(data));
    }
    if (!durable::rename(converted, data)) {
        durable::rename(dir.filePath(keptName), data);
        QFile::remove(converted);
        throw Error(QStringLiteral("Dönüştürülen veritabanı '%1' adını alamadı.").arg(data));
    }
    return keptName;
}

}  // namespace import
