// import ACCESS.mdb DB [--force]: table veriler of an Access database into a new database.
#include "AccessImport.h"
#include "Command.h"
#include "ServerErrors.h"
#include "Error.h"
#include "RecordStore.h"

#include <QTemporaryDir>

namespace {
const char *kUsage = "import ACCESS.mdb DB [--force]";

// Into a server: through a private temporary file, then every record copied onto the server.
import::ImportResult importInto(const QString &access, const QString &target, bool force)
{
    if (!records::isServerAddress(target))
        return import::importAccess(access, target, force);
    QTemporaryDir dir;
    const QString temp = dir.filePath(QStringLiteral("Data.mdb"));
    const import::ImportResult result = import::importAccess(access, temp, false);
    records::createRecordStore(target, force);
    records::copyAllRecords(*records::openRecordStore(temp), *records::openRecordStore(target));
    return result;
}

int runImport(const QStringList &arguments)
{
    QStringList args = arguments;
    const bool force = takeFlag(args, QStringLiteral("--force"));
    expectArgs(args, 2, kUsage);
    const import::ImportResult result = importInto(args.at(0), args.at(1), force);
    if (!result.leftBehind.isEmpty())
        err() << "Uyarı: şu sütunlar aktarılmadı, yalnızca özgün dosyada kalıyor: " << result.leftBehind.join(QStringLiteral(", ")) << "\n";
    out() << result.rows << " kayıt aktarıldı: " << records::addressForDisplay(args.at(1)) << "\n";
    return 0;
}

const bool registered = registerCommand({"import", kUsage, runImport});
}  // namespace
