// import ACCESS.mdb DB [--force]: table veriler of an Access database into a new database.
#include "AccessImport.h"
#include "Command.h"
#include "ServerErrors.h"
#include "Error.h"

namespace {
const char *kUsage = "import ACCESS.mdb DB [--force]";

int runImport(const QCommandLineParser &line)
{
    const QStringList args = line.positionalArguments();
    const bool force = line.isSet(QStringLiteral("force"));
    const import::ImportResult result = import::importAccess(args.at(0), args.at(1), force);
    if (!result.leftBehind.isEmpty())
        err() << "Uyarı: şu sütunlar aktarılmadı, yalnızca özgün dosyada kalıyor: " << result.leftBehind.join(QStringLiteral(", ")) << "\n";
    out() << result.rows << " kayıt aktarıldı: " << records::addressForDisplay(args.at(1)) << "\n";
    return 0;
}

const bool registered = registerCommand({"import", kUsage, runImport});
}  // namespace
