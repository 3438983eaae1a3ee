// demo DB N [--seed S] [--force]: a new database with N realistic examination records.
#include "Command.h"
#include "ServerErrors.h"
#include "DemoData.h"
#include "Error.h"

namespace {
const char *kUsage = "demo DB N [--seed S] [--force]";

int runDemo(const QCommandLineParser &line)
{
    const QStringList args = line.positionalArguments();
    const bool force = line.isSet(QStringLiteral("force"));
    const QString seedText = line.value(QStringLiteral("seed"));
    bool ok = false;
    const int count = args.at(1).toInt(&ok);
    if (!ok || count < 0)
        throw Error(QStringLiteral("Kayıt sayısı sıfır ya da pozitif bir tam sayı olmalı: '%1'").arg(args.at(1)));
    quint32 seed = 1;
    if (!seedText.isEmpty()) {
        seed = seedText.toUInt(&ok);
        if (!ok)
            throw Error(QStringLiteral("Tohum pozitif bir tam sayı olmalı: '%1'").arg(seedText));
    }
    records::writeDemoDatabase(args.at(0), count, seed, force);
    out() << count << " örnek kayıt yazıldı: " << records::addressForDisplay(args.at(0)) << "\n";
    return 0;
}

const bool registered = registerCommand({"demo", kUsage, runDemo});
}  // namespace
