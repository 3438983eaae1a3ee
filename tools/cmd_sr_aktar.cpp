// sr-aktar FILE DB: appends the record an echo SR fills to an existing database (a file or a
// server).
#include <QDateTime>

#include "Command.h"
#include "RecordStore.h"
#include "Schema.h"
#include "ServerErrors.h"
#include "SrReader.h"

namespace {
const char *kUsage = "sr-aktar FILE DB";

int runSrAktar(const QCommandLineParser &line)
{
    const QStringList arguments = line.positionalArguments();
    const dicom::SrReport report = dicom::readSrFile(arguments.at(0));
    QVector<QVariant> values(records::kFieldCount);
    for (const dicom::FieldValue &v : report.values) {
        const int field = records::fieldIndex(v.field);
        if (records::kFields[field].type == records::FieldType::DateTime)
            values[field] = QDateTime(QDate::fromString(v.value, Qt::ISODate), QTime(0, 0), Qt::UTC);
        else
            values[field] = v.value;
    }
    auto store = records::openRecordStore(arguments.at(1));
    store->checkSchema();
    store->begin();
    try {
        store->insert(values);
        store->commit();
    } catch (...) {
        store->rollback();
        throw;
    }
    out() << "Kayıt eklendi (" << report.values.size() << " alan): " << records::addressForDisplay(arguments.at(1)) << "\n";
    return 0;
}

const bool registered = registerCommand({"sr-aktar", kUsage, runSrAktar});
}  // namespace
