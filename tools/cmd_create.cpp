// create DB [--force]: a new, empty database with table veriler.
#include "Command.h"
#include "ServerErrors.h"
#include "Error.h"
#include "RecordStore.h"

namespace {
const char *kUsage = "create DB [--force]";

int runCreate(const QCommandLineParser &line)
{
    const QStringList args = line.positionalArguments();
    const bool force = line.isSet(QStringLiteral("force"));
    records::createRecordStore(args.at(0), force);
    out() << "Veritabanı oluşturuldu: " << records::addressForDisplay(args.at(0)) << "\n";
    return 0;
}

const bool registered = registerCommand({"create", kUsage, runCreate});
}  // namespace
