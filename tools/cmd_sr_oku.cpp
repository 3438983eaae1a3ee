// sr-oku FILE: the fields an echo SR fills, one "field<TAB>value" line each on standard output
// (the value as it would be stored); the source of each value and every skipped item go to
// standard error. Exit 0 when the report is accepted, 1 (nothing on standard output) when not.
#include "Command.h"
#include "SrReader.h"

namespace {
const char *kUsage = "sr-oku FILE";

int runSrOku(const QCommandLineParser &line)
{
    const QStringList arguments = line.positionalArguments();
    const dicom::SrReport report = dicom::readSrFile(arguments.at(0));
    for (const dicom::FieldValue &v : report.values) {
        out() << v.field << '\t' << v.value << '\n';
        err() << v.field << ": " << v.source << '\n';
    }
    for (const dicom::SkippedItem &s : report.skipped)
        err() << "atlandı: " << s.item << ": " << s.reason << '\n';
    err().flush();
    return 0;
}

const bool registered = registerCommand({"sr-oku", kUsage, runSrOku});
}  // namespace
