// demo DB N [--seed S] [--force]: a new database with N realistic examination records.
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QElapsedTimer>
#include <random>

#include "Command.h"
#include "DemoData.h"
#include "Error.h"
#include "Store.h"

namespace {
const char *kUsage = "demo DB N [--seed S] [--force]";

int runDemo(const QStringList &arguments)
{
    QStringList args = arguments;
    const bool force = takeFlag(args, QStringLiteral("--force"));
    const QString seedText = takeOption(args, QStringLiteral("--seed"));
    expectArgs(args, 2, kUsage);
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
    records::Store::create(args.at(0), force);
    try {
        records::Store store(args.at(0));
        records::DemoData demo(seed);
        store.begin();
        for (int i = 0; i < count; ++i)
            store.insert(demo.record(i));
        store.commit();
    } catch (...) {
        QFile::remove(args.at(0));
        throw;
    }
    out() << count << " örnek kayıt yazıldı: " << args.at(0) << "\n";
    return 0;
}

const bool registered = registerCommand({"demo", kUsage, runDemo});
}  // namespace
