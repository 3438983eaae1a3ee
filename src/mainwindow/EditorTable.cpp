#include "EditorTable.h"

#include <QString>

namespace mainwindow {

using K = EditorKind;
using F = Filter;

const std::vector<GroupDef> kGroups = {
    {"cavities", 0, " KALP BOŞLUKLARI ", {16, 16, 225, 109}, 24},
    {"cavities2", 0, "", {248, 16, 225, 133}, 24},
    {"mitral", 1, " MİTRAL KAPAK ", {16, 24, 225, 171}, 16},
    {"aort", 1, " AORT KAPAK ", {248, 16, 225, 195}, 16},
    {"trik", 2, " TRİKÜSPİD KAPAK ", {16, 16, 225, 149}, 16},
    {"pulm", 2, " PULMONER KAPAK ", {248, 16, 225, 195}, 16},
};

const std::vector<EditorDef> kGroupEditors = {
    {"Edit1", "kalp_la", K::Edit, "cavities", "LA :", "cm", F::Field},
    {"Edit2", "kalp_lvd", K::Edit, "cavities", " LVD :", "cm", F::Field},
    {"Edit3", "kalp_lvs", K::Edit, "cavities", "LVS :", "cm", F::Field},
    {"Edit4", "ra", K::Edit, "cavities2", "RA :", "cm", F::Field},
    {"Edit5", "rvd", K::Edit, "cavities2", "RVD :", "cm", F::Field},
    {"Edit6", "ivs", K::Edit, "cavities2", "İVS :", "cm", F::Field},
    {"Edit7", "pw", K::Edit, "cavities2", "PW :", "cm", F::Field},

    {"RzDBComboBox1", "mitral_kapak", K::Combo, "mitral", "Kapak Yapısı :", "", F::Field},
    {"RzDBComboBox5", "mitral_diyastolik", K::Combo, "mitral", "Diyastolik Açılma :", "", F::Field},
    {"RzDBEdit7", "mitral_mka", K::Edit, "mitral", "M.K.A :", "cm2", F::Field},
    {"RzDBEdit8", "mitral_mkg_peak", K::Edit, "mitral", "M.K.G (PEAK) :", "mm/Hg", F::Field},
    {"RzDBEdit9", "mitral_mkg_mean", K::Edit, "mitral", "M.K.G (MEAN) :", "mm/Hg", F::Field},
    {"RzDBComboBox30", "mitral_yetmezlik", K::Combo, "mitral", "Yetmezlik :", "", F::Field},

    {"RzDBComboBox3", "aort_kapak", K::Combo, "aort", "Kapak Yapısı :", "", F::Field},
    {"RzDBComboBox7", "aort_aciklik", K::Combo, "aort", "Açıklık :", "", F::Field},
    {"RzDBEdit22", "aort_kok", K::Edit, "aort", "Kök Genişliği :", "cm", F::Field},
    {"RzDBEdit23", "aort_akg_peak", K::Edit, "aort", "A.K.G (PEAK) :", "mm/Hg", F::Field},
    {"RzDBEdit24", "aort_akg_mean", K::Edit, "aort", "A.K.G (MEAN) :", "mm/Hg", F::Field},
    {"RzDBEdit25", "aort_asc", K::Edit, "aort", "ASC.AORT :", "cm", F::Field},
    {"RzDBComboBox31", "aort_yetmezlik", K::Combo, "aort", "Yetmezlik :", "", F::Field},

    {"RzDBComboBox2", "trik_kapak", K::Combo, "trik", "Kapak Yapısı :", "", F::Field},
    {"RzDBComboBox6", "trik_diyastolik", K::Combo, "trik", "Diyastolik Açılma :", "", F::Field},
    {"RzDBEdit13", "trik_mkg_peak", K::Edit, "trik", "T.K.G (PEAK) :", "mm/Hg", F::Field},
    {"RzDBEdit14", "trik_mkg_mean", K::Edit, "trik", "T.K.G (MEAN) :", "mm/Hg", F::Field},
    {"RzDBComboBox32", "trik_yetmezlik", K::Combo, "trik", "Yetmezlik :", "", F::Field},

    {"RzDBComboBox4", "pulm_kapak", K::Combo, "pulm", "Kapak Yapısı :", "", F::Field},
    {"RzDBComboBox8", "pulm_acilma", K::Combo, "pulm", "Açılma :", "", F::Field},
    {"RzDBEdit5", "pulm__pkg_peak", K::Edit, "pulm", "P.K.G (PEAK) :", "mm/Hg", F::Field},
    {"RzDBEdit6", "pulm_pgk_mean", K::Edit, "pulm", "P.K.G (MEAN) :", "mm/Hg", F::Field},
    {"RzDBEdit28", "pulm_pab", K::Edit, "pulm", "P.A.B :", "mm/Hg", F::Field},
    {"RzDBEdit29", "pulm_velosite", K::Edit, "pulm", "P.Velosite :", "m/sn", F::Field},
    {"RzDBComboBox33", "pulm_yetmezlik", K::Combo, "pulm", "Yetmezlik :", "", F::Field},
};

std::vector<PlacedEditorDef> placedEditors()
{
    std::vector<PlacedEditorDef> list = {
        {"EditAd", "Adi_Soyadi", K::Edit, "personal", {40, 32, 137, 21}, "Adı Soyadı", {40, 16}, "", {}, F::Field},
        {"EditYas", "Yas", K::Edit, "personal", {40, 72, 41, 21}, "Yaş", {40, 56}, "", {}, F::Field},
        {"EditProt", "Prot_No", K::Edit, "personal", {88, 72, 89, 21}, "Prot. No", {88, 56}, "", {}, F::Field},
        {"EditTarih", "Tarih", K::Edit, "personal", {40, 112, 109, 21}, "Tarih", {40, 96}, "", {}, F::Field},
        {"EditE", "E", K::Edit, "sonucEA", {8, 24, 41, 21}, "E:", {8, 8}, "m/sn", {22, 8}, F::None},
        {"EditA", "A", K::Edit, "sonucEA", {8, 64, 41, 21}, "A:", {8, 48}, "m/sn", {22, 48}, F::None},
        {"EditEF", "EF", K::Edit, "yorumEF", {8, 22, 41, 21}, "EF:", {8, 8}, "%", {32, 8}, F::None},
    };
    static const char *const resultNames[12] = {"CBox1", "CBox2", "RzDBComboBox11", "RzDBComboBox12",
                                                "RzDBComboBox13", "RzDBComboBox14", "RzDBComboBox15",
                                                "RzDBComboBox16", "RzDBComboBox17", "RzDBComboBox18",
                                                "RzDBComboBox19", "RzDBComboBox20"};
    static const char *const resultFields[12] = {"Sonuc1", "Sonuc2", "Sonuc3", "Sonuc4", "Sonuc5", "Sonuc6",
                                                 "Sonuc7", "Sonuc8", "Sonuc9", "Sonuc10", "Sonuc11", "Sonuc12"};
    for (int i = 0; i < 12; ++i)
        list.push_back({resultNames[i], resultFields[i], K::Combo, "sonuc", {72, 16 + 24 * i, 273, 21}, "", {}, "", {}, F::Phrase});
    static const char *const commentNames[9] = {"CB1", "CB2", "CB3", "CB4", "CB5", "CB6", "CB7", "CB8", "CB9"};
    static const char *const commentFields[9] = {"Yorum1", "Yorum2", "Yorum3", "Yorum4", "Yorum5",
                                                 "Yorum6", "Yorum7", "Yorum8", "Yorum9"};
    for (int i = 0; i < 9; ++i)
        list.push_back({commentNames[i], commentFields[i], i < 4 ? K::Combo : K::Edit, "yorum",
                        {72, 16 + 24 * i, 273, 21}, "", {}, "", {}, i < 4 ? F::Phrase : F::None});
    return list;
}

}  // namespace mainwindow
