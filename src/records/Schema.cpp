#include "Schema.h"
#include "Store.h"

#include <QStringList>

namespace records {

namespace {
constexpr FieldDef text(const char *n, int size) { return {n, FieldType::Text, size}; }
}  // namespace

const std::array<FieldDef, kFieldCount> kFields = {{
    text("Adi_Soyadi", 50),
    text("Yas", 10),
    {"Tarih", FieldType::DateTime, 0},
    text("Prot_No", 10),
    text("kalp_la", 10),
    text("kalp_lvd", 10),
    text("kalp_lvs", 10),
    text("mitral_kapak", 50),
    text("mitral_diyastolik", 50),
    text("mitral_mka", 10),
    text("mitral_mkg_peak", 10),
    text("mitral_mkg_mean", 10),
    text("mitral_yetmezlik", 50),
    text("trik_kapak", 50),
    text("trik_diyastolik", 50),
    text("trik__mka", 10),
    text("trik_mkg_peak", 10),
    text("trik_mkg_mean", 10),
    text("trik_yetmezlik", 50),
    text("ra", 10),
    text("rvd", 10),
    text("ivs", 10),
    text("pw", 10),
    text("aort_kapak", 50),
    text("aort_aciklik", 50),
    text("aort_kok", 10),
    text("aort_akg_peak", 10),
    text("aort_akg_mean", 10),
    text("aort_asc", 10),
    text("aort_yetmezlik", 50),
    text("pulm_kapak", 50),
    text("pulm_acilma", 50),
    text("pulm__pkg_peak", 10),
    text("pulm_pgk_mean", 10),
    text("pulm_pab", 10),
    text("pulm_velosite", 10),
    text("pulm_yetmezlik", 50),
    text("E", 10),
    text("A", 10),
    text("EF", 10),
    text("Sonuc1", 150), text("Sonuc2", 150), text("Sonuc3", 150), text("Sonuc4", 150),
    text("Sonuc5", 150), text("Sonuc6", 150), text("Sonuc7", 150), text("Sonuc8", 150),
    text("Sonuc9", 150), text("Sonuc10", 150), text("Sonuc11", 150), text("Sonuc12", 150),
    text("Yorum1", 150), text("Yorum2", 150), text("Yorum3", 150), text("Yorum4", 150),
    text("Yorum5", 150), text("Yorum6", 150), text("Yorum7", 150), text("Yorum8", 150),
    text("Yorum9", 150),
}};

int fieldIndex(const QString &name)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (name == QLatin1String(kFields[i].name))
            return i;
    return -1;
}

int fieldIndexCaseInsensitive(const QString &name)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (name.compare(QLatin1String(kFields[i].name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const QVector<int> &allFields()
{
    static const QVector<int> all = [] {
        QVector<int> v(kFieldCount);
        for (int i = 0; i < kFieldCount; ++i)
            v[i] = i;
        return v;
    }();
    return all;
}

QString createTableSql()
{
    QStringList cols;
    for (const FieldDef &f : kFields) {
        const QString type = f.type == FieldType::DateTime ? QStringLiteral("DATETIME")
                                                           : QStringLiteral("VARCHAR(%1)").arg(f.size);
        cols << QStringLiteral("\"%1\" %2").arg(QLatin1String(f.name), type);
    }
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(QLatin1String(kTableName), cols.join(",\n  "));
}

}  // namespace records
