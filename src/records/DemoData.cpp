#include "DemoData.h"

#include <QDateTime>
#include <QLocale>

#include "Schema.h"
#include "RecordStore.h"
#include "Store.h"

#include <QFile>

namespace records {

namespace {

const char *const kFirstNames[] = {
    "AHMET", "MEHMET", "MUSTAFA", "ALİ", "HÜSEYİN", "HASAN", "İBRAHİM", "İSMAİL", "ÖMER", "OSMAN",
    "YUSUF", "MURAT", "EMRE", "ÇAĞLAR", "ŞÜKRÜ", "GÖKHAN", "İLKER", "UĞUR", "BURAK", "SERKAN",
    "AYŞE", "FATMA", "EMİNE", "HATİCE", "ZEYNEP", "ELİF", "MERVE", "ŞERİFE", "GÜLŞEN", "ÖZLEM",
    "SEVGİ", "DİLEK", "ÇİĞDEM", "NURSEL", "IŞIL", "İPEK", "GÜL", "SİBEL", "HÜLYA", "YASEMİN"};
const char *const kSurnames[] = {
    "YILMAZ", "KAYA", "DEMİR", "ŞAHİN", "ÇELİK", "YILDIZ", "YILDIRIM", "ÖZTÜRK", "AYDIN", "ÖZDEMİR",
    "ARSLAN", "DOĞAN", "KILIÇ", "ASLAN", "ÇETİN", "KARA", "KOÇ", "KURT", "ÖZKAN", "ŞİMŞEK",
    "POLAT", "ÖZCAN", "KORKMAZ", "ÇAKIR", "ERDOĞAN", "IŞIK", "İNCE", "ŞEKER", "GÜNEŞ", "AKSOY",
    "TEKİN", "ÜNAL", "BULUT", "GÜLER", "ÇAĞLAYAN", "SARI", "CAN", "ACAR", "UYSAL", "EREN"};
const char *const kStructure[] = {"NORMAL", "HAFİF DEJENERATİF", "DEJENERATİF", "PROTEZ"};
const char *const kOpening[] = {"NORMAL", "HAFİF KISITLI", "KISITLI"};
const char *const kRegurgitation[] = {"ESER", "HAFİF", "HAFİF-EKZANTRİK", "HAFİF-ORTA", "ORTA",
                                      "ORTA-EKZANTRİK", "ORTA-İLERİ", "İLERİ"};
const char *const kResults[] = {
    "Normal sol ventrikül sistolik fonksiyonu", "Sol Ventrikül Diastolik Disfonksiyonu",
    "Mitral Annuler Kalsifikasyon", "Hafif Derecede Mitral Kapak Yetmezliği",
    "Hafif Derecede Trikuspid Kapak Yetmezliği", "Aort Kökü Dilatasyonu", "Septum Hipertrofisi",
    "Sol Atrium Dilatasyonu", "Mitral Valv Prolapsusu", "Perikardiyal Effüzyon"};
const char *const kComments[] = {
    "Tüm Kalp Boşlukları normal genişliktedir.",
    "Sol ventrikül duvar kalınlıkları ve duvar hareketleri normaldir.",
    "Aort Kapak yapısı ve açılımı normal.",
    "Mitral Kapak yapısı ve açılımı normal.",
    "Doppler ile mitral akımda E/A A lehine artmıştır. İVRT ve EDT süreleri artmış.",
    "Perikard tabii, interatrial ve interventriküler septumlar intakt.",
    "Kitle, trombüs, vejetasyon izlenmemiştir."};

template <size_t N>
QString one(const char *const (&list)[N], int i)
{
    return QString::fromUtf8(list[i % N]);
}

}  // namespace

QString DemoData::measure(double low, double high)
{
    const double v = std::uniform_real_distribution<double>(low, high)(rng_);
    return QString::number(v, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

QVector<QVariant> DemoData::record(int index)
{
    QVector<QVariant> v(kFieldCount);
    auto set = [&](const char *field, const QVariant &value) { v[fieldIndex(QLatin1String(field))] = value; };
    set("Adi_Soyadi", one(kSurnames, pick(40)) + QLatin1Char(' ') + one(kFirstNames, pick(40)));
    set("Yas", QString::number(18 + pick(73)));
    const QDate date = QDate(2020, 1, 1).addDays(pick(6 * 365));
    set("Tarih", QDateTime(date, QTime(0, 0), Qt::UTC));
    set("Prot_No", QStringLiteral("%1/%2").arg(date.year() % 100, 2, 10, QLatin1Char('0')).arg(index + 1));
    set("kalp_la", measure(2.8, 4.6));
    set("kalp_lvd", measure(4.0, 6.0));
    set("kalp_lvs", measure(2.4, 4.2));
    set("ra", measure(2.5, 4.0));
    set("rvd", measure(1.8, 3.0));
    set("ivs", measure(0.7, 1.4));
    set("pw", measure(0.7, 1.3));
    for (const char *valve : {"mitral_kapak", "trik_kapak", "aort_kapak", "pulm_kapak"})
        set(valve, one(kStructure, chance(70) ? 0 : pick(4)));
    for (const char *opening : {"mitral_diyastolik", "trik_diyastolik", "aort_aciklik", "pulm_acilma"})
        set(opening, one(kOpening, chance(80) ? 0 : pick(3)));
    for (const char *grade : {"mitral_yetmezlik", "trik_yetmezlik", "aort_yetmezlik", "pulm_yetmezlik"})
        if (chance(40))
            set(grade, one(kRegurgitation, pick(8)));
    set("mitral_mkg_peak", QString::number(3 + pick(8)));
    set("aort_kok", measure(2.6, 3.8));
    set("aort_akg_peak", QString::number(4 + pick(12)));
    set("pulm_velosite", measure(0.6, 1.1));
    set("E", measure(0.5, 1.1));
    set("A", measure(0.4, 1.0));
    set("EF", QString::number(45 + pick(26)));
    set("Sonuc1", one(kResults, 0));
    if (chance(60))
        set("Sonuc2", one(kResults, 1 + pick(9)));
    for (int i = 0; i < 7; ++i)
        set(QStringLiteral("Yorum%1").arg(i + 1).toLatin1().constData(), one(kComments, i));
    return v;
}

void writeDemoDatabase(const QString &path, int count, quint32 seed, bool overwrite)
{
    if (isServerAddress(path)) {
        createRecordStore(path, overwrite);
        auto store = openRecordStore(path);
        DemoData demo(seed);
        QVector<QVector<QVariant>> batch;
        store->begin();
        for (int i = 0; i < count; ++i) {
            batch << demo.record(i);
            if (batch.size() == 1000 || i == count - 1) {
                store->insertMany(batch);
                batch.clear();
            }
        }
        store->commit();
        return;
    }
    Store::create(path, overwrite);
    try {
        Store store(path);
        DemoData demo(seed);
        store.begin();
        for (int i = 0; i < count; ++i)
            store.insert(demo.record(i));
        store.commit();
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

}  // namespace records
