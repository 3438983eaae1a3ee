// export-csv DB: every record as UTF-8 CSV (RFC 4180, CR LF) in list order.
// Texts are always quoted (so the empty text is ""), a null is an empty unquoted cell, and
// Tarih is YYYY-MM-DD, or YYYY-MM-DD HH:MM:SS when it has a time of day.
#include <QDateTime>

#include "Command.h"
#include "Dataset.h"
#include "Error.h"
#include "Store.h"

namespace {
const char *kUsage = "export-csv DB";

QString csvCell(int field, const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDateTime)
        return records::toStored(field, value).toString();
    QString text = value.toString();
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

int runExport(const QStringList &arguments)
{
    QStringList args = arguments;
    expectArgs(args, 1, kUsage);
    records::Dataset data;
    data.open(args.at(0));
    QVector<int> fields;
    QStringList header;
    for (int i = 0; i < records::kFieldCount; ++i) {
        fields << i;
        header << QLatin1String(records::kFields[i].name);
    }
    QTextStream &s = out();
    s << header.join(QLatin1Char(',')) << "\r\n";
    for (const QVector<QVariant> &row : data.readColumns(fields)) {
        QStringList cells;
        for (int i = 0; i < records::kFieldCount; ++i)
            cells << csvCell(i, row[i]);
        s << cells.join(QLatin1Char(',')) << "\r\n";
    }
    return 0;
}

const bool registered = registerCommand({"export-csv", kUsage, runExport});
}  // namespace
