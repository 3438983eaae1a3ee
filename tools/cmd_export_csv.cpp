// export-csv DB: every record as UTF-8 CSV (RFC 4180, CR LF) in list order.
// Texts are always quoted (so the empty text is ""), a null is an empty unquoted cell, and
// Tarih is YYYY-MM-DD, or YYYY-MM-DD HH:MM:SS when it has a time of day.
//
// Streams: each row is written as it is read, in the list order the store gives (the file's
// engine sorts the rows itself; a server's store holds only the keys to put them in order), so
// the rows never sit in memory whatever the table's size.
#include <QDateTime>
#include <cstdio>
#include <cstring>

#include "Command.h"
#include "Dataset.h"
#include "Error.h"
#include "RecordStore.h"
#include "StoredForm.h"

namespace {
const char *kUsage = "export-csv DB";

void appendQuoted(QByteArray &line, QByteArrayView text)
{
    line += '"';
    for (const char *p = text.data(), *end = text.data() + text.size(); p < end;) {
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

// A cell from the value as the dataset shows it (dates read and written back in their form).
void appendCell(QByteArray &line, int field, const QVariant &value)
{
    if (value.isNull())
        return;
    if (value.typeId() == QMetaType::QDateTime) {
        line += records::toStored(field, value).toString().toUtf8();
        return;
    }
    appendQuoted(line, value.toString().toUtf8());
}

// A stored text of a text field is already the UTF-8 the cell needs; a date goes through the
// dataset's reading of values.
void appendStoredCell(QByteArray &line, int field, const records::CellText &cell)
{
    if (cell.null)
        return;
    if (records::kFields[field].type != records::FieldType::Text) {
        appendCell(line, field, records::fromStored(field, QString::fromUtf8(cell.utf8)));
        return;
    }
    appendQuoted(line, cell.utf8);
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

int runExport(const QCommandLineParser &commandLine)
{
    const QStringList args = commandLine.positionalArguments();
    const auto store = records::Dataset::openRecords(args.at(0));
    out().flush();
    write(headerLine());
    QByteArray line;
    store->readTextsInListOrder(records::allFields(), [&](const records::CellText *cells) {
        line.clear();
        for (int i = 0; i < records::kFieldCount; ++i) {
            if (i)
                line += ',';
            appendStoredCell(line, i, cells[i]);
        }
        line += "\r\n";
        write(line);
    });
    if (std::fflush(stdout) != 0)
        throw Error(QStringLiteral("Standart çıktıya yazılamadı."));
    return 0;
}

const bool registered = registerCommand({"export-csv", kUsage, runExport});
}  // namespace
