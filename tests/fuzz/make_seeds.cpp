// Writes the generated part of the fuzzer's seed corpus: prepared reports of both templates,
// built by the engine from a few made-up rows and saved with savePreparedReportFile().
// Usage: make_seeds DIR
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "Error.h"
#include "PreparedReportFile.h"
#include "RecordReportData.h"

using namespace reports;

namespace {

// Rows with text that needs escaping, Turkish letters and line breaks; "Tarih" is a date.
class Rows : public RecordReportData {
public:
    explicit Rows(int n) : n_(n) {}
    bool bound() const override { return true; }
    void first() override { pos_ = 0; }
    void next() override { ++pos_; }
    bool eof() const override { return pos_ >= n_; }
    bool hasField(const QString &) const override { return true; }
    QVariant value(const QString &f) const override
    {
        if (f == QLatin1String("Tarih"))
            return QDateTime(QDate(2021, 3, 1 + pos_ % 28), QTime(9, 30));
        if (pos_ % 3 == 2)
            return QVariant();
        return QStringLiteral("ÇAĞLAR <&> \"%1\" %2\nikinci satır ışğüöç").arg(pos_).arg(f);
    }

private:
    int n_, pos_ = 0;
};

void write(ReportTemplate tmpl, int rows, const QString &path)
{
    Rows data(rows);
    PreparedReport r;
    QStringList errors;
    BuildOptions options;
    options.now = QDateTime(QDate(2024, 5, 6), QTime(10, 0));
    if (!BuildPages(tmpl, &data, r, &errors, options)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(errors.join(u'\n')));
        std::exit(1);
    }
    savePreparedReportFile(r, path);
    std::printf("%s: %d page(s)\n", qPrintable(path), r.pageCount());
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    try {
        write(makeRapor(), 1, dir.filePath(QStringLiteral("rapor-1.fp3")));
        write(makeRaporKisi(), 3, dir.filePath(QStringLiteral("raporkisi-3.fp3")));
        write(makeRaporKisi(), 60, dir.filePath(QStringLiteral("raporkisi-60.fp3")));
        write(makeRaporKisi(), 0, dir.filePath(QStringLiteral("raporkisi-0.fp3")));
    } catch (const Error &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
