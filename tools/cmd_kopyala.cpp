// kopyala FROM TO [--force]: every record from one store into a new one (a file or a server),
// in storage order, then both read back and compared value by value. The source is read in one
// snapshot for the copy and the comparison alike, so desks saving meanwhile change neither.
#include <QCryptographicHash>

#include "Command.h"
#include "Error.h"
#include "RecordStore.h"
#include "Schema.h"
#include "StoredForm.h"

namespace {
const char *kUsage = "kopyala FROM TO [--force]";

// A digest of every record in storage order, each value in its canonical stored form, so the
// two engines' ways of keeping a date compare equal.
QByteArray contentDigest(records::RecordStore &store, qint64 *count)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    *count = 0;
    store.readRows(records::allFields(), [&](qint64, const QVector<QVariant> &values) {
        for (int i = 0; i < records::kFieldCount; ++i) {
            const QVariant v = records::toStored(i, records::fromStored(i, values[i]));
            hash.addData(v.isNull() ? QByteArray("\x01", 1) : QByteArray("\x02", 1) + v.toString().toUtf8() + '\0');
        }
        ++*count;
    });
    return hash.result();
}

int runCopy(const QCommandLineParser &line)
{
    const QStringList args = line.positionalArguments();
    const bool force = line.isSet(QStringLiteral("force"));
    auto from = records::openRecordStore(args.at(0));
    from->checkSchema();
    records::createRecordStore(args.at(1), force);
    auto to = records::openRecordStore(args.at(1));
    qint64 fromCount = 0, toCount = 0;
    QByteArray a, b;
    from->beginSnapshot();
    try {
        records::copyAllRecords(*from, *to);
        a = contentDigest(*from, &fromCount);
        b = contentDigest(*to, &toCount);
    } catch (...) {
        from->endSnapshot();
        throw;
    }
    from->endSnapshot();
    if (fromCount != toCount || a != b)
        throw Error(QStringLiteral("Kopya kaynakla aynı değil (%1 kayıt, kopyada %2); kopyayı kullanmayın: %3")
                        .arg(fromCount).arg(toCount).arg(to->name()));
    out() << "Kopyalandı: " << toCount << " kayıt, " << from->name() << " -> " << to->name() << "\n";
    return 0;
}

const bool registered = registerCommand({"kopyala", kUsage, runCopy});
}  // namespace
