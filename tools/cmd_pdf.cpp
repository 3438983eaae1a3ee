// pdf rapor DB OUT.pdf [--row N] [--ayarlar FILE]
// pdf liste DB OUT.pdf [--ayarlar FILE]
// Prepares a report with the program's engine and templates and writes it as PDF.
#include "Command.h"
#include "DatasetAdapter.h"
#include "Error.h"
#include "ReportFilling.h"

namespace {
const char *kUsage = "pdf rapor|liste DB OUT.pdf [--row N] [--ayarlar FILE]";

int runPdf(const QCommandLineParser &line)
{
    const QStringList args = line.positionalArguments();
    const QString rowText = line.value(QStringLiteral("row"));
    const QString ayarlar = line.value(QStringLiteral("ayarlar"));
    const QString kind = args.at(0);
    if (kind != QLatin1String("rapor") && kind != QLatin1String("liste"))
        throw UsageError{QStringLiteral("Rapor türü 'rapor' ya da 'liste' olmalı: '%1'").arg(kind)};
    const reports::FixedTexts fixed = ayarlar.isEmpty() ? reports::FixedTexts::defaults() : reports::FixedTexts::fromSettingsFile(ayarlar);

    records::Dataset data;
    data.open(args.at(1));
    reports::ReportTemplate tmpl = kind == QLatin1String("rapor") ? reports::makeRapor() : reports::makeRaporKisi();
    if (kind == QLatin1String("rapor")) {
        if (!rowText.isEmpty()) {
            bool ok = false;
            const int row = rowText.toInt(&ok);
            if (!ok || row < 1 || row > data.recordCount())
                throw Error(QStringLiteral("--row 1 ile %1 arasında olmalı: '%2'").arg(data.recordCount()).arg(rowText));
            data.setRecNo(row);
        }
        reports::fillEchoReport(tmpl, data, fixed);
    } else {
        reports::fillRecordList(tmpl, fixed);
    }
    reports::DatasetAdapter adapter(&data, reports::fieldsUsedBy(tmpl));
    reports::PreparedReport prepared;
    QStringList errors;
    if (!reports::BuildPages(tmpl, &adapter, prepared, &errors))
        throw Error(reports::errorMessage(errors));
    reports::writePdf(prepared, args.at(2));
    out() << prepared.pageCount() << " sayfa yazıldı: " << args.at(2) << "\n";
    return 0;
}

const bool registered = registerCommand({"pdf", kUsage, runPdf, true});
}  // namespace
