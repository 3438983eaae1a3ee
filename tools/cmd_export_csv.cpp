// export-csv DB: every record as UTF-8 CSV (RFC 4180, CR LF) in list order.
// Texts are always quoted (so the empty text is ""), a null is an empty unquoted cell, and
// Tarih is YYYY-MM-DD, or YYYY-MM-DD HH:MM:SS when it has a time of day.
//
// Streams: SQLite sorts the rows into list order (spilling to temporary files as it needs),
// and each row is written as it is read, so memory stays the same whatever the table's size.
#include <QDateTime>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

#include "Command.h"
#include "Dataset.h"
#include "Error.h"
#include "NameOrder.h"
#include "RecordStore.h"
#include "Store.h"

namespace {
const char *kUsage = "export-csv DB";

// A cell from the value as the dataset shows it (dates read and written back in their form).
void appendCell(QByteArray &line, int field, const QVariant &value)
{
    if (value.isNull())
        return;
    if (value.typeId() == QMetaType::QDateTime) {
        line += records::toStored(field, value).toString().toUtf8();
        return;
    }
    line += '"';
    line += value.toString().toUtf8().replace('"', "\"\"");
    line += '"';
}

// A raw stored value as the store reads it (Statement::column).
QVariant rawValue(sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(v));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_value_blob(v)), sqlite3_value_bytes(v)));
    default:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
    }
}

// Stored text of a text field is already the UTF-8 the cell needs; everything else goes
// through the dataset's reading of values. (One locked call per cell: the value's own
// accessors take no lock.)
void appendStoredCell(QByteArray &line, sqlite3_stmt *st, int field)
{
    sqlite3_value *v = sqlite3_column_value(st, field);
    if (sqlite3_value_type(v) != SQLITE_TEXT || records::kFields[field].type != records::FieldType::Text) {
        appendCell(line, field, records::fromStored(field, rawValue(v)));
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    const qsizetype size = sqlite3_value_bytes(v);
    line += '"';
    for (const char *p = text, *end = text + size; p < end;) {
        const auto *quote = static_cast<const char *>(std::memchr(p, '"', size_t(end - p)));
        if (!quote) {
            line.append(p, end - p);
            break;
        }
        line.append(p, quote + 1 - p);
        line += '"';
        p = quote + 1;
    }
    line += '"';
}

void write(const QByteArray &bytes)
{
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
        throw Error(QStringLiteral("Standart çıktıya yazılamadı."));
}

QByteArray headerLine()
{
    QStringList header;
    for (const records::FieldDef &f : records::kFields)
        header << QLatin1String(f.name);
    return header.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

// A server cannot sort by the program's Turkish sort key: the dataset puts the rows in list
// order, then they are written from its compact column store.
int exportThroughDataset(const QString &address)
{
    records::Dataset data;
    data.open(address);
    QVector<int> all(records::kFieldCount);
    for (int i = 0; i < records::kFieldCount; ++i)
        all[i] = i;
    const records::ColumnValues rows = data.readColumns(all);
    out().flush();
    write(headerLine());
    QByteArray line;
    for (int r = 0; r < rows.rowCount(); ++r) {
        line.clear();
        for (int i = 0; i < records::kFieldCount; ++i) {
            if (i)
                line += ',';
            appendCell(line, i, rows.value(r, i));
        }
        line += "\r\n";
        write(line);
    }
    if (std::fflush(stdout) != 0)
        throw Error(QStringLiteral("Standart çıktıya yazılamadı."));
    return 0;
}

int runExport(const QStringList &arguments)
{
    QStringList args = arguments;
    expectArgs(args, 1, kUsage);
    if (records::isServerAddress(args.at(0)))
        return exportThroughDataset(args.at(0));
    const std::unique_ptr<records::Store> store = records::Dataset::openStore(args.at(0));
    records::registerNameKey(*store);
    QStringList columns;
    for (const records::FieldDef &f : records::kFields)
        columns << QStringLiteral("\"%1\"").arg(QLatin1String(f.name));
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 %3")
                               .arg(columns.join(QLatin1Char(',')), QLatin1String(records::kTableName), records::listOrderClause())
                               .toUtf8();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(store->handle(), sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        store->fail();
    out().flush();
    QByteArray line = headerLine();
    int rc;
    try {
        write(line);
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            line.clear();
            for (int i = 0; i < records::kFieldCount; ++i) {
                if (i)
                    line += ',';
                appendStoredCell(line, st, i);
            }
            line += "\r\n";
            write(line);
        }
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        store->fail();
    if (std::fflush(stdout) != 0)
        throw Error(QStringLiteral("Standart çıktıya yazılamadı."));
    return 0;
}

const bool registered = registerCommand({"export-csv", kUsage, runExport});
}  // namespace
