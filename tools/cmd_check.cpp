// check DB: schema and integrity check; exit status 0 only when the database is sound.
#include "Command.h"
#include "ServerErrors.h"
#include "Error.h"
#include "Schema.h"
#include "RecordStore.h"
#include "StoredForm.h"

namespace {
const char *kUsage = "check DB";

// Rows whose Tarih holds something that is not a date the program can read.
QStringList unreadableDates(records::RecordStore &store)
{
    const int tarih = records::fieldIndex(QStringLiteral("Tarih"));
    QStringList bad;
    store.readTexts({tarih}, [&](qint64 key, const records::CellText *cells) {
        if (cells[0].null)
            return;
        const QVariant v = records::fromStored(tarih, QString::fromUtf8(cells[0].utf8));
        if (v.typeId() != QMetaType::QDateTime)
            bad << QStringLiteral("kayıt %1: '%2'").arg(key).arg(v.toString());
    });
    return bad;
}

int runCheck(const QCommandLineParser &line)
{
    const QStringList args = line.positionalArguments();
    auto store = records::openRecordStore(args.at(0));
    QStringList problems;
    for (const QString &p : store->integrityProblems())
        problems << QStringLiteral("Bütünlük hatası: %1").arg(p);
    try {
        store->checkSchema();
    } catch (const Error &e) {
        problems << QStringLiteral("Tablo yapısı hatalı: %1").arg(e.message());
    }
    if (problems.isEmpty())
        for (const QString &row : unreadableDates(*store))
            problems << QStringLiteral("Okunamayan tarih, %1").arg(row);
    if (!problems.isEmpty()) {
        for (const QString &p : problems)
            err() << p << "\n";
        err() << "Veritabanı sağlam değil: " << records::addressForDisplay(args.at(0)) << "\n";
        return 1;
    }
    out() << "Veritabanı sağlam: " << store->recordCount() << " kayıt.\n";
    return 0;
}

const bool registered = registerCommand({"check", kUsage, runCheck});
}  // namespace
