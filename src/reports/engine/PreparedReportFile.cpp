#include "PreparedReportFile.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>

#include "DurableFile.h"
#include "Error.h"

namespace reports {

namespace {
[[noreturn]] void bad(const QString &why)
{
    throw Error(QStringLiteral("Hazırlanmış rapor dosyası okunamadı: %1").arg(why));
}
// XML 1.0 carries neither control characters (other than tab and line ends) nor unpaired
// surrogates, not even as character references: they are written as U+FFFD.
QString xmlSafe(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < out.size() && QChar::isLowSurrogate(out.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        const bool control = c < 0x20 && c != '\t' && c != '\n' && c != '\r';
        if (control || QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF)
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

// A carriage return is written as a character reference: a raw one would come back as a
// line feed.
void writeText(QXmlStreamWriter &w, const QString &text)
{
    w.writeStartElement(QStringLiteral("text"));
    const QStringList parts = xmlSafe(text).split(QLatin1Char('\r'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            w.writeEntityReference(QStringLiteral("#13"));
        if (!parts[i].isEmpty())
            w.writeCharacters(parts[i]);
    }
    w.writeEndElement();
}
}  // namespace

QByteArray savePreparedReport(const PreparedReport &report)
{
    QByteArray data;
    QXmlStreamWriter w(&data);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("preparedreport"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    w.writeAttribute(QStringLiteral("template"), report.tmpl ? report.tmpl->name : QString());
    for (const PreparedPage &page : report.pages) {
        w.writeStartElement(QStringLiteral("page"));
        for (const PreparedBand &band : page.bands) {
            w.writeStartElement(QStringLiteral("band"));
            w.writeAttribute(QStringLiteral("index"), QString::number(band.band));
            w.writeAttribute(QStringLiteral("y"), QString::number(band.y, 'g', 17));
            for (const QString &text : band.texts)
                writeText(w, text);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    if (w.hasError())
        throw Error(QStringLiteral("Hazırlanmış rapor yazılamadı"));
    return data;
}

void savePreparedReportFile(const PreparedReport &report, const QString &path)
{
    QString why;
    if (!durable::writeFile(path, savePreparedReport(report), &why))
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(path, why));
}

int maxBandsPerPage(const ReportTemplate &tmpl)
{
    double lowest = tmpl.pageHeight();
    for (const Band &b : tmpl.bands)
        lowest = std::min(lowest, b.height);
    return int(tmpl.pageHeight() / std::max(lowest, 1.0)) + 2;
}

namespace {
const ReportTemplate *templateNamed(const std::vector<const ReportTemplate *> &templates, QStringView name)
{
    for (const ReportTemplate *t : templates)
        if (t && t->name == name)
            return t;
    return nullptr;
}

// What the pages read so far take in memory, roughly (elements and characters), against what
// the file's size allows.
class MemoryBudget {
public:
    explicit MemoryBudget(qint64 fileBytes) : limit_(kMemoryPerFileByte * fileBytes + kMemorySlack) {}
    void take(qint64 bytes)
    {
        used_ += bytes;
        if (used_ > limit_)
            bad(QStringLiteral("dosyanın boyutuna göre çok fazla bellek gerektiriyor"));
    }

private:
    qint64 limit_, used_ = 0;
};

qint64 bandCost(const ReportTemplate &tmpl, int band)
{
    return qint64(sizeof(PreparedBand)) + qint64(sizeof(QString)) * qint64(tmpl.bands[band].objects.size() + 1);
}
}  // namespace

void loadPreparedReport(const QByteArray &data, const std::vector<const ReportTemplate *> &templates, PreparedReport &out)
{
    if (data.size() > kMaxFileBytes)
        bad(QStringLiteral("dosya çok büyük"));
    QXmlStreamReader r(data);
    MemoryBudget budget(data.size());
    std::vector<PreparedPage> pages;
    const ReportTemplate *tmpl = nullptr;
    double maxY = 0;
    int bandLimit = 0;
    int depth = 0;
    PreparedBand *band = nullptr;
    while (!r.atEnd()) {
        const auto token = r.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference)
            bad(QStringLiteral("belge tanımı ya da varlık içeriyor"));
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = r.name();
            ++depth;
            if (depth == 1) {
                if (name != QLatin1String("preparedreport"))
                    bad(QStringLiteral("kök öğe 'preparedreport' değil"));
                tmpl = templateNamed(templates, r.attributes().value(QLatin1String("template")));
                if (!tmpl)
                    bad(QStringLiteral("başka bir rapora ait"));
                maxY = tmpl->pageHeight() + 1;
                bandLimit = maxBandsPerPage(*tmpl);
            } else if (depth == 2 && name == QLatin1String("page")) {
                if (int(pages.size()) >= kMaxPages)
                    bad(QStringLiteral("sayfa sayısı çok büyük"));
                budget.take(sizeof(PreparedPage));
                pages.emplace_back();
            } else if (depth == 3 && name == QLatin1String("band")) {
                bool okIndex = false, okY = false;
                const int index = r.attributes().value(QLatin1String("index")).toInt(&okIndex);
                const double y = r.attributes().value(QLatin1String("y")).toDouble(&okY);
                if (!okIndex || index < 0 || index >= int(tmpl->bands.size()))
                    bad(QStringLiteral("geçersiz bant"));
                if (!okY || !std::isfinite(y) || y < 0 || y > maxY)
                    bad(QStringLiteral("geçersiz konum"));
                if (int(pages.back().bands.size()) >= bandLimit)
                    bad(QStringLiteral("bir sayfada sığabileceğinden çok bant var"));
                budget.take(bandCost(*tmpl, index));
                pages.back().bands.push_back({index, y, {}});
                band = &pages.back().bands.back();
            } else if (depth == 4 && name == QLatin1String("text") && band) {
                if (band->texts.size() >= int(tmpl->bands[band->band].objects.size()))
                    bad(QStringLiteral("bantta fazla metin"));
                const QString text = r.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
                if (text.size() > kMaxTextChars)
                    bad(QStringLiteral("metin çok uzun"));
                budget.take(text.size() * qint64(sizeof(QChar)));
                if (!text.isValidUtf16())
                    bad(QStringLiteral("geçersiz karakter"));
                band->texts << text;
                --depth;  // readElementText consumed the end element
            } else {
                bad(QStringLiteral("beklenmeyen öğe '%1'").arg(name.toString()));
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 3)
                band = nullptr;
            --depth;
        }
    }
    if (r.hasError())
        bad(r.errorString());
    for (PreparedPage &page : pages)
        for (PreparedBand &b : page.bands)
            while (b.texts.size() < int(tmpl->bands[b.band].objects.size()))
                b.texts << QString();
    out.tmpl = tmpl;
    out.pages = std::move(pages);
    out.dropLayouts();
}

void loadPreparedReportFile(const QString &path, const std::vector<const ReportTemplate *> &templates, PreparedReport &out)
{
    QFile f(path);
    if (f.exists() && !QFileInfo(path).isFile())  // a FIFO or a device would block the read
        bad(QStringLiteral("'%1' sıradan bir dosya değil").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("'%1' açılamadı: %2").arg(path, f.errorString()));
    if (f.size() > kMaxFileBytes)
        bad(QStringLiteral("dosya çok büyük"));
    loadPreparedReport(f.readAll(), templates, out);
}

}  // namespace reports
