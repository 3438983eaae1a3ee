// check DB: schema and integrity check; exit status 0 only when the database is sound.
#include "Command.h"
#include "Error.h"
#include "Schema.h"
#include "RecordStore.h"
#include "Store.h"

namespace {
const char *kUsage = "check DB";

// Rows whose Tarih holds something that is not a date the program can read.
QStringList unreadableDates(records::Store &store)
{
    const int tarih = records::fieldIndex(QStringLiteral("Tarih"));
    records::Statement st(store, QStringLiteral("SELECT rowid, Tarih FROM veriler WHERE Tarih IS NOT NULL"));
    QStringList bad;
    while (st.step()) {
        const QVariant v = records::fromStored(tarih, st.column(1));
        if (v.typeId() != QMetaType::QDateTime)
            bad << QStringLiteral("kayıt %1: '%2'").arg(st.columnInt(0)).arg(v.toString());
    }
    return bad;
}

// A server keeps its own pages sound and types its dates: the table's fields are what is left.
int checkServer(const QString &address)
{
    auto store = records::openRecordStore(address);
    try {
        store->checkSchema();
    } catch (const Error &e) {
        err() << "Tablo yapısı hatalı: " << e.message() << "\n" << "Veritabanı sağlam değil: " << store->name() << "\n";
        return 1;
    }
    out() << "Veritabanı sağlam: " << store->recordCount() << " kayıt.\n";
    return 0;
}

int runCheck(const QStringList &arguments)
{
    QStringList args = arguments;
    expectArgs(args, 1, kUsage);
    if (records::isServerAddress(args.at(0)))
        return checkServer(args.at(0));
    records::Store store(args.at(0));
    QStringList problems;
    records::Statement integrity(store, QStringLiteral("PRAGMA integrity_check"));
    while (integrity.step())
        if (integrity.columnText(0) != QLatin1String("ok"))
            problems << QStringLiteral("Bütünlük hatası: %1").arg(integrity.columnText(0));
    try {
        store.checkSchema();
    } catch (const Error &e) {
        problems << QStringLiteral("Tablo yapısı hatalı: %1").arg(e.message());
    }
    if (problems.isEmpty())
        for (const QString &row : unreadableDates(store))
            problems << QStringLiteral("Okunamayan tarih, %1").arg(row);
    if (!problems.isEmpty()) {
        for (const QString &p : problems)
            err() << p << "\n";
        err() << "Veritabanı sağlam değil: " << args.at(0) << "\n";
        return 1;
    }
    out() << "Veritabanı sağlam: " << store.recordCount() << " kayıt.\n";
    return 0;
}

const bool registered = registerCommand({"check", kUsage, runCheck});
}  // namespace
