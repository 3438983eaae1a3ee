#include "Vocabulary.h"

#include <QLocale>

#include "Schema.h"

namespace records {

namespace {
// The phrase lists exactly as offered, blanks included; never sorted.
const QStringList kValveStructure = {
    QStringLiteral("NORMAL"),
    QStringLiteral("HAFİF DEJENERATİF"),
    QStringLiteral("DEJENERATİF"),
    QStringLiteral("PROTEZ"),
};
const QStringList kValveOpening = {
    QStringLiteral("NORMAL"),
    QStringLiteral("HAFİF KISITLI"),
    QStringLiteral("KISITLI"),
};
const QStringList kRegurgitation = {
    QStringLiteral("ESER"),
    QStringLiteral("HAFİF"),
    QStringLiteral("HAFİF-EKZANTRİK"),
    QStringLiteral("HAFİF-ORTA"),
    QStringLiteral("ORTA"),
    QStringLiteral("ORTA-EKZANTRİK"),
    QStringLiteral("ORTA-İLERİ"),
    QStringLiteral("İLERİ"),
};
const QStringList kResultPhrases = {
    QStringLiteral(""),
    QStringLiteral("( Non obstürüktif KMP )"),
    QStringLiteral("Aort Kapak Darlığı(peak G:  mm/Hg Mean G:  mm/Hg)  "),
    QStringLiteral("Aort Kapakta Hafif Dejeneratif değişiklik"),
    QStringLiteral("Aort Kökü Dilatasyonu"),
    QStringLiteral("Aort Kökü ve Ascendan Aort dilatasyonu"),
    QStringLiteral("Aort Ring Kalsifikasyonu"),
    QStringLiteral("Aort ve Mitral Kapakta Hafif Dejeneratif değişiklikler"),
    QStringLiteral("Apikal Anevrizma"),
    QStringLiteral("Apikal Hipertrofi"),
    QStringLiteral("Apikal Thrombus?"),
    QStringLiteral("Artmış Pulmoner Velosite"),
    QStringLiteral("Ascendan Aort Dilatasyonu"),
    QStringLiteral("Asimetrik Septal Hipertrofi"),
    QStringLiteral("Asimetrik Sol Ventrikül Hipertrofisi"),
    QStringLiteral("Biatrial Dilatasyon"),
    QStringLiteral("Dejeneratif Aort Kapak"),
    QStringLiteral("Dejeneratif Aort ve Mitral Kapak"),
    QStringLiteral("Hafif (Ekzantrik)Derecede Aort Kapak Yetersizliği"),
    QStringLiteral("Hafif (Ekzantrik)Derecede Mitral Kapak Yetersizliği"),
    QStringLiteral("Hafif (Ekzantrik)Derecede Trikuspid Kapak Yetersizliği"),
    QStringLiteral("Hafif Dejeneratif Aort Kapak"),
    QStringLiteral("Hafif Dejeneratif Mitral Kapak"),
    QStringLiteral("Hafif Dejeneratif Trikuspid Kapak"),
    QStringLiteral("Hafif Derecede Aort Kapak Yetmezliği"),
    QStringLiteral("Hafif Derecede Mitral Kapak Yetmezliği"),
    QStringLiteral("Hafif Derecede Pulmoner Arteriyel Hipertansiyon ( PAB:  mm/Hg )"),
    QStringLiteral("Hafif Derecede Trikuspid Kapak Yetmezliği"),
    QStringLiteral("Hafif-Orta Derecede Aort Kapak Yetmezliği"),
    QStringLiteral("Hafif-Orta Derecede Mitral Kapak Yetmezliği"),
    QStringLiteral("Hafif-Orta Derecede Triküspid Kapak Yetmezliği"),
    QStringLiteral("Kalsifik Aort Kapak"),
    QStringLiteral("Mitral Annuler Kalsifikasyon"),
    QStringLiteral("Mitral Kapak Darlığı(peak G:  mm/Hg Mean G:  mm/Hg) "),
    QStringLiteral("Mitral Kapakta Hafif Dejeneratif değişiklik"),
    QStringLiteral("Mitral Ring Kalsifikasyonu"),
    QStringLiteral("Mitral Valv Prolapsusu"),
    QStringLiteral("Mitral ve Trikuspid Kapakta Hafif Dejeneratif değişiklik"),
    QStringLiteral("Network Chiari Cisimciği"),
    QStringLiteral("Normal Kalpiyonk Bulgular saptanmıştır"),
    QStringLiteral("Normal sol ventrikül sistolik fonksiyonu"),
    QStringLiteral("Normofonksiyone Protez Aort Kapak"),
    QStringLiteral("Normofonksiyone Protez Mitral Kapak"),
    QStringLiteral("Normofonksiyone Protez Trikuspid Kapak"),
    QStringLiteral("Orta Derecede Aort KapakYetmezliği"),
    QStringLiteral("Orta derecede Mitral kapak yetmezliği"),
    QStringLiteral("Orta derecede Trikuspid kapak yetmezliği"),
    QStringLiteral("Patent Ductus Arteriosus (PDA)"),
    QStringLiteral("Perikardiyal Effüzyon"),
    QStringLiteral("Pulmoner Arter Dilatasyonu"),
    QStringLiteral("Pulmoner Arteriyel Hipertansiyon (PAB:  mm/Hg )"),
    QStringLiteral("Pulmoner Kapak Darlığı(peak G:  mm/Hg Mean G:  mm/Hg) "),
    QStringLiteral("Sağ Atrium Dilatasyonu"),
    QStringLiteral("Sağ Boşluklarda Dilatasyon"),
    QStringLiteral("Sağ Ventrikül Dilatasyonu"),
    QStringLiteral("Septum Diskordans Hareketi"),
    QStringLiteral("Septum Hipertrofisi"),
    QStringLiteral("Septum Paradoksal hareketi"),
    QStringLiteral("Sol Atrium Dilatasyonu"),
    QStringLiteral("Sol Boşluklarda Dilatasyon"),
    QStringLiteral("Sol Ventrikul Septum Hipertrofisi"),
    QStringLiteral("Sol Ventrikül Bölgesel Duvar Hareket Bozukluğu"),
    QStringLiteral("Sol Ventrikül Diastolik Disfonksiyonu"),
    QStringLiteral("Sol Ventrikül Dilatasyonu"),
    QStringLiteral("Sol Ventrikül Global Hipokinezi"),
    QStringLiteral("Sol Ventrikül Hipertrofisi"),
    QStringLiteral("Sol Ventrikül Sistolik  Disfonksiyonu"),
    QStringLiteral("Sol Ventrikül Sistolik ve Diastolik  Disfonksiyon"),
    QStringLiteral("Trikuspid Kapakta Hafif Dejeneratif değişiklik"),
    QStringLiteral("Triküspid Kapak Darlığı(peak G:  mm/Hg Mean G:  mm/Hg)"),
    QStringLiteral("Tüm Kalp Boşluklarında Dilatasyon"),
    QStringLiteral("Tüm Kalp Kapaklarında Hafif Dejeneratif değişiklik"),
};
const QStringList kComment1 = {
    QStringLiteral(""),
    QStringLiteral("Sol Atrium normalden geniş olup, diğer kalp boşlukları normal genişliktedir."),
    QStringLiteral("Aort kökü ve Ascendan Aorta normalden geniş olup, diğer kalp boşlukları normal genişliktedir."),
    QStringLiteral("Sol Atrium, Aort kökü ve Ascendan Aorta normalden geniş olup, diğer kalp boşlukları normal genişliktedir."),
    QStringLiteral("Sol Atrium, Sol ventrikül ve sağ atrium normalden geniş olup, diğer kalp boşlukları normal genişliktedir."),
    QStringLiteral("Tüm Kalp Boşlukları normal genişliktedir."),
    QStringLiteral("Tüm Kalp Boşlukları normalden geniştir."),
};
const QStringList kComment2 = {
    QStringLiteral(""),
    QStringLiteral("Sol ventrikül duvar kalınlıkları artmış olup, duvar hareketleri normaldir."),
    QStringLiteral("Sol ventrikül duvar kalınlıkları artmış olup, global ileri hipokinezi mevcut."),
    QStringLiteral("Sol ventrikül duvar kalınlıkları normal olup, septum akinetik, inferior ve bazal duvar hipokinetik."),
    QStringLiteral("Sol ventrikül duvar kalınlıkları ve duvar hareketleri normaldir."),
};
const QStringList kComment3 = {
    QStringLiteral(""),
    QStringLiteral("Aort  Kapak hafif kalsifik, hafif dejeneratif açılımı normal."),
    QStringLiteral("Aort Kapak; Kalın, kalsifik, açılımı kısıtlı."),
    QStringLiteral("Aort Kapak hafif kalın ,kalsifik, açılımı hafif kısıtlı."),
    QStringLiteral("Aort Kapak hafif kalın, kalsifik, hafif dejeneratif, açılımı normal."),
    QStringLiteral("Aort Kapak Protez yapısı ve açılımı normal."),
    QStringLiteral("Aort Kapak yapısı ve açılımı normal."),
};
const QStringList kComment4 = {
    QStringLiteral(""),
    QStringLiteral("Mitral Kapak hafif kalın, kalsifik, dejeneratif, açılımı hafif kısıtlı."),
    QStringLiteral("Mitral Kapak hafif kalın, kalsifik, dejeneratif, açılımı normal."),
    QStringLiteral("Mitral Kapak hafif kalın, kalsifik, hafif dejeneratif açılımı normal."),
    QStringLiteral("Mitral Kapak hafif kalsifik, hafif dejeneratif açılımı normal."),
    QStringLiteral("Mitral Kapak Protez yapısı ve açılımı normal."),
    QStringLiteral("Mitral Kapak yapısı ve açılımı normal."),
};
}  // namespace
const QStringList &phrases(PhraseList list)
{
    switch (list) {
    case PhraseList::ValveStructure: return kValveStructure;
    case PhraseList::ValveOpening: return kValveOpening;
    case PhraseList::Regurgitation: return kRegurgitation;
    case PhraseList::Results: return kResultPhrases;
    case PhraseList::Comment1: return kComment1;
    case PhraseList::Comment2: return kComment2;
    case PhraseList::Comment3: return kComment3;
    case PhraseList::Comment4: return kComment4;
    }
    return kResultPhrases;
}

std::optional<PhraseList> phraseListOfField(int field)
{
    struct Use {
        const char *field;
        PhraseList list;
    };
    static const Use uses[] = {
        {"mitral_kapak", PhraseList::ValveStructure}, {"aort_kapak", PhraseList::ValveStructure},
        {"trik_kapak", PhraseList::ValveStructure},   {"pulm_kapak", PhraseList::ValveStructure},
        {"mitral_diyastolik", PhraseList::ValveOpening}, {"aort_aciklik", PhraseList::ValveOpening},
        {"trik_diyastolik", PhraseList::ValveOpening},   {"pulm_acilma", PhraseList::ValveOpening},
        {"mitral_yetmezlik", PhraseList::Regurgitation}, {"aort_yetmezlik", PhraseList::Regurgitation},
        {"trik_yetmezlik", PhraseList::Regurgitation},   {"pulm_yetmezlik", PhraseList::Regurgitation},
        {"Yorum1", PhraseList::Comment1}, {"Yorum2", PhraseList::Comment2},
        {"Yorum3", PhraseList::Comment3}, {"Yorum4", PhraseList::Comment4},
    };
    if (field < 0 || field >= kFieldCount)
        return std::nullopt;
    const QString name = QLatin1String(kFields[field].name);
    for (const Use &u : uses)
        if (name == QLatin1String(u.field))
            return u.list;
    if (name.startsWith(QLatin1String("Sonuc")))
        return PhraseList::Results;
    return std::nullopt;
}

int completionIndex(const QStringList &entries, const QString &typed)
{
    if (typed.isEmpty())
        return -1;
    static const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    const QString wanted = turkish.toUpper(typed);
    for (int i = 0; i < entries.size(); ++i)
        if (turkish.toUpper(entries[i]).startsWith(wanted))
            return i;
    return -1;
}

}  // namespace records
