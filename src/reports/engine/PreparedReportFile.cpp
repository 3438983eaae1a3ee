#include "PreparedReportFile.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>

#include "Error.h"

namespace reports {

namespace {
[[noreturn]] void bad(const QString &why)
{
    throw Error(QStringLiteral("Hazırlanmış rapor dosyası okunamadı: %1").arg(why));
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
                w.writeTextElement(QStringLiteral("text"), text);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return data;
}

void savePreparedReportFile(const PreparedReport &report, const QString &path)
{
    QSaveFile f(path);
    const QByteArray data = savePreparedReport(report);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit())
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(path, f.errorString()));
}

void loadPreparedReport(const QByteArray &data, const ReportTemplate &tmpl, PreparedReport &out)
{
    if (data.size() > kMaxFileBytes)
        bad(QStringLiteral("dosya çok büyük"));
    QXmlStreamReader r(data);
    std::vector<PreparedPage> pages;
    const double maxY = tmpl.pageHeight() + 1;
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
                if (r.attributes().value(QLatin1String("template")) != tmpl.name)
                    bad(QStringLiteral("başka bir rapora ait"));
            } else if (depth == 2 && name == QLatin1String("page")) {
                if (int(pages.size()) >= kMaxPages)
                    bad(QStringLiteral("sayfa sayısı çok büyük"));
                pages.emplace_back();
            } else if (depth == 3 && name == QLatin1String("band")) {
                bool okIndex = false, okY = false;
                const int index = r.attributes().value(QLatin1String("index")).toInt(&okIndex);
                const double y = r.attributes().value(QLatin1String("y")).toDouble(&okY);
                if (!okIndex || index < 0 || index >= int(tmpl.bands.size()))
                    bad(QStringLiteral("geçersiz bant"));
                if (!okY || !std::isfinite(y) || y < 0 || y > maxY)
                    bad(QStringLiteral("geçersiz konum"));
                pages.back().bands.push_back({index, y, {}});
                band = &pages.back().bands.back();
            } else if (depth == 4 && name == QLatin1String("text") && band) {
                if (band->texts.size() >= int(tmpl.bands[band->band].objects.size()))
                    bad(QStringLiteral("bantta fazla metin"));
                band->texts << r.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
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
            while (b.texts.size() < int(tmpl.bands[b.band].objects.size()))
                b.texts << QString();
    out.tmpl = &tmpl;
    out.pages = std::move(pages);
    out.dropLayouts();
}

void loadPreparedReportFile(const QString &path, const ReportTemplate &tmpl, PreparedReport &out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("'%1' açılamadı: %2").arg(path, f.errorString()));
    if (f.size() > kMaxFileBytes)
        bad(QStringLiteral("dosya çok büyük"));
    loadPreparedReport(f.readAll(), tmpl, out);
}

}  // namespace reports
