#include "EchoFields.h"

#include <QHash>
#include <QRegularExpression>

namespace dicom {
namespace {

// Finding Sites (SNOMED CT).
constexpr const char *MV = "91134007", *TV = "46030003", *AV = "34202007", *PV = "39057004";
constexpr const char *LV = "87878005", *RV = "53085002", *LA = "82471001", *PA = "81040000";
constexpr const char *EndSystole = "416430001";

}  // namespace

const std::vector<FieldRule> &echoFieldRules()
{
    using U = FieldUnit;
    static const std::vector<FieldRule> rules = {
        {"kalp_la", U::Cm, false,
         {{"LN", "29469-4"}, {"LN", "79975-9"}, {"LN", "79977-5"},
          {"SCT", "81827009", LA, true, EndSystole}}, {}},
        {"kalp_lvd", U::Cm, false, {{"LN", "29436-3"}, {"LN", "80007-8"}, {"LN", "80008-6"}}, {}},
        {"kalp_lvs", U::Cm, false, {{"LN", "29438-9"}, {"LN", "80011-0"}, {"LN", "80012-8"}}, {}},
        {"mitral_mka", U::Cm2, true,
         {{"SCT", "399367004", MV}, {"LN", "80068-0"}, {"LN", "80069-8"}, {"LN", "80067-2"}},
         {"125220", "125210", "125216"}},  // planimetry, pressure half-time, PISA
        {"mitral_mkg_peak", U::MmHg, true,
         {{"LN", "20247-3", MV}, {"LN", "18057-0"}, {"LN", "59106-5", MV}, {"LN", "80074-8"}}, {}},
        {"mitral_mkg_mean", U::MmHg, true, {{"LN", "20256-4", MV}, {"LN", "80073-0"}}, {}},
        {"trik_mkg_peak", U::MmHg, true,
         {{"LN", "20247-3", TV}, {"LN", "59106-5", TV}, {"LN", "79939-5"}}, {}},
        {"trik_mkg_mean", U::MmHg, true, {{"LN", "20256-4", TV}, {"LN", "79938-7"}}, {}},
        {"ra", U::Cm, false, {{"LN", "80077-1"}}, {}},
        {"rvd", U::Cm, false, {{"LN", "20304-2"}}, {}},
        {"ivs", U::Cm, false, {{"LN", "18154-5"}, {"LN", "79968-4"}, {"LN", "79969-2"}}, {}},
        {"pw", U::Cm, false, {{"LN", "18152-9"}, {"LN", "80031-8"}, {"LN", "80032-6"}}, {}},
        {"aort_kok", U::Cm, false, {{"LN", "18015-8"}, {"LN", "79953-6"}}, {}},
        {"aort_akg_peak", U::MmHg, true,
         {{"LN", "20247-3", AV}, {"LN", "59106-5", AV}, {"LN", "79963-5"}}, {}},
        {"aort_akg_mean", U::MmHg, true, {{"LN", "20256-4", AV}, {"LN", "79962-7"}}, {}},
        {"aort_asc", U::Cm, false, {{"LN", "18012-5"}, {"LN", "79966-8"}}, {}},
        {"pulm__pkg_peak", U::MmHg, true,
         {{"LN", "20247-3", PV}, {"LN", "59106-5", PV}, {"LN", "79935-3"}}, {}},
        {"pulm_pgk_mean", U::MmHg, true, {{"LN", "20256-4", PV}, {"LN", "20256-4", PV, true}}, {}},
        {"pulm_pab", U::MmHg, false,
         {{"SCT", "399023006"}, {"DCM", "125329", RV, true}, {"DCM", "125329", PA, true}}, {}},
        {"pulm_velosite", U::MetresPerSecond, true,
         {{"LN", "20355-4", PV}, {"LN", "11726-7", PV}, {"LN", "59107-3", PV}, {"SCT", "399048009"},
          {"LN", "79920-5"}}, {}},
        {"E", U::MetresPerSecond, false, {{"LN", "18037-2"}, {"LN", "59080-2", MV}, {"LN", "80070-6"}}, {}},
        {"A", U::MetresPerSecond, false, {{"LN", "17978-8"}, {"LN", "59081-0", MV}, {"LN", "80066-4"}}, {}},
        {"EF", U::Percent, false,
         {{"LN", "18043-0"}, {"LN", "79991-6"}, {"LN", "79990-8"}, {"LN", "79992-4"}, {"LN", "79993-2"},
          {"LN", "18049-7"}, {"LN", "77891-0"}, {"SCT", "70822001", LV, true}},
         // biplane disks, single plane disks, modified Simpson, Teichholz, cube
         {"125207", "125208", "125227", "125209", "125206"}},
    };
    return rules;
}

int decimalsOf(FieldUnit unit)
{
    return unit == FieldUnit::MmHg || unit == FieldUnit::Percent ? 0 : 1;
}

bool unitPower(FieldUnit unit, const QString &ucum, int *power)
{
    struct Conversion {
        FieldUnit unit;
        const char *ucum;
        int power;
    };
    static const Conversion table[] = {
        {FieldUnit::Cm, "mm", -1},          {FieldUnit::Cm, "cm", 0},          {FieldUnit::Cm, "m", 2},
        {FieldUnit::Cm2, "mm2", -2},        {FieldUnit::Cm2, "cm2", 0},
        {FieldUnit::MetresPerSecond, "mm/s", -3}, {FieldUnit::MetresPerSecond, "cm/s", -2},
        {FieldUnit::MetresPerSecond, "m/s", 0},
        {FieldUnit::MmHg, "mm[Hg]", 0},     {FieldUnit::Percent, "%", 0},
    };
    for (const Conversion &c : table)
        if (c.unit == unit && ucum == QLatin1String(c.ucum)) {
            *power = c.power;
            return true;
        }
    return false;
}

QString measurementName(const QString &code)
{
    // The codes of the table above and those machines commonly send beside them.
    static const QHash<QString, QString> names = {
        {QStringLiteral("LN:29469-4"), QStringLiteral("Sol atriyum çapı")},
        {QStringLiteral("LN:79975-9"), QStringLiteral("Sol atriyum çapı")},
        {QStringLiteral("LN:79977-5"), QStringLiteral("Sol atriyum çapı")},
        {QStringLiteral("SCT:81827009"), QStringLiteral("Çap")},
        {QStringLiteral("LN:29436-3"), QStringLiteral("Sol ventrikül diyastol sonu iç çapı")},
        {QStringLiteral("LN:80007-8"), QStringLiteral("Sol ventrikül diyastol sonu iç çapı")},
        {QStringLiteral("LN:80008-6"), QStringLiteral("Sol ventrikül diyastol sonu iç çapı")},
        {QStringLiteral("LN:29438-9"), QStringLiteral("Sol ventrikül sistol sonu iç çapı")},
        {QStringLiteral("LN:80011-0"), QStringLiteral("Sol ventrikül sistol sonu iç çapı")},
        {QStringLiteral("LN:80012-8"), QStringLiteral("Sol ventrikül sistol sonu iç çapı")},
        {QStringLiteral("SCT:399367004"), QStringLiteral("Kapak açıklık alanı")},
        {QStringLiteral("LN:80068-0"), QStringLiteral("Mitral kapak alanı")},
        {QStringLiteral("LN:80069-8"), QStringLiteral("Mitral kapak alanı")},
        {QStringLiteral("LN:80067-2"), QStringLiteral("Mitral kapak alanı")},
        {QStringLiteral("LN:20247-3"), QStringLiteral("Tepe gradyan")},
        {QStringLiteral("LN:59106-5"), QStringLiteral("Tepe gradyan")},
        {QStringLiteral("LN:18057-0"), QStringLiteral("Mitral kapak tepe gradyanı")},
        {QStringLiteral("LN:80074-8"), QStringLiteral("Mitral kapak tepe gradyanı")},
        {QStringLiteral("LN:20256-4"), QStringLiteral("Ortalama gradyan")},
        {QStringLiteral("LN:80073-0"), QStringLiteral("Mitral kapak ortalama gradyanı")},
        {QStringLiteral("LN:79939-5"), QStringLiteral("Triküspit kapak tepe gradyanı")},
        {QStringLiteral("LN:79938-7"), QStringLiteral("Triküspit kapak ortalama gradyanı")},
        {QStringLiteral("LN:79937-9"), QStringLiteral("Triküspit yetersizliği tepe gradyanı")},
        {QStringLiteral("LN:80077-1"), QStringLiteral("Sağ atriyum çapı")},
        {QStringLiteral("LN:20304-2"), QStringLiteral("Sağ ventrikül diyastol sonu iç çapı")},
        {QStringLiteral("LN:18154-5"), QStringLiteral("İnterventriküler septum diyastol kalınlığı")},
        {QStringLiteral("LN:79968-4"), QStringLiteral("İnterventriküler septum diyastol kalınlığı")},
        {QStringLiteral("LN:79969-2"), QStringLiteral("İnterventriküler septum diyastol kalınlığı")},
        {QStringLiteral("LN:18152-9"), QStringLiteral("Sol ventrikül arka duvar diyastol kalınlığı")},
        {QStringLiteral("LN:80031-8"), QStringLiteral("Sol ventrikül arka duvar diyastol kalınlığı")},
        {QStringLiteral("LN:80032-6"), QStringLiteral("Sol ventrikül arka duvar diyastol kalınlığı")},
        {QStringLiteral("LN:18015-8"), QStringLiteral("Aort kökü çapı")},
        {QStringLiteral("LN:79953-6"), QStringLiteral("Aort kökü çapı")},
        {QStringLiteral("LN:79963-5"), QStringLiteral("Aort kapak tepe gradyanı")},
        {QStringLiteral("LN:79962-7"), QStringLiteral("Aort kapak ortalama gradyanı")},
        {QStringLiteral("LN:18012-5"), QStringLiteral("Çıkan aort çapı")},
        {QStringLiteral("LN:79966-8"), QStringLiteral("Çıkan aort çapı")},
        {QStringLiteral("LN:79935-3"), QStringLiteral("Pulmoner kapak tepe gradyanı")},
        {QStringLiteral("SCT:399023006"), QStringLiteral("Sağ ventrikül tepe sistolik basıncı")},
        {QStringLiteral("LN:20355-4"), QStringLiteral("Tepe akım hızı")},
        {QStringLiteral("LN:11726-7"), QStringLiteral("Tepe akım hızı")},
        {QStringLiteral("LN:59107-3"), QStringLiteral("Tepe akım hızı")},
        {QStringLiteral("SCT:399048009"), QStringLiteral("Ana pulmoner arter tepe akım hızı")},
        {QStringLiteral("LN:79920-5"), QStringLiteral("Pulmoner kapak tepe akım hızı")},
        {QStringLiteral("LN:18037-2"), QStringLiteral("Mitral E dalgası tepe hızı")},
        {QStringLiteral("LN:59080-2"), QStringLiteral("E dalgası tepe hızı")},
        {QStringLiteral("LN:80070-6"), QStringLiteral("Mitral E dalgası tepe hızı")},
        {QStringLiteral("LN:17978-8"), QStringLiteral("Mitral A dalgası tepe hızı")},
        {QStringLiteral("LN:59081-0"), QStringLiteral("A dalgası tepe hızı")},
        {QStringLiteral("LN:80066-4"), QStringLiteral("Mitral A dalgası tepe hızı")},
        {QStringLiteral("LN:18038-0"), QStringLiteral("Mitral E/A oranı")},
        {QStringLiteral("LN:18043-0"), QStringLiteral("Sol ventrikül ejeksiyon fraksiyonu")},
        {QStringLiteral("LN:79991-6"), QStringLiteral("Sol ventrikül ejeksiyon fraksiyonu")},
        {QStringLiteral("LN:79990-8"), QStringLiteral("Sol ventrikül ejeksiyon fraksiyonu")},
        {QStringLiteral("LN:79992-4"), QStringLiteral("Sol ventrikül ejeksiyon fraksiyonu")},
        {QStringLiteral("LN:79993-2"), QStringLiteral("Sol ventrikül ejeksiyon fraksiyonu")},
        {QStringLiteral("LN:18049-7"), QStringLiteral("Sol ventrikül ejeksiyon fraksiyonu")},
        {QStringLiteral("LN:77891-0"), QStringLiteral("Sol ventrikül ejeksiyon fraksiyonu")},
        {QStringLiteral("SCT:70822001"), QStringLiteral("Ejeksiyon fraksiyonu")},
        {QStringLiteral("LN:8302-2"), QStringLiteral("Boy")},
        {QStringLiteral("LN:29463-7"), QStringLiteral("Kilo")},
        {QStringLiteral("LN:8277-6"), QStringLiteral("Vücut yüzey alanı")},
        {QStringLiteral("SCT:410668003"), QStringLiteral("Uzunluk")},
    };
    return names.value(code);
}

QString unitText(const QString &ucum)
{
    static const QHash<QString, QString> units = {
        {QStringLiteral("mm[Hg]"), QStringLiteral("mmHg")}, {QStringLiteral("mm2"), QStringLiteral("mm²")},
        {QStringLiteral("cm2"), QStringLiteral("cm²")},     {QStringLiteral("m2"), QStringLiteral("m²")},
        {QStringLiteral("ml/m2"), QStringLiteral("ml/m²")}, {QStringLiteral("mm/s"), QStringLiteral("mm/sn")},
        {QStringLiteral("cm/s"), QStringLiteral("cm/sn")},  {QStringLiteral("m/s"), QStringLiteral("m/sn")},
        {QStringLiteral("s"), QStringLiteral("sn")},        {QStringLiteral("{ratio}"), QString()},
        {QStringLiteral("1"), QString()},
    };
    const auto it = units.constFind(ucum);
    if (it != units.constEnd())
        return *it;
    // Other UCUM units read well enough without their brackets; {annotations} say nothing.
    QString text = ucum;
    text.remove(QRegularExpression(QStringLiteral("\\{[^}]*\\}")));
    text.remove(u'[').remove(u']');
    return text;
}

QString canonicalCode(const QString &scheme, const QString &code)
{
    // SNOMED-RT codes that files in the field still send, and their SNOMED CT equals.
    static const QHash<QString, QString> legacy = {
        {QStringLiteral("G-C0E3"), QStringLiteral("363698007")},  // Finding Site
        {QStringLiteral("G-0373"), QStringLiteral("399264008")},  // Image Mode
        {QStringLiteral("G-C036"), QStringLiteral("370129005")},  // Measurement Method
        {QStringLiteral("G-C048"), QStringLiteral("260674002")},  // Direction of Flow
        {QStringLiteral("R-4089A"), QStringLiteral("272518008")}, // Cardiac Cycle Point
        {QStringLiteral("R-42047"), QStringLiteral("263677008")}, // Antegrade Flow
        {QStringLiteral("R-00317"), QStringLiteral("373098007")}, // Mean
        {QStringLiteral("G-038E"), QStringLiteral("399367004")},  // Cardiovascular Orifice Area
        {QStringLiteral("G-0380"), QStringLiteral("399023006")},  // RV Peak Systolic Pressure
        {QStringLiteral("G-038A"), QStringLiteral("399048009")},  // Main PA Peak Velocity
        {QStringLiteral("T-35300"), QStringLiteral("91134007")},  // Mitral Valve
        {QStringLiteral("T-35100"), QStringLiteral("46030003")},  // Tricuspid Valve
        {QStringLiteral("T-35400"), QStringLiteral("34202007")},  // Aortic Valve
        {QStringLiteral("T-35200"), QStringLiteral("39057004")},  // Pulmonic Valve
        {QStringLiteral("T-32600"), QStringLiteral("87878005")},  // Left Ventricle
        {QStringLiteral("T-32500"), QStringLiteral("53085002")},  // Right Ventricle
        {QStringLiteral("T-32300"), QStringLiteral("82471001")},  // Left Atrium
        {QStringLiteral("T-32200"), QStringLiteral("73829009")},  // Right Atrium
        {QStringLiteral("T-42000"), QStringLiteral("15825003")},  // Aorta
        {QStringLiteral("T-44000"), QStringLiteral("81040000")},  // Pulmonary Artery
        {QStringLiteral("T-32650"), QStringLiteral("13418002")},  // LV outflow tract
    };
    if (scheme == QLatin1String("SRT")) {
        const auto it = legacy.constFind(code);
        if (it != legacy.constEnd())
            return QStringLiteral("SCT:") + *it;
    }
    return scheme + u':' + code;
}

bool isStandardScheme(const QString &scheme)
{
    static const char *const standard[] = {"LN", "SCT", "SRT", "DCM", "UCUM"};
    for (const char *s : standard)
        if (scheme == QLatin1String(s))
            return true;
    return false;
}

}  // namespace dicom
