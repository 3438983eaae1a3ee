#include "ReportFilling.h"

#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryFile>

#include "DurableFile.h"
#include "Error.h"
#include "Settings.h"

namespace reports {

namespace {
struct Cell {
    const char *memo;
    const char *field;
    const char *unit;
};
const Cell kCells[] = {
    {"K1", "kalp_la", " cm"},          {"K2", "kalp_lvd", " cm"},         {"K3", "kalp_lvs", " cm"},
    {"K4", "ra", " cm"},               {"K5", "rvd", " cm"},              {"K6", "ivs", " cm"},
    {"K7", "pw", " cm"},               {"M1", "mitral_mka", " cm"},       {"M2", "mitral_mkg_peak", " mm/Hg"},
    {"M3", "mitral_mkg_mean", " mm/Hg"}, {"A1", "aort_kok", " cm"},       {"A2", "aort_akg_peak", " mm/Hg"},
    {"A3", "aort_akg_mean", " mm/Hg"}, {"A4", "aort_asc", " cm"},         {"T1", "trik_mkg_peak", " mm/Hg"},
    {"T2", "trik_mkg_mean", " mm/Hg"}, {"P1", "pulm__pkg_peak", " mm/Hg"}, {"P2", "pulm_pgk_mean", " mm/Hg"},
    {"P3", "pulm_pab", " mm/Hg"},      {"P4", "pulm_velosite", " m/sn"},
};

void set(ReportTemplate &t, const char *name, const QString &text)
{
    if (ReportObject *o = t.FindObject(QLatin1String(name)))
        setMemoText(*o, text);
}
}  // namespace

FixedTexts FixedTexts::defaults()
{
    return from(settings::Settings(settings::File::Ayarlar));
}

FixedTexts FixedTexts::fromSettingsFile(const QString &path)
{
    return from(settings::Settings::load(settings::File::Ayarlar, path));
}

FixedTexts FixedTexts::from(const settings::Settings &ayarlar)
{
    using settings::Key;
    return {ayarlar.text(Key::Workplace), ayarlar.text(Key::Address), ayarlar.text(Key::ReportTitle),
            ayarlar.text(Key::ListTitle), ayarlar.text(Key::Doctor),  ayarlar.text(Key::DoctorTitle)};
}

void fillEchoReport(ReportTemplate &rapor, const records::Dataset &dataset, const FixedTexts &fixed)
{
    for (const Cell &c : kCells) {
        // Blanks count as a value; only an empty or null field leaves the cell (and unit) empty.
        const QString value = dataset.displayText(records::fieldIndex(QLatin1String(c.field)));
        set(rapor, c.memo, value.isEmpty() ? QString() : value + QLatin1String(c.unit));
        if (QLatin1String(c.memo) == QLatin1String("M1"))
            set(rapor, "M11", value.isEmpty() ? QString() : QStringLiteral("2"));
    }
    set(rapor, "Memo1", fixed.workplace);
    set(rapor, "Memo2", fixed.address);
    set(rapor, "Memo3", fixed.reportTitle);
    set(rapor, "MemoDr", fixed.doctor);
    set(rapor, "MemoUnvan", fixed.doctorTitle);
}

void fillRecordList(ReportTemplate &raporKisi, const FixedTexts &fixed)
{
    set(raporKisi, "Memo1", fixed.workplace);
    set(raporKisi, "Memo2", fixed.address);
    set(raporKisi, "Memo3", fixed.listTitle);
}

// The PDF holds patient data: it is written owner-only into a temporary file beside its
// destination and takes its name only when complete (synced, renamed, folder synced).
void writePdf(const PreparedReport &report, const QString &path)
{
    QTemporaryFile temp(path + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(path, temp.errorString()));
    temp.close();
    {
        QPdfWriter pdf(temp.fileName());
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setCreator(QStringLiteral("Kalpiyon"));
        QPainter painter(&pdf);
        const double scale = 600.0 / 96.0;
        for (int i = 0; i < report.pageCount(); ++i) {
            if (i > 0)
                pdf.newPage();
            drawPage(report, i, painter, scale);
        }
        if (!painter.end())
            throw Error(QStringLiteral("'%1' yazılamadı.").arg(path));
    }
    QString why;
    if (!durable::commitFile(temp.fileName(), path, &why))
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(path, why));
    temp.setAutoRemove(false);
}

}  // namespace reports
