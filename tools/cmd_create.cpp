// create DB [--force]: a new, empty database with table veriler.
#include "Command.h"
#include "ServerErrors.h"
#include "Error.h"
#include "RecordStore.h"

namespace {
const char *kUsage = "create DB [--force]";

int runCreate(const QStringList &arguments)
{
    QStringList args = arguments;
    const bool force = takeFlag(args, QStringLiteral("--force"));
    expectArgs(args, 1, kUsage);
    records::createRecordStore(args.at(0), force);
    out() << "Veritabanı oluşturuldu: " << records::addressForDisplay(args.at(0)) << "\n";
    return 0;
}

const bool registered = registerCommand({"create", kUsage, runCreate});
}  // namespace
