// libFuzzer target for the prepared-report reader. Every input is read for both templates.
// The reader may refuse an input only by throwing Error; anything else (another exception, a
// crash, a sanitizer report, a leak, a time-out, an allocation past the limits) is a fault.
//
// Beyond "no crash", each input checks what the reader promises:
//   - a refused input leaves the report in memory exactly as it was;
//   - an accepted input gives pages that fit the template (valid band indexes, finite
//     positions inside the page, one text per band object) and the report refers to it;
//   - pages read back are saved and read again to the same pages.
//
// The bytes go to loadPreparedReport() directly. With FUZZ_VIA_FILE=1 in the environment
// they are also written to a file in /dev/shm and read with loadPreparedReportFile().

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <unistd.h>

#include "Error.h"
#include "PreparedReportFile.h"

using namespace reports;

namespace {

ReportTemplate *gRapor = nullptr;
ReportTemplate *gRaporKisi = nullptr;
bool gViaFile = false;
QString gFilePath;

[[noreturn]] void fault(const char *what, const ReportTemplate &tmpl)
{
    std::fprintf(stderr, "FAULT (%s): %s\n", qPrintable(tmpl.name), what);
    std::abort();
}

// A report that is not empty, so that a refused read can be seen to leave it alone.
void fillSentinel(PreparedReport &r, const ReportTemplate &other)
{
    r.tmpl = &other;
    r.pages.assign(1, PreparedPage{});
    r.pages[0].bands.push_back({0, 12.5, {QStringLiteral("önceki")}});
}

bool isSentinel(const PreparedReport &r, const ReportTemplate &other)
{
    return r.tmpl == &other && r.pages.size() == 1 && r.pages[0].bands.size() == 1
        && r.pages[0].bands[0].band == 0 && r.pages[0].bands[0].y == 12.5
        && r.pages[0].bands[0].texts.toList() == QStringList{QStringLiteral("önceki")};
}

void checkPages(const PreparedReport &r, const ReportTemplate &tmpl)
{
    if (r.tmpl != &tmpl)
        fault("accepted report does not refer to the template", tmpl);
    if (r.pages.size() > size_t(kMaxPages))
        fault("more pages than kMaxPages", tmpl);
    const double maxY = tmpl.pageHeight() + 1;
    for (const PreparedPage &page : r.pages) {
        for (const PreparedBand &b : page.bands) {
            if (b.band < 0 || b.band >= int(tmpl.bands.size()))
                fault("band index outside the template", tmpl);
            if (!std::isfinite(b.y) || b.y < 0 || b.y > maxY)
                fault("band position outside the page", tmpl);
            if (b.texts.size() != qsizetype(tmpl.bands[b.band].objects.size()))
                fault("band text count differs from its object count", tmpl);
        }
    }
}

bool samePages(const PreparedReport &a, const PreparedReport &b)
{
    if (a.pages.size() != b.pages.size())
        return false;
    for (size_t p = 0; p < a.pages.size(); ++p) {
        const auto &x = a.pages[p].bands, &y = b.pages[p].bands;
        if (x.size() != y.size())
            return false;
        for (size_t i = 0; i < x.size(); ++i) {
            if (x[i].band != y[i].band || x[i].y != y[i].y || x[i].texts.size() != y[i].texts.size())
                return false;
            if (x[i].texts != y[i].texts)
                return false;
        }
    }
    return true;
}

enum class Source { Buffer, File };

void readWith(const QByteArray &data, const ReportTemplate &tmpl, const ReportTemplate &other,
              Source source)
{
    PreparedReport out;
    fillSentinel(out, other);
    try {
        if (source == Source::Buffer)
            loadPreparedReport(data, tmpl, out);
        else
            loadPreparedReportFile(gFilePath, tmpl, out);
    } catch (const Error &) {
        if (!isSentinel(out, other))
            fault("a refused read changed the report in memory", tmpl);
        return;
    }
    checkPages(out, tmpl);

    // What was read is saved and read again to the same pages.
    const QByteArray saved = savePreparedReport(out);
    PreparedReport again;
    try {
        loadPreparedReport(saved, tmpl, again);
    } catch (const Error &e) {
        std::fprintf(stderr, "re-read refused: %s\n", e.what());
        fault("pages read from a file could not be read again after saving", tmpl);
    }
    if (!samePages(out, again))
        fault("pages changed through save and re-read", tmpl);
}

void writeFile(const QByteArray &data)
{
    QFile f(gFilePath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(gFilePath));
        std::abort();
    }
}

// The page limit itself: kMaxPages pages are read, one more is refused. Too large for the
// fuzzer's inputs, so it is checked once at start.
void checkPageLimit(const ReportTemplate &tmpl)
{
    const QByteArray head = "<preparedreport template=\"" + tmpl.name.toUtf8() + "\">";
    const QByteArray tail = "</preparedreport>";
    PreparedReport r;
    loadPreparedReport(head + QByteArray("<page/>").repeated(kMaxPages) + tail, tmpl, r);
    if (r.pageCount() != kMaxPages)
        fault("kMaxPages pages not all read", tmpl);
    fillSentinel(r, tmpl);
    try {
        loadPreparedReport(head + QByteArray("<page/>").repeated(kMaxPages + 1) + tail, tmpl, r);
    } catch (const Error &) {
        if (!isSentinel(r, tmpl))
            fault("refused page count changed the report", tmpl);
        return;
    }
    fault("kMaxPages + 1 pages accepted", tmpl);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "fuzz_prepared_report";
    static char *argv[] = {arg0, nullptr};
    static QGuiApplication app(argc, argv);
    static ReportTemplate rapor = makeRapor();
    static ReportTemplate raporKisi = makeRaporKisi();
    gRapor = &rapor;
    gRaporKisi = &raporKisi;
    gViaFile = qEnvironmentVariableIntValue("FUZZ_VIA_FILE") != 0;
    if (gViaFile)
        gFilePath = QStringLiteral("/dev/shm/fuzz_prepared_report.%1.fp3").arg(getpid());
    checkPageLimit(rapor);
    checkPageLimit(raporKisi);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A real copy, as QFile::readAll() gives the reader.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    readWith(bytes, *gRapor, *gRaporKisi, Source::Buffer);
    readWith(bytes, *gRaporKisi, *gRapor, Source::Buffer);
    if (gViaFile) {
        writeFile(bytes);
        readWith(bytes, *gRapor, *gRaporKisi, Source::File);
        readWith(bytes, *gRaporKisi, *gRapor, Source::File);
        QFile::remove(gFilePath);
    }
    return 0;
}
